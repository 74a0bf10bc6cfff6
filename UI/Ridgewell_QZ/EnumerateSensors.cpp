#include "EnumerateSensors.h"

#include <strsafe.h>
#include <wchar.h>

#include "DebugLine.h"
#include "WinBio.h"

#define RIDGEWELL_WIDEN2(text) L##text
#define RIDGEWELL_WIDEN(text) RIDGEWELL_WIDEN2(text)

const WCHAR g_szKeyVendorId[] = RIDGEWELL_WIDEN(RIDGEWELL_VENDOR_ID);

HRESULT EnumerateSensors(UINT32* pUnitId)
{
    ::OutputDebugStringW(L"Ridgewell: EnumerateSensors");
    ::OutputDebugStringW(L"Ridgewell: EnumerateSensors WinBioEnumBiometricUnits");
    *pUnitId = SENSOR_UNIT_NONE;

    WINBIO_UNIT_SCHEMA* pSchemas = NULL;
    SIZE_T cUnits = 0;
    HRESULT hr = ::WinBioEnumBiometricUnits(WINBIO_TYPE_FINGERPRINT, &pSchemas, &cUnits);
    if (FAILED(hr)) {
        ::OutputDebugStringW(L"\n WinBioEnumBiometricUnits failed.");
    } else {
        ::OutputDebugStringW(L"WinBioEnumBiometricUnits S_OK");
        DebugLineA("Ridgewell: EnumerateSensors WinBioEnumBiometricUnits  unitCount = %u",
                   static_cast<unsigned>(cUnits));
        for (SIZE_T i = 0; i < cUnits; ++i) {
            ::OutputDebugStringW(L"WinBioEnumBiometricUnits loop.......");
            // The record's string need not be terminated: 255 characters at most.
            WCHAR szDevice[WINBIO_MAX_STRING_LEN];
            ::StringCchCopyNW(szDevice, WINBIO_MAX_STRING_LEN, pSchemas[i].DeviceInstanceId, WINBIO_MAX_STRING_LEN - 1);
            ::CharUpperBuffW(szDevice, static_cast<DWORD>(wcslen(szDevice)));
            if (wcsstr(szDevice, g_szKeyVendorId) != NULL) {
                *pUnitId = pSchemas[i].UnitId;
                DebugLineA("Ridgewell: EnumerateSensors WinBioEnumBiometricUnits  UnitId = %u", *pUnitId);
            }
        }
    }
    if (pSchemas != NULL) ::WinBioFree(pSchemas);
    return hr;
}
