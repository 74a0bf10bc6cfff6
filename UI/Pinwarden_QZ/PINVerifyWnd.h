#pragma once
#include "PinDialogWnd.h"

// Asks for the key's existing PIN, sends it to the key service and closes once
// the service accepts it; a refusal or a length error shows why, and the user
// may try again on the same connection.
class CPINVerifyWnd : public CPinDialogWnd
{
public:
    explicit CPINVerifyWnd(const wchar_t* pstrSkinFile);

    void InitWindow() override;
    void Notify(SkinLib::tagTNotifyUI& msg) override;

protected:
    void OnBnClickedOk() override;

private:
    void ShowStatus(const wchar_t* pstrText);

    SkinLib::CControlUI* m_pBtnOk;
    SkinLib::CControlUI* m_pEditPin;
    SkinLib::CControlUI* m_pLabelStatus;
};
