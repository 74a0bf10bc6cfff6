#include "PinCommandLine.h"

#include <shellapi.h>

bool IsSetPinCommandLine(LPCWSTR pstrCmdLine)
{
    int nArgs = 0;
    LPWSTR* pArgs = ::CommandLineToArgvW(pstrCmdLine, &nArgs);
    if (pArgs == NULL) return false;
    bool bSetPin = nArgs == 1 && ::CompareStringOrdinal(pArgs[0], -1, L"-setpin", -1, TRUE) == CSTR_EQUAL;
    ::LocalFree(pArgs);
    return bSetPin;
}
