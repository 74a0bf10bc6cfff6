// Start-up of a skinned window, from Create to the end of its first WM_PAINT,
// against a native dialog with as many system controls, created from a
// template, shown and painted with its children. Both run in the same process
// on the same display. Goal: the skinned window starts at least as fast
// (ratio <= 1.0); the program exits with 1 when it does not. A generated skin
// of about 1,000 controls gives the cost per control of building, laying out
// and painting a large skin.
//
// The skins are read from an archive in memory, as the programs read theirs.
#include <windows.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "../core/ZipWriter.h"
#include "BenchClock.h"
#include "controls/ControlUI.h"
#include "core/DialogBuilder.h"
#include "core/PaintManagerUI.h"
#include "core/WindowImplBase.h"

using namespace SkinLib;
using SkinLibBench::Now;

namespace {

const int kRounds = 5;
const int kWindowsPerRound = 10;

// The size of the PIN dialogs: a caption row, texts, an edit and buttons.
const char kDialogSkin[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<Window size=\"460,320\" caption=\"0,0,0,40\" sizebox=\"4,4,4,4\">"
    "<Font name=\"Arial\" size=\"12\" default=\"true\"/><Font name=\"Arial\" size=\"16\" bold=\"true\"/>"
    "<VerticalLayout bkcolor=\"#FFFFFFFF\" bordercolor=\"#FF1883D7\" bordersize=\"1\">"
    "<HorizontalLayout height=\"40\"><Label text=\"Verify PIN\" font=\"1\"/><Button name=\"minbtn\" width=\"40\"/>"
    "<Button name=\"closebtn\" width=\"48\" text=\"X\"/></HorizontalLayout>"
    "<Control height=\"20\"/><Label text=\"Verify PIN for Quorvel FIDO2\" height=\"40\" font=\"1\"/>"
    "<HorizontalLayout height=\"30\"><Control width=\"28\"/><Label text=\"PIN\" width=\"48\"/>"
    "<Edit name=\"edit_pin\" width=\"300\" bordercolor=\"#FFCCCCCC\" bordersize=\"1\"/><Control/></HorizontalLayout>"
    "<HorizontalLayout height=\"30\"><Control width=\"28\"/><Label text=\"Again\" width=\"48\"/>"
    "<Edit name=\"edit_again\" width=\"300\" bordercolor=\"#FFCCCCCC\" bordersize=\"1\"/><Control/></HorizontalLayout>"
    "<Label name=\"label_status\" height=\"30\" textcolor=\"#FFFF0000\"/><Control/>"
    "<HorizontalLayout height=\"30\"><Control/><Button name=\"btn_ok\" text=\"OK\" width=\"120\" bkcolor=\"#FFCCCCCC\"/>"
    "<Control/></HorizontalLayout></VerticalLayout></Window>";

// 50 rows of 20 labels and buttons under one layout.
std::string GeneratedSkin()
{
    std::string xml = "<Window size=\"1000,600\"><VerticalLayout bkcolor=\"#FFFFFFFF\">";
    for (int row = 0; row < 50; row++) {
        xml += "<HorizontalLayout height=\"12\">";
        for (int i = 0; i < 20; i++) {
            xml += i % 2 == 0 ? "<Label text=\"cell\" bkcolor=\"#FFEEEEEE\"/>"
                              : "<Button name=\"b" + std::to_string(row * 20 + i) + "\" text=\"ok\"/>";
        }
        xml += "</HorizontalLayout>";
    }
    return xml + "</VerticalLayout></Window>";
}

class CBenchWnd : public WindowImplBase
{
public:
    explicit CBenchWnd(const wchar_t* pstrSkin) : m_pstrSkin(pstrSkin) {}
    LPCWSTR GetWndClassName() const override { return L"SkinBenchWnd"; }
    CSkinString GetSkinDirectory() override { return L""; }
    CSkinString GetSkinXmlName() override { return m_pstrSkin; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT lRes = WindowImplBase::HandleMessage(uMsg, wParam, lParam);
        if (uMsg == WM_PAINT && m_dPainted == 0) m_dPainted = Now();
        return lRes;
    }
    int CountControls()
    {
        int nCount = 0;
        if (m_PaintManager.GetRoot() != NULL) {
            m_PaintManager.GetRoot()->FindControl(CPaintManagerUI::__FindControlFromCount, &nCount, FINDFLAG_ANY);
        }
        return nCount;
    }

    double m_dPainted = 0;

private:
    const wchar_t* m_pstrSkin;
};

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Microseconds from Create to the end of the first paint; the best of the rounds.
double SkinnedStartUp(const wchar_t* pstrSkin, int* pnControls)
{
    double dBest = 1e300;
    for (int round = 0; round < kRounds; round++) {
        double dTotal = 0;
        for (int i = 0; i < kWindowsPerRound; i++) {
            CBenchWnd wnd(pstrSkin);
            const double dStart = Now();
            wnd.Create(NULL, L"bench", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 100, 100, 100, 100, NULL);
            ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
            ::RedrawWindow(wnd, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
            dTotal += wnd.m_dPainted - dStart;
            *pnControls = wnd.CountControls();
            ::DestroyWindow(wnd);
            PumpMessages();
        }
        if (dTotal / kWindowsPerRound < dBest) dBest = dTotal / kWindowsPerRound;
    }
    return dBest;
}

// A dialog template in memory: the dialog, then each item, DWORD-aligned.
class CDialogTemplate
{
public:
    CDialogTemplate(int cx, int cy)
    {
        DLGTEMPLATE dlg = {};
        dlg.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
        dlg.cx = static_cast<short>(cx);
        dlg.cy = static_cast<short>(cy);
        Append(&dlg, sizeof(dlg));
        Words({ 0, 0 });  // no menu, the default class
        Text(L"Verify PIN");
        Words({ 9 });
        Text(L"MS Shell Dlg");
    }
    void Add(WORD wClass, DWORD dwStyle, short x, short y, short cx, short cy, const wchar_t* pstrText, WORD wId)
    {
        Align();
        DLGITEMTEMPLATE item = {};
        item.style = WS_CHILD | WS_VISIBLE | dwStyle;
        item.x = x, item.y = y, item.cx = cx, item.cy = cy, item.id = wId;
        Append(&item, sizeof(item));
        Words({ 0xFFFF, wClass });
        Text(pstrText);
        Words({ 0 });
        ++reinterpret_cast<DLGTEMPLATE*>(m_bytes.data())->cdit;
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_bytes.data()); }

private:
    void Append(const void* p, size_t n)
    {
        const BYTE* pb = static_cast<const BYTE*>(p);
        m_bytes.insert(m_bytes.end(), pb, pb + n);
    }
    void Words(std::initializer_list<WORD> words)
    {
        for (WORD w : words) Append(&w, sizeof(w));
    }
    void Text(const wchar_t* pstr) { Append(pstr, (wcslen(pstr) + 1) * sizeof(wchar_t)); }
    void Align()
    {
        while (m_bytes.size() % 4 != 0) m_bytes.push_back(0);
    }

    std::vector<BYTE> m_bytes;
};

INT_PTR CALLBACK DialogProc(HWND, UINT uMsg, WPARAM, LPARAM)
{
    return uMsg == WM_INITDIALOG;
}

// The same number of system controls: statics, edits and buttons.
double NativeStartUp(int nControls)
{
    enum { BUTTON = 0x0080, EDIT = 0x0081, STATIC = 0x0082 };
    CDialogTemplate dlg(300, 200);
    for (int i = 0; i < nControls; i++) {
        const short y = static_cast<short>(4 + (i / 4) * 16), x = static_cast<short>(4 + (i % 4) * 72);
        switch (i % 3) {
        case 0: dlg.Add(STATIC, SS_LEFT, x, y, 68, 12, L"Verify PIN", static_cast<WORD>(100 + i)); break;
        case 1: dlg.Add(EDIT, WS_BORDER | ES_PASSWORD, x, y, 68, 12, L"", static_cast<WORD>(100 + i)); break;
        default: dlg.Add(BUTTON, BS_PUSHBUTTON, x, y, 68, 14, L"OK", static_cast<WORD>(100 + i)); break;
        }
    }
    double dBest = 1e300;
    for (int round = 0; round < kRounds; round++) {
        double dTotal = 0;
        for (int i = 0; i < kWindowsPerRound; i++) {
            const double dStart = Now();
            HWND hDlg = ::CreateDialogIndirectParamW(::GetModuleHandleW(NULL), dlg.Get(), NULL, DialogProc, 0);
            ::ShowWindow(hDlg, SW_SHOWNOACTIVATE);
            ::RedrawWindow(hDlg, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
            dTotal += Now() - dStart;
            ::DestroyWindow(hDlg);
            PumpMessages();
        }
        if (dTotal / kWindowsPerRound < dBest) dBest = dTotal / kWindowsPerRound;
    }
    return dBest;
}

// Microseconds to build the skin's tree alone, without a window, and delete it.
double BuildOnly(const wchar_t* pstrSkin)
{
    return SkinLibBench::BestMicroseconds(kWindowsPerRound, kRounds, [pstrSkin] {
        CPaintManagerUI pm;
        CDialogBuilder builder;
        delete builder.Create(pstrSkin, NULL, NULL, &pm);
    });
}

} // namespace

int main()
{
    CPaintManagerUI::SetInstance(::GetModuleHandleW(NULL));
    SkinLibTest::ZipWriter writer;
    writer.Add("dialog.xml", kDialogSkin);
    writer.Add("generated.xml", GeneratedSkin());
    static std::vector<uint8_t> s_archive = writer.Build();
    CPaintManagerUI::SetResourceZip(s_archive.data(), static_cast<unsigned>(s_archive.size()));

    int nDialogControls = 0, nGeneratedControls = 0;
    SkinnedStartUp(L"dialog.xml", &nDialogControls);  // warms fonts, classes and caches up
    const double dSkinned = SkinnedStartUp(L"dialog.xml", &nDialogControls);
    NativeStartUp(nDialogControls);
    const double dNative = NativeStartUp(nDialogControls);
    printf("start-up, Create to the end of the first paint, best of %d rounds of %d windows:\n", kRounds,
           kWindowsPerRound);
    printf("  skinned window, %d controls: %8.0f us\n", nDialogControls, dSkinned);
    printf("  native dialog,  %d controls: %8.0f us\n", nDialogControls, dNative);
    printf("  ratio skinned / native: %.2f (goal <= 1.00)\n", dSkinned / dNative);

    const double dGenerated = SkinnedStartUp(L"generated.xml", &nGeneratedControls);
    printf("generated skin, %d controls: %8.0f us, %.2f us per control (%.2f us per control beyond the dialog's)\n",
           nGeneratedControls, dGenerated, dGenerated / nGeneratedControls,
           (dGenerated - dSkinned) / (nGeneratedControls - nDialogControls));
    const double dBuild = BuildOnly(L"generated.xml");
    printf("  of which building the tree without a window: %8.0f us, %.2f us per control\n", dBuild,
           dBuild / nGeneratedControls);
    return dSkinned <= dNative ? 0 : 1;
}
