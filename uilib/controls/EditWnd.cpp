// CEditWnd, the native pop-up of the edit control:
//   - opening over the owner's text area
//   - messages: reflected notifications and colours, Enter, clipboard
//     refusal for masked text
//   - what a masked text leaves in the native edit
#include "controls/EditWnd.h"

#include <memory>
#include <new>

#include "core/RenderEngine.h"

namespace SkinLib {

namespace {

// What this window sends its parent comes back to it from the paint manager.
const UINT kReflectedCommand = UIMSG_REFLECT_OFFSET + WM_COMMAND;
const UINT kReflectedCtlColorEdit = UIMSG_REFLECT_OFFSET + WM_CTLCOLOREDIT;
const UINT kReflectedCtlColorStatic = UIMSG_REFLECT_OFFSET + WM_CTLCOLORSTATIC;
const wchar_t kFiller = L'*';

} // namespace

CEditWnd::CEditWnd(CNativePopup& popup)
    : CNativePopupWnd(popup), m_hBkBrush(NULL), m_bWiping(false), m_cchMost(0),
      m_pbGone(NULL)
{
}

CEditWnd::~CEditWnd()
{
    if (m_pbGone != NULL) *m_pbGone = true;
    if (m_hBkBrush != NULL) ::DeleteObject(m_hBkBrush);
}

LPCWSTR CEditWnd::GetWndClassName() const
{
    return L"EditWnd";
}

LPCWSTR CEditWnd::GetSuperClassName() const
{
    return L"Edit";
}

CEditUI* CEditWnd::Owner() const
{
    return static_cast<CEditUI*>(GetOwner());
}

RECT CEditWnd::ComputeRect() const
{
    const CEditUI* pOwner = Owner();
    RECT rc = pOwner->GetTextRect();
    CPaintManagerUI* pManager = pOwner->GetManager();
    if (pManager == NULL) return rc;
    const int cyFont = pManager->GetFontInfo(pOwner->GetFont())->tmMetrics.tmHeight;
    const long long cy = static_cast<long long>(rc.bottom) - rc.top;
    if (cyFont < cy) {
        rc.top = ClampToInt(rc.top + (cy - cyFont) / 2);
        rc.bottom = ClampToInt(static_cast<long long>(rc.top) + cyFont);
    }
    return rc;
}

bool CEditWnd::Open()
{
    CEditUI* pOwner = Owner();
    DWORD dwStyle = WS_CHILD | ES_AUTOHSCROLL | static_cast<DWORD>(pOwner->GetWindowStyls());
    if (pOwner->IsPasswordMode()) dwStyle |= ES_PASSWORD;
    if (!CreateOverOwner(dwStyle)) return false;

    SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(pOwner->GetManager()->GetFont(pOwner->GetFont())), TRUE);
    SendMessageW(EM_LIMITTEXT, pOwner->GetMaxChar());
    if (pOwner->IsPasswordMode()) SendMessageW(EM_SETPASSWORDCHAR, pOwner->GetPasswordChar());
    CSkinString sText = pOwner->GetText();
    ::SetWindowTextW(m_hWnd, sText);
    m_cchMost = sText.GetLength();
    sText.SecureEmpty();
    SendMessageW(EM_SETMODIFY, FALSE);
    SendMessageW(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    ::EnableWindow(m_hWnd, pOwner->IsEnabled());
    SendMessageW(EM_SETREADONLY, pOwner->IsReadOnly());
    ShowFocused();
    m_bInit = true;
    return true;
}

void CEditWnd::OnReopened()
{
    // Typing goes on after what was typed before.
    const int cch = ::GetWindowTextLengthW(m_hWnd);
    SendMessageW(EM_SETSEL, cch, cch);
}

LRESULT CEditWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case kReflectedCommand:
        if (HIWORD(wParam) == EN_CHANGE) return HandleTextChange();
        if (HIWORD(wParam) == EN_UPDATE) ::InvalidateRect(m_hWnd, NULL, FALSE);
        return 0;
    case kReflectedCtlColorEdit:
    case kReflectedCtlColorStatic:
        return HandleCtlColor(reinterpret_cast<HDC>(wParam));
    case WM_KEYDOWN: {
        if (wParam != VK_RETURN) break;
        CEditUI* pOwner = Owner();
        if (pOwner != NULL && pOwner->GetManager() != NULL) pOwner->GetManager()->SendNotify(pOwner, L"return");
        return 0;
    }
    case WM_COPY:
    case WM_CUT:
        // A masked text never reaches the clipboard.
        if (IsMasked()) return 0;
        break;
    case WM_DESTROY:
        // The native edit frees its buffers as they are.
        if (IsMasked()) WipeMaskedText(true);
        break;
    default:
        break;
    }
    return CNativePopupWnd::HandleMessage(uMsg, wParam, lParam);
}

bool CEditWnd::IsMasked()
{
    return CWindowWnd::HandleMessage(EM_GETPASSWORDCHAR, 0, 0) != 0;
}

LRESULT CEditWnd::HandleTextChange()
{
    CEditUI* pOwner = Owner();
    if (!m_bInit || m_bWiping || pOwner == NULL) return 0;
    const int cch = ::GetWindowTextLengthW(m_hWnd);
    if (cch > m_cchMost) m_cchMost = cch;
    std::unique_ptr<wchar_t[]> pText(new (std::nothrow) wchar_t[cch + 1]);
    if (pText == nullptr) return 0;
    ::GetWindowTextW(m_hWnd, pText.get(), cch + 1);
    CSkinString& sText = pOwner->ModeText();
    sText.SecureEmpty();
    sText = pText.get();
    ::SecureZeroMemory(pText.get(), (cch + 1) * sizeof(wchar_t));
    // A password entry needs no undo, and what it deleted stays nowhere.
    if (IsMasked()) WipeMaskedText(false);

    // A handler that sets the text again hears nothing of its own change, so
    // it cannot set off an endless round.
    CPaintManagerUI* pManager = pOwner->GetManager();
    if (m_pbGone != NULL || pManager == NULL) return 0;
    bool bGone = false;
    m_pbGone = &bGone;
    pManager->SendNotify(pOwner, L"textchanged");
    if (bGone) return 0;
    m_pbGone = NULL;
    return 0;
}

void CEditWnd::ReplaceText(const wchar_t* pstrText)
{
    if (IsMasked()) WipeMaskedText(true);
    ::SetWindowTextW(m_hWnd, pstrText);
}

void CEditWnd::WipeMaskedText(bool bText)
{
    m_bWiping = true;
    DWORD dwStart = 0, dwEnd = 0;
    SendMessageW(EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    const int cch = ::GetWindowTextLengthW(m_hWnd);
    // One character at a time: the edit copies what a replacement deletes
    // into memory it frees as it is.
    const wchar_t szFiller[] = {kFiller, L'\0'};
    for (int i = 0; bText && i < cch; i++) {
        SendMessageW(EM_SETSEL, i, i + 1);
        SendMessageW(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(szFiller));
    }
    // Filler as long as any text the window held, typed after the text and
    // deleted again, lies over the stale end of the text buffer and, being
    // the last deletion, over the whole undo buffer.
    const int cchFill = cch > m_cchMost ? cch : m_cchMost;
    std::unique_ptr<wchar_t[]> pFill(new (std::nothrow) wchar_t[cchFill + 1]);
    if (pFill != nullptr && cchFill > 0) {
        for (int i = 0; i < cchFill; i++) pFill[i] = kFiller;
        pFill[cchFill] = L'\0';
        const LRESULT nLimit = SendMessageW(EM_GETLIMITTEXT);
        SendMessageW(EM_SETLIMITTEXT, cch + cchFill);
        SendMessageW(EM_SETSEL, cch, cch);
        SendMessageW(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pFill.get()));
        SendMessageW(EM_SETSEL, cch, cch + cchFill);
        SendMessageW(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
        SendMessageW(EM_SETLIMITTEXT, static_cast<WPARAM>(nLimit));
    }
    SendMessageW(EM_EMPTYUNDOBUFFER);
    SendMessageW(EM_SETSEL, dwStart, dwEnd);
    m_bWiping = false;
}

LRESULT CEditWnd::HandleCtlColor(HDC hDC)
{
    const CEditUI* pOwner = Owner();
    if (pOwner == NULL || pOwner->GetNativeEditBkColor() == 0xFFFFFFFF) return 0;
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ToColorRef(pOwner->GetTextColor()));
    if (m_hBkBrush == NULL) m_hBkBrush = ::CreateSolidBrush(ToColorRef(pOwner->GetNativeEditBkColor()));
    return reinterpret_cast<LRESULT>(m_hBkBrush);
}

} // namespace SkinLib
