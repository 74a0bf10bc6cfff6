// CActiveXFrameWnd, the in-place frame of a hosted object:
//   - reference counting and interfaces
//   - the frame's window and border space
//   - the active object
//   - menus, status text, modelessness and accelerators, which the frame has none of
#include "extended/ActiveXFrameWnd.h"

#include "extended/ActiveXCtrl.h"
#include "extended/ActiveXUI.h"

namespace SkinLib {

CActiveXFrameWnd::CActiveXFrameWnd(CActiveXCtrl* pSite) : m_dwRef(1), m_pSite(pSite), m_pActiveObject(NULL)
{
    m_pSite->AddRef();
}

CActiveXFrameWnd::~CActiveXFrameWnd()
{
    if (m_pActiveObject != NULL) m_pActiveObject->Release();
    m_pSite->Release();
}

HRESULT STDMETHODCALLTYPE CActiveXFrameWnd::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL) return E_POINTER;
    *ppvObject = NULL;
    if (riid != IID_IUnknown && riid != IID_IOleWindow && riid != IID_IOleInPlaceUIWindow &&
        riid != IID_IOleInPlaceFrame) {
        return E_NOINTERFACE;
    }
    *ppvObject = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CActiveXFrameWnd::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

ULONG STDMETHODCALLTYPE CActiveXFrameWnd::Release()
{
    LONG lRef = ::InterlockedDecrement(&m_dwRef);
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

HWND CActiveXFrameWnd::PaintWindow() const
{
    const CActiveXUI* pOwner = m_pSite->m_pOwner;
    return pOwner != NULL ? pOwner->PaintWindow() : NULL;
}

// ---------------------------------------------------------------------------
// The frame's window and border space

HRESULT STDMETHODCALLTYPE CActiveXFrameWnd::GetWindow(HWND* phwnd)
{
    if (phwnd == NULL) return E_POINTER;
    *phwnd = NULL;
    if (m_pSite->m_pOwner == NULL) return E_UNEXPECTED;
    *phwnd = PaintWindow();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXFrameWnd::ContextSensitiveHelp(BOOL /*fEnterMode*/)
{
    return S_OK;
}

// The whole client area of the paint window: the frame keeps no toolbars.
HRESULT STDMETHODCALLTYPE CActiveXFrameWnd::GetBorder(LPRECT lprectBorder)
{
    if (lprectBorder == NULL) return E_POINTER;
    ::SetRectEmpty(lprectBorder);
    HWND hWndPaint = PaintWindow();
    if (hWndPaint == NULL) return E_UNEXPECTED;
    ::GetClientRect(hWndPaint, lprectBorder);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXFrameWnd::RequestBorderSpace(LPCBORDERWIDTHS /*pborderwidths*/)
{
    return INPLACE_E_NOTOOLSPACE;
}

HRESULT STDMETHODCALLTYPE CActiveXFrameWnd::SetBorderSpace(LPCBORDERWIDTHS /*pborderwidths*/)
{
    return S_OK;
}

// ---------------------------------------------------------------------------
// The active object

HRESULT STDMETHODCALLTYPE CActiveXFrameWnd::SetActiveObject(IOleInPlaceActiveObject* pActiveObject,
                                                           LPCOLESTR /*pszObjName*/)
{
    // Taken before the old one goes: it may be the same.
    if (pActiveObject != NULL) pActiveObject->AddRef();
    if (m_pActiveObject != NULL) m_pActiveObject->Release();
    m_pActiveObject = pActiveObject;
    return S_OK;
}

// ---------------------------------------------------------------------------
// Menus, status text, modelessness and accelerators

HRESULT STDMETHODCALLTYPE CActiveXFrameWnd::InsertMenus(HMENU /*hmenuShared*/, LPOLEMENUGROUPWIDTHS /*lpMenuWidths*/)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXFrameWnd::SetMenu(HMENU /*hmenuShared*/, HOLEMENU /*holemenu*/,
                                                   HWND /*hwndActiveObject*/)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXFrameWnd::RemoveMenus(HMENU /*hmenuShared*/)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXFrameWnd::SetStatusText(LPCOLESTR /*pszStatusText*/)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXFrameWnd::EnableModeless(BOOL /*fEnable*/)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXFrameWnd::TranslateAccelerator(LPMSG /*lpmsg*/, WORD /*wID*/)
{
    return S_FALSE;
}

} // namespace SkinLib
