#pragma once

#include <windows.h>

#include "controls/ContainerUI.h"
#include "controls/ControlState.h"
#include "extended/IListUI.h"

namespace SkinLib {

// What every list item does, over the control it is: CListElementUI is one
// over CControlUI, CListContainerElementUI one over CContainerUI. The item
// keeps its index, its selected flag and its hot state, reports selections
// to its owner and paints its background from the owner's style record.
template <class TBase>
class CListItemImpl : public TBase, public IListItemUI
{
public:
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;
    // "itemactivate", when the control base lets the item activate.
    bool Activate() override;
    // An item hidden while selected leaves the owner's selection.
    void SetVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    // "selected" selects the item, whatever its value.
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    int GetIndex() const override;
    void SetIndex(int iIndex) override;
    IListOwnerUI* GetOwner() override;
    void SetOwner(CControlUI* pOwner) override;
    bool IsSelected() const override;
    // Selecting goes through the owner, which may refuse: the item then stays
    // unselected and the result is false. A disabled item cannot be selected;
    // any item can be deselected, and the owner then forgets it as its
    // selection.
    bool Select(bool bSelect = true) override;
    // The library's items cannot expand.
    bool IsExpanded() const override;
    bool Expand(bool bExpand = true) override;

    // Repaints only what the parent's client area and every ancestor show
    // of the item, so that an item scrolled partly out of view repaints no
    // more than shows. Hides the control base's for calls made on items.
    void Invalidate();
    // The state's colour, image and line from the owner's style record, over
    // the item's own rectangle; nothing without an owner.
    void DrawItemBk(HDC hDC, const RECT& rcItem);

protected:
    CListItemImpl();

    // The normal value replaced by the hot one when the item is hot, then by
    // the selected one, then by the disabled one.
    DWORD GetStateColor(DWORD dwNormal, DWORD dwHot, DWORD dwSelected, DWORD dwDisabled) const;
    // Each true when it took the event. A mouse-disabled item hands its
    // mouse events to its owner (without one to the base's handling) ...
    bool PassOnMouseToOwner(tagTEventUI& event);
    // ... double click and Return activate an enabled item ...
    bool ActivateOnInput(tagTEventUI& event);
    // ... moves and releases are dropped, entering and leaving make the item
    // hot and not, a press sends "itemclick" and selects the item.
    bool FollowPointer(tagTEventUI& event);
    // What the item does not handle goes to its owner, without one to the control base.
    void PassToOwner(tagTEventUI& event);

    int m_iIndex;
    bool m_bSelected;
    UINT m_uButtonState;  // CTLSTATE_HOT only
    IListOwnerUI* m_pOwner;
};

} // namespace SkinLib
