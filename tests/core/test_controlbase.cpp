// The control base: attribute value forms, the attribute vocabulary, the pixels
// its paint steps produce, placement, invalidation and the default event routing.
#include "controls/ControlUI.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "PixelCanvas.h"
#include "PngFixture.h"
#include "TempFiles.h"
#include "TestControls.h"
#include "core/AttributeValue.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

bool SameRect(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

TEST(AttributeValue, FormsStopAtTheEndAndSaturate)
{
    struct { const wchar_t* pstr; RECT rc; } rects[] = {
        {L"1,2,3,4", {1, 2, 3, 4}}, {L"7", {7, 0, 0, 0}}, {L"1,2", {1, 2, 0, 0}}, {L"1,", {1, 0, 0, 0}},
        {L"", {0, 0, 0, 0}}, {L"1;2x3 4", {1, 2, 3, 4}},
        // One separator after each number: " ," is two, so the third number reads nothing.
        {L"1, 2 ,3,4", {1, 2, 0, 3}},
        {L"99999999999,-99999999999,+5,-0", {INT_MAX, INT_MIN, 5, 0}},
    };
    for (const auto& row : rects) EXPECT_TRUE(SameRect(ParseRectValue(row.pstr), row.rc)) << row.pstr;
    EXPECT_EQ(ParseSizeValue(L"4").cx, 4);
    EXPECT_EQ(ParseSizeValue(L"4,5").cy, 5);

    struct { const wchar_t* pstr; bool bSkip; DWORD dw; } colors[] = {
        {L"#FF1883D7", false, 0xFF1883D7}, {L"FF0000", false, 0x00FF0000}, {L"#", false, 0}, {L"", false, 0},
        {L" #FF000001", false, 0}, {L" #FF000001", true, 0xFF000001}, {L"\t#12", true, 0x12},
        {L"#0xFF00FF00", false, 0xFF00FF00}, {L"#1FFFFFFFFF", false, 0xFFFFFFFF}, {L"#zz", false, 0},
    };
    for (const auto& row : colors) EXPECT_EQ(ParseColorValue(row.pstr, row.bSkip), row.dw) << row.pstr;

    struct { const wchar_t* pstr; int n; } ints[] = {
        {L"12", 12}, {L" -3x", -3}, {L"", 0}, {L"abc", 0}, {L"99999999999", INT_MAX}, {L"-99999999999", INT_MIN},
    };
    for (const auto& row : ints) EXPECT_EQ(ParseIntValue(row.pstr), row.n) << row.pstr;
    EXPECT_TRUE(ParseBoolValue(L"true"));
    for (const wchar_t* pstr : {L"True", L"true ", L"1", L""}) EXPECT_FALSE(ParseBoolValue(pstr)) << pstr;
}

TEST(ControlAttributes, EachNameReachesItsField)
{
    typedef std::function<void(CControlUI&)> Check;
    struct { const wchar_t* pstrList; Check check; } rows[] = {
        {L"pos=\"-100,10,-10,40\"", [](CControlUI& c) {
             EXPECT_EQ(c.GetFixedXY().cx, -10); EXPECT_EQ(c.GetFixedXY().cy, 10);
             EXPECT_EQ(c.GetFixedWidth(), 90); EXPECT_EQ(c.GetFixedHeight(), 30); }},
        {L"pos=\"7\"", [](CControlUI& c) { EXPECT_EQ(c.GetFixedXY().cx, 7); EXPECT_EQ(c.GetFixedWidth(), 0); }},
        {L"pos=\"-2147483648,0,2147483647,5\"", [](CControlUI& c) {
             EXPECT_EQ(c.GetFixedXY().cx, INT_MAX); EXPECT_EQ(c.GetFixedWidth(), INT_MAX); }},
        {L"relativepos=\"10,20,30,40\"", [](CControlUI& c) {
             tagTRelativePosUI r = c.GetRelativePos();
             EXPECT_TRUE(r.bIsRelative && r.nOffsetXPct == 10 && r.nOffsetYPct == 20 && r.nGrowXPct == 30 &&
                         r.nGrowYPct == 40 && r.szParentSize.cx == 0); }},
        {L"padding=\"1,2\"", [](CControlUI& c) { EXPECT_TRUE(SameRect(c.GetPadding(), {1, 2, 0, 0})); }},
        {L"bkcolor=\" #FF102030\" bkcolor2=\"#FF000002\" bkcolor3=\"3\"", [](CControlUI& c) {
             EXPECT_EQ(c.GetBkColor(), 0xFF102030u); EXPECT_EQ(c.GetBkColor2(), 0xFF000002u);
             EXPECT_EQ(c.GetBkColor3(), 3u); }},
        {L"bkcolor1=\"#FF000001\"", [](CControlUI& c) { EXPECT_EQ(c.GetBkColor(), 0xFF000001u); }},
        {L"bordercolor=\" #FF102030\" focusbordercolor=\"#FF0000FF\"", [](CControlUI& c) {
             EXPECT_EQ(c.GetBorderColor(), 0u); EXPECT_EQ(c.GetFocusBorderColor(), 0xFF0000FFu); }},
        {L"bordersize=\"1,1,1,1\" bordersize=\"2\"", [](CControlUI& c) {
             EXPECT_EQ(c.GetBorderSize(), 2); EXPECT_EQ(c.GetLeftBorderSize() + c.GetBottomBorderSize(), 0); }},
        {L"bordersize=\"3\" bordersize=\"1,0,0,1\" topbordersize=\"4\" rightbordersize=\"5\"", [](CControlUI& c) {
             EXPECT_EQ(c.GetBorderSize(), 3); EXPECT_EQ(c.GetLeftBorderSize(), 1); EXPECT_EQ(c.GetTopBorderSize(), 4);
             EXPECT_EQ(c.GetRightBorderSize(), 5); EXPECT_EQ(c.GetBottomBorderSize(), 1); }},
        {L"borderstyle=\"2\" borderround=\"4,5\" colorhsl=\"true\"", [](CControlUI& c) {
             EXPECT_EQ(c.GetBorderStyle(), 2); EXPECT_EQ(c.GetBorderRound().cy, 5); EXPECT_TRUE(c.IsColorHSL()); }},
        {L"width=\"30\" height=\"-4\" minwidth=\"5\" maxwidth=\"6\" minheight=\"7\" maxheight=\"8\"",
         [](CControlUI& c) {
             EXPECT_EQ(c.GetFixedWidth(), 30); EXPECT_EQ(c.GetFixedHeight(), 0);
             EXPECT_EQ(c.GetMinWidth() + c.GetMaxWidth() + c.GetMinHeight() + c.GetMaxHeight(), 26); }},
        {L"name=\"n\" text=\"t\" tooltip=\"a<n>b\" userdata=\"u\" bkimage=\"i.png\" shortcut=\"Qx\"",
         [](CControlUI& c) {
             EXPECT_EQ(c.GetName(), L"n"); EXPECT_EQ(c.GetText(), L"t"); EXPECT_EQ(c.GetToolTip(), L"a\r\nb");
             EXPECT_EQ(c.GetUserData(), L"u"); EXPECT_EQ(c.GetBkImage(), L"i.png");
             EXPECT_EQ(c.GetShortcut(), L'Q'); }},
        {L"enabled=\"false\" mouse=\"False\" keyboard=\"false\" float=\"true\" menu=\"true\"", [](CControlUI& c) {
             EXPECT_FALSE(c.IsEnabled()); EXPECT_FALSE(c.IsMouseEnabled()); EXPECT_FALSE(c.IsKeyboardEnabled());
             EXPECT_TRUE(c.IsFloat()); EXPECT_TRUE(c.IsContextMenuUsed()); }},
        {L"visible=\"false\" virtualwnd=\"v\" Width=\"9\" unknown=\"1\"", [](CControlUI& c) {
             EXPECT_FALSE(c.IsVisible()); EXPECT_EQ(c.GetVirtualWnd(), L"v"); EXPECT_EQ(c.GetFixedWidth(), 0); }},
        // Syntax: two blanks make the next name " width", which matches nothing, and the parse goes on.
        {L"width=\"1\"  height=\"2\" minwidth=\"3\"", [](CControlUI& c) {
             EXPECT_EQ(c.GetFixedWidth(), 1); EXPECT_EQ(c.GetFixedHeight(), 0); EXPECT_EQ(c.GetMinWidth(), 3); }},
        {L"width=\"1\"x height=\"2\"", [](CControlUI& c) { EXPECT_EQ(c.GetFixedHeight(), 0); }},
        {L"width=\"1\" height=2 minwidth=\"3\"", [](CControlUI& c) {
             EXPECT_EQ(c.GetFixedWidth(), 1); EXPECT_EQ(c.GetMinWidth(), 0); }},
        {L"width=\"1\" height=\"2", [](CControlUI& c) { EXPECT_EQ(c.GetFixedHeight(), 0); }},
        {L"text=\"a=b\" width", [](CControlUI& c) { EXPECT_EQ(c.GetText(), L"a=b"); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.pstrList);
        CControlUI control;
        EXPECT_EQ(control.ApplyAttributeList(row.pstrList), &control);
        row.check(control);
    }
}

// Paints a control at (10,10)-(30,30) on a white 40x40 canvas.
struct Painted
{
    explicit Painted(const wchar_t* pstrList, bool bFocused = false)
    {
        control.ApplyAttributeList(pstrList);
        control.SetPos(RECT{10, 10, 30, 30});
        tagTEventUI event = {bFocused ? SKIN_EVT_SETFOCUS : SKIN_EVT_KILLFOCUS};
        control.Event(event);
        control.DoPaint(canvas.DC(), canvas.Rect());
    }
    CControlUI control;
    PixelCanvas canvas{40, 40};
};

struct ControlPaint : ::testing::Test
{
    // Colour adjustment is process-wide.
    ~ControlPaint() override { CPaintManagerUI::SetHSL(false, 180, 100, 100); }
};

TEST_F(ControlPaint, AttributesGiveTheirPixels)
{
    const uint32_t W = 0xFFFFFF, K = 0;
    struct Probe { int x, y; uint32_t rgb; };
    // Gradients come from GradientFill or, before msimg32 is loaded, from 16 bands.
    struct { const wchar_t* pstrList; bool bFocused; std::vector<Probe> probes; int nTolerance = 2; } rows[] = {
        {L"bkcolor=\"#FF102030\"", false, {{10, 10, 0x102030}, {29, 29, 0x102030}, {30, 30, W}, {9, 9, W}}},
        {L"bkcolor=\" #FF000000\"", false, {{20, 20, K}}},
        {L"bkcolor=\"#80FF0000\"", false, {{20, 20, 0xFF7F7F}}},
        {L"bkcolor=\"#FFFF0000\" bkcolor2=\"#FF0000FF\"", false,
         {{20, 10, 0xFF0000}, {20, 29, 0x0000FF}, {20, 30, W}}, 40},
        {L"bkcolor=\"#FFFF0000\" bkcolor2=\"#FF00FF00\" bkcolor3=\"#FF0000FF\"", false,
         {{20, 10, 0xFF0000}, {20, 20, 0x00FF00}, {20, 29, 0x0000FF}}, 40},
        {L"bkcolor=\"#FFFF0000\" colorhsl=\"true\"", false, {{20, 20, 0xFF0000}}},
        {L"bordercolor=\"#FF000000\" bordersize=\"1\"", false,
         {{10, 10, K}, {29, 20, K}, {20, 29, K}, {11, 11, W}, {30, 20, W}, {20, 30, W}}},
        {L"bordercolor=\"#FF000000\" bordersize=\"1,1,1,1\" bordersize=\"2\"", false,
         {{11, 11, K}, {28, 28, K}, {12, 12, W}, {27, 27, W}, {30, 30, W}}},
        {L"bordercolor=\"#FF000000\" bordersize=\"1,0,0,1\"", false,
         {{10, 15, K}, {20, 29, K}, {20, 10, W}, {29, 15, W}, {30, 15, W}, {20, 30, W}, {11, 15, W}}},
        {L"bordercolor=\"#FF000000\" bordersize=\"0,0,1,0\"", false, {{29, 15, K}, {28, 15, W}, {30, 15, W}}},
        {L"bordercolor=\"#FF000000\" bordersize=\"3,3,3,3\"", false,
         {{10, 20, K}, {12, 20, K}, {13, 20, W}, {27, 20, K}, {29, 20, K}, {26, 20, W}, {30, 20, W}, {9, 20, W},
          {20, 12, K}, {20, 13, W}, {20, 29, K}, {20, 26, W}, {20, 9, W}, {20, 30, W}, {10, 9, W}, {30, 30, W}}},
        {L"bordercolor=\"#FF000000\" bordersize=\"2147483647,2147483647,2147483647,2147483647\"", false,
         {{20, 20, K}, {9, 20, W}, {30, 20, W}, {20, 30, W}}},
        {L"bordercolor=\"#FF000000\" bordersize=\"2147483647\"", false,
         {{20, 20, K}, {9, 20, W}, {30, 20, W}, {20, 30, W}}},
        {L"bordercolor=\"#FF000000\" bordersize=\"2147483647\" borderround=\"2147483647,9\"", false,
         {{9, 20, W}, {30, 20, W}, {20, 30, W}}},
        {L"bordercolor=\" #FF000000\" bordersize=\"1\"", false, {{10, 10, W}}},
        {L"focusbordercolor=\"#FFFF0000\" bordersize=\"1\"", false, {{10, 10, W}}},
        {L"focusbordercolor=\"#FFFF0000\" bordersize=\"1\"", true, {{10, 10, 0xFF0000}, {29, 29, 0xFF0000}}},
        {L"focusbordercolor=\"#FFFF0000\" bordersize=\"1\" borderround=\"4,4\"", false, {{20, 10, W}}},
        {L"focusbordercolor=\"#FFFF0000\" bordersize=\"1,1,1,1\"", true, {{10, 20, W}}},
        {L"bkcolor=\"#FF000000\" borderround=\"10,10\"", false, {{10, 10, W}, {20, 20, K}}},
    };
    CPaintManagerUI::SetHSL(true, 180, 100, 100);
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.pstrList << (row.bFocused ? " focused" : ""));
        Painted painted(row.pstrList, row.bFocused);
        for (const Probe& p : row.probes) {
            const uint32_t rgb = painted.canvas.Rgb(p.x, p.y);
            for (int nShift : {0, 8, 16})
                EXPECT_LE(std::abs(int((rgb >> nShift) & 0xFF) - int((p.rgb >> nShift) & 0xFF)), row.nTolerance)
                    << "at " << p.x << "," << p.y << ": " << std::hex << rgb;
        }
    }
    // Lightness 0 turns the colour black, but only for a control that asks for it.
    CPaintManagerUI::SetHSL(true, 180, 100, 0);
    EXPECT_EQ(Painted(L"bkcolor=\"#FFFF0000\" colorhsl=\"true\"").canvas.Rgb(20, 20), K);
    EXPECT_EQ(Painted(L"bkcolor=\"#FFFF0000\"").canvas.Rgb(20, 20), 0xFF0000u);
}

TEST_F(ControlPaint, ABackgroundImageThatFailsIsDroppedOnce)
{
    const std::wstring folder = MakeTempFolder(L"control_bkimage");
    ASSERT_TRUE(WriteBytes(folder + L"blue.png", MakeSolidPng(4, 4, 0xFF0000FF)));
    CPaintManagerUI::SetResourcePath(folder.c_str());
    CPaintManagerUI pm;
    for (const wchar_t* pstr : {L"missing.png", L"blue.png"}) {
        CControlUI control;
        control.SetManager(&pm, NULL, false);
        control.SetBkImage(pstr);
        control.SetPos(RECT{0, 0, 8, 8});
        PixelCanvas canvas(8, 8);
        control.DoPaint(canvas.DC(), canvas.Rect());
        EXPECT_EQ(control.GetBkImage().IsEmpty(), pstr[0] == L'm') << pstr;
    }
    CPaintManagerUI::SetResourcePath(L"");
}

TEST(ControlPlacement, LimitsPositionsAndFloatingPlaces)
{
    EXPECT_EQ(LimitSize(5, 10, 8), 8);
    EXPECT_EQ(LimitSize(-1, 0, 10), 0);
    EXPECT_EQ(LimitSize(50, 0, 9999), 50);

    CPaintManagerUI pm;  // no window: placement only
    CControlUI parent, child;
    child.SetManager(&pm, &parent, false);
    parent.SetPos(RECT{0, 0, 200, 100});
    child.SetPos(RECT{50, 20, 40, 10});
    EXPECT_TRUE(SameRect(child.GetPos(), {50, 20, 50, 20}));
    EXPECT_EQ(child.EstimateSize(SIZE{1, 1}).cx, 0);

    // A floating control that is moved keeps its new place; a negative X keeps counting from the right.
    child.ApplyAttributeList(L"float=\"true\" pos=\"-100,10,-10,40\"");
    child.SetPos(RECT{90, 15, 180, 45});
    EXPECT_EQ(child.GetFixedXY().cx, -20);
    EXPECT_EQ(child.GetFixedXY().cy, 15);
    EXPECT_EQ(child.EstimateSize(SIZE{}).cx, 90);
}

// Places a relative floating child the way containers must: shares of the
// parent's change since the size was first recorded.
void PlaceRelative(CControlUI& parent, CControlUI& child)
{
    const RECT& R = parent.GetPos();
    const SIZE xy = child.GetFixedXY();
    RECT rc = {R.left + xy.cx, R.top + xy.cy, R.left + xy.cx + child.GetFixedWidth(),
               R.top + xy.cy + child.GetFixedHeight()};
    tagTRelativePosUI rel = child.GetRelativePos();
    if (rel.szParentSize.cx != 0) {
        const int dW = parent.GetWidth() - rel.szParentSize.cx, dH = parent.GetHeight() - rel.szParentSize.cy;
        ::OffsetRect(&rc, RelativeShare(dW, rel.nOffsetXPct), RelativeShare(dH, rel.nOffsetYPct));
        rc.right += RelativeShare(dW, rel.nGrowXPct);
        rc.bottom += RelativeShare(dH, rel.nGrowYPct);
    }
    else {
        child.SetRelativeParentSize(SIZE{parent.GetWidth(), parent.GetHeight()});
    }
    child.SetPos(rc);
}

TEST(ControlPlacement, RelativePlacesDoNotDriftOverManyResizes)
{
    CPaintManagerUI pm;
    CControlUI parent, stepped, once;
    for (CControlUI* p : {&stepped, &once}) {
        p->SetManager(&pm, &parent, false);
        p->ApplyAttributeList(L"float=\"true\" pos=\"10,10,40,30\" relativepos=\"33,50,33,50\"");
    }
    parent.SetPos(RECT{0, 0, 200, 100});
    PlaceRelative(parent, stepped);
    PlaceRelative(parent, once);
    for (int cx = 201; cx <= 500; cx++) {
        parent.SetPos(RECT{0, 0, cx, 100 + cx});
        PlaceRelative(parent, stepped);
    }
    PlaceRelative(parent, once);
    EXPECT_TRUE(SameRect(stepped.GetPos(), once.GetPos()));
    EXPECT_TRUE(SameRect(once.GetPos(), {10 + 99, 10 + 250, 40 + 99 + 99, 30 + 250 + 250}));
    EXPECT_EQ(stepped.GetFixedXY().cx, 10);
    EXPECT_EQ(stepped.GetFixedWidth(), 30);
}

struct ControlTree : ::testing::Test, CManagedTree
{
    // Lays the tree out, then forgets what the layout invalidated.
    ControlTree() { RepaintNow(wnd); }
    RECT Dirty()
    {
        RECT rc = {};
        ::GetUpdateRect(wnd, &rc, FALSE);
        ::ValidateRect(wnd, NULL);
        return rc;
    }
};

TEST_F(ControlTree, SettersInvalidateWhatChangedAndOnlyWhatAncestorsShow)
{
    const RECT rcA = a->GetPos(), rcNone = {};
    Dirty();
    a->SetBkColor(0xFF000000);
    EXPECT_TRUE(SameRect(Dirty(), rcA));
    a->SetBkColor(0xFF000000);
    a->SetText(L"");
    a->SetBorderSize(0);
    EXPECT_TRUE(SameRect(Dirty(), rcNone));
    a->SetText(L"t");
    EXPECT_TRUE(SameRect(Dirty(), rcA));

    a->SetPos(RECT{300, 300, 320, 320});  // outside the root
    Dirty();
    a->Invalidate();
    a->SetBkColor(0xFF0000FF);
    EXPECT_TRUE(SameRect(Dirty(), rcNone));

    // Limits: equal and negative values ask for no layout.
    RepaintNow(wnd);
    b->SetMinWidth(0);
    b->SetMaxHeight(-1);
    EXPECT_FALSE(pRoot->IsUpdateNeeded());
    b->SetMinWidth(4);
    EXPECT_TRUE(pRoot->IsUpdateNeeded());

    // Shown while the parent hides it: nothing to lay out.
    RepaintNow(wnd);
    c->SetInternVisible(false);
    c->SetVisible(false);
    c->SetVisible(true);
    EXPECT_FALSE(c->IsVisible());
    EXPECT_FALSE(pRoot->IsUpdateNeeded());
}

bool RefuseEvent(void*)
{
    return false;
}

TEST_F(ControlTree, EventsFallThroughToTheParentUnlessHandled)
{
    a->aEvents.clear();
    log.Clear();
    CProbeUI child;
    child.SetManager(&pm, a, false);
    child.SetName(L"child");
    tagTEventUI menu = {SKIN_EVT_CONTEXTMENU}, timer = {SKIN_EVT_TIMER}, key = {SKIN_EVT_KEYDOWN};
    timer.wMsgParam = 7;
    child.Event(menu);
    child.Event(key);
    EXPECT_EQ(a->aEvents, (std::vector<int>{SKIN_EVT_CONTEXTMENU, SKIN_EVT_KEYDOWN}));
    child.SetContextMenuUsed(true);
    child.Event(menu);
    child.Event(timer);
    EXPECT_EQ(log.aTypes, (std::vector<std::wstring>{L"menu", L"timer"}));
    EXPECT_EQ(log.aParams.back(), 7u);
    EXPECT_EQ(a->aEvents.size(), 2u);

    child.OnEvent += RefuseEvent;
    child.Event(key);
    EXPECT_EQ(child.aEvents.size(), 4u);

    a->SetVirtualWnd(L"vw");
    EXPECT_EQ(child.GetVirtualWnd(), L"vw");
    EXPECT_EQ(child.GetInterface(L"Control"), static_cast<void*>(&child));
    EXPECT_EQ(child.GetInterface(L"Label"), nullptr);
    POINT pt = {a->GetPos().left, a->GetPos().top};
    child.SetPos(a->GetPos());
    child.SetMouseEnabled(false);
    EXPECT_EQ(child.FindControl(CPaintManagerUI::__FindControlFromPoint, &pt, FINDFLAG_HITTEST), nullptr);
    child.SetMouseEnabled(true);
    EXPECT_EQ(child.FindControl(CPaintManagerUI::__FindControlFromPoint, &pt, FINDFLAG_HITTEST), &child);
}

} // namespace
