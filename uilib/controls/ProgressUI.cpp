// CProgressUI:
//   - identity and the range rules
//   - skin attributes and accessors
//   - painting the filled part
#include "controls/ProgressUI.h"

#include <wchar.h>

#include <climits>

#include "core/AttributeValue.h"

namespace SkinLib {

CProgressUI::CProgressUI() : m_bHorizontal(true), m_bStretchForeImage(true), m_nMax(100), m_nMin(0), m_nValue(0)
{
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
    m_nFixedHeight = 12;
}

const wchar_t* CProgressUI::GetClass() const
{
    return L"ProgressUI";
}

void* CProgressUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"Progress") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

CProgressUI::Range CProgressUI::GetRange() const
{
    Range range = {m_nMin, m_nMax, m_nValue};
    if (range.nMin >= range.nMax) {
        // One step above the minimum, which gives way at the top of the int range.
        if (range.nMin == INT_MAX) range.nMin = INT_MAX - 1;
        range.nMax = range.nMin + 1;
    }
    range.nValue = LimitSize(range.nValue, range.nMin, range.nMax);
    return range;
}

long long CProgressUI::Scale(long long n, long long part, long long whole)
{
    if (whole <= 0) return 0;
    // A width of 2^32 times a span of 2^32 does not fit in 64 bits.
    return static_cast<long long>(static_cast<__int128>(n) * part / whole);
}

// ---------------------------------------------------------------------------
// Skin attributes and accessors

void CProgressUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    if (is(L"foreimage")) SetForeImage(pstrValue);
    else if (is(L"hor")) SetHorizontal(ParseBoolValue(pstrValue));
    else if (is(L"min")) SetMinValue(ParseIntValue(pstrValue));
    else if (is(L"max")) SetMaxValue(ParseIntValue(pstrValue));
    else if (is(L"value")) SetValue(ParseIntValue(pstrValue));
    else if (is(L"isstretchfore")) SetStretchForeImage(ParseBoolValue(pstrValue));
    else CLabelUI::SetAttribute(pstrName, pstrValue);
}

bool CProgressUI::IsHorizontal() const
{
    return m_bHorizontal;
}

void CProgressUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal == bHorizontal) return;
    m_bHorizontal = bHorizontal;
    Invalidate();
}

int CProgressUI::GetMinValue() const
{
    return m_nMin;
}

void CProgressUI::SetMinValue(int nMin)
{
    m_nMin = nMin;
    Invalidate();
}

int CProgressUI::GetMaxValue() const
{
    return m_nMax;
}

void CProgressUI::SetMaxValue(int nMax)
{
    m_nMax = nMax;
    Invalidate();
}

int CProgressUI::GetValue() const
{
    return m_nValue;
}

void CProgressUI::SetValue(int nValue)
{
    if (nValue == m_nValue || nValue < m_nMin || nValue > m_nMax) return;
    m_nValue = nValue;
    Invalidate();
}

const wchar_t* CProgressUI::GetForeImage() const
{
    return m_sForeImage;
}

void CProgressUI::SetForeImage(const wchar_t* pStrImage)
{
    if (m_sForeImage == (pStrImage != NULL ? pStrImage : L"")) return;
    SetStateImage(m_sForeImage, pStrImage);
}

bool CProgressUI::IsStretchForeImage() const
{
    return m_bStretchForeImage;
}

void CProgressUI::SetStretchForeImage(bool bStretchForeImage)
{
    if (m_bStretchForeImage == bStretchForeImage) return;
    m_bStretchForeImage = bStretchForeImage;
    Invalidate();
}

// ---------------------------------------------------------------------------
// Painting

void CProgressUI::PaintStatusImage(HDC hDC)
{
    const Range range = GetRange();
    m_nMin = range.nMin;
    m_nMax = range.nMax;
    m_nValue = range.nValue;
    if (m_sForeImage.IsEmpty()) return;

    // The filled part, relative to the control.
    const long long W = static_cast<long long>(m_rcItem.right) - m_rcItem.left;
    const long long H = static_cast<long long>(m_rcItem.bottom) - m_rcItem.top;
    RECT rc = {0, 0, ClampToInt(W), ClampToInt(H)};
    if (m_bHorizontal) rc.right = ClampToInt(Scale(W, static_cast<long long>(m_nValue) - m_nMin, range.Span()));
    else rc.top = ClampToInt(Scale(H, static_cast<long long>(m_nMax) - m_nValue, range.Span()));

    CSkinString sModify;
    if (m_bStretchForeImage) {
        sModify.Format(L"dest='%d,%d,%d,%d'", int(rc.left), int(rc.top), int(rc.right), int(rc.bottom));
    }
    else {
        sModify.Format(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", int(rc.left), int(rc.top), int(rc.right),
                       int(rc.bottom), int(rc.left), int(rc.top), int(rc.right), int(rc.bottom));
    }
    DrawImageOnce(hDC, m_sForeImage, sModify);
}

} // namespace SkinLib
