// The start-up benchmark's baseline: a minimal native Win32 dialog of the fingerprint
// manager's size, with a text and two buttons, built as the program is built. It
// closes on the system close command or Escape.
#include <windows.h>

namespace {

INT_PTR CALLBACK DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM)
{
    if (uMsg == WM_INITDIALOG) return TRUE;
    if (uMsg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(hDlg, 0);
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    ::DialogBoxParamW(hInstance, MAKEINTRESOURCEW(101), NULL, DialogProc, 0);
    return 0;
}
