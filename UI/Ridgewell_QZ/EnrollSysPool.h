#pragma once
// The enrollment worker that the window's "Enroll" button starts.
#include <windows.h>

// Thread routine; lpWindow is the window's CUpdateChannel with a reference for this
// worker (CUpdateChannel::StartWorker). Finds the key's unit, checks that the finger
// is not enrolled yet, enrolls it as the current user's left index finger and
// reports every step on the window. Returns the final HRESULT, or 1 when no unit of
// the key was found; enables both buttons again at every exit.
DWORD WINAPI EnrollSysPool(LPVOID lpWindow);
