// The browser and page doubles (see BrowserDoubles.h). The HTML interfaces
// have scores of methods each, of which the control calls a few: this file is
// built from the interfaces' C declarations, and each double fills only the
// slots of its tables that the control calls. Any other call is a call of a
// null slot, and shows at once.
#define CINTERFACE
#define COBJMACROS
#include <windows.h>
#include <ole2.h>
#include <exdisp.h>
#include <mshtml.h>
#include <mshtmhst.h>

#include "BrowserDoubles.h"

namespace SkinLibTest {

namespace {

// Not in the system's uuid library.
const IID kCustomDocIid = {0x3050f3f0, 0x98b5, 0x11cf, {0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b}};

// What a script error's event object tells, read by name.
const wchar_t* const kEventProperties[] = {L"errorLine", L"errorCharacter", L"errorCode", L"errorMessage",
                                           L"errorUrl"};

LONG g_nLive = 0;

// One count of references for all the interfaces of a double.
class CDouble
{
public:
    CDouble() { ++g_nLive; }
    CDouble(const CDouble&) = delete;
    CDouble& operator=(const CDouble&) = delete;
    virtual ~CDouble() { --g_nLive; }

    ULONG AddRef() { return static_cast<ULONG>(++m_nRef); }
    ULONG Release()
    {
        const LONG nRef = --m_nRef;
        if (nRef == 0) delete this;
        return static_cast<ULONG>(nRef);
    }
    HRESULT Query(REFIID riid, void** ppv)
    {
        if (ppv == NULL) return E_POINTER;
        *ppv = Find(riid);
        if (*ppv == NULL) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

protected:
    // The interface asked for, or null.
    virtual void* Find(REFIID riid) = 0;

private:
    LONG m_nRef = 1;
};

// One interface of a double: a table of null slots but those of IUnknown,
// which lead to the double, and those the double fills.
template <class I, class Vtbl> struct TPart
{
    explicit TPart(CDouble* pDouble) : iface{&vtbl}, pOwner(pDouble), vtbl()
    {
        vtbl.QueryInterface = [](I* p, REFIID riid, void** ppv) { return Of(p)->pOwner->Query(riid, ppv); };
        vtbl.AddRef = [](I* p) { return Of(p)->pOwner->AddRef(); };
        vtbl.Release = [](I* p) { return Of(p)->pOwner->Release(); };
    }
    // The interface is the part's first member, so its address is the part's.
    static TPart* Of(I* p) { return reinterpret_cast<TPart*>(p); }
    template <class T> static T* Owner(I* p) { return static_cast<T*>(Of(p)->pOwner); }

    I iface;
    CDouble* pOwner;
    Vtbl vtbl;
};

class CEventObject : public CDouble
{
public:
    explicit CEventObject(PageRecord* pRecord) : m_pRecord(pRecord)
    {
        m_event.vtbl.GetIDsOfNames = [](IHTMLEventObj*, REFIID, LPOLESTR* rgszNames, UINT cNames, LCID,
                                        DISPID* rgDispId) -> HRESULT {
            if (cNames != 1) return E_INVALIDARG;
            for (DISPID i = 0; i < DISPID(ARRAYSIZE(kEventProperties)); i++) {
                if (::wcscmp(rgszNames[0], kEventProperties[i]) != 0) continue;
                *rgDispId = i + 1;
                return S_OK;
            }
            return DISP_E_UNKNOWNNAME;
        };
        m_event.vtbl.Invoke = [](IHTMLEventObj* p, DISPID id, REFIID, LCID, WORD wFlags, DISPPARAMS*,
                                 VARIANT* pResult, EXCEPINFO*, UINT*) -> HRESULT {
            if (wFlags != DISPATCH_PROPERTYGET || id < 1 || id > DISPID(ARRAYSIZE(kEventProperties))) {
                return DISP_E_MEMBERNOTFOUND;
            }
            Part::Owner<CEventObject>(p)->m_pRecord->sReads += std::wstring(kEventProperties[id - 1]) + L" ";
            V_VT(pResult) = VT_I4;
            V_I4(pResult) = id;
            return S_OK;
        };
    }

    typedef TPart<IHTMLEventObj, IHTMLEventObjVtbl> Part;
    Part m_event{this};

private:
    void* Find(REFIID riid) override
    {
        return riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLEventObj ? &m_event.iface : NULL;
    }

    PageRecord* m_pRecord;
};

class CWindow : public CDouble
{
public:
    explicit CWindow(PageRecord* pRecord) : m_pEvent(new CEventObject(pRecord))
    {
        pRecord->pWindow = &m_window.iface;
        m_window.vtbl.get_event = [](IHTMLWindow2* p, IHTMLEventObj** ppEvent) -> HRESULT {
            CEventObject* pEvent = Part::Owner<CWindow>(p)->m_pEvent;
            pEvent->AddRef();
            *ppEvent = &pEvent->m_event.iface;
            return S_OK;
        };
    }
    ~CWindow() override { m_pEvent->Release(); }

    typedef TPart<IHTMLWindow2, IHTMLWindow2Vtbl> Part;
    Part m_window{this};

private:
    void* Find(REFIID riid) override
    {
        return riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLWindow2 ? &m_window.iface : NULL;
    }

    CEventObject* m_pEvent;  // one reference
};

// The UI handler it is given is recorded, not held.
class CDocument : public CDouble
{
public:
    explicit CDocument(PageRecord* pRecord) : m_pWindow(new CWindow(pRecord)), m_pRecord(pRecord)
    {
        m_document.vtbl.get_parentWindow = [](IHTMLDocument2* p, IHTMLWindow2** ppWindow) -> HRESULT {
            CWindow* pWindow = DocumentPart::Owner<CDocument>(p)->m_pWindow;
            pWindow->AddRef();
            *ppWindow = &pWindow->m_window.iface;
            return S_OK;
        };
        m_custom.vtbl.SetUIHandler = [](ICustomDoc* p, IDocHostUIHandler* pUIHandler) -> HRESULT {
            CustomPart::Owner<CDocument>(p)->m_pRecord->pUIHandler = pUIHandler;
            return S_OK;
        };
    }
    ~CDocument() override { m_pWindow->Release(); }

    typedef TPart<IHTMLDocument2, IHTMLDocument2Vtbl> DocumentPart;
    typedef TPart<ICustomDoc, ICustomDocVtbl> CustomPart;
    DocumentPart m_document{this};
    CustomPart m_custom{this};

private:
    void* Find(REFIID riid) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLDocument ||
            riid == IID_IHTMLDocument2) {
            return &m_document.iface;
        }
        return riid == kCustomDocIid ? &m_custom.iface : NULL;
    }

    CWindow* m_pWindow;  // one reference
    PageRecord* m_pRecord;
};

// Goes in place nowhere: it has no window and no view.
class CBrowser : public CDouble
{
public:
    explicit CBrowser(IUnknown* pDocument)
    {
        IUnknown_QueryInterface(pDocument, IID_IDispatch, reinterpret_cast<void**>(&m_pDocument));
        m_object.vtbl.SetClientSite = [](IOleObject*, IOleClientSite*) { return S_OK; };
        m_object.vtbl.SetHostNames = [](IOleObject*, LPCOLESTR, LPCOLESTR) { return S_OK; };
        m_object.vtbl.Close = [](IOleObject*, DWORD) { return S_OK; };
        m_object.vtbl.DoVerb = [](IOleObject*, LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) { return S_OK; };
        m_object.vtbl.GetMiscStatus = [](IOleObject*, DWORD, DWORD* pdwStatus) {
            *pdwStatus = 0;
            return S_OK;
        };
        m_object.vtbl.SetExtent = [](IOleObject*, DWORD, SIZEL*) { return S_OK; };
        m_browser.vtbl.get_Document = [](IWebBrowser2* p, IDispatch** ppDocument) -> HRESULT {
            IDispatch* pDocument = BrowserPart::Owner<CBrowser>(p)->m_pDocument;
            IDispatch_AddRef(pDocument);
            *ppDocument = pDocument;
            return S_OK;
        };
    }
    ~CBrowser() override { IDispatch_Release(m_pDocument); }

private:
    typedef TPart<IWebBrowser2, IWebBrowser2Vtbl> BrowserPart;

    void* Find(REFIID riid) override
    {
        if (riid == IID_IUnknown || riid == IID_IOleObject) return &m_object.iface;
        if (riid == IID_IOleControl) return &m_control.iface;
        return riid == IID_IDispatch || riid == IID_IWebBrowser2 ? &m_browser.iface : NULL;
    }

    TPart<IOleObject, IOleObjectVtbl> m_object{this};
    TPart<IOleControl, IOleControlVtbl> m_control{this};
    BrowserPart m_browser{this};
    IDispatch* m_pDocument;  // one reference
};

class CBrowserFactory : public CDouble
{
public:
    explicit CBrowserFactory(IUnknown* pDocument) : m_pDocument(pDocument)
    {
        IUnknown_AddRef(m_pDocument);
        m_factory.vtbl.CreateInstance = [](IClassFactory* p, IUnknown* pOuter, REFIID riid, void** ppv) -> HRESULT {
            *ppv = NULL;
            if (pOuter != NULL) return CLASS_E_NOAGGREGATION;
            CBrowser* pBrowser = new CBrowser(Part::Owner<CBrowserFactory>(p)->m_pDocument);
            const HRESULT hr = pBrowser->Query(riid, ppv);
            pBrowser->Release();
            return hr;
        };
        m_factory.vtbl.LockServer = [](IClassFactory*, BOOL) { return S_OK; };
    }
    ~CBrowserFactory() override { IUnknown_Release(m_pDocument); }

    typedef TPart<IClassFactory, IClassFactoryVtbl> Part;
    Part m_factory{this};

private:
    void* Find(REFIID riid) override
    {
        return riid == IID_IUnknown || riid == IID_IClassFactory ? &m_factory.iface : NULL;
    }

    IUnknown* m_pDocument;  // one reference
};

} // namespace

void* NewPageDocument(PageRecord* pRecord)
{
    return &(new CDocument(pRecord))->m_document.iface;
}

void* NewBrowserFactory(void* pDocument)
{
    return &(new CBrowserFactory(static_cast<IUnknown*>(pDocument)))->m_factory.iface;
}

long LiveBrowserDoubles()
{
    return g_nLive;
}

} // namespace SkinLibTest
