// CComboBoxUI, the combo with an arrow button:
//   - identity and the arrow image attribute
//   - painting: the state's frame of the arrow strip, the text beside it
#include "extended/ComboBoxUI.h"

#include <wchar.h>

#include "core/AttributeValue.h"

namespace SkinLib {

CComboBoxUI::CComboBoxUI() : m_nArrowWidth(0)
{
}

const wchar_t* CComboBoxUI::GetClass() const
{
    return L"ComboBoxUI";
}

void CComboBoxUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != NULL && wcscmp(pstrName, L"arrowimage") == 0) m_sArrowImage = pstrValue;
    else CComboUI::SetAttribute(pstrName, pstrValue);
}

void CComboBoxUI::PaintStatusImage(HDC hDC)
{
    if (!m_sArrowImage.IsEmpty()) {
        if (PaintArrow(hDC)) return;
        // Forgotten, so that the combo's own images show from now on.
        m_sArrowImage.Empty();
        m_nArrowWidth = 0;
    }
    CComboUI::PaintStatusImage(hDC);
}

bool CComboBoxUI::PaintArrow(HDC hDC)
{
    // The strip's rectangle is the value of the description's "source".
    static const wchar_t kSource[] = L"source='";
    const int iSource = m_sArrowImage.Find(kSource);
    const int iValue = iSource + static_cast<int>(wcslen(kSource));
    const int iEnd = iSource >= 0 ? m_sArrowImage.Find(L'\'', iValue) : -1;
    if (iEnd < 0) return false;
    const RECT rcStrip = ParseRectValue(m_sArrowImage.Mid(iValue, iEnd - iValue));

    const int iFrame = PaintStateFrame();
    const long long cxFrame = (static_cast<long long>(rcStrip.right) - rcStrip.left) / 5;
    const long long xFrame = rcStrip.left + cxFrame * iFrame;
    m_nArrowWidth = ClampToInt(cxFrame);
    // At the right end of the combo, inside its border; relative to the combo.
    const int nBorder = m_nBorderSize;
    RECT rcDest = ShrinkRect(RECT{0, 0, GetWidth(), GetHeight()}, RECT{nBorder, nBorder, nBorder, nBorder});
    rcDest.left = ClampToInt(rcDest.right - cxFrame);
    CSkinString sFrame;
    sFrame.Format(L"source='%d,%d,%d,%d' dest='%d,%d,%d,%d'", ClampToInt(xFrame), rcStrip.top,
                  ClampToInt(xFrame + cxFrame), rcStrip.bottom, rcDest.left, rcDest.top, rcDest.right, rcDest.bottom);
    return DrawImage(hDC, m_sArrowImage.Left(iSource) + sFrame + m_sArrowImage.Mid(iEnd + 1));
}

void CComboBoxUI::PaintText(HDC hDC)
{
    RECT rcText = ShrinkRect(m_rcItem, m_rcTextPadding);
    rcText.right = ClampToInt(static_cast<long long>(rcText.right) - m_nArrowWidth);
    PaintSelectedItem(hDC, rcText);
}

} // namespace SkinLib
