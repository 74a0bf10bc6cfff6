// CComboUI, the drop-down list:
//   - construction, identity, the pop-up opened and taken back
//   - the child list: items numbered, the selection kept on its item
//   - selection
//   - input: the mouse, keys and the wheel
//   - placement, skin attributes and accessors
//   - painting the body: the state image and the selected item's text
#include "extended/ComboUI.h"

#include <wchar.h>

#include <new>

#include "core/AttributeValue.h"
#include "extended/ComboWnd.h"

namespace SkinLib {

CComboUI::CComboUI()
    : m_pWindow(NULL), m_iCurSel(-1), m_rcTextPadding(), m_szDropBox{0, 150}, m_uButtonState(0)
{
}

CComboUI::~CComboUI()
{
    // The items must be back before the container deletes them, and those
    // it lets go must not call back into the combo.
    CloseDropDown();
    ForgetListOwners(*this);
}

const wchar_t* CComboUI::GetClass() const
{
    return L"ComboUI";
}

void* CComboUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"Combo") == 0) return this;
    if (wcscmp(pstrName, L"IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
    return CListStyleImpl<CContainerUI>::GetInterface(pstrName);
}

UINT CComboUI::GetControlFlags() const
{
    return CTLFLAG_TABSTOP;
}

bool CComboUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pWindow != NULL) return true;
    if (m_pManager == NULL || m_pManager->GetPaintWindow() == NULL) return false;
    CComboWnd* pWindow = new (std::nothrow) CComboWnd;
    if (pWindow == NULL) return false;
    m_pWindow = pWindow;
    if (!pWindow->Open(*this)) {
        // A window destroyed while it was made has deleted its object and
        // forgotten itself here; one never made leaves its object to us.
        if (m_pWindow == pWindow) delete pWindow;
        m_pWindow = NULL;
        return false;
    }
    Invalidate();
    m_pManager->SendNotify(this, L"dropdown");
    return true;
}

void CComboUI::CloseDropDown()
{
    if (m_pWindow != NULL) m_pWindow->Abandon();
}

void CComboUI::TakeItemsBack()
{
    m_pWindow = NULL;
    // Each item leaves its place in the drop-down: one invalidation for them all.
    CInvalidateBatch batch(m_pManager);
    for (int i = 0; i < GetCount(); i++) {
        CControlUI* pItem = ChildAt(i);
        pItem->SetManager(m_pManager, this, false);
        pItem->SetPos(RECT{});
    }
    m_uButtonState &= ~CTLSTATE_PUSHED;
    Invalidate();
}

CSkinString CComboUI::GetText() const
{
    CControlUI* pControl = GetItemAt(m_iCurSel);
    return pControl != NULL ? pControl->GetText() : CSkinString();
}

void CComboUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    // The items follow the combo, so they cannot stay in the pop-up.
    CloseDropDown();
    CListStyleImpl<CContainerUI>::SetManager(pManager, pParent, bInit);
}

// ---------------------------------------------------------------------------
// The child list

bool CComboUI::Add(CControlUI* pControl)
{
    CloseDropDown();
    if (!CListStyleImpl<CContainerUI>::Add(pControl)) return false;
    AdoptListItem(*this, GetCount() - 1, this);
    return true;
}

bool CComboUI::AddAt(CControlUI* pControl, int iIndex)
{
    CloseDropDown();
    if (!CListStyleImpl<CContainerUI>::AddAt(pControl, iIndex)) return false;
    AdoptListItem(*this, iIndex, this);
    RenumberListItems(*this, iIndex + 1, GetCount() - 1);
    if (m_iCurSel >= iIndex) ++m_iCurSel;
    return true;
}

bool CComboUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    const int iOld = GetItemIndex(pControl);
    if (iOld < 0) return false;
    if (iOld == iIndex) return true;
    CloseDropDown();
    IListItemUI* pSelected = AsListItem(GetItemAt(m_iCurSel));
    if (!CListStyleImpl<CContainerUI>::SetItemIndex(pControl, iIndex)) return false;
    RenumberListItems(*this, iOld < iIndex ? iOld : iIndex, iOld < iIndex ? iIndex : iOld);
    m_iCurSel = pSelected != NULL ? pSelected->GetIndex() : -1;
    return true;
}

bool CComboUI::Remove(CControlUI* pControl)
{
    const int iIndex = GetItemIndex(pControl);
    return iIndex >= 0 && RemoveAt(iIndex);
}

bool CComboUI::RemoveAt(int iIndex)
{
    CControlUI* pControl = GetItemAt(iIndex);
    if (pControl == NULL) return false;
    CloseDropDown();
    // Whether let go of or deleted later, the item no longer speaks for the
    // combo; forgotten first, as the container may delete it at once.
    ForgetListOwner(AsListItem(pControl));
    // The container's RemoveAt would come back here through Remove.
    if (!CListStyleImpl<CContainerUI>::Remove(pControl)) return false;
    RenumberListItems(*this, iIndex, GetCount() - 1);
    if (iIndex == m_iCurSel) {
        // The selection goes to a neighbour, as if the user had chosen it.
        m_iCurSel = -1;
        SelectItem(FindSelectable(iIndex, false), false);
    }
    else if (iIndex < m_iCurSel) {
        --m_iCurSel;
    }
    return true;
}

void CComboUI::RemoveAll()
{
    CloseDropDown();
    m_iCurSel = -1;
    ForgetListOwners(*this);
    CListStyleImpl<CContainerUI>::RemoveAll();
}

// ---------------------------------------------------------------------------
// Selection

tagTListInfoUI* CComboUI::GetListInfo()
{
    return &m_ListInfo;
}

int CComboUI::GetCurSel() const
{
    return m_iCurSel;
}

bool CComboUI::SelectItem(int iIndex, bool bTakeFocus)
{
    // A choice ends the drop-down, whether or not it changes anything.
    if (m_pWindow != NULL) m_pWindow->Close(1);
    if (iIndex == m_iCurSel) return true;
    const int iOldSel = m_iCurSel;
    // Forgotten before the item hears of it, so that it does not ask again.
    m_iCurSel = -1;
    if (IListItemUI* pOld = AsListItem(GetItemAt(iOldSel))) pOld->Select(false);
    const int nCount = GetCount();
    if (iIndex < 0 || nCount == 0) return false;
    if (iIndex >= nCount) iIndex = nCount - 1;
    CControlUI* pControl = GetItemAt(iIndex);
    IListItemUI* pItem = AsListItem(pControl);
    if (pItem == NULL || !pControl->IsVisible() || !pControl->IsEnabled()) return false;
    m_iCurSel = iIndex;
    if (!pItem->Select(true)) {
        m_iCurSel = -1;
        return false;
    }
    // Selected before it takes the focus, so that whatever a handler of the
    // focus changes finds the combo and the item agreeing.
    if ((m_pWindow != NULL || bTakeFocus) && !FocusSelectedItem(*this, *this, pControl)) return false;
    // Repainted before anyone hears of it: a handler may delete the combo.
    Invalidate();
    if (m_pManager != NULL) {
        m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(iOldSel));
    }
    return true;
}

void CComboUI::MoveSelection(int iIndex)
{
    SelectItem(iIndex >= 0 ? iIndex : m_iCurSel, false);
}

// ---------------------------------------------------------------------------
// Input

void CComboUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseEvent(event)) return;
    switch (event.nEventType) {
    case SKIN_EVT_BUTTONDOWN:
        if (!IsEnabled()) return;
        // Settled before "dropdown", whose handler may delete the combo; it
        // looks pressed while its pop-up is open.
        m_uButtonState |= CTLSTATE_PUSHED | CTLSTATE_CAPTURED;
        if (!Activate()) m_uButtonState &= ~CTLSTATE_PUSHED;
        return;
    case SKIN_EVT_BUTTONUP:
        if ((m_uButtonState & CTLSTATE_CAPTURED) == 0) return;
        m_uButtonState &= ~CTLSTATE_CAPTURED;
        Invalidate();
        return;
    case SKIN_EVT_MOUSEMOVE:
    case SKIN_EVT_CONTEXTMENU:
        return;
    case SKIN_EVT_KEYDOWN:
        switch (event.chKeyCode) {
        case VK_UP:
        case VK_PRIOR: MoveSelection(FindSelectable(m_iCurSel - 1, false)); return;
        case VK_DOWN:
        case VK_NEXT: MoveSelection(FindSelectable(m_iCurSel + 1, true)); return;
        case VK_HOME: MoveSelection(FindSelectable(0, false)); return;
        // The last selectable item, wherever the last item is.
        case VK_END: MoveSelection(FindSelectable(GetCount() - 1, false)); return;
        case VK_F4: Activate(); return;
        default: break;
        }
        break;
    case SKIN_EVT_SCROLLWHEEL:
        // wMsgParam 1: turned towards the user.
        if (event.wMsgParam == 1) MoveSelection(FindSelectable(m_iCurSel + 1, true));
        else MoveSelection(FindSelectable(m_iCurSel - 1, false));
        return;
    case SKIN_EVT_MOUSEENTER:
        if (!::PtInRect(&m_rcItem, event.ptMousePos)) return;
        m_uButtonState |= CTLSTATE_HOT;
        Invalidate();
        return;
    case SKIN_EVT_MOUSELEAVE:
        if ((m_uButtonState & CTLSTATE_HOT) == 0) return;
        m_uButtonState &= ~CTLSTATE_HOT;
        Invalidate();
        return;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

// ---------------------------------------------------------------------------
// Placement, skin attributes and accessors

void CComboUI::SetPos(RECT rc)
{
    if (m_pWindow == NULL) {
        for (int i = 0; i < GetCount(); i++) ChildAt(i)->SetPos(RECT{});
    }
    CControlUI::SetPos(rc);
}

// A drop-down left open would let the user choose in a combo that is
// disabled or out of sight.
void CComboUI::SetEnabled(bool bEnable)
{
    CListStyleImpl<CContainerUI>::SetEnabled(bEnable);
    if (IsEnabled()) return;
    CloseDropDown();
    m_uButtonState = 0;
}

void CComboUI::SetVisible(bool bVisible)
{
    CListStyleImpl<CContainerUI>::SetVisible(bVisible);
    if (!IsVisible()) CloseDropDown();
}

void CComboUI::SetInternVisible(bool bVisible)
{
    CListStyleImpl<CContainerUI>::SetInternVisible(bVisible);
    if (!IsVisible()) CloseDropDown();
}

SIZE CComboUI::EstimateSize(SIZE szAvailable)
{
    if (m_nFixedHeight != 0 || m_pManager == NULL) return CControlUI::EstimateSize(szAvailable);
    const long long cy = static_cast<long long>(m_pManager->GetDefaultFontInfo()->tmMetrics.tmHeight) + 12;
    return SIZE{m_nFixedWidth, ClampToInt(cy)};
}

void CComboUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    if (is(L"textpadding")) SetTextPadding(ParseRectValue(pstrValue));
    else if (is(L"normalimage")) SetNormalImage(pstrValue);
    else if (is(L"hotimage")) SetHotImage(pstrValue);
    else if (is(L"pushedimage")) SetPushedImage(pstrValue);
    else if (is(L"focusedimage")) SetFocusedImage(pstrValue);
    else if (is(L"disabledimage")) SetDisabledImage(pstrValue);
    else if (is(L"dropbox")) SetDropBoxAttributeList(pstrValue);
    else if (is(L"dropboxsize")) SetDropBoxSize(ParseSizeValue(pstrValue));
    else CListStyleImpl<CContainerUI>::SetAttribute(pstrName, pstrValue);
}

const wchar_t* CComboUI::GetDropBoxAttributeList() const { return m_sDropBoxAttributes; }
void CComboUI::SetDropBoxAttributeList(const wchar_t* pstrList) { m_sDropBoxAttributes = pstrList; }
SIZE CComboUI::GetDropBoxSize() const { return m_szDropBox; }
void CComboUI::SetDropBoxSize(SIZE szDropBox) { m_szDropBox = szDropBox; }
RECT CComboUI::GetTextPadding() const { return m_rcTextPadding; }

void CComboUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

const wchar_t* CComboUI::GetNormalImage() const { return m_sNormalImage; }
void CComboUI::SetNormalImage(const wchar_t* pStrImage) { SetStateImage(m_sNormalImage, pStrImage); }
const wchar_t* CComboUI::GetHotImage() const { return m_sHotImage; }
void CComboUI::SetHotImage(const wchar_t* pStrImage) { SetStateImage(m_sHotImage, pStrImage); }
const wchar_t* CComboUI::GetPushedImage() const { return m_sPushedImage; }
void CComboUI::SetPushedImage(const wchar_t* pStrImage) { SetStateImage(m_sPushedImage, pStrImage); }
const wchar_t* CComboUI::GetFocusedImage() const { return m_sFocusedImage; }
void CComboUI::SetFocusedImage(const wchar_t* pStrImage) { SetStateImage(m_sFocusedImage, pStrImage); }
const wchar_t* CComboUI::GetDisabledImage() const { return m_sDisabledImage; }
void CComboUI::SetDisabledImage(const wchar_t* pStrImage) { SetStateImage(m_sDisabledImage, pStrImage); }

// ---------------------------------------------------------------------------
// Painting

void CComboUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    CControlUI::DoPaint(hDC, rcPaint);
}

void CComboUI::PaintStatusImage(HDC hDC)
{
    // The first state that holds shows its image; without one, or when it
    // cannot be drawn, the normal image shows.
    CSkinString* const apStateImages[] = {NULL, &m_sHotImage, &m_sPushedImage, &m_sFocusedImage, &m_sDisabledImage};
    CSkinString* pStateImage = apStateImages[PaintStateFrame()];
    if (pStateImage == NULL || !DrawImageOnce(hDC, *pStateImage)) DrawImageOnce(hDC, m_sNormalImage);
}

int CComboUI::PaintStateFrame()
{
    m_uButtonState = RefreshPaintState(m_uButtonState);
    return (m_uButtonState & CTLSTATE_DISABLED) != 0  ? 4
           : (m_uButtonState & CTLSTATE_PUSHED) != 0  ? 2
           : (m_uButtonState & CTLSTATE_HOT) != 0     ? 1
           : (m_uButtonState & CTLSTATE_FOCUSED) != 0 ? 3
                                                      : 0;
}

void CComboUI::PaintText(HDC hDC)
{
    PaintSelectedItem(hDC, ShrinkRect(m_rcItem, m_rcTextPadding));
}

// Only list items are ever selected.
void CComboUI::PaintSelectedItem(HDC hDC, const RECT& rcText)
{
    if (IListItemUI* pItem = AsListItem(GetItemAt(m_iCurSel))) pItem->DrawItemText(hDC, rcText);
}

} // namespace SkinLib
