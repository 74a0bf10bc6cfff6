#pragma once
// Finds the security key's fingerprint unit among the system's WinBio units.
#include <windows.h>

// The unit identifier that stands for "no unit found".
const UINT32 SENSOR_UNIT_NONE = 0xFFFF;

// The key maker's USB vendor ID, four upper-case hexadecimal digits (a build setting).
extern const WCHAR g_szKeyVendorId[];

// Sets *pUnitId to the last fingerprint unit whose device instance identifier holds
// the vendor ID, or SENSOR_UNIT_NONE; returns the enumeration's HRESULT.
HRESULT EnumerateSensors(UINT32* pUnitId);
