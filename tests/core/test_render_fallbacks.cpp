// The render engine before and after msimg32 arrives. msimg32 comes with the
// first paint manager and stays for the process, so these checks have a
// program of their own, and one case: nothing may load msimg32 before it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "PixelCanvas.h"
#include "core/RenderEngine.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

bool Near(uint32_t rgb, uint32_t expected, int tolerance = 2)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((rgb >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

} // namespace

TEST(RenderFallbacks, GradientBandsAndBlendUntilMsimg32ThenItsOwn)
{
    ASSERT_EQ(::GetModuleHandleW(L"msimg32.dll"), nullptr);
    // Steps 5: 4 bands of (white*i + black*(4-i)) >> 2, spans 0, 2, 5, 7, 10 from the bottom.
    PixelCanvas tall(4, 10), wide(128, 64);
    CRenderEngine::DrawGradient(tall.DC(), tall.Rect(), 0xFFFFFFFF, 0xFF000000, true, 5);
    const uint32_t aRows[10] = {0xBF, 0xBF, 0xBF, 0x7F, 0x7F, 0x3F, 0x3F, 0x3F, 0, 0};
    for (int y = 0; y < 10; y++) EXPECT_EQ(tall.Rgb(2, y), aRows[y] * 0x010101u) << y;
    // Steps 100: 64 bands of 2 pixels, the first colour at the left.
    CRenderEngine::DrawGradient(wide.DC(), wide.Rect(), 0xFFFFFFFF, 0xFF000000, false, 100);
    int nBands = 1;
    for (int x = 1; x < 128; x++) nBands += wide.Rgb(x, 0) != wide.Rgb(x - 1, 0);
    EXPECT_EQ(nBands, 64);
    EXPECT_EQ(wide.Rgb(0, 0), (255 * 63 >> 6) * 0x010101u);
    // Translucent bands blend as opaque colours: top band 127 at alpha 127 over white.
    wide.Fill(0xFFFFFFFF);
    CRenderEngine::DrawGradient(wide.DC(), RECT{0, 0, 2, 4}, 0xFF000000, 0x00FFFFFF, true, 1);
    EXPECT_TRUE(Near(wide.Rgb(0, 0), 0xBFBFBF)) << std::hex << wide.Rgb(0, 0);

    // An opaque red and a half-transparent orange, premultiplied as skin bitmaps are.
    uint32_t* pBits = NULL;
    HBITMAP hImage = MakeDib32(2, 1, &pBits);
    pBits[0] = 0xFFFF0000;
    pBits[1] = 0x80804000;
    PixelCanvas fallback(4, 2, 0xFF336699), direct(4, 2, 0xFF336699);
    const RECT rc = fallback.Rect(), rcPart = {0, 0, 2, 1}, rcNone = {};
    CRenderEngine::DrawImage(fallback.DC(), hImage, rc, rc, rcPart, rcNone, true, 200);

    CPaintManagerUI pm;
    ASSERT_NE(::GetModuleHandleW(L"msimg32.dll"), nullptr);
    CRenderEngine::DrawGradient(tall.DC(), tall.Rect(), 0xFFFFFFFF, 0xFF000000, true, 5);
    for (int y = 1; y < 10; y++) EXPECT_LT(tall.Rgb(2, y) & 0xFF, tall.Rgb(2, y - 1) & 0xFF) << y;
    EXPECT_GE(tall.Rgb(2, 0) & 0xFF, 0xE0u);
    // Black to transparent white: alpha 127 over white; average alpha 0 draws nothing.
    CRenderEngine::DrawGradient(wide.DC(), wide.Rect(), 0xFF000000, 0x00FFFFFF, false, 64);
    EXPECT_TRUE(Near(wide.Rgb(0, 40), 0x808080, 3)) << std::hex << wide.Rgb(0, 40);
    EXPECT_TRUE(Near(wide.Rgb(127, 40), 0xFFFFFF, 3));
    CRenderEngine::DrawGradient(wide.DC(), wide.Rect(), 0x01000000, 0, true, 64);
    EXPECT_TRUE(Near(wide.Rgb(0, 40), 0x808080, 3));

    // The fall-back blend gives what AlphaBlend gives.
    CRenderEngine::DrawImage(direct.DC(), hImage, rc, rc, rcPart, rcNone, true, 200);
    EXPECT_TRUE(Near(0xD31621, fallback.Rgb(0, 0))) << std::hex << fallback.Rgb(0, 0);
    for (int i = 0; i < 8; i++) EXPECT_TRUE(Near(direct.Rgb(i % 4, i / 4), fallback.Rgb(i % 4, i / 4))) << i;
    ::DeleteObject(hImage);
}
