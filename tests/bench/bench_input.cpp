// Mouse-move dispatch against the bare hit test it starts with, on flat and
// nested trees of 1,000 and 10,000 controls. The mouse goes from control to
// control, so every message changes the hover control: a leave, an enter and
// a move per message. Goal: dispatch costs at most 25% more than FindControl.
#include <windows.h>

#include <stdio.h>

#include <vector>

#include "../core/TestControls.h"
#include "BenchClock.h"
#include "BenchTrees.h"

using namespace SkinLib;
using namespace SkinLibTest;
using SkinLibBench::BestMicroseconds;

namespace {

const int kClientWidth = SkinLibBench::kTreeWidth;
const int kClientHeight = SkinLibBench::kTreeHeight;
// Leaves are plain controls: their events bubble up to the root as a real tree's do.
typedef CBoxUI* (*BuildTree)(int, std::vector<CControlUI*>*);

struct Figures
{
    int nControls;
    int nPoints;
    double dFind;      // microseconds per call
    double dDispatch;  // microseconds per WM_MOUSEMOVE
};

Figures Measure(BuildTree pfnBuild, int nControls)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, kClientWidth, kClientHeight);
    std::vector<CControlUI*> aLeaves;
    CBoxUI* pRoot = pfnBuild(nControls, &aLeaves);
    pm.AttachDialog(pRoot);
    RepaintNow(wnd);
    PumpMessages();

    // The centres of the leaves that can be hit, each its own control, in tree order.
    std::vector<POINT> aPoints;
    for (CControlUI* pLeaf : aLeaves) {
        const RECT& rc = pLeaf->GetPos();
        POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        if (pm.FindControl(pt) == pLeaf) aPoints.push_back(pt);
    }
    Figures f = {};
    f.nControls = nControls;
    f.nPoints = static_cast<int>(aPoints.size());
    if (aPoints.size() < 2) return f;

    const int nCalls = nControls >= 10000 ? 2000 : 20000;
    // Both measured in turns, each keeping its best round, so that a busy moment of the machine
    // weighs on neither.
    size_t iFind = 0, iMove = 0;
    CControlUI* volatile pSink = NULL;
    f.dFind = f.dDispatch = 1e300;
    for (int nTurn = 0; nTurn < 15; nTurn++) {
        const double dFind = BestMicroseconds(nCalls, 1, [&] {
            pSink = pm.FindControl(aPoints[iFind]);
            iFind = iFind + 1 < aPoints.size() ? iFind + 1 : 0;
        });
        const double dDispatch = BestMicroseconds(nCalls, 1, [&] {
            LRESULT lRes = 0;
            pm.MessageHandler(WM_MOUSEMOVE, 0, MAKELPARAM(aPoints[iMove].x, aPoints[iMove].y), lRes);
            iMove = iMove + 1 < aPoints.size() ? iMove + 1 : 0;
        });
        if (dFind < f.dFind) f.dFind = dFind;
        if (dDispatch < f.dDispatch) f.dDispatch = dDispatch;
    }
    (void)pSink;
    PumpMessages();
    return f;
}

bool Report(const char* pstrName, BuildTree pfnBuild)
{
    bool bWithinGoal = true;
    for (int nControls : {1000, 10000}) {
        const Figures f = Measure(pfnBuild, nControls);
        const double dRatio = f.dFind > 0 ? f.dDispatch / f.dFind : 0;
        bWithinGoal = bWithinGoal && dRatio <= 1.25;
        printf("%-7s %8d %8d %12.3f %12.3f %8.2f  %s\n", pstrName, f.nControls, f.nPoints, f.dFind, f.dDispatch, dRatio,
               dRatio <= 1.25 ? "" : "(ABOVE GOAL)");
    }
    return bWithinGoal;
}

} // namespace

int main()
{
    printf("WM_MOUSEMOVE dispatch, %dx%d client, the hover control changing on every message\n", kClientWidth,
           kClientHeight);
    printf("(microseconds per call, best of 15 rounds; ratio = dispatch / FindControl(POINT); goal <= 1.25)\n\n");
    printf("%-7s %8s %8s %12s %12s %8s\n", "tree", "controls", "points", "find", "dispatch", "ratio");
    const bool bFlat = Report("flat", SkinLibBench::BuildFlat<CControlUI>);
    const bool bNested = Report("nested", SkinLibBench::BuildNested<CControlUI>);
    return bFlat && bNested ? 0 : 1;
}
