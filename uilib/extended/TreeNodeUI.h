#pragma once

#include "core/StdPtrArray.h"
#include "extended/ListContainerElementUI.h"

namespace SkinLib {

class CCheckBoxUI;
class CHorizontalLayoutUI;
class CLabelUI;
class COptionUI;
class CTreeViewUI;

// One node of a tree view. It shows one row: an indentation spacer (the
// dotted line), the folder button that collapses (checked) and expands the
// node's children, a check box and the item button that shows the node's
// text. Beside it the node keeps its parent node and its child nodes in
// display order. In a tree view every node at any depth is one row of the
// view's list, and each row is followed by the rows of its descendants.
//
// The row and its controls belong to the node. Child nodes belong to the view
// whose rows they are; those of a node that is no row of a view belong to the
// node and go with it. A node deleted on its own leaves its parent's children.
class CTreeNodeUI : public CListContainerElementUI
{
public:
    // With a parent node, indented one step below it; the node is its child,
    // and GetParentNode() names it, only once it is added there.
    explicit CTreeNodeUI(CTreeNodeUI* pParentNode = NULL);
    ~CTreeNodeUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    // Besides the list item's input: a double click sends "itemdbclick", and
    // entering and leaving give the item text its hot or normal colour.
    void DoEvent(tagTEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    // A tree node becomes the last child node; any other control joins the
    // node's own children, as the row does.
    bool Add(CControlUI* pControl) override;
    // A tree node becomes the child node at iIndex, or the last one when
    // there is none at iIndex.
    bool AddAt(CControlUI* pControl, int iIndex) override;
    // Only child nodes, never the node's own row: see RemoveAt.
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;
    // The child node leaves with all its descendants: their rows are deleted,
    // or, when this node is no row of a view, the nodes themselves.
    bool RemoveAt(CTreeNodeUI* pNode);
    // The item text takes the selected or the normal item colour.
    bool Select(bool bSelect = true) override;

    // The node must be no row of a view, in no container and no other
    // node's child, nor this node or one of its ancestors. Its row and those of its descendants go
    // after the rows of this node's subtree; it is indented under this node
    // only once it is in, and a failure changes nothing.
    bool AddChildNode(CTreeNodeUI* pNode);

    // The row and its parts; null when memory ran out as the node was made.
    CHorizontalLayoutUI* GetTreeNodeHoriznotal() const;
    CCheckBoxUI* GetFolderButton() const;
    CLabelUI* GetDottedLine() const;
    CCheckBoxUI* GetCheckBox() const;
    COptionUI* GetItemButton() const;

    void SetItemText(const wchar_t* pstrValue);
    CSkinString GetItemText() const;
    // "selectchanged" when the state changes.
    void CheckBoxSelected(bool bSelected);
    bool IsCheckBoxSelected() const;
    void SetVisibleFolderBtn(bool bIsVisible);
    bool GetVisibleFolderBtn() const;
    void SetVisibleCheckBtn(bool bIsVisible);
    bool GetVisibleCheckBtn() const;
    // The expanded state as the view last set it.
    void SetVisibleTag(bool bIsVisible);
    bool GetVisibleTag() const;

    // Only a parent that lists the node, or none, is taken.
    void SetParentNode(CTreeNodeUI* pParentTreeNode);
    CTreeNodeUI* GetParentNode() const;
    // The view whose row the node is, null while it is none.
    void SetTreeView(CTreeViewUI* pTreeView);
    CTreeViewUI* GetTreeView() const;

    bool IsHasChild() const;
    long GetCountChild() const;
    // Null outside 0 to GetCountChild() - 1.
    CTreeNodeUI* GetChildNode(int iIndex) const;
    // A copy of the child list.
    CStdPtrArray GetTreeNodes() const;
    // The node's row index in its view; -1 without one.
    int GetTreeIndex() const;
    // The index among its parent's children; without a parent the row index.
    int GetNodeIndex() const;

    // The item text's colour now and when the node gets deselected.
    void SetItemTextColor(DWORD dwItemTextColor);
    DWORD GetItemTextColor() const;
    void SetItemHotTextColor(DWORD dwItemHotTextColor);
    DWORD GetItemHotTextColor() const;
    void SetSelItemTextColor(DWORD dwSelItemTextColor);
    DWORD GetSelItemTextColor() const;
    void SetSelItemHotTextColor(DWORD dwSelHotItemTextColor);
    DWORD GetSelItemHotTextColor() const;

private:
    friend class CTreeViewUI;

    // Puts a part into the row; one that cannot go there is deleted.
    template <class TPart> void MountPart(TPart*& pPart);
    // The node when the control answers "TreeNode", else null ...
    static CTreeNodeUI* FromInterface(CControlUI* pControl);
    // ... and when its class is this class's.
    static CTreeNodeUI* FromClass(CControlUI* pControl);
    // The node whose row holds the part.
    static CTreeNodeUI* FromPart(CControlUI* pPart);
    // True while the node is listed as a child of its parent node.
    bool IsListedChild() const;
    // True when no node of the subtree is a row of a view or held by a
    // container: a node held twice would be deleted twice.
    bool IsFreeSubtree();
    // True when pNode is this node or one of its descendants.
    bool HoldsInSubtree(const CTreeNodeUI* pNode) const;
    // Checked: the node's children are hidden.
    bool IsFolderClosed() const;
    int GetIndentWidth() const;
    // The last node of the subtree in depth-first order: this one when it has no children.
    CTreeNodeUI* GetLastNode();
    bool InsertChild(CTreeNodeUI* pNode, int iIndex);
    // Indents the node and its descendants under this node, records the
    // parents and gives their item buttons this node's option group.
    void CalLocation(CTreeNodeUI* pNode);
    void SetItemButtonColor(DWORD dwColor);

    bool m_bIsVisable;
    DWORD m_dwItemTextColor;
    DWORD m_dwItemHotTextColor;
    DWORD m_dwSelItemTextColor;
    DWORD m_dwSelItemHotTextColor;
    CTreeViewUI* m_pTreeView;             // not owned
    CHorizontalLayoutUI* m_pHoriz;        // the node's container child, destroyed with it
    CCheckBoxUI* m_pFolderButton;         // in the row
    CLabelUI* m_pDottedLine;              // in the row
    CCheckBoxUI* m_pCheckBox;             // in the row
    COptionUI* m_pItemButton;             // in the row
    CTreeNodeUI* m_pParentTreeNode;       // not owned
    CStdPtrArray m_aTreeNodes;            // CTreeNodeUI*, in display order
};

} // namespace SkinLib
