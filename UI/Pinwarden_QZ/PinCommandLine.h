#pragma once
#include <windows.h>

// True when the command line (without the program name, as wWinMain gets it)
// is the single argument "-setpin" in any case: the setting dialog. Anything
// else, an empty line included, asks for the verification dialog.
bool IsSetPinCommandLine(LPCWSTR pstrCmdLine);
