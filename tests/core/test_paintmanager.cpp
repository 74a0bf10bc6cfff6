#include "core/PaintManagerUI.h"

#include <gtest/gtest.h>

#include "TestControls.h"
#include "controls/ControlUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

// A root box with three named probes, ready to attach.
struct ProbeTree
{
    ProbeTree()
    {
        pRoot->SetName(L"root");
        pRoot->Add(a);
        pRoot->Add(b);
        pRoot->Add(c);
    }
    CBoxUI* pRoot = new CBoxUI;
    CProbeUI* a = new CProbeUI(L"a", CTLFLAG_TABSTOP);
    CProbeUI* b = new CProbeUI(L"b", CTLFLAG_TABSTOP);
    CProbeUI* c = new CProbeUI(L"c");
};

SIZE WindowSize(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    SIZE sz = {rc.right - rc.left, rc.bottom - rc.top};
    return sz;
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
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 0, 0);
    CNotifyLog log;
    pm.AddNotifier(&log);
    ProbeTree tree;
    ASSERT_TRUE(pm.AttachDialog(tree.pRoot));

    RepaintNow(wnd);
    LRESULT lRes = 0;
    EXPECT_TRUE(pm.MessageHandler(WM_PAINT, 0, 0, lRes));
    EXPECT_EQ(0, log.Count(L"windowinit"));

    ::SetWindowPos(wnd, NULL, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::UpdateWindow(wnd);
    ASSERT_EQ(1, log.Count(L"windowinit"));
    EXPECT_EQ(tree.pRoot, log.aSenders[0]);
    const RECT& rcRoot = tree.pRoot->GetPos();
    EXPECT_EQ(200, rcRoot.right - rcRoot.left);
    EXPECT_EQ(1, tree.c->nSetPos);
    EXPECT_GT(tree.c->nPaint, 0);

    ::SetWindowPos(wnd, NULL, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::UpdateWindow(wnd);
    RepaintNow(wnd);
    EXPECT_EQ(1, log.Count(L"windowinit"));
    EXPECT_EQ(300, tree.pRoot->GetPos().right);
}

TEST(PaintManagerLayout, PartialLayoutTouchesOnlyTheControlsThatAsked)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 100);
    ProbeTree tree;
    pm.AttachDialog(tree.pRoot);
    RepaintNow(wnd);
    ASSERT_EQ(1, tree.pRoot->nSetPos);

    tree.b->RequestLayout();
    RepaintNow(wnd);
    EXPECT_EQ(1, tree.pRoot->nSetPos);
    EXPECT_EQ(1, tree.a->nSetPos);
    EXPECT_EQ(2, tree.b->nSetPos);
    EXPECT_EQ(1, tree.c->nSetPos);
    EXPECT_FALSE(tree.b->IsUpdateNeeded());
}

TEST(PaintManagerLayout, ControlThatNeverSettlesCannotHangThePaint)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 100);
    ProbeTree tree;
    pm.AttachDialog(tree.pRoot);
    RepaintNow(wnd);

    tree.a->bStuck = true;
    tree.a->RequestLayout();
    RepaintNow(wnd);
    EXPECT_GT(tree.a->nSetPos, 1);
    EXPECT_LE(tree.a->nSetPos, 1 + 4);  // one round per control at most
}

TEST(PaintManagerLayout, PostPaintRunsAfterTheTreeAndAttachEmptiesIt)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 100);
    ProbeTree tree;
    std::vector<CControlUI*> aLog;
    tree.a->paPostPaintLog = &aLog;
    tree.b->paPostPaintLog = &aLog;
    pm.AttachDialog(tree.pRoot);
    pm.AddPostPaint(tree.b);
    pm.AddPostPaint(tree.a);
    RepaintNow(wnd);
    ASSERT_EQ(2u, aLog.size());
    EXPECT_EQ(tree.b, aLog[0]);
    EXPECT_EQ(tree.a, aLog[1]);

    EXPECT_TRUE(pm.SetPostPaintIndex(tree.a, 0));
    EXPECT_FALSE(pm.SetPostPaintIndex(tree.b, 5));  // removed, not put back
    EXPECT_EQ(1, pm.GetPostPaintCount());
    pm.AttachDialog(new CBoxUI);
    EXPECT_EQ(0, pm.GetPostPaintCount());
}

TEST(PaintManagerTree, SecondAttachDeletesTheOldTreeOnceAfterTheCleanupMessage)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 100);
    int nDestroyed = 0;
    ProbeTree tree;
    tree.pRoot->pnDestroyed = &nDestroyed;
    tree.a->pnDestroyed = &nDestroyed;
    tree.b->pnDestroyed = &nDestroyed;
    tree.c->pnDestroyed = &nDestroyed;
    pm.AttachDialog(tree.pRoot);
    RepaintNow(wnd);
    tree.a->SetFocus();

    CBoxUI* pNewRoot = new CBoxUI;
    pNewRoot->Add(new CProbeUI(L"b"));
    ASSERT_TRUE(pm.AttachDialog(pNewRoot));
    EXPECT_EQ(0, nDestroyed);
    EXPECT_EQ(nullptr, pm.GetFocus());
    EXPECT_EQ(pNewRoot, pm.GetRoot());
    EXPECT_EQ(pNewRoot->GetItemAt(0), pm.FindControl(L"b"));

    PumpMessages();
    EXPECT_EQ(4, nDestroyed);
    EXPECT_EQ(nullptr, pm.FindControl(L"a"));
    EXPECT_EQ(pNewRoot->GetItemAt(0), pm.FindControl(L"b"));

    LRESULT lRes = 0;
    pm.MessageHandler(UIMSG_DELAYED_CLEANUP, 0, 0, lRes);
    EXPECT_EQ(4, nDestroyed);
}

TEST(PaintManagerTree, DeletedControlLeavesNoPointerBehind)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 100);
    CNotifyLog log;
    pm.AddNotifier(&log);
    ProbeTree tree;
    pm.AttachDialog(tree.pRoot);
    RepaintNow(wnd);

    CProbeUI* victim = tree.b;
    victim->SetFocus();
    ASSERT_EQ(victim, pm.GetFocus());
    pm.AddPostPaint(victim);
    pm.AddPostPaint(victim);
    ASSERT_TRUE(pm.SetTimer(victim, 7, 100000));
    pm.SendNotify(victim, L"queued", 0, 0, true);
    ASSERT_EQ(3, pm.FindSubControlsByClass(NULL, L"ProbeUI")->GetSize());
    ASSERT_EQ(victim, pm.FindControl(L"b"));

    tree.pRoot->Detach(victim);
    delete victim;

    EXPECT_EQ(nullptr, pm.GetFocus());
    EXPECT_EQ(0, pm.GetPostPaintCount());
    EXPECT_EQ(nullptr, pm.FindControl(L"b"));
    EXPECT_EQ(2, pm.GetSubControlsByClass()->GetSize());
    EXPECT_EQ(-1, pm.GetSubControlsByClass()->Find(victim));
    EXPECT_FALSE(pm.KillTimer(victim, 7));

    // The queued record goes out with no sender, and the old timer id reaches nobody.
    log.aTypes.clear();
    log.aSenders.clear();
    LRESULT lRes = 0;
    EXPECT_FALSE(pm.MessageHandler(WM_TIMER, 17, 0, lRes));
    ASSERT_EQ(1u, log.aTypes.size());
    EXPECT_EQ(L"queued", log.aTypes[0]);
    EXPECT_EQ(nullptr, log.aSenders[0]);
    RepaintNow(wnd);
}

TEST(PaintManagerTree, CleanupHandlersMayHandOverMoreControls)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 100);
    int nDestroyed = 0;
    CProbeUI* first = new CProbeUI(L"first");
    CProbeUI* second = new CProbeUI(L"second");
    first->pnDestroyed = &nDestroyed;
    second->pnDestroyed = &nDestroyed;
    first->OnDestroy += HandOverOnDestroy;
    g_pCleanupManager = &pm;
    g_pHandOver = second;

    pm.AddDelayedCleanup(first);
    LRESULT lRes = 0;
    EXPECT_FALSE(pm.MessageHandler(UIMSG_DELAYED_CLEANUP, 0, 0, lRes));
    EXPECT_EQ(2, nDestroyed);
    PumpMessages();
    EXPECT_EQ(2, nDestroyed);
}

TEST(PaintManagerTree, DestructorDeletesEveryControlExactlyOnce)
{
    int nDestroyed = 0;
    {
        CPaintManagerUI pm;
        CHostWindow wnd(pm, 200, 100);
        g_pCleanupManager = &pm;
        ProbeTree tree;
        for (CProbeUI* p : {tree.a, tree.b, tree.c}) p->pnDestroyed = &nDestroyed;
        tree.pRoot->pnDestroyed = &nDestroyed;
        pm.AttachDialog(tree.pRoot);
        RepaintNow(wnd);

        // Pending at destruction: a removed control, queued records, and
        // handlers that hand over a control and queue a record while the tree goes.
        tree.pRoot->Remove(tree.c);
        pm.SendNotify(tree.a, L"pending", 0, 0, true);
        pm.SendNotify(tree.b, L"pending", 0, 0, true);
        CProbeUI* pStray = new CProbeUI(L"stray");
        pStray->pnDestroyed = &nDestroyed;
        g_pHandOver = pStray;
        tree.a->OnDestroy += HandOverOnDestroy;
        tree.b->OnDestroy += QueueOnDestroy;
        pm.SetTimer(tree.a, 1, 100000);
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
    pRoot->Add(first);
    pRoot->Add(second);
    pRoot->Add(deaf);
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
    EXPECT_EQ(pFound, pm.GetSubControlsByClass());

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

TEST(PaintManagerMessages, SizeAndPrintClient)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 100);
    ProbeTree tree;
    pm.AttachDialog(tree.pRoot);
    RepaintNow(wnd);
    tree.a->SetFocus();
    tree.a->aEvents.clear();

    LRESULT lRes = 0;
    EXPECT_TRUE(pm.MessageHandler(WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 100), lRes));
    ASSERT_EQ(1u, tree.a->aEvents.size());
    EXPECT_EQ(SKIN_EVT_WINDOWSIZE, tree.a->aEvents[0]);
    EXPECT_TRUE(tree.pRoot->IsUpdateNeeded());

    // Children print at their own place; the caller's origin comes back.
    HWND hChild = ::CreateWindowExW(0, L"STATIC", L"child", WS_CHILD | WS_VISIBLE, 30, 20, 40, 20, wnd, NULL, NULL, NULL);
    HDC hDC = ::CreateCompatibleDC(NULL);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(pm.GetPaintDC(), 200, 100);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    ::SetWindowOrgEx(hDC, 5, 7, NULL);
    int nPaints = tree.c->nPaint;
    EXPECT_FALSE(pm.MessageHandler(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT | PRF_CHILDREN, lRes));
    POINT ptOrg = {};
    ::GetWindowOrgEx(hDC, &ptOrg);
    EXPECT_EQ(5, ptOrg.x);
    EXPECT_EQ(7, ptOrg.y);
    EXPECT_EQ(nPaints + 1, tree.c->nPaint);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hDC);
    ::DestroyWindow(hChild);
}

TEST(PaintManagerFocus, FocusEventsNotificationsAndRefusals)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 100);
    CNotifyLog log;
    pm.AddNotifier(&log);
    ProbeTree tree;
    pm.AttachDialog(tree.pRoot);
    RepaintNow(wnd);
    pm.SetFocus(NULL);
    log.aTypes.clear();
    log.aSenders.clear();

    pm.SetFocus(tree.a);
    EXPECT_TRUE(tree.a->IsFocused());
    pm.SetFocus(tree.b);
    EXPECT_FALSE(tree.a->IsFocused());
    EXPECT_EQ(tree.b, pm.GetFocus());
    ASSERT_EQ(3u, log.aTypes.size());
    EXPECT_EQ(L"setfocus", log.aTypes[0]);
    EXPECT_EQ(L"killfocus", log.aTypes[1]);
    EXPECT_EQ(tree.a, log.aSenders[1]);
    EXPECT_EQ(L"setfocus", log.aTypes[2]);
    EXPECT_EQ(tree.b, log.aSenders[2]);

    // Refused: the focus is gone and nobody gets it.
    tree.c->SetEnabled(false);
    pm.SetFocus(tree.c);
    EXPECT_EQ(nullptr, pm.GetFocus());
    EXPECT_FALSE(tree.b->IsFocused());
    CProbeUI outsider;
    pm.SetFocus(&outsider);
    EXPECT_EQ(nullptr, pm.GetFocus());

    // Hiding the focused control drops the focus.
    pm.SetFocus(tree.a);
    tree.a->SetVisible(false);
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

    pm.SetInitSize(150, 80);
    EXPECT_EQ(150, WindowSize(wnd).cx);
    EXPECT_EQ(80, WindowSize(wnd).cy);
    pm.AttachDialog(new CBoxUI);
    pm.SetInitSize(300, 90);
    EXPECT_EQ(300, pm.GetInitSize().cx);
    EXPECT_EQ(150, WindowSize(wnd).cx);
    EXPECT_EQ(150, pm.GetClientSize().cx);
}
