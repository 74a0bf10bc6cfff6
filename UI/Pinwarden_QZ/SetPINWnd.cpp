#include "SetPINWnd.h"

#include "SkinMessageBox.h"

using namespace SkinLib;

CSetPINWnd::CSetPINWnd(const wchar_t* pstrSkinFile)
    : CPinDialogWnd(pstrSkinFile), m_pBtnOk(NULL), m_pEditPin(NULL), m_pEditPin2(NULL), m_pLabelPin(NULL),
      m_pLabelPin2(NULL)
{
}

void CSetPINWnd::InitWindow()
{
    m_pBtnOk = m_PaintManager.FindControl(L"btn_ok");
    m_pEditPin = m_PaintManager.FindControl(L"edit_pin");
    m_pEditPin2 = m_PaintManager.FindControl(L"edit_pin2");
    m_pLabelPin = m_PaintManager.FindControl(L"label_pin");
    m_pLabelPin2 = m_PaintManager.FindControl(L"label_pin2");
    SetText(m_pLabelPin2, L"Click \"OK\" ,then touch the sensor to finish the setting");
    // The native entry opens once the window is laid out, so the PIN can be
    // typed as soon as the dialog shows.
    m_PaintManager.SetFocusNeeded(m_pEditPin);
    ConnectToService();
}

void CSetPINWnd::Notify(tagTNotifyUI& msg)
{
    if (msg.pSenderControl != NULL) {
        const CSkinString& sName = msg.pSenderControl->GetName();
        const bool bEntry = sName == L"edit_pin" || sName == L"edit_pin2";
        if (msg.sNotifyType == L"click") {
            if (sName == L"btn_ok") OnBnClickedOk();
            else if (sName == L"closebtn" || sName == L"btn_cancel") Close(2);
        } else if (msg.sNotifyType == L"textchanged") {
            if (bEntry) OnEntryChanged();
        } else if (msg.sNotifyType == L"setfocus") {
            if (bEntry) SelectAll(msg.pSenderControl);
        }
    }
    WindowImplBase::Notify(msg);
}

void CSetPINWnd::SetText(CControlUI* pControl, const wchar_t* pstrText)
{
    if (pControl != NULL) pControl->SetText(pstrText);
}

const wchar_t* CSetPINWnd::LengthError(int nLength)
{
    if (nLength == 0) return L"Provide a PIN";
    if (nLength < PIN_MIN_LENGTH) return L"Your PIN must be at least 4 characters.";
    if (nLength > PIN_MAX_LENGTH) return L"Your PIN must be less than  63 characters..";
    return NULL;
}

// The hints go as soon as an entry is long enough, and the instruction under
// the confirmation with the first keystroke that makes the entries differ.
void CSetPINWnd::OnEntryChanged()
{
    const CEntryText pin(m_pEditPin);
    const CEntryText confirmation(m_pEditPin2);
    if (pin.GetLength() >= PIN_MIN_LENGTH) SetText(m_pLabelPin, L"");
    if (confirmation.GetLength() >= PIN_MIN_LENGTH) SetText(m_pLabelPin2, L"");
    if (pin.Get() != confirmation.Get()) SetText(m_pLabelPin2, L"");
}

void CSetPINWnd::OnBnClickedOk()
{
    {
        const CEntryText pin(m_pEditPin);
        if (const wchar_t* pstrError = LengthError(pin.GetLength())) {
            SetText(m_pLabelPin, pstrError);
            return;
        }
        const CEntryText confirmation(m_pEditPin2);
        const wchar_t* pstrError = LengthError(confirmation.GetLength());
        if (pstrError == NULL && pin.Get() != confirmation.Get()) pstrError = L"The provided PINs do not match.";
        if (pstrError != NULL) {
            SetText(m_pLabelPin2, pstrError);
            return;
        }
    }

    const PinExchangeResult result = ExchangePin(m_pEditPin);
    switch (GetPinReplyAction(result)) {
    case PIN_ACTION_ACCEPTED:
        Finish();
        break;
    case PIN_ACTION_CLOSE:
        Close(1);
        break;
    case PIN_ACTION_READ_FAILED:
        ::OutputDebugStringW(L"client:ReadFile from pipe failed");
        break;
    case PIN_ACTION_REFUSED:
        switch (ShowSkinMessageBox(m_hWnd, L"", L"Set pin failed", MB_TOPMOST)) {
        case IDCANCEL:
            Finish();
            break;
        case IDOK:
            SetText(m_pEditPin, L"");
            SetText(m_pEditPin2, L"");
            // The box took the keyboard from the entry; the new attempt is
            // typed at once, as the first was.
            m_PaintManager.SetFocusNeeded(m_pEditPin);
            break;
        default:
            break;
        }
        break;
    }
}

void CSetPINWnd::Finish()
{
    m_pipe.Close();
    Close(1);
}
