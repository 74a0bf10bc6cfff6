#pragma once
// A window's code that removes the item a notification is about, as a
// program's handler may, and the check that an owner and its items still
// agree on the selection afterwards.
#include <gtest/gtest.h>

#include <string>

#include "controls/ControlUI.h"
#include "controls/IContainerUI.h"
#include "core/PaintManagerUI.h"
#include "extended/IListUI.h"

namespace SkinLibTest {

using namespace SkinLib;

// On "itemselect" it removes the item the owner has just selected (wParam),
// on any other type the sender itself; nLeft times, then it only listens.
struct CItemRemover : INotifyUI
{
    CItemRemover(IContainerUI* pItems, const wchar_t* pstrType, int nLeft = 1)
        : pItems(pItems), sType(pstrType), nLeft(nLeft)
    {
    }
    void Notify(tagTNotifyUI& msg) override
    {
        if (nLeft == 0 || msg.sNotifyType != sType.c_str()) return;
        --nLeft;
        pRemoved = sType == L"itemselect" ? pItems->GetItemAt(static_cast<int>(msg.wNotifyParam)) : msg.pSenderControl;
        pItems->Remove(pRemoved);
    }

    IContainerUI* pItems;
    std::wstring sType;
    int nLeft;
    CControlUI* pRemoved = NULL;  // the last one, alive until the window's clean-up
};

// GetCurSel() is -1 and no item says it is selected, or it is the index of
// the one item that does; and every item's index is its position.
inline ::testing::AssertionResult SelectionAgrees(CControlUI* pOwner)
{
    IListOwnerUI* pList = static_cast<IListOwnerUI*>(pOwner->GetInterface(L"IListOwner"));
    IContainerUI* pItems = static_cast<IContainerUI*>(pOwner->GetInterface(L"IContainer"));
    std::string sSelected;
    for (int i = 0; i < pItems->GetCount(); i++) {
        IListItemUI* pItem = AsListItem(pItems->GetItemAt(i));
        if (pItem == NULL) continue;
        if (pItem->GetIndex() != i) return ::testing::AssertionFailure() << "item " << i << " has index " << pItem->GetIndex();
        if (pItem->IsSelected()) sSelected += " " + std::to_string(i);
    }
    const std::string sCurSel = pList->GetCurSel() < 0 ? "" : " " + std::to_string(pList->GetCurSel());
    if (sSelected == sCurSel) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "GetCurSel() " << pList->GetCurSel() << ", selected items:" << sSelected;
}

// The item the remover took is let go of whole (unselected, no owner's) and
// the owner agrees with the items it has left.
inline ::testing::AssertionResult LeftCleanly(const CItemRemover& remover, CControlUI* pOwner)
{
    IListItemUI* pGone = AsListItem(remover.pRemoved);
    if (pGone == NULL) return ::testing::AssertionFailure() << "nothing was removed";
    if (pGone->IsSelected() || pGone->GetOwner() != NULL || pGone->GetIndex() != -1) {
        return ::testing::AssertionFailure() << "the removed item still says it is selected or owned";
    }
    return SelectionAgrees(pOwner);
}

} // namespace SkinLibTest
