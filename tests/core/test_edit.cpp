// The edit control in a real window: its native edit window opened by the
// focus, typed into with posted characters, closed by moving the focus, and
// the lifetime and password rules around it.
#include "controls/EditUI.h"

#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "ControlWindow.h"
#include "PoisonedDelete.h"
#include "controls/ButtonUI.h"
#include "core/RenderEngine.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

// Poisoned when deleted: a native window still reaching for its deleted
// owner would fall over.
class CEditProbeUI : public CPoisonedOnDelete<CEditUI>
{
public:
    UINT State() const { return m_uButtonState; }
    RECT TextRect() const { return GetTextRect(); }
    // Without the copy GetText makes.
    int TextLength() { return ModeText().GetLength(); }
};

// Calls back on every notification of one type.
class CNotifyHook : public INotifyUI
{
public:
    CNotifyHook(const wchar_t* pstrType, std::function<void()> fn) : m_sType(pstrType), m_fn(fn) {}
    void Notify(tagTNotifyUI& msg) override
    {
        if (msg.sNotifyType == m_sType.c_str()) m_fn();
    }

private:
    std::wstring m_sType;
    std::function<void()> m_fn;
};

std::wstring WindowText(HWND hWnd)
{
    wchar_t sz[256] = {};
    ::GetWindowTextW(hWnd, sz, 256);
    return sz;
}

// The clipboard's text, or a mark when it holds none.
std::wstring ClipboardText(HWND hWnd)
{
    std::wstring s = L"<none>";
    if (!::OpenClipboard(hWnd)) return L"<closed>";
    if (HANDLE h = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* p = static_cast<const wchar_t*>(::GlobalLock(h))) {
            s = p;
            ::GlobalUnlock(h);
        }
    }
    ::CloseClipboard();
    return s;
}

void SetClipboardText(HWND hWnd, const wchar_t* pstr)
{
    ASSERT_TRUE(::OpenClipboard(hWnd));
    ::EmptyClipboard();
    const size_t cb = (wcslen(pstr) + 1) * sizeof(wchar_t);
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, cb);
    ::memcpy(::GlobalLock(h), pstr, cb);
    ::GlobalUnlock(h);
    ::SetClipboardData(CF_UNICODETEXT, h);
    ::CloseClipboard();
}

struct Edit : ControlWindowTest
{
    void SetUp() override
    {
        ControlWindowTest::SetUp();
        Attach({pEdit, pOther}, 150, 30);
        pm.SetFocus(NULL);
        PumpMessages();
        log.Clear();
    }
    void TearDown() override
    {
        ControlWindowTest::TearDown();
        CEditProbeUI::FreeGraveyard();
    }
    // The native edit window shown over the control, if there is one.
    HWND Popup() const
    {
        HWND hWnd = ::FindWindowExW(wnd, NULL, L"EditWnd", NULL);
        return hWnd != NULL && ::IsWindowVisible(hWnd) ? hWnd : NULL;
    }
    // Any native edit window, shown or on its way out.
    HWND AnyPopup() const { return ::FindWindowExW(wnd, NULL, L"EditWnd", NULL); }
    void Type(HWND hWnd, const wchar_t* pstr)
    {
        for (const wchar_t* p = pstr; *p != L'\0'; p++) ::PostMessageW(hWnd, WM_CHAR, *p, 1);
        PumpMessages();
    }
    HWND Open()
    {
        pEdit->SetFocus();
        PumpMessages();
        return Popup();
    }

    CEditProbeUI* pEdit = new CEditProbeUI;
    CButtonUI* pOther = new CButtonUI;
};

TEST_F(Edit, FocusOpensTheNativeWindowAndTypingReportsEveryChange)
{
    pEdit->SetText(L"ab");
    const HWND hPopup = Open();
    ASSERT_NE(hPopup, nullptr);
    EXPECT_EQ(::GetFocus(), hPopup);
    EXPECT_EQ(WindowText(hPopup), L"ab");
    // One line of the font high, centred in the text area.
    RECT rcPopup = {};
    ::GetWindowRect(hPopup, &rcPopup);
    ::MapWindowPoints(HWND_DESKTOP, wnd, reinterpret_cast<POINT*>(&rcPopup), 2);
    const RECT rcText = pEdit->TextRect();
    const int cyFont = pm.GetFontInfo(-1)->tmMetrics.tmHeight;
    EXPECT_EQ(rcPopup.left, rcText.left);
    EXPECT_EQ(rcPopup.right, rcText.right);
    EXPECT_EQ(rcPopup.bottom - rcPopup.top, cyFont);
    EXPECT_EQ(rcPopup.top, rcText.top + (rcText.bottom - rcText.top - cyFont) / 2);

    ::SendMessageW(hPopup, EM_SETSEL, 2, 2);
    Type(hPopup, L"123");
    EXPECT_EQ(pEdit->GetText(), L"ab123");
    EXPECT_EQ(log.Count(L"textchanged"), 3);
    EXPECT_EQ(log.aSenders.back(), pEdit);
    // Enter is "return", and never reaches the native edit.
    ::PostMessageW(hPopup, WM_KEYDOWN, VK_RETURN, 1);
    PumpMessages();
    EXPECT_EQ(log.Count(L"return"), 1);
    EXPECT_EQ(pEdit->GetText(), L"ab123");

    // Setting the text updates the open window, with one change reported.
    pEdit->SetText(L"xyz");
    EXPECT_EQ(WindowText(hPopup), L"xyz");
    EXPECT_EQ(log.Count(L"textchanged"), 4);
    pEdit->SetText(L"xyz");
    EXPECT_EQ(log.Count(L"textchanged"), 4);
    // Selection and replacement act on the open window.
    pEdit->SetSel(1, 2);
    pEdit->SetReplaceSel(L"Q");
    EXPECT_EQ(pEdit->GetText(), L"xQz");
    pEdit->SetSelAll();
    DWORD dwStart = 0, dwEnd = 0;
    ::SendMessageW(hPopup, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(dwStart, 0u);
    EXPECT_EQ(dwEnd, 3u);
}

TEST_F(Edit, MovingTheFocusClosesTheNativeWindow)
{
    pEdit->SetText(L"WWW");
    ASSERT_NE(Open(), nullptr);
    pOther->SetFocus();
    PumpMessages();
    EXPECT_EQ(AnyPopup(), nullptr);
    // Closed, the control paints its own text again.
    Snapshot();
    EXPECT_GT(CountPixels(pEdit->GetPos(), IsDark), 0);
    // Selection and replacement do nothing while closed.
    pEdit->SetSel(0, 1);
    pEdit->SetReplaceSel(L"Q");
    EXPECT_EQ(pEdit->GetText(), L"WWW");

    // A click on the edit opens it with the whole text selected; a click on
    // another control closes it.
    const POINT pt = Centre(pEdit);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(pt.x, pEdit->GetPos().top + 1));
    Send(WM_LBUTTONUP, 0, At(pt.x, pEdit->GetPos().top + 1));
    const HWND hPopup = Popup();
    ASSERT_NE(hPopup, nullptr);
    DWORD dwStart = 9, dwEnd = 9;
    ::SendMessageW(hPopup, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(dwStart, 0u);
    EXPECT_EQ(dwEnd, 3u);
    const POINT ptOther = Centre(pOther);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(ptOther.x, ptOther.y));
    Send(WM_LBUTTONUP, 0, At(ptOther.x, ptOther.y));
    PumpMessages();
    EXPECT_EQ(AnyPopup(), nullptr);
    EXPECT_EQ(pm.GetFocus(), pOther);
    // A click on the window's background leaves the edit and its window as they are.
    pRoot->SetMouseEnabled(false);
    ASSERT_NE(Open(), nullptr);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(390, 190));
    Send(WM_LBUTTONUP, 0, At(390, 190));
    PumpMessages();
    EXPECT_EQ(pm.GetFocus(), pEdit);
    ASSERT_NE(Popup(), nullptr);
    EXPECT_EQ(::GetFocus(), Popup());
}

TEST_F(Edit, PasswordTextNeverReachesTheClipboardAndPaintsMasked)
{
    pEdit->SetPasswordMode(true);
    const HWND hPopup = Open();
    ASSERT_NE(hPopup, nullptr);
    EXPECT_EQ(::SendMessageW(hPopup, EM_GETPASSWORDCHAR, 0, 0), LRESULT(0x25CF));
    Type(hPopup, L"1234");
    EXPECT_EQ(pEdit->GetText(), L"1234");
    SetClipboardText(wnd, L"sentinel");
    ::SendMessageW(hPopup, EM_SETSEL, 0, -1);
    ::SendMessageW(hPopup, WM_COPY, 0, 0);
    ::SendMessageW(hPopup, WM_CUT, 0, 0);
    EXPECT_EQ(ClipboardText(wnd), L"sentinel");
    EXPECT_EQ(pEdit->GetText(), L"1234");
    // Ctrl+C, as the keyboard gives it.
    ::PostMessageW(hPopup, WM_CHAR, 3, 1);
    PumpMessages();
    EXPECT_EQ(ClipboardText(wnd), L"sentinel");
    // A mask character of 0 would show the text in clear: refused.
    pEdit->SetPasswordChar(L'\0');
    EXPECT_EQ(pEdit->GetPasswordChar(), L'\x25CF');
    EXPECT_EQ(::SendMessageW(hPopup, EM_GETPASSWORDCHAR, 0, 0), LRESULT(0x25CF));

    // Closed, the control paints one black circle per character, never the digits.
    pm.SetFocus(NULL);
    PumpMessages();
    ASSERT_EQ(AnyPopup(), nullptr);
    Snapshot();
    PixelCanvas reference(kWidth, kHeight);
    RECT rcText = pEdit->TextRect();
    CRenderEngine::DrawTextW(reference.DC(), &pm, rcText, L"\x25CF\x25CF\x25CF\x25CF", pEdit->GetTextColor(), -1,
                             pEdit->GetTextStyle() | DT_SINGLELINE);
    const RECT& rc = pEdit->GetPos();
    int nDifferent = 0, nInk = 0;
    for (int y = rc.top; y < rc.bottom; y++) {
        for (int x = rc.left; x < rc.right; x++) {
            nDifferent += canvas.Rgb(x, y) != reference.Rgb(x, y);
            nInk += IsDark(canvas.Rgb(x, y));
        }
    }
    EXPECT_EQ(nDifferent, 0);
    EXPECT_GT(nInk, 0);
    // A surrogate pair is one character: one circle.
    pEdit->SetText(L"\xD83D\xDE00");
    Snapshot();
    reference.Fill(0xFFFFFFFF);
    CRenderEngine::DrawTextW(reference.DC(), &pm, rcText, L"\x25CF", pEdit->GetTextColor(), -1,
                             pEdit->GetTextStyle() | DT_SINGLELINE);
    nDifferent = 0;
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++) nDifferent += canvas.Rgb(x, y) != reference.Rgb(x, y);
    EXPECT_EQ(nDifferent, 0);
}

TEST_F(Edit, EffectModeReturnsWhatWasTyped)
{
    pEdit->SetEnabledEffect(true);
    pEdit->SetText(L"ab");
    const HWND hPopup = Open();
    ASSERT_NE(hPopup, nullptr);
    EXPECT_EQ(WindowText(hPopup), L"ab");
    ::SendMessageW(hPopup, EM_SETSEL, 2, 2);
    Type(hPopup, L"cd");
    EXPECT_EQ(pEdit->GetText(), L"abcd");
}

TEST_F(Edit, PasswordModeReachesAnOpenWindowAtOnce)
{
    const HWND hPopup = Open();
    ASSERT_NE(hPopup, nullptr);
    Type(hPopup, L"12");
    EXPECT_EQ(::SendMessageW(hPopup, EM_GETPASSWORDCHAR, 0, 0), 0);
    pEdit->SetPasswordMode(true);
    EXPECT_EQ(::SendMessageW(hPopup, EM_GETPASSWORDCHAR, 0, 0), LRESULT(0x25CF));
    pEdit->SetPasswordChar(L'*');
    EXPECT_EQ(::SendMessageW(hPopup, EM_GETPASSWORDCHAR, 0, 0), LRESULT(L'*'));
    SetClipboardText(wnd, L"sentinel");
    ::SendMessageW(hPopup, EM_SETSEL, 0, -1);
    ::SendMessageW(hPopup, WM_COPY, 0, 0);
    EXPECT_EQ(ClipboardText(wnd), L"sentinel");
}

TEST_F(Edit, DestroyedWithItsWindowOpenTheWindowForgetsIt)
{
    ASSERT_NE(Open(), nullptr);
    const HWND hPopup = AnyPopup();
    pRoot->Detach(pEdit);
    delete pEdit;
    // Gone from view at once; whatever still reaches it touches no deleted control.
    EXPECT_FALSE(::IsWindowVisible(hPopup));
    ::PostMessageW(hPopup, WM_CHAR, L'x', 1);
    ::SendMessageW(wnd, WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(hPopup));
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hPopup));
    EXPECT_EQ(log.Count(L"textchanged"), 0);
}

TEST_F(Edit, RemovingDisablingOrHidingClosesTheWindowFirst)
{
    std::function<void()> aEnds[] = {
        [&] { pEdit->SetEnabled(false); },
        [&] { pEdit->SetVisible(false); },
        [&] { pRoot->SetVisible(false); pEdit->SetInternVisible(false); },
    };
    for (auto& end : aEnds) {
        SCOPED_TRACE(&end - aEnds);
        pRoot->SetVisible(true);
        pEdit->SetVisible(true);
        pEdit->SetInternVisible(true);
        pEdit->SetEnabled(true);
        PumpMessages();
        const HWND hPopup = Open();
        ASSERT_NE(hPopup, nullptr);
        end();
        EXPECT_EQ(Popup(), nullptr);
        ::PostMessageW(hPopup, WM_CHAR, L'x', 1);
        PumpMessages();
        EXPECT_FALSE(::IsWindow(hPopup));
        EXPECT_EQ(pEdit->GetText(), L"");
        // A closed, disabled or hidden edit opens nothing on activation.
        ::SendMessageW(wnd, WM_SETFOCUS, 0, 0);
        EXPECT_EQ(Popup(), nullptr);
    }
    // Removed from its container: closed at once, deleted later.
    pRoot->SetVisible(true);
    pEdit->SetVisible(true);
    pEdit->SetInternVisible(true);
    pEdit->SetEnabled(true);
    const HWND hPopup = Open();
    ASSERT_NE(hPopup, nullptr);
    pRoot->Remove(pEdit);
    EXPECT_EQ(Popup(), nullptr);
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hPopup));
}

TEST_F(Edit, AHandlerThatSetsTheTextHearsNothingOfItsOwnChange)
{
    int nCalls = 0;
    CNotifyHook grow(L"textchanged", [&] {
        ++nCalls;
        pEdit->SetText(pEdit->GetText() + L"x");
    });
    pm.AddNotifier(&grow);
    const HWND hPopup = Open();
    ASSERT_NE(hPopup, nullptr);
    Type(hPopup, L"1");
    EXPECT_EQ(nCalls, 1);
    EXPECT_EQ(pEdit->GetText(), L"1x");
    EXPECT_EQ(WindowText(hPopup), L"1x");
    // Outside a handler, setting the text is reported again.
    pEdit->SetText(L"2");
    EXPECT_EQ(nCalls, 2);
    EXPECT_EQ(pEdit->GetText(), L"2x");
    pm.RemoveNotifier(&grow);
}

TEST_F(Edit, LimitsNumbersAndReadOnlyAreTheNativeWindows)
{
    pEdit->ApplyAttributeList(L"maxchar=\"3\" numberonly=\"true\"");
    HWND hPopup = Open();
    ASSERT_NE(hPopup, nullptr);
    Type(hPopup, L"1a2b34");
    EXPECT_EQ(pEdit->GetText(), L"123");
    pEdit->SetMaxChar(5);
    Type(hPopup, L"4567");
    EXPECT_EQ(pEdit->GetText(), L"12345");
    pEdit->SetReadOnly(true);
    Type(hPopup, L"9");
    EXPECT_EQ(pEdit->GetText(), L"12345");
    EXPECT_NE(::GetWindowLongW(hPopup, GWL_STYLE) & ES_READONLY, 0);
    // The number style comes with the next opening.
    pEdit->SetNumberOnly(false);
    EXPECT_NE(::GetWindowLongW(hPopup, GWL_STYLE) & ES_NUMBER, 0);
    EXPECT_EQ(pEdit->GetWindowStyls(), 0);
    pm.SetFocus(NULL);
    PumpMessages();
    hPopup = Open();
    ASSERT_NE(hPopup, nullptr);
    EXPECT_EQ(::GetWindowLongW(hPopup, GWL_STYLE) & ES_NUMBER, 0);
}

TEST_F(Edit, NativeBackgroundColourPaintsTheOpenWindow)
{
    pEdit->ApplyAttributeList(L"nativebkcolor=\"#FF000000\" textcolor=\"#FFFFFFFF\"");
    const HWND hPopup = Open();
    ASSERT_NE(hPopup, nullptr);
    ::InvalidateRect(hPopup, NULL, TRUE);
    ::UpdateWindow(hPopup);
    RECT rcPopup = {};
    ::GetWindowRect(hPopup, &rcPopup);
    ::MapWindowPoints(HWND_DESKTOP, wnd, reinterpret_cast<POINT*>(&rcPopup), 2);
    HDC hDC = ::GetDC(hPopup);
    const COLORREF cr = ::GetPixel(hDC, (rcPopup.right - rcPopup.left) - 3, 2);
    ::ReleaseDC(hPopup, hDC);
    EXPECT_EQ(cr, RGB(0, 0, 0));
}

TEST_F(Edit, ResizingKeepsTheFocusAndTheWindow)
{
    ASSERT_NE(Open(), nullptr);
    Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(kWidth, kHeight));
    RepaintNow(wnd);
    PumpMessages();
    EXPECT_EQ(pm.GetFocus(), pEdit);
    ASSERT_NE(Popup(), nullptr);
    EXPECT_EQ(::GetFocus(), Popup());
}

TEST_F(Edit, DisabledEditOpensNothingAndTakesNoHover)
{
    pEdit->SetEnabled(false);
    EXPECT_EQ(pEdit->GetControlFlags(), 0u);
    pEdit->SetFocus();
    PumpMessages();
    EXPECT_EQ(AnyPopup(), nullptr);
    Send(WM_MOUSEMOVE, 0, At(10, 10));
    EXPECT_EQ(pEdit->State() & CTLSTATE_HOT, 0u);
}

TEST(EditSettings, AttributesDefaultsAndEstimate)
{
    CEditUI edit;
    EXPECT_EQ(edit.GetBkColor(), 0xFFFFFFFFu);
    EXPECT_EQ(edit.GetTextPadding().top, 3);
    edit.ApplyAttributeList(L"numberonly=\"true\" password=\"true\" maxchar=\"8\" focusedimage=\"f\" "
                            L"nativebkcolor=\"#FF102030\" textcolor=\"#FF000001\"");
    EXPECT_EQ(edit.GetWindowStyls(), ES_NUMBER);
    EXPECT_TRUE(edit.IsPasswordMode());
    EXPECT_EQ(edit.GetMaxChar(), 8u);
    EXPECT_STREQ(edit.GetFocusedImage(), L"f");
    EXPECT_EQ(edit.GetNativeEditBkColor(), 0xFF102030u);
    EXPECT_EQ(edit.GetTextColor(), 0xFF000001u);
    edit.SetNumberOnly(false);
    EXPECT_EQ(edit.GetWindowStyls(), 0);

    CPaintManagerUI pm;
    CHostWindow wnd(pm, 100, 50);
    CEditUI* pEdit = new CEditUI;
    pm.AttachDialog(pEdit);
    EXPECT_EQ(pEdit->EstimateSize(SIZE{100, 100}).cy, pm.GetFontInfo(-1)->tmMetrics.tmHeight + 6);
    pEdit->SetFixedHeight(31);
    EXPECT_EQ(pEdit->EstimateSize(SIZE{100, 100}).cy, 31);
}

// A window that focuses its edit while it is being created, before it shows.
class CEarlyFocusWindow
{
public:
    CEarlyFocusWindow()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = WndProc;
        wc.hInstance = ::GetModuleHandleW(NULL);
        wc.lpszClassName = L"SkinLibEarlyFocus";
        ::RegisterClassW(&wc);
        m_hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"early", WS_POPUP, 0, 0, 300, 100, NULL, NULL,
                                   wc.hInstance, this);
    }
    ~CEarlyFocusWindow() { ::DestroyWindow(m_hWnd); }

    HWND m_hWnd = NULL;
    CPaintManagerUI pm;
    CEditUI* pEdit = NULL;

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        if (uMsg == WM_NCCREATE) {
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        CEarlyFocusWindow* pThis = reinterpret_cast<CEarlyFocusWindow*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (uMsg == WM_CREATE) {
            pThis->pm.Init(hWnd);
            CBoxUI* pRoot = new CBoxUI(200, 30);
            pThis->pEdit = new CEditUI;
            pThis->pEdit->SetPasswordMode(true);
            pRoot->Add(pThis->pEdit);
            pThis->pm.AttachDialog(pRoot);
            pThis->pEdit->SetFocus();
            return 0;
        }
        LRESULT lRes = 0;
        if (pThis != NULL && pThis->pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
};

TEST_F(Edit, FocusedBeforeTheWindowShowsTheEditIsTypeableOnceItIsActive)
{
    CEarlyFocusWindow early;
    ::ShowWindow(early.m_hWnd, SW_SHOW);
    ::SetForegroundWindow(early.m_hWnd);
    PumpMessages();
    HWND hPopup = ::FindWindowExW(early.m_hWnd, NULL, L"EditWnd", NULL);
    ASSERT_NE(hPopup, nullptr);
    EXPECT_TRUE(::IsWindowVisible(hPopup));
    ASSERT_EQ(::GetFocus(), hPopup);
    // Typing goes where the keyboard focus is.
    for (const wchar_t* p = L"4321"; *p != L'\0'; p++) ::PostMessageW(::GetFocus(), WM_CHAR, *p, 1);
    PumpMessages();
    EXPECT_EQ(early.pEdit->GetText(), L"4321");

    // Away and back: the native window went with the activation and comes back with it.
    ::SetForegroundWindow(wnd);
    ::SetActiveWindow(wnd);
    PumpMessages();
    EXPECT_EQ(::FindWindowExW(early.m_hWnd, NULL, L"EditWnd", NULL), nullptr);
    ::SetForegroundWindow(early.m_hWnd);
    ::SetActiveWindow(early.m_hWnd);
    PumpMessages();
    hPopup = ::FindWindowExW(early.m_hWnd, NULL, L"EditWnd", NULL);
    ASSERT_NE(hPopup, nullptr);
    EXPECT_EQ(::GetFocus(), hPopup);
    ::PostMessageW(::GetFocus(), WM_CHAR, L'0', 1);
    PumpMessages();
    EXPECT_EQ(early.pEdit->GetText(), L"43210");
}

} // namespace

// The PIN's digits are made where they are needed, one at a time, so that the
// test holds no copy of its own: the scan below finds only what the edit leaves.
wchar_t PinDigit(size_t i)
{
    return static_cast<wchar_t>(L'0' + (7 * i + 3) % 10);
}
const size_t kPinLength = 8;

// How many times the PIN's digits from iFirst to iEnd lie in this process's
// readable memory as UTF-16 text.
int CountPinCopies(size_t iFirst, size_t iEnd)
{
    int nCopies = 0;
    const BYTE* p = NULL;
    MEMORY_BASIC_INFORMATION mbi = {};
    while (::VirtualQuery(p, &mbi, sizeof(mbi)) == sizeof(mbi)) {
        const BYTE* pNext = static_cast<const BYTE*>(mbi.BaseAddress) + mbi.RegionSize;
        const DWORD dwReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ
                                 | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
        if (mbi.State == MEM_COMMIT && (mbi.Protect & dwReadable) != 0 && (mbi.Protect & PAGE_GUARD) == 0) {
            const wchar_t* pText = static_cast<const wchar_t*>(mbi.BaseAddress);
            const size_t cch = mbi.RegionSize / sizeof(wchar_t);
            const size_t cchPin = iEnd - iFirst;
            for (size_t i = 0; i + cchPin <= cch; i++) {
                size_t n = 0;
                while (n < cchPin && pText[i + n] == PinDigit(iFirst + n)) n++;
                if (n == cchPin) nCopies++;
            }
        }
        if (pNext <= p) break;
        p = pNext;
    }
    return nCopies;
}

TEST_F(Edit, APasswordEntryLeavesNoWholeCopyOfThePinOnceEmptied)
{
    pEdit->SetPasswordMode(true);
    auto typePin = [&] {
        const HWND hPopup = Open();
        ASSERT_NE(hPopup, nullptr);
        for (size_t i = 0; i < kPinLength; i++) ::PostMessageW(hPopup, WM_CHAR, PinDigit(i), 1);
        PumpMessages();
        ASSERT_EQ(pEdit->TextLength(), static_cast<int>(kPinLength));
        // The scan sees the PIN where it is.
        ASSERT_GT(CountPinCopies(0, kPinLength), 0);
    };
    // No whole copy, and not six of its digits at either end: what may stay
    // is a short tail in memory the native edit freed as it was.
    auto expectWiped = [&](const char* pstrWhen) {
        SCOPED_TRACE(pstrWhen);
        EXPECT_EQ(CountPinCopies(0, kPinLength), 0);
        EXPECT_EQ(CountPinCopies(0, 6), 0);
        EXPECT_EQ(CountPinCopies(kPinLength - 6, kPinLength), 0);
    };

    // The user empties it: everything selected, then Backspace.
    typePin();
    ::SendMessageW(Popup(), EM_SETSEL, 0, -1);
    ::PostMessageW(Popup(), WM_KEYDOWN, VK_BACK, 1);
    ::PostMessageW(Popup(), WM_CHAR, L'\b', 1);
    ::PostMessageW(Popup(), WM_KEYUP, VK_BACK, 1 | 0xC0000000);
    PumpMessages();
    EXPECT_EQ(pEdit->TextLength(), 0);
    expectWiped("the user's clearing");

    // The program empties it.
    typePin();
    pEdit->SetText(L"");
    expectWiped("the program's clearing");

    // The native window closes with the PIN in it; the program then empties the control.
    typePin();
    pm.SetFocus(NULL);
    PumpMessages();
    ASSERT_EQ(AnyPopup(), nullptr);
    pEdit->SetText(L"");
    expectWiped("closing");
}
