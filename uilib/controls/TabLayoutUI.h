#pragma once

#include "controls/ContainerUI.h"

namespace SkinLib {

// Shows one of its children, the current tab, over its whole inner area and
// hides the others. Insertions, moves and removals keep the current child
// current where it stays, and the selection always names a child or none.
class CTabLayoutUI : public CContainerUI
{
public:
    CTabLayoutUI();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void SetPos(RECT rc) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    void RemoveAll() override;

    // -1: none.
    int GetCurSel() const;
    // Shows and focuses the child and sends "tabselect" with the new and the old index.
    bool SelectItem(int iIndex);
    bool SelectItem(CControlUI* pControl);

protected:
    int m_iCurSel;

private:
    // A child that arrives visible becomes current when there is none; else it is hidden.
    void TakeNewChild(CControlUI* pControl, int iIndex, bool bVisible);
};

} // namespace SkinLib
