#include "core/PaintManagerUI.h"
#include "core/WindowWnd.h"
#include "SkinSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace SkinLib;

namespace {

const UINT_PTR kTestTimerId = 1;
const DWORD kPopupStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

// Whether the object property exists at all, whatever its value.
bool HasObjectProp(HWND hWnd)
{
    bool bFound = false;
    auto pfnFind = [](HWND, LPWSTR pstr, HANDLE, ULONG_PTR lParam) -> BOOL {
        if (!IS_INTRESOURCE(pstr) && ::lstrcmpW(pstr, L"WndX") == 0) *reinterpret_cast<bool*>(lParam) = true;
        return TRUE;
    };
    ::EnumPropsExW(hWnd, pfnFind, reinterpret_cast<LPARAM>(&bFound));
    return bFound;
}

// A test window whose messages can be intercepted by a hook and which records
// how its final message arrived.
struct CTestWnd : CWindowWnd
{
    // Returns true when it handled the message and set the result.
    typedef std::function<bool(CTestWnd& wnd, UINT uMsg, WPARAM wParam, LRESULT& lRes)> Hook;

    explicit CTestWnd(LPCWSTR pstrClass = L"SkinTestWnd", LPCWSTR pstrSuper = NULL)
        : m_pstrClass(pstrClass), m_pstrSuper(pstrSuper) {}
    // A popup owned by hOwner, 200 x 150 at (50, 50) unless told otherwise.
    bool Popup(HWND hOwner = NULL, int x = 50, int y = 50, int cx = 200, int cy = 150)
    {
        return Create(hOwner, L"popup", kPopupStyle, 0, x, y, cx, cy, NULL) != NULL;
    }
    LPCWSTR GetWndClassName() const override { return m_pstrClass; }
    LPCWSTR GetSuperClassName() const override { return m_pstrSuper; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        m_nMessages++;
        LRESULT lRes = 0;
        if (m_hook && m_hook(*this, uMsg, wParam, lRes)) return lRes;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
    void OnFinalMessage(HWND hWnd) override
    {
        m_nFinalMessages++;
        m_hFinalWnd = hWnd;
        m_hWndDuringFinal = GetHWND();
        m_bPropDuringFinal = HasObjectProp(hWnd);
    }

    LPCWSTR m_pstrClass, m_pstrSuper;
    Hook m_hook;
    int m_nMessages = 0, m_nFinalMessages = 0;
    HWND m_hFinalWnd = NULL, m_hWndDuringFinal = NULL;
    bool m_bPropDuringFinal = false;
};

// Deletes itself with its window, as the library's pop-ups do.
struct CSelfDeletingWnd final : CWindowWnd
{
    explicit CSelfDeletingWnd(int* pnDeleted) : m_pnDeleted(pnDeleted) {}
    ~CSelfDeletingWnd() { ++*m_pnDeleted; }
    LPCWSTR GetWndClassName() const override { return L"SkinTestSelfDeleting"; }
    void OnFinalMessage(HWND) override { delete this; }
    int* m_pnDeleted;
};

RECT WindowRect(HWND hWnd) { RECT rc = {}; ::GetWindowRect(hWnd, &rc); return rc; }
RECT ClientRect(HWND hWnd) { RECT rc = {}; ::GetClientRect(hWnd, &rc); return rc; }

// Runs the window modally; pfnAction runs on the first tick of a timer set on it.
UINT ShowModalAndThen(CTestWnd& wnd, std::function<void(CTestWnd&)> pfnAction)
{
    CTestWnd::Hook previous = wnd.m_hook;
    wnd.m_hook = [=](CTestWnd& w, UINT uMsg, WPARAM wParam, LRESULT& lRes) {
        if (uMsg != WM_TIMER || wParam != kTestTimerId) return previous && previous(w, uMsg, wParam, lRes);
        ::KillTimer(w, kTestTimerId);
        pfnAction(w);
        return true;
    };
    ::SetTimer(wnd, kTestTimerId, 10, NULL);
    return wnd.ShowModal();
}

// A first-tick action: notes whether hWatch is enabled, then closes the window with nResult.
std::function<void(CTestWnd&)> NoteEnabledAndClose(HWND hWatch, BOOL* pbEnabled, UINT nResult)
{
    return [=](CTestWnd& wnd) {
        *pbEnabled = ::IsWindowEnabled(hWatch);
        wnd.Close(nResult);
    };
}

struct WindowWndTest : SkinLibTest::SkinSettingsTest
{
    void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(NULL)); }
};

} // namespace

TEST_F(WindowWndTest, WindowsOfOneClassShareTheRegistrationAndEndWithOneFinalMessage)
{
    CTestWnd first, second;
    ASSERT_TRUE(first.Popup(NULL, 10, 20, 300, 200));
    RECT rc = {40, 50, 340, 250};
    HWND hSecond = second.Create(NULL, L"second", kPopupStyle, 0, rc, NULL);
    ASSERT_NE(hSecond, nullptr);
    RECT rcSecond = WindowRect(hSecond);
    EXPECT_TRUE(::EqualRect(&rcSecond, &rc));
    EXPECT_EQ(second.GetHWND(), hSecond);

    HWND hFirst = first;
    ::DestroyWindow(hFirst);
    ::DestroyWindow(hSecond);
    for (CTestWnd* pWnd : {&first, &second}) {
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
    ASSERT_NE(wnd.CreateSkinWindow(NULL, L"skin", WS_POPUP, 0), nullptr);
    RECT rc = WindowRect(wnd);
    EXPECT_TRUE(::IsRectEmpty(&rc));
    ::DestroyWindow(wnd);

    // WM_CREATE refusing the window: the final message still comes, once.
    CTestWnd refused;
    refused.m_hook = [](CTestWnd&, UINT uMsg, WPARAM, LRESULT& lRes) {
        if (uMsg == WM_CREATE) lRes = -1;
        return uMsg == WM_CREATE;
    };
    EXPECT_FALSE(refused.Popup());
    EXPECT_EQ(refused.GetHWND(), nullptr);
    EXPECT_EQ(refused.m_nFinalMessages, 1);

    CTestWnd unknown(L"SkinTestNoSuchSuper", L"NoSuchSystemClass");
    EXPECT_FALSE(unknown.Popup());
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

TEST_F(WindowWndTest, ShowModalReturnsTheCloseResultAndEnablesOnlyAnOwnerItDisabled)
{
    CTestWnd owner(L"SkinTestOwner");
    ASSERT_TRUE(owner.Popup(NULL, 0, 0, 200, 200));
    // An enabled owner is disabled inside and enabled after; one disabled by
    // somebody else stays disabled.
    for (BOOL bEnabledBefore : {TRUE, FALSE}) {
        ::EnableWindow(owner, bEnabledBefore);
        CTestWnd dialog;
        ASSERT_TRUE(dialog.Popup(owner));
        ASSERT_EQ(::GetWindow(dialog, GW_OWNER), owner.GetHWND());
        BOOL bEnabledInside = TRUE;
        EXPECT_EQ(ShowModalAndThen(dialog, NoteEnabledAndClose(owner, &bEnabledInside, 7)), 7u);
        EXPECT_FALSE(bEnabledInside);
        EXPECT_EQ(::IsWindowEnabled(owner), bEnabledBefore);
        EXPECT_EQ(dialog.GetHWND(), nullptr);
        EXPECT_EQ(dialog.m_nFinalMessages, 1);
    }

    // The desktop is never disabled.
    CTestWnd onDesktop;
    ASSERT_TRUE(onDesktop.Popup(::GetDesktopWindow()));
    BOOL bDesktopEnabledInside = FALSE;
    EXPECT_EQ(ShowModalAndThen(onDesktop, NoteEnabledAndClose(::GetDesktopWindow(), &bDesktopEnabledInside, 4)), 4u);
    EXPECT_TRUE(bDesktopEnabledInside);
    EXPECT_TRUE(::IsWindowEnabled(::GetDesktopWindow()));

    // A quit ends the loop, enables the owner and is posted again; the window outlives the loop.
    ::EnableWindow(owner, TRUE);
    CTestWnd quitting;
    ASSERT_TRUE(quitting.Popup(owner));
    EXPECT_EQ(ShowModalAndThen(quitting, [](CTestWnd&) { ::PostQuitMessage(42); }), 0u);
    EXPECT_TRUE(::IsWindow(quitting));
    EXPECT_TRUE(::IsWindowEnabled(owner));
    MSG msg = {};
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) ::DispatchMessageW(&msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 42u);
    ::DestroyWindow(quitting);
    ::DestroyWindow(owner);
}

TEST_F(WindowWndTest, TheSystemCloseCommandKeepsTheLastPostedResult)
{
    // The first, posted WM_CLOSE is refused; the system close command then
    // sends one that is accepted but never passes the modal loop.
    CTestWnd dialog;
    ASSERT_TRUE(dialog.Popup());
    int nCloses = 0;
    dialog.m_hook = [&](CTestWnd&, UINT uMsg, WPARAM, LRESULT&) { return uMsg == WM_CLOSE && nCloses++ == 0; };
    dialog.Close(5);
    auto systemClose = [](CTestWnd& wnd) { wnd.SendMessageW(WM_SYSCOMMAND, SC_CLOSE, 0); };
    EXPECT_EQ(ShowModalAndThen(dialog, systemClose), 5u);
    EXPECT_EQ(nCloses, 2);

    CTestWnd plain;
    ASSERT_TRUE(plain.Popup());
    EXPECT_EQ(ShowModalAndThen(plain, systemClose), 0u);
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
    RECT rcWork = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    CTestWnd wnd, wide, owner(L"SkinTestOwner"), owned;
    ASSERT_TRUE(wnd.Popup(NULL, 0, 0, 301, 201));
    wnd.CenterWindow();
    RECT rc = WindowRect(wnd);
    EXPECT_EQ(rc.left, (rcWork.left + rcWork.right) / 2 - 301 / 2);
    EXPECT_EQ(rc.top, (rcWork.top + rcWork.bottom) / 2 - 201 / 2);
    EXPECT_EQ(rc.right - rc.left, 301) << "the size is kept";

    ASSERT_TRUE(wide.Popup(NULL, 0, 0, rcWork.right - rcWork.left + 200, 100));
    wide.CenterWindow();
    EXPECT_EQ(WindowRect(wide).left, rcWork.left);

    // Centred on the owner, then pushed back into the work area.
    ASSERT_TRUE(owner.Popup(NULL, rcWork.left + 100, rcWork.top + 100, 400, 300));
    ASSERT_TRUE(owned.Popup(owner, 0, 0, 200, 100));
    owned.CenterWindow();
    rc = WindowRect(owned);
    EXPECT_EQ(rc.left, rcWork.left + 100 + 200 - 100);
    EXPECT_EQ(rc.top, rcWork.top + 100 + 150 - 50);
    ::SetWindowPos(owner, NULL, rcWork.right - 100, rcWork.bottom - 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    owned.CenterWindow();
    rc = WindowRect(owned);
    EXPECT_EQ(rc.right, rcWork.right);
    EXPECT_EQ(rc.bottom, rcWork.bottom);
    for (HWND hWnd : {owned.GetHWND(), owner.GetHWND(), wide.GetHWND(), wnd.GetHWND()}) ::DestroyWindow(hWnd);
}

TEST_F(WindowWndTest, ResizeClientChangesOnlyTheGivenEdges)
{
    CTestWnd wnd;
    ASSERT_NE(wnd.Create(NULL, L"resized", WS_OVERLAPPEDWINDOW, 0, 30, 40, 400, 250, NULL), nullptr);
    const RECT rcBefore = ClientRect(wnd), rcWindowBefore = WindowRect(wnd);
    wnd.ResizeClient(-1, 300);
    EXPECT_EQ(ClientRect(wnd).right, rcBefore.right);
    EXPECT_EQ(ClientRect(wnd).bottom, 300);
    EXPECT_EQ(WindowRect(wnd).left, rcWindowBefore.left) << "the window does not move";
    EXPECT_EQ(WindowRect(wnd).top, rcWindowBefore.top);
    wnd.ResizeClient(320, -1);
    EXPECT_EQ(ClientRect(wnd).right, 320);
    EXPECT_EQ(ClientRect(wnd).bottom, 300);
    ::DestroyWindow(wnd);

    // A menu bar is part of the frame.
    HMENU hMenu = ::CreateMenu();
    ::AppendMenuW(hMenu, MF_STRING, 1, L"File");
    CTestWnd withMenu;
    ASSERT_NE(withMenu.Create(NULL, L"menu", WS_OVERLAPPEDWINDOW, 0, 30, 40, 400, 250, hMenu), nullptr);
    withMenu.ResizeClient(360, 240);
    EXPECT_EQ(ClientRect(withMenu).right, 360);
    EXPECT_EQ(ClientRect(withMenu).bottom, 240);
    ::DestroyWindow(withMenu);
}

TEST_F(WindowWndTest, ASuperclassedEditKeepsItsBehaviourAndForgetsTheObjectAtTheEnd)
{
    CTestWnd parent(L"SkinTestOwner");
    ASSERT_TRUE(parent.Popup(NULL, 0, 0, 300, 200));
    CTestWnd edit(L"SkinTestEditWnd", L"Edit"), edit2(L"SkinTestEditWnd", L"Edit");
    HWND hEdit = edit.Create(parent, L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 10, 10, 200, 24, NULL);
    ASSERT_NE(hEdit, nullptr);
    EXPECT_TRUE(HasObjectProp(hEdit));
    EXPECT_EQ(::GetPropW(hEdit, L"WndX"), static_cast<HANDLE>(&edit));
    EXPECT_EQ(::GetWindowLongPtrW(hEdit, GWLP_USERDATA), 0) << "a superclass keeps the object in a property";
    // A second window of the same superclass.
    ASSERT_NE(edit2.Create(parent, L"", WS_CHILD, 0, 10, 40, 200, 24, NULL), nullptr);

    int nMessagesBefore = edit.m_nMessages;
    edit.SendMessageW(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"12345"));
    EXPECT_GT(edit.m_nMessages, nMessagesBefore);
    // The edit's own procedure still runs.
    EXPECT_EQ(edit.SendMessageW(WM_GETTEXTLENGTH, 0, 0), 5);
    edit.SendMessageW(EM_SETSEL, 1, 3);
    EXPECT_EQ(edit.SendMessageW(EM_GETSEL, 0, 0), MAKELONG(1, 3));

    ::DestroyWindow(parent);
    for (CTestWnd* pWnd : {&edit, &edit2}) {
        EXPECT_EQ(pWnd->m_nFinalMessages, 1);
        EXPECT_EQ(pWnd->GetHWND(), nullptr);
        EXPECT_FALSE(pWnd->m_bPropDuringFinal) << "the property is removed at the final message";
    }
}

TEST_F(WindowWndTest, SubclassRoutesAnExistingWindowUntilUnsubclassed)
{
    HWND hStatic = ::CreateWindowExW(0, L"STATIC", L"static", WS_POPUP, 0, 0, 100, 30, NULL, NULL, NULL, NULL);
    ASSERT_NE(hStatic, nullptr);
    LONG_PTR pfnOriginal = ::GetWindowLongPtrW(hStatic, GWLP_WNDPROC);
    CTestWnd failed, sub, until;
    EXPECT_EQ(failed.Subclass(NULL), nullptr);
    EXPECT_EQ(failed.GetHWND(), nullptr);

    EXPECT_EQ(sub.Subclass(hStatic), hStatic);
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
    ASSERT_TRUE(nLength > 0 && nLength < MAX_PATH);
    std::wstring sExe(szPath);
    sExe = sExe.substr(0, sExe.find_last_of(L"\\/") + 1) + L"modal_window_demo.exe";
    ASSERT_NE(::GetFileAttributesW(sExe.c_str()), INVALID_FILE_ATTRIBUTES) << "modal_window_demo.exe beside the test";

    std::wstring sCommandLine = L"\"" + sExe + L"\" 7 300";
    STARTUPINFOW si = {sizeof(si)};
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
