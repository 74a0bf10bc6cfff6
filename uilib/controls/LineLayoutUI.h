#pragma once

#include <windows.h>

#include "controls/ContainerUI.h"
#include "controls/ControlState.h"
#include "core/StdValArray.h"

namespace SkinLib {

// The axis a line layout runs along. Lead and trail are the edges along it
// (top and bottom for a vertical layout), cross lead and cross trail the
// edges across it.
struct LayoutAxis
{
    bool bHorizontal;

    LONG& Lead(RECT& rc) const { return bHorizontal ? rc.left : rc.top; }
    LONG& Trail(RECT& rc) const { return bHorizontal ? rc.right : rc.bottom; }
    LONG& CrossLead(RECT& rc) const { return bHorizontal ? rc.top : rc.left; }
    LONG& CrossTrail(RECT& rc) const { return bHorizontal ? rc.bottom : rc.right; }
    LONG Lead(const RECT& rc) const { return bHorizontal ? rc.left : rc.top; }
    LONG Trail(const RECT& rc) const { return bHorizontal ? rc.right : rc.bottom; }
    LONG CrossLead(const RECT& rc) const { return bHorizontal ? rc.top : rc.left; }
    LONG CrossTrail(const RECT& rc) const { return bHorizontal ? rc.bottom : rc.right; }
    long long Extent(const RECT& rc) const { return static_cast<long long>(Trail(rc)) - Lead(rc); }
    long long CrossExtent(const RECT& rc) const { return static_cast<long long>(CrossTrail(rc)) - CrossLead(rc); }
    LONG Along(POINT pt) const { return bHorizontal ? pt.x : pt.y; }
    LONG& Along(SIZE& sz) const { return bHorizontal ? sz.cx : sz.cy; }
    LONG& Across(SIZE& sz) const { return bHorizontal ? sz.cy : sz.cx; }

    int MinAlong(const CControlUI& c) const { return bHorizontal ? c.GetMinWidth() : c.GetMinHeight(); }
    int MaxAlong(const CControlUI& c) const { return bHorizontal ? c.GetMaxWidth() : c.GetMaxHeight(); }
    int MinAcross(const CControlUI& c) const { return bHorizontal ? c.GetMinHeight() : c.GetMinWidth(); }
    int MaxAcross(const CControlUI& c) const { return bHorizontal ? c.GetMaxHeight() : c.GetMaxWidth(); }
    int FixedAcross(const CControlUI& c) const { return bHorizontal ? c.GetFixedHeight() : c.GetFixedWidth(); }
};

// What the vertical and horizontal layouts share: children lined up along
// one axis, sized ones kept within their limits and the stretchers sharing
// the rest; and a separator strip at one end that the user drags to resize
// the layout itself, live or with a preview bar painted over the window.
class CLineLayoutUI : public CContainerUI
{
public:
    ~CLineLayoutUI() override;

    UINT GetControlFlags() const override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void DoEvent(tagTEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

    // Immediate: the layout resizes on every move; else at the release.
    void SetSepImmMode(bool bImmediately);
    bool IsSepImmMode() const;
    // The separator strip; with bUseNew, where a drag under way has taken it.
    RECT GetThumbRect(bool bUseNew = false) const;

protected:
    // What the children ask for along the axis, from their estimates against
    // the available size.
    struct LineMeasure
    {
        long long nFixed;        // sized children, every child's padding, and the gaps
        long long nGaps;         // child padding between the children laid out
        long long nExpand;       // the share each stretching child gets
        int nStretchers;         // children whose estimate along the axis is 0
        long long nCrossNeeded;  // the largest estimate across the axis, within its child's limits
    };

    explicit CLineLayoutUI(bool bHorizontal);

    // The area's size, widened by what the horizontal bar scrolls beside it.
    SIZE GetAvailableSize(const RECT& rcArea) const;
    // The first pass: every visible child that does not float is estimated.
    LineMeasure MeasureLine(SIZE szAvailable) const;
    // The second pass: the children are placed one after another from the
    // area's leading edge, moved back by the bars' positions, and floating
    // ones at their fixed places; returns the extent taken along the axis.
    // Across the axis a child takes its fixed size, else the room the area
    // leaves it; with bAcrossToContent every child reaches as far as the
    // widest estimate or the room, whichever is more, whatever its fixed size.
    long long PlaceLine(const RECT& rcArea, SIZE szAvailable, const LineMeasure& measure, bool bAcrossToContent);
    // Between layouts only scrolling moves the children, all alike, so the
    // ones placed in line stay in order along the axis: those that reach into
    // the rectangle are found by bisection, and the floating ones are listed.
    ChildSpan FindChildrenIn(const RECT& rc) const override;

    const LayoutAxis m_axis;
    // Thickness of the strip: positive at the trailing edge, negative at the
    // leading edge, 0 for none.
    int m_iSepSize;
    UINT m_uSepState;  // CTLSTATE_CAPTURED while the strip is dragged
    POINT m_ptLastMouse;
    RECT m_rcNewPos;
    bool m_bImmMode;
    // As the last placement left them: whether the children in line never
    // step back along the axis (negative padding may make them), and the
    // indices of the visible floating children, in child order.
    bool m_bPlacedInOrder;
    CStdValArray m_aFloating;  // int

private:
    bool IsDragging() const;
    void DragTo(POINT pt);
    void EndDrag();
};

} // namespace SkinLib
