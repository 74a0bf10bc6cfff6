// CLineLayoutUI, the part the vertical and horizontal layouts share:
//   - placement of the children along the axis, and the children a paint or
//     a hit test has to look at found from it
//   - the separator strip: its rectangle, the drag, the preview bar and the
//     ends of a drag that never sees its button-up
#include "controls/LineLayoutUI.h"

#include <wchar.h>

#include <climits>

#include "controls/ScrollBarUI.h"
#include "core/AttributeValue.h"
#include "core/RenderEngine.h"

namespace SkinLib {

namespace {

const DWORD kPreviewColor = 0xAA000000;

// The window still holds the mouse for this manager.
bool HoldsCapture(CPaintManagerUI* pManager)
{
    return pManager->IsCaptured() && ::GetCapture() == pManager->GetPaintWindow();
}

// The first child in line (visible, not floating) whose rectangle meets the
// condition, or the child count; the condition must hold for every child in
// line after one that meets it. Children out of line are stepped over.
template <class Condition>
int FindFirstInLine(const CStdPtrArray& items, Condition meets)
{
    auto child = [&items](int i) { return static_cast<const CControlUI*>(items.GetAt(i)); };
    auto inLine = [&child](int i) { return child(i)->IsVisible() && !child(i)->IsFloat(); };
    int iLow = 0, iHigh = items.GetSize(), iFound = iHigh;
    // The answer is iFound or lies in [iLow, iHigh).
    while (iLow < iHigh) {
        const int iMid = iLow + (iHigh - iLow) / 2;
        int i = iMid;
        while (i < iHigh && !inLine(i)) ++i;
        if (i == iHigh) {
            iHigh = iMid;
        }
        else if (meets(child(i)->GetPos())) {
            iFound = i;
            iHigh = iMid;
        }
        else {
            iLow = i + 1;
        }
    }
    return iFound;
}

} // namespace

CLineLayoutUI::CLineLayoutUI(bool bHorizontal)
    : m_axis{bHorizontal}, m_iSepSize(0), m_uSepState(0), m_ptLastMouse(), m_rcNewPos(), m_bImmMode(false),
      m_bPlacedInOrder(false), m_aFloating(sizeof(int), 0)
{
}

CLineLayoutUI::~CLineLayoutUI()
{
    if (!IsDragging() || m_pManager == NULL) return;
    if (!m_bImmMode) m_pManager->RemovePostPaint(this);
    if (HoldsCapture(m_pManager)) m_pManager->ReleaseCapture();
}

UINT CLineLayoutUI::GetControlFlags() const
{
    return IsEnabled() && m_iSepSize != 0 ? UINT{CTLFLAG_SETCURSOR} : 0u;
}

// ---------------------------------------------------------------------------
// Placement

void CLineLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    const RECT rcArea = GetClientArea();
    if (m_items.IsEmpty()) {
        ProcessScrollBar(rcArea, 0, 0);
        return;
    }
    const SIZE szAvailable = GetAvailableSize(rcArea);
    const int nNeeded = ClampToInt(PlaceLine(rcArea, szAvailable, MeasureLine(szAvailable), false));
    ProcessScrollBar(rcArea, m_axis.bHorizontal ? nNeeded : 0, m_axis.bHorizontal ? 0 : nNeeded);
}

SIZE CLineLayoutUI::GetAvailableSize(const RECT& rcArea) const
{
    // The content is as wide as the area and what the horizontal bar scrolls
    // beside it; the vertical bar follows the content's height instead.
    return SIZE{ClampToInt(static_cast<long long>(rcArea.right) - rcArea.left +
                           (IsHorizontalBarShown() ? m_pHorizontalScrollBar->GetScrollRange() : 0)),
                ClampToInt(static_cast<long long>(rcArea.bottom) - rcArea.top)};
}

CLineLayoutUI::LineMeasure CLineLayoutUI::MeasureLine(SIZE szAvailable) const
{
    const LayoutAxis& ax = m_axis;
    // What the sized children, their padding and the gaps take; a size of 0
    // along the axis asks for a share of the rest.
    LineMeasure m = {};
    int nLaidOut = 0;  // visible children that do not float
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = ChildAt(i);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        SIZE sz = pControl->EstimateSize(szAvailable);
        long long n = ax.Along(sz);
        if (n == 0) ++m.nStretchers;
        else n = LimitSize(ClampToInt(n), ax.MinAlong(*pControl), ax.MaxAlong(*pControl));
        RECT rcPadding = pControl->GetPadding();
        m.nFixed += n + ax.Lead(rcPadding) + ax.Trail(rcPadding);
        const int nAcross = LimitSize(ax.Across(sz) > 0 ? ax.Across(sz) : 0, ax.MinAcross(*pControl),
                                      ax.MaxAcross(*pControl));
        if (nAcross >= m.nCrossNeeded) m.nCrossNeeded = nAcross;
        ++nLaidOut;
    }
    m.nGaps = nLaidOut > 1 ? static_cast<long long>(nLaidOut - 1) * m_iChildPadding : 0;
    m.nFixed += m.nGaps;
    if (m.nStretchers > 0) {
        m.nExpand = (ax.Along(szAvailable) - m.nFixed) / m.nStretchers;
        if (m.nExpand < 0) m.nExpand = 0;
    }
    return m;
}

long long CLineLayoutUI::PlaceLine(const RECT& rcArea, SIZE szAvailable, const LineMeasure& measure,
                                   bool bAcrossToContent)
{
    const LayoutAxis& ax = m_axis;
    CScrollBarUI* pAlongBar = ax.bHorizontal ? m_pHorizontalScrollBar.get() : m_pVerticalScrollBar.get();
    CScrollBarUI* pCrossBar = ax.bHorizontal ? m_pVerticalScrollBar.get() : m_pHorizontalScrollBar.get();
    auto scrolled = [](const CScrollBarUI* pBar) { return pBar != NULL && pBar->IsVisible() ? pBar->GetScrollPos() : 0; };
    const long long nAvailableAcross = ax.Across(szAvailable);

    long long nPos = ax.Lead(rcArea) - static_cast<long long>(scrolled(pAlongBar));
    const long long nCross = ax.CrossLead(rcArea) - static_cast<long long>(scrolled(pCrossBar));
    long long nRemaining = ax.Along(szAvailable);
    // Still holds the paddings and gaps, which are never taken off: the last
    // stretcher comes out short by them. Skins are laid out with that.
    long long nFixedLeft = measure.nFixed;
    long long nNeeded = 0;
    int nStretchersLeft = measure.nStretchers;
    m_bPlacedInOrder = true;
    m_aFloating.Empty();
    RECT rcLast = {LONG_MIN, LONG_MIN, LONG_MIN, LONG_MIN};
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = ChildAt(i);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            // Without room for the index a paint looks at every child.
            if (!m_aFloating.Add(&i)) m_bPlacedInOrder = false;
            continue;
        }
        RECT rcPadding = pControl->GetPadding();
        const long long nPadLead = ax.Lead(rcPadding), nPadTrail = ax.Trail(rcPadding);
        const long long nPadCrossLead = ax.CrossLead(rcPadding), nPadCrossTrail = ax.CrossTrail(rcPadding);
        nRemaining -= nPadLead;
        SIZE szRemaining = szAvailable;
        ax.Along(szRemaining) = ClampToInt(nRemaining);
        SIZE sz = pControl->EstimateSize(szRemaining);
        long long n = ax.Along(sz);
        if (n == 0) {
            n = measure.nExpand;
            if (--nStretchersLeft == 0) {
                n = nRemaining - nPadTrail - nFixedLeft;
                if (n < 0) n = 0;
            }
            n = LimitSize(ClampToInt(n), ax.MinAlong(*pControl), ax.MaxAlong(*pControl));
        }
        else {
            n = LimitSize(ClampToInt(n), ax.MinAlong(*pControl), ax.MaxAlong(*pControl));
            nFixedLeft -= n;
        }
        const long long nRoom = nAvailableAcross - nPadCrossLead - nPadCrossTrail;
        long long nAcross = bAcrossToContent ? (measure.nCrossNeeded > nRoom ? measure.nCrossNeeded : nRoom)
                                             : ax.FixedAcross(*pControl);
        if (nAcross == 0) nAcross = nRoom;
        if (nAcross < 0) nAcross = 0;
        nAcross = LimitSize(ClampToInt(nAcross), ax.MinAcross(*pControl), ax.MaxAcross(*pControl));

        // The trailing padding lies inside the child's rectangle.
        RECT rcChild;
        ax.Lead(rcChild) = ClampToInt(nPos + nPadLead);
        ax.Trail(rcChild) = ClampToInt(nPos + nPadLead + n + nPadTrail);
        ax.CrossLead(rcChild) = ClampToInt(nCross + nPadCrossLead);
        ax.CrossTrail(rcChild) = ClampToInt(nCross + nPadCrossLead + nAcross);
        pControl->SetPos(rcChild);
        // Compared as placed: a child may keep another rectangle than it was given.
        const RECT& rcPlaced = pControl->GetPos();
        if (ax.Lead(rcPlaced) < ax.Lead(rcLast) || ax.Trail(rcPlaced) < ax.Trail(rcLast)) m_bPlacedInOrder = false;
        rcLast = rcPlaced;

        nPos += nPadLead + n + nPadTrail + m_iChildPadding;
        nNeeded += nPadLead + n + nPadTrail;
        nRemaining -= n + m_iChildPadding + nPadTrail;
    }
    return nNeeded + measure.nGaps;
}

CContainerUI::ChildSpan CLineLayoutUI::FindChildrenIn(const RECT& rc) const
{
    // A layout asked for is not placed yet: children may have come, gone or
    // changed since the last one.
    if (!m_bPlacedInOrder || IsUpdateNeeded()) return CContainerUI::FindChildrenIn(rc);
    const LayoutAxis& ax = m_axis;
    const LONG nLead = ax.Lead(rc), nTrail = ax.Trail(rc);
    ChildSpan span = {};
    span.iFirst = FindFirstInLine(m_items, [&](const RECT& rc) { return ax.Trail(rc) > nLead; });
    span.iLast = FindFirstInLine(m_items, [&](const RECT& rc) { return ax.Lead(rc) >= nTrail; }) - 1;
    span.piScattered = static_cast<const int*>(m_aFloating.GetData());
    span.nScattered = m_aFloating.GetSize();
    return span;
}

// ---------------------------------------------------------------------------
// The separator strip

void CLineLayoutUI::SetSepImmMode(bool bImmediately)
{
    if (m_bImmMode == bImmediately) return;
    if (IsDragging() && !m_bImmMode && m_pManager != NULL) m_pManager->RemovePostPaint(this);
    m_bImmMode = bImmediately;
}

bool CLineLayoutUI::IsSepImmMode() const
{
    return m_bImmMode;
}

bool CLineLayoutUI::IsDragging() const
{
    return (m_uSepState & CTLSTATE_CAPTURED) != 0;
}

RECT CLineLayoutUI::GetThumbRect(bool bUseNew) const
{
    const LayoutAxis& ax = m_axis;
    const RECT rcBase = bUseNew && IsDragging() ? m_rcNewPos : m_rcItem;
    RECT rc = rcBase;
    // A vertical layout cuts its strip at its far edge; a horizontal strip
    // wider than the layout reaches outside it.
    if (m_iSepSize >= 0) {
        long long nLead = static_cast<long long>(ax.Trail(rcBase)) - m_iSepSize;
        if (!ax.bHorizontal && nLead < ax.Lead(rcBase)) nLead = ax.Lead(rcBase);
        ax.Lead(rc) = ClampToInt(nLead);
    }
    else {
        long long nTrail = static_cast<long long>(ax.Lead(rcBase)) - m_iSepSize;
        if (!ax.bHorizontal && nTrail > ax.Trail(rcBase)) nTrail = ax.Trail(rcBase);
        ax.Trail(rc) = ClampToInt(nTrail);
    }
    return rc;
}

void CLineLayoutUI::DoEvent(tagTEventUI& event)
{
    if (m_iSepSize == 0) {
        CContainerUI::DoEvent(event);
        return;
    }
    const POINT pt = event.ptMousePos;
    switch (event.nEventType) {
    case SKIN_EVT_BUTTONDOWN: {
        const RECT rcStrip = GetThumbRect(false);
        if (!IsEnabled() || !::PtInRect(&rcStrip, pt)) break;
        m_uSepState |= CTLSTATE_CAPTURED;
        m_ptLastMouse = pt;
        m_rcNewPos = m_rcItem;
        if (!m_bImmMode && m_pManager != NULL) m_pManager->AddPostPaint(this);
        return;
    }
    case SKIN_EVT_BUTTONUP:
        if (!IsDragging()) break;
        // The manager has given the mouse back before the release reaches a control.
        EndDrag();
        return;
    case SKIN_EVT_MOUSEMOVE:
        if (!IsDragging()) break;
        // Another window took the mouse: no button-up will come to end the drag.
        if (m_pManager != NULL && m_pManager->IsCaptured() && !HoldsCapture(m_pManager)) EndDrag();
        else DragTo(pt);
        return;
    case SKIN_EVT_SETCURSOR: {
        const RECT rcStrip = GetThumbRect(false);
        if (!IsEnabled() || !::PtInRect(&rcStrip, pt)) break;
        ::SetCursor(::LoadCursorW(NULL, m_axis.bHorizontal ? IDC_SIZEWE : IDC_SIZENS));
        return;
    }
    default:
        break;
    }
    CContainerUI::DoEvent(event);
}

void CLineLayoutUI::DragTo(POINT pt)
{
    const LayoutAxis& ax = m_axis;
    const long long nPoint = ax.Along(pt);
    const long long d = nPoint - ax.Along(m_ptLastMouse);
    m_ptLastMouse = pt;
    RECT r = m_rcNewPos;
    const long long nOldExtent = ax.Extent(m_rcNewPos);
    const int nMin = ax.MinAlong(*this), nMax = ax.MaxAlong(*this);
    // The strip's edge follows the mouse only while the mouse is on its side
    // of the strip; the layout stays within its limits, and a move that
    // cannot change its size is dropped.
    if (m_iSepSize < 0) {
        LONG& nEdge = ax.Lead(r);
        if ((d > 0 && nPoint < nEdge) || (d < 0 && nPoint > static_cast<long long>(nEdge) - m_iSepSize)) return;
        nEdge = ClampToInt(nEdge + d);
        if (ax.Extent(r) <= nMin) {
            if (nOldExtent <= nMin) return;
            nEdge = ClampToInt(static_cast<long long>(ax.Trail(r)) - nMin);
        }
        if (ax.Extent(r) >= nMax) {
            if (nOldExtent >= nMax) return;
            nEdge = ClampToInt(static_cast<long long>(ax.Trail(r)) - nMax);
        }
    }
    else {
        LONG& nEdge = ax.Trail(r);
        if ((d > 0 && nPoint < static_cast<long long>(nEdge) - m_iSepSize) || (d < 0 && nPoint > nEdge)) return;
        nEdge = ClampToInt(nEdge + d);
        if (ax.Extent(r) <= nMin) {
            if (nOldExtent <= nMin) return;
            nEdge = ClampToInt(static_cast<long long>(ax.Lead(r)) + nMin);
        }
        if (ax.Extent(r) >= nMax) {
            if (nOldExtent >= nMax) return;
            nEdge = ClampToInt(static_cast<long long>(ax.Lead(r)) + nMax);
        }
    }
    const RECT rcOldStrip = GetThumbRect(true);
    m_rcNewPos = r;
    // Written straight into the field: in preview mode the parent must not
    // lay the layout out before the release.
    (ax.bHorizontal ? m_nFixedWidth : m_nFixedHeight) = ClampToInt(ax.Extent(r));
    if (m_bImmMode) {
        m_rcItem = r;
        NeedParentUpdate();
        return;
    }
    if (m_pManager == NULL) return;
    RECT rcDirty = rcOldStrip;
    const RECT rcNewStrip = GetThumbRect(true), rcStrip = GetThumbRect(false);
    ::UnionRect(&rcDirty, &rcDirty, &rcNewStrip);
    ::UnionRect(&rcDirty, &rcDirty, &rcStrip);
    m_pManager->Invalidate(rcDirty);
}

// The release ends a drag here, and so does whatever means that none will come
// (hiding, the mouse taken by another window); those may still hold the mouse
// and give it back.
void CLineLayoutUI::EndDrag()
{
    m_uSepState &= ~CTLSTATE_CAPTURED;
    m_rcItem = m_rcNewPos;
    if (m_pManager != NULL) {
        if (!m_bImmMode) m_pManager->RemovePostPaint(this);
        if (HoldsCapture(m_pManager)) m_pManager->ReleaseCapture();
    }
    NeedParentUpdate();
}

void CLineLayoutUI::SetVisible(bool bVisible)
{
    CContainerUI::SetVisible(bVisible);
    if (!IsVisible() && IsDragging()) EndDrag();
}

void CLineLayoutUI::SetInternVisible(bool bVisible)
{
    CContainerUI::SetInternVisible(bVisible);
    if (!IsVisible() && IsDragging()) EndDrag();
}

void CLineLayoutUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != NULL && wcscmp(pstrName, L"sepimm") == 0) SetSepImmMode(ParseBoolValue(pstrValue));
    else CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CLineLayoutUI::DoPostPaint(HDC hDC, const RECT& rcPaint)
{
    if (IsDragging() && !m_bImmMode) CRenderEngine::DrawColor(hDC, GetThumbRect(true), kPreviewColor);
}

} // namespace SkinLib
