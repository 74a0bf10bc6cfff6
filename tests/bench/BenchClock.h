#pragma once
// Timing, and the heap's measure, for the benchmark programs.
#include <windows.h>

namespace SkinLibBench {

// Microseconds from an arbitrary start, with the performance counter's resolution.
inline double Now()
{
    static LARGE_INTEGER s_freq = {};
    if (s_freq.QuadPart == 0) ::QueryPerformanceFrequency(&s_freq);
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(s_freq.QuadPart);
}

// Microseconds per call over nCalls calls, the best of nRounds rounds so that
// a busy moment of the machine doesn't count.
template <class Call> double BestMicroseconds(int nCalls, int nRounds, Call call)
{
    double dBest = 1e300;
    for (int round = 0; round < nRounds; round++) {
        const double dStart = Now();
        for (int i = 0; i < nCalls; i++) call();
        const double dPerCall = (Now() - dStart) / nCalls;
        if (dPerCall < dBest) dBest = dPerCall;
    }
    return dBest;
}

// Bytes in use in every heap of the process; the growth around building
// something gives its cost in memory.
inline double HeapBytesInUse()
{
    HANDLE aHeaps[64];
    DWORD nHeaps = ::GetProcessHeaps(64, aHeaps);
    if (nHeaps > 64) nHeaps = 64;
    double dBytes = 0;
    for (DWORD i = 0; i < nHeaps; i++) {
        PROCESS_HEAP_ENTRY entry = {};
        if (!::HeapLock(aHeaps[i])) continue;
        while (::HeapWalk(aHeaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) dBytes += entry.cbData;
        }
        ::HeapUnlock(aHeaps[i]);
    }
    return dBytes;
}

} // namespace SkinLibBench
