// The rich edit against a native rich edit window over the same text
// services, each alone in a window of the same size, in the same font and
// with the keyboard focus while it is measured: replacing the whole text with
// 256 KiB (UTF-16) and painting it, and one typed character until it is
// painted. Goals: the text at most 1.2 times the native time, a keystroke at
// most 1.5 times the native time and 2 ms.
// Both show their vertical bar only while the text needs it, so both lay a
// text that brings the bar out again at the narrower width. (A native window
// with ES_DISABLENOSCROLL keeps a disabled bar instead and spares itself that
// second layout; the control hides a disabled bar, as containers do.)
#include <windows.h>
#include <richedit.h>

#include <stdio.h>

#include <algorithm>
#include <string>

#include "../core/TestControls.h"
#include "BenchClock.h"
#include "extended/RichEditUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

const int kWidth = 600;
const int kHeight = 400;
const int kTextChars = 256 * 1024 / sizeof(wchar_t);
const int kRounds = 7;
const int kKeystrokes = 200;

// Lines of 63 characters and a line end, as typed text has them.
std::wstring LargeText()
{
    std::wstring s;
    s.reserve(kTextChars);
    while (static_cast<int>(s.size()) < kTextChars) {
        for (int i = 0; i < 63; i++) s += static_cast<wchar_t>(L'a' + (s.size() * 7 + i) % 26);
        s += L'\r';
    }
    s.resize(kTextChars);
    return s;
}

// One measured editor: its window, what replaces its text and what types into it.
struct Editor
{
    virtual ~Editor() = default;
    virtual HWND Window() const = 0;
    virtual void SetTextAndPaint(const wchar_t* pstrText) = 0;
    virtual void TypeAndPaint(wchar_t ch) = 0;
    // The keyboard focus, and with it the caret that typing moves.
    virtual void Focus() = 0;
};

struct NativeEditor : Editor
{
    NativeEditor()
    {
        ::LoadLibraryW(L"msftedit.dll");
        m_hWnd = ::CreateWindowExW(0, MSFTEDIT_CLASS, L"",
                                   WS_POPUP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, kWidth + 20,
                                   0, kWidth, kHeight, NULL, NULL, ::GetModuleHandleW(NULL), NULL);
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        ::SendMessageW(m_hWnd, EM_EXLIMITTEXT, 0, kTextChars * 2);
    }
    ~NativeEditor() override { ::DestroyWindow(m_hWnd); }

    HWND Window() const override { return m_hWnd; }
    void SetTextAndPaint(const wchar_t* pstrText) override
    {
        ::SendMessageW(m_hWnd, EM_SETSEL, 0, -1);
        ::SendMessageW(m_hWnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(pstrText));
        ::InvalidateRect(m_hWnd, NULL, TRUE);
        ::UpdateWindow(m_hWnd);
    }
    void TypeAndPaint(wchar_t ch) override
    {
        ::SendMessageW(m_hWnd, WM_CHAR, ch, 1);
        ::UpdateWindow(m_hWnd);
    }
    void Focus() override { ::SetFocus(m_hWnd); }

    HWND m_hWnd = NULL;
};

struct SkinnedEditor : Editor
{
    SkinnedEditor() : m_wnd(m_pm, kWidth, kHeight)
    {
        m_pEdit->SetAttribute(L"vscrollbar", L"true");
        m_pEdit->SetAttribute(L"autovscroll", L"true");
        m_pEdit->SetLimitText(kTextChars * 2);
        CBoxUI* pRoot = new CBoxUI(kWidth, kHeight);
        pRoot->Add(m_pEdit);
        m_pm.AttachDialog(pRoot);
        RepaintNow(m_wnd);
    }

    HWND Window() const override { return m_wnd; }
    void SetTextAndPaint(const wchar_t* pstrText) override
    {
        m_pEdit->SetText(pstrText);
        RepaintNow(m_wnd);
    }
    void TypeAndPaint(wchar_t ch) override
    {
        ::SendMessageW(m_wnd, WM_CHAR, ch, 1);
        ::UpdateWindow(m_wnd);
    }
    void Focus() override
    {
        ::SetFocus(m_wnd);
        m_pEdit->SetFocus();
    }

    CPaintManagerUI m_pm;
    CHostWindow m_wnd;
    CRichEditUI* m_pEdit = new CRichEditUI;  // owned by the tree
};

struct Figures
{
    double dSetText = 1e300;    // microseconds per replacement and paint
    double dKeystroke = 1e300;  // microseconds per typed and painted character
};

// One round of each measurement, kept when it beats the rounds before.
void MeasureRound(Editor& editor, const std::wstring& sText, Figures& f)
{
    using SkinLibBench::Now;
    editor.Focus();
    editor.SetTextAndPaint(L"");
    PumpMessages();
    double dStart = Now();
    editor.SetTextAndPaint(sText.c_str());
    f.dSetText = std::min(f.dSetText, Now() - dStart);

    // Typed at the end of a short text, as into a form's field.
    editor.SetTextAndPaint(L"Touch the sensor with the same finger\r");
    PumpMessages();
    dStart = Now();
    for (int i = 0; i < kKeystrokes; i++) editor.TypeAndPaint(L"abc "[i % 4]);
    f.dKeystroke = std::min(f.dKeystroke, (Now() - dStart) / kKeystrokes);
}

} // namespace

int main()
{
    const std::wstring sText = LargeText();
    NativeEditor nativeEditor;
    SkinnedEditor skinnedEditor;
    // The same font for both.
    ::SendMessageW(nativeEditor.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(skinnedEditor.m_pm.GetFont(-1)), TRUE);
    // In turns, so that a busy moment of the machine weighs on both alike.
    Figures native, skinned;
    for (int round = 0; round < kRounds; round++) {
        MeasureRound(nativeEditor, sText, native);
        MeasureRound(skinnedEditor, sText, skinned);
    }
    const double dTextRatio = skinned.dSetText / native.dSetText;
    const double dKeyRatio = skinned.dKeystroke / native.dKeystroke;
    const bool bText = dTextRatio <= 1.2;
    const bool bKey = dKeyRatio <= 1.5 && skinned.dKeystroke <= 2000;
    printf("Rich edit against a native rich edit window, %dx%d, the same text services\n", kWidth, kHeight);
    printf("(best of %d rounds; goals: text <= 1.2x native, keystroke <= 1.5x native and <= 2 ms)\n\n", kRounds);
    printf("%-38s %12s %12s %8s\n", "", "native", "rich edit", "ratio");
    printf("%-38s %9.1f ms %9.1f ms %8.2f  %s\n", "256 KiB of text set and painted", native.dSetText / 1000,
           skinned.dSetText / 1000, dTextRatio, bText ? "" : "(ABOVE GOAL)");
    printf("%-38s %9.3f ms %9.3f ms %8.2f  %s\n", "a keystroke to its painted character", native.dKeystroke / 1000,
           skinned.dKeystroke / 1000, dKeyRatio, bKey ? "" : "(ABOVE GOAL)");
    return bText && bKey ? 0 : 1;
}
