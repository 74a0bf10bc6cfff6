// Message maps: which handler a notification reaches within one table and
// along the chain of base tables, handler forms, a pump that is a class's
// second base, and routing to virtual windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ControlUI.h"
#include "core/NotifyPump.h"

using namespace SkinLib;

namespace {

std::vector<std::string> g_calls;

class CBasePump : public CNotifyPump
{
public:
    void OnAnyClick(tagTNotifyUI&) { g_calls.push_back("base: any click"); }
    void OnLaterAnyClick(tagTNotifyUI&) { g_calls.push_back("base: later any click"); }
    void OnOkClick(tagTNotifyUI&) { g_calls.push_back("base: ok click"); }
    void OnMenu(tagTNotifyUI&) { g_calls.push_back("base: menu"); }
    void OnValue(WPARAM wParam, LPARAM lParam)
    {
        g_calls.push_back("base: value " + std::to_string(wParam) + "," + std::to_string(lParam));
    }

    SKIN_DECLARE_MESSAGE_MAP()
};

SKIN_BEGIN_MESSAGE_MAP(CBasePump, CNotifyPump)
    SKIN_ON_NOTIFY(L"click", L"", CBasePump::OnAnyClick)
    SKIN_ON_NOTIFY(L"click", L"btn_ok", CBasePump::OnOkClick)
    SKIN_ON_NOTIFY(L"click", L"", CBasePump::OnLaterAnyClick)
    SKIN_ON_NOTIFY(L"menu", L"", CBasePump::OnMenu)
    SKIN_ON_NOTIFY_PARAMS(L"valuechanged", L"", CBasePump::OnValue)
SKIN_END_MESSAGE_MAP()

class CDerivedPump : public CBasePump
{
public:
    void OnTimer(tagTNotifyUI&) { g_calls.push_back("derived: timer"); }
    void OnAnyClick(tagTNotifyUI&) { g_calls.push_back("derived: any click"); }

    SKIN_DECLARE_MESSAGE_MAP()
};

SKIN_BEGIN_MESSAGE_MAP(CDerivedPump, CBasePump)
    SKIN_ON_NOTIFY(L"timer", L"", CDerivedPump::OnTimer)
    SKIN_ON_NOTIFY(L"click", L"", CDerivedPump::OnAnyClick)
    // A signature the pump does not know: the notification stops here.
    { L"menu", L"", 7, {} },
SKIN_END_MESSAGE_MAP()

// The pump is the second base, so its address differs from the object's.
class CFirstBase
{
public:
    virtual ~CFirstBase() = default;
    int m_aPadding[8] = {};
};

class CSecondBasePump : public CFirstBase, public CNotifyPump
{
public:
    void OnClick(tagTNotifyUI&) { m_pSeenThis = this; }
    void OnValue(WPARAM, LPARAM) { m_pSeenThis = this; }

    const void* m_pSeenThis = NULL;

    SKIN_DECLARE_MESSAGE_MAP()
};

SKIN_BEGIN_MESSAGE_MAP(CSecondBasePump, CNotifyPump)
    SKIN_ON_NOTIFY(L"click", L"", CSecondBasePump::OnClick)
    SKIN_ON_NOTIFY_PARAMS(L"valuechanged", L"", CSecondBasePump::OnValue)
SKIN_END_MESSAGE_MAP()

// A pump that records which of several it is.
class CNamedPump : public CNotifyPump
{
public:
    explicit CNamedPump(const char* pstrName) : m_pstrName(pstrName) {}
    void OnClick(tagTNotifyUI&) { g_calls.push_back(m_pstrName); }

    const char* m_pstrName;

    SKIN_DECLARE_MESSAGE_MAP()
};

SKIN_BEGIN_MESSAGE_MAP(CNamedPump, CNotifyPump)
    SKIN_ON_NOTIFY(L"click", L"", CNamedPump::OnClick)
SKIN_END_MESSAGE_MAP()

tagTNotifyUI Notification(const wchar_t* pstrType, CControlUI* pSender, const wchar_t* pstrVirtualWnd = L"")
{
    tagTNotifyUI msg = {};
    msg.sNotifyType = pstrType;
    msg.sVirtualWndName = pstrVirtualWnd;
    msg.pSenderControl = pSender;
    msg.wNotifyParam = 3;
    msg.lNotifyParam = -4;
    return msg;
}

struct NotifyPumpTest : ::testing::Test
{
    void SetUp() override
    {
        g_calls.clear();
        ok.SetName(L"btn_ok");
        other.SetName(L"btn_other");
    }
    CControlUI ok, other;
};

} // namespace

TEST_F(NotifyPumpTest, WithinOneTableANamedEntryWinsAndOtherwiseTheLastForAnySender)
{
    CBasePump pump;
    struct { CControlUI* sender; const wchar_t* type; bool handled; const char* call; } cases[] = {
        { &ok, L"click", true, "base: ok click" },
        { &other, L"click", true, "base: later any click" },
        { NULL, L"click", true, "base: later any click" },  // a null sender has no name
        { &ok, L"Click", false, NULL },                       // types match exactly
        { &ok, L"valuechanged", true, "base: value 3,-4" },
        { &ok, L"textchanged", false, NULL },
    };
    for (const auto& c : cases) {
        g_calls.clear();
        tagTNotifyUI msg = Notification(c.type, c.sender);
        EXPECT_EQ(pump.LoopDispatch(msg), c.handled) << c.call;
        EXPECT_EQ(g_calls, c.call != NULL ? std::vector<std::string>{c.call} : std::vector<std::string>{});
    }
}

TEST_F(NotifyPumpTest, TheDerivedTableIsSearchedWhollyBeforeItsBase)
{
    CDerivedPump pump;
    struct { const wchar_t* type; bool handled; const char* call; } cases[] = {
        { L"click", true, "derived: any click" },  // beats the base's entry naming btn_ok
        { L"timer", true, "derived: timer" },
        { L"valuechanged", true, "base: value 3,-4" },
        { L"menu", false, NULL },  // an unknown signature ends the search
    };
    for (const auto& c : cases) {
        g_calls.clear();
        tagTNotifyUI msg = Notification(c.type, &ok);
        EXPECT_EQ(pump.LoopDispatch(msg), c.handled) << c.call;
        EXPECT_EQ(g_calls, c.call != NULL ? std::vector<std::string>{c.call} : std::vector<std::string>{});
    }
}

TEST_F(NotifyPumpTest, HandlersOfAClassWhosePumpIsNotItsFirstBaseGetTheWholeObject)
{
    CSecondBasePump object;
    CNotifyPump* pPump = &object;
    ASSERT_NE(static_cast<const void*>(pPump), static_cast<const void*>(&object));
    for (const wchar_t* pstrType : { L"click", L"valuechanged" }) {
        object.m_pSeenThis = NULL;
        tagTNotifyUI msg = Notification(pstrType, &ok);
        EXPECT_TRUE(pPump->LoopDispatch(msg));
        EXPECT_EQ(object.m_pSeenThis, &object) << pstrType;
    }
}

TEST_F(NotifyPumpTest, VirtualWindowsAreMatchedIgnoringCaseAndTheFirstHandlerEndsTheRouting)
{
    CNamedPump window("window"), first("first"), second("second");
    CBasePump deaf;  // handles no "timer"
    EXPECT_TRUE(window.AddVirtualWnd(L"main", &first));
    EXPECT_FALSE(window.AddVirtualWnd(L"main", &second));
    EXPECT_TRUE(window.AddVirtualWnd(L"MAIN", &second));
    EXPECT_TRUE(window.AddVirtualWnd(L"ghost", NULL));
    EXPECT_TRUE(window.AddVirtualWnd(L"side", &deaf));

    tagTNotifyUI msg = Notification(L"click", &ok, L"Main");
    window.NotifyPump(msg);
    ASSERT_EQ(g_calls.size(), 1u) << "one of the two pumps named alike";

    struct { const wchar_t* type; const wchar_t* virtualWnd; std::vector<std::string> calls; } cases[] = {
        { L"click", L"ghost", { "window" } },  // a registration without a pump is skipped
        { L"click", L"nobody", { "window" } },
        { L"click", L"", { "window" } },
        { L"click", L"SIDE", { "base: later any click" } },
    };
    for (const auto& c : cases) {
        g_calls.clear();
        msg = Notification(c.type, &other, c.virtualWnd);
        window.NotifyPump(msg);
        EXPECT_EQ(g_calls, c.calls);
    }
    EXPECT_TRUE(window.RemoveVirtualWnd(L"side"));
    EXPECT_FALSE(window.RemoveVirtualWnd(L"side"));
    EXPECT_FALSE(window.RemoveVirtualWnd(L"unknown"));
}
