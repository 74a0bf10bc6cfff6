#pragma once
// Finding the PIN program's windows from another process and giving them
// input as a keyboard and a mouse would: posted key, character and button
// messages, which its message loop takes like real ones.
#include <windows.h>

#include <string>
#include <vector>

#include "WaitUntil.h"

namespace SkinLibTest {

// Scan codes in a key message's lParam; bit 30 marks an auto-repeat.
const LPARAM kEnterDown = 0x001C0001;
const LPARAM kKeyRepeat = 1 << 30;
const LPARAM kTabDown = 0x000F0001;
const LPARAM kEscapeDown = 0x00010001;

inline std::wstring ClassOf(HWND hWnd)
{
    wchar_t szClass[64] = L"";
    ::GetClassNameW(hWnd, szClass, 64);
    return szClass;
}

// The caption as the system keeps it, without asking the (maybe busy) window.
inline std::wstring TitleOf(HWND hWnd)
{
    wchar_t szTitle[64] = L"";
    ::InternalGetWindowText(hWnd, szTitle, 64);
    return szTitle;
}

// Polls until the call gives a non-null window or the time is up.
template <class Find> HWND WaitForWindow(Find find, DWORD dwTimeoutMs = kWaitDeadlineMs)
{
    HWND hFound = NULL;
    WaitUntil([&] { return (hFound = find()) != NULL; }, dwTimeoutMs);
    return hFound;
}

// The visible top-level windows of a process (of any, for 0), in Z order.
inline std::vector<HWND> VisibleWindowsOf(DWORD dwProcessId)
{
    struct Search
    {
        DWORD dwProcessId;
        std::vector<HWND> windows;
    } search = {dwProcessId, {}};
    ::EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            Search* pSearch = reinterpret_cast<Search*>(lParam);
            DWORD dwProcessId = 0;
            ::GetWindowThreadProcessId(hWnd, &dwProcessId);
            if ((pSearch->dwProcessId == 0 || dwProcessId == pSearch->dwProcessId) && ::IsWindowVisible(hWnd))
                pSearch->windows.push_back(hWnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

// The dialog, by its title.
inline HWND FindPinDialog(DWORD dwProcessId)
{
    for (HWND hWnd : VisibleWindowsOf(dwProcessId))
        if (TitleOf(hWnd) == L"Pinwarden_QZ") return hWnd;
    return NULL;
}

// A message box the dialog owns.
inline HWND FindPinMessageBox(DWORD dwProcessId)
{
    HWND hDialog = FindPinDialog(dwProcessId);
    if (hDialog == NULL) return NULL;
    for (HWND hWnd : VisibleWindowsOf(dwProcessId))
        if (::GetWindow(hWnd, GW_OWNER) == hDialog) return hWnd;
    return NULL;
}

// The window with the keyboard focus of a window's thread.
inline HWND FocusOf(HWND hWnd)
{
    GUITHREADINFO info = {sizeof(info)};
    DWORD dwThreadId = hWnd != NULL ? ::GetWindowThreadProcessId(hWnd, NULL) : 0;
    if (dwThreadId == 0 || !::GetGUIThreadInfo(dwThreadId, &info)) return NULL;
    return info.hwndFocus;
}

// Waits until a native entry of the dialog other than hOld has the keyboard
// focus: what a PIN is typed into.
inline HWND WaitFocusedEntry(HWND hDialog, HWND hOld, DWORD dwTimeoutMs = kWaitDeadlineMs)
{
    return WaitForWindow(
        [hDialog, hOld] {
            HWND hFocus = FocusOf(hDialog);
            return hFocus != hOld && hFocus != NULL && ::GetParent(hFocus) == hDialog && ClassOf(hFocus) == L"EditWnd"
                       ? hFocus
                       : NULL;
        },
        dwTimeoutMs);
}

// Characters as the keyboard's translated ones.
inline bool TypeInto(HWND hWnd, const std::wstring& text)
{
    for (wchar_t ch : text)
        if (!::PostMessageW(hWnd, WM_CHAR, ch, 1)) return false;
    return true;
}

inline bool PressKey(HWND hWnd, WPARAM vk, LPARAM lParam)
{
    return ::PostMessageW(hWnd, WM_KEYDOWN, vk, lParam) &&
           ::PostMessageW(hWnd, WM_KEYUP, vk, (lParam & ~kKeyRepeat) | 0xC0000000);
}

// A left click at a point of a window's client area. The controls are placed
// at the first paint, which would come after posted input: a pending paint is
// made to happen first (sent, so it runs before the window's queue).
inline bool ClickAt(HWND hWnd, int x, int y)
{
    ::UpdateWindow(hWnd);
    const LPARAM lPoint = MAKELPARAM(x, y);
    return ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, lPoint) &&
           ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lPoint) && ::PostMessageW(hWnd, WM_LBUTTONUP, 0, lPoint);
}

// The skins put "closebtn", 48 by 32, in the top-right corner inside a
// one-pixel border.
inline bool ClickCloseButton(HWND hWnd)
{
    RECT rc = {};
    return ::GetClientRect(hWnd, &rc) && ClickAt(hWnd, rc.right - 25, 17);
}

} // namespace SkinLibTest
