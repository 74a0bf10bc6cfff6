#pragma once

#include "controls/VerticalLayoutUI.h"
#include "extended/IListUI.h"
#include "extended/ListStyleImpl.h"

namespace SkinLib {

class CListBodyUI;
class CListHeaderUI;
class CScrollBarUI;

// A program's order of two items for SortItems: negative puts the first
// before the second. The items come as their CControlUI pointers, the last
// argument is the program's own value.
typedef int(CALLBACK* PFNLISTITEMCOMPARE)(UINT_PTR, UINT_PTR, UINT_PTR);

// The list control: a vertical layout whose children are a column header
// and a body that holds the items and the scroll bars. Children given to the
// list go where their kind belongs: headers among the list's own children,
// header columns into the header, everything else into the body. The list
// numbers its items by position, keeps the selection and the expanded item
// on their items as items come, move and go, turns keys and the wheel into
// selection moves, and keeps its style record's column rectangles on the
// header's columns.
class CListUI : public CListStyleImpl<CVerticalLayoutUI>, public IListUI
{
public:
    CListUI();
    ~CListUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc) override;
    // Also the owner's input handler of IListOwnerUI.
    void DoEvent(tagTEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    // The body's.
    int GetChildPadding() const override;
    void SetChildPadding(int iPadding) override;
    SIZE GetScrollPos() const override;
    SIZE GetScrollRange() const override;
    void SetScrollPos(SIZE szPos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;
    void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false) override;
    CScrollBarUI* GetVerticalScrollBar() const override;
    CScrollBarUI* GetHorizontalScrollBar() const override;

    // The items, which the body holds; the header is never counted.
    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    // The selection and the expanded item go, without a notification; the header stays.
    void RemoveAll() override;

    tagTListInfoUI* GetListInfo() override;
    int GetCurSel() const override;
    // "itemselect" with the new index in wParam and the previous one in lParam.
    bool SelectItem(int iIndex, bool bTakeFocus = false) override;
    // Null once the header has been removed.
    CListHeaderUI* GetHeader() const override;
    CContainerUI* GetList() const override;
    IListCallbackUI* GetTextCallback() const override;
    void SetTextCallback(IListCallbackUI* pCallback) override;
    bool ExpandItem(int iIndex, bool bExpand = true) override;
    int GetExpandedItem() const override;

    // The wheel moves the selection instead of scrolling.
    bool GetScrollSelect() const;
    void SetScrollSelect(bool bScrollSelect);
    // Scrolls the selected item at iIndex into the body's view.
    void EnsureVisible(int iIndex);
    void Scroll(int dx, int dy);
    // Orders the items with the program's comparison; 0 for none.
    int SortItems(PFNLISTITEMCOMPARE pfnCompare, UINT_PTR dwData);

    // Several items may be expanded at once.
    void SetMultiExpanding(bool bMultiExpanding);

protected:
    friend class CListBodyUI;
    friend class CListHeaderUI;

    // The column count and rectangles follow the header's columns, which
    // move left by the body's horizontal scroll position.
    void FollowHeader();
    // Removes nCount items from iFirst on, numbers the rest once and keeps
    // the selection and the expanded item on theirs; a selection among the
    // removed goes to the nearest item left at or before iFirst. False when
    // the run is not within the items.
    bool RemoveItems(int iFirst, int nCount);

    bool m_bScrollSelect;
    int m_iCurSel;
    int m_iExpandedItem;
    IListCallbackUI* m_pTextCallback;
    CListBodyUI* m_pList;      // child 1, destroyed with the list
    CListHeaderUI* m_pHeader;  // child 0, destroyed with the list
    int m_cxColumnShift;  // how far the header's columns are moved left now
    bool m_bLayingOut;    // within SetPos: the list places header and body itself

private:
    bool AddHeader(CControlUI* pHeader);
    bool AddHeaderItem(CControlUI* pItem, int iIndex);
    // A hidden header's columns count as shown while the list places them.
    void ShowHiddenColumns(bool bShow);
    // The key's move of the selection; a move that finds no item keeps it.
    void MoveSelection(int iIndex);
};

} // namespace SkinLib
