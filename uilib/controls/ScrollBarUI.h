#pragma once

#include <windows.h>

#include "controls/ControlUI.h"
#include "controls/ControlState.h"
#include "core/SkinString.h"

namespace SkinLib {

class CContainerUI;

// The skinned scroll bar: two buttons, a thumb on a track and a grip mark on
// the thumb (the rail), each drawn from an image per state. A bar with an
// owner asks the owning container to scroll; one without scrolls itself and
// sends "scroll".
class CScrollBarUI : public CControlUI
{
public:
    CScrollBarUI();
    ~CScrollBarUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;

    CContainerUI* GetOwner() const;
    void SetOwner(CContainerUI* pOwner);
    bool IsHorizontal() const;
    void SetHorizontal(bool bHorizontal = true);
    int GetScrollRange() const;
    void SetScrollRange(int nRange);
    int GetScrollPos() const;
    void SetScrollPos(int nPos);
    int GetLineSize() const;
    void SetLineSize(int nSize);
    bool GetShowButton1() const;
    void SetShowButton1(bool bShow);
    bool GetShowButton2() const;
    void SetShowButton2(bool bShow);

    const wchar_t* GetButton1NormalImage() const;
    void SetButton1NormalImage(const wchar_t* pStrImage);
    const wchar_t* GetButton1HotImage() const;
    void SetButton1HotImage(const wchar_t* pStrImage);
    const wchar_t* GetButton1PushedImage() const;
    void SetButton1PushedImage(const wchar_t* pStrImage);
    const wchar_t* GetButton1DisabledImage() const;
    void SetButton1DisabledImage(const wchar_t* pStrImage);
    const wchar_t* GetButton2NormalImage() const;
    void SetButton2NormalImage(const wchar_t* pStrImage);
    const wchar_t* GetButton2HotImage() const;
    void SetButton2HotImage(const wchar_t* pStrImage);
    const wchar_t* GetButton2PushedImage() const;
    void SetButton2PushedImage(const wchar_t* pStrImage);
    const wchar_t* GetButton2DisabledImage() const;
    void SetButton2DisabledImage(const wchar_t* pStrImage);
    const wchar_t* GetThumbNormalImage() const;
    void SetThumbNormalImage(const wchar_t* pStrImage);
    const wchar_t* GetThumbHotImage() const;
    void SetThumbHotImage(const wchar_t* pStrImage);
    const wchar_t* GetThumbPushedImage() const;
    void SetThumbPushedImage(const wchar_t* pStrImage);
    const wchar_t* GetThumbDisabledImage() const;
    void SetThumbDisabledImage(const wchar_t* pStrImage);
    const wchar_t* GetRailNormalImage() const;
    void SetRailNormalImage(const wchar_t* pStrImage);
    const wchar_t* GetRailHotImage() const;
    void SetRailHotImage(const wchar_t* pStrImage);
    const wchar_t* GetRailPushedImage() const;
    void SetRailPushedImage(const wchar_t* pStrImage);
    const wchar_t* GetRailDisabledImage() const;
    void SetRailDisabledImage(const wchar_t* pStrImage);
    const wchar_t* GetBkNormalImage() const;
    void SetBkNormalImage(const wchar_t* pStrImage);
    const wchar_t* GetBkHotImage() const;
    void SetBkHotImage(const wchar_t* pStrImage);
    const wchar_t* GetBkPushedImage() const;
    void SetBkPushedImage(const wchar_t* pStrImage);
    const wchar_t* GetBkDisabledImage() const;
    void SetBkDisabledImage(const wchar_t* pStrImage);

    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    void SetFocus() override;
    void DoEvent(tagTEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    void PaintBk(HDC hDC);
    void PaintButton1(HDC hDC);
    void PaintButton2(HDC hDC);
    void PaintThumb(HDC hDC);
    void PaintRail(HDC hDC);

    // The local id of the auto-repeat timer.
    enum { REPEAT_TIMERID = 10 };

protected:
    // One image description per state, in the order the states are looked at.
    struct PartImages
    {
        CSkinString sNormal;
        CSkinString sHot;
        CSkinString sPushed;
        CSkinString sDisabled;
    };

    bool m_bHorizontal;
    int m_nRange;
    int m_nScrollPos;
    int m_nLineSize;
    CContainerUI* m_pOwner;
    POINT m_ptLastMouse;
    int m_nLastScrollPos;
    int m_nLastScrollOffset;
    int m_nScrollRepeatDelay;
    PartImages m_bkImages;
    bool m_bShowButton1;
    RECT m_rcButton1;
    UINT m_uButton1State;
    PartImages m_button1Images;
    bool m_bShowButton2;
    RECT m_rcButton2;
    UINT m_uButton2State;
    PartImages m_button2Images;
    RECT m_rcThumb;
    UINT m_uThumbState;
    PartImages m_thumbImages;
    PartImages m_railImages;
    CSkinString m_sImageModify;

private:
    int Thickness() const;
    void StepLine(bool bForward);
    void StepPage(bool bForward);
    void StepTowards(POINT pt);
    void ScrollThumbTo(int nPos);
    void NotifyScroll();
    void EndPress();
    void SetPartImage(CSkinString& sImage, const wchar_t* pStrImage);
    bool DrawPart(HDC hDC, UINT& uState, PartImages& images, const RECT* prcDest);
};

} // namespace SkinLib
