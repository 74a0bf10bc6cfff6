// CListHeaderItemUI, a column of a list header:
//   - identity, flags, settings
//   - input: clicks, the separator drag, the resize cursor, the hot state
//   - the size estimate, state and separator images, the title
#include "extended/ListHeaderItemUI.h"

#include <wchar.h>

#include "core/AttributeValue.h"
#include "core/RenderEngine.h"

namespace SkinLib {

CListHeaderItemUI::CListHeaderItemUI()
    : m_ptLastMouse(), m_bDragable(true), m_uButtonState(0), m_iSepWidth(4), m_dwTextColor(0), m_iFont(-1),
      m_uTextStyle(DT_CENTER | DT_VCENTER | DT_SINGLELINE), m_bShowHtml(false), m_rcTextPadding{2, 0, 2, 0},
      m_cxDragWidth(0)
{
    SetMinWidth(16);
}

const wchar_t* CListHeaderItemUI::GetClass() const
{
    return L"ListHeaderItemUI";
}

void* CListHeaderItemUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"ListHeaderItem") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

UINT CListHeaderItemUI::GetControlFlags() const
{
    return IsEnabled() && m_iSepWidth != 0 ? UINT{CTLFLAG_SETCURSOR} : 0u;
}

void CListHeaderItemUI::SetEnabled(bool bEnable)
{
    CContainerUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

bool CListHeaderItemUI::IsDragable() const
{
    return m_bDragable;
}

void CListHeaderItemUI::SetDragable(bool bDragable)
{
    m_bDragable = bDragable;
    if (!m_bDragable) m_uButtonState &= ~CTLSTATE_CAPTURED;
}

int CListHeaderItemUI::GetSepWidth() const
{
    return m_iSepWidth;
}

void CListHeaderItemUI::SetSepWidth(int iWidth)
{
    m_iSepWidth = iWidth;
}

DWORD CListHeaderItemUI::GetTextColor() const
{
    return m_dwTextColor;
}

void CListHeaderItemUI::SetTextColor(DWORD dwTextColor)
{
    m_dwTextColor = dwTextColor;
}

void CListHeaderItemUI::SetFont(int index)
{
    m_iFont = index;
}

UINT CListHeaderItemUI::GetTextStyle() const
{
    return m_uTextStyle;
}

void CListHeaderItemUI::SetTextStyle(UINT uStyle)
{
    m_uTextStyle = uStyle;
    Invalidate();
}

bool CListHeaderItemUI::IsShowHtml() const
{
    return m_bShowHtml;
}

void CListHeaderItemUI::SetShowHtml(bool bShowHtml)
{
    if (m_bShowHtml == bShowHtml) return;
    m_bShowHtml = bShowHtml;
    Invalidate();
}

RECT CListHeaderItemUI::GetTextPadding() const
{
    return m_rcTextPadding;
}

void CListHeaderItemUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

const wchar_t* CListHeaderItemUI::GetNormalImage() const { return m_sNormalImage; }
void CListHeaderItemUI::SetNormalImage(const wchar_t* pStrImage) { SetStateImage(m_sNormalImage, pStrImage); }
const wchar_t* CListHeaderItemUI::GetHotImage() const { return m_sHotImage; }
void CListHeaderItemUI::SetHotImage(const wchar_t* pStrImage) { SetStateImage(m_sHotImage, pStrImage); }
const wchar_t* CListHeaderItemUI::GetPushedImage() const { return m_sPushedImage; }
void CListHeaderItemUI::SetPushedImage(const wchar_t* pStrImage) { SetStateImage(m_sPushedImage, pStrImage); }
const wchar_t* CListHeaderItemUI::GetFocusedImage() const { return m_sFocusedImage; }
void CListHeaderItemUI::SetFocusedImage(const wchar_t* pStrImage) { SetStateImage(m_sFocusedImage, pStrImage); }
const wchar_t* CListHeaderItemUI::GetSepImage() const { return m_sSepImage; }
void CListHeaderItemUI::SetSepImage(const wchar_t* pStrImage) { SetStateImage(m_sSepImage, pStrImage); }

RECT CListHeaderItemUI::GetThumbRect() const
{
    RECT rc = m_rcItem;
    if (m_iSepWidth >= 0) rc.left = ClampToInt(static_cast<long long>(rc.right) - m_iSepWidth);
    else rc.right = ClampToInt(static_cast<long long>(rc.left) - m_iSepWidth);
    return rc;
}

RECT CListHeaderItemUI::GetDragZone() const
{
    if (m_iSepWidth == 0) return RECT{};
    RECT rc = GetThumbRect();
    if (m_iSepWidth > 0) rc.left = ClampToInt(static_cast<long long>(rc.left) - 4);
    else rc.right = ClampToInt(static_cast<long long>(rc.right) + 4);
    return rc;
}

// ---------------------------------------------------------------------------
// Input

void CListHeaderItemUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseEvent(event)) return;
    const POINT pt = event.ptMousePos;
    switch (event.nEventType) {
    case SKIN_EVT_SETFOCUS:
    case SKIN_EVT_KILLFOCUS:
        Invalidate();
        break;
    case SKIN_EVT_BUTTONDOWN:
    case SKIN_EVT_DBLCLICK: {
        if (!IsEnabled()) return;
        const RECT rcZone = GetDragZone();
        if (!::PtInRect(&rcZone, pt)) {
            m_uButtonState |= CTLSTATE_PUSHED;
            if (m_pManager != NULL) m_pManager->SendNotify(this, L"headerclick");
            Invalidate();
        }
        else if (m_bDragable) {
            m_uButtonState |= CTLSTATE_CAPTURED;
            m_ptLastMouse = pt;
            m_cxDragWidth = GetWidth();
        }
        return;
    }
    case SKIN_EVT_MOUSEMOVE: {
        if ((m_uButtonState & CTLSTATE_CAPTURED) == 0) return;
        // The separator's edge follows the mouse; a left separator narrows
        // the column as it moves right.
        const long long dx = static_cast<long long>(pt.x) - m_ptLastMouse.x;
        const long long cx = m_cxDragWidth + (m_iSepWidth >= 0 ? dx : -dx);
        if (cx <= GetMinWidth()) return;
        m_cxDragWidth = m_nFixedWidth = ClampToInt(cx);
        m_ptLastMouse = pt;
        if (m_pParent != NULL) m_pParent->NeedParentUpdate();
        return;
    }
    case SKIN_EVT_BUTTONUP:
        if ((m_uButtonState & CTLSTATE_CAPTURED) != 0) {
            m_uButtonState &= ~CTLSTATE_CAPTURED;
            if (m_pParent != NULL) m_pParent->NeedParentUpdate();
        }
        else if ((m_uButtonState & CTLSTATE_PUSHED) != 0) {
            m_uButtonState &= ~CTLSTATE_PUSHED;
            Invalidate();
        }
        return;
    case SKIN_EVT_SETCURSOR: {
        const RECT rcZone = GetDragZone();
        if (!IsEnabled() || !m_bDragable || !::PtInRect(&rcZone, pt)) break;
        ::SetCursor(::LoadCursorW(NULL, IDC_SIZEWE));
        return;
    }
    case SKIN_EVT_MOUSEENTER:
    case SKIN_EVT_MOUSELEAVE:
        FollowMouseHot(event, m_uButtonState);
        return;
    default:
        break;
    }
    CContainerUI::DoEvent(event);
}

void CListHeaderItemUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    if (is(L"dragable")) SetDragable(ParseBoolValue(pstrValue));
    else if (is(L"sepwidth")) SetSepWidth(ParseIntValue(pstrValue));
    else if (is(L"align")) m_uTextStyle = ApplyHorizontalAlignValue(m_uTextStyle, pstrValue);
    else if (is(L"endellipsis")) m_uTextStyle = ApplyEndEllipsisValue(m_uTextStyle, pstrValue);
    else if (is(L"font")) SetFont(ParseIntValue(pstrValue));
    else if (is(L"textcolor")) SetTextColor(ParseColorValue(pstrValue));
    else if (is(L"textpadding")) SetTextPadding(ParseRectValue(pstrValue));
    else if (is(L"showhtml")) SetShowHtml(ParseBoolValue(pstrValue));
    else if (is(L"normalimage")) SetNormalImage(pstrValue);
    else if (is(L"hotimage")) SetHotImage(pstrValue);
    else if (is(L"pushedimage")) SetPushedImage(pstrValue);
    else if (is(L"focusedimage")) SetFocusedImage(pstrValue);
    else if (is(L"sepimage")) SetSepImage(pstrValue);
    else CContainerUI::SetAttribute(pstrName, pstrValue);
}

// ---------------------------------------------------------------------------
// Size and painting

SIZE CListHeaderItemUI::EstimateSize(SIZE szAvailable)
{
    if (m_nFixedHeight != 0 || m_pManager == NULL) return CContainerUI::EstimateSize(szAvailable);
    return SIZE{m_nFixedWidth, m_pManager->GetDefaultFontInfo()->tmMetrics.tmHeight + 14};
}

void CListHeaderItemUI::PaintStatusImage(HDC hDC)
{
    if (IsFocused()) m_uButtonState |= CTLSTATE_FOCUSED;
    else m_uButtonState &= ~CTLSTATE_FOCUSED;
    CSkinString* pStateImage = (m_uButtonState & CTLSTATE_PUSHED) != 0    ? &m_sPushedImage
                               : (m_uButtonState & CTLSTATE_HOT) != 0     ? &m_sHotImage
                               : (m_uButtonState & CTLSTATE_FOCUSED) != 0 ? &m_sFocusedImage
                                                                          : NULL;
    if (pStateImage == NULL || pStateImage->IsEmpty()) DrawImageOnce(hDC, m_sNormalImage);
    else DrawImageOnce(hDC, *pStateImage);

    if (m_sSepImage.IsEmpty()) return;
    // The separator is placed within the column's own rectangle.
    const RECT rcThumb = GetThumbRect();
    m_sSepImageModify.Format(L"dest='%d,%d,%d,%d'", ClampToInt(static_cast<long long>(rcThumb.left) - m_rcItem.left),
                             ClampToInt(static_cast<long long>(rcThumb.top) - m_rcItem.top),
                             ClampToInt(static_cast<long long>(rcThumb.right) - m_rcItem.left),
                             ClampToInt(static_cast<long long>(rcThumb.bottom) - m_rcItem.top));
    DrawImageOnce(hDC, m_sSepImage, m_sSepImageModify);
}

void CListHeaderItemUI::PaintText(HDC hDC)
{
    if (m_dwTextColor == 0 && m_pManager != NULL) m_dwTextColor = m_pManager->GetDefaultFontColor();
    if (m_sText.IsEmpty()) return;
    RECT rcText = ShrinkRect(m_rcItem, m_rcTextPadding);
    if (m_bShowHtml) {
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rcText, m_sText, m_dwTextColor, NULL, NULL, nLinks,
                                    m_uTextStyle | DT_SINGLELINE);
    }
    else {
        CRenderEngine::DrawTextW(hDC, m_pManager, rcText, m_sText, m_dwTextColor, m_iFont,
                                 m_uTextStyle | DT_SINGLELINE);
    }
}

} // namespace SkinLib
