// The render engine: skin images and image descriptions, colours, gradients,
// shapes, plain text and mark-up text, all drawn with GDI on a caller's DC.
#include "core/RenderEngine.h"

#include "controls/ControlUI.h"
#include "core/RenderClip.h"

#include <algorithm>
#include <cwchar>
#include <memory>
#include <new>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 8192
#include <stb_image.h>

namespace SkinLib {

namespace {

// Sizes in files, resources and archives are untrusted; no skin image comes near this.
const unsigned int kMaxImageBytes = 32u << 20;

typedef BOOL(WINAPI* LPALPHABLEND)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

// Kept only once found: a draw before the first paint manager loads msimg32
// must not pin the fall-back for the rest of the process.
template <class Proc> Proc FindInMsimg32(Proc& pfnFound, const char* pstrName)
{
    if (pfnFound == NULL) {
        HMODULE hModule = ::GetModuleHandleW(L"msimg32.dll");
        if (hModule != NULL) pfnFound = reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(hModule, pstrName)));
    }
    return pfnFound;
}

LPALPHABLEND FindAlphaBlend()
{
    static LPALPHABLEND s_lpAlphaBlend = NULL;
    return FindInMsimg32(s_lpAlphaBlend, "AlphaBlend");
}

// The memory DC every image draw selects its bitmap into: making one per draw costs, under Wine,
// half as much as blending a 200x60 nine-grid. A bitmap stays selected for one draw only, so
// callers may delete theirs right after. Drawing happens on the UI thread alone.
HDC ImageDC()
{
    static HDC s_hImageDC = NULL;
    if (s_hImageDC == NULL) s_hImageDC = ::CreateCompatibleDC(NULL);
    return s_hImageDC;
}

BYTE Channel(DWORD dwColor, int nShift)
{
    return static_cast<BYTE>(dwColor >> nShift);
}

// GDI takes the red, green and blue bytes of a 0xAARRGGBB colour.
COLORREF ToColorRef(DWORD dwColor)
{
    return RGB(Channel(dwColor, 16), Channel(dwColor, 8), Channel(dwColor, 0));
}

// A 32-bit DIB section: top-down, the form every skin bitmap and blend buffer
// takes, unless a caller asks for the classic bottom-up rows.
HBITMAP CreateDib32(int cx, int cy, DWORD** ppBits, bool bBottomUp = false)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = bBottomUp ? cy : -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    bmi.bmiHeader.biSizeImage = DWORD(cx) * DWORD(cy) * 4;
    return ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(ppBits), NULL, 0);
}

// Encoded image bytes: either a buffer of our own or a module resource, which stays mapped.
struct ImageBytes
{
    std::unique_ptr<BYTE[]> pOwned;
    const BYTE* pData = NULL;
    unsigned int nSize = 0;

    void Own(std::unique_ptr<BYTE[]> pBytes, unsigned int nBytes)
    {
        pOwned = std::move(pBytes);
        pData = pOwned.get();
        nSize = nBytes;
    }
};

bool ReadWholeFile(const wchar_t* pstrPath, ImageBytes& bytes)
{
    HANDLE hFile = ::CreateFileW(pstrPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool bRead = false;
    if (::GetFileSizeEx(hFile, &size) && size.QuadPart > 0 && size.QuadPart <= kMaxImageBytes) {
        DWORD dwSize = DWORD(size.QuadPart);
        std::unique_ptr<BYTE[]> pBytes(new (std::nothrow) BYTE[dwSize]);
        DWORD dwRead = 0;
        bRead = pBytes != nullptr && ::ReadFile(hFile, pBytes.get(), dwSize, &dwRead, NULL) && dwRead == dwSize;
        if (bRead) bytes.Own(std::move(pBytes), dwSize);
    }
    ::CloseHandle(hFile);
    return bRead;
}

bool ReadModuleResource(STRINGorID bitmap, const wchar_t* type, ImageBytes& bytes)
{
    HINSTANCE hModule = CPaintManagerUI::GetResourceDll();
    HRSRC hResource = ::FindResourceW(hModule, bitmap.m_lpszNameOrId, type);
    if (hResource == NULL) return false;
    DWORD dwSize = ::SizeofResource(hModule, hResource);
    HGLOBAL hGlobal = ::LoadResource(hModule, hResource);
    if (hGlobal == NULL || dwSize == 0 || dwSize > kMaxImageBytes) return false;
    bytes.pData = static_cast<const BYTE*>(::LockResource(hGlobal));
    bytes.nSize = dwSize;
    return bytes.pData != NULL;
}

// The cached skin archive, or the one named beside the resource folder, opened for this read only.
bool ReadSkinArchiveMember(const wchar_t* pstrName, ImageBytes& bytes)
{
    std::unique_ptr<BYTE[]> pBytes;
    unsigned int nSize = 0;
    DWORD dwResult;
    if (CPaintManagerUI::IsCachedResourceZip()) {
        dwResult = ResourceZipReadItem(CPaintManagerUI::GetResourceZipHandle(), pstrName, kMaxImageBytes, pBytes, &nSize);
    } else {
        CSkinString sZipPath = CPaintManagerUI::GetResourcePath() + CPaintManagerUI::GetResourceZip();
        HSKINZIP hZip = ResourceZipOpen(sZipPath.GetData(), 0, SKINZIP_FILENAME);
        if (hZip == NULL) return false;
        dwResult = ResourceZipReadItem(hZip, pstrName, kMaxImageBytes, pBytes, &nSize);
        ResourceZipClose(hZip);
    }
    if (dwResult != SKINZIP_OK) return false;
    bytes.Own(std::move(pBytes), nSize);
    return true;
}

bool ReadImageBytes(STRINGorID bitmap, const wchar_t* type, ImageBytes& bytes)
{
    if (type != NULL && ReadModuleResource(bitmap, type, bytes)) return true;
    // Files and archive members are found by name only.
    if (bitmap.IsId()) return false;
    const wchar_t* pstrName = bitmap.m_lpszNameOrId;
    if (type == NULL) {
        if (CPaintManagerUI::GetResourceZip().IsEmpty()) {
            CSkinString sPath = CPaintManagerUI::GetResourcePath() + pstrName;
            if (ReadWholeFile(sPath, bytes)) return true;
        } else if (ReadSkinArchiveMember(pstrName, bytes)) {
            return true;
        }
    }
    return ReadWholeFile(pstrName, bytes);
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
        ImageBytes bytes;
        if (!ReadImageBytes(bitmap, type, bytes)) return NULL;
        int nChannels = 0;
        pRgba.reset(stbi_load_from_memory(bytes.pData, int(bytes.nSize), &x, &y, &nChannels, 4));
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

    HDC hMemDC = ::CreateCompatibleDC(hDC);
    DWORD* pSrcBits = NULL;
    DWORD* pDestBits = NULL;
    HBITMAP hSrcBitmap = CreateDib32(nDestWidth, nDestHeight, &pSrcBits);
    HBITMAP hDestBitmap = CreateDib32(nDestWidth, nDestHeight, &pDestBits);
    if (hMemDC != NULL && hSrcBitmap != NULL && hDestBitmap != NULL) {
        HGDIOBJ hOldBitmap = ::SelectObject(hMemDC, hSrcBitmap);
        // Halftone and the default mode would not carry the alpha bytes over.
        ::SetStretchBltMode(hMemDC, COLORONCOLOR);
        ::StretchBlt(hMemDC, 0, 0, nDestWidth, nDestHeight, hSrcDC, nSrcX, nSrcY, nSrcWidth, nSrcHeight, SRCCOPY);
        ::SelectObject(hMemDC, hDestBitmap);
        ::BitBlt(hMemDC, 0, 0, nDestWidth, nDestHeight, hDC, nDestX, nDestY, SRCCOPY);
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
        ::BitBlt(hDC, nDestX, nDestY, nDestWidth, nDestHeight, hMemDC, 0, 0, SRCCOPY);
        ::SelectObject(hMemDC, hOldBitmap);
    }
    if (hSrcBitmap != NULL) ::DeleteObject(hSrcBitmap);
    if (hDestBitmap != NULL) ::DeleteObject(hDestBitmap);
    if (hMemDC != NULL) ::DeleteDC(hMemDC);
}

void CRenderEngine::DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                              const RECT& rcCorners, bool bAlphaChannel, BYTE uFade, bool hole, bool xtiled,
                              bool ytiled)
{
    HDC hCloneDC = ImageDC();
    if (hBitmap == NULL || hCloneDC == NULL) return;
    // A bitmap still selected into some other DC can't be drawn from.
    HGDIOBJ hOldBitmap = ::SelectObject(hCloneDC, hBitmap);
    if (hOldBitmap == NULL) return;
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

    ::SelectObject(hCloneDC, hOldBitmap);
}

namespace {

const wchar_t* SkipWhitespace(const wchar_t* p, const wchar_t* pEnd)
{
    while (p < pEnd && *p <= L' ') p++;
    return p;
}

// One key='value' pair of an image description; both ranges point into the text.
struct ImagePair
{
    const wchar_t* pKey;
    int cchKey;
    const wchar_t* pValue;
    int cchValue;
};

// Reads the pair at p (whitespace allowed around the key and the equals sign)
// and moves p past its closing quote. False when no whole pair stands there:
// a missing "=", opening or closing quote ends a description, keeping what
// came before it.
bool ReadImagePair(const wchar_t*& p, const wchar_t* pEnd, ImagePair& pair)
{
    const wchar_t* q = SkipWhitespace(p, pEnd);
    pair.pKey = q;
    while (q < pEnd && *q != L'=' && *q > L' ') q++;
    pair.cchKey = int(q - pair.pKey);
    q = SkipWhitespace(q, pEnd);
    if (q == pEnd || *q != L'=') return false;
    q = SkipWhitespace(q + 1, pEnd);
    if (q == pEnd || *q != L'\'') return false;
    pair.pValue = ++q;
    while (q < pEnd && *q != L'\'') q++;
    if (q == pEnd) return false;
    pair.cchValue = int(q - pair.pValue);
    p = q + 1;
    return true;
}

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
};

// "l,t,r,b": each number follows one separator character. A list that runs short leaves the
// rest 0 and never steps over the terminator.
RECT ParseRect(const wchar_t* p)
{
    LONG aValues[4] = {};
    for (int i = 0; i < 4 && *p != L'\0'; i++) {
        wchar_t* pEnd = NULL;
        aValues[i] = ::wcstol(p, &pEnd, 10);
        p = *pEnd != L'\0' ? pEnd + 1 : pEnd;
    }
    return RECT{ aValues[0], aValues[1], aValues[2], aValues[3] };
}

void DrawPendingImage(ImageDescription& desc)
{
    const wchar_t* pstrName = desc.bNamed ? desc.sName.GetData() : desc.pstrBareName;
    if (*pstrName == L'\0') return;
    const tagTImageInfo* pImage =
        desc.pManager->GetImageEx(pstrName, desc.sResType.IsEmpty() ? NULL : desc.sResType.GetData(), desc.dwMask);
    if (pImage == NULL) {
        desc.bAllFound = false;
        return;
    }
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
        return;
    CRenderEngine::DrawImage(desc.hDC, pImage->hDibBitmap, desc.rcDest, desc.rcPaint, rcSource, desc.rcCorner,
                             pImage->bHasAlpha, desc.uFade, desc.bHole, desc.bTiledX, desc.bTiledY);
}

// A "file" or "restype" after an image of this string first draws the image named so far. Before any
// name came, nothing is pending: the whole description is no image name once it holds pairs.
void DrawPendingBeforeNext(ImageDescription& desc, int nImages)
{
    if (nImages > 0 && desc.bNamed) DrawPendingImage(desc);
}

bool KeyIs(const wchar_t* pstrKey, size_t cchKey, const wchar_t* pstrName)
{
    return ::wcslen(pstrName) == cchKey && ::wcsncmp(pstrKey, pstrName, cchKey) == 0;
}

void ApplyPair(ImageDescription& desc, const wchar_t* pstrKey, size_t cchKey, const CSkinString& sValue, int& nImages)
{
    const bool bFile = KeyIs(pstrKey, cchKey, L"file");
    if (bFile || KeyIs(pstrKey, cchKey, L"res")) {
        DrawPendingBeforeNext(desc, nImages);
        desc.sName = sValue;
        desc.bNamed = true;
        if (bFile) nImages++;
    } else if (KeyIs(pstrKey, cchKey, L"restype")) {
        DrawPendingBeforeNext(desc, nImages);
        desc.sResType = sValue;
        nImages++;
    } else if (KeyIs(pstrKey, cchKey, L"dest")) {
        const RECT rc = ParseRect(sValue);
        desc.rcDest.left = desc.rcItem.left + rc.left;
        desc.rcDest.top = desc.rcItem.top + rc.top;
        desc.rcDest.right = std::min(desc.rcItem.left + rc.right, desc.rcItem.right);
        desc.rcDest.bottom = std::min(desc.rcItem.top + rc.bottom, desc.rcItem.bottom);
    } else if (KeyIs(pstrKey, cchKey, L"source")) {
        desc.rcSource = ParseRect(sValue);
    } else if (KeyIs(pstrKey, cchKey, L"corner")) {
        desc.rcCorner = ParseRect(sValue);
    } else if (KeyIs(pstrKey, cchKey, L"mask")) {
        const wchar_t* p = sValue;
        if (*p == L'#') p++;
        desc.dwMask = ::wcstoul(p, NULL, 16);
    } else if (KeyIs(pstrKey, cchKey, L"fade")) {
        desc.uFade = BYTE(::wcstol(sValue, NULL, 10));
    } else if (KeyIs(pstrKey, cchKey, L"hole")) {
        desc.bHole = sValue == L"true";
    } else if (KeyIs(pstrKey, cchKey, L"xtiled")) {
        desc.bTiledX = sValue == L"true";
    } else if (KeyIs(pstrKey, cchKey, L"ytiled")) {
        desc.bTiledY = sValue == L"true";
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
    DrawPendingImage(desc);
    return desc.bAllFound;
}

// ---------------------------------------------------------------------------
// Colours, gradients, shapes and single-style text

namespace {

typedef BOOL(WINAPI* PFNGRADIENTFILL)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

PFNGRADIENTFILL FindGradientFill()
{
    static PFNGRADIENTFILL s_pfnGradientFill = NULL;
    return FindInMsimg32(s_pfnGradientFill, "GradientFill");
}

void FillOpaque(HDC hDC, const RECT& rc, DWORD dwColor)
{
    ::SetBkColor(hDC, ToColorRef(dwColor));
    ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
}

// Solid bands for a process without GradientFill: 2^k of them, the second
// colour at the bottom (right) edge.
void FillBands(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    const int nShift = nSteps >= 64 ? 6 : nSteps >= 32 ? 5 : nSteps >= 16 ? 4 : nSteps >= 8 ? 3 : nSteps >= 4 ? 2 : 1;
    const int nBands = 1 << nShift;
    const int nLength = bVertical ? rc.bottom - rc.top : rc.right - rc.left;
    for (int i = 0; i < nBands; i++) {
        const int nNear = (nLength * i) >> nShift;
        const int nFar = (nLength * (i + 1)) >> nShift;
        if (nFar == nNear) continue;
        RECT rcBand = bVertical ? RECT{rc.left, rc.bottom - nFar, rc.right, rc.bottom - nNear}
                                : RECT{rc.right - nFar, rc.top, rc.right - nNear, rc.bottom};
        // Weights i/n and (n-i)/n are exact in binary, so this is the integer
        // (first*i + second*(n-i)) >> k per channel.
        const double x = static_cast<double>(i) / nBands;
        FillOpaque(hDC, rcBand, CRenderEngine::MixColor(dwFirst, x, dwSecond, 1.0 - x));
    }
}

void FillGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    PFNGRADIENTFILL pfnGradientFill = FindGradientFill();
    if (pfnGradientFill == NULL) {
        FillBands(hDC, rc, dwFirst, dwSecond, bVertical, nSteps);
        return;
    }
    TRIVERTEX aVertices[2] = {
        {rc.left, rc.top, static_cast<COLOR16>(Channel(dwFirst, 16) << 8), static_cast<COLOR16>(Channel(dwFirst, 8) << 8),
         static_cast<COLOR16>(Channel(dwFirst, 0) << 8), 0xFF00},
        {rc.right, rc.bottom, static_cast<COLOR16>(Channel(dwSecond, 16) << 8),
         static_cast<COLOR16>(Channel(dwSecond, 8) << 8), static_cast<COLOR16>(Channel(dwSecond, 0) << 8), 0xFF00},
    };
    GRADIENT_RECT gradientRect = {0, 1};
    pfnGradientFill(hDC, aVertices, 2, &gradientRect, 1, bVertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

BYTE ToByte(float f)
{
    if (!(f > 0.0f)) return 0;
    if (f >= 255.0f) return 255;
    return static_cast<BYTE>(f);
}

// The colour bytes as c0 (lowest), c1, c2, each scaled to 0..1.
void RgbToHsl(DWORD dwColor, float* pHue, float* pSat, float* pLight)
{
    const float c0 = Channel(dwColor, 0) / 255.0f;
    const float c1 = Channel(dwColor, 8) / 255.0f;
    const float c2 = Channel(dwColor, 16) / 255.0f;
    const float m = c0 < c1 ? (c0 < c2 ? c0 : c2) : (c1 < c2 ? c1 : c2);
    const float M = c0 > c1 ? (c0 > c2 ? c0 : c2) : (c1 > c2 ? c1 : c2);
    *pLight = (m + M) / 2.0f;
    if (M == m) {
        *pHue = *pSat = 0.0f;
        return;
    }
    float f, i;
    if (c0 == m) f = c1 - c2, i = 3.0f;
    else if (c1 == m) f = c2 - c0, i = 5.0f;
    else f = c0 - c1, i = 1.0f;
    float h = i - f / (M - m);
    if (h >= 6.0f) h -= 6.0f;
    *pHue = h * 60.0f;
    *pSat = 2.0f * *pLight <= 1.0f ? (M - m) / (M + m) : (M - m) / (2.0f - M - m);
}

BYTE HueToChannel(float p, float q, float t)
{
    if (t < 0.0f) t += 1.0f;
    else if (t > 1.0f) t -= 1.0f;
    float v = p;
    if (6.0f * t < 1.0f) v = p + (q - p) * 6.0f * t;
    else if (2.0f * t < 1.0f) v = q;
    else if (3.0f * t < 2.0f) v = p + (q - p) * 6.0f * (2.0f / 3.0f - t);
    return ToByte(v * 255.0f);
}

DWORD HslToRgb(float fHue, float fSat, float fLight)
{
    const float q = 2.0f * fLight < 1.0f ? fLight * (1.0f + fSat) : fLight + fSat - fLight * fSat;
    const float p = 2.0f * fLight - q;
    const float t = fHue / 360.0f;
    return HueToChannel(p, q, t + 1.0f / 3.0f) | (HueToChannel(p, q, t) << 8) |
           (HueToChannel(p, q, t - 1.0f / 3.0f) << 16);
}

BYTE MixChannel(DWORD a, double x, DWORD b, double y, int nShift)
{
    const double v = x * Channel(a, nShift) + y * Channel(b, nShift);
    // Clamped rather than wrapped: weights summing above 1 must saturate, not
    // turn a bright channel dark.
    if (!(v > 0.0)) return 0;
    if (v >= 255.0) return 255;
    return static_cast<BYTE>(v);
}

// Selects a pen and the null brush around one GDI shape call.
template <typename Shape>
void DrawWithPen(HDC hDC, int nStyle, int nSize, DWORD dwColor, Shape shape)
{
    LOGPEN lp = {static_cast<UINT>(nStyle), {nSize, 0}, ToColorRef(dwColor)};
    HPEN hPen = ::CreatePenIndirect(&lp);
    if (hPen == NULL) return;
    HGDIOBJ hOldPen = ::SelectObject(hDC, hPen);
    HGDIOBJ hOldBrush = ::SelectObject(hDC, ::GetStockObject(NULL_BRUSH));
    shape();
    ::SelectObject(hDC, hOldBrush);
    ::SelectObject(hDC, hOldPen);
    ::DeleteObject(hPen);
}

} // namespace

DWORD CRenderEngine::AdjustColor(DWORD dwColor, short H, short S, short L)
{
    if (H == 180 && S == 100 && L == 100) return dwColor;
    float fHue, fSat, fLight;
    RgbToHsl(dwColor, &fHue, &fSat, &fLight);
    fHue += static_cast<float>(H - 180);
    if (fHue <= 0.0f) fHue += 360.0f;
    fSat *= S / 100.0f;
    fLight *= L / 100.0f;
    return (dwColor & 0xFF000000) | HslToRgb(fHue, fSat, fLight);
}

DWORD CRenderEngine::MixColor(DWORD a, double x, DWORD b, double y)
{
    return (static_cast<DWORD>(MixChannel(a, x, b, y, 16)) << 16) | (MixChannel(a, x, b, y, 8) << 8) |
           MixChannel(a, x, b, y, 0);
}

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color)
{
    const DWORD dwAlpha = color >> 24;
    if (dwAlpha == 0) return;
    if (dwAlpha == 0xFF) {
        FillOpaque(hDC, rc, color);
        return;
    }
    DWORD* pPixel = NULL;
    HBITMAP hBitmap = CreateDib32(1, 1, &pPixel);
    if (hBitmap == NULL) return;
    // Premultiplied like every skin bitmap: the blend adds the source colour
    // whole, so a raw colour would come out too bright (or wrap).
    auto premultiplied = [&](int nShift) { return Channel(color, nShift) * dwAlpha / 255 << nShift; };
    *pPixel = (dwAlpha << 24) | premultiplied(16) | premultiplied(8) | premultiplied(0);
    DrawImage(hDC, hBitmap, rc, rc, RECT{0, 0, 1, 1}, RECT{0, 0, 0, 0}, true, 255);
    ::DeleteObject(hBitmap);
}

void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    const BYTE bAlpha = static_cast<BYTE>(((dwFirst >> 24) + (dwSecond >> 24)) / 2);
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    if (bAlpha == 0 || cx <= 0 || cy <= 0) return;
    if (bAlpha == 255) {
        FillGradient(hDC, rc, dwFirst, dwSecond, bVertical, nSteps);
        return;
    }
    DWORD* pBits = NULL;
    HBITMAP hBitmap = CreateDib32(cx, cy, &pBits);
    HDC hMemDC = ::CreateCompatibleDC(hDC);
    if (hBitmap != NULL && hMemDC != NULL) {
        HGDIOBJ hOldBitmap = ::SelectObject(hMemDC, hBitmap);
        FillGradient(hMemDC, RECT{0, 0, cx, cy}, dwFirst, dwSecond, bVertical, nSteps);
        ::GdiFlush();
        // GDI's fills leave the alpha byte undefined and the blend reads it:
        // the gradient itself is opaque, its transparency is the constant alpha.
        for (DWORD* p = pBits; p != pBits + static_cast<size_t>(cx) * cy; ++p) *p |= 0xFF000000;
        BlendPart(hDC, rc.left, rc.top, cx, cy, hMemDC, 0, 0, cx, cy, bAlpha);
        ::SelectObject(hMemDC, hOldBitmap);
    }
    if (hMemDC != NULL) ::DeleteDC(hMemDC);
    if (hBitmap != NULL) ::DeleteObject(hBitmap);
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle)
{
    DrawWithPen(hDC, nStyle, nSize, dwPenColor, [&] {
        ::MoveToEx(hDC, rc.left, rc.top, NULL);
        ::LineTo(hDC, rc.right, rc.bottom);
    });
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor)
{
    DrawWithPen(hDC, PS_INSIDEFRAME, nSize, dwPenColor,
                [&] { ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom); });
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height, DWORD dwPenColor)
{
    DrawWithPen(hDC, PS_INSIDEFRAME, nSize, dwPenColor,
                [&] { ::RoundRect(hDC, rc.left, rc.top, rc.right, rc.bottom, width, height); });
}

void CRenderEngine::DrawTextW(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const wchar_t* pstrText,
                              DWORD dwTextColor, int iFont, UINT uStyle)
{
    if (pstrText == NULL || pManager == NULL) return;
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ToColorRef(dwTextColor));
    HGDIOBJ hOldFont = ::SelectObject(hDC, pManager->GetFont(iFont));
    ::DrawTextW(hDC, pstrText, -1, &rc, uStyle | DT_NOPREFIX);
    ::SelectObject(hDC, hOldFont);
}

HBITMAP CRenderEngine::GenerateBitmap(CPaintManagerUI* pManager, CControlUI* pControl, RECT rc)
{
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    if (pManager == NULL || pControl == NULL || cx <= 0 || cy <= 0) return NULL;

    HDC hPaintDC = ::CreateCompatibleDC(pManager->GetPaintDC());
    HBITMAP hPaintBitmap = ::CreateCompatibleBitmap(pManager->GetPaintDC(), rc.right, rc.bottom);
    HDC hCloneDC = ::CreateCompatibleDC(pManager->GetPaintDC());
    DWORD* pBits = NULL;
    HBITMAP hBitmap = CreateDib32(cx, cy, &pBits, true);
    if (hPaintDC != NULL && hPaintBitmap != NULL && hCloneDC != NULL && hBitmap != NULL) {
        HGDIOBJ hOldPaintBitmap = ::SelectObject(hPaintDC, hPaintBitmap);
        pControl->DoPaint(hPaintDC, rc);
        HGDIOBJ hOldBitmap = ::SelectObject(hCloneDC, hBitmap);
        ::BitBlt(hCloneDC, 0, 0, cx, cy, hPaintDC, rc.left, rc.top, SRCCOPY);
        ::SelectObject(hCloneDC, hOldBitmap);
        ::SelectObject(hPaintDC, hOldPaintBitmap);
    } else if (hBitmap != NULL) {
        ::DeleteObject(hBitmap);
        hBitmap = NULL;
    }
    if (hCloneDC != NULL) ::DeleteDC(hCloneDC);
    if (hPaintBitmap != NULL) ::DeleteObject(hPaintBitmap);
    if (hPaintDC != NULL) ::DeleteDC(hPaintDC);
    return hBitmap;
}

SIZE CRenderEngine::GetTextSize(HDC hDC, CPaintManagerUI* pManager, const wchar_t* pstrText, int iFont, UINT uStyle)
{
    SIZE size = {0, 0};
    if (pstrText == NULL || pManager == NULL) return size;
    HGDIOBJ hOldFont = ::SelectObject(hDC, pManager->GetFont(iFont));
    ::GetTextExtentPoint32W(hDC, pstrText, static_cast<int>(wcslen(pstrText)), &size);
    ::SelectObject(hDC, hOldFont);
    return size;
}

// ---------------------------------------------------------------------------
// Mark-up text: words wrapped into a rectangle with inline tags for fonts,
// colours, links, images and spacing, drawn or measured with GDI.
//
// Each line is walked twice when drawing: a measuring pass finds where the
// line ends and how tall it is, then the state saved at the line's start is
// put back and a drawing pass places every piece on the line's bottom.

namespace {

// Characters measured per call once a run reaches the right edge.
const int kFitChunk = 64;

bool IsOpener(wchar_t ch) { return ch == L'<' || ch == L'{'; }
bool IsCloser(wchar_t ch) { return ch == L'>' || ch == L'}'; }
bool IsTagLetter(wchar_t ch) { return ch >= L'a' && ch <= L'z'; }
bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }
bool IsSpace(wchar_t ch) { return ch > 0 && ch <= L' '; }
bool IsAsciiLetter(wchar_t ch) { return IsTagLetter(ch) || (ch >= L'A' && ch <= L'Z'); }
wchar_t LowerAscii(wchar_t ch) { return ch >= L'A' && ch <= L'Z' ? wchar_t(ch + (L'a' - L'A')) : ch; }

// "<{>" and "<}>" stand for braces, "{<}" and "{>}" for angle brackets; the
// character meant is the middle one.
bool IsEscape(const wchar_t* p)
{
    if (p[0] == L'<') return (p[1] == L'{' || p[1] == L'}') && p[2] == L'>';
    return p[0] == L'{' && (p[1] == L'<' || p[1] == L'>') && p[2] == L'}';
}

bool IsRawEnd(const wchar_t* p)
{
    return (p[0] == L'<' && p[1] == L'/' && p[2] == L'r' && p[3] == L'>') ||
           (p[0] == L'{' && p[1] == L'/' && p[2] == L'r' && p[3] == L'}');
}

// A tag's closer, or the terminator when the tag is never closed.
const wchar_t* FindTagEnd(const wchar_t* p)
{
    while (*p != L'\0' && !IsCloser(*p)) p++;
    return p;
}

const wchar_t* SkipSpace(const wchar_t* p, const wchar_t* pEnd)
{
    while (p < pEnd && IsSpace(*p)) p++;
    return p;
}

const wchar_t* SkipWord(const wchar_t* p, const wchar_t* pEnd)
{
    while (p < pEnd && !IsSpace(*p)) p++;
    return p;
}

// A decimal number, or nDefault when there is none. The number cannot run
// past pEnd: a closer or the terminator stands there.
int ReadDecimal(const wchar_t*& p, const wchar_t* pEnd, int nDefault)
{
    p = SkipSpace(p, pEnd);
    wchar_t* pNext = NULL;
    const long n = ::wcstol(p, &pNext, 10);
    if (pNext == p) return nDefault;
    p = pNext;
    return int(n);
}

// Whether [p, pEnd) holds pstrWord (lower case); bNoCase lowers the text first.
bool RangeHas(const wchar_t* p, const wchar_t* pEnd, const wchar_t* pstrWord, bool bNoCase)
{
    const ptrdiff_t cch = ptrdiff_t(::wcslen(pstrWord));
    for (; pEnd - p >= cch; p++) {
        ptrdiff_t i = 0;
        while (i < cch && (bNoCase ? LowerAscii(p[i]) : p[i]) == pstrWord[i]) i++;
        if (i == cch) return true;
    }
    return false;
}

// The image and resource type an image tag names in description form: its
// "file" or "res" and "restype" pairs. p stops before the first thing that
// is not a pair.
void ReadImagePairs(const wchar_t*& p, const wchar_t* pEnd, CSkinString& sName, CSkinString& sType)
{
    ImagePair pair;
    while (ReadImagePair(p, pEnd, pair)) {
        const size_t cchKey = size_t(pair.cchKey);
        if (KeyIs(pair.pKey, cchKey, L"file") || KeyIs(pair.pKey, cchKey, L"res")) {
            sName.Assign(pair.pValue, pair.cchValue);
        }
        else if (KeyIs(pair.pKey, cchKey, L"restype")) {
            sType.Assign(pair.pValue, pair.cchValue);
        }
    }
}

// The length up to and including the last character a line may break after:
// anything that is not an ASCII letter.
int LastBreak(const wchar_t* pText, int cch)
{
    while (cch > 0 && IsAsciiLetter(pText[cch - 1])) cch--;
    return cch;
}

// How many of the cch characters fit into cxAvail, and their width in cxFit.
int FitText(HDC hDC, const TEXTMETRICW& tm, const wchar_t* pText, int cch, int cxAvail, int& cxFit)
{
    // The widest character bounds the run from above, so far from the edge a
    // single measure gives its width. Linked fonts may still be wider.
    SIZE sz = {};
    if (static_cast<long long>(cch) * tm.tmMaxCharWidth < cxAvail && ::GetTextExtentPoint32W(hDC, pText, cch, &sz) &&
        sz.cx <= cxAvail) {
        cxFit = sz.cx;
        return cch;
    }
    // Near the edge, in chunks, so that a long paragraph is not measured to
    // its end for every line.
    int aExtents[kFitChunk];
    int nFit = 0;
    cxFit = 0;
    while (nFit < cch) {
        const int nChunk = cch - nFit < kFitChunk ? cch - nFit : kFitChunk;
        int nChunkFit = 0;
        if (!::GetTextExtentExPointW(hDC, pText + nFit, nChunk, cxAvail - cxFit, &nChunkFit, aExtents, &sz)) break;
        if (nChunkFit > 0) cxFit += aExtents[nChunkFit - 1];
        nFit += nChunkFit;
        if (nChunkFit < nChunk) break;
    }
    return nFit;
}

// What tags change, with the point. Saved at the start of a line and put back
// before the line is drawn.
struct HtmlCursor
{
    std::vector<tagTFontInfo*> aFonts;  // borrowed from the manager; the top is the current font
    std::vector<DWORD> aColors;         // the top is the current text colour
    std::vector<int> aSpacings;         // paragraph spacings; the top is added to each line
    POINT pt = {};
    POINT ptLinkStart = {};
    int iLink = 0;                      // the next link slot
    bool bInLink = false;
    bool bInRaw = false;
    bool bInSelected = false;
};

struct HtmlState
{
    HDC hDC;
    CPaintManagerUI* pManager;
    RECT rc;
    UINT uStyle;
    DWORD dwTextColor;
    tagTFontInfo* pDefaultFont;
    RECT* pLinks;
    CSkinString* sLinks;
    int nLinkCapacity;
    bool bHoverFound = false;
    CSkinString sHoverLink;  // a copy: this call rewrites the slots it came from

    const wchar_t* p;
    HtmlCursor cur;
    bool bMeasurePass = true;
    bool bLineEnd = false;
    // The line so far ends where it may break: after a space, a non-letter or
    // an image. A word that follows it and doesn't fit goes to the next line whole.
    bool bAfterBreak = false;
    TEXTMETRICW tm = {};     // of the current font
    int cxSpace = -1;        // of the current font; -1 until a space needs it
    int cyLine = 0;
    int iLineFirstLink = 0;
    int cxMax = 0;           // the widest x reached
    int cyBottom = 0;        // the bottom of the last line
    int cyImageBottom = 0;
};

tagTFontInfo* CurrentFont(const HtmlState& st)
{
    return st.cur.aFonts.empty() ? st.pDefaultFont : st.cur.aFonts.back();
}

int FontLineHeight(const HtmlState& st)
{
    const int cySpacing = st.cur.aSpacings.empty() ? 0 : st.cur.aSpacings.back();
    return st.tm.tmHeight + st.tm.tmExternalLeading + cySpacing;
}

// The top at which text of the current font sits on the line's bottom.
int TextTop(const HtmlState& st)
{
    return st.cur.pt.y + st.cyLine - st.tm.tmHeight - st.tm.tmExternalLeading;
}

// The measuring pass decides a line's height; the drawing pass keeps it.
void RaiseLine(HtmlState& st, int cy)
{
    if (st.bMeasurePass && cy > st.cyLine) st.cyLine = cy;
}

void SelectCurrentFont(HtmlState& st)
{
    const tagTFontInfo* pFont = CurrentFont(st);
    ::SelectObject(st.hDC, pFont->hGdiFont);
    st.tm = pFont->tmMetrics;
    st.cxSpace = -1;
}

void SelectCurrentColor(const HtmlState& st)
{
    ::SetTextColor(st.hDC, ToColorRef(st.cur.aColors.empty() ? st.dwTextColor : st.cur.aColors.back()));
}

void SelectBackground(const HtmlState& st)
{
    ::SetBkMode(st.hDC, st.cur.bInSelected ? OPAQUE : TRANSPARENT);
}

void PushFont(HtmlState& st, tagTFontInfo* pFont)
{
    st.cur.aFonts.push_back(pFont);
    SelectCurrentFont(st);
    RaiseLine(st, FontLineHeight(st));
}

void PopFont(HtmlState& st)
{
    if (st.cur.aFonts.empty()) return;
    const bool bWasItalic = st.cur.aFonts.back()->bIsItalic;
    st.cur.aFonts.pop_back();
    if (bWasItalic && !CurrentFont(st)->bIsItalic) {
        // Italic leans past its last advance; the upright text after it keeps clear.
        ABC abc = {};
        if (::GetCharABCWidthsW(st.hDC, L' ', L' ', &abc)) st.cur.pt.x += abc.abcC / 2;
    }
    SelectCurrentFont(st);
}

void PushColor(HtmlState& st, DWORD dwColor)
{
    st.cur.aColors.push_back(dwColor);
    SelectCurrentColor(st);
}

void PopColor(HtmlState& st)
{
    if (!st.cur.aColors.empty()) st.cur.aColors.pop_back();
    SelectCurrentColor(st);
}

// A font from the manager's cache, added to it on first use.
tagTFontInfo* CachedFont(CPaintManagerUI* pManager, const wchar_t* pstrFace, int nSize, bool bBold, bool bUnderline,
                         bool bItalic)
{
    HFONT hFont = pManager->GetFont(pstrFace, nSize, bBold, bUnderline, bItalic);
    if (hFont == NULL) hFont = pManager->AddFont(pstrFace, nSize, bBold, bUnderline, bItalic);
    return hFont != NULL ? pManager->GetFontInfo(hFont) : NULL;
}

// Pushes the current font with one style more. A font that has the style
// already, or whose version cannot be made, is pushed again as it is, so that
// the closing tag pops this entry and not an outer tag's.
void PushStyledFont(HtmlState& st, bool bBold, bool bUnderline, bool bItalic)
{
    tagTFontInfo* pFont = CurrentFont(st);
    bBold |= pFont->bIsBold;
    bUnderline |= pFont->bIsUnderline;
    bItalic |= pFont->bIsItalic;
    if (bBold != pFont->bIsBold || bUnderline != pFont->bIsUnderline || bItalic != pFont->bIsItalic) {
        tagTFontInfo* pStyled = CachedFont(st.pManager, pFont->sFaceName, pFont->nPixelSize, bBold, bUnderline, bItalic);
        if (pStyled != NULL) pFont = pStyled;
    }
    PushFont(st, pFont);
}

// An "f" tag's font: an index into the manager's fonts, or a face with an
// optional size and style words.
tagTFontInfo* TagFont(HtmlState& st, const wchar_t* pArg, const wchar_t* pEnd)
{
    if (pArg == pEnd) return CurrentFont(st);
    if (IsDigit(*pArg)) return st.pManager->GetFontInfo(ReadDecimal(pArg, pEnd, 0));
    wchar_t szFace[LF_FACESIZE] = {};
    const wchar_t* p = SkipWord(pArg, pEnd);
    ::wcsncpy(szFace, pArg, p - pArg < LF_FACESIZE - 1 ? size_t(p - pArg) : size_t(LF_FACESIZE - 1));
    const int nSize = ReadDecimal(p, pEnd, 10);
    tagTFontInfo* pFont = CachedFont(st.pManager, szFace, nSize, RangeHas(p, pEnd, L"bold", true),
                                     RangeHas(p, pEnd, L"underline", true), RangeHas(p, pEnd, L"italic", true));
    return pFont != NULL ? pFont : CurrentFont(st);
}

bool HasLinkSlot(const HtmlState& st)
{
    return st.cur.iLink < st.nLinkCapacity;
}

void OpenLink(HtmlState& st, const wchar_t* pText, int cchText)
{
    if (HasLinkSlot(st) && st.bMeasurePass) st.sLinks[st.cur.iLink].Assign(pText, cchText);
    // Links with equal texts light up together.
    const bool bHover = st.bHoverFound && HasLinkSlot(st) && st.sHoverLink.GetLength() == cchText &&
                        ::wcsncmp(st.sHoverLink, pText, size_t(cchText)) == 0;
    PushColor(st, bHover ? st.pManager->GetDefaultLinkHoverFontColor() : st.pManager->GetDefaultLinkFontColor());
    PushStyledFont(st, false, true, false);
    st.cur.bInLink = true;
    st.cur.ptLinkStart = st.cur.pt;
}

void CloseLink(HtmlState& st)
{
    // A closing tag without its link fills no slot.
    if (st.cur.bInLink && HasLinkSlot(st)) {
        if (st.bMeasurePass) {
            const POINT& ptStart = st.cur.ptLinkStart;
            st.pLinks[st.cur.iLink] = RECT{ptStart.x, ptStart.y, st.cur.pt.x,
                                           st.cur.pt.y + st.tm.tmHeight + st.tm.tmExternalLeading};
        }
        st.cur.iLink++;
    }
    st.cur.bInLink = false;
    PopColor(st);
    PopFont(st);
}

// A link still open at a line's end takes this line's part as a rectangle of
// its own and goes on in the next slot, under the same text.
void EndLineLinks(HtmlState& st)
{
    const LONG xRight = st.cur.pt.x < st.rc.right ? st.cur.pt.x : st.rc.right;
    // A link whose first word moved on to the next line has nothing here.
    if (st.cur.bInLink && HasLinkSlot(st) && xRight > st.cur.ptLinkStart.x) {
        const int i = st.cur.iLink++;
        if (st.bMeasurePass) {
            st.pLinks[i] = RECT{st.cur.ptLinkStart.x, st.cur.ptLinkStart.y, xRight, 0};
            if (HasLinkSlot(st)) st.sLinks[i + 1] = st.sLinks[i];
        }
    }
    if (!st.bMeasurePass) return;
    for (int i = st.iLineFirstLink; i < st.cur.iLink; i++) st.pLinks[i].bottom = st.cur.pt.y + st.cyLine;
}

void ToggleSelection(HtmlState& st)
{
    st.cur.bInSelected = !st.cur.bInSelected;
    SelectBackground(st);
}

// Ends the line unless the point is still at its left edge.
void BreakParagraph(HtmlState& st)
{
    if (st.cur.pt.x != st.rc.left) st.bLineEnd = true;
}

// Places as many leading characters of a text piece as fit on the line and
// returns how many it took; a piece that does not fit ends the line.
int PlaceText(HtmlState& st, const wchar_t* pText, int cch)
{
    POINT& pt = st.cur.pt;
    const RECT& rc = st.rc;
    int cx = 0;
    const int nFit = FitText(st.hDC, st.tm, pText, cch, rc.right - pt.x, cx);
    int nDraw = nFit;
    int nTaken = nFit;
    bool bEllipsis = false;
    if (nFit < cch) {
        st.bLineEnd = true;
        // A line holds at least one character, even one wider than the line,
        // or a narrow rectangle would never get through its text.
        const bool bLineStart = pt.x == rc.left;
        if (nDraw == 0 && bLineStart) nDraw = 1;
        const bool bWordBreak = (st.uStyle & DT_WORDBREAK) != 0;
        const int nBreak = bWordBreak ? LastBreak(pText, nFit) : 0;
        if (nBreak > 0) nDraw = nBreak;
        else if (bWordBreak && st.bAfterBreak) nDraw = 0;
        nTaken = nDraw;
        if ((st.uStyle & DT_END_ELLIPSIS) != 0 && nDraw > 0) {
            nDraw -= nDraw > 1 ? 2 : 1;
            bEllipsis = true;
            if (nDraw > 0 || !bLineStart) nTaken = nDraw;
        }
        if (nDraw != nFit) {
            SIZE sz = {};
            ::GetTextExtentPoint32W(st.hDC, pText, nDraw, &sz);
            cx = sz.cx;
        }
    }
    if (!st.bMeasurePass) {
        int x = pt.x;
        if ((st.uStyle & DT_SINGLELINE) == 0) {
            if ((st.uStyle & DT_CENTER) != 0) x += (rc.right - rc.left - cx) / 2;
            else if ((st.uStyle & DT_RIGHT) != 0) x += rc.right - rc.left - cx;
        }
        const int y = TextTop(st);
        ::TextOutW(st.hDC, x, y, pText, nDraw);
        if (bEllipsis) ::TextOutW(st.hDC, x + cx, y, L"...", 3);
    }
    pt.x = bEllipsis ? rc.right : pt.x + cx;
    if (nDraw > 0) st.bAfterBreak = !IsAsciiLetter(pText[nDraw - 1]);
    return nTaken;
}

void PlaceSpace(HtmlState& st)
{
    if (st.cxSpace < 0) {
        SIZE sz = {};
        ::GetTextExtentPoint32W(st.hDC, L" ", 1, &sz);
        st.cxSpace = sz.cx;
    }
    if (!st.bMeasurePass) ::TextOutW(st.hDC, st.cur.pt.x, TextTop(st), L" ", 1);
    st.cur.pt.x += st.cxSpace;
    st.bAfterBreak = true;
}

// A run of text ends at a line feed, the end, or the next tag opener; a raw
// run ends only at its closing tag, which is consumed with it.
void PlaceRun(HtmlState& st)
{
    const wchar_t* p = st.p;
    int cch = 0;
    if (st.cur.bInRaw) {
        while (p[cch] != L'\0' && p[cch] != L'\n' && !IsRawEnd(p + cch)) cch++;
    }
    else {
        if (IsOpener(p[0])) cch = 1;  // an opener that starts no tag is text
        while (p[cch] != L'\0' && p[cch] != L'\n' && !IsOpener(p[cch])) cch++;
    }
    const int nTaken = cch > 0 ? PlaceText(st, p, cch) : 0;
    st.p += nTaken;
    if (nTaken == cch && st.cur.bInRaw && IsRawEnd(st.p)) {
        st.p += 4;
        st.cur.bInRaw = false;
    }
}

// An inline image: one frame of a cached image. Returns false when it does
// not fit, so that its tag is read again at the start of the next line.
bool PlaceImage(HtmlState& st, const wchar_t* pArg, const wchar_t* pEnd)
{
    CSkinString sName, sType;
    const wchar_t* p = pArg;
    // Only this tag's own text decides its form: a later tag's pairs must not
    // turn a bare name into a description.
    if (RangeHas(pArg, pEnd, L"file='", false) || RangeHas(pArg, pEnd, L"res='", false)) {
        ReadImagePairs(p, pEnd, sName, sType);
    }
    else {
        p = SkipWord(pArg, pEnd);
        sName.Assign(pArg, int(p - pArg));
    }
    int nFrames = ReadDecimal(p, pEnd, 1);
    if (nFrames < 1) nFrames = 1;
    int iFrame = ReadDecimal(p, pEnd, 0);
    if (iFrame < 0 || iFrame >= nFrames) iFrame = 0;
    if (sName.IsEmpty()) return true;
    const tagTImageInfo* pImage = st.pManager->GetImageEx(sName, sType.IsEmpty() ? NULL : sType.GetData(), 0);
    if (pImage == NULL) return true;

    POINT& pt = st.cur.pt;
    const int cx = pImage->nWidth / nFrames;
    const int cy = pImage->nHeight;
    if (pt.x + cx > st.rc.right && pt.x != st.rc.left && (st.uStyle & DT_SINGLELINE) == 0) {
        st.bLineEnd = true;
        return false;
    }
    if (st.bMeasurePass) {
        RaiseLine(st, cy);
        if (pt.y + cy > st.cyImageBottom) st.cyImageBottom = pt.y + cy;
    }
    else {
        const int yTop = cy < st.cyLine ? pt.y + (st.cyLine - cy) / 2 : pt.y + st.cyLine - cy;
        const RECT rcDest = {pt.x, yTop, pt.x + cx, yTop + cy};
        const RECT rcFrame = {iFrame * cx, 0, (iFrame + 1) * cx, cy};
        const RECT rcNoCorners = {};
        CRenderEngine::DrawImage(st.hDC, pImage->hDibBitmap, rcDest, st.rc, rcFrame, rcNoCorners, pImage->bHasAlpha);
    }
    pt.x += cx;
    st.bAfterBreak = true;
    return true;
}

// An opening tag whose argument runs to pEnd. Returns false when the tag must
// be read again on the next line.
bool OpenTag(HtmlState& st, wchar_t chTag, const wchar_t* pArg, const wchar_t* pEnd)
{
    pArg = SkipSpace(pArg, pEnd);
    switch (chTag) {
    case L'a':
        OpenLink(st, pArg, int(pEnd - pArg));
        break;
    case L'b':
        PushStyledFont(st, true, false, false);
        break;
    case L'c':
        if (pArg < pEnd && *pArg == L'#') pArg++;
        PushColor(st, DWORD(::wcstoul(pArg, NULL, 16)));
        break;
    case L'f':
        PushFont(st, TagFont(st, pArg, pEnd));
        break;
    case L'i':
        if (pArg != pEnd) return PlaceImage(st, pArg, pEnd);
        PushStyledFont(st, false, false, true);
        break;
    case L'n':
        if ((st.uStyle & DT_SINGLELINE) == 0) st.bLineEnd = true;
        break;
    case L'p':
        BreakParagraph(st);
        st.cur.aSpacings.push_back(ReadDecimal(pArg, pEnd, 0));
        if (!st.bLineEnd) RaiseLine(st, FontLineHeight(st));
        break;
    case L'r':
        st.cur.bInRaw = true;
        break;
    case L's':
        ToggleSelection(st);
        break;
    case L'u':
        PushStyledFont(st, false, true, false);
        break;
    case L'x':
        st.cur.pt.x += ReadDecimal(pArg, pEnd, 0);
        break;
    case L'y':
        if (st.bMeasurePass) st.cyLine = ReadDecimal(pArg, pEnd, st.cyLine);
        break;
    default:
        break;
    }
    return true;
}

void CloseTag(HtmlState& st, wchar_t chTag)
{
    switch (chTag) {
    case L'a':
        CloseLink(st);
        break;
    case L'b':
    case L'f':
    case L'i':
    case L'u':
        PopFont(st);
        break;
    case L'c':
        PopColor(st);
        break;
    case L'p':
        BreakParagraph(st);
        if (!st.cur.aSpacings.empty()) st.cur.aSpacings.pop_back();
        break;
    case L's':
        ToggleSelection(st);
        break;
    default:
        break;
    }
}

const wchar_t* AfterTag(const wchar_t* pEnd)
{
    return *pEnd != L'\0' ? pEnd + 1 : pEnd;
}

// One piece of a line: a tag, an escape, a space or a run of text.
void Step(HtmlState& st)
{
    const wchar_t* p = st.p;
    if (!st.cur.bInRaw && IsOpener(p[0])) {
        if (IsEscape(p)) {
            if (PlaceText(st, p + 1, 1) == 1) st.p += 3;
            return;
        }
        if (IsTagLetter(p[1]) && (p[2] == L' ' || IsCloser(p[2]))) {
            const wchar_t* pEnd = FindTagEnd(p + 2);
            if (OpenTag(st, p[1], p + 2, pEnd)) st.p = AfterTag(pEnd);
            return;
        }
        if (p[1] == L'/' && IsTagLetter(p[2])) {
            CloseTag(st, p[2]);
            st.p = AfterTag(FindTagEnd(p + 3));
            return;
        }
    }
    if (p[0] == L' ') {
        PlaceSpace(st);
        st.p++;
        return;
    }
    PlaceRun(st);
}

void RunLine(HtmlState& st)
{
    st.bLineEnd = false;
    st.bAfterBreak = false;
    while (!st.bLineEnd && *st.p != L'\0' && *st.p != L'\n' && st.cur.pt.x < st.rc.right) {
        Step(st);
        if (st.cur.pt.x > st.cxMax) st.cxMax = st.cur.pt.x;
    }
}

// Moves rc onto the text's measured size for the alignments that need the
// whole text's size before the first line is drawn.
void AlignToText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const wchar_t* pstrText, DWORD dwTextColor,
                 UINT uStyle)
{
    RECT rcText = {0, 0, 9999, 100};
    int nLinks = 0;
    CRenderEngine::DrawHtmlText(hDC, pManager, rcText, pstrText, dwTextColor, NULL, NULL, nLinks,
                                uStyle | DT_CALCRECT);
    const LONG cx = rcText.right - rcText.left;
    const LONG cy = rcText.bottom - rcText.top;
    if ((uStyle & DT_SINGLELINE) != 0) {
        if ((uStyle & DT_CENTER) != 0) {
            rc.left += (rc.right - rc.left) / 2 - cx / 2;
            rc.right = rc.left + cx;
        }
        else if ((uStyle & DT_RIGHT) != 0) {
            rc.left = rc.right - cx;
        }
    }
    if ((uStyle & DT_VCENTER) != 0) {
        rc.top += (rc.bottom - rc.top) / 2 - cy / 2;
        rc.bottom = rc.top + cy;
    }
    else if ((uStyle & DT_BOTTOM) != 0) {
        rc.top = rc.bottom - cy;
    }
}

} // namespace

void CRenderEngine::DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const wchar_t* pstrText,
                                 DWORD dwTextColor, RECT* pLinks, CSkinString* sLinks, int& nLinkRects, UINT uStyle)
{
    const int nLinkCapacity = pLinks != NULL && sLinks != NULL && nLinkRects > 0 ? nLinkRects : 0;
    nLinkRects = 0;
    if (hDC == NULL || pManager == NULL || pstrText == NULL || ::IsRectEmpty(&rc)) return;

    const bool bMeasureOnly = (uStyle & DT_CALCRECT) != 0;
    CRenderClip clip;
    if (!bMeasureOnly) CRenderClip::GenerateClip(hDC, rc, clip);
    tagTFontInfo* pDefaultFont = pManager->GetDefaultFontInfo();
    const HGDIOBJ hOldFont = ::SelectObject(hDC, pDefaultFont->hGdiFont);
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ToColorRef(dwTextColor));
    ::SetBkColor(hDC, ToColorRef(pManager->GetDefaultSelectedBkColor()));
    if (!bMeasureOnly && (uStyle & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) != 0) {
        AlignToText(hDC, pManager, rc, pstrText, dwTextColor, uStyle);
    }

    HtmlState st;
    st.hDC = hDC;
    st.pManager = pManager;
    st.rc = rc;
    st.uStyle = uStyle;
    st.dwTextColor = dwTextColor;
    st.pDefaultFont = pDefaultFont;
    st.pLinks = pLinks;
    st.sLinks = sLinks;
    st.nLinkCapacity = nLinkCapacity;
    st.p = pstrText;
    const POINT ptMouse = pManager->GetMousePos();
    for (int i = 0; i < nLinkCapacity && !st.bHoverFound; i++) {
        if (::PtInRect(&pLinks[i], ptMouse)) {
            st.bHoverFound = true;
            st.sHoverLink = sLinks[i];
        }
    }
    st.cur.pt = st.cur.ptLinkStart = POINT{rc.left, rc.top};
    st.cxMax = rc.left;
    SelectCurrentFont(st);
    st.cyLine = FontLineHeight(st);

    HtmlCursor lineStart;
    for (;;) {
        const wchar_t* pLineStart = st.p;
        st.iLineFirstLink = st.cur.iLink;
        if (!bMeasureOnly) lineStart = st.cur;
        st.bMeasurePass = true;
        RunLine(st);
        EndLineLinks(st);
        if (!bMeasureOnly) {
            st.cur = lineStart;
            st.p = pLineStart;
            SelectCurrentFont(st);
            SelectCurrentColor(st);
            SelectBackground(st);
            st.bMeasurePass = false;
            RunLine(st);
            EndLineLinks(st);
        }
        if (*st.p == L'\n') st.p++;
        st.cyBottom = st.cur.pt.y + st.cyLine;
        if ((uStyle & DT_SINGLELINE) != 0) break;
        st.cur.pt = st.cur.ptLinkStart = POINT{rc.left, st.cyBottom};
        if (*st.p == L'\0' || (!bMeasureOnly && st.cur.pt.y >= rc.bottom)) break;
        st.cyLine = FontLineHeight(st);
    }

    nLinkRects = st.cur.iLink;
    if (bMeasureOnly) {
        rc.bottom = st.cyBottom > st.cyImageBottom ? st.cyBottom : st.cyImageBottom;
        if (st.cxMax < rc.right) rc.right = st.cxMax;
    }
    ::SelectObject(hDC, hOldFont);
}

} // namespace SkinLib
