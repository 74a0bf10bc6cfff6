// The web browser control against the system's browser object under Wine,
// which has no HTML engine here: it is made, goes in place in a child window,
// and a navigation to a missing file brings BeforeNavigate2 and NavigateError,
// nothing more. Its event arguments, its document host's answers through the
// browser's client site, its command target, its script helpers and its
// release are tested beside it, the last ones against the simulated control;
// the document's window and UI handler against a browser and a page of the
// test's own (BrowserDoubles.h).
#include <windows.h>
#include <exdispid.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BrowserDoubles.h"
#include "HostedControlTest.h"
#include "SkinElements.h"
#include "extended/WebBrowserUI.h"

using namespace SkinLibTest;

namespace {

// A missing file: the browser tries it and reports INET_E_RESOURCE_NOT_FOUND.
const wchar_t kMissingPage[] = L"file:///C:/skinlib-no-such-folder/missing.html";
const LONG kResourceNotFound = static_cast<LONG>(0x800C0005);

std::wstring Text(const VARIANT* pv)
{
    return pv != NULL && V_VT(pv) == VT_BSTR && V_BSTR(pv) != NULL ? V_BSTR(pv) : L"";
}

// The application's handler: each call as a line, its answers fixed.
class CBrowserRecorder : public CWebBrowserEventHandler
{
public:
    void BeforeNavigate2(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&,
                         VARIANT_BOOL*& Cancel) override
    {
        Add(L"BeforeNavigate2 " + Text(url) + (*Cancel == VARIANT_FALSE ? L" go" : L" cancel"));
    }
    void NavigateError(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*& StatusCode, VARIANT_BOOL*&) override
    {
        wchar_t szStatus[16];
        swprintf(szStatus, 16, L" 0x%08lX", V_VT(StatusCode) == VT_I4 ? V_I4(StatusCode) : 0);
        Add(L"NavigateError " + Text(url) + szStatus);
    }
    void NavigateComplete2(IDispatch*, VARIANT*& url) override { Add(L"NavigateComplete2 " + Text(url)); }
    void ProgressChange(LONG, LONG) override { Add(L"ProgressChange"); }
    void NewWindow3(IDispatch**, VARIANT_BOOL*&, DWORD dwFlags, BSTR, BSTR bstrUrl) override
    {
        Add(L"NewWindow3 " + std::to_wstring(dwFlags) + L" " + bstrUrl);
    }
    void CommandStateChange(long Command, VARIANT_BOOL Enable) override
    {
        Add(L"CommandStateChange " + std::to_wstring(Command) + (Enable ? L" on" : L" off"));
    }
    HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return Answer(L"ShowContextMenu"); }
    HRESULT GetHostInfo(DOCHOSTUIINFO*) override { return Answer(L"GetHostInfo"); }
    HRESULT ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                   IOleInPlaceUIWindow*) override
    {
        return Answer(L"ShowUI");
    }
    HRESULT HideUI() override { return Answer(L"HideUI"); }
    HRESULT UpdateUI() override { return Answer(L"UpdateUI"); }
    HRESULT EnableModeless(BOOL) override { return Answer(L"EnableModeless"); }
    HRESULT OnDocWindowActivate(BOOL) override { return Answer(L"OnDocWindowActivate"); }
    HRESULT OnFrameWindowActivate(BOOL) override { return Answer(L"OnFrameWindowActivate"); }
    HRESULT ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return Answer(L"ResizeBorder"); }
    HRESULT TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return Answer(L"TranslateAccelerator"); }
    HRESULT GetOptionKeyPath(LPOLESTR*, DWORD) override { return Answer(L"GetOptionKeyPath"); }
    HRESULT GetDropTarget(IDropTarget*, IDropTarget**) override { return Answer(L"GetDropTarget"); }
    HRESULT GetExternal(IDispatch**) override { return Answer(L"GetExternal"); }
    HRESULT TranslateUrl(DWORD, OLECHAR*, OLECHAR**) override { return Answer(L"TranslateUrl"); }
    HRESULT FilterDataObject(IDataObject*, IDataObject**) override { return Answer(L"FilterDataObject"); }
    HRESULT Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR pszHeaders, LPCOLESTR,
                     UINT uiCP) override
    {
        return Answer((L"Download " + std::wstring(pszHeaders) + L" " + std::to_wstring(uiCP)).c_str());
    }

    bool Heard(const std::wstring& sLine) const
    {
        for (const std::wstring& s : aCalls)
            if (s == sLine) return true;
        return false;
    }
    int Count(const std::wstring& sPrefix) const
    {
        int n = 0;
        for (const std::wstring& s : aCalls) n += s.compare(0, sPrefix.size(), sPrefix) == 0 ? 1 : 0;
        return n;
    }
    // The calls so far, one a line, for failure messages.
    std::wstring All() const
    {
        std::wstring s;
        for (const std::wstring& sCall : aCalls) s += sCall + L"\n";
        return s;
    }

    std::vector<std::wstring> aCalls;
    HRESULT hrAnswer = static_cast<HRESULT>(0x2A);

private:
    void Add(const std::wstring& sCall) { aCalls.push_back(sCall); }
    HRESULT Answer(const wchar_t* pstrCall)
    {
        Add(pstrCall);
        return hrAnswer;
    }
};

// Arguments of an event as the browser passes them, last parameter first.
struct CArgs
{
    CArgs(std::initializer_list<VARIANT> aArgs) : a(aArgs.begin(), aArgs.end()) {}
    DISPPARAMS* Params()
    {
        params = DISPPARAMS{a.data(), NULL, static_cast<UINT>(a.size()), 0};
        return &params;
    }
    std::vector<VARIANT> a;
    DISPPARAMS params = {};
};

VARIANT Arg(VARTYPE vt, void* pRef = NULL)
{
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = vt;
    if ((vt & VT_BYREF) != 0) V_BYREF(&v) = pRef;
    return v;
}

VARIANT IntArg(LONG n)
{
    VARIANT v = Arg(VT_I4);
    V_I4(&v) = n;
    return v;
}

VARIANT BstrArg(BSTR bstr)
{
    VARIANT v = Arg(VT_BSTR);
    V_BSTR(&v) = bstr;
    return v;
}

// The test's browser, holding the given document, is made for the system browser's class while this lives.
struct CBrowserClass
{
    explicit CBrowserClass(IUnknown* pDocument) : pFactory(static_cast<IUnknown*>(NewBrowserFactory(pDocument)))
    {
        ::CoRegisterClassObject(CLSID_WebBrowser, pFactory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &dwCookie);
    }
    ~CBrowserClass()
    {
        ::CoRevokeClassObject(dwCookie);
        pFactory->Release();
    }
    IUnknown* pFactory;
    DWORD dwCookie = 0;
};

struct WebBrowserTest : HostedControlTest
{
    // Pumps the window's messages until the handler has heard the line.
    static bool WaitFor(const CBrowserRecorder& handler, const std::wstring& sLine)
    {
        for (DWORD dwStart = ::GetTickCount(); ::GetTickCount() - dwStart < 60000;) {
            PumpMessages();
            if (handler.Heard(sLine)) return true;
            ::MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
        }
        return false;
    }
    HRESULT Fire(CWebBrowserUI* pControl, DISPID dispid, CArgs& args, REFIID riid = IID_NULL)
    {
        return static_cast<IDispatch*>(pControl)->Invoke(dispid, riid, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                                         args.Params(), NULL, NULL, NULL);
    }

    CBrowserRecorder handler;
};

TEST_F(WebBrowserTest, TheSystemBrowserGoesInPlaceAndItsNavigationEventsReachTheHandler)
{
    CWebBrowserUI* pControl = Host(L"", new CWebBrowserUI);
    pControl->SetWebBrowserEventHandler(&handler);
    ASSERT_NE(pControl->GetWebBrowser2(), (IWebBrowser2*)NULL);
    HWND hHost = pControl->GetHostWindow();
    wchar_t szClass[32] = L"";
    ::GetClassNameW(hHost, szClass, 32);
    EXPECT_STREQ(szClass, L"ActiveXWnd");
    EXPECT_EQ(::GetParent(hHost), static_cast<HWND>(wnd));

    pControl->NavigateUrl(kMissingPage);
    EXPECT_TRUE(WaitFor(handler, L"NavigateError " + std::wstring(kMissingPage) + L" 0x800C0005")) << handler.All();
    EXPECT_EQ(handler.Count(L"BeforeNavigate2 "), 1) << handler.All();
    // No document came, so there is no window to script.
    EXPECT_EQ(pControl->GetHtmlWindow(), (IDispatch*)NULL);
}

// Made with "autonavi" and a home page, a browser goes there once; without a home page, nowhere.
TEST_F(WebBrowserTest, AutoNavigationGoesToTheHomePageOnceAfterCreation)
{
    CBrowserRecorder idle;
    CWebBrowserUI* pHome = new CWebBrowserUI;
    pHome->ApplyAttributeList((L"autonavi=\"true\" homepage=\"" + std::wstring(kMissingPage) + L"\"").c_str());
    pHome->SetWebBrowserEventHandler(&handler);
    CWebBrowserUI* pNoHome = new CWebBrowserUI;
    pNoHome->ApplyAttributeList(L"autonavi=\"true\"");
    pNoHome->SetWebBrowserEventHandler(&idle);
    EXPECT_TRUE(pHome->IsAutoNavigation());
    EXPECT_STREQ(pHome->GetHomePage(), kMissingPage);
    Attach({pNoHome, pHome}, 200, 100);
    EXPECT_TRUE(WaitFor(handler, L"NavigateError " + std::wstring(kMissingPage) + L" 0x800C0005")) << handler.All();
    EXPECT_EQ(handler.Count(L"BeforeNavigate2 "), 1) << handler.All();
    EXPECT_TRUE(idle.aCalls.empty()) << idle.All();
}

TEST_F(WebBrowserTest, EventsWithTheWrongArgumentsNeverReachTheHandler)
{
    CWebBrowserUI* pControl = new CWebBrowserUI;
    pControl->SetWebBrowserEventHandler(&handler);
    // A null handler keeps the one there is.
    pControl->SetWebBrowserEventHandler(NULL);
    VARIANT url = BstrArg(::SysAllocString(L"http://example.invalid/"));
    VARIANT empty = Arg(VT_EMPTY);
    VARIANT_BOOL cancel = VARIANT_FALSE;

    CArgs before = {Arg(VT_BOOL | VT_BYREF, &cancel), Arg(VT_VARIANT | VT_BYREF, &empty),
                    Arg(VT_VARIANT | VT_BYREF, &empty), Arg(VT_VARIANT | VT_BYREF, &empty),
                    Arg(VT_VARIANT | VT_BYREF, &empty), Arg(VT_VARIANT | VT_BYREF, &url), Arg(VT_DISPATCH)};
    EXPECT_EQ(Fire(pControl, DISPID_BEFORENAVIGATE2, before, IID_IDispatch), E_INVALIDARG);
    EXPECT_EQ(Fire(pControl, DISPID_BEFORENAVIGATE2, before), S_OK);
    EXPECT_TRUE(handler.Heard(L"BeforeNavigate2 http://example.invalid/ go")) << handler.All();
    before.a[0] = Arg(VT_BOOL | VT_BYREF, NULL);
    EXPECT_EQ(Fire(pControl, DISPID_BEFORENAVIGATE2, before), DISP_E_TYPEMISMATCH);
    before.a.pop_back();
    EXPECT_EQ(Fire(pControl, DISPID_BEFORENAVIGATE2, before), DISP_E_BADPARAMCOUNT);

    CArgs state = {Arg(VT_BOOL), IntArg(CSC_NAVIGATEBACK)};
    V_BOOL(&state.a[0]) = VARIANT_TRUE;
    EXPECT_EQ(Fire(pControl, DISPID_COMMANDSTATECHANGE, state), S_OK);
    EXPECT_TRUE(handler.Heard(L"CommandStateChange 2 on")) << handler.All();
    state.a[1] = url;
    EXPECT_EQ(Fire(pControl, DISPID_COMMANDSTATECHANGE, state), DISP_E_TYPEMISMATCH);
    CArgs none = {};
    EXPECT_EQ(Fire(pControl, DISPID_COMMANDSTATECHANGE, none), DISP_E_BADPARAMCOUNT);

    IDispatch* pNewWindow = NULL;
    CArgs newWindow = {url, BstrArg(NULL), IntArg(6), Arg(VT_BOOL | VT_BYREF, &cancel),
                       Arg(VT_DISPATCH | VT_BYREF, &pNewWindow)};
    EXPECT_EQ(Fire(pControl, DISPID_NEWWINDOW3, newWindow), S_OK);
    EXPECT_TRUE(handler.Heard(L"NewWindow3 6 http://example.invalid/")) << handler.All();
    CArgs complete = {Arg(VT_VARIANT | VT_BYREF, &url), Arg(VT_DISPATCH)};
    EXPECT_EQ(Fire(pControl, DISPID_NAVIGATECOMPLETE2, complete), S_OK);
    EXPECT_TRUE(handler.Heard(L"NavigateComplete2 http://example.invalid/")) << handler.All();

    // Progress is not one of the events the control passes on.
    CArgs progress = {IntArg(100), IntArg(50)};
    EXPECT_EQ(Fire(pControl, DISPID_PROGRESSCHANGE, progress), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(handler.aCalls.size(), 4u) << handler.All();
    ::VariantClear(&url);
    delete pControl;
}

// The browser asks its client site for the document host; the site answers with the control's parts.
TEST_F(WebBrowserTest, DocumentHostAnswersComeThroughTheBrowsersClientSite)
{
    CWebBrowserUI* pControl = Host(L"", new CWebBrowserUI);
    IOleObject* pObject = NULL;
    ASSERT_EQ(pControl->GetControl(IID_IOleObject, reinterpret_cast<void**>(&pObject)), S_OK);
    IOleClientSite* pSite = NULL;
    ASSERT_EQ(pObject->GetClientSite(&pSite), S_OK);
    pObject->Release();
    ASSERT_NE(pSite, (IOleClientSite*)NULL);
    IDocHostUIHandler* pUIHandler = NULL;
    ASSERT_EQ(pSite->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&pUIHandler)), S_OK);
    IServiceProvider* pServices = NULL;
    ASSERT_EQ(pSite->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&pServices)), S_OK);
    pSite->Release();
    pControl->SetWebBrowserEventHandler(&handler);
    EXPECT_EQ(pUIHandler->ShowUI(0, NULL, NULL, NULL, NULL), handler.hrAnswer);

    // The download manager is a COM interface of its own, counted on the control.
    // The browser may hold parts of the control too: the count is read, not assumed.
    const ULONG nHeld = pControl->AddRef() - 1;
    pControl->Release();
    IDownloadManager* pDownloads = NULL;
    ASSERT_EQ(pServices->QueryService(__uuidof(IDownloadManager), __uuidof(IDownloadManager),
                                      reinterpret_cast<void**>(&pDownloads)),
              S_OK);
    EXPECT_EQ(pDownloads->Release(), nHeld);
    IUnknown* pUnknown = NULL;
    ASSERT_EQ(pDownloads->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pUnknown)), S_OK);
    EXPECT_EQ(pUnknown, static_cast<IUnknown*>(static_cast<IDocHostUIHandler*>(pControl)));
    pUnknown->Release();
    EXPECT_EQ(pDownloads->Download(NULL, NULL, 0, 0, NULL, L"Accept: */*", NULL, 65001), handler.hrAnswer);
    EXPECT_TRUE(handler.Heard(L"Download Accept: */* 65001")) << handler.All();
    EXPECT_EQ(pServices->Release(), nHeld - 1);
    EXPECT_EQ(pUIHandler->Release(), nHeld - 2);
}

// Only the document host's script error command is answered, with a document: its
// window's event object tells the error, and the page's scripts go on.
TEST_F(WebBrowserTest, CommandTargetAnswersTheScriptErrorCommandOnlyWithADocument)
{
    const GUID kDocHostCommands = {0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};
    CWebBrowserUI control;
    IOleCommandTarget* pTarget = &control;
    VARIANT in = Arg(VT_UNKNOWN), out = Arg(VT_EMPTY);
    EXPECT_EQ(pTarget->Exec(NULL, OLECMDID_SHOWSCRIPTERROR, 0, &in, &out), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(pTarget->Exec(&kDocHostCommands, OLECMDID_REFRESH, 0, &in, &out), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(pTarget->Exec(&kDocHostCommands, OLECMDID_SHOWSCRIPTERROR, 0, NULL, &out), E_INVALIDARG);
    EXPECT_EQ(pTarget->Exec(&kDocHostCommands, OLECMDID_SHOWSCRIPTERROR, 0, &in, &out), E_INVALIDARG);
    // Something that is not a document.
    V_UNKNOWN(&in) = static_cast<IDocHostUIHandler*>(&control);
    EXPECT_EQ(pTarget->Exec(&kDocHostCommands, OLECMDID_SHOWSCRIPTERROR, 0, &in, &out), E_NOINTERFACE);
    EXPECT_EQ(V_VT(&out), VT_EMPTY);

    PageRecord page;
    V_UNKNOWN(&in) = static_cast<IUnknown*>(NewPageDocument(&page));
    EXPECT_EQ(pTarget->Exec(&kDocHostCommands, OLECMDID_SHOWSCRIPTERROR, 0, &in, &out), S_OK);
    EXPECT_EQ(V_VT(&out), VT_BOOL);
    EXPECT_EQ(V_BOOL(&out), VARIANT_TRUE);
    EXPECT_EQ(page.sReads, L"errorLine errorCharacter errorCode errorMessage errorUrl ");
    V_UNKNOWN(&in)->Release();
    EXPECT_EQ(LiveBrowserDoubles(), 0);
}

// The browser's document gives the control its window, and takes the control
// as its UI handler once a navigation is complete.
TEST_F(WebBrowserTest, TheBrowsersDocumentGivesItsWindowAndTakesTheControlAsItsUIHandler)
{
    PageRecord page;
    IUnknown* pDocument = static_cast<IUnknown*>(NewPageDocument(&page));
    {
        CBrowserClass browser(pDocument);
        CWebBrowserUI* pControl = Host(L"", new CWebBrowserUI);
        IDispatch* pWindow = pControl->GetHtmlWindow();
        EXPECT_EQ(pWindow, page.pWindow);
        if (pWindow != NULL) pWindow->Release();
        VARIANT url = Arg(VT_EMPTY);
        CArgs complete = {Arg(VT_VARIANT | VT_BYREF, &url), Arg(VT_DISPATCH)};
        EXPECT_EQ(Fire(pControl, DISPID_NAVIGATECOMPLETE2, complete), S_OK);
        EXPECT_EQ(page.pUIHandler, static_cast<IDocHostUIHandler*>(pControl));
        Destroy(pControl);
    }
    pDocument->Release();
    EXPECT_EQ(LiveBrowserDoubles(), 0);
}

// The static helpers call a script object by member name: here the simulated control's "Clicks".
TEST_F(WebBrowserTest, ScriptHelpersCallMembersByNameAndFailForNoObjectOrName)
{
    IDispatch* pDispatch = NULL;
    IClassFactory* pFactory = NULL;
    ASSERT_EQ(Double().GetClassObject(IID_IClassFactory, reinterpret_cast<void**>(&pFactory)), S_OK);
    ASSERT_EQ(pFactory->CreateInstance(NULL, IID_IDispatch, reinterpret_cast<void**>(&pDispatch)), S_OK);
    pFactory->Release();
    VARIANT value = Arg(VT_EMPTY);
    EXPECT_EQ(CWebBrowserUI::FindId(pDispatch, L"Clicks"), 1);
    EXPECT_EQ(CWebBrowserUI::GetProperty(pDispatch, L"Clicks", &value), S_OK);
    EXPECT_EQ(V_VT(&value), VT_I4);
    EXPECT_EQ(CWebBrowserUI::InvokeMethod(pDispatch, L"NoSuchMember", NULL, NULL, 0), E_FAIL);
    EXPECT_EQ(CWebBrowserUI::GetProperty(pDispatch, NULL, &value), E_FAIL);
    EXPECT_EQ(CWebBrowserUI::SetProperty(NULL, L"Clicks", &value), E_FAIL);
    pDispatch->Release();
    ExpectBalanced();
}

// Pointed at the simulated control, which is no browser: creation, re-creation and
// destruction let go of every object, site and registration.
TEST_F(WebBrowserTest, RecreationAndDestructionReleaseTheObjectTheSiteAndTheAcceleratorHook)
{
    CWebBrowserUI* pControl = Host(kByModule, new CWebBrowserUI);
    EXPECT_EQ(Double().GetCounts().nLiveObjects, 1);
    EXPECT_EQ(pControl->GetWebBrowser2(), (IWebBrowser2*)NULL);
    pControl->SetDelayCreate(false);
    ASSERT_TRUE(pControl->CreateControl(ActiveXDouble::kClsidText));
    EXPECT_EQ(Double().GetCounts().nLiveObjects, 1);
    // The translator is on the manager once: the second removal finds nothing.
    EXPECT_TRUE(pm.RemoveTranslateAccelerator(pControl));
    EXPECT_FALSE(pm.RemoveTranslateAccelerator(pControl));
    pControl->ReleaseControl();
    ExpectBalanced();
    MSG msg = {wnd, WM_KEYDOWN, VK_TAB, 0};
    EXPECT_EQ(pControl->TranslateAcceleratorW(&msg), E_NOTIMPL);
    // Released, it is made again at the next layout.
    pControl->SetPos(pControl->GetPos());
    EXPECT_EQ(Double().GetCounts().nLiveObjects, 1);
    Destroy(pControl);
    ExpectBalanced();

    CControlUI* pElement = CreateSkinElement(L"WebBrowser");
    ASSERT_NE(pElement, (CControlUI*)NULL);
    EXPECT_STREQ(pElement->GetClass(), L"WebBrowserUI");
    EXPECT_EQ(pElement->GetInterface(L"WebBrowser"), static_cast<CWebBrowserUI*>(pElement));
    delete pElement;
}

// Keys reach the object's own accelerators only while the focus is in its window or below it.
TEST_F(WebBrowserTest, KeysReachTheObjectsAcceleratorsWithTheFocusInItsWindowOnly)
{
    Double().SetSwitches(ActiveXDouble::kWindowedOnly);
    CWebBrowserUI* pControl = Host(kByModule, new CWebBrowserUI);
    HWND hObjectWnd = ::GetWindow(pControl->GetHostWindow(), GW_CHILD);
    ASSERT_TRUE(::IsWindow(hObjectWnd));
    MSG msg = {hObjectWnd, WM_KEYDOWN, 'A', 0};
    // Another test program's window may take the focus away in between: try until it stays.
    bool bFocused = false;
    for (DWORD dwStart = ::GetTickCount(); !bFocused && ::GetTickCount() - dwStart < 30000;) {
        ::SetFocus(hObjectWnd);
        Double().ClearLog();
        EXPECT_FALSE(pm.TranslateAcceleratorW(&msg));
        bFocused = ::GetFocus() == hObjectWnd;
        PumpMessages();
    }
    ASSERT_TRUE(bFocused);
    EXPECT_TRUE(Logged(L"TranslateAccelerator msg=0x0100")) << Log();
    ::SetFocus(wnd);
    Double().ClearLog();
    EXPECT_FALSE(pm.TranslateAcceleratorW(&msg));
    EXPECT_FALSE(Logged(L"TranslateAccelerator")) << Log();
}

} // namespace
