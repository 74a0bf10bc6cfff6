// The road from the workers to the controls: order, wake-ups, and what becomes of
// updates once the window is gone.
#include <windows.h>

#include <gtest/gtest.h>

#include <new>
#include <stdlib.h>
#include <string.h>
#include <string>

#include "UpdateChannel.h"
#include "WorkerHarness.h"

using namespace RidgewellTest;

// The channel allocates itself and its updates with the nothrow operator new: this
// program counts those blocks to tell whether every one is freed.
namespace {

const DWORD kNothrowTag = 0x4E544852;
const size_t kHeader = 16;  // keeps malloc's 16-byte alignment
volatile LONG g_cNothrowLive = 0;

void* Allocate(size_t cb, DWORD dwTag)
{
    BYTE* p = static_cast<BYTE*>(malloc(cb + kHeader));
    if (p == NULL) return NULL;
    *reinterpret_cast<DWORD*>(p) = dwTag;
    if (dwTag == kNothrowTag) ::InterlockedIncrement(&g_cNothrowLive);
    return p + kHeader;
}

void Free(void* pBlock)
{
    if (pBlock == NULL) return;
    BYTE* p = static_cast<BYTE*>(pBlock) - kHeader;
    if (*reinterpret_cast<DWORD*>(p) == kNothrowTag) ::InterlockedDecrement(&g_cNothrowLive);
    free(p);
}

} // namespace

void* operator new(size_t cb)
{
    void* p = Allocate(cb, 0);
    if (p == NULL) throw std::bad_alloc();
    return p;
}
void* operator new[](size_t cb) { return operator new(cb); }
void* operator new(size_t cb, const std::nothrow_t&) noexcept { return Allocate(cb, kNothrowTag); }
void* operator new[](size_t cb, const std::nothrow_t&) noexcept { return Allocate(cb, kNothrowTag); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, size_t) noexcept { Free(p); }
void operator delete[](void* p, size_t) noexcept { Free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Free(p); }

namespace {

const int kPosts = 300;

// Posts kPosts rounds of a text, a picture and an enabled state.
DWORD WINAPI PostRounds(LPVOID lpChannel)
{
    CUpdateChannelRef updates(static_cast<CUpdateChannel*>(lpChannel));
    DWORD cDropped = 0;
    for (int i = 0; i < kPosts; ++i) {
        std::wstring s = std::to_wstring(i);
        cDropped += !updates->PostText(L"txt_show", s.c_str());
        cDropped += !updates->PostImage(L"image_show", (s + L".png").c_str());
        cDropped += !updates->PostEnabled(L"btn_Delete", i % 2 == 0);
    }
    return cDropped;
}

HANDLE g_hGo = NULL;

// Waits until the test lets it go, then posts its rounds.
DWORD WINAPI WaitThenPost(LPVOID lpChannel)
{
    ::WaitForSingleObject(g_hGo, INFINITE);
    return PostRounds(lpChannel);
}

Lines ExpectedRounds()
{
    Lines lines;
    for (int i = 0; i < kPosts; ++i) {
        std::wstring s = std::to_wstring(i);
        lines.push_back(L"text txt_show=" + s);
        lines.push_back(L"image image_show=" + s + L".png");
        lines.push_back(std::wstring(L"enable btn_Delete=") + (i % 2 == 0 ? L"1" : L"0"));
    }
    return lines;
}

// While it lives, PostMessageW as this program imports it fails as it does for a
// full message queue: the channel's wake-up cannot go out.
class CFailingPostMessage
{
public:
    CFailingPostMessage() : m_ppfnSlot(FindImport("user32.dll", "PostMessageW")), m_pfnReal(NULL)
    {
        if (m_ppfnSlot == NULL) return;
        m_pfnReal = *m_ppfnSlot;
        Write(reinterpret_cast<void*>(&Fail));
    }
    CFailingPostMessage(const CFailingPostMessage&) = delete;
    CFailingPostMessage& operator=(const CFailingPostMessage&) = delete;
    ~CFailingPostMessage()
    {
        if (m_ppfnSlot != NULL) Write(m_pfnReal);
    }

    bool IsActive() const { return m_ppfnSlot != NULL; }

private:
    static BOOL WINAPI Fail(HWND, UINT, WPARAM, LPARAM)
    {
        ::SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return FALSE;
    }

    // The slot of this program's import table that holds a function of a DLL.
    static void** FindImport(const char* pstrDll, const char* pstrFunction)
    {
        BYTE* pBase = reinterpret_cast<BYTE*>(::GetModuleHandleW(NULL));
        const IMAGE_NT_HEADERS* pHeaders =
            reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + reinterpret_cast<IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = pHeaders->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* pDll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(pBase + imports.VirtualAddress);
             imports.VirtualAddress != 0 && pDll->Name != 0; ++pDll) {
            if (_stricmp(reinterpret_cast<const char*>(pBase + pDll->Name), pstrDll) != 0) continue;
            auto* pName = reinterpret_cast<const IMAGE_THUNK_DATA*>(pBase + pDll->OriginalFirstThunk);
            auto* pSlot = reinterpret_cast<void**>(pBase + pDll->FirstThunk);
            for (; pName->u1.AddressOfData != 0; ++pName, ++pSlot) {
                if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal)) continue;
                auto* pByName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(pBase + pName->u1.AddressOfData);
                if (strcmp(reinterpret_cast<const char*>(pByName->Name), pstrFunction) == 0) return pSlot;
            }
        }
        return NULL;
    }

    void Write(void* pfn)
    {
        DWORD dwOld = 0;
        ::VirtualProtect(m_ppfnSlot, sizeof(*m_ppfnSlot), PAGE_READWRITE, &dwOld);
        *m_ppfnSlot = pfn;
        ::VirtualProtect(m_ppfnSlot, sizeof(*m_ppfnSlot), dwOld, &dwOld);
    }

    void** m_ppfnSlot;
    void* m_pfnReal;
};

// Closes the channel from inside the drain when the n-th update is applied.
struct CClosingTarget : IUpdateTarget
{
    void ApplyText(LPCWSTR, LPCWSTR) override { Count(); }
    void ApplyImage(LPCWSTR, LPCWSTR) override { Count(); }
    void ApplyEnabled(LPCWSTR, bool) override { Count(); }
    void Count()
    {
        if (++cApplied == nCloseAt) pChannel->Close();
    }
    CUpdateChannel* pChannel = NULL;
    int nCloseAt = 0;
    int cApplied = 0;
};

} // namespace

TEST(UpdateChannel, AppliesAWorkersUpdatesInOrderOnTheWindowsThread)
{
    const LONG cBefore = g_cNothrowLive;
    {
        CUpdateRecorder recorder;
        EXPECT_EQ(0u, recorder.Run(PostRounds)) << "no update dropped while the window lives";
        EXPECT_EQ(ExpectedRounds(), recorder.m_aApplied);
        EXPECT_FALSE(recorder.m_bOffThread);
        // One wake-up stands for every update queued before the drain.
        EXPECT_GE(recorder.m_cWakeUps, 1);
        EXPECT_LE(recorder.m_cWakeUps, 3 * kPosts);
    }
    EXPECT_EQ(cBefore, g_cNothrowLive);
}

TEST(UpdateChannel, KeepsEachOfTwoWorkersInOrder)
{
    CUpdateRecorder recorder;
    HANDLE ahThreads[2] = {};
    ASSERT_TRUE(recorder.m_updates->StartWorker(PostRounds, &ahThreads[0]));
    ASSERT_TRUE(recorder.m_updates->StartWorker(PostRounds, &ahThreads[1]));
    EXPECT_TRUE(SkinLibTest::WaitUntil([&] {
        recorder.Pump();
        return ::WaitForMultipleObjects(2, ahThreads, TRUE, 0) == WAIT_OBJECT_0;
    }));
    recorder.Pump();
    for (HANDLE h : ahThreads) ::CloseHandle(h);

    // Each worker's texts come in its own order: "0" twice before any "1", and so on.
    Lines texts = recorder.Applied(L"text");
    ASSERT_EQ(size_t(2 * kPosts), texts.size());
    std::vector<int> aSeen(kPosts, 0);
    int nLowest = 0;
    for (const std::wstring& s : texts) {
        int n = std::stoi(s.substr(wcslen(L"text txt_show=")));
        ASSERT_LE(n, kPosts - 1);
        EXPECT_GE(n, nLowest) << "a worker's text came after its successor";
        ++aSeen[n];
        while (nLowest < kPosts && aSeen[nLowest] == 2) ++nLowest;
    }
    EXPECT_EQ(kPosts, nLowest);
}

TEST(UpdateChannel, AClosedChannelFreesWhatWaitsAndDropsWhatComesLater)
{
    const LONG cBefore = g_cNothrowLive;
    {
        CUpdateRecorder recorder;
        CUpdateChannel* pChannel = recorder.m_updates.Get();
        EXPECT_TRUE(pChannel->PostText(L"txt_show", L"one"));
        EXPECT_TRUE(pChannel->PostImage(L"image_show", L"two.png"));
        pChannel->Close();
        pChannel->Close();  // the window may close it again: no harm
        EXPECT_FALSE(pChannel->PostText(L"txt_show", L"three"));
        EXPECT_FALSE(pChannel->PostEnabled(L"btn_Enroll", true));
        recorder.Pump();  // the wake-up of the first update finds nothing to apply
        EXPECT_TRUE(recorder.m_aApplied.empty());
        EXPECT_EQ(0, pChannel->Drain(recorder));
    }
    EXPECT_EQ(cBefore, g_cNothrowLive);
}

TEST(UpdateChannel, AWorkerOutlivingTheWindowPostsIntoNothing)
{
    const LONG cBefore = g_cNothrowLive;
    g_hGo = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    HANDLE hThread = NULL;
    {
        CUpdateRecorder recorder;
        ASSERT_TRUE(recorder.m_updates->PostText(L"txt_show", L"pending"));
        ASSERT_TRUE(recorder.m_updates->StartWorker(WaitThenPost, &hThread));
    }  // the window is destroyed, the channel closed, the window's reference released
    ::SetEvent(g_hGo);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hThread, SkinLibTest::kWaitDeadlineMs));
    DWORD cDropped = 0;
    ::GetExitCodeThread(hThread, &cDropped);
    ::CloseHandle(hThread);
    ::CloseHandle(g_hGo);
    g_hGo = NULL;
    EXPECT_EQ(DWORD(3 * kPosts), cDropped);
    // The worker's release was the last: channel and updates are all freed.
    EXPECT_EQ(cBefore, g_cNothrowLive);
}

// The update whose wake-up could not be posted waits for the next update's, which
// brings both.
TEST(UpdateChannel, AWakeUpThatCouldNotBePostedIsTriedAgainByTheNextUpdate)
{
    CUpdateRecorder recorder;
    {
        CFailingPostMessage failing;
        ASSERT_TRUE(failing.IsActive());
        EXPECT_TRUE(recorder.m_updates->PostText(L"txt_show", L"one"));
    }
    recorder.Pump();
    EXPECT_TRUE(recorder.m_aApplied.empty()) << "no wake-up went out";
    EXPECT_TRUE(recorder.m_updates->PostText(L"txt_show", L"two"));
    recorder.Pump();
    EXPECT_EQ((Lines{L"text txt_show=one", L"text txt_show=two"}), recorder.m_aApplied);
    EXPECT_EQ(1, recorder.m_cWakeUps);
}

// A wake-up that can never be posted (here the window went without closing the
// channel) loses nothing: the updates wait in order for the next drain, and what
// never gets one goes with the last reference.
TEST(UpdateChannel, UpdatesWhoseWakeUpCannotBePostedWaitForTheNextDrain)
{
    const LONG cBefore = g_cNothrowLive;
    {
        CUpdateRecorder recorder;
        ::SetWindowLongPtrW(recorder.m_hWnd, GWLP_USERDATA, 0);
        ::DestroyWindow(recorder.m_hWnd);
        EXPECT_TRUE(recorder.m_updates->PostText(L"txt_show", L"one"));
        EXPECT_TRUE(recorder.m_updates->PostEnabled(L"btn_Delete", true));
        EXPECT_EQ(2, recorder.m_updates->Drain(recorder));
        EXPECT_EQ((Lines{L"text txt_show=one", L"enable btn_Delete=1"}), recorder.m_aApplied);
        EXPECT_TRUE(recorder.m_updates->PostText(L"txt_show", L"never drained"));
    }
    EXPECT_EQ(cBefore, g_cNothrowLive);
}

TEST(UpdateChannel, ClosingWhileDrainingStopsAtTheUpdateThatClosed)
{
    const LONG cBefore = g_cNothrowLive;
    {
        CUpdateChannelRef updates(CUpdateChannel::Create(NULL));
        ASSERT_NE(nullptr, updates.Get());
        // Without a window nothing is woken and a channel made so counts as closed.
        EXPECT_FALSE(updates->PostText(L"txt_show", L"lost"));
    }
    {
        CUpdateRecorder recorder;
        for (int i = 0; i < 5; ++i) recorder.m_updates->PostText(L"txt_show", L"x");
        CClosingTarget target;
        target.pChannel = recorder.m_updates.Get();
        target.nCloseAt = 2;
        EXPECT_EQ(2, recorder.m_updates->Drain(target));
        EXPECT_EQ(2, target.cApplied);
        recorder.Pump();
        EXPECT_TRUE(recorder.m_aApplied.empty());
    }
    EXPECT_EQ(cBefore, g_cNothrowLive);
}
