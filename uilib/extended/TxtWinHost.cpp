// CTxtWinHost, the rich edit's text host:
//   - creation: the default formats and the properties, then the text services
//   - IUnknown
//   - ITextHost: device context, scroll bars, invalidation, caret, timers,
//     capture and cursor, coordinates, formats and properties, notifications
//   - what the control changes, each change announced to the text services
#include "extended/TxtWinHost.h"

#include <stdlib.h>

#include <new>

#include "controls/ScrollBarUI.h"
#include "core/RenderEngine.h"
#include "extended/RichEditUI.h"

namespace SkinLib {

namespace {

// The import library offers these two only as code, not as data.
const IID kIIDTextServices = {0x8D33F740, 0xCF58, 0x11CE, {0xA8, 0x9D, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};
const IID kIIDTextHost = {0xC5BDD8D0, 0xD26E, 0x11CE, {0xA8, 0x9E, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};

// The mask the edit control shows for a password's characters.
const wchar_t kPasswordMask = L'\x25CF';
const LONG kDefaultMaxLength = 32767;
const LONG kDefaultTabTwips = 720;
const LONG kHimetricPerInch = 2540;
const LONG kTwipsPerInch = 1440;

// Pixels per inch of the paint DC (LOGPIXELSX or LOGPIXELSY); without one,
// of the screen.
int PixelsPerInch(HDC hDC, int nIndex)
{
    int nPixels = 0;
    if (hDC != NULL) {
        nPixels = ::GetDeviceCaps(hDC, nIndex);
    }
    else {
        const HDC hScreen = ::GetDC(NULL);
        nPixels = ::GetDeviceCaps(hScreen, nIndex);
        ::ReleaseDC(NULL, hScreen);
    }
    return nPixels > 0 ? nPixels : 96;
}

} // namespace

CTxtWinHost::CTxtWinHost()
    : m_pControl(NULL), m_cRefs(0), m_pTextServices(NULL), m_dwStyle(0), m_bWordWrap(false), m_bRich(false),
      m_bInplaceActive(false), m_bTransparent(false), m_bCaptured(false),
      m_lMaxLength(kDefaultMaxLength), m_rcClient(), m_sizelExtent(), m_cf(), m_pf(), m_chPasswordChar(0)
{
}

CTxtWinHost::~CTxtWinHost()
{
    if (m_pTextServices == NULL) return;
    m_pTextServices->OnTxInPlaceDeactivate();
    m_pTextServices->Release();
}

// ---------------------------------------------------------------------------
// Creation

CTxtWinHost* CTxtWinHost::CreateHost(CRichEditUI* pControl, const CREATESTRUCTW& cs)
{
    CTxtWinHost* pHost = new (std::nothrow) CTxtWinHost;
    if (pHost == NULL) return NULL;
    if (!pHost->Init(pControl, cs)) {
        delete pHost;
        return NULL;
    }
    return pHost;
}

bool CTxtWinHost::Init(CRichEditUI* pControl, const CREATESTRUCTW& cs)
{
    m_pControl = pControl;
    m_cRefs = 1;

    CPaintManagerUI* pManager = pControl->GetManager();
    const HFONT hFont = pManager != NULL ? pManager->GetFont(pControl->GetFont()) : NULL;
    LOGFONTW lf;
    if (hFont == NULL || ::GetObjectW(hFont, sizeof(lf), &lf) == 0) return false;
    m_cf.cbSize = sizeof(m_cf);
    m_cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_OFFSET | CFM_CHARSET;
    SetFontFormat(lf);
    m_cf.crTextColor = ToColorRef(pControl->GetTextColor());

    m_pf.cbSize = sizeof(m_pf);
    m_pf.dwMask = PFM_ALL;
    m_pf.wAlignment = PFA_LEFT;
    m_pf.cTabCount = 1;
    m_pf.rgxTabs[0] = kDefaultTabTwips;

    m_dwStyle = cs.style;
    m_bRich = pControl->IsRich();
    m_lMaxLength = pControl->GetLimitText() > 0 ? pControl->GetLimitText() : kDefaultMaxLength;
    m_bWordWrap = (cs.style & (WS_HSCROLL | ES_AUTOHSCROLL)) == 0;
    if ((cs.style & ES_CENTER) != 0) m_pf.wAlignment = PFA_CENTER;
    else if ((cs.style & ES_RIGHT) != 0) m_pf.wAlignment = PFA_RIGHT;
    // Text services read these once, as they are made, and not again when
    // told of a change: the control paints its own background under the
    // text, and a password must never show in clear.
    m_bInplaceActive = true;
    m_bTransparent = true;
    if ((cs.style & ES_PASSWORD) != 0) m_chPasswordChar = kPasswordMask;

    // Loaded for good: text services may outlive any one control.
    const HMODULE hModule = ::LoadLibraryW(L"msftedit.dll");
    if (hModule == NULL) return false;
    const PCreateTextServices pfnCreate = reinterpret_cast<PCreateTextServices>(
        reinterpret_cast<void*>(::GetProcAddress(hModule, "CreateTextServices")));
    if (pfnCreate == NULL) return false;
    IUnknown* pUnknown = NULL;
    if (FAILED(pfnCreate(NULL, this, &pUnknown)) || pUnknown == NULL) return false;
    const HRESULT hr = pUnknown->QueryInterface(kIIDTextServices, reinterpret_cast<void**>(&m_pTextServices));
    pUnknown->Release();
    if (FAILED(hr) || m_pTextServices == NULL) return false;
    return cs.lpszName == NULL || SUCCEEDED(m_pTextServices->TxSetText(cs.lpszName));
}

void CTxtWinHost::SetFontFormat(const LOGFONTW& lf)
{
    // A positive height is the cell's, a negative one the character's; both
    // give a text height.
    const LONG nHeight = ::labs(lf.lfHeight);
    m_cf.yHeight = MulDiv(nHeight, kTwipsPerInch, PixelsPerInch(TxGetDC(), LOGPIXELSY));
    m_cf.dwEffects &= ~(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE);
    if (lf.lfWeight >= FW_BOLD) m_cf.dwEffects |= CFE_BOLD;
    if (lf.lfItalic) m_cf.dwEffects |= CFE_ITALIC;
    if (lf.lfUnderline) m_cf.dwEffects |= CFE_UNDERLINE;
    m_cf.bCharSet = lf.lfCharSet;
    m_cf.bPitchAndFamily = lf.lfPitchAndFamily;
    ::lstrcpynW(m_cf.szFaceName, lf.lfFaceName, LF_FACESIZE);
}

// ---------------------------------------------------------------------------
// IUnknown

HRESULT STDMETHODCALLTYPE CTxtWinHost::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIIDTextHost)) {
        AddRef();
        *ppvObject = static_cast<ITextHost*>(this);
        return S_OK;
    }
    *ppvObject = NULL;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CTxtWinHost::AddRef()
{
    return ++m_cRefs;
}

ULONG STDMETHODCALLTYPE CTxtWinHost::Release()
{
    const ULONG cRefs = --m_cRefs;
    if (cRefs == 0) delete this;
    return cRefs;
}

// ---------------------------------------------------------------------------
// ITextHost: device context, scroll bars, invalidation

HWND CTxtWinHost::PaintWindow() const
{
    CPaintManagerUI* pManager = m_pControl->GetManager();
    return pManager != NULL ? pManager->GetPaintWindow() : NULL;
}

HDC CTxtWinHost::TxGetDC()
{
    CPaintManagerUI* pManager = m_pControl->GetManager();
    return pManager != NULL ? pManager->GetPaintDC() : NULL;
}

INT CTxtWinHost::TxReleaseDC(HDC /*hdc*/)
{
    // The paint DC stays the manager's.
    return 1;
}

void CTxtWinHost::ShowBar(CScrollBarUI* pBar, bool bShow)
{
    if (pBar == NULL || pBar->IsVisible() == bShow) return;
    pBar->SetVisible(bShow);
    m_pControl->NeedUpdate();
}

BOOL CTxtWinHost::TxShowScrollBar(INT fnBar, BOOL fShow)
{
    if (fnBar == SB_VERT || fnBar == SB_BOTH) ShowBar(m_pControl->GetVerticalScrollBar(), fShow != FALSE);
    if (fnBar == SB_HORZ || fnBar == SB_BOTH) ShowBar(m_pControl->GetHorizontalScrollBar(), fShow != FALSE);
    return TRUE;
}

BOOL CTxtWinHost::TxEnableScrollBar(INT fuSBFlags, INT fuArrowflags)
{
    const bool bShow = fuArrowflags != ESB_DISABLE_BOTH;
    const bool bVertical = fuSBFlags == SB_VERT || fuSBFlags == SB_BOTH;
    const bool bHorizontal = fuSBFlags == SB_HORZ || fuSBFlags == SB_BOTH;
    const bool bHasVertical = m_pControl->GetVerticalScrollBar() != NULL;
    const bool bHasHorizontal = m_pControl->GetHorizontalScrollBar() != NULL;
    // Only a missing bar is made: making bars lays the control out again.
    if ((bVertical && !bHasVertical) || (bHorizontal && !bHasHorizontal)) {
        m_pControl->EnableScrollBar(bVertical || bHasVertical, bHorizontal || bHasHorizontal);
    }
    if (bVertical) ShowBar(m_pControl->GetVerticalScrollBar(), bShow);
    if (bHorizontal) ShowBar(m_pControl->GetHorizontalScrollBar(), bShow);
    return TRUE;
}

void CTxtWinHost::RangeVerticalBar(long long nSpan)
{
    CScrollBarUI* pBar = m_pControl->GetVerticalScrollBar();
    if (pBar == NULL) return;
    ShowBar(pBar, nSpan > 0);
    if (nSpan > 0) pBar->SetScrollRange(ClampToInt(nSpan));
}

BOOL CTxtWinHost::TxSetScrollRange(INT fnBar, LONG nMinPos, INT nMaxPos, BOOL /*fRedraw*/)
{
    const long long nExtent = static_cast<long long>(nMaxPos) - nMinPos;
    if (fnBar == SB_VERT) {
        RangeVerticalBar(nExtent - (m_rcClient.bottom - m_rcClient.top));
    }
    else if (fnBar == SB_HORZ &&
             m_pControl->ProcessHorizontalScrollBar(ClampToInt(nExtent), m_rcClient.right - m_rcClient.left)) {
        m_pControl->NeedUpdate();
    }
    return TRUE;
}

BOOL CTxtWinHost::TxSetScrollPos(INT fnBar, INT nPos, BOOL /*fRedraw*/)
{
    CScrollBarUI* pBar = fnBar == SB_VERT   ? m_pControl->GetVerticalScrollBar()
                         : fnBar == SB_HORZ ? m_pControl->GetHorizontalScrollBar()
                                            : NULL;
    if (pBar != NULL) pBar->SetScrollPos(nPos);
    return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT prc, BOOL /*fMode*/)
{
    CPaintManagerUI* pManager = m_pControl->GetManager();
    if (pManager != NULL) pManager->Invalidate(prc != NULL ? *prc : m_rcClient);
}

void CTxtWinHost::TxViewChange(BOOL /*fUpdate*/)
{
    if (m_pControl->OnTxViewChanged()) m_pControl->Invalidate();
}

// ---------------------------------------------------------------------------
// ITextHost: caret, timers, capture, cursor, coordinates

BOOL CTxtWinHost::TxCreateCaret(HBITMAP hbmp, INT xWidth, INT yHeight)
{
    return ::CreateCaret(PaintWindow(), hbmp, xWidth, yHeight);
}

BOOL CTxtWinHost::TxShowCaret(BOOL fShow)
{
    return fShow ? ::ShowCaret(PaintWindow()) : ::HideCaret(PaintWindow());
}

BOOL CTxtWinHost::TxSetCaretPos(INT x, INT y)
{
    return ::SetCaretPos(x, y);
}

BOOL CTxtWinHost::TxSetTimer(UINT idTimer, UINT uTimeout)
{
    CPaintManagerUI* pManager = m_pControl->GetManager();
    return pManager != NULL && pManager->SetTimer(m_pControl, idTimer, uTimeout);
}

void CTxtWinHost::TxKillTimer(UINT idTimer)
{
    CPaintManagerUI* pManager = m_pControl->GetManager();
    if (pManager != NULL) pManager->KillTimer(m_pControl, idTimer);
}

void CTxtWinHost::TxScrollWindowEx(INT /*dx*/, INT /*dy*/, LPCRECT /*lprcScroll*/, LPCRECT /*lprcClip*/,
                                   HRGN /*hrgnUpdate*/, LPRECT /*lprcUpdate*/, UINT /*fuScroll*/)
{
    // Nothing is moved in the off-screen bitmap: the view change that
    // follows paints the control again as a whole.
}

void CTxtWinHost::TxSetCapture(BOOL fCapture)
{
    CPaintManagerUI* pManager = m_pControl->GetManager();
    if (pManager == NULL) return;
    if (fCapture) pManager->SetCapture();
    else pManager->ReleaseCapture();
    m_bCaptured = fCapture != FALSE;
}

void CTxtWinHost::TxSetFocus()
{
    m_pControl->SetFocus();
}

void CTxtWinHost::TxSetCursor(HCURSOR hcur, BOOL /*fText*/)
{
    ::SetCursor(hcur);
}

BOOL CTxtWinHost::TxScreenToClient(LPPOINT lppt)
{
    return ::ScreenToClient(PaintWindow(), lppt);
}

BOOL CTxtWinHost::TxClientToScreen(LPPOINT lppt)
{
    return ::ClientToScreen(PaintWindow(), lppt);
}

HRESULT CTxtWinHost::TxActivate(LONG* /*plOldState*/)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxDeactivate(LONG /*lNewState*/)
{
    return S_OK;
}

// ---------------------------------------------------------------------------
// ITextHost: formats and properties

HRESULT CTxtWinHost::TxGetClientRect(LPRECT prc)
{
    *prc = m_rcClient;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT prc)
{
    *prc = RECT{};
    return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** ppCF)
{
    *ppCF = reinterpret_cast<const CHARFORMATW*>(&m_cf);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** ppPF)
{
    *ppPF = &m_pf;
    return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int nIndex)
{
    return ::GetSysColor(nIndex);
}

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* pstyle)
{
    *pstyle = m_bTransparent ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* plength)
{
    *plength = static_cast<DWORD>(m_lMaxLength);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* pdwScrollBar)
{
    *pdwScrollBar = m_dwStyle & (WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* pch)
{
    *pch = m_chPasswordChar;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* pcp)
{
    // No accelerator character is underlined.
    *pcp = -1;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL lpExtent)
{
    *lpExtent = m_sizelExtent;
    return S_OK;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW* /*pcf*/)
{
    return S_OK;
}

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT* /*ppf*/)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits)
{
    DWORD dwBits = 0;
    if (m_bRich) dwBits |= TXTBIT_RICHTEXT;
    if ((m_dwStyle & ES_MULTILINE) != 0) dwBits |= TXTBIT_MULTILINE;
    if ((m_dwStyle & ES_READONLY) != 0) dwBits |= TXTBIT_READONLY;
    if ((m_dwStyle & ES_PASSWORD) != 0) dwBits |= TXTBIT_USEPASSWORD;
    if ((m_dwStyle & ES_NOHIDESEL) == 0) dwBits |= TXTBIT_HIDESELECTION;
    if (m_bWordWrap) dwBits |= TXTBIT_WORDWRAP;
    *pdwBits = dwBits & dwMask;
    return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD iNotify, void* pv)
{
    if (iNotify == EN_REQUESTRESIZE && pv != NULL) {
        const REQRESIZE* pRequest = static_cast<const REQRESIZE*>(pv);
        RECT rc = m_rcClient;
        rc.right = rc.left + pRequest->rc.right;
        rc.bottom = rc.top + pRequest->rc.bottom;
        SetClientRect(rc);
    }
    m_pControl->OnTxNotify(iNotify, pv);
    return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext()
{
    return NULL;
}

void CTxtWinHost::TxImmReleaseContext(HIMC /*himc*/)
{
}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* lSelBarWidth)
{
    *lSelBarWidth = 0;
    return S_OK;
}

// ---------------------------------------------------------------------------
// What the control changes

void CTxtWinHost::AnnounceBits(DWORD dwMask, bool bSet)
{
    m_pTextServices->OnTxPropertyBitsChange(dwMask, bSet ? dwMask : 0);
}

ITextServices* CTxtWinHost::GetTextServices() const
{
    return m_pTextServices;
}

void CTxtWinHost::SetClientRect(const RECT& rc)
{
    // Every layout places the control again; text services lay out their
    // whole text again for a change.
    if (::EqualRect(&rc, &m_rcClient)) return;
    m_rcClient = rc;
    const HDC hDC = TxGetDC();
    m_sizelExtent.cx = MulDiv(rc.right - rc.left, kHimetricPerInch, PixelsPerInch(hDC, LOGPIXELSX));
    m_sizelExtent.cy = MulDiv(rc.bottom - rc.top, kHimetricPerInch, PixelsPerInch(hDC, LOGPIXELSY));
    AnnounceBits(TXTBIT_EXTENTCHANGE, true);
}

const RECT& CTxtWinHost::GetControlRect() const
{
    return m_rcClient;
}

void CTxtWinHost::SetRichTextFlag(bool bRich)
{
    m_bRich = bRich;
    AnnounceBits(TXTBIT_RICHTEXT, bRich);
}

void CTxtWinHost::SetReadOnly(bool bReadOnly)
{
    if (bReadOnly) m_dwStyle |= ES_READONLY;
    else m_dwStyle &= ~static_cast<DWORD>(ES_READONLY);
    AnnounceBits(TXTBIT_READONLY, bReadOnly);
}

void CTxtWinHost::SetWordWrap(bool bWordWrap)
{
    // Stored first: the text services ask for the flag when they hear of it.
    m_bWordWrap = bWordWrap;
    AnnounceBits(TXTBIT_WORDWRAP, bWordWrap);
}

void CTxtWinHost::SetFont(HFONT hFont)
{
    LOGFONTW lf;
    if (hFont == NULL || ::GetObjectW(hFont, sizeof(lf), &lf) == 0) return;
    SetFontFormat(lf);
    AnnounceBits(TXTBIT_CHARFORMATCHANGE, true);
}

void CTxtWinHost::SetColor(DWORD dwColor)
{
    m_cf.crTextColor = ToColorRef(dwColor);
    AnnounceBits(TXTBIT_CHARFORMATCHANGE, true);
}

void CTxtWinHost::LimitText(LONG nChars)
{
    m_lMaxLength = nChars > 0 ? nChars : kDefaultMaxLength;
    AnnounceBits(TXTBIT_MAXLENGTHCHANGE, true);
    // Some text services read the property only as they are made; the
    // message reaches them all.
    LRESULT lResult = 0;
    m_pTextServices->TxSendMessage(EM_EXLIMITTEXT, 0, m_lMaxLength, &lResult);
}

void CTxtWinHost::SetCharFormat(const CHARFORMAT2W& cf)
{
    m_cf = cf;
}

void CTxtWinHost::SetParaFormat(const PARAFORMAT2& pf)
{
    m_pf = pf;
}

HRESULT CTxtWinHost::Activate(const RECT* prc)
{
    m_bInplaceActive = true;
    const HRESULT hr = m_pTextServices->OnTxInPlaceActivate(prc);
    if (FAILED(hr)) m_bInplaceActive = false;
    return hr;
}

bool CTxtWinHost::DoSetCursor(const RECT* prc, POINT pt)
{
    const RECT rc = prc != NULL ? *prc : m_rcClient;
    if (!::PtInRect(&rc, pt)) return false;
    const RECT* prcClient = prc == NULL && m_bInplaceActive ? NULL : &rc;
    m_pTextServices->OnTxSetCursor(DVASPECT_CONTENT, -1, NULL, NULL, TxGetDC(), NULL, prcClient, pt.x, pt.y);
    return true;
}

bool CTxtWinHost::IsCaptured() const
{
    return m_bCaptured;
}

} // namespace SkinLib
