// The deletion worker against the simulated sensor, and the user's identity it deletes by.
#include <gtest/gtest.h>

#include <string>

#include "DeleteThreadProc.h"
#include "GetCurrentUserIdentity.h"
#include "WinBio.h"
#include "WorkerHarness.h"

using namespace RidgewellTest;

namespace {

// The process token's user SID, as the test reads it itself.
std::string TokenUserSid()
{
    HANDLE hToken = NULL;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &hToken)) return std::string();
    DWORD cb = 0;
    ::GetTokenInformation(hToken, TokenUser, NULL, 0, &cb);
    std::string buffer(cb, '\0');
    std::string sid;
    if (::GetTokenInformation(hToken, TokenUser, &buffer[0], cb, &cb)) {
        PSID pSid = reinterpret_cast<TOKEN_USER*>(&buffer[0])->User.Sid;
        sid.assign(static_cast<const char*>(pSid), ::GetLengthSid(pSid));
    }
    ::CloseHandle(hToken);
    return sid;
}

class DeleteScenario : public CScenarioTest
{
protected:
    void Delete(const std::wstring& sScript)
    {
        Play(sScript);
        EXPECT_EQ(0u, recorder.Run(DeleteThreadProc));
        EXPECT_FALSE(recorder.m_bOffThread);
    }
    Lines Expected(const wchar_t* pstrOutcome)
    {
        return Lines{L"enable btn_Delete=0", L"text txt_show=please touch the sensor",
                     std::wstring(L"text txt_show=") + pstrOutcome, L"enable btn_Delete=1"};
    }

    CUpdateRecorder recorder;
};

} // namespace

TEST_F(DeleteScenario, DeletesTheUsersTemplatesFromTheTouchedUnit)
{
    Delete(L"unit 5 " + KeyDevice(L"A1") + L";unit 9 " + KeyDevice(L"B2") + L";locate S_OK unit=9 delay=20");
    // The enroll button is never touched: an enrollment may start meanwhile.
    EXPECT_EQ(Expected(L"Delete OK."), recorder.Applied());
    const std::wstring sSidSize = std::to_wstring(TokenUserSid().size());
    EXPECT_EQ((Lines{L"session=S unit=9 identity.type=3 identity.sidsize=" + sSidSize +
                     L" subfactor=255 -> 0x00000000"}),
              Calls(L"WinBioDeleteTemplate"));
    EXPECT_EQ((Lines{L"session=S -> 0x00000000 open=0"}), Calls(L"WinBioCloseSession"));
}

TEST_F(DeleteScenario, EveryFailureShowsDeleteFailedAndClosesTheSession)
{
    struct { const wchar_t* pstrScript; size_t cDeletes, cCloses; } cases[] = {
        {L"open E_FAIL", 0, 0},
        {L"locate 0x80098005", 0, 1},
        {L"delete 0x80098003", 1, 1},
        {L"delete S_FALSE", 1, 1},  // a success code other than S_OK is no success here
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "scenario " << std::string(c.pstrScript, c.pstrScript + wcslen(c.pstrScript)));
        recorder.m_aApplied.clear();
        ::DeleteFileW(m_sLog.c_str());
        Delete(std::wstring(L"unit 5 ") + KeyDevice(L"A1") + L";" + c.pstrScript);
        EXPECT_EQ(Expected(L"Delete Failed."), recorder.Applied());
        EXPECT_EQ(c.cDeletes, Calls(L"WinBioDeleteTemplate").size());
        Lines closes = Calls(L"WinBioCloseSession");
        ASSERT_EQ(c.cCloses, closes.size());
        if (!closes.empty()) {
            EXPECT_EQ(L"session=S -> 0x00000000 open=0", closes[0]);
        }
    }
}

TEST(UserIdentity, IsTheTokenUsersSidWithItsLength)
{
    WINBIO_IDENTITY identity;
    memset(&identity, 0xCC, sizeof(identity));
    ASSERT_EQ(S_OK, GetCurrentUserIdentity(&identity));
    const std::string sid = TokenUserSid();
    ASSERT_FALSE(sid.empty());
    EXPECT_EQ(WINBIO_ID_TYPE_SID, identity.Type);
    EXPECT_EQ(sid.size(), identity.Value.AccountSid.Size);
    EXPECT_EQ(sid, std::string(reinterpret_cast<const char*>(identity.Value.AccountSid.Data), sid.size()));
    for (size_t i = sid.size(); i < WINBIO_SID_DATA_SIZE; ++i)
        EXPECT_EQ(0, identity.Value.AccountSid.Data[i]) << "byte " << i << " past the SID is zero";
}

TEST(UserIdentity, AFailureWithoutAnErrorCodeIsNoSuccess)
{
    struct { DWORD dwError; HRESULT hr; } cases[] = {
        {ERROR_SUCCESS, E_FAIL},
        {ERROR_ACCESS_DENIED, static_cast<HRESULT>(0x80070005)},
        {ERROR_INSUFFICIENT_BUFFER, static_cast<HRESULT>(0x8007007A)},
        {0x80090016, static_cast<HRESULT>(0x80090016)},  // already an HRESULT: kept
    };
    for (const auto& c : cases) EXPECT_EQ(c.hr, HResultFromWin32Error(c.dwError)) << c.dwError;
}
