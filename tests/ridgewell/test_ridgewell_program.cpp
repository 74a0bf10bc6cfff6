// Ridgewell_QZ.exe itself, started as a user would start it, with the simulated
// winbio.dll beside it playing the scenario this test sets (the program inherits the
// environment). The test finds the window by its title, clicks by posting mouse
// messages and reads the sensor's call log; the debug lines and painted texts are
// checked by the ctest runs with Wine's debug channels on (tests/CMakeLists.txt).
// A click that follows a worker waits until that worker has ended and the window has
// painted what it said last; a text that must be seen while a worker waits for a
// touch is painted while the sensor holds the call.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "DamagedSkinCopy.h"
#include "SkinPoints.h"
#include "UpdateChannel.h"
#include "WindowDriver.h"
#include "WorkerHarness.h"

using namespace RidgewellTest;
using SkinLibTest::CProgram;

namespace {

std::wstring ProgramPath()
{
    return SkinLibTest::PathBesideThisProgram(RIDGEWELL_PROGRAM_FROM_TESTS);
}

class ProgramTest : public CScenarioTest
{
protected:
    HWND Start(CProgram& program, const std::wstring& sExe = ProgramPath())
    {
        if (!program.Start(sExe)) {
            ADD_FAILURE() << "Ridgewell_QZ.exe did not start";
            return NULL;
        }
        HWND hWnd = program.WaitForWindow(kWindowTitle);
        EXPECT_NE(nullptr, hWnd) << "no painted window";
        m_aIdleThreads = SkinLibTest::ThreadsOf(program.Id());
        return hWnd;
    }

    // Waits until the sensor's log holds cCalls calls of sFunction.
    bool WaitForCall(const std::wstring& sFunction, size_t cCalls = 1)
    {
        return SkinLibTest::WaitUntil([&] { return Calls(sFunction).size() >= cCalls; });
    }

    // Has the window apply the updates that wait for it and paint them now: sent
    // messages come before anything in its queue.
    static void ShowUpdates(HWND hWnd)
    {
        ::SendMessageW(hWnd, WM_WORKER_UPDATES, 0, 0);
        ::UpdateWindow(hWnd);
    }

    // Waits until every worker has ended, then shows what they said last.
    void ShowWhatTheWorkersSaidLast(const CProgram& program, HWND hWnd)
    {
        EXPECT_TRUE(SkinLibTest::WaitForOtherThreadsToEnd(program.Id(), m_aIdleThreads)) << "a worker did not end";
        ShowUpdates(hWnd);
    }

    // Clicks the close button and checks that the program ends with 0.
    void CloseByButton(CProgram& program, HWND hWnd)
    {
        SkinLibTest::PostClick(hWnd, kCloseButtonPoint);
        EXPECT_EQ(0u, program.WaitForExit());
    }

    std::set<DWORD> m_aIdleThreads;  // the program's threads before the first click
};

TEST_F(ProgramTest, ASecondInstanceEndsAtOnceWithZero)
{
    CProgram first;
    HWND hWnd = Start(first);
    ASSERT_NE(nullptr, hWnd);

    CProgram second;
    ASSERT_TRUE(second.Start(ProgramPath()));
    EXPECT_EQ(0u, second.WaitForExit());
    EXPECT_EQ(nullptr, SkinLibTest::FindProgramWindow(second.Id(), NULL));
    EXPECT_EQ(hWnd, SkinLibTest::FindProgramWindow(first.Id(), kWindowTitle)) << "the first one stays";
    CloseByButton(first, hWnd);
}

TEST_F(ProgramTest, CloseButtonEndsTheProgramWithZero)
{
    CProgram program;
    HWND hWnd = Start(program);
    ASSERT_NE(nullptr, hWnd);
    CloseByButton(program, hWnd);
    EXPECT_TRUE(CallLog().empty());
}

// The keys leave the window up for the click behind them (what else they do not do
// is the window tests' part).
TEST_F(ProgramTest, EscapeAndEnterLeaveTheWindowToTheClickBehindThem)
{
    Play(L"unit 5 " + KeyDevice(L"A1") + L";identify S_OK");
    CProgram program;
    HWND hWnd = Start(program);
    ASSERT_NE(nullptr, hWnd);
    SkinLibTest::PostKey(hWnd, VK_ESCAPE);
    SkinLibTest::PostKey(hWnd, VK_RETURN);
    SkinLibTest::PostClick(hWnd, kEnrollButtonPoint);
    ASSERT_TRUE(WaitForCall(L"WinBioCloseSession"));
    ShowWhatTheWorkersSaidLast(program, hWnd);
    CloseByButton(program, hWnd);
}

TEST_F(ProgramTest, EnrollThenDeleteGoThroughTheirScenarios)
{
    CHeldCall secondCapture, locate;
    Play(L"unit 5 " + KeyDevice(L"A1") + L";identify UNKNOWN_ID;capture MORE_DATA;capture BAD_CAPTURE " +
         secondCapture.Hold() + L";capture MORE_DATA;capture S_OK;locate S_OK " + locate.Hold());
    CProgram program;
    HWND hWnd = Start(program);
    ASSERT_NE(nullptr, hWnd);

    SkinLibTest::PostClick(hWnd, kEnrollButtonPoint);
    // The second sample's text is on screen while its capture waits for the touch.
    ASSERT_TRUE(secondCapture.WaitHeld());
    ShowUpdates(hWnd);
    secondCapture.Release();
    ASSERT_TRUE(WaitForCall(L"WinBioCloseSession"));
    EXPECT_EQ((Lines{L"WinBioEnumBiometricUnits factor=8 -> 0x00000000 count=1",
                     L"WinBioFree address=enumerated outstanding=0",
                     L"WinBioOpenSession factor=8 pool=1 flags=0 units=null count=0 database=default -> 0x00000000 "
                     L"session=1",
                     L"WinBioLockUnit session=1 unit=5 -> 0x00000000",
                     L"WinBioIdentify session=1 unit=5 -> 0x80098003 unit=5",
                     L"WinBioUnlockUnit session=1 unit=5 -> 0x00000000",
                     L"WinBioEnrollBegin session=1 subfactor=7 unit=5 -> 0x00000000",
                     L"WinBioEnrollCapture session=1 -> 0x00090001",
                     L"WinBioEnrollCapture session=1 -> 0x80098008",
                     L"WinBioEnrollCapture session=1 -> 0x00090001",
                     L"WinBioEnrollCapture session=1 -> 0x00000000",
                     L"WinBioEnrollCommit session=1 -> 0x00000000",
                     L"WinBioCloseSession session=1 -> 0x00000000 open=0"}),
              CallLog());
    // The enrollment's last text is on screen, and Delete enabled again, before the click.
    ShowWhatTheWorkersSaidLast(program, hWnd);

    SkinLibTest::PostClick(hWnd, kDeleteButtonPoint);
    ASSERT_TRUE(locate.WaitHeld());
    ShowUpdates(hWnd);
    locate.Release();
    ASSERT_TRUE(WaitForCall(L"WinBioCloseSession", 2));
    Lines deletion = Calls(L"WinBioDeleteTemplate");
    ASSERT_EQ(1u, deletion.size());
    EXPECT_EQ(0u, deletion[0].find(L"session=S unit=5 identity.type=3 identity.sidsize="));
    EXPECT_NE(std::wstring::npos, deletion[0].find(L" subfactor=255 -> 0x00000000"));
    ShowWhatTheWorkersSaidLast(program, hWnd);
    CloseByButton(program, hWnd);
}

// Nothing waits for a worker that waits for a touch: the program has ended before
// the capture ever returned.
TEST_F(ProgramTest, ClosingWhileTheEnrollmentWaitsForATouchEndsWithZeroAtOnce)
{
    CHeldCall capture;
    Play(L"unit 5 " + KeyDevice(L"A1") + L";identify UNKNOWN_ID;capture MORE_DATA " + capture.Hold());
    CProgram program;
    HWND hWnd = Start(program);
    ASSERT_NE(nullptr, hWnd);
    SkinLibTest::PostClick(hWnd, kEnrollButtonPoint);
    ASSERT_TRUE(capture.WaitHeld());
    CloseByButton(program, hWnd);
    EXPECT_TRUE(Calls(L"WinBioEnrollCapture").empty());
}

// An empty archive leaves the window up without controls: clicks where the buttons
// would be start nothing, and the system's close ends the program with 0.
TEST_F(ProgramTest, AnEmptySkinArchiveLeavesAnEmptyWindowThatClosesWithZero)
{
    SkinLibTest::CDamagedSkinCopy copy(ProgramPath(), SkinLibTest::ARCHIVE_EMPTY);
    ASSERT_FALSE(copy.Path().empty());
    Play(L"unit 5 " + KeyDevice(L"A1"));
    CProgram program;
    HWND hWnd = Start(program, copy.Path());
    ASSERT_NE(nullptr, hWnd);
    SkinLibTest::PostClick(hWnd, kEnrollButtonPoint);
    SkinLibTest::PostClick(hWnd, kDeleteButtonPoint);
    SkinLibTest::PostClick(hWnd, kCloseButtonPoint);
    ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, program.WaitForExit());
    EXPECT_TRUE(CallLog().empty());
}

// An archive that cannot be read yields no window: the fatal message, then exit code 1.
TEST_F(ProgramTest, ADamagedSkinArchiveEndsWithTheFatalMessageAndOne)
{
    for (SkinLibTest::ArchiveDamage damage : {SkinLibTest::ARCHIVE_TRUNCATED, SkinLibTest::ARCHIVE_BAD_DIRECTORY}) {
        SCOPED_TRACE(damage == SkinLibTest::ARCHIVE_TRUNCATED ? "truncated" : "bad directory");
        SkinLibTest::CDamagedSkinCopy copy(ProgramPath(), damage);
        ASSERT_FALSE(copy.Path().empty());
        CProgram program;
        ASSERT_TRUE(program.Start(copy.Path()));
        EXPECT_EQ(L"加载资源文件失败", SkinLibTest::AnswerFatalSkinBox(program.Id()));
        EXPECT_EQ(1u, program.WaitForExit());
    }
}

} // namespace
