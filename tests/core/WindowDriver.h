#pragma once
// Drives a program's window from another process, as a user would: finds the
// window, waits until it is painted, posts clicks and keys to it, waits for the
// threads it started and for the program to end.
#include <windows.h>

#include <tlhelp32.h>

#include <set>
#include <string>

#include "WaitUntil.h"

namespace SkinLibTest {

// A path relative to this program's folder ('/' or '\\' between folders).
inline std::wstring PathBesideThisProgram(const wchar_t* pstrRelative)
{
    wchar_t szPath[MAX_PATH] = L"";
    std::wstring sPath(szPath, ::GetModuleFileNameW(NULL, szPath, MAX_PATH));
    sPath = sPath.substr(0, sPath.find_last_of(L"\\/") + 1) + pstrRelative;
    for (wchar_t& ch : sPath)
        if (ch == L'/') ch = L'\\';
    return sPath;
}

// A window is painted once it is visible and neither it nor any child has an update
// region left.
inline BOOL CALLBACK HasUpdateRegion(HWND hWnd, LPARAM lParam)
{
    if (::GetUpdateRect(hWnd, NULL, FALSE)) {
        *reinterpret_cast<bool*>(lParam) = true;
        return FALSE;
    }
    return TRUE;
}

inline bool IsPainted(HWND hWnd)
{
    if (!::IsWindowVisible(hWnd)) return false;
    bool bPending = false;
    HasUpdateRegion(hWnd, reinterpret_cast<LPARAM>(&bPending));
    if (!bPending) ::EnumChildWindows(hWnd, HasUpdateRegion, reinterpret_cast<LPARAM>(&bPending));
    return !bPending;
}

// The first visible top-level window of a process (any process for 0) whose title is
// pstrTitle (any title for NULL).
inline HWND FindProgramWindow(DWORD dwProcessId, const wchar_t* pstrTitle)
{
    struct Search
    {
        DWORD dwProcessId;
        const wchar_t* pstrTitle;
        HWND hFound;
    } search = {dwProcessId, pstrTitle, NULL};
    ::EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            Search* pSearch = reinterpret_cast<Search*>(lParam);
            DWORD dwProcessId = 0;
            ::GetWindowThreadProcessId(hWnd, &dwProcessId);
            if (pSearch->dwProcessId != 0 && dwProcessId != pSearch->dwProcessId) return TRUE;
            if (!::IsWindowVisible(hWnd)) return TRUE;
            if (pSearch->pstrTitle != NULL) {
                wchar_t szTitle[256] = L"";
                ::GetWindowTextW(hWnd, szTitle, 256);
                if (wcscmp(szTitle, pSearch->pstrTitle) != 0) return TRUE;
            }
            pSearch->hFound = hWnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

// Waits for the window to be found and painted; NULL if it is not, or if hProcess
// (when given) ends first. Looks every millisecond: the start-up benchmark
// measures with it.
inline HWND WaitForPaintedWindow(DWORD dwProcessId, const wchar_t* pstrTitle, DWORD dwTimeout = kWaitDeadlineMs,
                                 HANDLE hProcess = NULL)
{
    HWND hFound = NULL;
    WaitUntil(
        [&] {
            HWND hWnd = FindProgramWindow(dwProcessId, pstrTitle);
            if (hWnd != NULL && IsPainted(hWnd)) hFound = hWnd;
            return hFound != NULL || (hProcess != NULL && ::WaitForSingleObject(hProcess, 0) == WAIT_OBJECT_0);
        },
        dwTimeout, 1);
    return hFound;
}

// The ids of a process's threads.
inline std::set<DWORD> ThreadsOf(DWORD dwProcessId)
{
    std::set<DWORD> ids;
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE) return ids;
    THREADENTRY32 entry = {sizeof(entry)};
    for (BOOL bMore = ::Thread32First(hSnapshot, &entry); bMore; bMore = ::Thread32Next(hSnapshot, &entry))
        if (entry.th32OwnerProcessID == dwProcessId) ids.insert(entry.th32ThreadID);
    ::CloseHandle(hSnapshot);
    return ids;
}

// Waits until every thread of a process that is not among aKept has ended: a
// worker that has ended has said all it had to say.
inline bool WaitForOtherThreadsToEnd(DWORD dwProcessId, const std::set<DWORD>& aKept)
{
    for (DWORD id : ThreadsOf(dwProcessId)) {
        if (aKept.count(id) != 0) continue;
        HANDLE hThread = ::OpenThread(SYNCHRONIZE, FALSE, id);
        if (hThread == NULL) continue;  // ended since the snapshot
        const DWORD dwWait = ::WaitForSingleObject(hThread, kWaitDeadlineMs);
        ::CloseHandle(hThread);
        if (dwWait != WAIT_OBJECT_0) return false;
    }
    return true;
}

// The system message box a program shows when its skin yields no window
// ("SkinLib"): its text once it is up, after which it is answered with OK.
inline std::wstring AnswerFatalSkinBox(DWORD dwProcessId)
{
    HWND hBox = NULL;
    if (!WaitUntil([&] { return (hBox = FindProgramWindow(dwProcessId, L"SkinLib")) != NULL; })) return L"<no box>";
    wchar_t szText[64] = L"";
    ::GetDlgItemTextW(hBox, 0xFFFF, szText, 64);
    ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
    return szText;
}

// A left click at a point of the window's client area, as the mouse would bring it.
inline void PostClick(HWND hWnd, POINT pt)
{
    const LPARAM lParam = MAKELPARAM(pt.x, pt.y);
    ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, lParam);
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, lParam);
}

inline void PostKey(HWND hWnd, UINT vk)
{
    const UINT uScan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    ::PostMessageW(hWnd, WM_KEYDOWN, vk, 1 | (uScan << 16));
    ::PostMessageW(hWnd, WM_KEYUP, vk, 1 | (uScan << 16) | 0xC0000000);
}

// A program started by a test; it is ended when the object goes, if it still runs.
class CProgram
{
public:
    CProgram() : m_process() {}
    CProgram(const CProgram&) = delete;
    CProgram& operator=(const CProgram&) = delete;
    ~CProgram()
    {
        if (m_process.hProcess == NULL) return;
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_process.hProcess, 0xDEAD);
            ::WaitForSingleObject(m_process.hProcess, 5000);
        }
        ::CloseHandle(m_process.hProcess);
        ::CloseHandle(m_process.hThread);
    }

    // The program inherits this process's environment.
    bool Start(const std::wstring& sExe)
    {
        std::wstring sCommandLine = L"\"" + sExe + L"\"";
        STARTUPINFOW si = {sizeof(si)};
        return ::CreateProcessW(sExe.c_str(), &sCommandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &si,
                                &m_process) != FALSE;
    }

    DWORD Id() const { return m_process.dwProcessId; }
    HANDLE Handle() const { return m_process.hProcess; }

    HWND WaitForWindow(const wchar_t* pstrTitle, DWORD dwTimeout = kWaitDeadlineMs) const
    {
        return WaitForPaintedWindow(m_process.dwProcessId, pstrTitle, dwTimeout, m_process.hProcess);
    }

    bool IsRunning() const { return ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }

    // The exit code once the program has ended within dwTimeout ms; STILL_ACTIVE if not.
    DWORD WaitForExit(DWORD dwTimeout = kWaitDeadlineMs) const
    {
        if (::WaitForSingleObject(m_process.hProcess, dwTimeout) != WAIT_OBJECT_0) return STILL_ACTIVE;
        DWORD dwCode = STILL_ACTIVE;
        ::GetExitCodeProcess(m_process.hProcess, &dwCode);
        return dwCode;
    }

private:
    PROCESS_INFORMATION m_process;
};

} // namespace SkinLibTest
