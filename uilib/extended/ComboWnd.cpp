// CComboWnd, the combo's drop-down:
//   - placement on the combo's monitor
//   - opening, and the layout that borrows the owner's items
//   - giving the items back, when it closes, is destroyed or is let go
//   - the pop-up's input for the owner
#include "extended/ComboWnd.h"

#include <wchar.h>

#include <algorithm>
#include <new>

#include "controls/VerticalLayoutUI.h"
#include "extended/ComboUI.h"

namespace SkinLib {

namespace {

// A drop-down cy high and cx wide at the left edge of a combo: below it when
// it fits the work area, else above it when it fits there, else on the side
// with more room, cut to that room (its scroll bar then shows the rest).
RECT PlaceDropDown(const RECT& rcCombo, int cx, int cy, const RECT& rcWork)
{
    const long long cyBelow = std::max(0LL, static_cast<long long>(rcWork.bottom) - rcCombo.bottom);
    const long long cyAbove = std::max(0LL, static_cast<long long>(rcCombo.top) - rcWork.top);
    const LONG right = ClampToInt(static_cast<long long>(rcCombo.left) + cx);
    if (cy <= cyBelow || (cy > cyAbove && cyBelow >= cyAbove)) {
        return RECT{rcCombo.left, rcCombo.bottom, right, ClampToInt(rcCombo.bottom + std::min<long long>(cy, cyBelow))};
    }
    return RECT{rcCombo.left, ClampToInt(rcCombo.top - std::min<long long>(cy, cyAbove)), right, rcCombo.top};
}

} // namespace

CComboWnd::CComboWnd() : m_pOwner(NULL), m_pLayout(NULL)
{
}

LPCWSTR CComboWnd::GetWndClassName() const
{
    return L"ComboWnd";
}

RECT CComboWnd::ComputeRect(CComboUI& owner)
{
    const RECT& rcOwner = owner.GetPos();
    const SIZE szDropBox = owner.GetDropBoxSize();
    const int cx = szDropBox.cx > 0 ? szDropBox.cx : rcOwner.right - rcOwner.left;
    // The items' heights and the frame's, up to the greatest height.
    long long cy = 4;
    for (int i = 0; i < owner.GetCount() && cy < szDropBox.cy; i++) {
        CControlUI* pItem = owner.GetItemAt(i);
        if (pItem->IsVisible()) cy += pItem->EstimateSize(SIZE{cx, szDropBox.cy}).cy;
    }
    cy = std::max(0LL, std::min<long long>(cy, szDropBox.cy));

    RECT rcCombo = rcOwner;
    ::MapWindowPoints(owner.GetManager()->GetPaintWindow(), HWND_DESKTOP, reinterpret_cast<POINT*>(&rcCombo), 2);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromRect(&rcCombo, MONITOR_DEFAULTTONEAREST), &mi);
    return PlaceDropDown(rcCombo, cx, static_cast<int>(cy), mi.rcWork);
}

bool CComboWnd::Open(CComboUI& owner)
{
    m_pOwner = &owner;
    const HWND hWndOwner = owner.GetManager()->GetPaintWindow();
    const RECT rc = ComputeRect(owner);
    // Nothing of the object is touched after a failure: it may be gone.
    const HWND hWnd = Create(hWndOwner, NULL, WS_POPUP, WS_EX_TOOLWINDOW, rc, NULL);
    if (hWnd == NULL) return false;
    ::ShowWindow(hWnd, SW_SHOW);
    // The window the combo is in keeps its active caption while the pop-up has the focus.
    HWND hWndTop = hWnd;
    while (HWND hWndUp = ::GetParent(hWndTop)) hWndTop = hWndUp;
    ::SendMessageW(hWndTop, WM_NCACTIVATE, TRUE, 0);
    return true;
}

LRESULT CComboWnd::OnCreate()
{
    CPaintManagerUI* pOwnerManager = m_pOwner->GetManager();
    m_pm.Init(m_hWnd);
    m_pLayout = new (std::nothrow) CVerticalLayoutUI;
    if (m_pLayout == NULL) return -1;
    m_pm.UseParentResource(pOwnerManager);
    m_pLayout->SetManager(&m_pm, NULL, true);
    // The skin's defaults for layouts, then the drop-down's own look, then
    // what the combo asks for.
    if (const wchar_t* pstrDefault = pOwnerManager->GetDefaultAttributeList(L"VerticalLayout")) {
        m_pLayout->ApplyAttributeList(pstrDefault);
    }
    m_pLayout->SetInset(RECT{1, 1, 1, 1});
    m_pLayout->SetBkColor(0xFFFFFFFF);
    m_pLayout->SetBorderColor(0xFFC6C7D2);
    m_pLayout->SetBorderSize(1);
    m_pLayout->SetAutoDestroy(false);
    m_pLayout->EnableScrollBar(true, false);
    m_pLayout->ApplyAttributeList(m_pOwner->GetDropBoxAttributeList());
    // Borrowed: the layout lists them, the combo keeps owning them.
    {
        // One invalidation for all of them rather than one each.
        CInvalidateBatch batch(&m_pm);
        for (int i = 0; i < m_pOwner->GetCount(); i++) m_pLayout->Add(m_pOwner->GetItemAt(i));
    }
    m_pm.AttachDialog(m_pLayout);
    return 0;
}

void CComboWnd::HandBack()
{
    CComboUI* pOwner = m_pOwner;
    if (pOwner == NULL) return;
    m_pOwner = NULL;
    // Leaving the layout makes this window's manager forget them.
    if (m_pLayout != NULL) {
        CInvalidateBatch batch(&m_pm);
        m_pLayout->RemoveAll();
    }
    pOwner->TakeItemsBack();
}

void CComboWnd::Abandon()
{
    CPaintManagerUI* pOwnerManager = m_pOwner != NULL ? m_pOwner->GetManager() : NULL;
    HandBack();
    // The keyboard focus stays in the combo's window rather than go wherever
    // the system puts it.
    if (::GetFocus() == m_hWnd && pOwnerManager != NULL) ::SetFocus(pOwnerManager->GetPaintWindow());
    ::ShowWindow(m_hWnd, SW_HIDE);
    PostMessageW(WM_CLOSE);
}

void CComboWnd::EnsureItemVisible(int iIndex)
{
    if (m_pOwner == NULL || m_pOwner->GetCurSel() < 0 || m_pLayout == NULL) return;
    if (CControlUI* pItem = m_pLayout->GetItemAt(iIndex)) m_pLayout->ScrollIntoView(pItem->GetPos());
}

void CComboWnd::PassToOwner(tagTEventUI& event)
{
    m_pOwner->DoEvent(event);
    // A handler of the selection may have taken the items back.
    if (m_pOwner != NULL) EnsureItemVisible(m_pOwner->GetCurSel());
}

LRESULT CComboWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        return OnCreate();
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) != m_hWnd) PostMessageW(WM_CLOSE);
        break;
    case WM_LBUTTONUP: {
        // A release anywhere but on the scroll bar ends the drop-down, once
        // the control under the mouse has had it.
        POINT pt = {};
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWnd, &pt);
        CControlUI* pControl = m_pm.FindControl(pt);
        if (pControl != NULL && wcscmp(pControl->GetClass(), L"ScrollBarUI") != 0) PostMessageW(WM_CLOSE);
        break;
    }
    case WM_KEYDOWN: {
        if (wParam == VK_RETURN || wParam == VK_ESCAPE || m_pOwner == NULL) break;
        tagTEventUI event = {};
        event.nEventType = SKIN_EVT_KEYDOWN;
        event.chKeyCode = static_cast<wchar_t>(wParam);
        PassToOwner(event);
        return 0;
    }
    case WM_MOUSEWHEEL: {
        if (m_pOwner == NULL) break;
        tagTEventUI event = {};
        event.nEventType = SKIN_EVT_SCROLLWHEEL;
        event.wMsgParam = static_cast<short>(HIWORD(wParam)) < 0 ? 1 : 0;
        event.lMsgParam = lParam;
        event.dwTickTime = ::GetTickCount();
        PassToOwner(event);
        return 0;
    }
    case WM_CLOSE:
        if (m_pOwner != NULL) {
            CComboUI* pOwner = m_pOwner;
            const bool bFocused = ::GetFocus() == m_hWnd;
            HandBack();
            // The focus goes back to the combo, unless it has already gone
            // to another window, which keeps it.
            if (bFocused && pOwner->GetManager() != NULL) {
                ::SetFocus(pOwner->GetManager()->GetPaintWindow());
                pOwner->SetFocus();
            }
        }
        // Past the manager, whose closing would pull the focus to the combo's window.
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    default:
        break;
    }
    LRESULT lRes = 0;
    if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CComboWnd::OnFinalMessage(HWND /*hWnd*/)
{
    // Destroyed without closing, as when its owner window goes first.
    HandBack();
    delete this;
}

} // namespace SkinLib
