// CNativePopup and CNativePopupWnd, the native window a control opens over itself:
//   - the owner's side: opening, focusing, letting go, following the owner
//   - the focus watch that brings the window back after activation
//   - the window's side: creation, focus loss, the stale close, the end
#include "controls/NativePopup.h"

namespace SkinLib {

CNativePopup::CNativePopup(CControlUI& owner, PFNMAKEWINDOW pfnMakeWindow)
    : m_owner(owner), m_pfnMakeWindow(pfnMakeWindow), m_pWindow(NULL), m_bWatchingFocus(false)
{
}

CNativePopup::~CNativePopup()
{
    WatchFocus(false);
    if (m_pWindow == NULL) return;
    CNativePopupWnd* pWindow = m_pWindow;
    m_pWindow = NULL;
    pWindow->Abandon();
}

CControlUI& CNativePopup::GetOwner() const
{
    return m_owner;
}

CNativePopupWnd* CNativePopup::GetWindow() const
{
    return m_pWindow;
}

HWND CNativePopup::GetHWND() const
{
    return m_pWindow != NULL ? m_pWindow->GetHWND() : NULL;
}

bool CNativePopup::Open()
{
    CPaintManagerUI* pManager = m_owner.GetManager();
    if (m_pWindow != NULL || pManager == NULL || pManager->GetPaintWindow() == NULL) return false;
    m_pWindow = m_pfnMakeWindow(*this);
    if (m_pWindow == NULL) return false;
    m_pWindow->Open();
    // A window that never came to be leaves its object behind; one that was
    // destroyed during creation has taken its object and our pointer with it.
    if (m_pWindow != NULL && m_pWindow->GetHWND() == NULL) {
        delete m_pWindow;
        m_pWindow = NULL;
    }
    return m_pWindow != NULL;
}

void CNativePopup::Focus()
{
    if (m_pWindow == NULL) Open();
    else if (::GetFocus() != m_pWindow->GetHWND()) ::SetFocus(m_pWindow->GetHWND());
}

void CNativePopup::Close()
{
    if (m_pWindow == NULL) return;
    CNativePopupWnd* pWindow = m_pWindow;
    m_pWindow = NULL;
    pWindow->OnClosing();
    pWindow->Abandon();
    m_owner.Invalidate();
}

bool CNativePopup::WantsFocus() const
{
    CPaintManagerUI* pManager = m_owner.GetManager();
    if (pManager == NULL || pManager->GetFocus() != &m_owner || !m_owner.IsVisible() || !m_owner.IsEnabled()) {
        return false;
    }
    // Only while the keyboard focus stays inside this window: another window's
    // focus is its own.
    const HWND hWndFocus = ::GetFocus();
    return hWndFocus == pManager->GetPaintWindow()
           || (m_pWindow != NULL && (hWndFocus == m_pWindow->GetHWND() || m_pWindow->IsDropDown(hWndFocus)));
}

void CNativePopup::FollowOwner()
{
    if (m_pWindow == NULL) return;
    const RECT rc = m_pWindow->ComputeRect();
    ::SetWindowPos(m_pWindow->GetHWND(), NULL, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CNativePopup::DoEvent(const tagTEventUI& event)
{
    CPaintManagerUI* pManager = m_owner.GetManager();
    switch (event.nEventType) {
    case SKIN_EVT_WINDOWSIZE:
        if (m_pWindow != NULL && pManager != NULL) pManager->SetFocusNeeded(&m_owner);
        return false;
    case SKIN_EVT_SCROLLWHEEL:
        return m_pWindow != NULL;
    case SKIN_EVT_SETFOCUS:
        if (!m_owner.IsEnabled()) return false;
        // A window still closing from a moment's loss of the focus takes it back.
        Focus();
        WatchFocus(true);
        m_owner.Invalidate();
        return false;
    case SKIN_EVT_KILLFOCUS:
        WatchFocus(false);
        // The window hears nothing of it while a part it dropped down has the
        // keyboard focus.
        if (m_pWindow != NULL) m_pWindow->PostMessageW(WM_CLOSE);
        if (m_owner.IsEnabled()) m_owner.Invalidate();
        return false;
    default:
        return false;
    }
}

void CNativePopup::OwnerMoves(CPaintManagerUI* pManager, CControlUI* pParent)
{
    if (pManager == m_owner.GetManager() && pParent != NULL) return;
    WatchFocus(false);
    Close();
}

void CNativePopup::OwnerHiddenOrDisabled()
{
    if (m_owner.IsVisible() && m_owner.IsEnabled()) return;
    // The owner takes no more input, not even into a window already open,
    // and gives up the focus it can no longer take.
    CPaintManagerUI* pManager = m_owner.GetManager();
    if (pManager != NULL && pManager->GetFocus() == &m_owner) pManager->SetFocus(NULL);
    Close();
}

void CNativePopup::WatchFocus(bool bWatch)
{
    CPaintManagerUI* pManager = m_owner.GetManager();
    if (bWatch == m_bWatchingFocus || pManager == NULL) return;
    if (bWatch) m_bWatchingFocus = pManager->AddMessageFilter(this);
    else m_bWatchingFocus = !pManager->RemoveMessageFilter(this);
}

LRESULT CNativePopup::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM /*lParam*/, bool& /*bHandled*/)
{
    if (uMsg != WM_SETFOCUS || !WantsFocus()) return 0;
    // The paint window takes the keyboard focus when it is activated, which
    // closes the native window; while the owner holds the focus, it opens
    // again, so that input goes on without a click.
    if (m_pWindow == NULL) {
        if (Open()) m_pWindow->OnReopened();
    }
    // A drop-down that closes hands the focus to the top-level window.
    else if (m_pWindow->IsDropDown(reinterpret_cast<HWND>(wParam))) {
        ::SetFocus(m_pWindow->GetHWND());
    }
    return 0;
}

// ---------------------------------------------------------------------------
// The window's side

CNativePopupWnd::CNativePopupWnd(CNativePopup& popup) : m_bInit(false), m_pPopup(&popup), m_bDismissed(false)
{
}

CControlUI* CNativePopupWnd::GetOwner() const
{
    return m_pPopup != NULL ? &m_pPopup->GetOwner() : NULL;
}

bool CNativePopupWnd::CreateOverOwner(DWORD dwStyle)
{
    CControlUI* pOwner = GetOwner();
    if (pOwner == NULL || pOwner->GetManager() == NULL) return false;
    return Create(pOwner->GetManager()->GetPaintWindow(), NULL, dwStyle, 0, ComputeRect(), NULL) != NULL;
}

void CNativePopupWnd::ShowFocused()
{
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
}

void CNativePopupWnd::Abandon()
{
    m_pPopup = NULL;
    m_bInit = false;
    ::ShowWindow(m_hWnd, SW_HIDE);
    PostMessageW(WM_CLOSE);
}

void CNativePopupWnd::Dismiss()
{
    m_bDismissed = true;
    PostMessageW(WM_CLOSE);
}

bool CNativePopupWnd::IsDropDown(HWND /*hWnd*/) const
{
    return false;
}

void CNativePopupWnd::OnReopened()
{
}

void CNativePopupWnd::OnClosing()
{
}

LRESULT CNativePopupWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_KILLFOCUS: {
        LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        PostMessageW(WM_CLOSE);
        return lRes;
    }
    case WM_CLOSE:
        if (m_pPopup == NULL) break;
        // The close posted when the focus left is stale once the focus has
        // come back to where this window belongs: activation takes the focus
        // from it for a moment.
        if (!m_bDismissed && m_pPopup->WantsFocus()) {
            const HWND hWndFocus = ::GetFocus();
            if (hWndFocus != m_hWnd && !IsDropDown(hWndFocus)) ::SetFocus(m_hWnd);
            return 0;
        }
        OnClosing();
        break;
    default:
        break;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CNativePopupWnd::OnFinalMessage(HWND /*hWnd*/)
{
    if (m_pPopup != NULL) {
        m_pPopup->GetOwner().Invalidate();
        if (m_pPopup->m_pWindow == this) m_pPopup->m_pWindow = NULL;
    }
    delete this;
}

} // namespace SkinLib
