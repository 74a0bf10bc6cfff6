// CPaintManagerUI, what controls hand the manager to pass on:
//   control timers on the window's Win32 timers
//   notifications, synchronous and queued; notifiers
//   message filters and post-paint controls
#include "core/PaintManagerUI.h"

#include <new>

#include "controls/ControlUI.h"
#include "core/PaintManagerUIInternal.h"

namespace SkinLib {

namespace {

// Control timers share the window's Win32 ids 0..254.
const UINT kTimerIdCount = 255;

} // namespace

// ---------------------------------------------------------------------------
// Timers

bool CPaintManagerUI::NextTimerId(UINT* pWinTimer)
{
    // Ids of live entries are kept for re-arming, so after a wrap-around the
    // counter must step over them instead of stealing another control's timer.
    for (UINT nTry = 0; nTry < kTimerIdCount; nTry++) {
        m_uTimerID = (m_uTimerID + 1) % kTimerIdCount;
        bool bTaken = false;
        for (int i = 0; i < m_aTimers.GetSize() && !bTaken; i++) {
            const TimerEntry* pTimer = static_cast<const TimerEntry*>(m_aTimers[i]);
            bTaken = pTimer->hWnd == m_hWndPaint && pTimer->uWinTimer == m_uTimerID;
        }
        if (!bTaken) {
            *pWinTimer = m_uTimerID;
            return true;
        }
    }
    return false;
}

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse)
{
    if (pControl == NULL || m_hWndPaint == NULL) return false;
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        TimerEntry* pTimer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (pTimer->pSender == pControl && pTimer->hWnd == m_hWndPaint && pTimer->nLocalID == nTimerID) {
            if (!pTimer->bKilled || !::SetTimer(m_hWndPaint, pTimer->uWinTimer, uElapse, NULL)) return false;
            pTimer->bKilled = false;
            return true;
        }
    }
    UINT uWinTimer = 0;
    if (!NextTimerId(&uWinTimer)) return false;
    if (!::SetTimer(m_hWndPaint, uWinTimer, uElapse, NULL)) return false;
    TimerEntry* pTimer = new (std::nothrow) TimerEntry{pControl, nTimerID, m_hWndPaint, uWinTimer, false};
    if (pTimer == NULL || !m_aTimers.Add(pTimer)) {
        ::KillTimer(m_hWndPaint, uWinTimer);
        delete pTimer;
        return false;
    }
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID)
{
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        TimerEntry* pTimer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (pTimer->pSender == pControl && pTimer->hWnd == m_hWndPaint && pTimer->nLocalID == nTimerID &&
            !pTimer->bKilled) {
            if (::IsWindow(m_hWndPaint)) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
            // Kept, so that SetTimer re-arms it under the same Win32 id.
            pTimer->bKilled = true;
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl)
{
    for (int i = m_aTimers.GetSize() - 1; i >= 0; --i) {
        TimerEntry* pTimer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (pTimer->pSender == pControl && pTimer->hWnd == m_hWndPaint) {
            if (!pTimer->bKilled) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
            delete pTimer;
            m_aTimers.Remove(i);
        }
    }
}

void CPaintManagerUI::RemoveAllTimers()
{
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        TimerEntry* pTimer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (pTimer->hWnd == m_hWndPaint && !pTimer->bKilled && ::IsWindow(m_hWndPaint)) {
            ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
        }
        delete pTimer;
    }
    m_aTimers.Empty();
}

void CPaintManagerUI::OnTimer(WPARAM wParam)
{
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        const TimerEntry* pTimer = static_cast<const TimerEntry*>(m_aTimers[i]);
        if (pTimer->hWnd == m_hWndPaint && pTimer->uWinTimer == LOWORD(wParam) && !pTimer->bKilled) {
            // The handler may kill the timer and free the entry: read it first.
            tagTEventUI event = MakeEvent(SKIN_EVT_TIMER, pTimer->pSender, POINT{0, 0}, 0, pTimer->nLocalID);
            CControlUI* pSender = pTimer->pSender;
            pSender->Event(event);
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Notifications, filters and post-painting

void CPaintManagerUI::SendNotify(CControlUI* pControl, const wchar_t* pstrMessage, WPARAM wParam, LPARAM lParam,
                                 bool bAsync)
{
    tagTNotifyUI Msg;
    Msg.sNotifyType = pstrMessage;
    Msg.pSenderControl = pControl;
    Msg.wNotifyParam = wParam;
    Msg.lNotifyParam = lParam;
    SendNotify(Msg, bAsync);
}

void CPaintManagerUI::SendNotify(tagTNotifyUI& Msg, bool bAsync)
{
    Msg.ptMousePos = m_ptLastMousePos;
    Msg.dwTickTime = ::GetTickCount();
    if (m_bUsedVirtualWnd) {
        if (Msg.pSenderControl != NULL) Msg.sVirtualWndName = Msg.pSenderControl->GetVirtualWnd();
        else Msg.sVirtualWndName.Empty();
    }
    if (!bAsync) {
        DeliverNotify(Msg);
        return;
    }
    tagTNotifyUI* pMsg = new (std::nothrow) tagTNotifyUI(Msg);
    if (pMsg != NULL && !m_aAsyncNotify.Add(pMsg)) delete pMsg;
}

void CPaintManagerUI::DeliverNotify(tagTNotifyUI& Msg)
{
    if (Msg.pSenderControl != NULL && Msg.pSenderControl->OnNotify) Msg.pSenderControl->OnNotify(&Msg);
    m_aNotifiers.FirstThat<INotifyUI>([&Msg](INotifyUI* pNotifier) {
        pNotifier->Notify(Msg);
        return false;
    });
}

void CPaintManagerUI::DeliverAsyncNotify()
{
    // Records queued by a receiver join the end of the queue and go out in this pass.
    while (!m_aAsyncNotify.IsEmpty()) {
        tagTNotifyUI* pMsg = static_cast<tagTNotifyUI*>(m_aAsyncNotify[0]);
        m_aAsyncNotify.Remove(0);
        DeliverNotify(*pMsg);
        delete pMsg;
    }
}

void CPaintManagerUI::FreeAsyncNotify()
{
    for (int i = 0; i < m_aAsyncNotify.GetSize(); i++) delete static_cast<tagTNotifyUI*>(m_aAsyncNotify[i]);
    m_aAsyncNotify.Empty();
}

void CPaintManagerUI::UsedVirtualWnd(bool bUsed)
{
    m_bUsedVirtualWnd = bUsed;
}

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier)
{
    return m_aNotifiers.Add(pNotifier);
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier)
{
    return m_aNotifiers.Remove(pNotifier);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aMessageFilters.Add(pFilter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aMessageFilters.Remove(pFilter);
}

int CPaintManagerUI::GetPostPaintCount() const
{
    return m_aPostPaintControls.GetSize();
}

bool CPaintManagerUI::AddPostPaint(CControlUI* pControl)
{
    return m_aPostPaintControls.Add(pControl);
}

bool CPaintManagerUI::RemovePostPaint(CControlUI* pControl)
{
    return RemoveFirst(m_aPostPaintControls, pControl);
}

bool CPaintManagerUI::SetPostPaintIndex(CControlUI* pControl, int iIndex)
{
    RemovePostPaint(pControl);
    return m_aPostPaintControls.InsertAt(iIndex, pControl);
}

} // namespace SkinLib
