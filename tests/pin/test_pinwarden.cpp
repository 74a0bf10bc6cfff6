// Pinwarden_QZ.exe end to end under Wine: the real program against the
// simulated key service on the key's own pipe name, typed into with posted
// messages. What the program shows in its windowless labels is checked in
// process (test_pindialogs); here the service's request log, the program's
// windows, debugger lines (the test is its debugger) and exit code tell what
// it did.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "DamagedSkinCopy.h"
#include "KeyService.h"
#include "PinPipeClient.h"
#include "PinwardenProcess.h"

using namespace SkinLibTest;

namespace {

// Both lines the verification dialog writes on a reply hold "PIN" and no
// other line of the program does.
// They are written after the input queued during the exchange was dropped, so
// input posted once they are there is the user's next.
const char kReplyTaken[] = "PIN";
const char kReadFailed[] = "client:ReadFile from pipe failed";

std::string Hex(const std::wstring& pin)
{
    std::string hex;
    for (wchar_t ch : pin) {
        char szByte[8];
        std::snprintf(szByte, sizeof(szByte), "%s%02X %02X", hex.empty() ? "" : " ", ch & 0xFF, ch >> 8);
        hex += szByte;
    }
    return hex;
}

// Sent messages overtake posted ones: typed characters are in an entry once
// its length says so.
bool WaitTextLength(HWND hEntry, LRESULT nLength)
{
    return WaitUntil([&] { return ::SendMessageW(hEntry, WM_GETTEXTLENGTH, 0, 0) == nLength; });
}

class PinwardenTest : public ::testing::Test
{
protected:
    void StartService(const std::wstring& script)
    {
        ASSERT_TRUE(m_service.Start(CPinPipeClient::kPipeName, script, 0, 40000));
        if (script.compare(0, 6, L"listen") == 0) {
            ASSERT_TRUE(m_service.WaitFor("listening"));
        }
    }

    // Starts the program and waits until the PIN can be typed: a native
    // entry has the keyboard focus without any click.
    void StartProgram(const std::wstring& arguments)
    {
        ASSERT_TRUE(m_program.Start(arguments));
        ASSERT_NE(m_program.WaitDialog(), (HWND)NULL);
        ASSERT_NE(m_program.WaitFocusedEntry(), (HWND)NULL);
    }

    void Type(const std::wstring& pin)
    {
        m_typed.push_back(pin);
        ASSERT_TRUE(m_program.Type(pin));
    }

    // Types both entries of the setting dialog.
    void TypeTwice(const std::wstring& pin, const std::wstring& confirmation)
    {
        Type(pin);
        ASSERT_NE(m_program.TabToEntry(), (HWND)NULL);
        Type(confirmation);
    }

    void ExpectExit0()
    {
        EXPECT_EQ(m_program.WaitExit(), 0u);
        EXPECT_TRUE(m_program.Windows().empty());
    }

    // A failure shows both ends' view; no debugger line ever holds a PIN typed.
    void TearDown() override
    {
        const std::vector<std::string> lines = m_program.DebugLines();
        for (const std::wstring& pin : m_typed) {
            const std::string narrow(pin.begin(), pin.end());
            for (const std::string& line : lines) EXPECT_EQ(line.find(narrow), std::string::npos) << line;
        }
        if (!HasFailure()) return;
        for (const std::string& line : m_service.LogLines()) std::printf("service: %s\n", line.c_str());
        for (const std::string& line : lines) std::printf("program: %s\n", line.c_str());
    }

    CKeyService m_service;
    CPinwardenProcess m_program;
    std::vector<std::wstring> m_typed;
};

TEST_F(PinwardenTest, PinGoesOutAsItsCodeUnitsAloneAndAnAcceptanceEndsWith0)
{
    StartService(L"listen; request; reply 01");
    StartProgram(L"");
    Type(L"1234");
    ASSERT_TRUE(m_program.PressEnter());
    ExpectExit0();
    EXPECT_EQ(m_service.Requests(), std::vector<std::string>{"31 00 32 00 33 00 34 00"});
    EXPECT_EQ(m_program.CountDebugLines("Sending 8 byte message"), 1);
}

TEST_F(PinwardenTest, RefusalsKeepTheDialogAndEveryConfirmationGoesOnTheSameConnection)
{
    StartService(L"listen; request; reply 00 32; request; reply 00 34; request; reply 00 39; request; reply 01");
    StartProgram(L"-setpin extra");
    Type(L"8351");
    for (int i = 1; i <= 3; i++) {
        ASSERT_TRUE(m_program.PressEnter());
        ASSERT_TRUE(m_program.WaitDebugLines(kReplyTaken, i)) << i;
    }
    ASSERT_NE(m_program.Dialog(), (HWND)NULL);
    ASSERT_TRUE(m_program.PressEnter());
    ExpectExit0();
    EXPECT_EQ(m_service.Count("connected"), 1);
    EXPECT_EQ(m_service.Requests(), std::vector<std::string>(4, Hex(L"8351")));
}

// Enter with nothing, 3 or 64 characters sends nothing; 63 go out.
TEST_F(PinwardenTest, OnlyPinsOf4To63CharactersAreSent)
{
    StartService(L"listen; request; reply 01");
    StartProgram(L"");
    const std::wstring longest = L"abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_";
    ASSERT_EQ(longest.size(), 63u);
    ASSERT_TRUE(m_program.PressEnter());
    Type(longest.substr(0, 3));
    ASSERT_TRUE(m_program.PressEnter());
    Type(longest.substr(3) + L"!");
    ASSERT_TRUE(m_program.PressEnter());
    ASSERT_TRUE(TypeInto(m_program.Focus(), L"\b"));
    ASSERT_TRUE(m_program.PressEnter());
    ExpectExit0();
    EXPECT_EQ(m_service.Requests(), std::vector<std::string>{Hex(longest)});
}

// Exactly one argument "-setpin", in any case, shows the setting dialog: its
// Tab leads to a second entry, where the verification dialog's leads to OK.
TEST_F(PinwardenTest, TheSingleArgumentSetpinInAnyCaseChoosesTheSettingDialog)
{
    const struct
    {
        const wchar_t* pstrArguments;
        bool bSetting;
    } cases[] = {{L"-SETPIN", true}, {L"-setpin extra", false}, {L"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "arguments \"" << c.pstrArguments << "\"");
        CKeyService service;
        ASSERT_TRUE(service.Start(CPinPipeClient::kPipeName, L"listen; request; reply 01"));
        ASSERT_TRUE(service.WaitFor("listening"));
        CPinwardenProcess program;
        ASSERT_TRUE(program.Start(c.pstrArguments));
        ASSERT_NE(program.WaitDialog(), (HWND)NULL);
        ASSERT_NE(program.WaitFocusedEntry(), (HWND)NULL);
        ASSERT_TRUE(program.Type(L"2468"));
        HWND hFirst = program.Focus();
        ASSERT_TRUE(program.PressTab());
        // The first entry's native window closes once the focus has gone on.
        ASSERT_NE(WaitForWindow([hFirst] { return ::IsWindow(hFirst) ? NULL : hFirst; }), (HWND)NULL);
        HWND hNext = program.Focus();
        if (c.bSetting) {
            ASSERT_EQ(ClassOf(hNext), L"EditWnd");
            ASSERT_TRUE(program.Type(L"2468"));
        } else {
            EXPECT_EQ(hNext, program.Dialog());  // OK has the focus
        }
        ASSERT_TRUE(program.PressEnter());
        EXPECT_EQ(program.WaitExit(), 0u);
        EXPECT_EQ(service.Requests(), std::vector<std::string>{Hex(L"2468")});
    }
}

TEST_F(PinwardenTest, MismatchedEntriesSendNothing)
{
    StartService(L"listen; request; reply 01");
    StartProgram(L"-setpin");
    TypeTwice(L"13579", L"135790");
    ASSERT_TRUE(m_program.PressEnter());
    ASSERT_TRUE(m_program.Clear());
    Type(L"13579");
    ASSERT_TRUE(m_program.PressEnter());
    ExpectExit0();
    EXPECT_EQ(m_service.Requests(), std::vector<std::string>{Hex(L"13579")});
}

// "Set pin failed": OK keeps the dialog with both entries empty and the first
// one ready to be typed into again; the box's close button ends the dialog.
TEST_F(PinwardenTest, ASettingRefusalAsksInTheMessageBoxOkKeepsTheDialogCloseEndsIt)
{
    StartService(L"listen; request; reply 00; request; reply 00");
    StartProgram(L"-setpin");
    TypeTwice(L"1122", L"1122");
    HWND hConfirmation = m_program.Focus();
    ASSERT_TRUE(m_program.PressEnter());
    HWND hBox = m_program.WaitMessageBox();
    ASSERT_NE(hBox, (HWND)NULL);
    EXPECT_EQ(ClassOf(hBox), L"SkinMainFrame");
    EXPECT_TRUE(::GetWindowLongW(hBox, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // The box shows first, then disables its owner.
    HWND hDialog = m_program.Dialog();
    EXPECT_NE(WaitForWindow([hDialog] { return ::IsWindowEnabled(hDialog) ? NULL : hDialog; }), (HWND)NULL);
    ASSERT_TRUE(PressKey(hBox, VK_RETURN, kEnterDown));
    ASSERT_NE(WaitForWindow([&] { return m_program.MessageBox() == NULL ? hDialog : NULL; }), (HWND)NULL);
    EXPECT_TRUE(::IsWindowEnabled(hDialog));

    HWND hEntry = m_program.WaitFocusedEntry(hConfirmation);
    ASSERT_NE(hEntry, (HWND)NULL);
    EXPECT_EQ(::SendMessageW(hEntry, WM_GETTEXTLENGTH, 0, 0), 0);
    Type(L"3344");
    HWND hSecond = m_program.TabToEntry();
    ASSERT_NE(hSecond, (HWND)NULL);
    EXPECT_EQ(::SendMessageW(hSecond, WM_GETTEXTLENGTH, 0, 0), 0);
    Type(L"3344");
    ASSERT_TRUE(m_program.PressEnter());

    hBox = m_program.WaitMessageBox();
    ASSERT_NE(hBox, (HWND)NULL);
    ASSERT_TRUE(ClickCloseButton(hBox));
    ExpectExit0();
    EXPECT_EQ(m_service.Requests(), (std::vector<std::string>{Hex(L"1122"), Hex(L"3344")}));
}

TEST_F(PinwardenTest, ASecondInstanceExits0AtOnceWithoutAWindow)
{
    StartService(L"listen; request; reply 01");
    StartProgram(L"");
    CPinwardenProcess second;
    ASSERT_TRUE(second.Start(L"-setpin"));
    EXPECT_EQ(second.WaitExit(), 0u);
    EXPECT_TRUE(second.DebugLines().empty());
    Type(L"1234");
    ASSERT_TRUE(m_program.PressEnter());
    ExpectExit0();
    EXPECT_EQ(m_service.Count("connected"), 1);
}

// The dialog shows once it is connected: a service whose pipe appears only after
// the program began to wait for it is reached. (The 20 s the program waits for a
// service that never comes are the dialogs' test's part, with a shorter wait.)
TEST_F(PinwardenTest, AServiceStartingLateIsStillReached)
{
    CServiceGate pipeUp;
    StartService(pipeUp.Wait() + L"; listen; request; reply 01");
    ASSERT_TRUE(m_program.Start(L""));
    ASSERT_TRUE(m_program.WaitDebugLines("client: fun in WaitNamedPipe"));
    EXPECT_EQ(m_program.Dialog(), (HWND)NULL) << "the dialog shows once it is connected";
    pipeUp.Open();
    ASSERT_NE(m_program.WaitDialog(), (HWND)NULL);
    ASSERT_NE(m_program.WaitFocusedEntry(), (HWND)NULL);
    Type(L"5555");
    ASSERT_TRUE(m_program.PressEnter());
    ExpectExit0();
    EXPECT_EQ(m_service.Requests(), std::vector<std::string>{Hex(L"5555")});
}

// A service that hangs up instead of answering: the read fails, the next
// confirmation fails to write, neither hangs.
TEST_F(PinwardenTest, AServiceDyingMidExchangeReadsAsRefusalsWithoutAHang)
{
    StartService(L"listen; request; disconnect");
    StartProgram(L"");
    Type(L"4040");
    ASSERT_TRUE(m_program.PressEnter());
    ASSERT_TRUE(m_program.WaitDebugLines(kReplyTaken, 1));
    EXPECT_EQ(m_program.CountDebugLines("ReadFile to pipe failed"), 1);
    ASSERT_TRUE(m_program.PressEnter());
    ASSERT_TRUE(m_program.WaitDebugLines(kReplyTaken, 2));
    EXPECT_EQ(m_program.CountDebugLines("client: WriteFile to pipe failed"), 1);
    ASSERT_TRUE(m_program.PressEscape());  // does not close the dialog
    ASSERT_TRUE(ClickCloseButton(m_program.Dialog()));
    ExpectExit0();
    EXPECT_EQ(m_service.Requests(), std::vector<std::string>{Hex(L"4040")});
}

TEST_F(PinwardenTest, TheSettingDialogGivenUpAfterADeadServiceEnds)
{
    StartService(L"listen; request; disconnect");
    StartProgram(L"-setpin");
    TypeTwice(L"6060", L"6060");
    ASSERT_TRUE(m_program.PressEnter());
    HWND hBox = m_program.WaitMessageBox();
    ASSERT_NE(hBox, (HWND)NULL);
    ASSERT_TRUE(PressKey(hBox, VK_ESCAPE, kEscapeDown));
    ExpectExit0();
}

// The tail of a 600-byte reply is not taken for the reply to the next PIN.
TEST_F(PinwardenTest, AnOverlongReplyThenAnAcceptanceEndsTheDialog)
{
    StartService(L"listen; request; reply 05*600; request; reply 01");
    StartProgram(L"");
    Type(L"6006");
    ASSERT_TRUE(m_program.PressEnter());
    ASSERT_TRUE(m_program.WaitDebugLines(kReadFailed));
    ASSERT_NE(m_program.Dialog(), (HWND)NULL);
    ASSERT_TRUE(m_program.PressEnter());
    ExpectExit0();
    EXPECT_EQ(m_service.Requests(), std::vector<std::string>(2, Hex(L"6006")));
}

// A user who pressed Enter again (or clicked OK) while the dialog waited for
// the service, or who holds Enter down, sends the PIN once. The service answers
// only once that input is queued.
TEST_F(PinwardenTest, InputQueuedDuringTheExchangeAndEnterRepeatsSendNothingMore)
{
    CServiceGate answer;
    StartService(L"listen; request; " + answer.Wait() + L"; reply 00; request; reply 01");
    StartProgram(L"");
    Type(L"9090");
    HWND hDialog = m_program.Dialog();
    RECT rc = {};
    ::GetClientRect(hDialog, &rc);
    ASSERT_TRUE(m_program.PressEnter());
    ASSERT_TRUE(m_service.WaitFor("request 39 00 30 00 39 00 30 00"));
    ASSERT_TRUE(m_program.PressEnter());
    // Posted as they are: a paint sent to the waiting dialog would wait for the answer.
    PostClick(hDialog, POINT{rc.right / 2, rc.bottom - 87});  // OK
    answer.Open();
    ASSERT_TRUE(m_program.WaitDebugLines(kReplyTaken, 1));
    ASSERT_TRUE(m_program.PressEnter(kEnterDown | kKeyRepeat));
    // A character typed behind the held key is in the entry once the key was taken.
    HWND hEntry = m_program.Focus();
    const LRESULT nLength = ::SendMessageW(hEntry, WM_GETTEXTLENGTH, 0, 0);
    ASSERT_TRUE(m_program.Type(L"0"));
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(hEntry, WM_GETTEXTLENGTH, 0, 0) != nLength; }));
    EXPECT_EQ(m_service.Requests().size(), 1u);
    ASSERT_NE(m_program.Dialog(), (HWND)NULL);

    ASSERT_TRUE(m_program.PressEnter());
    ExpectExit0();
    EXPECT_EQ(m_service.Requests().size(), 2u);
}

// The entry masks the PIN, and it never reaches the clipboard.
TEST_F(PinwardenTest, ThePinCannotBeCopiedOutOfTheEntry)
{
    StartService(L"listen; request; reply 01");
    StartProgram(L"");
    ASSERT_TRUE(::OpenClipboard(NULL));
    ::EmptyClipboard();
    ::CloseClipboard();
    Type(L"2580");
    HWND hEntry = m_program.Focus();
    ASSERT_TRUE(WaitTextLength(hEntry, 4));
    EXPECT_TRUE(::GetWindowLongW(hEntry, GWL_STYLE) & ES_PASSWORD);
    ::SendMessageW(hEntry, EM_SETSEL, 0, -1);
    ::SendMessageW(hEntry, WM_COPY, 0, 0);
    ::SendMessageW(hEntry, WM_CUT, 0, 0);
    ASSERT_TRUE(::OpenClipboard(NULL));
    HANDLE hText = ::GetClipboardData(CF_UNICODETEXT);
    std::wstring clipboard;
    if (hText != NULL) {
        const wchar_t* pstrText = static_cast<const wchar_t*>(::GlobalLock(hText));
        if (pstrText != NULL) clipboard = pstrText;
        ::GlobalUnlock(hText);
    }
    ::CloseClipboard();
    EXPECT_EQ(clipboard.find(L"2580"), std::wstring::npos);
    ASSERT_TRUE(m_program.PressEnter());
    ExpectExit0();
    EXPECT_EQ(m_service.Requests(), std::vector<std::string>{Hex(L"2580")});
}

// An empty skin archive leaves the dialog up without controls: it never gets to
// the pipe, and the system's close ends the program with 0.
TEST_F(PinwardenTest, AnEmptySkinArchiveLeavesAnEmptyDialogThatClosesWith0)
{
    CDamagedSkinCopy copy(PinwardenExe(), ARCHIVE_EMPTY);
    ASSERT_FALSE(copy.Path().empty());
    ASSERT_TRUE(m_program.Start(L"", copy.Path()));
    HWND hDialog = m_program.WaitDialog();
    ASSERT_NE(hDialog, (HWND)NULL);
    ASSERT_TRUE(PressKey(hDialog, VK_RETURN, kEnterDown));
    ASSERT_TRUE(::PostMessageW(hDialog, WM_CLOSE, 0, 0));
    ExpectExit0();
    EXPECT_EQ(m_program.CountDebugLines("client:"), 0);
}

// An archive that cannot be read yields no dialog: the fatal message, then exit
// code 1; the pipe is never opened.
TEST_F(PinwardenTest, ADamagedSkinArchiveEndsWithTheFatalMessageAnd1)
{
    for (ArchiveDamage damage : {ARCHIVE_TRUNCATED, ARCHIVE_BAD_DIRECTORY}) {
        SCOPED_TRACE(damage == ARCHIVE_TRUNCATED ? "truncated" : "bad directory");
        CDamagedSkinCopy copy(PinwardenExe(), damage);
        ASSERT_FALSE(copy.Path().empty());
        CPinwardenProcess program;
        ASSERT_TRUE(program.Start(L"-setpin", copy.Path()));
        EXPECT_EQ(AnswerFatalSkinBox(program.ProcessId()), L"加载资源文件失败");
        EXPECT_EQ(program.WaitExit(), 1u);
        EXPECT_EQ(program.CountDebugLines("client:"), 0);
    }
}

} // namespace
