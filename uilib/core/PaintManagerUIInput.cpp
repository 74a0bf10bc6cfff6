// CPaintManagerUI, input:
//   focus and capture, the Tab order
//   MessageHandler: the window messages a manager handles
#include "core/PaintManagerUI.h"

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
    if (pControl == m_pFocus) return;
    if (m_pFocus != NULL) {
        CControlUI* pOldFocus = m_pFocus;
        tagTEventUI event = MakeEvent(SKIN_EVT_KILLFOCUS, pControl);
        pOldFocus->Event(event);
        // The handler may have destroyed the control, which reaps it from m_pFocus.
        if (m_pFocus == pOldFocus) SendNotify(pOldFocus, L"killfocus");
        m_pFocus = NULL;
    }
    if (pControl == NULL) return;
    if (pControl->GetManager() != this || !pControl->IsVisible() || !pControl->IsEnabled()) return;
    m_pFocus = pControl;
    tagTEventUI event = MakeEvent(SKIN_EVT_SETFOCUS, pControl);
    pControl->Event(event);
    if (m_pFocus == pControl) SendNotify(pControl, L"setfocus");
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
    for (int i = 0; i < m_aMessageFilters.GetSize(); i++) {
        bool bHandled = false;
        LRESULT lResult =
            static_cast<IMessageFilterUI*>(m_aMessageFilters[i])->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }

    switch (uMsg) {
    case UIMSG_DELAYED_CLEANUP:
        DeleteDelayedCleanup();
        break;
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_PRINTCLIENT:
        OnPrintClient(reinterpret_cast<HDC>(wParam), lParam);
        break;
    case WM_GETMINMAXINFO: {
        MINMAXINFO* lpMMI = reinterpret_cast<MINMAXINFO*>(lParam);
        if (m_szMinWindow.cx > 0) lpMMI->ptMinTrackSize.x = m_szMinWindow.cx;
        if (m_szMinWindow.cy > 0) lpMMI->ptMinTrackSize.y = m_szMinWindow.cy;
        if (m_szMaxWindow.cx > 0) lpMMI->ptMaxTrackSize.x = m_szMaxWindow.cx;
        if (m_szMaxWindow.cy > 0) lpMMI->ptMaxTrackSize.y = m_szMaxWindow.cy;
        break;
    }
    case WM_SIZE:
        if (m_pFocus != NULL) {
            tagTEventUI event = MakeEvent(SKIN_EVT_WINDOWSIZE, m_pFocus);
            m_pFocus->Event(event);
        }
        if (m_pRoot != NULL) m_pRoot->NeedUpdate();
        return true;
    case WM_ERASEBKGND:
        // Painting covers the whole client area; erasing would only flicker.
        lRes = 1;
        return true;
    case WM_TIMER:
        OnTimer(wParam);
        break;
    default:
        break;
    }

    DeliverAsyncNotify();
    return false;
}

} // namespace SkinLib
