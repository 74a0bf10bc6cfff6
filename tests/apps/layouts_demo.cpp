// Options, check boxes, progress bars, sliders and the tile, tab and child
// layouts in one skinned window, built by the dialog builder from a skin
// archive made in memory at start.
//   layouts_demo.exe [close after ms, 0 = stay] [tab 0..2]
// The tab options switch the pages, the sliders drive the bars, and the
// footer comes from a second skin file through a child layout. Shortly after
// it opens, the window posts itself the mouse messages of a user who drags
// the first slider to about 80 and then points at a check box.
#include <windows.h>

#include <cmath>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "../core/PngFixture.h"
#include "../core/ZipWriter.h"
#include "DemoWindow.h"
#include "controls/LabelUI.h"
#include "controls/OptionUI.h"
#include "controls/ProgressUI.h"
#include "controls/SliderUI.h"
#include "controls/TabLayoutUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {


// One image of n x n pixels whose every pixel is given by its centre point;
// shapes are drawn with coverage from their edge distance.
std::string Picture(int n, const std::function<uint32_t(double x, double y)>& pixel)
{
    std::vector<uint32_t> px(static_cast<size_t>(n) * n);
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) px[static_cast<size_t>(y) * n + x] = pixel(x + 0.5, y + 0.5);
    return MakePng(n, n, px);
}

double Coverage(double dInside) { return dInside <= -0.5 ? 0.0 : dInside >= 0.5 ? 1.0 : dInside + 0.5; }

uint32_t WithAlpha(uint32_t rgb, double a) { return (static_cast<uint32_t>(a * 255.0 + 0.5) << 24) | (rgb & 0xFFFFFF); }

// b over a, both 0xAARRGGBB with straight alpha.
uint32_t Over(uint32_t a, uint32_t b)
{
    const double ab = (b >> 24) / 255.0, aa = (a >> 24) / 255.0, ao = ab + aa * (1 - ab);
    if (ao <= 0) return 0;
    auto channel = [&](int shift) {
        const double cb = ((b >> shift) & 0xFF), ca = ((a >> shift) & 0xFF);
        return static_cast<uint32_t>((cb * ab + ca * aa * (1 - ab)) / ao + 0.5) << shift;
    };
    return (static_cast<uint32_t>(ao * 255 + 0.5) << 24) | channel(16) | channel(8) | channel(0);
}

// A rounded square with a one-pixel frame.
std::string RoundBox(int n, double r, uint32_t face, uint32_t frame)
{
    return Picture(n, [=](double x, double y) {
        const double h = n / 2.0;
        const double qx = std::fabs(x - h) - (h - r), qy = std::fabs(y - h) - (h - r);
        const double d = std::hypot(std::fmax(qx, 0.0), std::fmax(qy, 0.0)) + std::fmin(std::fmax(qx, qy), 0.0) - r;
        return Over(WithAlpha(frame, Coverage(-d)), WithAlpha(face, Coverage(-d - 1.0)));
    });
}

// A ring with a dot in the middle when on: the radio option.
std::string Radio(int n, uint32_t face, uint32_t frame, uint32_t dot)
{
    return Picture(n, [=](double x, double y) {
        const double d = std::hypot(x - n / 2.0, y - n / 2.0), r = n / 2.0 - 0.5;
        uint32_t c = Over(WithAlpha(frame, Coverage(r - d)), WithAlpha(face, Coverage(r - 1.0 - d)));
        if (dot != 0) c = Over(c, WithAlpha(dot, Coverage(n / 4.5 - d)));
        return c;
    });
}

double SegmentDistance(double x, double y, double ax, double ay, double bx, double by)
{
    const double vx = bx - ax, vy = by - ay;
    double t = ((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy);
    t = std::fmax(0.0, std::fmin(1.0, t));
    return std::hypot(x - ax - t * vx, y - ay - t * vy);
}

// A filled box with a white tick: the checked check box.
std::string Checked(int n, uint32_t face)
{
    const std::string box = RoundBox(n, 3, face, face);
    return Picture(n, [=](double x, double y) {
        const double h = n / 2.0, r = 3;
        const double qx = std::fabs(x - h) - (h - r), qy = std::fabs(y - h) - (h - r);
        const double d = std::hypot(std::fmax(qx, 0.0), std::fmax(qy, 0.0)) + std::fmin(std::fmax(qx, qy), 0.0) - r;
        const double s = n / 16.0;
        const double dTick = std::fmin(SegmentDistance(x, y, 4 * s, 8.5 * s, 7 * s, 11.5 * s),
                                       SegmentDistance(x, y, 7 * s, 11.5 * s, 12.5 * s, 5 * s));
        return Over(WithAlpha(face, Coverage(-d)), WithAlpha(0xFFFFFF, Coverage(1.1 * s - dTick) * Coverage(-d)));
    });
}

// A gradient across (horizontal) or down (vertical) from one colour to another.
std::string Gradient(int n, uint32_t from, uint32_t to, bool bHorizontal)
{
    return Picture(n, [=](double x, double y) {
        const double t = (bHorizontal ? x : n - y) / n;
        auto mix = [&](int shift) {
            return static_cast<uint32_t>(((from >> shift) & 0xFF) * (1 - t) + ((to >> shift) & 0xFF) * t + 0.5) << shift;
        };
        return 0xFF000000u | mix(16) | mix(8) | mix(0);
    });
}

// The slider's track: a thin rounded bar across the middle of its 20 pixels.
std::string SliderTrack(bool bHorizontal)
{
    std::vector<uint32_t> px(20 * 12, 0);
    for (int along = 0; along < 12; along++) {
        for (int across = 7; across < 13; across++) {
            const bool bEdge = along == 0 || along == 11 || across == 7 || across == 12;
            const bool bCorner = (along == 0 || along == 11) && (across == 7 || across == 12);
            const uint32_t c = bCorner ? 0 : bEdge ? 0xFFC6D0DA : 0xFFDCE3EA;
            if (bHorizontal) px[across * 12 + along] = c;
            else px[along * 20 + across] = c;
        }
    }
    return bHorizontal ? MakePng(12, 20, px) : MakePng(20, 12, px);
}

// A round thumb with a soft edge.
std::string Thumb(int n, uint32_t face, uint32_t frame)
{
    return Picture(n, [=](double x, double y) {
        const double d = std::hypot(x - n / 2.0, y - n / 2.0), r = n / 2.0 - 0.5;
        return Over(WithAlpha(frame, Coverage(r - d)), WithAlpha(face, Coverage(r - 2.0 - d)));
    });
}

const char kMainSkin[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="720,470" caption="0,0,0,44" roundcorner="6,6">
  <Font name="Tahoma" size="13" default="true" />
  <Font name="Tahoma" size="13" bold="true" />
  <Font name="Tahoma" size="18" bold="true" />
  <Font name="Tahoma" size="11" />
  <Default name="CheckBox" value="height=&quot;26&quot; align=&quot;left&quot; textpadding=&quot;24,5,0,0&quot; normalimage=&quot;file='check_off.png' dest='0,5,16,21'&quot; hotimage=&quot;file='check_hot.png' dest='0,5,16,21'&quot; selectedimage=&quot;file='check_on.png' dest='0,5,16,21'&quot; disabledimage=&quot;file='check_disabled.png' dest='0,5,16,21'&quot; disabledtextcolor=&quot;#FFA7A6AA&quot;" />
  <Default name="Option" value="height=&quot;26&quot; align=&quot;left&quot; textpadding=&quot;24,5,0,0&quot; normalimage=&quot;file='radio_off.png' dest='0,5,16,21'&quot; hotimage=&quot;file='radio_hot.png' dest='0,5,16,21'&quot; selectedimage=&quot;file='radio_on.png' dest='0,5,16,21'&quot;" />
  <Default name="Slider" value="height=&quot;20&quot; thumbsize=&quot;16,16&quot; bkimage=&quot;file='track_h.png' corner='4,0,4,0'&quot; thumbimage=&quot;thumb.png&quot; thumbhotimage=&quot;thumb_hot.png&quot; thumbpushedimage=&quot;thumb_pushed.png&quot;" />
  <VerticalLayout bkcolor="#FFF4F6F9" bordercolor="#FF0E5A96" bordersize="1" inset="1,1,1,1">
    <HorizontalLayout height="44" bkcolor="#FF1883D7" bkcolor2="#FF0E5A96">
      <Label text="Quorvel layouts" font="2" textcolor="#FFFFFFFF" textpadding="16,0,0,0" />
      <Button name="closebtn" width="44" text="x" font="2" textcolor="#FFDCEBF7" hottextcolor="#FFFFFFFF" hotbkcolor="#FFC42B1C" />
    </HorizontalLayout>
    <HorizontalLayout inset="16,14,16,10" childpadding="16">
      <VerticalLayout width="340">
        <HorizontalLayout height="30" childpadding="4">
          <Option name="tab0" group="tabs" text="Choices" selected="true" width="104" align="vcenter" textpadding="0,0,0,0" font="1" textcolor="#FF4A5563" selectedtextcolor="#FFFFFFFF" normalimage="file='tab_normal.png' corner='5,5,5,5'" hotimage="file='tab_hot.png' corner='5,5,5,5'" selectedimage="file='tab_on.png' corner='5,5,5,5'" />
          <Option name="tab1" group="tabs" text="Levels" width="104" align="vcenter" textpadding="0,0,0,0" font="1" textcolor="#FF4A5563" selectedtextcolor="#FFFFFFFF" normalimage="file='tab_normal.png' corner='5,5,5,5'" hotimage="file='tab_hot.png' corner='5,5,5,5'" selectedimage="file='tab_on.png' corner='5,5,5,5'" />
          <Option name="tab2" group="tabs" text="Tiles" width="104" align="vcenter" textpadding="0,0,0,0" font="1" textcolor="#FF4A5563" selectedtextcolor="#FFFFFFFF" normalimage="file='tab_normal.png' corner='5,5,5,5'" hotimage="file='tab_hot.png' corner='5,5,5,5'" selectedimage="file='tab_on.png' corner='5,5,5,5'" />
        </HorizontalLayout>
        <Control height="8" />
        <TabLayout name="pages" bkcolor="#FFFFFFFF" bordercolor="#FFBFC8D2" bordersize="1" inset="16,12,16,12">
          <VerticalLayout>
            <Label text="Notifications" font="1" height="24" textcolor="#FF0E5A96" />
            <CheckBox name="chk_sound" text="Play a sound after each touch" selected="true" />
            <CheckBox name="chk_blink" text="Blink while the sensor waits" />
            <CheckBox name="chk_admin" text="Managed by your administrator" selected="true" enabled="false" />
            <Control height="10" />
            <Label text="Sensor speed" font="1" height="24" textcolor="#FF0E5A96" />
            <Option name="speed_slow" group="speed" text="Careful: more samples per finger" />
            <Option name="speed_normal" group="speed" text="Normal" selected="true" />
            <Option name="speed_fast" group="speed" text="Quick: fewer samples" />
          </VerticalLayout>
          <VerticalLayout childpadding="8">
            <Label text="Capture quality" font="1" height="24" textcolor="#FF0E5A96" />
            <Progress name="quality" value="62" height="16" text="62 %" font="3" textcolor="#FF222B36" bkimage="file='track.png' corner='3,3,3,3'" foreimage="file='fore_h.png' corner='3,3,3,3'" />
            <Slider name="quality_slider" value="62" />
            <Label text="The slider sets the bar; the wheel steps it by 5." font="3" height="20" textcolor="#FF6B7785" />
          </VerticalLayout>
          <TileLayout name="page_tiles" itemsize="98,0" childpadding="6">
            <Button text="Thumb" height="44" bkcolor="#FFE3EEF9" hotbkcolor="#FFC9DFF3" />
            <Button text="Index" height="44" bkcolor="#FFE3EEF9" hotbkcolor="#FFC9DFF3" />
            <Button text="Middle" height="44" bkcolor="#FFE3EEF9" hotbkcolor="#FFC9DFF3" />
            <Button text="Ring" height="44" bkcolor="#FFE3EEF9" hotbkcolor="#FFC9DFF3" />
            <Button text="Little" height="44" bkcolor="#FFE3EEF9" hotbkcolor="#FFC9DFF3" />
          </TileLayout>
        </TabLayout>
      </VerticalLayout>
      <VerticalLayout childpadding="8">
        <Label text="Enrollment" font="1" height="24" textcolor="#FF0E5A96" />
        <Progress name="bar" value="35" height="16" text="35 %" font="3" textcolor="#FF222B36" bkimage="file='track.png' corner='3,3,3,3'" foreimage="file='fore_h.png' corner='3,3,3,3'" />
        <Slider name="slider" value="35" step="5" />
        <HorizontalLayout height="104" childpadding="14">
          <Progress name="vbar" hor="false" width="16" height="104" value="70" bkimage="file='track.png' corner='3,3,3,3'" foreimage="file='fore_v.png' corner='3,3,3,3'" />
          <Slider name="vslider" hor="false" width="20" height="104" value="70" bkimage="file='track_v.png' corner='0,4,0,4'" />
          <Progress name="cut" width="150" height="16" value="70" isstretchfore="false" padding="0,44,0,0" bkimage="file='track.png' corner='3,3,3,3'" foreimage="wide_fore.png" />
        </HorizontalLayout>
        <Label text="Fingers" font="1" height="24" textcolor="#FF0E5A96" />
        <TileLayout name="fingers" itemsize="62,0" childpadding="6" height="96">
          <Label text="L1" height="40" align="center" bkcolor="#FF1883D7" textcolor="#FFFFFFFF" borderround="6,6" />
          <Label text="L2" height="40" align="center" bkcolor="#FF1883D7" textcolor="#FFFFFFFF" borderround="6,6" />
          <Label text="L3" height="40" align="center" bkcolor="#FF5FB3F0" textcolor="#FFFFFFFF" borderround="6,6" />
          <Label text="L4" height="40" align="center" bkcolor="#FFD6DEE7" textcolor="#FF6B7785" borderround="6,6" />
          <Label text="L5" height="40" align="center" bkcolor="#FFD6DEE7" textcolor="#FF6B7785" borderround="6,6" />
          <Label text="R1" height="30" align="center" bkcolor="#FF1883D7" textcolor="#FFFFFFFF" borderround="6,6" />
          <Label text="R2" height="40" align="center" bkcolor="#FFD6DEE7" textcolor="#FF6B7785" borderround="6,6" />
          <Label text="R3" height="20" align="center" bkcolor="#FFD6DEE7" textcolor="#FF6B7785" borderround="6,6" />
        </TileLayout>
      </VerticalLayout>
    </HorizontalLayout>
    <ChildLayout name="footer" xmlfile="footer.xml" height="34" />
  </VerticalLayout>
</Window>
)";

const char kFooterSkin[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window>
  <HorizontalLayout bkcolor="#FFE8EEF5" inset="16,0,16,0">
    <Label name="status" text="The footer is footer.xml, loaded by a child layout." font="3" textcolor="#FF6B7785" />
  </HorizontalLayout>
</Window>
)";

std::vector<uint8_t> BuildSkinArchive()
{
    ZipWriter zip;
    zip.Add("main.xml", kMainSkin);
    zip.Add("footer.xml", kFooterSkin);
    zip.Add("check_off.png", RoundBox(16, 3, 0xFFFFFF, 0x8A96A3));
    zip.Add("check_hot.png", RoundBox(16, 3, 0xE8F2FB, 0x1883D7));
    zip.Add("check_on.png", Checked(16, 0x1883D7));
    zip.Add("check_disabled.png", Checked(16, 0xB9C3CE));
    zip.Add("radio_off.png", Radio(16, 0xFFFFFF, 0x8A96A3, 0));
    zip.Add("radio_hot.png", Radio(16, 0xE8F2FB, 0x1883D7, 0));
    zip.Add("radio_on.png", Radio(16, 0xFFFFFF, 0x1883D7, 0x1883D7));
    zip.Add("tab_normal.png", MakeRoundedFacePng(0xFFFFFFFF, 0xFFBFC8D2));
    zip.Add("tab_hot.png", MakeRoundedFacePng(0xFFE8F2FB, 0xFF1883D7));
    zip.Add("tab_on.png", MakeRoundedFacePng(0xFF1883D7, 0xFF0E5A96));
    zip.Add("track.png", RoundBox(12, 3, 0xDCE3EA, 0xC6D0DA));
    zip.Add("track_h.png", SliderTrack(true));
    zip.Add("track_v.png", SliderTrack(false));
    zip.Add("fore_h.png", Gradient(12, 0x1883D7, 0x5FB3F0, true));
    zip.Add("fore_v.png", Gradient(12, 0x1883D7, 0x5FB3F0, false));
    zip.Add("thumb.png", Thumb(16, 0xFFFFFF, 0x1883D7));
    zip.Add("thumb_hot.png", Thumb(16, 0xE8F2FB, 0x0E5A96));
    zip.Add("thumb_pushed.png", Thumb(16, 0x1883D7, 0x0E5A96));
    // Cut, not stretched: the left half of this bar is one colour, the right half another.
    zip.Add("wide_fore.png", MakePng(150, 16, [] {
                std::vector<uint32_t> px(150 * 16);
                for (int i = 0; i < 150 * 16; i++) px[i] = (i % 150) < 75 ? 0xFF1883D7 : 0xFF2EAD6B;
                return px;
            }()));
    return zip.Build();
}

class CLayoutsDemoWnd : public CDemoWindow
{
public:
    CLayoutsDemoWnd(UINT uCloseAfter, int iTab) : CDemoWindow(uCloseAfter), m_iTab(iTab) {}

    LPCWSTR GetWndClassName() const override { return L"LayoutsDemo"; }

    void InitWindow() override
    {
        m_pStatus = static_cast<CLabelUI*>(m_PaintManager.FindControl(L"status"));
        m_pPages = static_cast<CTabLayoutUI*>(m_PaintManager.FindControl(L"pages"));
        if (m_iTab > 0) {
            wchar_t szName[8];
            std::swprintf(szName, 8, L"tab%d", m_iTab);
            if (COptionUI* pTab = static_cast<COptionUI*>(m_PaintManager.FindControl(szName))) pTab->Selected(true);
        }
        StartTimers();
    }

    void Notify(tagTNotifyUI& msg) override
    {
        CControlUI* pSender = msg.pSenderControl;
        if (pSender == NULL) return WindowImplBase::Notify(msg);
        const CSkinString& sName = pSender->GetName();
        if (msg.sNotifyType == L"selectchanged") {
            COptionUI* pOption = static_cast<COptionUI*>(pSender->GetInterface(L"Option"));
            if (pOption != NULL) Status(pSender->GetText() + (pOption->IsSelected() ? L": on" : L": off"));
            // The tab options are "tab0" to "tab2": each shows its page.
            if (sName.Left(3) == L"tab" && m_pPages != NULL) m_pPages->SelectItem(sName[3] - L'0');
        }
        else if (msg.sNotifyType == L"valuechanged") {
            CSliderUI* pSlider = static_cast<CSliderUI*>(pSender->GetInterface(L"Slider"));
            if (pSlider != NULL) Follow(sName, pSlider->GetValue());
        }
        else if (msg.sNotifyType == L"tabselect") {
            CSkinString s;
            s.Format(L"Page %d of 3 (was %d)", int(msg.wNotifyParam) + 1, int(msg.lNotifyParam) + 1);
            Status(s);
        }
        WindowImplBase::Notify(msg);
    }

private:
    void ActLikeAUser() override
    {
        CSliderUI* pSlider = static_cast<CSliderUI*>(m_PaintManager.FindControl(L"slider"));
        CControlUI* pCheck = m_PaintManager.FindControl(L"chk_blink");
        if (pSlider == NULL || pCheck == NULL) return;
        auto post = [this](UINT uMsg, WPARAM wParam, LONG x, LONG y) { ::PostMessageW(m_hWnd, uMsg, wParam, MAKELPARAM(x, y)); };
        const RECT rcThumb = pSlider->GetThumbRect(), &rcTrack = pSlider->GetPos();
        const LONG x = (rcThumb.left + rcThumb.right) / 2, y = (rcThumb.top + rcThumb.bottom) / 2;
        const LONG xTo = rcTrack.left + 8 + (rcTrack.right - rcTrack.left - 16) * 80 / 100;
        post(WM_MOUSEMOVE, 0, x, y);
        post(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
        for (LONG xStep = x; xStep < xTo; xStep += 20) post(WM_MOUSEMOVE, MK_LBUTTON, xStep, y);
        post(WM_MOUSEMOVE, MK_LBUTTON, xTo, y);
        post(WM_LBUTTONUP, 0, xTo, y);
        const RECT& rcCheck = pCheck->GetPos();
        post(WM_MOUSEMOVE, 0, rcCheck.left + 8, (rcCheck.top + rcCheck.bottom) / 2);
    }

    void Status(const CSkinString& sText)
    {
        if (m_pStatus != NULL) m_pStatus->SetText(sText);
    }

    // Each slider drives the bar beside it.
    void Follow(const CSkinString& sSlider, int nValue)
    {
        const wchar_t* pstrBar = sSlider == L"slider" ? L"bar" : sSlider == L"vslider" ? L"vbar" : L"quality";
        CProgressUI* pBar = static_cast<CProgressUI*>(m_PaintManager.FindControl(pstrBar));
        if (pBar == NULL) return;
        pBar->SetValue(nValue);
        CSkinString s;
        s.Format(L"%d %%", nValue);
        if (!pBar->GetText().IsEmpty()) pBar->SetText(s);
        s.Format(L"%ls: %d", pstrBar, nValue);
        Status(s);
    }

    int m_iTab;
    CLabelUI* m_pStatus = NULL;
    CTabLayoutUI* m_pPages = NULL;
};

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    const DemoArguments args;
    CLayoutsDemoWnd wnd(args.uCloseAfter, static_cast<int>(std::wcstol(args.sWord.c_str(), NULL, 10)));
    return RunDemo(hInstance, BuildSkinArchive(), wnd, L"SkinLib layouts demo");
}
