// CRichEditUI, the rich edit control:
//   - construction and destruction, identity and flags, the manager's filter
//   - DoInit: the text host and its text services
//   - settings
//   - skin attributes
//   - placement, and the vertical bar the control keeps shown
//   - painting through the text services
//   - scrolling through the text services
#include "extended/RichEditUI.h"

#include <wchar.h>

#include "controls/ScrollBarUI.h"
#include "core/AttributeValue.h"
#include "core/GdiScope.h"
#include "core/RenderClip.h"
#include "extended/TxtWinHost.h"

namespace SkinLib {

namespace {

const int kDefaultLimitText = 32767;

} // namespace

CRichEditUI::CRichEditUI()
    : m_pHost(NULL), m_bVScrollBarFixing(false), m_bWantTab(true), m_bWantReturn(true), m_bWantCtrlReturn(true),
      m_bRich(true), m_bReadOnly(false), m_bWordWrap(false), m_dwTextColor(0), m_iFont(-1),
      m_iLimitText(kDefaultLimitText), m_lTwhStyle(ES_MULTILINE), m_bInited(false), m_bAccumulateDBC(false)
{
}

CRichEditUI::~CRichEditUI()
{
    if (m_pHost != NULL) {
        if (m_pManager != NULL) m_pManager->RemoveMessageFilter(this);
        m_pHost->Release();
    }
    m_sText.SecureEmpty();
}

const wchar_t* CRichEditUI::GetClass() const
{
    return L"RichEditUI";
}

void* CRichEditUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"RichEdit") == 0) return this;
    if (wcscmp(pstrName, L"WantTab") == 0) return static_cast<IWantTabUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

UINT CRichEditUI::GetControlFlags() const
{
    return IsEnabled() ? CTLFLAG_TABSTOP | CTLFLAG_SETCURSOR : CContainerUI::GetControlFlags();
}

void CRichEditUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    // The filter goes with the control from window to window: a manager
    // must never keep one that is no longer its control's.
    if (m_pHost != NULL && pManager != m_pManager) {
        if (m_pManager != NULL) m_pManager->RemoveMessageFilter(this);
        if (pManager != NULL) pManager->AddMessageFilter(this);
    }
    CContainerUI::SetManager(pManager, pParent, bInit);
}

// ---------------------------------------------------------------------------
// DoInit

void CRichEditUI::DoInit()
{
    if (m_bInited) return;
    m_bInited = true;
    CREATESTRUCTW cs = {};
    cs.style = m_lTwhStyle;
    cs.lpszName = m_sText.GetData();
    m_pHost = CTxtWinHost::CreateHost(this, cs);
    // The text lives in the text services from here on; a password is not
    // kept twice.
    m_sText.SecureEmpty();
    if (m_pHost == NULL) return;
    SendToEditor(EM_SETLANGOPTIONS, 0, 0);
    m_pHost->Activate(NULL);
    if (m_pManager != NULL) m_pManager->AddMessageFilter(this);
}

// ---------------------------------------------------------------------------
// Settings

bool CRichEditUI::IsWantTab() const { return m_bWantTab; }
void CRichEditUI::SetWantTab(bool bWantTab) { m_bWantTab = bWantTab; }
bool CRichEditUI::IsWantReturn() const { return m_bWantReturn; }
void CRichEditUI::SetWantReturn(bool bWantReturn) { m_bWantReturn = bWantReturn; }
bool CRichEditUI::IsWantCtrlReturn() const { return m_bWantCtrlReturn; }
void CRichEditUI::SetWantCtrlReturn(bool bWantCtrlReturn) { m_bWantCtrlReturn = bWantCtrlReturn; }
LONG CRichEditUI::GetWinStyle() const { return m_lTwhStyle; }
void CRichEditUI::SetWinStyle(LONG lStyle) { m_lTwhStyle = lStyle; }
bool CRichEditUI::IsAccumulateDBCMode() const { return m_bAccumulateDBC; }
void CRichEditUI::SetAccumulateDBCMode(bool bDBCMode) { m_bAccumulateDBC = bDBCMode; }
bool CRichEditUI::IsRich() const { return m_bRich; }
bool CRichEditUI::IsReadOnly() const { return m_bReadOnly; }
bool CRichEditUI::GetWordWrap() const { return m_bWordWrap; }
int CRichEditUI::GetFont() const { return m_iFont; }
DWORD CRichEditUI::GetTextColor() const { return m_dwTextColor; }
int CRichEditUI::GetLimitText() const { return m_iLimitText; }

void CRichEditUI::SetStyleBit(LONG lBit, bool bSet)
{
    if (bSet) m_lTwhStyle |= lBit;
    else m_lTwhStyle &= ~lBit;
}

void CRichEditUI::SetRich(bool bRich)
{
    m_bRich = bRich;
    if (m_pHost != NULL) m_pHost->SetRichTextFlag(bRich);
}

void CRichEditUI::SetReadOnly(bool bReadOnly)
{
    m_bReadOnly = bReadOnly;
    // Also in the style, so that text services made later start read-only.
    SetStyleBit(ES_READONLY, bReadOnly);
    if (m_pHost != NULL) m_pHost->SetReadOnly(bReadOnly);
}

void CRichEditUI::SetWordWrap(bool bWordWrap)
{
    m_bWordWrap = bWordWrap;
    if (m_pHost != NULL) m_pHost->SetWordWrap(bWordWrap);
}

void CRichEditUI::SetFont(int index)
{
    m_iFont = index;
    if (m_pHost != NULL && m_pManager != NULL) m_pHost->SetFont(m_pManager->GetFont(m_iFont));
}

void CRichEditUI::SetFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    if (m_pHost == NULL || nSize <= 0) return;
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    // At most LF_FACESIZE - 1 characters, and always terminated.
    if (pStrFontName != NULL) ::lstrcpynW(lf.lfFaceName, pStrFontName, LF_FACESIZE);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -nSize;
    if (bBold) lf.lfWeight = FW_BOLD;
    lf.lfUnderline = bUnderline;
    lf.lfItalic = bItalic;
    CGdiObjectScope<HFONT> font(::CreateFontIndirectW(&lf));
    m_pHost->SetFont(font);
}

void CRichEditUI::SetTextColor(DWORD dwTextColor)
{
    m_dwTextColor = dwTextColor;
    if (m_pHost != NULL) m_pHost->SetColor(dwTextColor);
}

void CRichEditUI::SetLimitText(int iChars)
{
    m_iLimitText = iChars;
    if (m_pHost != NULL) m_pHost->LimitText(iChars);
}

// ---------------------------------------------------------------------------
// Skin attributes

void CRichEditUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    // Style attributes only ever add their bit ("multiline" only removes
    // it); the text services read the style as they are made.
    const bool bTrue = wcscmp(pstrValue, L"true") == 0;
    if (is(L"vscrollbar")) {
        if (bTrue) m_lTwhStyle |= ES_DISABLENOSCROLL | WS_VSCROLL;
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
    else if (is(L"autovscroll")) {
        if (bTrue) m_lTwhStyle |= ES_AUTOVSCROLL;
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
    else if (is(L"hscrollbar")) {
        if (bTrue) m_lTwhStyle |= ES_DISABLENOSCROLL | WS_HSCROLL;
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
    else if (is(L"autohscroll")) {
        if (bTrue) m_lTwhStyle |= ES_AUTOHSCROLL;
    }
    else if (is(L"wanttab")) SetWantTab(bTrue);
    else if (is(L"wantreturn")) SetWantReturn(bTrue);
    else if (is(L"wantctrlreturn")) SetWantCtrlReturn(bTrue);
    else if (is(L"rich")) SetRich(bTrue);
    else if (is(L"multiline")) {
        if (wcscmp(pstrValue, L"false") == 0) m_lTwhStyle &= ~ES_MULTILINE;
    }
    else if (is(L"readonly")) {
        if (bTrue) SetReadOnly(true);
    }
    else if (is(L"password")) {
        if (bTrue) m_lTwhStyle |= ES_PASSWORD;
    }
    else if (is(L"align")) {
        m_lTwhStyle = static_cast<LONG>(
            ApplyHorizontalAlignValue(static_cast<UINT>(m_lTwhStyle), pstrValue, ES_CENTER, ES_RIGHT));
    }
    else if (is(L"font")) SetFont(ParseIntValue(pstrValue));
    else if (is(L"textcolor")) SetTextColor(ParseColorValue(pstrValue, true));
    else CContainerUI::SetAttribute(pstrName, pstrValue);
}

// ---------------------------------------------------------------------------
// Placement

LONG CRichEditUI::NaturalHeight(int cxWidth) const
{
    LONG cx = cxWidth, cy = 0;
    const SIZEL szExtent = {-1, -1};
    const HDC hDC = m_pManager != NULL ? m_pManager->GetPaintDC() : NULL;
    if (FAILED(m_pHost->GetTextServices()->TxGetNaturalSize(DVASPECT_CONTENT, hDC, NULL, NULL, TXTNS_FITTOCONTENT,
                                                            &szExtent, &cx, &cy))) {
        return -1;
    }
    return cy;
}

void CRichEditUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    const RECT rcClient = GetClientArea();
    const bool bVerticalShown = IsVerticalBarShown();
    if (m_pHost != NULL) {
        m_pHost->SetClientRect(rcClient);
        // Read only now: text services may make the bar as they hear of the
        // new rectangle.
        CScrollBarUI* pVertical = m_pVerticalScrollBar.get();
        // Text services hide the bar when the text fits the wider area the
        // bar would leave, though at this width it does not: the bar stays.
        if (bVerticalShown && (!pVertical->IsVisible() || m_bVScrollBarFixing)) {
            if (OverflowsWithoutBar(rcClient)) {
                pVertical->SetVisible(true);
                pVertical->SetScrollPos(0);
                m_bVScrollBarFixing = true;
            }
            else if (m_bVScrollBarFixing) {
                pVertical->SetVisible(false);
                m_bVScrollBarFixing = false;
            }
        }
    }
    if (IsVerticalBarShown()) {
        const int cx = m_pVerticalScrollBar->GetFixedWidth();
        m_pVerticalScrollBar->SetPos(
            RECT{rcClient.right, rcClient.top, ClampToInt(static_cast<long long>(rcClient.right) + cx), rcClient.bottom});
    }
    if (IsHorizontalBarShown()) {
        const int cy = m_pHorizontalScrollBar->GetFixedHeight();
        m_pHorizontalScrollBar->SetPos(
            RECT{rcClient.left, rcClient.bottom, rcClient.right, ClampToInt(static_cast<long long>(rcClient.bottom) + cy)});
    }
    PlaceItems(rcClient);
}

bool CRichEditUI::OverflowsWithoutBar(const RECT& rcClient) const
{
    const long long cxWide =
        static_cast<long long>(rcClient.right) - rcClient.left + m_pVerticalScrollBar->GetFixedWidth();
    return NaturalHeight(ClampToInt(cxWide)) > rcClient.bottom - rcClient.top;
}

// ---------------------------------------------------------------------------
// Painting

void CRichEditUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcOuter;
    if (!::IntersectRect(&rcOuter, &rcPaint, &m_rcItem)) return;
    CRenderClip outerClip;
    CRenderClip::GenerateClip(hDC, rcOuter, outerClip);
    CControlUI::DoPaint(hDC, rcPaint);

    if (m_pHost != NULL) {
        const RECT rcClient = m_pHost->GetControlRect();
        RECT rcUpdate = rcPaint;
        {
            // Text services leave fonts, colours and clips in the DC as they like.
            CSaveDCScope saved(hDC);
            m_pHost->GetTextServices()->TxDraw(DVASPECT_CONTENT, 0, NULL, NULL, hDC, NULL,
                                               reinterpret_cast<LPCRECTL>(&rcClient), NULL, &rcUpdate, NULL, 0,
                                               TXTVIEW_ACTIVE);
        }
        // The next layout hides the bar the text no longer needs.
        if (m_bVScrollBarFixing && m_pVerticalScrollBar && !OverflowsWithoutBar(rcClient)) NeedUpdate();
    }
    PaintItems(hDC, rcPaint);
    PaintScrollBars(hDC, rcPaint);
}

// ---------------------------------------------------------------------------
// Scrolling

void CRichEditUI::ScrollEditor(UINT uMsg, WORD wRequest)
{
    SendToEditor(uMsg, wRequest, 0);
}

void CRichEditUI::SetScrollPos(SIZE szPos)
{
    const SIZE szMoved = MoveScrollBars(szPos);
    if (szMoved.cy != 0) {
        CScrollBarUI* pBar = m_pVerticalScrollBar.get();
        SendToEditor(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pBar->GetScrollPos()), 0);
        // Plain text may stop short of a position near the end; the bar
        // keeps the one asked for.
        if (!m_bRich && szMoved.cy > 0 && pBar->GetScrollPos() <= szPos.cy) pBar->SetScrollPos(szPos.cy);
    }
    if (szMoved.cx != 0) {
        SendToEditor(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, m_pHorizontalScrollBar->GetScrollPos()), 0);
    }
}

void CRichEditUI::LineUp() { ScrollEditor(WM_VSCROLL, SB_LINEUP); }
void CRichEditUI::PageUp() { ScrollEditor(WM_VSCROLL, SB_PAGEUP); }
void CRichEditUI::PageDown() { ScrollEditor(WM_VSCROLL, SB_PAGEDOWN); }
void CRichEditUI::HomeUp() { ScrollEditor(WM_VSCROLL, SB_TOP); }
void CRichEditUI::EndDown() { ScrollEditor(WM_VSCROLL, SB_BOTTOM); }
void CRichEditUI::LineLeft() { ScrollEditor(WM_HSCROLL, SB_LINELEFT); }
void CRichEditUI::LineRight() { ScrollEditor(WM_HSCROLL, SB_LINERIGHT); }
void CRichEditUI::PageLeft() { ScrollEditor(WM_HSCROLL, SB_PAGELEFT); }
void CRichEditUI::PageRight() { ScrollEditor(WM_HSCROLL, SB_PAGERIGHT); }
void CRichEditUI::HomeLeft() { ScrollEditor(WM_HSCROLL, SB_LEFT); }
void CRichEditUI::EndRight() { ScrollEditor(WM_HSCROLL, SB_RIGHT); }

void CRichEditUI::LineDown()
{
    const int nOld = IsVerticalBarShown() ? m_pVerticalScrollBar->GetScrollPos() : 0;
    ScrollEditor(WM_VSCROLL, SB_LINEDOWN);
    // Plain text does not scroll its last line up to the end; the bar goes there.
    if (!m_bRich && IsVerticalBarShown() && m_pVerticalScrollBar->GetScrollPos() <= nOld) {
        m_pVerticalScrollBar->SetScrollPos(m_pVerticalScrollBar->GetScrollRange());
    }
}

} // namespace SkinLib
