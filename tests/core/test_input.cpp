// Mouse and keyboard dispatch, focus and tooltips on a real window, driven by
// sent and posted messages.
#include "core/PaintManagerUI.h"

#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "PoisonedDelete.h"
#include "TestControls.h"
#include "controls/ControlUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

const int kParkX = 1200, kParkY = 1000;

LPARAM At(int x, int y)
{
    return MAKELPARAM(x, y);
}

// Wheel and context-menu messages carry screen coordinates.
LPARAM ScreenAt(HWND hWnd, int x, int y)
{
    POINT pt = {x, y};
    ::ClientToScreen(hWnd, &pt);
    return MAKELPARAM(pt.x, pt.y);
}

std::vector<tagTEventUI> EventsOf(const CProbeUI* p, int nType)
{
    std::vector<tagTEventUI> aFound;
    for (const tagTEventUI& event : p->aEventRecords) {
        if (event.nEventType == nType) aFound.push_back(event);
    }
    return aFound;
}

// A probe that event hooks may delete; any later call through it falls over.
class CMortalProbeUI : public CPoisonedOnDelete<CProbeUI>
{
public:
    using CPoisonedOnDelete::CPoisonedOnDelete;

    // Runs before the event is recorded; returning true means the hook deleted the probe.
    std::function<bool(CMortalProbeUI*, tagTEventUI&)> onEvent;

    void DoEvent(tagTEventUI& event) override
    {
        if (onEvent && onEvent(this, event)) return;
        CProbeUI::DoEvent(event);
    }
};

// A button stand-in: "click" when the button comes up inside the control after a press on it.
class CClickProbeUI : public CProbeUI
{
public:
    using CProbeUI::CProbeUI;
    void DoEvent(tagTEventUI& event) override
    {
        if (event.nEventType == SKIN_EVT_BUTTONDOWN) m_bPressed = true;
        if (event.nEventType == SKIN_EVT_BUTTONUP) {
            if (m_bPressed && ::PtInRect(&GetPos(), event.ptMousePos)) m_pManager->SendNotify(this, L"click");
            m_bPressed = false;
        }
        CProbeUI::DoEvent(event);
    }

private:
    bool m_bPressed = false;
};

// Keeps the keyboard state of the thread as the test found it.
struct Input : ::testing::Test, CManagedTree
{
    void SetUp() override
    {
        ::GetKeyboardState(m_abKeys);
        // The real pointer stays away from the test windows, which all sit at the screen's corner.
        ::SetCursorPos(kParkX, kParkY);
        RepaintNow(wnd);
        PumpMessages();
        // The first paint focused the first tab stop; each case starts from none.
        pm.SetFocus(NULL);
        for (CProbeUI* p : {a, b, c}) p->aEvents.clear(), p->aEventRecords.clear();
        log.Clear();
    }
    void TearDown() override
    {
        ::SetKeyboardState(m_abKeys);
        PumpMessages();
        CMortalProbeUI::FreeGraveyard();
    }
    LRESULT Send(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) { return ::SendMessageW(wnd, uMsg, wParam, lParam); }
    void Post(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) { ::PostMessageW(wnd, uMsg, wParam, lParam); }
    void SetKeysDown(std::initializer_list<int> aKeys)
    {
        BYTE abKeys[256] = {};
        for (int vk : aKeys) abKeys[vk] = 0x80;
        ::SetKeyboardState(abKeys);
    }
    bool Translate(WPARAM vk)
    {
        MSG msg = {wnd, WM_KEYDOWN, vk, 0};
        return CPaintManagerUI::TranslateMessage(&msg);
    }
    // Adds a probe to the root, lays it out and returns it.
    template <class T> T* AddProbe(T* p)
    {
        pRoot->Add(p);
        RepaintNow(wnd);
        return p;
    }
    // Takes a control out of the tree and deletes it, as a parent does.
    void DeleteThroughParent(CControlUI* p)
    {
        pRoot->Detach(p);
        delete p;
    }

    BYTE m_abKeys[256];
};

// A native child window that answers its reflected notifications.
struct CChild
{
    static LRESULT CALLBACK Proc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        if (uMsg >= 0x2000 && uMsg < 0x3000) {
            s_aSeen.push_back(uMsg);
            return 0x5A;
        }
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    static std::vector<UINT> s_aSeen;
};
std::vector<UINT> CChild::s_aSeen;

} // namespace

TEST_F(Input, PressFollowsTheMouseOutsideTheWindowUntilTheButtonComesUp)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, At(5, 5));
    EXPECT_EQ(a, pm.GetFocus());
    EXPECT_TRUE(pm.IsCaptured());
    EXPECT_EQ(static_cast<HWND>(wnd), ::GetCapture());
    Post(WM_MOUSEMOVE, MK_LBUTTON, At(50, 50));
    Post(WM_MOUSEMOVE, MK_LBUTTON, At(300, 250));
    Post(WM_LBUTTONUP, 0, At(300, 250));
    PumpMessages();

    std::vector<tagTEventUI> aDown = EventsOf(a, SKIN_EVT_BUTTONDOWN);
    ASSERT_EQ(1u, aDown.size());
    EXPECT_EQ(MK_LBUTTON | MK_CONTROL, aDown[0].wModifierKeys);
    EXPECT_EQ(a, aDown[0].pSenderControl);
    EXPECT_EQ(At(5, 5), aDown[0].lMsgParam);
    // The system may add moves of its own where the real cursor is; the posted ones arrive in order.
    std::vector<LONG> aMoveX;
    for (const tagTEventUI& event : EventsOf(a, SKIN_EVT_MOUSEMOVE)) {
        if (event.ptMousePos.x == 50 || event.ptMousePos.x == 300) aMoveX.push_back(event.ptMousePos.x);
    }
    EXPECT_EQ((std::vector<LONG>{50, 300}), aMoveX);
    ASSERT_EQ(SKIN_EVT_BUTTONUP, a->aEvents.back());
    EXPECT_EQ(250, a->aEventRecords.back().ptMousePos.y);
    EXPECT_FALSE(pm.IsCaptured());
    EXPECT_EQ(nullptr, ::GetCapture());

    // Released: moves go to whatever is under the mouse again.
    const size_t nEvents = a->aEvents.size();
    Send(WM_MOUSEMOVE, 0, At(25, 5));
    EXPECT_EQ(nEvents, a->aEvents.size());
    EXPECT_EQ(SKIN_EVT_MOUSEMOVE, b->aEvents.back());
}

TEST_F(Input, MovingFromOneControlToAnotherLeavesEntersAndMoves)
{
    Send(WM_MOUSEMOVE, 0, At(5, 5));
    Send(WM_MOUSEMOVE, 0, At(6, 5));
    Send(WM_MOUSEMOVE, 0, At(25, 5));
    EXPECT_EQ((std::vector<int>{SKIN_EVT_MOUSEENTER, SKIN_EVT_MOUSEMOVE, SKIN_EVT_MOUSEMOVE, SKIN_EVT_MOUSELEAVE}),
              a->aEvents);
    EXPECT_EQ((std::vector<int>{SKIN_EVT_MOUSEENTER, SKIN_EVT_MOUSEMOVE}), b->aEvents);
    EXPECT_EQ(25, pm.GetMousePos().x);
    // The leave carries the point that left.
    EXPECT_EQ(25, a->aEventRecords.back().ptMousePos.x);

    // A move to nowhere (as the window's own mouse-leave sends) ends the hover.
    Send(WM_MOUSEMOVE, 0, At(-1, -1));
    EXPECT_EQ(SKIN_EVT_MOUSELEAVE, b->aEvents.back());
}

TEST(InputWithoutRoot, MessagesThatLookForAControlAreIgnored)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 100, 50);
    for (UINT uMsg : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MOUSEHOVER, WM_MOUSEWHEEL}) {
        LRESULT lRes = 0;
        EXPECT_FALSE(pm.MessageHandler(uMsg, MK_LBUTTON, At(5, 5), lRes)) << uMsg;
    }
    LRESULT lRes = 0;
    EXPECT_FALSE(pm.MessageHandler(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), lRes));
    EXPECT_FALSE(pm.IsCaptured());
    EXPECT_EQ(nullptr, pm.GetTooltipWindow());
    EXPECT_EQ(-1, pm.GetMousePos().y);
    for (UINT uMsg : {WM_LBUTTONUP, WM_CONTEXTMENU, WM_MOUSELEAVE}) EXPECT_FALSE(pm.MessageHandler(uMsg, 0, At(5, 5), lRes));
}

TEST_F(Input, WheelTowardsTheUserIsOneAndAwayIsZero)
{
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), ScreenAt(wnd, 25, 5));
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), ScreenAt(wnd, 25, 5));
    std::vector<tagTEventUI> aWheel = EventsOf(b, SKIN_EVT_SCROLLWHEEL);
    ASSERT_EQ(2u, aWheel.size());
    EXPECT_EQ(1u, aWheel[0].wMsgParam);
    EXPECT_EQ(0u, aWheel[1].wMsgParam);
    EXPECT_EQ(25, aWheel[0].ptMousePos.x);
    // The wheel's own move makes the control under it the hovered one.
    EXPECT_EQ(SKIN_EVT_MOUSEENTER, b->aEvents[1]);
}

TEST_F(Input, KeysGoToTheFocusWithTheModifierWord)
{
    a->SetFocus();
    a->aEventRecords.clear();
    SetKeysDown({VK_CONTROL, VK_LBUTTON});
    Send(WM_MOUSEMOVE, 0, At(45, 5));
    Send(WM_KEYDOWN, 'A');
    Send(WM_CHAR, 'a');
    // The key control gets the key-up even after the focus moved on.
    b->SetFocus();
    Send(WM_KEYUP, 'A');
    ASSERT_EQ(4u, a->aEventRecords.size());
    const tagTEventUI& down = a->aEventRecords[0];
    EXPECT_EQ(SKIN_EVT_KEYDOWN, down.nEventType);
    EXPECT_EQ(MK_CONTROL | MK_LBUTTON, down.wModifierKeys);
    EXPECT_EQ(L'A', down.chKeyCode);
    EXPECT_EQ(nullptr, down.pSenderControl);
    EXPECT_EQ(45, down.ptMousePos.x);
    EXPECT_EQ(SKIN_EVT_CHAR, a->aEventRecords[1].nEventType);
    EXPECT_EQ(L'a', a->aEventRecords[1].chKeyCode);
    EXPECT_EQ(SKIN_EVT_KILLFOCUS, a->aEventRecords[2].nEventType);
    EXPECT_EQ(SKIN_EVT_KEYUP, a->aEventRecords[3].nEventType);
    // Once up, the key belongs to nobody.
    Send(WM_KEYUP, 'A');
    EXPECT_EQ(4u, a->aEventRecords.size());
    EXPECT_TRUE(EventsOf(b, SKIN_EVT_KEYUP).empty());
}

TEST_F(Input, OtherButtonsCaptureAndTheContextMenuEndsThePress)
{
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, At(25, 5));
    EXPECT_EQ(SKIN_EVT_DBLCLICK, b->aEvents.back());
    EXPECT_TRUE(pm.IsCaptured());
    EXPECT_EQ(nullptr, pm.GetFocus());  // a double click does not focus
    Send(WM_LBUTTONUP, 0, At(25, 5));
    EXPECT_EQ(SKIN_EVT_BUTTONUP, b->aEvents.back());

    Send(WM_RBUTTONDOWN, MK_RBUTTON, At(5, 5));
    EXPECT_EQ(SKIN_EVT_RBUTTONDOWN, a->aEvents.back());
    EXPECT_EQ(a, pm.GetFocus());
    Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(static_cast<HWND>(wnd)), ScreenAt(wnd, 7, 8));
    ASSERT_EQ(SKIN_EVT_CONTEXTMENU, a->aEvents.back());
    EXPECT_EQ(reinterpret_cast<LPARAM>(a), a->aEventRecords.back().lMsgParam);
    EXPECT_EQ(8, a->aEventRecords.back().ptMousePos.y);
    EXPECT_FALSE(pm.IsCaptured());
}

TEST_F(Input, TabMovesThroughPostedKeysAndWaitsForAPendingLayout)
{
    SetKeysDown({});
    a->SetFocus();
    Post(WM_KEYDOWN, VK_TAB);
    PumpThroughManager();
    EXPECT_EQ(b, pm.GetFocus());
    Post(WM_KEYDOWN, VK_TAB);
    PumpThroughManager();
    EXPECT_EQ(a, pm.GetFocus());
    SetKeysDown({VK_SHIFT});
    Post(WM_KEYDOWN, VK_TAB);
    PumpThroughManager();
    EXPECT_EQ(b, pm.GetFocus());
    SetKeysDown({});

    // A layout is pending: the move happens at the paint, after the layout.
    pRoot->NeedUpdate();
    EXPECT_TRUE(Translate(VK_TAB));
    EXPECT_EQ(b, pm.GetFocus());
    ::UpdateWindow(wnd);
    EXPECT_EQ(a, pm.GetFocus());
}

TEST_F(Input, LastFocusRequestWinsWhenAKillFocusHandlerAsksAgain)
{
    struct CRedirect : INotifyUI
    {
        void Notify(tagTNotifyUI& msg) override
        {
            if (msg.sNotifyType == L"killfocus" && msg.pSenderControl == pFrom) pm->SetFocus(pTo);
        }
        CPaintManagerUI* pm;
        CControlUI* pFrom;
        CControlUI* pTo;
    } redirect;
    redirect.pm = &pm;
    redirect.pFrom = a;
    redirect.pTo = c;
    a->SetFocus();
    pm.AddNotifier(&redirect);
    log.Clear();
    pm.SetFocus(b);
    pm.RemoveNotifier(&redirect);
    EXPECT_EQ(c, pm.GetFocus());
    EXPECT_TRUE(c->IsFocused());
    EXPECT_FALSE(b->IsFocused());
    EXPECT_FALSE(a->IsFocused());
    EXPECT_EQ((std::vector<std::wstring>{L"killfocus", L"setfocus"}), log.aTypes);
    EXPECT_EQ((std::vector<CControlUI*>{a, c}), log.aSenders);

    // A disabled control takes the focus from the focused one and keeps none.
    a->SetEnabled(false);
    pm.SetFocus(a);
    EXPECT_EQ(nullptr, pm.GetFocus());
    EXPECT_FALSE(c->IsFocused());
}

TEST_F(Input, FocusNeededLandsOnTheControlAtTheNextPaint)
{
    CProbeUI* d = AddProbe(new CProbeUI(L"d", CTLFLAG_TABSTOP));
    a->SetFocus();
    log.Clear();
    pm.SetFocusNeeded(d);
    // Parked on the tab stop before it, quietly.
    EXPECT_EQ(b, pm.GetFocus());
    EXPECT_EQ(std::vector<std::wstring>{L"killfocus"}, log.aTypes);
    RepaintNow(wnd);
    EXPECT_EQ(d, pm.GetFocus());
    EXPECT_TRUE(d->IsFocused());
    EXPECT_EQ(L"setfocus", log.aTypes.back());
    EXPECT_EQ(d, log.aSenders.back());
}

TEST_F(Input, CloseWhilePressedEndsThePressOutsideEveryControl)
{
    CClickProbeUI* ok = AddProbe(new CClickProbeUI(L"ok"));
    const RECT rcOk = ok->GetPos();
    Send(WM_MOUSEMOVE, 0, At(rcOk.left + 2, rcOk.top + 2));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(rcOk.left + 2, rcOk.top + 2));
    EXPECT_FALSE(Handle(WM_CLOSE));
    EXPECT_EQ(0, log.Count(L"click"));
    std::vector<tagTEventUI> aUp = EventsOf(ok, SKIN_EVT_BUTTONUP);
    ASSERT_EQ(1u, aUp.size());
    EXPECT_EQ(-1, aUp[0].ptMousePos.x);
    EXPECT_EQ(1u, EventsOf(ok, SKIN_EVT_MOUSELEAVE).size());
    EXPECT_FALSE(pm.IsCaptured());
    EXPECT_EQ(nullptr, pm.GetFocus());
    // The press is over: the real button-up that follows is no click either.
    Send(WM_LBUTTONUP, 0, At(rcOk.left + 2, rcOk.top + 2));
    EXPECT_EQ(0, log.Count(L"click"));

    // The probe itself clicks on a plain press and release.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(rcOk.left + 2, rcOk.top + 2));
    Send(WM_LBUTTONUP, 0, At(rcOk.left + 3, rcOk.top + 3));
    EXPECT_EQ(1, log.Count(L"click"));
}

TEST_F(Input, AltF4WhileTheButtonIsHeldSendsNoClick)
{
    CClickProbeUI* ok = AddProbe(new CClickProbeUI(L"ok"));
    const RECT rcOk = ok->GetPos();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(rcOk.left + 2, rcOk.top + 2));
    // Alt+F4 as the keyboard delivers it: the system turns it into the close command.
    Post(WM_SYSKEYDOWN, VK_F4, 0x20000000 | 1);
    PumpThroughManager();
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_EQ(0, log.Count(L"click"));
    ASSERT_EQ(1u, EventsOf(ok, SKIN_EVT_BUTTONUP).size());
}

TEST_F(Input, TooltipShowsOnHoverAndHidesWhenTheMouseMovesOn)
{
    a->SetToolTip(L"first<n>second");
    a->SetToolTipWidth(120);
    EXPECT_STREQ(L"first\r\nsecond", a->GetToolTip().GetData());
    EXPECT_EQ(300, b->GetToolTipWidth());
    Send(WM_MOUSEMOVE, 0, At(5, 5));
    EXPECT_TRUE(Handle(WM_MOUSEHOVER, 0, At(5, 5)));
    EXPECT_EQ(SKIN_EVT_MOUSEHOVER, a->aEvents.back());
    HWND hTip = pm.GetTooltipWindow();
    ASSERT_NE(nullptr, hTip);
    EXPECT_TRUE(::IsWindowVisible(hTip));
    wchar_t szText[64] = {};
    TOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.hwnd = wnd;
    ti.uId = reinterpret_cast<UINT_PTR>(static_cast<HWND>(wnd));
    ti.lpszText = szText;
    ::SendMessageW(hTip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(L"first\r\nsecond", szText);
    EXPECT_EQ(120, ::SendMessageW(hTip, TTM_GETMAXTIPWIDTH, 0, 0));

    Send(WM_MOUSEMOVE, 0, At(25, 5));
    EXPECT_FALSE(::IsWindowVisible(hTip));
    // A control without a tip shows none; the hover message is still the manager's.
    EXPECT_TRUE(Handle(WM_MOUSEHOVER, 0, At(25, 5)));
    EXPECT_FALSE(::IsWindowVisible(hTip));
    // Nothing under the point: not handled.
    EXPECT_FALSE(Handle(WM_MOUSEHOVER, 0, At(500, 500)));
    // A hovered control that goes away takes its tip down.
    Send(WM_MOUSEMOVE, 0, At(5, 5));
    Handle(WM_MOUSEHOVER, 0, At(5, 5));
    EXPECT_TRUE(::IsWindowVisible(hTip));
    DeleteThroughParent(a);
    EXPECT_FALSE(::IsWindowVisible(hTip));
}

TEST_F(Input, ControlsDeletedWhileHoveredPressedOrFocusedLeaveNothingBehind)
{
    CMortalProbeUI* hovered = AddProbe(new CMortalProbeUI(L"hovered"));
    const POINT pt = {hovered->GetPos().left + 1, hovered->GetPos().top + 1};
    Send(WM_MOUSEMOVE, 0, At(pt.x, pt.y));
    DeleteThroughParent(hovered);
    Send(WM_MOUSEMOVE, 0, At(5, 5));
    Handle(WM_MOUSEHOVER, 0, At(5, 5));
    Handle(WM_CLOSE);

    CMortalProbeUI* pressed = AddProbe(new CMortalProbeUI(L"pressed", CTLFLAG_TABSTOP));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(pt.x, pt.y));
    EXPECT_EQ(pressed, pm.GetFocus());
    Send(WM_KEYDOWN, 'K');
    DeleteThroughParent(pressed);
    EXPECT_FALSE(pm.IsCaptured());
    EXPECT_EQ(nullptr, pm.GetFocus());
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(300, 300));
    Send(WM_LBUTTONUP, 0, At(300, 300));
    Send(WM_KEYUP, 'K');
    Send(WM_CHAR, 'k');
    Handle(WM_CLOSE);
    EXPECT_EQ(2u, CMortalProbeUI::Graveyard().size());
}

TEST_F(Input, AHandlerThatDeletesItsOwnControlIsNotFollowedByAUseOfIt)
{
    // One probe per event kind that deletes itself when the event reaches it.
    struct Case
    {
        int nDeletesOn;
        UINT uMsg;
        WPARAM wParam;
    };
    for (const Case& test : {Case{SKIN_EVT_MOUSEENTER, WM_MOUSEMOVE, 0}, Case{SKIN_EVT_SETFOCUS, WM_LBUTTONDOWN, MK_LBUTTON},
                             Case{SKIN_EVT_BUTTONDOWN, WM_LBUTTONDOWN, MK_LBUTTON},
                             Case{SKIN_EVT_DBLCLICK, WM_LBUTTONDBLCLK, MK_LBUTTON},
                             Case{SKIN_EVT_MOUSEHOVER, WM_MOUSEHOVER, 0}}) {
        CMortalProbeUI* p = AddProbe(new CMortalProbeUI(L"mortal", CTLFLAG_TABSTOP));
        p->SetToolTip(L"tip");
        const int nDeletesOn = test.nDeletesOn;
        p->onEvent = [this, nDeletesOn](CMortalProbeUI* pThis, tagTEventUI& event) {
            if (event.nEventType != nDeletesOn) return false;
            DeleteThroughParent(pThis);
            return true;
        };
        const LPARAM lPos = At(p->GetPos().left + 1, p->GetPos().top + 1);
        if (test.uMsg == WM_MOUSEHOVER) Send(WM_MOUSEMOVE, 0, lPos);
        Send(test.uMsg, test.wParam, lPos);
        Send(WM_MOUSEMOVE, 0, At(300, 300));
        Send(WM_LBUTTONUP, 0, At(300, 300));
        EXPECT_FALSE(pm.IsCaptured()) << test.nDeletesOn;
    }
    EXPECT_EQ(5u, CMortalProbeUI::Graveyard().size());

    // A killfocus handler that deletes the control gaining the focus.
    CMortalProbeUI* target = AddProbe(new CMortalProbeUI(L"target", CTLFLAG_TABSTOP));
    a->SetFocus();
    a->OnEvent += +[](void* pEvent) {
        tagTEventUI* pEventUI = static_cast<tagTEventUI*>(pEvent);
        if (pEventUI->nEventType == SKIN_EVT_KILLFOCUS && pEventUI->pSenderControl != NULL) {
            CControlUI* pTarget = pEventUI->pSenderControl;
            static_cast<CBoxUI*>(pTarget->GetParent())->Detach(pTarget);
            delete pTarget;
        }
        return true;
    };
    pm.SetFocus(target);
    EXPECT_EQ(nullptr, pm.GetFocus());
    EXPECT_EQ(6u, CMortalProbeUI::Graveyard().size());
}

TEST_F(Input, CursorIsLeftToControlsThatAskForIt)
{
    CProbeUI* pointer = AddProbe(new CProbeUI(L"pointer", CTLFLAG_SETCURSOR));
    POINT pt = {pointer->GetPos().left + 3, pointer->GetPos().top + 3};
    ::ClientToScreen(wnd, &pt);
    ::SetCursorPos(pt.x, pt.y);
    POINT ptNow = {};
    ::GetCursorPos(&ptNow);
    if (ptNow.x != pt.x || ptNow.y != pt.y) {
        ::SetCursorPos(kParkX, kParkY);
        GTEST_SKIP() << "the cursor cannot be placed on this display";
    }
    EXPECT_TRUE(Handle(WM_SETCURSOR, reinterpret_cast<WPARAM>(static_cast<HWND>(wnd)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    ASSERT_EQ(1u, EventsOf(pointer, SKIN_EVT_SETCURSOR).size());
    EXPECT_EQ(nullptr, EventsOf(pointer, SKIN_EVT_SETCURSOR)[0].pSenderControl);
    // Not over the client area, or while the mouse is captured: no event.
    EXPECT_FALSE(Handle(WM_SETCURSOR, 0, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE)));
    pm.SetCapture();
    EXPECT_TRUE(Handle(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    pm.ReleaseCapture();
    EXPECT_EQ(1u, EventsOf(pointer, SKIN_EVT_SETCURSOR).size());
    // A control that does not ask leaves the cursor to the window.
    ::SetCursorPos(pt.x - (pointer->GetPos().left - a->GetPos().left), pt.y);
    EXPECT_FALSE(Handle(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    ::SetCursorPos(kParkX, kParkY);
    PumpMessages();
}

TEST_F(Input, NotificationsOfChildWindowsGoBackToThem)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = CChild::Proc;
    wc.hInstance = ::GetModuleHandleW(NULL);
    wc.lpszClassName = L"SkinLibTestReflect";
    ::RegisterClassW(&wc);
    HWND hChild = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD, 0, 0, 10, 10, wnd, NULL, wc.hInstance, NULL);
    const LPARAM lChild = reinterpret_cast<LPARAM>(hChild);
    NMHDR hdr = {hChild, 1, 0};
    LRESULT lRes = 0;
    EXPECT_TRUE(pm.MessageHandler(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&hdr), lRes));
    EXPECT_EQ(0x5A, lRes);
    for (UINT uMsg : {WM_COMMAND, WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC}) {
        lRes = 0;
        EXPECT_TRUE(pm.MessageHandler(uMsg, 0, lChild, lRes));
        EXPECT_EQ(0x5A, lRes);
        EXPECT_FALSE(pm.MessageHandler(uMsg, 0, 0, lRes));
    }
    EXPECT_TRUE(pm.MessageHandler(WM_NOTIFY, 0, 0, lRes));
    EXPECT_EQ((std::vector<UINT>{0x204E, 0x2111, 0x2133, 0x2138}), CChild::s_aSeen);
    ::DestroyWindow(hChild);
}

TEST(InputTrace, MessageNamesAndNumbers)
{
    EXPECT_STREQ(L"WM_PAINT", SKIN__TraceMsg(WM_PAINT));
    EXPECT_STREQ(L"WM_GETTEXTLENGTH", SKIN__TraceMsg(WM_GETTEXTLENGTH));
    EXPECT_STREQ(L"0x0400", SKIN__TraceMsg(0x400));
    // Every 32-bit number fits the buffer.
    EXPECT_STREQ(L"0xFFFFFFFF", SKIN__TraceMsg(0xFFFFFFFFu));
    SKIN__Trace(L"%d", 1);
}
