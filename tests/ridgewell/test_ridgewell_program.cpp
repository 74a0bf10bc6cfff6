// Ridgewell_QZ.exe itself, started as a user would start it, with the simulated
// winbio.dll beside it playing the scenario this test sets (the program inherits the
// environment). The test finds the window by its title, clicks by posting mouse
// messages and reads the sensor's call log; the debug lines and painted texts are
// checked by the ctest runs with Wine's debug channels on (tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include <string>

#include "SkinPoints.h"
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
    HWND Start(CProgram& program)
    {
        if (!program.Start(ProgramPath())) {
            ADD_FAILURE() << "Ridgewell_QZ.exe did not start";
            return NULL;
        }
        HWND hWnd = program.WaitForWindow(kWindowTitle);
        EXPECT_NE(nullptr, hWnd) << "no painted window";
        return hWnd;
    }

    // Waits until the sensor's log holds cCalls calls of sFunction.
    bool WaitForCall(const std::wstring& sFunction, size_t cCalls = 1, DWORD dwTimeout = 10000)
    {
        const DWORD dwStart = ::GetTickCount();
        while (Calls(sFunction).size() < cCalls) {
            if (::GetTickCount() - dwStart > dwTimeout) return false;
            ::Sleep(10);
        }
        return true;
    }

    // Clicks the close button and checks that the program ends with 0.
    void CloseByButton(CProgram& program, HWND hWnd)
    {
        SkinLibTest::PostClick(hWnd, kCloseButtonPoint);
        EXPECT_EQ(0u, program.WaitForExit());
    }
};

TEST_F(ProgramTest, ASecondInstanceEndsAtOnceWithZero)
{
    CProgram first;
    HWND hWnd = Start(first);
    ASSERT_NE(nullptr, hWnd);

    CProgram second;
    ASSERT_TRUE(second.Start(ProgramPath()));
    EXPECT_EQ(0u, second.WaitForExit(5000));
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

TEST_F(ProgramTest, EscapeAndEnterDoNothing)
{
    Play(L"unit 5 " + KeyDevice(L"A1") + L";identify S_OK");
    CProgram program;
    HWND hWnd = Start(program);
    ASSERT_NE(nullptr, hWnd);
    SkinLibTest::PostKey(hWnd, VK_ESCAPE);
    SkinLibTest::PostKey(hWnd, VK_RETURN);
    // A click behind the keys: once its enrollment has ended, the keys were long taken.
    SkinLibTest::PostClick(hWnd, kEnrollButtonPoint);
    ASSERT_TRUE(WaitForCall(L"WinBioCloseSession"));
    ::Sleep(200);
    EXPECT_TRUE(program.IsRunning()) << "Escape closed the window";
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    EXPECT_EQ(1u, Calls(L"WinBioEnumBiometricUnits").size()) << "Enter started an enrollment";
    CloseByButton(program, hWnd);
}

TEST_F(ProgramTest, EnrollThenDeleteGoThroughTheirScenarios)
{
    Play(L"unit 5 " + KeyDevice(L"A1") +
         L";identify UNKNOWN_ID delay=150;capture MORE_DATA delay=150;capture BAD_CAPTURE delay=150"
         L";capture MORE_DATA delay=150;capture S_OK delay=150;locate S_OK delay=300");
    CProgram program;
    HWND hWnd = Start(program);
    ASSERT_NE(nullptr, hWnd);

    SkinLibTest::PostClick(hWnd, kEnrollButtonPoint);
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
    // Long enough for the last texts to be painted before the next click.
    ::Sleep(400);

    SkinLibTest::PostClick(hWnd, kDeleteButtonPoint);
    ASSERT_TRUE(WaitForCall(L"WinBioCloseSession", 2));
    Lines deletion = Calls(L"WinBioDeleteTemplate");
    ASSERT_EQ(1u, deletion.size());
    EXPECT_EQ(0u, deletion[0].find(L"session=S unit=5 identity.type=3 identity.sidsize="));
    EXPECT_NE(std::wstring::npos, deletion[0].find(L" subfactor=255 -> 0x00000000"));
    ::Sleep(400);
    CloseByButton(program, hWnd);
}

} // namespace
