// CEditWnd, the native pop-up of the edit control:
//   - opening over the owner's text area
//   - messages: reflected notifications and colours, Enter, clipboard
//     refusal for masked text
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

} // namespace

CEditWnd::CEditWnd(CNativePopup& popup)
    : CNativePopupWnd(popup), m_hBkBrush(NULL), m_bInTextChange(false), m_pbGone(NULL)
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
    if (!m_bInit || pOwner == NULL) return 0;
    const int cch = ::GetWindowTextLengthW(m_hWnd);
    std::unique_ptr<wchar_t[]> pText(new (std::nothrow) wchar_t[cch + 1]);
    if (pText == nullptr) return 0;
    ::GetWindowTextW(m_hWnd, pText.get(), cch + 1);
    CSkinString& sText = pOwner->ModeText();
    sText.SecureEmpty();
    sText = pText.get();
    ::SecureZeroMemory(pText.get(), (cch + 1) * sizeof(wchar_t));

    // A handler that sets the text again hears nothing of its own change, so
    // it cannot set off an endless round.
    CPaintManagerUI* pManager = pOwner->GetManager();
    if (m_bInTextChange || pManager == NULL) return 0;
    bool bGone = false;
    m_pbGone = &bGone;
    m_bInTextChange = true;
    pManager->SendNotify(pOwner, L"textchanged");
    if (bGone) return 0;
    m_pbGone = NULL;
    m_bInTextChange = false;
    return 0;
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
