// CRichEditUI, the text: each operation is one or two messages to the text
// services, which answer 0 or an empty text without a host.
//   - text, selection, ranges
//   - zoom, formats, editing and undo
//   - lines and positions, dropping
#include "extended/RichEditUI.h"

#include <memory>
#include <new>

#include "extended/TxtWinHost.h"

namespace SkinLib {

namespace {

// A text the text services write into a zeroed buffer of cch characters and
// a terminator. A buffer that held a password is wiped before it goes.
template <class Fill> CSkinString ReadText(long long cch, bool bSecret, Fill fill)
{
    if (cch <= 0) return CSkinString();
    const size_t n = static_cast<size_t>(cch) + 1;
    std::unique_ptr<wchar_t[]> pBuffer(new (std::nothrow) wchar_t[n]());
    if (!pBuffer) return CSkinString();
    fill(pBuffer.get());
    pBuffer[n - 1] = L'\0';
    CSkinString sText(pBuffer.get());
    if (bSecret) ::SecureZeroMemory(pBuffer.get(), n * sizeof(wchar_t));
    return sText;
}

const UINT kCodePageUtf16 = 1200;
// Text services take zoom ratios up to this.
const UINT kMaxZoom = 64;

} // namespace

// ---------------------------------------------------------------------------
// Text, selection, ranges

long CRichEditUI::GetTextLength(DWORD dwFlags) const
{
    GETTEXTLENGTHEX tl = {dwFlags, kCodePageUtf16};
    return static_cast<long>(SendToEditor(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&tl)));
}

CSkinString CRichEditUI::GetText() const
{
    const long cch = GetTextLength(GTL_DEFAULT);
    return ReadText(cch, (m_lTwhStyle & ES_PASSWORD) != 0, [&](wchar_t* pBuffer) {
        GETTEXTEX gt = {};
        gt.cb = static_cast<DWORD>((cch + 1) * sizeof(wchar_t));
        gt.flags = GT_DEFAULT;
        gt.codepage = kCodePageUtf16;
        SendToEditor(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&gt), reinterpret_cast<LPARAM>(pBuffer));
    });
}

void CRichEditUI::SetText(const wchar_t* pstrText)
{
    if (pstrText == NULL) pstrText = L"";
    if (m_pHost != NULL) {
        SetSel(0, -1);
        ReplaceSel(pstrText, false);
        return;
    }
    // Kept for DoInit. A copy first: the new text may lie in the storage
    // about to be wiped.
    CSkinString sNew(pstrText);
    m_sText.SecureEmpty();
    m_sText = sNew;
    sNew.SecureEmpty();
}

bool CRichEditUI::GetModify() const
{
    // Text services answer any non-zero value for "modified".
    return SendToEditor(EM_GETMODIFY) != 0;
}

void CRichEditUI::SetModify(bool bModified)
{
    SendToEditor(EM_SETMODIFY, bModified);
}

void CRichEditUI::GetSel(CHARRANGE& cr) const
{
    cr = CHARRANGE{};
    SendToEditor(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

void CRichEditUI::GetSel(long& nStartChar, long& nEndChar) const
{
    CHARRANGE cr;
    GetSel(cr);
    nStartChar = cr.cpMin;
    nEndChar = cr.cpMax;
}

int CRichEditUI::SetSel(CHARRANGE& cr)
{
    return static_cast<int>(SendToEditor(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr)));
}

int CRichEditUI::SetSel(long nStartChar, long nEndChar)
{
    CHARRANGE cr = {nStartChar, nEndChar};
    return SetSel(cr);
}

void CRichEditUI::ReplaceSel(const wchar_t* lpszNewText, bool bCanUndo)
{
    SendToEditor(EM_REPLACESEL, bCanUndo, reinterpret_cast<LPARAM>(lpszNewText));
}

void CRichEditUI::ReplaceSelW(const wchar_t* lpszNewText, bool bCanUndo)
{
    ReplaceSel(lpszNewText, bCanUndo);
}

CSkinString CRichEditUI::GetSelText() const
{
    CHARRANGE cr;
    GetSel(cr);
    return ReadText(static_cast<long long>(cr.cpMax) - cr.cpMin, (m_lTwhStyle & ES_PASSWORD) != 0,
                    [&](wchar_t* pBuffer) { SendToEditor(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(pBuffer)); });
}

int CRichEditUI::SetSelAll()
{
    return SetSel(0, -1);
}

int CRichEditUI::SetSelNone()
{
    return SetSel(-1, 0);
}

WORD CRichEditUI::GetSelectionType() const
{
    return static_cast<WORD>(SendToEditor(EM_SELECTIONTYPE));
}

CSkinString CRichEditUI::GetTextRange(long nStartChar, long nEndChar) const
{
    // The buffer is sized from the range the text really has.
    const long cchText = GetTextLength(GTL_DEFAULT);
    if (nEndChar < 0 || nEndChar > cchText) nEndChar = cchText;
    if (nStartChar < 0 || nStartChar >= nEndChar) return CSkinString();
    return ReadText(nEndChar - nStartChar, (m_lTwhStyle & ES_PASSWORD) != 0, [&](wchar_t* pBuffer) {
        TEXTRANGEW tr = {{nStartChar, nEndChar}, pBuffer};
        SendToEditor(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr));
    });
}

void CRichEditUI::HideSelection(bool bHide, bool bChangeStyle)
{
    SendToEditor(EM_HIDESELECTION, bHide, bChangeStyle);
}

void CRichEditUI::ScrollCaret()
{
    SendToEditor(EM_SCROLLCARET);
}

int CRichEditUI::InsertText(long nInsertAfterChar, const wchar_t* lpstrText, bool bCanUndo)
{
    const int nResult = SetSel(nInsertAfterChar, nInsertAfterChar);
    ReplaceSel(lpstrText, bCanUndo);
    return nResult;
}

int CRichEditUI::AppendText(const wchar_t* lpstrText, bool bCanUndo)
{
    const int nResult = SetSel(-1, -1);
    ReplaceSel(lpstrText, bCanUndo);
    return nResult;
}

bool CRichEditUI::GetAutoURLDetect() const
{
    return SendToEditor(EM_GETAUTOURLDETECT) == 1;
}

bool CRichEditUI::SetAutoURLDetect(bool bAutoDetect)
{
    return SendToEditor(EM_AUTOURLDETECT, bAutoDetect) == 0;
}

DWORD CRichEditUI::GetEventMask() const
{
    return static_cast<DWORD>(SendToEditor(EM_GETEVENTMASK));
}

DWORD CRichEditUI::SetEventMask(DWORD dwEventMask)
{
    return static_cast<DWORD>(SendToEditor(EM_SETEVENTMASK, 0, dwEventMask));
}

// ---------------------------------------------------------------------------
// Zoom, formats, editing and undo

bool CRichEditUI::GetZoom(int& nNum, int& nDen) const
{
    return SendToEditor(EM_GETZOOM, reinterpret_cast<WPARAM>(&nNum), reinterpret_cast<LPARAM>(&nDen)) == 1;
}

bool CRichEditUI::SetZoom(int nNum, int nDen)
{
    if (static_cast<UINT>(nNum) > kMaxZoom || static_cast<UINT>(nDen) > kMaxZoom) return false;
    return SendToEditor(EM_SETZOOM, nNum, nDen) == 1;
}

bool CRichEditUI::SetZoomOff()
{
    return SendToEditor(EM_SETZOOM, 0, 0) == 1;
}

DWORD CRichEditUI::GetDefaultCharFormat(CHARFORMAT2W& cf) const
{
    cf.cbSize = sizeof(cf);
    return static_cast<DWORD>(SendToEditor(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf)));
}

bool CRichEditUI::SetDefaultCharFormat(CHARFORMAT2W& cf)
{
    cf.cbSize = sizeof(cf);
    if (m_pHost == NULL || SendToEditor(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf)) != 1) {
        return false;
    }
    CHARFORMAT2W cfNow = {};
    cfNow.cbSize = sizeof(cfNow);
    SendToEditor(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cfNow));
    m_pHost->SetCharFormat(cfNow);
    return true;
}

DWORD CRichEditUI::GetSelectionCharFormat(CHARFORMAT2W& cf) const
{
    cf.cbSize = sizeof(cf);
    return static_cast<DWORD>(SendToEditor(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)));
}

bool CRichEditUI::SetSelectionCharFormat(CHARFORMAT2W& cf)
{
    cf.cbSize = sizeof(cf);
    return SendToEditor(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)) == 1;
}

bool CRichEditUI::SetWordCharFormat(CHARFORMAT2W& cf)
{
    cf.cbSize = sizeof(cf);
    return SendToEditor(EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, reinterpret_cast<LPARAM>(&cf)) == 1;
}

DWORD CRichEditUI::GetParaFormat(PARAFORMAT2& pf) const
{
    pf.cbSize = sizeof(pf);
    return static_cast<DWORD>(SendToEditor(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf)));
}

bool CRichEditUI::SetParaFormat(PARAFORMAT2& pf)
{
    pf.cbSize = sizeof(pf);
    if (m_pHost == NULL || SendToEditor(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf)) != 1) return false;
    m_pHost->SetParaFormat(pf);
    return true;
}

bool CRichEditUI::Redo()
{
    return SendToEditor(EM_REDO) == 1;
}

bool CRichEditUI::Undo()
{
    return SendToEditor(EM_UNDO) == 1;
}

void CRichEditUI::Clear() { SendToEditor(WM_CLEAR); }
void CRichEditUI::Copy() { SendToEditor(WM_COPY); }
void CRichEditUI::Cut() { SendToEditor(WM_CUT); }
void CRichEditUI::Paste() { SendToEditor(WM_PASTE); }

void CRichEditUI::EmptyUndoBuffer()
{
    SendToEditor(EM_EMPTYUNDOBUFFER);
}

UINT CRichEditUI::SetUndoLimit(UINT nLimit)
{
    return static_cast<UINT>(SendToEditor(EM_SETUNDOLIMIT, nLimit));
}

long CRichEditUI::StreamIn(int nFormat, EDITSTREAM& es)
{
    return static_cast<long>(SendToEditor(EM_STREAMIN, nFormat, reinterpret_cast<LPARAM>(&es)));
}

long CRichEditUI::StreamOut(int nFormat, EDITSTREAM& es)
{
    return static_cast<long>(SendToEditor(EM_STREAMOUT, nFormat, reinterpret_cast<LPARAM>(&es)));
}

// ---------------------------------------------------------------------------
// Lines, positions, dropping

int CRichEditUI::GetLineCount() const
{
    return static_cast<int>(SendToEditor(EM_GETLINECOUNT));
}

CSkinString CRichEditUI::GetLine(int nIndex, int nMaxLength) const
{
    if (nMaxLength < 1) return CSkinString();
    // No line is longer than the text, and the buffer's size travels in its
    // first 16 bits.
    long long cch = nMaxLength;
    const long cchText = GetTextLength(GTL_DEFAULT);
    if (cch > cchText) cch = cchText;
    if (cch > 0xFFFF) cch = 0xFFFF;
    return ReadText(cch, (m_lTwhStyle & ES_PASSWORD) != 0, [&](wchar_t* pBuffer) {
        *reinterpret_cast<WORD*>(pBuffer) = static_cast<WORD>(cch);
        const LRESULT nCopied = SendToEditor(EM_GETLINE, nIndex, reinterpret_cast<LPARAM>(pBuffer));
        // Ends after what was copied: an empty line leaves the size word in place.
        pBuffer[nCopied > 0 && nCopied <= cch ? nCopied : 0] = L'\0';
    });
}

int CRichEditUI::LineIndex(int nLine) const
{
    return static_cast<int>(SendToEditor(EM_LINEINDEX, nLine));
}

int CRichEditUI::LineLength(int nLine) const
{
    return static_cast<int>(SendToEditor(EM_LINELENGTH, nLine));
}

bool CRichEditUI::LineScroll(int nLines, int nChars)
{
    return SendToEditor(EM_LINESCROLL, nChars, nLines) == 1;
}

CPoint CRichEditUI::GetCharPos(long lChar) const
{
    CPoint pt;
    SendToEditor(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&pt), lChar);
    return pt;
}

CPoint CRichEditUI::PosFromChar(UINT nChar) const
{
    return GetCharPos(static_cast<long>(nChar));
}

long CRichEditUI::LineFromChar(long nIndex) const
{
    return static_cast<long>(SendToEditor(EM_EXLINEFROMCHAR, 0, nIndex));
}

int CRichEditUI::CharFromPos(CPoint pt) const
{
    return static_cast<int>(SendToEditor(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&pt)));
}

IDropTarget* CRichEditUI::GetTxDropTarget()
{
    IDropTarget* pTarget = NULL;
    if (m_pHost == NULL || FAILED(m_pHost->GetTextServices()->TxGetDropTarget(&pTarget))) return NULL;
    return pTarget;
}

bool CRichEditUI::SetDropAcceptFile(bool bAccept)
{
    // Accepting replaces the mask; refusing takes the dropped files out of it.
    const DWORD dwMask = bAccept ? ENM_DROPFILES | ENM_LINK : GetEventMask() & ~static_cast<DWORD>(ENM_DROPFILES);
    return SendToEditor(EM_SETEVENTMASK, 0, dwMask) == 0;
}

} // namespace SkinLib
