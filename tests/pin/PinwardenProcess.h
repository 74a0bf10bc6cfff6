#pragma once
// The real Pinwarden_QZ.exe as a child process of a test, with its debugger
// lines.
#include <windows.h>

#include <string>
#include <vector>

#include "KeyService.h"
#include "PinDialogInput.h"

namespace SkinLibTest {

inline std::wstring PinwardenExe()
{
    return FileBesideThisProgram(L"..\\UI\\Pinwarden_QZ\\Pinwarden_QZ.exe");
}

// The program's debugger lines are read by being its debugger: Wine sends a GUI
// program's own diagnostics to the unix stderr it inherited, which a test
// cannot redirect. The debugger thread starts the program and serves its
// debug events until it ends.
class CPinwardenProcess
{
public:
    CPinwardenProcess() : m_process(), m_hThread(NULL), m_hStarted(NULL), m_bStarted(false)
    {
        ::InitializeCriticalSection(&m_lock);
    }
    ~CPinwardenProcess()
    {
        if (m_hThread != NULL) {
            if (m_process.hProcess != NULL && ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
                ::TerminateProcess(m_process.hProcess, 1);
            ::WaitForSingleObject(m_hThread, kWaitDeadlineMs);
            ::CloseHandle(m_hThread);
        }
        if (m_process.hProcess != NULL) {
            ::CloseHandle(m_process.hProcess);
            ::CloseHandle(m_process.hThread);
        }
        if (m_hStarted != NULL) ::CloseHandle(m_hStarted);
        ::DeleteCriticalSection(&m_lock);
    }

    // Starts the program (or a copy of it) with a command line (without the
    // program's name).
    bool Start(const std::wstring& arguments, const std::wstring& exe = PinwardenExe())
    {
        m_exe = exe;
        m_commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        m_hStarted = ::CreateEventW(NULL, TRUE, FALSE, NULL);
        m_hThread = ::CreateThread(NULL, 0, DebuggerThread, this, 0, NULL);
        if (m_hThread == NULL) return false;
        ::WaitForSingleObject(m_hStarted, INFINITE);
        return m_bStarted;
    }

    DWORD ProcessId() const { return m_process.dwProcessId; }

    // The exit code, or STILL_ACTIVE when the program still runs.
    DWORD WaitExit(DWORD dwTimeoutMs = kWaitDeadlineMs) const
    {
        DWORD dwExitCode = STILL_ACTIVE;
        ::WaitForSingleObject(m_process.hProcess, dwTimeoutMs);
        ::GetExitCodeProcess(m_process.hProcess, &dwExitCode);
        return dwExitCode;
    }

    std::vector<HWND> Windows() const { return VisibleWindowsOf(m_process.dwProcessId); }
    HWND Dialog() const { return FindPinDialog(m_process.dwProcessId); }
    HWND MessageBox() const { return FindPinMessageBox(m_process.dwProcessId); }
    HWND WaitDialog(DWORD dwTimeoutMs = kWaitDeadlineMs) const
    {
        return WaitForWindow([this] { return Dialog(); }, dwTimeoutMs);
    }
    HWND WaitMessageBox(DWORD dwTimeoutMs = kWaitDeadlineMs) const
    {
        return WaitForWindow([this] { return MessageBox(); }, dwTimeoutMs);
    }
    HWND Focus() const { return FocusOf(Dialog()); }
    HWND WaitFocusedEntry(HWND hOld = NULL, DWORD dwTimeoutMs = kWaitDeadlineMs) const
    {
        return SkinLibTest::WaitFocusedEntry(Dialog(), hOld, dwTimeoutMs);
    }

    // Input for the window with the keyboard focus.
    bool Type(const std::wstring& text) const { return Focus() != NULL && TypeInto(Focus(), text); }
    bool PressEnter(LPARAM lParam = kEnterDown) const
    {
        return Focus() != NULL && PressKey(Focus(), VK_RETURN, lParam);
    }
    bool PressEscape() const { return Focus() != NULL && PressKey(Focus(), VK_ESCAPE, kEscapeDown); }
    bool PressTab() const { return Focus() != NULL && PressKey(Focus(), VK_TAB, kTabDown); }
    bool Clear() const
    {
        HWND hEntry = Focus();
        return hEntry != NULL && ::PostMessageW(hEntry, EM_SETSEL, 0, -1) &&
               ::PostMessageW(hEntry, WM_CHAR, VK_BACK, 1);
    }
    // Tab from one entry to the next; returns the next once it has the focus.
    HWND TabToEntry() const
    {
        HWND hOld = Focus();
        return PressTab() ? WaitFocusedEntry(hOld) : NULL;
    }

    // The program's debugger lines so far.
    std::vector<std::string> DebugLines() const
    {
        ::EnterCriticalSection(&m_lock);
        std::vector<std::string> lines = m_lines;
        ::LeaveCriticalSection(&m_lock);
        return lines;
    }

    // The lines that contain a text.
    int CountDebugLines(const std::string& part) const
    {
        int nCount = 0;
        for (const std::string& line : DebugLines()) nCount += line.find(part) != std::string::npos;
        return nCount;
    }

    // Polls until nTimes lines contain a text.
    bool WaitDebugLines(const std::string& part, int nTimes = 1) const
    {
        return WaitUntil([&] { return CountDebugLines(part) >= nTimes; });
    }

private:
    CPinwardenProcess(const CPinwardenProcess&) = delete;
    CPinwardenProcess& operator=(const CPinwardenProcess&) = delete;

    static DWORD WINAPI DebuggerThread(void* pvThis)
    {
        CPinwardenProcess* pThis = static_cast<CPinwardenProcess*>(pvThis);
        STARTUPINFOW si = {sizeof(si)};
        pThis->m_bStarted = ::CreateProcessW(pThis->m_exe.c_str(), &pThis->m_commandLine[0], NULL, NULL, FALSE,
                                             DEBUG_ONLY_THIS_PROCESS, NULL, NULL, &si, &pThis->m_process) != FALSE;
        ::SetEvent(pThis->m_hStarted);
        if (!pThis->m_bStarted) return 1;
        for (;;) {
            DEBUG_EVENT event = {};
            if (!::WaitForDebugEvent(&event, INFINITE)) return 1;
            DWORD dwContinue = DBG_CONTINUE;
            switch (event.dwDebugEventCode) {
            case CREATE_PROCESS_DEBUG_EVENT:
                if (event.u.CreateProcessInfo.hFile != NULL) ::CloseHandle(event.u.CreateProcessInfo.hFile);
                break;
            case LOAD_DLL_DEBUG_EVENT:
                if (event.u.LoadDll.hFile != NULL) ::CloseHandle(event.u.LoadDll.hFile);
                break;
            case OUTPUT_DEBUG_STRING_EVENT:
                pThis->Record(event.u.DebugString);
                break;
            case EXCEPTION_DEBUG_EVENT:
                if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                    dwContinue = DBG_EXCEPTION_NOT_HANDLED;
                break;
            default:
                break;
            }
            ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, dwContinue);
            if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) return 0;
        }
    }

    // Wide lines as UTF-8, narrow ones as they are; without a trailing line break.
    void Record(const OUTPUT_DEBUG_STRING_INFO& info)
    {
        const size_t cbChar = info.fUnicode ? sizeof(wchar_t) : 1;
        std::vector<char> bytes(static_cast<size_t>(info.nDebugStringLength) * cbChar + sizeof(wchar_t), 0);
        SIZE_T cbRead = 0;
        if (!::ReadProcessMemory(m_process.hProcess, info.lpDebugStringData, bytes.data(),
                                 bytes.size() - sizeof(wchar_t), &cbRead))
            return;
        std::string line;
        if (info.fUnicode) {
            const wchar_t* pstrWide = reinterpret_cast<const wchar_t*>(bytes.data());
            char szUtf8[1024] = "";
            ::WideCharToMultiByte(CP_UTF8, 0, pstrWide, -1, szUtf8, sizeof(szUtf8), NULL, NULL);
            line = szUtf8;
        } else {
            line = bytes.data();
        }
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        ::EnterCriticalSection(&m_lock);
        m_lines.push_back(line);
        ::LeaveCriticalSection(&m_lock);
    }

    PROCESS_INFORMATION m_process;
    std::wstring m_exe;
    std::wstring m_commandLine;
    HANDLE m_hThread;
    HANDLE m_hStarted;
    bool m_bStarted;
    mutable CRITICAL_SECTION m_lock;
    std::vector<std::string> m_lines;
};

} // namespace SkinLibTest
