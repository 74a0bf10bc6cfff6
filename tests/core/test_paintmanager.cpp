#include "core/PaintManagerUI.h"

#include <gtest/gtest.h>

#include "TestControls.h"
#include "controls/ControlUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

struct PaintManager : ::testing::Test, CManagedTree {};

SIZE WindowSize(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

// Destroy handlers used by the clean-up tests.
CPaintManagerUI* g_pCleanupManager = NULL;
CControlUI* g_pHandOver = NULL;

bool HandOverOnDestroy(void*)
{
    if (g_pHandOver != NULL) g_pCleanupManager->AddDelayedCleanup(g_pHandOver);
    g_pHandOver = NULL;
    return true;
}

bool QueueOnDestroy(void* pControl)
{
    g_pCleanupManager->SendNotify(static_cast<CControlUI*>(pControl), L"late", 0, 0, true);
    return true;
}

} // namespace

TEST(PaintManagerLayout, WindowInitOnceAndNotOnAnEmptyClientArea)
{
    CManagedTree t(0, 0);
    RepaintNow(t.wnd);
    EXPECT_TRUE(t.Handle(WM_PAINT));
    EXPECT_EQ(0, t.log.Count(L"windowinit"));

    ::SetWindowPos(t.wnd, NULL, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::UpdateWindow(t.wnd);
    ASSERT_EQ(1, t.log.Count(L"windowinit"));
    EXPECT_EQ(t.pRoot, t.log.aSenders[0]);
    EXPECT_EQ(200, t.pRoot->GetPos().right - t.pRoot->GetPos().left);
    EXPECT_EQ(1, t.c->nSetPos);
    EXPECT_GT(t.c->nPaint, 0);

    ::SetWindowPos(t.wnd, NULL, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::UpdateWindow(t.wnd);
    RepaintNow(t.wnd);
    EXPECT_EQ(1, t.log.Count(L"windowinit"));
    EXPECT_EQ(300, t.pRoot->GetPos().right);
}

TEST_F(PaintManager, PartialLayoutTouchesOnlyTheAskersAndIsBounded)
{
    RepaintNow(wnd);
    ASSERT_EQ(1, pRoot->nSetPos);
    b->RequestLayout();
    RepaintNow(wnd);
    EXPECT_EQ((std::vector<int>{1, 1, 2, 1}), (std::vector<int>{pRoot->nSetPos, a->nSetPos, b->nSetPos, c->nSetPos}));
    EXPECT_FALSE(b->IsUpdateNeeded());

    // A control that never settles cannot hang the paint: one round per control at most.
    a->bStuck = true;
    a->RequestLayout();
    RepaintNow(wnd);
    EXPECT_GT(a->nSetPos, 1);
    EXPECT_LE(a->nSetPos, 1 + 4);
}

TEST_F(PaintManager, PostPaintRunsAfterTheTreeAndAttachEmptiesIt)
{
    std::vector<CControlUI*> aLog;
    a->paPostPaintLog = b->paPostPaintLog = &aLog;
    pm.AddPostPaint(b);
    pm.AddPostPaint(a);
    RepaintNow(wnd);
    EXPECT_EQ((std::vector<CControlUI*>{b, a}), aLog);

    EXPECT_TRUE(pm.SetPostPaintIndex(a, 0));
    EXPECT_FALSE(pm.SetPostPaintIndex(b, 5));  // removed, not put back
    EXPECT_EQ(1, pm.GetPostPaintCount());
    pm.AttachDialog(new CBoxUI);
    EXPECT_EQ(0, pm.GetPostPaintCount());
}

TEST_F(PaintManager, SecondAttachDeletesTheOldTreeOnceAfterTheCleanupMessage)
{
    int nDestroyed = 0;
    CountDestroyed(&nDestroyed);
    RepaintNow(wnd);
    a->SetFocus();

    CBoxUI* pNewRoot = new CBoxUI;
    pNewRoot->Add(new CProbeUI(L"b"));
    ASSERT_TRUE(pm.AttachDialog(pNewRoot));
    EXPECT_EQ(0, nDestroyed);
    EXPECT_EQ(nullptr, pm.GetFocus());
    EXPECT_EQ(pNewRoot->GetItemAt(0), pm.FindControl(L"b"));

    PumpMessages();
    EXPECT_EQ(4, nDestroyed);
    EXPECT_EQ(nullptr, pm.FindControl(L"a"));
    EXPECT_EQ(pNewRoot->GetItemAt(0), pm.FindControl(L"b"));
    Handle(UIMSG_DELAYED_CLEANUP);
    EXPECT_EQ(4, nDestroyed);
}

TEST_F(PaintManager, DeletedControlLeavesNoPointerBehind)
{
    RepaintNow(wnd);
    b->SetFocus();
    ASSERT_EQ(b, pm.GetFocus());
    pm.AddPostPaint(b);
    pm.AddPostPaint(b);
    ASSERT_TRUE(pm.SetTimer(b, 7, 100000));
    pm.SendNotify(b, L"queued", 0, 0, true);
    ASSERT_EQ(3, pm.FindSubControlsByClass(NULL, L"ProbeUI")->GetSize());
    ASSERT_EQ(b, pm.FindControl(L"b"));

    CProbeUI* victim = b;
    pRoot->Detach(victim);
    delete victim;
    EXPECT_EQ(nullptr, pm.GetFocus());
    EXPECT_EQ(0, pm.GetPostPaintCount());
    EXPECT_EQ(nullptr, pm.FindControl(L"b"));
    EXPECT_EQ(2, pm.GetSubControlsByClass()->GetSize());
    EXPECT_EQ(-1, pm.GetSubControlsByClass()->Find(victim));
    EXPECT_FALSE(pm.KillTimer(victim, 7));

    // The queued record goes out with no sender, and the old timer id reaches nobody.
    log.Clear();
    EXPECT_FALSE(Handle(WM_TIMER, 17));
    EXPECT_EQ(std::vector<std::wstring>{L"queued"}, log.aTypes);
    EXPECT_EQ(std::vector<CControlUI*>{nullptr}, log.aSenders);
    RepaintNow(wnd);
}

TEST_F(PaintManager, CleanupHandlersMayHandOverMoreControls)
{
    int nDestroyed = 0;
    CProbeUI* first = new CProbeUI(L"first");
    CProbeUI* second = new CProbeUI(L"second");
    first->pnDestroyed = second->pnDestroyed = &nDestroyed;
    first->OnDestroy += HandOverOnDestroy;
    g_pCleanupManager = &pm;
    g_pHandOver = second;

    pm.AddDelayedCleanup(first);
    EXPECT_FALSE(Handle(UIMSG_DELAYED_CLEANUP));
    EXPECT_EQ(2, nDestroyed);
    PumpMessages();
    EXPECT_EQ(2, nDestroyed);
}

TEST_F(PaintManager, OneCleanupMessageWaitsForAnyNumberOfRemovedControls)
{
    PumpMessages();
    auto takeCleanupMessages = [this] {
        int n = 0;
        MSG msg;
        while (::PeekMessageW(&msg, wnd, UIMSG_DELAYED_CLEANUP, UIMSG_DELAYED_CLEANUP, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
            n++;
        }
        return n;
    };
    int nDestroyed = 0;
    auto handOver = [&](const wchar_t* pstrName) {
        CProbeUI* p = new CProbeUI(pstrName);
        p->pnDestroyed = &nDestroyed;
        pm.AddDelayedCleanup(p);
    };
    for (int i = 0; i < 500; i++) handOver(L"gone");
    EXPECT_EQ(1, takeCleanupMessages());
    EXPECT_EQ(500, nDestroyed);
    // Once it has been handled, the next control posts again.
    handOver(L"later");
    EXPECT_EQ(1, takeCleanupMessages());
    EXPECT_EQ(501, nDestroyed);
}

TEST(PaintManagerTree, DestructorDeletesEveryControlExactlyOnce)
{
    int nDestroyed = 0;
    {
        CManagedTree t;
        g_pCleanupManager = &t.pm;
        t.CountDestroyed(&nDestroyed);
        RepaintNow(t.wnd);
        // Pending at destruction: a removed control, queued records, and
        // handlers that hand over a control and queue a record while the tree goes.
        t.pRoot->Remove(t.c);
        t.pm.SendNotify(t.a, L"pending", 0, 0, true);
        t.pm.SendNotify(t.b, L"pending", 0, 0, true);
        CProbeUI* pStray = new CProbeUI(L"stray");
        pStray->pnDestroyed = &nDestroyed;
        g_pHandOver = pStray;
        t.a->OnDestroy += HandOverOnDestroy;
        t.b->OnDestroy += QueueOnDestroy;
        t.pm.SetTimer(t.a, 1, 100000);
    }
    EXPECT_EQ(5, nDestroyed);
}

TEST(PaintManagerSearch, NamesClassesAndPoints)
{
    CPaintManagerUI pm;
    CBoxUI* pRoot = new CBoxUI(20, 20);
    CProbeUI* first = new CProbeUI(L"ok");
    CProbeUI* second = new CProbeUI(L"ok");
    CProbeUI* deaf = new CProbeUI(L"deaf");
    for (CProbeUI* p : {first, second, deaf}) pRoot->Add(p);
    deaf->SetMouseEnabled(false);
    pm.AttachDialog(pRoot);
    pRoot->SetPos(RECT{0, 0, 60, 20});

    EXPECT_EQ(second, pm.FindControl(L"ok"));
    EXPECT_EQ(nullptr, pm.FindControl(L"OK"));
    EXPECT_EQ(first, pm.FindSubControlByName(NULL, L"OK"));
    EXPECT_EQ(nullptr, pm.FindSubControlByName(NULL, L"missing"));

    // Children are walked before their container.
    EXPECT_EQ(deaf, pm.FindSubControlByClass(NULL, L"*", 2));
    EXPECT_EQ(pRoot, pm.FindSubControlByClass(NULL, L"*", 3));
    EXPECT_EQ(second, pm.FindSubControlByClass(NULL, L"ProbeUI", 1));
    EXPECT_EQ(pRoot, pm.FindSubControlByClass(NULL, L"BoxUI"));
    EXPECT_EQ(nullptr, pm.FindSubControlByClass(NULL, L"ProbeUI", 3));
    EXPECT_EQ(nullptr, pm.FindSubControlByClass(NULL, L"*", -1));
    CStdPtrArray* pFound = pm.FindSubControlsByClass(NULL, L"ProbeUI");
    ASSERT_EQ(3, pFound->GetSize());
    EXPECT_EQ(first, pFound->GetAt(0));
    EXPECT_EQ(deaf, pFound->GetAt(2));

    EXPECT_EQ(second, pm.FindControl(POINT{25, 5}));
    EXPECT_EQ(pRoot, pm.FindControl(POINT{45, 5}));  // the deaf child lets the click through
    EXPECT_EQ(nullptr, pm.FindControl(POINT{100, 5}));
    EXPECT_EQ(nullptr, pm.FindSubControlByPoint(first, POINT{25, 5}));
    second->SetVisible(false);
    EXPECT_EQ(pRoot, pm.FindControl(POINT{25, 5}));
}

TEST(PaintManagerSearch, EveryMessageAndSearchIsSafeWithoutRoot)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 100, 50);
    pm.ReapObjects(NULL);
    EXPECT_EQ(nullptr, pm.FindControl(POINT{1, 1}));
    EXPECT_EQ(nullptr, pm.FindControl(L"x"));
    EXPECT_EQ(nullptr, pm.FindSubControlByName(NULL, L"x"));
    EXPECT_EQ(nullptr, pm.FindSubControlByPoint(NULL, POINT{1, 1}));
    EXPECT_EQ(nullptr, pm.FindSubControlByClass(NULL, L"*", 0));
    EXPECT_EQ(0, pm.FindSubControlsByClass(NULL, L"*")->GetSize());

    HDC hDC = ::CreateCompatibleDC(NULL);
    LRESULT lRes = 0;
    EXPECT_FALSE(pm.MessageHandler(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT | PRF_CHILDREN, lRes));
    ::DeleteDC(hDC);
    EXPECT_TRUE(pm.MessageHandler(WM_SIZE, 0, 0, lRes));
    RepaintNow(wnd);
    EXPECT_FALSE(::GetUpdateRect(wnd, NULL, FALSE));
    EXPECT_TRUE(pm.SetNextTabControl(true));
}

TEST_F(PaintManager, SizeReachesTheFocusAndPrintClientRestoresTheOrigin)
{
    RepaintNow(wnd);
    a->SetFocus();
    a->aEvents.clear();
    EXPECT_TRUE(Handle(WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 100)));
    EXPECT_EQ(std::vector<int>{SKIN_EVT_WINDOWSIZE}, a->aEvents);
    EXPECT_TRUE(pRoot->IsUpdateNeeded());

    // Children print at their own place; the caller's origin comes back.
    HWND hChild = ::CreateWindowExW(0, L"STATIC", L"c", WS_CHILD | WS_VISIBLE, 30, 20, 40, 20, wnd, NULL, NULL, NULL);
    HDC hDC = ::CreateCompatibleDC(NULL);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(pm.GetPaintDC(), 200, 100);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    ::SetWindowOrgEx(hDC, 5, 7, NULL);
    int nPaints = c->nPaint;
    EXPECT_FALSE(Handle(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT | PRF_CHILDREN));
    POINT ptOrg = {};
    ::GetWindowOrgEx(hDC, &ptOrg);
    EXPECT_EQ(5, ptOrg.x);
    EXPECT_EQ(7, ptOrg.y);
    EXPECT_EQ(nPaints + 1, c->nPaint);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hDC);
    ::DestroyWindow(hChild);
}

TEST_F(PaintManager, FocusEventsNotificationsAndRefusals)
{
    RepaintNow(wnd);
    pm.SetFocus(NULL);
    log.Clear();
    pm.SetFocus(a);
    EXPECT_TRUE(a->IsFocused());
    pm.SetFocus(b);
    EXPECT_FALSE(a->IsFocused());
    EXPECT_EQ(b, pm.GetFocus());
    EXPECT_EQ((std::vector<std::wstring>{L"setfocus", L"killfocus", L"setfocus"}), log.aTypes);
    EXPECT_EQ((std::vector<CControlUI*>{a, a, b}), log.aSenders);

    // Refused: the focus is gone and nobody gets it.
    c->SetEnabled(false);
    pm.SetFocus(c);
    EXPECT_EQ(nullptr, pm.GetFocus());
    EXPECT_FALSE(b->IsFocused());
    CProbeUI outsider;
    pm.SetFocus(&outsider);
    EXPECT_EQ(nullptr, pm.GetFocus());

    // Hiding the focused control drops the focus.
    pm.SetFocus(a);
    a->SetVisible(false);
    EXPECT_EQ(nullptr, pm.GetFocus());
}

TEST(PaintManagerWindow, TransparencyAndInitialSize)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 100);
    auto layered = [&] { return (::GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; };
    pm.SetTransparent(255);
    EXPECT_TRUE(layered());
    BYTE bAlpha = 0;
    DWORD dwFlags = 0;
    ::GetLayeredWindowAttributes(wnd, NULL, &bAlpha, &dwFlags);
    EXPECT_EQ(255, bAlpha);
    pm.SetTransparent(300);
    EXPECT_EQ(255, pm.GetTransparent());
    EXPECT_FALSE(layered());
    pm.SetTransparent(128);
    EXPECT_TRUE(layered());
    pm.SetTransparent(-1);
    EXPECT_EQ(0, pm.GetTransparent());
    EXPECT_FALSE(layered());

    // The window takes the initial size only while it has no tree.
    pm.SetInitSize(150, 80);
    EXPECT_EQ(150, WindowSize(wnd).cx);
    EXPECT_EQ(80, WindowSize(wnd).cy);
    pm.AttachDialog(new CBoxUI);
    pm.SetInitSize(300, 90);
    EXPECT_EQ(150, WindowSize(wnd).cx);
}
