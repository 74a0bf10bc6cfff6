// Options and check boxes in a real window, driven by sent and posted mouse
// and key messages: groups kept by the paint manager, "click" before
// "selectchanged", the ways an option leaves its group, and the selected look.
#include "controls/OptionUI.h"

#include <gtest/gtest.h>

#include <memory>

#include "ControlWindow.h"
#include "controls/ContainerUI.h"
#include "core/DialogBuilder.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

class COptionProbeUI : public COptionUI
{
public:
    explicit COptionProbeUI(const wchar_t* pstrGroup = L"") { SetGroup(pstrGroup); }
    UINT State() const { return m_uButtonState; }
};

struct Option : ControlWindowTest
{
    // The members of a group as the manager lists them.
    std::vector<CControlUI*> Members(const wchar_t* pstrGroup)
    {
        std::vector<CControlUI*> members;
        if (CStdPtrArray* pGroup = pm.GetOptionGroup(pstrGroup)) {
            for (int i = 0; i < pGroup->GetSize(); i++) members.push_back(static_cast<CControlUI*>(pGroup->GetAt(i)));
        }
        return members;
    }
    void Click(CControlUI* pControl)
    {
        const POINT pt = Centre(pControl);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, At(pt.x, pt.y));
        Send(WM_LBUTTONUP, 0, At(pt.x, pt.y));
    }
    // Options left out of the window are the test's to delete.
    void TearDown() override
    {
        for (COptionProbeUI* p : {a, b, c}) {
            if (p != NULL && p->GetParent() == NULL) delete p;
        }
        ControlWindowTest::TearDown();
    }
    // The clicks and selection changes so far as "type:name" words.
    std::vector<std::string> Heard() const
    {
        std::vector<std::string> words;
        for (size_t i = 0; i < log.aTypes.size(); i++) {
            if (log.aTypes[i] != L"click" && log.aTypes[i] != L"selectchanged") continue;
            words.push_back(std::string(log.aTypes[i].begin(), log.aTypes[i].end()) + ":" +
                            std::string(1, char(log.aSenders[i]->GetName().GetAt(0))));
        }
        return words;
    }

    COptionProbeUI* a = new COptionProbeUI(L"g");
    COptionProbeUI* b = new COptionProbeUI(L"g");
    COptionProbeUI* c = new COptionProbeUI(L"g");
};

TEST_F(Option, ClickSelectsOneOfTheGroupAndOnlyTheNewOneSpeaks)
{
    a->SetName(L"a"), b->SetName(L"b"), c->SetName(L"c");
    // Selected before it has a window: no notification, no group touched.
    a->Selected(true);
    Attach({a, b, c});
    EXPECT_EQ(Members(L"g"), (std::vector<CControlUI*>{a, b, c}));
    log.Clear();

    Click(b);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"click:b", "selectchanged:b"}));
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(c->IsSelected());
    EXPECT_EQ(a->State() & CTLSTATE_SELECTED, 0u);
    EXPECT_EQ(b->State() & CTLSTATE_SELECTED, UINT(CTLSTATE_SELECTED));

    // Clicking the selected one clicks and changes nothing.
    log.Clear();
    Click(b);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"click:b"}));
    EXPECT_TRUE(b->IsSelected());

    // Through the queue, and by the keyboard.
    log.Clear();
    const POINT pt = Centre(c);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, At(pt.x, pt.y));
    Post(WM_LBUTTONUP, 0, At(pt.x, pt.y));
    PumpMessages();
    EXPECT_EQ(Heard(), (std::vector<std::string>{"click:c", "selectchanged:c"}));
    EXPECT_FALSE(b->IsSelected());
    a->SetFocus();
    log.Clear();
    Send(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"click:a", "selectchanged:a"}));
    EXPECT_FALSE(c->IsSelected());

    // The program's own selection is announced too, and deselects the others silently.
    log.Clear();
    b->Selected(true);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"selectchanged:b"}));
    EXPECT_FALSE(a->IsSelected());
    b->Selected(false);
    EXPECT_EQ(Heard().size(), 1u);
}

TEST_F(Option, UngroupedOptionAndCheckBoxToggle)
{
    COptionProbeUI* pFree = new COptionProbeUI;
    CCheckBoxUI* pCheck = new CCheckBoxUI;
    pFree->SetName(L"o"), pCheck->SetName(L"k");
    Attach({pFree, pCheck});
    log.Clear();
    Click(pFree);
    EXPECT_TRUE(pFree->IsSelected());
    Click(pFree);
    EXPECT_FALSE(pFree->IsSelected());
    EXPECT_EQ(Heard(), (std::vector<std::string>{"click:o", "selectchanged:o", "click:o", "selectchanged:o"}));

    EXPECT_STREQ(pCheck->GetClass(), L"CheckBoxUI");
    EXPECT_EQ(pCheck->GetInterface(L"Option"), static_cast<COptionUI*>(pCheck));
    EXPECT_EQ(pCheck->GetInterface(L"Button"), static_cast<CButtonUI*>(pCheck));
    log.Clear();
    Click(pCheck);
    EXPECT_TRUE(pCheck->GetCheck());
    pCheck->SetCheck(false);
    pCheck->SetCheck(false);
    EXPECT_FALSE(pCheck->GetCheck());
    EXPECT_EQ(Heard(), (std::vector<std::string>{"click:k", "selectchanged:k", "selectchanged:k"}));
}

TEST_F(Option, AnOptionLeavesItsGroupWhenRegroupedDestroyedOrDetached)
{
    CContainerUI* pKeeper = new CContainerUI;
    pKeeper->SetAutoDestroy(false);
    COptionProbeUI* d = new COptionProbeUI(L"g");
    pKeeper->Add(d);
    Attach({a, b, c, pKeeper});
    EXPECT_EQ(Members(L"g"), (std::vector<CControlUI*>{a, b, c, d}));

    // Out of its group: selecting another member later leaves it alone.
    b->Selected(true);
    b->SetGroup(NULL);
    EXPECT_STREQ(b->GetGroup(), L"");
    a->Selected(true);
    EXPECT_TRUE(b->IsSelected());
    // Into another group, which it makes.
    b->SetGroup(L"h");
    EXPECT_EQ(Members(L"g"), (std::vector<CControlUI*>{a, c, d}));
    EXPECT_EQ(Members(L"h"), (std::vector<CControlUI*>{b}));
    b->SetGroup(L"g");
    EXPECT_EQ(Members(L"h"), std::vector<CControlUI*>{});
    EXPECT_EQ(pm.GetOptionGroup(L"h"), nullptr);

    // Taken out of the window, kept by the caller: no longer a member.
    pKeeper->Remove(d);
    EXPECT_EQ(Members(L"g"), (std::vector<CControlUI*>{a, c, b}));
    std::unique_ptr<COptionUI> pKept(d);

    // Destroyed: the group never holds it, and the others select on.
    pRoot->Remove(c);
    c = NULL;
    PumpMessages();
    EXPECT_EQ(Members(L"g"), (std::vector<CControlUI*>{a, b}));
    b->Selected(false);
    Click(b);
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(a->IsSelected());
    // Out of the window, it touches the group no more.
    d->Selected(true);
    EXPECT_TRUE(d->IsSelected());
    EXPECT_TRUE(b->IsSelected());
}

TEST_F(Option, AnOptionBuiltButNeverAttachedLeavesNoMemberBehind)
{
    CDialogBuilder builder, treeBuilder;
    CControlUI* pBuilt = builder.Create(L"<Window><Option group=\"built\" selected=\"true\"/></Window>", NULL, NULL, &pm);
    ASSERT_NE(pBuilt, nullptr);
    EXPECT_TRUE(static_cast<COptionUI*>(pBuilt->GetInterface(L"Option"))->IsSelected());
    delete pBuilt;
    EXPECT_EQ(pm.GetOptionGroup(L"built"), nullptr);
    // A window built with two selected members of one group keeps the last.
    CControlUI* pTree = treeBuilder.Create(L"<Window><Container><Option name=\"x\" group=\"q\" selected=\"true\"/>"
                                       L"<Option name=\"y\" group=\"q\" selected=\"true\"/></Container></Window>",
                                       NULL, NULL, &pm);
    ASSERT_NE(pTree, nullptr);
    pm.AttachDialog(pTree);
    COptionUI* x = static_cast<COptionUI*>(pm.FindControl(L"x"));
    COptionUI* y = static_cast<COptionUI*>(pm.FindControl(L"y"));
    ASSERT_TRUE(x != NULL && y != NULL);
    EXPECT_FALSE(x->IsSelected());
    EXPECT_TRUE(y->IsSelected());
    ASSERT_EQ(Members(L"q").size(), 2u);
    x->Selected(true);
    EXPECT_FALSE(y->IsSelected());
}

TEST_F(Option, DisablingASelectedOptionKeepsOnlyItsSelection)
{
    Attach({a, b});
    a->Selected(true);
    Send(WM_MOUSEMOVE, 0, At(60, 15));
    ASSERT_NE(a->State() & CTLSTATE_HOT, 0u);
    a->SetEnabled(false);
    EXPECT_EQ(a->State(), UINT(CTLSTATE_SELECTED));
    b->SetEnabled(false);
    EXPECT_EQ(b->State(), 0u);
    // A disabled option takes no click.
    log.Clear();
    Click(b);
    EXPECT_FALSE(b->IsSelected());
    EXPECT_TRUE(a->IsSelected());
    EXPECT_EQ(Heard().size(), 0u);
}

TEST_F(Option, SelectedLook)
{
    a->SetNormalImage(Image(L"normal.png", 0xFF0000FF));
    a->SetPushedImage(Image(L"pushed.png", 0xFFFF0000));
    a->SetSelectedImage(Image(L"selected.png", 0xFF00C000));
    a->SetSelectedHotImage(Image(L"selectedhot.png", 0xFFFFFF00));
    a->SetForeImage(L"file='pushed.png' dest='0,0,10,10'");
    b->ApplyAttributeList(L"selectedbkcolor=\"#FFFF0000\" normalimage=\"normal.png\"");
    b->SetForeImage(L"file='selected.png' dest='0,0,10,10'");
    Attach({a, b});
    auto face = [&](CControlUI* p) { const POINT pt = Centre(p); return Snapshot().Rgb(pt.x, pt.y); };

    EXPECT_EQ(face(a), 0x0000FFu);
    // The option's own fore image goes over everything.
    EXPECT_EQ(canvas.Rgb(2, 2), 0xFF0000u);
    // Pressed: never the pushed image.
    Send(WM_MOUSEMOVE, 0, At(60, 15));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(60, 15));
    EXPECT_EQ(face(a), 0x0000FFu);
    Send(WM_LBUTTONUP, 0, At(60, 15));
    ASSERT_TRUE(a->IsSelected());
    EXPECT_EQ(face(a), 0xFFFF00u);
    Send(WM_MOUSEMOVE, 0, At(300, 150));
    EXPECT_EQ(face(a), 0x00C000u);
    // A selected image that fails: emptied, and the button's look shows.
    a->SetSelectedImage(L"missing.png");
    EXPECT_EQ(face(a), 0x0000FFu);
    EXPECT_STREQ(a->GetSelectedImage(), L"");

    // The selected colour alone, without the fore image.
    b->Selected(true);
    Snapshot();
    EXPECT_EQ(CountPixels(b->GetPos(), [](uint32_t rgb) { return rgb != 0xFF0000u; }), 0);
    b->Selected(false);
    EXPECT_EQ(face(b), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(122, 2), 0x00C000u);
}

TEST_F(Option, SelectedTextColourIsForThePaintOnly)
{
    pm.SetDefaultFontColor(0xFF000000);
    a->ApplyAttributeList(L"text=\"WWWW\" textcolor=\"#FF0000FF\" selectedtextcolor=\"#FFFF0000\"");
    b->ApplyAttributeList(L"selectedtextcolor=\"#FFFF0000\"");
    Attach({a, b});
    auto has = [&](bool (*pred)(uint32_t)) { return CountPixels(a->GetPos(), pred) > 0; };
    Snapshot();
    EXPECT_TRUE(has(IsBlue));
    a->Selected(true);
    Snapshot();
    EXPECT_TRUE(has(IsRed));
    EXPECT_FALSE(has(IsBlue));
    EXPECT_EQ(a->GetTextColor(), 0xFF0000FFu);
    a->Selected(false);
    Snapshot();
    EXPECT_TRUE(has(IsBlue));
    // An empty text: the normal colour becomes the default one and stays.
    b->Selected(true);
    Snapshot();
    EXPECT_EQ(b->GetTextColor(), 0xFF000000u);
    // Reading an unset selected colour takes the default for good.
    COptionUI loose;
    EXPECT_EQ(a->GetSelectedTextColor(), 0xFFFF0000u);
    c->SetManager(&pm, NULL, false);
    EXPECT_EQ(c->GetSelectedTextColor(), 0xFF000000u);
    c->SetManager(NULL, NULL, false);
    EXPECT_EQ(c->GetSelectedTextColor(), 0xFF000000u);
    EXPECT_EQ(loose.GetSelectedTextColor(), 0u);
}

TEST(OptionAttributes, ReachTheirSetters)
{
    COptionUI option;
    option.ApplyAttributeList(L"group=\"g\" selected=\"true\" selectedimage=\"s\" selectedhotimage=\"sh\" "
                              L"foreimage=\"f\" selectedbkcolor=\"#FF000001\" selectedtextcolor=\"2\" "
                              L"hotimage=\"h\" text=\"t\"");
    EXPECT_STREQ(option.GetGroup(), L"g");
    EXPECT_TRUE(option.IsSelected());
    EXPECT_STREQ(option.GetSelectedImage(), L"s");
    EXPECT_STREQ(option.GetSelectedHotImage(), L"sh");
    EXPECT_STREQ(option.GetForeImage(), L"f");
    EXPECT_STREQ(static_cast<CButtonUI&>(option).GetForeImage(), L"");
    EXPECT_EQ(option.GetSelectBkColor(), 0xFF000001u);
    EXPECT_EQ(option.GetSelectedTextColor(), 2u);
    EXPECT_STREQ(option.GetHotImage(), L"h");
    EXPECT_STREQ(option.GetClass(), L"OptionUI");
    option.SetAttribute(L"selected", L"True");
    EXPECT_FALSE(option.IsSelected());
}

} // namespace
