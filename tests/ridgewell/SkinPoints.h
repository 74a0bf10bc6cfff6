#pragma once
// Where the fingerprint manager's buttons lie in its client area with the shipped
// skin; the window tests check that these points hit them, the program tests and
// the main job (scripts/run.sh) click there.
#include <windows.h>

namespace RidgewellTest {

const wchar_t kWindowTitle[] = L"Quorvel FIDO2 Manager";
const POINT kCloseButtonPoint = {335, 17};
const POINT kEnrollButtonPoint = {125, 364};
const POINT kDeleteButtonPoint = {235, 364};

} // namespace RidgewellTest
