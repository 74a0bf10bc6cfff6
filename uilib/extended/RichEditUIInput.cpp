// CRichEditUI, input:
//   - the road of messages to the text services, with Enter's rules
//   - the text services' notifications, passed on as a rich edit window's
//   - the paint manager's messages, filtered for the text services
//   - UI events: cursor, focus, timers
#include "extended/RichEditUI.h"

#include <imm.h>
#include <windowsx.h>

#include "extended/TxtWinHost.h"

namespace SkinLib {

namespace {

// The mouse messages the filter passes on, WM_MOUSEMOVE to WM_XBUTTONDBLCLK.
bool IsMouseMessage(UINT uMsg)
{
    return uMsg >= WM_MOUSEFIRST && uMsg <= WM_XBUTTONDBLCLK;
}

// WM_KEYDOWN to WM_SYSDEADCHAR.
bool IsKeyMessage(UINT uMsg)
{
    return uMsg >= WM_KEYDOWN && uMsg <= WM_SYSDEADCHAR;
}

// WM_SYSKEYDOWN to WM_SYSDEADCHAR: keys with Alt, and F10.
bool IsSystemKeyMessage(UINT uMsg)
{
    return uMsg >= WM_SYSKEYDOWN && uMsg <= WM_SYSDEADCHAR;
}

// The notifications a rich edit window sends its parent.
bool IsWindowNotification(DWORD iNotify)
{
    return iNotify == EN_MSGFILTER || (iNotify >= EN_SELCHANGE && iNotify <= EN_PROTECTED) ||
           iNotify == EN_STOPNOUNDO || (iNotify >= EN_SAVECLIPBOARD && iNotify <= EN_DRAGDROPDONE);
}

} // namespace

// ---------------------------------------------------------------------------
// The road to the text services

LRESULT CRichEditUI::SendToEditor(UINT uMsg, WPARAM wParam, LPARAM lParam) const
{
    LRESULT lResult = 0;
    if (m_pHost != NULL) m_pHost->GetTextServices()->TxSendMessage(uMsg, wParam, lParam, &lResult);
    return lResult;
}

HRESULT CRichEditUI::TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plresult)
{
    if (m_pHost == NULL) return S_FALSE;
    if (msg == WM_KEYDOWN && LOWORD(wParam) == VK_RETURN) {
        const bool bCtrl = ::GetKeyState(VK_CONTROL) < 0;
        if (!m_bWantReturn || (bCtrl && !m_bWantCtrlReturn)) {
            if (m_pManager != NULL) m_pManager->SendNotify(this, L"return");
            return S_OK;
        }
    }
    return m_pHost->GetTextServices()->TxSendMessage(msg, wParam, lParam, plresult);
}

bool CRichEditUI::OnTxViewChanged()
{
    return true;
}

void CRichEditUI::OnTxNotify(DWORD iNotify, void* pv)
{
    if (!IsWindowNotification(iNotify) || pv == NULL || m_pManager == NULL) return;
    const HWND hWnd = m_pManager->GetPaintWindow();
    if (hWnd == NULL) return;
    NMHDR* pHeader = static_cast<NMHDR*>(pv);
    pHeader->hwndFrom = hWnd;
    pHeader->idFrom = static_cast<UINT_PTR>(::GetWindowLongPtrW(hWnd, GWLP_ID));
    pHeader->code = iNotify;
    ::SendMessageW(hWnd, WM_NOTIFY, pHeader->idFrom, reinterpret_cast<LPARAM>(pHeader));
}

// ---------------------------------------------------------------------------
// The paint manager's messages

LRESULT CRichEditUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (!IsVisible() || !IsEnabled() || m_pHost == NULL || m_pManager == NULL) return 0;
    const bool bMouse = IsMouseMessage(uMsg);
    if (bMouse && !IsMouseEnabled()) return 0;
    // A plain wheel scrolls through the container's bars; Ctrl+wheel zooms.
    if (uMsg == WM_MOUSEWHEEL && (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) == 0) return 0;
    const HWND hWnd = m_pManager->GetPaintWindow();

    if (uMsg == WM_IME_COMPOSITION) {
        // The input method composes at the caret; the message goes on to others.
        const HIMC hIMC = ::ImmGetContext(hWnd);
        if (hIMC == NULL) return 0;
        COMPOSITIONFORM cf = {};
        cf.dwStyle = CFS_POINT;
        ::GetCaretPos(&cf.ptCurrentPos);
        ::ImmSetCompositionWindow(hIMC, &cf);
        ::ImmReleaseContext(hWnd, hIMC);
        return 0;
    }

    bool bWasHandled = true;
    if (bMouse || uMsg == WM_SETCURSOR) {
        // A press the text services hold goes to them wherever the mouse is.
        if (!m_pHost->IsCaptured()) {
            POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (uMsg == WM_SETCURSOR) {
                // Its lParam holds a hit-test code, not a point.
                ::GetCursorPos(&pt);
                ::ScreenToClient(hWnd, &pt);
            }
            else if (uMsg == WM_MOUSEWHEEL) {
                ::ScreenToClient(hWnd, &pt);
            }
            if (uMsg >= WM_LBUTTONDOWN && uMsg <= WM_RBUTTONUP && m_pManager->FindControl(pt) != this) return 0;
            const RECT& rcClient = m_pHost->GetControlRect();
            if (!::PtInRect(&rcClient, pt) || m_pManager->IsCaptured()) return 0;
        }
        if (uMsg == WM_SETCURSOR) bWasHandled = false;
        else if (uMsg == WM_LBUTTONDOWN || uMsg == WM_LBUTTONDBLCLK || uMsg == WM_RBUTTONDOWN) SetFocus();
    }
    else if (IsKeyMessage(uMsg)) {
        if (!IsFocused()) return 0;
    }
    else if (uMsg == WM_CONTEXTMENU) {
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(hWnd, &pt);
        if (m_pManager->FindControl(pt) != this) return 0;
    }
    else if (uMsg == WM_HELP) {
        bWasHandled = false;
    }
    else {
        return 0;
    }

    LRESULT lResult = 0;
    if (TxSendMessage(uMsg, wParam, lParam, &lResult) == S_OK) bHandled = bWasHandled;
    // System keys the editor leaves stay the window's: Alt+F4 closes it,
    // Alt+Space opens its menu.
    else if ((IsKeyMessage(uMsg) && !IsSystemKeyMessage(uMsg)) || uMsg == WM_IME_CHAR) bHandled = true;
    else if (bMouse && m_pHost->IsCaptured()) bHandled = true;
    return lResult;
}

// ---------------------------------------------------------------------------
// UI events

void CRichEditUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseEvent(event)) return;
    switch (event.nEventType) {
    case SKIN_EVT_SETCURSOR:
        if (IsEnabled() && m_pHost != NULL && m_pHost->DoSetCursor(NULL, event.ptMousePos)) return;
        break;
    case SKIN_EVT_SETFOCUS:
    case SKIN_EVT_KILLFOCUS: {
        const bool bFocus = event.nEventType == SKIN_EVT_SETFOCUS;
        if (m_pHost != NULL) {
            m_pHost->Activate(NULL);
            SendToEditor(bFocus ? WM_SETFOCUS : WM_KILLFOCUS);
        }
        m_bFocused = bFocus;
        Invalidate();
        return;
    }
    case SKIN_EVT_TIMER:
        SendToEditor(WM_TIMER, event.wMsgParam, event.lMsgParam);
        break;
    case SKIN_EVT_SCROLLWHEEL:
        if ((event.wModifierKeys & MK_CONTROL) != 0) return;
        break;
    // The message filter has given these to the text services already.
    case SKIN_EVT_KEYDOWN:
    case SKIN_EVT_KEYUP:
    case SKIN_EVT_CHAR:
    case SKIN_EVT_SYSKEY:
    case SKIN_EVT_MOUSEMOVE:
    case SKIN_EVT_MOUSELEAVE:
    case SKIN_EVT_MOUSEENTER:
    case SKIN_EVT_BUTTONDOWN:
    case SKIN_EVT_BUTTONUP:
    case SKIN_EVT_DBLCLICK:
        return;
    default:
        break;
    }
    CContainerUI::DoEvent(event);
}

} // namespace SkinLib
