#include "IdentifyEnrollments.h"

#include "DebugLine.h"

HRESULT IdentifyEnrollments(WINBIO_SESSION_HANDLE hSession, UINT32* pUnitId)
{
    ::OutputDebugStringW(L"fun in IdentifyEnrollments");
    ::OutputDebugStringW(L"fun in IdentifyEnrollments Calling WinBioLockUnit");
    WINBIO_UNIT_ID unitId = *pUnitId;
    HRESULT hr = ::WinBioLockUnit(hSession, unitId);
    if (FAILED(hr)) {
        ::OutputDebugStringW(L"fun in IdentifyEnrollments Calling WinBioLockUnit failed");
    } else {
        WINBIO_IDENTITY identity = {};
        WINBIO_BIOMETRIC_SUBTYPE subFactor = 0;
        WINBIO_REJECT_DETAIL rejectDetail = 0;
        ::OutputDebugStringW(L"fun in IdentifyEnrollments Calling WinBioIdentify - Swipe finger on sensor");
        hr = ::WinBioIdentify(hSession, &unitId, &identity, &subFactor, &rejectDetail);
        *pUnitId = unitId;
        if (FAILED(hr)) {
            ::OutputDebugStringW(L"fun in IdentifyEnrollments Calling WinBioIdentify - FAILED");
            if (hr == WINBIO_E_UNKNOWN_ID)
                ::OutputDebugStringW(L"fun in IdentifyEnrollments Calling WinBioIdentify - WINBIO_E_UNKNOWN_ID");
            else if (hr == WINBIO_E_BAD_CAPTURE)
                ::OutputDebugStringW(L"fun in IdentifyEnrollments Calling WinBioIdentify - WINBIO_E_BAD_CAPTURE");
        } else {
            ::OutputDebugStringW(L"fun in IdentifyEnrollments Calling WinBioIdentify - OK");
        }
        ::OutputDebugStringW(L"fun in IdentifyEnrollments Calling WinBioUnlockUnit");
        if (FAILED(::WinBioUnlockUnit(hSession, unitId)))
            ::OutputDebugStringW(L"fun in IdentifyEnrollments Calling WinBioUnlockUnit failed");
    }
    DebugLineA("WinBioIdentify hr = 0x%08X", static_cast<unsigned>(hr));
    return hr;
}
