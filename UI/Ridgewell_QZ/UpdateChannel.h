#pragma once
// The road from the WinBio workers to the window's controls. The controls belong to
// the UI thread, and a worker may still be blocked in a WinBio call when the window
// goes away, so workers never touch controls: they post their status texts, pictures
// and enabled states to a CUpdateChannel, and the UI thread applies them in the order
// they were posted.
//
// The window's side of it:
//   - once it has its handle (OnCreate/InitWindow), it makes the channel:
//         m_updates.Reset(CUpdateChannel::Create(m_hWnd));
//   - it starts a worker with the channel as the thread argument:
//         m_updates->StartWorker(EnrollSysPool);      // or DeleteThreadProc
//     StartWorker gives the worker its own reference and closes the thread handle;
//   - it implements IUpdateTarget by finding the named control in its paint manager
//     and calling SetText, SetBkImage or SetEnabled on it (an unknown name is skipped);
//   - on WM_WORKER_UPDATES it calls m_updates->Drain(*this);
//   - on WM_DESTROY it calls m_updates->Close() and m_updates.Reset(): pending
//     updates are freed, later ones are dropped, and a worker that outlives the
//     window keeps the channel alive through its own reference.
#include <windows.h>

// Posted (wParam and lParam 0) to the channel's window when updates wait for it; one
// message may stand for several updates.
#define WM_WORKER_UPDATES (WM_APP + 0x20)

// What the UI thread does with each update.
class IUpdateTarget
{
public:
    virtual void ApplyText(LPCWSTR pstrControl, LPCWSTR pstrText) = 0;
    virtual void ApplyImage(LPCWSTR pstrControl, LPCWSTR pstrImage) = 0;
    virtual void ApplyEnabled(LPCWSTR pstrControl, bool bEnabled) = 0;

protected:
    ~IUpdateTarget() = default;
};

// A reference-counted queue of updates. Post* and AddRef/Release may be called on
// any thread; Drain, Close and StartWorker belong to the window's thread.
class CUpdateChannel
{
public:
    // A new channel waking hWnd, holding one reference for the caller; NULL when out of
    // memory. A channel without a window starts closed.
    static CUpdateChannel* Create(HWND hWnd);

    CUpdateChannel(const CUpdateChannel&) = delete;
    CUpdateChannel& operator=(const CUpdateChannel&) = delete;

    void AddRef();
    void Release();

    // Queues an update behind the earlier ones. False when it is dropped: the channel
    // is closed or there is no memory for it.
    bool PostText(LPCWSTR pstrControl, LPCWSTR pstrText);
    bool PostImage(LPCWSTR pstrControl, LPCWSTR pstrImage);
    bool PostEnabled(LPCWSTR pstrControl, bool bEnabled);

    // Applies and frees the waiting updates in order; returns how many were applied.
    // Stops at once if the target closes the channel while it applies one.
    int Drain(IUpdateTarget& target);

    // Frees the waiting updates and drops every later one. The window calls it when it
    // is destroyed; calling it again does nothing.
    void Close();

    // Runs pfnWorker on a new thread with this channel (and a reference of its own) as
    // its argument; the worker adopts the reference with CUpdateChannelRef. The thread
    // handle is closed unless phThread asks for it, in which case the caller closes it.
    bool StartWorker(LPTHREAD_START_ROUTINE pfnWorker, HANDLE* phThread = NULL);

private:
    enum UpdateKind { UPDATE_TEXT, UPDATE_IMAGE, UPDATE_ENABLED };
    struct Update;

    explicit CUpdateChannel(HWND hWnd);
    ~CUpdateChannel();

    bool Post(UpdateKind kind, LPCWSTR pstrControl, LPCWSTR pstrValue, bool bEnabled);
    bool IsClosed();
    static void FreeList(Update* pFirst);

    LONG m_cRef;
    CRITICAL_SECTION m_lock;
    HWND m_hWnd;          // NULL once closed
    bool m_bWakePosted;   // a WM_WORKER_UPDATES is on its way and not drained yet
    Update* m_pFirst;
    Update* m_pLast;
};

// Holds one reference to a channel and releases it when it goes out of scope.
class CUpdateChannelRef
{
public:
    explicit CUpdateChannelRef(CUpdateChannel* pAdopted = NULL) : m_pChannel(pAdopted) {}
    CUpdateChannelRef(const CUpdateChannelRef&) = delete;
    CUpdateChannelRef& operator=(const CUpdateChannelRef&) = delete;
    ~CUpdateChannelRef() { Reset(); }

    // Releases the held reference and adopts pAdopted's.
    void Reset(CUpdateChannel* pAdopted = NULL)
    {
        if (m_pChannel != NULL) m_pChannel->Release();
        m_pChannel = pAdopted;
    }
    CUpdateChannel* Get() const { return m_pChannel; }
    CUpdateChannel* operator->() const { return m_pChannel; }

private:
    CUpdateChannel* m_pChannel;
};
