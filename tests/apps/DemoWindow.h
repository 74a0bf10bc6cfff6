#pragma once
// What the demo windows built from an in-memory skin archive share: the skin
// file "main.xml" of the process's archive, a close after the given time
// (0 = stay open), and one moment, shortly after the window opens, to act out
// a user's input so that a screenshot shows hot, pressed or open states.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

#include "core/PaintManagerUI.h"
#include "core/WindowImplBase.h"

namespace SkinLibTest {

class CDemoWindow : public SkinLib::WindowImplBase
{
public:
    SkinLib::CSkinString GetSkinDirectory() override { return L""; }
    SkinLib::CSkinString GetSkinXmlName() override { return L"main.xml"; }
    SkinLib::UILIB_RESOURCETYPE GetResourceType() const override { return SkinLib::SKIN_FROM_FILE; }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_TIMER && (wParam == kInputTimerId || wParam == kCloseTimerId)) {
            ::KillTimer(m_hWnd, wParam);
            if (wParam == kInputTimerId) ActLikeAUser();
            else Close(0);
            return 0;
        }
        return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
    }

protected:
    explicit CDemoWindow(UINT uCloseAfter) : m_uCloseAfter(uCloseAfter) {}

    // Called at the end of InitWindow.
    void StartTimers()
    {
        if (m_uCloseAfter > 0) ::SetTimer(m_hWnd, kCloseTimerId, m_uCloseAfter, NULL);
        ::SetTimer(m_hWnd, kInputTimerId, 300, NULL);
    }
    virtual void ActLikeAUser() {}

private:
    static const UINT_PTR kCloseTimerId = 1;
    static const UINT_PTR kInputTimerId = 2;
    UINT m_uCloseAfter;
};

// The demo's command line: the close time in milliseconds, then one word.
struct DemoArguments
{
    UINT uCloseAfter = 0;
    std::wstring sWord;

    DemoArguments()
    {
        int nArgs = 0;
        LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs);
        if (nArgs > 1) uCloseAfter = static_cast<UINT>(std::wcstoul(ppArgs[1], NULL, 10));
        if (nArgs > 2) sWord = ppArgs[2];
        ::LocalFree(ppArgs);
    }
};

// Makes the archive the process's skin source for good, as a program's
// embedded skin is, then shows the window modally; its result is the exit code.
inline int RunDemo(HINSTANCE hInstance, std::vector<uint8_t> skin, CDemoWindow& wnd, const wchar_t* pstrTitle)
{
    SkinLib::CPaintManagerUI::SetInstance(hInstance);
    static const std::vector<uint8_t> s_skin = std::move(skin);
    SkinLib::CPaintManagerUI::SetResourceZip(s_skin.data(), static_cast<unsigned int>(s_skin.size()));
    wnd.Create(NULL, pstrTitle, WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, CW_USEDEFAULT,
               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL);
    wnd.CenterWindow();
    return static_cast<int>(wnd.ShowModal());
}

} // namespace SkinLibTest
