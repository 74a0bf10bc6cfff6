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

    HBRUSH m_hBkBrush;  // owned
    bool m_bInTextChange;
    bool* m_pbGone;     // set when the object goes while a notification runs
};

} // namespace SkinLib
