#include "PinPipeClient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "DebugLines.h"
#include "KeyService.h"
#include "PinCommandLine.h"

using namespace SkinLibTest;

namespace {

const std::vector<std::wstring> kConnectedOpenLines = {
    L"client: fun in CreateFile",
    L"fun in OnBnClickedOk CreateFile ok",
    L"client: fun in SetNamedPipeHandleState",
};

const std::vector<std::wstring> kExchangeLines = {
    L"client: fun in OnBnClickedOk",
    L"client: Message sent to server, receiving reply as follows",
    L"Sending 8 byte message",
    L"client: fun in WriteFile",
    L"client: fun in ReadFile",
};

// Whether the UTF-16 bytes of pstrText lie anywhere in this thread's committed
// stack, the frames of calls that have returned included. The needle lives on
// the heap so that it cannot find itself.
bool StackHolds(const wchar_t* pstrText)
{
    std::vector<wchar_t> needle(pstrText, pstrText + wcslen(pstrText));
    // The committed part of the stack is one region, from just above its
    // guard page to its base.
    MEMORY_BASIC_INFORMATION region = {};
    ::VirtualQuery(&region, &region, sizeof(region));
    const BYTE* pLow = static_cast<const BYTE*>(region.BaseAddress);
    const BYTE* pHigh = pLow + region.RegionSize;
    const BYTE* pNeedle = reinterpret_cast<const BYTE*>(needle.data());
    return std::search(pLow, pHigh, pNeedle, pNeedle + needle.size() * sizeof(wchar_t)) != pHigh;
}

class PinPipeTest : public ::testing::Test
{
protected:
    PinPipeTest() : m_pipeName(UniquePipeName()) {}

    // Starts the service and connects to it once it listens.
    void Connect(CPinPipeClient& client, const std::wstring& script)
    {
        ASSERT_TRUE(m_service.Start(m_pipeName, script));
        ASSERT_TRUE(m_service.WaitFor("listening"));
        ASSERT_TRUE(client.Open());
    }

    // A failure shows both ends' view of what happened.
    void TearDown() override
    {
        if (!HasFailure()) return;
        for (const std::string& line : m_service.LogLines()) std::printf("service: %s\n", line.c_str());
        for (const std::wstring& line : m_debug.Lines()) std::printf("client: %ls\n", line.c_str());
    }

    void ExpectServiceDone()
    {
        EXPECT_EQ(m_service.WaitExit(), 0u);
        EXPECT_TRUE(m_service.Count("done") == 1);
    }

    // An exchange that got no reply reads as a refusal with reason 0. Whether
    // the read was tried shows in the debug lines.
    void ExpectUnanswered(CPinPipeClient& client, bool bReadTried)
    {
        m_debug.Clear();
        PinExchangeResult result = client.Exchange(L"1234", 4);
        EXPECT_EQ(result.bStatus, PIN_REPLY_REFUSED);
        EXPECT_EQ(result.bReason, 0);
        EXPECT_FALSE(result.bReadSucceeded);
        EXPECT_EQ(m_debug.Holds(L"client: WriteFile to pipe failed"), !bReadTried);
        EXPECT_EQ(m_debug.Holds(L"client: fun in ReadFile"), bReadTried);
        EXPECT_EQ(m_debug.Holds(L"ReadFile to pipe failed"), bReadTried);
    }

    std::wstring m_pipeName;
    CKeyService m_service;
    CDebugLines m_debug;
};

TEST_F(PinPipeTest, PinGoesOutAsItsUtf16CodeUnitsAloneWithTheLinesAsWritten)
{
    CPinPipeClient client(m_pipeName.c_str(), kWaitDeadlineMs);
    Connect(client, L"listen; request; reply 00; request; reply 00; request; reply 01");
    EXPECT_EQ(m_debug.Lines(), kConnectedOpenLines);

    m_debug.Clear();
    PinExchangeResult result = client.Exchange(L"1234", 4);
    EXPECT_EQ(m_debug.Lines(), kExchangeLines);
    EXPECT_EQ(result.bStatus, PIN_REPLY_REFUSED);

    client.Exchange(L"\u00e9\u20ac12", 4);
    std::wstring sLongest(PIN_MAX_LENGTH, L'7');
    result = client.Exchange(sLongest.c_str(), PIN_MAX_LENGTH);
    EXPECT_EQ(result.bStatus, PIN_REPLY_ACCEPTED);
    EXPECT_TRUE(m_debug.Holds(L"Sending 126 byte message"));
    client.Close();

    ExpectServiceDone();
    std::string sLongestHex;
    for (int i = 0; i < PIN_MAX_LENGTH; ++i) sLongestHex += (i ? " " : "") + std::string("37 00");
    std::vector<std::string> expected = {"31 00 32 00 33 00 34 00", "E9 00 AC 20 31 00 32 00", sLongestHex};
    EXPECT_EQ(m_service.Requests(), expected);
}

TEST_F(PinPipeTest, RepliesDecodeAsTheDialogsReadThemOnOneConnection)
{
    struct Case
    {
        BYTE bStatus, bReason;
        PinReplyAction action;
        BYTE bRefusal;
    };
    const Case cases[] = {
        {0x00, '2', PIN_ACTION_REFUSED, PIN_REASON_LOCKED},
        {0x00, '4', PIN_ACTION_REFUSED, PIN_REASON_REPLUG},
        {0x00, '9', PIN_ACTION_REFUSED, PIN_REASON_WRONG},
        {0x00, 0x00, PIN_ACTION_REFUSED, PIN_REASON_WRONG},  // a one-byte refusal
        {0x07, 0x00, PIN_ACTION_CLOSE, PIN_REASON_WRONG},
        {0x01, 0x00, PIN_ACTION_ACCEPTED, PIN_REASON_WRONG},
    };
    CPinPipeClient client(m_pipeName.c_str(), kWaitDeadlineMs);
    Connect(client, L"listen; request; reply 00 32; request; reply 00 34; request; reply 00 39;"
                    L"request; reply 00; request; reply 07; request; reply 01");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "status " << int(c.bStatus) << ", reason " << int(c.bReason));
        PinExchangeResult result = client.Exchange(L"4321", 4);
        EXPECT_EQ(result.bStatus, c.bStatus);
        EXPECT_EQ(result.bReason, c.bReason);
        EXPECT_TRUE(result.bReadSucceeded);
        EXPECT_EQ(GetPinReplyAction(result), c.action);
        EXPECT_EQ(GetPinRefusalReason(result.bReason), c.bRefusal);
    }
    client.Close();
    ExpectServiceDone();
    EXPECT_EQ(m_service.Count("connected"), 1);
    EXPECT_EQ(m_service.Requests(), std::vector<std::string>(6, "34 00 33 00 32 00 31 00"));
}

TEST(PinReplyAction, StatusFirstThenTheReadsSuccess)
{
    struct Case
    {
        PinExchangeResult result;
        PinReplyAction action;
    };
    const Case cases[] = {
        {{PIN_REPLY_ACCEPTED, 0, false}, PIN_ACTION_ACCEPTED},
        {{PIN_REPLY_REFUSED, '2', false}, PIN_ACTION_REFUSED},
        {{0x05, 0x05, true}, PIN_ACTION_CLOSE},
        {{0x05, 0x05, false}, PIN_ACTION_READ_FAILED},
        {{0xFF, 0x00, false}, PIN_ACTION_READ_FAILED},
    };
    for (const Case& c : cases) EXPECT_EQ(GetPinReplyAction(c.result), c.action) << int(c.result.bStatus);
}

TEST_F(PinPipeTest, ConnectsToAServiceThatStartsLate)
{
    ULONGLONG ullStart = ::GetTickCount64();
    ASSERT_TRUE(m_service.Start(m_pipeName, L"listen; request; reply 01", 1000));
    CPinPipeClient client(m_pipeName.c_str(), kWaitDeadlineMs);
    ASSERT_TRUE(client.Open());
    EXPECT_GE(::GetTickCount64() - ullStart, 1000u);
    EXPECT_EQ(client.Exchange(L"1234", 4).bStatus, PIN_REPLY_ACCEPTED);
    client.Close();
    ExpectServiceDone();

    std::vector<std::wstring> expected = {L"client: fun in CreateFile", L"client: fun in WaitNamedPipe",
                                          L"client: fun in SetNamedPipeHandleState"};
    std::vector<std::wstring> opening(m_debug.Lines().begin(), m_debug.Lines().begin() + 3);
    EXPECT_EQ(opening, expected);
}

TEST_F(PinPipeTest, WaitsForAnInstanceWhileThePipeIsBusy)
{
    // The service's only instance goes to a first client; the next one exists
    // only after that client has been served.
    ASSERT_TRUE(m_service.Start(m_pipeName, L"listen; sleep 700; disconnect; listen; request; reply 01"));
    ASSERT_TRUE(m_service.WaitFor("listening"));
    HANDLE hFirst = ::CreateFileW(m_pipeName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(hFirst, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(m_service.WaitFor("connected"));

    CPinPipeClient client(m_pipeName.c_str(), kWaitDeadlineMs);
    ASSERT_TRUE(client.Open());
    EXPECT_EQ(client.Exchange(L"1234", 4).bStatus, PIN_REPLY_ACCEPTED);
    ::CloseHandle(hFirst);
    client.Close();
    ExpectServiceDone();
    EXPECT_EQ(m_service.Count("connected"), 2);
}

TEST_F(PinPipeTest, GivesUpAtTheDeadlineWithoutAServiceAndSendsNothing)
{
    CPinPipeClient client(m_pipeName.c_str(), 300);
    ULONGLONG ullStart = ::GetTickCount64();
    EXPECT_FALSE(client.Open());
    EXPECT_GE(::GetTickCount64() - ullStart, 280u);
    std::vector<std::wstring> expected = {L"client: fun in CreateFile", L"client: fun in WaitNamedPipe",
                                          L"GetLastError: 0x00000002", L"client: fun in SetNamedPipeHandleState",
                                          L"SetNamedPipeHandleState failed"};
    EXPECT_EQ(m_debug.Lines(), expected);

    ExpectUnanswered(client, false);
}

TEST_F(PinPipeTest, AServiceThatHangsUpInsteadOfReplyingReadsAsARefusal)
{
    CPinPipeClient client(m_pipeName.c_str(), kWaitDeadlineMs);
    Connect(client, L"listen; request; disconnect");
    ExpectUnanswered(client, true);
    ExpectServiceDone();

    // The connection is dead now: the next confirmation fails at once.
    ExpectUnanswered(client, false);
}

TEST_F(PinPipeTest, AFailedWriteSkipsTheRead)
{
    CPinPipeClient client(m_pipeName.c_str(), kWaitDeadlineMs);
    Connect(client, L"listen; disconnect");
    ASSERT_TRUE(m_service.WaitFor("disconnected"));
    ExpectUnanswered(client, false);
    ExpectServiceDone();
}

TEST_F(PinPipeTest, PinsOfLengthsTheDialogsNeverSendStayHome)
{
    CPinPipeClient client(m_pipeName.c_str(), kWaitDeadlineMs);
    Connect(client, L"listen; request; reply 01");
    std::wstring sTooLong(PIN_MAX_LENGTH + 1, L'1');
    EXPECT_FALSE(client.Exchange(sTooLong.c_str(), PIN_MAX_LENGTH + 1).bReadSucceeded);
    EXPECT_TRUE(m_debug.Holds(L"Sending 128 byte message"));
    EXPECT_FALSE(client.Exchange(L"123", 3).bReadSucceeded);
    EXPECT_FALSE(client.Exchange(NULL, 4).bReadSucceeded);
    EXPECT_EQ(client.Exchange(L"1234", 4).bStatus, PIN_REPLY_ACCEPTED);
    client.Close();
    EXPECT_FALSE(client.Exchange(L"1234", 4).bReadSucceeded);
    ExpectServiceDone();
    EXPECT_EQ(m_service.Requests(), std::vector<std::string>{"31 00 32 00 33 00 34 00"});
}

TEST_F(PinPipeTest, AnOverlongReplyIsDiscardedWholeBeforeTheNextExchange)
{
    CPinPipeClient client(m_pipeName.c_str(), kWaitDeadlineMs);
    Connect(client, L"listen; request; reply 05*600; request; reply 06 00*1500; request; reply 01");
    m_debug.Clear();
    PinExchangeResult result = client.Exchange(L"1234", 4);
    EXPECT_EQ(result.bStatus, 0x05);
    EXPECT_FALSE(result.bReadSucceeded);
    EXPECT_EQ(GetPinReplyAction(result), PIN_ACTION_READ_FAILED);
    EXPECT_FALSE(m_debug.Holds(L"ReadFile to pipe failed"));

    EXPECT_EQ(client.Exchange(L"1234", 4).bStatus, 0x06);
    result = client.Exchange(L"1234", 4);
    EXPECT_EQ(result.bStatus, PIN_REPLY_ACCEPTED);
    EXPECT_TRUE(result.bReadSucceeded);
    client.Close();
    ExpectServiceDone();
}

TEST_F(PinPipeTest, NoDebugLineHoldsThePin)
{
    CPinPipeClient client(m_pipeName.c_str(), kWaitDeadlineMs);
    Connect(client, L"listen; request; reply 00 34; request; disconnect");
    client.Exchange(L"8642", 4);
    client.Exchange(L"8642", 4);
    client.Exchange(L"8642", 4);
    ASSERT_GE(m_debug.Lines().size(), 15u);
    for (const std::wstring& line : m_debug.Lines()) EXPECT_EQ(line.find(L"8642"), std::wstring::npos) << line.c_str();
}

// The service ends by itself, so that no test waits on it for ever.
TEST(KeyService, EndsOnItsTimeLimitAndRefusesABadScript)
{
    CKeyService idle;
    ASSERT_TRUE(idle.Start(UniquePipeName(), L"listen", 0, 300));
    EXPECT_EQ(idle.WaitExit(), 3u);
    EXPECT_EQ(idle.Count("time limit"), 1);

    CKeyService bad;
    ASSERT_TRUE(bad.Start(UniquePipeName(), L"listen; reply 1g"));
    EXPECT_EQ(bad.WaitExit(), 2u);
    EXPECT_EQ(bad.Count("error bad step: reply 1g"), 1);
    EXPECT_EQ(bad.Count("listening"), 0);
}

TEST_F(PinPipeTest, NoCopyOfThePinIsLeftOnTheStack)
{
    CPinPipeClient client(m_pipeName.c_str(), kWaitDeadlineMs);
    Connect(client, L"listen; request; reply 00 39");
    static const wchar_t kPin[] = L"Zq9#Xw5!";
    ASSERT_FALSE(StackHolds(kPin));
    EXPECT_TRUE(client.Exchange(kPin, 8).bReadSucceeded);
    EXPECT_FALSE(StackHolds(kPin));
    ExpectServiceDone();
}

TEST(PinCommandLine, OnlyTheSingleArgumentSetpinInAnyCaseChoosesSetting)
{
    struct Case
    {
        const wchar_t* pstrCmdLine;
        bool bSetPin;
    };
    const Case cases[] = {
        {L"-setpin", true},         {L"-SETPIN", true},      {L"-SetPin", true},   {L"\"-setpin\"", true},
        {L"-setpin extra", false},  {L"", false},            {L"setpin", false},   {L"-setpin2", false},
        {L"-verify", false},        {L"-set pin", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsSetPinCommandLine(c.pstrCmdLine), c.bSetPin) << c.pstrCmdLine;
}

} // namespace
