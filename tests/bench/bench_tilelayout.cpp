// A tile layout of 1,000 and 10,000 items, 40 x 20 pixels in ten columns, in a
// window that shows 30 rows of them. Figures per item:
//   layout  a full layout through the window's layout pass, with its paint
//   setpos  the tile layout's own SetPos alone, every item placed, its areas
//           handed to the window as one, as the layout pass hands them
//   paint   the paint of the same window alone (it visits every item)
// Goal: per-item cost within 1.5x from 1,000 to 10,000 items.
#include <windows.h>

#include <stdio.h>

#include "../core/TestControls.h"
#include "BenchClock.h"
#include "controls/TileLayoutUI.h"

using namespace SkinLib;
using namespace SkinLibTest;
using SkinLibBench::BestMicroseconds;

namespace {

const int kClientWidth = 416;  // ten 40-pixel columns beside a 16-pixel bar
const int kClientHeight = 600;
// Each figure is the best of this many rounds: the machine is shared.
const int kRounds = 7;

struct Figures
{
    int nItems;
    double dLayout, dSetPos, dPaint;  // microseconds per item
};

Figures Measure(int nItems)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, kClientWidth, kClientHeight);
    CTileLayoutUI* pTile = new CTileLayoutUI;
    pTile->SetAttribute(L"itemsize", L"40,20");
    pTile->SetAttribute(L"vscrollbar", L"true");
    for (int i = 0; i < nItems; i++) {
        CControlUI* pItem = new CControlUI;
        pItem->SetFixedHeight(20);
        pItem->SetBkColor(i % 2 == 0 ? 0xFFF0F0F0 : 0xFFD0D8E0);
        pTile->Add(pItem);
    }
    pm.AttachDialog(pTile);
    RepaintNow(wnd);
    PumpMessages();
    if (pTile->GetColumns() != 10) printf("warning: %d columns instead of 10\n", pTile->GetColumns());

    const int nCalls = nItems >= 10000 ? 10 : 50;
    Figures f = {};
    f.nItems = nItems;
    f.dLayout = BestMicroseconds(nCalls, kRounds, [&] {
        pTile->NeedUpdate();
        ::UpdateWindow(wnd);
    }) / nItems;
    f.dSetPos = BestMicroseconds(nCalls, kRounds, [&] {
        CInvalidateBatch batch(&pm);
        pTile->SetPos(pTile->GetPos());
    }) / nItems;
    // What SetPos invalidated is painted before the paint is measured.
    ::UpdateWindow(wnd);
    f.dPaint = BestMicroseconds(nCalls, kRounds, [&] { RepaintNow(wnd); }) / nItems;
    return f;
}

} // namespace

int main()
{
    printf("Tile layout, %dx%d client, items 40x20 in ten columns; microseconds per item\n\n", kClientWidth,
           kClientHeight);
    printf("%8s %10s %10s %10s\n", "items", "layout", "setpos", "paint");
    const Figures aFigures[2] = {Measure(1000), Measure(10000)};
    for (const Figures& f : aFigures) printf("%8d %10.3f %10.3f %10.3f\n", f.nItems, f.dLayout, f.dSetPos, f.dPaint);
    const double dLayoutGrowth = aFigures[1].dLayout / aFigures[0].dLayout;
    const double dSetPosGrowth = aFigures[1].dSetPos / aFigures[0].dSetPos;
    const double dPaintGrowth = aFigures[1].dPaint / aFigures[0].dPaint;
    const bool bLinear = dLayoutGrowth <= 1.5 && dSetPosGrowth <= 1.5 && dPaintGrowth <= 1.5;
    printf("1,000 -> 10,000 per item: layout x%.2f, setpos x%.2f, paint x%.2f %s\n", dLayoutGrowth, dSetPosGrowth,
           dPaintGrowth, bLinear ? "(linear)" : "(NOT LINEAR)");
    return bLinear ? 0 : 1;
}
