#pragma once

#include <ole2.h>

#include "extended/ActiveXUI.h"
#include "extended/FlashEventHandler.h"

namespace SkinLib {

// The Flash player's interfaces, which no system header declares. The control
// calls none of the player's own methods, so its dual interface is declared
// only as the dispatch interface it is; its events come through IDispatch.
struct IShockwaveFlash : public IDispatch
{
};
struct _IShockwaveFlashEvents : public IDispatch
{
};

extern const CLSID CLSID_ShockwaveFlash;
extern const IID IID_IShockwaveFlash;
extern const IID DIID__IShockwaveFlashEvents;

// A Flash player in the control tree, its events passed on to the
// application's CFlashEventHandler. The event part counts references but never
// deletes the control. It translates accelerators for the player only when the
// application adds it to the paint manager's translators.
class CFlashUI : public CActiveXUI, public _IShockwaveFlashEvents, public ITranslateAccelerator
{
public:
    CFlashUI();
    ~CFlashUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    // Takes a reference of the new handler and gives back the old one's; null clears it.
    void SetFlashEventHandler(CFlashEventHandler* pHandler);

    void ReleaseControl() override;
    bool DoCreateControl() override;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: the player's events
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                            DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                     UINT* puArgErr) override;

    // ITranslateAccelerator: keys for the player while the focus is in its window
    LRESULT TranslateAcceleratorW(MSG* pMsg) override;

private:
    HRESULT OnReadyStateChange(DISPPARAMS* pDispParams);
    HRESULT OnProgress(DISPPARAMS* pDispParams);
    HRESULT FSCommand(DISPPARAMS* pDispParams);
    HRESULT FlashCall(DISPPARAMS* pDispParams);

    IShockwaveFlash* m_pFlash;  // one reference
    LONG m_dwRef;
    DWORD m_dwCookie;
    CFlashEventHandler* m_pFlashEventHandler;  // one reference
};

} // namespace SkinLib
