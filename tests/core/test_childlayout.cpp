// The child layout fills itself from a skin file through the dialog builder,
// once, when it is attached; files that show themselves, directly, through
// other child layouts or through includes, stop instead of recursing for
// ever. Also: the builder's element names of the option, check box,
// progress, slider and the three layouts.
#include "controls/ChildLayoutUI.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "CountedControls.h"
#include "SkinSettings.h"
#include "TempFiles.h"
#include "TestControls.h"
#include "controls/ContainerUI.h"
#include "controls/IContainerUI.h"
#include "core/DialogBuilder.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

// How many child layouts, one inside another, have loaded their file.
int LoadedDepth(CControlUI* pControl)
{
    CContainerUI* pItems = NULL;
    int nOwn = 0;
    if (CChildLayoutUI* pLayout = static_cast<CChildLayoutUI*>(pControl->GetInterface(L"ChildLayout"))) {
        pItems = pLayout;
        nOwn = pLayout->GetCount() > 0 ? 1 : 0;
    }
    else {
        pItems = static_cast<CContainerUI*>(pControl->GetInterface(L"Container"));
    }
    int nDeepest = 0;
    for (int i = 0; pItems != NULL && i < pItems->GetCount(); i++) {
        nDeepest = std::max(nDeepest, LoadedDepth(pItems->GetItemAt(i)));
    }
    return nOwn + nDeepest;
}

class ChildLayoutTest : public SkinSettingsTest
{
protected:
    static void SetUpTestSuite() { s_folder = MakeTempFolder(L"child_layout"); }
    void SetUp() override
    {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(s_folder.c_str());
        m_nLive = LiveCountedControls();
    }
    void TearDown() override { EXPECT_EQ(LiveCountedControls(), m_nLive) << "counted controls leaked"; }
    static void WriteSkin(const wchar_t* pstrName, const std::string& xml)
    {
        ASSERT_TRUE(WriteBytes(s_folder + pstrName, xml));
    }
    // Builds the skin into the window's manager and attaches it.
    CControlUI* Show(const wchar_t* pstrXml)
    {
        CDialogBuilder builder;
        CControlUI* pRoot = builder.Create(pstrXml, NULL, &m_factory, &pm);
        if (pRoot != NULL) pm.AttachDialog(pRoot);
        RepaintNow(wnd);
        return pRoot;
    }
    CChildLayoutUI* Layout(const wchar_t* pstrName)
    {
        CControlUI* pControl = pm.FindControl(pstrName);
        return pControl != NULL ? static_cast<CChildLayoutUI*>(pControl->GetInterface(L"ChildLayout")) : NULL;
    }

    static std::wstring s_folder;
    CCountedControlFactory m_factory;
    int m_nLive = 0;
    CPaintManagerUI pm;
    CHostWindow wnd{pm, 200, 100};
};
std::wstring ChildLayoutTest::s_folder;

TEST_F(ChildLayoutTest, LoadsItsFileOnceWhenAttached)
{
    WriteSkin(L"page.xml", "<?xml version=\"1.0\"?><Window><Font name=\"Arial\" size=\"20\"/>"
                           "<VerticalLayout name=\"page\"><Label name=\"inside\" height=\"20\"/></VerticalLayout>"
                           "</Window>");
    WriteSkin(L"other.xml", "<Window><Control name=\"other\"/></Window>");
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(L"<Window><VerticalLayout><ChildLayout name=\"child\" xmlfile=\"page.xml\" "
                                       L"inset=\"5,5,5,5\"/></VerticalLayout></Window>",
                                       NULL, NULL, &pm);
    ASSERT_NE(pRoot, nullptr);
    CContainerUI* pOuter = static_cast<CContainerUI*>(pRoot->GetInterface(L"Container"));
    CChildLayoutUI* pChild = static_cast<CChildLayoutUI*>(pOuter->GetItemAt(0)->GetInterface(L"ChildLayout"));
    ASSERT_NE(pChild, nullptr);
    EXPECT_STREQ(pChild->GetChildLayoutXML(), L"page.xml");
    // Nothing is read until the tree has its window.
    EXPECT_EQ(pChild->GetCount(), 0);
    const int nFonts = pm.GetCustomFontCount();
    pm.AttachDialog(pRoot);
    RepaintNow(wnd);
    ASSERT_EQ(pChild->GetCount(), 1);
    EXPECT_EQ(pChild->GetItemAt(0), pm.FindControl(L"page"));
    ASSERT_NE(pm.FindControl(L"inside"), nullptr);
    EXPECT_EQ(pm.FindControl(L"inside")->GetParent(), pm.FindControl(L"page"));
    // The file's fonts reach the window; the child layout places what it loaded inside its inset.
    EXPECT_EQ(pm.GetCustomFontCount(), nFonts + 1);
    EXPECT_EQ(pm.FindControl(L"page")->GetPos().left, 5);

    // Taken out and put back, renamed: it does not load again.
    pOuter->SetAutoDestroy(false);
    ASSERT_TRUE(pOuter->Remove(pChild));
    pChild->SetChildLayoutXML(L"other.xml");
    pOuter->SetAutoDestroy(true);
    ASSERT_TRUE(pOuter->Add(pChild));
    EXPECT_EQ(pChild->GetCount(), 1);
    EXPECT_EQ(pm.FindControl(L"other"), nullptr);
    EXPECT_NE(pm.FindControl(L"inside"), nullptr);
}

TEST_F(ChildLayoutTest, WithoutAFileItStaysEmpty)
{
    WriteSkin(L"broken.xml", "<Window><VerticalLayout></Window></VerticalLayout>");
    ASSERT_NE(Show(L"<Window><VerticalLayout><ChildLayout name=\"none\"/><ChildLayout name=\"missing\" "
                   L"xmlfile=\"missing.xml\"/><ChildLayout name=\"broken\" xmlfile=\"broken.xml\"/>"
                   L"</VerticalLayout></Window>"),
              nullptr);
    for (const wchar_t* pstrName : {L"none", L"missing", L"broken"}) {
        SCOPED_TRACE(std::string(pstrName, pstrName + wcslen(pstrName)));
        ASSERT_NE(Layout(pstrName), nullptr);
        EXPECT_EQ(Layout(pstrName)->GetCount(), 0);
    }
}

TEST_F(ChildLayoutTest, AFileThatShowsItselfStops)
{
    // Directly, under another spelling, through a second file, and through an include.
    WriteSkin(L"self.xml", "<Window><VerticalLayout><ChildLayout name=\"again\" xmlfile=\"SELF.XML\"/>"
                           "</VerticalLayout></Window>");
    WriteSkin(L"ping.xml", "<Window><VerticalLayout><ChildLayout xmlfile=\"pong.xml\"/></VerticalLayout></Window>");
    WriteSkin(L"pong.xml", "<Window><VerticalLayout><ChildLayout xmlfile=\"ping.xml\"/></VerticalLayout></Window>");
    WriteSkin(L"mixed.xml", "<Window><HorizontalLayout><Include source=\"part.xml\"/></HorizontalLayout></Window>");
    WriteSkin(L"part.xml", "<Window><ChildLayout xmlfile=\"mixed.xml\"/></Window>");
    const struct
    {
        const wchar_t* pstrFile;
        int nDepth;
    } cases[] = {{L"self.xml", 1}, {L"ping.xml", 2}, {L"mixed.xml", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pstrFile, c.pstrFile + wcslen(c.pstrFile)));
        const std::wstring sSkin =
            std::wstring(L"<Window><VerticalLayout><ChildLayout xmlfile=\"") + c.pstrFile + L"\"/></VerticalLayout></Window>";
        CControlUI* pRoot = Show(sSkin.c_str());
        ASSERT_NE(pRoot, nullptr);
        EXPECT_EQ(LoadedDepth(pRoot), c.nDepth);
        if (wcscmp(c.pstrFile, L"self.xml") != 0) continue;
        // The copy inside was refused, not lost: it is there, empty.
        ASSERT_NE(Layout(L"again"), nullptr);
        EXPECT_EQ(Layout(L"again")->GetCount(), 0);
    }
}

TEST_F(ChildLayoutTest, DistinctFilesNestNoDeeperThanIncludes)
{
    const int nFiles = CDialogBuilder::MAX_INCLUDE_DEPTH + 4;
    for (int i = 1; i <= nFiles; i++) {
        const std::string sNext = "chain" + std::to_string(i + 1) + ".xml";
        const std::wstring sName = L"chain" + std::to_wstring(i) + L".xml";
        WriteSkin(sName.c_str(), "<Window><VerticalLayout><ChildLayout xmlfile=\"" + sNext + "\"/></VerticalLayout></Window>");
    }
    CControlUI* pRoot = Show(L"<Window><VerticalLayout><ChildLayout xmlfile=\"chain1.xml\"/></VerticalLayout></Window>");
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(LoadedDepth(pRoot), int(CDialogBuilder::MAX_INCLUDE_DEPTH));
}

TEST_F(ChildLayoutTest, ElementsWrittenInsideAreNotAdded)
{
    WriteSkin(L"page.xml", "<Window><Control name=\"loaded\"/></Window>");
    ASSERT_NE(Show(L"<Window><VerticalLayout><ChildLayout name=\"child\" xmlfile=\"page.xml\"><Leaf/><Leaf/>"
                   L"</ChildLayout><Control name=\"after\"/></VerticalLayout></Window>"),
              nullptr);
    ASSERT_NE(Layout(L"child"), nullptr);
    EXPECT_EQ(Layout(L"child")->GetCount(), 1);
    EXPECT_NE(pm.FindControl(L"loaded"), nullptr);
    EXPECT_NE(pm.FindControl(L"after"), nullptr);
    // Counted in TearDown: the two leaves written inside were destroyed.
    CChildLayoutUI layout;
    EXPECT_STREQ(layout.GetClass(), L"ChildLayoutUI");
    EXPECT_EQ(layout.GetInterface(L"ChildLayout"), &layout);
    EXPECT_EQ(layout.GetInterface(L"Control"), static_cast<CControlUI*>(&layout));
    EXPECT_EQ(layout.GetInterface(L"IContainer"), nullptr);
    EXPECT_EQ(layout.GetInterface(L"Container"), nullptr);
}

TEST_F(ChildLayoutTest, TheBuilderKnowsTheNewElements)
{
    const struct
    {
        const wchar_t* pstrElement;
        const wchar_t* pstrClass;
    } cases[] = {{L"Option", L"OptionUI"},         {L"CheckBox", L"CheckBoxUI"},   {L"Progress", L"ProgressUI"},
                 {L"Slider", L"SliderUI"},         {L"TileLayout", L"TileLayoutUI"}, {L"TabLayout", L"TabLayoutUI"},
                 {L"ChildLayout", L"ChildLayoutUI"}};
    for (const auto& c : cases) {
        const std::wstring sSkin = std::wstring(L"<Window><") + c.pstrElement + L"/></Window>";
        CDialogBuilder builder;
        CControlUI* pControl = builder.Create(sSkin.c_str());
        ASSERT_NE(pControl, nullptr) << std::string(c.pstrElement, c.pstrElement + wcslen(c.pstrElement));
        EXPECT_STREQ(pControl->GetClass(), c.pstrClass);
        delete pControl;
    }
}

} // namespace
