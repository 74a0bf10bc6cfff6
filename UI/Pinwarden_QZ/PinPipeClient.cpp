#include "PinPipeClient.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

const wchar_t CPinPipeClient::kPipeName[] = L"\\\\.\\pipe\\qznamedpipe";

namespace {

// The pace at which a missing pipe is looked for again.
const DWORD kRetryMs = 50;

// Formatted lines go out narrow, as the other formatted diagnostics do; the
// fixed ones are wide.
void DebugLineA(const char* pstrFormat, ...)
{
    char szLine[128];
    va_list args;
    va_start(args, pstrFormat);
    std::vsnprintf(szLine, sizeof(szLine), pstrFormat, args);
    va_end(args);
    ::OutputDebugStringA(szLine);
}

DWORD RemainingMs(ULONGLONG ullDeadline)
{
    ULONGLONG ullNow = ::GetTickCount64();
    return ullNow >= ullDeadline ? 0 : static_cast<DWORD>(ullDeadline - ullNow);
}

} // namespace

CPinPipeClient::CPinPipeClient(LPCWSTR pstrPipeName, DWORD dwWaitMs)
    : m_pstrPipeName(pstrPipeName), m_dwWaitMs(dwWaitMs), m_hPipe(INVALID_HANDLE_VALUE)
{
}

CPinPipeClient::~CPinPipeClient()
{
    Close();
}

bool CPinPipeClient::IsOpen() const
{
    return m_hPipe != INVALID_HANDLE_VALUE;
}

void CPinPipeClient::Close()
{
    if (!IsOpen()) return;
    ::CloseHandle(m_hPipe);
    m_hPipe = INVALID_HANDLE_VALUE;
}

HANDLE CPinPipeClient::OpenOnce() const
{
    return ::CreateFileW(m_pstrPipeName, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
}

bool CPinPipeClient::Open()
{
    if (IsOpen()) return true;
    ::OutputDebugStringW(L"client: fun in CreateFile");
    m_hPipe = OpenOnce();
    if (IsOpen()) {
        ::OutputDebugStringW(L"fun in OnBnClickedOk CreateFile ok");
    } else {
        DWORD dwError = ::GetLastError();
        ::OutputDebugStringW(L"client: fun in WaitNamedPipe");
        m_hPipe = WaitAndOpen(dwError, ::GetTickCount64() + m_dwWaitMs);
    }
    ::OutputDebugStringW(L"client: fun in SetNamedPipeHandleState");
    DWORD dwMode = PIPE_READMODE_MESSAGE;
    if (!IsOpen() || !::SetNamedPipeHandleState(m_hPipe, &dwMode, NULL, NULL))
        ::OutputDebugStringW(L"SetNamedPipeHandleState failed");
    return IsOpen();
}

// Called with the error of the failed first open. WaitNamedPipeW waits only while the
// pipe exists and is busy; it gives up at once while the service has not
// created the pipe yet (and, under Wine, when the instance waited for is
// closed), so those failures are polled through until the deadline. Every
// wait is followed by one more open; an open that fails for any reason other
// than a missing or busy pipe ends the wait at once.
HANDLE CPinPipeClient::WaitAndOpen(DWORD dwError, ULONGLONG ullDeadline) const
{
    for (DWORD dwRemaining = RemainingMs(ullDeadline); dwRemaining != 0; dwRemaining = RemainingMs(ullDeadline)) {
        if (!::WaitNamedPipeW(m_pstrPipeName, dwRemaining)) {
            dwError = ::GetLastError();
            if (dwError == ERROR_SEM_TIMEOUT) break;
            ::Sleep(std::min(kRetryMs, dwRemaining));
        }
        HANDLE hPipe = OpenOnce();
        if (hPipe != INVALID_HANDLE_VALUE) return hPipe;
        dwError = ::GetLastError();
        if (dwError != ERROR_PIPE_BUSY && dwError != ERROR_FILE_NOT_FOUND) break;
    }
    DebugLineA("GetLastError: 0x%08X", static_cast<unsigned>(dwError));
    return INVALID_HANDLE_VALUE;
}

PinExchangeResult CPinPipeClient::Exchange(LPCWSTR pstrPin, int nLength)
{
    PinExchangeResult result = {PIN_REPLY_REFUSED, 0, false};
    ::OutputDebugStringW(L"client: fun in OnBnClickedOk");
    ::OutputDebugStringW(L"client: Message sent to server, receiving reply as follows");
    long long cbMessage = nLength > 0 ? static_cast<long long>(nLength) * static_cast<long long>(sizeof(WCHAR)) : 0;
    DebugLineA("Sending %lld byte message", cbMessage);
    ::OutputDebugStringW(L"client: fun in WriteFile");
    // Reading after a lost request would block for ever on a reply to nothing.
    if (!WriteRequest(pstrPin, nLength)) {
        ::OutputDebugStringW(L"client: WriteFile to pipe failed");
        return result;
    }

    ::OutputDebugStringW(L"client: fun in ReadFile");
    PinReplyMessage reply;
    ::ZeroMemory(&reply, sizeof(reply));
    DWORD cbRead = 0;
    result.bReadSucceeded = ::ReadFile(m_hPipe, &reply, sizeof(reply), &cbRead, NULL) != FALSE;
    if (!result.bReadSucceeded) {
        // An overlong reply still counts as a failed read, but its tail must
        // not become the reply to the next request.
        if (::GetLastError() == ERROR_MORE_DATA)
            DiscardRestOfMessage();
        else
            ::OutputDebugStringW(L"ReadFile to pipe failed");
    }
    result.bStatus = reply.PinReplyStatus;
    result.bReason = reply.PinRefusalReason;
    return result;
}

bool CPinPipeClient::WriteRequest(LPCWSTR pstrPin, int nLength)
{
    if (!IsOpen() || pstrPin == NULL || nLength < PIN_MIN_LENGTH || nLength > PIN_MAX_LENGTH) return false;
    PinRequestMessage request;
    DWORD cbRequest = static_cast<DWORD>(nLength) * sizeof(WCHAR);
    std::memcpy(request.szPin, pstrPin, cbRequest);
    DWORD cbWritten = 0;
    BOOL bWritten = ::WriteFile(m_hPipe, &request, cbRequest, &cbWritten, NULL);
    ::SecureZeroMemory(&request, sizeof(request));
    return bWritten && cbWritten == cbRequest;
}

void CPinPipeClient::DiscardRestOfMessage()
{
    BYTE aTail[sizeof(PinReplyMessage)];
    DWORD cbRead = 0;
    while (!::ReadFile(m_hPipe, aTail, sizeof(aTail), &cbRead, NULL) && ::GetLastError() == ERROR_MORE_DATA) {
    }
}
