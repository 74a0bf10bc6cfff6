#pragma once

#include "controls/ContainerUI.h"
#include "controls/ControlState.h"

namespace SkinLib {

// One column of a list header: a title, an image per state and a separator
// at one edge. Dragging the separator resizes the column; a press elsewhere
// sends "headerclick".
class CListHeaderItemUI : public CContainerUI
{
public:
    CListHeaderItemUI();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(tagTEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    // The fixed size when a height is fixed, else the fixed width and a line
    // of the default font and 14.
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    bool IsDragable() const;
    void SetDragable(bool bDragable);
    // Positive: a separator at the right edge; negative: at the left edge; 0: none.
    int GetSepWidth() const;
    void SetSepWidth(int iWidth);
    // 0 takes the manager's default colour at the next paint.
    DWORD GetTextColor() const;
    void SetTextColor(DWORD dwTextColor);
    void SetFont(int index);
    UINT GetTextStyle() const;
    void SetTextStyle(UINT uStyle);
    bool IsShowHtml() const;
    void SetShowHtml(bool bShowHtml = true);
    RECT GetTextPadding() const;
    void SetTextPadding(RECT rc);
    const wchar_t* GetNormalImage() const;
    void SetNormalImage(const wchar_t* pStrImage);
    const wchar_t* GetHotImage() const;
    void SetHotImage(const wchar_t* pStrImage);
    const wchar_t* GetPushedImage() const;
    void SetPushedImage(const wchar_t* pStrImage);
    const wchar_t* GetFocusedImage() const;
    void SetFocusedImage(const wchar_t* pStrImage);
    const wchar_t* GetSepImage() const;
    void SetSepImage(const wchar_t* pStrImage);
    // The separator zone: the strip of the separator's width along its edge.
    RECT GetThumbRect() const;

protected:
    // Where a press drags the separator: its zone widened by 4 pixels into
    // the column; empty when the column has no separator.
    RECT GetDragZone() const;

    POINT m_ptLastMouse;  // at the press, then after each accepted drag step
    bool m_bDragable;
    UINT m_uButtonState;  // CTLSTATE_FOCUSED, _HOT, _PUSHED, and _CAPTURED while dragging
    int m_iSepWidth;
    DWORD m_dwTextColor;
    int m_iFont;
    UINT m_uTextStyle;
    bool m_bShowHtml;
    RECT m_rcTextPadding;
    CSkinString m_sNormalImage;
    CSkinString m_sHotImage;
    CSkinString m_sPushedImage;
    CSkinString m_sFocusedImage;
    CSkinString m_sSepImage;
    CSkinString m_sSepImageModify;  // the separator's "dest" while painting
    // The width after the last accepted drag step: moves that come before the
    // next layout add up instead of each starting from the laid-out width.
    int m_cxDragWidth;
};

} // namespace SkinLib
