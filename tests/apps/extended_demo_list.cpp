// The list page of the extended controls demo: a list with a header of four
// columns over a few hundred text rows, alternately shaded, whose texts come
// from a text callback with a link in each row. The user clicks a row, which
// becomes the selected one, and then rests the mouse on another, which turns hot.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../core/PngFixture.h"
#include "ExtendedDemoPage.h"
#include "extended/ListElementUI.h"
#include "extended/ListUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

const int kRows = 300;

const char kSkin[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window>
  <VerticalLayout childpadding="8">
    <Label text="Credentials on the key" height="24" font="1" textcolor="#FF222B36" />
    <List name="credentials" vscrollbar="true" bordercolor="#FFBFC8D2" bordersize="1" inset="1,1,1,1"
          itemtextpadding="8,0,8,0" itemshowhtml="true" itemendellipsis="true" itemaltbk="true"
          itembkcolor="#FFF4F7FA" itemtextcolor="#FF222B36" itemhotbkcolor="#FFE3F0FB"
          itemselectedbkcolor="#FFCCE4F7" itemselectedtextcolor="#FF0E3A5C" itemlinecolor="#FFE6EBF0"
          vscrollbarstyle="width=&quot;12&quot; showbutton1=&quot;false&quot; showbutton2=&quot;false&quot; thumbnormalimage=&quot;file='thumb.png' corner='4,4,4,4'&quot; thumbhotimage=&quot;file='thumb_hot.png' corner='4,4,4,4'&quot; bknormalimage=&quot;file='rail.png' corner='4,4,4,4'&quot;">
      <ListHeader height="30" bkimage="file='header.png' corner='0,0,0,2'">
        <ListHeaderItem text="#" width="56" font="1" align="left" textpadding="8,0,0,0" textcolor="#FF4A5563" sepimage="sep.png" hotimage="file='header_hot.png' corner='0,0,0,2'" />
        <ListHeaderItem text="Credential" width="230" font="1" align="left" textpadding="8,0,0,0" textcolor="#FF4A5563" sepimage="sep.png" hotimage="file='header_hot.png' corner='0,0,0,2'" />
        <ListHeaderItem text="Relying party" width="230" font="1" align="left" textpadding="8,0,0,0" textcolor="#FF4A5563" sepimage="sep.png" hotimage="file='header_hot.png' corner='0,0,0,2'" />
        <ListHeaderItem text="Last used" font="1" align="left" textpadding="8,0,0,0" textcolor="#FF4A5563" sepwidth="0" hotimage="file='header_hot.png' corner='0,0,0,2'" />
      </ListHeader>
    </List>
  </VerticalLayout>
</Window>
)";

const char* const kUsers[] = {"alex.morgan", "j.okafor", "mei.tanaka", "r.lindqvist", "s.haddad", "p.novak"};
const char* const kParties[] = {"login.quorvel.com", "vault.example.org", "mail.northwind.net",
                                "git.contoso.dev", "bank.fabrikam.eu", "cloud.tailspin.io"};

// Each row's texts, made once; the list copies them as it paints.
class CCredentialTexts : public IListCallbackUI
{
public:
    CCredentialTexts()
    {
        for (int i = 0; i < kRows; i++) {
            wchar_t sz[128];
            std::swprintf(sz, 128, L"%d", i + 1);
            m_aTexts.push_back(sz);
            std::swprintf(sz, 128, L"%hs #%d", kUsers[i % 6], 1 + i / 6);
            m_aTexts.push_back(sz);
            std::swprintf(sz, 128, L"{a https://%hs}%hs{/a}", kParties[(i * 5) % 6], kParties[(i * 5) % 6]);
            m_aTexts.push_back(sz);
            std::swprintf(sz, 128, L"2024-%02d-%02d %02d:%02d", 1 + i % 12, 1 + (i * 7) % 28, (i * 5) % 24, (i * 13) % 60);
            m_aTexts.push_back(sz);
        }
    }
    const wchar_t* GetCellText(CControlUI*, int iIndex, int iSubItem) override
    {
        if (iIndex < 0 || iIndex >= kRows || iSubItem < 0 || iSubItem > 3) return NULL;
        return m_aTexts[static_cast<size_t>(iIndex) * 4 + iSubItem].c_str();
    }

private:
    std::vector<std::wstring> m_aTexts;
};

CCredentialTexts& Texts()
{
    static CCredentialTexts s_texts;
    return s_texts;
}

CListUI* FindList(CPaintManagerUI& pm)
{
    return static_cast<CListUI*>(pm.FindControl(L"credentials"));
}

std::string Vertical(int cx, int cy, uint32_t top, uint32_t bottom, uint32_t line)
{
    std::vector<uint32_t> px(static_cast<size_t>(cx) * cy);
    for (int y = 0; y < cy; y++) {
        const uint32_t c = y >= cy - 1 ? line : y * 2 < cy ? top : bottom;
        for (int x = 0; x < cx; x++) px[static_cast<size_t>(y) * cx + x] = c;
    }
    return MakePng(cx, cy, px);
}

void AddFiles(ZipWriter& zip)
{
    zip.Add("header.png", Vertical(8, 8, 0xFFF7F9FB, 0xFFEEF2F6, 0xFFBFC8D2));
    zip.Add("header_hot.png", Vertical(8, 8, 0xFFEAF3FC, 0xFFDDEBF8, 0xFF1883D7));
    // The separator: a line in the middle of its 4-pixel zone, short of both ends.
    std::vector<uint32_t> sep(4 * 30, 0);
    for (int y = 7; y < 23; y++) sep[y * 4 + 2] = 0xFFC6D0DA;
    zip.Add("sep.png", MakePng(4, 30, sep));
    zip.Add("thumb.png", MakeRoundedFacePng(0xFFC6D0DA, 0xFFB3BFCB));
    zip.Add("thumb_hot.png", MakeRoundedFacePng(0xFF8FA3B8, 0xFF7F93A8));
    zip.Add("rail.png", MakeRoundedFacePng(0xFFF1F4F7, 0xFFF1F4F7));
}

void Init(CPaintManagerUI& pm)
{
    CListUI* pList = FindList(pm);
    if (pList == NULL) return;
    pList->SetTextCallback(&Texts());
    for (int i = 0; i < kRows; i++) pList->Add(new CListTextElementUI);
}

void ActLikeAUser(CPaintManagerUI& pm)
{
    CListUI* pList = FindList(pm);
    if (pList == NULL || pList->GetCount() < 6) return;
    // In the last column, away from the links.
    auto inRow = [pList](int iRow) {
        const RECT& rc = pList->GetItemAt(iRow)->GetPos();
        return MAKELPARAM(rc.right - 60, (rc.top + rc.bottom) / 2);
    };
    ExtendedDemo::PostClickThenRest(pm, inRow(2), inRow(5));
}

} // namespace

namespace ExtendedDemo {

extern const Page kListPage = {L"List", "list.xml", kSkin, AddFiles, Init, ActLikeAUser};

} // namespace ExtendedDemo
