#pragma once
// What the paint manager's source files share and nobody else uses:
//   TimerEntry       one control timer on a Win32 timer of the window
//   FINDSHORTCUT     data of the Alt+character search
//   CurrentKeyState  the MK_* word of the keyboard as it stands
//   MakeEventAt, MakeEvent, MakeKeyEvent  the one place a tagTEventUI is filled in
//   FilterThrough    asks a list of message filters
//   RemoveFirst, RemoveAll  list helpers for the registration lists
//   CControlGuard    a control pointer that a deleting event handler clears

#include <windows.h>

#include "core/PaintManagerUI.h"
#include "core/StdPtrArray.h"

namespace SkinLib {

// One control timer, multiplexed onto a Win32 timer of the paint window.
struct TimerEntry
{
    CControlUI* pSender;
    UINT nLocalID;
    HWND hWnd;
    UINT uWinTimer;
    bool bKilled;
};

struct FINDSHORTCUT
{
    wchar_t ch;
    bool bPickNext;
};

// The MK_* set has no bit for Alt; events carry it here.
const WORD kModifierAlt = 0x20;

inline WORD CurrentKeyState()
{
    WORD wState = 0;
    if (::GetKeyState(VK_CONTROL) < 0) wState |= MK_CONTROL;
    if (::GetKeyState(VK_RBUTTON) < 0) wState |= MK_RBUTTON;
    if (::GetKeyState(VK_LBUTTON) < 0) wState |= MK_LBUTTON;
    if (::GetKeyState(VK_SHIFT) < 0) wState |= MK_SHIFT;
    if (::GetKeyState(VK_MENU) < 0) wState |= kModifierAlt;
    return wState;
}

// A zero-filled event made at dwTickTime; the fields a kind leaves out stay 0.
inline tagTEventUI MakeEventAt(DWORD dwTickTime, int nType, CControlUI* pSender, POINT ptMouse = POINT{0, 0},
                               WORD wKeyState = 0, WPARAM wParam = 0, LPARAM lParam = 0, wchar_t chKey = 0)
{
    tagTEventUI event = {};
    event.nEventType = nType;
    event.pSenderControl = pSender;
    event.dwTickTime = dwTickTime;
    event.ptMousePos = ptMouse;
    event.chKeyCode = chKey;
    event.wModifierKeys = wKeyState;
    event.wMsgParam = wParam;
    event.lMsgParam = lParam;
    return event;
}

// The same, made now.
inline tagTEventUI MakeEvent(int nType, CControlUI* pSender, POINT ptMouse = POINT{0, 0}, WORD wKeyState = 0,
                             WPARAM wParam = 0, LPARAM lParam = 0, wchar_t chKey = 0)
{
    return MakeEventAt(::GetTickCount(), nType, pSender, ptMouse, wKeyState, wParam, lParam, chKey);
}

// A key, character or system-key event: no sender, the key in the low word of wParam.
inline tagTEventUI MakeKeyEvent(int nType, POINT ptLastMouse, WPARAM wParam)
{
    return MakeEvent(nType, NULL, ptLastMouse, CurrentKeyState(), 0, 0, static_cast<wchar_t>(LOWORD(wParam)));
}

// Asks each filter of a list in order; the first that sets its flag consumes the message.
inline bool FilterThrough(CDispatchList& aFilters, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    return aFilters.FirstThat<IMessageFilterUI>([&](IMessageFilterUI* pFilter) {
        bool bHandled = false;
        const LRESULT lResult = pFilter->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) lRes = lResult;
        return bHandled;
    });
}

// Removes every entry equal to p; the lists may hold duplicates.
inline void RemoveAll(CStdPtrArray& aItems, const void* p)
{
    for (int i = aItems.GetSize() - 1; i >= 0; --i) {
        if (aItems[i] == p) aItems.Remove(i);
    }
}

inline bool RemoveFirst(CStdPtrArray& aItems, const void* p)
{
    int iIndex = aItems.Find(p);
    return iIndex >= 0 && aItems.Remove(iIndex);
}

// Holds a control across the event handlers the dispatch runs: a handler may
// delete the control (its parent removes it), and the manager's ReapObjects
// then clears the guard, so the dispatch never touches it again.
class CControlGuard
{
public:
    // Guards live on the stack, so they come and go in nested order: a chain through the stack.
    CControlGuard(CPaintManagerUI* pManager, CControlUI* pControl)
        : m_pManager(pManager), m_pControl(pControl), m_pOuter(pManager->m_pControlGuards)
    {
        // The chain holds the address of a local on purpose: the destructor unlinks it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
        m_pManager->m_pControlGuards = this;
#pragma GCC diagnostic pop
    }
    CControlGuard(const CControlGuard&) = delete;
    CControlGuard& operator=(const CControlGuard&) = delete;
    ~CControlGuard() { m_pManager->m_pControlGuards = m_pOuter; }

    CControlUI* Get() const { return m_pControl; }
    operator CControlUI*() const { return m_pControl; }
    CControlUI* operator->() const { return m_pControl; }

    // Called by ReapObjects for every guard while a control is destroyed.
    static void Reap(CPaintManagerUI* pManager, CControlUI* pControl)
    {
        for (CControlGuard* pGuard = pManager->m_pControlGuards; pGuard != NULL; pGuard = pGuard->m_pOuter) {
            if (pGuard->m_pControl == pControl) pGuard->m_pControl = NULL;
        }
    }

private:
    CPaintManagerUI* m_pManager;
    CControlUI* m_pControl;
    CControlGuard* m_pOuter;
};

} // namespace SkinLib
