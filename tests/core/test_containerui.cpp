// The container: its child list and what it refuses, how removed children
// leave the window, searches and hit tests, relative floating children,
// visibility passed on, and painting under clipping.
#include "controls/ContainerUI.h"

#include <gtest/gtest.h>

#include <string>

#include "PixelCanvas.h"
#include "RectText.h"
#include "TestControls.h"
#include "controls/HorizontalLayoutUI.h"
#include "controls/ScrollBarUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

// The children's names in order.
std::wstring Names(const CContainerUI& container)
{
    std::wstring s;
    for (int i = 0; i < container.GetCount(); i++) s += container.GetItemAt(i)->GetName().GetData();
    return s;
}

// A list item, for FindSelectable.
struct CItemProbe : CProbeUI
{
    using CProbeUI::CProbeUI;
    void* GetInterface(const wchar_t* pstrName) override
    {
        return wcscmp(pstrName, L"ListItem") == 0 ? this : CProbeUI::GetInterface(pstrName);
    }
};

TEST(ContainerChildren, RefusesWhatWouldLoseADoubleOrACycle)
{
    CContainerUI outer;
    CContainerUI* pInner = new CContainerUI;
    ASSERT_TRUE(outer.Add(pInner));
    CProbeUI *a = new CProbeUI(L"a"), *b = new CProbeUI(L"b"), *c = new CProbeUI(L"c");
    ASSERT_TRUE(pInner->Add(a) && pInner->Add(b));
    EXPECT_EQ(a->GetParent(), pInner);  // linked without a manager too

    EXPECT_FALSE(pInner->Add(NULL));
    EXPECT_FALSE(pInner->Add(a));
    EXPECT_FALSE(pInner->AddAt(b, 0));
    EXPECT_FALSE(pInner->Add(pInner));
    EXPECT_FALSE(pInner->Add(&outer));
    EXPECT_FALSE(pInner->AddAt(c, 3));
    EXPECT_FALSE(pInner->AddAt(c, -1));
    EXPECT_EQ(Names(*pInner), L"ab");
    EXPECT_TRUE(pInner->AddAt(c, 0));
    EXPECT_EQ(Names(*pInner), L"cab");

    // The index is checked before the child leaves its place.
    EXPECT_FALSE(pInner->SetItemIndex(c, 3));
    EXPECT_FALSE(pInner->SetItemIndex(c, -1));
    EXPECT_EQ(Names(*pInner), L"cab");
    EXPECT_TRUE(pInner->SetItemIndex(c, 2));
    EXPECT_EQ(Names(*pInner), L"abc");
    EXPECT_FALSE(pInner->SetItemIndex(&outer, 0));

    EXPECT_FALSE(pInner->Remove(&outer));
    EXPECT_FALSE(pInner->RemoveAt(3));
    EXPECT_EQ(pInner->GetItemAt(3), nullptr);
    EXPECT_EQ(pInner->GetItemIndex(b), 1);
    EXPECT_EQ(pInner->GetItemIndex(&outer), -1);
    EXPECT_EQ(pInner->GetInterface(L"IContainer"), static_cast<void*>(static_cast<IContainerUI*>(pInner)));
    EXPECT_EQ(pInner->GetInterface(L"Container"), static_cast<void*>(pInner));
    EXPECT_EQ(pInner->GetInterface(L"Control"), static_cast<void*>(static_cast<CControlUI*>(pInner)));
}

// A container in a window with the probes a (a tab stop), b and c.
struct ManagedContainer : ::testing::Test
{
    ManagedContainer() : wnd(pm, 200, 100)
    {
        for (CProbeUI* p : {a, b, c}) {
            p->pnDestroyed = &nDestroyed;
            pRoot->Add(p);
        }
        pm.AttachDialog(pRoot);
        RepaintNow(wnd);
    }
    int nDestroyed = 0;  // counted while the manager deletes the tree
    CPaintManagerUI pm;
    CHostWindow wnd;
    CContainerUI* pRoot = new CContainerUI;
    CProbeUI* a = new CProbeUI(L"a", CTLFLAG_TABSTOP);
    CProbeUI* b = new CProbeUI(L"b");
    CProbeUI* c = new CProbeUI(L"c");
};

TEST_F(ManagedContainer, RemovedChildrenLeaveTheWindowBeforeTheyGo)
{
    a->SetFocus();
    ASSERT_EQ(pm.GetFocus(), a);
    ASSERT_EQ(pm.FindControl(L"a"), a);
    ASSERT_TRUE(pRoot->Remove(a));
    // Delayed: still alive, but out of the tree and forgotten by the window.
    EXPECT_EQ(nDestroyed, 0);
    EXPECT_EQ(a->GetParent(), nullptr);
    EXPECT_EQ(pm.GetFocus(), nullptr);
    EXPECT_EQ(pm.FindControl(L"a"), nullptr);
    PumpMessages();
    EXPECT_EQ(nDestroyed, 1);

    // Without auto destroy the caller gets the child back, unlinked.
    pRoot->SetAutoDestroy(false);
    ASSERT_TRUE(pRoot->Remove(b));
    EXPECT_EQ(b->GetParent(), nullptr);
    EXPECT_EQ(b->GetManager(), nullptr);
    EXPECT_EQ(pm.FindControl(L"b"), nullptr);
    PumpMessages();
    EXPECT_EQ(nDestroyed, 1);
    delete b;
    EXPECT_EQ(nDestroyed, 2);

    pRoot->SetAutoDestroy(true);
    pRoot->SetDelayedDestroy(false);
    ASSERT_TRUE(pRoot->RemoveAt(0));
    EXPECT_EQ(nDestroyed, 3);
    EXPECT_EQ(pRoot->GetCount(), 0);
    EXPECT_TRUE(pRoot->IsUpdateNeeded());
}

TEST_F(ManagedContainer, RemoveAllAndTheDestructorDeleteEveryChild)
{
    pRoot->RemoveAll();
    EXPECT_EQ(pRoot->GetCount(), 0);
    EXPECT_EQ(nDestroyed, 0);
    PumpMessages();
    EXPECT_EQ(nDestroyed, 3);

    // A container going away takes its children with it at once.
    CContainerUI* pInner = new CContainerUI;
    pRoot->Add(pInner);
    for (int i = 0; i < 3; i++) {
        CProbeUI* p = new CProbeUI;
        p->pnDestroyed = &nDestroyed;
        pInner->Add(p);
    }
    pRoot->SetDelayedDestroy(false);
    pRoot->Remove(pInner);
    EXPECT_EQ(nDestroyed, 6);
}

TEST_F(ManagedContainer, SubControlsAreFoundByNameThroughTheManagerOnly)
{
    EXPECT_EQ(pRoot->FindSubControl(L"B"), b);
    EXPECT_TRUE(pRoot->SetSubControlText(L"b", L"text"));
    EXPECT_EQ(pRoot->GetSubControlText(L"b"), L"text");
    EXPECT_TRUE(pRoot->SetSubControlFixedHeight(L"b", 12));
    EXPECT_TRUE(pRoot->SetSubControlFixedWdith(L"b", 13));
    EXPECT_TRUE(pRoot->SetSubControlUserData(L"b", L"data"));
    EXPECT_EQ(pRoot->GetSubControlFixedHeight(L"b"), 12);
    EXPECT_EQ(pRoot->GetSubControlFixedWdith(L"b"), 13);
    EXPECT_EQ(pRoot->GetSubControlUserData(L"b"), L"data");
    EXPECT_FALSE(pRoot->SetSubControlText(L"none", L"x"));
    EXPECT_EQ(pRoot->GetSubControlFixedHeight(L"none"), -1);
    EXPECT_EQ(pRoot->GetSubControlUserData(L"none"), L"");

    CContainerUI loose;
    CProbeUI* pChild = new CProbeUI(L"child");
    loose.Add(pChild);
    EXPECT_EQ(loose.FindSubControl(L"child"), nullptr);
    EXPECT_FALSE(loose.SetSubControlText(L"child", L"x"));
    EXPECT_EQ(loose.GetSubControlFixedWdith(L"child"), -1);
}

TEST(ContainerSearch, FindSelectableStartsWithinTheListAndFallsBackForward)
{
    CContainerUI list;
    EXPECT_EQ(list.FindSelectable(0, true), -1);
    CItemProbe* aItems[3] = {new CItemProbe, new CItemProbe, new CItemProbe};
    for (CItemProbe* p : aItems) list.Add(p);
    EXPECT_EQ(list.FindSelectable(5, true), 2);
    EXPECT_EQ(list.FindSelectable(-3, true), 0);
    aItems[2]->SetEnabled(false);
    EXPECT_EQ(list.FindSelectable(5, true), -1);
    EXPECT_EQ(list.FindSelectable(5, false), 1);
    aItems[0]->SetVisible(false);
    aItems[1]->SetEnabled(false);
    EXPECT_EQ(list.FindSelectable(2, false), -1);
    aItems[2]->SetEnabled(true);
    EXPECT_EQ(list.FindSelectable(1, false), 2);  // none backward: the first forward from the start
}

CControlUI* CALLBACK MatchName(CControlUI* pControl, void* pData)
{
    return pControl->GetName() == static_cast<const wchar_t*>(pData) ? pControl : NULL;
}

TEST(ContainerSearch, HitTestsSeeFloatingChildrenInTheInsetMargin)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 100, 100);
    CContainerUI* pRoot = new CContainerUI;
    pRoot->SetName(L"root");
    pRoot->SetInset(RECT{10, 10, 10, 10});
    CProbeUI* pFill = new CProbeUI(L"fill");
    CProbeUI* pCorner = new CProbeUI(L"corner");
    pCorner->ApplyAttributeList(L"float=\"true\" pos=\"0,0,10,10\"");
    // A floating row in the bottom margin: its own children do not float.
    CHorizontalLayoutUI* pRow = new CHorizontalLayoutUI;
    pRow->ApplyAttributeList(L"float=\"true\" pos=\"0,-11,100,-1\"");
    CProbeUI* pInRow = new CProbeUI(L"inrow");
    pRow->Add(pInRow);
    for (CControlUI* p : {static_cast<CControlUI*>(pFill), static_cast<CControlUI*>(pCorner),
                          static_cast<CControlUI*>(pRow)}) {
        pRoot->Add(p);
    }
    pm.AttachDialog(pRoot);
    RepaintNow(wnd);
    ASSERT_EQ(RectText(pRow->GetPos()), "0,89,100,99");
    // A non-floating child that reaches into the margin is not found there.
    pFill->SetPos(RECT{0, 0, 100, 100});

    struct { POINT pt; const wchar_t* pstrFound; } rows[] = {
        {{50, 50}, L"fill"}, {{5, 5}, L"corner"}, {{50, 5}, L"root"}, {{50, 95}, L"inrow"}, {{150, 50}, NULL},
    };
    for (const auto& row : rows) {
        CControlUI* pFound = pm.FindControl(row.pt);
        EXPECT_STREQ(pFound != NULL ? pFound->GetName().GetData() : NULL, row.pstrFound)
            << row.pt.x << "," << row.pt.y;
    }
    // With mouse children off, the container answers for all of its inside.
    pRoot->SetMouseChildEnabled(false);
    EXPECT_EQ(pm.FindControl(POINT{50, 50}), pRoot);
    pRoot->SetMouseChildEnabled(true);

    // An enabled-only search skips a disabled container's whole subtree.
    pRow->SetEnabled(false);
    EXPECT_TRUE(pInRow->IsEnabled());
    EXPECT_EQ(pRoot->FindControl(MatchName, const_cast<wchar_t*>(L"inrow"), FINDFLAG_ENABLED), nullptr);
    EXPECT_EQ(pRoot->FindControl(MatchName, const_cast<wchar_t*>(L"inrow"), FINDFLAG_ANY), pInRow);
}

TEST(ContainerPlacement, RelativeFloatingChildrenDoNotDriftOverManyResizes)
{
    CPaintManagerUI pm;  // no window: placement only
    CContainerUI stepped, once;
    for (CContainerUI* pContainer : {&stepped, &once}) {
        CControlUI* pChild = new CControlUI;
        pChild->ApplyAttributeList(L"float=\"true\" pos=\"10,10,40,30\" relativepos=\"33,50,33,50\"");
        pContainer->Add(pChild);
        pContainer->SetManager(&pm, NULL, false);
        pContainer->SetPos(RECT{0, 0, 200, 100});
    }
    for (int cx = 201; cx <= 500; cx++) stepped.SetPos(RECT{0, 0, cx, 100 + cx});
    once.SetPos(RECT{0, 0, 500, 600});
    const CControlUI* pStepped = stepped.GetItemAt(0);
    EXPECT_EQ(RectText(pStepped->GetPos()), RectText(once.GetItemAt(0)->GetPos()));
    EXPECT_EQ(RectText(pStepped->GetPos()), "109,260,238,530");
    EXPECT_EQ(pStepped->GetFixedXY().cx, 10);
    EXPECT_EQ(pStepped->GetFixedWidth(), 30);

    // Counted from the right and bottom edges; non-floating children fill the inner area.
    CContainerUI box;
    CControlUI* pCorner = new CControlUI;
    pCorner->ApplyAttributeList(L"float=\"true\" pos=\"-30,-20,-10,-5\"");
    CControlUI* pFill = new CControlUI;
    box.Add(pCorner);
    box.Add(pFill);
    box.SetInset(RECT{1, 2, 3, 4});
    box.SetPos(RECT{0, 0, 100, 50});
    EXPECT_EQ(RectText(pCorner->GetPos()), "70,30,90,45");
    EXPECT_EQ(RectText(pFill->GetPos()), "1,2,97,46");
}

// The horizontal bar's helper, reachable from a layout of the test's own.
struct CWideLayout : CContainerUI
{
    using CContainerUI::ProcessHorizontalScrollBar;
};

TEST(ContainerPlacement, TheHorizontalBarComesRangesAndGoesWithTheContentsWidth)
{
    CWideLayout box;
    EXPECT_FALSE(box.ProcessHorizontalScrollBar(300, 200));  // no bar, nothing to show
    box.EnableScrollBar(false, true);
    CScrollBarUI* pBar = box.GetHorizontalScrollBar();
    pBar->SetVisible(false);

    EXPECT_FALSE(box.ProcessHorizontalScrollBar(200, 200));
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_TRUE(box.ProcessHorizontalScrollBar(300, 200));
    EXPECT_TRUE(pBar->IsVisible());
    EXPECT_EQ(pBar->GetScrollRange(), 100);
    EXPECT_EQ(pBar->GetScrollPos(), 0);

    // While it stays, only the range changes; the bar keeps the position within it.
    pBar->SetScrollPos(60);
    EXPECT_FALSE(box.ProcessHorizontalScrollBar(280, 200));
    EXPECT_EQ(pBar->GetScrollRange(), 80);
    EXPECT_EQ(pBar->GetScrollPos(), 60);
    EXPECT_FALSE(box.ProcessHorizontalScrollBar(250, 200));
    EXPECT_EQ(pBar->GetScrollPos(), 50);

    EXPECT_TRUE(box.ProcessHorizontalScrollBar(120, 200));
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_EQ(pBar->GetScrollRange(), 0);
    EXPECT_EQ(pBar->GetScrollPos(), 0);
    // Shown again, it starts at the left.
    EXPECT_TRUE(box.ProcessHorizontalScrollBar(2000000000, -2000000000));
    EXPECT_EQ(pBar->GetScrollRange(), INT_MAX);
    EXPECT_EQ(pBar->GetScrollPos(), 0);
}

TEST(ContainerVisibility, HiddenContainersHideTheirChildrenUntilShown)
{
    CPaintManagerUI pm;  // outlives the box, which reaps through it
    CContainerUI box;
    box.SetVisible(false);
    CProbeUI* pChild = new CProbeUI;
    box.Add(pChild);
    EXPECT_FALSE(pChild->IsVisible());
    box.SetVisible(true);
    EXPECT_TRUE(pChild->IsVisible());

    box.EnableScrollBar(true, true);
    box.SetMouseEnabled(false);
    EXPECT_FALSE(box.GetVerticalScrollBar()->IsMouseEnabled());
    EXPECT_FALSE(box.GetHorizontalScrollBar()->IsMouseEnabled());
    EXPECT_TRUE(box.GetHorizontalScrollBar()->IsHorizontal());
    box.SetManager(&pm, NULL, false);
    EXPECT_EQ(box.GetVerticalScrollBar()->GetManager(), &pm);
    EXPECT_EQ(box.GetVerticalScrollBar()->GetOwner(), &box);
    box.ApplyAttributeList(L"vscrollbar=\"false\"");
    EXPECT_EQ(box.GetVerticalScrollBar(), nullptr);
    EXPECT_NE(box.GetHorizontalScrollBar(), nullptr);
}

TEST(ContainerAttributes, BarsTakeTheirStyleAndTheDefaultLists)
{
    CPaintManagerUI pm;
    pm.AddDefaultAttributeList(L"VScrollBar", L"width=\"12\" linesize=\"3\"");
    CContainerUI box;
    box.SetManager(&pm, NULL, false);
    box.ApplyAttributeList(L"inset=\"1,2,3,4\" childpadding=\"6\" mousechild=\"false\" vscrollbar=\"true\"");
    EXPECT_EQ(RectText(box.GetInset()), "1,2,3,4");
    EXPECT_EQ(box.GetChildPadding(), 6);
    EXPECT_FALSE(box.IsMouseChildEnabled());
    ASSERT_NE(box.GetVerticalScrollBar(), nullptr);
    EXPECT_EQ(box.GetVerticalScrollBar()->GetFixedWidth(), 12);
    EXPECT_EQ(box.GetVerticalScrollBar()->GetLineSize(), 3);
    EXPECT_EQ(box.GetHorizontalScrollBar(), nullptr);
    box.SetAttribute(L"hscrollbarstyle", L"height=\"9\" linesize=\"5\"");
    ASSERT_NE(box.GetHorizontalScrollBar(), nullptr);
    EXPECT_NE(box.GetVerticalScrollBar(), nullptr);
    EXPECT_EQ(box.GetHorizontalScrollBar()->GetFixedHeight(), 9);
    EXPECT_EQ(box.GetHorizontalScrollBar()->GetLineSize(), 5);
}

TEST(ContainerPaint, ChildrenPaintInsideTheInsetAndFloatingOnesInTheMargin)
{
    CPaintManagerUI pm;
    CContainerUI box;
    box.SetBkColor(0xFF00FF00);
    box.SetInset(RECT{10, 10, 10, 10});
    CControlUI* pFill = new CControlUI;
    pFill->SetBkColor(0xFFFF0000);
    CControlUI* pCorner = new CControlUI;
    pCorner->ApplyAttributeList(L"float=\"true\" pos=\"0,0,10,10\" bkcolor=\"#FF0000FF\"");
    CControlUI* pHidden = new CControlUI;
    pHidden->ApplyAttributeList(L"visible=\"false\" bkcolor=\"#FF000000\"");
    for (CControlUI* p : {pFill, pCorner, pHidden}) box.Add(p);
    box.EnableScrollBar(true, false);
    box.SetManager(&pm, NULL, false);
    box.SetPos(RECT{0, 0, 60, 60});
    pFill->SetPos(RECT{0, 0, 60, 60});  // reaches into the margin
    pHidden->SetPos(RECT{0, 0, 60, 60});
    box.GetVerticalScrollBar()->SetPos(RECT{34, 0, 50, 60});

    PixelCanvas canvas(70, 70);
    box.DoPaint(canvas.DC(), canvas.Rect());
    struct { int x, y; uint32_t rgb; } probes[] = {
        {20, 20, 0xFF0000}, {5, 5, 0x0000FF}, {5, 30, 0x00FF00}, {30, 55, 0x00FF00}, {65, 65, 0xFFFFFF},
        {34, 5, 0x85E4FF},  // the frame of the bar's first button, over the margin
    };
    for (const auto& p : probes) EXPECT_EQ(canvas.Rgb(p.x, p.y), p.rgb) << p.x << "," << p.y;

    // Painting only the margin still paints the floating child there.
    canvas.Fill(0xFFFFFFFF);
    box.DoPaint(canvas.DC(), RECT{0, 0, 10, 10});
    EXPECT_EQ(canvas.Rgb(5, 5), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(20, 20), 0xFFFFFFu);
}

} // namespace
