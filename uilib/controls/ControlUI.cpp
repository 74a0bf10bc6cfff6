// CControlUI, the base of every control:
//   - construction, identity and the tree (manager, parent, Init)
//   - placement: SetPos, fixed and floating placement, limits, relative position
//   - tooltip, shortcut, user data, tag and the state flags
//   - invalidation and layout requests
//   - events and searches
//   - skin attributes (SetAttribute, ApplyAttributeList)
//   - background and border settings, colour adjustment, image drawing
//   - painting: background colour and image, border, in a fixed order
#include "controls/ControlUI.h"

#include <wchar.h>

#include "controls/ControlState.h"
#include "core/AttributeValue.h"
#include "core/RenderClip.h"
#include "core/RenderEngine.h"
#include "core/SkinRect.h"

namespace SkinLib {

CControlUI::CControlUI()
    : m_pManager(NULL), m_pParent(NULL), m_bUpdateNeeded(true), m_bMenuUsed(false), m_rcItem(), m_rcPadding(),
      m_szFixedXY(), m_nFixedWidth(0), m_nFixedHeight(0), m_nMinWidth(0), m_nMinHeight(0), m_nMaxWidth(9999),
      m_nMaxHeight(9999), m_bVisible(true), m_bInternVisible(true), m_bEnabled(true), m_bMouseEnabled(true),
      m_bKeyboardEnabled(true), m_bFocused(false), m_bFloat(false), m_bInSizeEvent(false), m_RelativePos(),
      m_chShortcut(L'\0'), m_uTag(0), m_dwBackColor(0), m_dwBackColor2(0), m_dwBackColor3(0), m_dwBorderColor(0),
      m_dwFocusBorderColor(0), m_bColorHSL(false), m_nBorderSize(0), m_nBorderStyle(PS_SOLID), m_nTooltipWidth(300),
      m_szBorderRound(), m_rcPaint(), m_nLeftBorderSize(0), m_nTopBorderSize(0), m_nRightBorderSize(0),
      m_nBottomBorderSize(0)
{
}

CControlUI::~CControlUI()
{
    OnDestroy(this);
    // The manager must forget every pointer it keeps to this control.
    if (m_pManager != NULL) m_pManager->ReapObjects(this);
}

const CSkinString& CControlUI::GetName() const
{
    return m_sName;
}

void CControlUI::SetName(const wchar_t* pstrName)
{
    m_sName = pstrName;
}

const wchar_t* CControlUI::GetClass() const
{
    return L"ControlUI";
}

void* CControlUI::GetInterface(const wchar_t* pstrName)
{
    return wcscmp(pstrName, L"Control") == 0 ? this : NULL;
}

UINT CControlUI::GetControlFlags() const
{
    return 0;
}

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

CPaintManagerUI* CControlUI::GetManager() const
{
    return m_pManager;
}

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    m_pManager = pManager;
    m_pParent = pParent;
    if (bInit && m_pParent != NULL) Init();
}

CControlUI* CControlUI::GetParent() const
{
    return m_pParent;
}

CSkinString CControlUI::GetText() const
{
    return m_sText;
}

void CControlUI::SetText(const wchar_t* pstrText)
{
    if (pstrText == NULL) pstrText = L"";
    if (m_sText == pstrText) return;
    m_sText = pstrText;
    Invalidate();
}

// ---------------------------------------------------------------------------
// Placement

const RECT& CControlUI::GetPos() const
{
    return m_rcItem;
}

void CControlUI::SetPos(RECT rc)
{
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;

    CSkinRect invalidateRc = m_rcItem;
    if (::IsRectEmpty(&invalidateRc)) invalidateRc = rc;
    m_rcItem = rc;
    if (m_pManager == NULL) return;

    if (!m_bInSizeEvent) {
        m_bInSizeEvent = true;
        OnSize(this);
        m_bInSizeEvent = false;
    }

    // A floating control keeps the place it was given as its fixed place, so
    // that the next layout puts it there again.
    if (m_bFloat && m_pParent != NULL) {
        const RECT& rcParent = m_pParent->GetPos();
        long long x = m_szFixedXY.cx >= 0 ? static_cast<long long>(rc.left) - rcParent.left
                                          : static_cast<long long>(rc.right) - rcParent.right;
        long long y = m_szFixedXY.cy >= 0 ? static_cast<long long>(rc.top) - rcParent.top
                                          : static_cast<long long>(rc.bottom) - rcParent.bottom;
        long long cx = static_cast<long long>(rc.right) - rc.left;
        long long cy = static_cast<long long>(rc.bottom) - rc.top;
        if (m_RelativePos.bIsRelative && m_RelativePos.szParentSize.cx != 0) {
            // The container adds the shares of the parent's change since the
            // record; taking them off again leaves the recorded place as it was.
            const int dW = ClampToInt(static_cast<long long>(rcParent.right) - rcParent.left -
                                      m_RelativePos.szParentSize.cx);
            const int dH = ClampToInt(static_cast<long long>(rcParent.bottom) - rcParent.top -
                                      m_RelativePos.szParentSize.cy);
            const long long nGrowX = RelativeShare(dW, m_RelativePos.nGrowXPct);
            const long long nGrowY = RelativeShare(dH, m_RelativePos.nGrowYPct);
            // A place counted from the right or bottom edge moves with the growth too.
            x -= RelativeShare(dW, m_RelativePos.nOffsetXPct) + (m_szFixedXY.cx >= 0 ? 0 : nGrowX);
            y -= RelativeShare(dH, m_RelativePos.nOffsetYPct) + (m_szFixedXY.cy >= 0 ? 0 : nGrowY);
            cx = cx > nGrowX ? cx - nGrowX : 0;
            cy = cy > nGrowY ? cy - nGrowY : 0;
        }
        m_szFixedXY.cx = ClampToInt(x);
        m_szFixedXY.cy = ClampToInt(y);
        m_nFixedWidth = ClampToInt(cx);
        m_nFixedHeight = ClampToInt(cy);
    }

    m_bUpdateNeeded = false;
    // Both the old and the new place need repainting, as far as the ancestors show them.
    invalidateRc.Join(m_rcItem);
    if (ClipToAncestors(invalidateRc)) m_pManager->Invalidate(invalidateRc);
}

int CControlUI::GetWidth() const
{
    return ClampToInt(static_cast<long long>(m_rcItem.right) - m_rcItem.left);
}

int CControlUI::GetHeight() const
{
    return ClampToInt(static_cast<long long>(m_rcItem.bottom) - m_rcItem.top);
}

int CControlUI::GetX() const
{
    return m_rcItem.left;
}

int CControlUI::GetY() const
{
    return m_rcItem.top;
}

RECT CControlUI::GetPadding() const
{
    return m_rcPadding;
}

void CControlUI::SetPadding(RECT rcPadding)
{
    m_rcPadding = rcPadding;
    NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const
{
    return m_szFixedXY;
}

void CControlUI::SetFixedXY(SIZE szXY)
{
    m_szFixedXY = szXY;
    NeedPlacementUpdate();
}

int CControlUI::GetFixedWidth() const
{
    return m_nFixedWidth;
}

void CControlUI::SetFixedWidth(int cx)
{
    if (cx < 0) return;
    m_nFixedWidth = cx;
    NeedPlacementUpdate();
}

int CControlUI::GetFixedHeight() const
{
    return m_nFixedHeight;
}

void CControlUI::SetFixedHeight(int cy)
{
    if (cy < 0) return;
    m_nFixedHeight = cy;
    NeedPlacementUpdate();
}

int CControlUI::GetMinWidth() const
{
    return m_nMinWidth;
}

void CControlUI::SetMinWidth(int cx)
{
    if (cx < 0 || cx == m_nMinWidth) return;
    m_nMinWidth = cx;
    NeedPlacementUpdate();
}

int CControlUI::GetMaxWidth() const
{
    return m_nMaxWidth;
}

void CControlUI::SetMaxWidth(int cx)
{
    if (cx < 0 || cx == m_nMaxWidth) return;
    m_nMaxWidth = cx;
    NeedPlacementUpdate();
}

int CControlUI::GetMinHeight() const
{
    return m_nMinHeight;
}

void CControlUI::SetMinHeight(int cy)
{
    if (cy < 0 || cy == m_nMinHeight) return;
    m_nMinHeight = cy;
    NeedPlacementUpdate();
}

int CControlUI::GetMaxHeight() const
{
    return m_nMaxHeight;
}

void CControlUI::SetMaxHeight(int cy)
{
    if (cy < 0 || cy == m_nMaxHeight) return;
    m_nMaxHeight = cy;
    NeedPlacementUpdate();
}

void CControlUI::SetRelativePos(SIZE szMove, SIZE szZoom)
{
    m_RelativePos.bIsRelative = true;
    m_RelativePos.nOffsetXPct = szMove.cx;
    m_RelativePos.nOffsetYPct = szMove.cy;
    m_RelativePos.nGrowXPct = szZoom.cx;
    m_RelativePos.nGrowYPct = szZoom.cy;
}

void CControlUI::SetRelativeParentSize(SIZE sz)
{
    m_RelativePos.szParentSize = sz;
}

tagTRelativePosUI CControlUI::GetRelativePos() const
{
    return m_RelativePos;
}

bool CControlUI::IsRelativePos() const
{
    return m_RelativePos.bIsRelative;
}

// A floating control is placed by its own fixed values; any other by its parent's layout.
void CControlUI::NeedPlacementUpdate()
{
    if (m_bFloat) NeedUpdate();
    else NeedParentUpdate();
}

// ---------------------------------------------------------------------------
// Tooltip, shortcut, user data, tag and state

CSkinString CControlUI::GetToolTip() const
{
    return m_sToolTip;
}

void CControlUI::SetToolTip(const wchar_t* pstrText)
{
    // Skins cannot hold a line break in an attribute, so they write "<n>".
    m_sToolTip = pstrText;
    m_sToolTip.Replace(L"<n>", L"\r\n");
}

void CControlUI::SetToolTipWidth(int nWidth)
{
    m_nTooltipWidth = nWidth;
}

int CControlUI::GetToolTipWidth() const
{
    return m_nTooltipWidth;
}

wchar_t CControlUI::GetShortcut() const
{
    return m_chShortcut;
}

void CControlUI::SetShortcut(wchar_t ch)
{
    m_chShortcut = ch;
}

bool CControlUI::IsContextMenuUsed() const
{
    return m_bMenuUsed;
}

void CControlUI::SetContextMenuUsed(bool bMenuUsed)
{
    m_bMenuUsed = bMenuUsed;
}

const CSkinString& CControlUI::GetUserData() const
{
    return m_sUserData;
}

void CControlUI::SetUserData(const wchar_t* pstrText)
{
    m_sUserData = pstrText;
}

UINT CControlUI::GetTag() const
{
    return m_uTag;
}

void CControlUI::SetTag(UINT uTag)
{
    m_uTag = uTag;
}

bool CControlUI::IsVisible() const
{
    return m_bVisible && m_bInternVisible;
}

void CControlUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) return;
    bool bWasVisible = IsVisible();
    m_bVisible = bVisible;
    m_bFocused = false;
    if (!bVisible && m_pManager != NULL && m_pManager->GetFocus() == this) m_pManager->SetFocus(NULL);
    if (IsVisible() != bWasVisible) NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool bVisible)
{
    m_bInternVisible = bVisible;
    if (!bVisible && m_pManager != NULL && m_pManager->GetFocus() == this) m_pManager->SetFocus(NULL);
}

bool CControlUI::IsEnabled() const
{
    return m_bEnabled;
}

void CControlUI::SetEnabled(bool bEnable)
{
    if (m_bEnabled == bEnable) return;
    m_bEnabled = bEnable;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const
{
    return m_bMouseEnabled;
}

void CControlUI::SetMouseEnabled(bool bEnable)
{
    m_bMouseEnabled = bEnable;
}

bool CControlUI::IsKeyboardEnabled() const
{
    return m_bKeyboardEnabled;
}

void CControlUI::SetKeyboardEnabled(bool bEnable)
{
    m_bKeyboardEnabled = bEnable;
}

bool CControlUI::IsFocused() const
{
    return m_bFocused;
}

void CControlUI::SetFocus()
{
    if (m_pManager != NULL) m_pManager->SetFocus(this);
}

bool CControlUI::IsFloat() const
{
    return m_bFloat;
}

void CControlUI::SetFloat(bool bFloat)
{
    if (m_bFloat == bFloat) return;
    m_bFloat = bFloat;
    NeedParentUpdate();
}

// ---------------------------------------------------------------------------
// Invalidation and layout requests

CSkinString CControlUI::GetVirtualWnd() const
{
    if (!m_sVirtualWnd.IsEmpty()) return m_sVirtualWnd;
    if (m_pParent != NULL) return m_pParent->GetVirtualWnd();
    return CSkinString();
}

void CControlUI::SetVirtualWnd(const wchar_t* pstrValue)
{
    m_sVirtualWnd = pstrValue;
    if (m_pManager != NULL) m_pManager->UsedVirtualWnd(true);
}

void CControlUI::Invalidate()
{
    if (!IsVisible()) return;
    RECT invalidateRc = m_rcItem;
    if (m_pManager != NULL && ClipToAncestors(invalidateRc)) m_pManager->Invalidate(invalidateRc);
}

// Cuts rc to what every ancestor shows of it; false when nothing is left.
bool CControlUI::ClipToAncestors(RECT& rc) const
{
    for (CControlUI* pParent = m_pParent; pParent != NULL; pParent = pParent->GetParent()) {
        RECT rcTemp = rc;
        if (!::IntersectRect(&rc, &rcTemp, &pParent->GetPos())) return false;
    }
    return true;
}

bool CControlUI::IsUpdateNeeded() const
{
    return m_bUpdateNeeded;
}

void CControlUI::NeedUpdate()
{
    if (!IsVisible()) return;
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager != NULL) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate()
{
    if (m_pParent != NULL) {
        m_pParent->NeedUpdate();
        m_pParent->Invalidate();
    }
    else {
        NeedUpdate();
    }
    if (m_pManager != NULL) m_pManager->NeedUpdate();
}

// ---------------------------------------------------------------------------
// Events and searches

CControlUI* CControlUI::FindControl(FINDCONTROLPROC Proc, void* pData, UINT uFlags)
{
    if ((uFlags & FINDFLAG_VISIBLE) != 0 && !IsVisible()) return NULL;
    if ((uFlags & FINDFLAG_ENABLED) != 0 && !IsEnabled()) return NULL;
    if ((uFlags & FINDFLAG_HITTEST) != 0 &&
        (!m_bMouseEnabled || !::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData)))) {
        return NULL;
    }
    return Proc(this, pData);
}

void CControlUI::Init()
{
    DoInit();
    OnInit(this);
}

void CControlUI::DoInit()
{
}

void CControlUI::Event(tagTEventUI& event)
{
    if (OnEvent(&event)) DoEvent(event);
}

void CControlUI::DoEvent(tagTEventUI& event)
{
    switch (event.nEventType) {
    case SKIN_EVT_SETCURSOR:
        ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
        return;
    case SKIN_EVT_SETFOCUS:
        m_bFocused = true;
        Invalidate();
        return;
    case SKIN_EVT_KILLFOCUS:
        m_bFocused = false;
        Invalidate();
        return;
    case SKIN_EVT_TIMER:
        if (m_pManager != NULL) m_pManager->SendNotify(this, L"timer", event.wMsgParam, event.lMsgParam);
        return;
    case SKIN_EVT_CONTEXTMENU:
        if (m_bMenuUsed) {
            if (m_pManager != NULL) m_pManager->SendNotify(this, L"menu", event.wMsgParam, event.lMsgParam);
            return;
        }
        break;
    default:
        break;
    }
    // Unhandled input bubbles up; the root drops it.
    if (m_pParent != NULL) m_pParent->DoEvent(event);
}

bool CControlUI::FollowMouseHot(const tagTEventUI& event, UINT& uState)
{
    if (!IsEnabled()) return false;
    if (event.nEventType == SKIN_EVT_MOUSEENTER) uState |= CTLSTATE_HOT;
    else uState &= ~CTLSTATE_HOT;
    Invalidate();
    return true;
}

bool CControlUI::PassOnMouseEvent(tagTEventUI& event)
{
    if (IsMouseEnabled() || event.nEventType < SKIN_EVT_MOUSEMOVE || event.nEventType > SKIN_EVT_SCROLLWHEEL) {
        return false;
    }
    if (m_pParent != NULL) m_pParent->DoEvent(event);
    else CControlUI::DoEvent(event);
    return true;
}

SIZE CControlUI::EstimateSize(SIZE szAvailable)
{
    return SIZE{m_nFixedWidth, m_nFixedHeight};
}

// ---------------------------------------------------------------------------
// Skin attributes

void CControlUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    if (is(L"pos")) {
        // A negative left or top counts from the parent's right or bottom edge,
        // and the fixed place is then the right or bottom number.
        const RECT rc = ParseRectValue(pstrValue);
        SetFixedXY(SIZE{rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom});
        SetFixedWidth(ClampToInt(static_cast<long long>(rc.right) - rc.left));
        SetFixedHeight(ClampToInt(static_cast<long long>(rc.bottom) - rc.top));
    }
    else if (is(L"relativepos")) {
        const RECT rc = ParseRectValue(pstrValue);
        SetRelativePos(SIZE{rc.left, rc.top}, SIZE{rc.right, rc.bottom});
    }
    else if (is(L"padding")) SetPadding(ParseRectValue(pstrValue));
    else if (is(L"bkcolor") || is(L"bkcolor1")) SetBkColor(ParseColorValue(pstrValue, true));
    else if (is(L"bkcolor2")) SetBkColor2(ParseColorValue(pstrValue, true));
    else if (is(L"bkcolor3")) SetBkColor3(ParseColorValue(pstrValue, true));
    else if (is(L"bordercolor")) SetBorderColor(ParseColorValue(pstrValue));
    else if (is(L"focusbordercolor")) SetFocusBorderColor(ParseColorValue(pstrValue));
    else if (is(L"colorhsl")) SetColorHSL(ParseBoolValue(pstrValue));
    else if (is(L"bordersize")) {
        if (wcschr(pstrValue, L',') != NULL) {
            SetBorderSize(ParseRectValue(pstrValue));
        }
        else {
            SetBorderSize(ParseIntValue(pstrValue));
            SetBorderSize(RECT{0, 0, 0, 0});
        }
    }
    else if (is(L"leftbordersize")) SetLeftBorderSize(ParseIntValue(pstrValue));
    else if (is(L"topbordersize")) SetTopBorderSize(ParseIntValue(pstrValue));
    else if (is(L"rightbordersize")) SetRightBorderSize(ParseIntValue(pstrValue));
    else if (is(L"bottombordersize")) SetBottomBorderSize(ParseIntValue(pstrValue));
    else if (is(L"borderstyle")) SetBorderStyle(ParseIntValue(pstrValue));
    else if (is(L"borderround")) SetBorderRound(ParseSizeValue(pstrValue));
    else if (is(L"bkimage")) SetBkImage(pstrValue);
    else if (is(L"width")) SetFixedWidth(ParseIntValue(pstrValue));
    else if (is(L"height")) SetFixedHeight(ParseIntValue(pstrValue));
    else if (is(L"minwidth")) SetMinWidth(ParseIntValue(pstrValue));
    else if (is(L"minheight")) SetMinHeight(ParseIntValue(pstrValue));
    else if (is(L"maxwidth")) SetMaxWidth(ParseIntValue(pstrValue));
    else if (is(L"maxheight")) SetMaxHeight(ParseIntValue(pstrValue));
    else if (is(L"name")) SetName(pstrValue);
    else if (is(L"text")) SetText(pstrValue);
    else if (is(L"tooltip")) SetToolTip(pstrValue);
    else if (is(L"userdata")) SetUserData(pstrValue);
    else if (is(L"enabled")) SetEnabled(ParseBoolValue(pstrValue));
    else if (is(L"mouse")) SetMouseEnabled(ParseBoolValue(pstrValue));
    else if (is(L"keyboard")) SetKeyboardEnabled(ParseBoolValue(pstrValue));
    else if (is(L"visible")) SetVisible(ParseBoolValue(pstrValue));
    else if (is(L"float")) SetFloat(ParseBoolValue(pstrValue));
    else if (is(L"shortcut")) SetShortcut(pstrValue[0]);
    else if (is(L"menu")) SetContextMenuUsed(ParseBoolValue(pstrValue));
    else if (is(L"virtualwnd")) SetVirtualWnd(pstrValue);
}

CControlUI* CControlUI::ApplyAttributeList(const wchar_t* pstrList)
{
    if (pstrList == NULL) return this;
    // Stepping by code unit finds the same "=" and quotes as stepping by whole
    // characters: neither can be part of a combining sequence or a surrogate pair.
    CSkinString sName, sValue;
    const wchar_t* p = pstrList;
    while (*p != L'\0') {
        const wchar_t* pName = p;
        while (*p != L'\0' && *p != L'=') ++p;
        if (*p != L'=') break;
        sName.Assign(pName, static_cast<int>(p - pName));
        if (*++p != L'"') break;
        const wchar_t* pValue = ++p;
        while (*p != L'\0' && *p != L'"') ++p;
        if (*p != L'"') break;
        sValue.Assign(pValue, static_cast<int>(p - pValue));
        SetAttribute(sName, sValue);
        if (*++p != L' ') break;
        ++p;
    }
    return this;
}

// ---------------------------------------------------------------------------
// Background and border

DWORD CControlUI::GetBkColor() const
{
    return m_dwBackColor;
}

void CControlUI::SetBkColor(DWORD dwBackColor)
{
    if (m_dwBackColor == dwBackColor) return;
    m_dwBackColor = dwBackColor;
    Invalidate();
}

DWORD CControlUI::GetBkColor2() const
{
    return m_dwBackColor2;
}

void CControlUI::SetBkColor2(DWORD dwBackColor)
{
    if (m_dwBackColor2 == dwBackColor) return;
    m_dwBackColor2 = dwBackColor;
    Invalidate();
}

DWORD CControlUI::GetBkColor3() const
{
    return m_dwBackColor3;
}

void CControlUI::SetBkColor3(DWORD dwBackColor)
{
    if (m_dwBackColor3 == dwBackColor) return;
    m_dwBackColor3 = dwBackColor;
    Invalidate();
}

const CSkinString& CControlUI::GetBkImage() const
{
    return m_sBkImage;
}

void CControlUI::SetBkImage(const wchar_t* pStrImage)
{
    if (pStrImage == NULL) pStrImage = L"";
    if (m_sBkImage == pStrImage) return;
    m_sBkImage = pStrImage;
    Invalidate();
}

DWORD CControlUI::GetBorderColor() const
{
    return m_dwBorderColor;
}

void CControlUI::SetBorderColor(DWORD dwBorderColor)
{
    if (m_dwBorderColor == dwBorderColor) return;
    m_dwBorderColor = dwBorderColor;
    Invalidate();
}

DWORD CControlUI::GetFocusBorderColor() const
{
    return m_dwFocusBorderColor;
}

void CControlUI::SetFocusBorderColor(DWORD dwBorderColor)
{
    if (m_dwFocusBorderColor == dwBorderColor) return;
    m_dwFocusBorderColor = dwBorderColor;
    Invalidate();
}

bool CControlUI::IsColorHSL() const
{
    return m_bColorHSL;
}

void CControlUI::SetColorHSL(bool bColorHSL)
{
    if (m_bColorHSL == bColorHSL) return;
    m_bColorHSL = bColorHSL;
    Invalidate();
}

int CControlUI::GetBorderSize() const
{
    return m_nBorderSize;
}

void CControlUI::SetBorderSize(int nSize)
{
    if (m_nBorderSize == nSize) return;
    m_nBorderSize = nSize;
    Invalidate();
}

void CControlUI::SetBorderSize(RECT rc)
{
    m_nLeftBorderSize = rc.left;
    m_nTopBorderSize = rc.top;
    m_nRightBorderSize = rc.right;
    m_nBottomBorderSize = rc.bottom;
    Invalidate();
}

int CControlUI::GetLeftBorderSize() const
{
    return m_nLeftBorderSize;
}

void CControlUI::SetLeftBorderSize(int nSize)
{
    m_nLeftBorderSize = nSize;
    Invalidate();
}

int CControlUI::GetTopBorderSize() const
{
    return m_nTopBorderSize;
}

void CControlUI::SetTopBorderSize(int nSize)
{
    m_nTopBorderSize = nSize;
    Invalidate();
}

int CControlUI::GetRightBorderSize() const
{
    return m_nRightBorderSize;
}

void CControlUI::SetRightBorderSize(int nSize)
{
    m_nRightBorderSize = nSize;
    Invalidate();
}

int CControlUI::GetBottomBorderSize() const
{
    return m_nBottomBorderSize;
}

void CControlUI::SetBottomBorderSize(int nSize)
{
    m_nBottomBorderSize = nSize;
    Invalidate();
}

int CControlUI::GetBorderStyle() const
{
    return m_nBorderStyle;
}

void CControlUI::SetBorderStyle(int nStyle)
{
    m_nBorderStyle = nStyle;
    Invalidate();
}

SIZE CControlUI::GetBorderRound() const
{
    return m_szBorderRound;
}

void CControlUI::SetBorderRound(SIZE cxyRound)
{
    m_szBorderRound = cxyRound;
    Invalidate();
}

DWORD CControlUI::GetAdjustColor(DWORD dwColor) const
{
    if (!m_bColorHSL) return dwColor;
    short H, S, L;
    CPaintManagerUI::GetHSL(&H, &S, &L);
    return CRenderEngine::AdjustColor(dwColor, H, S, L);
}

bool CControlUI::DrawImage(HDC hDC, const wchar_t* pStrImage, const wchar_t* pStrModify)
{
    return CRenderEngine::DrawImageString(hDC, m_pManager, m_rcItem, m_rcPaint, pStrImage, pStrModify);
}

void CControlUI::SetStateImage(CSkinString& sImage, const wchar_t* pStrImage)
{
    sImage = pStrImage;
    Invalidate();
}

// A description that cannot be drawn now won't be drawn later either.
bool CControlUI::DrawImageOnce(HDC hDC, CSkinString& sImage, const wchar_t* pStrModify)
{
    if (sImage.IsEmpty()) return false;
    if (DrawImage(hDC, sImage, pStrModify)) return true;
    sImage.Empty();
    return false;
}

UINT CControlUI::RefreshPaintState(UINT uState) const
{
    uState = IsFocused() ? uState | CTLSTATE_FOCUSED : uState & ~CTLSTATE_FOCUSED;
    return IsEnabled() ? uState & ~CTLSTATE_DISABLED : uState | CTLSTATE_DISABLED;
}

// ---------------------------------------------------------------------------
// Painting

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    // Rounded corners hold for every step, the border included.
    CRenderClip roundClip;
    if (m_szBorderRound.cx > 0 || m_szBorderRound.cy > 0) {
        CRenderClip::GenerateRoundClip(hDC, m_rcPaint, m_rcItem, m_szBorderRound.cx, m_szBorderRound.cy, roundClip);
    }
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintStatusImage(hDC);
    PaintText(hDC);
    PaintBorder(hDC);
}

void CControlUI::PaintBkColor(HDC hDC)
{
    if (m_dwBackColor == 0) return;
    const DWORD dwColor = GetAdjustColor(m_dwBackColor);
    if (m_dwBackColor2 == 0) {
        CRenderEngine::DrawColor(hDC, dwColor >= 0xFF000000 ? m_rcPaint : m_rcItem, dwColor);
        return;
    }
    const DWORD dwColor2 = GetAdjustColor(m_dwBackColor2);
    if (m_dwBackColor3 == 0) {
        CRenderEngine::DrawGradient(hDC, m_rcItem, dwColor, dwColor2, true, 16);
        return;
    }
    RECT rcUpper = m_rcItem;
    rcUpper.bottom = static_cast<LONG>((static_cast<long long>(m_rcItem.top) + m_rcItem.bottom) / 2);
    RECT rcLower = m_rcItem;
    rcLower.top = rcUpper.bottom;
    CRenderEngine::DrawGradient(hDC, rcUpper, dwColor, dwColor2, true, 8);
    CRenderEngine::DrawGradient(hDC, rcLower, dwColor2, GetAdjustColor(m_dwBackColor3), true, 8);
}

void CControlUI::PaintBkImage(HDC hDC)
{
    DrawImageOnce(hDC, m_sBkImage);
}

void CControlUI::PaintStatusImage(HDC hDC)
{
}

void CControlUI::PaintText(HDC hDC)
{
}

void CControlUI::PaintBorder(HDC hDC)
{
    // A colour of 0 is no colour: nothing is drawn in it (GDI would make it black).
    if (m_dwBorderColor == 0 && m_dwFocusBorderColor == 0) return;
    const bool bFocusColor = m_bFocused && m_dwFocusBorderColor != 0;
    const int cx = GetWidth(), cy = GetHeight();
    // An inside frame wider than half the control already fills it; a wider
    // pen would spill over the edges.
    const int nBorderSize = LimitSize(m_nBorderSize, 0, ((cx < cy ? cx : cy) + 1) / 2);
    if (m_nBorderSize > 0 && (m_szBorderRound.cx > 0 || m_szBorderRound.cy > 0)) {
        const DWORD dwColor = bFocusColor ? m_dwFocusBorderColor : m_dwBorderColor;
        if (dwColor != 0) {
            CRenderEngine::DrawRoundRect(hDC, m_rcItem, nBorderSize, m_szBorderRound.cx, m_szBorderRound.cy,
                                         GetAdjustColor(dwColor));
        }
    }
    else if (bFocusColor && m_nBorderSize > 0) {
        CRenderEngine::DrawRect(hDC, m_rcItem, nBorderSize, GetAdjustColor(m_dwFocusBorderColor));
    }
    else if (m_nLeftBorderSize > 0 || m_nTopBorderSize > 0 || m_nRightBorderSize > 0 || m_nBottomBorderSize > 0) {
        if (m_dwBorderColor == 0) return;
        const DWORD dwColor = GetAdjustColor(m_dwBorderColor);
        // Each line lies in a band of its width along its edge, inside the item
        // rectangle; the clip keeps the ends of wide pens in it too.
        CRenderClip clip;
        CRenderClip::GenerateClip(hDC, m_rcItem, clip);
        const RECT& rc = m_rcItem;
        auto line = [&](int nSize, long long x1, long long y1, long long x2, long long y2) {
            if (nSize == 0) return;
            CRenderEngine::DrawLine(hDC, RECT{ClampToInt(x1), ClampToInt(y1), ClampToInt(x2), ClampToInt(y2)}, nSize,
                                    dwColor, m_nBorderStyle);
        };
        if (m_nLeftBorderSize > 0) {
            const int n = LimitSize(m_nLeftBorderSize, 0, cx);
            line(n, rc.left + n / 2, rc.top, rc.left + n / 2, rc.bottom);
        }
        if (m_nTopBorderSize > 0) {
            const int n = LimitSize(m_nTopBorderSize, 0, cy);
            line(n, rc.left, rc.top + n / 2, rc.right, rc.top + n / 2);
        }
        if (m_nRightBorderSize > 0) {
            const int n = LimitSize(m_nRightBorderSize, 0, cx);
            const long long x = static_cast<long long>(rc.right) - (n - n / 2);
            line(n, x, rc.top, x, rc.bottom);
        }
        if (m_nBottomBorderSize > 0) {
            const int n = LimitSize(m_nBottomBorderSize, 0, cy);
            const long long y = static_cast<long long>(rc.bottom) - (n - n / 2);
            line(n, rc.left, y, rc.right, y);
        }
    }
    else if (m_nBorderSize > 0 && m_dwBorderColor != 0) {
        CRenderEngine::DrawRect(hDC, m_rcItem, nBorderSize, GetAdjustColor(m_dwBorderColor));
    }
}

void CControlUI::DoPostPaint(HDC hDC, const RECT& rcPaint)
{
}

} // namespace SkinLib
