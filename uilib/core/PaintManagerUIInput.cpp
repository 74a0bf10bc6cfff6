// CPaintManagerUI, input:
//   focus and capture, the Tab order
//   MessageHandler: the window messages a manager handles, one handler per message
//   mouse: hover, click and capture, tooltips, cursor, wheel, context menu
//   keyboard: key and character events to the focused control
//   notifications of native child windows, sent back to them
//   SKIN__TraceMsg, SKIN__Trace
#include "core/PaintManagerUI.h"

#include <windowsx.h>

#include <stdio.h>

#include "controls/ControlUI.h"
#include "core/PaintManagerUIInternal.h"

namespace SkinLib {

namespace {

struct FINDTABINFO
{
    CControlUI* pFocus;
    CControlUI* pLast;
    bool bForward;
    bool bNextIsIt;
};

// Hover delay when no tooltip window tells its own.
const DWORD kDefaultHoverTime = 400;
// Far outside any control: where a press ends when the window closes under it.
const POINT kNowhere = {-1, -1};

POINT PointFromLParam(LPARAM lParam)
{
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// Wheel and context-menu messages carry screen coordinates.
POINT ClientPointFromScreen(HWND hWnd, LPARAM lParam)
{
    POINT pt = PointFromLParam(lParam);
    ::ScreenToClient(hWnd, &pt);
    return pt;
}

void SendEvent(CControlUI* pControl, const tagTEventUI& event)
{
    tagTEventUI copy = event;
    pControl->Event(copy);
}

} // namespace

// ---------------------------------------------------------------------------
// Focus and capture

CControlUI* CPaintManagerUI::GetFocus() const
{
    return m_pFocus;
}

void CPaintManagerUI::SetFocus(CControlUI* pControl)
{
    if (m_hWndPaint != NULL && ::GetFocus() != m_hWndPaint && pControl != m_pFocus) ::SetFocus(m_hWndPaint);
    if (pControl == m_pFocus) {
        // During "killfocus" the focus is already cleared, so asking for none changes nothing
        // here; it is still the latest request, and the one under way must not override it.
        if (pControl == NULL) ++m_uFocusRequests;
        return;
    }
    const UINT uRequest = ++m_uFocusRequests;
    // The control may be deleted by a handler of the old focus.
    CControlGuard target(this, pControl);
    if (m_pFocus != NULL) {
        DropFocus(pControl);
        // A later request, made while this one was under way, has decided.
        if (uRequest != m_uFocusRequests) return;
    }
    if (target == NULL) return;
    if (target->GetManager() != this || !target->IsVisible() || !target->IsEnabled()) return;
    m_pFocus = target;
    SendEvent(target, MakeEvent(SKIN_EVT_SETFOCUS, target));
    if (target != NULL && m_pFocus == target && uRequest == m_uFocusRequests) SendNotify(target, L"setfocus");
}

void CPaintManagerUI::SetFocusNeeded(CControlUI* pControl)
{
    if (m_hWndPaint != NULL) ::SetFocus(m_hWndPaint);
    if (pControl == NULL) return;
    ++m_uFocusRequests;
    CControlGuard target(this, pControl);
    if (m_pFocus != NULL) DropFocus(pControl);
    if (target == NULL || m_pRoot == NULL) return;
    // Parked on the tab stop before the control, so that the Tab step of the
    // next paint lands on the control itself.
    FINDTABINFO info = {target, NULL, false, false};
    m_pFocus = m_pRoot->FindControl(__FindControlFromTab, &info, FINDFLAG_VISIBLE | FINDFLAG_ENABLED | FINDFLAG_MEFIRST);
    m_bFocusNeeded = true;
    m_pRoot->NeedUpdate();
}

// The focus is cleared before anyone hears of it: a handler that asks for the
// focus again finds a manager without one.
void CPaintManagerUI::DropFocus(CControlUI* pNewFocus)
{
    CControlGuard oldFocus(this, m_pFocus);
    m_pFocus = NULL;
    SendEvent(oldFocus, MakeEvent(SKIN_EVT_KILLFOCUS, pNewFocus));
    if (oldFocus != NULL) SendNotify(oldFocus, L"killfocus");
}

bool CPaintManagerUI::SetNextTabControl(bool bForward)
{
    // Before the first layout the order is unknown; the next paint moves the focus.
    if (m_bUpdateNeeded && bForward) {
        m_bFocusNeeded = true;
        if (m_hWndPaint != NULL) ::InvalidateRect(m_hWndPaint, NULL, FALSE);
        return true;
    }
    if (m_pRoot != NULL) {
        const UINT uFlags = FINDFLAG_VISIBLE | FINDFLAG_ENABLED | FINDFLAG_MEFIRST;
        FINDTABINFO info = {m_pFocus, NULL, bForward, false};
        CControlUI* pControl = m_pRoot->FindControl(__FindControlFromTab, &info, uFlags);
        if (pControl == NULL) {
            // Past either end of the order: wrap around.
            if (bForward) {
                FINDTABINFO first = {NULL, NULL, true, false};
                pControl = m_pRoot->FindControl(__FindControlFromTab, &first, uFlags);
            }
            else {
                pControl = info.pLast;
            }
        }
        if (pControl != NULL) SetFocus(pControl);
    }
    m_bFocusNeeded = false;
    return true;
}

void CPaintManagerUI::SetCapture()
{
    ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture()
{
    ::ReleaseCapture();
    m_bMouseCapture = false;
}

bool CPaintManagerUI::IsCaptured() const
{
    return m_bMouseCapture;
}

CControlUI* CALLBACK CPaintManagerUI::__FindControlFromTab(CControlUI* pThis, void* pData)
{
    FINDTABINFO* pInfo = static_cast<FINDTABINFO*>(pData);
    if (pInfo->pFocus == pThis) {
        if (pInfo->bForward) pInfo->bNextIsIt = true;
        return pInfo->bForward ? NULL : pInfo->pLast;
    }
    if ((pThis->GetControlFlags() & CTLFLAG_TABSTOP) == 0) return NULL;
    pInfo->pLast = pThis;
    if (pInfo->bNextIsIt || pInfo->pFocus == NULL) return pThis;
    return NULL;
}

// ---------------------------------------------------------------------------
// Window messages

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (m_hWndPaint == NULL) return false;
    DeliverAsyncNotify();
    if (FilterThrough(m_aMessageFilters, uMsg, wParam, lParam, lRes)) return true;

    bool bHandled = false;
    switch (uMsg) {
    case UIMSG_DELAYED_CLEANUP:
        m_bCleanupPosted = false;
        DeleteDelayedCleanup();
        break;
    case WM_PAINT: OnPaint(); return true;
    case WM_PRINTCLIENT: OnPrintClient(reinterpret_cast<HDC>(wParam), lParam); break;
    case WM_GETMINMAXINFO: {
        MINMAXINFO* lpMMI = reinterpret_cast<MINMAXINFO*>(lParam);
        if (m_szMinWindow.cx > 0) lpMMI->ptMinTrackSize.x = m_szMinWindow.cx;
        if (m_szMinWindow.cy > 0) lpMMI->ptMinTrackSize.y = m_szMinWindow.cy;
        if (m_szMaxWindow.cx > 0) lpMMI->ptMaxTrackSize.x = m_szMaxWindow.cx;
        if (m_szMaxWindow.cy > 0) lpMMI->ptMaxTrackSize.y = m_szMaxWindow.cy;
        break;
    }
    case WM_SIZE: bHandled = OnSize(); break;
    case WM_ERASEBKGND:
        // Painting covers the whole client area; erasing would only flicker.
        lRes = 1;
        return true;
    case WM_TIMER: OnTimer(wParam); break;
    case WM_CLOSE: bHandled = OnClose(); break;
    case WM_MOUSEMOVE: bHandled = OnMouseMove(PointFromLParam(lParam)); break;
    case WM_MOUSEHOVER: bHandled = OnMouseHover(PointFromLParam(lParam)); break;
    case WM_MOUSELEAVE: bHandled = OnMouseLeave(); break;
    case WM_LBUTTONDOWN: bHandled = OnButtonDown(SKIN_EVT_BUTTONDOWN, wParam, lParam); break;
    case WM_RBUTTONDOWN: bHandled = OnButtonDown(SKIN_EVT_RBUTTONDOWN, wParam, lParam); break;
    case WM_LBUTTONUP: bHandled = OnLButtonUp(wParam, lParam); break;
    case WM_LBUTTONDBLCLK: bHandled = OnLButtonDblClk(wParam, lParam); break;
    case WM_CONTEXTMENU: bHandled = OnContextMenu(lParam); break;
    case WM_MOUSEWHEEL: bHandled = OnMouseWheel(wParam, lParam); break;
    case WM_SETCURSOR: bHandled = OnSetCursor(wParam, lParam); break;
    case WM_KEYDOWN: bHandled = OnKeyDown(wParam); break;
    case WM_KEYUP: bHandled = OnKeyUp(wParam); break;
    case WM_CHAR: bHandled = OnChar(wParam); break;
    case WM_NOTIFY:
        // A header-less notification is swallowed; there is nobody to give it back to.
        if (lParam == 0) return true;
        return ForwardToChild(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom, uMsg, wParam, lParam, lRes);
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        // lParam 0: a menu or an accelerator, which is the window's own business.
        bHandled = lParam != 0 && ForwardToChild(reinterpret_cast<HWND>(lParam), uMsg, wParam, lParam, lRes);
        break;
    default: break;
    }
    if (bHandled) return true;

    DeliverAsyncNotify();
    return false;
}

bool CPaintManagerUI::ForwardToChild(HWND hWndChild, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    lRes = ::SendMessageW(hWndChild, uMsg + UIMSG_REFLECT_OFFSET, wParam, lParam);
    return true;
}

bool CPaintManagerUI::OnSize()
{
    if (m_pFocus != NULL) SendEvent(m_pFocus, MakeEvent(SKIN_EVT_WINDOWSIZE, m_pFocus));
    if (m_pRoot != NULL) m_pRoot->NeedUpdate();
    return true;
}

// The control under a point, as far as this window's tree has one: a point
// over a nested managed window's control belongs to that window.
CControlUI* CPaintManagerUI::ControlAt(POINT pt) const
{
    CControlUI* pControl = FindControl(pt);
    return pControl != NULL && pControl->GetManager() == this ? pControl : NULL;
}

// ---------------------------------------------------------------------------
// Mouse

bool CPaintManagerUI::OnMouseMove(POINT pt)
{
    // Every message that looks for a control under a point waits for a tree.
    if (m_pRoot == NULL) return false;
    if (!m_bMouseTracking) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof(TRACKMOUSEEVENT);
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.hwndTrack = m_hWndPaint;
        tme.dwHoverTime = m_hwndTooltip != NULL
                              ? static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
                              : kDefaultHoverTime;
        ::_TrackMouseEvent(&tme);
        m_bMouseTracking = true;
    }
    m_ptLastMousePos = pt;
    // One message, one moment: the mouse fires most often of all, and reading the clock is not free.
    const DWORD dwNow = ::GetTickCount();
    // A leave handler may delete the control the mouse has come to.
    CControlGuard newHover(this, ControlAt(pt));
    if (m_pEventHover != NULL && m_pEventHover != newHover) {
        CControlUI* pOldHover = m_pEventHover;
        m_pEventHover = NULL;
        HideToolTip();
        SendEvent(pOldHover, MakeEventAt(dwNow, SKIN_EVT_MOUSELEAVE, pOldHover, pt));
    }
    if (newHover != NULL && newHover != m_pEventHover) {
        m_pEventHover = newHover;
        SendEvent(newHover, MakeEventAt(dwNow, SKIN_EVT_MOUSEENTER, newHover, pt));
    }
    // A pressed control follows the mouse wherever it goes, outside the window too.
    CControlUI* pTarget = m_pEventClick != NULL ? m_pEventClick : newHover.Get();
    if (pTarget != NULL) SendEvent(pTarget, MakeEventAt(dwNow, SKIN_EVT_MOUSEMOVE, pTarget, pt));
    return false;
}

bool CPaintManagerUI::OnMouseHover(POINT pt)
{
    m_bMouseTracking = false;
    if (m_pRoot == NULL) return false;
    CControlGuard hit(this, ControlAt(pt));
    if (hit == NULL) return false;
    if (m_pEventHover != NULL) SendEvent(m_pEventHover, MakeEvent(SKIN_EVT_MOUSEHOVER, m_pEventHover, pt));
    if (hit != NULL) ShowToolTip(hit);
    return true;
}

bool CPaintManagerUI::OnMouseLeave()
{
    HideToolTip();
    // A move to a point no control covers gives the hover control its leave.
    if (m_bMouseTracking) ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1));
    m_bMouseTracking = false;
    return false;
}

void CPaintManagerUI::ShowToolTip(CControlUI* pControl)
{
    m_sToolTipText = pControl->GetToolTip();
    if (m_sToolTipText.IsEmpty()) return;
    m_ToolTip = TOOLINFOW();
    m_ToolTip.cbSize = sizeof(TOOLINFOW);
    m_ToolTip.uFlags = TTF_IDISHWND;
    m_ToolTip.hwnd = m_hWndPaint;
    m_ToolTip.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
    m_ToolTip.hinst = m_hInstance;
    m_ToolTip.lpszText = const_cast<wchar_t*>(m_sToolTipText.GetData());
    m_ToolTip.rect = pControl->GetPos();
    if (m_hwndTooltip == NULL) {
        m_hwndTooltip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, NULL, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint, NULL,
                                          m_hInstance, NULL);
        if (m_hwndTooltip == NULL) return;
        ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, pControl->GetToolTipWidth());
    ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
}

void CPaintManagerUI::HideToolTip()
{
    if (m_hwndTooltip != NULL) {
        ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
}

bool CPaintManagerUI::OnButtonDown(int nEventType, WPARAM wParam, LPARAM lParam)
{
    if (m_pRoot == NULL) return false;
    ::SetFocus(m_hWndPaint);
    const POINT pt = PointFromLParam(lParam);
    m_ptLastMousePos = pt;
    CControlGuard pressed(this, ControlAt(pt));
    if (pressed == NULL) return false;
    m_pEventClick = pressed;
    pressed->SetFocus();
    // A focus handler may have deleted it; ReapObjects has forgotten the press then.
    if (pressed == NULL) return false;
    SetCapture();
    SendEvent(pressed, MakeEvent(nEventType, pressed, pt, LOWORD(wParam), wParam, lParam));
    return false;
}

bool CPaintManagerUI::OnLButtonUp(WPARAM wParam, LPARAM lParam)
{
    const POINT pt = PointFromLParam(lParam);
    m_ptLastMousePos = pt;
    if (m_pEventClick == NULL) return false;
    ReleaseCapture();
    // Forgotten before it hears of it: a "click" handler may run a modal loop
    // in which this window gets new presses.
    CControlUI* pReleased = m_pEventClick;
    m_pEventClick = NULL;
    SendEvent(pReleased, MakeEvent(SKIN_EVT_BUTTONUP, pReleased, pt, LOWORD(wParam), wParam, lParam));
    return false;
}

bool CPaintManagerUI::OnLButtonDblClk(WPARAM wParam, LPARAM lParam)
{
    if (m_pRoot == NULL) return false;
    ::SetFocus(m_hWndPaint);
    const POINT pt = PointFromLParam(lParam);
    m_ptLastMousePos = pt;
    CControlUI* pControl = ControlAt(pt);
    if (pControl == NULL) return false;
    SetCapture();
    // Made the click control before the event, so that a handler deleting it leaves nothing behind.
    m_pEventClick = pControl;
    SendEvent(pControl, MakeEvent(SKIN_EVT_DBLCLICK, pControl, pt, LOWORD(wParam)));
    return false;
}

bool CPaintManagerUI::OnContextMenu(LPARAM lParam)
{
    const POINT pt = ClientPointFromScreen(m_hWndPaint, lParam);
    m_ptLastMousePos = pt;
    if (m_pEventClick == NULL) return false;
    ReleaseCapture();
    CControlUI* pControl = m_pEventClick;
    m_pEventClick = NULL;
    SendEvent(pControl, MakeEvent(SKIN_EVT_CONTEXTMENU, pControl, pt, 0, 0, reinterpret_cast<LPARAM>(pControl)));
    return false;
}

bool CPaintManagerUI::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    if (m_pRoot == NULL) return false;
    const POINT pt = ClientPointFromScreen(m_hWndPaint, lParam);
    m_ptLastMousePos = pt;
    CControlUI* pControl = ControlAt(pt);
    if (pControl != NULL) {
        // Towards the user (a negative delta) is 1, away from the user 0.
        const WPARAM wTowardsUser = GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : 0;
        SendEvent(pControl, MakeEvent(SKIN_EVT_SCROLLWHEEL, pControl, pt, CurrentKeyState(), wTowardsUser, lParam));
    }
    // What scrolled under the mouse may have moved; hover follows it.
    ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
    return false;
}

bool CPaintManagerUI::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(lParam) != HTCLIENT || m_pRoot == NULL) return false;
    // The pressed control chose the cursor when the press began.
    if (m_bMouseCapture) return true;
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWndPaint, &pt);
    CControlUI* pControl = ControlAt(pt);
    if (pControl == NULL || (pControl->GetControlFlags() & CTLFLAG_SETCURSOR) == 0) return false;
    SendEvent(pControl, MakeEvent(SKIN_EVT_SETCURSOR, NULL, pt, CurrentKeyState(), wParam, lParam));
    return true;
}

bool CPaintManagerUI::OnClose()
{
    // The press never ends inside a control: a window closed while the button
    // is held must not become a click on whatever was pressed.
    CControlGuard pressed(this, m_pEventClick);
    if (m_pEventHover != NULL) {
        CControlUI* pHover = m_pEventHover;
        m_pEventHover = NULL;
        SendEvent(pHover, MakeEvent(SKIN_EVT_MOUSELEAVE, pHover, m_ptLastMousePos));
    }
    if (pressed != NULL) {
        ForgetClickControl();
        SendEvent(pressed, MakeEvent(SKIN_EVT_BUTTONUP, pressed, kNowhere));
    }
    SetFocus(NULL);
    HWND hWndOwner = ::GetWindow(m_hWndPaint, GW_OWNER);
    if (hWndOwner != NULL) ::SetFocus(hWndOwner);
    return false;
}

// ---------------------------------------------------------------------------
// Keyboard

bool CPaintManagerUI::OnKeyDown(WPARAM wParam)
{
    if (m_pFocus == NULL) return false;
    m_pEventKey = m_pFocus;
    SendEvent(m_pFocus, MakeKeyEvent(SKIN_EVT_KEYDOWN, m_ptLastMousePos, wParam));
    return false;
}

bool CPaintManagerUI::OnKeyUp(WPARAM wParam)
{
    if (m_pEventKey == NULL) return false;
    CControlUI* pControl = m_pEventKey;
    m_pEventKey = NULL;
    SendEvent(pControl, MakeKeyEvent(SKIN_EVT_KEYUP, m_ptLastMousePos, wParam));
    return false;
}

bool CPaintManagerUI::OnChar(WPARAM wParam)
{
    if (m_pFocus == NULL) return false;
    SendEvent(m_pFocus, MakeKeyEvent(SKIN_EVT_CHAR, m_ptLastMousePos, wParam));
    return false;
}

// ---------------------------------------------------------------------------
// Diagnostics

const wchar_t* SKIN__TraceMsg(UINT uMsg)
{
    struct MessageName
    {
        UINT uMsg;
        const wchar_t* pstrName;
    };
#define SKIN_MSG_NAME(msg) {msg, L## #msg}
    static const MessageName s_aNames[] = {
        SKIN_MSG_NAME(WM_SETCURSOR),       SKIN_MSG_NAME(WM_NCHITTEST),       SKIN_MSG_NAME(WM_NCPAINT),
        SKIN_MSG_NAME(WM_PAINT),           SKIN_MSG_NAME(WM_ERASEBKGND),      SKIN_MSG_NAME(WM_NCMOUSEMOVE),
        SKIN_MSG_NAME(WM_MOUSEMOVE),       SKIN_MSG_NAME(WM_MOUSELEAVE),      SKIN_MSG_NAME(WM_MOUSEHOVER),
        SKIN_MSG_NAME(WM_NOTIFY),          SKIN_MSG_NAME(WM_COMMAND),         SKIN_MSG_NAME(WM_MEASUREITEM),
        SKIN_MSG_NAME(WM_DRAWITEM),        SKIN_MSG_NAME(WM_LBUTTONDOWN),     SKIN_MSG_NAME(WM_LBUTTONUP),
        SKIN_MSG_NAME(WM_LBUTTONDBLCLK),   SKIN_MSG_NAME(WM_RBUTTONDOWN),     SKIN_MSG_NAME(WM_RBUTTONUP),
        SKIN_MSG_NAME(WM_RBUTTONDBLCLK),   SKIN_MSG_NAME(WM_SETFOCUS),        SKIN_MSG_NAME(WM_KILLFOCUS),
        SKIN_MSG_NAME(WM_MOVE),            SKIN_MSG_NAME(WM_SIZE),            SKIN_MSG_NAME(WM_SIZING),
        SKIN_MSG_NAME(WM_MOVING),          SKIN_MSG_NAME(WM_GETMINMAXINFO),   SKIN_MSG_NAME(WM_CAPTURECHANGED),
        SKIN_MSG_NAME(WM_WINDOWPOSCHANGED), SKIN_MSG_NAME(WM_WINDOWPOSCHANGING), SKIN_MSG_NAME(WM_NCCALCSIZE),
        SKIN_MSG_NAME(WM_NCCREATE),        SKIN_MSG_NAME(WM_NCDESTROY),       SKIN_MSG_NAME(WM_TIMER),
        SKIN_MSG_NAME(WM_KEYDOWN),         SKIN_MSG_NAME(WM_KEYUP),           SKIN_MSG_NAME(WM_CHAR),
        SKIN_MSG_NAME(WM_SYSKEYDOWN),      SKIN_MSG_NAME(WM_SYSKEYUP),        SKIN_MSG_NAME(WM_SYSCOMMAND),
        SKIN_MSG_NAME(WM_SYSCHAR),         SKIN_MSG_NAME(WM_VSCROLL),         SKIN_MSG_NAME(WM_HSCROLL),
        SKIN_MSG_NAME(WM_SHOWWINDOW),      SKIN_MSG_NAME(WM_PARENTNOTIFY),    SKIN_MSG_NAME(WM_CREATE),
        SKIN_MSG_NAME(WM_NCACTIVATE),      SKIN_MSG_NAME(WM_ACTIVATE),        SKIN_MSG_NAME(WM_ACTIVATEAPP),
        SKIN_MSG_NAME(WM_CLOSE),           SKIN_MSG_NAME(WM_DESTROY),         SKIN_MSG_NAME(WM_GETICON),
        SKIN_MSG_NAME(WM_GETTEXT),         SKIN_MSG_NAME(WM_GETTEXTLENGTH),
    };
#undef SKIN_MSG_NAME
    for (const MessageName& name : s_aNames) {
        if (name.uMsg == uMsg) return name.pstrName;
    }
    // "0x", up to eight digits of any 32-bit number, and the terminator.
    static wchar_t s_szNumber[2 + 8 + 1];
    ::swprintf(s_szNumber, sizeof(s_szNumber) / sizeof(s_szNumber[0]), L"0x%04X", uMsg);
    return s_szNumber;
}

void SKIN__Trace(const wchar_t* /*pstrFormat*/, ...)
{
}

} // namespace SkinLib
