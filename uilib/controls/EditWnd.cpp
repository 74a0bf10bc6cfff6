// CEditWnd, the native pop-up of the edit control:
//   - opening over the owner's text area, and letting go of the owner
//   - messages: focus loss, reflected notifications and colours, Enter,
//     clipboard refusal for masked text
//   - the end of the window and of the object
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

CEditWnd::CEditWnd() : m_pOwner(NULL), m_hBkBrush(NULL), m_bInit(false), m_bInTextChange(false), m_pbGone(NULL)
{
}

LPCWSTR CEditWnd::GetWndClassName() const
{
    return L"EditWnd";
}

LPCWSTR CEditWnd::GetSuperClassName() const
{
    return L"Edit";
}

RECT CEditWnd::ComputeEditRect() const
{
    RECT rc = m_pOwner->GetTextRect();
    const CPaintManagerUI* pManager = m_pOwner->GetManager();
    if (pManager == NULL) return rc;
    const int cyFont = const_cast<CPaintManagerUI*>(pManager)->GetFontInfo(m_pOwner->GetFont())->tmMetrics.tmHeight;
    const long long cy = static_cast<long long>(rc.bottom) - rc.top;
    if (cyFont < cy) {
        rc.top = ClampToInt(rc.top + (cy - cyFont) / 2);
        rc.bottom = ClampToInt(static_cast<long long>(rc.top) + cyFont);
    }
    return rc;
}

void CEditWnd::Open(CEditUI* pOwner)
{
    m_pOwner = pOwner;
    CPaintManagerUI* pManager = pOwner->GetManager();
    DWORD dwStyle = WS_CHILD | ES_AUTOHSCROLL | static_cast<DWORD>(pOwner->m_iWindowStyls);
    if (pOwner->m_bPasswordMode) dwStyle |= ES_PASSWORD;
    if (Create(pManager->GetPaintWindow(), NULL, dwStyle, 0, ComputeEditRect(), NULL) == NULL) return;

    SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(pManager->GetFont(pOwner->GetFont())), TRUE);
    SendMessageW(EM_LIMITTEXT, pOwner->m_uMaxChar);
    if (pOwner->m_bPasswordMode) SendMessageW(EM_SETPASSWORDCHAR, pOwner->m_cPasswordChar);
    CSkinString sText = pOwner->GetText();
    ::SetWindowTextW(m_hWnd, sText);
    sText.SecureEmpty();
    SendMessageW(EM_SETMODIFY, FALSE);
    SendMessageW(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    ::EnableWindow(m_hWnd, pOwner->IsEnabled());
    SendMessageW(EM_SETREADONLY, pOwner->m_bReadOnly);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_bInit = true;
}

void CEditWnd::Abandon()
{
    m_pOwner = NULL;
    m_bInit = false;
    ::ShowWindow(m_hWnd, SW_HIDE);
    PostMessageW(WM_CLOSE);
}

LRESULT CEditWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_KILLFOCUS:
        return HandleKillFocus(wParam, lParam);
    case WM_CLOSE:
        // The close posted when the focus left is stale once the focus has
        // come back to where this window belongs: activation takes the focus
        // from it for a moment.
        if (m_pOwner != NULL && m_pOwner->WantsWindowFocus()) {
            if (::GetFocus() != m_hWnd) ::SetFocus(m_hWnd);
            return 0;
        }
        break;
    case kReflectedCommand:
        if (HIWORD(wParam) == EN_CHANGE) return HandleTextChange();
        if (HIWORD(wParam) == EN_UPDATE) ::InvalidateRect(m_hWnd, NULL, FALSE);
        return 0;
    case kReflectedCtlColorEdit:
    case kReflectedCtlColorStatic:
        return HandleCtlColor(reinterpret_cast<HDC>(wParam));
    case WM_KEYDOWN:
        if (wParam != VK_RETURN) break;
        if (m_pOwner != NULL && m_pOwner->GetManager() != NULL) {
            m_pOwner->GetManager()->SendNotify(m_pOwner, L"return");
        }
        return 0;
    case WM_COPY:
    case WM_CUT:
        // A masked text never reaches the clipboard.
        if (IsMasked()) return 0;
        break;
    default:
        break;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

bool CEditWnd::IsMasked()
{
    return CWindowWnd::HandleMessage(EM_GETPASSWORDCHAR, 0, 0) != 0;
}

LRESULT CEditWnd::HandleKillFocus(WPARAM wParam, LPARAM lParam)
{
    LRESULT lRes = CWindowWnd::HandleMessage(WM_KILLFOCUS, wParam, lParam);
    PostMessageW(WM_CLOSE);
    return lRes;
}

LRESULT CEditWnd::HandleTextChange()
{
    if (!m_bInit || m_pOwner == NULL) return 0;
    const int cch = ::GetWindowTextLengthW(m_hWnd);
    std::unique_ptr<wchar_t[]> pText(new (std::nothrow) wchar_t[cch + 1]);
    if (pText == nullptr) return 0;
    ::GetWindowTextW(m_hWnd, pText.get(), cch + 1);
    CSkinString& sText = m_pOwner->ModeText();
    sText.SecureEmpty();
    sText = pText.get();
    ::SecureZeroMemory(pText.get(), (cch + 1) * sizeof(wchar_t));

    // A handler that sets the text again hears nothing of its own change, so
    // it cannot set off an endless round.
    CPaintManagerUI* pManager = m_pOwner->GetManager();
    if (m_bInTextChange || pManager == NULL) return 0;
    bool bGone = false;
    m_pbGone = &bGone;
    m_bInTextChange = true;
    pManager->SendNotify(m_pOwner, L"textchanged");
    if (bGone) return 0;
    m_pbGone = NULL;
    m_bInTextChange = false;
    return 0;
}

LRESULT CEditWnd::HandleCtlColor(HDC hDC)
{
    if (m_pOwner == NULL || m_pOwner->m_dwNativeEditBkColor == 0xFFFFFFFF) return 0;
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ToColorRef(m_pOwner->GetTextColor()));
    if (m_hBkBrush == NULL) m_hBkBrush = ::CreateSolidBrush(ToColorRef(m_pOwner->m_dwNativeEditBkColor));
    return reinterpret_cast<LRESULT>(m_hBkBrush);
}

void CEditWnd::OnFinalMessage(HWND /*hWnd*/)
{
    if (m_pbGone != NULL) *m_pbGone = true;
    if (m_pOwner != NULL) {
        m_pOwner->Invalidate();
        if (m_pOwner->m_pWindow == this) m_pOwner->m_pWindow = NULL;
    }
    if (m_hBkBrush != NULL) ::DeleteObject(m_hBkBrush);
    delete this;
}

} // namespace SkinLib
