#pragma once
// The value forms of skin attributes. Every control's SetAttribute, and the
// dialog builder for the window's own attributes, read numbers, colours and
// switches through these, so that all of them read a value alike.
#include <windows.h>

namespace SkinLib {

// A colour 0xAARRGGBB: one leading "#" is skipped and the rest is read as
// unsigned hexadecimal ("0x" accepted, no digits giving 0, too many digits
// giving 0xFFFFFFFF). Background colours also skip the characters up to
// U+0020 that stand before the "#"; other colours read such a value as 0.
DWORD ParseColorValue(const wchar_t* pstrValue, bool bSkipLeadingBlanks = false);

// Left, top, right, bottom: decimal integers, each followed by one separator
// character of any kind. Numbers missing at the end read 0.
RECT ParseRectValue(const wchar_t* pstrValue);

// cx, cy, read like a rectangle.
SIZE ParseSizeValue(const wchar_t* pstrValue);

// True only for the exact text "true".
bool ParseBoolValue(const wchar_t* pstrValue);

// Decimal, leading blanks and a sign allowed, up to the first non-digit; no
// digits give 0, and a number beyond the int range gives the nearest limit.
int ParseIntValue(const wchar_t* pstrValue);

// A DrawText style with the horizontal alignment a value names, the words
// found anywhere in it applying in this order: "left" clears DT_CENTER and
// DT_RIGHT, "center" sets DT_CENTER and clears DT_RIGHT, "right" sets
// DT_RIGHT and clears DT_CENTER. Another style family (an edit's ES_ bits)
// names its own centre and right bits.
UINT ApplyHorizontalAlignValue(UINT uStyle, const wchar_t* pstrValue, UINT uCenter = DT_CENTER,
                               UINT uRight = DT_RIGHT);

// A DrawText style with DT_END_ELLIPSIS set for "true", cleared otherwise.
UINT ApplyEndEllipsisValue(UINT uStyle, const wchar_t* pstrValue);

} // namespace SkinLib
