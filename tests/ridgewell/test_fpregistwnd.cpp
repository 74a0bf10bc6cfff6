// The fingerprint manager's window in this process, with the shipped skin embedded as
// the program embeds it and the simulated sensor beside: clicks posted to the window
// run the workers, and what the window's own controls show is checked after every
// update the UI thread applies.
//   - the window: its controls, where the buttons lie, the skin's first texts;
//   - enrollment and deletion scenarios, through the status label and the buttons;
//   - clicks: two fast Delete clicks, Enroll and Delete together, the close button;
//   - keys, the four private messages and the blink timer;
//   - a worker that outlives the window.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "FPRegistWnd.h"
#include "SkinPoints.h"
#include "SkinSettings.h"
#include "WinBio.h"
#include "WindowDriver.h"
#include "WorkerHarness.h"

using namespace RidgewellTest;
using namespace SkinLib;

namespace {

const DWORD kWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// What the window's controls hold right after the UI thread applied one update.
struct Seen
{
    bool bText;  // the update was a text
    std::wstring sStatus;
    bool bEnroll;
    bool bDelete;
};

// The program's window, watched: every applied update is followed by a look at the
// controls it changed.
class CWatchedWnd : public CFPRegistWnd
{
public:
    CWatchedWnd() : CFPRegistWnd(L"registFingerprint.xml") {}

    CControlUI* Control(const wchar_t* pstrName) { return m_PaintManager.FindControl(pstrName); }
    CLabelUI* Status() { return static_cast<CLabelUI*>(Control(L"txt_show")->GetInterface(L"Label")); }
    CControlUI* ControlAt(POINT pt) { return m_PaintManager.FindControl(pt); }

    void ApplyText(LPCWSTR pstrControl, LPCWSTR pstrText) override
    {
        CFPRegistWnd::ApplyText(pstrControl, pstrText);
        Look(true);
    }
    void ApplyImage(LPCWSTR pstrControl, LPCWSTR pstrImage) override
    {
        CFPRegistWnd::ApplyImage(pstrControl, pstrImage);
        aPictures.push_back(Control(L"image_show")->GetBkImage().GetData());
    }
    void ApplyEnabled(LPCWSTR pstrControl, bool bEnabled) override
    {
        CFPRegistWnd::ApplyEnabled(pstrControl, bEnabled);
        Look(false);
        if (wcscmp(pstrControl, L"btn_Delete") == 0 && bEnabled) ++cDeleteEnabled;
    }
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override
    {
        if (uMsg == WM_TIMER && wParam == BLINK_TIMER_ID) ++cBlinkTicks;
        return CFPRegistWnd::MessageHandler(uMsg, wParam, lParam, bHandled);
    }

    // The status label's text after each text update, in order.
    Lines Statuses() const
    {
        Lines texts;
        for (const Seen& seen : aSeen)
            if (seen.bText) texts.push_back(seen.sStatus);
        return texts;
    }

    std::vector<Seen> aSeen;
    Lines aPictures;
    int cDeleteEnabled = 0;
    int cBlinkTicks = 0;

private:
    void Look(bool bText)
    {
        aSeen.push_back({bText, Status()->GetText().GetData(), Control(L"btn_Enroll")->IsEnabled(),
                         Control(L"btn_Delete")->IsEnabled()});
    }
};

class WindowTest : public CScenarioTest
{
protected:
    void SetUp() override
    {
        CScenarioTest::SetUp();
        CPaintManagerUI::SetInstance(::GetModuleHandleW(NULL));
        ASSERT_NE(nullptr, Open());
        m_aThreads = SkinLibTest::ThreadsOf(::GetCurrentProcessId());
    }
    void TearDown() override
    {
        if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
        Pump();
        CScenarioTest::TearDown();
    }

    HWND Open()
    {
        m_hWnd = window.Create(NULL, kWindowTitle, kWindowStyle, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, NULL);
        if (m_hWnd == NULL) return NULL;
        window.CenterWindow();
        ::UpdateWindow(m_hWnd);  // lays the controls out
        return m_hWnd;
    }

    // Runs the window's messages as its modal loop does, until done().
    bool PumpUntil(const std::function<bool()>& done)
    {
        const ULONGLONG ullDeadline = ::GetTickCount64() + SkinLibTest::kWaitDeadlineMs;
        while (!done()) {
            if (::GetTickCount64() >= ullDeadline) return false;
            if (!PumpOne()) ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
        }
        return true;
    }
    void Pump()
    {
        while (PumpOne()) {
        }
    }
    // Runs the window until every worker started since the test began has ended, and
    // then applies what they said last.
    void PumpUntilTheWorkersEnd()
    {
        Pump();
        EXPECT_TRUE(PumpUntil([&] {
            for (DWORD id : SkinLibTest::ThreadsOf(::GetCurrentProcessId()))
                if (m_aThreads.count(id) == 0) return false;
            return true;
        })) << "a worker did not end";
        Pump();
    }
    bool PumpOne()
    {
        MSG msg;
        if (!::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) return false;
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        return true;
    }

    // Clicks a button and runs the window until its worker has enabled "btn_Delete"
    // again, which every worker does last.
    void RunWorker(POINT ptButton)
    {
        const int cBefore = window.cDeleteEnabled;
        PostClick(ptButton);
        EXPECT_TRUE(PumpUntil([&] { return window.cDeleteEnabled > cBefore; })) << "the worker did not end";
        Pump();
    }
    void PostClick(POINT pt) { SkinLibTest::PostClick(m_hWnd, pt); }

    // Runs the modal loop until the window closes; its result.
    UINT RunModal() { return window.ShowModal(); }

    SkinLibTest::CSkinSettingsGuard skinSettings;
    CWatchedWnd window;
    HWND m_hWnd = NULL;
    std::set<DWORD> m_aThreads;  // this process's threads before the first click
};

const wchar_t kFirstStatus[] = L"Touch the fingerprint sensor";

// --- The window ---

TEST_F(WindowTest, ButtonsLieWhereTheProgramTestsClick)
{
    struct
    {
        POINT pt;
        const wchar_t* pstrName;
    } const kButtons[] = {{kCloseButtonPoint, L"closebtn"},
                          {kEnrollButtonPoint, L"btn_Enroll"},
                          {kDeleteButtonPoint, L"btn_Delete"}};
    for (const auto& button : kButtons) {
        CControlUI* pControl = window.ControlAt(button.pt);
        ASSERT_NE(nullptr, pControl) << button.pstrName;
        EXPECT_STREQ(button.pstrName, pControl->GetName().GetData());
    }
    RECT rc = {};
    ::GetWindowRect(m_hWnd, &rc);
    EXPECT_EQ(360, rc.right - rc.left);
    EXPECT_EQ(410, rc.bottom - rc.top);
}

TEST_F(WindowTest, StartsWithTheSkinsTextsAndBothButtonsEnabled)
{
    EXPECT_STREQ(kFirstStatus, window.Status()->GetText().GetData());
    EXPECT_STREQ(L"Rec_Finger_Add.png", window.Control(L"image_show")->GetBkImage().GetData());
    EXPECT_STREQ(L"", window.Control(L"text_2")->GetText().GetData());
    EXPECT_EQ(nullptr, window.Control(L"image_blink"));
    EXPECT_TRUE(window.Control(L"btn_Enroll")->IsEnabled());
    EXPECT_TRUE(window.Control(L"btn_Delete")->IsEnabled());
}

// --- Enrollment ---

TEST_F(WindowTest, EnrollmentShowsEveryStepAndCountsFourSamples)
{
    Play(L"unit 5 " + KeyDevice(L"A1") +
         L";identify UNKNOWN_ID;capture MORE_DATA;capture BAD_CAPTURE;capture MORE_DATA;capture S_OK");
    RunWorker(kEnrollButtonPoint);
    EXPECT_EQ((Lines{L"please press the sensor with your fingerprint",
                     L"\n this fingerprint has not been enrolled, continue",
                     L"please press the sensor with your fingerprint",
                     L"Sample 1 ......captured from unit 5.",
                     L"Swipe the sensor to capture the first sample",
                     L"More data required",
                     L"Sample 2 ......captured from unit 5.",
                     L"................Error: Bad capture",
                     L"Sample 3 ......captured from unit 5.",
                     L"More data required",
                     L"Sample 4 ......captured from unit 5.",
                     L"Template completed.",
                     L"Committing enrollment...",
                     L"OK:  finger enrollment success !!!..."}),
              window.Statuses());
    EXPECT_EQ(Lines{L"Rec_Finger_1.png"}, window.aPictures);
    EXPECT_EQ(4u, Calls(L"WinBioEnrollCapture").size());
    EXPECT_EQ(Lines{L"session=S -> 0x00000000"}, Calls(L"WinBioEnrollCommit"));
}

TEST_F(WindowTest, EnrollKeepsBothButtonsOffUntilTheWorkerEnds)
{
    Play(L"unit 5 " + KeyDevice(L"A1") + L";identify UNKNOWN_ID;capture MORE_DATA");
    RunWorker(kEnrollButtonPoint);
    ASSERT_GE(window.aSeen.size(), 3u);
    for (size_t i = 0; i + 2 < window.aSeen.size(); ++i) {
        EXPECT_FALSE(window.aSeen[i].bEnroll) << "update " << i;
        EXPECT_FALSE(window.aSeen[i].bDelete) << "update " << i;
    }
    EXPECT_TRUE(window.Control(L"btn_Enroll")->IsEnabled());
    EXPECT_TRUE(window.Control(L"btn_Delete")->IsEnabled());
}

TEST_F(WindowTest, NoUnitOfTheKeyIsReported)
{
    Play(L"unit 2 USB\\VID_045E&PID_00BB\\1");
    RunWorker(kEnrollButtonPoint);
    EXPECT_EQ(Lines{L"\n VORTAN WBF device not find. "}, window.Statuses());
    EXPECT_TRUE(Calls(L"WinBioOpenSession").empty());
    EXPECT_TRUE(window.Control(L"btn_Enroll")->IsEnabled());
}

TEST_F(WindowTest, TheLastOfTwoMatchingUnitsIsEnrolledOn)
{
    Play(L"unit 5 " + KeyDevice(L"A1") + L";unit 9 " + KeyDevice(L"B2") + L";identify UNKNOWN_ID");
    RunWorker(kEnrollButtonPoint);
    EXPECT_EQ(Lines{L"session=S subfactor=7 unit=9 -> 0x00000000"}, Calls(L"WinBioEnrollBegin"));
    EXPECT_EQ(L"OK:  finger enrollment success !!!...", window.Statuses().back());
}

TEST_F(WindowTest, AnEnrolledFingerIsNotEnrolledAgain)
{
    Play(L"unit 5 " + KeyDevice(L"A1") + L";identify S_OK");
    RunWorker(kEnrollButtonPoint);
    EXPECT_EQ((Lines{L"please press the sensor with your fingerprint",
                     L"\n this fingerprint has been enrolled, please chang one"}),
              window.Statuses());
    EXPECT_TRUE(Calls(L"WinBioEnrollBegin").empty());
    EXPECT_TRUE(window.Control(L"btn_Enroll")->IsEnabled());
    EXPECT_TRUE(window.Control(L"btn_Delete")->IsEnabled());
}

// A scenario after the unit's line and the status text it ends with.
struct ScenarioCase
{
    const char* pstrName;
    const wchar_t* pstrScript;
    const wchar_t* pstrStatus;
};

std::string CaseName(const ::testing::TestParamInfo<ScenarioCase>& info)
{
    return info.param.pstrName;
}

class WindowFailureTest : public WindowTest, public ::testing::WithParamInterface<ScenarioCase>
{
};

TEST_P(WindowFailureTest, ShowsTheFailureAndEnablesTheButtons)
{
    Play(L"unit 5 " + KeyDevice(L"A1") + L";identify UNKNOWN_ID;" + GetParam().pstrScript);
    RunWorker(kEnrollButtonPoint);
    EXPECT_EQ(GetParam().pstrStatus, window.Statuses().back());
    EXPECT_TRUE(window.Control(L"btn_Enroll")->IsEnabled());
    EXPECT_TRUE(window.Control(L"btn_Delete")->IsEnabled());
    size_t cOpened = 0;
    for (const std::wstring& sOpen : Calls(L"WinBioOpenSession"))
        cOpened += sOpen.find(L"-> 0x00000000") != std::wstring::npos;
    EXPECT_EQ(cOpened, Calls(L"WinBioCloseSession").size()) << "every session opened is closed";
}

INSTANTIATE_TEST_SUITE_P(
    EveryWinBioFailure, WindowFailureTest,
    ::testing::Values(ScenarioCase{"OpenSession", L"open E_FAIL", L"WinBioOpenSession failed. "},
                      ScenarioCase{"EnrollBegin", L"begin 0x80098004", L"WinBioEnrollBegin failed."},
                      ScenarioCase{"EnrollCapture", L"capture MORE_DATA;capture E_FAIL", L"WinBioEnrollCapture failed."},
                      ScenarioCase{"EnrollCommit", L"commit 0x80098036", L"WinBioEnrollCommit failed."}),
    CaseName);

// --- Deletion ---

class WindowDeleteTest : public WindowTest, public ::testing::WithParamInterface<ScenarioCase>
{
};

TEST_P(WindowDeleteTest, AsksForATouchAndShowsTheOutcome)
{
    Play(L"unit 5 " + KeyDevice(L"A1") + L";" + GetParam().pstrScript);
    RunWorker(kDeleteButtonPoint);
    EXPECT_EQ((Lines{L"please touch the sensor", GetParam().pstrStatus}), window.Statuses());
    for (const Seen& seen : window.aSeen) EXPECT_TRUE(seen.bEnroll) << "Enroll stays available";
    EXPECT_TRUE(window.Control(L"btn_Delete")->IsEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, WindowDeleteTest,
    ::testing::Values(ScenarioCase{"Deleted", L"locate S_OK", L"Delete OK."},
                      ScenarioCase{"DeleteFails", L"delete 0x80098003", L"Delete Failed."},
                      ScenarioCase{"LocateFails", L"locate E_FAIL", L"Delete Failed."},
                      ScenarioCase{"SuccessCodeOtherThanOk", L"delete S_FALSE", L"Delete Failed."}),
    CaseName);

TEST_F(WindowTest, DeletionNamesTheUserBySid)
{
    Play(L"unit 5 " + KeyDevice(L"A1"));
    RunWorker(kDeleteButtonPoint);
    // The token's user SID, as the deletion must hand it over.
    HANDLE hToken = NULL;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &hToken));
    BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD cb = 0;
    ASSERT_TRUE(::GetTokenInformation(hToken, TokenUser, buffer, sizeof(buffer), &cb));
    ::CloseHandle(hToken);
    const DWORD cbSid = ::GetLengthSid(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
    EXPECT_EQ(Lines{L"session=S unit=5 identity.type=3 identity.sidsize=" + std::to_wstring(cbSid) +
                    L" subfactor=255 -> 0x00000000"},
              Calls(L"WinBioDeleteTemplate"));
}

// --- Clicks ---

TEST_F(WindowTest, TwoFastDeleteClicksStartOneDeletion)
{
    Play(L"unit 5 " + KeyDevice(L"A1"));
    PostClick(kDeleteButtonPoint);
    PostClick(kDeleteButtonPoint);
    PumpUntilTheWorkersEnd();
    EXPECT_EQ(1u, Calls(L"WinBioLocateSensor").size());
    EXPECT_EQ(1u, Calls(L"WinBioDeleteTemplate").size());
}

TEST_F(WindowTest, EnrollCanStartWhileADeletionWaitsForATouch)
{
    CHeldCall locate;
    Play(L"unit 5 " + KeyDevice(L"A1") + L";locate S_OK " + locate.Hold() + L";identify UNKNOWN_ID");
    PostClick(kDeleteButtonPoint);
    ASSERT_TRUE(PumpUntil([&] { return locate.IsHeld(); }));
    Pump();
    EXPECT_TRUE(window.Control(L"btn_Enroll")->IsEnabled());
    PostClick(kEnrollButtonPoint);
    ASSERT_TRUE(PumpUntil([&] { return !Calls(L"WinBioEnrollCommit").empty(); }));
    EXPECT_TRUE(Calls(L"WinBioLocateSensor").empty()) << "the deletion still waits for its touch";
    locate.Release();
    PumpUntilTheWorkersEnd();
    EXPECT_EQ(1u, Calls(L"WinBioEnrollCommit").size());
    EXPECT_EQ(1u, Calls(L"WinBioDeleteTemplate").size());
    EXPECT_EQ(2, window.cDeleteEnabled);
}

TEST_F(WindowTest, CloseButtonShowsCancelThenClosesWithOne)
{
    PostClick(kCloseButtonPoint);
    // The label and the button are read as the close the button asked for waits in the queue.
    std::wstring sStatus;
    bool bCloseEnabled = true;
    ASSERT_TRUE(PumpUntil([&] {
        MSG msg;
        if (!::PeekMessageW(&msg, m_hWnd, WM_CLOSE, WM_CLOSE, PM_NOREMOVE)) return false;
        sStatus = window.Status()->GetText().GetData();
        bCloseEnabled = window.Control(L"closebtn")->IsEnabled();
        return true;
    }));
    EXPECT_EQ(L"Cancel...", sStatus);
    EXPECT_FALSE(bCloseEnabled);
    EXPECT_EQ(1u, RunModal());
    EXPECT_FALSE(::IsWindow(m_hWnd));
}

// --- Keys, private messages, the blink timer ---

TEST_F(WindowTest, EscapeAndEnterDoNothing)
{
    for (UINT vk : {VK_ESCAPE, VK_RETURN}) {
        ::PostMessageW(m_hWnd, WM_KEYDOWN, vk, 1);
        ::PostMessageW(m_hWnd, WM_KEYUP, vk, 0xC0000001);
    }
    ::PostMessageW(m_hWnd, WM_ENROLL_CLOSE, 0, 0);
    EXPECT_EQ(2u, RunModal()) << "Escape would have closed with 1";
    EXPECT_TRUE(window.aSeen.empty());
    EXPECT_TRUE(CallLog().empty()) << "Enter started nothing";
}

TEST_F(WindowTest, StepMessagesShowTheTouchPromptByStep)
{
    struct
    {
        LPARAM step;
        const wchar_t* pstrStatus;
    } const kSteps[] = {{3, L"[1/4] Touch The Sensor"},
                        {6, L"[1/4] Touch The Sensor"},
                        {7, L"Keep going to capture the edges of you fingerprint"}};
    for (const auto& step : kSteps) {
        ::SendMessageW(m_hWnd, WM_ENROLL_STEP, 0, step.step);
        EXPECT_STREQ(step.pstrStatus, window.Status()->GetText().GetData()) << step.step;
    }
    ::SendMessageW(m_hWnd, WM_ENROLL_RESULT, 0, ENROLL_STATUS_OK);
    EXPECT_STREQ(L"png_reg_fingerprint_7.png", window.Control(L"image_show")->GetBkImage().GetData());
    EXPECT_STREQ(L"Keep going to capture the edges of you fingerprint", window.Status()->GetText().GetData());
}

TEST_F(WindowTest, AFailedResultShowsTheErrorInRedForGood)
{
    ::SendMessageW(m_hWnd, WM_ENROLL_STEP, 0, 2);
    ::SendMessageW(m_hWnd, WM_ENROLL_RESULT, 0, 0x8000);
    EXPECT_STREQ(L"An error occur,try again!", window.Status()->GetText().GetData());
    EXPECT_EQ(0xFFCD0000u, window.Status()->GetTextColor());
    EXPECT_STREQ(L"Rec_Finger_Add.png", window.Control(L"image_show")->GetBkImage().GetData());
    ::SendMessageW(m_hWnd, WM_ENROLL_DONE, 0, 0);
    EXPECT_STREQ(L"All Set!", window.Status()->GetText().GetData());
    EXPECT_EQ(0xFFCD0000u, window.Status()->GetTextColor());
    EXPECT_STREQ(L"Pass.png", window.Control(L"image_show")->GetBkImage().GetData());
}

TEST_F(WindowTest, BlinkTimerTicksFromAStepUntilTheResult)
{
    ::SendMessageW(m_hWnd, WM_ENROLL_STEP, 0, 1);
    ASSERT_TRUE(PumpUntil([&] { return window.cBlinkTicks >= 3; }));
    ::SendMessageW(m_hWnd, WM_ENROLL_RESULT, 0, ENROLL_STATUS_OK);
    EXPECT_FALSE(::KillTimer(m_hWnd, BLINK_TIMER_ID)) << "the result stops the timer";
    // The shipped skin has no blink picture: nothing else changed.
    EXPECT_STREQ(L"png_reg_fingerprint_1.png", window.Control(L"image_show")->GetBkImage().GetData());
    EXPECT_STREQ(L"[1/4] Touch The Sensor", window.Status()->GetText().GetData());
}

TEST_F(WindowTest, CloseMessageClosesWithTwo)
{
    ::PostMessageW(m_hWnd, WM_ENROLL_CLOSE, 0, 0);
    EXPECT_EQ(2u, RunModal());
}

// --- A worker that outlives the window ---

// The window goes while its worker waits for a touch: the enrollment in a capture,
// the deletion in locating the sensor.
class WindowGoneTest : public WindowTest, public ::testing::WithParamInterface<POINT>
{
};

TEST_P(WindowGoneTest, UpdatesAfterTheWindowIsGoneAreDropped)
{
    CHeldCall touch;
    Play(L"unit 5 " + KeyDevice(L"A1") + L";identify UNKNOWN_ID;capture S_OK " + touch.Hold() + L";locate S_OK " +
         touch.Hold());
    PostClick(GetParam());
    ASSERT_TRUE(PumpUntil([&] { return touch.IsHeld(); }));
    Pump();
    const size_t cSeen = window.aSeen.size();
    ASSERT_GT(cSeen, 0u);
    ::DestroyWindow(m_hWnd);
    touch.Release();
    PumpUntilTheWorkersEnd();
    EXPECT_EQ(1u, Calls(L"WinBioCloseSession").size());
    EXPECT_EQ(cSeen, window.aSeen.size());
    EXPECT_EQ(0, window.cDeleteEnabled);
}

INSTANTIATE_TEST_SUITE_P(EachWorker, WindowGoneTest, ::testing::Values(kEnrollButtonPoint, kDeleteButtonPoint),
                         [](const ::testing::TestParamInfo<POINT>& info) {
                             return info.param.x == kEnrollButtonPoint.x ? "Enroll" : "Delete";
                         });

} // namespace
