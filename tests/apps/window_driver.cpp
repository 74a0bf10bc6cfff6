// Drives a program's window for scripts (the main job), as a user would:
//   window_driver wait TITLE MS      waits until the window is painted; prints its screen
//                                    rectangle as "WIDTHxHEIGHT+LEFT+TOP"
//   window_driver click TITLE X Y    clicks at a point of its client area
//   window_driver gone TITLE MS      waits until no window has that title
// The exit code is 0 on success, 1 when the window did not come or go in time, 2 for
// a wrong command line.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include "WindowDriver.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) return 2;
    const wchar_t* pstrCommand = argv[1];
    const wchar_t* pstrTitle = argv[2];
    if (wcscmp(pstrCommand, L"wait") == 0 && argc == 4) {
        HWND hWnd = SkinLibTest::WaitForPaintedWindow(0, pstrTitle, wcstoul(argv[3], NULL, 10));
        if (hWnd == NULL) return 1;
        RECT rc = {};
        ::GetWindowRect(hWnd, &rc);
        printf("%ldx%ld+%ld+%ld\n", rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top);
        return 0;
    }
    if (wcscmp(pstrCommand, L"click") == 0 && argc == 5) {
        HWND hWnd = SkinLibTest::FindProgramWindow(0, pstrTitle);
        if (hWnd == NULL) return 1;
        POINT pt = {static_cast<LONG>(wcstol(argv[3], NULL, 10)), static_cast<LONG>(wcstol(argv[4], NULL, 10))};
        SkinLibTest::PostClick(hWnd, pt);
        return 0;
    }
    if (wcscmp(pstrCommand, L"gone") == 0 && argc == 4) {
        const DWORD dwTimeout = wcstoul(argv[3], NULL, 10), dwStart = ::GetTickCount();
        while (SkinLibTest::FindProgramWindow(0, pstrTitle) != NULL) {
            if (::GetTickCount() - dwStart > dwTimeout) return 1;
            ::Sleep(10);
        }
        return 0;
    }
    return 2;
}
