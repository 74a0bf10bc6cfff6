// The ActiveX page of the extended controls demo: the simulated control
// (activex_double.dll beside the demo) hosted windowless from its module,
// drawing into the window's paint; a moment after the page shows, a click on
// its disc reaches it through the control's message filter and it counts it.
#include "../doubles/activex/ActiveXDouble.h"
#include "ExtendedDemoPage.h"
#include "controls/ControlUI.h"

using namespace SkinLib;

namespace {

const char kSkin[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window>
  <VerticalLayout childpadding="10">
    <Label height="20" text="An OLE control from activex_double.dll, in place windowless:" textcolor="#FF4A5563" />
    <HorizontalLayout height="180" childpadding="16">
      <ActiveX name="activex_double" width="360" modulename="activex_double.dll"
               clsid="{5E0C3A8B-6F1D-4B7A-9C42-1D8E7F60A3B5}" />
      <Text text="It draws its disc into the window's paint. The mouse reaches it on the disc only, keys while it has the focus; a click counts." textcolor="#FF4A5563" />
    </HorizontalLayout>
  </VerticalLayout>
</Window>
)";

void ClickTheDisc(CPaintManagerUI& pm)
{
    ExtendedDemo::PostClickOnDisc(pm, L"activex_double");
}

} // namespace

namespace ExtendedDemo {

extern const Page kActiveXPage = {L"ActiveX", "activex.xml", kSkin, nullptr, nullptr, ClickTheDisc};

} // namespace ExtendedDemo
