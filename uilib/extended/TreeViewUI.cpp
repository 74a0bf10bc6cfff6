// CTreeViewUI, the tree view:
//   - construction, identity and skin attributes
//   - rows: subtrees taken in and taken out, and the container interface
//   - the hooks: folder buttons, check boxes and double clicks
//   - what the view gives every row
#include "extended/TreeViewUI.h"

#include <wchar.h>

#include "controls/OptionUI.h"
#include "core/AttributeValue.h"
#include "extended/ListBodyUI.h"
#include "extended/ListHeaderUI.h"
#include "extended/TreeNodeUI.h"

namespace SkinLib {

namespace {

typedef CDelegate<CTreeViewUI, CTreeViewUI> CTreeViewDelegate;

// Calls visit with the node and then each of its descendants, depth-first,
// until one answers false; false when one did.
template <class Visit> bool VisitSubtree(CTreeNodeUI* pNode, Visit& visit)
{
    if (!visit(pNode)) return false;
    for (int i = 0; i < pNode->GetCountChild(); i++) {
        if (!VisitSubtree(pNode->GetChildNode(i), visit)) return false;
    }
    return true;
}

// The same with every node's descendants before the node, so that visit may
// take a node out of the tree once its own are done.
template <class Visit> void VisitSubtreeChildrenFirst(CTreeNodeUI* pNode, Visit& visit)
{
    for (int i = 0; i < pNode->GetCountChild(); i++) VisitSubtreeChildrenFirst(pNode->GetChildNode(i), visit);
    visit(pNode);
}

COptionUI* AsOption(CControlUI* pControl)
{
    return pControl != NULL ? static_cast<COptionUI*>(pControl->GetInterface(L"Option")) : NULL;
}

} // namespace

CTreeViewUI::CTreeViewUI() : m_uItemMinWidth(0), m_bVisibleFolderBtn(true), m_bVisibleCheckBtn(false)
{
    if (GetHeader() != NULL) GetHeader()->SetVisible(false);
}

CTreeViewUI::~CTreeViewUI()
{
    // Rows the body outlives the view with must not call back into it.
    if (m_pList != NULL && !m_pList->IsAutoDestroy()) ForEachNodeRow([this](CTreeNodeUI* pRow) { LetGo(pRow); });
}

const wchar_t* CTreeViewUI::GetClass() const
{
    return L"TreeViewUI";
}

void* CTreeViewUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"TreeView") == 0) return this;
    return CListUI::GetInterface(pstrName);
}

void CTreeViewUI::Notify(tagTNotifyUI& msg)
{
}

CTreeNodeUI* CTreeViewUI::NodeAt(int iIndex) const
{
    return CTreeNodeUI::FromInterface(GetItemAt(iIndex));
}

// The count is read on every step: a listener of what apply changes may remove rows.
template <class Apply> void CTreeViewUI::ForEachNodeRow(Apply apply) const
{
    for (int i = 0; i < GetCount(); i++) {
        if (CTreeNodeUI* pRow = NodeAt(i)) apply(pRow);
    }
}

// ---------------------------------------------------------------------------
// Rows

bool CTreeViewUI::Add(CControlUI* pControl)
{
    CTreeNodeUI* pNode = CTreeNodeUI::FromInterface(pControl);
    return pNode != NULL ? Add(pNode) : CListUI::Add(pControl);
}

bool CTreeViewUI::AddAt(CControlUI* pControl, int iIndex)
{
    CTreeNodeUI* pNode = CTreeNodeUI::FromInterface(pControl);
    return pNode != NULL ? AddAt(pNode, iIndex) >= 0 : CListUI::AddAt(pControl, iIndex);
}

bool CTreeViewUI::Remove(CControlUI* pControl)
{
    CTreeNodeUI* pNode = CTreeNodeUI::FromInterface(pControl);
    return pNode != NULL && pNode->GetTreeView() == this ? Remove(pNode) : CListUI::Remove(pControl);
}

bool CTreeViewUI::RemoveAt(int iIndex)
{
    CTreeNodeUI* pNode = NodeAt(iIndex);
    return pNode != NULL && pNode->GetTreeView() == this ? Remove(pNode) : CListUI::RemoveAt(iIndex);
}

bool CTreeViewUI::Add(CTreeNodeUI* pControl)
{
    return AddSubtree(CTreeNodeUI::FromClass(pControl), GetCount()) >= 0;
}

long CTreeViewUI::AddAt(CTreeNodeUI* pControl, int iIndex)
{
    return GetItemAt(iIndex) != NULL ? AddSubtree(CTreeNodeUI::FromClass(pControl), iIndex) : -1;
}

// A listed child enters with its parent, never on its own.
int CTreeViewUI::AddSubtree(CTreeNodeUI* pNode, int iIndex)
{
    if (pNode == NULL || pNode->IsListedChild()) return -1;
    int iSelected = -1;
    const int iEnd = InsertRows(pNode, iIndex, NULL, iSelected);
    // Last: a handler of the selection may take the rows out again.
    if (iSelected >= 0) SelectItem(iSelected);
    return iEnd;
}

bool CTreeViewUI::AddAt(CTreeNodeUI* pControl, CTreeNodeUI* pIndexNode)
{
    const int iIndex = pIndexNode != NULL ? GetItemIndex(pIndexNode) : -1;
    return iIndex >= 0 && AddAt(pControl, iIndex) >= 0;
}

bool CTreeViewUI::Remove(CTreeNodeUI* pControl)
{
    if (pControl == NULL || pControl->GetTreeView() != this || GetItemIndex(pControl) < 0) return false;
    // A listed child leaves its parent's list first, which then comes back here.
    CTreeNodeUI* pParent = pControl->GetParentNode();
    if (pParent != NULL && pParent->RemoveAt(pControl)) return true;
    RemoveRows(pControl);
    return true;
}

int CTreeViewUI::InsertRows(CTreeNodeUI* pNode, int iIndex, CTreeNodeUI* pParent, int& iSelected)
{
    iSelected = -1;
    if (m_pList == NULL || iIndex < 0 || iIndex > GetCount() || !pNode->IsFreeSubtree()) return -1;
    int iEnd = iIndex;
    auto insert = [this, pNode, pParent, &iEnd, &iSelected](CTreeNodeUI* p) {
        // Rows arrive unselected; of the nodes selected before they came, the
        // last one shown is to be the view's selection.
        const bool bSelected = p->IsSelected();
        if (!(iEnd == GetCount() ? CListUI::Add(p) : CListUI::AddAt(p, iEnd))) return false;
        // Under a collapsed or hidden node a node starts hidden.
        CTreeNodeUI* pAbove = p == pNode ? pParent : p->GetParentNode();
        if (pAbove != NULL && (!pAbove->IsVisible() || pAbove->IsFolderClosed())) p->SetVisible(false);
        else if (bSelected) iSelected = iEnd;
        ++iEnd;
        return true;
    };
    if (!VisitSubtree(pNode, insert)) {
        // Taken back out without being deleted: they are still the caller's.
        const bool bAutoDestroy = m_pList->IsAutoDestroy();
        m_pList->SetAutoDestroy(false);
        RemoveItems(iIndex, iEnd - iIndex);
        m_pList->SetAutoDestroy(bAutoDestroy);
        iSelected = -1;
        return -1;
    }
    for (int i = iIndex; i < iEnd; i++) Hook(NodeAt(i));
    return iEnd;
}

// The rows go in one run, so that the selection moves once, after all are
// out: a handler of it may take rows out itself.
void CTreeViewUI::RemoveRows(CTreeNodeUI* pNode)
{
    // The subtree's rows lie together, unless a program moved or sorted them;
    // then they are gathered at the first of them.
    int iFirst = GetItemIndex(pNode);
    int nRows = 0;
    auto inPlace = [this, iFirst, &nRows](CTreeNodeUI* p) { return GetItemAt(iFirst + nRows++) == p; };
    if (iFirst < 0 || !VisitSubtree(pNode, inPlace)) {
        iFirst = GetCount();
        auto first = [this, &iFirst](CTreeNodeUI* p) {
            const int iRow = GetItemIndex(p);
            if (iRow >= 0 && iRow < iFirst) iFirst = iRow;
            return true;
        };
        VisitSubtree(pNode, first);
        nRows = 0;
        auto gather = [this, iFirst, &nRows](CTreeNodeUI* p) {
            if (GetItemIndex(p) >= 0) SetItemIndex(p, iFirst + nRows++);
            return true;
        };
        VisitSubtree(pNode, gather);
    }
    auto letGo = [this](CTreeNodeUI* p) { LetGo(p); };
    VisitSubtreeChildrenFirst(pNode, letGo);
    RemoveItems(iFirst, nRows);
}

void CTreeViewUI::RemoveAll()
{
    ForEachNodeRow([this](CTreeNodeUI* pRow) { LetGo(pRow); });
    CListUI::RemoveAll();
}

// The view hears the node no more. Rows the body deletes leave as strangers,
// so that none deletes another; rows it lets go keep their subtree, which is
// free again and its root's, as any node outside a view.
void CTreeViewUI::LetGo(CTreeNodeUI* pNode)
{
    Unhook(pNode);
    if (m_pList == NULL || !m_pList->IsAutoDestroy()) return;
    pNode->m_aTreeNodes.Empty();
    pNode->SetParentNode(NULL);
}

void CTreeViewUI::Hook(CTreeNodeUI* pNode)
{
    pNode->SetTreeView(this);
    pNode->OnNotify += CTreeViewDelegate(this, &CTreeViewUI::OnDBClickItem);
    if (CCheckBoxUI* pFolder = pNode->GetFolderButton()) {
        pFolder->OnNotify += CTreeViewDelegate(this, &CTreeViewUI::OnFolderChanged);
    }
    if (CCheckBoxUI* pCheckBox = pNode->GetCheckBox()) {
        pCheckBox->OnNotify += CTreeViewDelegate(this, &CTreeViewUI::OnCheckBoxChanged);
    }
    pNode->SetVisibleFolderBtn(m_bVisibleFolderBtn);
    pNode->SetVisibleCheckBtn(m_bVisibleCheckBtn);
    if (m_uItemMinWidth != 0) pNode->SetMinWidth(ClampToInt(m_uItemMinWidth));
}

void CTreeViewUI::Unhook(CTreeNodeUI* pNode)
{
    pNode->SetTreeView(NULL);
    pNode->OnNotify -= CTreeViewDelegate(this, &CTreeViewUI::OnDBClickItem);
    if (CCheckBoxUI* pFolder = pNode->GetFolderButton()) {
        pFolder->OnNotify -= CTreeViewDelegate(this, &CTreeViewUI::OnFolderChanged);
    }
    if (CCheckBoxUI* pCheckBox = pNode->GetCheckBox()) {
        pCheckBox->OnNotify -= CTreeViewDelegate(this, &CTreeViewUI::OnCheckBoxChanged);
    }
}

// ---------------------------------------------------------------------------
// The hooks

bool CTreeViewUI::OnCheckBoxChanged(void* param)
{
    tagTNotifyUI* pMsg = static_cast<tagTNotifyUI*>(param);
    if (pMsg->sNotifyType != L"selectchanged") return true;
    COptionUI* pCheckBox = AsOption(pMsg->pSenderControl);
    CTreeNodeUI* pNode = CTreeNodeUI::FromPart(pMsg->pSenderControl);
    if (pCheckBox != NULL && pNode != NULL) SetItemCheckBox(pCheckBox->IsSelected(), pNode);
    return true;
}

bool CTreeViewUI::OnFolderChanged(void* param)
{
    tagTNotifyUI* pMsg = static_cast<tagTNotifyUI*>(param);
    if (pMsg->sNotifyType != L"selectchanged") return true;
    COptionUI* pFolder = AsOption(pMsg->pSenderControl);
    CTreeNodeUI* pNode = CTreeNodeUI::FromPart(pMsg->pSenderControl);
    if (pFolder == NULL || pNode == NULL) return true;
    pNode->SetVisibleTag(!pFolder->IsSelected());
    SetItemExpand(!pFolder->IsSelected(), pNode);
    return true;
}

bool CTreeViewUI::OnDBClickItem(void* param)
{
    tagTNotifyUI* pMsg = static_cast<tagTNotifyUI*>(param);
    if (pMsg->sNotifyType != L"itemdbclick") return true;
    CTreeNodeUI* pNode = CTreeNodeUI::FromInterface(pMsg->pSenderControl);
    CCheckBoxUI* pFolder = pNode != NULL ? pNode->GetFolderButton() : NULL;
    if (pFolder == NULL) return true;
    pFolder->Selected(!pFolder->IsSelected());
    // A handler of the change may have taken the node out of the view.
    if (pNode->GetTreeView() != this) return true;
    pNode->SetVisibleTag(!pFolder->IsSelected());
    SetItemExpand(!pFolder->IsSelected(), pNode);
    return true;
}

bool CTreeViewUI::SetItemCheckBox(bool bSelected, CTreeNodeUI* pTreeNode)
{
    CInvalidateBatch batch(m_pManager);
    if (pTreeNode == NULL) {
        ForEachNodeRow([bSelected](CTreeNodeUI* pRow) { pRow->CheckBoxSelected(bSelected); });
        return true;
    }
    // A listener may take nodes away as their boxes change: the list is read
    // anew each step, and what is no longer listed here, or no longer in
    // the view, is left alone.
    CTreeViewUI* const pView = pTreeNode->GetTreeView();
    for (int i = 0; i < pTreeNode->GetCountChild() && pTreeNode->GetTreeView() == pView; i++) {
        CTreeNodeUI* pChild = pTreeNode->GetChildNode(i);
        pChild->CheckBoxSelected(bSelected);
        if (pTreeNode->GetChildNode(i) == pChild && pChild->IsHasChild()) SetItemCheckBox(bSelected, pChild);
    }
    return true;
}

void CTreeViewUI::SetItemExpand(bool bExpanded, CTreeNodeUI* pTreeNode)
{
    CInvalidateBatch batch(m_pManager);
    if (pTreeNode == NULL) {
        for (int i = 0; i < GetCount(); i++) GetItemAt(i)->SetVisible(bExpanded);
        return;
    }
    for (int i = 0; i < pTreeNode->GetCountChild(); i++) {
        CTreeNodeUI* pChild = pTreeNode->GetChildNode(i);
        pChild->SetVisible(bExpanded);
        if (pChild->IsHasChild() && !pChild->IsFolderClosed()) SetItemExpand(bExpanded, pChild);
    }
}

// ---------------------------------------------------------------------------
// What the view gives every row

void CTreeViewUI::SetVisibleFolderBtn(bool bIsVisible)
{
    m_bVisibleFolderBtn = bIsVisible;
    ForEachNodeRow([bIsVisible](CTreeNodeUI* pRow) { pRow->SetVisibleFolderBtn(bIsVisible); });
}

bool CTreeViewUI::GetVisibleFolderBtn() const
{
    return m_bVisibleFolderBtn;
}

void CTreeViewUI::SetVisibleCheckBtn(bool bIsVisible)
{
    m_bVisibleCheckBtn = bIsVisible;
    ForEachNodeRow([bIsVisible](CTreeNodeUI* pRow) { pRow->SetVisibleCheckBtn(bIsVisible); });
}

bool CTreeViewUI::GetVisibleCheckBtn() const
{
    return m_bVisibleCheckBtn;
}

void CTreeViewUI::SetItemMinWidth(UINT uItemMinWidth)
{
    m_uItemMinWidth = uItemMinWidth;
    for (int i = 0; i < GetCount(); i++) GetItemAt(i)->SetMinWidth(ClampToInt(uItemMinWidth));
    Invalidate();
}

UINT CTreeViewUI::GetItemMinWidth() const
{
    return m_uItemMinWidth;
}

void CTreeViewUI::SetItemTextColor(DWORD dwItemTextColor)
{
    ForEachNodeRow([dwItemTextColor](CTreeNodeUI* pRow) { pRow->SetItemTextColor(dwItemTextColor); });
}

void CTreeViewUI::SetItemHotTextColor(DWORD dwItemHotTextColor)
{
    ForEachNodeRow([dwItemHotTextColor](CTreeNodeUI* pRow) { pRow->SetItemHotTextColor(dwItemHotTextColor); });
}

void CTreeViewUI::SetSelItemTextColor(DWORD dwSelItemTextColor)
{
    ForEachNodeRow([dwSelItemTextColor](CTreeNodeUI* pRow) { pRow->SetSelItemTextColor(dwSelItemTextColor); });
}

void CTreeViewUI::SetSelItemHotTextColor(DWORD dwSelHotItemTextColor)
{
    ForEachNodeRow([dwSelHotItemTextColor](CTreeNodeUI* pRow) { pRow->SetSelItemHotTextColor(dwSelHotItemTextColor); });
}

// ---------------------------------------------------------------------------
// Skin attributes

void CTreeViewUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    if (is(L"visiblefolderbtn")) SetVisibleFolderBtn(ParseBoolValue(pstrValue));
    else if (is(L"visiblecheckbtn")) SetVisibleCheckBtn(ParseBoolValue(pstrValue));
    else if (is(L"itemminwidth")) SetItemMinWidth(static_cast<UINT>(ParseIntValue(pstrValue)));
    else if (is(L"itemtextcolor")) SetItemTextColor(ParseColorValue(pstrValue));
    else if (is(L"itemhottextcolor")) SetItemHotTextColor(ParseColorValue(pstrValue));
    else if (is(L"selitemtextcolor")) SetSelItemTextColor(ParseColorValue(pstrValue));
    else if (is(L"selitemhottextcolor")) SetSelItemHotTextColor(ParseColorValue(pstrValue));
    else CListUI::SetAttribute(pstrName, pstrValue);
}

} // namespace SkinLib
