#pragma once

#include "controls/ContainerUI.h"

namespace SkinLib {

// Children in a grid of equal-width cells, row by row, each centred in its
// cell; a row is as tall as its tallest child.
class CTileLayoutUI : public CContainerUI
{
public:
    CTileLayoutUI();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void SetPos(RECT rc) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    // With a width, the columns are as many as cells of that width fit in; the height is not used.
    SIZE GetItemSize() const;
    void SetItemSize(SIZE szItem);
    // The last computed count when an item width is set; values below 1 are ignored.
    int GetColumns() const;
    void SetColumns(int nCols);

protected:
    SIZE m_szItem;
    int m_nColumns;

private:
    long long CellWidth(const CControlUI& control, long long cxColumn, int nInRow) const;
    long long RowHeight(int iFirst, long long cxColumn) const;
};

} // namespace SkinLib
