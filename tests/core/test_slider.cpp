// The progress bar and the slider: the filled part as painted, the range
// rules, the thumb's place, and the slider driven by real mouse and wheel
// messages, "valuechanged" included.
#include "controls/SliderUI.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ControlWindow.h"
#include "RectText.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

class CSliderProbeUI : public CSliderUI
{
public:
    UINT State() const { return m_uButtonState; }
};

// A 200x12 image whose left half is red and right half blue.
std::string HalvesPng(int cx, int cy)
{
    std::vector<uint32_t> px(cx * cy);
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++) px[y * cx + x] = x < cx / 2 ? 0xFFFF0000 : 0xFF0000FF;
    return MakePng(cx, cy, px);
}

struct Progress : ControlWindowTest
{
    // The first x of row y, from the control's left, that is not of the colour.
    int RunLength(const CControlUI* pControl, int y, bool (*pred)(uint32_t))
    {
        const RECT& rc = pControl->GetPos();
        int x = rc.left;
        while (x < rc.right && pred(canvas.Rgb(x, y))) x++;
        return x - rc.left;
    }
};

TEST_F(Progress, TheFilledPartFollowsTheValue)
{
    CProgressUI* pBar = new CProgressUI;
    pBar->SetForeImage(Image(L"fore.png", 0xFFFF0000));
    pBar->SetValue(25);
    Attach({pBar}, 200, 12);
    ASSERT_EQ(RectText(pBar->GetPos()), "0,0,200,12");
    // 200 * 25 / 100: the image stretched into 0,0,50,12.
    Snapshot();
    EXPECT_EQ(RunLength(pBar, 6, IsRed), 50);
    EXPECT_EQ(CountPixels(pBar->GetPos(), IsRed), 50 * 12);

    // Stretched or cut out of the image: a half-red, half-blue image at 75.
    WriteBytes(m_sImages + L"halves.png", HalvesPng(200, 12));
    pBar->SetForeImage(L"halves.png");
    pBar->SetValue(75);
    Snapshot();
    EXPECT_EQ(RunLength(pBar, 6, IsRed), 75);
    EXPECT_EQ(CountPixels(pBar->GetPos(), IsBlue), 75 * 12);
    pBar->SetStretchForeImage(false);
    Snapshot();
    EXPECT_EQ(RunLength(pBar, 6, IsRed), 100);
    EXPECT_EQ(CountPixels(pBar->GetPos(), IsBlue), 50 * 12);
}

TEST_F(Progress, VerticalFillsFromTheBottom)
{
    CProgressUI* pBar = new CProgressUI;
    pBar->ApplyAttributeList(L"hor=\"false\" height=\"100\" value=\"25\"");
    pBar->SetForeImage(Image(L"fore.png", 0xFFFF0000));
    Attach({pBar}, 20, 100);
    Snapshot();
    const RECT rcFilled = {0, 75, 20, 100}, rcEmpty = {0, 0, 20, 75};
    EXPECT_EQ(CountPixels(rcFilled, IsRed), 20 * 25);
    EXPECT_EQ(CountPixels(rcEmpty, IsRed), 0);
}

TEST(ProgressRange, ValuesOutsideTheRangeAreRefused)
{
    CProgressUI bar;
    bar.SetValue(150);
    EXPECT_EQ(bar.GetValue(), 0);
    bar.SetAttribute(L"value", L"150");
    EXPECT_EQ(bar.GetValue(), 0);
    bar.ApplyAttributeList(L"min=\"-10\" max=\"10\" value=\"-5\" foreimage=\"f\" isstretchfore=\"false\" hor=\"false\"");
    EXPECT_EQ(bar.GetMinValue(), -10);
    EXPECT_EQ(bar.GetMaxValue(), 10);
    EXPECT_EQ(bar.GetValue(), -5);
    EXPECT_STREQ(bar.GetForeImage(), L"f");
    EXPECT_FALSE(bar.IsStretchForeImage());
    EXPECT_FALSE(bar.IsHorizontal());
    EXPECT_EQ(bar.GetFixedHeight(), 12);
    EXPECT_EQ(bar.GetTextStyle(), UINT(DT_SINGLELINE | DT_CENTER));
    EXPECT_EQ(bar.GetInterface(L"Progress"), &bar);
    EXPECT_EQ(bar.GetInterface(L"Slider"), nullptr);
}

TEST_F(Progress, AnEmptyRangeBecomesOneStepAtThePaint)
{
    CProgressUI* pBar = new CProgressUI;
    CSliderUI* pSlider = new CSliderUI;
    pBar->SetMinValue(10);
    pBar->SetMaxValue(10);
    pSlider->ApplyAttributeList(L"min=\"50\" max=\"20\"");
    // Nothing divides by the empty range before the first paint.
    EXPECT_EQ(RectText(pSlider->GetThumbRect()), "0,-5,10,5");
    Attach({pBar, pSlider}, 110, 20);
    EXPECT_EQ(pBar->GetMaxValue(), 11);
    EXPECT_EQ(pBar->GetValue(), 10);
    EXPECT_EQ(pSlider->GetMaxValue(), 51);
    EXPECT_EQ(pSlider->GetValue(), 50);
    // The top of the int range has no room above the minimum: it gives way.
    pBar->SetMinValue(INT_MAX);
    Snapshot();
    EXPECT_EQ(pBar->GetMinValue(), INT_MAX - 1);
    EXPECT_EQ(pBar->GetMaxValue(), INT_MAX);
}

TEST(SliderThumb, SitsWhereTheValueSays)
{
    CSliderUI slider;
    slider.SetPos(RECT{20, 0, 130, 20});
    slider.SetValue(50);
    // 110 pixels less a 10-pixel thumb, half way.
    EXPECT_EQ(RectText(slider.GetThumbRect()), "70,5,80,15");
    slider.SetHorizontal(false);
    slider.SetPos(RECT{0, 0, 20, 110});
    EXPECT_EQ(RectText(slider.GetThumbRect()), "5,50,15,60");
    // The whole int range over a wide track: no product overflows.
    slider.SetHorizontal(true);
    slider.SetMinValue(INT_MIN);
    slider.SetMaxValue(INT_MAX);
    slider.SetValue(INT_MAX);
    slider.SetPos(RECT{-1000000000, 0, 2000000000, 20});
    EXPECT_EQ(slider.GetThumbRect().left, 2000000000 - 10);
    slider.SetValue(0);
    EXPECT_EQ(slider.GetThumbRect().left, 499999995);
}

struct Slider : ControlWindowTest
{
    void SetUp() override
    {
        ControlWindowTest::SetUp();
        pSlider->SetName(L"s");
        pSlider->SetThumbImage(Image(L"thumb.png", 0xFF0000FF));
        pSlider->SetThumbHotImage(Image(L"thumbhot.png", 0xFF00C000));
        pSlider->SetThumbPushedImage(Image(L"thumbpushed.png", 0xFFFF0000));
        // 110 pixels wide: 100 pixels of travel, one value per pixel.
        Attach({pSlider}, 110, 20);
        log.Clear();
    }
    int Changes() const { return log.Count(L"valuechanged"); }
    void Press(int x) { Send(WM_LBUTTONDOWN, MK_LBUTTON, At(x, 10)); }
    void MoveTo(int x) { Send(WM_MOUSEMOVE, MK_LBUTTON, At(x, 10)); }
    void Release(int x) { Send(WM_LBUTTONUP, 0, At(x, 10)); }
    // One notch, with the point in screen coordinates as the wheel gives it.
    void Wheel(int nDelta)
    {
        POINT pt = {55, 10};
        ::ClientToScreen(wnd, &pt);
        Send(WM_MOUSEWHEEL, MAKEWPARAM(0, nDelta), MAKELPARAM(pt.x, pt.y));
    }
    uint32_t ThumbColour()
    {
        const RECT rc = pSlider->GetThumbRect();
        return Snapshot().Rgb((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }

    CSliderProbeUI* pSlider = new CSliderProbeUI;
};

TEST_F(Slider, DraggingMovesTheValueAndTheReleaseReportsIt)
{
    EXPECT_EQ(ThumbColour(), 0x0000FFu);
    Send(WM_MOUSEMOVE, 0, At(5, 10));
    EXPECT_EQ(ThumbColour(), 0x00C000u);
    Press(5);
    EXPECT_EQ(pSlider->State() & CTLSTATE_CAPTURED, UINT(CTLSTATE_CAPTURED));
    EXPECT_EQ(ThumbColour(), 0xFF0000u);
    // While dragging the value follows without a word, past the ends too.
    const int aMoves[][2] = {{30, 25}, {55, 50}, {200, 100}, {-40, 0}, {80, 75}};
    for (const auto& move : aMoves) {
        MoveTo(move[0]);
        EXPECT_EQ(pSlider->GetValue(), move[1]) << "x " << move[0];
        EXPECT_EQ(ThumbColour(), 0xFF0000u);
    }
    EXPECT_EQ(Changes(), 0);
    // The release lands where the last move did; the drag as a whole changed the value.
    Release(80);
    EXPECT_EQ(pSlider->GetValue(), 75);
    EXPECT_EQ(Changes(), 1);
    EXPECT_EQ(log.aSenders.back(), pSlider);
    EXPECT_EQ(pSlider->State() & CTLSTATE_CAPTURED, 0u);
    // A drag that ends where it began reports nothing.
    Press(80);
    MoveTo(20);
    MoveTo(80);
    Release(80);
    EXPECT_EQ(Changes(), 1);
    // The same through the queue.
    Post(WM_LBUTTONDOWN, MK_LBUTTON, At(80, 10));
    Post(WM_MOUSEMOVE, MK_LBUTTON, At(45, 10));
    Post(WM_LBUTTONUP, 0, At(45, 10));
    PumpMessages();
    EXPECT_EQ(pSlider->GetValue(), 40);
    EXPECT_EQ(Changes(), 2);
}

TEST_F(Slider, AReleaseOnTheTrackMovesTheValueThere)
{
    // A press beside the thumb takes nothing; the release decides.
    Press(60);
    EXPECT_EQ(pSlider->State() & CTLSTATE_CAPTURED, 0u);
    MoveTo(90);
    EXPECT_EQ(pSlider->GetValue(), 0);
    Release(109);
    EXPECT_EQ(pSlider->GetValue(), 100);
    EXPECT_EQ(Changes(), 1);
    // A release that gives the current value says nothing.
    Press(60);
    Release(107);
    EXPECT_EQ(Changes(), 1);
    Press(30);
    Release(2);
    EXPECT_EQ(pSlider->GetValue(), 0);
    EXPECT_EQ(Changes(), 2);
}

TEST_F(Slider, EachWheelNotchStepsAndIsAnnounced)
{
    pSlider->SetAttribute(L"step", L"30");
    pSlider->SetValue(50);
    Wheel(WHEEL_DELTA);
    EXPECT_EQ(pSlider->GetValue(), 80);
    Wheel(-WHEEL_DELTA);
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(pSlider->GetValue(), 20);
    EXPECT_EQ(Changes(), 3);
    // Beyond an end the value stays, and the notch is still announced.
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(pSlider->GetValue(), 20);
    EXPECT_EQ(Changes(), 4);
    pSlider->SetValue(100);
    Wheel(WHEEL_DELTA);
    EXPECT_EQ(pSlider->GetValue(), 100);
    EXPECT_EQ(Changes(), 5);
}

TEST_F(Slider, ADisabledSliderTakesNoInput)
{
    pSlider->SetValue(50);
    Send(WM_MOUSEMOVE, 0, At(55, 10));
    Press(55);
    ASSERT_NE(pSlider->State(), 0u);
    // Disabled in the middle of a drag: the drag is over.
    pSlider->SetEnabled(false);
    EXPECT_EQ(pSlider->State(), 0u);
    MoveTo(90);
    Release(90);
    Press(55);
    MoveTo(10);
    Release(10);
    Wheel(WHEEL_DELTA);
    Send(WM_MOUSEMOVE, 0, At(300, 150));
    Send(WM_MOUSEMOVE, 0, At(55, 10));
    EXPECT_EQ(pSlider->GetValue(), 50);
    EXPECT_EQ(pSlider->State(), 0u);
    EXPECT_EQ(Changes(), 0);
    EXPECT_EQ(pSlider->GetControlFlags(), 0u);
    EXPECT_EQ(ThumbColour(), 0x0000FFu);
    pSlider->SetEnabled(true);
    EXPECT_EQ(pSlider->GetControlFlags(), UINT(CTLFLAG_SETCURSOR));
}

TEST(SliderAttributes, ReachTheirSetters)
{
    CSliderUI slider;
    slider.ApplyAttributeList(L"thumbimage=\"t\" thumbhotimage=\"th\" thumbpushedimage=\"tp\" thumbsize=\"6,8\" "
                              L"step=\"4\" max=\"40\" value=\"30\"");
    EXPECT_STREQ(slider.GetThumbImage(), L"t");
    EXPECT_STREQ(slider.GetThumbHotImage(), L"th");
    EXPECT_STREQ(slider.GetThumbPushedImage(), L"tp");
    EXPECT_EQ(slider.GetChangeStep(), 4);
    EXPECT_EQ(slider.GetValue(), 30);
    slider.SetPos(RECT{0, 0, 46, 20});
    EXPECT_EQ(RectText(slider.GetThumbRect()), "30,6,36,14");
    EXPECT_STREQ(slider.GetClass(), L"SliderUI");
    EXPECT_EQ(slider.GetInterface(L"Progress"), &slider);
    EXPECT_EQ(slider.GetInterface(L"Slider"), &slider);
}

} // namespace
