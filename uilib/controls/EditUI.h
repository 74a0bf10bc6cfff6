#pragma once

#include "controls/ControlState.h"
#include "controls/LabelUI.h"
#include "controls/NativePopup.h"

namespace SkinLib {

// The single-line text entry. Closed, it is a label that shows its text (or one
// mask character per character in password mode) over state images; with the
// focus it opens a native edit window over its text area, copies every change
// back and sends "textchanged", and sends "return" on Enter.
class CEditUI : public CLabelUI
{
public:
    CEditUI();
    ~CEditUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetText(const wchar_t* pstrText) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(tagTEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    void SetMaxChar(UINT uMax);
    UINT GetMaxChar() const;
    void SetReadOnly(bool bReadOnly);
    bool IsReadOnly() const;
    // Takes effect when the native window next opens.
    void SetNumberOnly(bool bNumberOnly);
    bool IsNumberOnly() const;
    int GetWindowStyls() const;
    void SetPasswordMode(bool bPasswordMode);
    bool IsPasswordMode() const;
    // 0 is refused: a masked text must never show in clear.
    void SetPasswordChar(wchar_t cPasswordChar);
    wchar_t GetPasswordChar() const;

    const wchar_t* GetNormalImage() const;
    void SetNormalImage(const wchar_t* pStrImage);
    const wchar_t* GetHotImage() const;
    void SetHotImage(const wchar_t* pStrImage);
    const wchar_t* GetFocusedImage() const;
    void SetFocusedImage(const wchar_t* pStrImage);
    const wchar_t* GetDisabledImage() const;
    void SetDisabledImage(const wchar_t* pStrImage);
    // 0xFFFFFFFF: the system's own colours.
    void SetNativeEditBkColor(DWORD dwBkColor);
    DWORD GetNativeEditBkColor() const;

    // Selection and replacement in the open native window; nothing while closed.
    void SetSel(long nStartChar, long nEndChar);
    void SetSelAll();
    void SetReplaceSel(const wchar_t* lpszReplace);

private:
    // The edit's own window writes what is typed straight into the text.
    friend class CEditWnd;

    static CNativePopupWnd* MakeWindow(CNativePopup& popup);

protected:
    CNativePopup m_Popup;  // the native edit window, while open
    UINT m_uMaxChar;
    bool m_bReadOnly;
    bool m_bPasswordMode;
    wchar_t m_cPasswordChar;
    UINT m_uButtonState;
    CSkinString m_sNormalImage;
    CSkinString m_sHotImage;
    CSkinString m_sFocusedImage;
    CSkinString m_sDisabledImage;
    DWORD m_dwNativeEditBkColor;
    int m_iWindowStyls;
};

} // namespace SkinLib
