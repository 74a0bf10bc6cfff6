#pragma once
// A modal message box drawn from the skin "MsgBox.xml" instead of the system's:
// an icon, the message (mark-up allowed, lines split at "\n") and one or two
// buttons made in code, answered like the system box (IDOK, IDCANCEL, IDYES,
// IDNO).
#include <windows.h>

#include "controls/ButtonUI.h"
#include "controls/ContainerUI.h"
#include "core/SkinString.h"
#include "core/StdPtrArray.h"
#include "core/WindowImplBase.h"

class CSkinMessageBox : public SkinLib::WindowImplBase
{
public:
    // uType in the system box's coding: MB_OK, MB_OKCANCEL or MB_YESNO, an icon
    // (none, MB_ICONERROR, MB_ICONWARNING, anything else: information) and
    // MB_TOPMOST.
    CSkinMessageBox(const wchar_t* pstrSkinFile, const wchar_t* pstrTitle, const wchar_t* pstrText, UINT uType);

    // 0 until the user answers.
    int GetResult() const;

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void InitWindow() override;
    void Notify(SkinLib::tagTNotifyUI& msg) override;

protected:
    LPCWSTR GetWndClassName() const override;
    SkinLib::CSkinString GetSkinDirectory() override;
    SkinLib::CSkinString GetSkinXmlName() override;

private:
    // The text's rows once wrapped at 350 pixels and the height of one, in the
    // box's font 0.
    void MeasureText(int& nWidth, int& nRows, int& nLineHeight);
    void CreateButtons();
    SkinLib::CButtonUI* CreateButton(const wchar_t* pstrText);
    static SkinLib::CButtonUI* CreateButtonEx(const wchar_t* pstrText, RECT rc, SIZE szRound, DWORD dwBkColor,
                                              DWORD dwBkColor2, DWORD dwTextColor, int iFont);
    void LayoutButtons(SkinLib::CContainerUI* pBox);

    SkinLib::CSkinString m_sText;
    SkinLib::CSkinString m_sTitle;
    UINT m_uType;
    SkinLib::CSkinString m_sSkinFile;
    int m_nTitleHeight;
    SkinLib::CSkinString m_sIconFile;
    SkinLib::CStdPtrArray m_aButtons;  // CButtonUI*, owned by the control tree once laid out
    int m_nResult;
};

// Shows a box over hOwner (which stays disabled until it closes) and returns
// the user's answer, 0 when the box was closed without one.
int ShowSkinMessageBox(HWND hOwner, LPCWSTR pstrCaption, LPCWSTR pstrText, UINT uType);
// Closes the box shown last, if any, without an answer.
void CloseSkinMessageBox();
