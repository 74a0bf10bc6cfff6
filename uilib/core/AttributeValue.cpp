#include "core/AttributeValue.h"

#include <wchar.h>

namespace SkinLib {

namespace {

// wcstol saturates at the LONG range, which on Windows is the int range.
int ReadInt(const wchar_t* p, const wchar_t** ppEnd)
{
    wchar_t* pEnd = NULL;
    const long nValue = ::wcstol(p, &pEnd, 10);
    *ppEnd = pEnd;
    return static_cast<int>(nValue);
}

// Fills nCount integers; reading stops at the terminator, never past it.
void ReadIntList(const wchar_t* p, LONG* pValues, int nCount)
{
    for (int i = 0; i < nCount; i++) pValues[i] = 0;
    if (p == NULL) return;
    for (int i = 0; i < nCount && *p != L'\0'; i++) {
        pValues[i] = ReadInt(p, &p);
        if (*p == L'\0') break;
        ++p;  // the separator, whatever it is
    }
}

} // namespace

DWORD ParseColorValue(const wchar_t* pstrValue, bool bSkipLeadingBlanks)
{
    if (pstrValue == NULL) return 0;
    if (bSkipLeadingBlanks) {
        while (*pstrValue > L'\0' && *pstrValue <= L' ') ++pstrValue;
    }
    if (*pstrValue == L'#') ++pstrValue;
    return static_cast<DWORD>(::wcstoul(pstrValue, NULL, 16));
}

RECT ParseRectValue(const wchar_t* pstrValue)
{
    LONG aValues[4];
    ReadIntList(pstrValue, aValues, 4);
    return RECT{aValues[0], aValues[1], aValues[2], aValues[3]};
}

SIZE ParseSizeValue(const wchar_t* pstrValue)
{
    LONG aValues[2];
    ReadIntList(pstrValue, aValues, 2);
    return SIZE{aValues[0], aValues[1]};
}

bool ParseBoolValue(const wchar_t* pstrValue)
{
    return pstrValue != NULL && ::wcscmp(pstrValue, L"true") == 0;
}

int ParseIntValue(const wchar_t* pstrValue)
{
    if (pstrValue == NULL) return 0;
    const wchar_t* pEnd = NULL;
    return ReadInt(pstrValue, &pEnd);
}

UINT ApplyHorizontalAlignValue(UINT uStyle, const wchar_t* pstrValue, UINT uCenter, UINT uRight)
{
    if (pstrValue == NULL) return uStyle;
    if (::wcsstr(pstrValue, L"left") != NULL) uStyle &= ~(uCenter | uRight);
    if (::wcsstr(pstrValue, L"center") != NULL) uStyle = (uStyle & ~uRight) | uCenter;
    if (::wcsstr(pstrValue, L"right") != NULL) uStyle = (uStyle & ~uCenter) | uRight;
    return uStyle;
}

UINT ApplyEndEllipsisValue(UINT uStyle, const wchar_t* pstrValue)
{
    return ParseBoolValue(pstrValue) ? uStyle | DT_END_ELLIPSIS : uStyle & ~DT_END_ELLIPSIS;
}

} // namespace SkinLib
