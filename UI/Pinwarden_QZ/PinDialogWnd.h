#pragma once
// What the verification and the setting dialog share: the skin they are built
// from, the connection to the key service, the keys they take and the care
// they give the PIN.
#include <windows.h>

#include "PinMessages.h"
#include "PinPipeClient.h"
#include "controls/ControlUI.h"
#include "core/SkinString.h"
#include "core/WindowImplBase.h"

// A copy of an entry's text, wiped when it goes: every read of a PIN entry
// goes through one, so no stray copy of the PIN is left in freed memory.
class CEntryText
{
public:
    explicit CEntryText(SkinLib::CControlUI* pEntry);
    ~CEntryText();

    const SkinLib::CSkinString& Get() const { return m_sText; }
    int GetLength() const { return m_sText.GetLength(); }

private:
    CEntryText(const CEntryText&) = delete;
    CEntryText& operator=(const CEntryText&) = delete;

    SkinLib::CSkinString m_sText;
};

class CPinDialogWnd : public SkinLib::WindowImplBase
{
public:
    explicit CPinDialogWnd(const wchar_t* pstrSkinFile);
    ~CPinDialogWnd() override;

    // Enter confirms; Enter and Escape reach no control, so Escape does not
    // close the dialog.
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

protected:
    LPCWSTR GetWndClassName() const override;
    SkinLib::CSkinString GetSkinDirectory() override;
    SkinLib::CSkinString GetSkinXmlName() override;
    SkinLib::UILIB_RESOURCETYPE GetResourceType() const override;
    LPCWSTR GetResourceID() const override;

    // The OK button, or Enter.
    virtual void OnBnClickedOk() = 0;

    // The end of InitWindow: connects (the window shows only after that) and
    // puts the window above every other.
    void ConnectToService();
    // Sends the entry's text as the PIN and reads the reply. The text is kept
    // only for the exchange. Input that queued up while the reply was awaited
    // is dropped: a second Enter or click the user gave a dialog that seemed
    // stuck must not send the PIN again.
    PinExchangeResult ExchangePin(SkinLib::CControlUI* pEntry);
    // Selects the whole text of an entry that got the focus.
    static void SelectAll(SkinLib::CControlUI* pEntry);

    CPinPipeClient m_pipe;

private:
    static void DropQueuedInput();

    SkinLib::CSkinString m_sSkinFile;
    SkinLib::CSkinString m_sPinText;
};
