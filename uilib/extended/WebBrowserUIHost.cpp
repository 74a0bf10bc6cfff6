// CWebBrowserUI, the COM parts the browser talks to:
//   - reference counting and interfaces, and what the site answers for the control
//   - the browser's events
//   - the document host's questions
//   - the command target: script errors
//   - the service provider and the download manager
#include <exdispid.h>
#include <mshtml.h>

#include "extended/WebBrowserUI.h"

namespace SkinLib {

namespace {

// The command group of the document host's commands, which the system's libraries leave out.
const GUID kDocHostCommandGroup = {0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

// What a script error's event object tells; read, and the error goes no further.
const wchar_t* const kScriptErrorProperties[] = {L"errorLine", L"errorCharacter", L"errorCode", L"errorMessage",
                                                 L"errorUrl"};

const VARTYPE kVariantRef = VT_VARIANT | VT_BYREF;
const VARTYPE kBoolRef = VT_BOOL | VT_BYREF;

} // namespace

// ---------------------------------------------------------------------------
// Reference counting and interfaces

HRESULT STDMETHODCALLTYPE CWebBrowserUI::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL) return E_POINTER;
    *ppvObject = NULL;
    if (riid == IID_IUnknown || riid == IID_IDocHostUIHandler) *ppvObject = static_cast<IDocHostUIHandler*>(this);
    else if (riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2) *ppvObject = static_cast<IDispatch*>(this);
    else if (riid == IID_IServiceProvider) *ppvObject = static_cast<IServiceProvider*>(this);
    else if (riid == IID_IOleCommandTarget) *ppvObject = static_cast<IOleCommandTarget*>(this);
    else if (riid == __uuidof(IDownloadManager)) *ppvObject = static_cast<IDownloadManager*>(this);
    if (*ppvObject == NULL) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CWebBrowserUI::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

// The control belongs to its parent, not to the browser: the count never deletes it.
ULONG STDMETHODCALLTYPE CWebBrowserUI::Release()
{
    return static_cast<ULONG>(::InterlockedDecrement(&m_dwRef));
}

// The browser asks its client site for its document host.
HRESULT CWebBrowserUI::QuerySiteInterface(REFIID riid, void** ppvObject)
{
    if (riid == IID_IDocHostUIHandler || riid == IID_IOleCommandTarget || riid == IID_IServiceProvider) {
        return QueryInterface(riid, ppvObject);
    }
    return CActiveXUI::QuerySiteInterface(riid, ppvObject);
}

// ---------------------------------------------------------------------------
// The browser's events

HRESULT STDMETHODCALLTYPE CWebBrowserUI::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo != NULL) *pctinfo = 0;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::GetTypeInfo(UINT /*iTInfo*/, LCID /*lcid*/, ITypeInfo** ppTInfo)
{
    if (ppTInfo != NULL) *ppTInfo = NULL;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::GetIDsOfNames(REFIID /*riid*/, LPOLESTR* /*rgszNames*/, UINT /*cNames*/,
                                                       LCID /*lcid*/, DISPID* /*rgDispId*/)
{
    return E_NOTIMPL;
}

// Arguments come last parameter first. The handler hears of an event only
// when its arguments are what the event carries.
HRESULT STDMETHODCALLTYPE CWebBrowserUI::Invoke(DISPID dispIdMember, REFIID riid, LCID /*lcid*/, WORD /*wFlags*/,
                                                DISPPARAMS* pDispParams, VARIANT* /*pVarResult*/,
                                                EXCEPINFO* /*pExcepInfo*/, UINT* /*puArgErr*/)
{
    if (riid != IID_NULL) return E_INVALIDARG;
    CWebBrowserEventHandler* pHandler = m_pWebBrowserEventHandler;
    HRESULT hr = S_OK;
    switch (dispIdMember) {
    case DISPID_STATUSTEXTCHANGE:
        return S_OK;
    case DISPID_COMMANDSTATECHANGE:
        hr = CheckEventArguments(pDispParams, {VT_I4, VT_BOOL});
        if (hr == S_OK && pHandler != NULL) {
            VARIANTARG* pArgs = pDispParams->rgvarg;
            pHandler->CommandStateChange(V_I4(&pArgs[1]), V_BOOL(&pArgs[0]));
        }
        return hr;
    case DISPID_BEFORENAVIGATE2:
        hr = CheckEventArguments(pDispParams,
                                 {VT_DISPATCH, kVariantRef, kVariantRef, kVariantRef, kVariantRef, kVariantRef, kBoolRef});
        if (hr == S_OK && pHandler != NULL) {
            VARIANTARG* pArgs = pDispParams->rgvarg;
            pHandler->BeforeNavigate2(V_DISPATCH(&pArgs[6]), V_VARIANTREF(&pArgs[5]), V_VARIANTREF(&pArgs[4]),
                                      V_VARIANTREF(&pArgs[3]), V_VARIANTREF(&pArgs[2]), V_VARIANTREF(&pArgs[1]),
                                      V_BOOLREF(&pArgs[0]));
        }
        return hr;
    case DISPID_NAVIGATECOMPLETE2:
        hr = CheckEventArguments(pDispParams, {VT_DISPATCH, kVariantRef});
        if (hr != S_OK) return hr;
        HookDocument();
        if (pHandler != NULL) {
            VARIANTARG* pArgs = pDispParams->rgvarg;
            pHandler->NavigateComplete2(V_DISPATCH(&pArgs[1]), V_VARIANTREF(&pArgs[0]));
        }
        return S_OK;
    case DISPID_NAVIGATEERROR:
        hr = CheckEventArguments(pDispParams, {VT_DISPATCH, kVariantRef, kVariantRef, kVariantRef, kBoolRef});
        if (hr == S_OK && pHandler != NULL) {
            VARIANTARG* pArgs = pDispParams->rgvarg;
            pHandler->NavigateError(V_DISPATCH(&pArgs[4]), V_VARIANTREF(&pArgs[3]), V_VARIANTREF(&pArgs[2]),
                                    V_VARIANTREF(&pArgs[1]), V_BOOLREF(&pArgs[0]));
        }
        return hr;
    case DISPID_NEWWINDOW3:
        hr = CheckEventArguments(pDispParams, {VT_DISPATCH | VT_BYREF, kBoolRef, VT_I4, VT_BSTR, VT_BSTR});
        if (hr == S_OK && pHandler != NULL) {
            VARIANTARG* pArgs = pDispParams->rgvarg;
            pHandler->NewWindow3(V_DISPATCHREF(&pArgs[4]), V_BOOLREF(&pArgs[3]), static_cast<DWORD>(V_I4(&pArgs[2])),
                                 V_BSTR(&pArgs[1]), V_BSTR(&pArgs[0]));
        }
        return hr;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

void CWebBrowserUI::HookDocument()
{
    if (m_pWebBrowser2 == NULL) return;
    IDispatch* pDocument = NULL;
    if (FAILED(m_pWebBrowser2->get_Document(&pDocument)) || pDocument == NULL) return;
    ICustomDoc* pCustomDoc = NULL;
    if (SUCCEEDED(pDocument->QueryInterface(__uuidof(ICustomDoc), reinterpret_cast<void**>(&pCustomDoc)))) {
        pCustomDoc->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
        pCustomDoc->Release();
    }
    pDocument->Release();
}

// ---------------------------------------------------------------------------
// The document host's questions

HRESULT STDMETHODCALLTYPE CWebBrowserUI::ShowContextMenu(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
                                                         IDispatch* pDispatchObjectHit)
{
    if (m_pWebBrowserEventHandler == NULL) return S_FALSE;  // the browser shows its own menu
    return m_pWebBrowserEventHandler->ShowContextMenu(dwID, pptPosition, pCommandTarget, pDispatchObjectHit);
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (m_pWebBrowserEventHandler == NULL) return E_NOTIMPL;
    return m_pWebBrowserEventHandler->GetHostInfo(pInfo);
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                                                IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                                                IOleInPlaceUIWindow* pDoc)
{
    if (m_pWebBrowserEventHandler == NULL) return S_OK;
    return m_pWebBrowserEventHandler->ShowUI(dwID, pActiveObject, pCommandTarget, pFrame, pDoc);
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::HideUI()
{
    if (m_pWebBrowserEventHandler == NULL) return S_OK;
    return m_pWebBrowserEventHandler->HideUI();
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::UpdateUI()
{
    if (m_pWebBrowserEventHandler == NULL) return S_OK;
    return m_pWebBrowserEventHandler->UpdateUI();
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::EnableModeless(BOOL fEnable)
{
    if (m_pWebBrowserEventHandler == NULL) return E_NOTIMPL;
    return m_pWebBrowserEventHandler->EnableModeless(fEnable);
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::OnDocWindowActivate(BOOL fActivate)
{
    if (m_pWebBrowserEventHandler == NULL) return E_NOTIMPL;
    return m_pWebBrowserEventHandler->OnDocWindowActivate(fActivate);
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::OnFrameWindowActivate(BOOL fActivate)
{
    if (m_pWebBrowserEventHandler == NULL) return E_NOTIMPL;
    return m_pWebBrowserEventHandler->OnFrameWindowActivate(fActivate);
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow,
                                                      BOOL fFrameWindow)
{
    if (m_pWebBrowserEventHandler == NULL) return E_NOTIMPL;
    return m_pWebBrowserEventHandler->ResizeBorder(prcBorder, pUIWindow, fFrameWindow);
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID)
{
    if (m_pWebBrowserEventHandler == NULL) return S_FALSE;
    return m_pWebBrowserEventHandler->TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID);
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::GetOptionKeyPath(LPOLESTR* pchKey, DWORD dwReserved)
{
    if (m_pWebBrowserEventHandler == NULL) return E_NOTIMPL;
    return m_pWebBrowserEventHandler->GetOptionKeyPath(pchKey, dwReserved);
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget)
{
    if (m_pWebBrowserEventHandler != NULL) return m_pWebBrowserEventHandler->GetDropTarget(pDropTarget, ppDropTarget);
    if (ppDropTarget != NULL) *ppDropTarget = NULL;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::GetExternal(IDispatch** ppDispatch)
{
    if (m_pWebBrowserEventHandler != NULL) return m_pWebBrowserEventHandler->GetExternal(ppDispatch);
    if (ppDispatch != NULL) *ppDispatch = NULL;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::TranslateUrl(DWORD dwTranslate, OLECHAR* pchURLIn, OLECHAR** ppchURLOut)
{
    if (m_pWebBrowserEventHandler != NULL) {
        return m_pWebBrowserEventHandler->TranslateUrl(dwTranslate, pchURLIn, ppchURLOut);
    }
    if (ppchURLOut != NULL) *ppchURLOut = NULL;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::FilterDataObject(IDataObject* pDO, IDataObject** ppDORet)
{
    if (m_pWebBrowserEventHandler != NULL) return m_pWebBrowserEventHandler->FilterDataObject(pDO, ppDORet);
    if (ppDORet != NULL) *ppDORet = NULL;
    return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// The command target

HRESULT STDMETHODCALLTYPE CWebBrowserUI::QueryStatus(const GUID* /*pguidCmdGroup*/, ULONG /*cCmds*/,
                                                     OLECMD /*prgCmds*/[], OLECMDTEXT* /*pCmdText*/)
{
    return OLECMDERR_E_NOTSUPPORTED;
}

// A script error on a page: its details are read from the window's event
// object, and the answer in out keeps the page's scripts running without an
// error dialog. The answer is that of the last read.
HRESULT STDMETHODCALLTYPE CWebBrowserUI::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD /*nCmdexecopt*/,
                                              VARIANT* pvaIn, VARIANT* pvaOut)
{
    if (pguidCmdGroup == NULL || *pguidCmdGroup != kDocHostCommandGroup) return OLECMDERR_E_UNKNOWNGROUP;
    if (nCmdID != OLECMDID_SHOWSCRIPTERROR) return OLECMDERR_E_NOTSUPPORTED;
    if (pvaIn == NULL || pvaOut == NULL || (V_VT(pvaIn) != VT_UNKNOWN && V_VT(pvaIn) != VT_DISPATCH) ||
        V_UNKNOWN(pvaIn) == NULL) {
        return E_INVALIDARG;
    }
    IHTMLDocument2* pDocument = NULL;
    HRESULT hr = V_UNKNOWN(pvaIn)->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&pDocument));
    if (FAILED(hr)) return hr;
    IHTMLWindow2* pWindow = NULL;
    hr = pDocument->get_parentWindow(&pWindow);
    pDocument->Release();
    if (FAILED(hr)) return hr;
    if (pWindow == NULL) return E_FAIL;
    IHTMLEventObj* pEvent = NULL;
    hr = pWindow->get_event(&pEvent);
    pWindow->Release();
    if (FAILED(hr)) return hr;
    if (pEvent == NULL) return E_FAIL;
    for (const wchar_t* pstrName : kScriptErrorProperties) {
        VARIANT value;
        ::VariantInit(&value);
        hr = GetProperty(pEvent, pstrName, &value);
        ::VariantClear(&value);
    }
    pEvent->Release();
    ::VariantInit(pvaOut);
    V_VT(pvaOut) = VT_BOOL;
    V_BOOL(pvaOut) = VARIANT_TRUE;
    return hr;
}

// ---------------------------------------------------------------------------
// The service provider and the download manager

HRESULT STDMETHODCALLTYPE CWebBrowserUI::QueryService(REFGUID guidService, REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL) return E_POINTER;
    *ppvObject = NULL;
    if (guidService != __uuidof(IDownloadManager) || riid != __uuidof(IDownloadManager)) return E_NOINTERFACE;
    return QueryInterface(riid, ppvObject);
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF,
                                                  BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir,
                                                  UINT uiCP)
{
    // Without a handler nothing is downloaded.
    if (m_pWebBrowserEventHandler == NULL) return S_OK;
    return m_pWebBrowserEventHandler->Download(pmk, pbc, dwBindVerb, grfBINDF, pBindInfo, pszHeaders, pszRedir, uiCP);
}

} // namespace SkinLib
