// The simulated ActiveX control (see ActiveXDouble.h): an in-process OLE
// control that implements the embedding interfaces a host calls, goes in place
// windowless or windowed, draws a disc with a caption, takes the mouse on the
// disc only, fires "Clicked" to its connection point's sinks, logs every call
// and counts what is alive and held, so that a test can prove a balance of zero.
// The same control under the Flash player's identifiers is the simulated
// player: it answers for the player's interface, serves the player's events and
// fires the events a test scripts.
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

#include <stdarg.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ActiveXDouble.h"

using namespace ActiveXDouble;

namespace {

class CControl;

HMODULE g_hModule = NULL;
DWORD g_dwSwitches = 0;
std::wstring g_sLog;
Counts g_counts = {};
LONG g_nServerLocks = 0;
std::vector<CControl*> g_players;  // the live simulated players, whose sinks scripted events go to

const wchar_t kWindowClass[] = L"ActiveXDoubleWnd";

void Log(const wchar_t* pstrFormat, ...)
{
    wchar_t szLine[512];
    va_list args;
    va_start(args, pstrFormat);
    vswprintf(szLine, 512, pstrFormat, args);
    va_end(args);
    g_sLog += szLine;
    g_sLog += L'\n';
}

std::wstring RectText(const RECT* prc)
{
    if (prc == NULL) return L"null";
    wchar_t sz[64];
    swprintf(sz, 64, L"%ld,%ld,%ld,%ld", prc->left, prc->top, prc->right, prc->bottom);
    return sz;
}

std::wstring WindowText(HWND hWnd)
{
    wchar_t szClass[64] = L"null";
    if (hWnd != NULL && ::GetClassNameW(hWnd, szClass, 64) == 0) return L"invalid";
    return szClass;
}

const wchar_t* YesNull(const void* p)
{
    return p != NULL ? L"yes" : L"null";
}

// A host interface the double holds, counted while held.
template <class T> class CHeld
{
public:
    CHeld() = default;
    CHeld(const CHeld&) = delete;
    CHeld& operator=(const CHeld&) = delete;
    ~CHeld() { Reset(NULL); }

    // Takes a reference of its own.
    void Reset(T* p)
    {
        if (p != NULL) p->AddRef();
        Attach(p);
    }
    // Takes over the caller's reference.
    void Attach(T* p)
    {
        if (p != NULL) ++g_counts.nHostInterfaces;
        if (m_p != NULL) {
            m_p->Release();
            --g_counts.nHostInterfaces;
        }
        m_p = p;
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }

private:
    T* m_p = NULL;
};

// Reference counting that the counts see.
class CCounted
{
protected:
    CCounted()
    {
        ++g_counts.nLiveObjects;
        ++g_counts.nReferences;
    }
    virtual ~CCounted() { --g_counts.nLiveObjects; }
    ULONG AddRefCounted()
    {
        ++g_counts.nReferences;
        return static_cast<ULONG>(::InterlockedIncrement(&m_lRef));
    }
    ULONG ReleaseCounted()
    {
        --g_counts.nReferences;
        LONG lRef = ::InterlockedDecrement(&m_lRef);
        if (lRef == 0) delete this;
        return static_cast<ULONG>(lRef);
    }

private:
    LONG m_lRef = 1;
};

// The face both forms draw: a pale field, a blue disc and the caption, which names the player as such.
void PaintFace(HDC hDC, const RECT& rc, int nClicks, bool bPlayer = false)
{
    HBRUSH hField = ::CreateSolidBrush(RGB(0xE8, 0xF2, 0xFB));
    ::FillRect(hDC, &rc, hField);
    ::DeleteObject(hField);
    HBRUSH hDisc = ::CreateSolidBrush(RGB(0x18, 0x83, 0xD7));
    HPEN hPen = ::CreatePen(PS_SOLID, 2, RGB(0x0E, 0x5A, 0x96));
    HGDIOBJ hOldBrush = ::SelectObject(hDC, hDisc);
    HGDIOBJ hOldPen = ::SelectObject(hDC, hPen);
    ::Ellipse(hDC, rc.left + kDiscMargin, rc.top + kDiscMargin, rc.right - kDiscMargin, rc.bottom - kDiscMargin);
    ::SelectObject(hDC, hOldPen);
    ::SelectObject(hDC, hOldBrush);
    ::DeleteObject(hPen);
    ::DeleteObject(hDisc);

    wchar_t szCaption[64];
    const wchar_t* pstrName = bPlayer ? L"Simulated Flash player" : L"ActiveX double";
    if (nClicks == 0) swprintf(szCaption, 64, L"%ls", pstrName);
    else swprintf(szCaption, 64, L"%ls: %d click(s)", pstrName, nClicks);
    HGDIOBJ hOldFont = ::SelectObject(hDC, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, RGB(0xFF, 0xFF, 0xFF));
    RECT rcText = rc;
    ::DrawTextW(hDC, szCaption, -1, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(hDC, hOldFont);
}

bool IsOnDisc(const RECT& rc, POINT pt)
{
    const double rx = (rc.right - rc.left) / 2.0 - kDiscMargin, ry = (rc.bottom - rc.top) / 2.0 - kDiscMargin;
    if (rx <= 0 || ry <= 0) return false;
    const double dx = (pt.x - (rc.left + rc.right) / 2.0) / rx, dy = (pt.y - (rc.top + rc.bottom) / 2.0) / ry;
    return dx * dx + dy * dy <= 1.0;
}

// The connection point of the control's events; the sinks live in the control.
class CConnectionPoint final : public IConnectionPoint, private CCounted
{
public:
    explicit CConnectionPoint(CControl* pControl);
    ~CConnectionPoint() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == NULL) return E_POINTER;
        *ppv = NULL;
        if (riid != IID_IUnknown && riid != IID_IConnectionPoint) return E_NOINTERFACE;
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefCounted(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseCounted(); }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppEnum) override
    {
        if (ppEnum != NULL) *ppEnum = NULL;
        return E_NOTIMPL;
    }

private:
    CControl* m_pControl;  // one reference
};

class CControl final : public IOleObject,
                       public IOleControl,
                       public IOleInPlaceObjectWindowless,
                       public IOleInPlaceActiveObject,
                       public IViewObjectEx,
                       public IPersistStreamInit,
                       public IObjectWithSite,
                       public IDispatch,
                       public IConnectionPointContainer,
                       public IRunnableObject,
                       private CCounted
{
public:
    static const int kMaxSinks = 4;

    explicit CControl(bool bPlayer) : m_dwSwitches(g_dwSwitches), m_bPlayer(bPlayer)
    {
        if (m_bPlayer) g_players.push_back(this);
    }
    ~CControl() override
    {
        if (m_hWnd != NULL) ::DestroyWindow(m_hWnd);
        g_players.erase(std::remove(g_players.begin(), g_players.end(), this), g_players.end());
    }

    const IID& EventsIid() const { return m_bPlayer ? kPlayerEventsIid : kEventsIid; }

    // ---- IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == NULL) return E_POINTER;
        *ppv = NULL;
        if (riid == IID_IUnknown || riid == IID_IOleObject) *ppv = static_cast<IOleObject*>(this);
        else if (riid == IID_IOleControl) *ppv = static_cast<IOleControl*>(this);
        else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject)
            *ppv = static_cast<IOleInPlaceObject*>(static_cast<IOleInPlaceObjectWindowless*>(this));
        else if (riid == IID_IOleInPlaceObjectWindowless && (m_dwSwitches & kWindowedOnly) == 0)
            *ppv = static_cast<IOleInPlaceObjectWindowless*>(this);
        else if (riid == IID_IOleInPlaceActiveObject) *ppv = static_cast<IOleInPlaceActiveObject*>(this);
        else if (riid == IID_IViewObject || riid == IID_IViewObject2) *ppv = static_cast<IViewObject2*>(this);
        else if (riid == IID_IViewObjectEx && (m_dwSwitches & kNoViewEx) == 0) *ppv = static_cast<IViewObjectEx*>(this);
        else if (riid == IID_IPersist || riid == IID_IPersistStreamInit) *ppv = static_cast<IPersistStreamInit*>(this);
        else if (riid == IID_IObjectWithSite) *ppv = static_cast<IObjectWithSite*>(this);
        else if (riid == IID_IDispatch || (m_bPlayer && riid == kPlayerIid)) *ppv = static_cast<IDispatch*>(this);
        else if (riid == IID_IConnectionPointContainer) *ppv = static_cast<IConnectionPointContainer*>(this);
        else if (riid == IID_IRunnableObject) *ppv = static_cast<IRunnableObject*>(this);
        if (*ppv == NULL) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefCounted(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseCounted(); }

    // ---- IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* pClientSite) override
    {
        Log(L"SetClientSite site=%ls", YesNull(pClientSite));
        m_clientSite.Reset(pClientSite);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** ppClientSite) override
    {
        if (ppClientSite == NULL) return E_POINTER;
        *ppClientSite = m_clientSite.Get();
        if (*ppClientSite != NULL) (*ppClientSite)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR szContainerApp, LPCOLESTR szContainerObj) override
    {
        Log(L"SetHostNames app=%ls object=%ls", szContainerApp != NULL ? szContainerApp : L"null",
            szContainerObj != NULL ? szContainerObj : L"null");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Close(DWORD dwSaveOption) override
    {
        Log(L"Close option=%lu", dwSaveOption);
        DeactivateInPlace();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** ppmk) override
    {
        if (ppmk != NULL) *ppmk = NULL;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** ppDataObject) override
    {
        if (ppDataObject != NULL) *ppDataObject = NULL;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent,
                                     LPCRECT lprcPosRect) override
    {
        Log(L"DoVerb verb=%ld parent=%ls rect=%ls", iVerb, WindowText(hwndParent).c_str(),
            RectText(lprcPosRect).c_str());
        IOleClientSite* pSite = pActiveSite != NULL ? pActiveSite : m_clientSite.Get();
        switch (iVerb) {
        case OLEIVERB_SHOW:
        case OLEIVERB_INPLACEACTIVATE: return ActivateInPlace(pSite);
        case OLEIVERB_UIACTIVATE: return ActivateUI(pSite);
        case OLEIVERB_HIDE: return DeactivateInPlace();
        default: return OLEOBJ_S_INVALIDVERB;
        }
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** ppEnumOleVerb) override
    {
        if (ppEnumOleVerb != NULL) *ppEnumOleVerb = NULL;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* pClsid) override { return GetClassID(pClsid); }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR* pszUserType) override
    {
        if (pszUserType != NULL) *pszUserType = NULL;
        return OLE_S_USEREG;
    }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD dwDrawAspect, SIZEL* psizel) override
    {
        if (psizel == NULL) return E_POINTER;
        Log(L"SetExtent aspect=%lu size=%ld,%ld", dwDrawAspect, psizel->cx, psizel->cy);
        m_szExtent = *psizel;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL* psizel) override
    {
        if (psizel == NULL) return E_POINTER;
        *psizel = m_szExtent;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD* pdwConnection) override
    {
        if (pdwConnection != NULL) *pdwConnection = 0;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** ppenumAdvise) override
    {
        if (ppenumAdvise != NULL) *ppenumAdvise = NULL;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus) override
    {
        if (pdwStatus == NULL) return E_POINTER;
        *pdwStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                     OLEMISC_ACTIVATEWHENVISIBLE;
        if ((m_dwSwitches & kInvisibleAtRunTime) != 0) *pdwStatus |= OLEMISC_INVISIBLEATRUNTIME;
        if ((m_dwSwitches & kSetClientSiteFirst) != 0) *pdwStatus |= OLEMISC_SETCLIENTSITEFIRST;
        Log(L"GetMiscStatus aspect=%lu -> 0x%08lX", dwAspect, *pdwStatus);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // ---- IOleControl
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override { return S_OK; }

    // ---- IOleWindow, for both in-place parts
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override
    {
        if (phwnd == NULL) return E_POINTER;
        *phwnd = m_hWnd;
        return m_hWnd != NULL ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return S_OK; }

    // ---- IOleInPlaceObject, IOleInPlaceObjectWindowless
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override
    {
        Log(L"InPlaceDeactivate");
        return DeactivateInPlace();
    }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override
    {
        Log(L"UIDeactivate");
        DeactivateUI();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect) override
    {
        Log(L"SetObjectRects pos=%ls clip=%ls", RectText(lprcPosRect).c_str(), RectText(lprcClipRect).c_str());
        if (lprcPosRect == NULL) return E_POINTER;
        m_rcPos = *lprcPosRect;
        if (m_hWnd != NULL) {
            ::MoveWindow(m_hWnd, m_rcPos.left, m_rcPos.top, m_rcPos.right - m_rcPos.left, m_rcPos.bottom - m_rcPos.top,
                         TRUE);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult) override
    {
        Log(L"OnWindowMessage msg=0x%04X wparam=0x%llX lparam=0x%08llX", msg, static_cast<unsigned long long>(wParam),
            static_cast<unsigned long long>(lParam));
        if (plResult != NULL) *plResult = 0;
        IOleInPlaceSiteWindowless* pSite = WindowlessSite();
        switch (msg) {
        case WM_LBUTTONDOWN:
            if (pSite != NULL) {
                Log(L"site.SetCapture -> 0x%08lX", pSite->SetCapture(TRUE));
                Log(L"site.SetFocus -> 0x%08lX", pSite->SetFocus(TRUE));
            }
            Click();
            return S_OK;
        case WM_LBUTTONUP:
            if (pSite != NULL) Log(L"site.ReleaseCapture -> 0x%08lX", pSite->SetCapture(FALSE));
            return S_OK;
        case WM_SETCURSOR:
            ::SetCursor(::LoadCursorW(NULL, IDC_HAND));
            if (plResult != NULL) *plResult = TRUE;
            return S_OK;
        default:
            return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) ? S_OK
                                                                                                             : S_FALSE;
        }
    }
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget** ppDropTarget) override
    {
        if (ppDropTarget != NULL) *ppDropTarget = NULL;
        return E_NOTIMPL;
    }

    // ---- IOleInPlaceActiveObject
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG lpmsg) override
    {
        Log(L"TranslateAccelerator msg=0x%04X", lpmsg != NULL ? lpmsg->message : 0);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

    // ---- IViewObject, IViewObject2, IViewObjectEx
    HRESULT STDMETHODCALLTYPE Draw(DWORD dwDrawAspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdcDraw,
                                   LPCRECTL lprcBounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override
    {
        const RECT* prc = reinterpret_cast<const RECT*>(lprcBounds);
        Log(L"Draw aspect=%lu bounds=%ls", dwDrawAspect, RectText(prc).c_str());
        if (prc == NULL || hdcDraw == NULL) return E_INVALIDARG;
        PaintFace(hdcDraw, *prc, m_nClicks, m_bPlayer);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** ppColorSet) override
    {
        if (ppColorSet != NULL) *ppColorSet = NULL;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD, DWORD, IAdviseSink*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD*, DWORD*, IAdviseSink** ppAdvSink) override
    {
        if (ppAdvSink != NULL) *ppAdvSink = NULL;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD dwDrawAspect, LONG, DVTARGETDEVICE*, LPSIZEL lpsizel) override
    {
        return GetExtent(dwDrawAspect, lpsizel);
    }
    HRESULT STDMETHODCALLTYPE GetRect(DWORD, LPRECTL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetViewStatus(DWORD* pdwStatus) override
    {
        if (pdwStatus == NULL) return E_POINTER;
        *pdwStatus = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryHitPoint(DWORD, LPCRECT pRectBounds, POINT ptlLoc, LONG, DWORD* pHitResult) override
    {
        if (pRectBounds == NULL || pHitResult == NULL) return E_POINTER;
        *pHitResult = IsOnDisc(*pRectBounds, ptlLoc) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
        Log(L"QueryHitPoint point=%ld,%ld bounds=%ls -> %ls", ptlLoc.x, ptlLoc.y, RectText(pRectBounds).c_str(),
            *pHitResult == HITRESULT_HIT ? L"hit" : L"outside");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryHitRect(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override
    {
        return E_NOTIMPL;
    }

    // ---- IPersistStreamInit
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override
    {
        if (pClassID == NULL) return E_POINTER;
        *pClassID = m_bPlayer ? kPlayerClsid : kClsid;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitNew() override
    {
        const HRESULT hr = (m_dwSwitches & kFailInit) != 0 ? E_FAIL : S_OK;
        Log(L"InitNew -> 0x%08lX", hr);
        return hr;
    }

    // ---- IObjectWithSite
    HRESULT STDMETHODCALLTYPE SetSite(IUnknown* pUnkSite) override
    {
        Log(L"SetSite site=%ls", YesNull(pUnkSite));
        m_site.Reset(pUnkSite);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSite(REFIID riid, void** ppvSite) override
    {
        if (ppvSite == NULL) return E_POINTER;
        *ppvSite = NULL;
        return m_site.Get() != NULL ? m_site->QueryInterface(riid, ppvSite) : E_FAIL;
    }

    // ---- IDispatch: one read-only property, "Clicks"
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override
    {
        if (pctinfo != NULL) *pctinfo = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override
    {
        if (ppTInfo != NULL) *ppTInfo = NULL;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID, DISPID* rgDispId) override
    {
        if (rgszNames == NULL || rgDispId == NULL || cNames != 1) return E_INVALIDARG;
        if (::lstrcmpiW(rgszNames[0], L"Clicks") != 0) return DISP_E_UNKNOWNNAME;
        rgDispId[0] = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS*, VARIANT* pVarResult,
                                     EXCEPINFO*, UINT*) override
    {
        if (dispIdMember != 1 || (wFlags & DISPATCH_PROPERTYGET) == 0) return DISP_E_MEMBERNOTFOUND;
        if (pVarResult != NULL) {
            ::VariantInit(pVarResult);
            pVarResult->vt = VT_I4;
            pVarResult->lVal = m_nClicks;
        }
        return S_OK;
    }

    // ---- IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override
    {
        if (ppEnum != NULL) *ppEnum = NULL;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override
    {
        if (ppCP == NULL) return E_POINTER;
        *ppCP = NULL;
        if (riid != EventsIid()) return CONNECT_E_NOCONNECTION;
        *ppCP = new CConnectionPoint(this);
        return S_OK;
    }

    // ---- IRunnableObject
    HRESULT STDMETHODCALLTYPE GetRunningClass(LPCLSID lpClsid) override { return GetClassID(lpClsid); }
    HRESULT STDMETHODCALLTYPE Run(LPBINDCTX) override { return S_OK; }
    BOOL STDMETHODCALLTYPE IsRunning() override { return TRUE; }
    // A lock keeps the object alive, as the system's strong lock does.
    HRESULT STDMETHODCALLTYPE LockRunning(BOOL fLock, BOOL fLastUnlockCloses) override
    {
        const HRESULT hr = fLock || m_nRunningLocks > 0 ? S_OK : E_UNEXPECTED;
        if (SUCCEEDED(hr)) m_nRunningLocks += fLock ? 1 : -1;
        if (SUCCEEDED(hr)) g_counts.nRunningLocks += fLock ? 1 : -1;
        Log(L"LockRunning lock=%d last=%d -> 0x%08lX locks=%d", fLock, fLastUnlockCloses, hr, m_nRunningLocks);
        if (SUCCEEDED(hr) && fLock) AddRef();
        if (SUCCEEDED(hr) && !fLock) Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE SetContainedObject(BOOL) override { return S_OK; }

    // ---- the sinks of the connection point
    HRESULT AdviseSink(IUnknown* pUnkSink, DWORD* pdwCookie)
    {
        if (pUnkSink == NULL || pdwCookie == NULL) return E_POINTER;
        *pdwCookie = 0;
        for (int i = 0; i < kMaxSinks; i++) {
            if (m_aSinks[i].Get() != NULL) continue;
            IDispatch* pDispatch = NULL;
            if (FAILED(pUnkSink->QueryInterface(EventsIid(), reinterpret_cast<void**>(&pDispatch))) &&
                FAILED(pUnkSink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pDispatch)))) {
                return CONNECT_E_CANNOTCONNECT;
            }
            m_aSinks[i].Attach(pDispatch);
            *pdwCookie = static_cast<DWORD>(i + 1);
            Log(L"Advise cookie=%lu", *pdwCookie);
            return S_OK;
        }
        return CONNECT_E_ADVISELIMIT;
    }
    HRESULT UnadviseSink(DWORD dwCookie)
    {
        Log(L"Unadvise cookie=%lu", dwCookie);
        if (dwCookie == 0 || dwCookie > kMaxSinks || m_aSinks[dwCookie - 1].Get() == NULL) return CONNECT_E_NOCONNECTION;
        m_aSinks[dwCookie - 1].Reset(NULL);
        return S_OK;
    }

    // An event to every sink, each answer logged; the last answer, or S_FALSE without sinks.
    HRESULT Fire(DISPID dispid, VARIANT* rgvarg, UINT cArgs)
    {
        HRESULT hr = S_FALSE;
        for (CHeld<IDispatch>& sink : m_aSinks) {
            if (sink.Get() == NULL) continue;
            DISPPARAMS params = {rgvarg, NULL, cArgs, 0};
            hr = sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, NULL, NULL, NULL);
            Log(L"Fire dispid=%ld args=%u -> 0x%08lX", dispid, cArgs, hr);
        }
        return hr;
    }

    // The windowed form's window.
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        CControl* pThis = reinterpret_cast<CControl*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        switch (uMsg) {
        case WM_NCCREATE:
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
            break;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hDC = ::BeginPaint(hWnd, &ps);
            RECT rc;
            ::GetClientRect(hWnd, &rc);
            if (pThis != NULL) PaintFace(hDC, rc, pThis->m_nClicks, pThis->m_bPlayer);
            ::EndPaint(hWnd, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
            if (pThis != NULL) {
                Log(L"Window msg=0x%04X", uMsg);
                pThis->Click();
            }
            return 0;
        default:
            break;
        }
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }

private:
    IOleInPlaceSiteWindowless* WindowlessSite() const
    {
        return m_bWindowless ? static_cast<IOleInPlaceSiteWindowless*>(m_inPlaceSite.Get()) : NULL;
    }

    HRESULT ActivateInPlace(IOleClientSite* pClientSite)
    {
        if (m_bInPlaceActive) return S_OK;
        if (pClientSite == NULL) return E_UNEXPECTED;
        IOleInPlaceSiteWindowless* pWindowless = NULL;
        HRESULT hr = E_NOINTERFACE;
        if ((m_dwSwitches & kWindowedOnly) == 0) {
            hr = pClientSite->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&pWindowless));
        }
        if (SUCCEEDED(hr) && pWindowless->CanWindowlessActivate() == S_OK) {
            m_bWindowless = true;
            m_inPlaceSite.Attach(pWindowless);
            BOOL bNoRedraw = FALSE;
            hr = pWindowless->OnInPlaceActivateEx(&bNoRedraw, ACTIVATE_WINDOWLESS);
            Log(L"site.OnInPlaceActivateEx flags=%d -> 0x%08lX", ACTIVATE_WINDOWLESS, hr);
        }
        else {
            if (pWindowless != NULL) pWindowless->Release();
            m_bWindowless = false;
            IOleInPlaceSite* pSite = NULL;
            hr = pClientSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&pSite));
            if (FAILED(hr)) return hr;
            m_inPlaceSite.Attach(pSite);
            hr = pSite->OnInPlaceActivate();
            Log(L"site.OnInPlaceActivate -> 0x%08lX", hr);
        }
        if (FAILED(hr)) {
            m_inPlaceSite.Reset(NULL);
            return hr;
        }
        m_bInPlaceActive = true;

        IOleInPlaceFrame* pFrame = NULL;
        IOleInPlaceUIWindow* pDoc = NULL;
        RECT rcPos = {-1, -1, -1, -1}, rcClip = {-1, -1, -1, -1};
        OLEINPLACEFRAMEINFO info = {};
        info.cb = sizeof(info);
        hr = m_inPlaceSite->GetWindowContext(&pFrame, &pDoc, &rcPos, &rcClip, &info);
        Log(L"site.GetWindowContext -> 0x%08lX frame=%ls doc=%ls pos=%ls clip=%ls cb=%u frame.window=%ls accel=%ls "
            L"entries=%u",
            hr, YesNull(pFrame), YesNull(pDoc), RectText(&rcPos).c_str(), RectText(&rcClip).c_str(), info.cb,
            WindowText(info.hwndFrame).c_str(), YesNull(info.haccel), info.cAccelEntries);
        m_frame.Attach(pFrame);
        m_doc.Attach(pDoc);
        if (SUCCEEDED(hr)) m_rcPos = rcPos;
        if (!m_bWindowless) {
            HWND hWndParent = NULL;
            hr = m_inPlaceSite->GetWindow(&hWndParent);
            Log(L"site.GetWindow -> 0x%08lX window=%ls", hr, WindowText(hWndParent).c_str());
            if (FAILED(hr)) return hr;
            WNDCLASSW wc = {};
            wc.lpfnWndProc = WndProc;
            wc.hInstance = g_hModule;
            wc.hCursor = ::LoadCursorW(NULL, IDC_HAND);
            wc.lpszClassName = kWindowClass;
            ::RegisterClassW(&wc);  // fails harmlessly once registered
            m_hWnd = ::CreateWindowExW(0, kWindowClass, L"ActiveX double", WS_CHILD | WS_VISIBLE, m_rcPos.left,
                                       m_rcPos.top, m_rcPos.right - m_rcPos.left, m_rcPos.bottom - m_rcPos.top,
                                       hWndParent, NULL, g_hModule, this);
        }
        return S_OK;
    }

    HRESULT ActivateUI(IOleClientSite* pClientSite)
    {
        HRESULT hr = ActivateInPlace(pClientSite);
        if (FAILED(hr) || m_bUIActive) return hr;
        m_bUIActive = true;
        Log(L"site.OnUIActivate -> 0x%08lX", m_inPlaceSite->OnUIActivate());
        if (m_frame.Get() != NULL) {
            hr = m_frame->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"ActiveX double");
            Log(L"frame.SetActiveObject object=yes -> 0x%08lX", hr);
        }
        return S_OK;
    }

    void DeactivateUI()
    {
        if (!m_bUIActive) return;
        m_bUIActive = false;
        if (m_frame.Get() != NULL) Log(L"frame.SetActiveObject object=null -> 0x%08lX", m_frame->SetActiveObject(NULL, NULL));
        Log(L"site.OnUIDeactivate -> 0x%08lX", m_inPlaceSite->OnUIDeactivate(FALSE));
    }

    HRESULT DeactivateInPlace()
    {
        if (!m_bInPlaceActive) return S_OK;
        DeactivateUI();
        if (m_hWnd != NULL) {
            ::DestroyWindow(m_hWnd);
            m_hWnd = NULL;
        }
        m_bInPlaceActive = false;
        if (WindowlessSite() != NULL) Log(L"site.OnInPlaceDeactivateEx -> 0x%08lX", WindowlessSite()->OnInPlaceDeactivateEx(TRUE));
        else Log(L"site.OnInPlaceDeactivate -> 0x%08lX", m_inPlaceSite->OnInPlaceDeactivate());
        m_frame.Reset(NULL);
        m_doc.Reset(NULL);
        m_inPlaceSite.Reset(NULL);
        return S_OK;
    }

    // The plain control tells its sinks "Clicked"(count), the player FSCommand("click", count).
    void Click()
    {
        ++m_nClicks;
        if (m_hWnd != NULL) ::InvalidateRect(m_hWnd, NULL, FALSE);
        else if (WindowlessSite() != NULL) WindowlessSite()->InvalidateRect(&m_rcPos, FALSE);
        if (!m_bPlayer) {
            VARIANT arg;
            ::VariantInit(&arg);
            arg.vt = VT_I4;
            arg.lVal = m_nClicks;
            Fire(kDispidClicked, &arg, 1);
            return;
        }
        wchar_t szCount[16];
        swprintf(szCount, 16, L"%d", m_nClicks);
        VARIANT args[2];  // last parameter first
        args[0].vt = VT_BSTR;
        args[0].bstrVal = ::SysAllocString(szCount);
        args[1].vt = VT_BSTR;
        args[1].bstrVal = ::SysAllocString(L"click");
        Fire(kDispidFSCommand, args, 2);
        ::VariantClear(&args[0]);
        ::VariantClear(&args[1]);
    }

    const DWORD m_dwSwitches;  // as they were when the object was made
    const bool m_bPlayer;
    CHeld<IOleClientSite> m_clientSite;
    CHeld<IOleInPlaceSite> m_inPlaceSite;  // an IOleInPlaceSiteWindowless when windowless
    CHeld<IOleInPlaceFrame> m_frame;
    CHeld<IOleInPlaceUIWindow> m_doc;
    CHeld<IUnknown> m_site;
    CHeld<IDispatch> m_aSinks[kMaxSinks];
    bool m_bInPlaceActive = false;
    bool m_bUIActive = false;
    bool m_bWindowless = false;
    HWND m_hWnd = NULL;
    RECT m_rcPos = {};
    SIZEL m_szExtent = {};
    int m_nRunningLocks = 0;
    int m_nClicks = 0;
};

CConnectionPoint::CConnectionPoint(CControl* pControl) : m_pControl(pControl)
{
    m_pControl->AddRef();
}

CConnectionPoint::~CConnectionPoint()
{
    m_pControl->Release();
}

HRESULT STDMETHODCALLTYPE CConnectionPoint::GetConnectionInterface(IID* pIID)
{
    if (pIID == NULL) return E_POINTER;
    *pIID = m_pControl->EventsIid();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC)
{
    if (ppCPC == NULL) return E_POINTER;
    return m_pControl->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(ppCPC));
}

HRESULT STDMETHODCALLTYPE CConnectionPoint::Advise(IUnknown* pUnkSink, DWORD* pdwCookie)
{
    return m_pControl->AdviseSink(pUnkSink, pdwCookie);
}

HRESULT STDMETHODCALLTYPE CConnectionPoint::Unadvise(DWORD dwCookie)
{
    return m_pControl->UnadviseSink(dwCookie);
}

// The class factories live as long as the module; they are not among the counted objects.
class CFactory final : public IClassFactory
{
public:
    explicit CFactory(bool bPlayer) : m_bPlayer(bPlayer) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == NULL) return E_POINTER;
        *ppv = NULL;
        if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
        *ppv = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override
    {
        if (ppv == NULL) return E_POINTER;
        *ppv = NULL;
        if (pUnkOuter != NULL) return CLASS_E_NOAGGREGATION;
        CControl* pControl = new CControl(m_bPlayer);
        HRESULT hr = pControl->QueryInterface(riid, ppv);
        pControl->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override
    {
        g_nServerLocks += fLock ? 1 : -1;
        return S_OK;
    }

private:
    const bool m_bPlayer;
};

CFactory g_factory(false);
CFactory g_playerFactory(true);

bool SetRegistryText(const std::wstring& sKey, const wchar_t* pstrName, const wchar_t* pstrValue)
{
    HKEY hKey = NULL;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, sKey.c_str(), 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD cb = static_cast<DWORD>((::wcslen(pstrValue) + 1) * sizeof(wchar_t));
    const bool bDone =
        ::RegSetValueExW(hKey, pstrName, 0, REG_SZ, reinterpret_cast<const BYTE*>(pstrValue), cb) == ERROR_SUCCESS;
    ::RegCloseKey(hKey);
    return bDone;
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        g_hModule = hInstance;
        ::DisableThreadLibraryCalls(hInstance);
    }
    return TRUE;
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    if (ppv == NULL) return E_POINTER;
    *ppv = NULL;
    if (rclsid == kClsid) return g_factory.QueryInterface(riid, ppv);
    if (rclsid == kPlayerClsid) return g_playerFactory.QueryInterface(riid, ppv);
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return g_counts.nLiveObjects == 0 && g_nServerLocks == 0 ? S_OK : S_FALSE;
}

// The class under its identifier and its program identifier, in the registry
// of the prefix that runs it; writing the same again changes nothing.
HRESULT STDAPICALLTYPE DllRegisterServer()
{
    wchar_t szPath[MAX_PATH] = L"";
    ::GetModuleFileNameW(g_hModule, szPath, MAX_PATH);
    const std::wstring sClass = std::wstring(L"CLSID\\") + kClsidText;
    const bool bDone = SetRegistryText(sClass, NULL, L"SkinLib test ActiveX double") &&
                       SetRegistryText(sClass + L"\\InprocServer32", NULL, szPath) &&
                       SetRegistryText(sClass + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
                       SetRegistryText(sClass + L"\\ProgID", NULL, kProgId) &&
                       SetRegistryText(std::wstring(kProgId) + L"\\CLSID", NULL, kClsidText);
    return bDone ? S_OK : SELFREG_E_CLASS;
}

void ActiveXDouble_SetSwitches(DWORD dwSwitches)
{
    g_dwSwitches = dwSwitches;
}

const wchar_t* ActiveXDouble_Log()
{
    return g_sLog.c_str();
}

void ActiveXDouble_ClearLog()
{
    g_sLog.clear();
}

void ActiveXDouble_Note(const wchar_t* pstrLine)
{
    Log(L"%ls", pstrLine);
}

void ActiveXDouble_GetCounts(Counts* pCounts)
{
    if (pCounts != NULL) *pCounts = g_counts;
}

HRESULT ActiveXDouble_Fire(DISPID dispid, VARIANT* rgvarg, UINT cArgs)
{
    HRESULT hr = S_FALSE;
    for (CControl* pPlayer : std::vector<CControl*>(g_players)) {
        const HRESULT hrPlayer = pPlayer->Fire(dispid, rgvarg, cArgs);
        if (hrPlayer != S_FALSE) hr = hrPlayer;
    }
    return hr;
}

void ActiveXDouble_Paint(HDC hDC, const RECT* prc)
{
    if (hDC != NULL && prc != NULL) PaintFace(hDC, *prc, 0);
}

} // extern "C"
