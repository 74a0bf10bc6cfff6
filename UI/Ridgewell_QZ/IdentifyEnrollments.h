#pragma once
// Whether the finger on the sensor is already enrolled.
#include <windows.h>

#include "WinBio.h"

// Locks the unit, identifies the finger the user puts on a sensor (blocking until
// then) and unlocks the unit again. *pUnitId becomes the unit that was touched.
// S_OK when the finger matches an enrollment.
HRESULT IdentifyEnrollments(WINBIO_SESSION_HANDLE hSession, UINT32* pUnitId);
