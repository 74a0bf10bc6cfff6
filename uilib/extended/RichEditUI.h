#pragma once

#include <windows.h>
#include <richedit.h>
#include <textserv.h>

#include "controls/ContainerUI.h"
#include "core/PaintManagerUI.h"

namespace SkinLib {

class CTxtWinHost;

// The windowless multi-line and rich text editor. The editing is done by the
// system's text services through the control's text host: the control feeds
// them the window messages meant for it (as a message filter of its paint
// manager), lets them draw into the paint DC and lends them its scroll bars.
// Until DoInit creates the host the control only keeps its settings and text.
class CRichEditUI : public CContainerUI, public IMessageFilterUI, public IWantTabUI
{
public:
    CRichEditUI();
    ~CRichEditUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    // The text services' text once the host exists; empty before.
    CSkinString GetText() const override;
    void SetText(const wchar_t* pstrText) override;
    void SetPos(RECT rc) override;
    void DoInit() override;
    void DoEvent(tagTEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    // Scrolling moves the text services' view; the bars follow it.
    void SetScrollPos(SIZE szPos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;

    // Settings. Style bits, rich text, word wrap and the limit are read by
    // the text services as they are made (DoInit); some take later changes
    // too, some do not.
    bool IsWantTab() const override;
    void SetWantTab(bool bWantTab = true);
    bool IsWantReturn() const;
    void SetWantReturn(bool bWantReturn = true);
    bool IsWantCtrlReturn() const;
    void SetWantCtrlReturn(bool bWantCtrlReturn = true);
    bool IsRich() const;
    void SetRich(bool bRich = true);
    bool IsReadOnly() const;
    void SetReadOnly(bool bReadOnly = true);
    bool GetWordWrap() const;
    void SetWordWrap(bool bWordWrap = true);
    int GetFont() const;
    void SetFont(int index);
    // Needs the host. A size of 0 or less leaves the font as it is.
    void SetFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    LONG GetWinStyle() const;
    void SetWinStyle(LONG lStyle);
    DWORD GetTextColor() const;
    void SetTextColor(DWORD dwTextColor);
    int GetLimitText() const;
    void SetLimitText(int iChars);
    bool IsAccumulateDBCMode() const;
    void SetAccumulateDBCMode(bool bDBCMode);

    // Text and selection. Operations that need no host deliver nothing
    // without one and answer 0 or an empty text.
    long GetTextLength(DWORD dwFlags = GTL_DEFAULT) const;
    bool GetModify() const;
    void SetModify(bool bModified = true);
    void GetSel(CHARRANGE& cr) const;
    void GetSel(long& nStartChar, long& nEndChar) const;
    int SetSel(CHARRANGE& cr);
    int SetSel(long nStartChar, long nEndChar);
    void ReplaceSel(const wchar_t* lpszNewText, bool bCanUndo);
    void ReplaceSelW(const wchar_t* lpszNewText, bool bCanUndo = false);
    CSkinString GetSelText() const;
    int SetSelAll();
    int SetSelNone();
    WORD GetSelectionType() const;
    // End -1, or past the text, means the end of the text; a start below 0
    // or after the end gives an empty text.
    CSkinString GetTextRange(long nStartChar, long nEndChar) const;
    void HideSelection(bool bHide = true, bool bChangeStyle = false);
    void ScrollCaret();
    int InsertText(long nInsertAfterChar, const wchar_t* lpstrText, bool bCanUndo = false);
    int AppendText(const wchar_t* lpstrText, bool bCanUndo = false);
    bool GetAutoURLDetect() const;
    bool SetAutoURLDetect(bool bAutoDetect = true);
    DWORD GetEventMask() const;
    // The mask before the change.
    DWORD SetEventMask(DWORD dwEventMask);

    // Zoom, num / den, each at most 64; 0 / 0 is off.
    bool GetZoom(int& nNum, int& nDen) const;
    bool SetZoom(int nNum, int nDen);
    bool SetZoomOff();

    // Formats. The getters answer the mask of the fields that are valid.
    DWORD GetDefaultCharFormat(CHARFORMAT2W& cf) const;
    bool SetDefaultCharFormat(CHARFORMAT2W& cf);
    DWORD GetSelectionCharFormat(CHARFORMAT2W& cf) const;
    bool SetSelectionCharFormat(CHARFORMAT2W& cf);
    bool SetWordCharFormat(CHARFORMAT2W& cf);
    DWORD GetParaFormat(PARAFORMAT2& pf) const;
    bool SetParaFormat(PARAFORMAT2& pf);

    // Editing.
    bool Redo();
    bool Undo();
    void Clear();
    void Copy();
    void Cut();
    void Paste();
    void EmptyUndoBuffer();
    UINT SetUndoLimit(UINT nLimit);
    long StreamIn(int nFormat, EDITSTREAM& es);
    long StreamOut(int nFormat, EDITSTREAM& es);

    // Lines and positions. Line ends are single "\r"s.
    int GetLineCount() const;
    // At most nMaxLength characters; below 1, an empty text.
    CSkinString GetLine(int nIndex, int nMaxLength) const;
    int LineIndex(int nLine = -1) const;
    int LineLength(int nLine = -1) const;
    bool LineScroll(int nLines, int nChars = 0);
    CPoint GetCharPos(long lChar) const;
    CPoint PosFromChar(UINT nChar) const;
    long LineFromChar(long nIndex) const;
    int CharFromPos(CPoint pt) const;

    // Null without a host or when the text services have none; the caller
    // releases it.
    IDropTarget* GetTxDropTarget();
    bool SetDropAcceptFile(bool bAccept);

    // The one road of window messages to the text services. Enter goes to
    // them only as the want-return settings say; otherwise it becomes the
    // notification "return". S_FALSE without a host.
    virtual HRESULT TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plresult);
    // Asked by the host whenever the view changes: true repaints the control.
    virtual bool OnTxViewChanged();
    // Every notification of the text services; the ones a window would get
    // from a rich edit window reach the paint window as WM_NOTIFY.
    virtual void OnTxNotify(DWORD iNotify, void* pv);

    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

protected:
    // A message for the text services with no key rules on the way; 0
    // without a host.
    LRESULT SendToEditor(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // The text services' natural height at a width, or -1 when they give none.
    LONG NaturalHeight(int cxWidth) const;
    // Whether the text is taller than rcClient even at the width the
    // vertical bar would give back.
    bool OverflowsWithoutBar(const RECT& rcClient) const;
    void ScrollEditor(UINT uMsg, WORD wRequest);
    // A style bit set or cleared.
    void SetStyleBit(LONG lBit, bool bSet);

    CTxtWinHost* m_pHost;  // one reference, released by the destructor
    bool m_bVScrollBarFixing;
    bool m_bWantTab;
    bool m_bWantReturn;
    bool m_bWantCtrlReturn;
    bool m_bRich;
    bool m_bReadOnly;
    bool m_bWordWrap;
    DWORD m_dwTextColor;
    int m_iFont;
    int m_iLimitText;
    LONG m_lTwhStyle;
    bool m_bInited;
    bool m_bAccumulateDBC;
};

} // namespace SkinLib
