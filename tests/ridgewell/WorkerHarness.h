#pragma once
// Runs the fingerprint manager's workers against the simulated winbio.dll: the test
// sets a scenario, a worker runs on its own thread, and a hidden window on the test's
// thread drains the update channel the way the program's window does.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EnumerateSensors.h"
#include "TempFiles.h"
#include "UpdateChannel.h"
#include "WaitUntil.h"

namespace RidgewellTest {

typedef std::vector<std::wstring> Lines;

// A device instance identifier of the key maker's.
inline std::wstring KeyDevice(const wchar_t* pstrSerial)
{
    return L"USB\\VID_" + std::wstring(g_szKeyVendorId) + L"&PID_0101\\" + pstrSerial;
}

// Records what the UI thread applies, one line per update: "text txt_show=...",
// "image image_show=...", "enable btn_Enroll=1".
class CUpdateRecorder : public IUpdateTarget
{
public:
    CUpdateRecorder()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = WndProc;
        wc.hInstance = ::GetModuleHandleW(NULL);
        wc.lpszClassName = L"RidgewellTestUpdates";
        ::RegisterClassW(&wc);
        m_hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_updates.Reset(CUpdateChannel::Create(m_hWnd));
    }
    CUpdateRecorder(const CUpdateRecorder&) = delete;
    CUpdateRecorder& operator=(const CUpdateRecorder&) = delete;
    ~CUpdateRecorder()
    {
        ::DestroyWindow(m_hWnd);
        m_updates.Reset();
    }

    // Runs a worker with the channel and pumps the window's messages until it ends
    // and its last update is applied; returns the thread's result.
    DWORD Run(LPTHREAD_START_ROUTINE pfnWorker)
    {
        HANDLE hThread = NULL;
        EXPECT_TRUE(m_updates->StartWorker(pfnWorker, &hThread));
        if (hThread == NULL) return 0xDEADBEEF;
        while (::MsgWaitForMultipleObjects(1, &hThread, FALSE, SkinLibTest::kWaitDeadlineMs, QS_ALLINPUT) ==
               WAIT_OBJECT_0 + 1)
            Pump();
        Pump();
        DWORD dwResult = 0xDEADBEEF;
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hThread, 0)) << "the worker did not end";
        ::GetExitCodeThread(hThread, &dwResult);
        ::CloseHandle(hThread);
        return dwResult;
    }

    void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }

    // The applied updates of one kind ("text", "image", "enable"), or all of them.
    Lines Applied(const wchar_t* pstrKind = NULL) const
    {
        Lines lines;
        for (const std::wstring& s : m_aApplied) {
            if (pstrKind == NULL || s.compare(0, wcslen(pstrKind) + 1, std::wstring(pstrKind) + L" ") == 0)
                lines.push_back(s);
        }
        return lines;
    }

    void ApplyText(LPCWSTR pstrControl, LPCWSTR pstrText) override { Record(L"text ", pstrControl, pstrText); }
    void ApplyImage(LPCWSTR pstrControl, LPCWSTR pstrImage) override { Record(L"image ", pstrControl, pstrImage); }
    void ApplyEnabled(LPCWSTR pstrControl, bool bEnabled) override
    {
        Record(L"enable ", pstrControl, bEnabled ? L"1" : L"0");
    }

    CUpdateChannelRef m_updates;
    HWND m_hWnd;
    Lines m_aApplied;
    int m_cWakeUps = 0;
    bool m_bOffThread = false;  // an update was applied on another thread than the window's

private:
    void Record(const wchar_t* pstrKind, LPCWSTR pstrControl, LPCWSTR pstrValue)
    {
        if (::GetWindowThreadProcessId(m_hWnd, NULL) != ::GetCurrentThreadId()) m_bOffThread = true;
        m_aApplied.push_back(pstrKind + std::wstring(pstrControl) + L"=" + pstrValue);
    }

    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        if (uMsg == WM_DESTROY) {
            // As the program's window does: nothing reaches a window that is gone.
            auto* pThis = reinterpret_cast<CUpdateRecorder*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
            if (pThis != NULL && pThis->m_updates.Get() != NULL) pThis->m_updates->Close();
        }
        if (uMsg == WM_WORKER_UPDATES) {
            auto* pThis = reinterpret_cast<CUpdateRecorder*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
            if (pThis != NULL) {
                ++pThis->m_cWakeUps;
                pThis->m_updates->Drain(*pThis);
            }
            return 0;
        }
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
};

// A call of the simulated sensor that blocks until the test lets it return: its
// scenario line carries Hold(), and the test learns when the worker has come that
// far. A held call is let go at the latest when the object goes.
class CHeldCall
{
public:
    CHeldCall()
    {
        static int s_nCount = 0;
        m_sName = L"ridgewell_test_hold_" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                  std::to_wstring(++s_nCount);
        m_hHeld = ::CreateEventW(NULL, TRUE, FALSE, (m_sName + L".held").c_str());
        m_hGo = ::CreateEventW(NULL, TRUE, FALSE, m_sName.c_str());
    }
    CHeldCall(const CHeldCall&) = delete;
    CHeldCall& operator=(const CHeldCall&) = delete;
    ~CHeldCall()
    {
        Release();
        ::CloseHandle(m_hHeld);
        ::CloseHandle(m_hGo);
    }

    // The word for the call's scenario line.
    std::wstring Hold() const { return L"hold=" + m_sName; }
    // Whether a worker is blocked in the call; WaitHeld waits until one is.
    bool IsHeld() const { return ::WaitForSingleObject(m_hHeld, 0) == WAIT_OBJECT_0; }
    bool WaitHeld() const { return ::WaitForSingleObject(m_hHeld, SkinLibTest::kWaitDeadlineMs) == WAIT_OBJECT_0; }
    void Release() { ::SetEvent(m_hGo); }

private:
    std::wstring m_sName;
    HANDLE m_hHeld;
    HANDLE m_hGo;
};

// A test with a scenario for the simulated sensor and a fresh call log; the
// environment is put back afterwards.
class CScenarioTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static int s_nLog = 0;
        m_sLog = SkinLibTest::MakeTempFolder(L"ridgewell") + L"calls" + std::to_wstring(++s_nLog) + L".log";
        ::DeleteFileW(m_sLog.c_str());
        ::SetEnvironmentVariableW(L"WINBIO_DOUBLE_LOG", m_sLog.c_str());
        ::SetEnvironmentVariableW(L"WINBIO_DOUBLE_SCENARIO", NULL);
        ::SetEnvironmentVariableW(L"WINBIO_DOUBLE_SCRIPT", NULL);
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableW(L"WINBIO_DOUBLE_LOG", NULL);
        ::SetEnvironmentVariableW(L"WINBIO_DOUBLE_SCENARIO", NULL);
        ::SetEnvironmentVariableW(L"WINBIO_DOUBLE_SCRIPT", NULL);
        ::DeleteFileW(m_sLog.c_str());
    }

    void Play(const std::wstring& sScript) { ::SetEnvironmentVariableW(L"WINBIO_DOUBLE_SCRIPT", sScript.c_str()); }

    // The sensor's call log, one call a line.
    Lines CallLog() const
    {
        Lines lines;
        HANDLE h = ::CreateFileW(m_sLog.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                 OPEN_EXISTING, 0, NULL);
        if (h == INVALID_HANDLE_VALUE) return lines;
        std::string bytes(::GetFileSize(h, NULL), '\0');
        DWORD cbRead = 0;
        if (!bytes.empty()) ::ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &cbRead, NULL);
        ::CloseHandle(h);
        size_t start = 0;
        for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(std::wstring(bytes.begin() + start, bytes.begin() + end));
        return lines;
    }

    // The logged calls of one function, without the function's name and with the
    // session numbers (which run on through the tests) as "session=S".
    Lines Calls(const std::wstring& sFunction) const
    {
        Lines lines;
        for (const std::wstring& s : CallLog()) {
            if (s.compare(0, sFunction.size() + 1, sFunction + L" ") != 0) continue;
            std::wstring sCall = s.substr(sFunction.size() + 1);
            for (size_t pos = 0; (pos = sCall.find(L"session=", pos)) != std::wstring::npos;) {
                pos += 8;
                size_t end = sCall.find_first_not_of(L"0123456789", pos);
                sCall.replace(pos, (end == std::wstring::npos ? sCall.size() : end) - pos, L"S");
            }
            lines.push_back(sCall);
        }
        return lines;
    }

    std::wstring m_sLog;
};

} // namespace RidgewellTest
