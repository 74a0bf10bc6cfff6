// CListBodyUI, the items of a list:
//   - placement: the line of items, as wide as the columns, and both bars
//   - scrolling the items and the header columns together; input to the list
//   - sorting
#include "extended/ListBodyUI.h"

#include "controls/ScrollBarUI.h"
#include "extended/ListHeaderUI.h"

namespace SkinLib {

CListBodyUI::CListBodyUI(CListUI* pOwner) : m_pOwner(pOwner), m_pfnCompare(NULL), m_dwCompareData(0)
{
}

// ---------------------------------------------------------------------------
// Placement and scrolling

void CListBodyUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    RECT rcArea = GetClientArea();
    const SIZE szAvailable = GetAvailableSize(rcArea);
    LineMeasure measure = MeasureLine(szAvailable);
    // A header with columns decides how wide the content is.
    CListHeaderUI* pHeader = m_pOwner != NULL ? m_pOwner->GetHeader() : NULL;
    const SIZE szClient = {ClampToInt(static_cast<long long>(rcArea.right) - rcArea.left),
                           ClampToInt(static_cast<long long>(rcArea.bottom) - rcArea.top)};
    if (pHeader != NULL && pHeader->GetCount() > 0) {
        const int cxHeader = pHeader->EstimateSize(szClient).cx;
        measure.nCrossNeeded = cxHeader > 0 ? cxHeader : 0;
    }
    const int cxPlacedAt = GetScrollPos().cx;
    const int cyNeeded = ClampToInt(PlaceLine(rcArea, szAvailable, measure, true));
    const int cxNeeded = ClampToInt(measure.nCrossNeeded);

    if (ProcessHorizontalScrollBar(cxNeeded, szClient.cx)) {
        const int cyBar = GetHorizontalScrollBar()->GetFixedHeight();
        rcArea.bottom = ClampToInt(static_cast<long long>(rcArea.bottom) + (IsHorizontalBarShown() ? -cyBar : cyBar));
    }
    // A shorter range, or the bar gone, moved the position the items were
    // placed at: they go where the bar now says.
    if (GetScrollPos().cx != cxPlacedAt) {
        SetPos(m_rcItem);
        return;
    }
    ProcessScrollBar(rcArea, cxNeeded, cyNeeded);
    // Laid out on its own, the body may have moved its horizontal position:
    // the columns follow it. Within the list's layout the list sees to them.
    if (m_pOwner != NULL && !m_pOwner->m_bLayingOut) m_pOwner->FollowHeader();
}

void CListBodyUI::SetScrollPos(SIZE szPos)
{
    const int cxOld = GetScrollPos().cx;
    CVerticalLayoutUI::SetScrollPos(szPos);
    if (GetScrollPos().cx != cxOld && m_pOwner != NULL) m_pOwner->FollowHeader();
}

void CListBodyUI::DoEvent(tagTEventUI& event)
{
    // The list scrolls and moves the selection; the body does neither itself.
    if (m_pOwner != NULL) m_pOwner->DoEvent(event);
    else CControlUI::DoEvent(event);
}

// ---------------------------------------------------------------------------
// Sorting

int CListBodyUI::SortItems(PFNLISTITEMCOMPARE pfnCompare, UINT_PTR dwData)
{
    if (pfnCompare == NULL) return 0;
    m_pfnCompare = pfnCompare;
    m_dwCompareData = dwData;
    CControlUI* pExpanded = m_pOwner != NULL ? ChildAt(m_pOwner->m_iExpandedItem) : NULL;

    // A heap sort, in place and by swaps only: whatever the program's
    // comparison answers, even inconsistently, every item stays in the array
    // exactly once and no index leaves it.
    void** ppItems = m_items.GetData();
    auto less = [this, ppItems](int a, int b) { return ItemComareFunc(this, &ppItems[a], &ppItems[b]) < 0; };
    auto siftDown = [&](int i, int n) {
        for (int c = 2 * i + 1; c < n; i = c, c = 2 * i + 1) {
            if (c + 1 < n && less(c, c + 1)) ++c;
            if (!less(i, c)) return;
            void* pSwap = ppItems[i];
            ppItems[i] = ppItems[c];
            ppItems[c] = pSwap;
        }
    };
    const int nCount = m_items.GetSize();
    for (int i = nCount / 2 - 1; i >= 0; --i) siftDown(i, nCount);
    for (int nEnd = nCount - 1; nEnd > 0; --nEnd) {
        void* pSwap = ppItems[0];
        ppItems[0] = ppItems[nEnd];
        ppItems[nEnd] = pSwap;
        siftDown(0, nEnd);
    }

    for (int i = 0; i < nCount; i++) {
        if (IListItemUI* pItem = AsListItem(ChildAt(i))) {
            pItem->SetIndex(i);
            pItem->Select(false);
        }
    }
    if (m_pOwner != NULL) {
        m_pOwner->SelectItem(-1, false);
        m_pOwner->m_iExpandedItem = pExpanded != NULL ? m_items.Find(pExpanded) : -1;
    }
    if (m_pManager != NULL) {
        // Every row moves, most across the view: their areas reach the window as one.
        CInvalidateBatch batch(m_pManager);
        SetPos(GetPos());
        Invalidate();
    }
    return 1;
}

int __cdecl CListBodyUI::ItemComareFunc(void* pvContext, const void* pItem1, const void* pItem2)
{
    if (pvContext == NULL || pItem1 == NULL || pItem2 == NULL) return 0;
    return static_cast<CListBodyUI*>(pvContext)->ItemComareFunc(pItem1, pItem2);
}

int CListBodyUI::ItemComareFunc(const void* pItem1, const void* pItem2)
{
    return m_pfnCompare(reinterpret_cast<UINT_PTR>(*static_cast<void* const*>(pItem1)),
                        reinterpret_cast<UINT_PTR>(*static_cast<void* const*>(pItem2)), m_dwCompareData);
}

} // namespace SkinLib
