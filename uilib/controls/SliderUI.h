#pragma once

#include "controls/ControlState.h"
#include "controls/ProgressUI.h"

namespace SkinLib {

// A progress bar with a thumb that the user drags; a release on the track
// moves the value there and the wheel steps it, each announced with
// "valuechanged". A disabled slider takes no input.
class CSliderUI : public CProgressUI
{
public:
    CSliderUI();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(tagTEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

    // The change of one wheel notch.
    int GetChangeStep() const;
    void SetChangeStep(int nStep);
    void SetThumbSize(SIZE szXY);
    // Where the thumb is drawn, in window client coordinates.
    RECT GetThumbRect() const;
    const wchar_t* GetThumbImage() const;
    void SetThumbImage(const wchar_t* pStrImage);
    const wchar_t* GetThumbHotImage() const;
    void SetThumbHotImage(const wchar_t* pStrImage);
    const wchar_t* GetThumbPushedImage() const;
    void SetThumbPushedImage(const wchar_t* pStrImage);

protected:
    // The value a point of the track stands for; the ends take half a thumb each.
    int ValueAt(POINT pt) const;

    SIZE m_szThumb;
    UINT m_uButtonState;  // CTLSTATE_HOT, and CTLSTATE_CAPTURED while the thumb is dragged
    int m_nStep;
    CSkinString m_sThumbImage;
    CSkinString m_sThumbHotImage;
    CSkinString m_sThumbPushedImage;
    // The value when the thumb was taken: a drag stores its values as it
    // goes, and its release reports the change from here.
    int m_nPressValue;
};

} // namespace SkinLib
