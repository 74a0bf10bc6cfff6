// CRenderEngine, images:
//   where image bytes come from: module resources, skin files, paths
//   decoding with stb_image into premultiplied 32-bit DIB sections
//   blending and drawing bitmap parts (nine-grid, tiling, fade)
//   image descriptions
#include "core/RenderEngine.h"

#include "core/AttributeValue.h"
#include "core/GdiScope.h"
#include "core/RenderEngineInternal.h"
#include "core/SkinFile.h"

#include <algorithm>
#include <cwchar>
#include <memory>
#include <new>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 8192
#include <stb_image.h>

namespace SkinLib {

namespace {

// Sizes in files, resources and archives are untrusted; no skin image comes near this.
const unsigned int kMaxImageBytes = 32u << 20;

// The memory DC every image draw selects its bitmap into: making one per draw costs, under Wine,
// half as much as blending a 200x60 nine-grid. A bitmap stays selected for one draw only, so
// callers may delete theirs right after. Drawing happens on the UI thread alone.
HDC ImageDC()
{
    static HDC s_hImageDC = NULL;
    if (s_hImageDC == NULL) s_hImageDC = ::CreateCompatibleDC(NULL);
    return s_hImageDC;
}

// A typed image is a module resource; else a skin file, or a file by its own path.
bool ReadImageBytes(STRINGorID bitmap, const wchar_t* type, CSkinFile& file)
{
    if (type != NULL && file.ReadResource(bitmap, type, kMaxImageBytes) == SKINFILE_OK) return true;
    // Files and archive members are found by name only.
    if (bitmap.IsId()) return false;
    const wchar_t* pstrName = bitmap.m_lpszNameOrId;
    if (type == NULL && file.Read(pstrName, kMaxImageBytes) == SKINFILE_OK) return true;
    return file.ReadFromDisk(pstrName, kMaxImageBytes) == SKINFILE_OK;
}

struct StbiPixelsDeleter
{
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

} // namespace

tagTImageInfo* CRenderEngine::LoadImageW(STRINGorID bitmap, const wchar_t* type, DWORD mask)
{
    int x = 0, y = 0;
    std::unique_ptr<stbi_uc, StbiPixelsDeleter> pRgba;
    {
        CSkinFile file;
        if (!ReadImageBytes(bitmap, type, file)) return NULL;
        int nChannels = 0;
        pRgba.reset(stbi_load_from_memory(file.GetData(), int(file.GetSize()), &x, &y, &nChannels, 4));
    }
    if (pRgba == nullptr) return NULL;

    DWORD* pDest = NULL;
    HBITMAP hBitmap = CreateDib32(x, y, &pDest);
    if (hBitmap == NULL) return NULL;

    bool bAlphaChannel = false;
    const stbi_uc* pSrc = pRgba.get();
    for (int i = 0; i < x * y; i++, pSrc += 4) {
        DWORD r = pSrc[0], g = pSrc[1], b = pSrc[2], a = pSrc[3];
        if (a < 255) {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
            bAlphaChannel = true;
        }
        DWORD dwPixel = (a << 24) | (r << 16) | (g << 8) | b;
        if (dwPixel == mask) {
            dwPixel = 0;
            bAlphaChannel = true;
        }
        pDest[i] = dwPixel;
    }

    tagTImageInfo* pInfo = new (std::nothrow) tagTImageInfo;
    if (pInfo == NULL) {
        ::DeleteObject(hBitmap);
        return NULL;
    }
    pInfo->hDibBitmap = hBitmap;
    pInfo->nWidth = x;
    pInfo->nHeight = y;
    pInfo->bHasAlpha = bAlphaChannel;
    pInfo->dwMaskColor = 0;
    return pInfo;
}

void CRenderEngine::FreeImage(const tagTImageInfo* bitmap)
{
    if (bitmap == NULL) return;
    if (bitmap->hDibBitmap != NULL) ::DeleteObject(bitmap->hDibBitmap);
    delete bitmap;
}

void CRenderEngine::BlendPart(HDC hDC, int nDestX, int nDestY, int nDestWidth, int nDestHeight, HDC hSrcDC, int nSrcX,
                              int nSrcY, int nSrcWidth, int nSrcHeight, BYTE uFade)
{
    if (LPALPHABLEND lpAlphaBlend = FindAlphaBlend()) {
        BLENDFUNCTION bf = { AC_SRC_OVER, 0, uFade, AC_SRC_ALPHA };
        lpAlphaBlend(hDC, nDestX, nDestY, nDestWidth, nDestHeight, hSrcDC, nSrcX, nSrcY, nSrcWidth, nSrcHeight, bf);
        return;
    }

    DWORD* pSrcBits = NULL;
    DWORD* pDestBits = NULL;
    CGdiObjectScope<HBITMAP> srcBitmap(CreateDib32(nDestWidth, nDestHeight, &pSrcBits));
    CGdiObjectScope<HBITMAP> destBitmap(CreateDib32(nDestWidth, nDestHeight, &pDestBits));
    CMemoryDC memDC(hDC);
    if (memDC == NULL || srcBitmap == NULL || destBitmap == NULL) return;
    // Selected first for the source; the scope puts the DC's own bitmap back.
    CSelectScope selected(memDC, srcBitmap);
    // Halftone and the default mode would not carry the alpha bytes over.
    ::SetStretchBltMode(memDC, COLORONCOLOR);
    ::StretchBlt(memDC, 0, 0, nDestWidth, nDestHeight, hSrcDC, nSrcX, nSrcY, nSrcWidth, nSrcHeight, SRCCOPY);
    ::SelectObject(memDC, destBitmap);
    ::BitBlt(memDC, 0, 0, nDestWidth, nDestHeight, hDC, nDestX, nDestY, SRCCOPY);
    ::GdiFlush();
    // The source is premultiplied, so its colour takes only the fade; the destination keeps
    // what the faded source alpha leaves over. That is AlphaBlend's rule.
    const double dFade = uFade / 255.0;
    for (int i = 0; i < nDestWidth * nDestHeight; i++) {
        DWORD dwSrc = pSrcBits[i];
        DWORD dwDest = pDestBits[i];
        double dSrcAlpha = (dwSrc >> 24) * dFade;
        double dKeep = 1.0 - dSrcAlpha / 255.0;
        DWORD dwAlpha = DWORD(dSrcAlpha + (dwDest >> 24) * dKeep);
        pDestBits[i] = MixColor(dwSrc, dFade, dwDest, dKeep) | (dwAlpha << 24);
    }
    ::BitBlt(hDC, nDestX, nDestY, nDestWidth, nDestHeight, memDC, 0, 0, SRCCOPY);
}

void CRenderEngine::DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                              const RECT& rcCorners, bool bAlphaChannel, BYTE uFade, bool hole, bool xtiled,
                              bool ytiled)
{
    HDC hCloneDC = ImageDC();
    if (hBitmap == NULL || hCloneDC == NULL) return;
    // A bitmap still selected into some other DC can't be drawn from.
    CSelectScope selected(hCloneDC, hBitmap);
    if (!selected.IsSelected()) return;
    ::SetStretchBltMode(hDC, HALFTONE);

    const bool bBlend = bAlphaChannel || uFade < 255;
    // Corners wider than the part leave empty or inverted pieces; those are skipped, never mirrored.
    auto DrawPiece = [&](int x, int y, int cx, int cy, int xSrc, int ySrc, int cxSrc, int cySrc) {
        if (cx <= 0 || cy <= 0 || cxSrc <= 0 || cySrc <= 0) return;
        if (bBlend) BlendPart(hDC, x, y, cx, cy, hCloneDC, xSrc, ySrc, cxSrc, cySrc, uFade);
        else if (cx == cxSrc && cy == cySrc) ::BitBlt(hDC, x, y, cx, cy, hCloneDC, xSrc, ySrc, SRCCOPY);
        else ::StretchBlt(hDC, x, y, cx, cy, hCloneDC, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);
    };

    RECT rcTemp;
    const bool bNoCorners = rcCorners.left == 0 && rcCorners.top == 0 && rcCorners.right == 0 && rcCorners.bottom == 0;
    if (!bBlend && !hole && bNoCorners && rc.right - rc.left == rcBmpPart.right - rcBmpPart.left &&
        rc.bottom - rc.top == rcBmpPart.bottom - rcBmpPart.top) {
        if (::IntersectRect(&rcTemp, &rc, &rcPaint)) {
            ::BitBlt(hDC, rcTemp.left, rcTemp.top, rcTemp.right - rcTemp.left, rcTemp.bottom - rcTemp.top, hCloneDC,
                     rcBmpPart.left + rcTemp.left - rc.left, rcBmpPart.top + rcTemp.top - rc.top, SRCCOPY);
        }
    } else {
        // Column and row edges of the nine pieces, in the destination and in the bitmap.
        const int xDest[4] = { rc.left, rc.left + rcCorners.left, rc.right - rcCorners.right, rc.right };
        const int yDest[4] = { rc.top, rc.top + rcCorners.top, rc.bottom - rcCorners.bottom, rc.bottom };
        const int xSrc[4] = { rcBmpPart.left, rcBmpPart.left + rcCorners.left, rcBmpPart.right - rcCorners.right,
                              rcBmpPart.right };
        const int ySrc[4] = { rcBmpPart.top, rcBmpPart.top + rcCorners.top, rcBmpPart.bottom - rcCorners.bottom,
                              rcBmpPart.bottom };

        // The centre: stretched along an axis that is not tiled, repeated at the source's own size
        // along one that is (the last repetition cut, the source cut to match).
        const RECT rcCentre = { xDest[1], yDest[1], xDest[2], yDest[2] };
        const int cxSrc = xSrc[2] - xSrc[1];
        const int cySrc = ySrc[2] - ySrc[1];
        if (!hole && ::IntersectRect(&rcTemp, &rcCentre, &rcPaint) && (!xtiled || cxSrc > 0) && (!ytiled || cySrc > 0)) {
            const int cxDest = rcCentre.right - rcCentre.left;
            const int cyDest = rcCentre.bottom - rcCentre.top;
            const int cxStep = xtiled ? cxSrc : cxDest;
            const int cyStep = ytiled ? cySrc : cyDest;
            const int nColumns = xtiled ? (cxDest + cxSrc - 1) / cxSrc : 1;
            const int nRows = ytiled ? (cyDest + cySrc - 1) / cySrc : 1;
            for (int row = 0; row < nRows; row++) {
                const int y = rcCentre.top + row * cyStep;
                const int cy = ytiled ? std::min<int>(cySrc, rcCentre.bottom - y) : cyDest;
                for (int col = 0; col < nColumns; col++) {
                    const int x = rcCentre.left + col * cxStep;
                    const int cx = xtiled ? std::min<int>(cxSrc, rcCentre.right - x) : cxDest;
                    DrawPiece(x, y, cx, cy, xSrc[1], ySrc[1], xtiled ? cx : cxSrc, ytiled ? cy : cySrc);
                }
            }
        }

        // The eight border pieces: corners at their size, edges stretched along their length.
        const bool bColumnWanted[3] = { rcCorners.left > 0, true, rcCorners.right > 0 };
        const bool bRowWanted[3] = { rcCorners.top > 0, true, rcCorners.bottom > 0 };
        for (int row = 0; row < 3; row++) {
            for (int col = 0; col < 3; col++) {
                if ((row == 1 && col == 1) || !bRowWanted[row] || !bColumnWanted[col]) continue;
                const RECT rcPiece = { xDest[col], yDest[row], xDest[col + 1], yDest[row + 1] };
                if (!::IntersectRect(&rcTemp, &rcPiece, &rcPaint)) continue;
                DrawPiece(rcPiece.left, rcPiece.top, rcPiece.right - rcPiece.left, rcPiece.bottom - rcPiece.top,
                          xSrc[col], ySrc[row], xSrc[col + 1] - xSrc[col], ySrc[row + 1] - ySrc[row]);
            }
        }
    }
}

namespace {

// One image description being drawn: where it goes, and the draw state its pairs build up.
// The state carries over from one image of the description to the next.
struct ImageDescription
{
    HDC hDC;
    CPaintManagerUI* pManager;
    const RECT& rcItem;
    const RECT& rcPaint;
    // Until a "file" or "res" pair names the image, the whole description is its name.
    const wchar_t* pstrBareName;
    CSkinString sName;
    bool bNamed = false;
    CSkinString sResType;
    RECT rcDest;
    RECT rcSource = {};
    RECT rcCorner = {};
    DWORD dwMask = 0;
    BYTE uFade = 255;
    bool bHole = false;
    bool bTiledX = false;
    bool bTiledY = false;
    // Cleared once a named image cannot be obtained.
    bool bAllFound = true;
    // An image missed just before a "restype": the typed attempt that follows may still find it.
    CSkinString sMissBeforeType;
    bool bMissBeforeType = false;
};

const wchar_t* PendingName(const ImageDescription& desc)
{
    return desc.bNamed ? desc.sName.GetData() : desc.pstrBareName;
}

// False when the named image cannot be obtained; an empty name asks for nothing.
bool DrawPendingImage(ImageDescription& desc)
{
    const wchar_t* pstrName = PendingName(desc);
    if (*pstrName == L'\0') return true;
    const tagTImageInfo* pImage =
        desc.pManager->GetImageEx(pstrName, desc.sResType.IsEmpty() ? NULL : desc.sResType.GetData(), desc.dwMask);
    if (pImage == NULL) return false;
    RECT rcSource = desc.rcSource;
    if (rcSource.left == 0 && rcSource.top == 0 && rcSource.right == 0 && rcSource.bottom == 0) {
        rcSource.right = pImage->nWidth;
        rcSource.bottom = pImage->nHeight;
    }
    // Never read outside the bitmap.
    rcSource.left = std::max<LONG>(rcSource.left, 0);
    rcSource.top = std::max<LONG>(rcSource.top, 0);
    rcSource.right = std::min<LONG>(rcSource.right, pImage->nWidth);
    rcSource.bottom = std::min<LONG>(rcSource.bottom, pImage->nHeight);
    RECT rcTemp;
    if (!::IntersectRect(&rcTemp, &desc.rcDest, &desc.rcItem) || !::IntersectRect(&rcTemp, &desc.rcDest, &desc.rcPaint))
        return true;
    CRenderEngine::DrawImage(desc.hDC, pImage->hDibBitmap, desc.rcDest, desc.rcPaint, rcSource, desc.rcCorner,
                             pImage->bHasAlpha, desc.uFade, desc.bHole, desc.bTiledX, desc.bTiledY);
    return true;
}

// Draws the pending image and keeps the description's result. "file='12' restype='PNG'" first
// tries the file 12 and then the resource: the miss of the first is no failure when the
// second draws the same name.
void DrawAndRecord(ImageDescription& desc, bool bTypeFollows)
{
    const bool bFound = DrawPendingImage(desc);
    if (desc.bMissBeforeType) {
        if (!bFound || desc.sMissBeforeType != PendingName(desc)) desc.bAllFound = false;
        desc.bMissBeforeType = false;
    }
    if (bFound) return;
    if (bTypeFollows) {
        desc.sMissBeforeType = PendingName(desc);
        desc.bMissBeforeType = true;
    } else {
        desc.bAllFound = false;
    }
}

// A "file" or "restype" after an image of this string first draws the image named so far. Before any
// name came, nothing is pending: the whole description is no image name once it holds pairs.
void DrawPendingBeforeNext(ImageDescription& desc, int nImages, bool bTypeFollows)
{
    if (nImages > 0 && desc.bNamed) DrawAndRecord(desc, bTypeFollows);
}

void ApplyPair(ImageDescription& desc, const wchar_t* pstrKey, size_t cchKey, const CSkinString& sValue, int& nImages)
{
    const bool bFile = KeyIs(pstrKey, cchKey, L"file");
    if (bFile || KeyIs(pstrKey, cchKey, L"res")) {
        DrawPendingBeforeNext(desc, nImages, false);
        desc.sName = sValue;
        desc.bNamed = true;
        if (bFile) nImages++;
    } else if (KeyIs(pstrKey, cchKey, L"restype")) {
        DrawPendingBeforeNext(desc, nImages, true);
        desc.sResType = sValue;
        nImages++;
    } else if (KeyIs(pstrKey, cchKey, L"dest")) {
        const RECT rc = ParseRectValue(sValue);
        desc.rcDest.left = desc.rcItem.left + rc.left;
        desc.rcDest.top = desc.rcItem.top + rc.top;
        desc.rcDest.right = std::min(desc.rcItem.left + rc.right, desc.rcItem.right);
        desc.rcDest.bottom = std::min(desc.rcItem.top + rc.bottom, desc.rcItem.bottom);
    } else if (KeyIs(pstrKey, cchKey, L"source")) {
        desc.rcSource = ParseRectValue(sValue);
    } else if (KeyIs(pstrKey, cchKey, L"corner")) {
        desc.rcCorner = ParseRectValue(sValue);
    } else if (KeyIs(pstrKey, cchKey, L"mask")) {
        desc.dwMask = ParseColorValue(sValue);
    } else if (KeyIs(pstrKey, cchKey, L"fade")) {
        desc.uFade = BYTE(ParseIntValue(sValue));
    } else if (KeyIs(pstrKey, cchKey, L"hole")) {
        desc.bHole = ParseBoolValue(sValue);
    } else if (KeyIs(pstrKey, cchKey, L"xtiled")) {
        desc.bTiledX = ParseBoolValue(sValue);
    } else if (KeyIs(pstrKey, cchKey, L"ytiled")) {
        desc.bTiledY = ParseBoolValue(sValue);
    }
}

void ParseImageDescription(ImageDescription& desc, const wchar_t* p)
{
    const wchar_t* pEnd = p + ::wcslen(p);
    int nImages = 0;
    CSkinString sValue;
    ImagePair pair;
    while (p < pEnd && ReadImagePair(p, pEnd, pair)) {
        if (pair.cchValue > 0) {
            sValue.Assign(pair.pValue, pair.cchValue);
            ApplyPair(desc, pair.pKey, size_t(pair.cchKey), sValue, nImages);
        }
        if (*p != L' ') return;
        p++;
    }
}

} // namespace

bool CRenderEngine::DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                                    const wchar_t* pStrImage, const wchar_t* pStrModify)
{
    if (hDC == NULL || pManager == NULL) return false;
    if (pStrImage == NULL) pStrImage = L"";
    ImageDescription desc = { hDC, pManager, rcItem, rcPaint, pStrImage };
    desc.rcDest = rcItem;
    ParseImageDescription(desc, pStrImage);
    if (pStrModify != NULL) ParseImageDescription(desc, pStrModify);
    DrawAndRecord(desc, false);
    return desc.bAllFound;
}

} // namespace SkinLib
