#pragma once

#include <ole2.h>

namespace SkinLib {

class CActiveXCtrl;

// The in-place frame an object gets from its site: the paint window, and the
// object's active part while it is UI-active. It keeps its site, so that it
// can tell when the control has let go. It deletes itself at its last Release.
class CActiveXFrameWnd final : public IOleInPlaceFrame
{
public:
    explicit CActiveXFrameWnd(CActiveXCtrl* pSite);
    CActiveXFrameWnd(const CActiveXFrameWnd&) = delete;
    CActiveXFrameWnd& operator=(const CActiveXFrameWnd&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL fEnterMode) override;

    // IOleInPlaceUIWindow
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT lprectBorder) override;
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS pborderwidths) override;
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS pborderwidths) override;
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR pszObjName) override;

    // IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU hmenuShared, LPOLEMENUGROUPWIDTHS lpMenuWidths) override;
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU hmenuShared, HOLEMENU holemenu, HWND hwndActiveObject) override;
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU hmenuShared) override;
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR pszStatusText) override;
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL fEnable) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG lpmsg, WORD wID) override;

private:
    ~CActiveXFrameWnd();

    // The paint window, or null once the control has let go or has no manager.
    HWND PaintWindow() const;

    LONG m_dwRef;
    CActiveXCtrl* m_pSite;                       // one reference
    IOleInPlaceActiveObject* m_pActiveObject;    // one reference
};

} // namespace SkinLib
