// The fingerprint manager's entry: one instance per session, showing the main window.
#include <windows.h>

#include "FPRegistWnd.h"
#include "core/PaintManagerUI.h"

using SkinLib::CPaintManagerUI;

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    // Held until the process ends. A second start leaves quietly; the instance that
    // runs is not brought forward.
    HANDLE hInstanceMutex =
        ::CreateMutexW(NULL, FALSE, L"2155DA22-E24D-42E7-910C-823BBB0851A1_Ridgewell_Finger_QZ_instance");
    if (hInstanceMutex != NULL && ::GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    CPaintManagerUI::SetInstance(hInstance);
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath());
    CPaintManagerUI::SetResourceZip(L"Skins.zip", false);

    CFPRegistWnd window(L"registFingerprint.xml");
    window.Create(NULL, L"Quorvel FIDO2 Manager", WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL);
    window.CenterWindow();
    window.ShowModal();
    return 0;
}
