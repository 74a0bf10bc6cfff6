#pragma once
// The current Windows user as a WinBio identity.
#include <windows.h>

#include "WinBio.h"

// Fills *pIdentity with the SID of the process token's user (type WINBIO_ID_TYPE_SID);
// on failure it stays zero-filled and the system's error comes back as an HRESULT.
HRESULT GetCurrentUserIdentity(WINBIO_IDENTITY* pIdentity);

// HRESULT_FROM_WIN32 of an error taken after a failed call; an error of 0 (a call that
// failed without setting one) becomes E_FAIL so the failure is not read as success.
HRESULT HResultFromWin32Error(DWORD dwError);
