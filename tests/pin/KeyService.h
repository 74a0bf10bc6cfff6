#pragma once
// The simulated key service (keyservice.exe, built beside the test programs)
// as a child process of a test, with its event log.
#include <windows.h>

#include <string>
#include <vector>

#include "TempFiles.h"
#include "WaitUntil.h"

namespace SkinLibTest {

// A pipe name of this process alone, so that test programs running side by
// side never reach each other's service.
inline std::wstring UniquePipeName()
{
    static int s_nCount = 0;
    return L"\\\\.\\pipe\\qzpintest_" + std::to_wstring(::GetCurrentProcessId()) + L"_" + std::to_wstring(++s_nCount);
}

inline std::wstring FileBesideThisProgram(const wchar_t* name)
{
    wchar_t szPath[MAX_PATH] = L"";
    DWORD nLength = ::GetModuleFileNameW(NULL, szPath, MAX_PATH);
    std::wstring path(szPath, nLength);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

// A named event that the service's script waits for ("wait NAME"): the test opens
// the gate once it has done what the pause is for.
class CServiceGate
{
public:
    CServiceGate()
    {
        static int s_nCount = 0;
        m_name = L"keyservice_gate_" + std::to_wstring(::GetCurrentProcessId()) + L"_" + std::to_wstring(++s_nCount);
        m_hEvent = ::CreateEventW(NULL, TRUE, FALSE, m_name.c_str());
    }
    ~CServiceGate() { ::CloseHandle(m_hEvent); }

    // The script's step.
    std::wstring Wait() const { return L"wait " + m_name; }
    void Open() { ::SetEvent(m_hEvent); }

private:
    CServiceGate(const CServiceGate&) = delete;
    CServiceGate& operator=(const CServiceGate&) = delete;

    std::wstring m_name;
    HANDLE m_hEvent;
};

class CKeyService
{
public:
    CKeyService() : m_process() {}
    ~CKeyService()
    {
        if (m_process.hProcess != NULL) {
            if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
                ::TerminateProcess(m_process.hProcess, 1);
                ::WaitForSingleObject(m_process.hProcess, 5000);
            }
            ::CloseHandle(m_process.hProcess);
            ::CloseHandle(m_process.hThread);
        }
        if (!m_logPath.empty()) ::DeleteFileW(m_logPath.c_str());
    }

    // Starts the service on pipeName with a script (see keyservice.cpp).
    bool Start(const std::wstring& pipeName, const std::wstring& script, DWORD dwDelayMs = 0, DWORD dwLimitMs = 20000)
    {
        static int s_nCount = 0;
        m_logPath = MakeTempFolder(L"keyservice") + L"service" + std::to_wstring(++s_nCount) + L".log";
        ::DeleteFileW(m_logPath.c_str());
        std::wstring exe = FileBesideThisProgram(L"keyservice.exe");
        std::wstring commandLine = L"\"" + exe + L"\" --log \"" + m_logPath + L"\" --pipe " + pipeName + L" --delay " +
                                   std::to_wstring(dwDelayMs) + L" --limit " + std::to_wstring(dwLimitMs) +
                                   L" --script \"" + script + L"\"";
        STARTUPINFOW si = {sizeof(si)};
        return ::CreateProcessW(exe.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &m_process) != FALSE;
    }

    std::vector<std::string> LogLines() const
    {
        std::vector<std::string> lines;
        HANDLE hFile = ::CreateFileW(m_logPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     NULL, OPEN_EXISTING, 0, NULL);
        if (hFile == INVALID_HANDLE_VALUE) return lines;
        std::string text;
        char aBuffer[4096];
        DWORD cbRead = 0;
        while (::ReadFile(hFile, aBuffer, sizeof(aBuffer), &cbRead, NULL) && cbRead != 0) text.append(aBuffer, cbRead);
        ::CloseHandle(hFile);
        for (size_t nPos = 0, nEnd; (nEnd = text.find('\n', nPos)) != std::string::npos; nPos = nEnd + 1)
            lines.push_back(text.substr(nPos, nEnd - nPos));
        return lines;
    }

    // The hex bytes of every request the service read, in order.
    std::vector<std::string> Requests() const
    {
        std::vector<std::string> requests;
        for (const std::string& line : LogLines())
            if (line.compare(0, 7, "request") == 0) requests.push_back(line.size() > 8 ? line.substr(8) : "");
        return requests;
    }

    int Count(const std::string& line) const
    {
        int nCount = 0;
        for (const std::string& logged : LogLines()) nCount += logged == line;
        return nCount;
    }

    // Polls the log until it holds nTimes lines equal to line.
    bool WaitFor(const std::string& line, int nTimes = 1) const
    {
        return WaitUntil([&] { return Count(line) >= nTimes; });
    }

    // The exit code, or STILL_ACTIVE when the service is still running.
    DWORD WaitExit(DWORD dwTimeoutMs = kWaitDeadlineMs) const
    {
        DWORD dwExitCode = STILL_ACTIVE;
        ::WaitForSingleObject(m_process.hProcess, dwTimeoutMs);
        ::GetExitCodeProcess(m_process.hProcess, &dwExitCode);
        return dwExitCode;
    }

private:
    CKeyService(const CKeyService&) = delete;
    CKeyService& operator=(const CKeyService&) = delete;

    PROCESS_INFORMATION m_process;
    std::wstring m_logPath;
};

} // namespace SkinLibTest
