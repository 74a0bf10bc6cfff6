// CContainerUI, the control that holds others:
//   - construction, identity and the child list (ownership, delayed clean-up)
//   - settings, and visibility, mouse and manager passed on to the children
//   - searches: selectable items, controls of the subtree by name, hit tests
//   - placement: the plain layout, floating children, the vertical bar's extra
//     pass, the horizontal bar shown, ranged or hidden for the content's width
//   - scrolling: positions, ranges, the line, page and end steps, keys and the wheel
//   - skin attributes
//   - painting under clipping
#include "controls/ContainerUI.h"

#include <wchar.h>

#include <initializer_list>

#include "controls/ScrollBarUI.h"
#include "core/AttributeValue.h"
#include "core/RenderClip.h"

namespace SkinLib {

namespace {

// Whether two rectangles share a pixel. Asked of every child on every paint,
// so it stays out of the system library.
bool Meets(const RECT& a, const RECT& b)
{
    return a.left < a.right && a.top < a.bottom && b.left < b.right && b.top < b.bottom && a.left < b.right &&
           b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Calls set on the named control of the subtree; false when there is none.
template <class Set> bool SetOnSubControl(CContainerUI& container, const wchar_t* pstrName, Set set)
{
    CControlUI* pControl = container.FindSubControl(pstrName);
    if (pControl == NULL) return false;
    set(pControl);
    return true;
}

// Offered every control of a subtree leaving the window.
CControlUI* CALLBACK ForgetInManager(CControlUI* pControl, void* pManager)
{
    static_cast<CPaintManagerUI*>(pManager)->ReapObjects(pControl);
    return NULL;
}

} // namespace

CContainerUI::CContainerUI()
    : m_rcInset(), m_iChildPadding(0), m_bAutoDestroy(true), m_bDelayedDestroy(true), m_bMouseChildEnabled(true),
      m_bScrollProcess(false)
{
}

CContainerUI::~CContainerUI()
{
    // The children go with the container, not after the current message.
    m_bDelayedDestroy = false;
    ReleaseAll();
    m_pVerticalScrollBar.reset();
    m_pHorizontalScrollBar.reset();
}

const wchar_t* CContainerUI::GetClass() const
{
    return L"ContainerUI";
}

void* CContainerUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"IContainer") == 0) return static_cast<IContainerUI*>(this);
    if (wcscmp(pstrName, L"Container") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

// ---------------------------------------------------------------------------
// The child list

CControlUI* CContainerUI::GetItemAt(int iIndex) const
{
    return ChildAt(iIndex);
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const
{
    return m_items.Find(pControl);
}

bool CContainerUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    const int iOld = m_items.Find(pControl);
    if (iOld < 0) return false;
    // Checked before the child leaves its place: the list is one shorter
    // then, and an index past its end would lose the child.
    if (iIndex < 0 || iIndex >= m_items.GetSize()) return false;
    NeedUpdate();
    m_items.Remove(iOld);
    // Cannot fail: the slot just freed is still allocated.
    return m_items.InsertAt(iIndex, pControl);
}

int CContainerUI::GetCount() const
{
    return m_items.GetSize();
}

bool CContainerUI::Add(CControlUI* pControl)
{
    return Insert(pControl, m_items.GetSize());
}

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex)
{
    return Insert(pControl, iIndex);
}

// True for this container and each of its ancestors.
bool CContainerUI::IsSelfOrAncestor(const CControlUI* pControl) const
{
    for (const CControlUI* p = this; p != NULL; p = p->GetParent()) {
        if (p == pControl) return true;
    }
    return false;
}

bool CContainerUI::Insert(CControlUI* pControl, int iIndex)
{
    if (pControl == NULL || iIndex < 0 || iIndex > m_items.GetSize()) return false;
    // A child listed twice would be deleted twice; the container or an
    // ancestor of it as its own child would make the tree a cycle. A listed
    // child's parent is this container, so only those are looked for.
    if ((pControl->GetParent() == this && m_items.Find(pControl) >= 0) || IsSelfOrAncestor(pControl)) return false;
    if (!m_items.InsertAt(iIndex, pControl)) return false;
    // The parent link is made even without a manager, so that the cycle
    // check above sees trees that are built before they are attached.
    if (m_pManager != NULL) m_pManager->InitControls(pControl, this);
    else pControl->SetManager(NULL, this, false);
    if (IsVisible()) NeedUpdate();
    else pControl->SetInternVisible(false);
    return true;
}

bool CContainerUI::Remove(CControlUI* pControl)
{
    if (pControl == NULL) return false;
    const int iIndex = m_items.Find(pControl);
    if (iIndex < 0) return false;
    NeedUpdate();
    m_items.Remove(iIndex);
    Release(pControl);
    return true;
}

bool CContainerUI::RemoveAt(int iIndex)
{
    CControlUI* pControl = ChildAt(iIndex);
    return pControl != NULL && Remove(pControl);
}

void CContainerUI::RemoveAll()
{
    ReleaseAll();
    NeedUpdate();
}

void CContainerUI::ReleaseAll()
{
    // The list is emptied before any child goes, so that a destroy handler
    // never meets a half-deleted list.
    CStdPtrArray items(m_items);
    if (items.GetSize() != m_items.GetSize()) {
        // No memory for the copy: from the back, which needs none.
        while (!m_items.IsEmpty()) {
            CControlUI* pControl = ChildAt(m_items.GetSize() - 1);
            m_items.Remove(m_items.GetSize() - 1);
            Release(pControl);
        }
        return;
    }
    m_items.Empty();
    for (int i = 0; i < items.GetSize(); i++) Release(static_cast<CControlUI*>(items[i]));
}

// A child that has left the list: deleted, handed to the delayed clean-up or
// given back to the caller.
void CContainerUI::Release(CControlUI* pControl)
{
    const bool bDelayed = m_bAutoDestroy && m_bDelayedDestroy && m_pManager != NULL;
    if (m_bAutoDestroy && !bDelayed) {
        // Unparented first, so that its destroy handlers cannot reach back
        // into this container. The manager link stays: the destructor needs
        // it to make the window forget the control.
        pControl->SetManager(pControl->GetManager(), NULL, false);
        delete pControl;
        return;
    }
    // Out of the tree from now on: the window must not send it events,
    // focus, timers or name look-ups any more.
    if (m_pManager != NULL) pControl->FindControl(ForgetInManager, m_pManager, FINDFLAG_ANY);
    if (bDelayed) m_pManager->AddDelayedCleanup(pControl);
    else pControl->SetManager(NULL, NULL, false);
}

// ---------------------------------------------------------------------------
// Settings, visibility, mouse and manager

RECT CContainerUI::GetInset() const
{
    return m_rcInset;
}

void CContainerUI::SetInset(RECT rcInset)
{
    m_rcInset = rcInset;
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const
{
    return m_iChildPadding;
}

void CContainerUI::SetChildPadding(int iPadding)
{
    m_iChildPadding = iPadding;
    NeedUpdate();
}

bool CContainerUI::IsAutoDestroy() const
{
    return m_bAutoDestroy;
}

void CContainerUI::SetAutoDestroy(bool bAuto)
{
    m_bAutoDestroy = bAuto;
}

bool CContainerUI::IsDelayedDestroy() const
{
    return m_bDelayedDestroy;
}

void CContainerUI::SetDelayedDestroy(bool bDelayed)
{
    m_bDelayedDestroy = bDelayed;
}

bool CContainerUI::IsMouseChildEnabled() const
{
    return m_bMouseChildEnabled;
}

void CContainerUI::SetMouseChildEnabled(bool bEnable)
{
    m_bMouseChildEnabled = bEnable;
}

void CContainerUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) return;
    CControlUI::SetVisible(bVisible);
    for (int i = 0; i < m_items.GetSize(); i++) ChildAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool bVisible)
{
    CControlUI::SetInternVisible(bVisible);
    for (int i = 0; i < m_items.GetSize(); i++) ChildAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetMouseEnabled(bool bEnable)
{
    if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetMouseEnabled(bEnable);
    if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetMouseEnabled(bEnable);
    CControlUI::SetMouseEnabled(bEnable);
}

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    for (int i = 0; i < m_items.GetSize(); i++) ChildAt(i)->SetManager(pManager, this, bInit);
    if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetManager(pManager, this, bInit);
    if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetManager(pManager, this, bInit);
    CControlUI::SetManager(pManager, pParent, bInit);
}

// ---------------------------------------------------------------------------
// Searches

int CContainerUI::FindSelectable(int iIndex, bool bForward) const
{
    const int nCount = m_items.GetSize();
    if (nCount == 0) return -1;
    iIndex = LimitSize(iIndex, 0, nCount - 1);
    auto isSelectable = [this](int i) {
        CControlUI* pControl = ChildAt(i);
        return pControl->GetInterface(L"ListItem") != NULL && pControl->IsVisible() && pControl->IsEnabled();
    };
    if (bForward) {
        for (int i = iIndex; i < nCount; i++) {
            if (isSelectable(i)) return i;
        }
        return -1;
    }
    for (int i = iIndex; i >= 0; --i) {
        if (isSelectable(i)) return i;
    }
    return FindSelectable(0, true);
}

CControlUI* CContainerUI::FindSubControl(const wchar_t* pstrSubControlName)
{
    return m_pManager != NULL ? m_pManager->FindSubControlByName(this, pstrSubControlName) : NULL;
}

bool CContainerUI::SetSubControlText(const wchar_t* pstrSubControlName, const wchar_t* pstrText)
{
    return SetOnSubControl(*this, pstrSubControlName, [&](CControlUI* p) { p->SetText(pstrText); });
}

bool CContainerUI::SetSubControlFixedHeight(const wchar_t* pstrSubControlName, int cy)
{
    return SetOnSubControl(*this, pstrSubControlName, [&](CControlUI* p) { p->SetFixedHeight(cy); });
}

bool CContainerUI::SetSubControlFixedWdith(const wchar_t* pstrSubControlName, int cx)
{
    return SetOnSubControl(*this, pstrSubControlName, [&](CControlUI* p) { p->SetFixedWidth(cx); });
}

bool CContainerUI::SetSubControlUserData(const wchar_t* pstrSubControlName, const wchar_t* pstrText)
{
    return SetOnSubControl(*this, pstrSubControlName, [&](CControlUI* p) { p->SetUserData(pstrText); });
}

CSkinString CContainerUI::GetSubControlText(const wchar_t* pstrSubControlName)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    return pControl != NULL ? pControl->GetText() : CSkinString();
}

int CContainerUI::GetSubControlFixedHeight(const wchar_t* pstrSubControlName)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    return pControl != NULL ? pControl->GetFixedHeight() : -1;
}

int CContainerUI::GetSubControlFixedWdith(const wchar_t* pstrSubControlName)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    return pControl != NULL ? pControl->GetFixedWidth() : -1;
}

CSkinString CContainerUI::GetSubControlUserData(const wchar_t* pstrSubControlName)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    return pControl != NULL ? pControl->GetUserData() : CSkinString();
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC Proc, void* pData, UINT uFlags)
{
    if ((uFlags & FINDFLAG_VISIBLE) != 0 && !IsVisible()) return NULL;
    if ((uFlags & FINDFLAG_ENABLED) != 0 && !IsEnabled()) return NULL;
    const bool bHitTest = (uFlags & FINDFLAG_HITTEST) != 0;
    if (bHitTest && !::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData))) return NULL;
    // The bars lie over the children, so they come first.
    CControlUI* pResult = NULL;
    if (m_pVerticalScrollBar) pResult = m_pVerticalScrollBar->FindControl(Proc, pData, uFlags);
    if (pResult == NULL && m_pHorizontalScrollBar) pResult = m_pHorizontalScrollBar->FindControl(Proc, pData, uFlags);
    if (pResult != NULL) return pResult;
    // With mouse children off, the container answers for its whole inside.
    if (bHitTest && !m_bMouseChildEnabled) return CControlUI::FindControl(Proc, pData, uFlags);

    const bool bMeFirst = (uFlags & FINDFLAG_MEFIRST) != 0;
    if (bMeFirst) {
        pResult = CControlUI::FindControl(Proc, pData, uFlags);
        if (pResult != NULL) return pResult;
    }
    const RECT rcClient = bHitTest ? GetClientArea() : RECT{};
    const POINT pt = bHitTest ? *static_cast<const POINT*>(pData) : POINT{};
    // A hit test looks only at the children that may hold the point.
    const ChildSpan span = bHitTest ? FindChildrenIn(RECT{pt.x, pt.y, ClampToInt(pt.x + 1LL), ClampToInt(pt.y + 1LL)})
                                    : CContainerUI::FindChildrenIn(RECT{});
    VisitSpan(span, (uFlags & FINDFLAG_TOPFIRST) != 0, [&](CControlUI* pChild) {
        CControlUI* pFound = pChild->FindControl(Proc, pData, uFlags);
        // In the inset margin only floating children show: a floating child
        // is found there with whatever it holds.
        if (pFound == NULL || (bHitTest && !pChild->IsFloat() && !pFound->IsFloat() && !::PtInRect(&rcClient, pt))) {
            return false;
        }
        pResult = pFound;
        return true;
    });
    if (pResult != NULL || bMeFirst) return pResult;
    return CControlUI::FindControl(Proc, pData, uFlags);
}

// ---------------------------------------------------------------------------
// Placement

RECT CContainerUI::GetInsetArea() const
{
    return ShrinkRect(m_rcItem, m_rcInset);
}

RECT CContainerUI::GetClientArea() const
{
    RECT rc = GetInsetArea();
    if (IsVerticalBarShown()) rc.right = ClampToInt(static_cast<long long>(rc.right) - m_pVerticalScrollBar->GetFixedWidth());
    if (IsHorizontalBarShown()) {
        rc.bottom = ClampToInt(static_cast<long long>(rc.bottom) - m_pHorizontalScrollBar->GetFixedHeight());
    }
    return rc;
}

bool CContainerUI::IsVerticalBarShown() const
{
    return m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible();
}

bool CContainerUI::IsHorizontalBarShown() const
{
    return m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible();
}

void CContainerUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.IsEmpty()) return;
    PlaceItems(GetInsetArea());
}

void CContainerUI::PlaceItems(const RECT& rcArea)
{
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = ChildAt(i);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) SetFloatPos(i);
        else pControl->SetPos(rcArea);
    }
}

void CContainerUI::SetFloatPos(int iIndex)
{
    CControlUI* pControl = ChildAt(iIndex);
    if (pControl == NULL || !pControl->IsVisible() || !pControl->IsFloat()) return;

    // The fixed place counts from the left or top edge, or from the right or
    // bottom one when negative.
    const RECT& R = m_rcItem;
    const SIZE szXY = pControl->GetFixedXY();
    const long long w = pControl->GetFixedWidth(), h = pControl->GetFixedHeight();
    long long left = szXY.cx >= 0 ? R.left + static_cast<long long>(szXY.cx) : R.right + static_cast<long long>(szXY.cx) - w;
    long long top = szXY.cy >= 0 ? R.top + static_cast<long long>(szXY.cy) : R.bottom + static_cast<long long>(szXY.cy) - h;
    long long right = left + w, bottom = top + h;

    if (pControl->IsRelativePos()) {
        // Shares of the change since the parent size was first recorded; the
        // child's SetPos takes them back off its fixed place, so the record
        // must stay the first one for the place not to drift.
        const tagTRelativePosUI rel = pControl->GetRelativePos();
        const int W = GetWidth(), H = GetHeight();
        if (rel.szParentSize.cx != 0) {
            const int dW = ClampToInt(static_cast<long long>(W) - rel.szParentSize.cx);
            const int dH = ClampToInt(static_cast<long long>(H) - rel.szParentSize.cy);
            left += RelativeShare(dW, rel.nOffsetXPct);
            top += RelativeShare(dH, rel.nOffsetYPct);
            right = left + RelativeShare(dW, rel.nGrowXPct) + w;
            bottom = top + RelativeShare(dH, rel.nGrowYPct) + h;
        }
        else {
            pControl->SetRelativeParentSize(SIZE{W, H});
        }
    }
    pControl->SetPos(RECT{ClampToInt(left), ClampToInt(top), ClampToInt(right), ClampToInt(bottom)});
}

void CContainerUI::ProcessScrollBar(RECT rc, int cxRequired, int cyRequired)
{
    if (IsHorizontalBarShown()) {
        const int cy = m_pHorizontalScrollBar->GetFixedHeight();
        m_pHorizontalScrollBar->SetPos(
            RECT{rc.left, rc.bottom, rc.right, ClampToInt(static_cast<long long>(rc.bottom) + cy)});
    }
    CScrollBarUI* pBar = m_pVerticalScrollBar.get();
    if (pBar == NULL) return;
    const int nRange = ClampToInt(static_cast<long long>(cyRequired) - (static_cast<long long>(rc.bottom) - rc.top));

    if (!pBar->IsVisible()) {
        // Within the extra pass the bar is never shown again: content whose
        // height follows its width could otherwise show and hide it forever.
        if (nRange <= 0 || m_bScrollProcess) return;
        pBar->SetVisible(true);
        pBar->SetScrollRange(nRange);
        pBar->SetScrollPos(0);
        // Once more against the area the bar leaves.
        m_bScrollProcess = true;
        SetPos(m_rcItem);
        m_bScrollProcess = false;
        return;
    }

    if (nRange > 0) {
        const int cx = pBar->GetFixedWidth();
        pBar->SetPos(RECT{rc.right, rc.top, ClampToInt(static_cast<long long>(rc.right) + cx), rc.bottom});
        if (pBar->GetScrollRange() == nRange) return;
        const int nOldPos = pBar->GetScrollPos();
        pBar->SetScrollRange(nRange);
        // Only a position the shorter range lowered moves the content.
        if (pBar->GetScrollPos() >= nOldPos) return;
    }
    else {
        // Content that fits needs no bar, in the extra pass too.
        pBar->SetVisible(false);
        pBar->SetScrollPos(0);
        pBar->SetScrollRange(0);
    }
    SetPos(m_rcItem);
}

bool CContainerUI::ProcessHorizontalScrollBar(int cxRequired, int cxClient)
{
    CScrollBarUI* pBar = m_pHorizontalScrollBar.get();
    if (pBar == NULL) return false;
    const long long nRange = static_cast<long long>(cxRequired) - cxClient;
    if (nRange > 0) {
        const bool bShown = !pBar->IsVisible();
        pBar->SetScrollRange(ClampToInt(nRange));
        if (bShown) {
            pBar->SetVisible(true);
            pBar->SetScrollPos(0);
        }
        return bShown;
    }
    if (!pBar->IsVisible()) return false;
    pBar->SetVisible(false);
    pBar->SetScrollRange(0);
    pBar->SetScrollPos(0);
    return true;
}

// ---------------------------------------------------------------------------
// Scrolling

SIZE CContainerUI::GetScrollPos() const
{
    return SIZE{IsHorizontalBarShown() ? m_pHorizontalScrollBar->GetScrollPos() : 0,
                IsVerticalBarShown() ? m_pVerticalScrollBar->GetScrollPos() : 0};
}

SIZE CContainerUI::GetScrollRange() const
{
    return SIZE{IsHorizontalBarShown() ? m_pHorizontalScrollBar->GetScrollRange() : 0,
                IsVerticalBarShown() ? m_pVerticalScrollBar->GetScrollRange() : 0};
}

SIZE CContainerUI::MoveScrollBars(SIZE szPos)
{
    auto moveBar = [](CScrollBarUI* pBar, int nPos) {
        const int nOld = pBar->GetScrollPos();
        pBar->SetScrollPos(nPos);
        return pBar->GetScrollPos() - nOld;
    };
    return SIZE{IsHorizontalBarShown() ? moveBar(m_pHorizontalScrollBar.get(), szPos.cx) : 0,
                IsVerticalBarShown() ? moveBar(m_pVerticalScrollBar.get(), szPos.cy) : 0};
}

void CContainerUI::SetScrollPos(SIZE szPos)
{
    // The bars clamp; the content moves by what they really moved.
    const SIZE szMoved = MoveScrollBars(szPos);
    const long long dx = szMoved.cx, dy = szMoved.cy;
    if (dx == 0 && dy == 0) return;

    // Every child moves: their areas reach the window as one.
    CInvalidateBatch batch(m_pManager);
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = ChildAt(i);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        const RECT& rc = pControl->GetPos();
        pControl->SetPos(RECT{ClampToInt(rc.left - dx), ClampToInt(rc.top - dy), ClampToInt(rc.right - dx),
                              ClampToInt(rc.bottom - dy)});
    }
    Invalidate();
}

void CContainerUI::ScrollBy(LONG SIZE::*pAxis, long long nDelta)
{
    SIZE sz = GetScrollPos();
    sz.*pAxis = ClampToInt(sz.*pAxis + nDelta);
    SetScrollPos(sz);
}

void CContainerUI::ScrollIntoView(const RECT& rc)
{
    const RECT rcView = GetClientArea();
    if (rc.top >= rcView.top && rc.bottom < rcView.bottom) return;
    long long dy = 0;
    if (rc.top < rcView.top) dy = static_cast<long long>(rc.top) - rcView.top;
    if (rc.bottom > rcView.bottom) dy = static_cast<long long>(rc.bottom) - rcView.bottom;
    if (dy != 0) ScrollBy(&SIZE::cy, dy);
}

int CContainerUI::GetLineSize() const
{
    if (m_pManager == NULL) return 8;
    return ClampToInt(static_cast<long long>(m_pManager->GetDefaultFontInfo()->tmMetrics.tmHeight) + 8);
}

void CContainerUI::LineUp()
{
    ScrollBy(&SIZE::cy, -static_cast<long long>(GetLineSize()));
}

void CContainerUI::LineDown()
{
    ScrollBy(&SIZE::cy, GetLineSize());
}

void CContainerUI::PageUp()
{
    ScrollBy(&SIZE::cy, -GetPageHeight());
}

void CContainerUI::PageDown()
{
    ScrollBy(&SIZE::cy, GetPageHeight());
}

void CContainerUI::HomeUp()
{
    SIZE sz = GetScrollPos();
    sz.cy = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndDown()
{
    SIZE sz = GetScrollPos();
    sz.cy = GetScrollRange().cy;
    SetScrollPos(sz);
}

void CContainerUI::LineLeft()
{
    ScrollBy(&SIZE::cx, -8);
}

void CContainerUI::LineRight()
{
    ScrollBy(&SIZE::cx, 8);
}

void CContainerUI::PageLeft()
{
    ScrollBy(&SIZE::cx, -GetPageWidth());
}

void CContainerUI::PageRight()
{
    ScrollBy(&SIZE::cx, GetPageWidth());
}

void CContainerUI::HomeLeft()
{
    SIZE sz = GetScrollPos();
    sz.cx = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndRight()
{
    SIZE sz = GetScrollPos();
    sz.cx = GetScrollRange().cx;
    SetScrollPos(sz);
}

long long CContainerUI::GetPageHeight() const
{
    long long cy = static_cast<long long>(GetHeight()) - m_rcInset.top - m_rcInset.bottom;
    if (IsHorizontalBarShown()) cy -= m_pHorizontalScrollBar->GetFixedHeight();
    return cy;
}

long long CContainerUI::GetPageWidth() const
{
    long long cx = static_cast<long long>(GetWidth()) - m_rcInset.left - m_rcInset.right;
    if (IsVerticalBarShown()) cx -= m_pVerticalScrollBar->GetFixedWidth();
    return cx;
}

void CContainerUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    if (!bEnableVertical) m_pVerticalScrollBar.reset();
    else if (!m_pVerticalScrollBar) m_pVerticalScrollBar = MakeScrollBar(false);
    if (!bEnableHorizontal) m_pHorizontalScrollBar.reset();
    else if (!m_pHorizontalScrollBar) m_pHorizontalScrollBar = MakeScrollBar(true);
    NeedUpdate();
}

std::unique_ptr<CScrollBarUI> CContainerUI::MakeScrollBar(bool bHorizontal)
{
    std::unique_ptr<CScrollBarUI> pBar(new (std::nothrow) CScrollBarUI);
    if (!pBar) return pBar;
    if (bHorizontal) pBar->SetHorizontal(true);
    pBar->SetOwner(this);
    pBar->SetManager(m_pManager, NULL, false);
    if (m_pManager != NULL) {
        const wchar_t* pstrList = m_pManager->GetDefaultAttributeList(bHorizontal ? L"HScrollBar" : L"VScrollBar");
        if (pstrList != NULL) pBar->ApplyAttributeList(pstrList);
    }
    return pBar;
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const
{
    return m_pVerticalScrollBar.get();
}

CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const
{
    return m_pHorizontalScrollBar.get();
}

void CContainerUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseEvent(event)) return;
    if (event.nEventType == SKIN_EVT_SETFOCUS || event.nEventType == SKIN_EVT_KILLFOCUS) {
        m_bFocused = event.nEventType == SKIN_EVT_SETFOCUS;
        return;
    }
    // Keys and the wheel scroll along the vertical bar when it can take them,
    // else along the horizontal one.
    CScrollBarUI* pVertical = m_pVerticalScrollBar.get();
    CScrollBarUI* pHorizontal = m_pHorizontalScrollBar.get();
    const bool bVertical = pVertical != NULL && pVertical->IsVisible() && pVertical->IsEnabled();
    if (bVertical || (pHorizontal != NULL && pHorizontal->IsVisible() && pHorizontal->IsEnabled())) {
        if (event.nEventType == SKIN_EVT_KEYDOWN) {
            switch (event.chKeyCode) {
            case VK_PRIOR: bVertical ? PageUp() : PageLeft(); return;
            case VK_NEXT: bVertical ? PageDown() : PageRight(); return;
            case VK_END: bVertical ? EndDown() : EndRight(); return;
            case VK_HOME: bVertical ? HomeUp() : HomeLeft(); return;
            case VK_UP: bVertical ? LineUp() : LineLeft(); return;
            case VK_DOWN: bVertical ? LineDown() : LineRight(); return;
            default: break;
            }
        }
        else if (event.nEventType == SKIN_EVT_SCROLLWHEEL) {
            // wMsgParam 1: turned towards the user.
            if (event.wMsgParam == 0) bVertical ? LineUp() : LineLeft();
            else bVertical ? LineDown() : LineRight();
            return;
        }
    }
    CControlUI::DoEvent(event);
}

// ---------------------------------------------------------------------------
// Skin attributes

void CContainerUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    if (is(L"inset")) SetInset(ParseRectValue(pstrValue));
    else if (is(L"mousechild")) SetMouseChildEnabled(ParseBoolValue(pstrValue));
    // Through the bar getters: a container whose bars are another's (a list's
    // are its body's) keeps the other bar as it is.
    else if (is(L"vscrollbar")) EnableScrollBar(ParseBoolValue(pstrValue), GetHorizontalScrollBar() != NULL);
    else if (is(L"vscrollbarstyle")) {
        EnableScrollBar(true, GetHorizontalScrollBar() != NULL);
        if (CScrollBarUI* pBar = GetVerticalScrollBar()) pBar->ApplyAttributeList(pstrValue);
    }
    else if (is(L"hscrollbar")) EnableScrollBar(GetVerticalScrollBar() != NULL, ParseBoolValue(pstrValue));
    else if (is(L"hscrollbarstyle")) {
        EnableScrollBar(GetVerticalScrollBar() != NULL, true);
        if (CScrollBarUI* pBar = GetHorizontalScrollBar()) pBar->ApplyAttributeList(pstrValue);
    }
    else if (is(L"childpadding")) SetChildPadding(ParseIntValue(pstrValue));
    else CControlUI::SetAttribute(pstrName, pstrValue);
}

// ---------------------------------------------------------------------------
// Painting

CContainerUI::ChildSpan CContainerUI::FindChildrenIn(const RECT& rc) const
{
    return ChildSpan{0, m_items.GetSize() - 1, NULL, 0};
}

// The scattered children before the span, the span, the scattered ones after
// it. A visit may take children away (a paint or a search handler): each
// index is looked up as it comes.
template <class Visit> bool CContainerUI::VisitSpan(const ChildSpan& span, bool bReverse, Visit visit) const
{
    const int* pBelow = span.piScattered;
    const int* pEnd = span.piScattered + span.nScattered;
    const int* pWithin = pBelow;
    while (pWithin < pEnd && *pWithin < span.iFirst) ++pWithin;
    const int* pAbove = pWithin;
    while (pAbove < pEnd && *pAbove <= span.iLast) ++pAbove;
    auto child = [this, &visit](int i) {
        CControlUI* pControl = ChildAt(i);
        return pControl != NULL && visit(pControl);
    };
    if (!bReverse) {
        for (const int* p = pBelow; p < pWithin; ++p) if (child(*p)) return true;
        for (int i = span.iFirst; i <= span.iLast; i++) if (child(i)) return true;
        for (const int* p = pAbove; p < pEnd; ++p) if (child(*p)) return true;
        return false;
    }
    for (const int* p = pEnd; p > pAbove;) if (child(*--p)) return true;
    for (int i = span.iLast; i >= span.iFirst; --i) if (child(i)) return true;
    for (const int* p = pWithin; p > pBelow;) if (child(*--p)) return true;
    return false;
}

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcOuter;
    if (!::IntersectRect(&rcOuter, &rcPaint, &m_rcItem)) return;
    CRenderClip outerClip;
    CRenderClip::GenerateClip(hDC, rcOuter, outerClip);
    CControlUI::DoPaint(hDC, rcPaint);
    PaintItems(hDC, rcPaint);
    PaintScrollBars(hDC, rcPaint);
}

void CContainerUI::PaintItems(HDC hDC, const RECT& rcPaint)
{
    if (m_items.IsEmpty()) return;
    const RECT rcClient = GetClientArea();
    const ChildSpan span = FindChildrenIn(rcPaint);
    RECT rcInner;
    if (::IntersectRect(&rcInner, &rcPaint, &rcClient)) {
        CRenderClip innerClip;
        CRenderClip::GenerateClip(hDC, rcInner, innerClip);
        VisitSpan(span, false, [&](CControlUI* pControl) {
            if (!pControl->IsVisible() || !Meets(rcPaint, pControl->GetPos())) return false;
            if (pControl->IsFloat()) {
                // Floating children may lie in the inset margin: they
                // paint under the container's own clip.
                if (!Meets(m_rcItem, pControl->GetPos())) return false;
                CRenderClip::UseOldClipBegin(hDC, innerClip);
                pControl->DoPaint(hDC, rcPaint);
                CRenderClip::UseOldClipEnd(hDC, innerClip);
            }
            else if (Meets(rcClient, pControl->GetPos())) {
                pControl->DoPaint(hDC, rcPaint);
            }
            return false;
        });
        return;
    }
    VisitSpan(span, false, [&](CControlUI* pControl) {
        if (pControl->IsVisible() && pControl->IsFloat() && Meets(rcPaint, pControl->GetPos()) &&
            Meets(m_rcItem, pControl->GetPos())) {
            pControl->DoPaint(hDC, rcPaint);
        }
        return false;
    });
}

void CContainerUI::PaintScrollBars(HDC hDC, const RECT& rcPaint)
{
    for (CScrollBarUI* pBar : {m_pVerticalScrollBar.get(), m_pHorizontalScrollBar.get()}) {
        if (pBar != NULL && pBar->IsVisible() && Meets(rcPaint, pBar->GetPos())) pBar->DoPaint(hDC, rcPaint);
    }
}

} // namespace SkinLib
