// What parsing an image description and finding its image in the cache cost on top of the
// blending itself: DrawImageString against the same pieces blended straight through AlphaBlend
// with arguments worked out beforehand. The overhead should stay under 20%.
#include <windows.h>

#include <stdio.h>

#include <vector>

#include "../core/PixelCanvas.h"
#include "BenchClock.h"
#include "core/RenderEngine.h"

using namespace SkinLib;
using namespace SkinLibTest;
using SkinLibBench::BestMicroseconds;

namespace {

const int kCalls = 2000;
const int kRounds = 5;
const int kWidth = 200;
const int kHeight = 60;

struct Piece
{
    RECT rcDest;
    RECT rcSource;
};

// The nine pieces of a 32x32 image with corners of 4 drawn into the canvas.
std::vector<Piece> NineGridPieces()
{
    const int xDest[4] = { 0, 4, kWidth - 4, kWidth }, yDest[4] = { 0, 4, kHeight - 4, kHeight };
    const int xSrc[4] = { 0, 4, 28, 32 }, ySrc[4] = { 0, 4, 28, 32 };
    std::vector<Piece> pieces;
    for (int row = 0; row < 3; row++)
        for (int col = 0; col < 3; col++)
            pieces.push_back({ { xDest[col], yDest[row], xDest[col + 1], yDest[row + 1] },
                               { xSrc[col], ySrc[row], xSrc[col + 1], ySrc[row + 1] } });
    return pieces;
}

// A 16x16 image repeated over the canvas, the last row and column cut.
std::vector<Piece> TiledPieces()
{
    std::vector<Piece> pieces;
    for (int y = 0; y < kHeight; y += 16)
        for (int x = 0; x < kWidth; x += 16) {
            int cx = kWidth - x < 16 ? kWidth - x : 16, cy = kHeight - y < 16 ? kHeight - y : 16;
            pieces.push_back({ { x, y, x + cx, y + cy }, { 0, 0, cx, cy } });
        }
    return pieces;
}

void Compare(const char* pstrName, CPaintManagerUI& manager, const wchar_t* pstrImage, const wchar_t* pstrFile,
             const std::vector<Piece>& pieces)
{
    PixelCanvas canvas(kWidth, kHeight);
    const RECT rc = canvas.Rect();
    double dString = BestMicroseconds(kCalls, kRounds, 
        [&] { CRenderEngine::DrawImageString(canvas.DC(), &manager, rc, rc, pstrImage); });

    HDC hImageDC = ::CreateCompatibleDC(canvas.DC());
    HGDIOBJ hOld = ::SelectObject(hImageDC, manager.GetImage(pstrFile)->hDibBitmap);
    const BLENDFUNCTION bf = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    double dDirect = BestMicroseconds(kCalls, kRounds, [&] {
        for (const Piece& p : pieces)
            ::AlphaBlend(canvas.DC(), p.rcDest.left, p.rcDest.top, p.rcDest.right - p.rcDest.left,
                         p.rcDest.bottom - p.rcDest.top, hImageDC, p.rcSource.left, p.rcSource.top,
                         p.rcSource.right - p.rcSource.left, p.rcSource.bottom - p.rcSource.top, bf);
    });
    ::SelectObject(hImageDC, hOld);
    ::DeleteDC(hImageDC);

    printf("%-10s %3d pieces  DrawImageString %8.2f us  AlphaBlend %8.2f us  ratio %.3f (overhead %+.1f%%)\n",
           pstrName, int(pieces.size()), dString, dDirect, dString / dDirect, (dString / dDirect - 1.0) * 100.0);
}

// A 32-bit DIB of premultiplied half-transparent pixels, as skin images have them, so every piece blends.
HBITMAP MakeImage(int cx, int cy, uint32_t dwPixel)
{
    uint32_t* pBits = NULL;
    HBITMAP hBitmap = MakeDib32(cx, cy, &pBits);
    for (int i = 0; i < cx * cy; i++) pBits[i] = dwPixel;
    return hBitmap;
}

} // namespace

int main()
{
    CPaintManagerUI manager;
    manager.AddImage(L"x.png", MakeImage(32, 32, 0x80104060), 32, 32, true);
    manager.AddImage(L"t.png", MakeImage(16, 16, 0x80601040), 16, 16, true);

    Compare("nine-grid", manager, L"file='x.png' corner='4,4,4,4'", L"x.png", NineGridPieces());
    Compare("tiled", manager, L"file='t.png' xtiled='true' ytiled='true'", L"t.png", TiledPieces());
    return 0;
}
