// The road from a worker to the window's thread: how long a posted status text
// waits before the UI thread applies it (the goal is well within one 16 ms frame,
// painting included), and what one update costs when a worker posts many.
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <vector>

#include "BenchClock.h"
#include "UpdateChannel.h"

using SkinLibBench::Now;

namespace {

const int kSamples = 400;
const int kBurst = 100000;

// Applies updates and keeps, for each text, the wait since the worker posted it
// (the text is the posting time in microseconds).
struct CLatencyTarget : IUpdateTarget
{
    void ApplyText(LPCWSTR, LPCWSTR pstrText) override { aWaits.push_back(Now() - _wtof(pstrText)); }
    void ApplyImage(LPCWSTR, LPCWSTR) override { ++cOthers; }
    void ApplyEnabled(LPCWSTR, bool) override { ++cOthers; }
    std::vector<double> aWaits;
    int cOthers = 0;
};

CUpdateChannel* g_pChannel = NULL;
CLatencyTarget g_target;

LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_WORKER_UPDATES) {
        g_pChannel->Drain(g_target);
        return 0;
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

// One text now and then, as a capture's result would come.
DWORD WINAPI PostNowAndThen(LPVOID lpChannel)
{
    CUpdateChannelRef updates(static_cast<CUpdateChannel*>(lpChannel));
    for (int i = 0; i < kSamples; ++i) {
        ::Sleep(2);
        wchar_t sz[64];
        swprintf(sz, 64, L"%.3f", Now());
        updates->PostText(L"txt_show", sz);
    }
    return 0;
}

// A worker posting as fast as it can.
DWORD WINAPI PostBurst(LPVOID lpChannel)
{
    CUpdateChannelRef updates(static_cast<CUpdateChannel*>(lpChannel));
    for (int i = 0; i < kBurst; ++i) updates->PostEnabled(L"btn_Delete", (i & 1) != 0);
    return 0;
}

void PumpUntilEnded(HANDLE hThread)
{
    MSG msg;
    while (::MsgWaitForMultipleObjects(1, &hThread, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::CloseHandle(hThread);
}

} // namespace

int main()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = ::GetModuleHandleW(NULL);
    wc.lpszClassName = L"BenchUpdates";
    ::RegisterClassW(&wc);
    HWND hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
    g_pChannel = CUpdateChannel::Create(hWnd);

    HANDLE hThread = NULL;
    g_pChannel->StartWorker(PostNowAndThen, &hThread);
    PumpUntilEnded(hThread);
    std::vector<double>& aWaits = g_target.aWaits;
    std::sort(aWaits.begin(), aWaits.end());
    printf("post to apply, %u texts: median %.1f us, 99th percentile %.1f us, worst %.1f us\n",
           static_cast<unsigned>(aWaits.size()), aWaits[aWaits.size() / 2], aWaits[aWaits.size() * 99 / 100],
           aWaits.back());

    const double dStart = Now();
    g_pChannel->StartWorker(PostBurst, &hThread);
    PumpUntilEnded(hThread);
    printf("burst of %d updates from one worker: %.3f us per update posted and applied\n", g_target.cOthers,
           (Now() - dStart) / kBurst);

    g_pChannel->Close();
    g_pChannel->Release();
    ::DestroyWindow(hWnd);
    return 0;
}
