#pragma once

#include <windows.h>

#include <climits>

#include "core/EventSource.h"
#include "core/PaintManagerUI.h"
#include "core/SkinString.h"

namespace SkinLib {

// Capabilities a control reports through GetControlFlags.
enum SKIN_CONTROL_FLAGS : UINT
{
    CTLFLAG_TABSTOP = 0x00000001,
    CTLFLAG_SETCURSOR = 0x00000002,
    CTLFLAG_LISTITEM = 0x00000004,
};

// How FindControl walks a tree.
enum SKIN_FIND_FLAGS : UINT
{
    FINDFLAG_ANY = 0x00000000,
    FINDFLAG_VISIBLE = 0x00000001,
    FINDFLAG_ENABLED = 0x00000002,
    FINDFLAG_HITTEST = 0x00000004,  // the data is a POINT
    FINDFLAG_TOPFIRST = 0x00000008,
    FINDFLAG_MEFIRST = 0x80000000,
};

// Where a floating control goes when its parent changes size: shares of the
// parent's change, in percent, added to its left and top edges and to its size.
// The shares are taken of the change since szParentSize was first recorded,
// which the container does once, so that many small resizes add up to what one
// large resize gives.
struct tagTRelativePosUI
{
    bool bIsRelative;
    SIZE szParentSize;  // cx 0: not recorded yet
    int nOffsetXPct;
    int nOffsetYPct;
    int nGrowXPct;
    int nGrowYPct;
};

// Layout arithmetic is done in 64 bits and brought back with these, so that
// huge sizes from a skin saturate instead of wrapping.
inline int ClampToInt(long long n)
{
    return n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : static_cast<int>(n);
}

// rc less the margins on each side, in 64 bits: insets and paddings come from
// skins and may be huge.
inline RECT ShrinkRect(const RECT& rc, const RECT& rcMargins)
{
    return RECT{ClampToInt(static_cast<long long>(rc.left) + rcMargins.left),
                ClampToInt(static_cast<long long>(rc.top) + rcMargins.top),
                ClampToInt(static_cast<long long>(rc.right) - rcMargins.right),
                ClampToInt(static_cast<long long>(rc.bottom) - rcMargins.bottom)};
}

// A size held to a control's limits. The minimum is applied first and the
// maximum last, so the maximum wins when the limits cross.
inline int LimitSize(int n, int nMin, int nMax)
{
    if (n < nMin) n = nMin;
    if (n > nMax) n = nMax;
    return n;
}

// The part of a parent's size change that a relative percentage moves an edge by.
inline int RelativeShare(int nChange, int nPercent)
{
    return ClampToInt(static_cast<long long>(nChange) * nPercent / 100);
}

// Offered each control a walk lets through; a non-null result ends the walk.
typedef CControlUI* (CALLBACK* FINDCONTROLPROC)(CControlUI*, void*);

// The base of every windowless control: a rectangle of the paint window that
// the window's CPaintManagerUI lays out, paints and feeds with events.
class CControlUI
{
public:
    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;
    virtual ~CControlUI();

    virtual const CSkinString& GetName() const;
    virtual void SetName(const wchar_t* pstrName);
    virtual const wchar_t* GetClass() const;
    virtual void* GetInterface(const wchar_t* pstrName);
    virtual UINT GetControlFlags() const;
    virtual bool Activate();
    virtual CPaintManagerUI* GetManager() const;
    virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
    virtual CControlUI* GetParent() const;
    virtual CSkinString GetText() const;
    virtual void SetText(const wchar_t* pstrText);

    // Placement.
    virtual const RECT& GetPos() const;
    virtual void SetPos(RECT rc);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT rcPadding);
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE szXY);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);
    virtual void SetRelativePos(SIZE szMove, SIZE szZoom);
    virtual void SetRelativeParentSize(SIZE sz);
    virtual tagTRelativePosUI GetRelativePos() const;
    virtual bool IsRelativePos() const;

    // Tooltip, shortcut and the application's own data.
    virtual CSkinString GetToolTip() const;
    virtual void SetToolTip(const wchar_t* pstrText);
    virtual void SetToolTipWidth(int nWidth);
    virtual int GetToolTipWidth() const;
    virtual wchar_t GetShortcut() const;
    virtual void SetShortcut(wchar_t ch);
    virtual bool IsContextMenuUsed() const;
    virtual void SetContextMenuUsed(bool bMenuUsed);
    virtual const CSkinString& GetUserData() const;
    virtual void SetUserData(const wchar_t* pstrText);
    virtual UINT GetTag() const;
    virtual void SetTag(UINT uTag);

    // State.
    virtual bool IsVisible() const;
    virtual void SetVisible(bool bVisible = true);
    virtual void SetInternVisible(bool bVisible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool bEnable = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool bEnable = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool bEnable = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool bFloat = true);

    virtual CControlUI* FindControl(FINDCONTROLPROC Proc, void* pData, UINT uFlags);
    virtual void Init();
    virtual void DoInit();
    virtual void Event(tagTEventUI& event);
    virtual void DoEvent(tagTEventUI& event);
    virtual void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue);
    virtual SIZE EstimateSize(SIZE szAvailable);

    // Painting, in the order DoPaint calls the steps.
    virtual void DoPaint(HDC hDC, const RECT& rcPaint);
    virtual void PaintBkColor(HDC hDC);
    virtual void PaintBkImage(HDC hDC);
    virtual void PaintStatusImage(HDC hDC);
    virtual void PaintText(HDC hDC);
    virtual void PaintBorder(HDC hDC);
    virtual void DoPostPaint(HDC hDC, const RECT& rcPaint);

    // Pairs name="value" separated by one blank; stops at the first malformed pair.
    CControlUI* ApplyAttributeList(const wchar_t* pstrList);

    // The routing name of this control's notifications: its own, else its parent's.
    CSkinString GetVirtualWnd() const;
    void SetVirtualWnd(const wchar_t* pstrValue);

    void Invalidate();
    bool IsUpdateNeeded() const;
    void NeedUpdate();
    void NeedParentUpdate();

    // Background and border. Colours are 0xAARRGGBB, 0 meaning none.
    DWORD GetBkColor() const;
    void SetBkColor(DWORD dwBackColor);
    DWORD GetBkColor2() const;
    void SetBkColor2(DWORD dwBackColor);
    DWORD GetBkColor3() const;
    void SetBkColor3(DWORD dwBackColor);
    const CSkinString& GetBkImage() const;
    void SetBkImage(const wchar_t* pStrImage);
    DWORD GetBorderColor() const;
    void SetBorderColor(DWORD dwBorderColor);
    DWORD GetFocusBorderColor() const;
    void SetFocusBorderColor(DWORD dwBorderColor);
    bool IsColorHSL() const;
    void SetColorHSL(bool bColorHSL);
    int GetBorderSize() const;
    void SetBorderSize(int nSize);
    void SetBorderSize(RECT rc);
    int GetLeftBorderSize() const;
    void SetLeftBorderSize(int nSize);
    int GetTopBorderSize() const;
    void SetTopBorderSize(int nSize);
    int GetRightBorderSize() const;
    void SetRightBorderSize(int nSize);
    int GetBottomBorderSize() const;
    void SetBottomBorderSize(int nSize);
    int GetBorderStyle() const;
    void SetBorderStyle(int nStyle);
    SIZE GetBorderRound() const;
    void SetBorderRound(SIZE cxyRound);

    // The colour as painted: through the manager's hue, saturation and
    // lightness when colour HSL is on.
    DWORD GetAdjustColor(DWORD dwColor) const;
    // An image description over the item rectangle, clipped to the paint rectangle.
    bool DrawImage(HDC hDC, const wchar_t* pStrImage, const wchar_t* pStrModify = NULL);

    CEventSource OnInit;
    CEventSource OnDestroy;
    CEventSource OnSize;
    CEventSource OnEvent;
    CEventSource OnNotify;

protected:
    // A control that takes no mouse input hands mouse events to its parent;
    // true when the event was such a one.
    bool PassOnMouseEvent(tagTEventUI& event);
    // The hot bit of uState follows the mouse into and out of an enabled
    // control (a mouse-enter or mouse-leave event); false, and nothing
    // changed, while the control is disabled.
    bool FollowMouseHot(const tagTEventUI& event, UINT& uState);
    bool ClipToAncestors(RECT& rc) const;
    void NeedPlacementUpdate();
    // Stores an image description of a state and repaints.
    void SetStateImage(CSkinString& sImage, const wchar_t* pStrImage);
    // Draws an image description, with a modifier such as "dest='...'" when
    // given; one that fails is emptied, so it is tried once.
    bool DrawImageOnce(HDC hDC, CSkinString& sImage, const wchar_t* pStrModify = NULL);
    // The state bits uState of a control drawing one image per state, with
    // the focused and disabled bits as they are now.
    UINT RefreshPaintState(UINT uState) const;

    CPaintManagerUI* m_pManager;
    CControlUI* m_pParent;
    CSkinString m_sVirtualWnd;
    CSkinString m_sName;
    bool m_bUpdateNeeded;
    bool m_bMenuUsed;
    RECT m_rcItem;
    RECT m_rcPadding;
    SIZE m_szFixedXY;
    int m_nFixedWidth;
    int m_nFixedHeight;
    int m_nMinWidth;
    int m_nMinHeight;
    int m_nMaxWidth;
    int m_nMaxHeight;
    bool m_bVisible;
    bool m_bInternVisible;
    bool m_bEnabled;
    bool m_bMouseEnabled;
    bool m_bKeyboardEnabled;
    bool m_bFocused;
    bool m_bFloat;
    bool m_bInSizeEvent;
    tagTRelativePosUI m_RelativePos;
    CSkinString m_sText;
    CSkinString m_sToolTip;
    wchar_t m_chShortcut;
    CSkinString m_sUserData;
    UINT m_uTag;
    DWORD m_dwBackColor;
    DWORD m_dwBackColor2;
    DWORD m_dwBackColor3;
    CSkinString m_sBkImage;
    CSkinString m_sForeImage;
    DWORD m_dwBorderColor;
    DWORD m_dwFocusBorderColor;
    bool m_bColorHSL;
    int m_nBorderSize;
    int m_nBorderStyle;
    int m_nTooltipWidth;
    SIZE m_szBorderRound;
    RECT m_rcPaint;
    int m_nLeftBorderSize;
    int m_nTopBorderSize;
    int m_nRightBorderSize;
    int m_nBottomBorderSize;
};

} // namespace SkinLib
