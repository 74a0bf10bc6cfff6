#pragma once
// The simulated ActiveX control, activex_double.dll beside the test programs,
// as the DLL and the programs that drive it see it. The DLL exports
// DllGetClassObject (a skin's "modulename" reaches it) and DllRegisterServer
// (class identifier and program identifier in the registry of the running
// prefix), and these functions:
//   ActiveXDouble_SetSwitches(switches)   for the objects made from now on
//   ActiveXDouble_Log()                   every call so far, one line each
//   ActiveXDouble_ClearLog()
//   ActiveXDouble_Note(line)              a line of the caller's own, in order
//   ActiveXDouble_GetCounts(&counts)      what is alive and held right now
//   ActiveXDouble_Paint(hdc, &rect)       the control's drawing, for a window of the caller's
//   ActiveXDouble_Fire(dispid, args, n)   an event to the sinks of every simulated player
//
// DllGetClassObject also makes the simulated Flash player under the player's
// class identifier: the same control, answering for the player's interface
// with its dispatch interface and serving the player's events instead of
// "Clicked"; a click on its disc fires FSCommand("click", count). A test
// registers its factory with CoRegisterClassObject to make it by class
// identifier, or names the module.
//
// Log lines: the object's own methods by name, the host's answers with
// "site." or "frame." before the method; "->" is followed by the HRESULT:
//   SetClientSite site=yes
//   InitNew -> 0x00000000
//   SetHostNames app=UIActiveX object=null
//   DoVerb verb=-5 parent=<window class> rect=10,20,110,80
//   site.OnInPlaceActivateEx flags=1 -> 0x00000000      (windowless)
//   site.OnInPlaceActivate -> 0x00000000                (windowed)
//   site.GetWindowContext -> 0x00000000 frame=yes doc=null pos=l,t,r,b clip=l,t,r,b cb=24 frame.window=<class> accel=null entries=0
//   site.GetWindow -> 0x00000000 window=<class>
//   SetObjectRects pos=l,t,r,b clip=l,t,r,b
//   SetExtent aspect=1 size=2646,1323
//   Draw aspect=1 bounds=l,t,r,b
//   QueryHitPoint point=x,y bounds=l,t,r,b -> hit      (or outside)
//   OnWindowMessage msg=0x0201 wparam=0x1 lparam=0x00320064
//   LockRunning lock=1 last=0 -> 0x00000000 locks=1
//   site.OnUIActivate -> 0x00000000, frame.SetActiveObject object=yes -> 0x00000000
//   Close option=1
//   site.OnInPlaceDeactivateEx -> 0x00000000           (windowless; site.OnInPlaceDeactivate windowed)
//   SetSite site=yes
//   Advise cookie=1, Unadvise cookie=1
//   Fire dispid=150 args=2 -> 0x00000000                 (once per sink)
#include <windows.h>
#include <ole2.h>

#include <string>

namespace ActiveXDouble {

// {5E0C3A8B-6F1D-4B7A-9C42-1D8E7F60A3B5}
const CLSID kClsid = {0x5e0c3a8b, 0x6f1d, 0x4b7a, {0x9c, 0x42, 0x1d, 0x8e, 0x7f, 0x60, 0xa3, 0xb5}};
const wchar_t kClsidText[] = L"{5E0C3A8B-6F1D-4B7A-9C42-1D8E7F60A3B5}";
const wchar_t kProgId[] = L"SkinLibTest.ActiveXDouble";
const wchar_t kModule[] = L"activex_double.dll";
// The events its connection point serves, through IDispatch::Invoke: "Clicked"(count) on each
// left button press. {5E0C3A8C-6F1D-4B7A-9C42-1D8E7F60A3B5}
const IID kEventsIid = {0x5e0c3a8c, 0x6f1d, 0x4b7a, {0x9c, 0x42, 0x1d, 0x8e, 0x7f, 0x60, 0xa3, 0xb5}};
const DISPID kDispidClicked = 1;

// The Flash player's class, its dual interface and its events' dispatch interface.
const CLSID kPlayerClsid = {0xd27cdb6e, 0xae6d, 0x11cf, {0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID kPlayerIid = {0xd27cdb6c, 0xae6d, 0x11cf, {0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID kPlayerEventsIid = {0xd27cdb6d, 0xae6d, 0x11cf, {0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const DISPID kDispidReadyStateChange = -609;
const DISPID kDispidProgress = 1958;
const DISPID kDispidFSCommand = 150;
const DISPID kDispidFlashCall = 197;

enum Switch : DWORD
{
    kWindowedOnly = 1,         // no IOleInPlaceObjectWindowless; asks for plain in-place activation
    kNoViewEx = 2,             // IViewObject2 and IViewObject only, so no hit test of its own
    kInvisibleAtRunTime = 4,   // OLEMISC_INVISIBLEATRUNTIME
    kSetClientSiteFirst = 8,   // OLEMISC_SETCLIENTSITEFIRST
    kFailInit = 16,            // IPersistStreamInit::InitNew fails
};

struct Counts
{
    LONG nLiveObjects;     // controls and their connection points
    LONG nReferences;      // the sum of their reference counts
    LONG nHostInterfaces;  // interfaces of the host they hold
    LONG nRunningLocks;    // LockRunning(TRUE) not undone
};

// The drawing: a disc inscribed in the bounds less this margin, which is also where it takes the mouse.
const int kDiscMargin = 4;

// The DLL as a program that loads it sees it; the module stays loaded as long as this object.
class CModule
{
public:
    CModule() : m_hModule(::LoadLibraryW(kModule))
    {
        Bind(m_pfnSetSwitches, "ActiveXDouble_SetSwitches");
        Bind(m_pfnLog, "ActiveXDouble_Log");
        Bind(m_pfnClearLog, "ActiveXDouble_ClearLog");
        Bind(m_pfnNote, "ActiveXDouble_Note");
        Bind(m_pfnGetCounts, "ActiveXDouble_GetCounts");
        Bind(m_pfnPaint, "ActiveXDouble_Paint");
        Bind(m_pfnFire, "ActiveXDouble_Fire");
        Bind(m_pfnRegister, "DllRegisterServer");
        Bind(m_pfnGetClassObject, "DllGetClassObject");
    }
    CModule(const CModule&) = delete;
    CModule& operator=(const CModule&) = delete;
    ~CModule()
    {
        if (m_hModule != NULL) ::FreeLibrary(m_hModule);
    }

    bool IsLoaded() const { return m_pfnGetCounts != nullptr; }
    void SetSwitches(DWORD dwSwitches) { m_pfnSetSwitches(dwSwitches); }
    std::wstring Log() const { return m_pfnLog(); }
    void ClearLog() { m_pfnClearLog(); }
    void Note(const wchar_t* pstrLine) { m_pfnNote(pstrLine); }
    Counts GetCounts() const
    {
        Counts counts = {};
        m_pfnGetCounts(&counts);
        return counts;
    }
    void Paint(HDC hDC, const RECT& rc) { m_pfnPaint(hDC, &rc); }
    // The arguments last parameter first, as DISPPARAMS holds them; the last sink's answer.
    HRESULT Fire(DISPID dispid, VARIANT* rgvarg, UINT cArgs) { return m_pfnFire(dispid, rgvarg, cArgs); }
    HRESULT Register() { return m_pfnRegister(); }
    HRESULT GetClassObject(REFIID riid, void** ppv, REFCLSID rclsid = kClsid)
    {
        return m_pfnGetClassObject(rclsid, riid, ppv);
    }

private:
    template <typename Fn> void Bind(Fn& pfn, const char* pstrName)
    {
        pfn = m_hModule != NULL ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(m_hModule, pstrName)))
                                : nullptr;
    }

    HMODULE m_hModule;
    void (*m_pfnSetSwitches)(DWORD) = nullptr;
    const wchar_t* (*m_pfnLog)() = nullptr;
    void (*m_pfnClearLog)() = nullptr;
    void (*m_pfnNote)(const wchar_t*) = nullptr;
    void (*m_pfnGetCounts)(Counts*) = nullptr;
    void (*m_pfnPaint)(HDC, const RECT*) = nullptr;
    HRESULT (*m_pfnFire)(DISPID, VARIANT*, UINT) = nullptr;
    HRESULT(STDAPICALLTYPE* m_pfnRegister)() = nullptr;
    HRESULT(STDAPICALLTYPE* m_pfnGetClassObject)(REFCLSID, REFIID, void**) = nullptr;
};

} // namespace ActiveXDouble
