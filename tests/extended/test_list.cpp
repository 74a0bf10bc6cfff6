// The list family: the protocol's record and words, children routed and
// numbered with the selection and expanded item kept on their items, clicks,
// keys and the wheel in a real window, rows and columns where the layout puts
// them, the header's separator, state colours read from pixels, cells from
// the text callback with their links, sorting, and the builder's vocabulary.
#include "extended/ListUI.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../core/ControlWindow.h"
#include "../core/RectText.h"
#include "ItemRemover.h"
#include "controls/ScrollBarUI.h"
#include "core/DialogBuilder.h"
#include "core/RenderEngine.h"
#include "extended/ListBodyUI.h"
#include "extended/ListContainerElementUI.h"
#include "extended/ListElementUI.h"
#include "extended/ListHeaderItemUI.h"
#include "extended/ListHeaderUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

// An item of a program's own making that can expand.
struct CFoldingItem : CListContainerElementUI
{
    bool Expand(bool bExpand) override { return bOpen = bExpand, true; }
    bool bOpen = false;
};

// A row that counts its paints, and how often a walk over the rows looks at it.
struct CCountedRow : CListLabelElementUI
{
    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        ++nPaint;
        CListLabelElementUI::DoPaint(hDC, rcPaint);
    }
    bool IsVisible() const override { return ++nVisits > 0 && CListLabelElementUI::IsVisible(); }
    int nPaint = 0;
    mutable int nVisits = 0;
};

CListLabelElementUI* Label(const wchar_t* pstrText)
{
    CListLabelElementUI* p = new CListLabelElementUI;
    p->SetText(pstrText);
    return p;
}

IListItemUI* Item(CControlUI* p) { return static_cast<IListItemUI*>(p->GetInterface(L"ListItem")); }

// A row's cell in a column.
RECT Cell(const RECT& rcColumn, const CControlUI* pRow)
{
    return RECT{rcColumn.left, pRow->GetPos().top, rcColumn.right, pRow->GetPos().bottom};
}

// A text row whose link rectangles can be read.
struct CLinkRow : CListTextElementUI
{
    const RECT& LinkRect(int i) const { return m_pLinks->rc[i]; }
};

// The items' texts in order, each followed by its index where that differs from its position.
std::wstring Order(CListUI& list)
{
    std::wstring s;
    for (int i = 0; i < list.GetCount(); i++) {
        s += list.GetItemAt(i)->GetText().GetData();
        if (Item(list.GetItemAt(i))->GetIndex() != i) s += L"?";
    }
    return s;
}

// Notifications as "type w l", the focus and timer traffic left out.
struct CHeard : INotifyUI
{
    void Notify(tagTNotifyUI& msg) override
    {
        if (msg.sNotifyType == L"windowinit" || msg.sNotifyType == L"setfocus" || msg.sNotifyType == L"killfocus")
            return;
        char sz[64];
        snprintf(sz, sizeof(sz), "%ls %d %d", msg.sNotifyType.GetData(), int(msg.wNotifyParam), int(msg.lNotifyParam));
        words.push_back(sz);
        senders.push_back(msg.pSenderControl);
    }
    std::vector<std::string> Take() { return std::exchange(words, {}); }
    std::vector<std::string> words;
    std::vector<CControlUI*> senders;
};

TEST(ListProtocol, TheRecordsDefaultsCopiesAndTheInterfaceWords)
{
    tagTListInfoUI info;
    EXPECT_EQ(info.dwSelectedItemBkColor, 0xFFC1E3FFu);
    EXPECT_EQ(info.dwDisabledItemTextColor, 0xFFCCCCCCu);
    info.sHotItemImage = L"hot.png";
    tagTListInfoUI copy = info;
    copy.sHotItemImage.Empty();
    EXPECT_EQ(info.sHotItemImage, L"hot.png");

    CListUI list;
    EXPECT_EQ(list.CContainerUI::GetCount(), 2);  // the header and the body
    EXPECT_EQ(list.GetItemIndex(list.GetHeader()), 0);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_EQ(list.GetInterface(L"IList"), static_cast<void*>(static_cast<IListUI*>(&list)));
    EXPECT_EQ(list.GetInterface(L"IListOwner"), static_cast<void*>(static_cast<IListOwnerUI*>(&list)));
    CListContainerElementUI box;
    EXPECT_EQ(box.GetInterface(L"ListItem"), static_cast<void*>(static_cast<IListItemUI*>(&box)));
    EXPECT_FALSE(box.Expand(true));
}

TEST(ListChildren, ItemsAreNumberedByPositionAndTheirStateFollowsThem)
{
    CListUI list;
    CListLabelElementUI *a = Label(L"a"), *b = Label(L"b"), *c = Label(L"c"), *d = Label(L"d");
    CFoldingItem* e = new CFoldingItem;
    e->SetText(L"e");
    for (CControlUI* p : {static_cast<CControlUI*>(a), static_cast<CControlUI*>(b), static_cast<CControlUI*>(c),
                          static_cast<CControlUI*>(e)}) {
        ASSERT_TRUE(list.Add(p));
    }
    EXPECT_EQ(a->GetOwner(), static_cast<IListOwnerUI*>(&list));
    ASSERT_TRUE(list.SelectItem(1));
    ASSERT_TRUE(list.ExpandItem(3));
    EXPECT_TRUE(e->bOpen);

    ASSERT_TRUE(list.AddAt(d, 1));
    EXPECT_EQ(Order(list), L"adbce");
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(list.GetExpandedItem(), 4);
    ASSERT_TRUE(list.SetItemIndex(e, 0));
    EXPECT_EQ(Order(list), L"eadbc");
    EXPECT_EQ(list.GetCurSel(), 3);
    EXPECT_EQ(list.GetExpandedItem(), 0);
    ASSERT_TRUE(list.Remove(a));
    EXPECT_EQ(Order(list), L"edbc");
    EXPECT_EQ(list.GetCurSel(), 2);

    // Null controls and an item already held change nothing.
    EXPECT_FALSE(list.Add(NULL));
    EXPECT_FALSE(list.AddAt(NULL, 0));
    EXPECT_FALSE(list.Remove(NULL));
    EXPECT_FALSE(list.SetItemIndex(NULL, 0));
    EXPECT_EQ(list.GetItemIndex(NULL), -1);
    EXPECT_FALSE(list.Add(d));
    EXPECT_FALSE(list.AddAt(b, 0));
    EXPECT_EQ(Order(list), L"edbc");

    ASSERT_TRUE(list.RemoveAt(0));
    EXPECT_EQ(list.GetExpandedItem(), -1);
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetCurSel(), -1);
}

TEST(ListChildren, HeadersAndColumnsGoWhereTheyBelong)
{
    CListUI list;
    CListHeaderUI* pEmpty = new CListHeaderUI;
    ASSERT_TRUE(list.Add(pEmpty));  // an empty header gives way
    EXPECT_EQ(list.GetHeader(), pEmpty);
    EXPECT_EQ(list.CContainerUI::GetCount(), 2);  // the first one went
    EXPECT_FALSE(list.Add(pEmpty));
    CListHeaderItemUI* pColumn = new CListHeaderItemUI;
    ASSERT_TRUE(list.Add(pColumn));
    EXPECT_EQ(pEmpty->GetCount(), 1);
    EXPECT_EQ(list.GetItemIndex(pColumn), 0);
    EXPECT_EQ(list.GetListInfo()->nColumnCount, 1);
    EXPECT_EQ(list.GetCount(), 0);

    // One with columns stays the list's; the new one only sits above it.
    CListHeaderUI* pLater = new CListHeaderUI;
    ASSERT_TRUE(list.Add(pLater));
    EXPECT_EQ(list.GetHeader(), pEmpty);
    EXPECT_EQ(list.GetItemIndex(pLater), 0);

    // A removed header is forgotten: columns have nowhere to go.
    ASSERT_TRUE(list.Remove(pEmpty));
    EXPECT_EQ(list.GetHeader(), nullptr);
    EXPECT_EQ(list.GetListInfo()->nColumnCount, 0);
    CListHeaderItemUI* pLost = new CListHeaderItemUI;
    EXPECT_FALSE(list.Add(pLost));
    delete pLost;
    list.SetAttribute(L"header", L"hidden");
    list.SetPos(RECT{0, 0, 100, 100});
}

// Let go of, an item forgets the list and is deselected; it comes to a list unselected.
TEST(ListChildren, ItemsTheListLetsGoNoLongerPointAtIt)
{
    CListUI list;
    list.GetList()->SetAutoDestroy(false);
    CListLabelElementUI *a = Label(L"a"), *b = Label(L"b");
    list.Add(a);
    list.Add(b);
    list.SelectItem(0);
    ASSERT_TRUE(list.Remove(a));
    EXPECT_EQ(a->GetOwner(), nullptr);
    EXPECT_EQ(a->GetIndex(), -1);
    EXPECT_FALSE(a->IsSelected());
    EXPECT_EQ(b->GetIndex(), 0);
    list.RemoveAll();
    EXPECT_EQ(b->GetOwner(), nullptr);
    EXPECT_EQ(b->GetIndex(), -1);
    EXPECT_FALSE(b->IsSelected());
    CListLabelElementUI* c = Label(L"c");
    list.Add(c);
    list.SelectItem(0);
    ASSERT_TRUE(b->Select(true));
    ASSERT_TRUE(list.AddAt(b, 0));
    EXPECT_TRUE(SelectionAgrees(&list));
    EXPECT_TRUE(b->Select(true));
    EXPECT_EQ(list.GetCurSel(), 0);
    list.RemoveAll();
    // The same when the list goes first.
    CListUI* pGone = new CListUI;
    pGone->GetList()->SetAutoDestroy(false);
    pGone->Add(a);
    delete pGone;
    EXPECT_EQ(a->GetOwner(), nullptr);
    delete a;
    delete b;
    delete c;
}

int CALLBACK ByText(UINT_PTR a, UINT_PTR b, UINT_PTR)
{
    return reinterpret_cast<CControlUI*>(a)->GetText().Compare(reinterpret_cast<CControlUI*>(b)->GetText());
}
int CALLBACK AlwaysBefore(UINT_PTR, UINT_PTR, UINT_PTR) { return -1; }
int CALLBACK AtRandom(UINT_PTR, UINT_PTR, UINT_PTR) { return std::rand() % 3 - 1; }

TEST(ListSort, OrdersRenumbersClearsTheSelectionAndSurvivesBadComparisons)
{
    CListUI list;
    for (const wchar_t* p : {L"3", L"1", L"4", L"0"}) list.Add(Label(p));
    CFoldingItem* pFold = new CFoldingItem;
    pFold->SetText(L"2");
    list.Add(pFold);
    list.SelectItem(1);
    list.ExpandItem(4);
    EXPECT_EQ(list.SortItems(NULL, 0), 0);
    EXPECT_EQ(Order(list), L"31402");
    EXPECT_EQ(list.SortItems(ByText, 0), 1);
    EXPECT_EQ(Order(list), L"01234");
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_EQ(list.GetExpandedItem(), 2);
    for (int i = 0; i < list.GetCount(); i++) EXPECT_FALSE(Item(list.GetItemAt(i))->IsSelected());

    // Whatever a comparison answers, every row stays, once, numbered by its place.
    for (int i = 5; i < 300; i++) list.Add(Label(std::to_wstring(i).c_str()));
    std::set<CControlUI*> rows;
    for (int i = 0; i < list.GetCount(); i++) rows.insert(list.GetItemAt(i));
    for (PFNLISTITEMCOMPARE pfn : {AlwaysBefore, AtRandom}) {
        list.SortItems(pfn, 0);
        std::set<CControlUI*> after;
        for (int i = 0; i < list.GetCount(); i++) {
            after.insert(list.GetItemAt(i));
            EXPECT_EQ(Item(list.GetItemAt(i))->GetIndex(), i);
        }
        EXPECT_EQ(after, rows);
    }
    CListBodyUI orphan(NULL);
    orphan.Add(Label(L"b"));
    orphan.Add(Label(L"a"));
    EXPECT_EQ(orphan.SortItems(ByText, 0), 1);
    EXPECT_EQ(orphan.GetItemAt(0)->GetText(), L"a");
}

// A list filling a window 300 by 200 from a skin, with its notifications heard.
struct ListWindow : ::testing::Test
{
    ListWindow() : wnd(pm, 300, 200) { pm.AddNotifier(&heard); }

    CListUI* Build(const std::wstring& sSkin)
    {
        CDialogBuilder builder;
        CControlUI* pRoot = builder.Create(sSkin.c_str(), NULL, NULL, &pm);
        pList = pRoot != NULL ? static_cast<CListUI*>(pRoot->GetInterface(L"List")) : NULL;
        if (pRoot != NULL) pm.AttachDialog(pRoot);
        RepaintNow(wnd);
        heard.Take();
        return pList;
    }
    // n label rows "0", "1", ... of 20 pixels in a list with the attributes given.
    CListUI* BuildRows(int n, const wchar_t* pstrAttributes = L"")
    {
        std::wstring s = L"<Window><List header=\"hidden\" vscrollbar=\"true\" " + std::wstring(pstrAttributes) + L">";
        for (int i = 0; i < n; i++) s += L"<ListLabelElement height=\"20\" text=\"" + std::to_wstring(i) + L"\"/>";
        return Build(s + L"</List></Window>");
    }
    CControlUI* Row(int i) const { return pList->GetItemAt(i); }
    void Send(UINT uMsg, WPARAM wParam, const RECT& rc)
    {
        ::SendMessageW(wnd, uMsg, wParam, MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    }
    void Click(CControlUI* p)
    {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, p->GetPos());
        Send(WM_LBUTTONUP, 0, p->GetPos());
    }
    void Key(WPARAM vk) { ::SendMessageW(wnd, WM_KEYDOWN, vk, 0); }
    void Wheel(short nDelta)
    {
        POINT pt = {150, 100};
        ::ClientToScreen(wnd, &pt);
        ::SendMessageW(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, nDelta), MAKELPARAM(pt.x, pt.y));
    }
    static void Send(CControlUI* p, int nType, POINT pt = {})
    {
        tagTEventUI event = {};
        event.nEventType = nType;
        event.ptMousePos = pt;
        p->Event(event);
    }
    const PixelCanvas& Snapshot()
    {
        RepaintNow(wnd);
        canvas.Fill(0xFFFFFFFF);
        ::SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CLIENT);
        return canvas;
    }
    // Pixels of the snapshot that are not the white ground.
    int InkedPixels(const RECT& rc)
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; y++)
            for (int x = rc.left; x < rc.right; x++) n += canvas.Rgb(x, y) != 0xFFFFFF ? 1 : 0;
        return n;
    }

    CHeard heard;  // declared first: it outlives the manager
    CPaintManagerUI pm;
    CHostWindow wnd;
    CListUI* pList = NULL;
    PixelCanvas canvas{300, 200};
};

using Words = std::vector<std::string>;

TEST_F(ListWindow, ClicksAndEitherSideSelectOnceAndTheOwnerDecides)
{
    ASSERT_NE(BuildRows(5), nullptr);
    Click(Row(1));
    EXPECT_EQ(heard.Take(), (Words{"itemclick 0 0", "itemselect 1 -1"}));
    Click(Row(1));
    EXPECT_EQ(heard.Take(), Words{"itemclick 0 0"});
    ASSERT_TRUE(Item(Row(3))->Select(true));
    EXPECT_TRUE(pList->SelectItem(3));
    EXPECT_EQ(heard.Take(), Words{"itemselect 3 1"});
    EXPECT_FALSE(Item(Row(1))->IsSelected());

    // Deselected from outside, the item is no longer the list's selection.
    ASSERT_TRUE(Item(Row(3))->Select(false));
    EXPECT_EQ(pList->GetCurSel(), -1);
    // A hidden item is refused and does not stay selected; hiding the selected one deselects it.
    Row(4)->SetVisible(false);
    EXPECT_FALSE(Item(Row(4))->Select(true));
    EXPECT_FALSE(Item(Row(4))->IsSelected());
    EXPECT_FALSE(pList->SelectItem(4));
    pList->SelectItem(2);
    Row(2)->SetVisible(false);
    EXPECT_EQ(pList->GetCurSel(), -1);
    EXPECT_FALSE(Item(Row(2))->IsSelected());
    // A disabled item cannot be selected, but leaves the selection.
    pList->SelectItem(0);
    Row(0)->SetEnabled(false);
    pList->SelectItem(3);
    EXPECT_FALSE(Item(Row(0))->IsSelected());
    Row(0)->SetEnabled(true);
    heard.Take();

    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Row(0)->GetPos());
    Send(WM_LBUTTONUP, 0, Row(0)->GetPos());
    Row(1)->SetEnabled(false);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Row(1)->GetPos());
    Send(WM_LBUTTONUP, 0, Row(1)->GetPos());
    EXPECT_EQ(heard.Take(), Words{"itemactivate 0 0"});
    EXPECT_EQ(heard.senders.back(), Row(0));
}

TEST_F(ListWindow, RemovingTheSelectedItemSelectsItsNeighbour)
{
    BuildRows(5);
    pList->SelectItem(2);
    heard.Take();
    ASSERT_TRUE(pList->RemoveAt(2));
    EXPECT_EQ(pList->GetCurSel(), 2);
    EXPECT_EQ(Row(2)->GetText(), L"3");
    EXPECT_EQ(heard.Take(), Words{"itemselect 2 -1"});
    while (pList->GetCount() > 1) pList->RemoveAt(0);
    pList->SelectItem(0);
    heard.Take();
    pList->RemoveAt(0);
    EXPECT_EQ(pList->GetCurSel(), -1);
    EXPECT_TRUE(heard.Take().empty());
}

// A handler may remove the item its notification is about. The deletion
// waits for the message to end; until then the item is alive, answers for no
// place and is not selected, and the list agrees with the items it has left.
TEST_F(ListWindow, AnItemItsOwnHandlerRemovesLeavesTheListAgreeingWithTheRest)
{
    struct Way
    {
        const char* pstrName;
        std::function<void(ListWindow&)> go;
        std::wstring sLeft;  // the rows left, "*" after the one selected
    };
    const Way ways[] = {
        {"click", [](ListWindow& t) { t.Click(t.Row(2)); }, L"0 1 3* 4"},
        {"Down", [](ListWindow& t) { t.Key(VK_DOWN); }, L"0 2* 3 4"},
        {"End", [](ListWindow& t) { t.Key(VK_END); }, L"0 1 2 3*"},
        {"SelectItem", [](ListWindow& t) { EXPECT_TRUE(t.pList->SelectItem(2)); }, L"0 1 3* 4"},
        {"Select", [](ListWindow& t) { EXPECT_FALSE(Item(t.Row(2))->Select(true)); }, L"0 1 3* 4"},
    };
    auto left = [this] {
        std::wstring s;
        for (int i = 0; i < pList->GetCount(); i++)
            s += (i > 0 ? L" " : L"") + std::wstring(Row(i)->GetText().GetData()) + (Item(Row(i))->IsSelected() ? L"*" : L"");
        return s;
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.pstrName);
        BuildRows(5);
        pList->SelectItem(0, true);
        CItemRemover remover(pList, L"itemselect");
        pm.AddNotifier(&remover);
        way.go(*this);
        pm.RemoveNotifier(&remover);
        EXPECT_TRUE(LeftCleanly(remover, pList));
        EXPECT_EQ(left(), way.sLeft);
    }

    // Each neighbour chosen in turn goes too, until none is left.
    BuildRows(5);
    CItemRemover greedy(pList, L"itemselect", 99);
    pm.AddNotifier(&greedy);
    Click(Row(2));
    pm.RemoveNotifier(&greedy);
    EXPECT_EQ(pList->GetCount(), 0);
    EXPECT_EQ(pList->GetCurSel(), -1);

    // Removed by the handler of its click, or of its activation by a double click or Return.
    for (const wchar_t* pstrType : {L"itemclick", L"itemactivate"}) {
        BuildRows(3);
        pList->SelectItem(1);
        CItemRemover remover(pList, pstrType);
        pm.AddNotifier(&remover);
        Click(Row(0));
        Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Row(0)->GetPos());
        Send(WM_LBUTTONUP, 0, Row(0)->GetPos());
        EXPECT_TRUE(LeftCleanly(remover, pList));
        EXPECT_EQ(left(), L"1* 2");
        remover.nLeft = 1;
        pList->SetFocus();
        Key(VK_RETURN);
        pm.RemoveNotifier(&remover);
        EXPECT_TRUE(SelectionAgrees(pList));
    }
}

TEST_F(ListWindow, KeysMoveTheSelectionAndNeverClearIt)
{
    BuildRows(5);
    Row(4)->SetEnabled(false);
    Click(Row(0));
    const struct { WPARAM vk; int iSel; } steps[] = {
        {VK_UP, 0}, {VK_END, 3}, {VK_DOWN, 3}, {VK_HOME, 0}, {VK_DOWN, 1},
    };
    for (const auto& step : steps) {
        Key(step.vk);
        EXPECT_EQ(pList->GetCurSel(), step.iSel) << "key " << step.vk;
    }
    heard.Take();
    Key(VK_RETURN);
    EXPECT_EQ(heard.Take(), Words{"itemactivate 0 0"});
    EXPECT_EQ(heard.senders.back(), Row(1));
}

TEST_F(ListWindow, TheWheelScrollsOrWithScrollSelectMovesTheSelection)
{
    BuildRows(30);
    const int nLine = pm.GetDefaultFontInfo()->tmMetrics.tmHeight + 8;
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(pList->GetScrollPos().cy, nLine);
    EXPECT_EQ(pList->GetCurSel(), -1);
    pList->HomeUp();
    pList->SetScrollSelect(true);
    pList->SelectItem(9);
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(pList->GetCurSel(), 10);
    // Only as far as the selected row must be seen.
    EXPECT_EQ(Row(10)->GetPos().bottom, 200);
    Wheel(WHEEL_DELTA);
    EXPECT_EQ(pList->GetCurSel(), 9);
    EXPECT_EQ(Row(10)->GetPos().bottom, 200);
}

TEST_F(ListWindow, RowsAndColumnsTakeTheirPlaces)
{
    Build(L"<Window><List childpadding=\"3\"><ListHeader><ListHeaderItem text=\"a\" width=\"150\"/>"
          L"<ListHeaderItem text=\"b\"/></ListHeader><ListTextElement height=\"20\" padding=\"0,4,0,6\"/>"
          L"<ListTextElement height=\"20\"/></List></Window>");
    CListHeaderUI* pHeader = pList->GetHeader();
    const SIZE sz = pHeader->EstimateSize(SIZE{300, 200});
    EXPECT_EQ(sz.cx, 150);
    EXPECT_GE(sz.cy, pm.GetDefaultFontInfo()->tmMetrics.tmHeight + 6);
    const int y = pHeader->GetPos().bottom;
    EXPECT_EQ(RectText(Row(0)->GetPos()), "0," + std::to_string(y + 4) + ",300," + std::to_string(y + 30));
    EXPECT_EQ(Row(1)->GetPos().top, y + 33);
    const tagTListInfoUI& info = *pList->GetListInfo();
    EXPECT_EQ(info.nColumnCount, 2);
    EXPECT_EQ(RectText(info.rcColumns[0]), RectText(pHeader->GetItemAt(0)->GetPos()));
    EXPECT_EQ(RectText(info.rcColumns[1]), "150,0,300," + std::to_string(y));

    // A label row measures its text and the padding, and nothing without an owner.
    CListLabelElementUI* pLabel = Label(L"measured");
    EXPECT_EQ(pLabel->EstimateSize(SIZE{300, 200}).cy, 0);
    pList->Add(pLabel);
    pList->SetItemTextPadding(RECT{5, 1, 7, 2});
    const SIZE szText = CRenderEngine::GetTextSize(pm.GetPaintDC(), &pm, L"measured", -1, DT_SINGLELINE);
    const SIZE szLabel = pLabel->EstimateSize(SIZE{300, 200});
    EXPECT_EQ(szLabel.cx, szText.cx + 12);
    EXPECT_EQ(szLabel.cy, pm.GetDefaultFontInfo()->tmMetrics.tmHeight + 11);
    // The width measured once follows a new text and a new item font.
    pLabel->SetText(L"measured again");
    const SIZE szLonger = CRenderEngine::GetTextSize(pm.GetPaintDC(), &pm, L"measured again", -1, DT_SINGLELINE);
    EXPECT_EQ(pLabel->EstimateSize(SIZE{300, 200}).cx, szLonger.cx + 12);
    pList->SetItemFont(pm.GetFontIndex(pm.AddFont(L"Tahoma", 30, true, false, false)));
    EXPECT_GT(pLabel->EstimateSize(SIZE{300, 200}).cx, szLonger.cx + 12);
}

TEST_F(ListWindow, ColumnsFollowAScrolledOrHiddenHeader)
{
    std::wstring s = L"<Window><List vscrollbar=\"true\" hscrollbar=\"true\"><ListHeader height=\"20\">"
                     L"<ListHeaderItem width=\"200\"/><ListHeaderItem width=\"200\"/><ListHeaderItem width=\"100\"/>"
                     L"</ListHeader>";
    for (int i = 0; i < 20; i++) s += L"<ListTextElement height=\"20\"/>";
    Build(s + L"</List></Window>");
    // Both bars asked for are there; the body scrolls the header's width.
    ASSERT_NE(pList->GetVerticalScrollBar(), nullptr);
    ASSERT_TRUE(pList->GetHorizontalScrollBar()->IsVisible());
    const int cxView = pList->GetList()->GetClientArea().right;
    EXPECT_EQ(pList->GetScrollRange().cx, 500 - cxView);
    const tagTListInfoUI& info = *pList->GetListInfo();
    pList->SetScrollPos(SIZE{50, 0});
    EXPECT_EQ(RectText(info.rcColumns[1]), "150,0,350,20");
    EXPECT_EQ(RectText(pList->GetHeader()->GetItemAt(1)->GetPos()), "150,0,350,20");
    EXPECT_EQ(Row(0)->GetPos().left, -50);

    // A column resized on its own moves the others, scrolled as they were.
    pList->GetHeader()->GetItemAt(0)->SetFixedWidth(100);
    RepaintNow(wnd);
    EXPECT_EQ(RectText(info.rcColumns[1]), "50,0,250,20");
    // Once the columns fit, the bar goes and rows and columns come back to the left edge.
    pList->GetHeader()->GetItemAt(1)->SetFixedWidth(10);
    RepaintNow(wnd);
    EXPECT_FALSE(pList->GetHorizontalScrollBar()->IsVisible());
    EXPECT_EQ(Row(0)->GetPos().left, 0);
    EXPECT_EQ(info.rcColumns[0].left, 0);

    // Hidden columns have no rectangle; a hidden header's columns still span the list.
    pList->GetHeader()->GetItemAt(1)->SetVisible(false);
    pList->SetAttribute(L"header", L"hidden");
    RepaintNow(wnd);
    EXPECT_EQ(RectText(info.rcColumns[1]), "0,0,0,0");
    EXPECT_EQ(RectText(info.rcColumns[2]), "100,0,200,0");
}

TEST_F(ListWindow, TheSeparatorZoneDragsAndTheRestOfTheColumnClicks)
{
    Build(L"<Window><List><ListHeader><ListHeaderItem width=\"100\"/><ListHeaderItem/></ListHeader></List></Window>");
    CListHeaderItemUI* pColumn = static_cast<CListHeaderItemUI*>(pList->GetHeader()->GetItemAt(0));
    const int y = pColumn->GetPos().top + 5;
    // The zone is 96 to 100, and a press counts 4 pixels into the column.
    Send(pColumn, SKIN_EVT_BUTTONDOWN, POINT{91, y});
    Send(pColumn, SKIN_EVT_BUTTONUP, POINT{91, y});
    EXPECT_EQ(heard.Take(), Words{"headerclick 0 0"});
    Send(pColumn, SKIN_EVT_SETCURSOR, POINT{93, y});
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(NULL, IDC_SIZEWE));
    Send(pColumn, SKIN_EVT_BUTTONDOWN, POINT{93, y});
    // Moves before the next layout add up; one below the minimum width is refused.
    Send(pColumn, SKIN_EVT_MOUSEMOVE, POINT{83, y});
    Send(pColumn, SKIN_EVT_MOUSEMOVE, POINT{73, y});
    EXPECT_EQ(pColumn->GetFixedWidth(), 80);
    Send(pColumn, SKIN_EVT_MOUSEMOVE, POINT{0, y});
    EXPECT_EQ(pColumn->GetFixedWidth(), 80);
    Send(pColumn, SKIN_EVT_MOUSEMOVE, POINT{83, y});
    Send(pColumn, SKIN_EVT_BUTTONUP, POINT{83, y});
    EXPECT_EQ(pColumn->GetFixedWidth(), 90);
    EXPECT_TRUE(heard.Take().empty());
    RepaintNow(wnd);
    EXPECT_EQ(pList->GetListInfo()->rcColumns[0].right, 90);

    // At the left edge, a drag to the right narrows the column.
    pColumn->SetSepWidth(-4);
    Send(pColumn, SKIN_EVT_BUTTONDOWN, POINT{6, y});
    Send(pColumn, SKIN_EVT_MOUSEMOVE, POINT{16, y});
    Send(pColumn, SKIN_EVT_BUTTONUP, POINT{16, y});
    EXPECT_EQ(pColumn->GetFixedWidth(), 80);
    // Without a separator, or not dragable, every press clicks and nothing resizes.
    pColumn->SetSepWidth(0);
    EXPECT_EQ(pColumn->GetControlFlags(), 0u);
    Send(pColumn, SKIN_EVT_BUTTONDOWN, POINT{89, y});
    Send(pColumn, SKIN_EVT_MOUSEMOVE, POINT{60, y});
    Send(pColumn, SKIN_EVT_BUTTONUP, POINT{60, y});
    pColumn->SetSepWidth(4);
    pColumn->SetDragable(false);
    ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
    Send(pColumn, SKIN_EVT_SETCURSOR, POINT{88, y});
    EXPECT_NE(::GetCursor(), ::LoadCursorW(NULL, IDC_SIZEWE));
    Send(pColumn, SKIN_EVT_BUTTONDOWN, POINT{88, y});
    Send(pColumn, SKIN_EVT_MOUSEMOVE, POINT{60, y});
    Send(pColumn, SKIN_EVT_BUTTONUP, POINT{60, y});
    EXPECT_EQ(pColumn->GetFixedWidth(), 80);
    EXPECT_EQ(heard.Take(), Words{"headerclick 0 0"});
    pColumn->SetEnabled(false);
    Send(pColumn, SKIN_EVT_BUTTONDOWN, POINT{40, y});
    EXPECT_TRUE(heard.Take().empty());
}

TEST_F(ListWindow, BackgroundsFollowTheStatePrecedence)
{
    BuildRows(6, L"itemaltbk=\"true\" itembkcolor=\"#FF0000FF\" itemhotbkcolor=\"#FF00FF00\" "
                 L"itemselectedbkcolor=\"#FFFF0000\" itemdisabledbkcolor=\"#FF000000\" itemlinecolor=\"#FF00FF00\"");
    Send(Row(2), SKIN_EVT_MOUSEENTER);
    Send(Row(3), SKIN_EVT_MOUSEENTER);
    pList->SelectItem(3);
    Row(4)->SetEnabled(false);
    Snapshot();
    // Even rows blue, odd ones plain, hot green, selected over hot red, disabled dark.
    const int x = 100;
    EXPECT_TRUE(IsBlue(canvas.Rgb(x, 2)));
    EXPECT_EQ(canvas.Rgb(x, 22), 0xFFFFFFu);
    EXPECT_TRUE(IsGreen(canvas.Rgb(x, 42)));
    EXPECT_TRUE(IsRed(canvas.Rgb(x, 62)));
    EXPECT_TRUE(IsDark(canvas.Rgb(x, 82)));
    EXPECT_EQ(canvas.Rgb(x, 102), 0xFFFFFFu);
    EXPECT_TRUE(IsGreen(canvas.Rgb(x, 19)));  // the item line
    Row(3)->SetEnabled(false);
    Snapshot();
    EXPECT_TRUE(IsDark(canvas.Rgb(x, 62)));
}

// Two links in every cell, none in row 1, column 2, which has no text at all;
// when plain, a text in column 0 only.
struct CLinkTexts : IListCallbackUI
{
    const wchar_t* GetCellText(CControlUI*, int iIndex, int iSubItem) override
    {
        if (bPlain) return iSubItem == 0 ? L"WWWW" : NULL;
        if (iIndex == 1 && iSubItem == 2) return NULL;
        return L"{a one}x{/a} {a two}y{/a}";
    }
    bool bPlain = false;
};

TEST_F(ListWindow, CellsComeFromTheCallbackInTheirColumnsWithTheirLinks)
{
    CLinkTexts texts;
    std::wstring s = L"<Window><List itemshowhtml=\"true\"><ListHeader height=\"20\">";
    for (int i = 0; i < 5; i++) s += L"<ListHeaderItem width=\"60\"/>";
    Build(s + L"</ListHeader></List></Window>");
    CLinkRow* pRow = new CLinkRow;
    CLinkRow* pSecond = new CLinkRow;
    pList->Add(pRow);
    pList->Add(pSecond);
    const tagTListInfoUI& info = *pList->GetListInfo();
    // Own texts need a list and a column.
    CListTextElementUI loose;
    loose.SetText(0, L"x");
    EXPECT_EQ(loose.GetText(0), nullptr);
    pRow->SetText(5, L"x");
    pRow->SetText(1, L"own");
    EXPECT_EQ(pRow->GetText(5), nullptr);
    EXPECT_STREQ(pRow->GetText(1), L"own");
    Snapshot();
    EXPECT_GT(InkedPixels(Cell(info.rcColumns[1], pRow)), 0);

    pList->SetTextCallback(&texts);
    Snapshot();
    // Eight links at most across the columns; the callback's null is an empty cell.
    EXPECT_NE(pRow->GetLinkContent(7), nullptr);
    EXPECT_EQ(pRow->GetLinkContent(8), nullptr);
    EXPECT_EQ(*pRow->GetLinkContent(3), L"two");
    EXPECT_EQ(pRow->GetControlFlags(), UINT(CTLFLAG_SETCURSOR | CTLFLAG_LISTITEM));
    EXPECT_EQ(InkedPixels(Cell(info.rcColumns[2], pSecond)), 0);
    EXPECT_GT(InkedPixels(Cell(info.rcColumns[3], pSecond)), 0);

    // The release over a link is a "link" with its index.
    heard.Take();
    const RECT& rcLink = pRow->LinkRect(3);
    Send(pRow, SKIN_EVT_BUTTONUP, POINT{(rcLink.left + rcLink.right) / 2, (rcLink.top + rcLink.bottom) / 2});
    EXPECT_EQ(heard.Take(), Words{"link 3 0"});

    // A hidden column draws nothing, not even where it was; fewer links free the slots.
    texts.bPlain = true;
    pList->GetHeader()->GetItemAt(0)->SetVisible(false);
    Snapshot();
    EXPECT_EQ(RectText(info.rcColumns[0]), "0,0,0,0");
    EXPECT_EQ(InkedPixels(pRow->GetPos()), 0);
    EXPECT_EQ(pRow->GetLinkContent(0), nullptr);
    EXPECT_EQ(pRow->GetControlFlags(), UINT(CTLFLAG_LISTITEM));
}

// A long list paints only the rows in view.
TEST_F(ListWindow, OnlyTheRowsInViewArePainted)
{
    Build(L"<Window><List header=\"hidden\" vscrollbar=\"true\"/></Window>");
    std::vector<CCountedRow*> rows;
    for (int i = 0; i < 5000; i++) {
        rows.push_back(new CCountedRow);
        rows.back()->SetFixedHeight(20);
        pList->Add(rows.back());
    }
    RepaintNow(wnd);
    pList->SelectItem(2500);
    RepaintNow(wnd);
    for (CCountedRow* p : rows) p->nPaint = p->nVisits = 0;
    pList->DoPaint(canvas.DC(), canvas.Rect());
    int nPainted = 0, nVisits = 0;
    for (size_t i = 0; i < rows.size(); i++) {
        const bool bInView = rows[i]->GetPos().bottom > 0 && rows[i]->GetPos().top < 200;
        EXPECT_EQ(rows[i]->nPaint, bInView ? 1 : 0) << "row " << i;
        nPainted += rows[i]->nPaint;
        nVisits += rows[i]->nVisits;
    }
    EXPECT_EQ(nPainted, 10);
    EXPECT_LT(nVisits, 100);
}

TEST(ListBuilder, EveryElementAndAttributeReachesItsControl)
{
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(
        L"<Window><List header=\"hidden\" headerbkimage=\"h.png\" scrollselect=\"true\" multiexpanding=\"true\" "
        L"itemfont=\"2\" itemalign=\"center\" itemendellipsis=\"true\" itemtextpadding=\"1,2,3,4\" "
        L"itemtextcolor=\"#FF000001\" itembkcolor=\"#FF000002\" itembkimage=\"b.png\" itemaltbk=\"true\" "
        L"itemselectedtextcolor=\"#FF000003\" itemselectedbkcolor=\"#FF000004\" itemselectedimage=\"s.png\" "
        L"itemhottextcolor=\"#FF000005\" itemhotbkcolor=\"#FF000006\" itemhotimage=\"o.png\" "
        L"itemdisabledtextcolor=\"#FF000007\" itemdisabledbkcolor=\"#FF000008\" itemdisabledimage=\"d.png\" "
        L"itemlinecolor=\"#FF000009\" itemshowhtml=\"true\" vscrollbar=\"true\" hscrollbar=\"true\">"
        L"<ListHeader><ListHeaderItem text=\"c\" dragable=\"false\" sepwidth=\"-3\" align=\"right\" endellipsis=\"true\" "
        L"font=\"1\" textcolor=\"#FF0A0B0C\" textpadding=\"5,0,6,0\" showhtml=\"true\" normalimage=\"n\" "
        L"hotimage=\"h\" pushedimage=\"p\" focusedimage=\"f\" sepimage=\"s\"/></ListHeader>"
        L"<ListTextElement/><ListLabelElement text=\"x\" selected=\"true\"/>"
        L"<ListContainerElement><Control/></ListContainerElement></List></Window>",
        NULL, NULL, &pm);
    ASSERT_NE(pRoot, nullptr);
    CListUI* pList = static_cast<CListUI*>(pRoot->GetInterface(L"List"));
    ASSERT_NE(pList, nullptr);
    const tagTListInfoUI& info = *pList->GetListInfo();
    EXPECT_FALSE(pList->GetHeader()->IsVisible());
    EXPECT_EQ(pList->GetHeader()->GetBkImage(), L"h.png");
    EXPECT_TRUE(pList->GetScrollSelect());
    EXPECT_TRUE(info.bMultiExpanding);
    EXPECT_EQ(info.nItemFont, 2);
    EXPECT_EQ(info.uItemTextStyle, UINT(DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS));
    EXPECT_EQ(RectText(info.rcItemTextPadding), "1,2,3,4");
    const DWORD colors[] = {info.dwItemTextColor,         info.dwItemBkColor,         info.dwSelectedItemTextColor,
                            info.dwSelectedItemBkColor,   info.dwHotItemTextColor,    info.dwHotItemBkColor,
                            info.dwDisabledItemTextColor, info.dwDisabledItemBkColor, info.dwItemLineColor};
    for (DWORD i = 0; i < 9; i++) EXPECT_EQ(colors[i], 0xFF000001 + i);
    EXPECT_EQ(std::wstring(info.sItemBkImage.GetData()) + info.sSelectedItemImage.GetData() + info.sHotItemImage.GetData() +
                  info.sDisabledItemImage.GetData(),
              L"b.pngs.pngo.pngd.png");
    EXPECT_TRUE(info.bAlternateItemBk && info.bItemShowHtml);
    EXPECT_NE(pList->GetVerticalScrollBar(), nullptr);
    EXPECT_NE(pList->GetHorizontalScrollBar(), nullptr);

    CListHeaderItemUI* pColumn = static_cast<CListHeaderItemUI*>(pList->GetHeader()->GetItemAt(0));
    ASSERT_NE(pColumn, nullptr);
    EXPECT_FALSE(pColumn->IsDragable());
    EXPECT_EQ(pColumn->GetSepWidth(), -3);
    EXPECT_EQ(pColumn->GetTextStyle(), UINT(DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS));
    EXPECT_EQ(pColumn->GetTextColor(), 0xFF0A0B0Cu);
    EXPECT_EQ(RectText(pColumn->GetTextPadding()), "5,0,6,0");
    EXPECT_TRUE(pColumn->IsShowHtml());
    EXPECT_EQ(std::wstring(pColumn->GetNormalImage()) + pColumn->GetHotImage() + pColumn->GetPushedImage() +
                  pColumn->GetFocusedImage() + pColumn->GetSepImage(),
              L"nhpfs");
    ASSERT_EQ(pList->GetCount(), 3);
    EXPECT_STREQ(pList->GetItemAt(0)->GetClass(), L"ListTextElementUI");
    EXPECT_STREQ(pList->GetItemAt(2)->GetClass(), L"ListContainerElementUI");
    EXPECT_EQ(Item(pList->GetItemAt(2))->GetIndex(), 2);
    EXPECT_EQ(pList->GetCurSel(), 1);
    delete pRoot;
}

} // namespace
