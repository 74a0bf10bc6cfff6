#pragma once

#include "controls/ControlUI.h"
#include "core/WindowWnd.h"

namespace SkinLib {

class CNativePopupWnd;

// The life of the native child window a control opens over itself while it
// has the focus (the edit's text box, the date-time picker): opened by the
// focus or a click, kept while the keyboard focus stays with it, closed when
// the focus leaves or the control is hidden, disabled, moved out of its window
// or deleted. The control holds one as a member; the window deletes itself
// when it is gone and clears the link here on its final message.
class CNativePopup : private IMessageFilterUI
{
public:
    // Makes a new, unopened window for the pop-up; null when out of memory.
    typedef CNativePopupWnd* (*PFNMAKEWINDOW)(CNativePopup& popup);

    CNativePopup(CControlUI& owner, PFNMAKEWINDOW pfnMakeWindow);
    CNativePopup(const CNativePopup&) = delete;
    CNativePopup& operator=(const CNativePopup&) = delete;
    // The window may outlive its owner for a moment, but never knowing it.
    ~CNativePopup();

    CControlUI& GetOwner() const;
    CNativePopupWnd* GetWindow() const;
    // Null while closed.
    HWND GetHWND() const;

    // Makes and opens the window; false, with nothing left behind, when it
    // cannot be made.
    bool Open();
    // Hands the keyboard focus to the window, opening it when there is none.
    void Focus();
    // Takes the window away from the owner at once; it goes on its own.
    void Close();
    // Whether the window should have the keyboard focus now.
    bool WantsFocus() const;
    // Places the window where the owner now is.
    void FollowOwner();

    // The owner's side of its focus events, of a change of size of the
    // window and of the wheel; true when the event goes no further.
    bool DoEvent(const tagTEventUI& event);
    // The owner goes to another manager or parent: leaving the tree or the
    // window ends the pop-up at once.
    void OwnerMoves(CPaintManagerUI* pManager, CControlUI* pParent);
    // A hidden or disabled owner gives up the focus and its window.
    void OwnerHiddenOrDisabled();

private:
    friend class CNativePopupWnd;

    // Keeps the window when the paint window takes the keyboard focus back
    // while the owner holds the manager's focus, as activation does or a
    // drop-down that closes.
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    void WatchFocus(bool bWatch);

    CControlUI& m_owner;
    PFNMAKEWINDOW m_pfnMakeWindow;
    CNativePopupWnd* m_pWindow;  // owned by the window itself
    bool m_bWatchingFocus;
};

// The window side: a superclassed system control, a child of the owner's
// paint window, that closes itself when it loses the keyboard focus and
// deletes itself once gone.
class CNativePopupWnd : public CWindowWnd
{
public:
    virtual ~CNativePopupWnd() = default;

    // The owner lets go: the window hides at once and closes itself.
    void Abandon();
    // The window's rectangle in the paint window for the owner as it is now.
    virtual RECT ComputeRect() const = 0;
    // Whether hWnd is a part this window dropped down, which takes the
    // keyboard focus from it without ending it.
    virtual bool IsDropDown(HWND hWnd) const;

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

protected:
    explicit CNativePopupWnd(CNativePopup& popup);

    // Creates the window for the owner and fills it; false when there is no window.
    virtual bool Open() = 0;
    // Opened again because the focus came back to the owner.
    virtual void OnReopened();
    // The window closes for good while its owner lives: what it holds goes
    // back to the owner.
    virtual void OnClosing();
    void OnFinalMessage(HWND hWnd) override;

    // Creates the window as a child of the owner's paint window over ComputeRect.
    bool CreateOverOwner(DWORD dwStyle);
    // Shows the window without activation and gives it the keyboard focus.
    void ShowFocused();
    // Closes the window at once, whether or not the owner still wants it.
    void Dismiss();
    // Null once the owner has let go.
    CControlUI* GetOwner() const;

    bool m_bInit;

private:
    friend class CNativePopup;

    CNativePopup* m_pPopup;  // null once the owner has let go
    bool m_bDismissed;
};

} // namespace SkinLib
