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
#include <winternl.h>

#include <stdio.h>
#include <stdlib.h>

#include "../core/TestControls.h"
#include "BenchClock.h"
#include "controls/ButtonUI.h"
#include "extended/DateTimeUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

const int kCycles = 100;
const DWORD kAllowedDrift = 2;

struct Counts
{
    DWORD dwGdi;
    DWORD dwUser;
};

// One entry of the shared GDI handle table.
struct GdiHandleEntry
{
    UINT64 u64Object;
    USHORT wProcessId;
    USHORT wCount;
    USHORT wUnique;
    UCHAR bType;
    UCHAR bFlags;
    UINT64 u64UserPointer;
};
const size_t kGdiHandleEntries = 0x10000;
const size_t kPebGdiSharedHandleTable = 0xF8;

DWORD CountGdiTableEntries()
{
    const BYTE* pPeb = reinterpret_cast<const BYTE*>(NtCurrentTeb()->ProcessEnvironmentBlock);
    const GdiHandleEntry* pTable = *reinterpret_cast<GdiHandleEntry* const*>(pPeb + kPebGdiSharedHandleTable);
    if (pTable == NULL) return 0;
    // Wine leaves the owner at 0 in a table of the process's own.
    const USHORT wProcessId = static_cast<USHORT>(::GetCurrentProcessId());
    DWORD n = 0;
    for (size_t i = 0; i < kGdiHandleEntries; i++) {
        const GdiHandleEntry& entry = pTable[i];
        if (entry.bType != 0 && (entry.wProcessId == 0 || entry.wProcessId == wProcessId)) n++;
    }
    return n;
}

BOOL CALLBACK CountChildWindow(HWND /*hWnd*/, LPARAM lParam)
{
    ++*reinterpret_cast<DWORD*>(lParam);
    return TRUE;
}

BOOL CALLBACK CountWindow(HWND hWnd, LPARAM lParam)
{
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId != ::GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<DWORD*>(lParam);
    // Every descendant, not only the children.
    ::EnumChildWindows(hWnd, CountChildWindow, lParam);
    return TRUE;
}

DWORD CountWindows()
{
    DWORD n = 0;
    ::EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&n));
    return n;
}

Counts CountObjects()
{
    Counts counts = {::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
                     ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)};
    if (counts.dwGdi == 0) counts.dwGdi = CountGdiTableEntries();
    if (counts.dwUser == 0) counts.dwUser = CountWindows();
    return counts;
}

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
    const Counts before = CountObjects();
    const double dStart = SkinLibBench::Now();
    int nDone = 0;
    while (nDone < kCycles && Cycle(pm, wnd, pDate, pOther)) nDone++;
    const double dPerCycle = (SkinLibBench::Now() - dStart) / (nDone > 0 ? nDone : 1);
    const Counts after = CountObjects();

    const long nGdi = Drift(after.dwGdi, before.dwGdi), nUser = Drift(after.dwUser, before.dwUser);
    printf("datetime: %d of %d picker open/close cycles, %.0f us each\n", nDone, kCycles, dPerCycle);
    printf("datetime: GDI objects %lu -> %lu (%+ld), USER objects %lu -> %lu (%+ld)\n", before.dwGdi, after.dwGdi,
           nGdi, before.dwUser, after.dwUser, nUser);
    const bool bMet = nDone == kCycles && labs(nGdi) <= static_cast<long>(kAllowedDrift)
                      && labs(nUser) <= static_cast<long>(kAllowedDrift);
    if (!bMet) printf("datetime: goal missed: every cycle, and both counts within %lu\n", kAllowedDrift);
    return bMet ? 0 : 1;
}
