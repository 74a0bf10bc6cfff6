#pragma once
// The deletion worker that the window's "Delete" button starts.
#include <windows.h>

// Thread routine; lpWindow is the window's CUpdateChannel with a reference for this
// worker (CUpdateChannel::StartWorker). Asks for a touch, deletes every fingerprint
// of the current user from the touched unit and shows the outcome; the delete button
// is disabled meanwhile, the enroll button is left alone. Returns 0.
DWORD WINAPI DeleteThreadProc(LPVOID lpWindow);
