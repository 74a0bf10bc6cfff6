// A skinned window as the programs make theirs: the skin comes from the Skins.zip
// embedded as resource 109 of type "ZIPRES", and the window closes itself.
//   skinned_window_demo [close after ms (default 4000)] [skin file (default demo.xml)]
// A skin file the archive does not hold ends the process through the fatal message.
#include <windows.h>
#include <shellapi.h>

#include <stdlib.h>

#include "controls/ControlUI.h"
#include "core/PaintManagerUI.h"
#include "core/WindowImplBase.h"

using namespace SkinLib;

namespace {

const UINT_PTR kCloseTimerId = 1;

class CDemoWnd : public WindowImplBase
{
public:
    CDemoWnd(const wchar_t* pstrSkin, UINT uCloseAfter) : m_sSkin(pstrSkin), m_uCloseAfter(uCloseAfter) {}

    LPCWSTR GetWndClassName() const override { return L"SkinMainFrame"; }
    CSkinString GetSkinDirectory() override { return L"Skins"; }
    CSkinString GetSkinXmlName() override { return m_sSkin; }
    UILIB_RESOURCETYPE GetResourceType() const override { return SKIN_FROM_ZIPRESOURCE; }
    LPCWSTR GetResourceID() const override { return MAKEINTRESOURCEW(109); }
    void InitWindow() override { ::SetTimer(m_hWnd, kCloseTimerId, m_uCloseAfter, NULL); }
    void Notify(tagTNotifyUI& msg) override
    {
        if (msg.sNotifyType == L"click" && msg.pSenderControl != NULL && msg.pSenderControl->GetName() == L"btn_ok")
            Close(0);
        WindowImplBase::Notify(msg);
    }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_TIMER && wParam == kCloseTimerId) {
            ::KillTimer(m_hWnd, kCloseTimerId);
            Close(0);
            return 0;
        }
        return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
    }

private:
    CSkinString m_sSkin;
    UINT m_uCloseAfter;
};

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    int nArgs = 0;
    LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs);
    const UINT uCloseAfter = nArgs > 1 ? static_cast<UINT>(_wtoi(ppArgs[1])) : 4000;
    const wchar_t* pstrSkin = nArgs > 2 ? ppArgs[2] : L"demo.xml";

    CPaintManagerUI::SetInstance(hInstance);
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath());
    CPaintManagerUI::SetResourceZip(L"Skins.zip", false);
    UINT nResult = 0;
    {
        CDemoWnd wnd(pstrSkin, uCloseAfter);
        wnd.Create(NULL, L"Skinned window", WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, CW_USEDEFAULT,
                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL);
        wnd.CenterWindow();
        nResult = wnd.ShowModal();
    }
    ::LocalFree(ppArgs);
    return static_cast<int>(nResult);
}
