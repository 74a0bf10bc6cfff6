// The tab layout: one current child shown over the inner area, the others
// hidden; insertions, moves and removals that keep the current child
// current; "tabselect" from SelectItem only.
#include "controls/TabLayoutUI.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RectText.h"
#include "TestControls.h"
#include "core/DialogBuilder.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

// "tabselect new,old" for each tab selection heard.
class CTabLog : public INotifyUI
{
public:
    void Notify(tagTNotifyUI& msg) override
    {
        if (msg.sNotifyType != L"tabselect") return;
        aHeard.push_back(std::to_string(msg.wNotifyParam) + "," + std::to_string(msg.lNotifyParam));
    }
    std::vector<std::string> aHeard;
};

struct TabLayout : ::testing::Test
{
    void SetUp() override
    {
        for (CProbeUI* p : {a, b, c}) pTab->Add(p);
        pm.AddNotifier(&log);
        pm.AttachDialog(pTab);
        RepaintNow(wnd);
    }
    // Which children show, as "abc" letters of the visible ones.
    std::string Shown() const
    {
        std::string s;
        for (int i = 0; i < pTab->GetCount(); i++) {
            CControlUI* p = pTab->GetItemAt(i);
            if (p->IsVisible()) s += char(p->GetName().GetAt(0));
        }
        return s;
    }

    CTabLog log;
    CPaintManagerUI pm;
    CHostWindow wnd{pm, 200, 100};
    CTabLayoutUI* pTab = new CTabLayoutUI;
    CProbeUI* a = new CProbeUI(L"a");
    CProbeUI* b = new CProbeUI(L"b");
    CProbeUI* c = new CProbeUI(L"c");
};

TEST_F(TabLayout, TheFirstVisibleChildIsCurrentAndTakesTheArea)
{
    EXPECT_EQ(pTab->GetCurSel(), 0);
    EXPECT_EQ(Shown(), "a");
    EXPECT_EQ(RectText(a->GetPos()), "0,0,200,100");
    // The others are not placed at all.
    EXPECT_EQ(b->nSetPos, 0);
    EXPECT_TRUE(log.aHeard.empty());

    // Inset, padding and limits apply to the current child.
    pTab->SetInset(RECT{10, 10, 10, 10});
    a->SetPadding(RECT{5, 0, 0, 5});
    a->SetMaxWidth(100);
    RepaintNow(wnd);
    EXPECT_EQ(RectText(a->GetPos()), "15,10,115,85");
}

TEST_F(TabLayout, SelectItemShowsOneAndSaysSo)
{
    EXPECT_TRUE(pTab->SelectItem(2));
    EXPECT_EQ(pTab->GetCurSel(), 2);
    EXPECT_EQ(Shown(), "c");
    EXPECT_EQ(RectText(c->GetPos()), "0,0,200,100");
    EXPECT_EQ(log.aHeard, (std::vector<std::string>{"2,0"}));
    // The current one again: true, and nothing is said.
    EXPECT_TRUE(pTab->SelectItem(2));
    EXPECT_TRUE(pTab->SelectItem(c));
    EXPECT_EQ(log.aHeard.size(), 1u);
    // Out of range, or not a child: false, and nothing changes.
    CProbeUI stranger;
    EXPECT_FALSE(pTab->SelectItem(3));
    EXPECT_FALSE(pTab->SelectItem(-1));
    EXPECT_FALSE(pTab->SelectItem(&stranger));
    EXPECT_EQ(pTab->GetCurSel(), 2);
    EXPECT_TRUE(pTab->SelectItem(b));
    EXPECT_EQ(Shown(), "b");
    EXPECT_EQ(log.aHeard, (std::vector<std::string>{"2,0", "1,2"}));
    // The skin's attribute selects too.
    pTab->SetAttribute(L"selectedid", L"0");
    EXPECT_EQ(Shown(), "a");
    EXPECT_EQ(log.aHeard.back(), "0,1");
}

TEST_F(TabLayout, InsertionsAndMovesKeepTheCurrentChild)
{
    pTab->SelectItem(1);
    CProbeUI* d = new CProbeUI(L"d");
    ASSERT_TRUE(pTab->AddAt(d, 0));
    EXPECT_EQ(pTab->GetCurSel(), 2);
    EXPECT_EQ(pTab->GetItemAt(pTab->GetCurSel()), b);
    EXPECT_FALSE(d->IsVisible());
    // At the current child's own index: it moves up and stays current.
    CProbeUI* e = new CProbeUI(L"e");
    ASSERT_TRUE(pTab->AddAt(e, 2));
    EXPECT_EQ(pTab->GetItemAt(pTab->GetCurSel()), b);
    // After it: nothing moves.
    CProbeUI* f = new CProbeUI(L"f");
    ASSERT_TRUE(pTab->Add(f));
    EXPECT_EQ(pTab->GetItemAt(pTab->GetCurSel()), b);
    EXPECT_EQ(Shown(), "b");
    // Moved about, it stays current wherever it goes.
    ASSERT_TRUE(pTab->SetItemIndex(b, 0));
    EXPECT_EQ(pTab->GetCurSel(), 0);
    ASSERT_TRUE(pTab->SetItemIndex(d, 0));
    EXPECT_EQ(pTab->GetItemAt(pTab->GetCurSel()), b);
    ASSERT_TRUE(pTab->SetItemIndex(b, 5));
    EXPECT_EQ(pTab->GetCurSel(), 5);
    EXPECT_FALSE(pTab->SetItemIndex(b, 6));
    EXPECT_EQ(pTab->GetCurSel(), 5);
    EXPECT_TRUE(log.aHeard.size() == 1u);
}

TEST_F(TabLayout, RemovalsNeverLeaveTheSelectionOutOfRange)
{
    pTab->SelectItem(1);
    log.aHeard.clear();
    // Before the current child: the selection follows it.
    ASSERT_TRUE(pTab->Remove(a));
    EXPECT_EQ(pTab->GetCurSel(), 0);
    EXPECT_EQ(pTab->GetItemAt(0), b);
    // After it: nothing changes.
    ASSERT_TRUE(pTab->RemoveAt(1));
    EXPECT_EQ(pTab->GetCurSel(), 0);
    // The current child itself: the first one shows, without "tabselect".
    CProbeUI* d = new CProbeUI(L"d");
    CProbeUI* e = new CProbeUI(L"e");
    pTab->Add(d);
    pTab->Add(e);
    pTab->SelectItem(2);
    log.aHeard.clear();
    ASSERT_TRUE(pTab->Remove(e));
    EXPECT_EQ(pTab->GetCurSel(), 0);
    EXPECT_EQ(Shown(), "b");
    EXPECT_TRUE(log.aHeard.empty());
    ASSERT_TRUE(pTab->RemoveAt(0));
    EXPECT_EQ(Shown(), "d");
    ASSERT_TRUE(pTab->Remove(d));
    EXPECT_EQ(pTab->GetCurSel(), -1);
    EXPECT_FALSE(pTab->Remove(NULL));
    EXPECT_FALSE(pTab->RemoveAt(0));
    // A child that arrives in an empty tab layout becomes current.
    CProbeUI* f = new CProbeUI(L"f");
    pTab->Add(f);
    EXPECT_EQ(pTab->GetCurSel(), 0);
    pTab->RemoveAll();
    EXPECT_EQ(pTab->GetCurSel(), -1);
    EXPECT_EQ(pTab->GetCount(), 0);
    EXPECT_TRUE(log.aHeard.empty());
}

TEST_F(TabLayout, AHiddenChildArrivingFirstIsNotCurrent)
{
    pTab->RemoveAll();
    CProbeUI* d = new CProbeUI(L"d");
    d->SetVisible(false);
    pTab->Add(d);
    EXPECT_EQ(pTab->GetCurSel(), -1);
    CProbeUI* e = new CProbeUI(L"e");
    pTab->AddAt(e, 0);
    EXPECT_EQ(pTab->GetCurSel(), 0);
    EXPECT_EQ(pTab->GetItemAt(0), e);
}

TEST_F(TabLayout, AHiddenTabLayoutStillTakesItsFirstChildAsCurrent)
{
    pTab->RemoveAll();
    pTab->SetVisible(false);
    CProbeUI* d = new CProbeUI(L"d");
    CProbeUI* e = new CProbeUI(L"e");
    pTab->Add(d);
    pTab->Add(e);
    EXPECT_EQ(pTab->GetCurSel(), 0);
    pTab->SetVisible(true);
    EXPECT_EQ(Shown(), "d");
}

TEST(TabLayoutSkin, SelectedIdPicksTheTabAndReachesTheContainer)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 100);
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(L"<Window><TabLayout selectedid=\"1\" inset=\"4,4,4,4\"><Control name=\"one\"/>"
                                       L"<Control name=\"two\"/><Control name=\"three\"/></TabLayout></Window>",
                                       NULL, NULL, &pm);
    ASSERT_NE(pRoot, nullptr);
    pm.AttachDialog(pRoot);
    RepaintNow(wnd);
    CTabLayoutUI* pTab = static_cast<CTabLayoutUI*>(pRoot->GetInterface(L"TabLayout"));
    ASSERT_NE(pTab, nullptr);
    EXPECT_STREQ(pTab->GetClass(), L"TabLayoutUI");
    EXPECT_EQ(pTab->GetCurSel(), 1);
    EXPECT_FALSE(pm.FindControl(L"one")->IsVisible());
    EXPECT_TRUE(pm.FindControl(L"two")->IsVisible());
    EXPECT_FALSE(pm.FindControl(L"three")->IsVisible());
    EXPECT_EQ(RectText(pm.FindControl(L"two")->GetPos()), "4,4,196,96");
    EXPECT_EQ(RectText(pTab->GetInset()), "4,4,4,4");
}

} // namespace
