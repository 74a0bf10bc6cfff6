// Image loading, nine-grid drawing and image descriptions, checked on the pixels they leave.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "core/RenderEngine.h"
#include "PixelCanvas.h"
#include "PngFixture.h"
#include "SkinSettings.h"
#include "TempFiles.h"
#include "ZipWriter.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

// Colours as the canvas reports them (no alpha); Opaque() adds it for images.
const uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kYellow = 0xFFFF00, kWhite = 0xFFFFFF;
const uint32_t kMagenta = 0xFFFF00FF;
uint32_t Opaque(uint32_t rgb) { return 0xFF000000 | rgb; }

typedef std::unique_ptr<tagTImageInfo, void (*)(const tagTImageInfo*)> ImagePtr;
ImagePtr Load(STRINGorID name, const wchar_t* type = NULL, DWORD mask = 0)
{
    return ImagePtr(CRenderEngine::LoadImageW(name, type, mask), CRenderEngine::FreeImage);
}

template <class Colour> std::string Png(int cx, int cy, Colour colour)
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++) pixels.push_back(Opaque(colour(x, y)));
    return MakePng(cx, cy, pixels);
}

const std::wstring kFolder = MakeTempFolder(L"renderimage");

std::wstring Put(const wchar_t* name, const std::string& png)
{
    WriteBytes(kFolder + name, png);
    return kFolder + name;
}

// A 24-bit bottom-up BMP file of 0xRRGGBB pixels given top row first.
std::string MakeBmp24(int cx, int cy, const std::vector<uint32_t>& pixels)
{
    const int cbRow = (cx * 3 + 3) & ~3;
    std::string bmp(54 + cbRow * cy, '\0');
    auto put32 = [&](size_t at, uint32_t v) { for (int i = 0; i < 4; i++) bmp[at + i] = char(v >> (8 * i)); };
    bmp[0] = 'B', bmp[1] = 'M';
    put32(2, uint32_t(bmp.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(cx));
    put32(22, uint32_t(cy));
    bmp[26] = 1, bmp[28] = 24;
    for (int y = 0; y < cy; y++) {
        for (int x = 0; x < cx; x++) {
            const uint32_t rgb = pixels[size_t(y) * cx + x];
            const size_t at = 54 + size_t(cy - 1 - y) * cbRow + x * 3;
            bmp[at] = char(rgb), bmp[at + 1] = char(rgb >> 8), bmp[at + 2] = char(rgb >> 16);
        }
    }
    return bmp;
}

uint32_t BitmapPixel(const ImagePtr& pImage, int x)
{
    DIBSECTION dib = {};
    ::GetObjectW(pImage->hDibBitmap, sizeof(dib), &dib);
    return static_cast<const uint32_t*>(dib.dsBm.bmBits)[x];
}

// Each colour byte within 2: blends and halftone round differently.
bool Near(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 2) return false;
    return true;
}

} // namespace

struct RenderImageLoad : SkinSettingsTest {};

TEST_F(RenderImageLoad, PremultipliesMasksAndRefusesBadBytes)
{
    ImagePtr pImage = Load(Put(L"load.png", MakePng(2, 1, { 0x80FF8000, kMagenta })).c_str());
    EXPECT_EQ(2, pImage->nWidth);
    EXPECT_TRUE(pImage->bHasAlpha);
    EXPECT_EQ(0x80804000u, BitmapPixel(pImage, 0));
    EXPECT_EQ(kMagenta, BitmapPixel(pImage, 1));

    const std::wstring opaque = Put(L"opaque.png", MakePng(2, 1, { kMagenta, 0xFF123456 }));
    EXPECT_FALSE(Load(opaque.c_str())->bHasAlpha);
    ImagePtr pMasked = Load(opaque.c_str(), NULL, kMagenta);
    EXPECT_TRUE(pMasked->bHasAlpha);
    EXPECT_EQ(0u, BitmapPixel(pMasked, 0));
    EXPECT_EQ(0xFF123456u, BitmapPixel(pMasked, 1));

    const std::string png = MakeSolidPng(4, 4, kMagenta);
    EXPECT_FALSE(Load(Put(L"cut.png", png.substr(0, png.size() / 2)).c_str()));
    EXPECT_FALSE(Load(Put(L"empty.png", "").c_str()));
    EXPECT_FALSE(Load(101u));

    // Skins may name other formats than PNG; the file decides, not its name.
    ImagePtr pBmp = Load(Put(L"quad.bmp", MakeBmp24(2, 2, { kRed, kGreen, kBlue, kYellow })).c_str());
    ASSERT_TRUE(pBmp);
    EXPECT_EQ(2, pBmp->nHeight);
    EXPECT_FALSE(pBmp->bHasAlpha);
    EXPECT_EQ(Opaque(kRed), BitmapPixel(pBmp, 0));
    EXPECT_EQ(Opaque(kYellow), BitmapPixel(pBmp, 3));
}

TEST_F(RenderImageLoad, ResourceFolderModuleAndArchives)
{
    const std::string png = MakeSolidPng(2, 2, Opaque(kBlue));
    const std::wstring folder = MakeTempFolder(L"renderimage_res");
    WriteBytes(folder + L"skin.png", png);
    CPaintManagerUI::SetResourcePath(folder.c_str());
    EXPECT_TRUE(Load(L"skin.png"));

    CPaintManagerUI::SetResourceDll(::GetModuleHandleW(NULL));
    ImagePtr pResource = Load(101u, L"PNG");
    EXPECT_EQ(0xFF204060u, BitmapPixel(pResource, 0));
    EXPECT_EQ(0xFF80A0C0u, BitmapPixel(pResource, 1));
    // The cache names a typed image by its leading number; one that a resource
    // id can't hold names nothing rather than another resource (65637 = 65536 + 101).
    CPaintManagerUI pm;
    EXPECT_TRUE(pm.AddImage(L"101x.png", L"PNG"));
    EXPECT_FALSE(pm.AddImage(L"65637", L"PNG"));
    EXPECT_FALSE(pm.AddImage(L"x101", L"PNG"));

    // Decodable, but more bytes than any skin image holds: refused from a file and from an archive.
    const std::string big = png + std::string(33u << 20, '\0');
    EXPECT_FALSE(Load(Put(L"big.png", big).c_str()));
    ZipWriter zip;
    zip.Add("Img/Skin.png", png);
    zip.Add("big.png", big);
    static const std::vector<uint8_t> s_zip = zip.Build();  // a memory archive must outlive the process's use
    WriteBytes(folder + L"skin.zip", std::string(s_zip.begin(), s_zip.end()));
    CPaintManagerUI::SetResourceZip(L"skin.zip");
    EXPECT_TRUE(Load(L"img\\SKIN.PNG"));
    EXPECT_FALSE(Load(L"big.png"));
    EXPECT_TRUE(Load((folder + L"skin.png").c_str()));
    CPaintManagerUI::SetResourceZip(s_zip.data(), unsigned(s_zip.size()));
    EXPECT_TRUE(Load(L"IMG/skin.png"));
    EXPECT_FALSE(Load(L"big.png"));
}

// Descriptions drawn by one paint manager into fresh white canvases; images come from the fixture folder.
class RenderImageString : public SkinSettingsTest
{
protected:
    static void SetUpTestSuite()
    {
        Put(L"red.png", MakeSolidPng(10, 10, Opaque(kRed)));
        Put(L"blue.png", MakeSolidPng(10, 10, Opaque(kBlue)));
        Put(L"halfblue.png", MakePng(2, 1, { 0, Opaque(kBlue) }));
        Put(L"magenta.png", MakePng(2, 1, { kMagenta, Opaque(kRed) }));
        Put(L"strip.png", MakePng(4, 1, { Opaque(kRed), Opaque(kBlue), Opaque(kGreen), Opaque(kYellow) }));
        Put(L"quad.png", Png(4, 4, [](int x, int y) { return y < 2 ? (x < 2 ? kRed : kBlue) : (x < 2 ? kGreen : kYellow); }));
        // A blue 2-pixel frame round a centre whose top-left quarter is green, the rest yellow.
        Put(L"grid.png", Png(20, 20, [](int x, int y) {
            return x < 2 || y < 2 || x > 17 || y > 17 ? kBlue : x < 10 && y < 10 ? kGreen : kYellow;
        }));
    }
    void SetUp() override { CPaintManagerUI::SetResourcePath(kFolder.c_str()); }

    bool Draw(int cx, int cy, const wchar_t* image, const wchar_t* modify = NULL)
    {
        m_pCanvas.reset(new PixelCanvas(cx, cy));
        const RECT rc = m_pCanvas->Rect();
        return CRenderEngine::DrawImageString(m_pCanvas->DC(), &m_manager, rc, rc, image, modify);
    }
    struct Expected { int x, y; uint32_t rgb; };
    void ExpectAt(std::initializer_list<Expected> pixels) const
    {
        for (const Expected& e : pixels) EXPECT_EQ(e.rgb, m_pCanvas->Rgb(e.x, e.y)) << "at " << e.x << "," << e.y;
    }

    CPaintManagerUI m_manager;
    std::unique_ptr<PixelCanvas> m_pCanvas;
};

TEST_F(RenderImageString, NineGridAndTiling)
{
    Draw(100, 30, L"file='grid.png' corner='2,2,2,2'");
    ExpectAt({ { 0, 0, kBlue }, { 1, 1, kBlue }, { 98, 28, kBlue }, { 50, 1, kBlue }, { 1, 15, kBlue },
               { 2, 2, kGreen }, { 20, 6, kGreen }, { 75, 22, kYellow }, { 97, 27, kYellow } });
    Draw(10, 10, L"file='quad.png' xtiled='true'");
    ExpectAt({ { 8, 1, kRed }, { 6, 1, kBlue }, { 9, 8, kGreen } });  // the last column cut, rows stretched
    Draw(10, 10, L"file='quad.png' ytiled='true'");
    ExpectAt({ { 1, 8, kRed }, { 8, 8, kBlue } });
    Draw(10, 10, L"file='quad.png' xtiled='true' ytiled='true'");
    ExpectAt({ { 9, 9, kRed }, { 6, 6, kYellow } });

    // Centres with nothing to repeat are left out; the corners still draw.
    EXPECT_TRUE(Draw(10, 10, L"file='quad.png' source='2,0,2,4' xtiled='true'"));
    ExpectAt({ { 5, 5, kWhite } });
    Draw(40, 20, L"file='grid.png' corner='10,0,10,0' xtiled='true' ytiled='true'");
    ExpectAt({ { 20, 10, kWhite }, { 5, 5, kGreen }, { 35, 15, kYellow } });
}

TEST_F(RenderImageString, ClampsFadeAndMask)
{
    Draw(40, 20, L"file='red.png' dest='10,5,500,500'");
    ExpectAt({ { 39, 19, kRed }, { 9, 5, kWhite }, { 10, 4, kWhite } });
    EXPECT_TRUE(Draw(40, 20, L"file='red.png' dest='50,0,60,10'") && Draw(40, 20, L"file='red.png' dest='10'"));
    ExpectAt({ { 39, 0, kWhite }, { 20, 10, kWhite } });
    // The corner list runs short after a longer value: the numbers left over from that must not count.
    Draw(40, 20, L"file='grid.png' source='0,0,20,20' corner='2'");
    ExpectAt({ { 1, 10, kBlue }, { 21, 10, kYellow } });
    Draw(2, 1, L"file='strip.png' source='2,0,50,50'");
    ExpectAt({ { 0, 0, kGreen }, { 1, 0, kYellow } });

    Draw(10, 10, L"file='red.png' fade='128'");
    EXPECT_TRUE(Near(0xFF7F7F, m_pCanvas->Rgb(5, 5))) << std::hex << m_pCanvas->Rgb(5, 5);
    Draw(10, 10, L"file='red.png' fade='256'");
    ExpectAt({ { 5, 5, kWhite } });

    Draw(2, 1, L"file='magenta.png' mask='#FFFF00FF'");
    ExpectAt({ { 0, 0, kWhite }, { 1, 0, kRed } });
    EXPECT_TRUE(m_manager.GetImage(L"magenta.png")->bHasAlpha);
}

TEST_F(RenderImageString, ParseRulesAndResults)
{
    EXPECT_TRUE(Draw(10, 10, L"red.png"));
    ExpectAt({ { 9, 9, kRed } });
    Draw(10, 10, L" file='blue.png' ");
    ExpectAt({ { 0, 0, kBlue } });
    // The modifier's file replaces the first instead of drawing both.
    Draw(10, 10, L"file='red.png' dest='0,0,5,10'", L"file='blue.png' dest='5,0,10,10'");
    ExpectAt({ { 2, 5, kWhite }, { 7, 5, kBlue } });
    // A second file draws the first, then itself at the same destination.
    Draw(20, 10, L"file='red.png' dest='0,0,10,10' file='halfblue.png'");
    ExpectAt({ { 2, 5, kRed }, { 8, 5, kBlue }, { 15, 5, kWhite } });
    // A value in double quotes ends the parse; what was named so far still draws.
    EXPECT_TRUE(Draw(20, 10, L"file='red.png' dest=\"10,0,20,10\" file='blue.png'"));
    ExpectAt({ { 5, 5, kRed }, { 15, 5, kRed } });
    // Nothing is pending before the first name.
    CPaintManagerUI::SetResourceDll(::GetModuleHandleW(NULL));
    EXPECT_TRUE(Draw(2, 1, L"restype='PNG' res='101'"));
    ExpectAt({ { 0, 0, 0x204060 } });
    // The type comes after the name: the untyped try misses, the typed one draws, and that is success.
    EXPECT_TRUE(Draw(2, 1, L"file='101' restype='PNG'"));
    ExpectAt({ { 1, 0, 0x80A0C0 } });
    // A typed try of another name does not make up for the miss.
    EXPECT_FALSE(Draw(2, 1, L"file='nothere.png' restype='PNG' file='101'"));

    EXPECT_FALSE(Draw(10, 10, L"file='nothere.png'"));
    EXPECT_TRUE(Draw(10, 10, L""));
    const RECT rcItem = { 0, 0, 10, 10 }, rcPaint = { 50, 50, 60, 60 };
    EXPECT_TRUE(CRenderEngine::DrawImageString(m_pCanvas->DC(), &m_manager, rcItem, rcPaint, L"red.png"));
    ExpectAt({ { 5, 5, kWhite } });
    EXPECT_FALSE(CRenderEngine::DrawImageString(m_pCanvas->DC(), NULL, rcItem, rcItem, L"red.png"));
    EXPECT_FALSE(CRenderEngine::DrawImageString(NULL, &m_manager, rcItem, rcItem, L"red.png"));
}
