// The scroll bar: placement of its parts, thumb drags, the auto-repeat rhythm,
// presses that end without their release, "scroll" notifications, painting and
// attributes.
#include "controls/ScrollBarUI.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "PixelCanvas.h"
#include "PngFixture.h"
#include "RectText.h"
#include "TempFiles.h"
#include "TestControls.h"
#include "WaitUntil.h"
#include "controls/ContainerUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

// Reads the parts the bar placed.
struct CBarProbe : CScrollBarUI
{
    std::string Parts() const
    {
        return RectText(m_rcButton1) + " " + RectText(m_rcButton2) + " " + RectText(m_rcThumb);
    }
    const RECT& Thumb() const { return m_rcThumb; }
    UINT States() const { return m_uButton1State | m_uButton2State | m_uThumbState; }
};

tagTEventUI MouseEvent(int nType, int x, int y)
{
    tagTEventUI event = {};
    event.nEventType = nType;
    event.ptMousePos = POINT{x, y};
    return event;
}

void Send(CControlUI& control, int nType, int x = 0, int y = 0)
{
    tagTEventUI event = MouseEvent(nType, x, y);
    control.Event(event);
}

void Tick(CControlUI& control)
{
    tagTEventUI event = {};
    event.nEventType = SKIN_EVT_TIMER;
    event.wMsgParam = CScrollBarUI::REPEAT_TIMERID;
    control.Event(event);
}

// Lets real timers fire until done() holds.
template <class Done> bool PumpUntil(Done done)
{
    return WaitUntil([&] {
        PumpMessages();
        return done();
    });
}

TEST(ScrollBarParts, FollowLengthButtonsRangeAndPosition)
{
    // A vertical bar at (10, 20), 16 thick; a horizontal one at (10, 20), 16 high.
    struct Row { bool bHorizontal; int nLength; bool b1, b2; int nRange, nPos; const char* pstrParts; } rows[] = {
        // Track 68, thumb 100 * 68 / 200 = 34 long.
        {false, 100, true, true, 100, 0, "10,20,26,36 10,104,26,120 10,36,26,70"},
        {false, 100, true, true, 100, 100, "10,20,26,36 10,104,26,120 10,70,26,104"},
        // Too short for a thumb: the buttons share the length.
        {false, 20, true, true, 100, 0, "10,20,26,30 10,30,26,40 0,0,0,0"},
        {false, 100, true, true, 0, 0, "10,20,26,36 10,104,26,120 10,36,26,104"},
        // A thumb shorter than the thickness is drawn that long.
        {false, 100, true, true, 1000000, 0, "10,20,26,36 10,104,26,120 10,36,26,52"},
        {false, 100, true, true, 1000000, 1000000, "10,20,26,36 10,104,26,120 10,88,26,104"},
        {false, 100, false, false, 100, 50, "10,20,10,20 10,120,10,120 10,45,26,95"},
        {false, 100, false, true, 100, 0, "10,20,10,20 10,104,26,120 10,20,26,62"},
        // Products beyond 32 bits.
        {false, 1000, true, true, INT_MAX, INT_MAX, "10,20,26,36 10,1004,26,1020 10,988,26,1004"},
        {true, 100, true, true, 100, 0, "10,20,26,36 94,20,110,36 26,20,60,36"},
        {true, 20, true, true, 100, 0, "10,20,20,36 20,20,30,36 0,0,0,0"},
        {true, 100, false, false, 100, 100, "10,20,10,20 110,20,110,20 60,20,110,36"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << (row.bHorizontal ? "horizontal " : "vertical ") << row.nLength << " "
                                          << row.b1 << row.b2 << " range " << row.nRange << " at " << row.nPos);
        CBarProbe bar;
        bar.SetHorizontal(row.bHorizontal);
        bar.SetShowButton1(row.b1);
        bar.SetShowButton2(row.b2);
        bar.SetScrollRange(row.nRange);
        bar.SetScrollPos(row.nPos);
        bar.SetPos(row.bHorizontal ? RECT{10, 20, 10 + row.nLength, 36} : RECT{10, 20, 26, 20 + row.nLength});
        EXPECT_EQ(bar.Parts(), row.pstrParts);
    }
}

TEST(ScrollBarParts, RangeAndPositionClamp)
{
    CScrollBarUI bar;
    EXPECT_EQ(bar.GetFixedWidth(), 16);
    EXPECT_EQ(bar.GetScrollRange(), 100);
    bar.SetScrollPos(-5);
    EXPECT_EQ(bar.GetScrollPos(), 0);
    bar.SetScrollPos(500);
    EXPECT_EQ(bar.GetScrollPos(), 100);
    bar.SetScrollRange(-1);
    EXPECT_EQ(bar.GetScrollRange(), 0);
    EXPECT_EQ(bar.GetScrollPos(), 0);
    bar.SetHorizontal(true);
    EXPECT_EQ(bar.GetFixedWidth(), 0);
    EXPECT_EQ(bar.GetFixedHeight(), 16);
}

TEST(ScrollBarInput, TheThumbFollowsTheMouseWithOrWithoutButtons)
{
    // A 100-pixel bar at the origin: grab the thumb, move, and let one tick apply the drag.
    struct Row { bool bHorizontal, b1, b2; int nRange, nStartPos, nGrab, nMoveTo, nPos; long nThumbLead; } rows[] = {
        {false, true, true, 100, 0, 20, 37, 50, 33},
        {false, false, false, 100, 0, 10, 35, 50, 25},
        {false, true, false, 100, 0, 20, 41, 50, 37},
        {false, true, true, 100, 0, 20, 120, 100, 50},
        {false, true, true, 100, 50, 40, 0, 0, 16},
        {true, true, true, 100, 0, 20, 37, 50, 33},
        {true, false, false, 100, 0, 10, 35, 50, 25},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << (row.bHorizontal ? "horizontal " : "vertical ") << row.b1 << row.b2
                                          << " " << row.nGrab << " -> " << row.nMoveTo);
        CBarProbe bar;
        bar.SetHorizontal(row.bHorizontal);
        bar.SetShowButton1(row.b1);
        bar.SetShowButton2(row.b2);
        bar.SetScrollRange(row.nRange);
        bar.SetScrollPos(row.nStartPos);
        bar.SetPos(row.bHorizontal ? RECT{0, 0, 100, 16} : RECT{0, 0, 16, 100});
        auto at = [&](int n) { return row.bHorizontal ? POINT{n, 8} : POINT{8, n}; };
        Send(bar, SKIN_EVT_BUTTONDOWN, at(row.nGrab).x, at(row.nGrab).y);
        Send(bar, SKIN_EVT_MOUSEMOVE, at(row.nMoveTo).x, at(row.nMoveTo).y);
        EXPECT_EQ(bar.GetScrollPos(), row.nStartPos);  // the move only records the offset
        Tick(bar);
        EXPECT_EQ(bar.GetScrollPos(), row.nPos);
        EXPECT_EQ(row.bHorizontal ? bar.Thumb().left : bar.Thumb().top, row.nThumbLead);
        Send(bar, SKIN_EVT_BUTTONUP);
        EXPECT_EQ(bar.States(), 0u);
    }

    // A range far beyond what 32-bit products hold.
    CBarProbe bar;
    bar.SetScrollRange(2000000000);
    bar.SetPos(RECT{0, 0, 16, 1000});
    Send(bar, SKIN_EVT_BUTTONDOWN, 8, 20);
    Send(bar, SKIN_EVT_MOUSEMOVE, 8, 20 + 476);  // half of the 952 pixels the thumb can travel
    Tick(bar);
    EXPECT_EQ(bar.GetScrollPos(), 1000000000);
}

// A bar alone in a window: it scrolls itself and reports "scroll".
struct LoneBar : ::testing::Test
{
    explicit LoneBar(int cy = 100) : wnd(pm, 16, cy)
    {
        pm.AddNotifier(&log);
        pm.AttachDialog(pBar);
        RepaintNow(wnd);
        log.Clear();
    }
    CNotifyLog log;
    CPaintManagerUI pm;
    CHostWindow wnd;
    CBarProbe* pBar = new CBarProbe;
};

TEST_F(LoneBar, AHeldButtonStepsAtThePressThenAfterFiveQuietTicks)
{
    Send(*pBar, SKIN_EVT_BUTTONDOWN, 8, 90);
    std::vector<int> aPositions(1, pBar->GetScrollPos());
    for (int i = 0; i < 8; i++) {
        Tick(*pBar);
        aPositions.push_back(pBar->GetScrollPos());
    }
    EXPECT_EQ(aPositions, (std::vector<int>{8, 8, 8, 8, 8, 8, 16, 24, 32}));
    // Once for the press and once for each step.
    EXPECT_EQ(log.Count(L"scroll"), 4);
    Send(*pBar, SKIN_EVT_BUTTONUP);
    EXPECT_EQ(pBar->States(), 0u);

    Send(*pBar, SKIN_EVT_BUTTONDOWN, 8, 5);
    EXPECT_EQ(pBar->GetScrollPos(), 24);
    Send(*pBar, SKIN_EVT_BUTTONUP);
    EXPECT_EQ(log.Count(L"scroll"), 5);

    // The real timer repeats until the release, and not after it.
    pBar->SetScrollPos(0);
    Send(*pBar, SKIN_EVT_BUTTONDOWN, 8, 90);
    EXPECT_TRUE(PumpUntil([&] { return pBar->GetScrollPos() >= 16; }));
    Send(*pBar, SKIN_EVT_BUTTONUP);
    EXPECT_FALSE(pm.KillTimer(pBar, CScrollBarUI::REPEAT_TIMERID)) << "the release stops the timer";
}

struct LoneTallBar : LoneBar
{
    // Away from the corner where the other test windows sit: the test puts
    // the system's cursor over its own window.
    LoneTallBar() : LoneBar(400) { ::SetWindowPos(wnd, NULL, 600, 450, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }
    // The bar reads the cursor on each tick; it is put back each time in
    // case another program moved it.
    void TickWithCursorAt(POINT pt)
    {
        ::ClientToScreen(wnd, &pt);
        ::SetCursorPos(pt.x, pt.y);
        Tick(*pBar);
    }
};

TEST_F(LoneTallBar, AHeldTrackPagesUntilTheThumbIsUnderTheCursor)
{
    pBar->SetScrollRange(1000);
    const POINT ptCursor = {8, 300};
    Send(*pBar, SKIN_EVT_BUTTONDOWN, ptCursor.x, ptCursor.y);
    EXPECT_EQ(pBar->GetScrollPos(), 400);  // one page: the bar's length
    for (int i = 0; i < 5; i++) TickWithCursorAt(ptCursor);
    EXPECT_EQ(pBar->GetScrollPos(), 400);
    TickWithCursorAt(ptCursor);
    EXPECT_EQ(pBar->GetScrollPos(), 800);
    EXPECT_TRUE(pBar->Thumb().top <= 300 && 300 <= pBar->Thumb().bottom) << RectText(pBar->Thumb());
    TickWithCursorAt(ptCursor);
    EXPECT_EQ(pBar->GetScrollPos(), 800);
    // Still reported on the tick that moved nothing.
    EXPECT_EQ(log.Count(L"scroll"), 3);
    Send(*pBar, SKIN_EVT_BUTTONUP);
}

TEST_F(LoneBar, ADisabledOrHiddenBarLetsGoOfAHeldButton)
{
    for (int nCase = 0; nCase < 2; nCase++) {
        SCOPED_TRACE(nCase == 0 ? "disabled" : "hidden");
        pBar->SetEnabled(true);
        pBar->SetVisible(true);
        pBar->SetScrollPos(0);
        pm.SetCapture();  // as the window does on a press
        Send(*pBar, SKIN_EVT_BUTTONDOWN, 8, 90);
        ASSERT_EQ(pBar->GetScrollPos(), 8);
        if (nCase == 0) pBar->SetEnabled(false);
        else pBar->SetVisible(false);
        EXPECT_FALSE(pm.IsCaptured());
        EXPECT_EQ(::GetCapture(), static_cast<HWND>(NULL));
        EXPECT_EQ(pBar->States() & (CTLSTATE_PUSHED | CTLSTATE_CAPTURED), 0u);
        EXPECT_FALSE(pm.KillTimer(pBar, CScrollBarUI::REPEAT_TIMERID)) << "its repeat timer stopped";
    }
}

TEST(ScrollBarOwner, ABarRemovedWhileHeldLetsGoAndItsOwnerScrollsWithoutNotifying)
{
    CNotifyLog log;
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 100);
    pm.AddNotifier(&log);
    CContainerUI* pRoot = new CContainerUI;
    pRoot->EnableScrollBar(true, false);
    pm.AttachDialog(pRoot);
    RepaintNow(wnd);
    CScrollBarUI* pBar = pRoot->GetVerticalScrollBar();
    pBar->SetPos(RECT{184, 0, 200, 100});
    log.Clear();

    pm.SetCapture();
    Send(*pBar, SKIN_EVT_BUTTONDOWN, 190, 90);
    EXPECT_GT(pRoot->GetScrollPos().cy, 0);
    EXPECT_EQ(log.Count(L"scroll"), 0);
    pRoot->EnableScrollBar(false, false);
    EXPECT_FALSE(pm.IsCaptured());
    EXPECT_EQ(::GetCapture(), static_cast<HWND>(NULL));
    EXPECT_FALSE(pm.KillTimer(pBar, CScrollBarUI::REPEAT_TIMERID)) << "the bar's timer must not outlive it";
    EXPECT_EQ(pRoot->GetScrollPos().cy, 0);
}

TEST(ScrollBarState, HotPartsFollowTheMouseAndDisablingClearsThem)
{
    CBarProbe bar;
    bar.SetPos(RECT{0, 0, 16, 100});
    Send(bar, SKIN_EVT_MOUSEENTER, 8, 5);
    EXPECT_EQ(bar.States(), UINT{CTLSTATE_HOT});
    Send(bar, SKIN_EVT_MOUSEMOVE, 8, 30);  // onto the thumb
    Send(bar, SKIN_EVT_BUTTONDOWN, 8, 30);
    EXPECT_EQ(bar.States(), UINT{CTLSTATE_HOT | CTLSTATE_PUSHED | CTLSTATE_CAPTURED});
    bar.SetEnabled(false);
    EXPECT_EQ(bar.States(), 0u);
    Send(bar, SKIN_EVT_MOUSEENTER, 8, 30);
    Send(bar, SKIN_EVT_BUTTONDOWN, 8, 90);
    EXPECT_EQ(bar.States(), 0u);
    EXPECT_EQ(bar.GetScrollPos(), 0);
}

struct ScrollBarPaint : ::testing::Test
{
    ScrollBarPaint()
    {
        for (auto image : {std::make_pair(L"red.png", 0xFFFF0000u), std::make_pair(L"green.png", 0xFF00FF00u),
                           std::make_pair(L"blue.png", 0xFF0000FFu), std::make_pair(L"gray.png", 0xFF808080u)}) {
            WriteBytes(folder + image.first, MakeSolidPng(4, 4, image.second));
        }
        CPaintManagerUI::SetResourcePath(folder.c_str());
    }
    ~ScrollBarPaint() override { CPaintManagerUI::SetResourcePath(L""); }

    // The bar at (10, 20), 16 by 100, painted on a white canvas.
    void Paint(CScrollBarUI& bar)
    {
        bar.SetManager(&pm, NULL, false);
        bar.SetPos(RECT{10, 20, 26, 120});
        canvas.Fill(0xFFFFFFFF);
        bar.DoPaint(canvas.DC(), canvas.Rect());
    }

    const std::wstring folder = MakeTempFolder(L"scrollbar_paint");
    CPaintManagerUI pm;
    PixelCanvas canvas{40, 140};
};

TEST_F(ScrollBarPaint, PartsDrawTheirStateImageOrElseTheirNormalOneOrAFrame)
{
    CBarProbe bar;
    bar.ApplyAttributeList(L"bknormalimage=\"blue.png\" thumbnormalimage=\"red.png\" thumbhotimage=\"missing.png\" "
                           L"railnormalimage=\"green.png\" thumbdisabledimage=\"gray.png\"");
    Paint(bar);
    // Thumb from 36 to 70, the rail 16 long in its middle, from 45 to 61.
    EXPECT_EQ(canvas.Rgb(18, 40), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(18, 50), 0x00FF00u);
    EXPECT_EQ(canvas.Rgb(18, 65), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(18, 80), 0x0000FFu);
    // Buttons without images get a frame, inside them only.
    EXPECT_EQ(canvas.Rgb(10, 20), 0x85E4FFu);
    EXPECT_EQ(canvas.Rgb(18, 28), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(9, 20), 0xFFFFFFu);

    // A state image that fails is forgotten, and the normal image stands in.
    Send(bar, SKIN_EVT_MOUSEMOVE, 18, 40);
    Paint(bar);
    EXPECT_EQ(canvas.Rgb(18, 40), 0xFF0000u);
    EXPECT_STREQ(bar.GetThumbHotImage(), L"");
    EXPECT_STREQ(bar.GetThumbNormalImage(), L"red.png");

    bar.SetEnabled(false);
    Paint(bar);
    EXPECT_EQ(canvas.Rgb(18, 40), 0x808080u);

    // Too short for a thumb: neither thumb nor rail is drawn.
    CBarProbe shortBar;
    shortBar.ApplyAttributeList(L"thumbnormalimage=\"red.png\" railnormalimage=\"green.png\"");
    shortBar.SetManager(&pm, NULL, false);
    shortBar.SetPos(RECT{10, 20, 26, 40});
    canvas.Fill(0xFFFFFFFF);
    shortBar.DoPaint(canvas.DC(), canvas.Rect());
    EXPECT_EQ(canvas.Rgb(0, 0), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(18, 25), 0xFFFFFFu);
}

TEST(ScrollBarAttributes, EachNameReachesItsField)
{
    CScrollBarUI bar;
    bar.ApplyAttributeList(L"button1normalimage=\"a\" button2pushedimage=\"b\" thumbhotimage=\"c\" "
                           L"raildisabledimage=\"d\" bkhotimage=\"e\" thumbimage=\"x\" bkhot=\"y\" "
                           L"linesize=\"12\" range=\"50\" value=\"70\" showbutton1=\"false\" hor=\"true\"");
    EXPECT_STREQ(bar.GetButton1NormalImage(), L"a");
    EXPECT_STREQ(bar.GetButton2PushedImage(), L"b");
    EXPECT_STREQ(bar.GetThumbHotImage(), L"c");
    EXPECT_STREQ(bar.GetRailDisabledImage(), L"d");
    EXPECT_STREQ(bar.GetBkHotImage(), L"e");
    EXPECT_STREQ(bar.GetThumbNormalImage(), L"");
    EXPECT_STREQ(bar.GetBkNormalImage(), L"");
    EXPECT_EQ(bar.GetLineSize(), 12);
    EXPECT_EQ(bar.GetScrollRange(), 50);
    EXPECT_EQ(bar.GetScrollPos(), 50);
    EXPECT_FALSE(bar.GetShowButton1());
    EXPECT_TRUE(bar.GetShowButton2());
    EXPECT_TRUE(bar.IsHorizontal());
    EXPECT_EQ(bar.GetFixedHeight(), 16);
    EXPECT_EQ(bar.GetInterface(L"ScrollBar"), static_cast<void*>(&bar));
    EXPECT_STREQ(bar.GetClass(), L"ScrollBarUI");
}

} // namespace
