#pragma once

#include <windows.h>
#include <richedit.h>
#include <textserv.h>

namespace SkinLib {

class CRichEditUI;
class CScrollBarUI;

// The windowless host of one rich edit's text services (those of
// "msftedit.dll"). It answers their questions from the control and its paint
// manager (the paint window and DC, timers, capture, the control's scroll
// bars) and keeps what they read back: style bits, property flags, the client
// rectangle, the default character and paragraph formats, the maximum length
// and the password character. It counts its references and deletes itself at
// the last Release.
class CTxtWinHost : public ITextHost
{
public:
    // A host over new text services, holding one reference for the caller;
    // null when anything on the way fails. The create struct gives the style
    // bits and the first text.
    static CTxtWinHost* CreateHost(CRichEditUI* pControl, const CREATESTRUCTW& cs);

    CTxtWinHost(const CTxtWinHost&) = delete;
    CTxtWinHost& operator=(const CTxtWinHost&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HDC TxGetDC() override;
    INT TxReleaseDC(HDC hdc) override;
    BOOL TxShowScrollBar(INT fnBar, BOOL fShow) override;
    BOOL TxEnableScrollBar(INT fuSBFlags, INT fuArrowflags) override;
    BOOL TxSetScrollRange(INT fnBar, LONG nMinPos, INT nMaxPos, BOOL fRedraw) override;
    BOOL TxSetScrollPos(INT fnBar, INT nPos, BOOL fRedraw) override;
    void TxInvalidateRect(LPCRECT prc, BOOL fMode) override;
    void TxViewChange(BOOL fUpdate) override;
    BOOL TxCreateCaret(HBITMAP hbmp, INT xWidth, INT yHeight) override;
    BOOL TxShowCaret(BOOL fShow) override;
    BOOL TxSetCaretPos(INT x, INT y) override;
    BOOL TxSetTimer(UINT idTimer, UINT uTimeout) override;
    void TxKillTimer(UINT idTimer) override;
    void TxScrollWindowEx(INT dx, INT dy, LPCRECT lprcScroll, LPCRECT lprcClip, HRGN hrgnUpdate, LPRECT lprcUpdate,
                          UINT fuScroll) override;
    void TxSetCapture(BOOL fCapture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR hcur, BOOL fText) override;
    BOOL TxScreenToClient(LPPOINT lppt) override;
    BOOL TxClientToScreen(LPPOINT lppt) override;
    HRESULT TxActivate(LONG* plOldState) override;
    HRESULT TxDeactivate(LONG lNewState) override;
    HRESULT TxGetClientRect(LPRECT prc) override;
    HRESULT TxGetViewInset(LPRECT prc) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** ppCF) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** ppPF) override;
    COLORREF TxGetSysColor(int nIndex) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* pstyle) override;
    HRESULT TxGetMaxLength(DWORD* plength) override;
    HRESULT TxGetScrollBars(DWORD* pdwScrollBar) override;
    HRESULT TxGetPasswordChar(TCHAR* pch) override;
    HRESULT TxGetAcceleratorPos(LONG* pcp) override;
    HRESULT TxGetExtent(LPSIZEL lpExtent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* pcf) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* ppf) override;
    HRESULT TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) override;
    HRESULT TxNotify(DWORD iNotify, void* pv) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC himc) override;
    HRESULT TxGetSelectionBarWidth(LONG* lSelBarWidth) override;

    // What the control changes; each change is announced to the text services.
    ITextServices* GetTextServices() const;
    void SetClientRect(const RECT& rc);
    const RECT& GetControlRect() const;
    void SetRichTextFlag(bool bRich);
    void SetReadOnly(bool bReadOnly);
    void SetWordWrap(bool bWordWrap);
    // Size, face, character set and the bold, italic and underline effects
    // all follow the font; a null font changes nothing.
    void SetFont(HFONT hFont);
    void SetColor(DWORD dwColor);
    // 0 or less: 32767 characters.
    void LimitText(LONG nChars);
    void SetCharFormat(const CHARFORMAT2W& cf);
    void SetParaFormat(const PARAFORMAT2& pf);
    // In-place activation over the rectangle (null: the client rectangle).
    HRESULT Activate(const RECT* prc);
    // Lets the text services set the cursor for a point of the paint window;
    // false when the point lies outside the rectangle (null: the client rectangle).
    bool DoSetCursor(const RECT* prc, POINT pt);
    bool IsCaptured() const;

private:
    CTxtWinHost();
    virtual ~CTxtWinHost();

    bool Init(CRichEditUI* pControl, const CREATESTRUCTW& cs);
    void SetFontFormat(const LOGFONTW& lf);
    void AnnounceBits(DWORD dwMask, bool bSet);
    HWND PaintWindow() const;
    // A scroll bar's visibility; the control lays out again around a change.
    void ShowBar(CScrollBarUI* pBar, bool bShow);
    // The vertical bar for a text nSpan pixels taller than the client area.
    void RangeVerticalBar(long long nSpan);

    CRichEditUI* m_pControl;  // not owned
    ULONG m_cRefs;
    ITextServices* m_pTextServices;  // one reference
    DWORD m_dwStyle;                 // ES_ and WS_ bits
    bool m_bWordWrap;
    bool m_bRich;
    bool m_bInplaceActive;
    bool m_bTransparent;
    bool m_bCaptured;
    LONG m_lMaxLength;
    RECT m_rcClient;     // paint window coordinates
    SIZEL m_sizelExtent; // the client rectangle in HIMETRIC
    CHARFORMAT2W m_cf;
    PARAFORMAT2 m_pf;
    wchar_t m_chPasswordChar;
};

} // namespace SkinLib
