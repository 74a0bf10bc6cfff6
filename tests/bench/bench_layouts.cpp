// Long, scrolled content: a vertical layout of 1,000 and 10,000 children 20
// pixels high in a window that shows 30 of them, and the same children in
// rows of ten horizontal layouts. Figures per child:
//   layout  a full layout through the window's layout pass, with its paint
//   paint   the paint of the same window alone (it visits every child)
//   wheel   one wheel step sent to the window: scroll and repaint, with the
//           hit tests of the wheel message and of the mouse move it sends
//   step    the scroll step alone (LineDown or LineUp) and its repaint
//   end     EndDown from the top, with its repaint
// Goals: per-child cost within 1.5x from 1,000 to 10,000; a full layout at
// most 5 us per child; a wheel step no dearer than a full layout.
#include <windows.h>

#include <stdio.h>

#include "../core/TestControls.h"
#include "BenchClock.h"
#include "controls/HorizontalLayoutUI.h"
#include "controls/ScrollBarUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace SkinLib;
using namespace SkinLibTest;
using SkinLibBench::BestMicroseconds;

namespace {

const int kClientWidth = 400;
const int kClientHeight = 600;
const int kRowHeight = 20;
const int kRowLength = 10;
// Each figure is the best of this many rounds: the machine is shared.
const int kRounds = 7;

CControlUI* NewChild(int i)
{
    CControlUI* pChild = new CControlUI;
    pChild->SetBkColor(i % 2 == 0 ? 0xFFF0F0F0 : 0xFFD0D8E0);
    return pChild;
}

// nChildren rows, one child each.
CVerticalLayoutUI* BuildColumn(int nChildren)
{
    CVerticalLayoutUI* pRoot = new CVerticalLayoutUI;
    pRoot->SetAttribute(L"vscrollbar", L"true");
    for (int i = 0; i < nChildren; i++) {
        CControlUI* pChild = NewChild(i);
        pChild->SetFixedHeight(kRowHeight);
        pRoot->Add(pChild);
    }
    return pRoot;
}

// nChildren children in rows of kRowLength, each row a horizontal layout.
CVerticalLayoutUI* BuildRows(int nChildren)
{
    CVerticalLayoutUI* pRoot = new CVerticalLayoutUI;
    pRoot->SetAttribute(L"vscrollbar", L"true");
    for (int i = 0; i < nChildren; i += kRowLength) {
        CHorizontalLayoutUI* pRow = new CHorizontalLayoutUI;
        pRow->SetFixedHeight(kRowHeight);
        for (int j = 0; j < kRowLength; j++) pRow->Add(NewChild(i + j));
        pRoot->Add(pRow);
    }
    return pRoot;
}

struct Figures
{
    int nChildren;
    double dLayout, dPaint, dWheel, dStep, dEnd;  // microseconds per child
};

Figures Measure(CVerticalLayoutUI* (*pfnBuild)(int), int nChildren, bool bScrolling)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, kClientWidth, kClientHeight);
    CVerticalLayoutUI* pRoot = pfnBuild(nChildren);
    pm.AttachDialog(pRoot);
    RepaintNow(wnd);
    PumpMessages();

    const int nCalls = nChildren >= 10000 ? 10 : 50;
    Figures f = {};
    f.nChildren = nChildren;
    f.dLayout = BestMicroseconds(nCalls, kRounds, [&] {
        pRoot->NeedUpdate();
        ::UpdateWindow(wnd);
    }) / nChildren;
    f.dPaint = BestMicroseconds(nCalls, kRounds, [&] { RepaintNow(wnd); }) / nChildren;
    if (!bScrolling) return f;

    POINT ptWheel = {kClientWidth / 2, kClientHeight / 2};
    ::ClientToScreen(wnd, &ptWheel);
    // Where a user's mouse is while the wheel turns: over the list.
    ::SetCursorPos(ptWheel.x, ptWheel.y);
    ::SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(kClientWidth / 2, kClientHeight / 2));
    int nTurn = 0;
    f.dWheel = BestMicroseconds(nCalls * 4, kRounds, [&] {
        // Down twice, up twice: the content stays near the top.
        const short nDelta = (nTurn++ / 2) % 2 == 0 ? -WHEEL_DELTA : WHEEL_DELTA;
        ::SendMessageW(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, nDelta), MAKELPARAM(ptWheel.x, ptWheel.y));
        ::UpdateWindow(wnd);
    }) / nChildren;
    nTurn = 0;
    f.dStep = BestMicroseconds(nCalls * 4, kRounds, [&] {
        if ((nTurn++ / 2) % 2 == 0) pRoot->LineDown();
        else pRoot->LineUp();
        ::UpdateWindow(wnd);
    }) / nChildren;
    // The best of several runs from the top; the way back up is not part of the figure.
    double dBestEnd = 1e300;
    for (int i = 0; i < nCalls; i++) {
        pRoot->HomeUp();
        ::UpdateWindow(wnd);
        const double dStart = SkinLibBench::Now();
        pRoot->EndDown();
        ::UpdateWindow(wnd);
        const double dEnd = SkinLibBench::Now() - dStart;
        if (dEnd < dBestEnd) dBestEnd = dEnd;
    }
    f.dEnd = dBestEnd / nChildren;
    if (pRoot->GetScrollPos().cy != pRoot->GetScrollRange().cy) printf("warning: EndDown did not reach the end\n");
    return f;
}

bool Report(const char* pstrName, CVerticalLayoutUI* (*pfnBuild)(int), bool bScrolling)
{
    Figures aFigures[2] = {Measure(pfnBuild, 1000, bScrolling), Measure(pfnBuild, 10000, bScrolling)};
    for (const Figures& f : aFigures) {
        if (bScrolling) {
            printf("%-8s %8d %10.3f %10.3f %10.3f %10.3f %10.3f\n", pstrName, f.nChildren, f.dLayout, f.dPaint,
                   f.dWheel, f.dStep, f.dEnd);
        }
        else {
            printf("%-8s %8d %10.3f %10.3f %10s %10s %10s\n", pstrName, f.nChildren, f.dLayout, f.dPaint, "-", "-",
                   "-");
        }
    }
    const double dGrowth = aFigures[1].dLayout / aFigures[0].dLayout;
    const bool bLinear = dGrowth <= 1.5;
    const bool bFast = aFigures[1].dLayout <= 5.0;
    const bool bWheel = !bScrolling || aFigures[1].dWheel <= aFigures[1].dLayout;
    printf("%-8s 1,000 -> 10,000 per child: layout x%.2f %s; layout %s 5 us; wheel %s a layout\n\n", pstrName,
           dGrowth, bLinear ? "(linear)" : "(NOT LINEAR)", bFast ? "within" : "OVER",
           bWheel ? "within" : "DEARER THAN");
    return bLinear && bFast && bWheel;
}

} // namespace

int main()
{
    printf("Layouts, %dx%d client, children %d pixels high; microseconds per child\n\n", kClientWidth,
           kClientHeight, kRowHeight);
    printf("%-8s %8s %10s %10s %10s %10s %10s\n", "tree", "children", "layout", "paint", "wheel", "step", "end");
    const bool bColumn = Report("column", BuildColumn, true);
    const bool bRows = Report("rows", BuildRows, false);
    return bColumn && bRows ? 0 : 1;
}
