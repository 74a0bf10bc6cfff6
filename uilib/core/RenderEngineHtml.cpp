// CRenderEngine, mark-up text.
#include "core/RenderEngine.h"

#include "core/GdiScope.h"
#include "core/RenderClip.h"
#include "core/RenderEngineInternal.h"

#include <cwchar>
#include <vector>

namespace SkinLib {

// ---------------------------------------------------------------------------
// Mark-up text: words wrapped into a rectangle with inline tags for fonts,
// colours, links, images and spacing, drawn or measured with GDI.
//
// Each line is walked twice when drawing: a measuring pass finds where the
// line ends and how tall it is, then the state saved at the line's start is
// put back and a drawing pass places every piece on the line's bottom.

namespace {

// Characters measured per call once a run reaches the right edge.
const int kFitChunk = 64;

bool IsOpener(wchar_t ch) { return ch == L'<' || ch == L'{'; }
bool IsCloser(wchar_t ch) { return ch == L'>' || ch == L'}'; }
bool IsTagLetter(wchar_t ch) { return ch >= L'a' && ch <= L'z'; }
bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }
bool IsSpace(wchar_t ch) { return ch > 0 && ch <= L' '; }
bool IsAsciiLetter(wchar_t ch) { return IsTagLetter(ch) || (ch >= L'A' && ch <= L'Z'); }
wchar_t LowerAscii(wchar_t ch) { return ch >= L'A' && ch <= L'Z' ? wchar_t(ch + (L'a' - L'A')) : ch; }

// "<{>" and "<}>" stand for braces, "{<}" and "{>}" for angle brackets; the
// character meant is the middle one.
bool IsEscape(const wchar_t* p)
{
    if (p[0] == L'<') return (p[1] == L'{' || p[1] == L'}') && p[2] == L'>';
    return p[0] == L'{' && (p[1] == L'<' || p[1] == L'>') && p[2] == L'}';
}

bool IsRawEnd(const wchar_t* p)
{
    return (p[0] == L'<' && p[1] == L'/' && p[2] == L'r' && p[3] == L'>') ||
           (p[0] == L'{' && p[1] == L'/' && p[2] == L'r' && p[3] == L'}');
}

// A tag's closer, or the terminator when the tag is never closed.
const wchar_t* FindTagEnd(const wchar_t* p)
{
    while (*p != L'\0' && !IsCloser(*p)) p++;
    return p;
}

const wchar_t* SkipSpace(const wchar_t* p, const wchar_t* pEnd)
{
    while (p < pEnd && IsSpace(*p)) p++;
    return p;
}

const wchar_t* SkipWord(const wchar_t* p, const wchar_t* pEnd)
{
    while (p < pEnd && !IsSpace(*p)) p++;
    return p;
}

// A decimal number, or nDefault when there is none. The number cannot run
// past pEnd: a closer or the terminator stands there.
int ReadDecimal(const wchar_t*& p, const wchar_t* pEnd, int nDefault)
{
    p = SkipSpace(p, pEnd);
    wchar_t* pNext = NULL;
    const long n = ::wcstol(p, &pNext, 10);
    if (pNext == p) return nDefault;
    p = pNext;
    return int(n);
}

// Whether [p, pEnd) holds pstrWord (lower case); bNoCase lowers the text first.
bool RangeHas(const wchar_t* p, const wchar_t* pEnd, const wchar_t* pstrWord, bool bNoCase)
{
    const ptrdiff_t cch = ptrdiff_t(::wcslen(pstrWord));
    for (; pEnd - p >= cch; p++) {
        ptrdiff_t i = 0;
        while (i < cch && (bNoCase ? LowerAscii(p[i]) : p[i]) == pstrWord[i]) i++;
        if (i == cch) return true;
    }
    return false;
}

// The image and resource type an image tag names in description form: its
// "file" or "res" and "restype" pairs. p stops before the first thing that
// is not a pair.
void ReadImagePairs(const wchar_t*& p, const wchar_t* pEnd, CSkinString& sName, CSkinString& sType)
{
    ImagePair pair;
    while (ReadImagePair(p, pEnd, pair)) {
        const size_t cchKey = size_t(pair.cchKey);
        if (KeyIs(pair.pKey, cchKey, L"file") || KeyIs(pair.pKey, cchKey, L"res")) {
            sName.Assign(pair.pValue, pair.cchValue);
        }
        else if (KeyIs(pair.pKey, cchKey, L"restype")) {
            sType.Assign(pair.pValue, pair.cchValue);
        }
    }
}

// The length up to and including the last character a line may break after:
// anything that is not an ASCII letter.
int LastBreak(const wchar_t* pText, int cch)
{
    while (cch > 0 && IsAsciiLetter(pText[cch - 1])) cch--;
    return cch;
}

// How many of the cch characters fit into cxAvail, and their width in cxFit.
int FitText(HDC hDC, const TEXTMETRICW& tm, const wchar_t* pText, int cch, int cxAvail, int& cxFit)
{
    // The widest character bounds the run from above, so far from the edge a
    // single measure gives its width. Linked fonts may still be wider.
    SIZE sz = {};
    if (static_cast<long long>(cch) * tm.tmMaxCharWidth < cxAvail && ::GetTextExtentPoint32W(hDC, pText, cch, &sz) &&
        sz.cx <= cxAvail) {
        cxFit = sz.cx;
        return cch;
    }
    // Near the edge, in chunks, so that a long paragraph is not measured to
    // its end for every line.
    int aExtents[kFitChunk];
    int nFit = 0;
    cxFit = 0;
    while (nFit < cch) {
        const int nChunk = cch - nFit < kFitChunk ? cch - nFit : kFitChunk;
        int nChunkFit = 0;
        if (!::GetTextExtentExPointW(hDC, pText + nFit, nChunk, cxAvail - cxFit, &nChunkFit, aExtents, &sz)) break;
        if (nChunkFit > 0) cxFit += aExtents[nChunkFit - 1];
        nFit += nChunkFit;
        if (nChunkFit < nChunk) break;
    }
    return nFit;
}

// What tags change, with the point. Saved at the start of a line and put back
// before the line is drawn.
struct HtmlCursor
{
    std::vector<tagTFontInfo*> aFonts;  // borrowed from the manager; the top is the current font
    std::vector<DWORD> aColors;         // the top is the current text colour
    std::vector<int> aSpacings;         // paragraph spacings; the top is added to each line
    POINT pt = {};
    POINT ptLinkStart = {};
    int iLink = 0;                      // the next link slot
    bool bInLink = false;
    bool bInRaw = false;
    bool bInSelected = false;
};

struct HtmlState
{
    HDC hDC;
    CPaintManagerUI* pManager;
    RECT rc;
    UINT uStyle;
    DWORD dwTextColor;
    tagTFontInfo* pDefaultFont;
    RECT* pLinks;
    CSkinString* sLinks;
    int nLinkCapacity;
    bool bHoverFound = false;
    CSkinString sHoverLink;  // a copy: this call rewrites the slots it came from

    const wchar_t* p;
    HtmlCursor cur;
    bool bMeasurePass = true;
    bool bLineEnd = false;
    // The line so far ends where it may break: after a space, a non-letter or
    // an image. A word that follows it and doesn't fit goes to the next line whole.
    bool bAfterBreak = false;
    TEXTMETRICW tm = {};     // of the current font
    int cxSpace = -1;        // of the current font; -1 until a space needs it
    int cyLine = 0;
    int iLineFirstLink = 0;
    int cxMax = 0;           // the widest x reached
    int cyBottom = 0;        // the bottom of the last line
    int cyImageBottom = 0;
};

tagTFontInfo* CurrentFont(const HtmlState& st)
{
    return st.cur.aFonts.empty() ? st.pDefaultFont : st.cur.aFonts.back();
}

int FontLineHeight(const HtmlState& st)
{
    const int cySpacing = st.cur.aSpacings.empty() ? 0 : st.cur.aSpacings.back();
    return st.tm.tmHeight + st.tm.tmExternalLeading + cySpacing;
}

// The top at which text of the current font sits on the line's bottom.
int TextTop(const HtmlState& st)
{
    return st.cur.pt.y + st.cyLine - st.tm.tmHeight - st.tm.tmExternalLeading;
}

// The measuring pass decides a line's height; the drawing pass keeps it.
void RaiseLine(HtmlState& st, int cy)
{
    if (st.bMeasurePass && cy > st.cyLine) st.cyLine = cy;
}

void SelectCurrentFont(HtmlState& st)
{
    const tagTFontInfo* pFont = CurrentFont(st);
    ::SelectObject(st.hDC, pFont->hGdiFont);
    st.tm = pFont->tmMetrics;
    st.cxSpace = -1;
}

void SelectCurrentColor(const HtmlState& st)
{
    ::SetTextColor(st.hDC, ToColorRef(st.cur.aColors.empty() ? st.dwTextColor : st.cur.aColors.back()));
}

void SelectBackground(const HtmlState& st)
{
    ::SetBkMode(st.hDC, st.cur.bInSelected ? OPAQUE : TRANSPARENT);
}

void PushFont(HtmlState& st, tagTFontInfo* pFont)
{
    st.cur.aFonts.push_back(pFont);
    SelectCurrentFont(st);
    RaiseLine(st, FontLineHeight(st));
}

void PopFont(HtmlState& st)
{
    if (st.cur.aFonts.empty()) return;
    const bool bWasItalic = st.cur.aFonts.back()->bIsItalic;
    st.cur.aFonts.pop_back();
    if (bWasItalic && !CurrentFont(st)->bIsItalic) {
        // Italic leans past its last advance; the upright text after it keeps clear.
        ABC abc = {};
        if (::GetCharABCWidthsW(st.hDC, L' ', L' ', &abc)) st.cur.pt.x += abc.abcC / 2;
    }
    SelectCurrentFont(st);
}

void PushColor(HtmlState& st, DWORD dwColor)
{
    st.cur.aColors.push_back(dwColor);
    SelectCurrentColor(st);
}

void PopColor(HtmlState& st)
{
    if (!st.cur.aColors.empty()) st.cur.aColors.pop_back();
    SelectCurrentColor(st);
}

// A font from the manager's cache, added to it on first use.
tagTFontInfo* CachedFont(CPaintManagerUI* pManager, const wchar_t* pstrFace, int nSize, bool bBold, bool bUnderline,
                         bool bItalic)
{
    HFONT hFont = pManager->GetFont(pstrFace, nSize, bBold, bUnderline, bItalic);
    if (hFont == NULL) hFont = pManager->AddFont(pstrFace, nSize, bBold, bUnderline, bItalic);
    return hFont != NULL ? pManager->GetFontInfo(hFont) : NULL;
}

// Pushes the current font with one style more. A font that has the style
// already, or whose version cannot be made, is pushed again as it is, so that
// the closing tag pops this entry and not an outer tag's.
void PushStyledFont(HtmlState& st, bool bBold, bool bUnderline, bool bItalic)
{
    tagTFontInfo* pFont = CurrentFont(st);
    bBold |= pFont->bIsBold;
    bUnderline |= pFont->bIsUnderline;
    bItalic |= pFont->bIsItalic;
    if (bBold != pFont->bIsBold || bUnderline != pFont->bIsUnderline || bItalic != pFont->bIsItalic) {
        tagTFontInfo* pStyled = CachedFont(st.pManager, pFont->sFaceName, pFont->nPixelSize, bBold, bUnderline, bItalic);
        if (pStyled != NULL) pFont = pStyled;
    }
    PushFont(st, pFont);
}

// An "f" tag's font: an index into the manager's fonts, or a face with an
// optional size and style words.
tagTFontInfo* TagFont(HtmlState& st, const wchar_t* pArg, const wchar_t* pEnd)
{
    if (pArg == pEnd) return CurrentFont(st);
    if (IsDigit(*pArg)) return st.pManager->GetFontInfo(ReadDecimal(pArg, pEnd, 0));
    wchar_t szFace[LF_FACESIZE] = {};
    const wchar_t* p = SkipWord(pArg, pEnd);
    ::wcsncpy(szFace, pArg, p - pArg < LF_FACESIZE - 1 ? size_t(p - pArg) : size_t(LF_FACESIZE - 1));
    const int nSize = ReadDecimal(p, pEnd, 10);
    tagTFontInfo* pFont = CachedFont(st.pManager, szFace, nSize, RangeHas(p, pEnd, L"bold", true),
                                     RangeHas(p, pEnd, L"underline", true), RangeHas(p, pEnd, L"italic", true));
    return pFont != NULL ? pFont : CurrentFont(st);
}

bool HasLinkSlot(const HtmlState& st)
{
    return st.cur.iLink < st.nLinkCapacity;
}

void OpenLink(HtmlState& st, const wchar_t* pText, int cchText)
{
    if (HasLinkSlot(st) && st.bMeasurePass) st.sLinks[st.cur.iLink].Assign(pText, cchText);
    // Links with equal texts light up together.
    const bool bHover = st.bHoverFound && HasLinkSlot(st) && st.sHoverLink.GetLength() == cchText &&
                        ::wcsncmp(st.sHoverLink, pText, size_t(cchText)) == 0;
    PushColor(st, bHover ? st.pManager->GetDefaultLinkHoverFontColor() : st.pManager->GetDefaultLinkFontColor());
    PushStyledFont(st, false, true, false);
    st.cur.bInLink = true;
    st.cur.ptLinkStart = st.cur.pt;
}

void CloseLink(HtmlState& st)
{
    // A closing tag without its link fills no slot.
    if (st.cur.bInLink && HasLinkSlot(st)) {
        if (st.bMeasurePass) {
            const POINT& ptStart = st.cur.ptLinkStart;
            st.pLinks[st.cur.iLink] = RECT{ptStart.x, ptStart.y, st.cur.pt.x,
                                           st.cur.pt.y + st.tm.tmHeight + st.tm.tmExternalLeading};
        }
        st.cur.iLink++;
    }
    st.cur.bInLink = false;
    PopColor(st);
    PopFont(st);
}

// A link still open at a line's end takes this line's part as a rectangle of
// its own and goes on in the next slot, under the same text.
void EndLineLinks(HtmlState& st)
{
    const LONG xRight = st.cur.pt.x < st.rc.right ? st.cur.pt.x : st.rc.right;
    // A link whose first word moved on to the next line has nothing here.
    if (st.cur.bInLink && HasLinkSlot(st) && xRight > st.cur.ptLinkStart.x) {
        const int i = st.cur.iLink++;
        if (st.bMeasurePass) {
            st.pLinks[i] = RECT{st.cur.ptLinkStart.x, st.cur.ptLinkStart.y, xRight, 0};
            if (HasLinkSlot(st)) st.sLinks[i + 1] = st.sLinks[i];
        }
    }
    if (!st.bMeasurePass) return;
    for (int i = st.iLineFirstLink; i < st.cur.iLink; i++) st.pLinks[i].bottom = st.cur.pt.y + st.cyLine;
}

void ToggleSelection(HtmlState& st)
{
    st.cur.bInSelected = !st.cur.bInSelected;
    SelectBackground(st);
}

// Ends the line unless the point is still at its left edge.
void BreakParagraph(HtmlState& st)
{
    if (st.cur.pt.x != st.rc.left) st.bLineEnd = true;
}

// Places as many leading characters of a text piece as fit on the line and
// returns how many it took; a piece that does not fit ends the line.
int PlaceText(HtmlState& st, const wchar_t* pText, int cch)
{
    POINT& pt = st.cur.pt;
    const RECT& rc = st.rc;
    int cx = 0;
    const int nFit = FitText(st.hDC, st.tm, pText, cch, rc.right - pt.x, cx);
    int nDraw = nFit;
    int nTaken = nFit;
    bool bEllipsis = false;
    if (nFit < cch) {
        st.bLineEnd = true;
        // A line holds at least one character, even one wider than the line,
        // or a narrow rectangle would never get through its text.
        const bool bLineStart = pt.x == rc.left;
        if (nDraw == 0 && bLineStart) nDraw = 1;
        const bool bWordBreak = (st.uStyle & DT_WORDBREAK) != 0;
        // A word that fits stays on the line even when the blank after it
        // doesn't: the line ends with the word, and the blank goes with it.
        const bool bBlankAfterFit = bWordBreak && nFit > 0 && IsSpace(pText[nFit]);
        const int nBreak = bBlankAfterFit ? nFit : bWordBreak ? LastBreak(pText, nFit) : 0;
        if (nBreak > 0) nDraw = nBreak;
        else if (bWordBreak && st.bAfterBreak) nDraw = 0;
        nTaken = bBlankAfterFit ? nDraw + 1 : nDraw;
        if ((st.uStyle & DT_END_ELLIPSIS) != 0 && nDraw > 0) {
            nDraw -= nDraw > 1 ? 2 : 1;
            bEllipsis = true;
            if (nDraw > 0 || !bLineStart) nTaken = nDraw;
        }
        if (nDraw != nFit) {
            SIZE sz = {};
            ::GetTextExtentPoint32W(st.hDC, pText, nDraw, &sz);
            cx = sz.cx;
        }
    }
    if (!st.bMeasurePass) {
        int x = pt.x;
        if ((st.uStyle & DT_SINGLELINE) == 0) {
            if ((st.uStyle & DT_CENTER) != 0) x += (rc.right - rc.left - cx) / 2;
            else if ((st.uStyle & DT_RIGHT) != 0) x += rc.right - rc.left - cx;
        }
        const int y = TextTop(st);
        ::TextOutW(st.hDC, x, y, pText, nDraw);
        if (bEllipsis) ::TextOutW(st.hDC, x + cx, y, L"...", 3);
    }
    pt.x = bEllipsis ? rc.right : pt.x + cx;
    if (nDraw > 0) st.bAfterBreak = !IsAsciiLetter(pText[nDraw - 1]);
    return nTaken;
}

void PlaceSpace(HtmlState& st)
{
    if (st.cxSpace < 0) {
        SIZE sz = {};
        ::GetTextExtentPoint32W(st.hDC, L" ", 1, &sz);
        st.cxSpace = sz.cx;
    }
    if (!st.bMeasurePass) ::TextOutW(st.hDC, st.cur.pt.x, TextTop(st), L" ", 1);
    st.cur.pt.x += st.cxSpace;
    st.bAfterBreak = true;
}

// A run of text ends at a line feed, the end, or the next tag opener; a raw
// run ends only at its closing tag, which is consumed with it.
void PlaceRun(HtmlState& st)
{
    const wchar_t* p = st.p;
    int cch = 0;
    if (st.cur.bInRaw) {
        while (p[cch] != L'\0' && p[cch] != L'\n' && !IsRawEnd(p + cch)) cch++;
    }
    else {
        if (IsOpener(p[0])) cch = 1;  // an opener that starts no tag is text
        while (p[cch] != L'\0' && p[cch] != L'\n' && !IsOpener(p[cch])) cch++;
    }
    const int nTaken = cch > 0 ? PlaceText(st, p, cch) : 0;
    st.p += nTaken;
    if (nTaken == cch && st.cur.bInRaw && IsRawEnd(st.p)) {
        st.p += 4;
        st.cur.bInRaw = false;
    }
}

// An inline image: one frame of a cached image. Returns false when it does
// not fit, so that its tag is read again at the start of the next line.
bool PlaceImage(HtmlState& st, const wchar_t* pArg, const wchar_t* pEnd)
{
    CSkinString sName, sType;
    const wchar_t* p = pArg;
    // Only this tag's own text decides its form: a later tag's pairs must not
    // turn a bare name into a description.
    if (RangeHas(pArg, pEnd, L"file='", false) || RangeHas(pArg, pEnd, L"res='", false)) {
        ReadImagePairs(p, pEnd, sName, sType);
    }
    else {
        p = SkipWord(pArg, pEnd);
        sName.Assign(pArg, int(p - pArg));
    }
    int nFrames = ReadDecimal(p, pEnd, 1);
    if (nFrames < 1) nFrames = 1;
    int iFrame = ReadDecimal(p, pEnd, 0);
    if (iFrame < 0 || iFrame >= nFrames) iFrame = 0;
    if (sName.IsEmpty()) return true;
    const tagTImageInfo* pImage = st.pManager->GetImageEx(sName, sType.IsEmpty() ? NULL : sType.GetData(), 0);
    if (pImage == NULL) return true;

    POINT& pt = st.cur.pt;
    const int cx = pImage->nWidth / nFrames;
    const int cy = pImage->nHeight;
    if (pt.x + cx > st.rc.right && pt.x != st.rc.left && (st.uStyle & DT_SINGLELINE) == 0) {
        st.bLineEnd = true;
        return false;
    }
    if (st.bMeasurePass) {
        RaiseLine(st, cy);
        if (pt.y + cy > st.cyImageBottom) st.cyImageBottom = pt.y + cy;
    }
    else {
        const int yTop = cy < st.cyLine ? pt.y + (st.cyLine - cy) / 2 : pt.y + st.cyLine - cy;
        const RECT rcDest = {pt.x, yTop, pt.x + cx, yTop + cy};
        const RECT rcFrame = {iFrame * cx, 0, (iFrame + 1) * cx, cy};
        const RECT rcNoCorners = {};
        CRenderEngine::DrawImage(st.hDC, pImage->hDibBitmap, rcDest, st.rc, rcFrame, rcNoCorners, pImage->bHasAlpha);
    }
    pt.x += cx;
    st.bAfterBreak = true;
    return true;
}

// An opening tag whose argument runs to pEnd. Returns false when the tag must
// be read again on the next line.
bool OpenTag(HtmlState& st, wchar_t chTag, const wchar_t* pArg, const wchar_t* pEnd)
{
    pArg = SkipSpace(pArg, pEnd);
    switch (chTag) {
    case L'a':
        OpenLink(st, pArg, int(pEnd - pArg));
        break;
    case L'b':
        PushStyledFont(st, true, false, false);
        break;
    case L'c':
        if (pArg < pEnd && *pArg == L'#') pArg++;
        PushColor(st, DWORD(::wcstoul(pArg, NULL, 16)));
        break;
    case L'f':
        PushFont(st, TagFont(st, pArg, pEnd));
        break;
    case L'i':
        if (pArg != pEnd) return PlaceImage(st, pArg, pEnd);
        PushStyledFont(st, false, false, true);
        break;
    case L'n':
        if ((st.uStyle & DT_SINGLELINE) == 0) st.bLineEnd = true;
        break;
    case L'p':
        BreakParagraph(st);
        st.cur.aSpacings.push_back(ReadDecimal(pArg, pEnd, 0));
        if (!st.bLineEnd) RaiseLine(st, FontLineHeight(st));
        break;
    case L'r':
        st.cur.bInRaw = true;
        break;
    case L's':
        ToggleSelection(st);
        break;
    case L'u':
        PushStyledFont(st, false, true, false);
        break;
    case L'x':
        st.cur.pt.x += ReadDecimal(pArg, pEnd, 0);
        break;
    case L'y':
        if (st.bMeasurePass) st.cyLine = ReadDecimal(pArg, pEnd, st.cyLine);
        break;
    default:
        break;
    }
    return true;
}

void CloseTag(HtmlState& st, wchar_t chTag)
{
    switch (chTag) {
    case L'a':
        CloseLink(st);
        break;
    case L'b':
    case L'f':
    case L'i':
    case L'u':
        PopFont(st);
        break;
    case L'c':
        PopColor(st);
        break;
    case L'p':
        BreakParagraph(st);
        if (!st.cur.aSpacings.empty()) st.cur.aSpacings.pop_back();
        break;
    case L's':
        ToggleSelection(st);
        break;
    default:
        break;
    }
}

const wchar_t* AfterTag(const wchar_t* pEnd)
{
    return *pEnd != L'\0' ? pEnd + 1 : pEnd;
}

// One piece of a line: a tag, an escape, a space or a run of text.
void Step(HtmlState& st)
{
    const wchar_t* p = st.p;
    if (!st.cur.bInRaw && IsOpener(p[0])) {
        if (IsEscape(p)) {
            if (PlaceText(st, p + 1, 1) == 1) st.p += 3;
            return;
        }
        if (IsTagLetter(p[1]) && (p[2] == L' ' || IsCloser(p[2]))) {
            const wchar_t* pEnd = FindTagEnd(p + 2);
            if (OpenTag(st, p[1], p + 2, pEnd)) st.p = AfterTag(pEnd);
            return;
        }
        if (p[1] == L'/' && IsTagLetter(p[2])) {
            CloseTag(st, p[2]);
            st.p = AfterTag(FindTagEnd(p + 3));
            return;
        }
    }
    if (p[0] == L' ') {
        PlaceSpace(st);
        st.p++;
        return;
    }
    PlaceRun(st);
}

void RunLine(HtmlState& st)
{
    st.bLineEnd = false;
    st.bAfterBreak = false;
    while (!st.bLineEnd && *st.p != L'\0' && *st.p != L'\n' && st.cur.pt.x < st.rc.right) {
        Step(st);
        if (st.cur.pt.x > st.cxMax) st.cxMax = st.cur.pt.x;
    }
}

// Moves rc onto the text's measured size for the alignments that need the
// whole text's size before the first line is drawn.
void AlignToText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const wchar_t* pstrText, DWORD dwTextColor,
                 UINT uStyle)
{
    RECT rcText = {0, 0, 9999, 100};
    int nLinks = 0;
    CRenderEngine::DrawHtmlText(hDC, pManager, rcText, pstrText, dwTextColor, NULL, NULL, nLinks,
                                uStyle | DT_CALCRECT);
    const LONG cx = rcText.right - rcText.left;
    const LONG cy = rcText.bottom - rcText.top;
    if ((uStyle & DT_SINGLELINE) != 0) {
        if ((uStyle & DT_CENTER) != 0) {
            rc.left += (rc.right - rc.left) / 2 - cx / 2;
            rc.right = rc.left + cx;
        }
        else if ((uStyle & DT_RIGHT) != 0) {
            rc.left = rc.right - cx;
        }
    }
    if ((uStyle & DT_VCENTER) != 0) {
        rc.top += (rc.bottom - rc.top) / 2 - cy / 2;
        rc.bottom = rc.top + cy;
    }
    else if ((uStyle & DT_BOTTOM) != 0) {
        rc.top = rc.bottom - cy;
    }
}

} // namespace

void CRenderEngine::DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const wchar_t* pstrText,
                                 DWORD dwTextColor, RECT* pLinks, CSkinString* sLinks, int& nLinkRects, UINT uStyle)
{
    const int nLinkCapacity = pLinks != NULL && sLinks != NULL && nLinkRects > 0 ? nLinkRects : 0;
    nLinkRects = 0;
    if (hDC == NULL || pManager == NULL || pstrText == NULL || ::IsRectEmpty(&rc)) return;

    const bool bMeasureOnly = (uStyle & DT_CALCRECT) != 0;
    CRenderClip clip;
    if (!bMeasureOnly) CRenderClip::GenerateClip(hDC, rc, clip);
    tagTFontInfo* pDefaultFont = pManager->GetDefaultFontInfo();
    CSelectScope defaultFont(hDC, pDefaultFont->hGdiFont);
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ToColorRef(dwTextColor));
    ::SetBkColor(hDC, ToColorRef(pManager->GetDefaultSelectedBkColor()));
    if (!bMeasureOnly && (uStyle & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) != 0) {
        AlignToText(hDC, pManager, rc, pstrText, dwTextColor, uStyle);
    }

    HtmlState st;
    st.hDC = hDC;
    st.pManager = pManager;
    st.rc = rc;
    st.uStyle = uStyle;
    st.dwTextColor = dwTextColor;
    st.pDefaultFont = pDefaultFont;
    st.pLinks = pLinks;
    st.sLinks = sLinks;
    st.nLinkCapacity = nLinkCapacity;
    st.p = pstrText;
    const POINT ptMouse = pManager->GetMousePos();
    for (int i = 0; i < nLinkCapacity && !st.bHoverFound; i++) {
        if (::PtInRect(&pLinks[i], ptMouse)) {
            st.bHoverFound = true;
            st.sHoverLink = sLinks[i];
        }
    }
    st.cur.pt = st.cur.ptLinkStart = POINT{rc.left, rc.top};
    st.cxMax = rc.left;
    SelectCurrentFont(st);
    st.cyLine = FontLineHeight(st);

    HtmlCursor lineStart;
    for (;;) {
        const wchar_t* pLineStart = st.p;
        st.iLineFirstLink = st.cur.iLink;
        if (!bMeasureOnly) lineStart = st.cur;
        st.bMeasurePass = true;
        RunLine(st);
        EndLineLinks(st);
        if (!bMeasureOnly) {
            st.cur = lineStart;
            st.p = pLineStart;
            SelectCurrentFont(st);
            SelectCurrentColor(st);
            SelectBackground(st);
            st.bMeasurePass = false;
            RunLine(st);
            EndLineLinks(st);
        }
        if (*st.p == L'\n') st.p++;
        st.cyBottom = st.cur.pt.y + st.cyLine;
        if ((uStyle & DT_SINGLELINE) != 0) break;
        st.cur.pt = st.cur.ptLinkStart = POINT{rc.left, st.cyBottom};
        if (*st.p == L'\0' || (!bMeasureOnly && st.cur.pt.y >= rc.bottom)) break;
        st.cyLine = FontLineHeight(st);
    }

    nLinkRects = st.cur.iLink;
    if (bMeasureOnly) {
        rc.bottom = st.cyBottom > st.cyImageBottom ? st.cyBottom : st.cyImageBottom;
        if (st.cxMax < rc.right) rc.right = st.cxMax;
    }
}

} // namespace SkinLib
