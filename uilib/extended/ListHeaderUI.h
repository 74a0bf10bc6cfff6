#pragma once

#include "controls/HorizontalLayoutUI.h"

namespace SkinLib {

// The row of column titles at the top of a list: a horizontal layout of
// CListHeaderItemUI columns, whose rectangles the list copies into its
// column rectangles.
class CListHeaderUI : public CHorizontalLayoutUI
{
public:
    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    // As wide as all its columns together, hidden ones included; as high as
    // its fixed height, else its tallest column but at least a line of the
    // default font and 6.
    SIZE EstimateSize(SIZE szAvailable) override;
    // Laid out on its own (a column changed its width or visibility), the
    // header has its list laid out again: the column rectangles and the
    // width the body scrolls follow the columns.
    void SetPos(RECT rc) override;
};

} // namespace SkinLib
