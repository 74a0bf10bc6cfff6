// CActiveXWnd, the child window of a windowed object: creation, and the
// messages it passes on to the object (focus, activation) or keeps from it.
#include "extended/ActiveXWnd.h"

#include "core/GdiScope.h"
#include "extended/ActiveXCtrl.h"
#include "extended/ActiveXUI.h"

namespace SkinLib {

CActiveXWnd::CActiveXWnd() : m_pOwner(NULL)
{
}

LPCWSTR CActiveXWnd::GetWndClassName() const
{
    return L"ActiveXWnd";
}

HWND CActiveXWnd::Init(CActiveXCtrl* pOwner, HWND hWndParent, const RECT& rcPos)
{
    m_pOwner = pOwner;
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return Create(hWndParent, L"UIActiveX", dwStyle, 0, rcPos, NULL);
}

LRESULT CActiveXWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_PAINT: {
        // The object paints its own window inside this one.
        CPaintScope paint(m_hWnd);
        return 0;
    }
    case WM_SETFOCUS:
        m_pOwner->m_bFocused = true;
        if (!m_pOwner->m_bUIActivated) m_pOwner->DoVerb(OLEIVERB_UIACTIVATE);
        break;
    case WM_KILLFOCUS:
        m_pOwner->m_bFocused = false;
        break;
    case WM_ERASEBKGND:
        if (m_pOwner->m_pViewObject != NULL) return 1;
        break;
    case WM_MOUSEACTIVATE: {
        IOleObject* pObject = m_pOwner->Object();
        DWORD dwMiscStatus = 0;
        if (pObject != NULL) pObject->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus);
        if ((dwMiscStatus & OLEMISC_NOUIACTIVATE) != 0) return 0;
        if (!m_pOwner->m_bInPlaceActive) m_pOwner->DoVerb(OLEIVERB_INPLACEACTIVATE);
        break;
    }
    case WM_MOUSEWHEEL:
        return 0;
    default:
        break;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

} // namespace SkinLib
