#pragma once
// Removes the current user's fingerprint templates from the unit the user touches.
#include <windows.h>

#include "WinBio.h"

// Opens a session on the system pool, waits for a touch (WinBioLocateSensor) and
// deletes the user's templates of subFactor from that unit; the session is always
// closed. Returns the first failure, or the deletion's HRESULT.
HRESULT DeleteUserTemplates(WINBIO_BIOMETRIC_SUBTYPE subFactor);
