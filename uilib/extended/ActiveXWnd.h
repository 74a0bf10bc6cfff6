#pragma once

#include "core/WindowWnd.h"

namespace SkinLib {

class CActiveXCtrl;

// The child window of the paint window that a windowed object lives in. Its
// site owns it and destroys it; the window only passes focus and activation
// on to the object.
class CActiveXWnd final : public CWindowWnd
{
public:
    CActiveXWnd();

    // Null when the window could not be made.
    HWND Init(CActiveXCtrl* pOwner, HWND hWndParent, const RECT& rcPos);

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

protected:
    LPCWSTR GetWndClassName() const override;

private:
    CActiveXCtrl* m_pOwner;
};

} // namespace SkinLib
