// CFlashUI, the Flash control:
//   - construction, identity, attributes and the event handler
//   - creation and release of the player and its event sink
//   - the event part: reference counting and interfaces, the player's events
#include "extended/FlashUI.h"

#include <wchar.h>

namespace SkinLib {

// {D27CDB6E-AE6D-11CF-96B8-444553540000}
const CLSID CLSID_ShockwaveFlash = {0xd27cdb6e, 0xae6d, 0x11cf, {0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {D27CDB6C-AE6D-11CF-96B8-444553540000}
const IID IID_IShockwaveFlash = {0xd27cdb6c, 0xae6d, 0x11cf, {0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {D27CDB6D-AE6D-11CF-96B8-444553540000}
const IID DIID__IShockwaveFlashEvents = {0xd27cdb6d, 0xae6d, 0x11cf, {0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

namespace {

// The player's events.
const DISPID kDispidReadyStateChange = -609;
const DISPID kDispidProgress = 1958;
const DISPID kDispidFSCommand = 150;
const DISPID kDispidFlashCall = 197;

// A null BSTR is an empty text.
const wchar_t* Text(const VARIANT& v)
{
    return V_BSTR(&v) != NULL ? V_BSTR(&v) : L"";
}

} // namespace

CFlashUI::CFlashUI() : m_pFlash(NULL), m_dwRef(0), m_dwCookie(0), m_pFlashEventHandler(NULL)
{
    m_clsid = CLSID_ShockwaveFlash;
}

CFlashUI::~CFlashUI()
{
    SetFlashEventHandler(NULL);
    ReleaseControl();
}

const wchar_t* CFlashUI::GetClass() const
{
    return L"Flash";
}

void* CFlashUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"Flash") == 0) return static_cast<CFlashUI*>(this);
    return CActiveXUI::GetInterface(pstrName);
}

// A skin may give a Flash control a browser's words; they mean nothing to the player.
void CFlashUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (wcscmp(pstrName, L"homepage") == 0 || wcscmp(pstrName, L"autonavi") == 0) return;
    CActiveXUI::SetAttribute(pstrName, pstrValue);
}

void CFlashUI::SetFlashEventHandler(CFlashEventHandler* pHandler)
{
    // Taken before the old one goes: it may be the same.
    if (pHandler != NULL) pHandler->AddRef();
    if (m_pFlashEventHandler != NULL) m_pFlashEventHandler->Release();
    m_pFlashEventHandler = pHandler;
}

// ---------------------------------------------------------------------------
// Creation and release

bool CFlashUI::DoCreateControl()
{
    if (!CActiveXUI::DoCreateControl()) return false;
    if (SUCCEEDED(GetControl(IID_IShockwaveFlash, reinterpret_cast<void**>(&m_pFlash)))) {
        AdviseEvents(DIID__IShockwaveFlashEvents, static_cast<_IShockwaveFlashEvents*>(this), &m_dwCookie);
    }
    return true;
}

// The player's part goes first, then the host's; run twice, the second run finds nothing.
void CFlashUI::ReleaseControl()
{
    UnadviseEvents(DIID__IShockwaveFlashEvents, &m_dwCookie);
    if (m_pFlash != NULL) {
        m_pFlash->Release();
        m_pFlash = NULL;
    }
    CActiveXUI::ReleaseControl();
}

LRESULT CFlashUI::TranslateAcceleratorW(MSG* pMsg)
{
    return TranslateObjectAccelerator(pMsg);
}

// ---------------------------------------------------------------------------
// The event part

HRESULT STDMETHODCALLTYPE CFlashUI::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL) return E_POINTER;
    *ppvObject = NULL;
    if (riid != IID_IUnknown && riid != IID_IDispatch && riid != DIID__IShockwaveFlashEvents) return E_NOINTERFACE;
    *ppvObject = static_cast<_IShockwaveFlashEvents*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CFlashUI::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

// The control belongs to its parent, not to the player: the count never deletes it.
ULONG STDMETHODCALLTYPE CFlashUI::Release()
{
    return static_cast<ULONG>(::InterlockedDecrement(&m_dwRef));
}

HRESULT STDMETHODCALLTYPE CFlashUI::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo != NULL) *pctinfo = 0;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CFlashUI::GetTypeInfo(UINT /*iTInfo*/, LCID /*lcid*/, ITypeInfo** ppTInfo)
{
    if (ppTInfo != NULL) *ppTInfo = NULL;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CFlashUI::GetIDsOfNames(REFIID /*riid*/, LPOLESTR* /*rgszNames*/, UINT /*cNames*/,
                                                  LCID /*lcid*/, DISPID* /*rgDispId*/)
{
    return E_NOTIMPL;
}

// The handler hears of an event only when its arguments are what the event carries.
HRESULT STDMETHODCALLTYPE CFlashUI::Invoke(DISPID dispIdMember, REFIID /*riid*/, LCID /*lcid*/, WORD /*wFlags*/,
                                           DISPPARAMS* pDispParams, VARIANT* /*pVarResult*/,
                                           EXCEPINFO* /*pExcepInfo*/, UINT* /*puArgErr*/)
{
    switch (dispIdMember) {
    case kDispidReadyStateChange: return OnReadyStateChange(pDispParams);
    case kDispidProgress: return OnProgress(pDispParams);
    case kDispidFSCommand: return FSCommand(pDispParams);
    case kDispidFlashCall: return FlashCall(pDispParams);
    default: return S_OK;
    }
}

HRESULT CFlashUI::OnReadyStateChange(DISPPARAMS* pDispParams)
{
    const HRESULT hr = CheckEventArguments(pDispParams, {VT_I4});
    if (hr != S_OK) return hr;
    if (m_pFlashEventHandler == NULL) return S_OK;
    return m_pFlashEventHandler->OnReadyStateChange(V_I4(&pDispParams->rgvarg[0]));
}

// The percentage comes as a value or by reference.
HRESULT CFlashUI::OnProgress(DISPPARAMS* pDispParams)
{
    HRESULT hr = CheckEventArguments(pDispParams, {VT_I4});
    if (hr == DISP_E_TYPEMISMATCH) hr = CheckEventArguments(pDispParams, {VT_I4 | VT_BYREF});
    if (hr != S_OK) return hr;
    if (m_pFlashEventHandler == NULL) return S_OK;
    const VARIANT& percent = pDispParams->rgvarg[0];
    return m_pFlashEventHandler->OnProgress(V_VT(&percent) == VT_I4 ? V_I4(&percent) : *V_I4REF(&percent));
}

HRESULT CFlashUI::FSCommand(DISPPARAMS* pDispParams)
{
    const HRESULT hr = CheckEventArguments(pDispParams, {VT_BSTR, VT_BSTR});
    if (hr != S_OK) return hr;
    if (m_pFlashEventHandler == NULL) return S_OK;
    return m_pFlashEventHandler->FSCommand(Text(pDispParams->rgvarg[1]), Text(pDispParams->rgvarg[0]));
}

HRESULT CFlashUI::FlashCall(DISPPARAMS* pDispParams)
{
    if (CheckEventArguments(pDispParams, {VT_BSTR}) != S_OK) return E_INVALIDARG;
    if (m_pFlashEventHandler == NULL) return S_OK;
    return m_pFlashEventHandler->FlashCall(Text(pDispParams->rgvarg[0]));
}

} // namespace SkinLib
