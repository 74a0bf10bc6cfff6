// The label and the text with links: attributes, default colours, one-line
// plain text, effect text through GDI+, links made clickable from mark-up text.
#include "controls/LabelUI.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ControlWindow.h"
#include "controls/TextUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

// Opens the protected state a test checks.
class CTextProbeUI : public CTextUI
{
public:
    int Links() const { return m_nLinks; }
    const RECT& LinkRect(int i) const { return m_rcLinks[i]; }
    int HoverLink() const { return m_nHoverLink; }
};

tagTEventUI MouseEvent(int nType, CControlUI* pSender, POINT pt)
{
    tagTEventUI event = {};
    event.nEventType = nType;
    event.pSenderControl = pSender;
    event.ptMousePos = pt;
    return event;
}

POINT CentreOf(const RECT& rc)
{
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

TEST(LabelAttributes, EachNameReachesItsSetting)
{
    typedef std::function<void(CLabelUI&)> Check;
    struct { const wchar_t* pstrList; Check check; } rows[] = {
        // Every align word found in the value applies, in a fixed order.
        {L"align=\"left\"", [](CLabelUI& l) { EXPECT_EQ(l.GetTextStyle(), 0u); }},
        {L"align=\"center\"", [](CLabelUI& l) { EXPECT_EQ(l.GetTextStyle(), UINT(DT_CENTER | DT_VCENTER)); }},
        {L"align=\"right\"", [](CLabelUI& l) { EXPECT_EQ(l.GetTextStyle(), UINT(DT_RIGHT)); }},
        {L"align=\"top\"", [](CLabelUI& l) { EXPECT_EQ(l.GetTextStyle(), UINT(DT_SINGLELINE)); }},
        {L"align=\"vcenter\"",
         [](CLabelUI& l) { EXPECT_EQ(l.GetTextStyle(), UINT(DT_CENTER | DT_VCENTER | DT_SINGLELINE)); }},
        {L"align=\"bottom\"", [](CLabelUI& l) { EXPECT_EQ(l.GetTextStyle(), UINT(DT_BOTTOM | DT_SINGLELINE)); }},
        {L"align=\"right bottom\"",
         [](CLabelUI& l) { EXPECT_EQ(l.GetTextStyle(), UINT(DT_RIGHT | DT_BOTTOM | DT_SINGLELINE)); }},
        {L"endellipsis=\"true\"",
         [](CLabelUI& l) { EXPECT_EQ(l.GetTextStyle(), UINT(DT_VCENTER | DT_END_ELLIPSIS)); }},
        {L"endellipsis=\"true\" endellipsis=\"1\"", [](CLabelUI& l) { EXPECT_EQ(l.GetTextStyle(), UINT(DT_VCENTER)); }},
        // Padding and shadow offset read like a rectangle and a size: missing numbers are 0.
        {L"textpadding=\"1,2\"", [](CLabelUI& l) {
             RECT rc = l.GetTextPadding();
             EXPECT_TRUE(rc.left == 1 && rc.top == 2 && rc.right == 0 && rc.bottom == 0); }},
        {L"textpadding=\"5,6,7,8\"", [](CLabelUI& l) { EXPECT_EQ(l.GetTextPadding().bottom, 8); }},
        {L"shadowoffset=\"3\"", [](CLabelUI& l) {
             EXPECT_EQ(l.GetShadowOffset().X, -3.0f); EXPECT_EQ(l.GetShadowOffset().Y, -3.0f); }},
        {L"shadowoffset=\"2,-90\"", [](CLabelUI& l) {
             EXPECT_EQ(l.GetShadowOffset().X, 0.0f); EXPECT_EQ(l.GetShadowOffset().Y, 2.0f); }},
        {L"shadowoffset=\"3,45\" shadowoffset=\"2,200\"", [](CLabelUI& l) {
             EXPECT_EQ(l.GetShadowOffset().X, -3.0f); EXPECT_EQ(l.GetShadowOffset().Y, -3.0f); }},
        {L"shadowoffset=\"4,-180\"", [](CLabelUI& l) {
             EXPECT_EQ(l.GetShadowOffset().X, 4.0f); EXPECT_EQ(l.GetShadowOffset().Y, 0.0f); }},
        {L"shadowoffset=\"4,135\"", [](CLabelUI& l) {
             EXPECT_EQ(l.GetShadowOffset().X, 4.0f); EXPECT_EQ(l.GetShadowOffset().Y, -4.0f); }},
        {L"rhaa=\"7\"", [](CLabelUI& l) { EXPECT_EQ(l.GetTextRenderingHintAntiAlias(), 0); }},
        {L"rhaa=\"5\"", [](CLabelUI& l) { EXPECT_EQ(l.GetTextRenderingHintAntiAlias(), 5); }},
        {L"font=\"2\" showhtml=\"true\" enabledeffect=\"true\" enabledstroke=\"true\" enabledshadow=\"true\"",
         [](CLabelUI& l) {
             EXPECT_EQ(l.GetFont(), 2);
             EXPECT_TRUE(l.IsShowHtml() && l.GetEnabledEffect() && l.GetEnabledStroke() && l.GetEnabledShadow()); }},
        {L"textcolor=\"#FF010203\" disabledtextcolor=\"FF040506\" textcolor1=\"#FF070809\" strokecolor=\"#1\"",
         [](CLabelUI& l) {
             EXPECT_EQ(l.GetTextColor(), 0xFF010203u); EXPECT_EQ(l.GetDisabledTextColor(), 0xFF040506u);
             EXPECT_EQ(l.GetTextColor1(), 0xFF070809u); EXPECT_EQ(l.GetStrokeColor(), 1u); }},
        {L"transshadow=\"1\" transshadow1=\"2\" transtext=\"300\" transtext1=\"4\" transstroke=\"5\"",
         [](CLabelUI& l) {
             EXPECT_EQ(l.GetTransShadow(), 1); EXPECT_EQ(l.GetTransShadow1(), 2); EXPECT_EQ(l.GetTransText(), 300);
             EXPECT_EQ(l.GetTransText1(), 4); EXPECT_EQ(l.GetTransStroke(), 5); }},
        // Names the label doesn't know go to the control base.
        {L"name=\"title\" text=\"Hello\"", [](CLabelUI& l) {
             EXPECT_EQ(l.GetName(), L"title"); EXPECT_EQ(l.GetText(), L"Hello"); }},
    };
    for (const auto& row : rows) {
        CLabelUI label;
        label.ApplyAttributeList(row.pstrList);
        SCOPED_TRACE(row.pstrList);
        row.check(label);
    }
    CLabelUI label;
    EXPECT_STREQ(label.GetClass(), L"LabelUI");
    EXPECT_EQ(label.GetInterface(L"Label"), &label);
    EXPECT_EQ(label.GetInterface(L"Control"), &label);
    EXPECT_EQ(label.GetInterface(L"Button"), nullptr);
}

TEST(LabelText, EachModeKeepsItsOwnText)
{
    CLabelUI label;
    label.SetText(L"plain");
    label.SetEnabledEffect(true);
    EXPECT_EQ(label.GetText(), L"");
    label.SetText(L"effect");
    EXPECT_EQ(label.GetText(), L"effect");
    EXPECT_EQ(label.CControlUI::GetText(), L"plain");
    label.SetEnabledEffect(false);
    EXPECT_EQ(label.GetText(), L"plain");
}

struct Label : ControlWindowTest
{
    // The rows of the control's rectangle that hold some pixel the predicate likes.
    template <typename Pred> int InkRows(const CControlUI* pControl, Pred pred)
    {
        const RECT& rc = pControl->GetPos();
        int n = 0;
        for (int y = rc.top; y < rc.bottom; y++) n += CountPixels(RECT{rc.left, y, rc.right, y + 1}, pred) > 0;
        return n;
    }
    int LineHeight(int iFont = -1) { return pm.GetFontInfo(iFont)->tmMetrics.tmHeight; }
};

TEST_F(Label, ColoursOfZeroPaintInTheManagersDefaultsAndKeepThem)
{
    pm.SetDefaultFontColor(0xFF00C000);
    pm.SetDefaultDisabledColor(0xFFFF0000);
    CLabelUI* pLabel = new CLabelUI;
    CLabelUI* pDisabled = new CLabelUI;
    pLabel->SetText(L"WWWW");
    pDisabled->SetText(L"WWWW");
    pDisabled->SetEnabled(false);
    Attach({pLabel, pDisabled});
    Snapshot();
    EXPECT_GT(CountPixels(pLabel->GetPos(), IsGreen), 0);
    EXPECT_EQ(CountPixels(pLabel->GetPos(), IsRed), 0);
    EXPECT_GT(CountPixels(pDisabled->GetPos(), IsRed), 0);
    EXPECT_EQ(pLabel->GetTextColor(), 0xFF00C000u);
    EXPECT_EQ(pLabel->GetDisabledTextColor(), 0xFFFF0000u);
    // Stored, not looked up again: the manager's later defaults don't reach it.
    pm.SetDefaultFontColor(0xFF0000FF);
    Snapshot();
    EXPECT_GT(CountPixels(pLabel->GetPos(), IsGreen), 0);
}

TEST_F(Label, PlainTextIsOneLineWhateverItsStyle)
{
    CLabelUI* pLabel = new CLabelUI;
    CLabelUI* pHtml = new CLabelUI;
    for (CLabelUI* p : {pLabel, pHtml}) {
        p->ApplyAttributeList(L"align=\"left\" textcolor=\"#FF000000\"");
        p->SetText(L"WW\nWW");
    }
    pHtml->SetShowHtml(true);
    pHtml->SetText(L"WW<n>WW");
    Attach({pLabel, pHtml}, 120, 80);
    Snapshot();
    for (CLabelUI* p : {pLabel, pHtml}) EXPECT_LE(InkRows(p, IsDark), LineHeight()) << p->GetText().GetData();
    EXPECT_GT(InkRows(pLabel, IsDark), 0);
}

TEST_F(Label, PaddingMovesTheTextAndTheEstimateAddsToTheFont)
{
    CLabelUI* pLabel = new CLabelUI;
    pLabel->ApplyAttributeList(L"text=\"WWW\" textcolor=\"#FF000000\" textpadding=\"60,0,0,0\"");
    Attach({pLabel});
    Snapshot();
    const RECT& rc = pLabel->GetPos();
    EXPECT_EQ(CountPixels(RECT{rc.left, rc.top, rc.left + 60, rc.bottom}, IsDark), 0);
    EXPECT_GT(CountPixels(RECT{rc.left + 60, rc.top, rc.right, rc.bottom}, IsDark), 0);

    EXPECT_EQ(pLabel->EstimateSize(SIZE{100, 100}).cy, LineHeight() + 4);
    pm.AddFont(L"Tahoma", 30, false, false, false);
    pLabel->SetFont(0);
    EXPECT_EQ(pLabel->EstimateSize(SIZE{100, 100}).cy, LineHeight(0) + 4);
    pLabel->SetFixedHeight(17);
    pLabel->SetFixedWidth(33);
    EXPECT_EQ(pLabel->EstimateSize(SIZE{100, 100}).cy, 17);
    EXPECT_EQ(pLabel->EstimateSize(SIZE{100, 100}).cx, 33);
}

TEST_F(Label, EffectTextDrawsItsGlyphsStrokeAndShadowThroughGdiplus)
{
    pm.AddFont(L"Tahoma", 28, true, false, false);
    CLabelUI* pText = new CLabelUI;
    CLabelUI* pStroke = new CLabelUI;
    CLabelUI* pShadow = new CLabelUI;
    CLabelUI* pFaint = new CLabelUI;
    for (CLabelUI* p : {pText, pStroke, pShadow, pFaint}) {
        p->ApplyAttributeList(L"font=\"0\" enabledeffect=\"true\" textcolor=\"#FF000000\" transtext=\"255\" "
                              L"transtext1=\"255\" rhaa=\"1\"");
        p->SetText(L"WWW");
    }
    // A white text whose stroke and shadow alone show.
    pStroke->ApplyAttributeList(L"textcolor=\"#FFFFFFFF\" enabledstroke=\"true\" strokecolor=\"#FFFF0000\"");
    pShadow->ApplyAttributeList(L"textcolor=\"#FFFFFFFF\" enabledshadow=\"true\" textshadowcolora=\"#FF0000FF\" "
                                L"transshadow=\"255\" transshadow1=\"255\" shadowoffset=\"3,-135\"");
    // Only the low byte of a transparency counts: 300 is 44, a faint text.
    pFaint->ApplyAttributeList(L"transtext=\"300\" transtext1=\"300\"");
    Attach({pText, pStroke, pShadow, pFaint}, 200, 50);
    Snapshot();
    EXPECT_GT(CountPixels(pText->GetPos(), IsDark), 20);
    EXPECT_GT(CountPixels(pStroke->GetPos(), IsRed), 20);
    EXPECT_EQ(CountPixels(pStroke->GetPos(), IsDark), 0);
    EXPECT_GT(CountPixels(pShadow->GetPos(), IsBlue), 20);
    auto notFaint = [](uint32_t rgb) { return (rgb & 0xFF) < 0xC0; };
    auto faint = [](uint32_t rgb) { return (rgb & 0xFF) < 0xF0; };
    EXPECT_EQ(CountPixels(pFaint->GetPos(), notFaint), 0);
    EXPECT_GT(CountPixels(pFaint->GetPos(), faint), 20);
}

TEST_F(Label, TextLinksAreClickableUpToEightAndOnlyAsLastPainted)
{
    CTextProbeUI* pText = new CTextProbeUI;
    pText->SetShowHtml(true);
    pText->SetText(L"<a l0>0</a> <a l1>1</a> <a l2>2</a> <a l3>3</a> <a l4>4</a> <a l5>5</a> <a l6>6</a> "
                   L"<a l7>7</a> <a l8>8</a> <a l9>9</a>");
    Attach({pText}, 380, 60);
    ASSERT_EQ(pText->Links(), 8);
    EXPECT_EQ(pText->GetControlFlags(), UINT(CTLFLAG_SETCURSOR));
    EXPECT_EQ(pText->GetLinkContent(-1), nullptr);
    EXPECT_EQ(pText->GetLinkContent(8), nullptr);
    ASSERT_NE(pText->GetLinkContent(7), nullptr);
    EXPECT_EQ(*pText->GetLinkContent(7), L"l7");

    // A release over a link clicks it, with the link's index, whatever the press.
    log.Clear();
    for (int i = 0; i < 8; i++) {
        tagTEventUI up = MouseEvent(SKIN_EVT_BUTTONUP, pText, CentreOf(pText->LinkRect(i)));
        pText->Event(up);
    }
    ASSERT_EQ(log.Count(L"link"), 8);
    for (int i = 0; i < 8; i++) EXPECT_EQ(log.aParams[i], WPARAM(i));
    // Past the eighth link, text is text.
    const POINT ptLast = {pText->LinkRect(7).right + 40, CentreOf(pText->LinkRect(7)).y};
    tagTEventUI upPast = MouseEvent(SKIN_EVT_BUTTONUP, pText, ptLast);
    pText->Event(upPast);
    EXPECT_EQ(log.Count(L"link"), 8);

    // The hand cursor over a link.
    tagTEventUI cursor = MouseEvent(SKIN_EVT_SETCURSOR, NULL, CentreOf(pText->LinkRect(2)));
    pText->Event(cursor);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(NULL, IDC_HAND));

    // Disabled: no click.
    log.Clear();
    pText->SetEnabled(false);
    tagTEventUI upDisabled = MouseEvent(SKIN_EVT_BUTTONUP, pText, CentreOf(pText->LinkRect(0)));
    pText->Event(upDisabled);
    EXPECT_EQ(log.Count(L"link"), 0);
    EXPECT_EQ(pText->GetControlFlags(), 0u);
    pText->SetEnabled(true);

    // Painted as plain text, the old link places click nothing any more.
    const RECT rcOld = pText->LinkRect(0);
    pText->SetShowHtml(false);
    RepaintNow(wnd);
    EXPECT_EQ(pText->Links(), 0);
    EXPECT_EQ(pText->GetControlFlags(), 0u);
    tagTEventUI upStale = MouseEvent(SKIN_EVT_BUTTONUP, pText, CentreOf(rcOld));
    pText->Event(upStale);
    EXPECT_EQ(log.Count(L"link"), 0);

    // An empty text leaves no links either.
    pText->SetShowHtml(true);
    RepaintNow(wnd);
    EXPECT_EQ(pText->Links(), 8);
    pText->SetText(L"");
    RepaintNow(wnd);
    EXPECT_EQ(pText->Links(), 0);
    EXPECT_EQ(pText->GetLinkContent(0), nullptr);
}

TEST_F(Label, TextRepaintsOnlyWhenTheMouseEntersOrLeavesALink)
{
    CTextProbeUI* pText = new CTextProbeUI;
    pText->SetShowHtml(true);
    pText->SetText(L"<a one>one link</a> then text");
    Attach({pText}, 380, 60);
    ASSERT_EQ(pText->Links(), 1);
    const RECT rcLink = pText->LinkRect(0);
    auto moveTo = [&](POINT pt) {
        ::ValidateRect(wnd, NULL);
        tagTEventUI move = MouseEvent(SKIN_EVT_MOUSEMOVE, pText, pt);
        pText->Event(move);
        return ::GetUpdateRect(wnd, NULL, FALSE) != FALSE;
    };
    EXPECT_TRUE(moveTo(POINT{rcLink.left + 1, rcLink.top + 1}));
    EXPECT_EQ(pText->HoverLink(), 0);
    EXPECT_FALSE(moveTo(POINT{rcLink.right - 2, rcLink.bottom - 2}));
    EXPECT_TRUE(moveTo(POINT{rcLink.right + 30, rcLink.top + 1}));
    EXPECT_EQ(pText->HoverLink(), -1);
    EXPECT_FALSE(moveTo(POINT{rcLink.right + 40, rcLink.top + 1}));
    moveTo(POINT{rcLink.left + 1, rcLink.top + 1});
    ::ValidateRect(wnd, NULL);
    tagTEventUI leave = MouseEvent(SKIN_EVT_MOUSELEAVE, pText, POINT{-1, -1});
    pText->Event(leave);
    EXPECT_EQ(pText->HoverLink(), -1);
    EXPECT_NE(::GetUpdateRect(wnd, NULL, FALSE), FALSE);
}

TEST_F(Label, TextEstimatesItsHeightFromItsWrappedLines)
{
    CTextUI* pText = new CTextUI;
    CTextUI* pHtml = new CTextUI;
    Attach({pText, pHtml}, 200, 60);
    HGDIOBJ hOld = ::SelectObject(pm.GetPaintDC(), pm.GetFont(-1));
    SIZE szWord = {};
    ::GetTextExtentPoint32W(pm.GetPaintDC(), L"WWWW", 4, &szWord);
    ::SelectObject(pm.GetPaintDC(), hOld);
    // Room for one word per line, between paddings of 2 on either side.
    const SIZE szAvailable = {szWord.cx + 4 + 6, 0};
    const int cyLine = LineHeight();
    for (CTextUI* p : {pText, pHtml}) {
        p->SetText(L"WWWW WWWW WWWW");
        p->SetTextPadding(RECT{2, 5, 2, 7});
    }
    pHtml->SetShowHtml(true);
    EXPECT_EQ(pText->EstimateSize(szAvailable).cy, 3 * cyLine + 12);
    const SIZE szHtml = pHtml->EstimateSize(szAvailable);
    EXPECT_EQ(szHtml.cy, 3 * (cyLine + pm.GetFontInfo(-1)->tmMetrics.tmExternalLeading) + 12);
    EXPECT_LE(szHtml.cx, szAvailable.cx);
    pText->SetFixedHeight(25);
    EXPECT_EQ(pText->EstimateSize(szAvailable).cy, 25);

    CTextUI text;
    EXPECT_STREQ(text.GetClass(), L"TextUI");
    EXPECT_EQ(text.GetInterface(L"Text"), &text);
    EXPECT_EQ(text.GetInterface(L"Label"), &text);
    EXPECT_EQ(text.GetTextStyle(), UINT(DT_WORDBREAK));
    EXPECT_EQ(text.GetTextPadding().left, 2);
    EXPECT_EQ(text.GetTextPadding().right, 2);
}

} // namespace
