// The tile layout: columns from the item width or the column count, rows as
// tall as their tallest child within that child's own limits, children
// centred in their cells, and the vertical bar for rows beyond the bottom.
#include "controls/TileLayoutUI.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "RectText.h"
#include "TestControls.h"
#include "controls/ScrollBarUI.h"
#include "core/DialogBuilder.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

struct TileCase
{
    const char* pstrName;
    const wchar_t* pstrLayout;
    int cx;
    // Each child's attributes and the rectangle it gets.
    std::vector<std::pair<const wchar_t*, const char*>> children;
    int nColumns;  // as the layout reports them afterwards
};

TEST(TileLayout, ChildrenGetTheirCells)
{
    const TileCase cases[] = {
        // 350 / 100 gives 3 columns of 350 / 3 = 116; fixed sizes are centred in them.
        {"item width", L"itemsize=\"100,40\"", 350,
         {{L"width=\"100\" height=\"20\"", "8,0,108,20"},
          {L"width=\"100\" height=\"20\"", "124,0,224,20"},
          {L"width=\"100\" height=\"20\"", "240,0,340,20"},
          {L"width=\"100\" height=\"20\"", "8,20,108,40"}},
         3},
        {"column count", L"columns=\"2\"", 350,
         {{L"height=\"20\"", "0,0,175,20"}, {L"height=\"20\"", "175,0,350,20"}, {L"height=\"20\"", "0,20,175,40"}},
         2},
        // The row is as tall as its tallest child; the others are centred in it.
        {"row height", L"columns=\"2\"", 200,
         {{L"height=\"20\"", "0,5,100,25"}, {L"height=\"30\"", "100,0,200,30"}, {L"height=\"10\"", "0,30,100,40"}},
         2},
        // Each child's own limits, not those of the row's first child.
        {"own limits in the row height", L"columns=\"2\"", 200,
         {{L"height=\"20\" maxheight=\"50\"", "0,5,100,25"}, {L"height=\"90\" maxheight=\"30\"", "100,0,200,30"}},
         2},
        {"own minimum in the row height", L"columns=\"2\"", 200,
         {{L"height=\"20\"", "0,10,100,30"}, {L"minheight=\"40\"", "100,0,200,40"}},
         2},
        {"no columns asked for", L"columns=\"0\"", 100,
         {{L"height=\"20\"", "0,0,100,20"}, {L"height=\"20\"", "0,20,100,40"}}, 1},
        {"negative columns", L"columns=\"-3\"", 100, {{L"height=\"20\"", "0,0,100,20"}}, 1},
        {"items wider than the layout", L"itemsize=\"500,0\"", 100,
         {{L"height=\"20\"", "0,0,100,20"}, {L"height=\"20\"", "0,20,100,40"}}, 1},
        // Half the child padding between neighbours, the whole of it between rows.
        {"child padding", L"columns=\"2\" childpadding=\"10\"", 200,
         {{L"height=\"20\"", "0,0,95,20"}, {L"height=\"20\"", "105,0,200,20"}, {L"height=\"20\"", "0,30,95,50"}},
         2},
        // The row holds the tallest child's margins; a child is centred
        // between its top margin and the row's foot.
        {"padding and inset", L"columns=\"2\" inset=\"10,10,10,10\"", 220,
         {{L"height=\"20\" padding=\"5,5,5,5\"", "15,17,105,37"}, {L"height=\"10\"", "110,20,210,30"}},
         2},
        {"floating and hidden children", L"columns=\"2\"", 200,
         {{L"float=\"true\" pos=\"1,2,11,12\"", "1,2,11,12"}, {L"visible=\"false\" height=\"20\"", "0,0,0,0"},
          {L"height=\"20\"", "0,0,100,20"}, {L"height=\"20\"", "100,0,200,20"}},
         2},
    };
    for (const TileCase& c : cases) {
        SCOPED_TRACE(c.pstrName);
        CTileLayoutUI layout;
        layout.ApplyAttributeList(c.pstrLayout);
        for (const auto& child : c.children) {
            CControlUI* pChild = new CControlUI;
            pChild->ApplyAttributeList(child.first);
            layout.Add(pChild);
        }
        layout.SetPos(RECT{0, 0, c.cx, 300});
        for (int i = 0; i < layout.GetCount(); i++) {
            EXPECT_EQ(RectText(layout.GetItemAt(i)->GetPos()), c.children[i].second) << "child " << i;
        }
        EXPECT_EQ(layout.GetColumns(), c.nColumns);
    }
}

TEST(TileLayout, SettersKeepTheirValues)
{
    CTileLayoutUI layout;
    layout.SetColumns(4);
    layout.SetColumns(0);
    layout.SetColumns(-1);
    EXPECT_EQ(layout.GetColumns(), 4);
    layout.SetItemSize(SIZE{30, 40});
    EXPECT_EQ(layout.GetItemSize().cx, 30);
    EXPECT_EQ(layout.GetItemSize().cy, 40);
    EXPECT_STREQ(layout.GetClass(), L"TileLayoutUI");
    EXPECT_EQ(layout.GetInterface(L"TileLayout"), &layout);
    EXPECT_NE(layout.GetInterface(L"IContainer"), nullptr);
    // Without children there is nothing to count.
    layout.SetPos(RECT{0, 0, 300, 100});
    EXPECT_EQ(layout.GetColumns(), 4);
}

// A child whose height depends on the width it is offered.
struct CWrapProbe : CProbeUI
{
    SIZE EstimateSize(SIZE szAvailable) override { return SIZE{0, szAvailable.cx < 90 ? 40 : 20}; }
};

TEST(TileLayout, RowHeightsAskForTheWidthTheChildrenGet)
{
    CTileLayoutUI layout;
    layout.ApplyAttributeList(L"columns=\"2\" childpadding=\"20\"");
    // 100-pixel columns less half the padding: 90 each, so one line.
    layout.Add(new CWrapProbe);
    layout.Add(new CWrapProbe);
    layout.SetPos(RECT{0, 0, 200, 100});
    EXPECT_EQ(RectText(layout.GetItemAt(0)->GetPos()), "0,0,90,20");
    EXPECT_EQ(RectText(layout.GetItemAt(1)->GetPos()), "110,0,200,20");
    // A margin makes the first narrower and taller: the row grows with it.
    layout.GetItemAt(0)->SetPadding(RECT{4, 0, 0, 0});
    layout.SetPos(RECT{0, 0, 200, 100});
    EXPECT_EQ(RectText(layout.GetItemAt(0)->GetPos()), "4,0,90,40");
    EXPECT_EQ(RectText(layout.GetItemAt(1)->GetPos()), "110,10,200,30");
}

TEST(TileLayout, RowsBeyondTheBottomShowTheVerticalBar)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 100);
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(L"<Window><TileLayout itemsize=\"50,0\" vscrollbar=\"true\" "
                                       L"vscrollbarstyle=\"width=&quot;10&quot;\"/></Window>",
                                       NULL, NULL, &pm);
    ASSERT_NE(pRoot, nullptr);
    CTileLayoutUI* pTile = static_cast<CTileLayoutUI*>(pRoot->GetInterface(L"TileLayout"));
    ASSERT_NE(pTile, nullptr);
    for (int i = 0; i < 20; i++) {
        CControlUI* pChild = new CControlUI;
        pChild->SetFixedHeight(20);
        pTile->Add(pChild);
    }
    pm.AttachDialog(pTile);
    RepaintNow(wnd);
    // 190 pixels beside the bar give 3 columns; 7 rows of 20 need 140.
    CScrollBarUI* pBar = pTile->GetVerticalScrollBar();
    ASSERT_NE(pBar, nullptr);
    EXPECT_TRUE(pBar->IsVisible());
    EXPECT_EQ(pTile->GetColumns(), 3);
    EXPECT_EQ(pBar->GetScrollRange(), 40);
    EXPECT_EQ(RectText(pTile->GetItemAt(19)->GetPos()), "63,120,126,140");
    pTile->EndDown();
    EXPECT_EQ(RectText(pTile->GetItemAt(19)->GetPos()), "63,80,126,100");
    pTile->SetPos(pTile->GetPos());
    EXPECT_EQ(RectText(pTile->GetItemAt(19)->GetPos()), "63,80,126,100");
}

} // namespace
