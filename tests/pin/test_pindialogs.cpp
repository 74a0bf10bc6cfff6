// The two PIN dialogs in this process, built from the program's own skin
// archive (embedded in this test as in the program) and connected to the
// simulated key service on the key's pipe name: every check, status text and
// reply, read from the dialogs' labels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DebugLines.h"
#include "KeyService.h"
#include "ModalSteps.h"
#include "PINVerifyWnd.h"
#include "PinDialogInput.h"
#include "PinPipeClient.h"
#include "SetPINWnd.h"
#include "SkinSettings.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

const DWORD kDialogStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
const wchar_t kInstruction[] = L"Click \"OK\" ,then touch the sensor to finish the setting";
const wchar_t kTooLong[] = L"Your PIN must be less than  63 characters..";
const wchar_t kTooShort[] = L"Your PIN must be at least 4 characters.";

// A dialog whose controls the test reads.
template <class Dialog> class CProbe : public Dialog
{
public:
    explicit CProbe(const wchar_t* pstrSkinFile) : Dialog(pstrSkinFile) {}
    // How long the dialog waits for a service that is not there.
    CProbe(const wchar_t* pstrSkinFile, DWORD dwPipeWaitMs) : Dialog(pstrSkinFile)
    {
        this->m_pipe.SetWaitTime(dwPipeWaitMs);
    }

    CControlUI* Find(const wchar_t* pstrName) { return this->m_PaintManager.FindControl(pstrName); }
    std::wstring Text(const wchar_t* pstrName)
    {
        CControlUI* pControl = Find(pstrName);
        return pControl != NULL ? std::wstring(pControl->GetText().GetData()) : L"<missing>";
    }
    bool HasFocus(const wchar_t* pstrName) { return this->m_PaintManager.GetFocus() == Find(pstrName); }
    // A click in the middle of a control.
    void Click(const wchar_t* pstrName)
    {
        const RECT& rc = Find(pstrName)->GetPos();
        ClickAt(this->GetHWND(), (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }
};

// Input for the entry that has the keyboard focus.
HWND Entry()
{
    HWND hEntry = FocusedEntry();
    EXPECT_NE(hEntry, (HWND)NULL) << "no entry has the focus";
    return hEntry;
}

void Type(const std::wstring& text)
{
    if (HWND hEntry = Entry()) TypeInto(hEntry, text);
}

void Retype(const std::wstring& text)
{
    if (HWND hEntry = Entry()) ::PostMessageW(hEntry, EM_SETSEL, 0, -1);
    Type(text);
}

// To the window with the focus: the entry, or the dialog once a click gave its
// button the focus.
void Enter()
{
    PressKey(::GetFocus(), VK_RETURN, kEnterDown);
}

void Tab()
{
    if (HWND hEntry = Entry()) PressKey(hEntry, VK_TAB, kTabDown);
}

bool EntryHasFocus()
{
    return FocusedEntry() != NULL;
}

class PinDialogTest : public SkinSettingsTest
{
protected:
    PinDialogTest()
    {
        // The dialogs find the skin archive among this program's resources.
        CPaintManagerUI::SetInstance(::GetModuleHandleW(NULL));
    }

    void StartService(const std::wstring& script)
    {
        ASSERT_TRUE(m_service.Start(CPinPipeClient::kPipeName, script));
        ASSERT_TRUE(m_service.WaitFor("listening"));
    }

    template <class Dialog> void Create(Dialog& dialog)
    {
        ASSERT_NE(dialog.Create(NULL, L"Pinwarden_QZ", kDialogStyle, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, NULL),
                  (HWND)NULL);
        dialog.CenterWindow();
    }

    // Wine hands wide lines on in the ANSI code page.
    bool Logged(const wchar_t* pstrLine)
    {
        char szNarrow[256] = "";
        ::WideCharToMultiByte(CP_ACP, 0, pstrLine, -1, szNarrow, sizeof(szNarrow), NULL, NULL);
        const std::string narrow(szNarrow);
        return m_debug.Holds(pstrLine) || m_debug.Holds(std::wstring(narrow.begin(), narrow.end()));
    }

    void ExpectNoLineHolds(const std::wstring& pin)
    {
        for (const std::wstring& line : m_debug.Lines()) EXPECT_EQ(line.find(pin), std::wstring::npos) << line.c_str();
    }

    void TearDown() override
    {
        if (!HasFailure()) return;
        for (const std::string& line : m_service.LogLines()) std::printf("service: %s\n", line.c_str());
        for (const std::wstring& line : m_debug.Lines()) std::printf("dialog: %ls\n", line.c_str());
    }

    CKeyService m_service;
    CDebugLines m_debug;
};

TEST_F(PinDialogTest, VerificationShowsEveryCheckAndReplyAndClosesWith1OnAcceptance)
{
    StartService(L"listen; request; reply 00 32; request; reply 00 34; request; reply 00 39; request; reply 00;"
                 L"request; reply 05*600; request; reply 01");
    CProbe<CPINVerifyWnd> dialog(L"verifyPIN.xml");
    Create(dialog);
    auto status = [&] { return dialog.Text(L"label_status"); };
    const std::wstring pin63(63, L'7');
    CModalSteps steps({
        EntryHasFocus,
        [&] {
            EXPECT_TRUE(::GetWindowLongW(dialog.GetHWND(), GWL_EXSTYLE) & WS_EX_TOPMOST);
            EXPECT_EQ(status(), L"");
            Enter();
            return true;
        },
        [&] {
            EXPECT_EQ(status(), L"Provide the PIN of FIDO");
            Type(L"123");
            Enter();
            return true;
        },
        [&] {
            EXPECT_EQ(status(), L"Your PIN of FIDO must be at least 4 characters.");
            Type(L"4");
            return true;
        },
        [&] {
            EXPECT_EQ(status(), L"");  // the fourth character takes the hint away
            Enter();
            return true;
        },
        [&] {
            EXPECT_EQ(status(), L"The PIN of FIDO is locked. Please initialize.");
            EXPECT_EQ(dialog.Text(L"edit_pin"), L"1234");
            PressKey(Entry(), VK_ESCAPE, kEscapeDown);  // does nothing
            Enter();
            return true;
        },
        [&] {
            EXPECT_EQ(status(), L"The PIN of FIDO is incorrect. Please plug the key.");
            dialog.Click(L"btn_ok");
            return true;
        },
        [&] {
            EXPECT_EQ(status(), L"The PIN of FIDO is incorrect. Please try again.");
            m_debug.Clear();
            Enter();
            return true;
        },
        [&] {
            EXPECT_EQ(status(), L"The PIN of FIDO is incorrect. Please try again.");  // a one-byte refusal
            EXPECT_TRUE(Logged(L"收到了服务端反馈，PIN验证失败"));
            dialog.Find(L"label_status")->SetText(L"");
            m_debug.Clear();
            Enter();
            return true;
        },
        [&] {
            // An overlong reply is a failed read whatever its status says.
            EXPECT_EQ(status(), L"The PIN of FIDO is incorrect. Please try again.");
            EXPECT_TRUE(m_debug.Holds(L"client:ReadFile from pipe failed"));
            EXPECT_FALSE(Logged(L"收到了服务端反馈，PIN验证失败"));
            dialog.Click(L"edit_pin");
            return true;
        },
        EntryHasFocus,
        [&] {
            Retype(pin63 + L"7");
            Enter();
            return true;
        },
        [&] {
            EXPECT_EQ(status(), L"Your PIN of FIDO must be less 63 characters.");
            m_debug.Clear();
            Type(L"\b");
            Enter();
            return true;
        },
    });
    EXPECT_EQ(dialog.ShowModal(), 1u);
    EXPECT_TRUE(steps.Finished());
    EXPECT_TRUE(Logged(L"收到了服务端反馈，PIN验证成功"));
    EXPECT_TRUE(m_debug.Holds(L"Sending 126 byte message"));
    EXPECT_EQ(m_service.WaitExit(), 0u);
    EXPECT_EQ(m_service.Count("connected"), 1);
    std::vector<std::string> requests = m_service.Requests();
    ASSERT_EQ(requests.size(), 6u);
    EXPECT_EQ(requests[0], "31 00 32 00 33 00 34 00");
    ExpectNoLineHolds(L"1234");
    ExpectNoLineHolds(pin63.substr(0, 8));
}

TEST_F(PinDialogTest, SettingChecksBothEntriesAndAsksAgainAfterARefusal)
{
    StartService(L"listen; request; reply 00; request; reply 01");
    CProbe<CSetPINWnd> dialog(L"SetPIN.xml");
    Create(dialog);
    auto first = [&] { return dialog.Text(L"label_pin"); };
    auto second = [&] { return dialog.Text(L"label_pin2"); };
    const std::wstring seventy(70, L'8');
    HWND hBox = NULL;
    CModalSteps steps({
        EntryHasFocus,
        [&] {
            EXPECT_TRUE(dialog.HasFocus(L"edit_pin"));
            EXPECT_EQ(second(), kInstruction);
            Enter();
            return true;
        },
        [&] {
            EXPECT_EQ(first(), L"Provide a PIN");
            EXPECT_EQ(second(), kInstruction);
            Type(L"1");
            return true;
        },
        [&] {
            EXPECT_EQ(second(), L"");  // the first keystroke took the instruction away
            Enter();
            return true;
        },
        [&] {
            EXPECT_EQ(first(), kTooShort);
            Retype(seventy);
            Enter();
            return true;
        },
        [&] {
            EXPECT_EQ(first(), kTooLong);
            Retype(L"12345");
            return true;
        },
        [&] {
            EXPECT_EQ(first(), L"");
            Tab();
            return true;
        },
        [&] { return dialog.HasFocus(L"edit_pin2") && EntryHasFocus(); },
        [&] {
            Enter();
            return true;
        },
        [&] {
            EXPECT_EQ(second(), L"Provide a PIN");
            Type(L"12");
            Enter();
            return true;
        },
        [&] {
            EXPECT_EQ(second(), kTooShort);
            Retype(seventy);
            Enter();
            return true;
        },
        [&] {
            EXPECT_EQ(second(), kTooLong);
            Retype(L"123456");
            Enter();
            return true;
        },
        [&] {
            EXPECT_EQ(second(), L"The provided PINs do not match.");
            Retype(L"12345");
            return true;
        },
        [&] {
            EXPECT_EQ(second(), L"");
            EXPECT_TRUE(m_service.Requests().empty());
            Enter();  // refused: the message box comes up in a loop of its own
            return true;
        },
        [&] {
            hBox = ::GetActiveWindow();
            EXPECT_NE(hBox, dialog.GetHWND());
            EXPECT_FALSE(::IsWindowEnabled(dialog.GetHWND()));
            PressKey(hBox, VK_RETURN, kEnterDown);
            return true;
        },
        [&] { return !::IsWindow(hBox) && dialog.HasFocus(L"edit_pin") && EntryHasFocus(); },
        [&] {
            EXPECT_EQ(dialog.Text(L"edit_pin"), L"");
            EXPECT_EQ(dialog.Text(L"edit_pin2"), L"");
            Type(L"5678");
            Tab();
            return true;
        },
        [&] { return dialog.HasFocus(L"edit_pin2") && EntryHasFocus(); },
        [&] {
            Type(L"5678");
            Enter();
            return true;
        },
    });
    EXPECT_EQ(dialog.ShowModal(), 1u);
    EXPECT_TRUE(steps.Finished());
    // Accepted: the connection went before the dialog.
    EXPECT_EQ(m_service.WaitExit(), 0u);
    EXPECT_EQ(m_service.Requests(),
              (std::vector<std::string>{"31 00 32 00 33 00 34 00 35 00", "35 00 36 00 37 00 38 00"}));
    EXPECT_FALSE(Logged(L"收到了服务端反馈，PIN验证失败"));
    ExpectNoLineHolds(L"12345");
    ExpectNoLineHolds(L"5678");
}

// Without a service the dialog shows once its wait is over (the program's is
// 20 s); a PIN then reads as a refusal, and the dialog can still be closed.
TEST_F(PinDialogTest, WithoutAServiceTheDialogShowsAfterTheWaitAndStaysUsable)
{
    CProbe<CPINVerifyWnd> dialog(L"verifyPIN.xml", 300);
    const ULONGLONG ullStart = ::GetTickCount64();
    Create(dialog);
    EXPECT_GE(::GetTickCount64() - ullStart, 280u);
    EXPECT_TRUE(m_debug.Holds(L"GetLastError: 0x00000002"));
    CModalSteps steps({
        EntryHasFocus,
        [&] {
            Type(L"7777");
            Enter();
            return true;
        },
        [&] {
            EXPECT_EQ(dialog.Text(L"label_status"), L"The PIN of FIDO is incorrect. Please try again.");
            EXPECT_TRUE(m_debug.Holds(L"client: WriteFile to pipe failed"));
            return ClickCloseButton(dialog.GetHWND());
        },
    });
    EXPECT_EQ(dialog.ShowModal(), 2u);
    EXPECT_TRUE(steps.Finished());
}

// The close button ends either dialog with 2; the setting dialog sends
// nothing more.
TEST_F(PinDialogTest, TheCloseButtonEndsEitherDialogWith2)
{
    StartService(L"listen; listen");
    CProbe<CPINVerifyWnd> verify(L"verifyPIN.xml");
    Create(verify);
    {
        CModalSteps steps({EntryHasFocus, [&] { return ClickCloseButton(verify.GetHWND()); }});
        EXPECT_EQ(verify.ShowModal(), 2u);
    }
    CProbe<CSetPINWnd> setting(L"SetPIN.xml");
    ASSERT_TRUE(m_service.WaitFor("listening", 2));
    Create(setting);
    {
        CModalSteps steps({EntryHasFocus, [&] { return ClickCloseButton(setting.GetHWND()); }});
        EXPECT_EQ(setting.ShowModal(), 2u);
    }
    EXPECT_EQ(m_service.Count("connected"), 2);
    EXPECT_TRUE(m_service.Requests().empty());
}

} // namespace
