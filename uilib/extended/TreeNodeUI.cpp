// CTreeNodeUI, one node of a tree view:
//   - construction, identity and the row's parts
//   - the hierarchy: child nodes added and removed, with their rows in the view
//   - input and the item text's colours
//   - skin attributes
#include "extended/TreeNodeUI.h"

#include <wchar.h>

#include <new>

#include "controls/HorizontalLayoutUI.h"
#include "controls/LabelUI.h"
#include "controls/OptionUI.h"
#include "core/AttributeValue.h"
#include "extended/TreeViewUI.h"

namespace SkinLib {

namespace {

const int kNodeWidth = 250;
const int kNodeHeight = 18;
// The hidden spacer of a top-level node, and the step of every level below.
const int kTopIndent = 2;
const int kIndentStep = 16;

} // namespace

CTreeNodeUI::CTreeNodeUI(CTreeNodeUI* pParentNode)
    : m_bIsVisable(true), m_dwItemTextColor(0), m_dwItemHotTextColor(0), m_dwSelItemTextColor(0),
      m_dwSelItemHotTextColor(0), m_pTreeView(NULL), m_pHoriz(new (std::nothrow) CHorizontalLayoutUI),
      m_pFolderButton(new (std::nothrow) CCheckBoxUI), m_pDottedLine(new (std::nothrow) CLabelUI),
      m_pCheckBox(new (std::nothrow) CCheckBoxUI), m_pItemButton(new (std::nothrow) COptionUI),
      m_pParentTreeNode(NULL)
{
    SetFixedWidth(kNodeWidth);
    SetFixedHeight(kNodeHeight);
    if (m_pFolderButton != NULL) m_pFolderButton->SetFixedWidth(kNodeHeight);
    if (m_pCheckBox != NULL) {
        m_pCheckBox->SetFixedWidth(kNodeHeight);
        m_pCheckBox->SetVisible(false);
    }
    if (m_pDottedLine != NULL) {
        m_pDottedLine->SetFixedWidth(kTopIndent);
        m_pDottedLine->SetVisible(false);
    }
    if (m_pItemButton != NULL) {
        m_pItemButton->SetAttribute(L"align", L"left");
        m_pItemButton->SetMouseEnabled(false);
    }
    // Indented under the parent now; its parent only once the parent lists
    // it, so that the node never reads a parent that may be gone by then.
    if (FromClass(pParentNode) != NULL && m_pDottedLine != NULL) {
        m_pDottedLine->SetVisible(pParentNode->IsVisible());
        m_pDottedLine->SetFixedWidth(pParentNode->GetIndentWidth() + kIndentStep);
    }
    // What could not be made, or has no row to go into, is missing: the
    // node then shows less, and its operations leave those parts out.
    MountPart(m_pDottedLine);
    MountPart(m_pFolderButton);
    MountPart(m_pCheckBox);
    MountPart(m_pItemButton);
    if (m_pHoriz != NULL && !CContainerUI::Add(m_pHoriz)) {
        delete m_pHoriz;
        m_pHoriz = NULL;
        m_pDottedLine = NULL;
        m_pFolderButton = m_pCheckBox = NULL;
        m_pItemButton = NULL;
    }
}

template <class TPart>
void CTreeNodeUI::MountPart(TPart*& pPart)
{
    if (pPart == NULL || (m_pHoriz != NULL && m_pHoriz->Add(pPart))) return;
    delete pPart;
    pPart = NULL;
}

CTreeNodeUI::~CTreeNodeUI()
{
    // A program may delete the nodes of a free subtree one by one, in any
    // order: none may be left naming a node that is gone.
    if (m_pParentTreeNode != NULL) {
        CStdPtrArray& aSiblings = m_pParentTreeNode->m_aTreeNodes;
        aSiblings.Remove(aSiblings.Find(this));
    }
    // The rows of a view are its list's to delete; a free subtree is its root's.
    while (!m_aTreeNodes.IsEmpty()) {
        CTreeNodeUI* pChild = GetChildNode(m_aTreeNodes.GetSize() - 1);
        m_aTreeNodes.Remove(m_aTreeNodes.GetSize() - 1);
        pChild->m_pParentTreeNode = NULL;
        if (m_pTreeView == NULL) delete pChild;
    }
}

const wchar_t* CTreeNodeUI::GetClass() const
{
    return L"TreeNodeUI";
}

void* CTreeNodeUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"TreeNode") == 0) return this;
    return CListContainerElementUI::GetInterface(pstrName);
}

CTreeNodeUI* CTreeNodeUI::FromInterface(CControlUI* pControl)
{
    return pControl != NULL ? static_cast<CTreeNodeUI*>(pControl->GetInterface(L"TreeNode")) : NULL;
}

CTreeNodeUI* CTreeNodeUI::FromPart(CControlUI* pPart)
{
    CControlUI* pRow = pPart != NULL ? pPart->GetParent() : NULL;
    return FromInterface(pRow != NULL ? pRow->GetParent() : NULL);
}

CTreeNodeUI* CTreeNodeUI::FromClass(CControlUI* pControl)
{
    if (pControl == NULL || _wcsicmp(pControl->GetClass(), L"TreeNodeUI") != 0) return NULL;
    return FromInterface(pControl);
}

CHorizontalLayoutUI* CTreeNodeUI::GetTreeNodeHoriznotal() const { return m_pHoriz; }
CCheckBoxUI* CTreeNodeUI::GetFolderButton() const { return m_pFolderButton; }
CLabelUI* CTreeNodeUI::GetDottedLine() const { return m_pDottedLine; }
CCheckBoxUI* CTreeNodeUI::GetCheckBox() const { return m_pCheckBox; }
COptionUI* CTreeNodeUI::GetItemButton() const { return m_pItemButton; }

void CTreeNodeUI::SetItemText(const wchar_t* pstrValue)
{
    if (m_pItemButton != NULL) m_pItemButton->SetText(pstrValue);
}

CSkinString CTreeNodeUI::GetItemText() const
{
    return m_pItemButton != NULL ? m_pItemButton->GetText() : CSkinString();
}

void CTreeNodeUI::CheckBoxSelected(bool bSelected)
{
    if (m_pCheckBox != NULL) m_pCheckBox->Selected(bSelected);
}

bool CTreeNodeUI::IsCheckBoxSelected() const
{
    return m_pCheckBox != NULL && m_pCheckBox->IsSelected();
}

void CTreeNodeUI::SetVisibleFolderBtn(bool bIsVisible)
{
    if (m_pFolderButton != NULL) m_pFolderButton->SetVisible(bIsVisible);
}

bool CTreeNodeUI::GetVisibleFolderBtn() const
{
    return m_pFolderButton != NULL && m_pFolderButton->IsVisible();
}

void CTreeNodeUI::SetVisibleCheckBtn(bool bIsVisible)
{
    if (m_pCheckBox != NULL) m_pCheckBox->SetVisible(bIsVisible);
}

bool CTreeNodeUI::GetVisibleCheckBtn() const
{
    return m_pCheckBox != NULL && m_pCheckBox->IsVisible();
}

void CTreeNodeUI::SetVisibleTag(bool bIsVisible)
{
    m_bIsVisable = bIsVisible;
}

bool CTreeNodeUI::GetVisibleTag() const
{
    return m_bIsVisable;
}

bool CTreeNodeUI::IsFolderClosed() const
{
    return m_pFolderButton != NULL && m_pFolderButton->IsSelected();
}

int CTreeNodeUI::GetIndentWidth() const
{
    return m_pDottedLine != NULL ? m_pDottedLine->GetFixedWidth() : kTopIndent;
}

// ---------------------------------------------------------------------------
// The hierarchy

void CTreeNodeUI::SetParentNode(CTreeNodeUI* pParentTreeNode)
{
    if (pParentTreeNode == NULL || pParentTreeNode->m_aTreeNodes.Find(this) >= 0) m_pParentTreeNode = pParentTreeNode;
}

CTreeNodeUI* CTreeNodeUI::GetParentNode() const
{
    return m_pParentTreeNode;
}

void CTreeNodeUI::SetTreeView(CTreeViewUI* pTreeView)
{
    m_pTreeView = pTreeView;
}

CTreeViewUI* CTreeNodeUI::GetTreeView() const
{
    return m_pTreeView;
}

bool CTreeNodeUI::IsHasChild() const
{
    return !m_aTreeNodes.IsEmpty();
}

long CTreeNodeUI::GetCountChild() const
{
    return m_aTreeNodes.GetSize();
}

CTreeNodeUI* CTreeNodeUI::GetChildNode(int iIndex) const
{
    return static_cast<CTreeNodeUI*>(m_aTreeNodes.GetAt(iIndex));
}

CStdPtrArray CTreeNodeUI::GetTreeNodes() const
{
    return m_aTreeNodes;
}

int CTreeNodeUI::GetTreeIndex() const
{
    return m_pTreeView != NULL ? m_pTreeView->GetItemIndex(const_cast<CTreeNodeUI*>(this)) : -1;
}

int CTreeNodeUI::GetNodeIndex() const
{
    if (m_pParentTreeNode != NULL) return m_pParentTreeNode->m_aTreeNodes.Find(this);
    return GetTreeIndex();
}

bool CTreeNodeUI::IsListedChild() const
{
    return m_pParentTreeNode != NULL && m_pParentTreeNode->m_aTreeNodes.Find(this) >= 0;
}

// Walks the child lists, not the parent links, which a program may set.
bool CTreeNodeUI::HoldsInSubtree(const CTreeNodeUI* pNode) const
{
    if (pNode == this) return true;
    for (int i = 0; i < m_aTreeNodes.GetSize(); i++) {
        if (GetChildNode(i)->HoldsInSubtree(pNode)) return true;
    }
    return false;
}

CTreeNodeUI* CTreeNodeUI::GetLastNode()
{
    CTreeNodeUI* pLast = this;
    while (pLast->IsHasChild()) pLast = pLast->GetChildNode(pLast->GetCountChild() - 1);
    return pLast;
}

bool CTreeNodeUI::Add(CControlUI* pControl)
{
    if (CTreeNodeUI* pNode = FromClass(pControl)) return AddChildNode(pNode);
    return CContainerUI::Add(pControl);
}

bool CTreeNodeUI::AddAt(CControlUI* pControl, int iIndex)
{
    CTreeNodeUI* pNode = FromInterface(pControl);
    return pNode != NULL && InsertChild(pNode, iIndex);
}

bool CTreeNodeUI::AddChildNode(CTreeNodeUI* pNode)
{
    return FromClass(pNode) != NULL && InsertChild(pNode, m_aTreeNodes.GetSize());
}

bool CTreeNodeUI::IsFreeSubtree()
{
    if (m_pTreeView != NULL || GetParent() != NULL) return false;
    for (int i = 0; i < m_aTreeNodes.GetSize(); i++) {
        if (!GetChildNode(i)->IsFreeSubtree()) return false;
    }
    return true;
}

bool CTreeNodeUI::InsertChild(CTreeNodeUI* pNode, int iIndex)
{
    if (!pNode->IsFreeSubtree() || pNode->IsListedChild() || pNode->HoldsInSubtree(this)) return false;
    const bool bAppend = iIndex < 0 || iIndex >= m_aTreeNodes.GetSize();
    if (bAppend) iIndex = m_aTreeNodes.GetSize();
    // The rows go after those of this node's subtree, or before those of the
    // child the node goes before.
    int iRow = -1;
    if (m_pTreeView != NULL) {
        iRow = bAppend ? m_pTreeView->GetItemIndex(GetLastNode()) : GetChildNode(iIndex)->GetTreeIndex();
        if (iRow < 0) return false;
        if (bAppend) ++iRow;
    }
    if (!m_aTreeNodes.InsertAt(iIndex, pNode)) return false;
    int iSelected = -1;
    if (m_pTreeView != NULL && m_pTreeView->InsertRows(pNode, iRow, this, iSelected) < 0) {
        m_aTreeNodes.Remove(iIndex);
        return false;
    }
    CalLocation(pNode);
    // Last: a handler of the selection may take the node out again.
    if (iSelected >= 0) m_pTreeView->SelectItem(iSelected);
    return true;
}

void CTreeNodeUI::CalLocation(CTreeNodeUI* pNode)
{
    if (pNode->m_pDottedLine != NULL) {
        pNode->m_pDottedLine->SetVisible(true);
        pNode->m_pDottedLine->SetFixedWidth(GetIndentWidth() + kIndentStep);
    }
    pNode->m_pParentTreeNode = this;
    if (pNode->m_pItemButton != NULL && m_pItemButton != NULL) pNode->m_pItemButton->SetGroup(m_pItemButton->GetGroup());
    // A subtree built before it came here follows its root.
    for (int i = 0; i < pNode->m_aTreeNodes.GetSize(); i++) pNode->CalLocation(pNode->GetChildNode(i));
}

bool CTreeNodeUI::Remove(CControlUI* pControl)
{
    CTreeNodeUI* pNode = FromInterface(pControl);
    return pNode != NULL && RemoveAt(pNode);
}

bool CTreeNodeUI::RemoveAt(int iIndex)
{
    CTreeNodeUI* pNode = GetChildNode(iIndex);
    return pNode != NULL && RemoveAt(pNode);
}

void CTreeNodeUI::RemoveAll()
{
    while (IsHasChild()) RemoveAt(GetChildNode(0));
}

bool CTreeNodeUI::RemoveAt(CTreeNodeUI* pNode)
{
    const int iIndex = m_aTreeNodes.Find(pNode);
    if (iIndex < 0) return false;
    m_aTreeNodes.Remove(iIndex);
    pNode->m_pParentTreeNode = NULL;
    if (m_pTreeView != NULL) m_pTreeView->RemoveRows(pNode);
    else delete pNode;
    return true;
}

// ---------------------------------------------------------------------------
// Input and the item text's colours

bool CTreeNodeUI::Select(bool bSelect)
{
    const bool bResult = CListContainerElementUI::Select(bSelect);
    SetItemButtonColor(m_bSelected ? m_dwSelItemTextColor : m_dwItemTextColor);
    return bResult;
}

void CTreeNodeUI::SetItemButtonColor(DWORD dwColor)
{
    if (m_pItemButton != NULL) m_pItemButton->SetTextColor(dwColor);
}

void CTreeNodeUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseToOwner(event)) return;
    IListOwnerUI* const pOwner = m_pOwner;
    CListContainerElementUI::DoEvent(event);
    // Taken out of its view by a handler of the click or the activation, the node is done with this event.
    if (m_pOwner != pOwner) return;
    const DWORD dwDisabled = m_pItemButton != NULL ? m_pItemButton->GetDisabledTextColor() : 0;
    switch (event.nEventType) {
    case SKIN_EVT_DBLCLICK:
        if (!IsEnabled()) break;
        if (m_pManager != NULL) m_pManager->SendNotify(this, L"itemdbclick");
        Invalidate();
        break;
    case SKIN_EVT_MOUSEENTER:
        if (!IsEnabled()) SetItemButtonColor(dwDisabled);
        else if (m_bSelected && m_dwSelItemHotTextColor != 0) SetItemButtonColor(m_dwSelItemHotTextColor);
        else SetItemButtonColor(m_dwItemHotTextColor);
        break;
    case SKIN_EVT_MOUSELEAVE:
        // A selected node without a selected colour keeps the one it has.
        if (!IsEnabled()) SetItemButtonColor(dwDisabled);
        else if (!m_bSelected) SetItemButtonColor(m_dwItemTextColor);
        else if (m_dwSelItemTextColor != 0) SetItemButtonColor(m_dwSelItemTextColor);
        break;
    default:
        break;
    }
}

void CTreeNodeUI::SetItemTextColor(DWORD dwItemTextColor)
{
    m_dwItemTextColor = dwItemTextColor;
    SetItemButtonColor(dwItemTextColor);
}

DWORD CTreeNodeUI::GetItemTextColor() const
{
    return m_dwItemTextColor;
}

void CTreeNodeUI::SetItemHotTextColor(DWORD dwItemHotTextColor)
{
    m_dwItemHotTextColor = dwItemHotTextColor;
    Invalidate();
}

DWORD CTreeNodeUI::GetItemHotTextColor() const
{
    return m_dwItemHotTextColor;
}

void CTreeNodeUI::SetSelItemTextColor(DWORD dwSelItemTextColor)
{
    m_dwSelItemTextColor = dwSelItemTextColor;
    Invalidate();
}

DWORD CTreeNodeUI::GetSelItemTextColor() const
{
    return m_dwSelItemTextColor;
}

void CTreeNodeUI::SetSelItemHotTextColor(DWORD dwSelHotItemTextColor)
{
    m_dwSelItemHotTextColor = dwSelHotItemTextColor;
    Invalidate();
}

DWORD CTreeNodeUI::GetSelItemHotTextColor() const
{
    return m_dwSelItemHotTextColor;
}

// ---------------------------------------------------------------------------
// Skin attributes

void CTreeNodeUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    auto applyTo = [pstrValue](CControlUI* pPart) {
        if (pPart != NULL) pPart->ApplyAttributeList(pstrValue);
    };
    if (is(L"text")) SetItemText(pstrValue);
    else if (is(L"horizattr")) applyTo(m_pHoriz);
    else if (is(L"dotlineattr")) applyTo(m_pDottedLine);
    else if (is(L"folderattr")) applyTo(m_pFolderButton);
    else if (is(L"checkboxattr")) applyTo(m_pCheckBox);
    else if (is(L"itemattr")) applyTo(m_pItemButton);
    else if (is(L"itemtextcolor")) SetItemTextColor(ParseColorValue(pstrValue));
    else if (is(L"itemhottextcolor")) SetItemHotTextColor(ParseColorValue(pstrValue));
    else if (is(L"selitemtextcolor")) SetSelItemTextColor(ParseColorValue(pstrValue));
    else if (is(L"selitemhottextcolor")) SetSelItemHotTextColor(ParseColorValue(pstrValue));
    else CListContainerElementUI::SetAttribute(pstrName, pstrValue);
}

} // namespace SkinLib
