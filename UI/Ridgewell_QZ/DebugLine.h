#pragma once
// Formatted lines for the debugger output, narrow as the other formatted
// diagnostics are, cut to the 260 characters of their buffer.
#include <windows.h>

void DebugLineA(LPCSTR pstrFormat, ...);
