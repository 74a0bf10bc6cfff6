#pragma once

#include <windows.h>

#include <memory>

#include "controls/ControlUI.h"
#include "controls/IContainerUI.h"
#include "core/StdPtrArray.h"

namespace SkinLib {

class CScrollBarUI;

// A control holding an ordered list of children that it places over its inner
// area, paints under clipping and, when asked, scrolls with its own bars.
// The children are owned while auto destroy is on.
class CContainerUI : public CControlUI, public IContainerUI
{
public:
    CContainerUI();
    ~CContainerUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;

    // The child list.
    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

    virtual RECT GetInset() const;
    virtual void SetInset(RECT rcInset);
    virtual int GetChildPadding() const;
    virtual void SetChildPadding(int iPadding);
    virtual bool IsAutoDestroy() const;
    virtual void SetAutoDestroy(bool bAuto);
    virtual bool IsDelayedDestroy() const;
    virtual void SetDelayedDestroy(bool bDelayed);
    virtual bool IsMouseChildEnabled() const;
    virtual void SetMouseChildEnabled(bool bEnable = true);
    // The index of the nearest visible, enabled list item from iIndex on, or -1.
    virtual int FindSelectable(int iIndex, bool bForward = true) const;

    // Scrolling. Positions and ranges are those of the visible bars, 0 without one.
    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    virtual void SetScrollPos(SIZE szPos);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    virtual void PageLeft();
    virtual void PageRight();
    virtual void HomeLeft();
    virtual void EndRight();
    virtual void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false);
    virtual CScrollBarUI* GetVerticalScrollBar() const;
    virtual CScrollBarUI* GetHorizontalScrollBar() const;
    // Scrolls vertically by the least that shows rc, a child's rectangle,
    // between the inset and the horizontal bar; a rectangle taller than that
    // shows down to its bottom.
    void ScrollIntoView(const RECT& rc);

    // Places a floating child by its fixed place (and relative shares) in the item rectangle.
    virtual void SetFloatPos(int iIndex);
    // Called by layouts at the end of their SetPos with the area they filled
    // and the height their content needs: shows, ranges or hides the vertical
    // bar and lays out again when that changes the area.
    virtual void ProcessScrollBar(RECT rc, int cxRequired, int cyRequired);
    // For content cxRequired wide in a client area cxClient wide, when the
    // container has a horizontal bar: a hidden bar is shown with the range the
    // content needs beyond the area and position 0, a shown one takes the new
    // range (the bar clamps its position), and once the content fits the bar
    // is hidden with range and position 0. True when the bar was shown or
    // hidden: the caller's client area then loses or regains the bar's fixed
    // height at its bottom. Layouts call it before ProcessScrollBar.
    bool ProcessHorizontalScrollBar(int cxRequired, int cxClient);

    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetMouseEnabled(bool bEnable = true) override;
    CControlUI* FindControl(FINDCONTROLPROC Proc, void* pData, UINT uFlags) override;
    void DoEvent(tagTEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    // The item rectangle less the inset and the visible bars: where children show.
    RECT GetClientArea() const;

    // Controls of the subtree by name (ignoring case); they need a manager.
    CControlUI* FindSubControl(const wchar_t* pstrSubControlName);
    bool SetSubControlText(const wchar_t* pstrSubControlName, const wchar_t* pstrText);
    bool SetSubControlFixedHeight(const wchar_t* pstrSubControlName, int cy);
    bool SetSubControlFixedWdith(const wchar_t* pstrSubControlName, int cx);
    bool SetSubControlUserData(const wchar_t* pstrSubControlName, const wchar_t* pstrText);
    CSkinString GetSubControlText(const wchar_t* pstrSubControlName);
    int GetSubControlFixedHeight(const wchar_t* pstrSubControlName);
    int GetSubControlFixedWdith(const wchar_t* pstrSubControlName);
    CSkinString GetSubControlUserData(const wchar_t* pstrSubControlName);

protected:
    // The children that may meet a rectangle: those from iFirst to iLast, and
    // the nScattered ones whose indices piScattered lists in child order,
    // which may lie anywhere. Every other child misses the rectangle. Paints
    // and hit tests look only at these.
    struct ChildSpan
    {
        int iFirst;
        int iLast;
        const int* piScattered;
        int nScattered;
    };
    // A plain container cannot tell where its children lie: all of them.
    virtual ChildSpan FindChildrenIn(const RECT& rc) const;
    // The container's own child at iIndex, or null. The container's walks use
    // it rather than GetItemAt, which a derived container may answer for
    // children it keeps elsewhere.
    CControlUI* ChildAt(int iIndex) const { return static_cast<CControlUI*>(m_items.GetAt(iIndex)); }
    // The item rectangle less the inset.
    RECT GetInsetArea() const;
    bool IsVerticalBarShown() const;
    bool IsHorizontalBarShown() const;
    // Floating children by their fixed places, the others over rcArea.
    void PlaceItems(const RECT& rcArea);
    // The children under the client area's clip (floating ones under the
    // container's own), and the visible bars over them; the caller has
    // clipped to the item rectangle.
    void PaintItems(HDC hDC, const RECT& rcPaint);
    void PaintScrollBars(HDC hDC, const RECT& rcPaint);
    // Sets the visible bars' positions; how far each really moved (they clamp).
    SIZE MoveScrollBars(SIZE szPos);

    CStdPtrArray m_items;  // CControlUI*, owned while auto destroy is on
    RECT m_rcInset;
    int m_iChildPadding;
    bool m_bAutoDestroy;
    bool m_bDelayedDestroy;
    bool m_bMouseChildEnabled;
    bool m_bScrollProcess;
    std::unique_ptr<CScrollBarUI> m_pVerticalScrollBar;
    std::unique_ptr<CScrollBarUI> m_pHorizontalScrollBar;

private:
    // Calls visit with each child of the span in child order, or in the
    // reverse, until it answers true; true when one did.
    template <class Visit> bool VisitSpan(const ChildSpan& span, bool bReverse, Visit visit) const;
    bool IsSelfOrAncestor(const CControlUI* pControl) const;
    bool Insert(CControlUI* pControl, int iIndex);
    void ReleaseAll();
    void Release(CControlUI* pControl);
    void ScrollBy(LONG SIZE::*pAxis, long long nDelta);
    int GetLineSize() const;
    long long GetPageHeight() const;
    long long GetPageWidth() const;
    std::unique_ptr<CScrollBarUI> MakeScrollBar(bool bHorizontal);
};

} // namespace SkinLib
