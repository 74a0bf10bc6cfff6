#include "PINVerifyWnd.h"

using namespace SkinLib;

CPINVerifyWnd::CPINVerifyWnd(const wchar_t* pstrSkinFile)
    : CPinDialogWnd(pstrSkinFile), m_pBtnOk(NULL), m_pEditPin(NULL), m_pLabelStatus(NULL)
{
}

void CPINVerifyWnd::InitWindow()
{
    m_pBtnOk = m_PaintManager.FindControl(L"btn_ok");
    m_pEditPin = m_PaintManager.FindControl(L"edit_pin");
    m_pLabelStatus = m_PaintManager.FindControl(L"label_status");
    // The native entry opens once the window is laid out, so the PIN can be
    // typed as soon as the dialog shows.
    m_PaintManager.SetFocusNeeded(m_pEditPin);
    ConnectToService();
}

void CPINVerifyWnd::Notify(tagTNotifyUI& msg)
{
    if (msg.pSenderControl != NULL) {
        const CSkinString& sName = msg.pSenderControl->GetName();
        if (msg.sNotifyType == L"click") {
            if (sName == L"btn_ok") OnBnClickedOk();
            else if (sName == L"closebtn") Close(2);
        } else if (msg.sNotifyType == L"textchanged") {
            if (sName == L"edit_pin" && CEntryText(m_pEditPin).GetLength() >= PIN_MIN_LENGTH) ShowStatus(L"");
        } else if (msg.sNotifyType == L"setfocus") {
            if (sName == L"edit_pin") SelectAll(m_pEditPin);
        }
    }
    WindowImplBase::Notify(msg);
}

void CPINVerifyWnd::ShowStatus(const wchar_t* pstrText)
{
    if (m_pLabelStatus != NULL) m_pLabelStatus->SetText(pstrText);
}

void CPINVerifyWnd::OnBnClickedOk()
{
    const int nLength = CEntryText(m_pEditPin).GetLength();
    if (nLength == 0) {
        ShowStatus(L"Provide the PIN of FIDO");
        return;
    }
    if (nLength < PIN_MIN_LENGTH) {
        ShowStatus(L"Your PIN of FIDO must be at least 4 characters.");
        return;
    }
    if (nLength > PIN_MAX_LENGTH) {
        ShowStatus(L"Your PIN of FIDO must be less 63 characters.");
        return;
    }

    const PinExchangeResult result = ExchangePin(m_pEditPin);
    switch (GetPinReplyAction(result)) {
    case PIN_ACTION_ACCEPTED:
        ::OutputDebugStringW(L"收到了服务端反馈，PIN验证成功");
        Close(1);
        break;
    case PIN_ACTION_CLOSE:
        Close(1);
        break;
    case PIN_ACTION_READ_FAILED:
        ::OutputDebugStringW(L"client:ReadFile from pipe failed");
        ShowStatus(L"The PIN of FIDO is incorrect. Please try again.");
        break;
    case PIN_ACTION_REFUSED:
        ::OutputDebugStringW(L"收到了服务端反馈，PIN验证失败");
        switch (GetPinRefusalReason(result.bReason)) {
        case PIN_REASON_LOCKED:
            ShowStatus(L"The PIN of FIDO is locked. Please initialize.");
            break;
        case PIN_REASON_REPLUG:
            ShowStatus(L"The PIN of FIDO is incorrect. Please plug the key.");
            break;
        default:
            ShowStatus(L"The PIN of FIDO is incorrect. Please try again.");
            break;
        }
        break;
    }
}
