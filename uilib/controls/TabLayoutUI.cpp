// CTabLayoutUI:
//   - identity and skin attributes
//   - the child list, keeping the current child current
//   - selection and "tabselect"
//   - placement of the current child
#include "controls/TabLayoutUI.h"

#include <wchar.h>

#include "core/AttributeValue.h"

namespace SkinLib {

CTabLayoutUI::CTabLayoutUI() : m_iCurSel(-1)
{
}

const wchar_t* CTabLayoutUI::GetClass() const
{
    return L"TabLayoutUI";
}

void* CTabLayoutUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"TabLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

void CTabLayoutUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != NULL && wcscmp(pstrName, L"selectedid") == 0) SelectItem(ParseIntValue(pstrValue));
    // Every name goes on to the container, this one too.
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

// ---------------------------------------------------------------------------
// The child list

void CTabLayoutUI::TakeNewChild(CControlUI* pControl, int iIndex, bool bVisible)
{
    if (m_iCurSel == -1 && bVisible) {
        m_iCurSel = iIndex;
        return;
    }
    pControl->SetVisible(false);
    // The current child moved up by one.
    if (m_iCurSel != -1 && iIndex <= m_iCurSel) ++m_iCurSel;
}

// Whether a child is visible is asked before it arrives: in a hidden tab
// layout every child is hidden with it, and the first would never become current.
bool CTabLayoutUI::Add(CControlUI* pControl)
{
    const bool bVisible = pControl != NULL && pControl->IsVisible();
    if (!CContainerUI::Add(pControl)) return false;
    TakeNewChild(pControl, GetCount() - 1, bVisible);
    return true;
}

bool CTabLayoutUI::AddAt(CControlUI* pControl, int iIndex)
{
    const bool bVisible = pControl != NULL && pControl->IsVisible();
    if (!CContainerUI::AddAt(pControl, iIndex)) return false;
    TakeNewChild(pControl, iIndex, bVisible);
    return true;
}

bool CTabLayoutUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    CControlUI* pCurrent = GetItemAt(m_iCurSel);
    if (!CContainerUI::SetItemIndex(pControl, iIndex)) return false;
    if (pCurrent != NULL) m_iCurSel = GetItemIndex(pCurrent);
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* pControl)
{
    if (pControl == NULL) return false;
    // Taken first: the child may be gone when the container is done with it.
    const int iIndex = GetItemIndex(pControl);
    if (!CContainerUI::Remove(pControl)) return false;
    if (iIndex == m_iCurSel) {
        // The first child takes the place, without "tabselect".
        if (GetCount() > 0) {
            m_iCurSel = 0;
            GetItemAt(0)->SetVisible(true);
        }
        else {
            m_iCurSel = -1;
        }
        NeedParentUpdate();
    }
    else if (iIndex < m_iCurSel) {
        --m_iCurSel;
    }
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    NeedParentUpdate();
}

// ---------------------------------------------------------------------------
// Selection

int CTabLayoutUI::GetCurSel() const
{
    return m_iCurSel;
}

bool CTabLayoutUI::SelectItem(int iIndex)
{
    if (iIndex < 0 || iIndex >= GetCount()) return false;
    if (iIndex == m_iCurSel) return true;
    const int iOldSel = m_iCurSel;
    m_iCurSel = iIndex;
    for (int i = 0; i < GetCount(); i++) {
        CControlUI* pControl = GetItemAt(i);
        if (i != iIndex) {
            pControl->SetVisible(false);
            continue;
        }
        pControl->SetVisible(true);
        pControl->SetFocus();
        SetPos(m_rcItem);
    }
    NeedParentUpdate();
    if (m_pManager != NULL) {
        m_pManager->SetNextTabControl();
        m_pManager->SendNotify(this, L"tabselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(iOldSel));
    }
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* pControl)
{
    const int iIndex = GetItemIndex(pControl);
    return iIndex >= 0 && SelectItem(iIndex);
}

// ---------------------------------------------------------------------------
// Placement

void CTabLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.IsEmpty()) return;
    // The current child takes the area within the inset; scroll bars play no part.
    const RECT rcArea = GetInsetArea();
    for (int i = 0; i < GetCount(); i++) {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        if (i != m_iCurSel) continue;
        const RECT rcPadding = pControl->GetPadding();
        const long long left = static_cast<long long>(rcArea.left) + rcPadding.left;
        const long long top = static_cast<long long>(rcArea.top) + rcPadding.top;
        const long long cx = static_cast<long long>(rcArea.right) - rcPadding.right - left;
        const long long cy = static_cast<long long>(rcArea.bottom) - rcPadding.bottom - top;
        SIZE sz = pControl->EstimateSize(SIZE{ClampToInt(cx), ClampToInt(cy)});
        if (sz.cx == 0) sz.cx = ClampToInt(cx > 0 ? cx : 0);
        if (sz.cy == 0) sz.cy = ClampToInt(cy > 0 ? cy : 0);
        sz.cx = LimitSize(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth());
        sz.cy = LimitSize(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());
        pControl->SetPos(RECT{ClampToInt(left), ClampToInt(top), ClampToInt(left + sz.cx), ClampToInt(top + sz.cy)});
    }
}

} // namespace SkinLib
