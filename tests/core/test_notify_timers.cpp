#include "core/PaintManagerUI.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestControls.h"
#include "WaitUntil.h"
#include "controls/ControlUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

typedef std::vector<std::wstring> Trace;
Trace g_aTrace;

bool TraceOwnNotify(void* pMsg)
{
    g_aTrace.push_back(L"own:" + std::wstring(static_cast<tagTNotifyUI*>(pMsg)->sNotifyType.GetData()));
    return false;  // the result does not stop the notifiers
}

// Traces what it receives as a notifier or a message filter (marking a message
// that comes already handled) and, when told to, acts from inside the delivery.
struct CTracer : INotifyUI, IMessageFilterUI
{
    explicit CTracer(const wchar_t* pstrTag, CPaintManagerUI* pm) : sTag(pstrTag), pManager(pm) {}
    void Notify(tagTNotifyUI& msg) override
    {
        g_aTrace.push_back(sTag + L":" + msg.sNotifyType.GetData());
        if (pChainFrom != NULL && msg.sNotifyType == L"first") pManager->SendNotify(pChainFrom, L"chained", 0, 0, true);
        if (pAdd != NULL) pManager->AddNotifier(pAdd);
        pAdd = NULL;
        if (bRemoveSelf) pManager->RemoveNotifier(this);
        if (pKillTimersOf != NULL) pManager->KillTimer(pKillTimersOf);
        if (pSetTimerFor != NULL) pManager->SetTimer(pSetTimerFor, 1, 100000);
    }
    LRESULT MessageHandler(UINT, WPARAM, LPARAM, bool& bHandled) override
    {
        g_aTrace.push_back(sTag + (bHandled ? L":preset" : L""));
        if (pQueueFrom != NULL) pManager->SendNotify(pQueueFrom, L"fromfilter", 0, 0, true);
        if (bRemoveSelf) pManager->RemoveMessageFilter(this);
        bHandled = bConsume;
        return lResult;
    }

    std::wstring sTag;
    CPaintManagerUI* pManager;
    bool bConsume = false, bRemoveSelf = false;
    LRESULT lResult = 0;
    CControlUI *pQueueFrom = NULL, *pChainFrom = NULL, *pKillTimersOf = NULL, *pSetTimerFor = NULL;
    INotifyUI* pAdd = NULL;
};

struct Notify : ::testing::Test, CManagedTree
{
    void SetUp() override { g_aTrace.clear(); }

    // The probe that got the timer event of a Win32 timer id, if any.
    CControlUI* TimerTarget(UINT uWinTimer)
    {
        for (CProbeUI* p : {a, b, c}) p->aEvents.clear();
        EXPECT_FALSE(Handle(WM_TIMER, uWinTimer));
        for (CProbeUI* p : {a, b, c}) {
            if (!p->aEvents.empty() && p->aEvents.back() == SKIN_EVT_TIMER) return p;
        }
        return NULL;
    }
};

} // namespace

TEST_F(Notify, OwnSourceFirstThenNotifiersInOrderAndTheListMayChangeDuringDelivery)
{
    CTracer one(L"one", &pm), two(L"two", &pm);
    a->OnNotify += TraceOwnNotify;
    pm.AddNotifier(&one);
    pm.AddNotifier(&two);
    pm.AddNotifier(&one);
    pm.SendNotify(a, L"click");
    EXPECT_EQ((Trace{L"own:click", L"one:click", L"two:click", L"one:click"}), g_aTrace);

    // Removing takes out one entry at a time.
    EXPECT_TRUE(pm.RemoveNotifier(&one));
    g_aTrace.clear();
    pm.SendNotify(NULL, L"bare");
    EXPECT_EQ((Trace{L"two:bare", L"one:bare"}), g_aTrace);
    EXPECT_TRUE(pm.RemoveNotifier(&one));
    EXPECT_FALSE(pm.RemoveNotifier(&one));
    pm.RemoveNotifier(&two);

    // The list may change during a delivery.
    CTracer late(L"late", &pm), acting(L"acting", &pm);
    acting.pAdd = &late;
    acting.bRemoveSelf = true;
    pm.AddNotifier(&acting);
    g_aTrace.clear();
    pm.SendNotify(NULL, L"x");
    pm.SendNotify(NULL, L"y");
    EXPECT_EQ((Trace{L"acting:x", L"late:y"}), g_aTrace);
}

TEST_F(Notify, QueuedNotificationsWaitForTheNextDelivery)
{
    pm.SendNotify(a, L"one", 0, 0, true);
    pm.SendNotify(a, L"two", 0, 0, true);
    EXPECT_TRUE(log.aTypes.empty());

    // Delivered, in order, before a handled message is handled.
    EXPECT_TRUE(Handle(WM_ERASEBKGND));
    EXPECT_EQ((Trace{L"one", L"two"}), log.aTypes);

    // Queued during a handled message: waits for the next call. Queued during
    // an unhandled one: delivered at its end, after the earlier record.
    CTracer filter(L"filter", &pm);
    filter.pQueueFrom = a;
    pm.AddMessageFilter(&filter);
    EXPECT_TRUE(Handle(WM_ERASEBKGND));
    EXPECT_EQ(2u, log.aTypes.size());
    EXPECT_FALSE(Handle(WM_USER));
    EXPECT_EQ((Trace{L"one", L"two", L"fromfilter", L"fromfilter"}), log.aTypes);
    pm.RemoveMessageFilter(&filter);

    // A record queued by a receiver goes out in the same pass.
    CTracer acting(L"acting", &pm);
    acting.pChainFrom = a;
    pm.AddNotifier(&acting);
    pm.SendNotify(a, L"first", 0, 0, true);
    EXPECT_TRUE(Handle(WM_ERASEBKGND));
    EXPECT_EQ(L"chained", log.aTypes.back());
}

TEST_F(Notify, VirtualWindowNameAndDestroyedSenders)
{
    pRoot->SetVirtualWnd(L"Main");
    pm.SendNotify(a, L"direct");
    pm.SendNotify(a, L"queued", 0, 0, true);
    pm.SendNotify(c, L"orphan", 0, 0, true);
    pm.SendNotify(NULL, L"nobody", 0, 0, true);
    CProbeUI* pDoomed = c;
    pRoot->Detach(pDoomed);
    delete pDoomed;

    Handle(WM_ERASEBKGND);
    EXPECT_EQ((Trace{L"direct", L"queued", L"orphan", L"nobody"}), log.aTypes);
    EXPECT_EQ((Trace{L"Main", L"Main", L"Main", L""}), log.aVirtualWnds);
    EXPECT_EQ((std::vector<CControlUI*>{a, a, nullptr, nullptr}), log.aSenders);
}

TEST_F(Notify, MessageFiltersInOrderFirstConsumerWins)
{
    CTracer first(L"first", &pm), second(L"second", &pm), third(L"third", &pm);
    second.bConsume = third.bConsume = true;
    second.lResult = 77;
    pm.AddMessageFilter(&first);
    pm.AddMessageFilter(&second);
    pm.AddMessageFilter(&third);
    LRESULT lRes = 0;
    EXPECT_TRUE(pm.MessageHandler(WM_ERASEBKGND, 0, 0, lRes));
    EXPECT_EQ(77, lRes);
    EXPECT_EQ((Trace{L"first", L"second"}), g_aTrace);

    // A filter that removes itself keeps the walk within the list.
    first.bRemoveSelf = true;
    EXPECT_TRUE(pm.RemoveMessageFilter(&second));
    g_aTrace.clear();
    Handle(WM_USER);
    ASSERT_FALSE(g_aTrace.empty());
    EXPECT_EQ(L"first", g_aTrace.front());
    EXPECT_FALSE(pm.RemoveMessageFilter(&first));
}

TEST_F(Notify, TimerIdsStartAt17AndReArmUnderTheSameId)
{
    CPaintManagerUI pmWithoutWindow;
    EXPECT_FALSE(pmWithoutWindow.SetTimer(a, 1, 10));
    EXPECT_FALSE(pm.SetTimer(NULL, 1, 100000));
    ASSERT_TRUE(pm.SetTimer(a, 5, 100000));
    EXPECT_FALSE(pm.SetTimer(a, 5, 100000));
    ASSERT_TRUE(pm.SetTimer(b, 5, 100000));
    EXPECT_EQ(a, TimerTarget(17));
    EXPECT_EQ(b, TimerTarget(18));

    EXPECT_TRUE(pm.KillTimer(a, 5));
    EXPECT_FALSE(pm.KillTimer(a, 5));
    EXPECT_EQ(nullptr, TimerTarget(17));
    EXPECT_EQ(b, TimerTarget(18));
    EXPECT_TRUE(pm.SetTimer(a, 5, 100000));
    EXPECT_EQ(a, TimerTarget(17));

    // Freed entries do not re-arm: a new timer takes a new id.
    pm.KillTimer(a);
    EXPECT_EQ(nullptr, TimerTarget(17));
    ASSERT_TRUE(pm.SetTimer(a, 5, 100000));
    EXPECT_EQ(a, TimerTarget(19));
}

TEST_F(Notify, TimerIdsWrapFrom254To0AndNeverStealALiveId)
{
    ASSERT_TRUE(pm.SetTimer(a, 1, 100000));  // id 17
    for (UINT n = 2; n <= 239; n++) ASSERT_TRUE(pm.SetTimer(b, n, 100000)) << n;
    // The 239th timer of this manager took id 0.
    log.Clear();
    EXPECT_EQ(b, TimerTarget(0));
    EXPECT_EQ(std::vector<WPARAM>{239u}, log.aParams);
    for (UINT n = 240; n <= 255; n++) ASSERT_TRUE(pm.SetTimer(b, n, 100000)) << n;

    // All 255 ids are held: refused rather than taken from another control.
    EXPECT_FALSE(pm.SetTimer(c, 1, 100000));
    // a's handler frees id 17 and c takes it: that WM_TIMER still stops at a.
    CTracer handOver(L"handover", &pm);
    handOver.pKillTimersOf = a;
    handOver.pSetTimerFor = c;
    pm.AddNotifier(&handOver);
    EXPECT_EQ(a, TimerTarget(17));
    EXPECT_TRUE(c->aEvents.empty());
    pm.RemoveNotifier(&handOver);
    EXPECT_EQ(c, TimerTarget(17));
}

TEST_F(Notify, TimerEventBecomesTimerNotificationAndStopsAtTheFirstMatch)
{
    ASSERT_TRUE(pm.SetTimer(a, 42, 10));
    WaitUntil([&] {
        PumpMessages();
        return log.Count(L"timer") != 0;
    });
    size_t iTimer = std::find(log.aTypes.begin(), log.aTypes.end(), L"timer") - log.aTypes.begin();
    ASSERT_LT(iTimer, log.aTypes.size());
    EXPECT_EQ(42u, log.aParams[iTimer]);
    EXPECT_EQ(a, log.aSenders[iTimer]);

    // A receiver that frees the timer while it fires.
    CTracer killer(L"killer", &pm);
    killer.pKillTimersOf = a;
    pm.AddNotifier(&killer);
    EXPECT_FALSE(Handle(WM_TIMER, 17));
    EXPECT_FALSE(pm.KillTimer(a, 42));
    g_aTrace.clear();
    Handle(WM_TIMER, 17);
    EXPECT_TRUE(g_aTrace.empty());
}
