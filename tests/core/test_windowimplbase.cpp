// The skinned window base on real windows: creation from skin files and from
// the embedded skin archive, the default keys and buttons through the modal
// loop, the non-client behaviour (hit test, maximised size, round corners,
// system close), a window object destroyed before its window, and the fatal
// message of a skin that builds nothing, in a program of its own.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "CountedControls.h"
#include "SkinSettings.h"
#include "TempFiles.h"
#include "TestControls.h"
#include "WindowDriver.h"
#include "controls/ControlUI.h"
#include "core/PaintManagerUI.h"
#include "core/WindowImplBase.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

const UINT_PTR kTestTimerId = 7;
const DWORD kProgramStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Takes clicks in the caption band, whatever the case of its class name.
class CFakeButtonUI : public CControlUI
{
public:
    const wchar_t* GetClass() const override { return L"buttonui"; }
};

class CSkinTestWnd : public WindowImplBase
{
public:
    typedef std::function<void(CSkinTestWnd&)> Action;

    explicit CSkinTestWnd(const wchar_t* pstrSkin, UILIB_RESOURCETYPE type = SKIN_FROM_FILE,
                          LPCWSTR pstrResourceId = L"")
        : m_sSkin(pstrSkin), m_type(type), m_pstrResourceId(pstrResourceId) {}

    bool Create() { return CWindowWnd::Create(NULL, L"skinned", kProgramStyle, 0, 30, 40, 100, 100, NULL) != NULL; }
    // Runs the window modally; each action runs on one tick of a timer, in turn.
    UINT ShowModalAndDo(std::vector<Action> actions)
    {
        m_actions = std::move(actions);
        ::SetTimer(m_hWnd, kTestTimerId, 20, NULL);
        return ShowModal();
    }

    LPCWSTR GetWndClassName() const override { return L"SkinTestImplWnd"; }
    CSkinString GetSkinDirectory() override { return L""; }
    CSkinString GetSkinXmlName() override { return m_sSkin; }
    UILIB_RESOURCETYPE GetResourceType() const override { return m_type; }
    LPCWSTR GetResourceID() const override { return m_pstrResourceId; }
    void InitWindow() override { ++m_nInitWindow; }
    void OnClick(tagTNotifyUI& msg) override
    {
        ++m_nClicks;
        WindowImplBase::OnClick(msg);
    }
    CControlUI* CreateControl(const wchar_t* pstrClass) override
    {
        if (wcscmp(pstrClass, L"FakeButton") == 0) return new CFakeButtonUI;
        return m_factory.CreateControl(pstrClass);
    }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_CLOSE) m_aCloseParams.push_back(wParam);
        if (uMsg == WM_TIMER && wParam == kTestTimerId) {
            if (m_nNextAction < m_actions.size()) m_actions[m_nNextAction++](*this);
            return 0;
        }
        return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
    }
    // Every message the base passes on to the default procedure goes through here.
    void RecordDefaultProcedure()
    {
        s_pRecording = this;
        m_OldWndProc = RecordingProc;
    }

    CPaintManagerUI& Manager() { return m_PaintManager; }
    void SendClick(const wchar_t* pstrControl)
    {
        m_PaintManager.SendNotify(m_PaintManager.FindControl(pstrControl), L"click");
    }
    static LPBYTE ArchiveCopy() { return m_lpResourceZIPBuffer; }

    int m_nInitWindow = 0, m_nClicks = 0;
    std::vector<WPARAM> m_aCloseParams;
    std::vector<WPARAM> m_aDefaultSysCommands;

private:
    static LRESULT CALLBACK RecordingProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        if (uMsg == WM_SYSCOMMAND && s_pRecording != NULL) s_pRecording->m_aDefaultSysCommands.push_back(wParam);
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }

    static CSkinTestWnd* s_pRecording;
    CSkinString m_sSkin;
    UILIB_RESOURCETYPE m_type;
    LPCWSTR m_pstrResourceId;
    CCountedControlFactory m_factory;
    std::vector<Action> m_actions;
    size_t m_nNextAction = 0;
};
CSkinTestWnd* CSkinTestWnd::s_pRecording = NULL;

RECT WindowRect(HWND hWnd) { RECT rc = {}; ::GetWindowRect(hWnd, &rc); return rc; }
RECT ClientRect(HWND hWnd) { RECT rc = {}; ::GetClientRect(hWnd, &rc); return rc; }

RECT WorkArea(HWND hWnd)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    return mi.rcWork;
}

LRESULT HitTest(HWND hWnd, int x, int y)
{
    POINT pt = { x, y };
    ::ClientToScreen(hWnd, &pt);
    return ::SendMessageW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
}

class WindowImplBaseTest : public SkinSettingsTest
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = MakeTempFolder(L"window_impl_base");
        WriteBytes(s_folder + L"main.xml",
                   "<Window size=\"200,120\" caption=\"8,0,8,30\" sizebox=\"4,4,4,4\" mininfo=\"100,80\">"
                   "<Box name=\"root\"><Leaf name=\"label\"/><FakeButton name=\"btn\"/>"
                   "<Leaf name=\"closebtn\"/><Leaf name=\"minbtn\"/><Leaf name=\"maxbtn\"/><Leaf name=\"restorebtn\"/>"
                   "</Box></Window>");
        WriteBytes(s_folder + L"round.xml", "<Window roundcorner=\"16,16\" size=\"200,120\"><Box/></Window>");
    }
    void SetUp() override
    {
        CPaintManagerUI::SetInstance(::GetModuleHandleW(NULL));
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(s_folder.c_str());
    }

    static std::wstring s_folder;
};
std::wstring WindowImplBaseTest::s_folder;

} // namespace

TEST_F(WindowImplBaseTest, CreationBuildsAndAttachesTheSkinOnACaptionlessWindow)
{
    CSkinTestWnd wnd(L"main.xml");
    ASSERT_TRUE(wnd.Create());
    ASSERT_NE(wnd.Manager().GetRoot(), nullptr);
    EXPECT_EQ(wnd.Manager().GetRoot()->GetName(), L"root");
    EXPECT_EQ(wnd.m_nInitWindow, 1);
    const LONG_PTR nStyle = ::GetWindowLongPtrW(wnd, GWL_STYLE);
    EXPECT_EQ(nStyle & WS_CAPTION, 0);
    EXPECT_EQ(nStyle & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN), WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    // No frame: the window is its client area, at the skin's size.
    const RECT rcWindow = WindowRect(wnd), rcClient = ClientRect(wnd);
    EXPECT_EQ(rcWindow.right - rcWindow.left, 200);
    EXPECT_EQ(rcClient.right, 200);
    EXPECT_EQ(rcClient.bottom, 120);

    // The window is a notifier of its manager, and clicks reach OnClick through the map.
    wnd.SendClick(L"label");
    EXPECT_EQ(wnd.m_nClicks, 1);
    tagTNotifyUI msg = {};
    msg.sNotifyType = L"click";
    wnd.Notify(msg);
    EXPECT_EQ(wnd.m_nClicks, 1) << "a notification without a sender goes nowhere";
    ::DestroyWindow(wnd);
    EXPECT_EQ(wnd.GetHWND(), nullptr);
}

TEST_F(WindowImplBaseTest, ASkinResourceIsNamedByItsNumber)
{
    CSkinTestWnd wnd(L"201", SKIN_FROM_RESOURCE);
    ASSERT_TRUE(wnd.Create());
    ASSERT_NE(wnd.Manager().GetRoot(), nullptr);
    EXPECT_EQ(wnd.Manager().GetRoot()->GetName(), L"from resource");
    EXPECT_EQ(ClientRect(wnd).right, 150);
    ::DestroyWindow(wnd);
}

TEST_F(WindowImplBaseTest, AMissingArchiveResourceLeavesAnEmptyWindowThatCopesWithEveryMessage)
{
    CSkinTestWnd wnd(L"main.xml", SKIN_FROM_ZIPRESOURCE, MAKEINTRESOURCEW(555));
    ASSERT_TRUE(wnd.Create());
    EXPECT_EQ(wnd.Manager().GetRoot(), nullptr);
    EXPECT_EQ(wnd.m_nInitWindow, 0);
    EXPECT_EQ(HitTest(wnd, 50, 10), HTCLIENT);
    ::SetWindowPos(wnd, NULL, 0, 0, 150, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
    RepaintNow(wnd);
    MINMAXINFO mmi = {};
    ::SendMessageW(wnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    ::SendMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
    PumpMessages();
    ::DestroyWindow(wnd);
    EXPECT_EQ(wnd.GetHWND(), nullptr);
}

TEST_F(WindowImplBaseTest, TheEmbeddedArchiveBecomesTheProcessSkinSourceOnce)
{
    CSkinTestWnd first(L"demo.xml", SKIN_FROM_ZIPRESOURCE, MAKEINTRESOURCEW(109));
    ASSERT_TRUE(first.Create());
    ASSERT_NE(first.Manager().GetRoot(), nullptr);
    EXPECT_EQ(first.Manager().GetRoot()->GetName(), L"root");
    EXPECT_EQ(CPaintManagerUI::GetResourceZip(), L"membuffer");
    const LPBYTE pCopy = CSkinTestWnd::ArchiveCopy();
    EXPECT_NE(pCopy, nullptr);

    // A later window reads the archive opened first; its own resource type is files.
    CSkinTestWnd second(L"demo.xml");
    ASSERT_TRUE(second.Create());
    EXPECT_NE(second.Manager().GetRoot(), nullptr);
    CSkinTestWnd third(L"demo.xml", SKIN_FROM_ZIPRESOURCE, MAKEINTRESOURCEW(109));
    ASSERT_TRUE(third.Create());
    EXPECT_EQ(CSkinTestWnd::ArchiveCopy(), pCopy) << "no second copy of the archive";
    for (HWND hWnd : { first.GetHWND(), second.GetHWND(), third.GetHWND() }) ::DestroyWindow(hWnd);
}

// The demo skin's caption row: a label, and the close button at its right end.
TEST_F(WindowImplBaseTest, ThePressedCaptionLabelDragsAndTheCloseButtonClosesWithOne)
{
    CSkinTestWnd wnd(L"demo.xml", SKIN_FROM_ZIPRESOURCE, MAKEINTRESOURCEW(109));
    ASSERT_TRUE(wnd.Create());
    LRESULT hitLabel = 0, hitButton = 0, hitBelowButton = 0;
    const UINT nResult = wnd.ShowModalAndDo({
        [&](CSkinTestWnd& w) {
            hitLabel = HitTest(w, 200, 20);
            hitButton = HitTest(w, 395, 16);
            hitBelowButton = HitTest(w, 395, 36);
            w.PostMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(395, 16));
            w.PostMessageW(WM_LBUTTONUP, 0, MAKELPARAM(395, 16));
        },
    });
    EXPECT_EQ(hitLabel, HTCAPTION);
    EXPECT_EQ(hitButton, HTCLIENT);
    EXPECT_EQ(hitBelowButton, HTCAPTION) << "the caption row itself";
    EXPECT_EQ(nResult, 1u);
    EXPECT_EQ(wnd.m_nClicks, 1);
}

TEST_F(WindowImplBaseTest, HitTestFindsResizeBordersAndTheCaptionBand)
{
    CSkinTestWnd wnd(L"main.xml");
    ASSERT_TRUE(wnd.Create());
    ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
    RepaintNow(wnd);  // lays the tree out
    // The root box puts its children in 20 x 20 cells: the label at 0..20, the button at 20..40.
    struct { int x, y; LRESULT hit; } cases[] = {
        { 1, 1, HTTOPLEFT },   { 100, 1, HTTOP },    { 198, 2, HTTOPRIGHT },
        { 1, 60, HTLEFT },     { 198, 60, HTRIGHT }, { 1, 118, HTBOTTOMLEFT },
        { 100, 118, HTBOTTOM }, { 198, 118, HTBOTTOMRIGHT },
        { 10, 10, HTCAPTION },   // the label
        { 30, 10, HTCLIENT },    // the button takes its own clicks
        { 100, 10, HTCAPTION },  // the root box
        { 6, 10, HTCLIENT },     // left of the caption's inset
        { 193, 10, HTCLIENT },   // right of it
        { 100, 30, HTCLIENT },   // below the caption band
    };
    for (const auto& c : cases) EXPECT_EQ(HitTest(wnd, c.x, c.y), c.hit) << c.x << "," << c.y;
    ::DestroyWindow(wnd);
}

TEST_F(WindowImplBaseTest, EscapeClosesWithOneAndEnterDoesNothing)
{
    CSkinTestWnd wnd(L"main.xml");
    ASSERT_TRUE(wnd.Create());
    bool bAliveAfterEnter = false;
    const UINT nResult = wnd.ShowModalAndDo({
        [](CSkinTestWnd& w) { w.PostMessageW(WM_KEYDOWN, VK_RETURN, 0); },
        [&](CSkinTestWnd& w) {
            bAliveAfterEnter = ::IsWindow(w) != FALSE;
            w.PostMessageW(WM_KEYDOWN, VK_ESCAPE, 0);
        },
    });
    EXPECT_TRUE(bAliveAfterEnter);
    EXPECT_EQ(nResult, 1u);
    EXPECT_EQ(wnd.GetHWND(), nullptr);
}

TEST_F(WindowImplBaseTest, CaptionButtonsMinimiseMaximiseToTheWorkAreaRestoreAndClose)
{
    CSkinTestWnd wnd(L"main.xml");
    ASSERT_TRUE(wnd.Create());
    bool bIconic = false, bZoomed = false, bRestored = false;
    RECT rcZoomed = {}, rcWork = {}, rcBefore = {}, rcRestored = {};
    const UINT nResult = wnd.ShowModalAndDo({
        [&](CSkinTestWnd& w) {
            rcBefore = WindowRect(w);
            w.SendClick(L"minbtn");
            bIconic = ::IsIconic(w) != FALSE;
            w.SendClick(L"restorebtn");
        },
        [&](CSkinTestWnd& w) {
            w.SendClick(L"maxbtn");
            bZoomed = ::IsZoomed(w) != FALSE;
            rcZoomed = WindowRect(w);
            rcWork = WorkArea(w);
        },
        [&](CSkinTestWnd& w) {
            w.SendClick(L"restorebtn");
            bRestored = !::IsZoomed(w) && !::IsIconic(w);
            rcRestored = WindowRect(w);
            w.SendClick(L"closebtn");
        },
    });
    EXPECT_TRUE(bIconic);
    EXPECT_TRUE(bZoomed);
    EXPECT_TRUE(::EqualRect(&rcZoomed, &rcWork)) << rcZoomed.left << "," << rcZoomed.top << "," << rcZoomed.right
                                                 << "," << rcZoomed.bottom;
    EXPECT_TRUE(bRestored);
    EXPECT_TRUE(::EqualRect(&rcRestored, &rcBefore));
    EXPECT_EQ(nResult, 1u);
}

TEST_F(WindowImplBaseTest, MaximisedWindowsOfferNoResizeBorders)
{
    CSkinTestWnd wnd(L"main.xml");
    ASSERT_TRUE(wnd.Create());
    ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
    wnd.SendMessageW(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(::IsZoomed(wnd));
    RepaintNow(wnd);
    const RECT rcClient = ClientRect(wnd), rcWork = WorkArea(wnd);
    EXPECT_EQ(rcClient.right, rcWork.right - rcWork.left);
    EXPECT_EQ(rcClient.bottom, rcWork.bottom - rcWork.top);
    EXPECT_EQ(HitTest(wnd, 1, 1), HTCLIENT);
    EXPECT_EQ(HitTest(wnd, 10, 10), HTCAPTION);
    EXPECT_EQ(HitTest(wnd, rcClient.right - 1, rcClient.bottom - 1), HTCLIENT);
    ::DestroyWindow(wnd);
}

TEST_F(WindowImplBaseTest, TrackSizesComeFromTheWorkAreaAndTheSkin)
{
    CSkinTestWnd wnd(L"main.xml");
    ASSERT_TRUE(wnd.Create());
    MINMAXINFO mmi = {};
    mmi.ptMaxSize = { 1234, 567 };
    ::SendMessageW(wnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    const RECT rcWork = WorkArea(wnd);
    EXPECT_EQ(mmi.ptMaxTrackSize.x, rcWork.right - rcWork.left);
    EXPECT_EQ(mmi.ptMaxTrackSize.y, rcWork.bottom - rcWork.top);
    EXPECT_EQ(mmi.ptMinTrackSize.x, 100);
    EXPECT_EQ(mmi.ptMinTrackSize.y, 80);
    EXPECT_EQ(mmi.ptMaxSize.x, 1234) << "the maximised size is the system's";
    ::DestroyWindow(wnd);
}

TEST_F(WindowImplBaseTest, RoundCornersFollowEverySizeChange)
{
    CSkinTestWnd wnd(L"round.xml");
    ASSERT_TRUE(wnd.Create());
    for (SIZE sz : { SIZE{ 200, 120 }, SIZE{ 260, 150 }, SIZE{ 180, 100 } }) {
        ::SetWindowPos(wnd, NULL, 0, 0, sz.cx, sz.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_EQ(::GetWindowRgn(wnd, hRgn), COMPLEXREGION) << sz.cx;
        RECT rcBox = {};
        ::GetRgnBox(hRgn, &rcBox);
        EXPECT_EQ(rcBox.right, sz.cx) << sz.cx;
        EXPECT_EQ(rcBox.bottom, sz.cy) << sz.cx;
        EXPECT_FALSE(::PtInRegion(hRgn, 0, 0)) << "the corner is cut";
        EXPECT_FALSE(::PtInRegion(hRgn, sz.cx - 1, sz.cy - 1));
        EXPECT_TRUE(::PtInRegion(hRgn, sz.cx / 2, 0));
        ::DeleteObject(hRgn);
    }
    ::DestroyWindow(wnd);
}

TEST_F(WindowImplBaseTest, SystemCloseIsRecognisedWhateverItsLowBits)
{
    CSkinTestWnd wnd(L"main.xml");
    ASSERT_TRUE(wnd.Create());
    wnd.RecordDefaultProcedure();
    wnd.SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(wnd.m_aDefaultSysCommands, std::vector<WPARAM>{ SC_RESTORE }) << "other commands go on";
    wnd.SendMessageW(WM_SYSCOMMAND, SC_CLOSE | 0x0002, 0);
    EXPECT_EQ(wnd.m_aDefaultSysCommands.size(), 1u) << "the close command is not passed on";
    EXPECT_EQ(wnd.m_aCloseParams, std::vector<WPARAM>{ 0 });
    EXPECT_EQ(wnd.GetHWND(), nullptr) << "the close was sent, and the window is gone";
}

TEST_F(WindowImplBaseTest, AnObjectDestroyedBeforeItsWindowTakesTheWindowWithIt)
{
    CSkinTestWnd* pWnd = new CSkinTestWnd(L"main.xml");
    ASSERT_TRUE(pWnd->Create());
    const HWND hWnd = *pWnd;
    const UINT nResult = pWnd->ShowModalAndDo({ [](CSkinTestWnd&) { ::PostQuitMessage(5); } });
    EXPECT_EQ(nResult, 0u);
    ASSERT_TRUE(::IsWindow(hWnd)) << "the loop ended on the quit, not on the window";
    delete pWnd;
    EXPECT_FALSE(::IsWindow(hWnd));
    // The quit the loop posted again for an outer loop.
    MSG msg = {};
    EXPECT_TRUE(::PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
}

// The skin program of the main job: a normal run ends with the result of its own
// Close(0); a skin the archive does not hold shows the fatal message, and the
// process ends with 1 once it is dismissed.
TEST(SkinnedWindowProgram, RunsItsSkinAndEndsOnTheFatalMessageWithoutOne)
{
    wchar_t szPath[MAX_PATH] = L"";
    const DWORD nLength = ::GetModuleFileNameW(NULL, szPath, MAX_PATH);
    ASSERT_TRUE(nLength > 0 && nLength < MAX_PATH);
    std::wstring sExe(szPath);
    sExe = sExe.substr(0, sExe.find_last_of(L"\\/") + 1) + L"skinned_window_demo.exe";
    ASSERT_NE(::GetFileAttributesW(sExe.c_str()), INVALID_FILE_ATTRIBUTES) << "skinned_window_demo.exe beside the test";

    struct { const wchar_t* args; DWORD exitCode; } cases[] = {
        { L" 200", 0 },
        { L" 60000 missing.xml", 1 },
    };
    for (const auto& c : cases) {
        std::wstring sCommandLine = L"\"" + sExe + L"\"" + c.args;
        STARTUPINFOW si = { sizeof(si) };
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(::CreateProcessW(sExe.c_str(), &sCommandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi));
        if (c.exitCode == 1) {
            EXPECT_EQ(SkinLibTest::AnswerFatalSkinBox(pi.dwProcessId), L"加载资源文件失败");
        }
        EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
        DWORD dwExitCode = 0;
        EXPECT_TRUE(::GetExitCodeProcess(pi.hProcess, &dwExitCode));
        EXPECT_EQ(dwExitCode, c.exitCode) << c.args;
        if (dwExitCode == STILL_ACTIVE) ::TerminateProcess(pi.hProcess, 1);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
}
