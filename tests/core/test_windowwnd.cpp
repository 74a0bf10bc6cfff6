#include "core/PaintManagerUI.h"
#include "core/WindowWnd.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace SkinLib;

namespace {

const UINT_PTR kTestTimerId = 1;

// A test window whose messages can be intercepted by a hook and which records
// how its final message arrived.
BOOL CALLBACK FindObjectProp(HWND, LPWSTR pstrName, HANDLE, ULONG_PTR lParam)
{
    if (IS_INTRESOURCE(pstrName) || ::lstrcmpW(pstrName, L"WndX") != 0) return TRUE;
    *reinterpret_cast<bool*>(lParam) = true;
    return FALSE;
}

// Whether the property exists at all, whatever its value.
bool HasObjectProp(HWND hWnd)
{
    bool bFound = false;
    ::EnumPropsExW(hWnd, FindObjectProp, reinterpret_cast<LPARAM>(&bFound));
    return bFound;
}

class CTestWnd : public CWindowWnd
{
public:
    // Returns true when it handled the message and set the result.
    typedef std::function<bool(CTestWnd& wnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)> Hook;

    explicit CTestWnd(LPCWSTR pstrClassName = L"SkinTestWnd", LPCWSTR pstrSuperClassName = NULL)
        : m_pstrClassName(pstrClassName), m_pstrSuperClassName(pstrSuperClassName)
    {
    }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        m_nMessages++;
        LRESULT lRes = 0;
        if (m_hook && m_hook(*this, uMsg, wParam, lParam, lRes)) return lRes;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

    Hook m_hook;
    int m_nMessages = 0;
    int m_nFinalMessages = 0;
    HWND m_hFinalWnd = NULL;
    HWND m_hWndDuringFinal = NULL;
    bool m_bPropDuringFinal = false;

protected:
    LPCWSTR GetWndClassName() const override { return m_pstrClassName; }
    LPCWSTR GetSuperClassName() const override { return m_pstrSuperClassName; }

    void OnFinalMessage(HWND hWnd) override
    {
        m_nFinalMessages++;
        m_hFinalWnd = hWnd;
        m_hWndDuringFinal = GetHWND();
        m_bPropDuringFinal = HasObjectProp(hWnd);
    }

private:
    LPCWSTR m_pstrClassName;
    LPCWSTR m_pstrSuperClassName;
};

// Deletes itself with its window, as the library's pop-ups do.
class CSelfDeletingWnd final : public CWindowWnd
{
public:
    explicit CSelfDeletingWnd(int* pnDeleted) : m_pnDeleted(pnDeleted) {}
    ~CSelfDeletingWnd() { ++*m_pnDeleted; }

protected:
    LPCWSTR GetWndClassName() const override { return L"SkinTestSelfDeleting"; }
    void OnFinalMessage(HWND) override { delete this; }

private:
    int* m_pnDeleted;
};

const DWORD kPopupStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

RECT WorkArea()
{
    RECT rc = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

RECT WindowRect(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

// Calls pfnAction on the first tick of a timer set on the window.
void OnFirstTick(CTestWnd& wnd, std::function<void(CTestWnd&)> pfnAction)
{
    wnd.m_hook = [pfnAction](CTestWnd& w, UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lRes) {
        if (uMsg != WM_TIMER || wParam != kTestTimerId) return false;
        ::KillTimer(w.GetHWND(), kTestTimerId);
        pfnAction(w);
        lRes = 0;
        return true;
    };
    ::SetTimer(wnd.GetHWND(), kTestTimerId, 10, NULL);
}

class WindowWndTest : public ::testing::Test
{
protected:
    void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(NULL)); }
};

} // namespace

TEST_F(WindowWndTest, WindowsOfOneClassShareTheRegistrationAndEndWithOneFinalMessage)
{
    CTestWnd first;
    CTestWnd second;
    HWND hFirst = first.Create(NULL, L"first", kPopupStyle, 0, 10, 20, 300, 200, NULL);
    ASSERT_NE(hFirst, nullptr);
    RECT rc = { 40, 50, 340, 250 };
    HWND hSecond = second.Create(NULL, L"second", kPopupStyle, 0, rc, NULL);
    ASSERT_NE(hSecond, nullptr);
    EXPECT_NE(hFirst, hSecond);
    EXPECT_EQ(first.GetHWND(), hFirst);
    EXPECT_EQ(static_cast<HWND>(second), hSecond);
    RECT rcSecond = WindowRect(hSecond);
    EXPECT_TRUE(::EqualRect(&rcSecond, &rc));

    wchar_t szTitle[16] = L"";
    ::GetWindowTextW(hSecond, szTitle, 16);
    EXPECT_STREQ(szTitle, L"second");

    ::DestroyWindow(hFirst);
    ::DestroyWindow(hSecond);
    for (CTestWnd* pWnd : { &first, &second }) {
        EXPECT_EQ(pWnd->GetHWND(), nullptr);
        EXPECT_EQ(pWnd->m_nFinalMessages, 1);
        EXPECT_EQ(pWnd->m_hWndDuringFinal, nullptr) << "the handle is cleared before the final call";
    }
    EXPECT_EQ(first.m_hFinalWnd, hFirst);
    EXPECT_EQ(second.m_hFinalWnd, hSecond);
}

TEST_F(WindowWndTest, CreateSkinWindowMakesAnEmptyWindowAndFailuresLeaveNoHandle)
{
    CTestWnd wnd;
    HWND hWnd = wnd.CreateSkinWindow(NULL, L"skin", WS_POPUP, 0);
    ASSERT_NE(hWnd, nullptr);
    RECT rc = WindowRect(hWnd);
    EXPECT_TRUE(::IsRectEmpty(&rc));
    ::DestroyWindow(hWnd);

    // WM_CREATE refusing the window: the final message still comes, once.
    CTestWnd refused;
    refused.m_hook = [](CTestWnd&, UINT uMsg, WPARAM, LPARAM, LRESULT& lRes) {
        if (uMsg != WM_CREATE) return false;
        lRes = -1;
        return true;
    };
    EXPECT_EQ(refused.Create(NULL, L"refused", kPopupStyle, 0, 0, 0, 100, 100, NULL), nullptr);
    EXPECT_EQ(refused.GetHWND(), nullptr);
    EXPECT_EQ(refused.m_nFinalMessages, 1);

    CTestWnd unknown(L"SkinTestNoSuchSuper", L"NoSuchSystemClass");
    EXPECT_EQ(unknown.Create(NULL, L"unknown", kPopupStyle, 0, 0, 0, 100, 100, NULL), nullptr);
    EXPECT_EQ(unknown.GetHWND(), nullptr);
    EXPECT_EQ(unknown.m_nFinalMessages, 0);
}

TEST_F(WindowWndTest, AnObjectMayDeleteItselfInItsFinalMessage)
{
    int nDeleted = 0;
    CSelfDeletingWnd* pWnd = new CSelfDeletingWnd(&nDeleted);
    HWND hWnd = pWnd->Create(NULL, L"self", kPopupStyle, 0, 0, 0, 100, 100, NULL);
    ASSERT_NE(hWnd, nullptr);
    pWnd->Close(3);
    MSG msg;
    while (::IsWindow(hWnd) && ::GetMessageW(&msg, NULL, 0, 0) > 0) ::DispatchMessageW(&msg);
    EXPECT_EQ(nDeleted, 1);
}

TEST_F(WindowWndTest, ShowModalReturnsThePostedCloseResultAndRestoresTheOwner)
{
    CTestWnd owner(L"SkinTestOwner");
    ASSERT_NE(owner.Create(NULL, L"owner", kPopupStyle, 0, 0, 0, 200, 200, NULL), nullptr);
    CTestWnd dialog;
    ASSERT_NE(dialog.Create(owner, L"dialog", kPopupStyle, 0, 50, 50, 200, 150, NULL), nullptr);
    ASSERT_EQ(::GetWindow(dialog, GW_OWNER), owner.GetHWND());

    BOOL bOwnerEnabledInside = TRUE;
    OnFirstTick(dialog, [&](CTestWnd& wnd) {
        bOwnerEnabledInside = ::IsWindowEnabled(owner);
        wnd.Close(7);
    });
    EXPECT_EQ(dialog.ShowModal(), 7u);
    EXPECT_FALSE(bOwnerEnabledInside);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    EXPECT_EQ(dialog.GetHWND(), nullptr);
    EXPECT_EQ(dialog.m_nFinalMessages, 1);
    ::DestroyWindow(owner);
}

TEST_F(WindowWndTest, ShowModalLeavesAnOwnerDisabledBySomebodyElseDisabled)
{
    CTestWnd owner(L"SkinTestOwner");
    ASSERT_NE(owner.Create(NULL, L"owner", kPopupStyle, 0, 0, 0, 200, 200, NULL), nullptr);
    ::EnableWindow(owner, FALSE);
    CTestWnd dialog;
    ASSERT_NE(dialog.Create(owner, L"dialog", kPopupStyle, 0, 50, 50, 200, 150, NULL), nullptr);
    OnFirstTick(dialog, [](CTestWnd& wnd) { wnd.Close(2); });
    EXPECT_EQ(dialog.ShowModal(), 2u);
    EXPECT_FALSE(::IsWindowEnabled(owner));
    ::DestroyWindow(owner);
}

TEST_F(WindowWndTest, ShowModalNeverDisablesTheDesktop)
{
    CTestWnd dialog;
    ASSERT_NE(dialog.Create(::GetDesktopWindow(), L"dialog", kPopupStyle, 0, 50, 50, 200, 150, NULL), nullptr);
    BOOL bDesktopEnabledInside = FALSE;
    OnFirstTick(dialog, [&](CTestWnd& wnd) {
        bDesktopEnabledInside = ::IsWindowEnabled(::GetDesktopWindow());
        wnd.Close(4);
    });
    EXPECT_EQ(dialog.ShowModal(), 4u);
    EXPECT_TRUE(bDesktopEnabledInside);
    EXPECT_TRUE(::IsWindowEnabled(::GetDesktopWindow()));
}

TEST_F(WindowWndTest, TheSystemCloseCommandKeepsTheLastPostedResult)
{
    // The first, posted WM_CLOSE is refused; the system close command then
    // sends one that is accepted but never passes the modal loop.
    CTestWnd dialog;
    ASSERT_NE(dialog.Create(NULL, L"dialog", kPopupStyle, 0, 50, 50, 200, 150, NULL), nullptr);
    int nCloses = 0;
    dialog.m_hook = [&](CTestWnd& wnd, UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lRes) {
        if (uMsg == WM_CLOSE && nCloses++ == 0) {
            lRes = 0;
            return true;
        }
        if (uMsg == WM_TIMER && wParam == kTestTimerId) {
            ::KillTimer(wnd, kTestTimerId);
            wnd.SendMessageW(WM_SYSCOMMAND, SC_CLOSE, 0);
            lRes = 0;
            return true;
        }
        return false;
    };
    dialog.Close(5);
    ::SetTimer(dialog, kTestTimerId, 10, NULL);
    EXPECT_EQ(dialog.ShowModal(), 5u);
    EXPECT_EQ(nCloses, 2);

    CTestWnd plain;
    ASSERT_NE(plain.Create(NULL, L"plain", kPopupStyle, 0, 50, 50, 200, 150, NULL), nullptr);
    OnFirstTick(plain, [](CTestWnd& wnd) { wnd.SendMessageW(WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(plain.ShowModal(), 0u);
}

TEST_F(WindowWndTest, AQuitEndsShowModalAndIsPostedAgain)
{
    CTestWnd owner(L"SkinTestOwner");
    ASSERT_NE(owner.Create(NULL, L"owner", kPopupStyle, 0, 0, 0, 200, 200, NULL), nullptr);
    CTestWnd dialog;
    ASSERT_NE(dialog.Create(owner, L"dialog", kPopupStyle, 0, 50, 50, 200, 150, NULL), nullptr);
    OnFirstTick(dialog, [](CTestWnd&) { ::PostQuitMessage(42); });
    EXPECT_EQ(dialog.ShowModal(), 0u);
    EXPECT_TRUE(::IsWindow(dialog)) << "the window outlives the loop";
    EXPECT_TRUE(::IsWindowEnabled(owner));

    MSG msg = {};
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) ::DispatchMessageW(&msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 42u);
    ::DestroyWindow(dialog);
    ::DestroyWindow(owner);
}

TEST_F(WindowWndTest, ChoresOnAnObjectWithoutAWindowDoNothing)
{
    CTestWnd wnd;
    wnd.Close(1);
    wnd.ShowWindow(true, true);
    EXPECT_EQ(wnd.ShowModal(), 0u);
    EXPECT_EQ(wnd.GetHWND(), nullptr);
    EXPECT_EQ(wnd.m_nMessages, 0);
}

TEST_F(WindowWndTest, CenterWindowCentresInTheWorkAreaOrOnTheOwnerAndClamps)
{
    const RECT rcWork = WorkArea();
    const int nWorkWidth = rcWork.right - rcWork.left;

    CTestWnd wnd;
    ASSERT_NE(wnd.Create(NULL, L"centred", kPopupStyle, 0, 0, 0, 301, 201, NULL), nullptr);
    wnd.CenterWindow();
    RECT rc = WindowRect(wnd);
    EXPECT_EQ(rc.left, (rcWork.left + rcWork.right) / 2 - 301 / 2);
    EXPECT_EQ(rc.top, (rcWork.top + rcWork.bottom) / 2 - 201 / 2);
    EXPECT_EQ(rc.right - rc.left, 301) << "the size is kept";

    CTestWnd wide;
    ASSERT_NE(wide.Create(NULL, L"wide", kPopupStyle, 0, 0, 0, nWorkWidth + 200, 100, NULL), nullptr);
    wide.CenterWindow();
    EXPECT_EQ(WindowRect(wide).left, rcWork.left);

    // Centred on the owner, then pushed back into the work area.
    CTestWnd owner(L"SkinTestOwner");
    ASSERT_NE(owner.Create(NULL, L"owner", kPopupStyle, 0, rcWork.left + 100, rcWork.top + 100, 400, 300, NULL),
              nullptr);
    CTestWnd owned;
    ASSERT_NE(owned.Create(owner, L"owned", kPopupStyle, 0, 0, 0, 200, 100, NULL), nullptr);
    owned.CenterWindow();
    rc = WindowRect(owned);
    EXPECT_EQ(rc.left, rcWork.left + 100 + 200 - 100);
    EXPECT_EQ(rc.top, rcWork.top + 100 + 150 - 50);

    ::SetWindowPos(owner, NULL, rcWork.right - 100, rcWork.bottom - 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    owned.CenterWindow();
    rc = WindowRect(owned);
    EXPECT_EQ(rc.right, rcWork.right);
    EXPECT_EQ(rc.bottom, rcWork.bottom);

    ::DestroyWindow(owned);
    ::DestroyWindow(owner);
    ::DestroyWindow(wide);
    ::DestroyWindow(wnd);
}

TEST_F(WindowWndTest, ResizeClientChangesOnlyTheGivenEdges)
{
    CTestWnd wnd;
    ASSERT_NE(wnd.Create(NULL, L"resized", WS_OVERLAPPEDWINDOW, 0, 30, 40, 400, 250, NULL), nullptr);
    RECT rcBefore = {};
    ::GetClientRect(wnd, &rcBefore);
    RECT rcWindowBefore = WindowRect(wnd);

    wnd.ResizeClient(-1, 300);
    RECT rc = {};
    ::GetClientRect(wnd, &rc);
    EXPECT_EQ(rc.right, rcBefore.right);
    EXPECT_EQ(rc.bottom, 300);
    RECT rcWindow = WindowRect(wnd);
    EXPECT_EQ(rcWindow.left, rcWindowBefore.left) << "the window does not move";
    EXPECT_EQ(rcWindow.top, rcWindowBefore.top);

    wnd.ResizeClient(320, -1);
    ::GetClientRect(wnd, &rc);
    EXPECT_EQ(rc.right, 320);
    EXPECT_EQ(rc.bottom, 300);
    ::DestroyWindow(wnd);

    // A menu bar is part of the frame.
    HMENU hMenu = ::CreateMenu();
    ::AppendMenuW(hMenu, MF_STRING, 1, L"File");
    CTestWnd withMenu;
    ASSERT_NE(withMenu.Create(NULL, L"menu", WS_OVERLAPPEDWINDOW, 0, 30, 40, 400, 250, hMenu), nullptr);
    withMenu.ResizeClient(360, 240);
    ::GetClientRect(withMenu, &rc);
    EXPECT_EQ(rc.right, 360);
    EXPECT_EQ(rc.bottom, 240);
    ::DestroyWindow(withMenu);
}

TEST_F(WindowWndTest, ASuperclassedEditKeepsItsBehaviourAndForgetsTheObjectAtTheEnd)
{
    CTestWnd parent(L"SkinTestOwner");
    ASSERT_NE(parent.Create(NULL, L"parent", kPopupStyle, 0, 0, 0, 300, 200, NULL), nullptr);
    CTestWnd edit(L"SkinTestEditWnd", L"Edit");
    HWND hEdit = edit.Create(parent, L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 10, 10, 200, 24, NULL);
    ASSERT_NE(hEdit, nullptr);
    EXPECT_TRUE(HasObjectProp(hEdit));
    EXPECT_EQ(::GetPropW(hEdit, L"WndX"), static_cast<HANDLE>(&edit));
    EXPECT_EQ(::GetWindowLongPtrW(hEdit, GWLP_USERDATA), 0) << "a superclass keeps the object in a property";

    // A second window of the same superclass.
    CTestWnd edit2(L"SkinTestEditWnd", L"Edit");
    ASSERT_NE(edit2.Create(parent, L"", WS_CHILD, 0, 10, 40, 200, 24, NULL), nullptr);

    int nMessagesBefore = edit.m_nMessages;
    edit.SendMessageW(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"12345"));
    EXPECT_GT(edit.m_nMessages, nMessagesBefore);
    EXPECT_EQ(edit.SendMessageW(WM_GETTEXTLENGTH, 0, 0), 5) << "the edit's own procedure still runs";
    edit.SendMessageW(EM_SETSEL, 1, 3);
    DWORD dwStart = 0;
    DWORD dwEnd = 0;
    edit.SendMessageW(EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(dwStart, 1u);
    EXPECT_EQ(dwEnd, 3u);

    ::DestroyWindow(parent);
    for (CTestWnd* pWnd : { &edit, &edit2 }) {
        EXPECT_EQ(pWnd->m_nFinalMessages, 1);
        EXPECT_EQ(pWnd->GetHWND(), nullptr);
        EXPECT_FALSE(pWnd->m_bPropDuringFinal) << "the property is removed at the final message";
    }
}

TEST_F(WindowWndTest, SubclassRoutesAnExistingWindowUntilUnsubclassed)
{
    HWND hStatic = ::CreateWindowExW(0, L"STATIC", L"static", WS_POPUP, 0, 0, 100, 30, NULL, NULL,
                                     ::GetModuleHandleW(NULL), NULL);
    ASSERT_NE(hStatic, nullptr);
    LONG_PTR pfnOriginal = ::GetWindowLongPtrW(hStatic, GWLP_WNDPROC);

    CTestWnd failed;
    EXPECT_EQ(failed.Subclass(NULL), nullptr);
    EXPECT_EQ(failed.GetHWND(), nullptr);

    CTestWnd sub;
    EXPECT_EQ(sub.Subclass(hStatic), hStatic);
    EXPECT_EQ(sub.GetHWND(), hStatic);
    ::SetWindowTextW(hStatic, L"changed");
    EXPECT_GT(sub.m_nMessages, 0);
    wchar_t szText[16] = L"";
    ::GetWindowTextW(hStatic, szText, 16);
    EXPECT_STREQ(szText, L"changed") << "the old procedure still does the work";

    sub.Unsubclass();
    EXPECT_EQ(::GetWindowLongPtrW(hStatic, GWLP_WNDPROC), pfnOriginal);
    int nMessages = sub.m_nMessages;
    ::SetWindowTextW(hStatic, L"again");
    EXPECT_EQ(sub.m_nMessages, nMessages);

    // Subclassed until the end: the window is handed back at its final message.
    CTestWnd until;
    ASSERT_EQ(until.Subclass(hStatic), hStatic);
    ::DestroyWindow(hStatic);
    EXPECT_EQ(until.m_nFinalMessages, 1);
    EXPECT_EQ(until.GetHWND(), nullptr);
    EXPECT_EQ(sub.m_nFinalMessages, 0);
}

TEST(ModalWindowDemo, ExitsWithTheResultGivenToClose)
{
    wchar_t szPath[MAX_PATH] = L"";
    DWORD nLength = ::GetModuleFileNameW(NULL, szPath, MAX_PATH);
    ASSERT_GT(nLength, 0u);
    ASSERT_LT(nLength, static_cast<DWORD>(MAX_PATH));
    std::wstring sExe(szPath);
    sExe.erase(sExe.find_last_of(L"\\/") + 1);
    sExe += L"modal_window_demo.exe";
    ASSERT_NE(::GetFileAttributesW(sExe.c_str()), INVALID_FILE_ATTRIBUTES) << "modal_window_demo.exe beside the test";

    std::wstring sCommandLine = L"\"" + sExe + L"\" 7 300";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(::CreateProcessW(sExe.c_str(), &sCommandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi));
    EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD dwExitCode = 0;
    EXPECT_TRUE(::GetExitCodeProcess(pi.hProcess, &dwExitCode));
    EXPECT_EQ(dwExitCode, 7u);
    if (dwExitCode == STILL_ACTIVE) ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}
