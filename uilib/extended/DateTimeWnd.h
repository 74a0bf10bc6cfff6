#pragma once

#include "controls/NativePopup.h"
#include "extended/DateTimeUI.h"

namespace SkinLib {

// The system's date-time picker a CDateTimeUI opens over itself while it has
// the focus: a superclass of "SysDateTimePick32", a child of the paint window.
class CDateTimeWnd final : public CNativePopupWnd
{
public:
    explicit CDateTimeWnd(CNativePopup& popup);

    // The owner's whole rectangle, padding included.
    RECT ComputeRect() const override;
    // The picker's calendar.
    bool IsDropDown(HWND hWnd) const override;
    // Loads the owner's date into the picker and gives it the focus; the
    // owner's update flag starts again.
    void LoadDate();

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

protected:
    LPCWSTR GetWndClassName() const override;
    LPCWSTR GetSuperClassName() const override;
    bool Open() override;
    void OnClosing() override;

private:
    CDateTimeUI* Owner() const;
};

} // namespace SkinLib
