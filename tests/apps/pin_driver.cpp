// Drives a running Pinwarden_QZ dialog from outside, one step a call, the way
// the main job's script needs it: found by its title, given input with posted
// key, character and mouse messages, as the end-to-end tests do.
//   pin_driver.exe entry          wait until a PIN entry has the focus
//   pin_driver.exe type TEXT      type into it (returns once it holds the text)
//   pin_driver.exe retype TEXT    replace its text
//   pin_driver.exe tab            Tab to the next entry
//   pin_driver.exe enter          Enter
//   pin_driver.exe box            wait for the message box
//   pin_driver.exe box-enter      Enter in the message box, then wait for an entry
//   pin_driver.exe box-close      the message box's close button
//   pin_driver.exe gone           wait until the dialog has gone
// Exit code 0 when the step was done, 1 when it timed out, 2 for bad arguments.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "PinDialogInput.h"

using namespace SkinLibTest;

namespace {

const DWORD kTimeoutMs = 30000;

HWND Dialog()
{
    return FindPinDialog(0);
}

HWND WaitEntry(HWND hOld)
{
    return WaitForWindow(
        [hOld] {
            HWND hDialog = Dialog();
            return hDialog != NULL ? WaitFocusedEntry(hDialog, hOld, 0) : NULL;
        },
        kTimeoutMs);
}

LRESULT TextLength(HWND hEntry)
{
    DWORD_PTR nLength = 0;
    ::SendMessageTimeoutW(hEntry, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 1000, &nLength);
    return static_cast<LRESULT>(nLength);
}

int Step(const std::wstring& verb, const wchar_t* pstrArgument)
{
    if (verb == L"entry") return WaitEntry(NULL) != NULL ? 0 : 1;
    if (verb == L"type" || verb == L"retype") {
        HWND hEntry = WaitEntry(NULL);
        if (hEntry == NULL || pstrArgument == NULL) return 1;
        LRESULT nExpected = static_cast<LRESULT>(wcslen(pstrArgument));
        if (verb == L"retype") ::PostMessageW(hEntry, EM_SETSEL, 0, -1);
        else nExpected += TextLength(hEntry);
        TypeInto(hEntry, pstrArgument);
        const ULONGLONG ullDeadline = ::GetTickCount64() + kTimeoutMs;
        while (TextLength(hEntry) != nExpected) {
            if (::GetTickCount64() >= ullDeadline) return 1;
            ::Sleep(10);
        }
        return 0;
    }
    if (verb == L"tab") {
        HWND hEntry = WaitEntry(NULL);
        return hEntry != NULL && PressKey(hEntry, VK_TAB, kTabDown) && WaitEntry(hEntry) != NULL ? 0 : 1;
    }
    if (verb == L"enter") {
        HWND hFocus = FocusOf(Dialog());
        return hFocus != NULL && PressKey(hFocus, VK_RETURN, kEnterDown) ? 0 : 1;
    }
    if (verb == L"box") return WaitForWindow([] { return FindPinMessageBox(0); }, kTimeoutMs) != NULL ? 0 : 1;
    if (verb == L"box-enter") {
        HWND hBox = WaitForWindow([] { return FindPinMessageBox(0); }, kTimeoutMs);
        if (hBox == NULL) return 1;
        // The entry that had the focus before the box closes; a new one opens.
        HWND hOld = FocusOf(Dialog());
        if (!PressKey(hBox, VK_RETURN, kEnterDown)) return 1;
        auto boxGone = [] { return FindPinMessageBox(0) == NULL ? ::GetDesktopWindow() : NULL; };
        if (WaitForWindow(boxGone, kTimeoutMs) == NULL) return 1;
        return WaitEntry(hOld) != NULL ? 0 : 1;
    }
    if (verb == L"box-close") {
        HWND hBox = WaitForWindow([] { return FindPinMessageBox(0); }, kTimeoutMs);
        return hBox != NULL && ClickCloseButton(hBox) ? 0 : 1;
    }
    if (verb == L"gone") {
        return WaitForWindow([] { return Dialog() == NULL ? ::GetDesktopWindow() : NULL; }, kTimeoutMs) != NULL ? 0 : 1;
    }
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: pin_driver.exe entry|type TEXT|retype TEXT|tab|enter|box|box-enter|box-close|gone\n");
        return 2;
    }
    const int nResult = Step(argv[1], argc > 2 ? argv[2] : NULL);
    if (nResult == 1) std::fprintf(stderr, "pin_driver: %ls timed out\n", argv[1]);
    if (nResult == 2) std::fprintf(stderr, "pin_driver: unknown step %ls\n", argv[1]);
    return nResult;
}
