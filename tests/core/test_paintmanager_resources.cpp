// Fonts, the image cache, default attribute lists and default colours of a
// paint manager, alone and with a parent resource manager.
#include <gtest/gtest.h>

#include "PngFixture.h"
#include "SkinSettings.h"
#include "TempFiles.h"
#include "core/PaintManagerUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

LOGFONTW FontOf(HFONT hFont)
{
    LOGFONTW lf = {};
    ::GetObjectW(hFont, sizeof(lf), &lf);
    return lf;
}

// Every image test reads from one resource folder of its own.
class ImageCacheTest : public SkinSettingsTest
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = MakeTempFolder(L"skin_images");
    }
    void SetUp() override { CPaintManagerUI::SetResourcePath(s_folder.c_str()); }
    static bool WriteImage(const wchar_t* name, int width, int height, uint32_t argb)
    {
        return WriteBytes(s_folder + name, MakeSolidPng(width, height, argb));
    }
    static std::wstring s_folder;
};
std::wstring ImageCacheTest::s_folder;

bool IsBitmapAlive(HBITMAP hBitmap)
{
    return ::GetObjectType(hBitmap) == OBJ_BITMAP;
}

HBITMAP MakeBitmap()
{
    HDC hScreen = ::GetDC(NULL);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 4, 4);
    ::ReleaseDC(NULL, hScreen);
    return hBitmap;
}

} // namespace

TEST(PaintManagerFonts, IndicesShiftAndOutOfRangeFallsBackToDefault)
{
    CPaintManagerUI pm;
    HFONT hA = pm.AddFont(L"Arial", 12, false, false, false);
    HFONT hB = pm.AddFont(L"Arial", 14, true, false, false);
    HFONT hC = pm.AddFont(L"Tahoma", 12, false, true, true);
    ASSERT_TRUE(hA && hB && hC);
    EXPECT_EQ(pm.GetFont(5), pm.GetDefaultFontInfo()->hGdiFont);
    EXPECT_EQ(pm.GetFont(-1), pm.GetDefaultFontInfo()->hGdiFont);
    EXPECT_EQ(pm.GetFontIndex(pm.GetDefaultFontInfo()->hGdiFont), -1);

    HFONT hFirst = pm.AddFontAt(0, L"Arial", 20, false, false, false);
    EXPECT_EQ(pm.GetFont(0), hFirst);
    EXPECT_EQ(pm.GetFontIndex(hA), 1);
    EXPECT_EQ(pm.GetFontIndex(hC), 3);
    EXPECT_EQ(pm.AddFontAt(6, L"Arial", 9, false, false, false), nullptr);
    EXPECT_EQ(pm.AddFontAt(-1, L"Arial", 9, false, false, false), nullptr);
    EXPECT_EQ(pm.GetCustomFontCount(), 4);

    // Look-ups by description are exact and case-sensitive on the face.
    EXPECT_EQ(pm.GetFont(L"Arial", 14, true, false, false), hB);
    EXPECT_EQ(pm.GetFont(L"arial", 14, true, false, false), nullptr);
    EXPECT_EQ(pm.GetFont(L"Arial", 14, false, false, false), nullptr);
    EXPECT_EQ(pm.GetFontIndex(L"Tahoma", 12, false, true, true), 3);

    EXPECT_TRUE(pm.RemoveFontAt(0));
    EXPECT_FALSE(pm.RemoveFontAt(3));
    EXPECT_EQ(pm.GetFontIndex(hC), 2);
    EXPECT_TRUE(pm.RemoveFont(hA));
    EXPECT_FALSE(pm.RemoveFont(hA));
    EXPECT_EQ(pm.GetFont(0), hB);

    // Face names longer than the LOGFONT field are cut, not overrun.
    std::wstring sLong(80, L'F');
    HFONT hLong = pm.AddFont(sLong.c_str(), 12, false, false, false);
    ASSERT_NE(hLong, nullptr);
    EXPECT_EQ(wcslen(FontOf(hLong).lfFaceName), static_cast<size_t>(LF_FACESIZE - 1));
}

TEST(PaintManagerFonts, MetricsAndDefaultFontWithoutAWindow)
{
    CPaintManagerUI pm;
    HFONT hFont = pm.AddFont(L"Arial", 30, false, false, false);
    tagTFontInfo* pInfo = pm.GetFontInfo(0);
    ASSERT_EQ(pInfo->hGdiFont, hFont);

    // Measured on first use, and like the same font measured on a screen DC.
    HDC hDC = ::CreateCompatibleDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(hDC, &tm);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    EXPECT_GT(pInfo->tmMetrics.tmHeight, 0);
    EXPECT_EQ(pInfo->tmMetrics.tmHeight, tm.tmHeight);
    EXPECT_EQ(pm.GetFontInfo(hFont), pInfo);
    EXPECT_EQ(pm.GetFontInfo(static_cast<HFONT>(NULL)), pm.GetDefaultFontInfo());
    EXPECT_GT(pm.GetDefaultFontInfo()->tmMetrics.tmHeight, 0);

    HFONT hOldDefault = pm.GetDefaultFontInfo()->hGdiFont;
    pm.SetDefaultFont(L"Arial", 40, true, false, false);
    tagTFontInfo* pDefault = pm.GetDefaultFontInfo();
    EXPECT_NE(pDefault->hGdiFont, hOldDefault);
    EXPECT_EQ(::GetObjectType(hOldDefault), 0u);
    EXPECT_EQ(pDefault->nPixelSize, 40);
    EXPECT_TRUE(pDefault->bIsBold);
    EXPECT_GT(pDefault->tmMetrics.tmHeight, tm.tmHeight);
}

TEST(PaintManagerFonts, ParentChainSearches)
{
    CPaintManagerUI parent;
    CPaintManagerUI child;
    ASSERT_TRUE(child.UseParentResource(&parent));
    HFONT hParentFont = parent.AddFont(L"Arial", 16, false, false, false);

    EXPECT_EQ(child.GetFont(L"Arial", 16, false, false, false), hParentFont);
    EXPECT_TRUE(child.FindFont(hParentFont));
    EXPECT_TRUE(child.FindFont(L"Arial", 16, false, false, false));
    EXPECT_EQ(child.GetFontIndex(hParentFont), -1);
    EXPECT_EQ(child.GetFontInfo(hParentFont)->hGdiFont, hParentFont);
    // An index the child lacks is the parent's; one neither has, the default,
    // which is the topmost manager's.
    EXPECT_EQ(child.GetFont(0), hParentFont);
    EXPECT_EQ(child.GetFont(1), parent.GetDefaultFontInfo()->hGdiFont);
    EXPECT_EQ(child.GetDefaultFontInfo(), parent.GetDefaultFontInfo());
    EXPECT_FALSE(parent.FindFont(child.AddFont(L"Arial", 18, false, false, false)));
}

TEST(PaintManagerDefaults, ColoursAndAttributeListsFollowTheChain)
{
    CPaintManagerUI parent;
    CPaintManagerUI child;
    EXPECT_EQ(child.GetDefaultDisabledColor(), 0xFFA7A6AAu);
    EXPECT_EQ(child.GetDefaultLinkHoverFontColor(), 0xFFD3215Fu);
    child.UseParentResource(&parent);
    child.SetDefaultFontColor(0xFF112233);
    EXPECT_EQ(child.GetDefaultFontColor(), 0xFF000000u);
    parent.SetDefaultFontColor(0xFF445566);
    EXPECT_EQ(child.GetDefaultFontColor(), 0xFF445566u);
    child.UseParentResource(NULL);
    EXPECT_EQ(child.GetDefaultFontColor(), 0xFF112233u);
    child.UseParentResource(&parent);

    parent.AddDefaultAttributeList(L"Button", L"height=\"30\"");
    parent.AddDefaultAttributeList(L"Button", L"height=\"99\"");
    EXPECT_STREQ(child.GetDefaultAttributeList(L"Button"), L"height=\"30\"");
    child.AddDefaultAttributeList(L"Button", L"width=\"5\"");
    EXPECT_STREQ(child.GetDefaultAttributeList(L"Button"), L"width=\"5\"");
    EXPECT_EQ(child.GetDefaultAttributeList(L"Edit"), nullptr);
    EXPECT_TRUE(child.RemoveDefaultAttributeList(L"Button"));
    EXPECT_FALSE(child.RemoveDefaultAttributeList(L"Button"));
    EXPECT_STREQ(child.GetDefaultAttributeList(L"Button"), L"height=\"30\"");
    parent.AddDefaultAttributeList(L"Edit", L"");
    EXPECT_EQ(parent.GetDefaultAttribultes().GetSize(), 2);
    parent.RemoveAllDefaultAttributeList();
    EXPECT_EQ(child.GetDefaultAttributeList(L"Button"), nullptr);
}

TEST_F(ImageCacheTest, LoadsOnceAndKeepsParentAndChildApart)
{
    ASSERT_TRUE(WriteImage(L"a.png", 6, 4, 0xFF00FF00));
    CPaintManagerUI parent;
    CPaintManagerUI child;
    child.UseParentResource(&parent);

    const tagTImageInfo* pParentImage = parent.GetImageEx(L"a.png");
    ASSERT_NE(pParentImage, nullptr);
    EXPECT_EQ(pParentImage->nWidth, 6);
    EXPECT_EQ(pParentImage->nHeight, 4);
    EXPECT_FALSE(pParentImage->bHasAlpha);
    EXPECT_TRUE(pParentImage->sResourceType.IsEmpty());
    EXPECT_EQ(parent.GetImageEx(L"a.png"), pParentImage);

    // GetImage walks the chain; GetImageEx loads a copy of the child's own.
    EXPECT_EQ(child.GetImage(L"a.png"), pParentImage);
    const tagTImageInfo* pChildImage = child.GetImageEx(L"a.png", NULL, 0xFF00FF00);
    ASSERT_NE(pChildImage, nullptr);
    EXPECT_NE(pChildImage, pParentImage);
    EXPECT_EQ(pChildImage->dwMaskColor, 0xFF00FF00u);
    EXPECT_TRUE(pChildImage->bHasAlpha);

    EXPECT_EQ(parent.AddImage(L"a.png"), nullptr);
    EXPECT_EQ(parent.GetImage(L"a.png"), pParentImage);
    EXPECT_EQ(parent.GetImageEx(L"missing.png"), nullptr);
    EXPECT_EQ(parent.GetImageEx(L""), nullptr);

    EXPECT_TRUE(child.RemoveImage(L"a.png"));
    EXPECT_FALSE(child.RemoveImage(L"a.png"));
    EXPECT_EQ(child.GetImage(L"a.png"), pParentImage);
}

TEST_F(ImageCacheTest, ReloadKeepsRecordsAndBitmapsHandedInAreOwned)
{
    ASSERT_TRUE(WriteImage(L"r.png", 3, 3, 0xFFFF0000));
    CPaintManagerUI pm;
    const tagTImageInfo* pImage = pm.GetImageEx(L"r.png");
    ASSERT_NE(pImage, nullptr);
    HBITMAP hOld = pImage->hDibBitmap;

    ASSERT_TRUE(WriteImage(L"r.png", 5, 2, 0x80FF0000));
    pm.ReloadAllImages();
    EXPECT_EQ(pm.GetImage(L"r.png"), pImage);
    EXPECT_EQ(pImage->nWidth, 5);
    EXPECT_EQ(pImage->nHeight, 2);
    EXPECT_TRUE(pImage->bHasAlpha);
    EXPECT_FALSE(IsBitmapAlive(hOld));

    // A source that no longer loads keeps the old image.
    ::DeleteFileW((s_folder + L"r.png").c_str());
    pm.ReloadAllImages();
    EXPECT_EQ(pImage->nWidth, 5);
    EXPECT_TRUE(IsBitmapAlive(pImage->hDibBitmap));

    // A bitmap handed in belongs to the cache from then on, whatever the outcome.
    HBITMAP hGood = MakeBitmap();
    const tagTImageInfo* pMade = pm.AddImage(L"made", hGood, 4, 4, false);
    ASSERT_NE(pMade, nullptr);
    EXPECT_EQ(pMade->hDibBitmap, hGood);
    HBITMAP hDuplicate = MakeBitmap();
    EXPECT_EQ(pm.AddImage(L"made", hDuplicate, 4, 4, false), nullptr);
    EXPECT_FALSE(IsBitmapAlive(hDuplicate));
    HBITMAP hEmpty = MakeBitmap();
    EXPECT_EQ(pm.AddImage(L"empty", hEmpty, 0, 4, false), nullptr);
    EXPECT_FALSE(IsBitmapAlive(hEmpty));
    EXPECT_EQ(pm.AddImage(L"none", static_cast<HBITMAP>(NULL), 4, 4, false), nullptr);

    pm.RemoveAllImages();
    EXPECT_FALSE(IsBitmapAlive(hGood));
    EXPECT_EQ(pm.GetImage(L"made"), nullptr);
}
