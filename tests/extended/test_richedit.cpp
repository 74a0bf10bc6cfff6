// The rich edit in a real window, over the system's text services: text and
// lines read back, keys typed through the paint manager as the modal loop
// passes them, Enter, Ctrl+Enter and Tab, painting, the password mask, the
// host's formats and properties, scrolling, and the filter's lifetime.
#include "extended/RichEditUI.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../core/ControlWindow.h"
#include "../core/PoisonedDelete.h"
#include "controls/ScrollBarUI.h"
#include "core/GdiScope.h"
#include "extended/TxtWinHost.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

// Poisoned when deleted, so that a filter left with a manager falls over;
// shows its host and the messages that take the road to the text services.
class CRichEditProbeUI : public CPoisonedOnDelete<CRichEditUI>
{
public:
    CTxtWinHost* Host() const { return m_pHost; }
    const CHARFORMAT2W& HostCharFormat() const
    {
        const CHARFORMATW* pcf = NULL;
        m_pHost->TxGetCharFormat(&pcf);
        return *reinterpret_cast<const CHARFORMAT2W*>(pcf);
    }
    DWORD HostBits(DWORD dwMask) const
    {
        DWORD dwBits = 0;
        m_pHost->TxGetPropertyBits(dwMask, &dwBits);
        return dwBits;
    }
    HRESULT TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plresult) override
    {
        aMessages.push_back(msg);
        return CRichEditUI::TxSendMessage(msg, wParam, lParam, plresult);
    }
    bool Received(UINT msg) const { return std::find(aMessages.begin(), aMessages.end(), msg) != aMessages.end(); }

    std::vector<UINT> aMessages;
};

// Every WM_NOTIFY the window's manager sees.
class CNotifyWatch : public IMessageFilterUI
{
public:
    LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM lParam, bool&) override
    {
        if (uMsg == WM_NOTIFY) aCodes.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
        return 0;
    }
    std::vector<UINT> aCodes;
};

struct RichEdit : ControlWindowTest
{
    void SetUp() override
    {
        ControlWindowTest::SetUp();
        ::GetKeyboardState(m_abKeys);
    }
    void TearDown() override
    {
        ::SetKeyboardState(m_abKeys);
        ControlWindowTest::TearDown();
        CRichEditProbeUI::FreeGraveyard();
    }
    CRichEditProbeUI* Make(const wchar_t* pstrText = L"")
    {
        CRichEditProbeUI* p = new CRichEditProbeUI;
        p->SetText(pstrText);
        return p;
    }
    void Key(UINT vk)
    {
        const UINT uScan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
        Post(WM_KEYDOWN, vk, 1 | (uScan << 16));
        Post(WM_KEYUP, vk, 1 | (uScan << 16) | 0xC0000000);
        PumpThroughManager();
    }
    void Keys(const char* pstrKeys)
    {
        for (const char* p = pstrKeys; *p != '\0'; p++) Key(static_cast<UINT>(*p));
    }
    void SetCtrlDown(bool bDown)
    {
        BYTE abKeys[256] = {};
        abKeys[VK_CONTROL] = bDown ? 0x80 : 0;
        ::SetKeyboardState(abKeys);
    }

    BYTE m_abKeys[256] = {};
};

} // namespace

TEST_F(RichEdit, TextWaitsForTheTextServicesThenLinesAndRangesReadBack)
{
    CRichEditProbeUI* p = Make(L"one\rtwo\rthree");
    EXPECT_STREQ(L"", p->GetText());
    EXPECT_EQ(0, p->GetLineCount());
    Attach({p}, 200, 100);

    EXPECT_STREQ(L"one\rtwo\rthree", p->GetText());
    EXPECT_EQ(13, p->GetTextLength());
    EXPECT_EQ(3, p->GetLineCount());
    EXPECT_EQ(4, p->LineIndex(1));
    EXPECT_EQ(1, p->LineFromChar(5));
    EXPECT_STREQ(L"two\r", p->GetLine(1, 100));
    EXPECT_STREQ(L"tw", p->GetLine(1, 2));
    // No room, or no such line: nothing, and nothing written outside the buffer.
    EXPECT_STREQ(L"", p->GetLine(1, 0));
    EXPECT_STREQ(L"", p->GetLine(1, -5));
    EXPECT_STREQ(L"", p->GetLine(99, 10));

    EXPECT_STREQ(L"two", p->GetTextRange(4, 7));
    EXPECT_STREQ(L"one\rtwo\rthree", p->GetTextRange(0, -1));
    EXPECT_STREQ(L"three", p->GetTextRange(8, 1000));
    EXPECT_STREQ(L"", p->GetTextRange(5, 2));
    EXPECT_STREQ(L"", p->GetTextRange(-1, 3));

    p->SetSel(4, 7);
    long nStart = 0, nEnd = 0;
    p->GetSel(nStart, nEnd);
    EXPECT_EQ(4, nStart);
    EXPECT_EQ(7, nEnd);
    EXPECT_STREQ(L"two", p->GetSelText());
    p->ReplaceSel(L"2", false);
    p->InsertText(0, L"<");
    p->AppendText(L">");
    EXPECT_STREQ(L"<one\r2\rthree>", p->GetText());
    p->SetText(L"new");
    EXPECT_STREQ(L"new", p->GetText());

    EXPECT_FALSE(p->SetZoom(65, 1));
    EXPECT_FALSE(p->SetZoom(-1, 1));
    int nNum = 0, nDen = 0;
    EXPECT_TRUE(p->SetZoom(3, 2));
    EXPECT_TRUE(p->GetZoom(nNum, nDen));
    EXPECT_EQ(3, nNum);
    EXPECT_EQ(2, nDen);
}

TEST_F(RichEdit, KeysTypeIntoTheFocusedEditOnlyAndUndoTakesThemBack)
{
    CRichEditProbeUI* p = Make();
    CRichEditProbeUI* pOther = Make();
    Attach({p, pOther}, 200, 100);
    p->SetFocus();
    PumpThroughManager();
    EXPECT_FALSE(p->GetModify());

    Keys("AB");
    Key(VK_RETURN);
    Keys("C");
    EXPECT_STREQ(L"ab\rc", p->GetText());
    // Text services answer "modified" with any non-zero value.
    EXPECT_TRUE(p->GetModify());
    EXPECT_STREQ(L"", pOther->GetText());

    EXPECT_TRUE(p->Undo());
    EXPECT_STRNE(L"ab\rc", p->GetText());
    EXPECT_TRUE(p->Redo());
    EXPECT_STREQ(L"ab\rc", p->GetText());

    p->SetReadOnly(true);
    Keys("D");
    Key(VK_RETURN);
    EXPECT_STREQ(L"ab\rc", p->GetText());
    p->SetReadOnly(false);
    Keys("E");
    EXPECT_STREQ(L"ab\rce", p->GetText());

    // Alt+F4 and the system menu stay the window's.
    LRESULT lRes = 0;
    EXPECT_FALSE(pm.MessageHandler(WM_SYSKEYDOWN, VK_F4, 0x20000001, lRes));
    EXPECT_FALSE(pm.MessageHandler(WM_SYSCHAR, L' ', 0x20000001, lRes));
}

TEST_F(RichEdit, EnterThatIsNotWantedBecomesReturn)
{
    CRichEditProbeUI* p = Make(L"x");
    Attach({p}, 200, 100);
    p->SetFocus();
    p->SetSel(-1, -1);

    p->SetWantReturn(false);
    Key(VK_RETURN);
    EXPECT_EQ(1, log.Count(L"return"));
    EXPECT_STREQ(L"x", p->GetText());

    p->SetWantReturn(true);
    p->SetWantCtrlReturn(false);
    SetCtrlDown(true);
    Key(VK_RETURN);
    EXPECT_EQ(2, log.Count(L"return"));
    EXPECT_STREQ(L"x", p->GetText());
    SetCtrlDown(false);
    Key(VK_RETURN);
    EXPECT_EQ(2, log.Count(L"return"));
    EXPECT_STREQ(L"x\r", p->GetText());

    p->SetWantCtrlReturn(true);
    SetCtrlDown(true);
    Key(VK_RETURN);
    EXPECT_EQ(2, log.Count(L"return"));
    EXPECT_STREQ(L"x\r\r", p->GetText());
}

TEST_F(RichEdit, TabStaysInAnEditThatWantsItAndMovesTheFocusOtherwise)
{
    CRichEditProbeUI* p = Make(L"a");
    CRichEditProbeUI* pNext = Make();
    Attach({p, pNext}, 200, 100);
    p->SetFocus();
    p->SetSel(-1, -1);

    Key(VK_TAB);
    EXPECT_EQ(p, pm.GetFocus());
    EXPECT_STREQ(L"a\t", p->GetText());

    p->SetWantTab(false);
    Key(VK_TAB);
    EXPECT_EQ(pNext, pm.GetFocus());
    EXPECT_STREQ(L"a\t", p->GetText());
    EXPECT_STREQ(L"", pNext->GetText());
}

TEST_F(RichEdit, TextPaintsInsideTheControlOnly)
{
    CRichEditProbeUI* p = Make();
    Attach({new CControlUI, p, new CControlUI}, 120, 60);
    std::vector<uint32_t> aBefore;
    Snapshot();
    for (int y = 0; y < kHeight; y++)
        for (int x = 0; x < kWidth; x++) aBefore.push_back(canvas.Rgb(x, y));

    p->SetText(L"WWWWWWWWWW\rWWWWWWWWWW\rWWWWWWWWWW\rWWWWWWWWWW");
    RepaintNow(wnd);
    Snapshot();
    const RECT rc = p->GetPos();
    int nInside = 0, nOutside = 0;
    for (int y = 0; y < kHeight; y++) {
        for (int x = 0; x < kWidth; x++) {
            if (canvas.Rgb(x, y) == aBefore[y * kWidth + x]) continue;
            const POINT pt = {x, y};
            ++(::PtInRect(&rc, pt) ? nInside : nOutside);
        }
    }
    EXPECT_GT(nInside, 100);
    EXPECT_EQ(0, nOutside);
}

TEST_F(RichEdit, PasswordShowsTheSameMaskForAnyTextAndGivesTheTextBack)
{
    CRichEditProbeUI* pWide = Make(L"WWWW");
    CRichEditProbeUI* pNarrow = Make(L"iiii");
    for (CRichEditProbeUI* p : {pWide, pNarrow}) p->SetAttribute(L"password", L"true");
    Attach({pWide, pNarrow}, 120, 30);
    Snapshot();

    // Cell by cell: unmasked, W and i could never leave the same pixels.
    int nInk = 0, nDifferent = 0;
    const RECT& a = pWide->GetPos();
    const RECT& b = pNarrow->GetPos();
    for (int y = 0; y < a.bottom - a.top; y++) {
        for (int x = 0; x < a.right - a.left; x++) {
            const uint32_t rgb = canvas.Rgb(a.left + x, a.top + y);
            if (IsDark(rgb)) nInk++;
            if (rgb != canvas.Rgb(b.left + x, b.top + y)) nDifferent++;
        }
    }
    EXPECT_GT(nInk, 20);
    EXPECT_EQ(0, nDifferent);
    EXPECT_STREQ(L"WWWW", pWide->GetText());
    EXPECT_STREQ(L"ii", pNarrow->GetTextRange(1, 3));
}

TEST_F(RichEdit, HostTakesFontsColourWrapRichTextAndLimitsAsGiven)
{
    pm.AddFont(L"Arial", 20, true, true, true);
    pm.AddFont(L"Arial", 12, false, false, false);
    CRichEditProbeUI* p = Make();
    p->SetAttribute(L"font", L"0");
    CRichEditProbeUI* pNoWrap = Make();
    pNoWrap->SetAttribute(L"autohscroll", L"true");
    Attach({p, pNoWrap}, 200, 60);

    const DWORD dwStyles = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE;
    EXPECT_EQ(dwStyles, p->HostCharFormat().dwEffects & dwStyles);
    const LONG yBig = p->HostCharFormat().yHeight;
    p->SetFont(1);
    EXPECT_EQ(0u, p->HostCharFormat().dwEffects & dwStyles);
    EXPECT_GT(yBig, p->HostCharFormat().yHeight);
    EXPECT_GT(p->HostCharFormat().yHeight, 0);

    // A cell height is a height too.
    CGdiObjectScope<HFONT> cellFont(::CreateFontW(30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    p->Host()->SetFont(cellFont);
    EXPECT_GT(p->HostCharFormat().yHeight, 0);
    CGdiObjectScope<HFONT> almostBold(::CreateFontW(-12, 0, 0, 0, 699, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    p->Host()->SetFont(almostBold);
    EXPECT_EQ(0u, p->HostCharFormat().dwEffects & CFE_BOLD);
    CGdiObjectScope<HFONT> bold(::CreateFontW(-12, 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    p->Host()->SetFont(bold);
    EXPECT_EQ(static_cast<DWORD>(CFE_BOLD), p->HostCharFormat().dwEffects & CFE_BOLD);

    const LONG yBefore = p->HostCharFormat().yHeight;
    p->SetFont(L"Tahoma", 0, true, false, false);
    EXPECT_EQ(yBefore, p->HostCharFormat().yHeight);
    const std::wstring sLong(40, L'F');
    p->SetFont(sLong.c_str(), 10, false, false, false);
    EXPECT_EQ(sLong.substr(0, LF_FACESIZE - 1), p->HostCharFormat().szFaceName);

    EXPECT_EQ(0u, pNoWrap->HostBits(TXTBIT_WORDWRAP));
    pNoWrap->SetWordWrap(true);
    EXPECT_EQ(static_cast<DWORD>(TXTBIT_WORDWRAP), pNoWrap->HostBits(TXTBIT_WORDWRAP));
    p->SetTextColor(0xFF102030);
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), p->HostCharFormat().crTextColor);
    EXPECT_EQ(static_cast<DWORD>(TXTBIT_RICHTEXT), p->HostBits(TXTBIT_RICHTEXT));
    p->SetRich(false);
    EXPECT_EQ(0u, p->HostBits(TXTBIT_RICHTEXT));

    p->SetLimitText(5);
    p->SetFocus();
    Keys("ABCDEFGH");
    EXPECT_STREQ(L"abcde", p->GetText());
    for (int nLimit : {0, -5}) {
        p->SetLimitText(nLimit);
        DWORD dwMax = 0;
        p->Host()->TxGetMaxLength(&dwMax);
        EXPECT_EQ(32767u, dwMax) << nLimit;
    }
}

TEST_F(RichEdit, HostShowsTheBarOnlyForTextTallerThanTheClientAreaAndHidesTheSelectionUnlessTold)
{
    CRichEditProbeUI* p = Make();
    p->SetAttribute(L"vscrollbar", L"true");
    CRichEditProbeUI* pKeeps = Make();
    pKeeps->SetWinStyle(ES_MULTILINE | ES_NOHIDESEL);
    Attach({p, pKeeps}, 200, 100);
    const RECT& rc = p->Host()->GetControlRect();
    ASSERT_EQ(100, rc.bottom - rc.top);
    CScrollBarUI* pBar = p->GetVerticalScrollBar();
    p->Host()->TxSetScrollRange(SB_VERT, 0, 150, TRUE);
    EXPECT_TRUE(pBar->IsVisible());
    EXPECT_EQ(50, pBar->GetScrollRange());
    p->Host()->TxSetScrollRange(SB_VERT, 0, 100, TRUE);
    EXPECT_FALSE(pBar->IsVisible());

    EXPECT_EQ(static_cast<DWORD>(TXTBIT_HIDESELECTION), p->HostBits(TXTBIT_HIDESELECTION));
    EXPECT_EQ(0u, pKeeps->HostBits(TXTBIT_HIDESELECTION));
}

// Moves the real cursor: a lock in the build keeps other such tests away.
TEST_F(RichEdit, SetCursorLooksWhereTheCursorIs)
{
    CRichEditProbeUI* p = Make(L"text");
    Attach({p}, 300, 150);
    // The window's client area starts at the screen's origin.
    const POINT ptOver = Centre(p);
    const DWORD dwStart = ::GetTickCount();
    do {
        p->aMessages.clear();
        ::SetCursorPos(ptOver.x, ptOver.y);
        Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(static_cast<HWND>(wnd)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    } while (!p->Received(WM_SETCURSOR) && ::GetTickCount() - dwStart < 20000);
    EXPECT_TRUE(p->Received(WM_SETCURSOR));

    ::SetCursorPos(1200, 1000);
    p->aMessages.clear();
    Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(static_cast<HWND>(wnd)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_FALSE(p->Received(WM_SETCURSOR));
}

TEST_F(RichEdit, ScrollBarsFollowTheTextAndScrollIt)
{
    CRichEditProbeUI* p = Make();
    p->SetAttribute(L"vscrollbar", L"true");
    CRichEditProbeUI* pWide = Make(L"a line that goes on past the right edge of the control");
    pWide->SetAttribute(L"hscrollbar", L"true");
    pWide->SetAttribute(L"autohscroll", L"true");
    Attach({p, pWide}, 200, 100);
    for (int i = 0; i < 30; i++) p->AppendText(L"line\r");
    RepaintNow(wnd);
    CScrollBarUI* pBar = p->GetVerticalScrollBar();
    ASSERT_NE(nullptr, pBar);
    EXPECT_TRUE(pBar->IsVisible());
    EXPECT_GT(pBar->GetScrollRange(), 100);

    const RECT& rcText = p->Host()->GetControlRect();
    const CPoint ptTopLeft(rcText.left + 1, rcText.top + 1);
    EXPECT_EQ(0, p->CharFromPos(ptTopLeft));
    p->EndDown();
    EXPECT_EQ(pBar->GetScrollRange(), pBar->GetScrollPos());
    EXPECT_GT(p->CharFromPos(ptTopLeft), 100);
    p->HomeUp();
    p->LineDown();
    EXPECT_GT(pBar->GetScrollPos(), 0);
    EXPECT_EQ(5, p->CharFromPos(ptTopLeft));

    CScrollBarUI* pWideBar = pWide->GetHorizontalScrollBar();
    EXPECT_TRUE(pWideBar->IsVisible());
    EXPECT_GT(pWideBar->GetScrollRange(), 0);
    pWide->SetText(L"short");
    RepaintNow(wnd);
    EXPECT_FALSE(pWideBar->IsVisible());
}

TEST_F(RichEdit, ClickFocusesAtTheCharacterWheelScrollsAndCtrlWheelZooms)
{
    CRichEditProbeUI* p = Make(L"one\rtwo\rthree\rfour\rfive\rsix\rseven\reight\rnine\rten");
    p->SetAttribute(L"vscrollbar", L"true");
    Attach({new CControlUI, p}, 150, 60);
    RepaintNow(wnd);
    const CPoint ptTwo = p->PosFromChar(5);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(ptTwo.x + 1, ptTwo.y + 3));
    Send(WM_LBUTTONUP, 0, At(ptTwo.x + 1, ptTwo.y + 3));
    EXPECT_EQ(p, pm.GetFocus());
    long nStart = 0, nEnd = 0;
    p->GetSel(nStart, nEnd);
    EXPECT_EQ(5, nStart);
    EXPECT_EQ(5, nEnd);

    CScrollBarUI* pBar = p->GetVerticalScrollBar();
    ASSERT_TRUE(pBar->IsVisible());
    // Wheel messages carry screen points; the window sits at the screen's origin.
    const POINT ptCentre = Centre(p);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), At(ptCentre.x, ptCentre.y));
    const int nScrolled = pBar->GetScrollPos();
    EXPECT_GT(nScrolled, 0);
    SetCtrlDown(true);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), At(ptCentre.x, ptCentre.y));
    int nNum = 0, nDen = 0;
    p->GetZoom(nNum, nDen);
    EXPECT_GT(nNum, nDen);
    EXPECT_EQ(nScrolled, pBar->GetScrollPos());
}

TEST_F(RichEdit, SelectionChangeReachesTheWindowAsARichEditWindowWouldSendIt)
{
    CRichEditProbeUI* p = Make(L"abc");
    Attach({p}, 150, 60);
    CNotifyWatch watch;
    pm.AddMessageFilter(&watch);
    p->SetSel(1, 2);
    EXPECT_TRUE(watch.aCodes.empty());
    p->SetEventMask(ENM_SELCHANGE);
    p->SetSel(0, 3);
    pm.RemoveMessageFilter(&watch);
    EXPECT_EQ(std::vector<UINT>{EN_SELCHANGE}, watch.aCodes);
}

TEST_F(RichEdit, ControlLeavingTheWindowTakesItsFilterAlong)
{
    CRichEditProbeUI* p = Make(L"gone");
    CRichEditProbeUI* pStays = Make();
    Attach({p, pStays}, 200, 100);
    // As a container lets go of a child it does not destroy.
    pRoot->Detach(p);
    pm.ReapObjects(p);
    p->SetManager(NULL, NULL, false);
    delete p;

    // Every message passes the filters; a dead one would be called here.
    pStays->SetFocus();
    Send(WM_MOUSEMOVE, 0, At(10, 10));
    Keys("OK");
    EXPECT_STREQ(L"ok", pStays->GetText());
}

TEST_F(RichEdit, StyleAttributesAddTheirBits)
{
    CRichEditUI edit;
    edit.SetAttribute(L"align", L"center right");
    edit.SetAttribute(L"readonly", L"true");
    edit.SetAttribute(L"multiline", L"false");
    edit.SetAttribute(L"password", L"false");
    const LONG lStyle = edit.GetWinStyle();
    EXPECT_EQ(ES_RIGHT | ES_READONLY, lStyle & (ES_RIGHT | ES_CENTER | ES_READONLY | ES_MULTILINE | ES_PASSWORD));
    EXPECT_TRUE(edit.IsReadOnly());
    // Before the text services are made too.
    CRichEditUI before;
    before.SetReadOnly(true);
    EXPECT_EQ(ES_READONLY, before.GetWinStyle() & ES_READONLY);
    EXPECT_NE(nullptr, edit.GetInterface(L"RichEdit"));
    EXPECT_EQ(3u, edit.GetControlFlags());
}
