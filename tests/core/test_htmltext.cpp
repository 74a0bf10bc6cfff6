// Mark-up text: tags, escapes, wrapping, links and inline images, measured
// against GDI's own metrics of the same fonts on the same DC.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "PixelCanvas.h"
#include "PngFixture.h"
#include "SkinSettings.h"
#include "TempFiles.h"
#include "TestControls.h"
#include "core/RenderEngine.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

class HtmlText : public SkinSettingsTest
{
protected:
    // DT_CALCRECT in (0, 0, width, 1000).
    RECT Measure(const wchar_t* pstrText, LONG cx, UINT uStyle = DT_WORDBREAK)
    {
        RECT rc = {0, 0, cx, 1000};
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, pstrText, 0xFF000000, NULL, NULL, nLinks,
                                    uStyle | DT_CALCRECT);
        return rc;
    }
    LONG Width(const wchar_t* pstrText, HFONT hFont = NULL)
    {
        HGDIOBJ hOld = ::SelectObject(canvas.DC(), hFont != NULL ? hFont : pm.GetDefaultFontInfo()->hGdiFont);
        SIZE sz = {};
        ::GetTextExtentPoint32W(canvas.DC(), pstrText, int(wcslen(pstrText)), &sz);
        ::SelectObject(canvas.DC(), hOld);
        return sz.cx;
    }
    LONG LineHeight()
    {
        HGDIOBJ hOld = ::SelectObject(canvas.DC(), pm.GetDefaultFontInfo()->hGdiFont);
        TEXTMETRICW tm = {};
        ::GetTextMetricsW(canvas.DC(), &tm);
        ::SelectObject(canvas.DC(), hOld);
        return tm.tmHeight + tm.tmExternalLeading;
    }
    HFONT Version(bool bBold, bool bUnderline, bool bItalic)
    {
        const tagTFontInfo* pFont = pm.GetDefaultFontInfo();
        return pm.GetFont(pFont->sFaceName, pFont->nPixelSize, bBold, bUnderline, bItalic);
    }
    // Whether some pixel in the rows [y0, y1) matches.
    template <typename Pred> bool AnyPixel(int y0, int y1, Pred pred)
    {
        for (int y = y0; y < y1 && y < canvas.Height(); y++)
            for (int x = 0; x < canvas.Width(); x++)
                if (pred(canvas.Rgb(x, y))) return true;
        return false;
    }

    CPaintManagerUI pm;
    CHostWindow wnd{pm, 320, 200};
    PixelCanvas canvas{320, 200};
};

bool IsInk(uint32_t rgb) { return (rgb & 0xFF) < 0x80; }
bool IsRed(uint32_t rgb) { return (rgb >> 16) > 0xC0 && ((rgb >> 8) & 0xFF) < 0x40 && (rgb & 0xFF) < 0x40; }

} // namespace

TEST_F(HtmlText, TagsEscapesAndRawRunsMeasureLikeTheirText)
{
    const LONG cyLine = LineHeight();
    RECT rc = Measure(L"plain", 300);
    EXPECT_EQ(rc.right, Width(L"plain"));
    EXPECT_EQ(rc.bottom, cyLine);
    EXPECT_EQ(Measure(L"a<{>b<}>c{<}d{>}e", 300).right, Width(L"a{b}c<d>e"));
    EXPECT_EQ(Measure(L"<r><b>x</b>{n}</r>y", 300).right, Width(L"<b>x</b>{n}y"));
    EXPECT_EQ(Measure(L"<abc> <", 300).right, Width(L"<abc> <"));
    // Unclosed tags stop at the terminator; closings without openings pop nothing.
    EXPECT_EQ(Measure(L"</b></c></p></a></i>x<b", 300).right, Width(L"x<b"));
    EXPECT_EQ(Measure(L"x<c #FF0000", 300).right, Width(L"x"));
    EXPECT_EQ(Measure(L"x<a link", 300).right, Width(L"x"));

    // Bold and italic use versions of the default font from the manager's cache.
    rc = Measure(L"<b>Wide</b>", 300);
    ASSERT_NE(Version(true, false, false), nullptr);
    EXPECT_EQ(rc.right, Width(L"Wide", Version(true, false, false)));
    EXPECT_NE(rc.right, Width(L"Wide"));
    Measure(L"<b>W</b><i>W</i><u>W</u><a>W</a>", 300);
    EXPECT_NE(Version(false, false, true), nullptr);
    EXPECT_NE(Version(false, true, false), nullptr);
    const int nFonts = pm.GetCustomFontCount();
    Measure(L"<b>W</b><i>W</i><u>W</u><a>W</a>", 300);
    EXPECT_EQ(pm.GetCustomFontCount(), nFonts);
    // A nested bold pops its own entry: the text after it stays bold.
    EXPECT_EQ(Measure(L"<b><b>W</b>ide</b>", 300).right, Width(L"Wide", Version(true, false, false)));
}

TEST_F(HtmlText, WrapsBreaksAndAlwaysFinishes)
{
    const LONG cyLine = LineHeight();
    const LONG cxA = Width(L"a");
    // DT_SINGLELINE ignores <n> and cuts instead of wrapping.
    RECT rc = Measure(L"aaa<n>bbb", 300, DT_SINGLELINE);
    EXPECT_EQ(rc.right, Width(L"aaabbb"));
    EXPECT_EQ(rc.bottom, cyLine);
    EXPECT_EQ(Measure(L"aaa<n>bbb", 300).bottom, 2 * cyLine);
    EXPECT_EQ(Measure(L"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", 3 * cxA, DT_SINGLELINE).bottom, cyLine);
    // Words break after the space; a word wider than the line breaks at the edge.
    rc = Measure(L"aaa aaaa", Width(L"aaa aa"));
    EXPECT_EQ(rc.bottom, 2 * cyLine);
    EXPECT_EQ(rc.right, std::max(Width(L"aaa "), Width(L"aaaa")));
    EXPECT_EQ(Measure(L"aaaaaaaaaa", 4 * cxA + cxA / 2).bottom, 3 * cyLine);
    // A word that fits stays on its line when only the blank after it doesn't,
    // and the next line starts with the next word, not with the blank.
    rc = Measure(L"aaaa bbbb cccc", Width(L"aaaa bbbb") + 2);
    EXPECT_EQ(rc.bottom, 2 * cyLine);
    EXPECT_EQ(rc.right, Width(L"aaaa bbbb"));
    EXPECT_EQ(Measure(L"aaaa bbbb cccc dd", Width(L"aaaa bbbb") + 2).bottom, 2 * cyLine);
    // A word right after a tag and a space moves to the next line whole
    // rather than breaking mid-word; without word breaks it is cut.
    rc = Measure(L"<b>aaa</b> aaaa", Width(L"aaa aa"));
    EXPECT_EQ(rc.bottom, 2 * cyLine);
    EXPECT_EQ(rc.right, std::max(Width(L"aaa", Version(true, false, false)) + Width(L" "), Width(L"aaaa")));
    EXPECT_EQ(Measure(L"<b>aaa</b>aaaa", Width(L"aaa aa")).bottom, 2 * cyLine);
    // Narrower than a glyph: one character per line, with or without ellipsis.
    EXPECT_EQ(Measure(L"abc", 1).bottom, 3 * cyLine);
    EXPECT_EQ(Measure(L"abc", 1, DT_WORDBREAK | DT_END_ELLIPSIS).bottom, 3 * cyLine);
    rc = Measure(L"abcdefghij", 6 * cxA, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(rc.right, 6 * cxA);

    // Drawn, every line gets its first character.
    const LONG cxW = Width(L"W");
    rc = RECT{0, 0, cxW + cxW / 2, 200};
    int nLinks = 0;
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, L"WWW", 0xFF000000, NULL, NULL, nLinks, DT_WORDBREAK);
    for (int i = 0; i < 3; i++) EXPECT_TRUE(AnyPixel(i * cyLine, (i + 1) * cyLine, IsInk)) << i;
    EXPECT_FALSE(AnyPixel(3 * cyLine, 200, IsInk));
}

TEST_F(HtmlText, ColoursAndSelectionDraw)
{
    const RECT rcAll = canvas.Rect();
    for (const wchar_t* pstrText : {L"<c #FF0000>WWW</c>", L"{c FFFF0000}WWW{/c}"}) {
        canvas.Fill(0xFFFFFFFF);
        RECT rc = rcAll;
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, pstrText, 0xFF000000, NULL, NULL, nLinks, DT_WORDBREAK);
        EXPECT_TRUE(AnyPixel(0, 40, IsRed)) << pstrText;
    }
    canvas.Fill(0xFFFFFFFF);
    RECT rc = rcAll;
    int nLinks = 0;
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, L"W<s>W</s>W", 0xFF000000, NULL, NULL, nLinks, DT_WORDBREAK);
    EXPECT_FALSE(AnyPixel(0, 40, IsRed));
    EXPECT_EQ(canvas.Rgb(Width(L"W") + 1, 1), 0xBAE4FFu);
    EXPECT_EQ(canvas.Rgb(1, 1), 0xFFFFFFu);

    // Centring moves the caller's rectangle onto the measured text.
    rc = RECT{0, 0, 300, 100};
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, L"<b>W</b>W", 0xFF000000, NULL, NULL, nLinks,
                                DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    const LONG cx = Measure(L"<b>W</b>W", 300).right;
    EXPECT_EQ(rc.left, 150 - cx / 2);
    EXPECT_EQ(rc.right - rc.left, cx);
    EXPECT_EQ(rc.top, 50 - LineHeight() / 2);
}

TEST_F(HtmlText, LinksGetOneRectanglePerLine)
{
    const LONG cyLine = LineHeight();
    const LONG cxLine = Width(L"x aa aaa");
    RECT aLinks[4] = {};
    CSkinString aTexts[4];
    int nLinks = 4;
    RECT rc = {10, 0, 10 + cxLine, 200};
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, L"x <a go>aa aaaa</a>", 0xFF000000, aLinks, aTexts, nLinks,
                                DT_WORDBREAK);
    ASSERT_EQ(nLinks, 2);
    EXPECT_EQ(aTexts[0], L"go");
    EXPECT_EQ(aTexts[1], L"go");
    EXPECT_EQ(aLinks[0].left, 10 + Width(L"x "));
    EXPECT_EQ(aLinks[0].bottom, cyLine);
    EXPECT_EQ(aLinks[1].left, 10);
    EXPECT_EQ(aLinks[1].top, cyLine);
    EXPECT_EQ(aLinks[1].bottom, 2 * cyLine);
    EXPECT_GT(aLinks[1].right, aLinks[1].left);
    // A linked word that fits with no room for the blank after it ends its
    // line's rectangle at the word's end.
    nLinks = 4;
    rc = RECT{10, 0, 10 + Width(L"aaaa bbbb") + 2, 200};
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, L"<a go>aaaa bbbb cccc</a>", 0xFF000000, aLinks, aTexts, nLinks,
                                DT_WORDBREAK);
    ASSERT_EQ(nLinks, 2);
    EXPECT_EQ(aLinks[0].right, 10 + Width(L"aaaa bbbb", Version(false, true, false)));
    EXPECT_EQ(aLinks[1].left, 10);
    EXPECT_EQ(aLinks[1].right, 10 + Width(L"cccc", Version(false, true, false)));
    // A link whose first word moves to the next line gets no empty rectangle.
    nLinks = 4;
    rc = RECT{10, 0, 10 + Width(L"aaaa"), 200};
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, L"xx <a go>aaa</a>", 0xFF000000, aLinks, aTexts, nLinks,
                                DT_WORDBREAK);
    ASSERT_EQ(nLinks, 1);
    EXPECT_EQ(aLinks[0].left, 10);
    EXPECT_EQ(aLinks[0].top, cyLine);

    // Capacity 1: the second link is drawn without a slot.
    nLinks = 1;
    rc = canvas.Rect();
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, L"<a one>1</a> <a two>2</a>", 0xFF000000, aLinks, aTexts,
                                nLinks, DT_WORDBREAK);
    EXPECT_EQ(nLinks, 1);
    EXPECT_EQ(aTexts[0], L"one");
    // A closing tag without its link fills no slot.
    nLinks = 4;
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, L"</a>x<a two>2</a>", 0xFF000000, aLinks, aTexts, nLinks, 0);
    EXPECT_EQ(nLinks, 1);
    EXPECT_EQ(aTexts[0], L"two");
    // No arrays, or nothing to draw into: no slots filled.
    nLinks = 4;
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, L"<a one>1</a>", 0xFF000000, NULL, aTexts, nLinks, 0);
    EXPECT_EQ(nLinks, 0);
    nLinks = 4;
    RECT rcEmpty = {5, 5, 5, 50};
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rcEmpty, L"<a one>1</a>", 0xFF000000, aLinks, aTexts, nLinks, 0);
    EXPECT_EQ(nLinks, 0);
    nLinks = 4;
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, NULL, 0xFF000000, aLinks, aTexts, nLinks, 0);
    EXPECT_EQ(nLinks, 0);
}

TEST_F(HtmlText, InlineImagesDrawOneFrame)
{
    // Four 10x30 frames: red, green, blue, black.
    std::vector<uint32_t> aPixels;
    for (int y = 0; y < 30; y++)
        for (uint32_t c : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF000000u}) aPixels.insert(aPixels.end(), 10, c);
    const std::wstring sFolder = MakeTempFolder(L"htmltext");
    ASSERT_TRUE(WriteBytes(sFolder + L"strip.png", MakePng(40, 30, aPixels)));
    CPaintManagerUI::SetResourcePath(sFolder.c_str());

    EXPECT_EQ(Measure(L"<i strip.png 4 2>", 300).bottom, 30);
    EXPECT_EQ(Measure(L"<i strip.png 4 2>", 300).right, 10);
    // Wider than the line: one image per line, and the measure finishes.
    EXPECT_EQ(Measure(L"<i strip.png><i strip.png>", 5).bottom, 60);

    // The description form belongs to its own tag only.
    const struct { const wchar_t* pstrText; uint32_t rgb; } aCases[] = {
        {L"<i strip.png 4 2>", 0x0000FF}, {L"<i file='strip.png' 4 2>", 0x0000FF},
        {L"{i strip.png 4 1} file='x'", 0x00FF00}, {L"<i strip.png 4 9>", 0xFF0000}};
    for (const auto& c : aCases) {
        canvas.Fill(0xFFFFFFFF);
        RECT rc = canvas.Rect();
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, c.pstrText, 0xFF000000, NULL, NULL, nLinks, DT_WORDBREAK);
        EXPECT_EQ(canvas.Rgb(5, 15), c.rgb) << c.pstrText;
        EXPECT_EQ(canvas.Rgb(15, 15), 0xFFFFFFu) << c.pstrText;
    }
    pm.RemoveAllImages();
    ::DeleteFileW((sFolder + L"strip.png").c_str());
    ::RemoveDirectoryW(sFolder.c_str());
}
