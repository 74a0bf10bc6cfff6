#pragma once
// Drives the modal windows of this thread: while an object lives, its steps
// run one after another from a thread timer inside whatever message loop
// runs. A timer message comes only once no posted message is left, so input a
// step posts (and the PIN exchange it leads to) is all handled before the next
// step runs. A step may open a nested modal loop (a message box); later steps
// then run inside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "WaitUntil.h"

namespace SkinLibTest {

class CModalSteps
{
public:
    // A step returns false to be run again at the next tick.
    typedef std::function<bool()> Step;

    explicit CModalSteps(std::vector<Step> steps, DWORD dwTimeoutMs = kWaitDeadlineMs)
        : m_steps(std::move(steps)), m_nNext(0), m_ullDeadline(::GetTickCount64() + dwTimeoutMs), m_pOuter(s_pActive)
    {
        s_pActive = this;
        m_uTimer = ::SetTimer(NULL, 0, 10, Tick);
    }
    ~CModalSteps()
    {
        ::KillTimer(NULL, m_uTimer);
        s_pActive = m_pOuter;
    }

    bool Finished() const { return m_nNext >= m_steps.size(); }

private:
    CModalSteps(const CModalSteps&) = delete;
    CModalSteps& operator=(const CModalSteps&) = delete;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        CModalSteps* pThis = s_pActive;
        if (pThis == NULL) return;
        if (::GetTickCount64() > pThis->m_ullDeadline) {
            // Stuck: every window of the thread goes, so the test ends.
            ADD_FAILURE() << "step " << pThis->m_nNext << " did not finish in time";
            pThis->m_ullDeadline = ~0ull;
            ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND hWnd, LPARAM) -> BOOL {
                ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
                return TRUE;
            }, 0);
            pThis->m_nNext = pThis->m_steps.size();
            return;
        }
        if (pThis->Finished()) return;
        const size_t nStep = pThis->m_nNext++;
        if (!pThis->m_steps[nStep]() && pThis->m_nNext == nStep + 1) pThis->m_nNext = nStep;
    }

    static CModalSteps* s_pActive;
    std::vector<Step> m_steps;
    size_t m_nNext;
    ULONGLONG m_ullDeadline;
    CModalSteps* m_pOuter;
    UINT_PTR m_uTimer;
};

inline CModalSteps* CModalSteps::s_pActive = NULL;

// A step that is done once it ran; it may use ASSERT_*.
inline CModalSteps::Step Once(std::function<void()> act)
{
    return [act] {
        act();
        return true;
    };
}

// The window with this thread's keyboard focus, when it is a native entry.
inline HWND FocusedEntry()
{
    HWND hFocus = ::GetFocus();
    wchar_t szClass[16] = L"";
    if (hFocus != NULL) ::GetClassNameW(hFocus, szClass, 16);
    return ::wcscmp(szClass, L"EditWnd") == 0 ? hFocus : NULL;
}

} // namespace SkinLibTest
