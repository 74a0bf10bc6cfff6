// The enrollment worker against the simulated sensor: sensor selection, the identify
// check, the capture loop, every failure's text, and the picture name of a step.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "EnrollStepPicture.h"
#include "EnrollSysPool.h"
#include "EnumerateSensors.h"
#include "WinBio.h"
#include "WorkerHarness.h"

using namespace RidgewellTest;

namespace {

const wchar_t kNotFound[] = L"text txt_show=\n VORTAN WBF device not find. ";
const wchar_t kPress[] = L"text txt_show=please press the sensor with your fingerprint";
const wchar_t kEnrollOn[] = L"enable btn_Enroll=1";
const wchar_t kDeleteOn[] = L"enable btn_Delete=1";

class EnrollScenario : public CScenarioTest
{
protected:
    // Plays a scenario through the worker; the thread's result.
    DWORD Enroll(const std::wstring& sScript)
    {
        Play(sScript);
        DWORD dwResult = recorder.Run(EnrollSysPool);
        EXPECT_FALSE(recorder.m_bOffThread) << "updates are applied on the window's thread only";
        return dwResult;
    }
    // Texts of "txt_show" in order.
    Lines Texts() const
    {
        Lines texts;
        for (const std::wstring& s : recorder.Applied(L"text")) texts.push_back(s.substr(wcslen(L"text txt_show=")));
        return texts;
    }
    void ExpectButtonsEnabledAtTheEnd()
    {
        Lines all = recorder.Applied();
        ASSERT_GE(all.size(), 2u);
        EXPECT_EQ(kEnrollOn, all[all.size() - 2]);
        EXPECT_EQ(kDeleteOn, all.back());
    }
    void ExpectSessionsClosed()
    {
        Lines closes = Calls(L"WinBioCloseSession");
        Lines opens = Calls(L"WinBioOpenSession");
        ASSERT_EQ(size_t(std::count_if(opens.begin(), opens.end(),
                                       [](const std::wstring& s) { return s.find(L"-> 0x00000000") != s.npos; })),
                  closes.size());
        if (!closes.empty()) {
            EXPECT_EQ(L"session=S -> 0x00000000 open=0", closes.back());
        }
    }

    void ExpectEnrolledAfterIdentifyFails(const wchar_t* pstrScript)
    {
        EXPECT_EQ(0u, Enroll(L"unit 5 " + KeyDevice(L"A1") + pstrScript));
        Lines texts = Texts();
        ASSERT_GE(texts.size(), 4u);
        EXPECT_EQ((Lines{L"please press the sensor with your fingerprint",
                         L"please press the sensor with your fingerprint", L"Sample 1 ......captured from unit 5."}),
                  Lines(texts.begin(), texts.begin() + 3));
        EXPECT_EQ(L"OK:  finger enrollment success !!!...", texts.back());
        ExpectSessionsClosed();
    }

    CUpdateRecorder recorder;
};

struct NoUnitCase
{
    const char* pstrName;
    std::wstring sScript;
    size_t cFrees;  // an empty or failed enumeration returns nothing to free
};

void PrintTo(const NoUnitCase& c, std::ostream* os)
{
    *os << c.pstrName;
}

class NoMatchingUnit : public EnrollScenario, public ::testing::WithParamInterface<NoUnitCase>
{
};

std::wstring Repeat(wchar_t ch, size_t n)
{
    return std::wstring(n, ch);
}

} // namespace

TEST_P(NoMatchingUnit, ShowsDeviceNotFoundEnablesBothButtonsAndEndsWithOne)
{
    EXPECT_EQ(1u, Enroll(GetParam().sScript));
    EXPECT_EQ((Lines{kNotFound, kEnrollOn, kDeleteOn}), recorder.Applied());
    EXPECT_TRUE(Calls(L"WinBioOpenSession").empty());
    Lines frees = Calls(L"WinBioFree");
    ASSERT_EQ(GetParam().cFrees, frees.size());
    if (!frees.empty()) {
        EXPECT_EQ(L"address=enumerated outstanding=0", frees[0]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Enumeration, NoMatchingUnit,
    ::testing::Values(
        NoUnitCase{"NoUnits", L"", 0},
        NoUnitCase{"OtherMakersUnit", L"unit 2 USB\\VID_1050&PID_0407\\6&2B", 1},
        // The units listed do not count when the enumeration fails.
        NoUnitCase{"EnumerationFails", L"unit 5 " + KeyDevice(L"A1") + L";enum E_FAIL", 0},
        // 252 characters, then the vendor ID: its last digit is past the 255 kept.
        NoUnitCase{"VendorIdPastTheCopiedCharacters", L"unit 5 " + Repeat(L'X', 252) + g_szKeyVendorId, 1},
        // An unterminated identifier running on into the next field of the record.
        NoUnitCase{"VendorIdInTheFollowingField", L"unit 5 " + Repeat(L'X', 400) + g_szKeyVendorId, 1}),
    [](const ::testing::TestParamInfo<NoUnitCase>& info) { return std::string(info.param.pstrName); });

TEST_F(EnrollScenario, FindsTheVendorIdInTheLast255CharactersKept)
{
    EXPECT_EQ(0u, Enroll(L"unit 5 " + Repeat(L'X', 251) + g_szKeyVendorId + L";identify UNKNOWN_ID"));
    EXPECT_EQ(L"OK:  finger enrollment success !!!...", Texts().back());
    EXPECT_EQ((Lines{L"session=S subfactor=7 unit=5 -> 0x00000000"}), Calls(L"WinBioEnrollBegin"));
}

TEST_F(EnrollScenario, TheLastOfTwoMatchingUnitsIsUsedWhateverTheCase)
{
    Lines expectLock{L"session=S unit=7 -> 0x00000000"};
    // The identifier is compared in upper case: a lower-case one matches too.
    std::wstring sLower = L"usb\\vid_" + std::wstring(g_szKeyVendorId) + L"&pid_0101\\b2";
    for (wchar_t& ch : sLower) ch = static_cast<wchar_t>(towlower(ch));
    EXPECT_EQ(0u, Enroll(L"unit 3 " + KeyDevice(L"A1") + L";unit 9 USB\\VID_1050&PID_0407\\6;unit 7 " + sLower +
                         L";identify UNKNOWN_ID"));
    EXPECT_EQ(expectLock, Calls(L"WinBioLockUnit"));
    EXPECT_EQ((Lines{L"session=S unit=7 -> 0x80098003 unit=7"}), Calls(L"WinBioIdentify"));
    EXPECT_EQ((Lines{L"session=S subfactor=7 unit=7 -> 0x00000000"}), Calls(L"WinBioEnrollBegin"));
    EXPECT_EQ((Lines{L"address=enumerated outstanding=0"}), Calls(L"WinBioFree"));
}

TEST_F(EnrollScenario, AnEnrolledFingerIsNotEnrolledAgain)
{
    EXPECT_EQ(0u, Enroll(L"unit 5 " + KeyDevice(L"A1") + L";identify S_OK"));
    EXPECT_EQ((Lines{L"image image_show=Rec_Finger_1.png", kPress,
                     L"text txt_show=\n this fingerprint has been enrolled, please chang one", kEnrollOn, kEnrollOn,
                     kDeleteOn}),
              recorder.Applied());
    EXPECT_EQ((Lines{L"factor=8 pool=1 flags=0 units=null count=0 database=default -> 0x00000000 session=S"}),
              Calls(L"WinBioOpenSession"));
    EXPECT_EQ((Lines{L"session=S unit=5 -> 0x00000000"}), Calls(L"WinBioUnlockUnit"));
    EXPECT_TRUE(Calls(L"WinBioEnrollBegin").empty());
    EXPECT_TRUE(Calls(L"WinBioEnrollCommit").empty());
    ExpectSessionsClosed();
}

TEST_F(EnrollScenario, UnknownFingerIsEnrolledAfterMoreDataAndBadCaptures)
{
    // The delays make the updates arrive over several wake-ups of the window.
    EXPECT_EQ(0u, Enroll(L"unit 5 " + KeyDevice(L"A1") +
                         L";identify UNKNOWN_ID delay=30;capture MORE_DATA delay=10;capture BAD_CAPTURE delay=10"
                         L";capture MORE_DATA;capture S_OK delay=10"));
    EXPECT_EQ((Lines{L"image image_show=Rec_Finger_1.png", kPress,
                     L"text txt_show=\n this fingerprint has not been enrolled, continue", kPress,
                     L"text txt_show=Sample 1 ......captured from unit 5.",
                     L"text txt_show=Swipe the sensor to capture the first sample",
                     L"text txt_show=More data required", L"text txt_show=Sample 2 ......captured from unit 5.",
                     L"text txt_show=................Error: Bad capture",
                     L"text txt_show=Sample 3 ......captured from unit 5.", L"text txt_show=More data required",
                     L"text txt_show=Sample 4 ......captured from unit 5.", L"text txt_show=Template completed.",
                     L"text txt_show=Committing enrollment...",
                     L"text txt_show=OK:  finger enrollment success !!!...", kEnrollOn, kDeleteOn}),
              recorder.Applied());
    EXPECT_GT(recorder.m_cWakeUps, 1);
    EXPECT_EQ(4u, Calls(L"WinBioEnrollCapture").size());
    EXPECT_EQ((Lines{L"session=S -> 0x00000000"}), Calls(L"WinBioEnrollCommit"));
    ExpectSessionsClosed();
}

TEST_F(EnrollScenario, TheUnitIdentifyReportsIsEnrolledAndShownUnsigned)
{
    EXPECT_EQ(0u, Enroll(L"unit 5 " + KeyDevice(L"A1") + L";identify UNKNOWN_ID unit=4000000000"));
    EXPECT_EQ((Lines{L"session=S unit=4000000000 -> 0x00000000"}), Calls(L"WinBioUnlockUnit"));
    EXPECT_EQ((Lines{L"session=S subfactor=7 unit=4000000000 -> 0x00000000"}), Calls(L"WinBioEnrollBegin"));
    Lines texts = Texts();
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), L"Sample 1 ......captured from unit 4000000000."));
}

namespace {

struct FailureCase
{
    const char* pstrName;
    const wchar_t* pstrScript;  // after the key's unit 5
    HRESULT hrResult;
    const wchar_t* pstrLastText;
    const wchar_t* pstrNextToLast;  // NULL: the failure's text is the only one
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.pstrName;
}

class EnrollFailure : public EnrollScenario, public ::testing::WithParamInterface<FailureCase>
{
};

} // namespace

TEST_P(EnrollFailure, ShowsItsTextAndEnablesBothButtonsAgain)
{
    const FailureCase& c = GetParam();
    EXPECT_EQ(static_cast<DWORD>(c.hrResult), Enroll(L"unit 5 " + KeyDevice(L"A1") + L";" + c.pstrScript));
    Lines texts = Texts();
    ASSERT_EQ(c.pstrNextToLast == NULL, texts.size() == 1);
    EXPECT_EQ(c.pstrLastText, texts.back());
    if (c.pstrNextToLast != NULL) {
        EXPECT_EQ(c.pstrNextToLast, texts[texts.size() - 2]);
    }
    ExpectButtonsEnabledAtTheEnd();
    ExpectSessionsClosed();
}

INSTANTIATE_TEST_SUITE_P(
    WinBio, EnrollFailure,
    ::testing::Values(
        FailureCase{"OpenSession", L"open E_FAIL", E_FAIL, L"WinBioOpenSession failed. ", NULL},
        FailureCase{"EnrollBegin", L"identify UNKNOWN_ID;begin 0x80098004", static_cast<HRESULT>(0x80098004),
                    L"WinBioEnrollBegin failed.", L"please press the sensor with your fingerprint"},
        FailureCase{"EnrollCapture", L"identify UNKNOWN_ID;capture E_FAIL", E_FAIL, L"WinBioEnrollCapture failed.",
                    L"Swipe the sensor to capture the first sample"},
        FailureCase{"EnrollCaptureAfterMoreData", L"identify UNKNOWN_ID;capture MORE_DATA;capture E_FAIL", E_FAIL,
                    L"WinBioEnrollCapture failed.", L"Sample 2 ......captured from unit 5."},
        FailureCase{"EnrollCommit", L"identify UNKNOWN_ID;commit E_FAIL", E_FAIL, L"WinBioEnrollCommit failed.",
                    L"Committing enrollment..."}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.pstrName); });

// A failed lock or identification goes on to enroll, without the "not enrolled" text.
TEST_F(EnrollScenario, AFailedUnitLockStillEnrolls)
{
    ExpectEnrolledAfterIdentifyFails(L";lock E_FAIL");
    EXPECT_TRUE(Calls(L"WinBioIdentify").empty());
    EXPECT_TRUE(Calls(L"WinBioUnlockUnit").empty());
}

TEST_F(EnrollScenario, ABadCaptureWhileIdentifyingStillEnrolls)
{
    ExpectEnrolledAfterIdentifyFails(L";identify BAD_CAPTURE");
    EXPECT_EQ(1u, Calls(L"WinBioUnlockUnit").size());
}

TEST(EnrollStepPicture, NamesTheStepUnsignedAndStaysInItsBuffer)
{
    WCHAR sz[MAX_PATH];
    ASSERT_TRUE(FormatEnrollStepPicture(7, sz, MAX_PATH));
    EXPECT_STREQ(L"png_reg_fingerprint_7.png", sz);
    ASSERT_TRUE(FormatEnrollStepPicture(0xFFFFFFFFu, sz, MAX_PATH));
    EXPECT_STREQ(L"png_reg_fingerprint_4294967295.png", sz);

    WCHAR szSmall[12];
    wmemset(szSmall, L'#', 12);
    EXPECT_FALSE(FormatEnrollStepPicture(7, szSmall, 10));
    EXPECT_STREQ(L"png_reg_f", szSmall);
    EXPECT_EQ(L'#', szSmall[10]);
}
