#pragma once

#include "controls/VerticalLayoutUI.h"
#include "extended/ListUI.h"

namespace SkinLib {

// The part of a list that holds the items and the scroll bars: items are
// laid out top to bottom, as wide as the header's columns together (or the
// widest item) and at least as the body; the horizontal bar scrolls items
// and header columns together. Every input goes to the list.
class CListBodyUI : public CVerticalLayoutUI
{
public:
    // The owner may be null.
    explicit CListBodyUI(CListUI* pOwner);

    void SetPos(RECT rc) override;
    void DoEvent(tagTEventUI& event) override;
    void SetScrollPos(SIZE szPos) override;

    // Orders the items with the program's comparison, numbers them anew and
    // clears the selection; 0 for no comparison, else 1.
    int SortItems(PFNLISTITEMCOMPARE pfnCompare, UINT_PTR dwData);

protected:
    // The comparison of two slots of the item array, with the body as context.
    static int __cdecl ItemComareFunc(void* pvContext, const void* pItem1, const void* pItem2);
    int ItemComareFunc(const void* pItem1, const void* pItem2);

    CListUI* m_pOwner;
    PFNLISTITEMCOMPARE m_pfnCompare;
    UINT_PTR m_dwCompareData;
};

} // namespace SkinLib
