// CListUI, the list control:
//   - construction and identity
//   - the child list: headers, header columns and items each where they
//     belong; numbering, and the selection and expanded item kept on their items
//   - selection, expansion, scrolling into view, sorting
//   - input: keys and the wheel
//   - placement: the column rectangles follow the header
//   - what the body does for the list
//   - skin attributes
#include "extended/ListUI.h"

#include <wchar.h>

#include <new>

#include "core/AttributeValue.h"

#include "extended/ListBodyUI.h"
#include "extended/ListHeaderUI.h"

namespace SkinLib {

namespace {

bool IsHeader(CControlUI* pControl)
{
    return pControl->GetInterface(L"ListHeader") != NULL;
}

bool IsHeaderItem(CControlUI* pControl)
{
    return wcsstr(pControl->GetClass(), L"ListHeaderItemUI") != NULL;
}

} // namespace

CListUI::CListUI()
    : m_bScrollSelect(false), m_iCurSel(-1), m_iExpandedItem(-1), m_pTextCallback(NULL),
      m_pList(new (std::nothrow) CListBodyUI(this)), m_pHeader(new (std::nothrow) CListHeaderUI), m_cxColumnShift(0),
      m_bLayingOut(false)
{
    // Child 0 is the header, child 1 the body. A part that could not be made
    // is missing: the list then has no header, or holds no items.
    if (m_pHeader != NULL && !AddHeader(m_pHeader)) {
        delete m_pHeader;
        m_pHeader = NULL;
    }
    if (m_pList != NULL && !CVerticalLayoutUI::Add(m_pList)) {
        delete m_pList;
        m_pList = NULL;
    }
}

CListUI::~CListUI()
{
    // Items the body outlives the list with must not call back into it.
    ForgetListOwners(*this);
}

const wchar_t* CListUI::GetClass() const
{
    return L"ListUI";
}

void* CListUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"List") == 0) return this;
    if (wcscmp(pstrName, L"IList") == 0) return static_cast<IListUI*>(this);
    if (wcscmp(pstrName, L"IListOwner") == 0) return static_cast<IListOwnerUI*>(static_cast<IListUI*>(this));
    return CVerticalLayoutUI::GetInterface(pstrName);
}

UINT CListUI::GetControlFlags() const
{
    return CTLFLAG_TABSTOP;
}

// ---------------------------------------------------------------------------
// The child list

CControlUI* CListUI::GetItemAt(int iIndex) const
{
    return m_pList != NULL ? m_pList->GetItemAt(iIndex) : NULL;
}

int CListUI::GetCount() const
{
    return m_pList != NULL ? m_pList->GetCount() : 0;
}

int CListUI::GetItemIndex(CControlUI* pControl) const
{
    if (pControl == NULL) return -1;
    if (IsHeader(pControl)) return CVerticalLayoutUI::GetItemIndex(pControl);
    if (IsHeaderItem(pControl)) return m_pHeader != NULL ? m_pHeader->GetItemIndex(pControl) : -1;
    return m_pList != NULL ? m_pList->GetItemIndex(pControl) : -1;
}

bool CListUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    if (pControl == NULL) return false;
    if (IsHeader(pControl)) return CVerticalLayoutUI::SetItemIndex(pControl, iIndex);
    if (IsHeaderItem(pControl)) return m_pHeader != NULL && m_pHeader->SetItemIndex(pControl, iIndex);
    if (m_pList == NULL) return false;
    const int iOld = m_pList->GetItemIndex(pControl);
    if (iOld < 0) return false;
    if (iOld == iIndex) return true;
    // The selected and the expanded item keep their state where they go.
    IListItemUI* pSelected = AsListItem(GetItemAt(m_iCurSel));
    IListItemUI* pExpanded = AsListItem(GetItemAt(m_iExpandedItem));
    if (!m_pList->SetItemIndex(pControl, iIndex)) return false;
    RenumberListItems(*this, iOld < iIndex ? iOld : iIndex, iOld < iIndex ? iIndex : iOld);
    if (pSelected != NULL) m_iCurSel = pSelected->GetIndex();
    if (pExpanded != NULL) m_iExpandedItem = pExpanded->GetIndex();
    return true;
}

bool CListUI::Add(CControlUI* pControl)
{
    if (pControl == NULL) return false;
    if (IsHeader(pControl)) return AddHeader(pControl);
    if (IsHeaderItem(pControl)) return AddHeaderItem(pControl, -1);
    // Owned and numbered only once the body has taken it.
    if (m_pList == NULL || !m_pList->Add(pControl)) return false;
    AdoptListItem(*this, GetCount() - 1, this);
    return true;
}

bool CListUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (pControl == NULL) return false;
    if (IsHeader(pControl)) return AddHeader(pControl);
    if (IsHeaderItem(pControl)) return AddHeaderItem(pControl, iIndex);
    if (m_pList == NULL || !m_pList->AddAt(pControl, iIndex)) return false;
    AdoptListItem(*this, iIndex, this);
    RenumberListItems(*this, iIndex + 1, GetCount() - 1);
    if (m_iCurSel >= iIndex) ++m_iCurSel;
    if (m_iExpandedItem >= iIndex) ++m_iExpandedItem;
    return true;
}

// A header goes first among the list's own children. An empty header gives
// way to a new one; a header with columns stays the list's, and the new one
// is only shown above it.
bool CListUI::AddHeader(CControlUI* pHeader)
{
    if (CVerticalLayoutUI::GetItemIndex(pHeader) >= 0) return false;
    if (!CVerticalLayoutUI::AddAt(pHeader, 0)) return false;
    if (pHeader != m_pHeader && (m_pHeader == NULL || m_pHeader->GetCount() == 0)) {
        CListHeaderUI* pOld = m_pHeader;
        m_pHeader = static_cast<CListHeaderUI*>(pHeader->GetInterface(L"ListHeader"));
        if (pOld != NULL) CVerticalLayoutUI::Remove(pOld);
    }
    m_ListInfo.nColumnCount = m_pHeader != NULL ? LimitSize(m_pHeader->GetCount(), 0, tagTListInfoUI::MAX_COLUMNS) : 0;
    return true;
}

bool CListUI::AddHeaderItem(CControlUI* pItem, int iIndex)
{
    if (m_pHeader == NULL) return false;
    const bool bAdded = iIndex < 0 ? m_pHeader->Add(pItem) : m_pHeader->AddAt(pItem, iIndex);
    m_ListInfo.nColumnCount = LimitSize(m_pHeader->GetCount(), 0, tagTListInfoUI::MAX_COLUMNS);
    return bAdded;
}

bool CListUI::Remove(CControlUI* pControl)
{
    if (pControl == NULL) return false;
    if (IsHeader(pControl)) {
        // The list forgets its header rather than keep a pointer to a control it no longer holds.
        if (pControl == m_pHeader && CVerticalLayoutUI::GetItemIndex(pControl) >= 0) {
            m_pHeader = NULL;
            m_ListInfo.nColumnCount = 0;
        }
        return CVerticalLayoutUI::Remove(pControl);
    }
    if (IsHeaderItem(pControl)) return m_pHeader != NULL && m_pHeader->Remove(pControl);
    return m_pList != NULL && RemoveItems(m_pList->GetItemIndex(pControl), 1);
}

bool CListUI::RemoveAt(int iIndex)
{
    return RemoveItems(iIndex, 1);
}

bool CListUI::RemoveItems(int iFirst, int nCount)
{
    if (m_pList == NULL || iFirst < 0 || nCount <= 0 || nCount > GetCount() - iFirst) return false;
    // A removed item no longer belongs to the list, even while its deletion
    // waits: input it still gets must not select whatever now has its index.
    for (int i = iFirst + nCount - 1; i >= iFirst; i--) {
        ForgetListOwner(AsListItem(GetItemAt(i)));
        if (!m_pList->RemoveAt(i)) return false;
    }
    const int iEnd = iFirst + nCount;
    RenumberListItems(*this, iFirst, GetCount() - 1);
    if (m_iExpandedItem >= iEnd) m_iExpandedItem -= nCount;
    else if (m_iExpandedItem >= iFirst) m_iExpandedItem = -1;
    if (m_iCurSel >= iEnd) {
        m_iCurSel -= nCount;
    }
    else if (m_iCurSel >= iFirst) {
        // The selection goes to a neighbour, as if the user had chosen it.
        m_iCurSel = -1;
        SelectItem(m_pList->FindSelectable(iFirst, false), false);
    }
    return true;
}

void CListUI::RemoveAll()
{
    m_iCurSel = -1;
    m_iExpandedItem = -1;
    if (m_pList == NULL) return;
    ForgetListOwners(*this);
    m_pList->RemoveAll();
}

// ---------------------------------------------------------------------------
// Selection, expansion, scrolling into view, sorting

tagTListInfoUI* CListUI::GetListInfo()
{
    return &m_ListInfo;
}

int CListUI::GetCurSel() const
{
    return m_iCurSel;
}

bool CListUI::SelectItem(int iIndex, bool bTakeFocus)
{
    if (iIndex == m_iCurSel) return true;
    const int iOldSel = m_iCurSel;
    // Forgotten before the item hears of it, so that it does not ask again.
    m_iCurSel = -1;
    if (IListItemUI* pOld = AsListItem(GetItemAt(iOldSel))) pOld->Select(false);
    if (iIndex < 0) return false;
    CControlUI* pControl = GetItemAt(iIndex);
    IListItemUI* pItem = AsListItem(pControl);
    if (pItem == NULL || !pControl->IsVisible() || !pControl->IsEnabled()) return false;
    m_iCurSel = iIndex;
    if (!pItem->Select(true)) {
        m_iCurSel = -1;
        return false;
    }
    EnsureVisible(m_iCurSel);
    if (bTakeFocus && !FocusSelectedItem(*this, *this, pControl)) return false;
    if (m_pManager != NULL) {
        m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(iOldSel));
    }
    return true;
}

CListHeaderUI* CListUI::GetHeader() const
{
    return m_pHeader;
}

CContainerUI* CListUI::GetList() const
{
    return m_pList;
}

IListCallbackUI* CListUI::GetTextCallback() const
{
    return m_pTextCallback;
}

void CListUI::SetTextCallback(IListCallbackUI* pCallback)
{
    m_pTextCallback = pCallback;
}

bool CListUI::ExpandItem(int iIndex, bool bExpand)
{
    if (m_iExpandedItem >= 0 && !m_ListInfo.bMultiExpanding) {
        if (IListItemUI* pExpanded = AsListItem(GetItemAt(m_iExpandedItem))) pExpanded->Expand(false);
        m_iExpandedItem = -1;
    }
    if (bExpand) {
        CControlUI* pControl = GetItemAt(iIndex);
        IListItemUI* pItem = AsListItem(pControl);
        if (pItem == NULL || !pControl->IsVisible()) return false;
        m_iExpandedItem = iIndex;
        if (!pItem->Expand(true)) {
            m_iExpandedItem = -1;
            return false;
        }
    }
    NeedUpdate();
    return true;
}

int CListUI::GetExpandedItem() const
{
    return m_iExpandedItem;
}

void CListUI::SetMultiExpanding(bool bMultiExpanding)
{
    m_ListInfo.bMultiExpanding = bMultiExpanding;
}

bool CListUI::GetScrollSelect() const
{
    return m_bScrollSelect;
}

void CListUI::SetScrollSelect(bool bScrollSelect)
{
    m_bScrollSelect = bScrollSelect;
}

void CListUI::EnsureVisible(int iIndex)
{
    CControlUI* pControl = GetItemAt(iIndex);
    if (m_iCurSel < 0 || pControl == NULL) return;
    m_pList->ScrollIntoView(pControl->GetPos());
}

void CListUI::Scroll(int dx, int dy)
{
    if ((dx == 0 && dy == 0) || m_pList == NULL) return;
    const SIZE sz = m_pList->GetScrollPos();
    m_pList->SetScrollPos(SIZE{ClampToInt(static_cast<long long>(sz.cx) + dx),
                               ClampToInt(static_cast<long long>(sz.cy) + dy)});
}

int CListUI::SortItems(PFNLISTITEMCOMPARE pfnCompare, UINT_PTR dwData)
{
    return m_pList != NULL ? m_pList->SortItems(pfnCompare, dwData) : 0;
}

// ---------------------------------------------------------------------------
// Input

void CListUI::MoveSelection(int iIndex)
{
    if (iIndex >= 0) SelectItem(iIndex, true);
}

void CListUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseEvent(event)) return;
    const int nCount = GetCount();
    auto selectable = [this](int iIndex, bool bForward) {
        return m_pList != NULL ? m_pList->FindSelectable(iIndex, bForward) : -1;
    };
    switch (event.nEventType) {
    case SKIN_EVT_KEYDOWN:
        switch (event.chKeyCode) {
        case VK_RETURN:
            if (CControlUI* pSelected = GetItemAt(m_iCurSel)) pSelected->Activate();
            return;
        case VK_PRIOR: PageUp(); return;
        case VK_NEXT: PageDown(); return;
        case VK_HOME: MoveSelection(selectable(0, false)); return;
        // The last selectable item, wherever the last item is.
        case VK_END: MoveSelection(selectable(nCount - 1, false)); return;
        case VK_UP: MoveSelection(selectable(m_iCurSel - 1, false)); return;
        case VK_DOWN: MoveSelection(selectable(m_iCurSel + 1, true)); return;
        default: break;
        }
        break;
    case SKIN_EVT_SCROLLWHEEL:
        // wMsgParam 1: turned towards the user.
        if (event.wMsgParam == 0) {
            if (m_bScrollSelect) MoveSelection(selectable(m_iCurSel - 1, false));
            else LineUp();
            return;
        }
        if (event.wMsgParam == 1) {
            if (m_bScrollSelect) MoveSelection(selectable(m_iCurSel + 1, true));
            else LineDown();
            return;
        }
        break;
    default:
        break;
    }
    CVerticalLayoutUI::DoEvent(event);
}

// ---------------------------------------------------------------------------
// Placement

void CListUI::SetPos(RECT rc)
{
    m_bLayingOut = true;
    CVerticalLayoutUI::SetPos(rc);
    // A hidden header's columns still give the cells their places: it is
    // laid out on a strip of height 0 across the list.
    if (m_pHeader != NULL && !m_pHeader->IsVisible() && m_pHeader->GetCount() > 0) {
        ShowHiddenColumns(true);
        m_pHeader->SetPos(RECT{rc.left, 0, rc.right, 0});
        ShowHiddenColumns(false);
    }
    // Placed afresh, the columns are where the header put them.
    m_cxColumnShift = 0;
    FollowHeader();
    m_bLayingOut = false;
}

void CListUI::ShowHiddenColumns(bool bShow)
{
    for (int i = 0; i < m_pHeader->GetCount(); i++) m_pHeader->GetItemAt(i)->SetInternVisible(bShow);
}

void CListUI::FollowHeader()
{
    if (m_pHeader == NULL) return;
    const int nColumns = LimitSize(m_pHeader->GetCount(), 0, tagTListInfoUI::MAX_COLUMNS);
    m_ListInfo.nColumnCount = nColumns;
    const int cxScroll = m_pList != NULL ? m_pList->GetScrollPos().cx : 0;
    const long long dx = static_cast<long long>(cxScroll) - m_cxColumnShift;
    m_cxColumnShift = cxScroll;
    const bool bHidden = !m_pHeader->IsVisible() && m_pHeader->GetCount() > 0;
    if (bHidden) ShowHiddenColumns(true);
    for (int i = 0; i < nColumns; i++) {
        CControlUI* pColumn = m_pHeader->GetItemAt(i);
        // A hidden or floating column has no place among the cells.
        if (!pColumn->IsVisible() || pColumn->IsFloat()) {
            m_ListInfo.rcColumns[i] = RECT{};
            continue;
        }
        if (dx != 0) {
            const RECT& rcColumn = pColumn->GetPos();
            pColumn->SetPos(RECT{ClampToInt(rcColumn.left - dx), rcColumn.top, ClampToInt(rcColumn.right - dx),
                                 rcColumn.bottom});
        }
        m_ListInfo.rcColumns[i] = pColumn->GetPos();
    }
    if (bHidden) ShowHiddenColumns(false);
}

// ---------------------------------------------------------------------------
// What the body does for the list

int CListUI::GetChildPadding() const
{
    return m_pList != NULL ? m_pList->GetChildPadding() : 0;
}

void CListUI::SetChildPadding(int iPadding)
{
    if (m_pList != NULL) m_pList->SetChildPadding(iPadding);
}

SIZE CListUI::GetScrollPos() const
{
    return m_pList != NULL ? m_pList->GetScrollPos() : SIZE{};
}

SIZE CListUI::GetScrollRange() const
{
    return m_pList != NULL ? m_pList->GetScrollRange() : SIZE{};
}

void CListUI::SetScrollPos(SIZE szPos)
{
    if (m_pList != NULL) m_pList->SetScrollPos(szPos);
}

void CListUI::LineUp() { if (m_pList != NULL) m_pList->LineUp(); }
void CListUI::LineDown() { if (m_pList != NULL) m_pList->LineDown(); }
void CListUI::PageUp() { if (m_pList != NULL) m_pList->PageUp(); }
void CListUI::PageDown() { if (m_pList != NULL) m_pList->PageDown(); }
void CListUI::HomeUp() { if (m_pList != NULL) m_pList->HomeUp(); }
void CListUI::EndDown() { if (m_pList != NULL) m_pList->EndDown(); }
void CListUI::LineLeft() { if (m_pList != NULL) m_pList->LineLeft(); }
void CListUI::LineRight() { if (m_pList != NULL) m_pList->LineRight(); }
void CListUI::PageLeft() { if (m_pList != NULL) m_pList->PageLeft(); }
void CListUI::PageRight() { if (m_pList != NULL) m_pList->PageRight(); }
void CListUI::HomeLeft() { if (m_pList != NULL) m_pList->HomeLeft(); }
void CListUI::EndRight() { if (m_pList != NULL) m_pList->EndRight(); }

void CListUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    if (m_pList != NULL) m_pList->EnableScrollBar(bEnableVertical, bEnableHorizontal);
}

CScrollBarUI* CListUI::GetVerticalScrollBar() const
{
    return m_pList != NULL ? m_pList->GetVerticalScrollBar() : NULL;
}

CScrollBarUI* CListUI::GetHorizontalScrollBar() const
{
    return m_pList != NULL ? m_pList->GetHorizontalScrollBar() : NULL;
}

// ---------------------------------------------------------------------------
// Skin attributes

void CListUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    // The header the list holds at this moment.
    if (is(L"header")) {
        if (m_pHeader != NULL) m_pHeader->SetVisible(wcscmp(pstrValue, L"hidden") != 0);
    }
    else if (is(L"headerbkimage")) {
        if (m_pHeader != NULL) m_pHeader->SetBkImage(pstrValue);
    }
    else if (is(L"scrollselect")) SetScrollSelect(ParseBoolValue(pstrValue));
    else if (is(L"multiexpanding")) SetMultiExpanding(ParseBoolValue(pstrValue));
    else if (is(L"itemendellipsis")) {
        m_ListInfo.uItemTextStyle = ApplyEndEllipsisValue(m_ListInfo.uItemTextStyle, pstrValue);
    }
    else CListStyleImpl<CVerticalLayoutUI>::SetAttribute(pstrName, pstrValue);
}

} // namespace SkinLib
