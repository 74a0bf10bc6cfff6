// The PIN program, started by the key's service whenever the key's PIN is
// needed: one instance at a time, the verification dialog or (with the single
// argument "-setpin") the setting dialog, shown modally over the window that
// was in the foreground. The outcome travels on the pipe only; the exit code
// is always 0.
#include <windows.h>

#include "PINVerifyWnd.h"
#include "PinCommandLine.h"
#include "SetPINWnd.h"
#include "core/PaintManagerUI.h"

using namespace SkinLib;

namespace {

const wchar_t kInstanceMutex[] = L"2155DA22-E24D-42E7-910C-823BBB0851A1_Pinwarden_QZ_instance";
const DWORD kDialogStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

template <class Dialog> void RunDialog(HWND hOwner, const wchar_t* pstrSkinFile)
{
    Dialog dialog(pstrSkinFile);
    dialog.Create(hOwner, L"Pinwarden_QZ", kDialogStyle, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, NULL);
    dialog.CenterWindow();
    dialog.ShowModal();
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int)
{
    // Held until the process ends.
    ::CreateMutexW(NULL, FALSE, kInstanceMutex);
    if (::GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    CPaintManagerUI::SetInstance(hInstance);
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath());
    CPaintManagerUI::SetResourceZip(L"Skins.zip", false);

    const bool bSetPin = IsSetPinCommandLine(lpCmdLine);
    const HWND hOwner = ::GetForegroundWindow();
    if (bSetPin) RunDialog<CSetPINWnd>(hOwner, L"SetPIN.xml");
    else RunDialog<CPINVerifyWnd>(hOwner, L"verifyPIN.xml");
    return 0;
}
