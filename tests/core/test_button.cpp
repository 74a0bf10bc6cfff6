// The push button in a real window, driven by sent and posted mouse and key
// messages: its states, the pixels of each state, and "click".
#include "controls/ButtonUI.h"

#include <gtest/gtest.h>

#include "ControlWindow.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

class CButtonProbeUI : public CButtonUI
{
public:
    UINT State() const { return m_uButtonState; }
};

struct Button : ControlWindowTest
{
    void SetUp() override
    {
        ControlWindowTest::SetUp();
        // Faces without text, so that every pixel of the button is its image.
        pButton->SetNormalImage(Image(L"normal.png", 0xFF0000FF));
        pButton->SetHotImage(Image(L"hot.png", 0xFF00C000));
        pButton->SetPushedImage(Image(L"pushed.png", 0xFFFF0000));
        pButton->SetFocusedImage(Image(L"focused.png", 0xFFFFFF00));
        pButton->SetDisabledImage(Image(L"disabled.png", 0xFF808080));
        Attach({pButton, pOther});
        // The first paint focused the first tab stop; each case starts from none.
        pm.SetFocus(NULL);
        log.Clear();
    }
    // The colour in the middle of the button as the window paints it now.
    uint32_t Face()
    {
        const POINT pt = Centre(pButton);
        return Snapshot().Rgb(pt.x, pt.y);
    }
    int Clicks() const { return log.Count(L"click"); }

    CButtonProbeUI* pButton = new CButtonProbeUI;
    CButtonUI* pOther = new CButtonUI;
    const LPARAM inside = At(60, 15);
    const LPARAM outside = At(300, 150);
};

TEST_F(Button, ReleaseInsideAfterPressInsideClicks)
{
    EXPECT_EQ(Face(), 0x0000FFu);
    Send(WM_MOUSEMOVE, 0, inside);
    EXPECT_EQ(pButton->State(), UINT(CTLSTATE_HOT));
    EXPECT_EQ(Face(), 0x00C000u);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_EQ(Face(), 0xFF0000u);
    EXPECT_EQ(Clicks(), 0);
    Send(WM_LBUTTONUP, 0, inside);
    ASSERT_EQ(Clicks(), 1);
    EXPECT_EQ(log.aSenders.back(), pButton);
    // Still under the mouse: hot, no longer pushed.
    EXPECT_EQ(pButton->State() & (CTLSTATE_HOT | CTLSTATE_PUSHED | CTLSTATE_CAPTURED), UINT(CTLSTATE_HOT));

    // The same through the queue.
    Post(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    Post(WM_LBUTTONUP, 0, inside);
    PumpMessages();
    EXPECT_EQ(Clicks(), 2);
    // A double click presses too.
    Post(WM_LBUTTONDBLCLK, MK_LBUTTON, inside);
    Post(WM_LBUTTONUP, 0, inside);
    PumpMessages();
    EXPECT_EQ(Clicks(), 3);
    // The press gave the focus, which shows once the mouse has gone.
    Send(WM_MOUSEMOVE, 0, outside);
    EXPECT_EQ(Face(), 0xFFFF00u);
    pm.SetFocus(NULL);
    EXPECT_EQ(Face(), 0x0000FFu);
}

TEST_F(Button, PressMovedOutAndReleasedDoesNotClick)
{
    Send(WM_MOUSEMOVE, 0, inside);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    Send(WM_MOUSEMOVE, MK_LBUTTON, outside);
    EXPECT_EQ(pButton->State() & CTLSTATE_PUSHED, 0u);
    // Neither pushed nor hot: the focus the press gave shows.
    EXPECT_EQ(Face(), 0xFFFF00u);
    // Back inside while the press lasts: pushed again.
    Send(WM_MOUSEMOVE, MK_LBUTTON, inside);
    EXPECT_EQ(Face(), 0xFF0000u);
    Send(WM_MOUSEMOVE, MK_LBUTTON, outside);
    Send(WM_LBUTTONUP, 0, outside);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_EQ(pButton->State() & (CTLSTATE_PUSHED | CTLSTATE_CAPTURED), 0u);
    EXPECT_EQ(Face(), 0xFFFF00u);
    // A press elsewhere that ends on the button clicks nothing either.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(180, 15));
    Send(WM_MOUSEMOVE, MK_LBUTTON, inside);
    Send(WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(Button, EnterAndSpaceClickTheFocusedButton)
{
    pButton->SetFocus();
    EXPECT_EQ(Face(), 0xFFFF00u);
    EXPECT_EQ(pButton->State() & CTLSTATE_FOCUSED, UINT(CTLSTATE_FOCUSED));
    Send(WM_KEYDOWN, VK_RETURN);
    Send(WM_KEYDOWN, VK_SPACE);
    Send(WM_KEYDOWN, 'A');
    EXPECT_EQ(Clicks(), 2);
    Post(WM_KEYDOWN, VK_SPACE);
    PumpMessages();
    EXPECT_EQ(Clicks(), 3);
    pButton->SetKeyboardEnabled(false);
    Send(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(Clicks(), 3);
    EXPECT_EQ(pButton->GetControlFlags(), UINT(CTLFLAG_SETCURSOR));
}

TEST_F(Button, DisabledButtonForgetsItsStateAndIgnoresPresses)
{
    Send(WM_MOUSEMOVE, 0, inside);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    ASSERT_NE(pButton->State(), 0u);
    pButton->SetEnabled(false);
    EXPECT_EQ(pButton->State(), 0u);
    Send(WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_EQ(Face(), 0x808080u);
    Send(WM_MOUSEMOVE, 0, outside);
    Send(WM_MOUSEMOVE, 0, inside);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    Send(WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_EQ(pButton->State() & ~CTLSTATE_FOCUSED, UINT(CTLSTATE_DISABLED));
    EXPECT_EQ(pButton->GetControlFlags(), UINT(CTLFLAG_TABSTOP));
    EXPECT_FALSE(pButton->Activate());
    // Without its image a disabled button shows the normal one.
    pButton->SetDisabledImage(L"");
    EXPECT_EQ(Face(), 0x0000FFu);
}

TEST_F(Button, HotColourReplacesEveryImageWhenThereIsNoHotImage)
{
    pButton->SetHotImage(L"");
    pButton->SetHotBkColor(0xFFFF0000);
    pButton->SetForeImage(L"file='pushed.png' dest='0,0,10,10'");
    EXPECT_EQ(Snapshot().Rgb(2, 2), 0xFF0000u);
    Send(WM_MOUSEMOVE, 0, inside);
    Snapshot();
    EXPECT_EQ(CountPixels(pButton->GetPos(), [](uint32_t rgb) { return rgb != 0xFF0000u; }), 0);
    // A hot image with a hot fore image: the hot fore image takes the fore image's place.
    pButton->SetHotImage(L"hot.png");
    pButton->SetHotForeImage(L"file='focused.png' dest='0,0,10,10'");
    EXPECT_EQ(Face(), 0x00C000u);
    EXPECT_EQ(canvas.Rgb(2, 2), 0xFFFF00u);
}

TEST_F(Button, ImagesThatFailAreForgottenAfterOnePaint)
{
    pButton->SetNormalImage(L"missing.png");
    pButton->SetForeImage(L"file='missing.png'");
    Snapshot();
    EXPECT_STREQ(pButton->GetNormalImage(), L"");
    EXPECT_STREQ(pButton->GetForeImage(), L"");
    EXPECT_STREQ(pButton->GetHotImage(), L"hot.png");
}

TEST_F(Button, TextColourFollowsTheState)
{
    pm.SetDefaultFontColor(0xFF000000);
    pButton->SetNormalImage(L"");
    pButton->SetHotImage(L"");
    pButton->SetPushedImage(L"");
    pButton->SetFocusedImage(L"");
    pButton->ApplyAttributeList(L"text=\"WWWW\" hottextcolor=\"#FFFF0000\" pushedtextcolor=\"#FF00C000\" "
                                L"focusedtextcolor=\"#FF0000FF\"");
    auto has = [&](bool (*pred)(uint32_t)) { return CountPixels(pButton->GetPos(), pred) > 0; };
    Snapshot();
    EXPECT_TRUE(has(IsDark));
    EXPECT_EQ(pButton->GetTextColor(), 0xFF000000u);
    Send(WM_MOUSEMOVE, 0, inside);
    Snapshot();
    EXPECT_TRUE(has(IsRed));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    Snapshot();
    EXPECT_TRUE(has(IsGreen));
    EXPECT_FALSE(has(IsRed));
    Send(WM_LBUTTONUP, 0, inside);
    Send(WM_MOUSEMOVE, 0, outside);
    // The press gave the focus.
    Snapshot();
    EXPECT_TRUE(has(IsBlue));
}

TEST_F(Button, AttributesAndEstimate)
{
    CButtonUI button;
    button.ApplyAttributeList(L"foreimage=\"fo\" hotforeimage=\"hf\" hotbkcolor=\"#FF000001\" "
                              L"pushedtextcolor=\"3\" textcolor=\"#FF000005\"");
    EXPECT_STREQ(button.GetForeImage(), L"fo");
    EXPECT_STREQ(button.GetHotForeImage(), L"hf");
    EXPECT_EQ(button.GetHotBkColor(), 0xFF000001u);
    EXPECT_EQ(button.GetPushedTextColor(), 3u);
    // Names the button doesn't know reach the label.
    EXPECT_EQ(button.GetTextColor(), 0xFF000005u);
    EXPECT_EQ(button.GetTextStyle(), UINT(DT_SINGLELINE | DT_VCENTER | DT_CENTER));
    EXPECT_EQ(button.GetInterface(L"Button"), &button);
    EXPECT_EQ(button.GetInterface(L"Label"), &button);

    EXPECT_EQ(pButton->EstimateSize(SIZE{100, 100}).cy, pm.GetFontInfo(-1)->tmMetrics.tmHeight + 8);
    pButton->SetFixedHeight(40);
    EXPECT_EQ(pButton->EstimateSize(SIZE{100, 100}).cy, 40);
}

} // namespace
