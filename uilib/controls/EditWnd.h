#pragma once

#include "controls/EditUI.h"
#include "core/WindowWnd.h"

namespace SkinLib {

// The native edit window a CEditUI opens over its text area while it has the
// focus: a superclass of the system "Edit" class, a child of the paint window.
// It deletes itself once its window is gone.
class CEditWnd final : public CWindowWnd
{
public:
    CEditWnd();

    // Creates the window for the owner. On failure the object may already be
    // deleted: the owner's pointer to it tells.
    void Open(CEditUI* pOwner);
    // The owner's text area, one line of its font high and vertically centred.
    RECT ComputeEditRect() const;
    // The owner lets go: the window hides at once and closes itself.
    void Abandon();

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

protected:
    LPCWSTR GetWndClassName() const override;
    LPCWSTR GetSuperClassName() const override;
    void OnFinalMessage(HWND hWnd) override;

private:
    LRESULT HandleKillFocus(WPARAM wParam, LPARAM lParam);
    LRESULT HandleTextChange();
    LRESULT HandleCtlColor(HDC hDC);
    bool IsMasked();

    CEditUI* m_pOwner;  // null once the owner has let go
    HBRUSH m_hBkBrush;  // owned
    bool m_bInit;
    bool m_bInTextChange;
    bool* m_pbGone;     // set when the object goes while a notification runs
};

} // namespace SkinLib
