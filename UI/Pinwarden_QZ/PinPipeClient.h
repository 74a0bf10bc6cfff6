#pragma once
#include <windows.h>

#include "PinMessages.h"

// The client end of the key service's PIN pipe: one connection, opened when a
// dialog starts and used for every PIN the user confirms in it. All calls block
// the calling (UI) thread; the object closes the connection when it goes.
class CPinPipeClient
{
public:
    enum { DEFAULT_WAIT_MS = 20000 };
    static const wchar_t kPipeName[];

    // The name is borrowed and must outlive the client. Tests shorten the
    // wait; the program keeps the default.
    explicit CPinPipeClient(LPCWSTR pstrPipeName = kPipeName, DWORD dwWaitMs = DEFAULT_WAIT_MS);
    ~CPinPipeClient();

    // For the next Open; tests shorten a dialog's wait with it.
    void SetWaitTime(DWORD dwWaitMs) { m_dwWaitMs = dwWaitMs; }

    // Connects and switches to message read mode, waiting up to the client's
    // wait time for the service to create the pipe or free an instance.
    // False when no connection could be made; exchanges then read as refusals.
    bool Open();
    bool IsOpen() const;
    void Close();

    // Sends the PIN's nLength UTF-16 code units as one message and reads one
    // reply. A PIN of a length the dialogs never send, a closed connection or
    // a failed write sends nothing more and reads as status 0, reason 0.
    PinExchangeResult Exchange(LPCWSTR pstrPin, int nLength);

private:
    CPinPipeClient(const CPinPipeClient&) = delete;
    CPinPipeClient& operator=(const CPinPipeClient&) = delete;

    HANDLE OpenOnce() const;
    HANDLE WaitAndOpen(DWORD dwError, ULONGLONG ullDeadline) const;
    bool WriteRequest(LPCWSTR pstrPin, int nLength);
    void DiscardRestOfMessage();

    LPCWSTR m_pstrPipeName;
    DWORD m_dwWaitMs;
    HANDLE m_hPipe;
};
