// CTileLayoutUI: the grid's settings and its placement of the children.
#include "controls/TileLayoutUI.h"

#include <wchar.h>

#include <climits>

#include "controls/ScrollBarUI.h"
#include "core/AttributeValue.h"

namespace SkinLib {

CTileLayoutUI::CTileLayoutUI() : m_szItem{0, 0}, m_nColumns(1)
{
}

const wchar_t* CTileLayoutUI::GetClass() const
{
    return L"TileLayoutUI";
}

void* CTileLayoutUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"TileLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

SIZE CTileLayoutUI::GetItemSize() const
{
    return m_szItem;
}

void CTileLayoutUI::SetItemSize(SIZE szItem)
{
    if (m_szItem.cx == szItem.cx && m_szItem.cy == szItem.cy) return;
    m_szItem = szItem;
    NeedUpdate();
}

int CTileLayoutUI::GetColumns() const
{
    return m_nColumns;
}

void CTileLayoutUI::SetColumns(int nCols)
{
    if (nCols <= 0) return;
    m_nColumns = nCols;
    NeedUpdate();
}

void CTileLayoutUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (wcscmp(pstrName, L"itemsize") == 0) SetItemSize(ParseSizeValue(pstrValue));
    // A skin that asks for no columns gets one.
    else if (wcscmp(pstrName, L"columns") == 0) SetColumns(LimitSize(ParseIntValue(pstrValue), 1, INT_MAX));
    else CContainerUI::SetAttribute(pstrName, pstrValue);
}

// What a child's cell leaves for it: the column less its padding, and less
// half the child padding on each side where a neighbour in the row lies.
// nInRow is the child's place in its row.
long long CTileLayoutUI::CellWidth(const CControlUI& control, long long cxColumn, int nInRow) const
{
    const RECT rcPadding = control.GetPadding();
    const long long nHalf = m_iChildPadding / 2;
    long long cx = cxColumn - rcPadding.left - rcPadding.right;
    if (nInRow != 0) cx -= nHalf;
    if (nInRow + 1 != m_nColumns) cx -= nHalf;
    return cx;
}

// The height of the row that starts with child iFirst: its tallest child at
// the width it will get, within that child's own limits.
long long CTileLayoutUI::RowHeight(int iFirst, long long cxColumn) const
{
    long long cyRow = 0;
    int nInRow = 0;
    for (int i = iFirst; i < m_items.GetSize() && nInRow < m_nColumns; i++) {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        const int cx = LimitSize(ClampToInt(CellWidth(*pControl, cxColumn, nInRow)), pControl->GetMinWidth(),
                                 pControl->GetMaxWidth());
        const SIZE sz = pControl->EstimateSize(SIZE{cx, 9999});
        const RECT rcPadding = pControl->GetPadding();
        const long long cy = static_cast<long long>(rcPadding.top) + rcPadding.bottom +
                             LimitSize(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());
        if (cy > cyRow) cyRow = cy;
        ++nInRow;
    }
    return cyRow;
}

void CTileLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    const RECT rcArea = GetClientArea();
    if (m_items.IsEmpty()) {
        ProcessScrollBar(rcArea, 0, 0);
        return;
    }
    const long long cxArea = static_cast<long long>(rcArea.right) - rcArea.left;
    if (m_szItem.cx > 0) m_nColumns = LimitSize(ClampToInt(cxArea / m_szItem.cx), 1, INT_MAX);
    const int nColumns = m_nColumns;
    const bool bVertical = IsVerticalBarShown(), bHorizontal = IsHorizontalBarShown();
    const long long cxColumn = (cxArea + (bHorizontal ? m_pHorizontalScrollBar->GetScrollRange() : 0)) / nColumns;
    const long long cyScrolled = bVertical ? m_pVerticalScrollBar->GetScrollPos() : 0;
    const long long x0 = rcArea.left - static_cast<long long>(bHorizontal ? m_pHorizontalScrollBar->GetScrollPos() : 0);
    const long long nHalf = m_iChildPadding / 2;

    long long x = x0, y = rcArea.top - cyScrolled, cyRow = 0, cyNeeded = 0;
    int n = 0;
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        const int nInRow = n % nColumns;
        if (nInRow == 0) cyRow = RowHeight(i, cxColumn);

        const RECT rcPadding = pControl->GetPadding();
        const long long left = x + rcPadding.left + (nInRow != 0 ? nHalf : 0);
        const long long right = x + cxColumn - rcPadding.right - (nInRow + 1 != nColumns ? nHalf : 0);
        const long long top = y + rcPadding.top, bottom = y + cyRow;
        const SIZE szAvailable = {ClampToInt(right - left), ClampToInt(cyRow - rcPadding.top)};
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cx == 0) sz.cx = szAvailable.cx;
        if (sz.cy == 0) sz.cy = szAvailable.cy;
        sz.cx = LimitSize(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth());
        sz.cy = LimitSize(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());
        // Centred in the cell.
        const long long l = (left + right - sz.cx) / 2, t = (top + bottom - sz.cy) / 2;
        pControl->SetPos(RECT{ClampToInt(l), ClampToInt(t), ClampToInt(l + sz.cx), ClampToInt(t + sz.cy)});

        if (++n % nColumns != 0) {
            x += cxColumn;
        }
        else {
            x = x0;
            y += cyRow + m_iChildPadding;
        }
        cyNeeded = bottom - rcArea.top + cyScrolled;
    }
    ProcessScrollBar(rcArea, 0, ClampToInt(cyNeeded));
}

} // namespace SkinLib
