// The vertical and horizontal layouts: where children go, the vertical bar's
// extra layout pass, scrolling by real wheel, key and mouse messages, the
// separator strip, and the layout pass handing its invalid areas over as one.
#include "controls/HorizontalLayoutUI.h"
#include "controls/VerticalLayoutUI.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PixelCanvas.h"
#include "RectText.h"
#include "TestControls.h"
#include "WaitUntil.h"
#include "controls/ScrollBarUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

struct LayoutCase
{
    const char* pstrName;
    bool bHorizontal;
    const wchar_t* pstrLayout;
    // Each child's attributes and the rectangle it gets.
    std::vector<std::pair<const wchar_t*, const char*>> children;
};

TEST(LineLayout, ChildrenGetTheirRectangles)
{
    const LayoutCase cases[] = {
        {"fixed then two stretchers", false, L"",
         {{L"height=\"20\"", "0,0,100,20"}, {L"", "0,20,100,60"}, {L"", "0,60,100,100"}}},
        // The last stretcher comes out short by the gaps, which the rest still counts.
        {"child padding", false, L"childpadding=\"5\"",
         {{L"height=\"20\"", "0,0,100,20"}, {L"", "0,25,100,60"}, {L"", "0,65,100,90"}}},
        {"min above the share", false, L"", {{L"minheight=\"70\"", "0,0,100,70"}, {L"", "0,70,100,100"}}},
        {"no rest left", false, L"", {{L"minheight=\"120\"", "0,0,100,120"}, {L"", "0,120,100,120"}}},
        {"fixed above max", false, L"", {{L"height=\"50\" maxheight=\"30\"", "0,0,100,30"}, {L"", "0,30,100,100"}}},
        {"padding inside the rectangle", false, L"",
         {{L"height=\"20\" padding=\"5,6,7,8\"", "5,6,93,34"}, {L"height=\"10\"", "0,34,100,44"}}},
        {"widths across", false, L"",
         {{L"height=\"20\" width=\"40\"", "0,0,40,20"}, {L"height=\"20\" minwidth=\"120\"", "0,20,120,40"},
          {L"height=\"20\" maxwidth=\"30\"", "0,40,30,60"}}},
        {"floating and hidden children", false, L"",
         {{L"float=\"true\" pos=\"10,10,30,30\"", "10,10,30,30"}, {L"visible=\"false\" height=\"50\"", "0,0,0,0"},
          {L"", "0,0,100,100"}}},
        {"inset", false, L"inset=\"10,10,10,10\"", {{L"", "10,10,90,90"}}},
        {"huge sizes saturate", false, L"", {{L"height=\"2147483647\" maxheight=\"2147483647\"", "0,0,100,2147483647"}}},
        {"horizontal: fixed then two stretchers", true, L"",
         {{L"width=\"20\"", "0,0,20,100"}, {L"", "20,0,60,100"}, {L"", "60,0,100,100"}}},
        {"horizontal: child padding", true, L"childpadding=\"5\"",
         {{L"width=\"20\"", "0,0,20,100"}, {L"", "25,0,60,100"}, {L"", "65,0,90,100"}}},
        {"horizontal: padding inside the rectangle", true, L"",
         {{L"width=\"20\" padding=\"5,6,7,8\"", "5,6,32,92"}, {L"width=\"10\" height=\"30\"", "32,0,42,30"}}},
        {"horizontal: min above the share", true, L"", {{L"minwidth=\"70\"", "0,0,70,100"}, {L"", "70,0,100,100"}}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.pstrName);
        std::unique_ptr<CContainerUI> pLayout(c.bHorizontal ? static_cast<CContainerUI*>(new CHorizontalLayoutUI)
                                                            : new CVerticalLayoutUI);
        pLayout->ApplyAttributeList(c.pstrLayout);
        for (const auto& child : c.children) {
            CControlUI* pChild = new CControlUI;
            pChild->ApplyAttributeList(child.first);
            pLayout->Add(pChild);
        }
        pLayout->SetPos(RECT{0, 0, 100, 100});
        for (int i = 0; i < pLayout->GetCount(); i++) {
            EXPECT_EQ(RectText(pLayout->GetItemAt(i)->GetPos()), c.children[i].second) << "child " << i;
        }
    }
}

// A child whose height depends on the width it is offered: tall when wide.
struct CWrapProbe : CProbeUI
{
    SIZE EstimateSize(SIZE szAvailable) override { return SIZE{0, szAvailable.cx >= 100 ? 120 : 50}; }
};

TEST(LineLayout, TheVerticalBarComesWithTheContentAndGoesWithIt)
{
    CPaintManagerUI pm;
    CVerticalLayoutUI layout;
    layout.SetManager(&pm, NULL, false);
    layout.EnableScrollBar(true, false);
    CScrollBarUI* pBar = layout.GetVerticalScrollBar();
    pBar->SetVisible(false);
    CProbeUI* aChildren[3] = {new CProbeUI, new CProbeUI, new CProbeUI};
    for (CProbeUI* p : aChildren) {
        p->SetFixedHeight(40);
        layout.Add(p);
    }
    layout.SetPos(RECT{0, 0, 100, 100});
    // Laid out once against the whole width, once more beside the bar.
    EXPECT_TRUE(pBar->IsVisible());
    EXPECT_EQ(aChildren[2]->nSetPos, 2);
    EXPECT_EQ(layout.GetScrollRange().cy, 20);
    EXPECT_EQ(RectText(aChildren[2]->GetPos()), "0,80,84,120");
    EXPECT_EQ(RectText(pBar->GetPos()), "84,0,100,100");

    layout.SetScrollPos(SIZE{0, 15});
    EXPECT_EQ(RectText(aChildren[0]->GetPos()), "0,-15,84,25");
    layout.SetPos(layout.GetPos());
    EXPECT_EQ(RectText(aChildren[0]->GetPos()), "0,-15,84,25");

    // Shrinks to fit: the bar goes, its position back to 0.
    aChildren[2]->SetVisible(false);
    layout.SetPos(layout.GetPos());
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_EQ(pBar->GetScrollPos(), 0);
    EXPECT_EQ(pBar->GetScrollRange(), 0);
    EXPECT_EQ(RectText(aChildren[0]->GetPos()), "0,0,100,40");

    // A shorter range lowers the position and lays the content out again.
    aChildren[2]->SetVisible(true);
    layout.SetPos(layout.GetPos());
    layout.SetScrollPos(SIZE{0, 20});
    aChildren[2]->SetFixedHeight(30);
    layout.SetPos(layout.GetPos());
    EXPECT_EQ(layout.GetScrollPos().cy, 10);
    EXPECT_EQ(RectText(aChildren[0]->GetPos()), "0,-10,84,30");
}

TEST(LineLayout, ContentThatFitsOnlyBesideTheBarSettlesWithoutOne)
{
    CPaintManagerUI pm;
    CVerticalLayoutUI layout;
    layout.SetManager(&pm, NULL, false);
    layout.EnableScrollBar(true, false);
    layout.GetVerticalScrollBar()->SetVisible(false);
    CWrapProbe* pChild = new CWrapProbe;
    layout.Add(pChild);
    layout.SetPos(RECT{0, 0, 100, 100});
    // Beside the bar the content fits: no bar with a made-up range.
    EXPECT_FALSE(layout.GetVerticalScrollBar()->IsVisible());
    EXPECT_EQ(layout.GetVerticalScrollBar()->GetScrollRange(), 0);
    EXPECT_LE(pChild->nSetPos, 3);
    layout.SetPos(RECT{0, 0, 100, 100});
    EXPECT_LE(pChild->nSetPos, 6);
}

// A column of ten children 20 pixels high, in different colours, in a window
// 200 by 100 with a vertical bar: a range of 100.
struct ScrolledColumn : ::testing::Test
{
    ScrolledColumn() : wnd(pm, 200, 100)
    {
        // Away from the corner where the other test windows sit: these tests
        // put the system's cursor over their own window.
        ::SetWindowPos(wnd, NULL, 600, 450, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pRoot->SetAttribute(L"vscrollbar", L"true");
        for (int i = 0; i < 10; i++) {
            CControlUI* pChild = new CControlUI;
            pChild->SetFixedHeight(20);
            pChild->SetBkColor(0xFF000000 | (i * 0x190B05 + 0x203040));
            pRoot->Add(pChild);
        }
        pm.AttachDialog(pRoot);
        RepaintNow(wnd);
    }
    // The window's own pixels, as the screen shows them.
    void Capture(PixelCanvas& canvas)
    {
        HDC hDC = ::GetDC(wnd);
        ::BitBlt(canvas.DC(), 0, 0, canvas.Width(), canvas.Height(), hDC, 0, 0, SRCCOPY);
        ::ReleaseDC(wnd, hDC);
    }
    void ExpectScreenAsAFullRepaint()
    {
        PixelCanvas painted(200, 100), repainted(200, 100);
        Capture(painted);
        RepaintNow(wnd);
        Capture(repainted);
        int nDiffer = 0;
        for (int y = 0; y < 100; y++) {
            for (int x = 0; x < 200; x++) nDiffer += painted.Rgb(x, y) != repainted.Rgb(x, y) ? 1 : 0;
        }
        EXPECT_EQ(nDiffer, 0);
    }
    void Wheel(short nDelta)
    {
        POINT pt = {50, 50};
        ::ClientToScreen(wnd, &pt);
        ::SendMessageW(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, nDelta), MAKELPARAM(pt.x, pt.y));
        ::UpdateWindow(wnd);
    }
    void Key(WPARAM vk) { ::SendMessageW(wnd, WM_KEYDOWN, vk, 0); }
    // The system's cursor goes there too, so that the window finds the mouse
    // where the messages say it is.
    void Mouse(UINT uMsg, int x, int y)
    {
        POINT pt = {x, y};
        ::ClientToScreen(wnd, &pt);
        ::SetCursorPos(pt.x, pt.y);
        ::SendMessageW(wnd, uMsg, uMsg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }
    // Lets the repeat timer tick until the content has moved. Only timer
    // messages are handled: a mouse-leave for a cursor that another program
    // moved would drag the thumb to (-1, -1).
    void TickUntilScrolled()
    {
        EXPECT_TRUE(WaitUntil([&] {
            MSG msg;
            while (::PeekMessageW(&msg, wnd, WM_TIMER, WM_TIMER, PM_REMOVE)) ::DispatchMessageW(&msg);
            return pRoot->GetScrollPos().cy != 0;
        }));
    }
    int LineHeight() { return pm.GetDefaultFontInfo()->tmMetrics.tmHeight + 8; }
    int Top() const { return pRoot->GetItemAt(0)->GetPos().top; }

    CPaintManagerUI pm;
    CHostWindow wnd;
    CVerticalLayoutUI* pRoot = new CVerticalLayoutUI;
};

TEST_F(ScrolledColumn, TheWheelScrollsTheVerticalBarOnly)
{
    ASSERT_EQ(pRoot->GetScrollRange().cy, 100);
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(pRoot->GetScrollPos().cy, LineHeight());
    EXPECT_EQ(Top(), -LineHeight());
    ExpectScreenAsAFullRepaint();
    Wheel(WHEEL_DELTA);
    EXPECT_EQ(pRoot->GetScrollPos().cy, 0);
    EXPECT_EQ(Top(), 0);

    pRoot->EnableScrollBar(true, true);
    RepaintNow(wnd);
    ASSERT_TRUE(pRoot->GetHorizontalScrollBar()->IsVisible());
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(pRoot->GetScrollPos().cy, LineHeight());
    EXPECT_EQ(pRoot->GetScrollPos().cx, 0);
}

TEST_F(ScrolledColumn, KeysScrollTheFocusedControlsContainer)
{
    Mouse(WM_LBUTTONDOWN, 50, 30);
    Mouse(WM_LBUTTONUP, 50, 30);
    ASSERT_EQ(pm.GetFocus(), pRoot->GetItemAt(1));
    struct { WPARAM vk; int nPos; } rows[] = {
        {VK_END, 100}, {VK_HOME, 0}, {VK_NEXT, 100}, {VK_PRIOR, 0}, {VK_DOWN, LineHeight()}, {VK_UP, 0},
        {VK_LEFT, 0},
    };
    for (const auto& row : rows) {
        Key(row.vk);
        EXPECT_EQ(pRoot->GetScrollPos().cy, row.nPos) << "key " << row.vk;
        EXPECT_EQ(Top(), -row.nPos);
    }
    Key(VK_END);
    ::UpdateWindow(wnd);
    ExpectScreenAsAFullRepaint();

    // Content that fits has no vertical bar: the keys go to the horizontal one.
    pRoot->EnableScrollBar(true, true);
    for (int i = 9; i >= 3; i--) pRoot->RemoveAt(i);
    RepaintNow(wnd);
    ASSERT_FALSE(pRoot->GetVerticalScrollBar()->IsVisible());
    pRoot->GetItemAt(1)->SetFocus();
    Key(VK_END);
    EXPECT_EQ(pRoot->GetScrollPos().cx, 100);
    Key(VK_UP);
    EXPECT_EQ(pRoot->GetScrollPos().cx, 92);
}

TEST_F(ScrolledColumn, TheThumbDraggedWithTheMouseMovesTheContentWithIt)
{
    // The bar at the right edge; its thumb 34 long below the 16-pixel button.
    CScrollBarUI* pBar = pRoot->GetVerticalScrollBar();
    ASSERT_EQ(RectText(pBar->GetPos()), "184,0,200,100");
    Mouse(WM_LBUTTONDOWN, 192, 20);
    Mouse(WM_MOUSEMOVE, 192, 37);
    TickUntilScrolled();  // the timer applies the drag
    Mouse(WM_LBUTTONUP, 192, 37);
    EXPECT_EQ(pRoot->GetScrollPos().cy, 50);
    EXPECT_EQ(Top(), -50);
    EXPECT_FALSE(pm.IsCaptured());

    // Without buttons the thumb runs the whole bar, and still follows the mouse.
    pRoot->SetAttribute(L"vscrollbarstyle", L"showbutton1=\"false\" showbutton2=\"false\"");
    pRoot->HomeUp();
    RepaintNow(wnd);
    Mouse(WM_LBUTTONDOWN, 192, 10);
    Mouse(WM_MOUSEMOVE, 192, 35);
    TickUntilScrolled();
    Mouse(WM_LBUTTONUP, 192, 35);
    EXPECT_EQ(pRoot->GetScrollPos().cy, 50);
}

TEST_F(ScrolledColumn, ALayoutPassHandsItsAreasOverAsOne)
{
    // What one InvalidateRect per moved control covers, against the batch.
    auto invalidatedBy = [this](bool bBatch) {
        RepaintNow(wnd);
        ::ValidateRect(wnd, NULL);
        {
            CInvalidateBatch batch(bBatch ? &pm : NULL);
            pRoot->GetItemAt(0)->SetPos(RECT{10, 10, 20, 20});
            pRoot->GetItemAt(4)->SetPos(RECT{100, 60, 120, 80});
        }
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        ::GetUpdateRgn(wnd, hRgn, FALSE);
        pRoot->SetPos(pRoot->GetPos());
        return hRgn;
    };
    HRGN hEach = invalidatedBy(false);
    HRGN hBatch = invalidatedBy(true);
    HRGN hMissed = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::CombineRgn(hMissed, hEach, hBatch, RGN_DIFF), NULLREGION);
    RECT rcBatch = {};
    ::GetRgnBox(hBatch, &rcBatch);
    EXPECT_FALSE(::IsRectEmpty(&rcBatch));
    for (HRGN h : {hEach, hBatch, hMissed}) ::DeleteObject(h);

    // The window's own pass: its areas reach the window before it paints,
    // and the screen shows what a full repaint shows.
    RepaintNow(wnd);
    pRoot->GetItemAt(0)->SetFixedHeight(35);
    ::ValidateRect(wnd, NULL);  // only the layout's own areas are left to paint
    RECT rcSpeck = {199, 99, 200, 100};
    ::InvalidateRect(wnd, &rcSpeck, FALSE);
    ::UpdateWindow(wnd);
    EXPECT_EQ(pRoot->GetItemAt(1)->GetPos().top, 35);
    ExpectScreenAsAFullRepaint();
}

// A layout 100 high with a separator strip of 10 at its bottom, above a filler,
// in a window 200 by 200.
struct Separator : ::testing::Test
{
    Separator() : wnd(pm, 200, 200)
    {
        pRoot->SetBkColor(0xFFFFFFFF);
        pLayout->ApplyAttributeList(L"height=\"100\" sepheight=\"10\" minheight=\"60\" maxheight=\"150\"");
        pRoot->Add(pLayout);
        pRoot->Add(new CControlUI);
        pm.AttachDialog(pRoot);
        RepaintNow(wnd);
    }
    void Send(int nType, int x, int y)
    {
        tagTEventUI event = {};
        event.nEventType = nType;
        event.ptMousePos = POINT{x, y};
        pLayout->Event(event);
    }

    CPaintManagerUI pm;
    CHostWindow wnd;
    CVerticalLayoutUI* pRoot = new CVerticalLayoutUI;
    CVerticalLayoutUI* pLayout = new CVerticalLayoutUI;
};

TEST_F(Separator, ImmediateDragsStayWithinTheLimits)
{
    EXPECT_EQ(pLayout->GetControlFlags(), UINT{CTLFLAG_SETCURSOR});
    EXPECT_EQ(RectText(pLayout->GetThumbRect(false)), "0,90,200,100");
    pLayout->SetSepImmMode(true);
    Send(SKIN_EVT_BUTTONDOWN, 50, 95);
    struct { int y; int nHeight; } moves[] = {
        {120, 125}, {200, 150}, {210, 150},  // held at the max; a move that cannot grow it is dropped
        {0, 60},                             // held at the min
        {30, 60},                            // the mouse is still above the strip
        {55, 85},
    };
    for (const auto& move : moves) {
        Send(SKIN_EVT_MOUSEMOVE, 50, move.y);
        EXPECT_EQ(pLayout->GetFixedHeight(), move.nHeight) << "to " << move.y;
        RepaintNow(wnd);
        EXPECT_EQ(pLayout->GetHeight(), move.nHeight) << "to " << move.y;
    }
    Send(SKIN_EVT_BUTTONUP, 50, 55);
    Send(SKIN_EVT_MOUSEMOVE, 50, 100);
    RepaintNow(wnd);
    EXPECT_EQ(RectText(pLayout->GetPos()), "0,0,200,85");

    // A strip at the top drags the top edge.
    pLayout->SetSepHeight(-10);
    EXPECT_EQ(RectText(pLayout->GetThumbRect(false)), "0,0,200,10");
    Send(SKIN_EVT_BUTTONDOWN, 50, 5);
    Send(SKIN_EVT_MOUSEMOVE, 50, -20);
    EXPECT_EQ(pLayout->GetFixedHeight(), 110);
    Send(SKIN_EVT_BUTTONUP, 50, -20);

    // A vertical strip is cut at the layout's edge, a horizontal one is not.
    RepaintNow(wnd);
    pLayout->SetSepHeight(500);
    EXPECT_EQ(RectText(pLayout->GetThumbRect(false)), "0,0,200,110");
    CHorizontalLayoutUI row;
    row.SetPos(RECT{0, 0, 100, 20});
    row.SetSepWidth(150);
    EXPECT_EQ(RectText(row.GetThumbRect(false)), "-50,0,100,20");
    row.SetSepWidth(0);
    EXPECT_EQ(row.GetControlFlags(), 0u);
}

TEST_F(Separator, APreviewDragPaintsABarAndAppliesAtTheRelease)
{
    Send(SKIN_EVT_BUTTONDOWN, 50, 95);
    EXPECT_EQ(pm.GetPostPaintCount(), 1);
    Send(SKIN_EVT_MOUSEMOVE, 50, 120);
    EXPECT_EQ(pLayout->GetFixedHeight(), 125);
    EXPECT_EQ(RectText(pLayout->GetThumbRect(true)), "0,115,200,125");
    ::UpdateWindow(wnd);
    EXPECT_EQ(pLayout->GetHeight(), 100);  // not before the release

    PixelCanvas screen(200, 200);
    HDC hDC = ::GetDC(wnd);
    ::BitBlt(screen.DC(), 0, 0, 200, 200, hDC, 0, 0, SRCCOPY);
    ::ReleaseDC(wnd, hDC);
    EXPECT_LT(screen.Rgb(50, 120) & 0xFF, 0x80u);
    EXPECT_EQ(screen.Rgb(50, 130), 0xFFFFFFu);

    Send(SKIN_EVT_BUTTONUP, 50, 120);
    EXPECT_EQ(pm.GetPostPaintCount(), 0);
    RepaintNow(wnd);
    EXPECT_EQ(RectText(pLayout->GetPos()), "0,0,200,125");

    // Switching to immediate mode mid-drag takes the bar away.
    Send(SKIN_EVT_BUTTONDOWN, 50, 120);
    pLayout->SetSepImmMode(true);
    EXPECT_EQ(pm.GetPostPaintCount(), 0);
    Send(SKIN_EVT_BUTTONUP, 50, 120);
}

TEST_F(Separator, ADragEndsWhenTheLayoutHidesGoesOrLosesTheMouse)
{
    for (int nCase = 0; nCase < 3; nCase++) {
        SCOPED_TRACE(nCase == 0 ? "hidden" : nCase == 1 ? "capture lost" : "deleted");
        pm.SetCapture();  // as the window does on a press
        Send(SKIN_EVT_BUTTONDOWN, 50, pLayout->GetThumbRect(false).top + 5);
        ASSERT_EQ(pm.GetPostPaintCount(), 1);
        if (nCase == 0) {
            pLayout->SetVisible(false);
            EXPECT_FALSE(pm.IsCaptured());
            pLayout->SetVisible(true);
        }
        else if (nCase == 1) {
            ::ReleaseCapture();
            Send(SKIN_EVT_MOUSEMOVE, 50, 150);
            EXPECT_EQ(pLayout->GetFixedHeight(), 100);
            Send(SKIN_EVT_MOUSEMOVE, 50, 160);
            EXPECT_EQ(pLayout->GetFixedHeight(), 100);
        }
        else {
            pRoot->SetDelayedDestroy(false);
            pRoot->Remove(pLayout);
            EXPECT_FALSE(pm.IsCaptured());
        }
        EXPECT_EQ(pm.GetPostPaintCount(), 0);
        RepaintNow(wnd);
    }
}

bool Meets(const RECT& a, const RECT& b)
{
    RECT rc;
    return ::IntersectRect(&rc, &a, &b) != FALSE;
}

// Counts how often a walk over the children looks at it.
struct CVisitedProbe : CProbeUI
{
    bool IsVisible() const override { return ++nVisits > 0 && CProbeUI::IsVisible(); }
    mutable int nVisits = 0;
};

// A long column paints only the children that reach into the paint
// rectangle, the floating ones wherever they lie in the child list, and looks
// at few others, as hit tests do; one whose children step back along the
// axis (negative child padding) looks at all.
TEST(LineLayoutPaint, OnlyTheChildrenInThePaintedBandArePainted)
{
    for (int nChildPadding : {0, -30}) {
        SCOPED_TRACE(nChildPadding);
        CPaintManagerUI pm;
        CHostWindow wnd(pm, 200, 100);
        CVerticalLayoutUI* pRoot = new CVerticalLayoutUI;
        pRoot->ApplyAttributeList(L"vscrollbar=\"true\" inset=\"0,10,0,0\"");
        pRoot->SetChildPadding(nChildPadding);
        std::vector<CVisitedProbe*> aChildren;
        for (int i = 0; i < 2000; i++) {
            CVisitedProbe* pChild = new CVisitedProbe;
            if (i == 0) pChild->ApplyAttributeList(L"float=\"true\" pos=\"0,40,10,50\"");
            else if (i == 1999) pChild->ApplyAttributeList(L"float=\"true\" pos=\"20,80,30,90\"");
            else pChild->SetFixedHeight(20);
            if (i == 1002) pChild->SetVisible(false);
            aChildren.push_back(pChild);
            pRoot->Add(pChild);
        }
        pm.AttachDialog(pRoot);
        RepaintNow(wnd);
        pRoot->SetScrollPos(SIZE{0, 20005});
        RepaintNow(wnd);
        const RECT rcClient = {0, 10, 184, 100};
        PixelCanvas canvas(200, 100);
        for (const RECT& rcPaint : {RECT{0, 30, 200, 55}, RECT{0, 0, 200, 100}, RECT{0, 85, 200, 100}}) {
            for (CVisitedProbe* p : aChildren) p->nPaint = p->nVisits = 0;
            pRoot->DoPaint(canvas.DC(), rcPaint);
            int nPainted = 0, nVisits = 0;
            for (CVisitedProbe* p : aChildren) nVisits += p->nVisits;
            if (nChildPadding == 0) {
                EXPECT_LT(nVisits, 200);
            }
            else EXPECT_GE(nVisits, 2000);
            for (size_t i = 0; i < aChildren.size(); i++) {
                const CVisitedProbe* p = aChildren[i];
                const bool bShows = p->IsVisible() && Meets(rcPaint, p->GetPos()) &&
                                    Meets(p->IsFloat() ? pRoot->GetPos() : rcClient, p->GetPos());
                EXPECT_EQ(p->nPaint, bShows ? 1 : 0) << "child " << i << " at " << RectText(p->GetPos());
                nPainted += p->nPaint;
            }
            EXPECT_GT(nPainted, 0);
        }
        // Hit tests look at as few, and find the topmost child under the point.
        for (POINT pt : {POINT{5, 45}, POINT{25, 85}, POINT{100, 60}, POINT{100, 5}}) {
            CControlUI* pExpected = pRoot;
            for (CVisitedProbe* p : aChildren) {
                const RECT& rc = p->GetPos();
                if (p->IsVisible() && ::PtInRect(&rc, pt) && (p->IsFloat() || ::PtInRect(&rcClient, pt))) pExpected = p;
            }
            for (CVisitedProbe* p : aChildren) p->nVisits = 0;
            EXPECT_EQ(pm.FindControl(pt), pExpected) << pt.x << "," << pt.y;
            int nVisits = 0;
            for (CVisitedProbe* p : aChildren) nVisits += p->nVisits;
            if (nChildPadding == 0) {
                EXPECT_LT(nVisits, 200);
            }
        }
    }
}

TEST(SeparatorAcross, AHorizontalStripDragsTheWidthAndSetsItsCursor)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 300, 50);
    CHorizontalLayoutUI* pRoot = new CHorizontalLayoutUI;
    CHorizontalLayoutUI* pLayout = new CHorizontalLayoutUI;
    pLayout->ApplyAttributeList(L"width=\"100\" sepwidth=\"10\" minwidth=\"60\" sepimm=\"true\"");
    pRoot->Add(pLayout);
    pRoot->Add(new CControlUI);
    pm.AttachDialog(pRoot);
    RepaintNow(wnd);
    ASSERT_EQ(RectText(pLayout->GetThumbRect(false)), "90,0,100,50");
    tagTEventUI event = {};
    event.nEventType = SKIN_EVT_SETCURSOR;
    event.ptMousePos = POINT{95, 20};
    pLayout->Event(event);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(NULL, IDC_SIZEWE));
    for (int nType : {SKIN_EVT_BUTTONDOWN, SKIN_EVT_MOUSEMOVE}) {
        event.nEventType = nType;
        event.ptMousePos = POINT{nType == SKIN_EVT_BUTTONDOWN ? 95 : 20, 20};
        pLayout->Event(event);
    }
    EXPECT_EQ(pLayout->GetFixedWidth(), 60);
    event.nEventType = SKIN_EVT_BUTTONUP;
    pLayout->Event(event);
    RepaintNow(wnd);
    EXPECT_EQ(RectText(pLayout->GetPos()), "0,0,60,50");
    EXPECT_STREQ(pLayout->GetClass(), L"HorizontalLayoutUI");
    EXPECT_EQ(pLayout->GetInterface(L"HorizontalLayout"), static_cast<void*>(pLayout));
    EXPECT_EQ(pLayout->GetInterface(L"VerticalLayout"), nullptr);
    EXPECT_NE(pLayout->GetInterface(L"Container"), nullptr);
}

} // namespace
