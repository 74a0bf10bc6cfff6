// The date-time picker opened and closed 100 times, as a user would by moving
// the focus to the control and away: the process's GDI and USER object counts
// must come back to where they were (give or take 2), and the time per cycle
// is reported. The counts are taken after one cycle, which registers the
// picker's window classes and makes the fonts it caches.
//
// Wine answers GetGuiResources with 0. There the GDI objects are counted in
// the shared GDI handle table the process block points to (the layout both
// systems use), and the USER objects stand for the windows of the process.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include "../core/TestControls.h"
#include "BenchClock.h"
#include "BenchObjects.h"
#include "controls/ButtonUI.h"
#include "extended/DateTimeUI.h"

using namespace SkinLib;
using namespace SkinLibTest;
using SkinLibBench::CountGuiObjects;
using SkinLibBench::GuiObjectCounts;

namespace {

const int kCycles = 100;
const DWORD kAllowedDrift = 2;

bool PickerOpen(HWND hWnd)
{
    return ::FindWindowExW(hWnd, NULL, L"DateTimeWnd", NULL) != NULL;
}

// Opens the picker by the focus and closes it by moving the focus away; false
// when the picker did not come or did not go.
bool Cycle(CPaintManagerUI& pm, HWND hWnd, CControlUI* pDate, CControlUI* pOther)
{
    pDate->SetFocus();
    PumpMessages();
    if (!PickerOpen(hWnd)) return false;
    pOther->SetFocus();
    PumpMessages();
    return !PickerOpen(hWnd) && pm.GetFocus() == pOther;
}

long Drift(DWORD dwAfter, DWORD dwBefore)
{
    return static_cast<long>(dwAfter) - static_cast<long>(dwBefore);
}

} // namespace

int main()
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 400, 100);
    CBoxUI* pRoot = new CBoxUI(150, 30);
    CDateTimeUI* pDate = new CDateTimeUI;
    CButtonUI* pOther = new CButtonUI;
    pRoot->Add(pDate);
    pRoot->Add(pOther);
    pm.AttachDialog(pRoot);
    ::SetForegroundWindow(wnd);
    RepaintNow(wnd);
    PumpMessages();

    if (!Cycle(pm, wnd, pDate, pOther)) {
        printf("datetime: the picker did not open and close\n");
        return 1;
    }
    const GuiObjectCounts before = CountGuiObjects();
    const double dStart = SkinLibBench::Now();
    int nDone = 0;
    while (nDone < kCycles && Cycle(pm, wnd, pDate, pOther)) nDone++;
    const double dPerCycle = (SkinLibBench::Now() - dStart) / (nDone > 0 ? nDone : 1);
    const GuiObjectCounts after = CountGuiObjects();

    const long nGdi = Drift(after.dwGdi, before.dwGdi), nUser = Drift(after.dwUser, before.dwUser);
    printf("datetime: %d of %d picker open/close cycles, %.0f us each\n", nDone, kCycles, dPerCycle);
    printf("datetime: GDI objects %lu -> %lu (%+ld), USER objects %lu -> %lu (%+ld)\n", before.dwGdi, after.dwGdi,
           nGdi, before.dwUser, after.dwUser, nUser);
    const bool bMet = nDone == kCycles && labs(nGdi) <= static_cast<long>(kAllowedDrift)
                      && labs(nUser) <= static_cast<long>(kAllowedDrift);
    if (!bMet) printf("datetime: goal missed: every cycle, and both counts within %lu\n", kAllowedDrift);
    return bMet ? 0 : 1;
}
