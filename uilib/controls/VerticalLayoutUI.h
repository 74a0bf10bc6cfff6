#pragma once

#include "controls/LineLayoutUI.h"

namespace SkinLib {

// Stacks its children from top to bottom; the separator strip, when set,
// drags the layout's height.
class CVerticalLayoutUI : public CLineLayoutUI
{
public:
    CVerticalLayoutUI();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    // Positive: a strip at the bottom edge; negative: at the top edge; 0: none.
    void SetSepHeight(int iHeight);
    int GetSepHeight() const;
};

} // namespace SkinLib
