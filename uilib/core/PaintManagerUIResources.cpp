// CPaintManagerUI, resources of one window (searched along the parent-resource chain):
//   default colours
//   default and custom fonts, measured on demand
//   the image cache
//   default attribute lists by control class
#include "core/PaintManagerUI.h"

#include <wchar.h>

#include <new>

#include "controls/ControlUI.h"
#include "core/GdiScope.h"
#include "core/RenderEngine.h"

namespace SkinLib {

// ---------------------------------------------------------------------------
// Fonts, images and default attribute lists

namespace {

bool IsDigit(wchar_t ch)
{
    return ch >= L'0' && ch <= L'9';
}

// A name such as "12" or "12abc" names resource 12 of a type. Numbers that a
// resource id can't hold (0 and above 65535) name no resource, rather than a
// different one after truncation.
UINT ResourceIdFromName(const wchar_t* pstrName)
{
    UINT uId = 0;
    for (const wchar_t* p = pstrName; IsDigit(*p); p++) {
        uId = uId * 10 + static_cast<UINT>(*p - L'0');
        if (uId > 0xFFFF) return 0;
    }
    return uId;
}

tagTImageInfo* LoadNamedImage(const wchar_t* pstrName, const wchar_t* pstrType, DWORD dwMask)
{
    if (pstrType == NULL || pstrType[0] == L'\0') return CRenderEngine::LoadImageW(pstrName, NULL, dwMask);
    UINT uId = ResourceIdFromName(pstrName);
    if (uId == 0) return NULL;
    return CRenderEngine::LoadImageW(STRINGorID(uId), pstrType, dwMask);
}

// Unnamed details (quality, pitch) come from the stock GUI font, so custom
// fonts look like the system's own.
HFONT MakeFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &lf);
    wcsncpy(lf.lfFaceName, pStrFontName != NULL ? pStrFontName : L"", LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -nSize;
    if (bBold) lf.lfWeight += FW_BOLD;
    if (bUnderline) lf.lfUnderline = TRUE;
    if (bItalic) lf.lfItalic = TRUE;
    return ::CreateFontIndirectW(&lf);
}

// A manager without a window still has to answer with real metrics, or text
// laid out through it would have no height; the screen measures the same.
void MeasureFont(HDC hDcPaint, tagTFontInfo* pFontInfo)
{
    if (hDcPaint != NULL) {
        CSelectScope font(hDcPaint, pFontInfo->hGdiFont);
        ::GetTextMetricsW(hDcPaint, &pFontInfo->tmMetrics);
        return;
    }
    CMemoryDC screenDC(NULL);
    if (screenDC == NULL) return;
    CSelectScope font(screenDC, pFontInfo->hGdiFont);
    ::GetTextMetricsW(screenDC, &pFontInfo->tmMetrics);
}

// What the record says of the font it holds; the metrics are measured later.
void DescribeFont(tagTFontInfo* pFontInfo, HFONT hFont, const wchar_t* pStrFontName, int nSize, bool bBold,
                  bool bUnderline, bool bItalic)
{
    pFontInfo->hGdiFont = hFont;
    pFontInfo->sFaceName = pStrFontName != NULL ? pStrFontName : L"";
    pFontInfo->nPixelSize = nSize;
    pFontInfo->bIsBold = bBold;
    pFontInfo->bIsUnderline = bUnderline;
    pFontInfo->bIsItalic = bItalic;
    pFontInfo->tmMetrics = TEXTMETRICW();
}

void MeasureIfNeeded(HDC hDcPaint, tagTFontInfo* pFontInfo)
{
    if (pFontInfo->tmMetrics.tmHeight == 0) MeasureFont(hDcPaint, pFontInfo);
}

bool FontMatches(const tagTFontInfo* pFontInfo, const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline,
                 bool bItalic)
{
    return pFontInfo->sFaceName == (pStrFontName != NULL ? pStrFontName : L"") && pFontInfo->nPixelSize == nSize &&
           pFontInfo->bIsBold == bBold && pFontInfo->bIsUnderline == bUnderline && pFontInfo->bIsItalic == bItalic;
}

void DeleteFontInfo(tagTFontInfo* pFontInfo)
{
    ::DeleteObject(pFontInfo->hGdiFont);
    delete pFontInfo;
}

} // namespace

const CPaintManagerUI* CPaintManagerUI::TopResourceManager() const
{
    const CPaintManagerUI* pManager = this;
    while (pManager->m_pParentResourcePM != NULL) pManager = pManager->m_pParentResourcePM;
    return pManager;
}

DWORD CPaintManagerUI::GetDefaultDisabledColor() const { return TopResourceManager()->m_dwDefaultDisabledColor; }
void CPaintManagerUI::SetDefaultDisabledColor(DWORD dwColor) { m_dwDefaultDisabledColor = dwColor; }
DWORD CPaintManagerUI::GetDefaultFontColor() const { return TopResourceManager()->m_dwDefaultFontColor; }
void CPaintManagerUI::SetDefaultFontColor(DWORD dwColor) { m_dwDefaultFontColor = dwColor; }
DWORD CPaintManagerUI::GetDefaultLinkFontColor() const { return TopResourceManager()->m_dwDefaultLinkFontColor; }
void CPaintManagerUI::SetDefaultLinkFontColor(DWORD dwColor) { m_dwDefaultLinkFontColor = dwColor; }
DWORD CPaintManagerUI::GetDefaultLinkHoverFontColor() const
{
    return TopResourceManager()->m_dwDefaultLinkHoverFontColor;
}
void CPaintManagerUI::SetDefaultLinkHoverFontColor(DWORD dwColor) { m_dwDefaultLinkHoverFontColor = dwColor; }
DWORD CPaintManagerUI::GetDefaultSelectedBkColor() const { return TopResourceManager()->m_dwDefaultSelectedBkColor; }
void CPaintManagerUI::SetDefaultSelectedBkColor(DWORD dwColor) { m_dwDefaultSelectedBkColor = dwColor; }

tagTFontInfo* CPaintManagerUI::GetDefaultFontInfo()
{
    CPaintManagerUI* pTop = const_cast<CPaintManagerUI*>(TopResourceManager());
    MeasureIfNeeded(pTop->m_hDcPaint, &pTop->m_DefaultFontInfo);
    return &pTop->m_DefaultFontInfo;
}

void CPaintManagerUI::SetDefaultFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline,
                                     bool bItalic)
{
    HFONT hFont = MakeFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (hFont == NULL) return;
    ::DeleteObject(m_DefaultFontInfo.hGdiFont);
    DescribeFont(&m_DefaultFontInfo, hFont, pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (m_hDcPaint != NULL) MeasureFont(m_hDcPaint, &m_DefaultFontInfo);
}

int CPaintManagerUI::GetCustomFontCount() const
{
    return m_aCustomFonts.GetSize();
}

HFONT CPaintManagerUI::AddFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return AddFontAt(m_aCustomFonts.GetSize(), pStrFontName, nSize, bBold, bUnderline, bItalic);
}

HFONT CPaintManagerUI::AddFontAt(int index, const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline,
                                 bool bItalic)
{
    if (index < 0 || index > m_aCustomFonts.GetSize()) return NULL;
    HFONT hFont = MakeFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (hFont == NULL) return NULL;
    tagTFontInfo* pFontInfo = new (std::nothrow) tagTFontInfo();
    if (pFontInfo == NULL) {
        ::DeleteObject(hFont);
        return NULL;
    }
    DescribeFont(pFontInfo, hFont, pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (m_hDcPaint != NULL) MeasureFont(m_hDcPaint, pFontInfo);
    if (!m_aCustomFonts.InsertAt(index, pFontInfo)) {
        DeleteFontInfo(pFontInfo);
        return NULL;
    }
    return hFont;
}

HFONT CPaintManagerUI::GetFont(int index)
{
    tagTFontInfo* pFontInfo = FindFontInfo(index, NULL);
    return pFontInfo != NULL ? pFontInfo->hGdiFont : GetDefaultFontInfo()->hGdiFont;
}

// A manager that borrows its parent's resources, such as a drop-down's, has
// few fonts or none of its own: an index it lacks names its parent's font.
tagTFontInfo* CPaintManagerUI::FindFontInfo(int index, CPaintManagerUI** ppOwner)
{
    for (CPaintManagerUI* pManager = this; pManager != NULL; pManager = pManager->m_pParentResourcePM) {
        if (index >= 0 && index < pManager->m_aCustomFonts.GetSize()) {
            if (ppOwner != NULL) *ppOwner = pManager;
            return static_cast<tagTFontInfo*>(pManager->m_aCustomFonts[index]);
        }
    }
    return NULL;
}

tagTFontInfo* CPaintManagerUI::FindFontInfo(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline,
                                            bool bItalic, CPaintManagerUI** ppOwner)
{
    for (CPaintManagerUI* pManager = this; pManager != NULL; pManager = pManager->m_pParentResourcePM) {
        for (int i = 0; i < pManager->m_aCustomFonts.GetSize(); i++) {
            tagTFontInfo* pFontInfo = static_cast<tagTFontInfo*>(pManager->m_aCustomFonts[i]);
            if (FontMatches(pFontInfo, pStrFontName, nSize, bBold, bUnderline, bItalic)) {
                if (ppOwner != NULL) *ppOwner = pManager;
                return pFontInfo;
            }
        }
    }
    return NULL;
}

tagTFontInfo* CPaintManagerUI::FindFontInfo(HFONT hFont, CPaintManagerUI** ppOwner)
{
    for (CPaintManagerUI* pManager = this; pManager != NULL; pManager = pManager->m_pParentResourcePM) {
        int index = pManager->GetFontIndex(hFont);
        if (index >= 0) {
            if (ppOwner != NULL) *ppOwner = pManager;
            return static_cast<tagTFontInfo*>(pManager->m_aCustomFonts[index]);
        }
    }
    return NULL;
}

HFONT CPaintManagerUI::GetFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    tagTFontInfo* pFontInfo = FindFontInfo(pStrFontName, nSize, bBold, bUnderline, bItalic, NULL);
    return pFontInfo != NULL ? pFontInfo->hGdiFont : NULL;
}

bool CPaintManagerUI::FindFont(HFONT hFont)
{
    return FindFontInfo(hFont, NULL) != NULL;
}

bool CPaintManagerUI::FindFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return FindFontInfo(pStrFontName, nSize, bBold, bUnderline, bItalic, NULL) != NULL;
}

int CPaintManagerUI::GetFontIndex(HFONT hFont)
{
    if (hFont == NULL) return -1;
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++) {
        if (static_cast<tagTFontInfo*>(m_aCustomFonts[i])->hGdiFont == hFont) return i;
    }
    return -1;
}

int CPaintManagerUI::GetFontIndex(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++) {
        if (FontMatches(static_cast<tagTFontInfo*>(m_aCustomFonts[i]), pStrFontName, nSize, bBold, bUnderline,
                        bItalic)) {
            return i;
        }
    }
    return -1;
}

bool CPaintManagerUI::RemoveFont(HFONT hFont)
{
    return RemoveFontAt(GetFontIndex(hFont));
}

bool CPaintManagerUI::RemoveFontAt(int index)
{
    if (index < 0 || index >= m_aCustomFonts.GetSize()) return false;
    DeleteFontInfo(static_cast<tagTFontInfo*>(m_aCustomFonts[index]));
    return m_aCustomFonts.Remove(index);
}

void CPaintManagerUI::RemoveAllFonts()
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++) DeleteFontInfo(static_cast<tagTFontInfo*>(m_aCustomFonts[i]));
    m_aCustomFonts.Empty();
}

tagTFontInfo* CPaintManagerUI::GetFontInfo(int index)
{
    CPaintManagerUI* pOwner = NULL;
    tagTFontInfo* pFontInfo = FindFontInfo(index, &pOwner);
    if (pFontInfo == NULL) return GetDefaultFontInfo();
    MeasureIfNeeded(pOwner->m_hDcPaint, pFontInfo);
    return pFontInfo;
}

tagTFontInfo* CPaintManagerUI::GetFontInfo(HFONT hFont)
{
    CPaintManagerUI* pOwner = NULL;
    tagTFontInfo* pFontInfo = FindFontInfo(hFont, &pOwner);
    if (pFontInfo == NULL) return GetDefaultFontInfo();
    MeasureIfNeeded(pOwner->m_hDcPaint, pFontInfo);
    return pFontInfo;
}

const tagTImageInfo* CPaintManagerUI::GetImage(const wchar_t* bitmap)
{
    if (bitmap == NULL) return NULL;
    for (CPaintManagerUI* pManager = this; pManager != NULL; pManager = pManager->m_pParentResourcePM) {
        const tagTImageInfo* pImage = static_cast<const tagTImageInfo*>(pManager->m_mImageHash.Find(bitmap));
        if (pImage != NULL) return pImage;
    }
    return NULL;
}

const tagTImageInfo* CPaintManagerUI::GetImageEx(const wchar_t* bitmap, const wchar_t* type, DWORD mask)
{
    if (bitmap == NULL) return NULL;
    const tagTImageInfo* pImage = static_cast<const tagTImageInfo*>(m_mImageHash.Find(bitmap));
    return pImage != NULL ? pImage : AddImage(bitmap, type, mask);
}

const tagTImageInfo* CPaintManagerUI::AddImage(const wchar_t* bitmap, const wchar_t* type, DWORD mask)
{
    if (bitmap == NULL || bitmap[0] == L'\0') return NULL;
    tagTImageInfo* pImage = LoadNamedImage(bitmap, type, mask);
    if (pImage == NULL) return NULL;
    if (type != NULL) pImage->sResourceType = type;
    pImage->dwMaskColor = mask;
    if (!m_mImageHash.Insert(bitmap, pImage)) {
        CRenderEngine::FreeImage(pImage);
        return NULL;
    }
    return pImage;
}

const tagTImageInfo* CPaintManagerUI::AddImage(const wchar_t* bitmap, HBITMAP hBitmap, int iWidth, int iHeight,
                                               bool bAlpha)
{
    if (hBitmap == NULL) return NULL;
    if (bitmap == NULL || iWidth <= 0 || iHeight <= 0) {
        ::DeleteObject(hBitmap);
        return NULL;
    }
    tagTImageInfo* pImage = new (std::nothrow) tagTImageInfo();
    if (pImage == NULL) {
        ::DeleteObject(hBitmap);
        return NULL;
    }
    pImage->hDibBitmap = hBitmap;
    pImage->nWidth = iWidth;
    pImage->nHeight = iHeight;
    pImage->bHasAlpha = bAlpha;
    if (!m_mImageHash.Insert(bitmap, pImage)) {
        CRenderEngine::FreeImage(pImage);
        return NULL;
    }
    return pImage;
}

bool CPaintManagerUI::RemoveImage(const wchar_t* bitmap)
{
    const tagTImageInfo* pImage = bitmap != NULL ? GetImageOwned(bitmap) : NULL;
    if (pImage == NULL) return false;
    CRenderEngine::FreeImage(pImage);
    return m_mImageHash.Remove(bitmap);
}

void CPaintManagerUI::RemoveAllImages()
{
    for (int i = 0; i < m_mImageHash.GetSize(); i++) CRenderEngine::FreeImage(GetImageOwned(m_mImageHash[i]));
    m_mImageHash.RemoveAll();
}

tagTImageInfo* CPaintManagerUI::GetImageOwned(const wchar_t* bitmap) const
{
    // No reordering of the chains: callers walk the map by index.
    return static_cast<tagTImageInfo*>(m_mImageHash.Find(bitmap, false));
}

void CPaintManagerUI::ReloadAllImages()
{
    bool bRedraw = false;
    for (int i = 0; i < m_mImageHash.GetSize(); i++) {
        const wchar_t* pstrName = m_mImageHash[i];
        tagTImageInfo* pImage = GetImageOwned(pstrName);
        tagTImageInfo* pNew = LoadNamedImage(pstrName, pImage->sResourceType, pImage->dwMaskColor);
        if (pNew == NULL) continue;
        // The record stays where it is: controls and callers hold pointers to it.
        ::DeleteObject(pImage->hDibBitmap);
        pImage->hDibBitmap = pNew->hDibBitmap;
        pImage->nWidth = pNew->nWidth;
        pImage->nHeight = pNew->nHeight;
        pImage->bHasAlpha = pNew->bHasAlpha;
        pNew->hDibBitmap = NULL;
        CRenderEngine::FreeImage(pNew);
        bRedraw = true;
    }
    if (bRedraw && m_pRoot != NULL) m_pRoot->Invalidate();
}

void CPaintManagerUI::AddDefaultAttributeList(const wchar_t* pStrControlName, const wchar_t* pStrControlAttrList)
{
    if (pStrControlName == NULL || m_DefaultAttrHash.Find(pStrControlName) != NULL) return;
    CSkinString* pAttributes = new (std::nothrow) CSkinString(pStrControlAttrList != NULL ? pStrControlAttrList : L"");
    if (pAttributes != NULL && !m_DefaultAttrHash.Insert(pStrControlName, pAttributes)) delete pAttributes;
}

const wchar_t* CPaintManagerUI::GetDefaultAttributeList(const wchar_t* pStrControlName) const
{
    if (pStrControlName == NULL) return NULL;
    for (const CPaintManagerUI* pManager = this; pManager != NULL; pManager = pManager->m_pParentResourcePM) {
        const CSkinString* pAttributes = static_cast<const CSkinString*>(pManager->m_DefaultAttrHash.Find(pStrControlName));
        if (pAttributes != NULL) return *pAttributes;
    }
    return NULL;
}

bool CPaintManagerUI::RemoveDefaultAttributeList(const wchar_t* pStrControlName)
{
    if (pStrControlName == NULL) return false;
    CSkinString* pAttributes = static_cast<CSkinString*>(m_DefaultAttrHash.Find(pStrControlName));
    if (pAttributes == NULL) return false;
    delete pAttributes;
    return m_DefaultAttrHash.Remove(pStrControlName);
}

const CStdStringPtrMap& CPaintManagerUI::GetDefaultAttribultes() const
{
    return m_DefaultAttrHash;
}

void CPaintManagerUI::RemoveAllDefaultAttributeList()
{
    for (int i = 0; i < m_DefaultAttrHash.GetSize(); i++) {
        delete static_cast<CSkinString*>(m_DefaultAttrHash.Find(m_DefaultAttrHash[i], false));
    }
    m_DefaultAttrHash.RemoveAll();
}

} // namespace SkinLib
