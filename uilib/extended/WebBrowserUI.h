#pragma once

#include <ole2.h>
#include <docobj.h>
#include <downloadmgr.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <servprov.h>

#include "extended/ActiveXUI.h"
#include "extended/WebBrowserEventHandler.h"

// The document's window; its declaration (mshtml.h) is large and needed only where it is used.
struct IHTMLWindow2;

namespace SkinLib {

// The system's web browser object in the control tree. The control is the
// browser's document host (UI handler, command target, service provider,
// download manager) and the sink of its events, and passes all of them on to
// the application's CWebBrowserEventHandler. Its COM parts count references
// but never delete the control: the control lives as long as its parent keeps
// it, and lets go of the browser before it goes.
class CWebBrowserUI : public CActiveXUI,
                      public IDocHostUIHandler,
                      public IServiceProvider,
                      public IOleCommandTarget,
                      public IDispatch,
                      public ITranslateAccelerator,
                      public IDownloadManager
{
public:
    CWebBrowserUI();
    ~CWebBrowserUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    void SetHomePage(const wchar_t* pstrUrl);
    const CSkinString& GetHomePage() const;
    // With a home page, the browser goes there once it is made.
    void SetAutoNavigation(bool bAuto = true);
    bool IsAutoNavigation() const;
    // A null handler keeps the one there is.
    void SetWebBrowserEventHandler(CWebBrowserEventHandler* pEventHandler);

    void Navigate2(const wchar_t* pstrUrl);
    void NavigateUrl(const wchar_t* pstrUrl);
    void NavigateHomePage();
    void Refresh();
    void Refresh2(int nLevel);
    void GoBack();
    void GoForward();
    // The browser, without a reference of the caller's; null before creation.
    IWebBrowser2* GetWebBrowser2() const;
    // The document's window, with one reference for the caller; null without a document.
    IDispatch* GetHtmlWindow();

    // Late-bound calls on a script object by member name; E_FAIL for a name the object doesn't know.
    static DISPID FindId(IDispatch* pObj, const wchar_t* pstrName);
    static HRESULT InvokeMethod(IDispatch* pObj, const wchar_t* pstrName, VARIANT* pVarResult, VARIANT* ps,
                                int cArgs);
    static HRESULT GetProperty(IDispatch* pObj, const wchar_t* pstrName, VARIANT* pValue);
    static HRESULT SetProperty(IDispatch* pObj, const wchar_t* pstrName, VARIANT* pValue);

    void ReleaseControl() override;
    bool DoCreateControl() override;

    // IUnknown, shared by every part
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: the browser's events
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                            DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                     UINT* puArgErr) override;

    // IDocHostUIHandler: the handler's answers, or the browser's own behaviour without one
    HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
                                              IDispatch* pDispatchObjectHit) override;
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* pInfo) override;
    HRESULT STDMETHODCALLTYPE ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                                     IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                                     IOleInPlaceUIWindow* pDoc) override;
    HRESULT STDMETHODCALLTYPE HideUI() override;
    HRESULT STDMETHODCALLTYPE UpdateUI() override;
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL fEnable) override;
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL fActivate) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL fActivate) override;
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow,
                                           BOOL fFrameWindow) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
    HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* pchKey, DWORD dwReserved) override;
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
    HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** ppDispatch) override;
    HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD dwTranslate, OLECHAR* pchURLIn, OLECHAR** ppchURLOut) override;
    HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject* pDO, IDataObject** ppDORet) override;

    // IServiceProvider: the download manager
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID guidService, REFIID riid, void** ppvObject) override;

    // IOleCommandTarget: script errors are not shown
    HRESULT STDMETHODCALLTYPE QueryStatus(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[],
                                          OLECMDTEXT* pCmdText) override;
    HRESULT STDMETHODCALLTYPE Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn,
                                   VARIANT* pvaOut) override;

    // ITranslateAccelerator: keys for the browser while the focus is in its window
    LRESULT TranslateAcceleratorW(MSG* pMsg) override;

    // IDownloadManager: the handler's, or nothing is downloaded
    HRESULT STDMETHODCALLTYPE Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF,
                                       BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir,
                                       UINT uiCP) override;

protected:
    HRESULT QuerySiteInterface(REFIID riid, void** ppvObject) override;

private:
    // After a navigation the new document takes the control as its UI handler.
    void HookDocument();

    IWebBrowser2* m_pWebBrowser2;  // one reference
    IHTMLWindow2* m_pHtmlWnd2;     // one reference
    LONG m_dwRef;
    DWORD m_dwCookie;
    CSkinString m_sHomePage;
    bool m_bAutoNavi;
    CWebBrowserEventHandler* m_pWebBrowserEventHandler;  // not owned
};

} // namespace SkinLib
