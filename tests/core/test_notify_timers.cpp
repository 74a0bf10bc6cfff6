#include "core/PaintManagerUI.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestControls.h"
#include "controls/ControlUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

std::vector<std::wstring> g_aTrace;

bool TraceOwnNotify(void* pMsg)
{
    g_aTrace.push_back(L"own:" + std::wstring(static_cast<tagTNotifyUI*>(pMsg)->sNotifyType.GetData()));
    return false;  // the result does not stop the notifiers
}

class CTraceNotifier : public INotifyUI
{
public:
    explicit CTraceNotifier(const wchar_t* pstrTag) : m_sTag(pstrTag) {}
    void Notify(tagTNotifyUI& msg) override { g_aTrace.push_back(m_sTag + L":" + msg.sNotifyType.GetData()); }

private:
    std::wstring m_sTag;
};

// Sends or changes things from inside a delivery.
class CActingNotifier : public INotifyUI
{
public:
    void Notify(tagTNotifyUI& msg) override
    {
        g_aTrace.push_back(L"acting:" + std::wstring(msg.sNotifyType.GetData()));
        if (pQueueFrom != NULL && msg.sNotifyType == L"first") {
            pManager->SendNotify(pQueueFrom, L"chained", 0, 0, true);
        }
        if (pAdd != NULL) {
            pManager->AddNotifier(pAdd);
            pAdd = NULL;
        }
        if (bRemoveSelf) pManager->RemoveNotifier(this);
        if (pKillTimersOf != NULL) pManager->KillTimer(pKillTimersOf);
    }

    CPaintManagerUI* pManager = NULL;
    CControlUI* pQueueFrom = NULL;
    INotifyUI* pAdd = NULL;
    bool bRemoveSelf = false;
    CControlUI* pKillTimersOf = NULL;
};

class CQueueingFilter : public IMessageFilterUI
{
public:
    CQueueingFilter(CPaintManagerUI& pm, CControlUI* pSender) : m_pm(pm), m_pSender(pSender) {}
    LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool&) override
    {
        m_pm.SendNotify(m_pSender, L"fromfilter", 0, 0, true);
        return 0;
    }

private:
    CPaintManagerUI& m_pm;
    CControlUI* m_pSender;
};

class COrderFilter : public IMessageFilterUI
{
public:
    COrderFilter(const wchar_t* pstrTag, bool bConsume, LRESULT lResult = 0)
        : m_sTag(pstrTag), m_bConsume(bConsume), m_lResult(lResult)
    {
    }
    LRESULT MessageHandler(UINT, WPARAM, LPARAM, bool& bHandled) override
    {
        g_aTrace.push_back(m_sTag + (bHandled ? L":preset" : L""));
        if (pRemoveFrom != NULL) pRemoveFrom->RemoveMessageFilter(this);
        bHandled = m_bConsume;
        return m_lResult;
    }
    CPaintManagerUI* pRemoveFrom = NULL;

private:
    std::wstring m_sTag;
    bool m_bConsume;
    LRESULT m_lResult;
};

struct NotifyFixture : public ::testing::Test
{
    void SetUp() override
    {
        g_aTrace.clear();
        pRoot->Add(pProbe);
        pm.AttachDialog(pRoot);
    }

    CPaintManagerUI pm;
    CHostWindow wnd{pm, 200, 100};
    CBoxUI* pRoot = new CBoxUI;
    CProbeUI* pProbe = new CProbeUI(L"probe");
};

// The control that got the last timer event, found through the Win32 id.
CControlUI* TimerTarget(CPaintManagerUI& pm, UINT uWinTimer, std::vector<CProbeUI*> aProbes)
{
    for (CProbeUI* p : aProbes) p->aEvents.clear();
    LRESULT lRes = 0;
    EXPECT_FALSE(pm.MessageHandler(WM_TIMER, uWinTimer, 0, lRes));
    for (CProbeUI* p : aProbes) {
        if (!p->aEvents.empty() && p->aEvents.back() == SKIN_EVT_TIMER) return p;
    }
    return NULL;
}

} // namespace

TEST_F(NotifyFixture, OwnSourceFirstThenNotifiersInOrder)
{
    CTraceNotifier one(L"one"), two(L"two");
    pProbe->OnNotify += TraceOwnNotify;
    pm.AddNotifier(&one);
    pm.AddNotifier(&two);
    pm.AddNotifier(&one);

    pm.SendNotify(pProbe, L"click");
    std::vector<std::wstring> aExpected = {L"own:click", L"one:click", L"two:click", L"one:click"};
    EXPECT_EQ(aExpected, g_aTrace);

    EXPECT_TRUE(pm.RemoveNotifier(&one));
    g_aTrace.clear();
    pm.SendNotify(NULL, L"bare");
    aExpected = {L"two:bare", L"one:bare"};
    EXPECT_EQ(aExpected, g_aTrace);
    EXPECT_TRUE(pm.RemoveNotifier(&one));
    EXPECT_FALSE(pm.RemoveNotifier(&one));
}

TEST_F(NotifyFixture, QueuedNotificationsWaitForTheNextDelivery)
{
    CNotifyLog log;
    pm.AddNotifier(&log);
    pm.SendNotify(pProbe, L"one", 0, 0, true);
    pm.SendNotify(pProbe, L"two", 0, 0, true);
    EXPECT_TRUE(log.aTypes.empty());

    // Delivered, in order, before a handled message is handled.
    LRESULT lRes = 0;
    EXPECT_TRUE(pm.MessageHandler(WM_ERASEBKGND, 0, 0, lRes));
    std::vector<std::wstring> aExpected = {L"one", L"two"};
    EXPECT_EQ(aExpected, log.aTypes);

    // Queued during a handled message: waits for the next call.
    CQueueingFilter filter(pm, pProbe);
    pm.AddMessageFilter(&filter);
    EXPECT_TRUE(pm.MessageHandler(WM_ERASEBKGND, 0, 0, lRes));
    EXPECT_EQ(2u, log.aTypes.size());
    // Queued during an unhandled one: delivered at its end, after the earlier record.
    EXPECT_FALSE(pm.MessageHandler(WM_USER, 0, 0, lRes));
    aExpected = {L"one", L"two", L"fromfilter", L"fromfilter"};
    EXPECT_EQ(aExpected, log.aTypes);
    pm.RemoveMessageFilter(&filter);

    // A record queued by a receiver goes out in the same pass.
    CActingNotifier acting;
    acting.pManager = &pm;
    acting.pQueueFrom = pProbe;
    pm.AddNotifier(&acting);
    pm.SendNotify(pProbe, L"first", 0, 0, true);
    EXPECT_TRUE(pm.MessageHandler(WM_ERASEBKGND, 0, 0, lRes));
    EXPECT_EQ(L"chained", log.aTypes.back());
}

TEST_F(NotifyFixture, VirtualWindowNameAndDestroyedSenders)
{
    CNotifyLog log;
    pm.AddNotifier(&log);
    pRoot->SetVirtualWnd(L"Main");
    pm.SendNotify(pProbe, L"direct");
    pm.SendNotify(pProbe, L"queued", 0, 0, true);
    CProbeUI* pDoomed = new CProbeUI(L"doomed");
    pRoot->Add(pDoomed);
    pm.SendNotify(pDoomed, L"orphan", 0, 0, true);
    pm.SendNotify(NULL, L"nobody", 0, 0, true);
    pRoot->Detach(pDoomed);
    delete pDoomed;

    LRESULT lRes = 0;
    pm.MessageHandler(WM_ERASEBKGND, 0, 0, lRes);
    ASSERT_EQ(4u, log.aTypes.size());
    EXPECT_EQ(L"Main", log.aVirtualWnds[0]);
    EXPECT_EQ(L"Main", log.aVirtualWnds[1]);
    EXPECT_EQ(pProbe, log.aSenders[1]);
    EXPECT_EQ(L"orphan", log.aTypes[2]);
    EXPECT_EQ(nullptr, log.aSenders[2]);
    EXPECT_EQ(L"", log.aVirtualWnds[3]);
}

TEST_F(NotifyFixture, NotifierListMayChangeDuringDelivery)
{
    CTraceNotifier late(L"late");
    CActingNotifier acting;
    acting.pManager = &pm;
    acting.pAdd = &late;
    acting.bRemoveSelf = true;
    pm.AddNotifier(&acting);
    pm.SendNotify(pProbe, L"x");
    pm.SendNotify(pProbe, L"y");
    std::vector<std::wstring> aExpected = {L"acting:x", L"late:y"};
    EXPECT_EQ(aExpected, g_aTrace);
}

TEST_F(NotifyFixture, MessageFiltersInOrderFirstConsumerWins)
{
    COrderFilter first(L"first", false), second(L"second", true, 77), third(L"third", true);
    pm.AddMessageFilter(&first);
    pm.AddMessageFilter(&second);
    pm.AddMessageFilter(&third);
    LRESULT lRes = 0;
    EXPECT_TRUE(pm.MessageHandler(WM_ERASEBKGND, 0, 0, lRes));
    EXPECT_EQ(77, lRes);
    std::vector<std::wstring> aExpected = {L"first", L"second"};
    EXPECT_EQ(aExpected, g_aTrace);

    // A filter that removes itself keeps the walk within the list.
    first.pRemoveFrom = &pm;
    EXPECT_TRUE(pm.RemoveMessageFilter(&second));
    EXPECT_FALSE(pm.RemoveMessageFilter(&second));
    g_aTrace.clear();
    pm.MessageHandler(WM_USER, 0, 0, lRes);
    ASSERT_FALSE(g_aTrace.empty());
    EXPECT_EQ(L"first", g_aTrace.front());
    EXPECT_FALSE(pm.RemoveMessageFilter(&first));
}

TEST_F(NotifyFixture, TimerIdsStartAt17AndReArmUnderTheSameId)
{
    CProbeUI* other = new CProbeUI(L"other");
    pRoot->Add(other);
    CPaintManagerUI pmWithoutWindow;
    EXPECT_FALSE(pmWithoutWindow.SetTimer(pProbe, 1, 10));
    EXPECT_FALSE(pm.SetTimer(NULL, 1, 100000));
    ASSERT_TRUE(pm.SetTimer(pProbe, 5, 100000));
    EXPECT_FALSE(pm.SetTimer(pProbe, 5, 100000));
    ASSERT_TRUE(pm.SetTimer(other, 5, 100000));
    EXPECT_EQ(pProbe, TimerTarget(pm, 17, {pProbe, other}));
    EXPECT_EQ(other, TimerTarget(pm, 18, {pProbe, other}));

    EXPECT_TRUE(pm.KillTimer(pProbe, 5));
    EXPECT_FALSE(pm.KillTimer(pProbe, 5));
    EXPECT_EQ(nullptr, TimerTarget(pm, 17, {pProbe, other}));
    EXPECT_EQ(other, TimerTarget(pm, 18, {pProbe, other}));
    EXPECT_TRUE(pm.SetTimer(pProbe, 5, 100000));
    EXPECT_EQ(pProbe, TimerTarget(pm, 17, {pProbe, other}));

    // Freed entries do not re-arm: a new timer takes a new id.
    pm.KillTimer(pProbe);
    EXPECT_EQ(nullptr, TimerTarget(pm, 17, {pProbe, other}));
    ASSERT_TRUE(pm.SetTimer(pProbe, 5, 100000));
    EXPECT_EQ(pProbe, TimerTarget(pm, 19, {pProbe, other}));
}

TEST_F(NotifyFixture, TimerIdsWrapFrom254To0AndNeverStealALiveId)
{
    CProbeUI* first = new CProbeUI(L"first");
    CProbeUI* many = new CProbeUI(L"many");
    CProbeUI* late = new CProbeUI(L"late");
    pRoot->Add(first);
    pRoot->Add(many);
    pRoot->Add(late);
    ASSERT_TRUE(pm.SetTimer(first, 1, 100000));  // id 17
    for (UINT n = 2; n <= 239; n++) ASSERT_TRUE(pm.SetTimer(many, n, 100000)) << n;
    // The 239th timer of this manager took id 0.
    CNotifyLog log;
    pm.AddNotifier(&log);
    EXPECT_EQ(many, TimerTarget(pm, 0, {first, many, late}));
    ASSERT_EQ(1u, log.aParams.size());
    EXPECT_EQ(239u, log.aParams[0]);
    for (UINT n = 240; n <= 255; n++) ASSERT_TRUE(pm.SetTimer(many, n, 100000)) << n;

    // All 255 ids are held: refused rather than taken from another control.
    EXPECT_FALSE(pm.SetTimer(late, 1, 100000));
    EXPECT_EQ(first, TimerTarget(pm, 17, {first, many, late}));

    pm.KillTimer(first);
    ASSERT_TRUE(pm.SetTimer(late, 1, 100000));
    EXPECT_EQ(late, TimerTarget(pm, 17, {first, many, late}));
}

TEST_F(NotifyFixture, TimerEventBecomesTimerNotification)
{
    CNotifyLog log;
    pm.AddNotifier(&log);
    ASSERT_TRUE(pm.SetTimer(pProbe, 42, 10));
    DWORD dwStart = ::GetTickCount();
    while (log.Count(L"timer") == 0 && ::GetTickCount() - dwStart < 2000) {
        PumpMessages();
        ::Sleep(5);
    }
    size_t iTimer = std::find(log.aTypes.begin(), log.aTypes.end(), L"timer") - log.aTypes.begin();
    ASSERT_LT(iTimer, log.aTypes.size());
    EXPECT_EQ(42u, log.aParams[iTimer]);
    EXPECT_EQ(pProbe, log.aSenders[iTimer]);

    // A receiver that frees the timer while it fires.
    CActingNotifier killer;
    killer.pManager = &pm;
    killer.pKillTimersOf = pProbe;
    pm.AddNotifier(&killer);
    LRESULT lRes = 0;
    EXPECT_FALSE(pm.MessageHandler(WM_TIMER, 17, 0, lRes));
    EXPECT_FALSE(pm.KillTimer(pProbe, 42));
    g_aTrace.clear();
    pm.MessageHandler(WM_TIMER, 17, 0, lRes);
    EXPECT_TRUE(g_aTrace.empty());
}
