#pragma once
// Tests wait for a state, never for a span of time: on a loaded machine a
// window, a thread or a whole Wine process may take long to get going, so every
// wait polls for what it needs up to one generous deadline that only a fault
// reaches.
#include <windows.h>

namespace SkinLibTest {

const DWORD kWaitDeadlineMs = 60000;

// Polls done() every dwPaceMs until it holds; false when the deadline came first.
template <class Done> bool WaitUntil(Done done, DWORD dwDeadlineMs = kWaitDeadlineMs, DWORD dwPaceMs = 5)
{
    const ULONGLONG ullDeadline = ::GetTickCount64() + dwDeadlineMs;
    while (!done()) {
        if (::GetTickCount64() >= ullDeadline) return false;
        ::Sleep(dwPaceMs);
    }
    return true;
}

} // namespace SkinLibTest
