#pragma once
// The picture the window shows when an enrollment step succeeds (WM_ENROLL_RESULT).
#include <windows.h>

#include <stddef.h>

// Writes "png_reg_fingerprint_<step>.png" with the step in unsigned decimal. False
// when it does not fit: the buffer then holds as much as fits, terminated.
bool FormatEnrollStepPicture(UINT32 uStep, LPWSTR pstrBuffer, size_t cchBuffer);
