// CButtonUI:
//   - identity, flags, activation and enabling
//   - the state machine driven by mouse and keyboard events
//   - skin attributes and accessors
//   - painting: the state image and the state text colour
#include "controls/ButtonUI.h"

#include <wchar.h>

#include "core/AttributeValue.h"
#include "core/RenderEngine.h"

namespace SkinLib {

CButtonUI::CButtonUI()
    : m_uButtonState(0), m_dwHotBkColor(0), m_dwHotTextColor(0), m_dwPushedTextColor(0), m_dwFocusedTextColor(0)
{
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

CButtonUI::~CButtonUI()
{
}

const wchar_t* CButtonUI::GetClass() const
{
    return L"ButtonUI";
}

void* CButtonUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"Button") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CButtonUI::GetControlFlags() const
{
    return (IsEnabled() ? UINT(CTLFLAG_SETCURSOR) : 0u) | (IsKeyboardEnabled() ? UINT(CTLFLAG_TABSTOP) : 0u);
}

bool CButtonUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pManager != NULL) m_pManager->SendNotify(this, L"click");
    return true;
}

void CButtonUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

// ---------------------------------------------------------------------------
// Events

void CButtonUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseEvent(event)) return;
    const bool bInside = ::PtInRect(&m_rcItem, event.ptMousePos) != FALSE;
    switch (event.nEventType) {
    case SKIN_EVT_SETFOCUS:
    case SKIN_EVT_KILLFOCUS:
        Invalidate();
        break;
    case SKIN_EVT_KEYDOWN:
        if (!IsKeyboardEnabled() || (event.chKeyCode != VK_SPACE && event.chKeyCode != VK_RETURN)) break;
        Activate();
        return;
    case SKIN_EVT_BUTTONDOWN:
    case SKIN_EVT_DBLCLICK:
        if (bInside && IsEnabled()) {
            m_uButtonState |= CTLSTATE_PUSHED | CTLSTATE_CAPTURED;
            Invalidate();
        }
        return;
    case SKIN_EVT_MOUSEMOVE:
        if ((m_uButtonState & CTLSTATE_CAPTURED) != 0) {
            if (bInside) m_uButtonState |= CTLSTATE_PUSHED;
            else m_uButtonState &= ~CTLSTATE_PUSHED;
            Invalidate();
        }
        return;
    case SKIN_EVT_BUTTONUP:
        if ((m_uButtonState & CTLSTATE_CAPTURED) != 0) {
            // The state is settled before the click: its handler may delete the button.
            m_uButtonState &= ~(CTLSTATE_PUSHED | CTLSTATE_CAPTURED);
            Invalidate();
            if (bInside) Activate();
        }
        return;
    case SKIN_EVT_CONTEXTMENU:
        if (IsContextMenuUsed() && m_pManager != NULL) {
            m_pManager->SendNotify(this, L"menu", event.wMsgParam, event.lMsgParam);
        }
        return;
    case SKIN_EVT_MOUSEENTER:
    case SKIN_EVT_MOUSELEAVE:
        FollowMouseHot(event, m_uButtonState);
        break;
    case SKIN_EVT_SETCURSOR:
        ::SetCursor(::LoadCursorW(NULL, IDC_HAND));
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

// ---------------------------------------------------------------------------
// Skin attributes and accessors

void CButtonUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    if (is(L"normalimage")) SetNormalImage(pstrValue);
    else if (is(L"hotimage")) SetHotImage(pstrValue);
    else if (is(L"pushedimage")) SetPushedImage(pstrValue);
    else if (is(L"focusedimage")) SetFocusedImage(pstrValue);
    else if (is(L"disabledimage")) SetDisabledImage(pstrValue);
    else if (is(L"foreimage")) SetForeImage(pstrValue);
    else if (is(L"hotforeimage")) SetHotForeImage(pstrValue);
    else if (is(L"hotbkcolor")) SetHotBkColor(ParseColorValue(pstrValue));
    else if (is(L"hottextcolor")) SetHotTextColor(ParseColorValue(pstrValue));
    else if (is(L"pushedtextcolor")) SetPushedTextColor(ParseColorValue(pstrValue));
    else if (is(L"focusedtextcolor")) SetFocusedTextColor(ParseColorValue(pstrValue));
    else CLabelUI::SetAttribute(pstrName, pstrValue);
}

SIZE CButtonUI::EstimateSize(SIZE szAvailable)
{
    return EstimateLineSize(szAvailable, 8);
}

void CButtonUI::SetHotBkColor(DWORD dwColor) { m_dwHotBkColor = dwColor; }
DWORD CButtonUI::GetHotBkColor() const { return m_dwHotBkColor; }
void CButtonUI::SetHotTextColor(DWORD dwColor) { m_dwHotTextColor = dwColor; }
DWORD CButtonUI::GetHotTextColor() const { return m_dwHotTextColor; }
void CButtonUI::SetPushedTextColor(DWORD dwColor) { m_dwPushedTextColor = dwColor; }
DWORD CButtonUI::GetPushedTextColor() const { return m_dwPushedTextColor; }
void CButtonUI::SetFocusedTextColor(DWORD dwColor) { m_dwFocusedTextColor = dwColor; }
DWORD CButtonUI::GetFocusedTextColor() const { return m_dwFocusedTextColor; }

const wchar_t* CButtonUI::GetNormalImage() const { return m_sNormalImage; }
void CButtonUI::SetNormalImage(const wchar_t* pStrImage) { SetStateImage(m_sNormalImage, pStrImage); }
const wchar_t* CButtonUI::GetHotImage() const { return m_sHotImage; }
void CButtonUI::SetHotImage(const wchar_t* pStrImage) { SetStateImage(m_sHotImage, pStrImage); }
const wchar_t* CButtonUI::GetPushedImage() const { return m_sPushedImage; }
void CButtonUI::SetPushedImage(const wchar_t* pStrImage) { SetStateImage(m_sPushedImage, pStrImage); }
const wchar_t* CButtonUI::GetFocusedImage() const { return m_sFocusedImage; }
void CButtonUI::SetFocusedImage(const wchar_t* pStrImage) { SetStateImage(m_sFocusedImage, pStrImage); }
const wchar_t* CButtonUI::GetDisabledImage() const { return m_sDisabledImage; }
void CButtonUI::SetDisabledImage(const wchar_t* pStrImage) { SetStateImage(m_sDisabledImage, pStrImage); }
const wchar_t* CButtonUI::GetForeImage() const { return m_sForeImage; }
void CButtonUI::SetForeImage(const wchar_t* pStrImage) { SetStateImage(m_sForeImage, pStrImage); }
const wchar_t* CButtonUI::GetHotForeImage() const { return m_sHotForeImage; }
void CButtonUI::SetHotForeImage(const wchar_t* pStrImage) { SetStateImage(m_sHotForeImage, pStrImage); }

// ---------------------------------------------------------------------------
// Painting

void CButtonUI::PaintStatusImage(HDC hDC)
{
    m_uButtonState = RefreshPaintState(m_uButtonState);
    // The first state that holds and has something to show wins; the others
    // fall back to the normal image.
    bool bNormal = true;
    if ((m_uButtonState & CTLSTATE_DISABLED) != 0) {
        bNormal = !DrawImageOnce(hDC, m_sDisabledImage);
    }
    else if ((m_uButtonState & CTLSTATE_PUSHED) != 0) {
        if (!m_sPushedImage.IsEmpty()) {
            DrawImageOnce(hDC, m_sPushedImage);
            bNormal = false;
        }
    }
    else if ((m_uButtonState & CTLSTATE_HOT) != 0) {
        if (!m_sHotImage.IsEmpty()) {
            DrawImageOnce(hDC, m_sHotImage);
            // A hot fore image takes the fore image's place.
            if (DrawImageOnce(hDC, m_sHotForeImage)) return;
            bNormal = false;
        }
        else if (m_dwHotBkColor != 0) {
            CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwHotBkColor));
            return;
        }
    }
    else if ((m_uButtonState & CTLSTATE_FOCUSED) != 0) {
        bNormal = !DrawImageOnce(hDC, m_sFocusedImage);
    }
    if (bNormal) DrawImageOnce(hDC, m_sNormalImage);
    DrawImageOnce(hDC, m_sForeImage);
}

void CButtonUI::PaintText(HDC hDC)
{
    m_uButtonState = RefreshPaintState(m_uButtonState);
    UseDefaultTextColors();
    if (m_sText.IsEmpty()) return;
    DWORD dwColor = GetStateTextColor();
    if ((m_uButtonState & CTLSTATE_PUSHED) != 0 && m_dwPushedTextColor != 0) dwColor = m_dwPushedTextColor;
    else if ((m_uButtonState & CTLSTATE_HOT) != 0 && m_dwHotTextColor != 0) dwColor = m_dwHotTextColor;
    else if ((m_uButtonState & CTLSTATE_FOCUSED) != 0 && m_dwFocusedTextColor != 0) dwColor = m_dwFocusedTextColor;
    RECT rcText = GetTextRect();
    DrawLabelText(hDC, rcText, dwColor, m_uTextStyle);
}

} // namespace SkinLib
