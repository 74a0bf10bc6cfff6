#pragma once

#include "extended/ComboUI.h"

namespace SkinLib {

// A combo with an arrow button at its right end, drawn from a strip of five
// frames side by side (normal, hot, pushed, focused, disabled) that the
// arrow image's "source" rectangle names. The selected item's text stops
// short of the arrow. Without an arrow image, or with one that cannot be
// drawn, it paints as a combo.
class CComboBoxUI : public CComboUI
{
public:
    CComboBoxUI();

    const wchar_t* GetClass() const override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

protected:
    // Draws the state's frame of the arrow strip; false when it cannot.
    bool PaintArrow(HDC hDC);

    CSkinString m_sArrowImage;
    int m_nArrowWidth;  // one frame's width, as last painted
};

} // namespace SkinLib
