#include "DeleteUserTemplates.h"

#include "GetCurrentUserIdentity.h"

HRESULT DeleteUserTemplates(WINBIO_BIOMETRIC_SUBTYPE subFactor)
{
    WINBIO_IDENTITY identity;
    HRESULT hr = GetCurrentUserIdentity(&identity);
    if (FAILED(hr)) return hr;

    WINBIO_SESSION_HANDLE hSession = 0;
    hr = ::WinBioOpenSession(WINBIO_TYPE_FINGERPRINT, WINBIO_POOL_SYSTEM, WINBIO_FLAG_DEFAULT, NULL, 0,
                             WINBIO_DB_DEFAULT, &hSession);
    if (FAILED(hr)) return hr;

    WINBIO_UNIT_ID unitId = 0;
    hr = ::WinBioLocateSensor(hSession, &unitId);
    if (SUCCEEDED(hr)) hr = ::WinBioDeleteTemplate(hSession, unitId, &identity, subFactor);
    ::WinBioCloseSession(hSession);
    return hr;
}
