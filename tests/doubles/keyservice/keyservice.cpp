// keyservice: a stand-in for the security key's service end of the PIN pipe.
// It serves one pipe name in message mode from a script, logs every request it
// reads, and ends by itself when the script is done or its time limit is up,
// so a test never hangs on it.
//
// Usage:
//   keyservice.exe --log FILE [--pipe NAME] [--delay MS] [--limit MS]
//                  (--script TEXT | --script-file FILE)
//     --log     the event log (created afresh; a Windows path under Wine)
//     --pipe    the pipe to serve; default \\.\pipe\qznamedpipe
//     --delay   wait this long before the script starts (the pipe is absent)
//     --limit   end with exit code 3 after this long; default 30000
//
// Script: steps separated by line breaks or ';', words by blanks; '#' starts a
// comment that runs to the end of the line. Steps run in order:
//   listen         create one pipe instance and wait for a client (a client
//                  still connected is disconnected first)
//   request        read one whole request message and log its bytes
//   reply B ...    write one reply message; each B is a hex byte ("01") or a
//                  hex byte with a count ("00*600": 600 zero bytes)
//   sleep MS       wait (before the first listen: the pipe does not exist yet)
//   wait NAME      wait until the named event NAME is set: the test lets the
//                  script go on once it has done what the pause is for
//   disconnect     wait until the client has read every reply, then
//                  disconnect it and close the instance
// At the end of the script a connected client is disconnected.
//
// Examples:
//   "listen; request; reply 01"                   accept the first PIN
//   "listen; request; reply 00 32; request; reply 01"
//   "listen; request; reply 05*600; request; reply 01"
//   "listen; request; disconnect"                 no reply, then hang up
//   "listen; disconnect"                          hang up before reading
//   "listen; request; sleep 500; reply 01"        a slow answer
//   "listen; request; reply 00; listen; request; reply 01"   two connections
//
// Log, one event a line, written as it happens (poll for "listening"):
//   listening                a pipe instance exists and waits for a client
//   connected
//   request 31 00 32 00      the bytes of one request in hex ("request" alone
//                            for an empty message)
//   client gone              a request was due but the client had left
//   reply 3 bytes            a reply went out; "reply failed" if it did not
//   disconnected
//   done                     the script is over (exit code 0)
//   time limit               the limit ended the run (exit code 3)
//   error TEXT               bad arguments or script (2), pipe failure (4)
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

enum ExitCode { EXIT_DONE = 0, EXIT_USAGE = 2, EXIT_TIME_LIMIT = 3, EXIT_PIPE_FAILED = 4 };

enum StepKind { STEP_LISTEN, STEP_REQUEST, STEP_REPLY, STEP_SLEEP, STEP_WAIT, STEP_DISCONNECT };

struct Step
{
    StepKind kind;
    DWORD dwMs;
    std::string bytes;
    std::wstring event;
};

HANDLE g_hLog = INVALID_HANDLE_VALUE;
CRITICAL_SECTION g_logLock;

void Log(const std::string& line)
{
    ::EnterCriticalSection(&g_logLock);
    std::string text = line + "\n";
    DWORD cbWritten = 0;
    if (g_hLog != INVALID_HANDLE_VALUE)
        ::WriteFile(g_hLog, text.data(), static_cast<DWORD>(text.size()), &cbWritten, NULL);
    ::LeaveCriticalSection(&g_logLock);
}

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t ch : text) out += ch < 0x80 ? static_cast<char>(ch) : '?';
    return out;
}

bool ParseNumber(const std::wstring& word, DWORD& dwValue)
{
    if (word.empty()) return false;
    wchar_t* pEnd = NULL;
    unsigned long ulValue = std::wcstoul(word.c_str(), &pEnd, 10);
    if (*pEnd != L'\0') return false;
    dwValue = static_cast<DWORD>(ulValue);
    return true;
}

// "3f" or "3f*N".
bool ParseBytes(const std::wstring& word, std::string& bytes)
{
    size_t nStar = word.find(L'*');
    std::wstring hex = word.substr(0, nStar);
    DWORD dwCount = 1;
    if (nStar != std::wstring::npos && !ParseNumber(word.substr(nStar + 1), dwCount)) return false;
    if (hex.size() != 2) return false;
    wchar_t* pEnd = NULL;
    unsigned long ulByte = std::wcstoul(hex.c_str(), &pEnd, 16);
    if (*pEnd != L'\0') return false;
    bytes.append(dwCount, static_cast<char>(ulByte));
    return true;
}

std::vector<std::wstring> SplitWords(const std::wstring& step)
{
    std::vector<std::wstring> words;
    size_t nPos = 0;
    while (nPos < step.size()) {
        size_t nStart = step.find_first_not_of(L" \t\r", nPos);
        if (nStart == std::wstring::npos) break;
        size_t nEnd = step.find_first_of(L" \t\r", nStart);
        if (nEnd == std::wstring::npos) nEnd = step.size();
        words.push_back(step.substr(nStart, nEnd - nStart));
        nPos = nEnd;
    }
    return words;
}

bool ParseStep(const std::vector<std::wstring>& words, Step& step)
{
    const std::wstring& verb = words[0];
    step = Step{STEP_LISTEN, 0, std::string(), std::wstring()};
    if (words.size() == 1) {
        if (verb == L"listen") step.kind = STEP_LISTEN;
        else if (verb == L"request") step.kind = STEP_REQUEST;
        else if (verb == L"disconnect") step.kind = STEP_DISCONNECT;
        else return false;
        return true;
    }
    if (verb == L"sleep") {
        step.kind = STEP_SLEEP;
        return words.size() == 2 && ParseNumber(words[1], step.dwMs);
    }
    if (verb == L"wait") {
        step.kind = STEP_WAIT;
        step.event = words[1];
        return words.size() == 2;
    }
    if (verb != L"reply") return false;
    step.kind = STEP_REPLY;
    for (size_t i = 1; i < words.size(); ++i)
        if (!ParseBytes(words[i], step.bytes)) return false;
    return true;
}

bool ParseScript(const std::wstring& script, std::vector<Step>& steps)
{
    std::wstring text;
    bool bComment = false;
    for (wchar_t ch : script) {
        if (ch == L'\n') bComment = false;
        else if (ch == L'#') bComment = true;
        if (!bComment) text += ch == L'\n' ? L';' : ch;
    }
    size_t nPos = 0;
    while (nPos <= text.size()) {
        size_t nEnd = text.find(L';', nPos);
        if (nEnd == std::wstring::npos) nEnd = text.size();
        std::wstring stepText = text.substr(nPos, nEnd - nPos);
        std::vector<std::wstring> words = SplitWords(stepText);
        nPos = nEnd + 1;
        if (words.empty()) continue;
        Step step;
        if (!ParseStep(words, step)) {
            Log("error bad step:" + Narrow(stepText));
            return false;
        }
        steps.push_back(step);
    }
    return true;
}

bool ReadScriptFile(const std::wstring& path, std::wstring& script)
{
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    std::string bytes;
    char aBuffer[4096];
    DWORD cbRead = 0;
    while (::ReadFile(hFile, aBuffer, sizeof(aBuffer), &cbRead, NULL) && cbRead != 0) bytes.append(aBuffer, cbRead);
    ::CloseHandle(hFile);
    script.assign(bytes.begin(), bytes.end());
    return true;
}

std::string Hex(const std::string& bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        out += ' ';
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

DWORD WINAPI TimeLimit(void* pLimit)
{
    ::Sleep(*static_cast<DWORD*>(pLimit));
    Log("time limit");
    ::ExitProcess(EXIT_TIME_LIMIT);
}

class CServer
{
public:
    explicit CServer(const std::wstring& pipeName) : m_pipeName(pipeName), m_hPipe(INVALID_HANDLE_VALUE) {}
    ~CServer() { Disconnect(); }

    bool Listen()
    {
        Disconnect();
        m_hPipe = ::CreateNamedPipeW(m_pipeName.c_str(), PIPE_ACCESS_DUPLEX,
                                     PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                                     PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, NULL);
        if (m_hPipe == INVALID_HANDLE_VALUE) {
            Log("error CreateNamedPipe " + std::to_string(::GetLastError()));
            return false;
        }
        Log("listening");
        if (!::ConnectNamedPipe(m_hPipe, NULL) && ::GetLastError() != ERROR_PIPE_CONNECTED) {
            Log("error ConnectNamedPipe " + std::to_string(::GetLastError()));
            return false;
        }
        Log("connected");
        return true;
    }

    void Request()
    {
        std::string message;
        char aBuffer[4096];
        for (;;) {
            DWORD cbRead = 0;
            BOOL bRead = m_hPipe != INVALID_HANDLE_VALUE &&
                         ::ReadFile(m_hPipe, aBuffer, sizeof(aBuffer), &cbRead, NULL);
            DWORD dwError = bRead ? ERROR_SUCCESS : ::GetLastError();
            message.append(aBuffer, cbRead);
            if (bRead) break;
            if (dwError != ERROR_MORE_DATA) {
                Log("client gone");
                return;
            }
        }
        Log("request" + Hex(message));
    }

    void Reply(const std::string& bytes)
    {
        DWORD cbWritten = 0;
        if (m_hPipe != INVALID_HANDLE_VALUE &&
            ::WriteFile(m_hPipe, bytes.data(), static_cast<DWORD>(bytes.size()), &cbWritten, NULL) &&
            cbWritten == bytes.size())
            Log("reply " + std::to_string(bytes.size()) + " bytes");
        else
            Log("reply failed");
    }

    void Disconnect()
    {
        if (m_hPipe == INVALID_HANDLE_VALUE) return;
        // Disconnecting drops replies the client has not read yet.
        ::FlushFileBuffers(m_hPipe);
        ::DisconnectNamedPipe(m_hPipe);
        ::CloseHandle(m_hPipe);
        m_hPipe = INVALID_HANDLE_VALUE;
        Log("disconnected");
    }

private:
    std::wstring m_pipeName;
    HANDLE m_hPipe;
};

int Run(int nArgs, wchar_t** pArgs)
{
    std::wstring logPath, pipeName = L"\\\\.\\pipe\\qznamedpipe", script;
    DWORD dwDelay = 0;
    static DWORD s_dwLimit = 30000;
    bool bScript = false, bArgsOk = true;
    for (int i = 1; i < nArgs && bArgsOk; ++i) {
        std::wstring option = pArgs[i];
        bArgsOk = i + 1 < nArgs;
        if (!bArgsOk) break;
        std::wstring value = pArgs[++i];
        if (option == L"--log") logPath = value;
        else if (option == L"--pipe") pipeName = value;
        else if (option == L"--delay") bArgsOk = ParseNumber(value, dwDelay);
        else if (option == L"--limit") bArgsOk = ParseNumber(value, s_dwLimit);
        else if (option == L"--script") script = value, bScript = true;
        else if (option == L"--script-file") bArgsOk = bScript = ReadScriptFile(value, script);
        else bArgsOk = false;
    }
    if (!logPath.empty())
        g_hLog = ::CreateFileW(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (g_hLog == INVALID_HANDLE_VALUE || !bArgsOk || !bScript) {
        Log("error usage: --log FILE [--pipe NAME] [--delay MS] [--limit MS] (--script TEXT | --script-file FILE)");
        return EXIT_USAGE;
    }
    std::vector<Step> steps;
    if (!ParseScript(script, steps)) return EXIT_USAGE;

    HANDLE hLimit = ::CreateThread(NULL, 0, TimeLimit, &s_dwLimit, 0, NULL);
    if (hLimit != NULL) ::CloseHandle(hLimit);
    ::Sleep(dwDelay);

    CServer server(pipeName);
    for (const Step& step : steps) {
        switch (step.kind) {
        case STEP_LISTEN:
            if (!server.Listen()) return EXIT_PIPE_FAILED;
            break;
        case STEP_REQUEST: server.Request(); break;
        case STEP_REPLY: server.Reply(step.bytes); break;
        case STEP_SLEEP: ::Sleep(step.dwMs); break;
        case STEP_WAIT: {
            HANDLE hEvent = ::CreateEventW(NULL, TRUE, FALSE, step.event.c_str());
            if (hEvent == NULL) {
                Log("error CreateEvent " + std::to_string(::GetLastError()));
                return EXIT_USAGE;
            }
            ::WaitForSingleObject(hEvent, INFINITE);  // the time limit ends a wait that never ends
            ::CloseHandle(hEvent);
            break;
        }
        case STEP_DISCONNECT: server.Disconnect(); break;
        }
    }
    server.Disconnect();
    Log("done");
    return EXIT_DONE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    ::InitializeCriticalSection(&g_logLock);
    int nArgs = 0;
    LPWSTR* pArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs);
    int nExit = pArgs != NULL ? Run(nArgs, pArgs) : EXIT_USAGE;
    ::LocalFree(pArgs);
    ::EnterCriticalSection(&g_logLock);
    if (g_hLog != INVALID_HANDLE_VALUE) ::CloseHandle(g_hLog);
    g_hLog = INVALID_HANDLE_VALUE;
    ::LeaveCriticalSection(&g_logLock);
    return nExit;
}
