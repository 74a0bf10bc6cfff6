// The tree view: rows in depth-first order, numbered, indented and listed by
// their parents after every add, insert and remove; collapse, expand and
// check propagation through real clicks, beside a program's own listeners;
// the node's text colours; and the builder's tree vocabulary.
#include "extended/TreeViewUI.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "../core/CountedControls.h"
#include "../core/PoisonedDelete.h"
#include "ItemRemover.h"
#include "controls/HorizontalLayoutUI.h"
#include "controls/LabelUI.h"
#include "controls/OptionUI.h"
#include "controls/VerticalLayoutUI.h"
#include "core/DialogBuilder.h"
#include "extended/TreeNodeUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

// A node that counts its deletions.
struct CCountedNode : CTreeNodeUI
{
    explicit CCountedNode(const wchar_t* pstrText, int* pnDeleted) : pnDeleted(pnDeleted) { SetItemText(pstrText); }
    ~CCountedNode() override { ++*pnDeleted; }
    int* pnDeleted;
};

CTreeNodeUI* Node(const wchar_t* pstrText, std::initializer_list<CTreeNodeUI*> children = {})
{
    CTreeNodeUI* p = new CTreeNodeUI;
    p->SetItemText(pstrText);
    for (CTreeNodeUI* pChild : children) EXPECT_TRUE(p->AddChildNode(pChild));
    return p;
}

int Depth(const CTreeNodeUI* p)
{
    int n = 0;
    while ((p = p->GetParentNode()) != NULL) n++;
    return n;
}

void Walk(CTreeNodeUI* p, std::vector<CControlUI*>& aOut)
{
    aOut.push_back(p);
    for (int i = 0; i < p->GetCountChild(); i++) Walk(p->GetChildNode(i), aOut);
}

// The rows as "A A1. A1a.. B", a dot per level, once each row is checked:
// numbered by its place, indented by its depth, listed by its parent, and
// all of them in the depth-first order of the hierarchy.
std::wstring Rows(CTreeViewUI& view)
{
    std::wstring s;
    std::vector<CControlUI*> aTree, aRows;
    for (int i = 0; i < view.GetCount(); i++) {
        CTreeNodeUI* p = static_cast<CTreeNodeUI*>(view.GetItemAt(i));
        aRows.push_back(p);
        s += (i > 0 ? L" " : L"") + std::wstring(p->GetItemText().GetData()) + std::wstring(Depth(p), L'.');
        EXPECT_EQ(p->GetIndex(), i);
        EXPECT_EQ(p->GetTreeView(), &view);
        EXPECT_EQ(p->GetDottedLine()->GetFixedWidth(), 2 + 16 * Depth(p)) << i;
        EXPECT_EQ(p->GetDottedLine()->IsVisible(), Depth(p) > 0) << i;
        if (p->GetParentNode() == NULL) Walk(p, aTree);
        else EXPECT_EQ(p->GetParentNode()->GetChildNode(p->GetNodeIndex()), p);
    }
    EXPECT_EQ(aTree, aRows);
    return s;
}

TEST(TreeRows, EveryAddAndInsertKeepsTheSubtreesTogether)
{
    CTreeViewUI view;
    CTreeNodeUI *a1 = Node(L"A1"), *a2 = Node(L"A2"), *a = Node(L"A", {a1, a2}), *b = Node(L"B");
    ASSERT_TRUE(view.Add(a));
    ASSERT_TRUE(view.Add(b));
    EXPECT_EQ(Rows(view), L"A A1. A2. B");
    ASSERT_TRUE(b->AddChildNode(Node(L"C")));
    ASSERT_TRUE(a->AddChildNode(Node(L"A3")));
    ASSERT_TRUE(a->AddAt(Node(L"A0"), 0));
    // Appended after the node's last descendant's row, not before its children's.
    ASSERT_TRUE(a1->AddChildNode(Node(L"A1a")));
    ASSERT_TRUE(a->AddAt(Node(L"A4"), 99));
    EXPECT_EQ(Rows(view), L"A A0. A1. A1a.. A2. A3. A4. B C.");
    // A subtree inserted at an index: all of it, and the index after its last row.
    EXPECT_EQ(view.AddAt(Node(L"X", {Node(L"X1", {Node(L"X1a")}), Node(L"X2")}), 0), 4);
    EXPECT_EQ(view.AddAt(Node(L"Y"), 4), 5);
    // A subtree built bottom-up takes its indentation under its new parent.
    ASSERT_TRUE(a2->AddChildNode(Node(L"P", {Node(L"Q", {Node(L"R")})})));
    EXPECT_EQ(Rows(view), L"X X1. X1a.. X2. Y A A0. A1. A1a.. A2. P.. Q... R.... A3. A4. B C.");

    // Refused: nothing changes, nothing is placed.
    const std::wstring sBefore = Rows(view);
    CTreeNodeUI* pLoose = Node(L"L", {Node(L"L1")});
    EXPECT_FALSE(view.Add(b));                                  // a row already
    EXPECT_EQ(view.AddAt(pLoose, view.GetCount()), -1);         // no row there
    EXPECT_EQ(view.AddAt(static_cast<CTreeNodeUI*>(NULL), 0), -1);
    EXPECT_FALSE(view.Add(pLoose->GetChildNode(0)));            // another node's child
    EXPECT_FALSE(view.AddAt(pLoose, static_cast<CTreeNodeUI*>(NULL)));
    EXPECT_FALSE(b->AddChildNode(a1));                          // a row of the view
    EXPECT_FALSE(pLoose->GetChildNode(0)->AddChildNode(pLoose)); // its own ancestor
    EXPECT_FALSE(b->AddChildNode(NULL));
    EXPECT_EQ(Rows(view), sBefore);
    EXPECT_EQ(a1->GetParentNode(), a);
    CTreeViewUI other;
    EXPECT_FALSE(other.Add(a));
    EXPECT_EQ(other.GetCount(), 0);
    delete pLoose;

    // Colours given to a view before its nodes come reach none of them; the check box flag does.
    CTreeViewUI early;
    early.SetAttribute(L"itemtextcolor", L"#FF102030");
    early.SetAttribute(L"visiblecheckbtn", L"true");
    CTreeNodeUI* e = Node(L"E");
    ASSERT_TRUE(early.Add(e));
    EXPECT_EQ(e->GetItemTextColor(), 0u);
    EXPECT_NE(e->GetItemButton()->GetTextColor(), 0xFF102030u);
    EXPECT_TRUE(e->GetVisibleCheckBtn());
}

TEST(TreeRows, RemovalsTakeWholeBranchesAndLeaveNoStrangers)
{
    int nDeleted = 0;
    auto counted = [&nDeleted](const wchar_t* pstrText) { return new CCountedNode(pstrText, &nDeleted); };
    CTreeViewUI view;
    CTreeNodeUI *a = counted(L"A"), *a1 = counted(L"A1"), *a2 = counted(L"A2"), *b = counted(L"B");
    view.Add(a);
    view.Add(b);
    a->AddChildNode(a1);
    a->AddChildNode(a2);
    a1->AddChildNode(counted(L"A1a"));
    b->AddChildNode(counted(L"B1"));
    ASSERT_EQ(Rows(view), L"A A1. A1a.. A2. B B1.");

    CTreeViewUI other;
    CTreeNodeUI* pElsewhere = Node(L"E");
    other.Add(pElsewhere);
    EXPECT_FALSE(view.Remove(static_cast<CTreeNodeUI*>(NULL)));
    EXPECT_FALSE(view.Remove(pElsewhere));
    EXPECT_FALSE(view.RemoveAt(99));
    // A leaf row goes too, and out of its parent's children.
    ASSERT_TRUE(view.RemoveAt(3));
    EXPECT_EQ(Rows(view), L"A A1. A1a.. B B1.");
    EXPECT_EQ(a->GetCountChild(), 1);
    // A branch holding the selection: the rows after it keep theirs, one move.
    view.SelectItem(2);
    ASSERT_TRUE(view.Remove(a1));
    EXPECT_EQ(Rows(view), L"A B B1.");
    EXPECT_EQ(view.GetCurSel(), 1);
    EXPECT_FALSE(a->IsHasChild());
    EXPECT_EQ(nDeleted, 3);
    // Through the container interface the same.
    IContainerUI& container = view;
    ASSERT_TRUE(container.Remove(b));
    EXPECT_EQ(Rows(view), L"A");
    EXPECT_EQ(nDeleted, 5);

    // Outside a view a node's children are its own.
    CTreeNodeUI* f = counted(L"F");
    CTreeNodeUI* g = counted(L"G");
    f->AddChildNode(g);
    g->AddChildNode(counted(L"H"));
    f->AddChildNode(counted(L"I"));
    ASSERT_TRUE(f->RemoveAt(g));
    EXPECT_EQ(nDeleted, 7);
    delete f;
    EXPECT_EQ(nDeleted, 9);
}

TEST(TreeRows, FreeNodesMayBeDeletedOneByOneOrThroughTheirRoot)
{
    int nDeleted = 0;
    auto counted = [&nDeleted](const wchar_t* pstrText) { return new CCountedNode(pstrText, &nDeleted); };
    CTreeNodeUI *r = counted(L"R"), *r1 = counted(L"R1"), *r2 = counted(L"R2");
    ASSERT_TRUE(r->Add(r1));
    ASSERT_TRUE(r->Add(r2));
    ASSERT_TRUE(r1->Add(counted(L"R1a")));
    // Children first: each leaves its parent, which deletes only what is left.
    delete r1;
    EXPECT_EQ(nDeleted, 2);
    EXPECT_EQ(r->GetCountChild(), 1);
    delete r2;
    EXPECT_FALSE(r->IsHasChild());
    delete r;
    EXPECT_EQ(nDeleted, 4);
    // The root alone takes its subtree.
    r = counted(L"R");
    ASSERT_TRUE(r->Add(counted(L"R1")));
    ASSERT_TRUE(r->GetChildNode(0)->Add(counted(L"R1a")));
    delete r;
    EXPECT_EQ(nDeleted, 7);
}

TEST(TreeRows, NodesLetGoAreFreeAgainAndNodesHeldElsewhereAreRefused)
{
    CTreeViewUI* pOld = new CTreeViewUI;
    pOld->GetList()->SetAutoDestroy(false);
    CTreeNodeUI *a1 = Node(L"A1"), *a = Node(L"A", {a1}), *b = Node(L"B"), *c = Node(L"C"), *d = Node(L"D");
    for (CTreeNodeUI* p : {a, b, c, d}) ASSERT_TRUE(pOld->Add(p));
    ASSERT_TRUE(pOld->Remove(b));
    ASSERT_TRUE(pOld->RemoveAt(0));
    ASSERT_TRUE(static_cast<IContainerUI*>(pOld)->RemoveAt(0));
    pOld->RemoveAll();
    delete pOld;
    // No view, no owner, no hooks; a subtree let go stays whole.
    for (CTreeNodeUI* p : {a, a1, b, c, d}) {
        EXPECT_EQ(p->GetTreeView(), nullptr);
        EXPECT_EQ(p->GetOwner(), nullptr);
        EXPECT_EQ(p->GetIndex(), -1);
    }
    EXPECT_EQ(a1->GetParentNode(), a);
    CTreeViewUI view;
    for (CTreeNodeUI* p : {a, b, c, d}) ASSERT_TRUE(view.Add(p));
    EXPECT_EQ(Rows(view), L"A A1. B C D");
    // Only the new view hears a double click: the folder toggles once.
    tagTNotifyUI msg = {};
    msg.sNotifyType = L"itemdbclick";
    msg.pSenderControl = a;
    a->OnNotify(&msg);
    EXPECT_TRUE(a->GetFolderButton()->IsSelected());
    EXPECT_FALSE(a1->IsVisible());

    // A node another container holds would be deleted by both.
    CVerticalLayoutUI box;
    CTreeNodeUI* pHeld = Node(L"H");
    ASSERT_TRUE(box.Add(pHeld));
    CTreeNodeUI* pFree = Node(L"F");
    EXPECT_FALSE(pFree->Add(pHeld));
    EXPECT_FALSE(pFree->AddAt(pHeld, 0));
    EXPECT_FALSE(b->AddChildNode(pHeld));
    EXPECT_FALSE(view.Add(pHeld));
    EXPECT_EQ(view.AddAt(pHeld, 0), -1);
    EXPECT_EQ(view.GetCount(), 5);
    EXPECT_FALSE(pFree->IsHasChild());
    EXPECT_EQ(pHeld->GetParentNode(), nullptr);
    delete pFree;
}

// Row 0 is a row like any other; a parent given to the constructor indents
// the node but is not read until it lists the node; a node's own container
// operations take its child nodes, never its row.
TEST(TreeRows, RowZeroParentsGoneFirstAndANodesOwnRemovals)
{
    CTreeViewUI view;
    CTreeNodeUI *c1 = Node(L"C1"), *c2 = Node(L"C2"), *p = Node(L"P", {c1, c2});
    ASSERT_TRUE(view.Add(p));
    ASSERT_TRUE(view.SetItemIndex(c1, 0));
    CTreeNodeUI* n = Node(L"N");
    ASSERT_TRUE(p->AddAt(n, 0));
    EXPECT_EQ(view.GetItemIndex(n), 0);
    EXPECT_EQ(p->GetChildNode(0), n);
    EXPECT_EQ(n->GetParentNode(), p);

    using CGoneNode = CPoisonedOnDelete<CTreeNodeUI>;
    CTreeNodeUI* pGone = new CGoneNode;
    CTreeNodeUI* pDeleted = new CTreeNodeUI(pGone);
    CTreeNodeUI* pAdded = new CTreeNodeUI(pGone);
    EXPECT_EQ(pAdded->GetParentNode(), nullptr);
    EXPECT_EQ(pAdded->GetDottedLine()->GetFixedWidth(), 18);
    EXPECT_TRUE(pAdded->GetDottedLine()->IsVisible());
    delete pGone;
    delete pDeleted;
    CTreeViewUI other;
    EXPECT_TRUE(other.Add(pAdded));
    CGoneNode::FreeGraveyard();
    // Made under its parent and then added there, as programs do.
    CTreeNodeUI* q1 = new CTreeNodeUI(n);
    ASSERT_TRUE(n->Add(q1));
    EXPECT_EQ(q1->GetParentNode(), n);
    EXPECT_EQ(view.GetItemIndex(q1), 1);

    IContainerUI& items = *p;
    ASSERT_TRUE(items.RemoveAt(1));
    EXPECT_EQ(p->GetCountChild(), 2);
    EXPECT_EQ(p->GetChildNode(1), c2);
    items.RemoveAll();
    EXPECT_FALSE(p->IsHasChild());
    ASSERT_EQ(p->GetCount(), 1);
    EXPECT_EQ(p->GetItemAt(0), p->GetTreeNodeHoriznotal());
    p->SetItemText(L"P2");
    EXPECT_EQ(Rows(view), L"P2");

    // Rows a program moved apart still go in one run: the selection moves once.
    CTreeNodeUI *s1 = Node(L"S1"), *t = Node(L"T");
    ASSERT_TRUE(view.Add(Node(L"S", {s1})));
    ASSERT_TRUE(view.Add(t));
    ASSERT_TRUE(view.SetItemIndex(t, 2));
    view.SelectItem(3);
    ASSERT_TRUE(view.Remove(static_cast<CTreeNodeUI*>(view.GetItemAt(1))));
    EXPECT_EQ(Rows(view), L"P2 T");
    EXPECT_EQ(view.GetCurSel(), 1);
}

// Notifications as "type", the focus traffic left out.
struct CHeard
{
    bool OnNotify(void* param)
    {
        const CSkinString& sType = static_cast<tagTNotifyUI*>(param)->sNotifyType;
        if (sType != L"setfocus" && sType != L"killfocus") words.push_back(sType.GetData());
        return true;
    }
    std::vector<std::wstring> words;
};

// A tree filling a window 300 by 300, built from a skin.
struct TreeWindow : ::testing::Test
{
    TreeWindow() : wnd(pm, 300, 300) {}

    void Build(const wchar_t* pstrSkin)
    {
        CDialogBuilder builder;
        CControlUI* pRoot = builder.Create(pstrSkin, NULL, NULL, &pm);
        ASSERT_NE(pRoot, nullptr);
        pView = static_cast<CTreeViewUI*>(pRoot->GetInterface(L"TreeView"));
        pm.AttachDialog(pRoot);
        RepaintNow(wnd);
    }
    CTreeNodeUI* Row(int i) const { return static_cast<CTreeNodeUI*>(pView->GetItemAt(i)); }
    LPARAM At(CControlUI* p)
    {
        RepaintNow(wnd);  // laid out as the user sees it
        const RECT& rc = p->GetPos();
        return MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }
    void Click(CControlUI* p)
    {
        const LPARAM lParam = At(p);
        ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
        ::SendMessageW(wnd, WM_LBUTTONUP, 0, lParam);
    }
    void Key(WPARAM vk) { ::SendMessageW(wnd, WM_KEYDOWN, vk, 0); }
    void DoubleClick(CControlUI* p)
    {
        Click(p);
        ::SendMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, At(p));
        ::SendMessageW(wnd, WM_LBUTTONUP, 0, At(p));
    }
    std::string Shown()
    {
        std::string s;
        for (int i = 0; i < pView->GetCount(); i++) s += Row(i)->IsVisible() ? '+' : '-';
        return s;
    }
    std::string Checked()
    {
        std::string s;
        for (int i = 0; i < pView->GetCount(); i++) s += Row(i)->IsCheckBoxSelected() ? 'x' : '_';
        return s;
    }

    CHeard heard;  // declared first: it outlives the nodes that call it
    CPaintManagerUI pm;
    CHostWindow wnd;
    CTreeViewUI* pView = NULL;
};

TEST_F(TreeWindow, FoldersCheckBoxesAndDoubleClicksThroughRealInput)
{
    Build(L"<Window><TreeView visiblecheckbtn=\"true\" itemtextcolor=\"#FF000001\" selitemtextcolor=\"#FF000002\" "
          L"itemhottextcolor=\"#FF000003\"><TreeNode text=\"A\"><TreeNode text=\"A1\"><TreeNode text=\"A1a\" "
          L"selected=\"true\"/></TreeNode><TreeNode text=\"A2\" selected=\"true\"/></TreeNode><TreeNode text=\"B\" "
          L"selected=\"true\"/></TreeView></Window>");
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(Rows(*pView), L"A A1. A1a.. A2. B");
    // Of the nodes selected before they were rows, the last is the view's selection, alone.
    EXPECT_EQ(pView->GetCurSel(), 4);
    for (int i = 0; i < 4; i++) EXPECT_FALSE(Row(i)->IsSelected()) << i;
    Row(0)->OnNotify += CDelegate<CHeard, CHeard>(&heard, &CHeard::OnNotify);

    Click(Row(1)->GetFolderButton());
    EXPECT_EQ(Shown(), "++-++");
    EXPECT_FALSE(Row(1)->GetVisibleTag());
    // A child that comes to a collapsed node comes hidden.
    ASSERT_TRUE(Row(1)->AddChildNode(Node(L"A1b")));
    EXPECT_EQ(Shown(), "++--++");
    DoubleClick(Row(0)->GetItemButton());
    EXPECT_EQ(Shown(), "+----+");
    EXPECT_TRUE(Row(0)->GetFolderButton()->IsSelected());
    // The view's hook leaves the node's other listeners their turn.
    EXPECT_EQ(heard.words, (std::vector<std::wstring>{L"itemclick", L"itemactivate", L"itemdbclick"}));
    // Expanded again, a collapsed child keeps its own children hidden.
    DoubleClick(Row(0)->GetItemButton());
    EXPECT_EQ(Shown(), "++--++");

    Click(Row(0)->GetCheckBox());
    EXPECT_EQ(Checked(), "xxxxx_");
    Click(Row(1)->GetCheckBox());
    EXPECT_EQ(Checked(), "x___x_");

    // The item text's colours follow selection and hover.
    EXPECT_EQ(Row(0)->GetItemButton()->GetTextColor(), 0xFF000002u);
    EXPECT_EQ(Row(5)->GetItemButton()->GetTextColor(), 0xFF000001u);
    tagTEventUI event = {};
    event.nEventType = SKIN_EVT_MOUSEENTER;
    Row(0)->Event(event);
    EXPECT_EQ(Row(0)->GetItemButton()->GetTextColor(), 0xFF000003u);
    event.nEventType = SKIN_EVT_MOUSELEAVE;
    Row(0)->Event(event);
    EXPECT_EQ(Row(0)->GetItemButton()->GetTextColor(), 0xFF000002u);
}

// A handler may remove the node its notification is about, with its
// subtree; the view and its rows go on agreeing, and the node hears no more.
TEST_F(TreeWindow, ANodeItsOwnHandlerRemovesLeavesTheViewAgreeingWithTheRest)
{
    const wchar_t* pstrSkin = L"<Window><TreeView><TreeNode text=\"A\"><TreeNode text=\"A1\"/><TreeNode text=\"A2\"/>"
                              L"</TreeNode><TreeNode text=\"B\"/><TreeNode text=\"C\"/></TreeView></Window>";
    struct Way
    {
        const char* pstrName;
        std::function<void(TreeWindow&)> go;
        const wchar_t* pstrLeft;  // the rows left, then the selected one
    };
    const Way ways[] = {
        {"click", [](TreeWindow& t) { t.Click(t.Row(3)->GetItemButton()); }, L"A A1. A2. C / C"},
        {"Down", [](TreeWindow& t) { t.Key(VK_DOWN); }, L"A A1. B C / B"},
        {"End", [](TreeWindow& t) { t.Key(VK_END); }, L"A A1. A2. B / B"},
        {"SelectItem", [](TreeWindow& t) { EXPECT_TRUE(t.pView->SelectItem(0)); }, L"B C / B"},
        {"Select", [](TreeWindow& t) { EXPECT_FALSE(t.Row(0)->Select(true)); }, L"B C / B"},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.pstrName);
        Build(pstrSkin);
        pView->SelectItem(1, true);
        CItemRemover remover(pView, L"itemselect");
        pm.AddNotifier(&remover);
        way.go(*this);
        pm.RemoveNotifier(&remover);
        EXPECT_TRUE(LeftCleanly(remover, pView));
        const int iSel = pView->GetCurSel();
        EXPECT_EQ(Rows(*pView) + L" / " + (iSel >= 0 ? Row(iSel)->GetItemText().GetData() : L""), way.pstrLeft);
    }

    // Removed by the handler of its click, or of its double click's activation:
    // neither selected, nor toggled, nor heard of again.
    for (const std::wstring sType : {L"itemclick", L"itemactivate"}) {
        SCOPED_TRACE(testing::PrintToString(sType));
        Build(pstrSkin);
        CNotifyLog log;
        CItemRemover remover(pView, sType.c_str());
        pm.AddNotifier(&remover);
        pm.AddNotifier(&log);
        if (sType == L"itemclick") Click(Row(0)->GetItemButton());
        else DoubleClick(Row(0)->GetItemButton());
        pm.RemoveNotifier(&log);
        pm.RemoveNotifier(&remover);
        ASSERT_TRUE(LeftCleanly(remover, pView));
        CTreeNodeUI* pGone = static_cast<CTreeNodeUI*>(remover.pRemoved);
        EXPECT_EQ(pGone->GetItemText(), L"A");
        EXPECT_FALSE(pGone->GetFolderButton()->IsSelected());
        EXPECT_EQ(log.Count(L"itemdbclick"), 0);
        EXPECT_EQ(Rows(*pView), L"B C");
    }
}

TEST(TreeBuilder, NodesGoToTreesTheirContentToTheRowAndStraysAreDestroyed)
{
    CPaintManagerUI pm;
    CCountedControlFactory factory;
    const int nLive = LiveCountedControls();
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(
        L"<Window><VerticalLayout><TreeNode text=\"stray\"><Leaf/><TreeNode><Leaf/></TreeNode></TreeNode>"
        L"<TreeView visiblefolderbtn=\"false\" itemminwidth=\"300\"><TreeNode text=\"A\" horizattr=\"childpadding=&quot;3&quot;\" "
        L"dotlineattr=\"bkcolor=&quot;#FF0000FF&quot;\" folderattr=\"tooltip=&quot;f&quot;\" checkboxattr=\"tooltip=&quot;c&quot;\" "
        L"itemattr=\"tooltip=&quot;i&quot;\" itemhottextcolor=\"#FF000003\" selitemtextcolor=\"FF000004\" "
        L"selitemhottextcolor=\"#FF000005\"><Leaf/><TreeNode text=\"A1\"/></TreeNode></TreeView>"
        L"<Leaf/></VerticalLayout></Window>",
        NULL, &factory, &pm);
    ASSERT_NE(pRoot, nullptr);
    CContainerUI* pLayout = static_cast<CContainerUI*>(pRoot->GetInterface(L"Container"));
    ASSERT_EQ(pLayout->GetCount(), 2);
    CTreeViewUI* pView = static_cast<CTreeViewUI*>(pLayout->GetItemAt(0)->GetInterface(L"TreeView"));
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(LiveCountedControls(), nLive + 2);
    EXPECT_EQ(Rows(*pView), L"A A1.");
    CTreeNodeUI* a = static_cast<CTreeNodeUI*>(pView->GetItemAt(0));
    EXPECT_STREQ(a->GetTreeNodeHoriznotal()->GetItemAt(4)->GetClass(), L"CountedLeafUI");
    EXPECT_EQ(a->GetTreeNodeHoriznotal()->GetChildPadding(), 3);
    EXPECT_EQ(a->GetDottedLine()->GetBkColor(), 0xFF0000FFu);
    EXPECT_EQ(a->GetFolderButton()->GetToolTip(), L"f");
    EXPECT_EQ(a->GetCheckBox()->GetToolTip(), L"c");
    EXPECT_EQ(a->GetItemButton()->GetToolTip(), L"i");
    EXPECT_EQ(a->GetItemHotTextColor(), 0xFF000003u);
    EXPECT_EQ(a->GetSelItemTextColor(), 0xFF000004u);
    EXPECT_EQ(a->GetSelItemHotTextColor(), 0xFF000005u);
    EXPECT_FALSE(a->GetVisibleFolderBtn());
    EXPECT_EQ(pView->GetItemAt(1)->GetMinWidth(), 300);
    delete pRoot;
    EXPECT_EQ(LiveCountedControls(), nLive);
}

} // namespace
