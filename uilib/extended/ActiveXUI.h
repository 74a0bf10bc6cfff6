#pragma once

#include <ole2.h>
#include <ocidl.h>

#include <initializer_list>

#include "controls/ControlUI.h"

namespace SkinLib {

class CActiveXCtrl;

// An OLE control in the windowless tree, created by class identifier, program
// identifier or from a module of its own. It is activated in place windowless,
// drawing into the paint manager's DC and taking window messages through this
// control's message filter, or windowed, in a child window of the paint window.
// COM must be initialised on the UI thread by the application.
class CActiveXUI : public CControlUI, public IMessageFilterUI
{
public:
    CActiveXUI();
    ~CActiveXUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    // The message filter, an accelerator hook and a windowless object's host
    // window go with the control from window to window.
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    // Windowless objects only: the messages the object takes, where it takes them.
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // A class identifier in braces, or a program identifier; false when it
    // names no class or creation, made at once, failed.
    bool CreateControl(const wchar_t* pstrCLSID);
    bool CreateControl(const CLSID clsid);
    bool IsDelayCreate() const;
    // With delay create the object is made at the first layout.
    void SetDelayCreate(bool bDelayCreate = true);
    // E_PENDING while there is no object.
    HRESULT GetControl(const IID iid, LPVOID* ppRet);
    // The paint window (windowless) or the child window (windowed).
    HWND GetHostWindow() const;
    CLSID GetClisd() const;
    const CSkinString& GetModuleName() const;
    // A module whose DllGetClassObject makes the object instead of the registry.
    void SetModuleName(const wchar_t* pstrText);

    // Lets go of the object and its site; harmless when there is none.
    virtual void ReleaseControl();
    virtual bool DoCreateControl();

protected:
    // Derived controls hook an accelerator translator here; it stays on the
    // control's manager, whichever that is.
    void AddAcceleratorHook(ITranslateAccelerator* pHook);
    void RemoveAcceleratorHook();
    // What the object asks its client site for that a site has none of (a
    // document host's interfaces, say) is a derived control's to answer.
    virtual HRESULT QuerySiteInterface(REFIID riid, void** ppvObject);
    // A key message for the object's own accelerators, while the focus is in
    // its window: S_FALSE for other messages or another focus, E_NOTIMPL
    // without an object, else the object's answer (S_OK when it took the key).
    HRESULT TranslateObjectAccelerator(MSG* pMsg);
    // A sink on the object's connection point of an event interface; the
    // cookie is cleared when the sink comes off, whatever the object answers.
    HRESULT AdviseEvents(REFIID riidEvents, IUnknown* pSink, DWORD* pdwCookie);
    HRESULT UnadviseEvents(REFIID riidEvents, DWORD* pdwCookie);
    // An event's arguments against its parameter types, first parameter first
    // (the last of rgvarg): DISP_E_BADPARAMCOUNT for another count,
    // DISP_E_TYPEMISMATCH for another type or a reference to nothing.
    static HRESULT CheckEventArguments(const DISPPARAMS* pParams, std::initializer_list<VARTYPE> aTypes);

    CLSID m_clsid;
    CSkinString m_sModuleName;
    bool m_bCreated;
    IOleObject* m_pUnk;
    CActiveXCtrl* m_pControl;  // one reference
    HWND m_hwndHost;
    bool m_bDelayCreate;

private:
    friend class CActiveXCtrl;
    friend class CActiveXFrameWnd;

    IUnknown* CreateFromModule();
    HRESULT FindConnectionPoint(REFIID riidEvents, IConnectionPoint** ppConnectionPoint) const;
    DWORD GetMiscStatus() const;
    // The manager's paint window; null without a manager.
    HWND PaintWindow() const;
    // "showactivex", then in-place activation; waits for a paint window.
    HRESULT ShowActiveX();
    void ShowHostWindow();
    void AddMessageFilter();
    void RemoveMessageFilter();
    void HookAccelerator();
    void UnhookAccelerator();
    bool IsHit(UINT uMsg, LPARAM lParam) const;

    bool m_bShowPending;                      // created before there was a paint window
    CPaintManagerUI* m_pFilterManager;        // the manager this control filters messages of
    ITranslateAccelerator* m_pAcceleratorHook;
    CPaintManagerUI* m_pAcceleratorManager;   // the manager the hook went onto; null while it waits for one
};

} // namespace SkinLib
