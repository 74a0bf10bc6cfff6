// COptionUI and CCheckBoxUI:
//   - identity, activation, enabling
//   - the selection and the option group it belongs to
//   - skin attributes and accessors
//   - painting: the selected image or colour, the selected text colour
#include "controls/OptionUI.h"

#include <wchar.h>

#include "core/AttributeValue.h"
#include "core/RenderEngine.h"

namespace SkinLib {

COptionUI::COptionUI() : m_bSelected(false), m_dwSelectedBkColor(0), m_dwSelectedTextColor(0), m_pGroupManager(NULL)
{
}

COptionUI::~COptionUI()
{
    LeaveGroup();
}

const wchar_t* COptionUI::GetClass() const
{
    return L"OptionUI";
}

void* COptionUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"Option") == 0) return this;
    return CButtonUI::GetInterface(pstrName);
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate()) return false;
    // "click" has gone out first; a grouped option only ever becomes selected.
    Selected(m_sGroupName.IsEmpty() ? !m_bSelected : true);
    return true;
}

void COptionUI::SetEnabled(bool bEnable)
{
    CButtonUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = m_bSelected ? UINT(CTLSTATE_SELECTED) : 0u;
}

// ---------------------------------------------------------------------------
// Selection and group

bool COptionUI::IsSelected() const
{
    return m_bSelected;
}

void COptionUI::Selected(bool bSelected)
{
    if (m_bSelected == bSelected) return;
    m_bSelected = bSelected;
    if (bSelected) m_uButtonState |= CTLSTATE_SELECTED;
    else m_uButtonState &= ~CTLSTATE_SELECTED;
    // Repainted before the news goes out: a handler may remove the option.
    Invalidate();
    if (m_pManager == NULL) return;
    if (!m_sGroupName.IsEmpty()) {
        // Only the member that becomes selected speaks for the group.
        if (!bSelected) return;
        DeselectOthers();
    }
    m_pManager->SendNotify(this, L"selectchanged");
}

// Grouped members deselect without a word.
void COptionUI::DeselectOthers()
{
    for (int i = 0;; i++) {
        // Looked up on every step: a member's Selected may change the group.
        CStdPtrArray* pGroup = m_pManager->GetOptionGroup(m_sGroupName);
        if (pGroup == NULL || i >= pGroup->GetSize()) break;
        CControlUI* pMember = static_cast<CControlUI*>(pGroup->GetAt(i));
        if (pMember == this) continue;
        COptionUI* pOption = static_cast<COptionUI*>(pMember->GetInterface(L"Option"));
        if (pOption != NULL) pOption->Selected(false);
    }
}

const wchar_t* COptionUI::GetGroup() const
{
    return m_sGroupName;
}

void COptionUI::SetGroup(const wchar_t* pStrGroupName)
{
    if (pStrGroupName == NULL ? m_sGroupName.IsEmpty() : m_sGroupName == pStrGroupName) return;
    LeaveGroup();
    m_sGroupName = pStrGroupName != NULL ? pStrGroupName : L"";
    JoinGroup();
}

void COptionUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    if (pManager != m_pGroupManager) LeaveGroup();
    CButtonUI::SetManager(pManager, pParent, bInit);
    if (!bInit) return;
    JoinGroup();
    // Options leave their group while no window holds them, the dialog
    // builder's own pass included: the one that arrives selected wins, as
    // the last one selected in a skin does.
    if (m_bSelected && m_pGroupManager != NULL) DeselectOthers();
}

void COptionUI::JoinGroup()
{
    if (m_sGroupName.IsEmpty() || m_pManager == NULL) return;
    m_pManager->AddOptionGroup(m_sGroupName, this);
    m_pGroupManager = m_pManager;
}

void COptionUI::LeaveGroup()
{
    if (m_pGroupManager == NULL) return;
    m_pGroupManager->RemoveOptionGroup(m_sGroupName, this);
    m_pGroupManager = NULL;
}

// ---------------------------------------------------------------------------
// Skin attributes and accessors

void COptionUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    if (is(L"group")) SetGroup(pstrValue);
    else if (is(L"selected")) Selected(ParseBoolValue(pstrValue));
    else if (is(L"selectedimage")) SetSelectedImage(pstrValue);
    else if (is(L"selectedhotimage")) SetSelectedHotImage(pstrValue);
    else if (is(L"foreimage")) SetForeImage(pstrValue);
    else if (is(L"selectedbkcolor")) SetSelectedBkColor(ParseColorValue(pstrValue));
    else if (is(L"selectedtextcolor")) SetSelectedTextColor(ParseColorValue(pstrValue));
    else CButtonUI::SetAttribute(pstrName, pstrValue);
}

const wchar_t* COptionUI::GetSelectedImage() const { return m_sSelectedImage; }
void COptionUI::SetSelectedImage(const wchar_t* pStrImage) { SetStateImage(m_sSelectedImage, pStrImage); }
const wchar_t* COptionUI::GetSelectedHotImage() const { return m_sSelectedHotImage; }
void COptionUI::SetSelectedHotImage(const wchar_t* pStrImage) { SetStateImage(m_sSelectedHotImage, pStrImage); }
const wchar_t* COptionUI::GetForeImage() const { return m_sOptionForeImage; }
void COptionUI::SetForeImage(const wchar_t* pStrImage) { SetStateImage(m_sOptionForeImage, pStrImage); }
void COptionUI::SetSelectedBkColor(DWORD dwColor) { m_dwSelectedBkColor = dwColor; }
DWORD COptionUI::GetSelectBkColor() const { return m_dwSelectedBkColor; }
void COptionUI::SetSelectedTextColor(DWORD dwColor) { m_dwSelectedTextColor = dwColor; }

DWORD COptionUI::GetSelectedTextColor()
{
    if (m_dwSelectedTextColor == 0 && m_pManager != NULL) m_dwSelectedTextColor = m_pManager->GetDefaultFontColor();
    return m_dwSelectedTextColor;
}

// ---------------------------------------------------------------------------
// Painting

void COptionUI::PaintStatusImage(HDC hDC)
{
    // An option shows its selection, never the pressed look.
    m_uButtonState = RefreshPaintState(m_uButtonState) & ~CTLSTATE_PUSHED;
    if (m_bSelected && (m_uButtonState & CTLSTATE_HOT) != 0 && !m_sSelectedHotImage.IsEmpty()) {
        if (!DrawImageOnce(hDC, m_sSelectedHotImage)) CButtonUI::PaintStatusImage(hDC);
    }
    else if (m_bSelected && !m_sSelectedImage.IsEmpty()) {
        if (!DrawImageOnce(hDC, m_sSelectedImage)) CButtonUI::PaintStatusImage(hDC);
    }
    else if (m_bSelected && m_dwSelectedBkColor != 0) {
        // The colour alone, as the button's hot colour is shown.
        CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwSelectedBkColor));
        return;
    }
    else {
        CButtonUI::PaintStatusImage(hDC);
    }
    DrawImageOnce(hDC, m_sOptionForeImage);
}

void COptionUI::PaintText(HDC hDC)
{
    if (!m_bSelected) {
        CButtonUI::PaintText(hDC);
        return;
    }
    UseDefaultTextColors();
    if (m_sText.IsEmpty()) return;
    // The selected colour stands in for this paint only; hot, pushed and
    // focused colours do not apply to a selected option.
    DWORD dwColor = GetStateTextColor();
    if (IsEnabled() && m_dwSelectedTextColor != 0) dwColor = m_dwSelectedTextColor;
    RECT rcText = GetTextRect();
    DrawLabelText(hDC, rcText, dwColor, m_uTextStyle);
}

// ---------------------------------------------------------------------------
// CCheckBoxUI

const wchar_t* CCheckBoxUI::GetClass() const
{
    return L"CheckBoxUI";
}

void CCheckBoxUI::SetCheck(bool bCheck)
{
    Selected(bCheck);
}

bool CCheckBoxUI::GetCheck() const
{
    return IsSelected();
}

} // namespace SkinLib
