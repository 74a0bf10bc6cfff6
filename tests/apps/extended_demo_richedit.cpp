// The rich edit page of the extended controls demo: several lines of mixed
// text with a selection in them, a read-only plain-text note and a password
// field. The user clicks into the text and selects a word.
#include "ExtendedDemoPage.h"
#include "extended/RichEditUI.h"

using namespace SkinLib;

namespace {

// Appends a run of text in its own look.
void AppendRun(CRichEditUI& edit, const wchar_t* pstrText, DWORD dwEffects, LONG nPoints, COLORREF crColor)
{
    long nStart = 0, nEnd = 0;
    edit.SetSel(-1, -1);
    edit.GetSel(nStart, nEnd);
    edit.ReplaceSel(pstrText, false);
    edit.SetSel(nStart, -1);
    CHARFORMAT2W cf = {};
    cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_SIZE | CFM_COLOR;
    cf.dwEffects = dwEffects;
    cf.yHeight = nPoints * 20;
    cf.crTextColor = crColor;
    edit.SetSelectionCharFormat(cf);
}

void Init(CPaintManagerUI& pm)
{
    CRichEditUI* pEdit = static_cast<CRichEditUI*>(pm.FindControl(L"richedit"));
    if (pEdit == NULL) return;
    const COLORREF crInk = RGB(0x1F, 0x29, 0x33), crBlue = RGB(0x18, 0x83, 0xD7), crRed = RGB(0xC4, 0x2B, 0x1C);
    AppendRun(*pEdit, L"Enrolling a finger\r", CFE_BOLD, 14, crBlue);
    AppendRun(*pEdit, L"Touch the sensor with the ", 0, 10, crInk);
    AppendRun(*pEdit, L"same finger", CFE_BOLD, 10, crInk);
    AppendRun(*pEdit, L" until the template is ", 0, 10, crInk);
    AppendRun(*pEdit, L"complete", CFE_ITALIC | CFE_UNDERLINE, 10, crBlue);
    AppendRun(*pEdit, L".\rA bad capture asks for ", 0, 10, crInk);
    AppendRun(*pEdit, L"one more sample", CFE_BOLD, 10, crRed);
    AppendRun(*pEdit, L"; nothing is lost.\r", 0, 10, crInk);
    AppendRun(*pEdit, L"Deleting removes every fingerprint of the current user.\r", CFE_ITALIC, 9, crInk);
    AppendRun(*pEdit, L"Large and small: ", 0, 10, crInk);
    AppendRun(*pEdit, L"FIDO2 ", CFE_BOLD, 16, crRed);
    AppendRun(*pEdit, L"PIN", 0, 8, crInk);
    pEdit->SetSel(0, 0);
    pEdit->EmptyUndoBuffer();
}

void ActLikeAUser(CPaintManagerUI& pm)
{
    CRichEditUI* pEdit = static_cast<CRichEditUI*>(pm.FindControl(L"richedit"));
    if (pEdit == NULL) return;
    pEdit->SetFocus();
    // "same finger", as a double click and a shift-click would select it.
    const CSkinString sText = pEdit->GetText();
    const int iWord = sText.Find(L"same finger");
    if (iWord >= 0) pEdit->SetSel(iWord, iWord + 11);
}

} // namespace

namespace ExtendedDemo {

extern const Page kRichEditPage = {
    L"RichEdit", "richedit.xml",
    R"(<?xml version="1.0" encoding="utf-8"?>
<Window>
  <VerticalLayout childpadding="8">
    <Label height="20" font="1" textcolor="#FF1F2933" text="Rich text, typed into the system's text services" />
    <RichEdit name="richedit" height="200" bkcolor="#FFFFFFFF" bordercolor="#FF8FA3B8" bordersize="1"
              inset="8,6,4,6" vscrollbar="true" autovscroll="true" textcolor="#FF1F2933" />
    <HorizontalLayout height="24" childpadding="12">
      <Label width="150" textcolor="#FF4A5563" text="Read-only, plain text:" />
      <RichEdit name="readonly" readonly="true" rich="false" multiline="false" text="Quorvel FIDO2 Manager 1.0"
                bkcolor="#FFF4F6F9" bordercolor="#FFBFC8D2" bordersize="1" inset="6,4,6,2" textcolor="#FF4A5563" />
    </HorizontalLayout>
    <HorizontalLayout height="24" childpadding="12">
      <Label width="150" textcolor="#FF4A5563" text="Password:" />
      <RichEdit name="password" password="true" multiline="false" text="123456" bkcolor="#FFFFFFFF"
                bordercolor="#FFBFC8D2" bordersize="1" inset="6,4,6,2" />
    </HorizontalLayout>
  </VerticalLayout>
</Window>
)",
    nullptr, Init, ActLikeAUser};

} // namespace ExtendedDemo
