// CActiveXCtrl, the hosted object's site:
//   - reference counting and interfaces, the end of the site
//   - what the owner asks of it: the object, its rectangle, letting go
//   - the site holder (IObjectWithSite)
//   - the client site
//   - the control site
//   - the container and its enumerator
// The in-place site family is in ActiveXCtrlInPlace.cpp.
#include "extended/ActiveXCtrl.h"

#include <new>

#include "extended/ActiveXEnum.h"
#include "extended/ActiveXUI.h"
#include "extended/ActiveXWnd.h"

namespace SkinLib {

CActiveXCtrl::CActiveXCtrl(CActiveXUI* pOwner)
    : m_dwRef(1), m_pOwner(pOwner), m_pWindow(NULL), m_pUnkSite(NULL), m_pViewObject(NULL), m_pInPlaceObject(NULL),
      m_bLocked(false), m_bFocused(false), m_bCaptured(false), m_bUIActivated(false), m_bInPlaceActive(false),
      m_bWindowless(true), m_bViewObjectEx(false), m_bRunningLocked(false)
{
}

CActiveXCtrl::~CActiveXCtrl()
{
    DestroyActiveXWnd();
    if (m_pUnkSite != NULL) m_pUnkSite->Release();
    SetViewObject(NULL, false);
    ReleaseInPlaceObject();
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL) return E_POINTER;
    *ppvObject = NULL;
    if (riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IOleInPlaceSite ||
        riid == IID_IOleInPlaceSiteEx || riid == IID_IOleInPlaceSiteWindowless) {
        *ppvObject = static_cast<IOleInPlaceSiteWindowless*>(this);
    }
    else if (riid == IID_IOleClientSite) {
        *ppvObject = static_cast<IOleClientSite*>(this);
    }
    else if (riid == IID_IOleControlSite) {
        *ppvObject = static_cast<IOleControlSite*>(this);
    }
    else if (riid == IID_IOleContainer || riid == IID_IParseDisplayName) {
        *ppvObject = static_cast<IOleContainer*>(this);
    }
    else if (riid == IID_IObjectWithSite) {
        *ppvObject = static_cast<IObjectWithSite*>(this);
    }
    // The control answers for the container beyond the site, while it is there.
    if (*ppvObject == NULL) return m_pOwner != NULL ? m_pOwner->QuerySiteInterface(riid, ppvObject) : E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CActiveXCtrl::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

ULONG STDMETHODCALLTYPE CActiveXCtrl::Release()
{
    LONG lRef = ::InterlockedDecrement(&m_dwRef);
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

// ---------------------------------------------------------------------------
// What the owner asks of the site

IOleObject* CActiveXCtrl::Object() const
{
    return m_pOwner != NULL ? m_pOwner->m_pUnk : NULL;
}

RECT CActiveXCtrl::HostRect() const
{
    RECT rc = m_pOwner->GetPos();
    if (!m_bWindowless) ::OffsetRect(&rc, -rc.left, -rc.top);
    return rc;
}

void CActiveXCtrl::SetViewObject(IViewObject* pViewObject, bool bExtended)
{
    if (m_pViewObject != NULL) m_pViewObject->Release();
    m_pViewObject = pViewObject;
    m_bViewObjectEx = pViewObject != NULL && bExtended;
}

void CActiveXCtrl::Detach()
{
    LockRunning(false);
    ReleaseInPlaceObject();
    SetViewObject(NULL, false);
    DestroyActiveXWnd();
    m_bInPlaceActive = false;
    m_bUIActivated = false;
    m_bCaptured = false;
    m_bFocused = false;
}

// Once per lock: a runnable object that stays locked is never freed.
void CActiveXCtrl::LockRunning(bool bLock)
{
    IOleObject* pObject = Object();
    if (bLock == m_bRunningLocked || pObject == NULL) return;
    if (!bLock) {
        ::OleLockRunning(pObject, FALSE, FALSE);
        m_bRunningLocked = false;
    }
    else {
        m_bRunningLocked = SUCCEEDED(::OleLockRunning(pObject, TRUE, FALSE));
    }
}

void CActiveXCtrl::ReleaseInPlaceObject()
{
    if (m_pInPlaceObject == NULL) return;
    m_pInPlaceObject->Release();
    m_pInPlaceObject = NULL;
}

// ---------------------------------------------------------------------------
// IObjectWithSite

HRESULT STDMETHODCALLTYPE CActiveXCtrl::SetSite(IUnknown* pUnkSite)
{
    // Taken before the old one goes: it may be the same.
    if (pUnkSite != NULL) pUnkSite->AddRef();
    if (m_pUnkSite != NULL) m_pUnkSite->Release();
    m_pUnkSite = pUnkSite;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::GetSite(REFIID riid, void** ppvSite)
{
    if (ppvSite == NULL) return E_POINTER;
    *ppvSite = NULL;
    if (m_pUnkSite == NULL) return E_FAIL;
    return m_pUnkSite->QueryInterface(riid, ppvSite);
}

// ---------------------------------------------------------------------------
// IOleClientSite

HRESULT STDMETHODCALLTYPE CActiveXCtrl::SaveObject()
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::GetMoniker(DWORD /*dwAssign*/, DWORD /*dwWhichMoniker*/, IMoniker** ppmk)
{
    if (ppmk != NULL) *ppmk = NULL;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::GetContainer(IOleContainer** ppContainer)
{
    if (ppContainer == NULL) return E_POINTER;
    *ppContainer = NULL;
    if (m_pUnkSite != NULL &&
        SUCCEEDED(m_pUnkSite->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(ppContainer)))) {
        return S_OK;
    }
    return QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(ppContainer));
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::ShowObject()
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    HWND hWnd = m_pOwner->GetHostWindow();
    // No window must not mean the screen's DC.
    HDC hDC = hWnd != NULL ? ::GetDC(hWnd) : NULL;
    if (hDC == NULL) return E_FAIL;
    if (m_pViewObject != NULL) {
        const RECTL* prcBounds = reinterpret_cast<const RECTL*>(&m_pOwner->GetPos());
        m_pViewObject->Draw(DVASPECT_CONTENT, -1, NULL, NULL, NULL, hDC, prcBounds, prcBounds, NULL, 0);
    }
    ::ReleaseDC(hWnd, hDC);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::OnShowWindow(BOOL /*fShow*/)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// IOleControlSite

HRESULT STDMETHODCALLTYPE CActiveXCtrl::OnControlInfoChanged()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::LockInPlaceActive(BOOL /*fLock*/)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::GetExtendedControl(IDispatch** ppDisp)
{
    if (ppDisp == NULL) return E_POINTER;
    *ppDisp = NULL;
    IOleObject* pObject = Object();
    if (pObject == NULL) return E_UNEXPECTED;
    return pObject->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(ppDisp));
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::TransformCoords(POINTL* /*pPtlHimetric*/, POINTF* /*pPtfContainer*/,
                                                        DWORD /*dwFlags*/)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::TranslateAccelerator(MSG* /*pMsg*/, DWORD /*grfModifiers*/)
{
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::OnFocus(BOOL fGotFocus)
{
    m_bFocused = fGotFocus != FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::ShowPropertyFrame()
{
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// IOleContainer

HRESULT STDMETHODCALLTYPE CActiveXCtrl::EnumObjects(DWORD /*grfFlags*/, IEnumUnknown** ppenum)
{
    if (ppenum == NULL) return E_POINTER;
    *ppenum = NULL;
    IOleObject* pObject = Object();
    if (pObject == NULL) return E_UNEXPECTED;
    *ppenum = new (std::nothrow) CActiveXEnum(pObject);
    return *ppenum != NULL ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::LockContainer(BOOL fLock)
{
    m_bLocked = fLock != FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXCtrl::ParseDisplayName(IBindCtx* /*pbc*/, LPOLESTR /*pszDisplayName*/,
                                                         ULONG* /*pchEaten*/, IMoniker** /*ppmkOut*/)
{
    return E_NOTIMPL;
}

} // namespace SkinLib
