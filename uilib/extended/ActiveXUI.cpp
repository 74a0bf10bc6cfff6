// CActiveXUI, the ActiveX host control:
//   - construction, identity, release
//   - creation: identifiers, delay create, from a module or the registry, the creation steps
//   - placement, visibility and painting, which the object follows
//   - the message filter: what a windowless object takes, and where
//   - registrations with the paint manager, which go with the control from manager to manager
//   - what derived controls share: the site's further interfaces, accelerators, events
#include "extended/ActiveXUI.h"

#include <ocidl.h>
#include <wchar.h>
#include <windowsx.h>

#include <new>

#include "extended/ActiveXCtrl.h"
#include "extended/ActiveXWnd.h"

namespace SkinLib {

namespace {

// The longest identifier text taken from a skin or a caller.
const size_t kMaxIdentifier = 99;
// The key messages an object is offered; WM_UNICHAR, which came later, is not one.
const UINT kLastKeyMessage = 0x108;
const DWORD kCreateContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

// The messages that carry a client point of the mouse (the horizontal wheel, which came later, is not one).
bool IsMouseMessage(UINT uMsg)
{
    return uMsg >= WM_MOUSEFIRST && uMsg <= WM_XBUTTONDBLCLK;
}

} // namespace

CActiveXUI::CActiveXUI()
    : m_clsid(), m_bCreated(false), m_pUnk(NULL), m_pControl(NULL), m_hwndHost(NULL), m_bDelayCreate(true),
      m_bShowPending(false), m_pFilterManager(NULL), m_pAcceleratorHook(NULL), m_pAcceleratorManager(NULL)
{
}

CActiveXUI::~CActiveXUI()
{
    ReleaseControl();
}

const wchar_t* CActiveXUI::GetClass() const
{
    return L"ActiveXUI";
}

void* CActiveXUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"ActiveX") == 0) return static_cast<CActiveXUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

void CActiveXUI::ReleaseControl()
{
    // Nothing reaches the object through the hooks while it goes.
    RemoveMessageFilter();
    RemoveAcceleratorHook();
    m_hwndHost = NULL;
    m_bShowPending = false;
    if (m_pUnk != NULL) {
        IObjectWithSite* pSite = NULL;
        if (SUCCEEDED(m_pUnk->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&pSite)))) {
            pSite->SetSite(NULL);
            pSite->Release();
        }
        m_pUnk->Close(OLECLOSE_NOSAVE);
        m_pUnk->SetClientSite(NULL);
        // What the object did not give back on closing: the site holds it only while the object lives.
        if (m_pControl != NULL) m_pControl->Detach();
        m_pUnk->Release();
        m_pUnk = NULL;
    }
    if (m_pControl != NULL) {
        m_pControl->m_pOwner = NULL;
        m_pControl->Release();
        m_pControl = NULL;
    }
}

// ---------------------------------------------------------------------------
// Creation

bool CActiveXUI::CreateControl(const wchar_t* pstrCLSID)
{
    wchar_t szCLSID[kMaxIdentifier + 1] = L"";
    if (pstrCLSID != NULL) ::wcsncpy(szCLSID, pstrCLSID, kMaxIdentifier);
    CLSID clsid = {};
    HRESULT hr = szCLSID[0] == L'{' ? ::CLSIDFromString(szCLSID, &clsid) : ::CLSIDFromProgID(szCLSID, &clsid);
    if (FAILED(hr)) clsid = CLSID();
    return CreateControl(clsid);
}

bool CActiveXUI::CreateControl(const CLSID clsid)
{
    if (clsid == CLSID()) return false;
    m_clsid = clsid;
    m_bCreated = false;
    if (!m_bDelayCreate) DoCreateControl();
    return true;
}

bool CActiveXUI::IsDelayCreate() const
{
    return m_bDelayCreate;
}

void CActiveXUI::SetDelayCreate(bool bDelayCreate)
{
    if (m_bDelayCreate == bDelayCreate) return;
    if (!bDelayCreate && !m_bCreated && m_clsid != CLSID()) DoCreateControl();
    m_bDelayCreate = bDelayCreate;
}

HRESULT CActiveXUI::GetControl(const IID iid, LPVOID* ppRet)
{
    if (ppRet == NULL) return E_POINTER;
    *ppRet = NULL;
    if (m_pUnk == NULL) return E_PENDING;
    return m_pUnk->QueryInterface(iid, ppRet);
}

HWND CActiveXUI::GetHostWindow() const
{
    return m_hwndHost;
}

CLSID CActiveXUI::GetClisd() const
{
    return m_clsid;
}

const CSkinString& CActiveXUI::GetModuleName() const
{
    return m_sModuleName;
}

void CActiveXUI::SetModuleName(const wchar_t* pstrText)
{
    m_sModuleName = pstrText;
}

// A module that made an object stays loaded: the object's code must outlive
// every object it made, which may be held beyond this control.
IUnknown* CActiveXUI::CreateFromModule()
{
    HMODULE hModule = ::LoadLibraryW(m_sModuleName);
    if (hModule == NULL) return NULL;
    typedef HRESULT(STDAPICALLTYPE * DLLGETCLASSOBJECT)(REFCLSID, REFIID, LPVOID*);
    DLLGETCLASSOBJECT pfnGetClassObject =
        reinterpret_cast<DLLGETCLASSOBJECT>(reinterpret_cast<void*>(::GetProcAddress(hModule, "DllGetClassObject")));
    IClassFactory* pFactory = NULL;
    IUnknown* pUnk = NULL;
    if (pfnGetClassObject != NULL &&
        SUCCEEDED(pfnGetClassObject(m_clsid, IID_IClassFactory, reinterpret_cast<void**>(&pFactory)))) {
        if (FAILED(pFactory->CreateInstance(NULL, IID_IOleObject, reinterpret_cast<void**>(&pUnk)))) pUnk = NULL;
        pFactory->Release();
    }
    if (pUnk == NULL) ::FreeLibrary(hModule);
    return pUnk;
}

DWORD CActiveXUI::GetMiscStatus() const
{
    DWORD dwMiscStatus = 0;
    if (m_pUnk == NULL || FAILED(m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus))) return 0;
    return dwMiscStatus;
}

bool CActiveXUI::DoCreateControl()
{
    ReleaseControl();
    m_bCreated = true;

    IUnknown* pUnk = m_sModuleName.IsEmpty() ? NULL : CreateFromModule();
    if (pUnk == NULL &&
        FAILED(::CoCreateInstance(m_clsid, NULL, kCreateContext, IID_IOleControl, reinterpret_cast<void**>(&pUnk)))) {
        return false;
    }
    HRESULT hr = pUnk->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&m_pUnk));
    pUnk->Release();
    if (FAILED(hr)) {
        m_pUnk = NULL;
        return false;
    }

    m_pControl = new (std::nothrow) CActiveXCtrl(this);
    if (m_pControl == NULL) return false;
    IOleClientSite* pClientSite = m_pControl;
    const DWORD dwMiscStatus = GetMiscStatus();
    if ((dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) != 0) m_pUnk->SetClientSite(pClientSite);
    IPersistStreamInit* pPersistStreamInit = NULL;
    if (SUCCEEDED(m_pUnk->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&pPersistStreamInit)))) {
        hr = pPersistStreamInit->InitNew();
        pPersistStreamInit->Release();
        if (FAILED(hr)) return false;
    }
    if ((dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) == 0) m_pUnk->SetClientSite(pClientSite);

    IViewObject* pViewObject = NULL;
    hr = m_pUnk->QueryInterface(IID_IViewObjectEx, reinterpret_cast<void**>(&pViewObject));
    const bool bExtended = SUCCEEDED(hr);
    if (FAILED(hr)) hr = m_pUnk->QueryInterface(IID_IViewObject2, reinterpret_cast<void**>(&pViewObject));
    if (FAILED(hr)) hr = m_pUnk->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&pViewObject));
    m_pControl->SetViewObject(SUCCEEDED(hr) ? pViewObject : NULL, bExtended);

    m_pUnk->SetHostNames(L"UIActiveX", NULL);
    // Without a paint window the object is shown at the first layout in one.
    HRESULT hrShow = S_OK;
    if (PaintWindow() != NULL) hrShow = ShowActiveX();
    else m_bShowPending = true;
    if ((dwMiscStatus & OLEMISC_INVISIBLEATRUNTIME) == 0) hr = hrShow;
    // A "showactivex" handler may have released the object.
    if (m_pUnk == NULL || m_pControl == NULL) return false;
    IObjectWithSite* pSite = NULL;
    if (SUCCEEDED(m_pUnk->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&pSite)))) {
        pSite->SetSite(static_cast<IOleClientSite*>(m_pControl));
        pSite->Release();
    }
    return SUCCEEDED(hr);
}

HWND CActiveXUI::PaintWindow() const
{
    return m_pManager != NULL ? m_pManager->GetPaintWindow() : NULL;
}

HRESULT CActiveXUI::ShowActiveX()
{
    m_bShowPending = false;
    if (m_pManager != NULL) m_pManager->SendNotify(this, L"showactivex", 0, 0, false);
    if (m_pUnk == NULL || m_pControl == NULL) return E_UNEXPECTED;
    if ((GetMiscStatus() & OLEMISC_INVISIBLEATRUNTIME) != 0) return S_OK;
    HWND hWndPaint = PaintWindow();
    return m_pUnk->DoVerb(OLEIVERB_INPLACEACTIVATE, NULL, m_pControl, 0, hWndPaint, &m_rcItem);
}

void CActiveXUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (wcscmp(pstrName, L"clsid") == 0) CreateControl(pstrValue);
    else if (wcscmp(pstrName, L"modulename") == 0) SetModuleName(pstrValue);
    else if (wcscmp(pstrName, L"delaycreate") == 0) SetDelayCreate(wcscmp(pstrValue, L"true") == 0);
    else CControlUI::SetAttribute(pstrName, pstrValue);
}

// ---------------------------------------------------------------------------
// Placement, visibility and painting

void CActiveXUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (!m_bCreated) DoCreateControl();
    if (m_pUnk == NULL || m_pControl == NULL) return;
    if (m_bShowPending && PaintWindow() != NULL) ShowActiveX();
    // The show may have ended in a release.
    if (m_pUnk == NULL || m_pControl == NULL) return;

    HDC hScreenDC = ::GetDC(NULL);
    SIZEL hmSize = {::MulDiv(2540, GetWidth(), ::GetDeviceCaps(hScreenDC, LOGPIXELSX)),
                    ::MulDiv(2540, GetHeight(), ::GetDeviceCaps(hScreenDC, LOGPIXELSY))};
    ::ReleaseDC(NULL, hScreenDC);
    m_pUnk->SetExtent(DVASPECT_CONTENT, &hmSize);

    if (m_pControl->m_pInPlaceObject != NULL) {
        RECT rcObject = m_pControl->HostRect();
        m_pControl->m_pInPlaceObject->SetObjectRects(&rcObject, &rcObject);
    }
    if (!m_pControl->m_bWindowless && m_pControl->m_pWindow != NULL) {
        ::MoveWindow(m_pControl->m_pWindow->GetHWND(), m_rcItem.left, m_rcItem.top, GetWidth(), GetHeight(), TRUE);
    }
}

void CActiveXUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
    ShowHostWindow();
}

void CActiveXUI::SetInternVisible(bool bVisible)
{
    CControlUI::SetInternVisible(bVisible);
    ShowHostWindow();
}

// A windowed object's window shows and hides with the control.
void CActiveXUI::ShowHostWindow()
{
    if (m_hwndHost == NULL || m_pControl == NULL || m_pControl->m_bWindowless) return;
    ::ShowWindow(m_hwndHost, IsVisible() ? SW_SHOW : SW_HIDE);
}

// The object paints itself; the control has no background, image or border.
// Only an object that went in place windowless draws here: a windowed one
// paints its own window, one invisible at run time nothing.
void CActiveXUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcTemp = {};
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
    if (m_pControl == NULL || !m_pControl->m_bInPlaceActive || !m_pControl->m_bWindowless ||
        m_pControl->m_pViewObject == NULL) {
        return;
    }
    const RECTL* prcBounds = reinterpret_cast<const RECTL*>(&m_rcItem);
    m_pControl->m_pViewObject->Draw(DVASPECT_CONTENT, -1, NULL, NULL, NULL, hDC, prcBounds, prcBounds, NULL, 0);
}

// ---------------------------------------------------------------------------
// The message filter

// Whether a mouse message or WM_SETCURSOR lands on the object: always while
// it holds the capture, else where its extended view object reports a hit, or
// anywhere in the item rectangle when it has none to ask.
bool CActiveXUI::IsHit(UINT uMsg, LPARAM lParam) const
{
    if (m_pControl->m_bCaptured) return true;
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // These carry no client point: the cursor's place is where they happen.
    if (uMsg == WM_SETCURSOR) ::GetCursorPos(&pt);
    if (uMsg == WM_SETCURSOR || uMsg == WM_MOUSEWHEEL) ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
    if (!m_pControl->m_bViewObjectEx) return ::PtInRect(&m_rcItem, pt) != FALSE;
    DWORD dwHitResult = HITRESULT_OUTSIDE;
    static_cast<IViewObjectEx*>(m_pControl->m_pViewObject)
        ->QueryHitPoint(DVASPECT_CONTENT, &m_rcItem, pt, 0, &dwHitResult);
    return dwHitResult == HITRESULT_HIT;
}

LRESULT CActiveXUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (m_pControl == NULL || !m_pControl->m_bInPlaceActive || !m_pControl->m_bWindowless ||
        m_pControl->m_pInPlaceObject == NULL || m_pManager == NULL || !IsVisible()) {
        return 0;
    }
    bool bWasHandled = true;
    if (IsMouseMessage(uMsg) || uMsg == WM_SETCURSOR) {
        if (IsMouseMessage(uMsg) && !IsMouseEnabled()) return 0;
        if (!IsHit(uMsg, lParam)) return 0;
        // The cursor goes on to the manager too, so that it is set when the object sets none.
        if (uMsg == WM_SETCURSOR) bWasHandled = false;
    }
    else if (uMsg == WM_HELP || uMsg == WM_CONTEXTMENU) {
        bWasHandled = false;
    }
    else if (uMsg >= WM_KEYFIRST && uMsg <= kLastKeyMessage) {
        if (!IsFocused()) return 0;
    }
    else {
        return 0;
    }
    LRESULT lResult = 0;
    HRESULT hr = static_cast<IOleInPlaceObjectWindowless*>(m_pControl->m_pInPlaceObject)
                     ->OnWindowMessage(uMsg, wParam, lParam, &lResult);
    if (hr == S_OK) bHandled = bWasHandled;
    return lResult;
}

// ---------------------------------------------------------------------------
// Registrations with the paint manager

// A manager must never keep a registration of a control that has left it: it
// may outlive the manager, or the manager it.
void CActiveXUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    if (pManager != m_pManager) {
        RemoveMessageFilter();
        UnhookAccelerator();
    }
    CControlUI::SetManager(pManager, pParent, bInit);
    // A windowless object lives in the paint window of whichever window holds
    // the control; a windowed one's child window moves there, or it would go
    // with the window the control has left.
    if (m_pControl != NULL && m_pControl->m_bInPlaceActive && m_pControl->m_bWindowless) {
        m_hwndHost = PaintWindow();
        AddMessageFilter();
    }
    else if (m_hwndHost != NULL && PaintWindow() != NULL && ::GetParent(m_hwndHost) != PaintWindow()) {
        ::SetParent(m_hwndHost, PaintWindow());
    }
    HookAccelerator();
}

void CActiveXUI::AddMessageFilter()
{
    if (m_pFilterManager != NULL || m_pManager == NULL) return;
    if (m_pManager->AddMessageFilter(this)) m_pFilterManager = m_pManager;
}

void CActiveXUI::RemoveMessageFilter()
{
    if (m_pFilterManager == NULL) return;
    m_pFilterManager->RemoveMessageFilter(this);
    m_pFilterManager = NULL;
}

void CActiveXUI::AddAcceleratorHook(ITranslateAccelerator* pHook)
{
    RemoveAcceleratorHook();
    m_pAcceleratorHook = pHook;
    HookAccelerator();
}

// Waits for a manager: a control may be created before it is attached.
void CActiveXUI::HookAccelerator()
{
    if (m_pAcceleratorHook == NULL || m_pAcceleratorManager != NULL || m_pManager == NULL) return;
    if (m_pManager->AddTranslateAccelerator(m_pAcceleratorHook)) m_pAcceleratorManager = m_pManager;
}

void CActiveXUI::UnhookAccelerator()
{
    if (m_pAcceleratorManager != NULL) m_pAcceleratorManager->RemoveTranslateAccelerator(m_pAcceleratorHook);
    m_pAcceleratorManager = NULL;
}

void CActiveXUI::RemoveAcceleratorHook()
{
    UnhookAccelerator();
    m_pAcceleratorHook = NULL;
}


// ---------------------------------------------------------------------------
// What derived controls share

HRESULT CActiveXUI::QuerySiteInterface(REFIID /*riid*/, void** ppvObject)
{
    if (ppvObject != NULL) *ppvObject = NULL;
    return E_NOINTERFACE;
}

HRESULT CActiveXUI::TranslateObjectAccelerator(MSG* pMsg)
{
    if (pMsg == NULL || pMsg->message < WM_KEYFIRST || pMsg->message > kLastKeyMessage) return S_FALSE;
    if (m_pUnk == NULL) return E_NOTIMPL;
    for (HWND hWnd = ::GetFocus(); hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        if (hWnd != m_hwndHost) continue;
        IOleInPlaceActiveObject* pActiveObject = NULL;
        if (FAILED(m_pUnk->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&pActiveObject)))) {
            return S_FALSE;
        }
        const HRESULT hr = pActiveObject->TranslateAccelerator(pMsg);
        pActiveObject->Release();
        return hr;
    }
    return S_FALSE;
}

HRESULT CActiveXUI::FindConnectionPoint(REFIID riidEvents, IConnectionPoint** ppConnectionPoint) const
{
    *ppConnectionPoint = NULL;
    if (m_pUnk == NULL) return E_PENDING;
    IConnectionPointContainer* pContainer = NULL;
    HRESULT hr = m_pUnk->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&pContainer));
    if (FAILED(hr)) return hr;
    hr = pContainer->FindConnectionPoint(riidEvents, ppConnectionPoint);
    pContainer->Release();
    if (FAILED(hr)) *ppConnectionPoint = NULL;
    return hr;
}

HRESULT CActiveXUI::AdviseEvents(REFIID riidEvents, IUnknown* pSink, DWORD* pdwCookie)
{
    *pdwCookie = 0;
    IConnectionPoint* pConnectionPoint = NULL;
    HRESULT hr = FindConnectionPoint(riidEvents, &pConnectionPoint);
    if (FAILED(hr)) return hr;
    hr = pConnectionPoint->Advise(pSink, pdwCookie);
    pConnectionPoint->Release();
    if (FAILED(hr)) *pdwCookie = 0;
    return hr;
}

HRESULT CActiveXUI::UnadviseEvents(REFIID riidEvents, DWORD* pdwCookie)
{
    const DWORD dwCookie = *pdwCookie;
    *pdwCookie = 0;
    if (dwCookie == 0) return S_FALSE;
    IConnectionPoint* pConnectionPoint = NULL;
    HRESULT hr = FindConnectionPoint(riidEvents, &pConnectionPoint);
    if (FAILED(hr)) return hr;
    hr = pConnectionPoint->Unadvise(dwCookie);
    pConnectionPoint->Release();
    return hr;
}

HRESULT CActiveXUI::CheckEventArguments(const DISPPARAMS* pParams, std::initializer_list<VARTYPE> aTypes)
{
    const UINT nArgs = pParams != NULL && pParams->rgvarg != NULL ? pParams->cArgs : 0;
    if (nArgs != aTypes.size()) return DISP_E_BADPARAMCOUNT;
    UINT i = nArgs;
    for (VARTYPE vt : aTypes) {
        const VARIANT& arg = pParams->rgvarg[--i];
        if (V_VT(&arg) != vt) return DISP_E_TYPEMISMATCH;
        // A reference to nothing carries no value of its type.
        if ((vt & VT_BYREF) != 0 && V_BYREF(&arg) == NULL) return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

} // namespace SkinLib
