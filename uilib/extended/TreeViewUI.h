#pragma once

#include "extended/ListUI.h"

namespace SkinLib {

class CTreeNodeUI;

// A hierarchy shown as the rows of a list without a header: every tree node
// at any depth is one row, each followed by the rows of its descendants. The
// view hooks itself to the nodes it takes: a node's folder button collapses
// and expands its children's rows, its check box checks or clears all its
// descendants, and a double click on a node toggles its folder button.
class CTreeViewUI : public CListUI, public INotifyUI
{
public:
    CTreeViewUI();
    ~CTreeViewUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    // Tree nodes go to the tree's own operations below, other controls to
    // the list's; so a node reached through the container interface takes
    // or leaves its subtree and parent with it.
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    // Rows the body lets go rather than deletes leave as free subtrees.
    void RemoveAll() override;

    // Nothing: the view hears its nodes through their own event sources.
    void Notify(tagTNotifyUI& msg) override;

    // The node and its descendants become the last rows, in depth-first
    // order. The node must be no row already and no other node's child.
    virtual bool Add(CTreeNodeUI* pControl);
    // The same from the row at iIndex on, which must exist; the index after
    // the last row inserted, or -1.
    virtual long AddAt(CTreeNodeUI* pControl, int iIndex);
    // The same before the anchor's row.
    virtual bool AddAt(CTreeNodeUI* pControl, CTreeNodeUI* pIndexNode);
    // Takes out the rows of the node and its descendants, deleted or let go
    // as the body's auto-destroy says; a listed child leaves its parent's
    // child list first. False for a node that is no row of this view.
    virtual bool Remove(CTreeNodeUI* pControl);

    // The hooks; each answers true, so that the nodes' other listeners hear
    // the notification too.
    virtual bool OnCheckBoxChanged(void* param);
    virtual bool OnFolderChanged(void* param);
    virtual bool OnDBClickItem(void* param);

    // Checks or clears the check boxes of the node's descendants, without a
    // node those of every row.
    virtual bool SetItemCheckBox(bool bSelected, CTreeNodeUI* pTreeNode = NULL);
    // Shows or hides the node's descendants, leaving hidden the children of
    // collapsed ones; without a node every row. One repaint for the whole change.
    virtual void SetItemExpand(bool bExpanded, CTreeNodeUI* pTreeNode = NULL);
    // Applied to the rows present and to every node that comes later.
    virtual void SetVisibleFolderBtn(bool bIsVisible);
    virtual bool GetVisibleFolderBtn() const;
    virtual void SetVisibleCheckBtn(bool bIsVisible);
    virtual bool GetVisibleCheckBtn() const;
    // 0: the rows keep their own minimum width.
    virtual void SetItemMinWidth(UINT uItemMinWidth);
    virtual UINT GetItemMinWidth() const;
    // Given to the rows present only: nodes added later keep their own colours.
    virtual void SetItemTextColor(DWORD dwItemTextColor);
    virtual void SetItemHotTextColor(DWORD dwItemHotTextColor);
    virtual void SetSelItemTextColor(DWORD dwSelItemTextColor);
    virtual void SetSelItemHotTextColor(DWORD dwSelHotItemTextColor);

private:
    friend class CTreeNodeUI;

    // The tree node at row iIndex, or null.
    CTreeNodeUI* NodeAt(int iIndex) const;
    // Calls apply with every row that is a tree node, in row order.
    template <class Apply> void ForEachNodeRow(Apply apply) const;
    // Inserts the rows of a subtree that is no other node's child and selects
    // the row InsertRows names: the index after the last row, or -1.
    int AddSubtree(CTreeNodeUI* pNode, int iIndex);
    // Inserts the rows of the node's subtree from iIndex on (the end
    // included) under pParent, which may be null: the index after the last
    // row, or -1 with nothing changed. Every node of the subtree must be
    // free: no row of a view yet. The rows arrive unselected; iSelected is
    // the row the caller selects once it is done with the nodes, or -1.
    int InsertRows(CTreeNodeUI* pNode, int iIndex, CTreeNodeUI* pParent, int& iSelected);
    // Takes out the rows of the node's subtree; the node has left its parent.
    void RemoveRows(CTreeNodeUI* pNode);
    // Makes the node one of this view's rows, or no row of any.
    void Hook(CTreeNodeUI* pNode);
    void Unhook(CTreeNodeUI* pNode);
    // Unhooks a node whose row is leaving the body.
    void LetGo(CTreeNodeUI* pNode);

    UINT m_uItemMinWidth;
    bool m_bVisibleFolderBtn;
    bool m_bVisibleCheckBtn;
};

} // namespace SkinLib
