#pragma once
// Formatted lines for the debugger output, cut to the 260 characters of their buffer.
#include <windows.h>

void DebugLineW(LPCWSTR pstrFormat, ...);
void DebugLineA(LPCSTR pstrFormat, ...);
