#pragma once

#include "controls/LineLayoutUI.h"

namespace SkinLib {

// Lines its children up from left to right; the separator strip, when set,
// drags the layout's width.
class CHorizontalLayoutUI : public CLineLayoutUI
{
public:
    CHorizontalLayoutUI();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    // Positive: a strip at the right edge; negative: at the left edge; 0: none.
    void SetSepWidth(int iWidth);
    int GetSepWidth() const;
};

} // namespace SkinLib
