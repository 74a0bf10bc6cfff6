// The extended controls in one skinned window: a tab per page, each page a
// skin file of its own loaded by a child layout, every notification of the
// page's controls shown in the status line.
//   extended_demo.exe [close after ms, 0 = stay] [page word]
// A moment after it opens, the page shown acts out a user's input.
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "../core/PngFixture.h"
#include "../core/ZipWriter.h"
#include "DemoWindow.h"
#include "ExtendedDemoPage.h"
#include "controls/LabelUI.h"
#include "controls/OptionUI.h"
#include "controls/TabLayoutUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace ExtendedDemo {
// Each page's source file defines its page; declare it here.
extern const Page kListPage;
extern const Page kTreePage;
extern const Page kComboPage;
extern const Page kDateTimePage;
extern const Page kRichEditPage;
extern const Page kActiveXPage;
extern const Page kBrowserPage;
extern const Page kFlashPage;
} // namespace ExtendedDemo

namespace {

// The pages in the order of their tabs.
const std::vector<const ExtendedDemo::Page*> kPages = {
    &ExtendedDemo::kListPage,
    &ExtendedDemo::kTreePage,
    &ExtendedDemo::kComboPage,
    &ExtendedDemo::kDateTimePage,
    &ExtendedDemo::kRichEditPage,
    &ExtendedDemo::kActiveXPage,
    &ExtendedDemo::kBrowserPage,
    &ExtendedDemo::kFlashPage,
};

std::string Narrow(const wchar_t* pstr)
{
    std::string s;
    for (; *pstr != 0; ++pstr) s += static_cast<char>(*pstr);
    return s;
}

std::string MainSkin()
{
    std::string sTabs, sPages;
    for (size_t i = 0; i < kPages.size(); i++) {
        const ExtendedDemo::Page* pPage = kPages[i];
        sTabs += "<Option name=\"tab" + std::to_string(i) + "\" group=\"tabs\" text=\"" + Narrow(pPage->pstrName) +
                 "\" width=\"96\" align=\"center\" font=\"1\" textcolor=\"#FF4A5563\" selectedtextcolor=\"#FFFFFFFF\""
                 " normalimage=\"file='tab_normal.png' corner='5,5,5,5'\" hotimage=\"file='tab_hot.png' corner='5,5,5,5'\""
                 " selectedimage=\"file='tab_on.png' corner='5,5,5,5'\" />\n";
        sPages += "<ChildLayout xmlfile=\"" + std::string(pPage->pstrFile) + "\" />\n";
    }
    return R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="820,600" caption="0,0,0,44" roundcorner="6,6">
  <Font name="Tahoma" size="13" default="true" />
  <Font name="Tahoma" size="13" bold="true" />
  <Font name="Tahoma" size="18" bold="true" />
  <Font name="Tahoma" size="11" />
  <VerticalLayout bkcolor="#FFF4F6F9" bordercolor="#FF0E5A96" bordersize="1" inset="1,1,1,1">
    <HorizontalLayout height="44" bkcolor="#FF1883D7" bkcolor2="#FF0E5A96">
      <Label text="Quorvel extended controls" font="2" textcolor="#FFFFFFFF" textpadding="16,0,0,0" />
      <Button name="closebtn" width="44" text="x" font="2" textcolor="#FFDCEBF7" hottextcolor="#FFFFFFFF" hotbkcolor="#FFC42B1C" />
    </HorizontalLayout>
    <VerticalLayout inset="16,12,16,8" childpadding="8">
      <HorizontalLayout height="30" childpadding="4">
)" + sTabs + R"(      </HorizontalLayout>
      <TabLayout name="pages" bkcolor="#FFFFFFFF" bordercolor="#FFBFC8D2" bordersize="1" inset="12,10,12,10">
)" + sPages + R"(      </TabLayout>
      <Label name="status" height="22" font="3" textcolor="#FF4A5563" />
    </VerticalLayout>
  </VerticalLayout>
</Window>
)";
}

std::vector<uint8_t> BuildSkinArchive()
{
    ZipWriter zip;
    zip.Add("main.xml", MainSkin());
    zip.Add("tab_normal.png", MakeRoundedFacePng(0xFFFFFFFF, 0xFFBFC8D2));
    zip.Add("tab_hot.png", MakeRoundedFacePng(0xFFE8F2FB, 0xFF1883D7));
    zip.Add("tab_on.png", MakeRoundedFacePng(0xFF1883D7, 0xFF0E5A96));
    for (const ExtendedDemo::Page* pPage : kPages) {
        zip.Add(pPage->pstrFile, pPage->pstrSkin);
        if (pPage->pfnAddFiles != nullptr) pPage->pfnAddFiles(zip);
    }
    return zip.Build();
}

// What the user did, not the focus and timer traffic around it.
bool IsReported(const CSkinString& sType)
{
    return sType != L"windowinit" && sType != L"setfocus" && sType != L"killfocus" && sType != L"timer";
}

class CExtendedDemoWnd : public CDemoWindow
{
public:
    CExtendedDemoWnd(UINT uCloseAfter, int iPage) : CDemoWindow(uCloseAfter), m_iPage(iPage) {}

    LPCWSTR GetWndClassName() const override { return L"ExtendedDemo"; }

    void InitWindow() override
    {
        m_pStatus = static_cast<CLabelUI*>(m_PaintManager.FindControl(L"status"));
        m_pTabs = static_cast<CTabLayoutUI*>(m_PaintManager.FindControl(L"pages"));
        for (const ExtendedDemo::Page* pPage : kPages) {
            if (pPage->pfnInit != nullptr) pPage->pfnInit(m_PaintManager);
        }
        wchar_t szTab[16];
        std::swprintf(szTab, 16, L"tab%d", m_iPage);
        if (COptionUI* pTab = static_cast<COptionUI*>(m_PaintManager.FindControl(szTab))) pTab->Selected(true);
        StartTimers();
    }

    void Notify(tagTNotifyUI& msg) override
    {
        CControlUI* pSender = msg.pSenderControl;
        if (pSender != NULL && IsReported(msg.sNotifyType)) {
            const CSkinString& sName = pSender->GetName();
            // The tab options are "tab0" on: each shows its page.
            if (msg.sNotifyType == L"selectchanged" && sName.Left(3) == L"tab" && m_pTabs != NULL) {
                m_pTabs->SelectItem(static_cast<int>(std::wcstol(sName.GetData() + 3, NULL, 10)));
            }
            CSkinString s;
            s.Format(L"%ls from %ls: %d, %d", msg.sNotifyType.GetData(),
                     sName.IsEmpty() ? pSender->GetClass() : sName.GetData(), static_cast<int>(msg.wNotifyParam),
                     static_cast<int>(msg.lNotifyParam));
            if (m_pStatus != NULL && pSender != m_pStatus) m_pStatus->SetText(s);
        }
        WindowImplBase::Notify(msg);
    }

private:
    void ActLikeAUser() override
    {
        const ExtendedDemo::Page* pPage = Shown();
        if (pPage != nullptr && pPage->pfnActLikeAUser != nullptr) pPage->pfnActLikeAUser(m_PaintManager);
    }

    const ExtendedDemo::Page* Shown() const
    {
        return m_iPage >= 0 && m_iPage < static_cast<int>(kPages.size()) ? kPages[m_iPage] : nullptr;
    }

    int m_iPage;
    CLabelUI* m_pStatus = NULL;
    CTabLayoutUI* m_pTabs = NULL;
};

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    const DemoArguments args;
    int iPage = 0;
    for (size_t i = 0; i < kPages.size(); i++) {
        if (::lstrcmpiW(args.sWord.c_str(), kPages[i]->pstrName) == 0) iPage = static_cast<int>(i);
    }
    // The hosted controls need COM; the library leaves it to the program.
    ::OleInitialize(NULL);
    int nResult = 0;
    {
        CExtendedDemoWnd wnd(args.uCloseAfter, iPage);
        nResult = RunDemo(hInstance, BuildSkinArchive(), wnd, L"SkinLib extended controls demo");
    }
    ::OleUninitialize();
    return nResult;
}
