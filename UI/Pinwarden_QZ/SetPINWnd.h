#pragma once
#include "PinDialogWnd.h"

// Lets the user choose the key's new PIN, typed twice. Both entries are checked
// before anything is sent; a refusal is reported in the skinned message box,
// after which the user tries again or gives up.
class CSetPINWnd : public CPinDialogWnd
{
public:
    explicit CSetPINWnd(const wchar_t* pstrSkinFile);

    void InitWindow() override;
    void Notify(SkinLib::tagTNotifyUI& msg) override;

protected:
    void OnBnClickedOk() override;

private:
    // The length error for an entry of nLength characters, or null.
    static const wchar_t* LengthError(int nLength);
    static void SetText(SkinLib::CControlUI* pControl, const wchar_t* pstrText);
    void OnEntryChanged();
    // Accepted, or given up after a refusal: the connection goes first.
    void Finish();

    SkinLib::CControlUI* m_pBtnOk;
    SkinLib::CControlUI* m_pEditPin;
    SkinLib::CControlUI* m_pEditPin2;
    SkinLib::CControlUI* m_pLabelPin;
    SkinLib::CControlUI* m_pLabelPin2;
};
