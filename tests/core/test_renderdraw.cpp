// Colours, gradients, shapes, clips and plain text of the render engine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "PixelCanvas.h"
#include "TestControls.h"
#include "core/RenderClip.h"
#include "core/RenderEngine.h"

using namespace SkinLib;
using namespace SkinLibTest;

static bool Near(uint32_t rgb, uint32_t expected, int tolerance = 2)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((rgb >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

TEST(RenderDraw, ColoursFillsAndShapes)
{
    for (DWORD c : {0x12345678u, 0x00FFFFFFu}) EXPECT_EQ(CRenderEngine::AdjustColor(c, 180, 100, 100), c);
    EXPECT_EQ(CRenderEngine::AdjustColor(0x7A336699, 180, 100, 0), 0x7A000000u);
    // 0x336699 is hue 30, saturation 0.5, lightness 0.4 (blue byte first).
    EXPECT_TRUE(Near(CRenderEngine::AdjustColor(0x80336699, 240, 100, 100), 0x339966, 1));
    EXPECT_TRUE(Near(CRenderEngine::AdjustColor(0x80336699, 0, 100, 100), 0x996633, 1));
    EXPECT_TRUE(Near(CRenderEngine::AdjustColor(0x80336699, 180, 0, 100), 0x666666, 1));

    EXPECT_EQ(CRenderEngine::MixColor(0xFF0A0B0C, 0.75, 0x00305070, 0.25), 0x00131C25u);
    // Over-weighted channels saturate instead of wrapping into dark values.
    EXPECT_EQ(CRenderEngine::MixColor(0xC8C8C8, 1.0, 0xC8C8C8, 1.0), 0x00FFFFFFu);

    CPaintManagerUI pm;
    PixelCanvas canvas(20, 10, 0xFF000000);
    CRenderEngine::DrawColor(canvas.DC(), RECT{0, 0, 20, 10}, 0x00FF0000);
    CRenderEngine::DrawColor(canvas.DC(), RECT{0, 0, 5, 10}, 0xFFFF0000);
    CRenderEngine::DrawColor(canvas.DC(), RECT{5, 0, 10, 10}, 0x80FF0000);
    EXPECT_EQ(canvas.Rgb(4, 5), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(15, 5), 0u);
    EXPECT_TRUE(Near(canvas.Rgb(7, 5), 0x800000)) << std::hex << canvas.Rgb(7, 5);  // half bright, not full red

    PixelCanvas shapes(40, 40);
    CRenderEngine::DrawLine(shapes.DC(), RECT{2, 5, 30, 5}, 1, 0xFFFF0000);
    CRenderEngine::DrawRect(shapes.DC(), RECT{2, 10, 20, 30}, 2, 0xFF0000FF);
    CRenderEngine::DrawRoundRect(shapes.DC(), RECT{22, 10, 40, 30}, 1, 10, 10, 0xFF00FF00);
    EXPECT_EQ(shapes.Rgb(15, 5), 0xFF0000u);
    EXPECT_EQ(shapes.Rgb(15, 6), 0xFFFFFFu);
    // A 2-pixel frame inside the rectangle, the inside left unfilled.
    for (int x = 1; x <= 20; x++) {
        EXPECT_EQ(shapes.Rgb(x, 20), x == 2 || x == 3 || x == 18 || x == 19 ? 0xFFu : 0xFFFFFFu) << x;
    }
    EXPECT_EQ(shapes.Rgb(22, 20), 0x00FF00u);
    EXPECT_EQ(shapes.Rgb(22, 10), 0xFFFFFFu);  // rounded corner
}

TEST(RenderDraw, PlainTextKeepsAmpersands)
{
    CPaintManagerUI pm;
    PixelCanvas canvas(100, 40), reference(100, 40);
    ::SelectObject(reference.DC(), pm.GetFont(-1));
    SIZE szWith = {};
    ::GetTextExtentPoint32W(reference.DC(), L"A&B", 3, &szWith);
    RECT rc = {0, 0, 100, 40};
    CRenderEngine::DrawTextW(canvas.DC(), &pm, rc, L"A&B", 0xFF000000, -1, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(rc.right - rc.left, szWith.cx);
    EXPECT_EQ(rc.bottom - rc.top, szWith.cy);
    SIZE sz = CRenderEngine::GetTextSize(canvas.DC(), &pm, L"A&B", -1, 0);
    EXPECT_EQ(sz.cx, szWith.cx);
    EXPECT_EQ(sz.cy, szWith.cy);

    // A lone "&" is drawn as itself, pixel for pixel like TextOutW.
    rc = RECT{0, 0, 100, 40};
    CRenderEngine::DrawTextW(canvas.DC(), &pm, rc, L"&", 0xFF000000, -1, DT_SINGLELINE);
    ::SetBkMode(reference.DC(), TRANSPARENT);
    ::TextOutW(reference.DC(), 0, 0, L"&", 1);
    int nDiff = 0;
    for (int i = 0; i < 100 * 40; i++) nDiff += canvas.Rgb(i % 100, i / 100) != reference.Rgb(i % 100, i / 100);
    EXPECT_EQ(nDiff, 0);
}

TEST(RenderDraw, ClipsNarrowAndRestore)
{
    PixelCanvas canvas(40, 40);
    auto fill = [&](DWORD c) { CRenderEngine::DrawColor(canvas.DC(), canvas.Rect(), c); };
    {
        CRenderClip outer, inner;
        CRenderClip::GenerateClip(canvas.DC(), RECT{0, 0, 20, 20}, outer);
        CRenderClip::GenerateClip(canvas.DC(), RECT{10, 10, 30, 30}, inner);
        CRenderClip::UseOldClipBegin(canvas.DC(), inner);
        fill(0xFF00FF00);
        // Back to the inner clip as the outer one narrowed it, not to all of rc.
        CRenderClip::UseOldClipEnd(canvas.DC(), inner);
        fill(0xFF0000FF);
        EXPECT_EQ(canvas.Rgb(5, 5), 0x00FF00u);
        EXPECT_EQ(canvas.Rgb(15, 15), 0x0000FFu);
        EXPECT_EQ(canvas.Rgb(25, 25), 0xFFFFFFu);
    }
    fill(0xFF000000);
    EXPECT_EQ(canvas.Rgb(39, 39), 0u);

    // A child's clip gives a rounded parent clip back with its corners.
    canvas.Fill(0xFFFFFFFF);
    CRenderClip round;
    CRenderClip::GenerateRoundClip(canvas.DC(), canvas.Rect(), RECT{0, 0, 39, 39}, 20, 20, round);
    { CRenderClip child; CRenderClip::GenerateClip(canvas.DC(), canvas.Rect(), child); }
    fill(0xFF000000);
    EXPECT_EQ(canvas.Rgb(0, 0), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(20, 0), 0u);
}

TEST(RenderDraw, GenerateBitmapPaintsTheControlArea)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 100, 60);
    std::unique_ptr<CProbeUI> probe(new CProbeUI(L"probe"));
    probe->SetPos(RECT{10, 10, 40, 30});
    HBITMAP hBitmap = CRenderEngine::GenerateBitmap(&pm, probe.get(), RECT{10, 10, 40, 30});
    DIBSECTION ds = {};
    ASSERT_EQ(::GetObjectW(hBitmap, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
    EXPECT_EQ(ds.dsBm.bmWidth, 30);
    EXPECT_EQ(ds.dsBmih.biHeight, 20);  // bottom-up
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
    const DWORD* pBits = static_cast<const DWORD*>(ds.dsBm.bmBits);
    EXPECT_EQ(pBits[0] & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(pBits[30 * 20 - 1] & 0xFFFFFF, 0x808080u);
    ::DeleteObject(hBitmap);
    EXPECT_EQ(CRenderEngine::GenerateBitmap(&pm, NULL, RECT{0, 0, 10, 10}), nullptr);
}
