#pragma once
// What the render engine's source files share and nobody else uses:
//   CreateDib32           the 32-bit DIB sections skins and blends draw from
//   FindAlphaBlend, FindGradientFill  msimg32 entry points, looked up by one rule
//   ReadImagePair, KeyIs  the key='value' pairs of image descriptions and mark-up image tags

#include <windows.h>

#include <cwchar>

namespace SkinLib {

// A 32-bit DIB section: top-down, the form every skin bitmap and blend buffer
// takes, unless a caller asks for the classic bottom-up rows.
inline HBITMAP CreateDib32(int cx, int cy, DWORD** ppBits, bool bBottomUp = false)
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

typedef BOOL(WINAPI* LPALPHABLEND)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
typedef BOOL(WINAPI* PFNGRADIENTFILL)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

inline LPALPHABLEND FindAlphaBlend()
{
    static LPALPHABLEND s_lpAlphaBlend = NULL;
    return FindInMsimg32(s_lpAlphaBlend, "AlphaBlend");
}

inline PFNGRADIENTFILL FindGradientFill()
{
    static PFNGRADIENTFILL s_pfnGradientFill = NULL;
    return FindInMsimg32(s_pfnGradientFill, "GradientFill");
}

inline const wchar_t* SkipWhitespace(const wchar_t* p, const wchar_t* pEnd)
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
inline bool ReadImagePair(const wchar_t*& p, const wchar_t* pEnd, ImagePair& pair)
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

inline bool KeyIs(const wchar_t* pstrKey, size_t cchKey, const wchar_t* pstrName)
{
    return ::wcslen(pstrName) == cchKey && ::wcsncmp(pstrKey, pstrName, cchKey) == 0;
}

} // namespace SkinLib
