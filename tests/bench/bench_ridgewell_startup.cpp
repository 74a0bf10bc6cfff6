// From process start to the first painted window: Ridgewell_QZ.exe against a minimal
// native Win32 dialog built the same way (native_dialog.exe), started in turns in one
// run so that both meet the same machine. A window counts as painted once it is
// visible and neither it nor a child has an update region left. Goal: the program
// within 1.2 times the dialog.
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "WindowDriver.h"

using SkinLibBench::Now;

namespace {

const int kWarmUps = 2;
const int kRounds = 21;

// Milliseconds from CreateProcess to the painted window; negative on failure. The
// program is closed and has ended when this returns.
double TimeToPaintedWindow(const std::wstring& sExe)
{
    SkinLibTest::CProgram program;
    const double dStart = Now();
    if (!program.Start(sExe)) return -1;
    HWND hWnd = program.WaitForWindow(NULL, 20000);
    const double dPainted = Now();
    if (hWnd == NULL) return -1;
    ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
    if (program.WaitForExit(10000) == STILL_ACTIVE) return -1;
    return (dPainted - dStart) / 1000.0;
}

struct Figures
{
    std::vector<double> aMs;
    double Median()
    {
        std::sort(aMs.begin(), aMs.end());
        return aMs[aMs.size() / 2];
    }
    double Best() { return *std::min_element(aMs.begin(), aMs.end()); }
};

} // namespace

int main()
{
    const std::wstring sProgram = SkinLibTest::PathBesideThisProgram(RIDGEWELL_PROGRAM_FROM_TESTS);
    const std::wstring sBaseline = SkinLibTest::PathBesideThisProgram(L"native_dialog.exe");
    Figures program, baseline;
    for (int round = 0; round < kWarmUps + kRounds; ++round) {
        const double dBaseline = TimeToPaintedWindow(sBaseline);
        const double dProgram = TimeToPaintedWindow(sProgram);
        if (dBaseline < 0 || dProgram < 0) {
            printf("round %d: a program did not start, paint or end\n", round);
            return 1;
        }
        if (round < kWarmUps) continue;
        baseline.aMs.push_back(dBaseline);
        program.aMs.push_back(dProgram);
    }
    const double dProgram = program.Median(), dBaseline = baseline.Median();
    printf("start to first painted window, median of %d starts each (best):\n", kRounds);
    printf("  native Win32 dialog  %7.1f ms (%.1f)\n", dBaseline, baseline.Best());
    printf("  Ridgewell_QZ.exe     %7.1f ms (%.1f)\n", dProgram, program.Best());
    const double dRatio = dProgram / dBaseline;
    printf("  ratio %.2f (goal <= 1.2)\n", dRatio);
    return dRatio <= 1.2 ? 0 : 1;
}
