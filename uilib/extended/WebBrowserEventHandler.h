#pragma once

#include <ole2.h>
#include <mshtmhst.h>
#include <urlmon.h>

namespace SkinLib {

// The application's side of a web browser control: the browser's events, its
// document host questions and its downloads. The control only calls it and
// never owns it.
class CWebBrowserEventHandler
{
public:
    // The browser's events; the references let the handler change the browser's
    // own variables, such as cancel.
    virtual void BeforeNavigate2(IDispatch* pDisp, VARIANT*& url, VARIANT*& Flags, VARIANT*& TargetFrameName,
                                 VARIANT*& PostData, VARIANT*& Headers, VARIANT_BOOL*& Cancel) = 0;
    virtual void NavigateError(IDispatch* pDisp, VARIANT*& url, VARIANT*& TargetFrameName, VARIANT*& StatusCode,
                               VARIANT_BOOL*& Cancel) = 0;
    virtual void NavigateComplete2(IDispatch* pDisp, VARIANT*& url) = 0;
    virtual void ProgressChange(LONG nProgress, LONG nProgressMax) = 0;
    virtual void NewWindow3(IDispatch** pDisp, VARIANT_BOOL*& Cancel, DWORD dwFlags, BSTR bstrUrlContext,
                            BSTR bstrUrl) = 0;
    virtual void CommandStateChange(long Command, VARIANT_BOOL Enable) = 0;

    // The document host's questions, as IDocHostUIHandler asks them.
    virtual HRESULT ShowContextMenu(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
                                    IDispatch* pDispatchObjectHit) = 0;
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* pInfo) = 0;
    virtual HRESULT ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                           IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) = 0;
    virtual HRESULT HideUI() = 0;
    virtual HRESULT UpdateUI() = 0;
    virtual HRESULT EnableModeless(BOOL fEnable) = 0;
    virtual HRESULT OnDocWindowActivate(BOOL fActivate) = 0;
    virtual HRESULT OnFrameWindowActivate(BOOL fActivate) = 0;
    virtual HRESULT ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow) = 0;
    virtual HRESULT TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) = 0;
    virtual HRESULT GetOptionKeyPath(LPOLESTR* pchKey, DWORD dwReserved) = 0;
    virtual HRESULT GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) = 0;
    virtual HRESULT GetExternal(IDispatch** ppDispatch) = 0;
    virtual HRESULT TranslateUrl(DWORD dwTranslate, OLECHAR* pchURLIn, OLECHAR** ppchURLOut) = 0;
    virtual HRESULT FilterDataObject(IDataObject* pDO, IDataObject** ppDORet) = 0;

    // A download the browser hands to the host, as IDownloadManager asks for it.
    virtual HRESULT Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo,
                             LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP) = 0;

protected:
    // Not deleted through this interface: the application owns its handler.
    ~CWebBrowserEventHandler() {}
};

} // namespace SkinLib
