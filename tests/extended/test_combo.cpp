// The combo and combo box: items numbered with the selection kept on its item
// as the list changes, keys and the wheel, the drop-down as a real top-level
// window (where it opens, the items it borrows and gives back, the fonts it
// draws them in, what closes it), its life around a combo, a list or a window
// that goes, a disabled combo, and the combo box's arrow frame.
#include "extended/ComboUI.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "../core/ControlWindow.h"
#include "../core/PoisonedDelete.h"
#include "../core/WaitUntil.h"
#include "ItemRemover.h"
#include "controls/ButtonUI.h"
#include "controls/ScrollBarUI.h"
#include "core/DialogBuilder.h"
#include "extended/ComboBoxUI.h"
#include "extended/ComboWnd.h"
#include "extended/ListElementUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

template <class Base> class CProbe : public CPoisonedOnDelete<Base>
{
public:
    HWND Popup() const { return this->m_pWindow != NULL ? this->m_pWindow->GetHWND() : NULL; }
    UINT State() const { return this->m_uButtonState; }
};
using CComboProbe = CProbe<CComboUI>;

CListLabelElementUI* Item(const std::wstring& sText)
{
    CListLabelElementUI* p = new CListLabelElementUI;
    p->SetText(sText.c_str());
    p->SetFixedHeight(20);
    return p;
}

// The texts in order, "*" after the selected item, "?" after one whose index
// is not its position, "!" when the combo's selection names another item.
std::wstring Order(CComboUI& combo)
{
    std::wstring s;
    for (int i = 0; i < combo.GetCount(); i++) {
        IListItemUI* pItem = AsListItem(combo.GetItemAt(i));
        s += combo.GetItemAt(i)->GetText().GetData();
        if (pItem->IsSelected() || combo.GetCurSel() == i) s += pItem->IsSelected() && combo.GetCurSel() == i ? L"*" : L"!";
        if (pItem->GetIndex() != i) s += L"?";
    }
    return s;
}

RECT ScreenRect(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

// How many pixel rows of rc hold dark ink.
int InkRows(const PixelCanvas& canvas, const RECT& rc)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; y++) {
        bool bInk = false;
        for (int x = rc.left; x < rc.right && !bInk; x++) bInk = IsDark(canvas.Rgb(x, y));
        n += bInk ? 1 : 0;
    }
    return n;
}

TEST(ComboChildren, ItemsStayNumberedAndTheSelectionStaysOnItsItem)
{
    CComboUI combo;
    for (const wchar_t* p : {L"a", L"b", L"c"}) ASSERT_TRUE(combo.Add(Item(p)));
    ASSERT_TRUE(combo.SetItemIndex(combo.GetItemAt(0), 2));
    EXPECT_EQ(Order(combo), L"bca");  // nothing was selected, and nothing is

    combo.SelectItem(2);
    // An item arrives unselected, whatever it said before.
    CControlUI* d = Item(L"d");
    AsListItem(d)->Select(true);
    EXPECT_TRUE(combo.AddAt(d, 0));
    EXPECT_EQ(Order(combo), L"dbca*");
    EXPECT_TRUE(combo.SetItemIndex(combo.GetItemAt(3), 0));
    EXPECT_EQ(Order(combo), L"a*dbc");
    EXPECT_TRUE(combo.Remove(combo.GetItemAt(1)));
    EXPECT_EQ(Order(combo), L"a*bc");
    // The selected item goes: its neighbour takes its place.
    EXPECT_TRUE(combo.RemoveAt(0));
    EXPECT_EQ(Order(combo), L"b*c");
    EXPECT_TRUE(combo.SelectItem(9));
    EXPECT_EQ(Order(combo), L"bc*");
    EXPECT_EQ(combo.GetText(), L"c");
    EXPECT_FALSE(combo.Remove(NULL));
    EXPECT_FALSE(combo.RemoveAt(5));
    combo.RemoveAll();
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_EQ(combo.GetText(), L"");

    // Without a window there is nothing to open, and the size is the fixed one.
    combo.SetFixedWidth(80);
    EXPECT_FALSE(combo.Activate());
    EXPECT_EQ(combo.EstimateSize(SIZE{500, 500}).cx, 80);
    EXPECT_EQ(combo.EstimateSize(SIZE{500, 500}).cy, 0);
}

// A combo of five items 20 high and a button, in a real window.
struct ComboWindow : ControlWindowTest
{
    void SetUp() override
    {
        ControlWindowTest::SetUp();
        for (const wchar_t* p : {L"a", L"b", L"c", L"d", L"e"}) pCombo->Add(Item(p));
        Attach({pCombo, pOther}, 150, 24);
        heard();
    }
    void TearDown() override
    {
        ControlWindowTest::TearDown();
        CComboProbe::FreeGraveyard();
    }
    // What the window's code heard since the last call, as "type w l", the
    // focus traffic left out.
    std::string heard()
    {
        std::string s;
        for (size_t i = 0; i < log.aTypes.size(); i++) {
            if (log.aTypes[i] == L"setfocus" || log.aTypes[i] == L"killfocus") continue;
            char sz[64];
            snprintf(sz, sizeof(sz), "%ls %d %d;", log.aTypes[i].c_str(), int(log.aParams[i]), int(log.aLParams[i]));
            s += sz;
        }
        log.Clear();
        return s;
    }
    void Click(HWND hWnd, const RECT& rc)
    {
        const LPARAM lParam = At((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
        ::SendMessageW(hWnd, WM_LBUTTONUP, 0, lParam);
    }
    // Opens the drop-down with a click and waits for its first paint.
    HWND Open()
    {
        Click(wnd, pCombo->GetPos());
        HWND hPopup = pCombo->Popup();
        if (hPopup != NULL) ::UpdateWindow(hPopup);
        return hPopup;
    }
    bool WaitClosed(HWND hPopup)
    {
        return WaitUntil([&] {
            PumpMessages();
            return !::IsWindow(hPopup);
        });
    }
    // Every item back in the combo: its window's, its child, placed nowhere.
    bool ItemsAreBack()
    {
        for (int i = 0; i < pCombo->GetCount(); i++) {
            CControlUI* p = pCombo->GetItemAt(i);
            if (p->GetManager() != &pm || p->GetParent() != pCombo || !::IsRectEmpty(&p->GetPos())) return false;
        }
        return pCombo->Popup() == NULL && (pCombo->State() & CTLSTATE_PUSHED) == 0;
    }
    void Key(HWND hWnd, WPARAM vk) { ::SendMessageW(hWnd, WM_KEYDOWN, vk, 0); }

    CComboProbe* pCombo = new CComboProbe;
    CButtonUI* pOther = new CButtonUI;
};

TEST_F(ComboWindow, KeysAndTheWheelMoveTheSelectionWithoutOpeningAndNeverClearIt)
{
    pCombo->GetItemAt(4)->SetEnabled(false);
    pCombo->SetFocus();
    heard();
    const struct { WPARAM vk; int iSel; const char* pstrHeard; } steps[] = {
        {VK_DOWN, 0, "itemselect 0 -1;"}, {VK_END, 3, "itemselect 3 0;"}, {VK_DOWN, 3, ""},
        {VK_HOME, 0, "itemselect 0 3;"},  {VK_UP, 0, ""},                   {VK_NEXT, 1, "itemselect 1 0;"},
    };
    for (const auto& step : steps) {
        Key(wnd, step.vk);
        EXPECT_EQ(pCombo->GetCurSel(), step.iSel) << "key " << step.vk;
        EXPECT_EQ(heard(), step.pstrHeard) << "key " << step.vk;
    }
    POINT pt = Centre(pCombo);
    ::ClientToScreen(wnd, &pt);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(heard(), "itemselect 2 1;");
    EXPECT_EQ(pCombo->Popup(), nullptr);
}

TEST_F(ComboWindow, TheDropDownIsATopLevelWindowThatBorrowsTheItemsAndGivesThemBack)
{
    pCombo->SelectItem(1);
    heard();
    HWND hPopup = Open();
    ASSERT_NE(hPopup, nullptr);
    EXPECT_EQ(heard(), "dropdown 0 0;");
    wchar_t szClass[32] = L"";
    ::GetClassNameW(hPopup, szClass, 32);
    EXPECT_STREQ(szClass, L"ComboWnd");
    EXPECT_EQ(::GetWindowLongW(hPopup, GWL_STYLE) & (WS_POPUP | WS_CHILD), LONG(WS_POPUP));
    EXPECT_TRUE(::GetWindowLongW(hPopup, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(::GetWindow(hPopup, GW_OWNER), (HWND)wnd);
    EXPECT_EQ(::GetFocus(), hPopup);
    // Under the combo, as wide, as high as the items and the frame.
    POINT pt = {0, 24};
    ::ClientToScreen(wnd, &pt);
    const RECT rcPopup = ScreenRect(hPopup);
    EXPECT_EQ(rcPopup.left, pt.x);
    EXPECT_EQ(rcPopup.top, pt.y);
    EXPECT_EQ(rcPopup.right - rcPopup.left, 150);
    EXPECT_EQ(rcPopup.bottom - rcPopup.top, 5 * 20 + 4);
    EXPECT_NE(pCombo->State() & CTLSTATE_PUSHED, 0u);
    CControlUI* c = pCombo->GetItemAt(2);
    EXPECT_NE(c->GetManager(), &pm);
    // Laid out in the pop-up, and left there when the combo's window lays out.
    pCombo->NeedParentUpdate();
    ::UpdateWindow(wnd);
    EXPECT_EQ(c->GetPos().top, 1 + 2 * 20);

    // A click on an item chooses it and ends the drop-down.
    Click(hPopup, c->GetPos());
    EXPECT_EQ(heard(), "itemselect 2 1;");
    ASSERT_TRUE(WaitClosed(hPopup));
    EXPECT_TRUE(ItemsAreBack());
    EXPECT_EQ(pCombo->GetText(), L"c");
    EXPECT_EQ(::GetFocus(), (HWND)wnd);
    EXPECT_EQ(pm.GetFocus(), pCombo);
}

TEST_F(ComboWindow, KeysAClickOnTheChoiceOrTheFocusGoingElsewhereCloseIt)
{
    pCombo->SelectItem(0);
    // F4 keeps it open; a selection key closes it, moving the selection.
    HWND hPopup = Open();
    Key(hPopup, VK_F4);
    PumpMessages();
    EXPECT_TRUE(::IsWindowVisible(hPopup));
    Key(hPopup, VK_DOWN);
    ASSERT_TRUE(WaitClosed(hPopup));
    EXPECT_EQ(pCombo->GetCurSel(), 1);

    // A release on the item already chosen ends it too.
    hPopup = Open();
    const RECT& rcChosen = pCombo->GetItemAt(1)->GetPos();
    POINT pt = {(rcChosen.left + rcChosen.right) / 2, (rcChosen.top + rcChosen.bottom) / 2};
    ::ClientToScreen(hPopup, &pt);
    ::SetCursorPos(pt.x, pt.y);
    Click(hPopup, rcChosen);
    ASSERT_TRUE(WaitClosed(hPopup));
    EXPECT_EQ(pCombo->GetCurSel(), 1);

    // Another window taking the focus ends it, and keeps the focus.
    CPaintManagerUI otherManager;
    CHostWindow other(otherManager, 50, 50);
    hPopup = Open();
    ::SetFocus(other);
    ASSERT_TRUE(WaitClosed(hPopup));
    EXPECT_TRUE(ItemsAreBack());
    EXPECT_EQ(::GetFocus(), (HWND)other);
}

TEST_F(ComboWindow, TheDropDownDrawsTheItemsInTheFontsOfTheCombosWindow)
{
    const CSkinString sFace = pm.GetDefaultFontInfo()->sFaceName;
    pm.AddFont(sFace, 12, false, false, false);
    pm.AddFont(sFace, 28, true, false, false);
    pCombo->SetItemFont(1);
    CControlUI* pItem = pCombo->GetItemAt(0);
    pItem->SetText(L"H");
    pItem->SetFixedHeight(0);
    // The window's font 1, a large one, as the window itself draws it.
    PixelCanvas reference(60, 60);
    ::SelectObject(reference.DC(), pm.GetFont(1));
    ::TextOutW(reference.DC(), 10, 10, L"H", 1);
    const int cyInk = InkRows(reference, reference.Rect());
    ASSERT_GT(cyInk, 15);

    // The drop-down has no fonts of its own.
    HWND hPopup = Open();
    ASSERT_NE(hPopup, nullptr);
    PixelCanvas popup(150, 200);
    ::SendMessageW(hPopup, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(popup.DC()), PRF_CLIENT);
    EXPECT_EQ(InkRows(popup, pItem->GetPos()), cyInk);
}

// A handler may remove the item its notification is about, with the
// drop-down shut or open; the item's deletion waits for the window.
TEST_F(ComboWindow, AnItemItsOwnHandlerRemovesLeavesTheComboAgreeingWithTheRest)
{
    // Each way answers the drop-down it opened, whose closing is waited for
    // only once the removed item has been looked at: the window's clean-up
    // deletes it.
    struct Way
    {
        const char* pstrName;
        std::function<HWND(ComboWindow&)> go;
        const wchar_t* pstrLeft;
    };
    const Way ways[] = {
        {"SelectItem", [](ComboWindow& t) { EXPECT_TRUE(t.pCombo->SelectItem(2)); return HWND(); }, L"abd*e"},
        {"Select", [](ComboWindow& t) {
             EXPECT_FALSE(AsListItem(t.pCombo->GetItemAt(2))->Select(true));
             return HWND();
         }, L"abd*e"},
        {"Down", [](ComboWindow& t) { t.Key(t.wnd, VK_DOWN); return HWND(); }, L"ac*de"},
        {"End", [](ComboWindow& t) { t.Key(t.wnd, VK_END); return HWND(); }, L"abcd*"},
        {"a click in the drop-down", [](ComboWindow& t) {
             HWND hPopup = t.Open();
             t.Click(hPopup, t.pCombo->GetItemAt(2)->GetPos());
             return hPopup;
         }, L"abd*e"},
        {"Down in the drop-down", [](ComboWindow& t) {
             HWND hPopup = t.Open();
             t.Key(hPopup, VK_DOWN);
             return hPopup;
         }, L"ac*de"},
    };
    auto refill = [this] {
        pCombo->RemoveAll();
        for (const wchar_t* p : {L"a", L"b", L"c", L"d", L"e"}) pCombo->Add(Item(p));
        pCombo->SelectItem(0);
        pCombo->SetFocus();
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.pstrName);
        refill();
        CItemRemover remover(pCombo, L"itemselect");
        pm.AddNotifier(&remover);
        HWND hPopup = way.go(*this);
        pm.RemoveNotifier(&remover);
        EXPECT_TRUE(LeftCleanly(remover, pCombo));
        EXPECT_EQ(Order(*pCombo), way.pstrLeft);
        if (hPopup != NULL) {
            EXPECT_TRUE(WaitClosed(hPopup));
        }
        EXPECT_TRUE(ItemsAreBack());
    }

    // A handler of the focus that the new choice takes removes the old choice.
    refill();
    pCombo->GetItemAt(0)->SetFocus();
    CItemRemover unfocused(pCombo, L"killfocus");
    pm.AddNotifier(&unfocused);
    EXPECT_TRUE(pCombo->SelectItem(2, true));
    pm.RemoveNotifier(&unfocused);
    EXPECT_TRUE(LeftCleanly(unfocused, pCombo));
    EXPECT_EQ(Order(*pCombo), L"bc*de");

    // Removed by the handler of its click: it is no one's to select.
    refill();
    CItemRemover remover(pCombo, L"itemclick");
    pm.AddNotifier(&remover);
    tagTEventUI down = {SKIN_EVT_BUTTONDOWN};
    pCombo->GetItemAt(1)->Event(down);
    pm.RemoveNotifier(&remover);
    EXPECT_TRUE(LeftCleanly(remover, pCombo));
    EXPECT_EQ(Order(*pCombo), L"a*cde");
    IListItemUI* pFirst = AsListItem(pCombo->GetItemAt(0));
    pCombo->RemoveAll();
    EXPECT_EQ(pFirst->GetOwner(), nullptr);
    EXPECT_EQ(pFirst->GetIndex(), -1);
    EXPECT_FALSE(pFirst->IsSelected());
    // So do the items a deleted combo lets go.
    CComboUI* pGone = new CComboUI;
    pGone->SetAutoDestroy(false);
    CControlUI* pItem = Item(L"x");
    pGone->Add(pItem);
    delete pGone;
    EXPECT_EQ(AsListItem(pItem)->GetOwner(), nullptr);
    delete pItem;
}

TEST_F(ComboWindow, ADisabledComboStaysShutAndComesBackFresh)
{
    pCombo->SetNormalImage(Image(L"blue.png", 0xFF0000FF));
    pCombo->SetDisabledImage(Image(L"green.png", 0xFF00FF00));
    pOther->SetFocus();
    const POINT pt = Centre(pCombo);
    tagTEventUI enter = {SKIN_EVT_MOUSEENTER};
    enter.ptMousePos = pt;
    pCombo->Event(enter);
    pCombo->SetEnabled(false);
    Click(wnd, pCombo->GetPos());
    EXPECT_EQ(pCombo->Popup(), nullptr);
    EXPECT_EQ(heard(), "");
    Snapshot();
    EXPECT_TRUE(IsGreen(canvas.Rgb(pt.x, pt.y)));
    pCombo->SetEnabled(true);
    Snapshot();
    EXPECT_TRUE(IsBlue(canvas.Rgb(pt.x, pt.y)));
    EXPECT_EQ(pCombo->State(), 0u);
    // Disabled or hidden while open, it closes: nothing can be chosen then.
    ASSERT_NE(Open(), nullptr);
    pCombo->SetEnabled(false);
    EXPECT_EQ(pCombo->Popup(), nullptr);
    pCombo->SetEnabled(true);
    ASSERT_NE(Open(), nullptr);
    pCombo->SetInternVisible(false);
    EXPECT_EQ(pCombo->Popup(), nullptr);
}

TEST_F(ComboWindow, ItOpensWhereThereIsRoomAndScrollsWhatDoesNotFit)
{
    MONITORINFO mi = {sizeof(mi)};
    ::GetMonitorInfoW(::MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& rcWork = mi.rcWork;
    // At the bottom of the screen: above the combo.
    ::SetWindowPos(wnd, NULL, 100, rcWork.bottom - 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND hPopup = Open();
    ASSERT_NE(hPopup, nullptr);
    RECT rc = ScreenRect(hPopup);
    EXPECT_EQ(rc.bottom, rcWork.bottom - 30);
    EXPECT_EQ(rc.top, rcWork.bottom - 30 - 104);
    ::DestroyWindow(hPopup);

    // Taller than either side: the side with more room, cut to it, and scrolled.
    ::SetWindowPos(wnd, NULL, 100, rcWork.top + 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < 100; i++) pCombo->Add(Item(std::to_wstring(i)));
    pCombo->SetDropBoxSize(SIZE{200, 5000});
    hPopup = Open();
    rc = ScreenRect(hPopup);
    EXPECT_EQ(rc.top, rcWork.top + 124);
    EXPECT_EQ(rc.bottom, rcWork.bottom);
    EXPECT_EQ(rc.right - rc.left, 200);
    CScrollBarUI* pBar = static_cast<CContainerUI*>(pCombo->GetItemAt(0)->GetParent())->GetVerticalScrollBar();
    ASSERT_NE(pBar, nullptr);
    EXPECT_TRUE(pBar->IsVisible());
    // A release on the scroll bar keeps it open.
    POINT pt = {(pBar->GetPos().left + pBar->GetPos().right) / 2, (pBar->GetPos().top + pBar->GetPos().bottom) / 2};
    ::ClientToScreen(hPopup, &pt);
    ::SetCursorPos(pt.x, pt.y);
    ::SendMessageW(hPopup, WM_LBUTTONUP, 0, 0);
    PumpMessages();
    EXPECT_TRUE(::IsWindowVisible(hPopup));
}

TEST_F(ComboWindow, ThePopUpNeverOutlivesWhatItBorrowsFrom)
{
    // Destroyed without closing: the items come back all the same.
    HWND hPopup = Open();
    ::DestroyWindow(hPopup);
    EXPECT_TRUE(ItemsAreBack());

    // The list changing while it is open: it closes first.
    hPopup = Open();
    ASSERT_TRUE(pCombo->RemoveAt(0));
    EXPECT_TRUE(ItemsAreBack());
    EXPECT_FALSE(::IsWindowVisible(hPopup));
    ASSERT_TRUE(WaitClosed(hPopup));
    RepaintNow(wnd);

    // The combo deleted while it is open: the window goes on its own, touching nothing.
    hPopup = Open();
    pRoot->Detach(pCombo);
    delete pCombo;
    ASSERT_TRUE(WaitClosed(hPopup));

    // Its owner window destroyed while it is open.
    CPaintManagerUI ownerManager;
    CComboProbe* pOwned = new CComboProbe;
    pOwned->Add(Item(L"x"));
    {
        CHostWindow owner(ownerManager, 100, 30);
        ownerManager.AttachDialog(pOwned);
        RepaintNow(owner);
        ASSERT_TRUE(pOwned->Activate());
        ASSERT_NE(pOwned->Popup(), nullptr);
    }
    EXPECT_EQ(pOwned->Popup(), nullptr);
    EXPECT_EQ(pOwned->GetItemAt(0)->GetManager(), &ownerManager);

    // A window that cannot be made: nothing opens, nobody hears of it.
    HWND hGone = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    CPaintManagerUI goneManager;
    goneManager.Init(hGone);
    goneManager.AddNotifier(&log);
    CComboProbe* pLost = new CComboProbe;
    pLost->Add(Item(L"x"));
    goneManager.AttachDialog(pLost);
    ::DestroyWindow(hGone);
    heard();
    EXPECT_FALSE(pLost->Activate());
    EXPECT_FALSE(pLost->Activate());
    EXPECT_EQ(heard(), "");
}

TEST_F(ComboWindow, TheComboBoxDrawsItsStatesFrameAtItsRightEnd)
{
    std::vector<uint32_t> strip(100 * 20);
    const uint32_t kFrames[] = {0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000};
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 100; x++) strip[y * 100 + x] = kFrames[x / 20];
    WriteBytes(m_sImages + L"strip.png", MakePng(100, 20, strip));
    CProbe<CComboBoxUI>* pBox = new CProbe<CComboBoxUI>;
    pRoot->Add(pBox);
    pBox->SetAttribute(L"arrowimage", L"file='strip.png' source='0,0,100,20'");
    pBox->SetNormalImage(Image(L"blue.png", 0xFF0000FF));
    RepaintNow(wnd);
    const RECT& rc = pBox->GetPos();
    tagTEventUI enter = {SKIN_EVT_MOUSEENTER};
    enter.ptMousePos = Centre(pBox);
    pBox->Event(enter);
    Snapshot();
    EXPECT_TRUE(IsRed(canvas.Rgb(rc.right - 10, rc.top + 12)));
    EXPECT_FALSE(IsRed(canvas.Rgb(rc.right - 21, rc.top + 12)));
    EXPECT_FALSE(IsBlue(canvas.Rgb(rc.left + 10, rc.top + 12)));
    // The chosen text, longer than the box, stops where the arrow begins.
    pBox->Add(Item(std::wstring(40, L'W')));
    pBox->SelectItem(0);
    Snapshot();
    EXPECT_GT(InkRows(canvas, RECT{rc.right - 30, rc.top, rc.right - 20, rc.bottom}), 0);
    EXPECT_EQ(InkRows(canvas, RECT{rc.right - 20, rc.top, rc.right, rc.bottom}), 0);
    pBox->RemoveAll();

    // A strip without its rectangle is forgotten: the combo's own images show.
    pBox->SetAttribute(L"arrowimage", L"file='strip.png'");
    Snapshot();
    EXPECT_TRUE(IsBlue(canvas.Rgb(rc.left + 10, rc.top + 12)));
    EXPECT_TRUE(IsBlue(canvas.Rgb(rc.right - 10, rc.top + 12)));
}

TEST(ComboBuilder, TheElementsAndTheirAttributesReachTheirControls)
{
    CDialogBuilder builder;
    CPaintManagerUI pm;
    CControlUI* pRoot = builder.Create(
        L"<Window><HorizontalLayout><Combo dropboxsize=\"200,60\" textpadding=\"4,0,4,0\" itemalign=\"center\" "
        L"itemselectedtextcolor=\"#FF112233\"><ListLabelElement text=\"a\"/><ListLabelElement text=\"b\" "
        L"selected=\"true\"/></Combo><ComboBox arrowimage=\"a.png\"/></HorizontalLayout></Window>",
        NULL, NULL, &pm);
    ASSERT_NE(pRoot, nullptr);
    IContainerUI* pLayout = static_cast<IContainerUI*>(pRoot->GetInterface(L"IContainer"));
    CComboUI* pCombo = static_cast<CComboUI*>(pLayout->GetItemAt(0)->GetInterface(L"Combo"));
    ASSERT_NE(pCombo, nullptr);
    EXPECT_EQ(pCombo->GetCurSel(), 1);
    EXPECT_EQ(pCombo->GetText(), L"b");
    EXPECT_EQ(pCombo->GetDropBoxSize().cx, 200);
    EXPECT_EQ(pCombo->GetTextPadding().left, 4);
    EXPECT_EQ(pCombo->GetListInfo()->uItemTextStyle & (DT_CENTER | DT_RIGHT), UINT(DT_CENTER));
    EXPECT_EQ(pCombo->GetSelectedItemTextColor(), 0xFF112233u);
    EXPECT_STREQ(pLayout->GetItemAt(1)->GetClass(), L"ComboBoxUI");
    delete pRoot;
}

} // namespace
