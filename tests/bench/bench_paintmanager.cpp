// Layout, painting and hit-testing cost of the paint manager on flat and
// nested trees of growing size. Layout and painting must grow linearly: the
// cost per control from 1,000 to 10,000 controls should stay within 1.5x.
#include <windows.h>

#include <math.h>
#include <stdio.h>

#include <vector>

#include "../core/TestControls.h"
#include "BenchClock.h"
#include "BenchTrees.h"

using namespace SkinLib;
using namespace SkinLibTest;
using SkinLibBench::HeapBytesInUse;
using SkinLibBench::Now;

namespace {

const int kClientWidth = SkinLibBench::kTreeWidth;
const int kClientHeight = SkinLibBench::kTreeHeight;
const int kFindCalls = 10000;

struct Figures
{
    int nControls;
    double dLayout;   // microseconds per control
    double dRepaint;  // microseconds per control
    double dDirty;    // microseconds per control
    double dFind;     // microseconds per control, per call
    double dBytes;    // bytes per control, tree and manager state
};

Figures Measure(CBoxUI* (*pfnBuild)(int, std::vector<CControlUI*>*), int nControls)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, kClientWidth, kClientHeight);
    RepaintNow(wnd);
    PumpMessages();
    const double dBytesBefore = HeapBytesInUse();
    CBoxUI* pRoot = pfnBuild(nControls, NULL);
    pm.AttachDialog(pRoot);
    RepaintNow(wnd);
    PumpMessages();
    const double dBytesGrown = HeapBytesInUse() - dBytesBefore;
    int nCounted = 0;
    pRoot->FindControl(CPaintManagerUI::__FindControlFromCount, &nCounted, FINDFLAG_ANY);

    Figures f = {};
    f.nControls = nCounted;
    f.dBytes = dBytesGrown / nCounted;
    const int nRounds = nCounted >= 10000 ? 5 : (nCounted >= 1000 ? 20 : 200);
    const RECT rcClient = {0, 0, kClientWidth, kClientHeight};

    double dStart = Now();
    for (int i = 0; i < nRounds; i++) {
        // As the window's layout pass runs it: the moved areas reach the window as one.
        {
            CInvalidateBatch batch(&pm);
            pRoot->SetPos(rcClient);
        }
        ::ValidateRect(wnd, NULL);
    }
    f.dLayout = (Now() - dStart) / nRounds / nCounted;

    dStart = Now();
    for (int i = 0; i < nRounds; i++) RepaintNow(wnd);
    f.dRepaint = (Now() - dStart) / nRounds / nCounted;

    const int nDirtyRounds = 200;
    dStart = Now();
    for (int i = 0; i < nDirtyRounds; i++) {
        RECT rcDirty = {(i * 37) % (kClientWidth - 20), (i * 53) % (kClientHeight - 20), 0, 0};
        rcDirty.right = rcDirty.left + 20;
        rcDirty.bottom = rcDirty.top + 20;
        ::InvalidateRect(wnd, &rcDirty, FALSE);
        ::UpdateWindow(wnd);
    }
    f.dDirty = (Now() - dStart) / nDirtyRounds / nCounted;

    int nHits = 0;
    dStart = Now();
    for (int i = 0; i < kFindCalls; i++) {
        POINT pt = {(i * 7919) % kClientWidth, (i * 104729) % kClientHeight};
        nHits += pm.FindControl(pt) != NULL ? 1 : 0;
    }
    f.dFind = (Now() - dStart) / kFindCalls / nCounted;
    if (nHits == 0) printf("warning: no control was hit\n");
    return f;
}

bool ReportTree(const char* pstrName, CBoxUI* (*pfnBuild)(int, std::vector<CControlUI*>*))
{
    const int aSizes[] = {100, 1000, 10000};
    Figures aFigures[3];
    for (int i = 0; i < 3; i++) {
        aFigures[i] = Measure(pfnBuild, aSizes[i]);
        const Figures& f = aFigures[i];
        printf("%-7s %8d %12.3f %12.3f %12.4f %14.5f %12.0f\n", pstrName, f.nControls, f.dLayout, f.dRepaint,
               f.dDirty, f.dFind, f.dBytes);
    }
    const Figures& a = aFigures[1];
    const Figures& b = aFigures[2];
    double dLayoutGrowth = b.dLayout / a.dLayout;
    double dRepaintGrowth = b.dRepaint / a.dRepaint;
    bool bLinear = dLayoutGrowth <= 1.5 && dRepaintGrowth <= 1.5;
    printf("%-7s 1,000 -> 10,000 per control: layout x%.2f, repaint x%.2f  %s\n\n", pstrName, dLayoutGrowth,
           dRepaintGrowth, bLinear ? "(linear)" : "(NOT LINEAR)");
    return bLinear;
}

} // namespace

int main()
{
    printf("Paint manager, %dx%d client; figures in microseconds per control\n", kClientWidth, kClientHeight);
    printf("(find: per control and per call, %d calls of FindControl(POINT); memory: bytes per control)\n\n",
           kFindCalls);
    printf("%-7s %8s %12s %12s %12s %14s %12s\n", "tree", "controls", "layout", "repaint", "dirty 20x20", "find",
           "memory");
    bool bFlat = ReportTree("flat", SkinLibBench::BuildFlat<CProbeUI>);
    bool bNested = ReportTree("nested", SkinLibBench::BuildNested<CProbeUI>);
    return bFlat && bNested ? 0 : 1;
}
