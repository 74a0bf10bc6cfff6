#include "GetCurrentUserIdentity.h"

#include <string.h>

namespace {

// Closes the token however the query ends.
class CTokenScope
{
public:
    CTokenScope() : m_hToken(NULL) {}
    CTokenScope(const CTokenScope&) = delete;
    CTokenScope& operator=(const CTokenScope&) = delete;
    ~CTokenScope()
    {
        if (m_hToken != NULL) ::CloseHandle(m_hToken);
    }
    HANDLE m_hToken;
};

} // namespace

HRESULT HResultFromWin32Error(DWORD dwError)
{
    return dwError == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(dwError);
}

HRESULT GetCurrentUserIdentity(WINBIO_IDENTITY* pIdentity)
{
    memset(pIdentity, 0, sizeof(*pIdentity));
    CTokenScope token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_READ, &token.m_hToken)) {
        token.m_hToken = NULL;
        return HResultFromWin32Error(::GetLastError());
    }
    // TOKEN_USER (16 bytes on x64) followed by room for the largest SID.
    union {
        TOKEN_USER user;
        BYTE bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    } tokenUser;
    DWORD cbReturned = 0;
    if (!::GetTokenInformation(token.m_hToken, TokenUser, &tokenUser, sizeof(tokenUser), &cbReturned))
        return HResultFromWin32Error(::GetLastError());
    PSID pSid = tokenUser.user.User.Sid;
    if (!::CopySid(WINBIO_SID_DATA_SIZE, pIdentity->Value.AccountSid.Data, pSid)) {
        HRESULT hr = HResultFromWin32Error(::GetLastError());
        memset(pIdentity, 0, sizeof(*pIdentity));
        return hr;
    }
    pIdentity->Value.AccountSid.Size = ::GetLengthSid(pSid);
    pIdentity->Type = WINBIO_ID_TYPE_SID;
    return S_OK;
}
