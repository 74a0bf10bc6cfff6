// CWindowWnd, the thin wrapper over one Win32 window:
//   - window class registration and superclassing
//   - creation and subclassing
//   - showing, the modal loop and closing
//   - placement: centring, icon, client size
//   - the window procedures: binding the object at WM_NCCREATE, letting go at WM_NCDESTROY
#include "core/WindowWnd.h"

#include "core/PaintManagerUI.h"

namespace SkinLib {

namespace {

const wchar_t kObjectProp[] = L"WndX";

void ForgetUserData(HWND hWnd)
{
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
}

void ForgetProp(HWND hWnd)
{
    ::RemovePropW(hWnd, kObjectProp);
}

} // namespace

CWindowWnd::CWindowWnd() : m_hWnd(NULL), m_OldWndProc(::DefWindowProcW), m_bSubclassed(false)
{
}

HWND CWindowWnd::GetHWND() const
{
    return m_hWnd;
}

CWindowWnd::operator HWND() const
{
    return m_hWnd;
}

LPCWSTR CWindowWnd::GetSuperClassName() const
{
    return NULL;
}

UINT CWindowWnd::GetClassStyle() const
{
    return 0;
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND /*hWnd*/)
{
}

bool CWindowWnd::RegisterWindowClass()
{
    WNDCLASSW wc = {};
    wc.style = GetClassStyle();
    wc.lpfnWndProc = __WndProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.hCursor = ::LoadCursorW(NULL, IDC_ARROW);
    wc.lpszClassName = GetWndClassName();
    // Every window of one class name shares the first registration.
    return ::RegisterClassW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(NULL, GetSuperClassName(), &wc)
        && !::GetClassInfoExW(CPaintManagerUI::GetInstance(), GetSuperClassName(), &wc)) {
        return false;
    }
    m_OldWndProc = wc.lpfnWndProc;
    wc.lpfnWndProc = __ControlProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.lpszClassName = GetWndClassName();
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT rc,
                        HMENU hMenu)
{
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left,
                  rc.bottom - rc.top, hMenu);
}

HWND CWindowWnd::CreateSkinWindow(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle)
{
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, 0, 0, 0, 0, NULL);
}

HWND CWindowWnd::Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x, int y, int cx,
                        int cy, HMENU hMenu)
{
    bool bRegistered = GetSuperClassName() != NULL ? RegisterSuperclass() : RegisterWindowClass();
    if (!bRegistered) return NULL;
    // The handle is stored at WM_NCCREATE. It is not stored again here: when
    // creation fails the window is already gone and the object, which may
    // delete itself in OnFinalMessage, must not be touched.
    return ::CreateWindowExW(dwExStyle, GetWndClassName(), pstrName, dwStyle, x, y, cx, cy, hwndParent, hMenu,
                             CPaintManagerUI::GetInstance(), this);
}

HWND CWindowWnd::Subclass(HWND hWnd)
{
    WNDPROC oldWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(__WndProc)));
    if (oldWndProc == NULL) return NULL;
    m_OldWndProc = oldWndProc;
    m_bSubclassed = true;
    m_hWnd = hWnd;
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return m_hWnd;
}

void CWindowWnd::Unsubclass()
{
    if (!::IsWindow(m_hWnd) || !m_bSubclassed) return;
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_OldWndProc));
    m_OldWndProc = ::DefWindowProcW;
    m_bSubclassed = false;
}

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus)
{
    if (!::IsWindow(m_hWnd)) return;
    ::ShowWindow(m_hWnd, !bShow ? SW_HIDE : bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
}

UINT CWindowWnd::ShowModal()
{
    HWND hWnd = m_hWnd;
    if (!::IsWindow(hWnd)) return 0;
    // Only an owner this loop disabled itself is enabled again: one that
    // somebody else had disabled stays so. The desktop, which may stand in
    // for another program's window as owner, is never disabled.
    HWND hWndOwner = ::GetWindow(hWnd, GW_OWNER);
    ::ShowWindow(hWnd, SW_SHOWNORMAL);
    bool bOwnerDisabled = hWndOwner != NULL && hWndOwner != ::GetDesktopWindow() && ::IsWindowEnabled(hWndOwner);
    if (bOwnerDisabled) ::EnableWindow(hWndOwner, FALSE);

    // From here on the object is not touched: it may be deleted with its window.
    UINT nRet = 0;
    MSG msg = {};
    bool bQuit = false;
    while (::IsWindow(hWnd)) {
        BOOL bGot = ::GetMessageW(&msg, NULL, 0, 0);
        if (bGot <= 0) {
            bQuit = bGot == 0;
            break;
        }
        if (msg.message == WM_CLOSE && msg.hwnd == hWnd) {
            nRet = static_cast<UINT>(msg.wParam);
            // Enabled before the window goes, so that activation returns to
            // the owner rather than to some other window.
            if (bOwnerDisabled) {
                ::EnableWindow(hWndOwner, TRUE);
                ::SetFocus(hWndOwner);
            }
        }
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (bOwnerDisabled) {
        ::EnableWindow(hWndOwner, TRUE);
        ::SetFocus(hWndOwner);
    }
    // The outer loop must end too.
    if (bQuit) ::PostQuitMessage(static_cast<int>(msg.wParam));
    return nRet;
}

void CWindowWnd::Close(UINT nRet)
{
    if (!::IsWindow(m_hWnd)) return;
    ::PostMessageW(m_hWnd, WM_CLOSE, static_cast<WPARAM>(nRet), 0);
}

void CWindowWnd::CenterWindow()
{
    RECT rcWindow = {};
    ::GetWindowRect(m_hWnd, &rcWindow);
    int nWidth = rcWindow.right - rcWindow.left;
    int nHeight = rcWindow.bottom - rcWindow.top;

    HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(hWndOwner != NULL ? hWndOwner : m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& rcWork = mi.rcWork;
    RECT rcCenter = rcWork;
    if (hWndOwner != NULL) ::GetWindowRect(hWndOwner, &rcCenter);

    int x = (rcCenter.left + rcCenter.right) / 2 - nWidth / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - nHeight / 2;
    if (x < rcWork.left) x = rcWork.left;
    else if (x + nWidth > rcWork.right) x = rcWork.right - nWidth;
    if (y < rcWork.top) y = rcWork.top;
    else if (y + nHeight > rcWork.bottom) y = rcWork.bottom - nHeight;
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT nRes)
{
    // Both icons are loaded at the large-icon size, rounded to whole 16s.
    int cx = (::GetSystemMetrics(SM_CXICON) + 15) & ~15;
    int cy = (::GetSystemMetrics(SM_CYICON) + 15) & ~15;
    HINSTANCE hInstance = CPaintManagerUI::GetInstance();
    HANDLE hIconBig = ::LoadImageW(hInstance, MAKEINTRESOURCEW(nRes), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR);
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIconBig));
    HANDLE hIconSmall = ::LoadImageW(hInstance, MAKEINTRESOURCEW(nRes), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR);
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIconSmall));
}

void CWindowWnd::ResizeClient(int cx, int cy)
{
    RECT rc = {};
    if (!::GetClientRect(m_hWnd, &rc)) return;
    if (cx != -1) rc.right = cx;
    if (cy != -1) rc.bottom = cy;
    DWORD dwStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    DWORD dwExStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    BOOL bMenu = !(dwStyle & WS_CHILD) && ::GetMenu(m_hWnd) != NULL;
    if (!::AdjustWindowRectEx(&rc, dwStyle, bMenu, dwExStyle)) return;
    ::SetWindowPos(m_hWnd, NULL, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::SendMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, uMsg, wParam, lParam);
}

CWindowWnd* CWindowWnd::AttachOnCreate(HWND hWnd, LPARAM lParam)
{
    CWindowWnd* pThis = static_cast<CWindowWnd*>(reinterpret_cast<LPCREATESTRUCTW>(lParam)->lpCreateParams);
    // A window of one of our classes created by someone else's CreateWindowEx
    // carries no object and is left to the default procedure.
    if (pThis != NULL) pThis->m_hWnd = hWnd;
    return pThis;
}

LRESULT CWindowWnd::HandleFinalMessage(HWND hWnd, WPARAM wParam, LPARAM lParam, void (*pfnForget)(HWND))
{
    LRESULT lRes = ::CallWindowProcW(m_OldWndProc, hWnd, WM_NCDESTROY, wParam, lParam);
    pfnForget(hWnd);
    if (m_bSubclassed) Unsubclass();
    m_hWnd = NULL;
    OnFinalMessage(hWnd);
    return lRes;
}

LRESULT CALLBACK CWindowWnd::__WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* pThis = NULL;
    if (uMsg == WM_NCCREATE) {
        pThis = AttachOnCreate(hWnd, lParam);
        if (pThis != NULL) ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
    }
    else {
        pThis = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (uMsg == WM_NCDESTROY && pThis != NULL) {
            return pThis->HandleFinalMessage(hWnd, wParam, lParam, ForgetUserData);
        }
    }
    if (pThis == NULL) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    return pThis->HandleMessage(uMsg, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::__ControlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* pThis = NULL;
    if (uMsg == WM_NCCREATE) {
        pThis = AttachOnCreate(hWnd, lParam);
        if (pThis != NULL) ::SetPropW(hWnd, kObjectProp, pThis);
    }
    else {
        pThis = static_cast<CWindowWnd*>(::GetPropW(hWnd, kObjectProp));
        if (uMsg == WM_NCDESTROY && pThis != NULL) {
            return pThis->HandleFinalMessage(hWnd, wParam, lParam, ForgetProp);
        }
    }
    if (pThis == NULL) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    return pThis->HandleMessage(uMsg, wParam, lParam);
}

} // namespace SkinLib
