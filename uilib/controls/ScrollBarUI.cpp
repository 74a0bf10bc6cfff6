// CScrollBarUI, the skinned scroll bar:
//   - construction, identity, owner, direction, range, position and buttons
//   - the image accessors, one pair per part and state
//   - placement of the buttons and the thumb
//   - input: hot states, presses, thumb drags and the auto-repeat timer
//   - skin attributes
//   - painting: background, buttons, thumb and rail
#include "controls/ScrollBarUI.h"

#include <wchar.h>

#include <initializer_list>

#include "controls/ContainerUI.h"
#include "core/AttributeValue.h"
#include "core/RenderEngine.h"
#include "core/SkinRect.h"

namespace SkinLib {

namespace {

const UINT kThumbHeld = CTLSTATE_CAPTURED | CTLSTATE_PUSHED;
// Ticks of the repeat timer a held button or track waits before repeating.
const int kRepeatDelayTicks = 5;
const UINT kRepeatElapse = 50;
// A part drawn without any image gets a frame of this colour.
const DWORD kPartFrameColor = 0x0085E4FF;

} // namespace

CScrollBarUI::CScrollBarUI()
    : m_bHorizontal(false), m_nRange(100), m_nScrollPos(0), m_nLineSize(8), m_pOwner(NULL), m_ptLastMouse(),
      m_nLastScrollPos(0), m_nLastScrollOffset(0), m_nScrollRepeatDelay(0), m_bShowButton1(true), m_rcButton1(),
      m_uButton1State(0), m_bShowButton2(true), m_rcButton2(), m_uButton2State(0), m_rcThumb(), m_uThumbState(0)
{
    m_nFixedWidth = 16;
}

CScrollBarUI::~CScrollBarUI()
{
    EndPress();
}

const wchar_t* CScrollBarUI::GetClass() const
{
    return L"ScrollBarUI";
}

void* CScrollBarUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"ScrollBar") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

CContainerUI* CScrollBarUI::GetOwner() const
{
    return m_pOwner;
}

void CScrollBarUI::SetOwner(CContainerUI* pOwner)
{
    m_pOwner = pOwner;
}

bool CScrollBarUI::IsHorizontal() const
{
    return m_bHorizontal;
}

void CScrollBarUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal == bHorizontal) return;
    m_bHorizontal = bHorizontal;
    // The thickness moves to the other fixed size, unless the skin set that one.
    if (m_bHorizontal && m_nFixedHeight == 0) {
        m_nFixedWidth = 0;
        m_nFixedHeight = 16;
    }
    else if (!m_bHorizontal && m_nFixedWidth == 0) {
        m_nFixedHeight = 0;
        m_nFixedWidth = 16;
    }
    if (m_pOwner != NULL) m_pOwner->NeedUpdate();
    else NeedParentUpdate();
}

int CScrollBarUI::GetScrollRange() const
{
    return m_nRange;
}

void CScrollBarUI::SetScrollRange(int nRange)
{
    if (nRange < 0) nRange = 0;
    if (m_nRange == nRange) return;
    m_nRange = nRange;
    if (m_nScrollPos > m_nRange) m_nScrollPos = m_nRange;
    SetPos(m_rcItem);
}

int CScrollBarUI::GetScrollPos() const
{
    return m_nScrollPos;
}

void CScrollBarUI::SetScrollPos(int nPos)
{
    nPos = LimitSize(nPos, 0, m_nRange);
    if (m_nScrollPos == nPos) return;
    m_nScrollPos = nPos;
    SetPos(m_rcItem);
}

int CScrollBarUI::GetLineSize() const
{
    return m_nLineSize;
}

void CScrollBarUI::SetLineSize(int nSize)
{
    m_nLineSize = nSize;
}

bool CScrollBarUI::GetShowButton1() const
{
    return m_bShowButton1;
}

void CScrollBarUI::SetShowButton1(bool bShow)
{
    m_bShowButton1 = bShow;
    SetPos(m_rcItem);
}

bool CScrollBarUI::GetShowButton2() const
{
    return m_bShowButton2;
}

void CScrollBarUI::SetShowButton2(bool bShow)
{
    m_bShowButton2 = bShow;
    SetPos(m_rcItem);
}

void CScrollBarUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) return;
    m_bVisible = bVisible;
    m_bFocused = false;
    if (!bVisible) EndPress();
}

void CScrollBarUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (IsEnabled()) return;
    EndPress();
    m_uButton1State = m_uButton2State = m_uThumbState = 0;
}

void CScrollBarUI::SetFocus()
{
    // The owner takes the keys the bar would get.
    if (m_pOwner != NULL) m_pOwner->SetFocus();
    else CControlUI::SetFocus();
}

// ---------------------------------------------------------------------------
// Image accessors

void CScrollBarUI::SetPartImage(CSkinString& sImage, const wchar_t* pStrImage)
{
    sImage = pStrImage != NULL ? pStrImage : L"";
    Invalidate();
}

const wchar_t* CScrollBarUI::GetButton1NormalImage() const { return m_button1Images.sNormal; }
void CScrollBarUI::SetButton1NormalImage(const wchar_t* p) { SetPartImage(m_button1Images.sNormal, p); }
const wchar_t* CScrollBarUI::GetButton1HotImage() const { return m_button1Images.sHot; }
void CScrollBarUI::SetButton1HotImage(const wchar_t* p) { SetPartImage(m_button1Images.sHot, p); }
const wchar_t* CScrollBarUI::GetButton1PushedImage() const { return m_button1Images.sPushed; }
void CScrollBarUI::SetButton1PushedImage(const wchar_t* p) { SetPartImage(m_button1Images.sPushed, p); }
const wchar_t* CScrollBarUI::GetButton1DisabledImage() const { return m_button1Images.sDisabled; }
void CScrollBarUI::SetButton1DisabledImage(const wchar_t* p) { SetPartImage(m_button1Images.sDisabled, p); }
const wchar_t* CScrollBarUI::GetButton2NormalImage() const { return m_button2Images.sNormal; }
void CScrollBarUI::SetButton2NormalImage(const wchar_t* p) { SetPartImage(m_button2Images.sNormal, p); }
const wchar_t* CScrollBarUI::GetButton2HotImage() const { return m_button2Images.sHot; }
void CScrollBarUI::SetButton2HotImage(const wchar_t* p) { SetPartImage(m_button2Images.sHot, p); }
const wchar_t* CScrollBarUI::GetButton2PushedImage() const { return m_button2Images.sPushed; }
void CScrollBarUI::SetButton2PushedImage(const wchar_t* p) { SetPartImage(m_button2Images.sPushed, p); }
const wchar_t* CScrollBarUI::GetButton2DisabledImage() const { return m_button2Images.sDisabled; }
void CScrollBarUI::SetButton2DisabledImage(const wchar_t* p) { SetPartImage(m_button2Images.sDisabled, p); }
const wchar_t* CScrollBarUI::GetThumbNormalImage() const { return m_thumbImages.sNormal; }
void CScrollBarUI::SetThumbNormalImage(const wchar_t* p) { SetPartImage(m_thumbImages.sNormal, p); }
const wchar_t* CScrollBarUI::GetThumbHotImage() const { return m_thumbImages.sHot; }
void CScrollBarUI::SetThumbHotImage(const wchar_t* p) { SetPartImage(m_thumbImages.sHot, p); }
const wchar_t* CScrollBarUI::GetThumbPushedImage() const { return m_thumbImages.sPushed; }
void CScrollBarUI::SetThumbPushedImage(const wchar_t* p) { SetPartImage(m_thumbImages.sPushed, p); }
const wchar_t* CScrollBarUI::GetThumbDisabledImage() const { return m_thumbImages.sDisabled; }
void CScrollBarUI::SetThumbDisabledImage(const wchar_t* p) { SetPartImage(m_thumbImages.sDisabled, p); }
const wchar_t* CScrollBarUI::GetRailNormalImage() const { return m_railImages.sNormal; }
void CScrollBarUI::SetRailNormalImage(const wchar_t* p) { SetPartImage(m_railImages.sNormal, p); }
const wchar_t* CScrollBarUI::GetRailHotImage() const { return m_railImages.sHot; }
void CScrollBarUI::SetRailHotImage(const wchar_t* p) { SetPartImage(m_railImages.sHot, p); }
const wchar_t* CScrollBarUI::GetRailPushedImage() const { return m_railImages.sPushed; }
void CScrollBarUI::SetRailPushedImage(const wchar_t* p) { SetPartImage(m_railImages.sPushed, p); }
const wchar_t* CScrollBarUI::GetRailDisabledImage() const { return m_railImages.sDisabled; }
void CScrollBarUI::SetRailDisabledImage(const wchar_t* p) { SetPartImage(m_railImages.sDisabled, p); }
const wchar_t* CScrollBarUI::GetBkNormalImage() const { return m_bkImages.sNormal; }
void CScrollBarUI::SetBkNormalImage(const wchar_t* p) { SetPartImage(m_bkImages.sNormal, p); }
const wchar_t* CScrollBarUI::GetBkHotImage() const { return m_bkImages.sHot; }
void CScrollBarUI::SetBkHotImage(const wchar_t* p) { SetPartImage(m_bkImages.sHot, p); }
const wchar_t* CScrollBarUI::GetBkPushedImage() const { return m_bkImages.sPushed; }
void CScrollBarUI::SetBkPushedImage(const wchar_t* p) { SetPartImage(m_bkImages.sPushed, p); }
const wchar_t* CScrollBarUI::GetBkDisabledImage() const { return m_bkImages.sDisabled; }
void CScrollBarUI::SetBkDisabledImage(const wchar_t* p) { SetPartImage(m_bkImages.sDisabled, p); }

// ---------------------------------------------------------------------------
// Placement

int CScrollBarUI::Thickness() const
{
    return m_bHorizontal ? m_nFixedHeight : m_nFixedWidth;
}

void CScrollBarUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    m_rcThumb = RECT{};
    // Worked along the bar: lead and trail are top and bottom of a vertical
    // bar, left and right of a horizontal one. Every part starts at the
    // bar's cross edge and is as thick as the bar.
    const long long t = Thickness();
    const long long nLead = m_bHorizontal ? m_rcItem.left : m_rcItem.top;
    const long long nTrail = m_bHorizontal ? m_rcItem.right : m_rcItem.bottom;
    const long long nCross = m_bHorizontal ? m_rcItem.top : m_rcItem.left;
    auto part = [this, nCross](long long lead, long long trail, long long cross) {
        const RECT rcAlong = {ClampToInt(lead), ClampToInt(nCross), ClampToInt(trail), ClampToInt(nCross + cross)};
        return m_bHorizontal ? rcAlong : RECT{rcAlong.top, rcAlong.left, rcAlong.bottom, rcAlong.right};
    };
    const long long n = nTrail - nLead;
    const long long a = n - (m_bShowButton1 ? t : 0) - (m_bShowButton2 ? t : 0);

    // Too short for a thumb: the buttons share the length.
    const long long s = a <= t ? (n / 2 < t ? n / 2 : t) : t;
    m_rcButton1 = m_bShowButton1 ? part(nLead, nLead + s, t) : part(nLead, nLead, 0);
    m_rcButton2 = m_bShowButton2 ? part(nTrail - s, nTrail, t) : part(nTrail, nTrail, 0);
    if (a <= t) return;

    const long long nTrackLead = nLead + (m_bShowButton1 ? t : 0);
    const long long nTrackTrail = nTrail - (m_bShowButton2 ? t : 0);
    if (m_nRange <= 0) {
        m_rcThumb = part(nTrackLead, nTrackTrail, t);
        return;
    }
    long long h = n * a / (n + m_nRange);
    if (h < t) h = t;
    long long nTop = (a - h) * m_nScrollPos / m_nRange + nTrackLead;
    if (nTop + h > nTrackTrail) nTop = nTrackTrail - h;
    m_rcThumb = part(nTop, nTop + h, t);
}

// ---------------------------------------------------------------------------
// Input

void CScrollBarUI::DoEvent(tagTEventUI& event)
{
    const bool bMouse = event.nEventType >= SKIN_EVT_MOUSEMOVE && event.nEventType <= SKIN_EVT_SCROLLWHEEL;
    if (bMouse && !IsMouseEnabled()) {
        if (m_pOwner != NULL) m_pOwner->DoEvent(event);
        else CControlUI::DoEvent(event);
        return;
    }
    const POINT pt = event.ptMousePos;
    switch (event.nEventType) {
    case SKIN_EVT_MOUSEMOVE:
        if ((m_uThumbState & CTLSTATE_CAPTURED) != 0) {
            // The thumb runs on the track between the visible buttons, so a
            // drag over that length less the thumb's spans the whole range.
            const long long d = m_bHorizontal ? static_cast<long long>(pt.x) - m_ptLastMouse.x
                                              : static_cast<long long>(pt.y) - m_ptLastMouse.y;
            const long long nTrack = m_bHorizontal ? static_cast<long long>(m_rcButton2.left) - m_rcButton1.right
                                                   : static_cast<long long>(m_rcButton2.top) - m_rcButton1.bottom;
            const long long nThumb = m_bHorizontal ? static_cast<long long>(m_rcThumb.right) - m_rcThumb.left
                                                   : static_cast<long long>(m_rcThumb.bottom) - m_rcThumb.top;
            const long long nDivisor = nTrack - nThumb;
            // Applied by the timer, so that the content follows at most every tick.
            if (nDivisor > 0) m_nLastScrollOffset = ClampToInt(d * m_nRange / nDivisor);
        }
        else if ((m_uThumbState & CTLSTATE_HOT) != 0) {
            if (!::PtInRect(&m_rcThumb, pt)) {
                m_uThumbState &= ~CTLSTATE_HOT;
                Invalidate();
            }
        }
        else if (IsEnabled() && ::PtInRect(&m_rcThumb, pt)) {
            m_uThumbState |= CTLSTATE_HOT;
            Invalidate();
        }
        return;
    case SKIN_EVT_BUTTONDOWN:
    case SKIN_EVT_DBLCLICK:
        if (!IsEnabled()) return;
        m_nLastScrollOffset = 0;
        m_nScrollRepeatDelay = 0;
        if (m_pManager != NULL) m_pManager->SetTimer(this, REPEAT_TIMERID, kRepeatElapse);
        if (::PtInRect(&m_rcButton1, pt)) {
            m_uButton1State |= CTLSTATE_PUSHED;
            StepLine(false);
        }
        else if (::PtInRect(&m_rcButton2, pt)) {
            m_uButton2State |= CTLSTATE_PUSHED;
            StepLine(true);
        }
        else if (::PtInRect(&m_rcThumb, pt)) {
            m_uThumbState |= kThumbHeld;
            m_ptLastMouse = pt;
            m_nLastScrollPos = m_nScrollPos;
        }
        else {
            StepTowards(pt);
        }
        Invalidate();
        NotifyScroll();
        return;
    case SKIN_EVT_BUTTONUP:
        m_nScrollRepeatDelay = 0;
        m_nLastScrollOffset = 0;
        if (m_pManager != NULL) m_pManager->KillTimer(this, REPEAT_TIMERID);
        if ((m_uThumbState & CTLSTATE_CAPTURED) != 0) m_uThumbState &= ~kThumbHeld;
        else if ((m_uButton1State & CTLSTATE_PUSHED) != 0) m_uButton1State &= ~CTLSTATE_PUSHED;
        else if ((m_uButton2State & CTLSTATE_PUSHED) != 0) m_uButton2State &= ~CTLSTATE_PUSHED;
        else return;
        Invalidate();
        return;
    case SKIN_EVT_TIMER:
        if (event.wMsgParam != REPEAT_TIMERID) break;
        ++m_nScrollRepeatDelay;
        if ((m_uThumbState & CTLSTATE_CAPTURED) != 0) {
            ScrollThumbTo(ClampToInt(static_cast<long long>(m_nLastScrollPos) + m_nLastScrollOffset));
            Invalidate();
        }
        else if (m_nScrollRepeatDelay <= kRepeatDelayTicks) {
            return;
        }
        else if ((m_uButton1State & CTLSTATE_PUSHED) != 0) {
            StepLine(false);
        }
        else if ((m_uButton2State & CTLSTATE_PUSHED) != 0) {
            StepLine(true);
        }
        else {
            // A held track pages towards the cursor until the thumb is under it.
            POINT ptCursor = {};
            ::GetCursorPos(&ptCursor);
            if (m_pManager != NULL) ::ScreenToClient(m_pManager->GetPaintWindow(), &ptCursor);
            StepTowards(ptCursor);
        }
        NotifyScroll();
        return;
    case SKIN_EVT_MOUSEENTER:
        if (!IsEnabled()) return;
        m_uButton1State |= CTLSTATE_HOT;
        m_uButton2State |= CTLSTATE_HOT;
        if (::PtInRect(&m_rcThumb, pt)) m_uThumbState |= CTLSTATE_HOT;
        Invalidate();
        return;
    case SKIN_EVT_MOUSELEAVE:
        if (!IsEnabled()) return;
        m_uButton1State &= ~CTLSTATE_HOT;
        m_uButton2State &= ~CTLSTATE_HOT;
        m_uThumbState &= ~CTLSTATE_HOT;
        Invalidate();
        return;
    case SKIN_EVT_CONTEXTMENU:
    case SKIN_EVT_KILLFOCUS:
    case SKIN_EVT_SETFOCUS:
        return;
    default:
        break;
    }
    // Keys and the wheel over a bar scroll its owner.
    if (m_pOwner != NULL) m_pOwner->DoEvent(event);
    else CControlUI::DoEvent(event);
}

void CScrollBarUI::StepLine(bool bForward)
{
    if (m_pOwner == NULL) {
        const long long nStep = bForward ? m_nLineSize : -static_cast<long long>(m_nLineSize);
        SetScrollPos(ClampToInt(m_nScrollPos + nStep));
    }
    else if (m_bHorizontal) {
        bForward ? m_pOwner->LineRight() : m_pOwner->LineLeft();
    }
    else {
        bForward ? m_pOwner->LineDown() : m_pOwner->LineUp();
    }
}

void CScrollBarUI::StepPage(bool bForward)
{
    if (m_pOwner == NULL) {
        const long long nPage = m_bHorizontal ? GetWidth() : GetHeight();
        SetScrollPos(ClampToInt(m_nScrollPos + (bForward ? nPage : -nPage)));
    }
    else if (m_bHorizontal) {
        bForward ? m_pOwner->PageRight() : m_pOwner->PageLeft();
    }
    else {
        bForward ? m_pOwner->PageDown() : m_pOwner->PageUp();
    }
}

// A point before the thumb pages back, one after it forward, one level with it not at all.
void CScrollBarUI::StepTowards(POINT pt)
{
    const LONG nAlong = m_bHorizontal ? pt.x : pt.y;
    if (nAlong < (m_bHorizontal ? m_rcThumb.left : m_rcThumb.top)) StepPage(false);
    else if (nAlong > (m_bHorizontal ? m_rcThumb.right : m_rcThumb.bottom)) StepPage(true);
}

void CScrollBarUI::ScrollThumbTo(int nPos)
{
    if (m_pOwner == NULL) {
        SetScrollPos(nPos);
        return;
    }
    SIZE sz = m_pOwner->GetScrollPos();
    (m_bHorizontal ? sz.cx : sz.cy) = nPos;
    m_pOwner->SetScrollPos(sz);
}

// Last in every handler: a receiver may delete the bar.
void CScrollBarUI::NotifyScroll()
{
    if (m_pOwner == NULL && m_pManager != NULL) m_pManager->SendNotify(this, L"scroll");
}

// A press that can no longer end with its button-up: the repeat stops and
// the window lets the mouse go.
void CScrollBarUI::EndPress()
{
    const bool bHeld = ((m_uButton1State | m_uButton2State) & CTLSTATE_PUSHED) != 0 || (m_uThumbState & kThumbHeld) != 0;
    m_uButton1State &= ~CTLSTATE_PUSHED;
    m_uButton2State &= ~CTLSTATE_PUSHED;
    m_uThumbState &= ~kThumbHeld;
    m_nScrollRepeatDelay = 0;
    m_nLastScrollOffset = 0;
    if (m_pManager == NULL) return;
    m_pManager->KillTimer(this, REPEAT_TIMERID);
    if (bHeld && m_pManager->IsCaptured()) m_pManager->ReleaseCapture();
}

// ---------------------------------------------------------------------------
// Skin attributes

void CScrollBarUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    // Image names are a part, a state and "image": "thumbhotimage".
    static const struct { const wchar_t* pstrWord; PartImages CScrollBarUI::*pImages; } kParts[] = {
        {L"button1", &CScrollBarUI::m_button1Images}, {L"button2", &CScrollBarUI::m_button2Images},
        {L"thumb", &CScrollBarUI::m_thumbImages},     {L"rail", &CScrollBarUI::m_railImages},
        {L"bk", &CScrollBarUI::m_bkImages},
    };
    static const struct { const wchar_t* pstrWord; CSkinString PartImages::*pImage; } kStates[] = {
        {L"normal", &PartImages::sNormal}, {L"hot", &PartImages::sHot},
        {L"pushed", &PartImages::sPushed}, {L"disabled", &PartImages::sDisabled},
    };
    for (const auto& part : kParts) {
        const size_t nPart = wcslen(part.pstrWord);
        if (wcsncmp(pstrName, part.pstrWord, nPart) != 0) continue;
        for (const auto& state : kStates) {
            const size_t nState = wcslen(state.pstrWord);
            if (wcsncmp(pstrName + nPart, state.pstrWord, nState) == 0 &&
                wcscmp(pstrName + nPart + nState, L"image") == 0) {
                SetPartImage((this->*part.pImages).*state.pImage, pstrValue);
                return;
            }
        }
    }
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    if (is(L"hor")) SetHorizontal(ParseBoolValue(pstrValue));
    else if (is(L"linesize")) SetLineSize(ParseIntValue(pstrValue));
    else if (is(L"range")) SetScrollRange(ParseIntValue(pstrValue));
    else if (is(L"value")) SetScrollPos(ParseIntValue(pstrValue));
    else if (is(L"showbutton1")) SetShowButton1(ParseBoolValue(pstrValue));
    else if (is(L"showbutton2")) SetShowButton2(ParseBoolValue(pstrValue));
    else CControlUI::SetAttribute(pstrName, pstrValue);
}

// ---------------------------------------------------------------------------
// Painting

void CScrollBarUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    PaintBk(hDC);
    PaintButton1(hDC);
    PaintButton2(hDC);
    PaintThumb(hDC);
    PaintRail(hDC);
}

// Draws the image of the part's state, else its normal image; an image that
// fails to draw is forgotten. prcDest, in client coordinates, places the image
// inside the bar; null covers the whole bar. False when nothing was drawn.
bool CScrollBarUI::DrawPart(HDC hDC, UINT& uState, PartImages& images, const RECT* prcDest)
{
    if (IsEnabled()) uState &= ~CTLSTATE_DISABLED;
    else uState |= CTLSTATE_DISABLED;
    const wchar_t* pstrModify = NULL;
    if (prcDest != NULL) {
        m_sImageModify.SmallFormat(L"dest='%d,%d,%d,%d'", prcDest->left - m_rcItem.left, prcDest->top - m_rcItem.top,
                                   prcDest->right - m_rcItem.left, prcDest->bottom - m_rcItem.top);
        pstrModify = m_sImageModify;
    }
    CSkinString* psState = (uState & CTLSTATE_DISABLED) != 0 ? &images.sDisabled
                           : (uState & CTLSTATE_PUSHED) != 0 ? &images.sPushed
                           : (uState & CTLSTATE_HOT) != 0    ? &images.sHot
                                                             : NULL;
    if (psState != NULL && DrawImageOnce(hDC, *psState, pstrModify)) return true;
    return DrawImageOnce(hDC, images.sNormal, pstrModify);
}

void CScrollBarUI::PaintBk(HDC hDC)
{
    DrawPart(hDC, m_uThumbState, m_bkImages, NULL);
}

void CScrollBarUI::PaintButton1(HDC hDC)
{
    if (!m_bShowButton1) return;
    if (!DrawPart(hDC, m_uButton1State, m_button1Images, &m_rcButton1)) {
        CRenderEngine::DrawRect(hDC, m_rcButton1, 2, kPartFrameColor);
    }
}

void CScrollBarUI::PaintButton2(HDC hDC)
{
    if (!m_bShowButton2) return;
    if (!DrawPart(hDC, m_uButton2State, m_button2Images, &m_rcButton2)) {
        CRenderEngine::DrawRect(hDC, m_rcButton2, 2, kPartFrameColor);
    }
}

void CScrollBarUI::PaintThumb(HDC hDC)
{
    if (CSkinRect(m_rcThumb).IsNull()) return;
    if (!DrawPart(hDC, m_uThumbState, m_thumbImages, &m_rcThumb)) {
        CRenderEngine::DrawRect(hDC, m_rcThumb, 2, kPartFrameColor);
    }
}

void CScrollBarUI::PaintRail(HDC hDC)
{
    if (CSkinRect(m_rcThumb).IsNull()) return;
    // A grip mark as long as the bar is thick, in the middle of the thumb.
    const int t = Thickness();
    RECT rcRail = m_rcThumb;
    if (m_bHorizontal) {
        rcRail.left = ClampToInt((static_cast<long long>(m_rcThumb.left) + m_rcThumb.right) / 2 - t / 2);
        rcRail.right = ClampToInt(static_cast<long long>(rcRail.left) + t);
    }
    else {
        rcRail.top = ClampToInt((static_cast<long long>(m_rcThumb.top) + m_rcThumb.bottom) / 2 - t / 2);
        rcRail.bottom = ClampToInt(static_cast<long long>(rcRail.top) + t);
    }
    DrawPart(hDC, m_uThumbState, m_railImages, &rcRail);
}

} // namespace SkinLib
