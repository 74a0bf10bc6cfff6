#include "DebugLine.h"

#include <stdarg.h>
#include <strsafe.h>

void DebugLineA(LPCSTR pstrFormat, ...)
{
    CHAR szLine[MAX_PATH];
    va_list args;
    va_start(args, pstrFormat);
    // A line too long for the buffer still goes out, cut and terminated.
    ::StringCchVPrintfA(szLine, MAX_PATH, pstrFormat, args);
    va_end(args);
    ::OutputDebugStringA(szLine);
}
