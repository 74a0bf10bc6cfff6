#pragma once
// The contract between a list owner (a list, a combo) and its items: the
// owner keeps the selection, the expanded item, the item style and the
// columns; an item is an ordinary control that also answers "ListItem",
// measures and paints itself from the owner's style record, reports the
// user's selection to the owner and hands it the input it does not handle.
// Only the owner's SelectItem changes the selection.
#include <windows.h>

#include "core/PaintManagerUI.h"
#include "core/SkinString.h"

namespace SkinLib {

class CControlUI;
class CContainerUI;
class CListHeaderUI;
class IContainerUI;

// The style of an owner's items, held by the owner and read by the items
// each time they measure or paint, so that a change shows at the next layout
// or paint. Copies own their strings. Colours are 0xAARRGGBB; images are
// image descriptions. A state's value replaces the normal one when the item
// is hot, then selected, then disabled: the last that applies wins.
struct tagTListInfoUI
{
    enum { MAX_COLUMNS = 32 };

    tagTListInfoUI();

    int nColumnCount;                // header items, at most MAX_COLUMNS
    RECT rcColumns[MAX_COLUMNS];     // window coordinates, moved with the horizontal scroll
    int nItemFont;                   // -1: the default font
    UINT uItemTextStyle;             // DrawText style; DT_SINGLELINE is added when drawing
    RECT rcItemTextPadding;
    DWORD dwItemTextColor;
    DWORD dwItemBkColor;             // 0 paints nothing
    CSkinString sItemBkImage;
    bool bAlternateItemBk;           // the normal background only on items with an even index
    DWORD dwSelectedItemTextColor;
    DWORD dwSelectedItemBkColor;
    CSkinString sSelectedItemImage;
    DWORD dwHotItemTextColor;
    DWORD dwHotItemBkColor;
    CSkinString sHotItemImage;
    DWORD dwDisabledItemTextColor;
    DWORD dwDisabledItemBkColor;
    CSkinString sDisabledItemImage;
    DWORD dwItemLineColor;           // a line along each item's bottom; 0 draws none
    bool bItemShowHtml;              // item texts are mark-up
    bool bMultiExpanding;            // several items may be expanded at once
};

// Found with GetInterface("IListOwner"). None of these interfaces is deleted
// through itself: the control that answers it owns itself.
class IListOwnerUI
{
public:
    virtual tagTListInfoUI* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    // Makes the item at iIndex the only selected one; -1 clears the selection.
    virtual bool SelectItem(int iIndex, bool bTakeFocus = false) = 0;
    // The owner's input handler: items pass it what they do not handle.
    virtual void DoEvent(tagTEventUI& event) = 0;

protected:
    ~IListOwnerUI() = default;
};

// The text of each column of each text item, supplied by the program that
// uses a list. The text returned need stay valid only until the call returns.
class IListCallbackUI
{
public:
    virtual const wchar_t* GetCellText(CControlUI* pControl, int iIndex, int iSubItem) = 0;

protected:
    ~IListCallbackUI() = default;
};

// A list: an owner with a header, a body holding the items, a text callback
// and an expanded item. Found with GetInterface("IList").
class IListUI : public IListOwnerUI
{
public:
    virtual CListHeaderUI* GetHeader() const = 0;
    virtual CContainerUI* GetList() const = 0;
    virtual IListCallbackUI* GetTextCallback() const = 0;
    // Stored, not owned.
    virtual void SetTextCallback(IListCallbackUI* pCallback) = 0;
    virtual bool ExpandItem(int iIndex, bool bExpand = true) = 0;
    virtual int GetExpandedItem() const = 0;

protected:
    ~IListUI() = default;
};

// An item of a list or combo. Found with GetInterface("ListItem").
class IListItemUI
{
public:
    // The item's position among its owner's items, -1 until the owner numbers it.
    virtual int GetIndex() const = 0;
    // Called by the owner only.
    virtual void SetIndex(int iIndex) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    // Keeps what GetInterface("IListOwner") of the control gives; null clears it.
    virtual void SetOwner(CControlUI* pOwner) = 0;
    virtual bool IsSelected() const = 0;
    virtual bool Select(bool bSelect = true) = 0;
    virtual bool IsExpanded() const = 0;
    virtual bool Expand(bool bExpand = true) = 0;
    virtual void DrawItemText(HDC hDC, const RECT& rcItem) = 0;

protected:
    ~IListItemUI() = default;
};

// What owners do to the items of their child list.
// The control's item part; null for null or a control that is no item.
IListItemUI* AsListItem(CControlUI* pControl);
// The item at iIndex of items, if it is one, takes pOwner as its owner and
// iIndex as its index, unselected.
void AdoptListItem(const IContainerUI& items, int iIndex, CControlUI* pOwner);
// The items from iFirst to iLast take their positions as indices.
void RenumberListItems(const IContainerUI& items, int iFirst, int iLast);
// The owner's selected item pControl takes the focus; false when a handler of
// the focus has moved the selection off it: the item went, or another came.
bool FocusSelectedItem(const IContainerUI& items, const IListOwnerUI& owner, CControlUI* pControl);
// An item its owner lets go of forgets the owner and its index, and is deselected ...
void ForgetListOwner(IListItemUI* pItem);
// ... and so do all the items of items.
void ForgetListOwners(const IContainerUI& items);

} // namespace SkinLib
