#pragma once

#include <ole2.h>
#include <ocidl.h>

namespace SkinLib {

class CActiveXUI;
class CActiveXWnd;

// The hosted object's side of the container: its client site, in-place site
// (windowless or windowed), control site, site holder and container. The
// control keeps one reference; the object keeps what it takes. Once the
// control has let go, what the object still calls answers E_UNEXPECTED.
// It deletes itself at its last Release.
class CActiveXCtrl final : public IOleClientSite,
                           public IOleInPlaceSiteWindowless,
                           public IOleControlSite,
                           public IObjectWithSite,
                           public IOleContainer
{
public:
    explicit CActiveXCtrl(CActiveXUI* pOwner);
    CActiveXCtrl(const CActiveXCtrl&) = delete;
    CActiveXCtrl& operator=(const CActiveXCtrl&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IObjectWithSite
    HRESULT STDMETHODCALLTYPE SetSite(IUnknown* pUnkSite) override;
    HRESULT STDMETHODCALLTYPE GetSite(REFIID riid, void** ppvSite) override;

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** ppContainer) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override;
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL fShow) override;
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;

    // IOleInPlaceSiteWindowless
    HRESULT STDMETHODCALLTYPE CanWindowlessActivate() override;
    HRESULT STDMETHODCALLTYPE GetCapture() override;
    HRESULT STDMETHODCALLTYPE SetCapture(BOOL fCapture) override;
    HRESULT STDMETHODCALLTYPE GetFocus() override;
    HRESULT STDMETHODCALLTYPE SetFocus(BOOL fFocus) override;
    HRESULT STDMETHODCALLTYPE GetDC(LPCRECT pRect, DWORD grfFlags, HDC* phDC) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC hDC) override;
    HRESULT STDMETHODCALLTYPE InvalidateRect(LPCRECT pRect, BOOL fErase) override;
    HRESULT STDMETHODCALLTYPE InvalidateRgn(HRGN hRGN, BOOL fErase) override;
    HRESULT STDMETHODCALLTYPE ScrollRect(INT dx, INT dy, LPCRECT pRectScroll, LPCRECT pRectClip) override;
    HRESULT STDMETHODCALLTYPE AdjustRect(LPRECT prc) override;
    HRESULT STDMETHODCALLTYPE OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult) override;

    // IOleInPlaceSiteEx
    HRESULT STDMETHODCALLTYPE OnInPlaceActivateEx(BOOL* pfNoRedraw, DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivateEx(BOOL fNoRedraw) override;
    HRESULT STDMETHODCALLTYPE RequestUIActivate() override;

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnUIActivate() override;
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                               LPRECT lprcPosRect, LPRECT lprcClipRect,
                                               LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE scrollExtant) override;
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL fUndoable) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT lprcPosRect) override;

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL fEnterMode) override;

    // IOleControlSite
    HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override;
    HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL fLock) override;
    HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** ppDisp) override;
    HRESULT STDMETHODCALLTYPE TransformCoords(POINTL* pPtlHimetric, POINTF* pPtfContainer, DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* pMsg, DWORD grfModifiers) override;
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL fGotFocus) override;
    HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override;

    // IOleContainer
    HRESULT STDMETHODCALLTYPE EnumObjects(DWORD grfFlags, IEnumUnknown** ppenum) override;
    HRESULT STDMETHODCALLTYPE LockContainer(BOOL fLock) override;

    // IParseDisplayName
    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx* pbc, LPOLESTR pszDisplayName, ULONG* pchEaten,
                                               IMoniker** ppmkOut) override;

private:
    friend class CActiveXUI;
    friend class CActiveXWnd;
    friend class CActiveXFrameWnd;

    ~CActiveXCtrl();

    // The owner's object, or null once the owner has let go.
    IOleObject* Object() const;
    // The owner's item rectangle, in the host window's coordinates.
    RECT HostRect() const;
    void SetViewObject(IViewObject* pViewObject, bool bExtended);
    HRESULT DoVerb(LONG iVerb);
    HRESULT CreateActiveXWnd();
    void DestroyActiveXWnd();
    void ReleaseInPlaceObject();
    void LockRunning(bool bLock);
    // The owner lets go: everything taken from its object goes back.
    void Detach();

    LONG m_dwRef;
    CActiveXUI* m_pOwner;
    CActiveXWnd* m_pWindow;             // owned
    IUnknown* m_pUnkSite;               // given through SetSite
    IViewObject* m_pViewObject;
    IOleInPlaceObject* m_pInPlaceObject;  // an IOleInPlaceObjectWindowless when windowless
    bool m_bLocked;
    bool m_bFocused;
    bool m_bCaptured;
    bool m_bUIActivated;
    bool m_bInPlaceActive;
    bool m_bWindowless;
    bool m_bViewObjectEx;               // the view object is an IViewObjectEx and can hit-test
    bool m_bRunningLocked;              // one OleLockRunning to undo
};

} // namespace SkinLib
