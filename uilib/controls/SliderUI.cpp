// CSliderUI:
//   - identity, flags, enabling
//   - the thumb's place and the value of a point of the track
//   - mouse and wheel input
//   - skin attributes and accessors
//   - painting the thumb over the bar
#include "controls/SliderUI.h"

#include <wchar.h>

#include "core/AttributeValue.h"

namespace SkinLib {

CSliderUI::CSliderUI() : m_szThumb{10, 10}, m_uButtonState(0), m_nStep(1), m_nPressValue(0)
{
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
}

const wchar_t* CSliderUI::GetClass() const
{
    return L"SliderUI";
}

void* CSliderUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"Slider") == 0) return this;
    return CProgressUI::GetInterface(pstrName);
}

UINT CSliderUI::GetControlFlags() const
{
    return IsEnabled() ? UINT(CTLFLAG_SETCURSOR) : 0u;
}

void CSliderUI::SetEnabled(bool bEnable)
{
    CProgressUI::SetEnabled(bEnable);
    // A drag under way ends here: the release that follows changes nothing.
    if (!IsEnabled()) m_uButtonState = 0;
}

// ---------------------------------------------------------------------------
// The thumb and the track

RECT CSliderUI::GetThumbRect() const
{
    const Range range = GetRange();
    const long long nOffset = static_cast<long long>(range.nValue) - range.nMin;
    const long long cx = m_szThumb.cx, cy = m_szThumb.cy;
    const RECT& rc = m_rcItem;
    long long left, top;
    if (m_bHorizontal) {
        left = rc.left + Scale(static_cast<long long>(rc.right) - rc.left - cx, nOffset, range.Span());
        top = (static_cast<long long>(rc.top) + rc.bottom - cy) / 2;
    }
    else {
        left = (static_cast<long long>(rc.left) + rc.right - cx) / 2;
        top = rc.bottom - Scale(static_cast<long long>(rc.bottom) - rc.top - cy, nOffset, range.Span()) - cy;
    }
    return RECT{ClampToInt(left), ClampToInt(top), ClampToInt(left + cx), ClampToInt(top + cy)};
}

int CSliderUI::ValueAt(POINT pt) const
{
    const Range range = GetRange();
    const RECT& rc = m_rcItem;
    long long nValue;
    if (m_bHorizontal) {
        const long long half = m_szThumb.cx / 2;
        if (pt.x >= rc.right - half) return range.nMax;
        if (pt.x <= rc.left + half) return range.nMin;
        nValue = range.nMin + Scale(pt.x - rc.left - half, range.Span(),
                                    static_cast<long long>(rc.right) - rc.left - m_szThumb.cx);
    }
    else {
        const long long half = m_szThumb.cy / 2;
        if (pt.y >= rc.bottom - half) return range.nMin;
        if (pt.y <= rc.top + half) return range.nMax;
        nValue = range.nMin + Scale(range.Span(), rc.bottom - half - pt.y,
                                    static_cast<long long>(rc.bottom) - rc.top - m_szThumb.cy);
    }
    return LimitSize(ClampToInt(nValue), range.nMin, range.nMax);
}

// ---------------------------------------------------------------------------
// Input

void CSliderUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseEvent(event)) return;
    const POINT pt = event.ptMousePos;
    switch (event.nEventType) {
    case SKIN_EVT_BUTTONDOWN:
    case SKIN_EVT_DBLCLICK: {
        const RECT rcThumb = GetThumbRect();
        if (IsEnabled() && ::PtInRect(&rcThumb, pt)) {
            m_uButtonState |= CTLSTATE_CAPTURED;
            m_nPressValue = m_nValue;
        }
        return;
    }
    case SKIN_EVT_BUTTONUP: {
        const bool bDragged = (m_uButtonState & CTLSTATE_CAPTURED) != 0;
        m_uButtonState &= ~CTLSTATE_CAPTURED;
        if (!IsEnabled()) return;
        // A drag has stored its values as it went: it reports its whole
        // change here, against the value it started from.
        const int nValue = ValueAt(pt);
        const int nBefore = bDragged ? m_nPressValue : m_nValue;
        const bool bChanged = nValue != m_nValue;
        m_nValue = nValue;
        if (bChanged) Invalidate();
        if (nValue != nBefore && m_pManager != NULL) m_pManager->SendNotify(this, L"valuechanged");
        return;
    }
    case SKIN_EVT_CONTEXTMENU:
        return;
    case SKIN_EVT_SCROLLWHEEL: {
        if (!IsEnabled()) return;
        // wMsgParam 0: turned away from the user, towards larger values.
        const long long nStep = event.wMsgParam == 0 ? m_nStep : -static_cast<long long>(m_nStep);
        SetValue(ClampToInt(m_nValue + nStep));
        // Sent at the ends of the range too, where the value stays.
        if (m_pManager != NULL) m_pManager->SendNotify(this, L"valuechanged");
        return;
    }
    case SKIN_EVT_MOUSEMOVE:
        if ((m_uButtonState & CTLSTATE_CAPTURED) != 0) {
            const int nValue = ValueAt(pt);
            if (nValue != m_nValue) {
                m_nValue = nValue;
                Invalidate();
            }
        }
        return;
    case SKIN_EVT_SETCURSOR: {
        const RECT rcThumb = GetThumbRect();
        if (!IsEnabled() || !::PtInRect(&rcThumb, pt)) break;
        ::SetCursor(::LoadCursorW(NULL, IDC_HAND));
        return;
    }
    case SKIN_EVT_MOUSEENTER:
    case SKIN_EVT_MOUSELEAVE:
        if (!FollowMouseHot(event, m_uButtonState)) break;
        return;
    default:
        break;
    }
    // Not through the label: the slider has no use for its focus handling.
    CControlUI::DoEvent(event);
}

// ---------------------------------------------------------------------------
// Skin attributes and accessors

void CSliderUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    if (is(L"thumbimage")) SetThumbImage(pstrValue);
    else if (is(L"thumbhotimage")) SetThumbHotImage(pstrValue);
    else if (is(L"thumbpushedimage")) SetThumbPushedImage(pstrValue);
    else if (is(L"thumbsize")) SetThumbSize(ParseSizeValue(pstrValue));
    else if (is(L"step")) SetChangeStep(ParseIntValue(pstrValue));
    else CProgressUI::SetAttribute(pstrName, pstrValue);
}

int CSliderUI::GetChangeStep() const { return m_nStep; }
void CSliderUI::SetChangeStep(int nStep) { m_nStep = nStep; }
void CSliderUI::SetThumbSize(SIZE szXY) { m_szThumb = szXY; }
const wchar_t* CSliderUI::GetThumbImage() const { return m_sThumbImage; }
void CSliderUI::SetThumbImage(const wchar_t* pStrImage) { SetStateImage(m_sThumbImage, pStrImage); }
const wchar_t* CSliderUI::GetThumbHotImage() const { return m_sThumbHotImage; }
void CSliderUI::SetThumbHotImage(const wchar_t* pStrImage) { SetStateImage(m_sThumbHotImage, pStrImage); }
const wchar_t* CSliderUI::GetThumbPushedImage() const { return m_sThumbPushedImage; }
void CSliderUI::SetThumbPushedImage(const wchar_t* pStrImage) { SetStateImage(m_sThumbPushedImage, pStrImage); }

// ---------------------------------------------------------------------------
// Painting

void CSliderUI::PaintStatusImage(HDC hDC)
{
    CProgressUI::PaintStatusImage(hDC);
    const RECT rcThumb = GetThumbRect();
    CSkinString sModify;
    sModify.Format(L"dest='%d,%d,%d,%d'", ClampToInt(static_cast<long long>(rcThumb.left) - m_rcItem.left),
                   ClampToInt(static_cast<long long>(rcThumb.top) - m_rcItem.top),
                   ClampToInt(static_cast<long long>(rcThumb.right) - m_rcItem.left),
                   ClampToInt(static_cast<long long>(rcThumb.bottom) - m_rcItem.top));
    if ((m_uButtonState & CTLSTATE_CAPTURED) != 0) {
        if (DrawImageOnce(hDC, m_sThumbPushedImage, sModify)) return;
    }
    else if ((m_uButtonState & CTLSTATE_HOT) != 0) {
        if (DrawImageOnce(hDC, m_sThumbHotImage, sModify)) return;
    }
    DrawImageOnce(hDC, m_sThumbImage, sModify);
}

} // namespace SkinLib
