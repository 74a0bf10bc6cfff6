// The dialog builder: skins given as text, files, archives and module
// resources become control trees (compared after layout with tables), the
// document-level elements reach the paint manager, includes are bounded, and
// every control made is either handed out or destroyed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CountedControls.h"
#include "PngFixture.h"
#include "SkinSettings.h"
#include "TempFiles.h"
#include "TestControls.h"
#include "ZipWriter.h"
#include "controls/ControlUI.h"
#include "core/DialogBuilder.h"
#include "core/PaintManagerUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

// One line per control, depth first: indentation, class, name and place.
std::vector<std::string> Describe(CControlUI* pControl, int nDepth = 0)
{
    std::vector<std::string> lines;
    if (pControl == NULL) return lines;
    char szLine[200];
    const RECT& rc = pControl->GetPos();
    snprintf(szLine, sizeof(szLine), "%*s%ls %ls %ld,%ld,%ld,%ld", nDepth * 2, "", pControl->GetClass(),
             pControl->GetName().GetData(), rc.left, rc.top, rc.right, rc.bottom);
    lines.push_back(szLine);
    if (IContainerUI* pContainer = static_cast<IContainerUI*>(pControl->GetInterface(L"IContainer"))) {
        for (int i = 0; i < pContainer->GetCount(); i++) {
            for (const std::string& line : Describe(pContainer->GetItemAt(i), nDepth + 1)) lines.push_back(line);
        }
    }
    return lines;
}

// Skins read from a folder of this test's own; every test leaves the
// process's skin settings and the plug-in list as it found them.
class DialogBuilderTest : public SkinSettingsTest
{
protected:
    static void SetUpTestSuite() { s_folder = MakeTempFolder(L"dialog_builder"); }
    void SetUp() override
    {
        CPaintManagerUI::SetInstance(::GetModuleHandleW(NULL));
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(s_folder.c_str());
        m_nLive = LiveCountedControls();
    }
    void TearDown() override
    {
        CPaintManagerUI::GetPlugins()->Empty();
        EXPECT_EQ(LiveCountedControls(), m_nLive) << "counted controls leaked or destroyed twice";
    }
    static void WriteSkin(const wchar_t* pstrName, const std::string& xml)
    {
        ASSERT_TRUE(WriteBytes(s_folder + pstrName, xml));
    }
    // Builds into a window's manager, attaches and lays the tree out.
    std::vector<std::string> BuildAndLayOut(const wchar_t* pstrXml, int cx = 200, int cy = 100)
    {
        CPaintManagerUI pm;
        CHostWindow wnd(pm, cx, cy);
        CDialogBuilder builder;
        CControlUI* pRoot = builder.Create(pstrXml, NULL, &m_factory, &pm);
        if (pRoot == NULL) return {};
        pm.AttachDialog(pRoot);
        RepaintNow(wnd);
        return Describe(pRoot);
    }

    static std::wstring s_folder;
    CCountedControlFactory m_factory;
    int m_nLive = 0;
};
std::wstring DialogBuilderTest::s_folder;

CControlUI* PluginControl(const wchar_t* pstrClass)
{
    if (wcscmp(pstrClass, L"Leaf") == 0) {
        CControlUI* pControl = new CCountedLeafUI;
        pControl->SetName(L"from plug-in");
        return pControl;
    }
    return NULL;
}

} // namespace

TEST_F(DialogBuilderTest, ElementsBecomeControlsChildrenFirstInDocumentOrder)
{
    const std::vector<std::string> expected = {
        "CountedBoxUI root 0,0,200,100",
        "  CountedLeafUI a 0,0,20,20",
        "  CountedBoxUI inner 20,0,40,20",
        "    CountedLeafUI b 20,0,40,20",
        "    ControlUI c 20,20,40,40",
        "  ControlUI d 40,0,60,20",
    };
    EXPECT_EQ(BuildAndLayOut(L"<Window><Box name=\"root\"><Leaf name=\"a\"/>"
                             L"<Box name=\"inner\"><Leaf name=\"b\"/><Control name=\"c\"/></Box>"
                             L"<Control name=\"d\"/></Box></Window>"),
              expected);
}

TEST_F(DialogBuilderTest, LayoutsPlaceTheBuiltTree)
{
    const std::vector<std::string> expected = {
        "VerticalLayoutUI root 0,0,200,100",
        "  HorizontalLayoutUI top 0,0,200,30",
        "    ControlUI a 0,0,50,30",
        "    ControlUI b 50,0,200,30",
        "  ControlUI middle 0,30,200,80",
        "  ContainerUI box 0,80,200,100",
        "    ControlUI c 2,82,198,98",
    };
    EXPECT_EQ(BuildAndLayOut(L"<Window><VerticalLayout name=\"root\">"
                             L"<HorizontalLayout name=\"top\" height=\"30\"><Control name=\"a\" width=\"50\"/>"
                             L"<Control name=\"b\"/></HorizontalLayout><Control name=\"middle\"/>"
                             L"<Container name=\"box\" height=\"20\" inset=\"2,2,2,2\"><Control name=\"c\"/></Container>"
                             L"</VerticalLayout></Window>"),
              expected);
}

TEST_F(DialogBuilderTest, UnknownAndMisspeltElementsAreSkippedWithTheirChildren)
{
    const std::vector<std::string> expected = {
        "CountedBoxUI root 0,0,200,100",
        "  ControlUI kept 0,0,20,20",
    };
    EXPECT_EQ(BuildAndLayOut(L"<Window><Box name=\"root\"><Contorl name=\"x\"><Control name=\"lost\"/></Contorl>"
                             L"<control name=\"lower\"/><TreeNode/><Control name=\"kept\" colour=\"red\"/></Box></Window>"),
              expected);
}

namespace {

// A container that writes down, at each Add, what it and the child already have.
class CAddRecorderUI : public CCountedBoxUI
{
public:
    explicit CAddRecorderUI(std::vector<std::string>& log) : m_log(log) {}
    bool Add(CControlUI* pControl) override
    {
        IContainerUI* pChildren = static_cast<IContainerUI*>(pControl->GetInterface(L"IContainer"));
        char szLine[200];
        snprintf(szLine, sizeof(szLine), "'%ls' %s gets '%ls' holding %d", GetName().GetData(),
                 GetParent() != NULL ? "in a parent" : "alone", pControl->GetName().GetData(),
                 pChildren != NULL ? pChildren->GetCount() : 0);
        m_log.push_back(szLine);
        return CCountedBoxUI::Add(pControl);
    }

private:
    std::vector<std::string>& m_log;
};

} // namespace

TEST_F(DialogBuilderTest, ChildrenComeToAddBuiltBeforeTheirParentIsPlacedOrConfigured)
{
    struct Factory : IDialogBuilderCallback
    {
        CControlUI* CreateControl(const wchar_t* pstrClass) override
        {
            if (wcscmp(pstrClass, L"Recorder") == 0) return new CAddRecorderUI(log);
            return counted.CreateControl(pstrClass);
        }
        std::vector<std::string> log;
        CCountedControlFactory counted;
    } factory;
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(
        L"<Window><Default name=\"Leaf\" value=\"name=&quot;dflt&quot;\"/><Recorder name=\"outer\">"
        L"<Recorder name=\"inner\"><Leaf name=\"a\"/><Leaf/></Recorder></Recorder></Window>",
        NULL, &factory, &pm);
    ASSERT_NE(pRoot, nullptr);
    // Neither the default list nor the own attributes have come when a child is added.
    const std::vector<std::string> expected = {
        "'' alone gets '' holding 0",
        "'' alone gets '' holding 0",
        "'' alone gets '' holding 2",
    };
    EXPECT_EQ(factory.log, expected);
    IContainerUI* pOuter = static_cast<IContainerUI*>(pRoot->GetInterface(L"IContainer"));
    CControlUI* pInner = pOuter->GetItemAt(0);
    EXPECT_EQ(pRoot->GetName(), L"outer");
    EXPECT_EQ(pInner->GetName(), L"inner");
    IContainerUI* pInnerItems = static_cast<IContainerUI*>(pInner->GetInterface(L"IContainer"));
    EXPECT_EQ(pInnerItems->GetItemAt(0)->GetName(), L"a");
    EXPECT_EQ(pInnerItems->GetItemAt(1)->GetName(), L"dflt");
    delete pRoot;
}

TEST_F(DialogBuilderTest, DefaultListComesBeforeTheElementsOwnAttributes)
{
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(
        L"<Window><Default name=\"Control\" value=\"width=&quot;30&quot; height=&quot;40&quot; name=&quot;dflt&quot;\"/>"
        L"<Default name=\"Control\" value=\"width=&quot;99&quot;\"/>"
        L"<Control height=\"10\" height=\"12\"/></Window>",
        NULL, NULL, &pm);
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(pRoot->GetFixedWidth(), 30);   // the first Default for a name stays
    EXPECT_EQ(pRoot->GetFixedHeight(), 12);  // own attributes win, the later one last
    EXPECT_EQ(pRoot->GetName(), L"dflt");
    EXPECT_EQ(pRoot->GetManager(), nullptr) << "the manager is attached when the tree is attached";
    delete pRoot;
}

TEST_F(DialogBuilderTest, OnlyTheRootsOwnFontsCountAndUnnamedOnesTakeNoIndex)
{
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(
        L"<Window><Font name=\"Arial\" size=\"14\" bold=\"true\"/><Font size=\"20\"/>"
        L"<Font name=\"Tahoma\" underline=\"true\" italic=\"TRUE\" default=\"true\" default=\"false\"/>"
        L"<Font name=\"Courier New\" default=\"true\"/>"
        L"<Box><Font name=\"Nested\"/><Control/></Box></Window>",
        NULL, &m_factory, &pm);
    ASSERT_NE(pRoot, nullptr);
    ASSERT_EQ(pm.GetCustomFontCount(), 3);
    struct { const wchar_t* face; int size; bool bold, underline, italic; } expected[] = {
        { L"Arial", 14, true, false, false },
        { L"Tahoma", 12, false, true, false },
        { L"Courier New", 12, false, false, false },
    };
    for (int i = 0; i < 3; i++) {
        const tagTFontInfo* pFont = pm.GetFontInfo(i);
        EXPECT_EQ(pFont->sFaceName, expected[i].face) << i;
        EXPECT_EQ(pFont->nPixelSize, expected[i].size) << i;
        EXPECT_EQ(pFont->bIsBold, expected[i].bold) << i;
        EXPECT_EQ(pFont->bIsUnderline, expected[i].underline) << i;
        EXPECT_EQ(pFont->bIsItalic, expected[i].italic) << i;
    }
    EXPECT_EQ(pm.GetDefaultFontInfo()->sFaceName, L"Courier New") << "the last default attribute wins";
    delete pRoot;
}

TEST_F(DialogBuilderTest, ImagesAreLoadedFromTheSkinSource)
{
    ASSERT_TRUE(WriteBytes(s_folder + L"dot.png", MakeSolidPng(3, 2, 0xFF00FF00)));
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(L"<Window><Image name=\"dot.png\" mask=\"#FF00FF00\"/><Image mask=\"1\"/>"
                                       L"<Image name=\"missing.png\"/><Control/></Window>",
                                       NULL, NULL, &pm);
    ASSERT_NE(pRoot, nullptr);
    const tagTImageInfo* pImage = pm.GetImage(L"dot.png");
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->nWidth, 3);
    EXPECT_EQ(pImage->dwMaskColor, 0xFF00FF00u);
    EXPECT_TRUE(pImage->bHasAlpha) << "the mask colour became transparent";
    EXPECT_EQ(pm.GetImage(L"missing.png"), nullptr);
    delete pRoot;
}

TEST_F(DialogBuilderTest, WindowAttributesReachTheManagerAndShortListsReadZero)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 100);
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(
        L"<Window size=\"300,150\" sizebox=\"1,2,3,4\" caption=\"0,0,0\" roundcorner=\"5\" mininfo=\"10,20\" "
        L"maxinfo=\"800,\" showdirty=\"true\" alpha=\"200\" bktrans=\"true\" disabledfontcolor=\"#FF010203\" "
        L"defaultfontcolor=\"FF040506\" linkfontcolor=\"#FF070809\" linkhoverfontcolor=\"#FF0A0B0C\" "
        L"selectedcolor=\"#FF0D0E0F\" unknown=\"1\"><Control/></Window>",
        NULL, NULL, &pm);
    ASSERT_NE(pRoot, nullptr);
    RECT rc = {};
    ::GetClientRect(wnd, &rc);
    EXPECT_EQ(rc.right, 300);
    EXPECT_EQ(rc.bottom, 150);
    EXPECT_EQ(pm.GetInitSize().cx, 300);
    const RECT& rcBox = pm.GetSizeBox();
    EXPECT_EQ(rcBox.left + rcBox.top * 10 + rcBox.right * 100 + rcBox.bottom * 1000, 4321);
    EXPECT_EQ(pm.GetCaptionRect().bottom, 0);
    EXPECT_EQ(pm.GetRoundCorner().cx, 5);
    EXPECT_EQ(pm.GetRoundCorner().cy, 0);
    EXPECT_EQ(pm.GetMinInfo().cy, 20);
    EXPECT_EQ(pm.GetMaxInfo().cx, 800);
    EXPECT_EQ(pm.GetMaxInfo().cy, 0);
    EXPECT_TRUE(pm.IsShowUpdateRect());
    EXPECT_EQ(pm.GetTransparent(), 200);
    EXPECT_EQ(pm.GetDefaultDisabledColor(), 0xFF010203u);
    EXPECT_EQ(pm.GetDefaultFontColor(), 0xFF040506u);
    EXPECT_EQ(pm.GetDefaultLinkFontColor(), 0xFF070809u);
    EXPECT_EQ(pm.GetDefaultLinkHoverFontColor(), 0xFF0A0B0Cu);
    EXPECT_EQ(pm.GetDefaultSelectedBkColor(), 0xFF0D0E0Fu);
    delete pRoot;
}

TEST_F(DialogBuilderTest, WindowAttributesNeedARootNamedWindowAndAPaintWindow)
{
    struct { const wchar_t* xml; bool bWindow; } cases[] = {
        { L"<Dialog size=\"300,150\" caption=\"0,0,0,30\"><Control/></Dialog>", true },
        { L"<Window size=\"300,150\" caption=\"0,0,0,30\"><Control/></Window>", false },
    };
    for (const auto& c : cases) {
        CPaintManagerUI pm;
        CHostWindow wnd(pm, 200, 100, NULL, c.bWindow);
        CDialogBuilder builder;
        CControlUI* pRoot = builder.Create(c.xml, NULL, NULL, &pm);
        ASSERT_NE(pRoot, nullptr) << "controls are built all the same";
        EXPECT_EQ(pm.GetInitSize().cx, 0);
        EXPECT_EQ(pm.GetCaptionRect().bottom, 0);
        RECT rc = {};
        ::GetClientRect(wnd, &rc);
        EXPECT_EQ(rc.right, 200);
        delete pRoot;
    }
}

TEST_F(DialogBuilderTest, IncludeBuildsItsSourceCountTimesUnderTheSameParent)
{
    WriteSkin(L"row.xml", "<Window><Font name=\"Arial\"/><Leaf name=\"row\"/></Window>");
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 100);
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(
        L"<Window><Box name=\"root\"><Include source=\"row.xml\" count=\"3\"/><Control name=\"after\"/>"
        L"<Include source=\"&lt;Window&gt;&lt;Leaf name=&quot;inline&quot;/&gt;&lt;/Window&gt;\"/>"
        L"<Include count=\"2\"/><Include/><Include source=\"row.xml\" count=\"-1\"/></Box></Window>",
        NULL, &m_factory, &pm);
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(pRoot->GetName(), L"root") << "included controls never become the result";
    pm.AttachDialog(pRoot);
    RepaintNow(wnd);
    const std::vector<std::string> expected = {
        "CountedBoxUI root 0,0,200,100",
        "  CountedLeafUI row 0,0,20,20",
        "  CountedLeafUI row 20,0,40,20",
        "  CountedLeafUI row 40,0,60,20",
        "  ControlUI after 60,0,80,20",
        "  CountedLeafUI inline 80,0,100,20",
    };
    EXPECT_EQ(Describe(pRoot), expected);
    EXPECT_EQ(pm.GetCustomFontCount(), 3) << "each build applies the included document's fonts";
}

TEST_F(DialogBuilderTest, IncludeSourcesAreCutAt499Characters)
{
    // An inline source whose closing falls beyond the cut no longer parses;
    // one that fits in 499 characters does.
    for (size_t nName : { 450u, 600u }) {
        const std::wstring source = L"&lt;W&gt;&lt;Leaf name=&quot;" + std::wstring(nName, L'n') + L"&quot;/&gt;&lt;/W&gt;";
        const std::wstring xml = L"<Window><Box><Include source=\"" + source + L"\"/></Box></Window>";
        CDialogBuilder builder;
        CControlUI* pRoot = builder.Create(xml.c_str(), NULL, &m_factory);
        ASSERT_NE(pRoot, nullptr);
        IContainerUI* pBox = static_cast<IContainerUI*>(pRoot->GetInterface(L"IContainer"));
        EXPECT_EQ(pBox->GetCount(), nName < 480 ? 1 : 0) << nName;
        delete pRoot;
    }
}

TEST_F(DialogBuilderTest, IncludeCyclesDepthAndTotalAreBounded)
{
    WriteSkin(L"self.xml", "<Window><Leaf/><Include source=\"SELF.xml\"/></Window>");
    WriteSkin(L"ping.xml", "<Window><Leaf/><Include source=\"pong.xml\"/></Window>");
    WriteSkin(L"pong.xml", "<Window><Leaf/><Include source=\"ping.xml\"/></Window>");
    // A chain of distinct files, each including the next.
    for (int i = 0; i < 12; i++) {
        WriteSkin((L"chain" + std::to_wstring(i) + L".xml").c_str(),
                  "<Window><Leaf/><Include source=\"chain" + std::to_string(i + 1) + ".xml\"/></Window>");
    }
    WriteSkin(L"ten.xml", "<Window><Include source=\"one.xml\" count=\"10\"/></Window>");
    WriteSkin(L"one.xml", "<Window><Leaf/></Window>");
    struct { const char* name; const wchar_t* include; int nLeaves; } cases[] = {
        // The include of a document being built fails: each file is built once.
        { "self", L"<Include source=\"self.xml\"/>", 1 },
        { "mutual", L"<Include source=\"ping.xml\"/>", 2 },
        // The top document is the first level, so seven included levels are built.
        { "depth", L"<Include source=\"chain0.xml\"/>", CDialogBuilder::MAX_INCLUDE_DEPTH - 1 },
        // 25 builds of ten.xml with 10 of one.xml each: 275 builds, more than the
        // budget. ten.xml takes 25 at once, then 23 of its builds get their
        // ten one.xml builds (230), after which the remaining 1 is too few.
        { "budget", L"<Include source=\"ten.xml\" count=\"25\"/>", 230 },
        { "count above the budget", L"<Include source=\"one.xml\" count=\"257\"/>", 0 },
        { "count at the budget", L"<Include source=\"one.xml\" count=\"256\"/>", 256 },
    };
    for (const auto& c : cases) {
        const std::wstring xml = std::wstring(L"<Window><Box>") + c.include + L"</Box></Window>";
        const int nBefore = LiveCountedControls();
        CDialogBuilder builder;
        CControlUI* pRoot = builder.Create(xml.c_str(), NULL, &m_factory);
        ASSERT_NE(pRoot, nullptr) << c.name;
        EXPECT_EQ(LiveCountedControls() - nBefore - 1, c.nLeaves) << c.name;
        delete pRoot;
    }
}

TEST_F(DialogBuilderTest, ControlsNobodyOwnsAreDestroyed)
{
    struct { const char* name; const wchar_t* xml; int nKept; } cases[] = {
        // Leaf is no container: its children, and the level, end there.
        { "child of a leaf", L"<Window><Box><Leaf name=\"l\"><Leaf/><Box><Leaf/></Box></Leaf></Box></Window>", 2 },
        { "refused by a full box", L"<Window><OneBox><Leaf/><Leaf/><Box><Leaf/></Box></OneBox></Window>", 2 },
        { "second top-level control", L"<Window><Box><Leaf/></Box><Box><Leaf/></Box><Leaf/></Window>", 2 },
        { "included at the top", L"<Window><Leaf/><Include source=\"&lt;W&gt;&lt;Leaf/&gt;&lt;/W&gt;\" count=\"2\"/></Window>", 1 },
    };
    for (const auto& c : cases) {
        const int nBefore = LiveCountedControls();
        CDialogBuilder builder;
        CControlUI* pRoot = builder.Create(c.xml, NULL, &m_factory);
        ASSERT_NE(pRoot, nullptr) << c.name;
        EXPECT_EQ(LiveCountedControls() - nBefore, c.nKept) << c.name;
        delete pRoot;
    }
}

TEST_F(DialogBuilderTest, IntoAParentThatIsNoContainerNothingIsKept)
{
    CCountedLeafUI parent;
    const int nBefore = LiveCountedControls();
    CDialogBuilder builder;
    EXPECT_EQ(builder.Create(L"<Window><Leaf/><Box/></Window>", NULL, &m_factory, NULL, &parent), nullptr);
    EXPECT_EQ(LiveCountedControls(), nBefore);
}

TEST_F(DialogBuilderTest, PluginsAreAskedBeforeTheCallback)
{
    CPaintManagerUI::GetPlugins()->Add(reinterpret_cast<void*>(&PluginControl));
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(L"<Window><Box><Leaf/></Box></Window>", NULL, &m_factory);
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(pRoot->GetClass(), std::wstring(L"CountedBoxUI"));
    IContainerUI* pBox = static_cast<IContainerUI*>(pRoot->GetInterface(L"IContainer"));
    ASSERT_EQ(pBox->GetCount(), 1);
    EXPECT_EQ(pBox->GetItemAt(0)->GetName(), L"from plug-in");
    delete pRoot;
}

TEST_F(DialogBuilderTest, FailedLoadsSayWhy)
{
    struct { const wchar_t* xml; const wchar_t* message; const wchar_t* location; } cases[] = {
        { L"<Window><Control></Window>", L"Unmatched closing tag", L"Window>" },
        { L"nothing.xml", L"Error opening file", L"" },
        { L"<!-- only a comment -->", L"", L"" },
    };
    for (const auto& c : cases) {
        CDialogBuilder builder;
        EXPECT_EQ(builder.Create(c.xml), nullptr) << c.message;
        wchar_t szMessage[100] = {}, szLocation[50] = {};
        builder.GetLastErrorMessage(szMessage, 99);
        builder.GetLastErrorLocation(szLocation, 49);
        EXPECT_STREQ(szMessage, c.message);
        EXPECT_STREQ(szLocation, c.location);
    }
}

TEST_F(DialogBuilderTest, ModuleResourcesIncludeResourcesOfTheirType)
{
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(STRINGorID(101), L"xml", &m_factory);
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(pRoot->GetName(), L"resource root");
    // Resource 102 twice, then the include of resource 101, the document being built, fails.
    EXPECT_EQ(static_cast<IContainerUI*>(pRoot->GetInterface(L"IContainer"))->GetCount(), 2);
    delete pRoot;

    CDialogBuilder missing;
    EXPECT_EQ(missing.Create(STRINGorID(999), L"xml"), nullptr);
    CDialogBuilder untyped;
    EXPECT_EQ(untyped.Create(STRINGorID(101), NULL), nullptr);
}

TEST_F(DialogBuilderTest, SkinArchiveInMemoryServesFilesAndIncludes)
{
    ZipWriter writer;
    writer.Add("main.xml", "<Window><Box name=\"main\"><Include source=\"Parts\\row.xml\" count=\"2\"/></Box></Window>");
    writer.Add("parts/row.xml", "<Window><Leaf name=\"zipped\"/></Window>", 0);
    static std::vector<uint8_t> s_archive;  // alive for the process, as the paint manager needs
    s_archive = writer.Build();
    CPaintManagerUI::SetResourceZip(s_archive.data(), unsigned(s_archive.size()));
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(L"MAIN.XML", NULL, &m_factory);
    ASSERT_NE(pRoot, nullptr);
    IContainerUI* pBox = static_cast<IContainerUI*>(pRoot->GetInterface(L"IContainer"));
    ASSERT_EQ(pBox->GetCount(), 2);
    EXPECT_EQ(pBox->GetItemAt(1)->GetName(), L"zipped");
    delete pRoot;
}
