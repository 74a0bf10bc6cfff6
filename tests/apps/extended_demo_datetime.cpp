// The date-time page of the extended controls demo: a booking form whose
// dates are date-time controls, one left empty. The user clicks the departure
// date, which opens the system's picker over it.
#include <windows.h>

#include "ExtendedDemoPage.h"
#include "extended/DateTimeUI.h"

using namespace SkinLib;

namespace {

const char kSkin[] = R"skin(<?xml version="1.0" encoding="utf-8"?>
<Window>
  <VerticalLayout childpadding="10" inset="8,8,8,8">
    <Label text="Travel dates" font="2" textcolor="#FF1B2733" height="28" />
    <Label text="Click a date to change it; Delete empties it, Escape keeps it." textcolor="#FF4A5563" height="20" />
    <HorizontalLayout height="30" childpadding="12">
      <Label text="Departure" width="110" textcolor="#FF1B2733" />
      <DateTime name="departure" width="180" bkcolor="#FFFFFFFF" bordercolor="#FF8FA3B8" bordersize="1" textpadding="8,0,4,0" />
    </HorizontalLayout>
    <HorizontalLayout height="30" childpadding="12">
      <Label text="Return" width="110" textcolor="#FF1B2733" />
      <DateTime name="return" width="180" bkcolor="#FFFFFFFF" bordercolor="#FF8FA3B8" bordersize="1" textpadding="8,0,4,0" />
    </HorizontalLayout>
    <HorizontalLayout height="30" childpadding="12">
      <Label text="Flexible until" width="110" textcolor="#FF1B2733" />
      <DateTime name="flexible" width="180" text="" bkcolor="#FFF4F6F9" bordercolor="#FFBFC8D2" bordersize="1" textpadding="8,0,4,0" />
    </HorizontalLayout>
    <HorizontalLayout height="30" childpadding="12">
      <Label text="Issued (locked)" width="110" textcolor="#FF8A96A3" />
      <DateTime name="issued" width="180" enabled="false" bkcolor="#FFEDEFF2" disabledtextcolor="#FF8A96A3" bordercolor="#FFD5DBE1" bordersize="1" textpadding="8,0,4,0" />
    </HorizontalLayout>
    <Control />
  </VerticalLayout>
</Window>
)skin";

void SetDate(CPaintManagerUI& pm, const wchar_t* pstrName, WORD wYear, WORD wMonth, WORD wDay)
{
    CControlUI* pControl = pm.FindControl(pstrName);
    CDateTimeUI* pDate = pControl != NULL ? static_cast<CDateTimeUI*>(pControl->GetInterface(L"DateTime")) : NULL;
    if (pDate == NULL) return;
    SYSTEMTIME st = {};
    st.wYear = wYear;
    st.wMonth = wMonth;
    st.wDay = wDay;
    pDate->SetTime(&st);
    // The text follows the date when a picker closes; until then it is set here.
    wchar_t szText[16];
    ::wsprintfW(szText, L"%04d-%02d-%02d", wYear, wMonth, wDay);
    pDate->SetText(szText);
}

void Init(CPaintManagerUI& pm)
{
    SetDate(pm, L"departure", 2025, 6, 14);
    SetDate(pm, L"return", 2025, 6, 28);
    SetDate(pm, L"issued", 2025, 1, 3);
}

void ActLikeAUser(CPaintManagerUI& pm)
{
    CControlUI* pDeparture = pm.FindControl(L"departure");
    if (pDeparture == NULL) return;
    const RECT& rc = pDeparture->GetPos();
    const LPARAM lParam = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::SendMessageW(pm.GetPaintWindow(), WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    ::SendMessageW(pm.GetPaintWindow(), WM_LBUTTONUP, 0, lParam);
}

} // namespace

namespace ExtendedDemo {

extern const Page kDateTimePage = {L"DateTime", "datetime.xml", kSkin, nullptr, Init, ActLikeAUser};

} // namespace ExtendedDemo
