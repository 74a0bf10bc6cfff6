// The tree page of the extended controls demo: the keys a user manages, each
// with its passkeys, fingerprints and PIN, three levels deep, with a check box
// on every node. The fingerprints of the first key are collapsed and its
// passkeys checked; the user clicks a passkey, which becomes the selected
// node, and rests the mouse on another.
#include <windows.h>

#include <string>
#include <vector>

#include "../core/PngFixture.h"
#include "ExtendedDemoPage.h"
#include "controls/OptionUI.h"
#include "extended/TreeNodeUI.h"
#include "extended/TreeViewUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

const char kSkin[] = R"skin(<?xml version="1.0" encoding="utf-8"?>
<Window>
  <Default name="TreeNode" value="height=&quot;26&quot;" />
  <VerticalLayout childpadding="8">
    <Label text="Keys and what they hold" height="24" font="1" textcolor="#FF222B36" />
    <TreeView name="keys" visiblecheckbtn="true" vscrollbar="true" bordercolor="#FFBFC8D2" bordersize="1"
              inset="1,1,1,1" itemhotbkcolor="#FFE3F0FB" itemselectedbkcolor="#FFCCE4F7"
              itemtextcolor="#FF222B36" itemhottextcolor="#FF0E5A96" selitemtextcolor="#FF0E3A5C">
      <TreeNode text="Security key QZ-2155 (USB)">
        <TreeNode text="Passkeys">
          <TreeNode text="login.quorvel.com - alex.morgan" />
          <TreeNode text="git.contoso.dev - j.okafor" />
          <TreeNode text="mail.northwind.net - mei.tanaka" />
        </TreeNode>
        <TreeNode name="fingerprints" text="Fingerprints">
          <TreeNode text="Right index finger" />
          <TreeNode text="Left thumb" />
        </TreeNode>
        <TreeNode text="PIN">
          <TreeNode text="8 retries left" />
        </TreeNode>
      </TreeNode>
      <TreeNode text="Backup key QZ-0931 (NFC)">
        <TreeNode text="Passkeys">
          <TreeNode text="vault.example.org - r.lindqvist" />
          <TreeNode text="bank.fabrikam.eu - s.haddad" />
        </TreeNode>
        <TreeNode text="PIN">
          <TreeNode text="Not set" />
        </TreeNode>
      </TreeNode>
    </TreeView>
  </VerticalLayout>
</Window>
)skin";

const int kIcon = 12;

// An icon of kIcon square pixels, drawn where inside(x, y) holds.
template <class Inside> std::string Icon(uint32_t argb, Inside inside)
{
    std::vector<uint32_t> px(kIcon * kIcon, 0);
    for (int y = 0; y < kIcon; y++)
        for (int x = 0; x < kIcon; x++)
            if (inside(x, y)) px[y * kIcon + x] = argb;
    return MakePng(kIcon, kIcon, px);
}

// A box with a frame, and when checked a white tick on blue.
std::string Box(bool bChecked)
{
    std::vector<uint32_t> px(kIcon * kIcon);
    for (int y = 0; y < kIcon; y++) {
        for (int x = 0; x < kIcon; x++) {
            const bool bFrame = x == 0 || y == 0 || x == kIcon - 1 || y == kIcon - 1;
            px[y * kIcon + x] = bChecked ? 0xFF1883D7 : bFrame ? 0xFF8FA3B8 : 0xFFFFFFFF;
        }
    }
    if (bChecked) {
        // Down from (2,6) to (4,8), then up to (9,3), two pixels thick.
        auto tick = [&px](int x, int y) {
            px[y * kIcon + x] = 0xFFFFFFFF;
            px[(y + 1) * kIcon + x] = 0xFFFFFFFF;
        };
        for (int i = 0; i <= 2; i++) tick(2 + i, 6 + i);
        for (int i = 1; i <= 5; i++) tick(4 + i, 8 - i);
    }
    return MakePng(kIcon, kIcon, px);
}

void AddFiles(ZipWriter& zip)
{
    // Open: pointing down; closed: pointing right.
    zip.Add("open.png", Icon(0xFF4A5563, [](int x, int y) { return y >= 4 && y <= 8 && x >= y - 2 && x <= 13 - y; }));
    zip.Add("closed.png", Icon(0xFF4A5563, [](int x, int y) { return x >= 4 && x <= 8 && y >= x - 2 && y <= 13 - x; }));
    zip.Add("box.png", Box(false));
    zip.Add("box_on.png", Box(true));
}

CTreeViewUI* FindTree(CPaintManagerUI& pm)
{
    CControlUI* pControl = pm.FindControl(L"keys");
    return pControl != NULL ? static_cast<CTreeViewUI*>(pControl->GetInterface(L"TreeView")) : NULL;
}

void Init(CPaintManagerUI& pm)
{
    CTreeViewUI* pTree = FindTree(pm);
    if (pTree == NULL) return;
    const wchar_t* const pstrCentred = L" dest='3,7,15,19'";
    for (int i = 0; i < pTree->GetCount(); i++) {
        CTreeNodeUI* pNode = static_cast<CTreeNodeUI*>(pTree->GetItemAt(i)->GetInterface(L"TreeNode"));
        if (pNode == NULL) continue;
        // Leaves keep an empty folder button, so that their texts line up with their siblings'.
        if (pNode->IsHasChild()) {
            pNode->GetFolderButton()->SetNormalImage((std::wstring(L"file='open.png'") + pstrCentred).c_str());
            pNode->GetFolderButton()->SetSelectedImage((std::wstring(L"file='closed.png'") + pstrCentred).c_str());
        }
        pNode->GetCheckBox()->SetNormalImage((std::wstring(L"file='box.png'") + pstrCentred).c_str());
        pNode->GetCheckBox()->SetSelectedImage((std::wstring(L"file='box_on.png'") + pstrCentred).c_str());
        // The text centred on the row's full height, as the icons are ("align" left puts it at the top).
        pNode->GetItemButton()->SetFixedHeight(pNode->GetFixedHeight());
        pNode->GetItemButton()->SetTextStyle(DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        pNode->GetItemButton()->SetAttribute(L"textpadding", L"4,0,0,0");
    }
    // The first key's fingerprints collapsed, its passkeys checked.
    CControlUI* pFingerprints = pm.FindControl(L"fingerprints");
    if (pFingerprints != NULL) static_cast<CTreeNodeUI*>(pFingerprints)->GetFolderButton()->Selected(true);
    static_cast<CTreeNodeUI*>(pTree->GetItemAt(1))->CheckBoxSelected(true);
}

void ActLikeAUser(CPaintManagerUI& pm)
{
    CTreeViewUI* pTree = FindTree(pm);
    if (pTree == NULL || pTree->GetCount() < 5) return;
    auto onText = [pTree](int iRow) {
        CTreeNodeUI* pNode = static_cast<CTreeNodeUI*>(pTree->GetItemAt(iRow));
        const RECT& rc = pNode->GetItemButton()->GetPos();
        return MAKELPARAM(rc.left + 40, (rc.top + rc.bottom) / 2);
    };
    ExtendedDemo::PostClickThenRest(pm, onText(3), onText(4));
}

} // namespace

namespace ExtendedDemo {

extern const Page kTreePage = {L"Tree", "tree.xml", kSkin, AddFiles, Init, ActLikeAUser};

} // namespace ExtendedDemo
