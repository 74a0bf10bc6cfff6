#pragma once

#include "controls/EditUI.h"
#include "controls/NativePopup.h"

namespace SkinLib {

// The native edit window a CEditUI opens over its text area while it has the
// focus: a superclass of the system "Edit" class, a child of the paint window.
class CEditWnd final : public CNativePopupWnd
{
public:
    explicit CEditWnd(CNativePopup& popup);
    ~CEditWnd() override;

    // The owner's text area, one line of its font high and vertically centred.
    RECT ComputeRect() const override;
    // A masked text is overwritten where the native edit keeps it before the
    // new one takes its place.
    void ReplaceText(const wchar_t* pstrText);

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

protected:
    LPCWSTR GetWndClassName() const override;
    LPCWSTR GetSuperClassName() const override;
    bool Open() override;
    void OnReopened() override;

private:
    CEditUI* Owner() const;
    LRESULT HandleTextChange();
    LRESULT HandleCtlColor(HDC hDC);
    bool IsMasked();
    // Overwrites with filler what the native edit keeps of a masked text
    // beside the text itself (its undo buffer, the stale end of its text
    // buffer) and, with bText, the text itself, character by character in
    // place; then empties the undo buffer.
    void WipeMaskedText(bool bText);

    HBRUSH m_hBkBrush;  // owned
    bool m_bWiping;     // the changes the wiping makes are not the user's
    int m_cchMost;      // the longest text the window has held
    bool* m_pbGone;     // while "textchanged" runs: set when the object goes
};

} // namespace SkinLib
