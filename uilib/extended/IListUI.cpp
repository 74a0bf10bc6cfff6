#include "extended/IListUI.h"

#include "controls/ControlUI.h"
#include "controls/IContainerUI.h"

namespace SkinLib {

tagTListInfoUI::tagTListInfoUI()
    : nColumnCount(0), rcColumns(), nItemFont(-1), uItemTextStyle(DT_VCENTER), rcItemTextPadding(),
      dwItemTextColor(0xFF000000), dwItemBkColor(0), bAlternateItemBk(false), dwSelectedItemTextColor(0xFF000000),
      dwSelectedItemBkColor(0xFFC1E3FF), dwHotItemTextColor(0xFF000000), dwHotItemBkColor(0xFFE9F5FF),
      dwDisabledItemTextColor(0xFFCCCCCC), dwDisabledItemBkColor(0xFFFFFFFF), dwItemLineColor(0),
      bItemShowHtml(false), bMultiExpanding(false)
{
}

IListItemUI* AsListItem(CControlUI* pControl)
{
    return pControl != NULL ? static_cast<IListItemUI*>(pControl->GetInterface(L"ListItem")) : NULL;
}

void AdoptListItem(const IContainerUI& items, int iIndex, CControlUI* pOwner)
{
    IListItemUI* pItem = AsListItem(items.GetItemAt(iIndex));
    if (pItem == NULL) return;
    // It arrives unselected: the owner's selection is one item, or none, that says so.
    if (pItem->IsSelected()) ForgetListOwner(pItem);
    pItem->SetOwner(pOwner);
    pItem->SetIndex(iIndex);
}

void RenumberListItems(const IContainerUI& items, int iFirst, int iLast)
{
    for (int i = iFirst; i <= iLast; i++) {
        if (IListItemUI* pItem = AsListItem(items.GetItemAt(i))) pItem->SetIndex(i);
    }
}

bool FocusSelectedItem(const IContainerUI& items, const IListOwnerUI& owner, CControlUI* pControl)
{
    pControl->SetFocus();
    // Items that come or go before it move the selection along with it.
    return items.GetItemAt(owner.GetCurSel()) == pControl;
}

void ForgetListOwner(IListItemUI* pItem)
{
    if (pItem == NULL) return;
    pItem->SetOwner(NULL);
    pItem->SetIndex(-1);
    // With no owner left, only the item hears of it.
    if (pItem->IsSelected()) pItem->Select(false);
}

void ForgetListOwners(const IContainerUI& items)
{
    for (int i = 0; i < items.GetCount(); i++) ForgetListOwner(AsListItem(items.GetItemAt(i)));
}

} // namespace SkinLib
