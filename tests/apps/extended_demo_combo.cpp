// The combo page of the extended controls demo: the key's settings as combo
// boxes with an arrow strip, a plain combo and a locked one. The user clicks
// the protocol, whose drop-down opens under it as a window of its own, and
// rests the mouse on another protocol, which turns hot.
#include <windows.h>

#include <vector>

#include "../core/PngFixture.h"
#include "ExtendedDemoPage.h"
#include "extended/ComboUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

const char kSkin[] = R"skin(<?xml version="1.0" encoding="utf-8"?>
<Window>
  <VerticalLayout childpadding="10" inset="8,8,8,8">
    <Label text="Key settings" font="2" textcolor="#FF1B2733" height="28" />
    <Label text="Choose how the key answers; the locked setting comes from your organisation." textcolor="#FF4A5563" height="20" />
    <HorizontalLayout height="30" childpadding="12">
      <Label text="Sensor" width="110" textcolor="#FF1B2733" />
      <ComboBox name="sensor" width="260" arrowimage="file='arrow.png' source='0,0,120,28'" bkimage="file='combo.png' corner='5,5,5,5'" bordersize="1" textpadding="0,0,4,0" itemtextpadding="10,0,10,0" itemtextcolor="#FF222B36" itemselectedtextcolor="#FF0E3A5C" itemselectedbkcolor="#FFCCE4F7" itemhotbkcolor="#FFE8F2FB" dropbox="bordercolor=&quot;#FF8FA3B8&quot;">
        <ListLabelElement text="Quorvel Touch 2 (USB-C)" height="26" selected="true" />
        <ListLabelElement text="Quorvel Touch 2 (NFC)" height="26" />
        <ListLabelElement text="Built-in fingerprint reader" height="26" />
      </ComboBox>
    </HorizontalLayout>
    <HorizontalLayout height="30" childpadding="12">
      <Label text="Protocol" width="110" textcolor="#FF1B2733" />
      <ComboBox name="protocol" width="260" arrowimage="file='arrow.png' source='0,0,120,28'" bkimage="file='combo.png' corner='5,5,5,5'" bordersize="1" textpadding="0,0,4,0" itemtextpadding="10,0,10,0" itemtextcolor="#FF222B36" itemselectedtextcolor="#FF0E3A5C" itemselectedbkcolor="#FFCCE4F7" itemhotbkcolor="#FFE8F2FB" itemlinecolor="#FFEEF1F4" dropboxsize="0,200" dropbox="bordercolor=&quot;#FF8FA3B8&quot;">
        <ListLabelElement text="FIDO2 / WebAuthn" height="26" selected="true" />
        <ListLabelElement text="U2F (CTAP1)" height="26" />
        <ListLabelElement text="PIV smart card" height="26" />
        <ListLabelElement text="OpenPGP card" height="26" />
        <ListLabelElement text="OTP (HMAC-SHA1)" height="26" />
        <ListLabelElement text="Static password" height="26" enabled="false" />
        <ListLabelElement text="Challenge-response" height="26" />
      </ComboBox>
    </HorizontalLayout>
    <HorizontalLayout height="30" childpadding="12">
      <Label text="Touch timeout" width="110" textcolor="#FF1B2733" />
      <Combo name="timeout" width="260" normalimage="file='combo.png' corner='5,5,5,5'" hotimage="file='combo_hot.png' corner='5,5,5,5'" pushedimage="file='combo_pushed.png' corner='5,5,5,5'" itemtextpadding="10,0,10,0" itemselectedtextcolor="#FF222B36" itemselectedbkcolor="#FFCCE4F7" itemhotbkcolor="#FFE8F2FB">
        <ListLabelElement text="15 seconds" height="26" />
        <ListLabelElement text="30 seconds" height="26" selected="true" />
        <ListLabelElement text="1 minute" height="26" />
      </Combo>
    </HorizontalLayout>
    <HorizontalLayout height="30" childpadding="12">
      <Label text="Region (locked)" width="110" textcolor="#FF8A96A3" />
      <ComboBox name="region" width="260" enabled="false" arrowimage="file='arrow.png' source='0,0,120,28'" bkimage="file='combo_off.png' corner='5,5,5,5'" bordersize="1" itemtextpadding="10,0,10,0" itemdisabledtextcolor="#FF8A96A3" itemselectedtextcolor="#FF8A96A3">
        <ListLabelElement text="Europe (GDPR)" height="26" selected="true" />
      </ComboBox>
    </HorizontalLayout>
    <Control />
  </VerticalLayout>
</Window>
)skin";

// Five frames of 24 by 28 side by side: normal, hot, pushed, focused and
// disabled, each a chevron right of a short separator line.
std::string ArrowStrip()
{
    const int cxFrame = 24, cy = 28;
    const uint32_t kChevron[] = {0xFF4A5563, 0xFF1883D7, 0xFF0E5A96, 0xFF1883D7, 0xFFB0B8C1};
    const uint32_t kGround[] = {0, 0xFFE8F2FB, 0xFFD4E6F5, 0, 0};
    std::vector<uint32_t> px(static_cast<size_t>(cxFrame) * 5 * cy, 0);
    for (int f = 0; f < 5; f++) {
        for (int y = 0; y < cy; y++) {
            for (int x = 0; x < cxFrame; x++) {
                uint32_t c = x > 0 && y > 1 && y < cy - 2 ? kGround[f] : 0;
                if (x == 0 && y >= 7 && y < cy - 7) c = 0xFFD5DBE1;
                // Two strokes meeting at the bottom, two pixels thick.
                const int dy = y - 11, dx = x - 12;
                if (dy >= 0 && dy < 6 && (dx == dy - 5 || dx == dy - 4 || dx == 5 - dy || dx == 4 - dy)) c = kChevron[f];
                px[static_cast<size_t>(y) * cxFrame * 5 + f * cxFrame + x] = c;
            }
        }
    }
    return MakePng(cxFrame * 5, cy, px);
}

void AddFiles(ZipWriter& zip)
{
    zip.Add("arrow.png", ArrowStrip());
    zip.Add("combo.png", MakeRoundedFacePng(0xFFFFFFFF, 0xFF8FA3B8));
    zip.Add("combo_hot.png", MakeRoundedFacePng(0xFFF7FBFF, 0xFF1883D7));
    zip.Add("combo_pushed.png", MakeRoundedFacePng(0xFFEAF3FC, 0xFF0E5A96));
    zip.Add("combo_off.png", MakeRoundedFacePng(0xFFF1F3F5, 0xFFD5DBE1));
}

void ActLikeAUser(CPaintManagerUI& pm)
{
    CControlUI* pControl = pm.FindControl(L"protocol");
    CComboUI* pProtocol = pControl != NULL ? static_cast<CComboUI*>(pControl->GetInterface(L"Combo")) : NULL;
    if (pProtocol == NULL) return;
    const RECT& rc = pProtocol->GetPos();
    const LPARAM lParam = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::SendMessageW(pm.GetPaintWindow(), WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    ::SendMessageW(pm.GetPaintWindow(), WM_LBUTTONUP, 0, lParam);
    // The drop-down lays its items out at its first paint; the mouse then
    // rests on the third protocol.
    HWND hDropDown = ::FindWindowW(L"ComboWnd", NULL);
    if (hDropDown == NULL || pProtocol->GetCount() < 3) return;
    ::UpdateWindow(hDropDown);
    const RECT& rcItem = pProtocol->GetItemAt(2)->GetPos();
    // The pointer itself goes there: the system tells the drop-down where it
    // really is whenever windows change under it.
    POINT pt = {rcItem.left + 40, (rcItem.top + rcItem.bottom) / 2};
    ::PostMessageW(hDropDown, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ::ClientToScreen(hDropDown, &pt);
    ::SetCursorPos(pt.x, pt.y);
}

} // namespace

namespace ExtendedDemo {

extern const Page kComboPage = {L"Combo", "combo.xml", kSkin, AddFiles, nullptr, ActLikeAUser};

} // namespace ExtendedDemo
