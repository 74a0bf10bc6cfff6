// CWebBrowserUI, the web browser control:
//   - construction, identity, attributes and settings
//   - creation and release of the browser, its events and its accelerators
//   - navigation and the document's window
//   - late-bound calls on script objects
// Its COM parts are in WebBrowserUIHost.cpp.
#include "extended/WebBrowserUI.h"

#include <mshtml.h>
#include <wchar.h>

namespace SkinLib {

namespace {

// The system's web browser object.
const CLSID kWebBrowserClsid = {0x8856f961, 0x340a, 0x11d0, {0xa9, 0x6b, 0x00, 0xc0, 0x4f, 0xd7, 0x05, 0xa2}};

// A text as a VT_BSTR variant, for the caller to clear.
VARIANT TextVariant(const wchar_t* pstrText)
{
    VARIANT v;
    ::VariantInit(&v);
    V_BSTR(&v) = ::SysAllocString(pstrText);
    if (V_BSTR(&v) != NULL) V_VT(&v) = VT_BSTR;
    return v;
}

} // namespace

CWebBrowserUI::CWebBrowserUI()
    : m_pWebBrowser2(NULL), m_pHtmlWnd2(NULL), m_dwRef(0), m_dwCookie(0), m_bAutoNavi(false),
      m_pWebBrowserEventHandler(NULL)
{
    m_clsid = kWebBrowserClsid;
}

CWebBrowserUI::~CWebBrowserUI()
{
    ReleaseControl();
}

const wchar_t* CWebBrowserUI::GetClass() const
{
    return L"WebBrowserUI";
}

void* CWebBrowserUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"WebBrowser") == 0) return static_cast<CWebBrowserUI*>(this);
    return CActiveXUI::GetInterface(pstrName);
}

void CWebBrowserUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (wcscmp(pstrName, L"homepage") == 0) SetHomePage(pstrValue);
    else if (wcscmp(pstrName, L"autonavi") == 0) SetAutoNavigation(wcscmp(pstrValue, L"true") == 0);
    else CActiveXUI::SetAttribute(pstrName, pstrValue);
}

void CWebBrowserUI::SetHomePage(const wchar_t* pstrUrl)
{
    m_sHomePage = pstrUrl;
}

const CSkinString& CWebBrowserUI::GetHomePage() const
{
    return m_sHomePage;
}

void CWebBrowserUI::SetAutoNavigation(bool bAuto)
{
    m_bAutoNavi = bAuto;
}

bool CWebBrowserUI::IsAutoNavigation() const
{
    return m_bAutoNavi;
}

void CWebBrowserUI::SetWebBrowserEventHandler(CWebBrowserEventHandler* pEventHandler)
{
    if (pEventHandler != NULL) m_pWebBrowserEventHandler = pEventHandler;
}

// ---------------------------------------------------------------------------
// Creation and release

bool CWebBrowserUI::DoCreateControl()
{
    if (!CActiveXUI::DoCreateControl()) return false;
    AddAcceleratorHook(this);
    GetControl(IID_IWebBrowser2, reinterpret_cast<void**>(&m_pWebBrowser2));
    // The sink goes on first, so that the handler sees the home page's navigation too.
    if (m_pWebBrowser2 != NULL) AdviseEvents(DIID_DWebBrowserEvents2, static_cast<IDispatch*>(this), &m_dwCookie);
    if (m_bAutoNavi && !m_sHomePage.IsEmpty()) Navigate2(m_sHomePage);
    return true;
}

// The browser's part goes first, then the host's; run twice, the second run finds nothing.
void CWebBrowserUI::ReleaseControl()
{
    m_bCreated = false;
    UnadviseEvents(DIID_DWebBrowserEvents2, &m_dwCookie);
    if (m_pHtmlWnd2 != NULL) {
        m_pHtmlWnd2->Release();
        m_pHtmlWnd2 = NULL;
    }
    if (m_pWebBrowser2 != NULL) {
        m_pWebBrowser2->Release();
        m_pWebBrowser2 = NULL;
    }
    CActiveXUI::ReleaseControl();
}

LRESULT CWebBrowserUI::TranslateAcceleratorW(MSG* pMsg)
{
    return TranslateObjectAccelerator(pMsg);
}

// ---------------------------------------------------------------------------
// Navigation and the document's window

void CWebBrowserUI::Navigate2(const wchar_t* pstrUrl)
{
    if (pstrUrl == NULL || m_pWebBrowser2 == NULL) return;
    VARIANT url = TextVariant(pstrUrl);
    VARIANT empty;
    ::VariantInit(&empty);
    if (V_VT(&url) == VT_BSTR) m_pWebBrowser2->Navigate2(&url, &empty, &empty, &empty, &empty);
    ::VariantClear(&url);
}

void CWebBrowserUI::NavigateUrl(const wchar_t* pstrUrl)
{
    if (pstrUrl == NULL || m_pWebBrowser2 == NULL) return;
    BSTR bstrUrl = ::SysAllocString(pstrUrl);
    if (bstrUrl == NULL) return;
    VARIANT empty;
    ::VariantInit(&empty);
    m_pWebBrowser2->Navigate(bstrUrl, &empty, &empty, &empty, &empty);
    ::SysFreeString(bstrUrl);
}

void CWebBrowserUI::NavigateHomePage()
{
    if (!m_sHomePage.IsEmpty()) NavigateUrl(m_sHomePage);
}

void CWebBrowserUI::Refresh()
{
    if (m_pWebBrowser2 != NULL) m_pWebBrowser2->Refresh();
}

void CWebBrowserUI::Refresh2(int nLevel)
{
    if (m_pWebBrowser2 == NULL) return;
    VARIANT level;
    ::VariantInit(&level);
    V_VT(&level) = VT_I4;
    V_I4(&level) = nLevel;
    m_pWebBrowser2->Refresh2(&level);
}

void CWebBrowserUI::GoBack()
{
    if (m_pWebBrowser2 != NULL) m_pWebBrowser2->GoBack();
}

void CWebBrowserUI::GoForward()
{
    if (m_pWebBrowser2 != NULL) m_pWebBrowser2->GoForward();
}

IWebBrowser2* CWebBrowserUI::GetWebBrowser2() const
{
    return m_pWebBrowser2;
}

IDispatch* CWebBrowserUI::GetHtmlWindow()
{
    if (m_pWebBrowser2 == NULL) return NULL;
    IDispatch* pDocument = NULL;
    if (FAILED(m_pWebBrowser2->get_Document(&pDocument)) || pDocument == NULL) return NULL;
    IHTMLDocument2* pHtmlDocument = NULL;
    HRESULT hr = pDocument->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&pHtmlDocument));
    pDocument->Release();
    if (FAILED(hr)) return NULL;
    IHTMLWindow2* pWindow = NULL;
    hr = pHtmlDocument->get_parentWindow(&pWindow);
    pHtmlDocument->Release();
    if (FAILED(hr) || pWindow == NULL) return NULL;
    if (m_pHtmlWnd2 != NULL) m_pHtmlWnd2->Release();
    m_pHtmlWnd2 = pWindow;
    IDispatch* pWindowDispatch = NULL;
    if (FAILED(m_pHtmlWnd2->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pWindowDispatch)))) return NULL;
    return pWindowDispatch;
}

// ---------------------------------------------------------------------------
// Late-bound calls on script objects

DISPID CWebBrowserUI::FindId(IDispatch* pObj, const wchar_t* pstrName)
{
    if (pObj == NULL || pstrName == NULL) return -1;
    LPOLESTR pstrNames[] = {const_cast<LPOLESTR>(pstrName)};
    DISPID id = -1;
    if (FAILED(pObj->GetIDsOfNames(IID_NULL, pstrNames, 1, LOCALE_SYSTEM_DEFAULT, &id))) return -1;
    return id;
}

HRESULT CWebBrowserUI::InvokeMethod(IDispatch* pObj, const wchar_t* pstrName, VARIANT* pVarResult, VARIANT* ps,
                                    int cArgs)
{
    if (cArgs < 0 || (cArgs > 0 && ps == NULL)) return E_INVALIDARG;
    const DISPID id = FindId(pObj, pstrName);
    if (id == -1) return E_FAIL;
    DISPPARAMS params = {ps, NULL, static_cast<UINT>(cArgs), 0};
    return pObj->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params, pVarResult, NULL, NULL);
}

HRESULT CWebBrowserUI::GetProperty(IDispatch* pObj, const wchar_t* pstrName, VARIANT* pValue)
{
    const DISPID id = FindId(pObj, pstrName);
    if (id == -1) return E_FAIL;
    DISPPARAMS params = {NULL, NULL, 0, 0};
    return pObj->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYGET, &params, pValue, NULL, NULL);
}

HRESULT CWebBrowserUI::SetProperty(IDispatch* pObj, const wchar_t* pstrName, VARIANT* pValue)
{
    if (pValue == NULL) return E_INVALIDARG;
    const DISPID id = FindId(pObj, pstrName);
    if (id == -1) return E_FAIL;
    DISPID idNamed = DISPID_PROPERTYPUT;
    DISPPARAMS params = {pValue, &idNamed, 1, 1};
    return pObj->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYPUT, &params, NULL, NULL, NULL);
}

} // namespace SkinLib
