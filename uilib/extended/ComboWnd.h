#pragma once

#include "core/PaintManagerUI.h"
#include "core/WindowWnd.h"

namespace SkinLib {

class CComboUI;
class CVerticalLayoutUI;

// The drop-down of a CComboUI: a borderless top-level pop-up under the combo
// (or over it, where there is more room) that takes the focus. A paint
// manager of its own, which borrows the combo window's fonts, images and
// default attributes, shows the combo's own items in a vertical layout while
// it is open. It closes when it loses the focus, on a click in it anywhere
// but on its scroll bar, and on a selection; the items go back to the combo
// as it closes or when it is destroyed, whichever comes first. The window
// deletes itself once gone.
class CComboWnd final : public CWindowWnd
{
public:
    CComboWnd();

    // Creates and shows the window for the owner. False when there is no
    // window; the object is then gone with a window that was destroyed while
    // it was made, else it is the caller's to delete.
    bool Open(CComboUI& owner);
    // The owner lets go at once: the items go back now, the window hides and
    // goes on its own.
    void Abandon();
    // Scrolls the owner's item at iIndex into view, while the owner has a selection.
    void EnsureItemVisible(int iIndex);

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

protected:
    LPCWSTR GetWndClassName() const override;
    void OnFinalMessage(HWND hWnd) override;

private:
    // The screen rectangle for the owner's items under or over it.
    static RECT ComputeRect(CComboUI& owner);
    LRESULT OnCreate();
    // An owner's event made of the pop-up's input; then the selection is scrolled into view.
    void PassToOwner(tagTEventUI& event);
    // The items go back to the owner, which forgets the pop-up; once.
    void HandBack();

    CPaintManagerUI m_pm;
    CComboUI* m_pOwner;            // null once the items are back
    CVerticalLayoutUI* m_pLayout;  // the manager's root
};

} // namespace SkinLib
