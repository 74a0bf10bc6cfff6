#pragma once
// One page of the extended controls demo (extended_demo.cpp): a tab of its
// own whose controls come from a skin file of the demo's archive, loaded into
// the tab by a child layout. Each page lives in a source file of its own and
// is listed once in the demo's page table.
#include "../core/ZipWriter.h"
#include "controls/ControlUI.h"
#include "core/PaintManagerUI.h"

namespace ExtendedDemo {

struct Page
{
    const wchar_t* pstrName;  // the tab's text, and the word that opens the demo on this page
    const char* pstrFile;     // the page's skin file in the archive
    const char* pstrSkin;     // that file's text: a Window element around the page's controls
    // Adds the images the page's skin names; may be null.
    void (*pfnAddFiles)(SkinLibTest::ZipWriter& zip);
    // Runs once the page's controls exist, before the window shows; may be null.
    void (*pfnInit)(SkinLib::CPaintManagerUI& pm);
    // Runs a moment after the page is shown: posts the input of a user, so
    // that the screenshot shows hot, pressed, selected or open states; may be null.
    void (*pfnActLikeAUser)(SkinLib::CPaintManagerUI& pm);
};

// A click, as the mouse would bring it, on the middle of the simulated control's
// disc, a quarter down from the top of the control of that name.
inline void PostClickOnDisc(SkinLib::CPaintManagerUI& pm, const wchar_t* pstrName)
{
    SkinLib::CControlUI* pControl = pm.FindControl(pstrName);
    if (pControl == NULL) return;
    const RECT& rc = pControl->GetPos();
    const LPARAM lParam = MAKELPARAM((rc.left + rc.right) / 2, rc.top + (rc.bottom - rc.top) / 4);
    ::PostMessageW(pm.GetPaintWindow(), WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    ::PostMessageW(pm.GetPaintWindow(), WM_LBUTTONUP, 0, lParam);
}

// A click at one point of the window, as the mouse would bring it, and the
// mouse then resting at another (points in client coordinates, as lParam):
// the screenshot shows a selected item and a hot one.
inline void PostClickThenRest(SkinLib::CPaintManagerUI& pm, LPARAM lClickAt, LPARAM lRestAt)
{
    HWND hWnd = pm.GetPaintWindow();
    ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, lClickAt);
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lClickAt);
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, lClickAt);
    ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, lRestAt);
}

} // namespace ExtendedDemo
