// The web browser page of the extended controls demo: the system's browser in
// place in its child window, sent at creation to its home page, a missing
// file. This Wine has no HTML engine, so the browser draws no page; the events
// it sends on the way reach the page's handler, which lists them beside it.
#include <string>

#include "ExtendedDemoPage.h"
#include "controls/TextUI.h"
#include "extended/WebBrowserUI.h"

using namespace SkinLib;

namespace {

const char kSkin[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window>
  <VerticalLayout childpadding="10">
    <Label height="20" text="The system's web browser, in place in a child window, sent to a missing page:" textcolor="#FF4A5563" />
    <HorizontalLayout height="200" childpadding="16">
      <VerticalLayout width="362" inset="1,1,1,1" bkcolor="#FFBFC8D2">
        <WebBrowser name="browser" autonavi="true" homepage="file:///C:/skinlib-demo/missing.html" />
      </VerticalLayout>
      <Text name="browser_events" showhtml="true" textcolor="#FF4A5563" />
    </HorizontalLayout>
  </VerticalLayout>
</Window>
)";

// Lists the browser's events in the page's text; answers the document host as the browser would alone.
class CEventList : public CWebBrowserEventHandler
{
public:
    void BeforeNavigate2(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&,
                         VARIANT_BOOL*&) override
    {
        Add(L"BeforeNavigate2", Url(url));
    }
    void NavigateError(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*& StatusCode, VARIANT_BOOL*&) override
    {
        wchar_t szStatus[32];
        swprintf(szStatus, 32, L"status 0x%08lX", V_VT(StatusCode) == VT_I4 ? V_I4(StatusCode) : 0);
        Add(L"NavigateError", Url(url) + L", " + szStatus);
    }
    void NavigateComplete2(IDispatch*, VARIANT*& url) override { Add(L"NavigateComplete2", Url(url)); }
    void ProgressChange(LONG, LONG) override {}
    void NewWindow3(IDispatch**, VARIANT_BOOL*&, DWORD, BSTR, BSTR bstrUrl) override { Add(L"NewWindow3", bstrUrl); }
    void CommandStateChange(long Command, VARIANT_BOOL Enable) override
    {
        Add(L"CommandStateChange", std::to_wstring(Command) + (Enable ? L" on" : L" off"));
    }
    HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }
    HRESULT GetHostInfo(DOCHOSTUIINFO*) override { return E_NOTIMPL; }
    HRESULT ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                   IOleInPlaceUIWindow*) override
    {
        return S_OK;
    }
    HRESULT HideUI() override { return S_OK; }
    HRESULT UpdateUI() override { return S_OK; }
    HRESULT EnableModeless(BOOL) override { return E_NOTIMPL; }
    HRESULT OnDocWindowActivate(BOOL) override { return E_NOTIMPL; }
    HRESULT OnFrameWindowActivate(BOOL) override { return E_NOTIMPL; }
    HRESULT ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return E_NOTIMPL; }
    HRESULT TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    HRESULT GetOptionKeyPath(LPOLESTR*, DWORD) override { return E_NOTIMPL; }
    HRESULT GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget) override
    {
        *ppDropTarget = NULL;
        return S_FALSE;
    }
    HRESULT GetExternal(IDispatch** ppDispatch) override
    {
        *ppDispatch = NULL;
        return S_FALSE;
    }
    HRESULT TranslateUrl(DWORD, OLECHAR*, OLECHAR** ppchURLOut) override
    {
        *ppchURLOut = NULL;
        return E_NOTIMPL;
    }
    HRESULT FilterDataObject(IDataObject*, IDataObject** ppDORet) override
    {
        *ppDORet = NULL;
        return E_NOTIMPL;
    }
    HRESULT Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR, LPCOLESTR, UINT) override
    {
        Add(L"Download", L"");
        return S_OK;
    }

    CTextUI* pList = NULL;

private:
    static std::wstring Url(const VARIANT* pv)
    {
        return pv != NULL && V_VT(pv) == VT_BSTR && V_BSTR(pv) != NULL ? V_BSTR(pv) : L"";
    }
    void Add(const wchar_t* pstrEvent, const std::wstring& sDetail)
    {
        m_sLines += L"<b>" + std::wstring(pstrEvent) + L"</b> " + sDetail + L"\n";
        if (pList != NULL) pList->SetText(m_sLines.c_str());
    }

    std::wstring m_sLines;
};

CEventList g_events;

// The handler goes on before the first layout makes the browser.
void ListTheEvents(CPaintManagerUI& pm)
{
    g_events.pList = static_cast<CTextUI*>(pm.FindControl(L"browser_events"));
    if (CWebBrowserUI* pBrowser = static_cast<CWebBrowserUI*>(pm.FindControl(L"browser"))) {
        pBrowser->SetWebBrowserEventHandler(&g_events);
    }
}

} // namespace

namespace ExtendedDemo {

extern const Page kBrowserPage = {L"Browser", "browser.xml", kSkin, nullptr, ListTheEvents, nullptr};

} // namespace ExtendedDemo
