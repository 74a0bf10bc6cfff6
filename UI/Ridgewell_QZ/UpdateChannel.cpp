#include "UpdateChannel.h"

#include <new>
#include <stddef.h>
#include <string.h>
#include <wchar.h>

// One queued update: the value and then the control name live in szText.
struct CUpdateChannel::Update
{
    Update* pNext;
    UpdateKind kind;
    bool bEnabled;
    LPCWSTR pstrControl;
    WCHAR szText[1];
};

namespace {

// Holds the channel's lock for a scope.
class CLockScope
{
public:
    explicit CLockScope(CRITICAL_SECTION& cs) : m_cs(cs) { ::EnterCriticalSection(&m_cs); }
    CLockScope(const CLockScope&) = delete;
    CLockScope& operator=(const CLockScope&) = delete;
    ~CLockScope() { ::LeaveCriticalSection(&m_cs); }

private:
    CRITICAL_SECTION& m_cs;
};

} // namespace

CUpdateChannel* CUpdateChannel::Create(HWND hWnd)
{
    return new (std::nothrow) CUpdateChannel(hWnd);
}

CUpdateChannel::CUpdateChannel(HWND hWnd)
    : m_cRef(1), m_hWnd(hWnd), m_bWakePosted(false), m_pFirst(NULL), m_pLast(NULL)
{
    ::InitializeCriticalSection(&m_lock);
}

CUpdateChannel::~CUpdateChannel()
{
    FreeList(m_pFirst);
    ::DeleteCriticalSection(&m_lock);
}

void CUpdateChannel::AddRef()
{
    ::InterlockedIncrement(&m_cRef);
}

void CUpdateChannel::Release()
{
    if (::InterlockedDecrement(&m_cRef) == 0) delete this;
}

bool CUpdateChannel::PostText(LPCWSTR pstrControl, LPCWSTR pstrText)
{
    return Post(UPDATE_TEXT, pstrControl, pstrText, false);
}

bool CUpdateChannel::PostImage(LPCWSTR pstrControl, LPCWSTR pstrImage)
{
    return Post(UPDATE_IMAGE, pstrControl, pstrImage, false);
}

bool CUpdateChannel::PostEnabled(LPCWSTR pstrControl, bool bEnabled)
{
    return Post(UPDATE_ENABLED, pstrControl, L"", bEnabled);
}

bool CUpdateChannel::Post(UpdateKind kind, LPCWSTR pstrControl, LPCWSTR pstrValue, bool bEnabled)
{
    if (IsClosed()) return false;
    // Built outside the lock: a worker never holds the UI thread up while it allocates.
    const size_t cchValue = wcslen(pstrValue) + 1;
    const size_t cchControl = wcslen(pstrControl) + 1;
    void* pMemory = ::operator new(offsetof(Update, szText) + (cchValue + cchControl) * sizeof(WCHAR), std::nothrow);
    if (pMemory == NULL) return false;
    Update* pUpdate = static_cast<Update*>(pMemory);
    pUpdate->pNext = NULL;
    pUpdate->kind = kind;
    pUpdate->bEnabled = bEnabled;
    memcpy(pUpdate->szText, pstrValue, cchValue * sizeof(WCHAR));
    memcpy(pUpdate->szText + cchValue, pstrControl, cchControl * sizeof(WCHAR));
    pUpdate->pstrControl = pUpdate->szText + cchValue;

    CLockScope lock(m_lock);
    if (m_hWnd == NULL) {
        ::operator delete(pMemory);
        return false;
    }
    if (m_pLast != NULL) m_pLast->pNext = pUpdate;
    else m_pFirst = pUpdate;
    m_pLast = pUpdate;
    // One wake-up stands for every update queued before the drain; if it cannot be
    // posted the next update tries again.
    if (!m_bWakePosted) m_bWakePosted = ::PostMessageW(m_hWnd, WM_WORKER_UPDATES, 0, 0) != FALSE;
    return true;
}

int CUpdateChannel::Drain(IUpdateTarget& target)
{
    Update* pUpdate;
    {
        CLockScope lock(m_lock);
        pUpdate = m_pFirst;
        m_pFirst = m_pLast = NULL;
        m_bWakePosted = false;
    }
    int nApplied = 0;
    while (pUpdate != NULL && !IsClosed()) {
        switch (pUpdate->kind) {
        case UPDATE_TEXT: target.ApplyText(pUpdate->pstrControl, pUpdate->szText); break;
        case UPDATE_IMAGE: target.ApplyImage(pUpdate->pstrControl, pUpdate->szText); break;
        case UPDATE_ENABLED: target.ApplyEnabled(pUpdate->pstrControl, pUpdate->bEnabled); break;
        }
        ++nApplied;
        Update* pNext = pUpdate->pNext;
        ::operator delete(pUpdate);
        pUpdate = pNext;
    }
    FreeList(pUpdate);
    return nApplied;
}

void CUpdateChannel::Close()
{
    Update* pPending;
    {
        CLockScope lock(m_lock);
        m_hWnd = NULL;
        pPending = m_pFirst;
        m_pFirst = m_pLast = NULL;
    }
    FreeList(pPending);
}

bool CUpdateChannel::StartWorker(LPTHREAD_START_ROUTINE pfnWorker, HANDLE* phThread)
{
    if (phThread != NULL) *phThread = NULL;
    AddRef();  // the worker's, adopted by it
    HANDLE hThread = ::CreateThread(NULL, 0, pfnWorker, this, 0, NULL);
    if (hThread == NULL) {
        Release();
        return false;
    }
    if (phThread != NULL) *phThread = hThread;
    else ::CloseHandle(hThread);
    return true;
}

bool CUpdateChannel::IsClosed()
{
    CLockScope lock(m_lock);
    return m_hWnd == NULL;
}

void CUpdateChannel::FreeList(Update* pFirst)
{
    while (pFirst != NULL) {
        Update* pNext = pFirst->pNext;
        ::operator delete(pFirst);
        pFirst = pNext;
    }
}
