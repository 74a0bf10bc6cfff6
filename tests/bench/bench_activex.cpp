// The ActiveX host with the simulated control (activex_double.dll beside the
// benchmarks): creating a windowless control, activating it in place and
// painting it the first time, against creating and first painting a plain
// native child window that draws the same picture; the goal is at most twice
// as long. Then 1,000 create
// and destroy cycles, each with a reactivation, after which the control's live
// objects, references and running locks must be back to 0 and the process's
// GDI and USER objects where they were (within 2).
#include <windows.h>

#include <stdio.h>

#include "../core/TestControls.h"
#include "../doubles/activex/ActiveXDouble.h"
#include "BenchClock.h"
#include "BenchObjects.h"
#include "extended/ActiveXUI.h"

using namespace SkinLib;
using namespace SkinLibTest;
using SkinLibBench::CountGuiObjects;
using SkinLibBench::GuiObjectCounts;
using SkinLibBench::Now;

namespace {

const int kCreations = 200;
const int kRounds = 5;
const int kCycles = 1000;
const int kCellWidth = 240;
const int kCellHeight = 120;
const wchar_t kAttributes[] =
    L"modulename=\"activex_double.dll\" clsid=\"{5E0C3A8B-6F1D-4B7A-9C42-1D8E7F60A3B5}\"";

ActiveXDouble::CModule* g_pActiveXDouble = NULL;

// The control's own drawing, so that only what the host adds is compared.
LRESULT CALLBACK NativeChildProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg != WM_PAINT) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(hWnd, &ps);
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    g_pActiveXDouble->Paint(hDC, rc);
    ::EndPaint(hWnd, &ps);
    return 0;
}

// Microseconds per creation and first paint, the best round of a few.
template <class Create, class Destroy> double BestCreation(Create create, Destroy destroy)
{
    double dBest = 1e300;
    for (int round = 0; round < kRounds; round++) {
        double dTotal = 0;
        for (int i = 0; i < kCreations; i++) {
            const double dStart = Now();
            create();
            dTotal += Now() - dStart;
            destroy();
        }
        if (dTotal / kCreations < dBest) dBest = dTotal / kCreations;
    }
    return dBest;
}

} // namespace

int main()
{
    ::OleInitialize(NULL);
    ActiveXDouble::CModule activeXDouble;
    if (!activeXDouble.IsLoaded()) {
        printf("activex_double.dll is not beside the benchmark\n");
        return 1;
    }
    g_pActiveXDouble = &activeXDouble;
    bool bMet = true;
    {
        CPaintManagerUI pm;
        CHostWindow wnd(pm, kCellWidth + 80, kCellHeight + 80);
        CBoxUI* pRoot = new CBoxUI(kCellWidth, kCellHeight);
        pm.AttachDialog(pRoot);
        RepaintNow(wnd);

        CActiveXUI* pControl = NULL;
        auto createControl = [&] {
            pControl = new CActiveXUI;
            pControl->ApplyAttributeList(kAttributes);
            pRoot->Add(pControl);
            RepaintNow(wnd);
        };
        auto destroyControl = [&] {
            pRoot->Detach(pControl);
            delete pControl;
        };
        WNDCLASSW wc = {};
        wc.lpfnWndProc = NativeChildProc;
        wc.hInstance = ::GetModuleHandleW(NULL);
        wc.lpszClassName = L"BenchNativeChild";
        ::RegisterClassW(&wc);
        HWND hChild = NULL;
        auto createChild = [&] {
            hChild = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, kCellWidth, kCellHeight,
                                       wnd, NULL, wc.hInstance, NULL);
            ::UpdateWindow(hChild);
        };
        auto destroyChild = [&] { ::DestroyWindow(hChild); };
        // Once each first: the module, the window classes and the caches are made once per process.
        createControl();
        destroyControl();
        createChild();
        destroyChild();

        const double dActiveX = BestCreation(createControl, destroyControl);
        const double dNative = BestCreation(createChild, destroyChild);
        const double dRatio = dActiveX / dNative;
        printf("create, activate in place and first paint, microseconds: windowless ActiveX %.1f, native child "
               "window %.1f, ratio %.2f (goal at most 2: %s)\n",
               dActiveX, dNative, dRatio, dRatio <= 2.0 ? "met" : "NOT MET");
        bMet = bMet && dRatio <= 2.0;

        PumpMessages();
        const GuiObjectCounts before = CountGuiObjects();
        const double dStart = Now();
        for (int i = 0; i < kCycles; i++) {
            createControl();
            IOleObject* pObject = NULL;
            if (SUCCEEDED(pControl->GetControl(IID_IOleObject, reinterpret_cast<void**>(&pObject)))) {
                IOleClientSite* pSite = NULL;
                pObject->GetClientSite(&pSite);
                const RECT rc = pControl->GetPos();
                pObject->DoVerb(OLEIVERB_HIDE, NULL, pSite, 0, wnd, &rc);
                pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, NULL, pSite, 0, wnd, &rc);
                if (pSite != NULL) pSite->Release();
                pObject->Release();
            }
            RepaintNow(wnd);
            destroyControl();
            activeXDouble.ClearLog();
        }
        const double dCycle = (Now() - dStart) / kCycles;
        PumpMessages();
        const GuiObjectCounts after = CountGuiObjects();
        const ActiveXDouble::Counts counts = activeXDouble.GetCounts();
        const bool bBalanced = counts.nLiveObjects == 0 && counts.nReferences == 0 && counts.nHostInterfaces == 0 &&
                               counts.nRunningLocks == 0;
        const bool bHandles = after.dwGdi <= before.dwGdi + 2 && before.dwGdi <= after.dwGdi + 2 &&
                              after.dwUser <= before.dwUser + 2 && before.dwUser <= after.dwUser + 2;
        printf("%d create/reactivate/destroy cycles, %.1f microseconds each: live objects %ld, references %ld, "
               "held host interfaces %ld, running locks %ld (goal all 0: %s)\n",
               kCycles, dCycle, counts.nLiveObjects, counts.nReferences, counts.nHostInterfaces, counts.nRunningLocks,
               bBalanced ? "met" : "NOT MET");
        printf("GDI objects %lu before, %lu after; USER objects %lu before, %lu after (goal unchanged within 2: %s)\n",
               before.dwGdi, after.dwGdi, before.dwUser, after.dwUser, bHandles ? "met" : "NOT MET");
        bMet = bMet && bBalanced && bHandles;
    }
    ::OleUninitialize();
    return bMet ? 0 : 1;
}
