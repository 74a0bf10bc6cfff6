// The Flash page of the extended controls demo: the simulated player
// (activex_double.dll beside the demo, under the player's identifiers) hosted
// windowless from its module; a moment after the page shows, a click on its
// disc comes back from the player as an FSCommand, which the page's handler
// shows beside it.
#include <string>

#include "ExtendedDemoPage.h"
#include "controls/TextUI.h"
#include "extended/FlashUI.h"

using namespace SkinLib;

namespace {

const char kSkin[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window>
  <VerticalLayout childpadding="10">
    <Label height="20" text="The simulated Flash player from activex_double.dll, in place windowless:" textcolor="#FF4A5563" />
    <HorizontalLayout height="180" childpadding="16">
      <Flash name="flash" width="360" modulename="activex_double.dll" />
      <Text name="flash_events" showhtml="true" textcolor="#FF4A5563" text="A click on the disc comes back as the player's FSCommand." />
    </HorizontalLayout>
  </VerticalLayout>
</Window>
)";

// Shows the player's events in the page's text. It lives as long as the program.
class CPlayerEvents : public CFlashEventHandler
{
public:
    ULONG Release() override { return 1; }
    ULONG AddRef() override { return 2; }
    HRESULT OnReadyStateChange(long newState) override { return Show(L"OnReadyStateChange", std::to_wstring(newState)); }
    HRESULT OnProgress(long percentDone) override { return Show(L"OnProgress", std::to_wstring(percentDone) + L"%"); }
    HRESULT FSCommand(const wchar_t* command, const wchar_t* args) override
    {
        return Show(L"FSCommand", std::wstring(command) + L"(" + args + L")");
    }
    HRESULT FlashCall(const wchar_t* request) override { return Show(L"FlashCall", request); }

    CTextUI* pText = NULL;

private:
    HRESULT Show(const wchar_t* pstrEvent, const std::wstring& sDetail)
    {
        const std::wstring sLine = L"The player sent <b>" + std::wstring(pstrEvent) + L"</b> " + sDetail;
        if (pText != NULL) pText->SetText(sLine.c_str());
        return S_OK;
    }
};

CPlayerEvents g_events;

void ShowTheEvents(CPaintManagerUI& pm)
{
    g_events.pText = static_cast<CTextUI*>(pm.FindControl(L"flash_events"));
    if (CFlashUI* pFlash = static_cast<CFlashUI*>(pm.FindControl(L"flash"))) pFlash->SetFlashEventHandler(&g_events);
}

void ClickTheDisc(CPaintManagerUI& pm)
{
    ExtendedDemo::PostClickOnDisc(pm, L"flash");
}

} // namespace

namespace ExtendedDemo {

extern const Page kFlashPage = {L"Flash", "flash.xml", kSkin, nullptr, ShowTheEvents, ClickTheDisc};

} // namespace ExtendedDemo
