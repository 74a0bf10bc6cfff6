// CActiveXCtrl, the in-place side of the site:
//   - the window of the site (IOleWindow) and the windowed object's child window
//   - in-place activation and deactivation, windowless or windowed
//   - the window context: frame, rectangles, frame information
//   - what a windowless object asks of its window: capture, focus, DCs, invalidation
#include <new>

#include "extended/ActiveXCtrl.h"
#include "extended/ActiveXFrameWnd.h"
#include "extended/ActiveXUI.h"
#include "extended/ActiveXWnd.h"

namespace SkinLib {

// ---------------------------------------------------------------------------
// The window of the site

HRESULT STDMETHODCALLTYPE CActiveXCtrl::GetWindow(HWND* phwnd)
{
    if (phwnd == NULL) return E_POINTER;
    *phwnd = NULL;
    if (m_pOwner == NULL) return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == NULL) CreateActiveXWnd();
    if (m_pOwner->m_hwndHost == NULL) return E_FAIL;
    *phwnd = m_pOwner->m_hwndHost;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::ContextSensitiveHelp(BOOL /*fEnterMode*/)
{
    return S_OK;
}

HRESULT CActiveXCtrl::CreateActiveXWnd()
{
    if (m_pWindow != NULL) return S_OK;
    if (m_pOwner == NULL) return E_UNEXPECTED;
    // A child of no window would be a top-level window of its own.
    HWND hWndPaint = m_pOwner->PaintWindow();
    if (hWndPaint == NULL) return E_FAIL;
    m_pWindow = new (std::nothrow) CActiveXWnd;
    if (m_pWindow == NULL) return E_OUTOFMEMORY;
    // Made where the control is, so that the object's first window context is its real place,
    // whenever it goes in place.
    HWND hWnd = m_pWindow->Init(this, hWndPaint, m_pOwner->GetPos());
    if (hWnd == NULL) {
        delete m_pWindow;
        m_pWindow = NULL;
        return E_FAIL;
    }
    m_pOwner->m_hwndHost = hWnd;
    // A control that is hidden by now keeps its window hidden.
    m_pOwner->ShowHostWindow();
    return S_OK;
}

// Freed once: the pointer and the owner's host window go before the window does.
void CActiveXCtrl::DestroyActiveXWnd()
{
    if (m_pWindow == NULL) return;
    CActiveXWnd* pWindow = m_pWindow;
    m_pWindow = NULL;
    if (m_pOwner != NULL && !m_bWindowless) m_pOwner->m_hwndHost = NULL;
    // Gone already when the paint window went first.
    if (pWindow->GetHWND() != NULL) ::DestroyWindow(pWindow->GetHWND());
    delete pWindow;
}

HRESULT CActiveXCtrl::DoVerb(LONG iVerb)
{
    IOleObject* pObject = Object();
    if (pObject == NULL || m_pWindow == NULL) return E_UNEXPECTED;
    RECT rcItem = m_pOwner->GetPos();
    return pObject->DoVerb(iVerb, NULL, this, 0, m_pWindow->GetHWND(), &rcItem);
}

// ---------------------------------------------------------------------------
// In-place activation

HRESULT STDMETHODCALLTYPE CActiveXCtrl::CanInPlaceActivate()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::CanWindowlessActivate()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::OnInPlaceActivate()
{
    return OnInPlaceActivateEx(NULL, 0);
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::OnInPlaceActivateEx(BOOL* /*pfNoRedraw*/, DWORD dwFlags)
{
    IOleObject* pObject = Object();
    if (pObject == NULL) return E_UNEXPECTED;
    LockRunning(true);
    // Activated again without a deactivation between.
    ReleaseInPlaceObject();

    HRESULT hr = E_FAIL;
    if ((dwFlags & ACTIVATE_WINDOWLESS) != 0) {
        m_bWindowless = true;
        IOleInPlaceObjectWindowless* pWindowless = NULL;
        hr = pObject->QueryInterface(IID_IOleInPlaceObjectWindowless, reinterpret_cast<void**>(&pWindowless));
        if (SUCCEEDED(hr)) {
            m_pInPlaceObject = pWindowless;
            m_pOwner->m_hwndHost = m_pOwner->PaintWindow();
            m_pOwner->AddMessageFilter();
        }
    }
    if (FAILED(hr)) {
        m_bWindowless = false;
        hr = CreateActiveXWnd();
        if (FAILED(hr)) return hr;
        hr = pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_pInPlaceObject));
        if (FAILED(hr)) m_pInPlaceObject = NULL;
    }
    if (m_pInPlaceObject != NULL) {
        RECT rcObject = HostRect();
        m_pInPlaceObject->SetObjectRects(&rcObject, &rcObject);
    }
    m_bInPlaceActive = SUCCEEDED(hr);
    return hr;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::OnInPlaceDeactivate()
{
    return OnInPlaceDeactivateEx(TRUE);
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::OnInPlaceDeactivateEx(BOOL /*fNoRedraw*/)
{
    m_bInPlaceActive = false;
    ReleaseInPlaceObject();
    DestroyActiveXWnd();
    LockRunning(false);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::RequestUIActivate()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::OnUIActivate()
{
    m_bUIActivated = true;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::OnUIDeactivate(BOOL /*fUndoable*/)
{
    m_bUIActivated = false;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::Scroll(SIZE /*scrollExtant*/)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::DiscardUndoState()
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::DeactivateAndUndo()
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::OnPosRectChange(LPCRECT /*lprcPosRect*/)
{
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// The window context

HRESULT STDMETHODCALLTYPE CActiveXCtrl::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                                         LPRECT lprcPosRect, LPRECT lprcClipRect,
                                                         LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    if (ppFrame == NULL || ppDoc == NULL || lprcPosRect == NULL || lprcClipRect == NULL || lpFrameInfo == NULL) {
        return E_POINTER;
    }
    *ppFrame = NULL;
    *ppDoc = NULL;
    if (m_pOwner == NULL) return E_UNEXPECTED;
    if (m_pWindow != NULL) ::GetClientRect(m_pWindow->GetHWND(), lprcPosRect);
    else *lprcPosRect = HostRect();
    *lprcClipRect = *lprcPosRect;
    *ppFrame = new (std::nothrow) CActiveXFrameWnd(this);
    if (*ppFrame == NULL) return E_OUTOFMEMORY;
    // The caller's size stays: it tells which form of the record the caller has.
    lpFrameInfo->fMDIApp = FALSE;
    lpFrameInfo->hwndFrame = m_pOwner->PaintWindow();
    // The container has no accelerators for the object to pass on.
    lpFrameInfo->haccel = NULL;
    lpFrameInfo->cAccelEntries = 0;
    return S_OK;
}

// ---------------------------------------------------------------------------
// What a windowless object asks of its window

HRESULT STDMETHODCALLTYPE CActiveXCtrl::GetCapture()
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    return m_bCaptured ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::SetCapture(BOOL fCapture)
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    // Only a capture of its own is given back: the manager may hold one.
    if (fCapture) ::SetCapture(m_pOwner->m_hwndHost);
    else if (m_bCaptured) ::ReleaseCapture();
    m_bCaptured = fCapture != FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::GetFocus()
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    return m_bFocused ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::SetFocus(BOOL fFocus)
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    if (fFocus) m_pOwner->SetFocus();
    m_bFocused = fFocus != FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::GetDC(LPCRECT /*pRect*/, DWORD grfFlags, HDC* phDC)
{
    if (phDC == NULL) return E_POINTER;
    *phDC = NULL;
    if (m_pOwner == NULL) return E_UNEXPECTED;
    // No window must not mean the screen's DC.
    if (m_pOwner->m_hwndHost == NULL) return E_FAIL;
    *phDC = ::GetDC(m_pOwner->m_hwndHost);
    if (*phDC == NULL) return E_FAIL;
    if ((grfFlags & OLEDC_PAINTBKGND) != 0) {
        RECT rcItem = HostRect();
        ::FillRect(*phDC, &rcItem, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    }
    return S_OK;
}

// Given back to the window it came from, even once the control has let go.
HRESULT STDMETHODCALLTYPE CActiveXCtrl::ReleaseDC(HDC hDC)
{
    return ::ReleaseDC(::WindowFromDC(hDC), hDC) ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::InvalidateRect(LPCRECT pRect, BOOL fErase)
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == NULL) return E_FAIL;
    return ::InvalidateRect(m_pOwner->m_hwndHost, pRect, fErase) ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::InvalidateRgn(HRGN hRGN, BOOL fErase)
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == NULL) return E_FAIL;
    return ::InvalidateRgn(m_pOwner->m_hwndHost, hRGN, fErase) ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::ScrollRect(INT /*dx*/, INT /*dy*/, LPCRECT /*pRectScroll*/,
                                                   LPCRECT /*pRectClip*/)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::AdjustRect(LPRECT /*prc*/)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    if (plResult == NULL) return E_POINTER;
    *plResult = 0;
    if (m_pOwner == NULL) return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == NULL) return E_FAIL;
    *plResult = ::DefWindowProcW(m_pOwner->m_hwndHost, msg, wParam, lParam);
    return S_OK;
}

} // namespace SkinLib
