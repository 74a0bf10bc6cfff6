// CListItemImpl, what list items share:
//   - identity, activation, visibility, attributes
//   - the protocol: index, owner, selection, expansion
//   - input helpers the items compose their DoEvent from
//   - repainting within the parent's view, and the background from the owner's style
#include "extended/ListItemImpl.h"

#include <wchar.h>

#include "core/RenderEngine.h"

namespace SkinLib {

template <class TBase>
CListItemImpl<TBase>::CListItemImpl() : m_iIndex(-1), m_bSelected(false), m_uButtonState(0), m_pOwner(NULL)
{
}

template <class TBase>
void* CListItemImpl<TBase>::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
    return TBase::GetInterface(pstrName);
}

template <class TBase>
UINT CListItemImpl<TBase>::GetControlFlags() const
{
    return CTLFLAG_LISTITEM;
}

template <class TBase>
bool CListItemImpl<TBase>::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (this->m_pManager != NULL) this->m_pManager->SendNotify(this, L"itemactivate");
    return true;
}

template <class TBase>
void CListItemImpl<TBase>::SetVisible(bool bVisible)
{
    TBase::SetVisible(bVisible);
    if (!this->IsVisible() && m_bSelected) Select(false);
}

template <class TBase>
void CListItemImpl<TBase>::SetEnabled(bool bEnable)
{
    TBase::SetEnabled(bEnable);
    if (!this->IsEnabled()) m_uButtonState = 0;
}

template <class TBase>
void CListItemImpl<TBase>::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != NULL && wcscmp(pstrName, L"selected") == 0) Select(true);
    else TBase::SetAttribute(pstrName, pstrValue);
}

// ---------------------------------------------------------------------------
// The protocol

template <class TBase>
int CListItemImpl<TBase>::GetIndex() const
{
    return m_iIndex;
}

template <class TBase>
void CListItemImpl<TBase>::SetIndex(int iIndex)
{
    m_iIndex = iIndex;
}

template <class TBase>
IListOwnerUI* CListItemImpl<TBase>::GetOwner()
{
    return m_pOwner;
}

template <class TBase>
void CListItemImpl<TBase>::SetOwner(CControlUI* pOwner)
{
    m_pOwner = pOwner != NULL ? static_cast<IListOwnerUI*>(pOwner->GetInterface(L"IListOwner")) : NULL;
}

template <class TBase>
bool CListItemImpl<TBase>::IsSelected() const
{
    return m_bSelected;
}

template <class TBase>
bool CListItemImpl<TBase>::Select(bool bSelect)
{
    if (bSelect && !this->IsEnabled()) return false;
    if (bSelect == m_bSelected) return true;
    m_bSelected = bSelect;
    IListOwnerUI* const pOwner = m_pOwner;
    if (pOwner != NULL) {
        if (bSelect) {
            // The owner calls back into Select while it selects, and returns
            // at once when it is the caller. It may refuse, or have another
            // item at this index; and a handler of its "itemselect" may have
            // taken this item out of it, whose deletion then waits, or
            // chosen another.
            const bool bChosen = pOwner->SelectItem(m_iIndex, false);
            if (!bChosen || m_pOwner != pOwner || !m_bSelected || pOwner->GetCurSel() != m_iIndex) {
                m_bSelected = false;
                Invalidate();
                return false;
            }
        }
        else if (pOwner->GetCurSel() == m_iIndex) {
            // Deselected from outside: the owner must not go on naming it.
            pOwner->SelectItem(-1, false);
        }
    }
    Invalidate();
    return true;
}

template <class TBase>
bool CListItemImpl<TBase>::IsExpanded() const
{
    return false;
}

template <class TBase>
bool CListItemImpl<TBase>::Expand(bool bExpand)
{
    return false;
}

// ---------------------------------------------------------------------------
// Input

template <class TBase>
bool CListItemImpl<TBase>::PassOnMouseToOwner(tagTEventUI& event)
{
    if (this->IsMouseEnabled() || event.nEventType < SKIN_EVT_MOUSEMOVE || event.nEventType > SKIN_EVT_SCROLLWHEEL) {
        return false;
    }
    if (m_pOwner != NULL) m_pOwner->DoEvent(event);
    else TBase::DoEvent(event);
    return true;
}

template <class TBase>
bool CListItemImpl<TBase>::ActivateOnInput(tagTEventUI& event)
{
    const bool bDoubleClick = event.nEventType == SKIN_EVT_DBLCLICK;
    const bool bReturn = event.nEventType == SKIN_EVT_KEYDOWN && event.chKeyCode == VK_RETURN;
    if (!bDoubleClick && !bReturn) return false;
    if (!this->IsEnabled()) return bDoubleClick;  // a double click on a disabled item is dropped
    Activate();
    Invalidate();
    return true;
}

template <class TBase>
bool CListItemImpl<TBase>::FollowPointer(tagTEventUI& event)
{
    switch (event.nEventType) {
    case SKIN_EVT_MOUSEMOVE:
    case SKIN_EVT_BUTTONUP:
        return true;
    case SKIN_EVT_MOUSELEAVE:
        if ((m_uButtonState & CTLSTATE_HOT) != 0) {
            m_uButtonState &= ~CTLSTATE_HOT;
            Invalidate();
        }
        return true;
    case SKIN_EVT_MOUSEENTER:
        if (!this->IsEnabled()) return false;
        m_uButtonState |= CTLSTATE_HOT;
        Invalidate();
        return true;
    case SKIN_EVT_BUTTONDOWN:
    case SKIN_EVT_RBUTTONDOWN: {
        if (!this->IsEnabled()) return false;
        IListOwnerUI* const pOwner = m_pOwner;
        if (this->m_pManager != NULL) this->m_pManager->SendNotify(this, L"itemclick");
        // Taken out of its owner by a handler of the click, it is no one's to select.
        if (m_pOwner == pOwner) Select(true);
        Invalidate();
        return true;
    }
    default:
        return false;
    }
}

template <class TBase>
void CListItemImpl<TBase>::PassToOwner(tagTEventUI& event)
{
    if (m_pOwner != NULL) m_pOwner->DoEvent(event);
    else CControlUI::DoEvent(event);
}

// ---------------------------------------------------------------------------
// Painting

template <class TBase>
void CListItemImpl<TBase>::Invalidate()
{
    if (!this->IsVisible()) return;
    CControlUI* pParent = this->GetParent();
    CContainerUI* pContainer =
        pParent != NULL ? static_cast<CContainerUI*>(pParent->GetInterface(L"Container")) : NULL;
    if (pContainer == NULL) {
        CControlUI::Invalidate();
        return;
    }
    RECT rcDirty;
    const RECT rcView = pContainer->GetClientArea();
    if (!::IntersectRect(&rcDirty, &this->m_rcItem, &rcView)) return;
    if (this->m_pManager != NULL && this->ClipToAncestors(rcDirty)) this->m_pManager->Invalidate(rcDirty);
}

template <class TBase>
DWORD CListItemImpl<TBase>::GetStateColor(DWORD dwNormal, DWORD dwHot, DWORD dwSelected, DWORD dwDisabled) const
{
    DWORD dwColor = dwNormal;
    if ((m_uButtonState & CTLSTATE_HOT) != 0) dwColor = dwHot;
    if (m_bSelected) dwColor = dwSelected;
    if (!this->IsEnabled()) dwColor = dwDisabled;
    return dwColor;
}

template <class TBase>
void CListItemImpl<TBase>::DrawItemBk(HDC hDC, const RECT& rcItem)
{
    tagTListInfoUI* pInfo = m_pOwner != NULL ? m_pOwner->GetListInfo() : NULL;
    if (pInfo == NULL) return;
    // -1 counts as odd.
    const bool bOdd = m_iIndex % 2 != 0;
    const bool bNormalBk = !pInfo->bAlternateItemBk || !bOdd;
    const DWORD dwColor = GetStateColor(bNormalBk ? pInfo->dwItemBkColor : 0, pInfo->dwHotItemBkColor,
                                        pInfo->dwSelectedItemBkColor, pInfo->dwDisabledItemBkColor);
    if (dwColor != 0) CRenderEngine::DrawColor(hDC, rcItem, this->GetAdjustColor(dwColor));

    // A state's image stands for the whole background; failed ones are forgotten in the record.
    if (!this->IsEnabled() && this->DrawImageOnce(hDC, pInfo->sDisabledItemImage)) return;
    if (m_bSelected && this->DrawImageOnce(hDC, pInfo->sSelectedItemImage)) return;
    if ((m_uButtonState & CTLSTATE_HOT) != 0 && this->DrawImageOnce(hDC, pInfo->sHotItemImage)) return;
    if (bNormalBk) this->DrawImageOnce(hDC, this->m_sBkImage);
    if (this->m_sBkImage.IsEmpty() && this->DrawImageOnce(hDC, pInfo->sItemBkImage)) return;

    if (pInfo->dwItemLineColor != 0) {
        const LONG y = rcItem.bottom - 1;
        CRenderEngine::DrawLine(hDC, RECT{rcItem.left, y, rcItem.right, y}, 1,
                                this->GetAdjustColor(pInfo->dwItemLineColor));
    }
}

template class CListItemImpl<CControlUI>;
template class CListItemImpl<CContainerUI>;

} // namespace SkinLib
