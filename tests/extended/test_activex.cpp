// The ActiveX host against the simulated control beside this program
// (tests/doubles/activex): creation paths, the order of the host's calls,
// windowless and windowed activation, sizing, painting and input routing as
// the control's log and the window's pixels show them, and a balance of zero
// objects, references, held interfaces and running locks once the host lets go.
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <string>

#include "HostedControlTest.h"
#include "SkinElements.h"
#include "extended/ActiveXUI.h"

using namespace SkinLibTest;

namespace {

// Writes the notifications into the control's log, where they fall among its calls.
struct CNoteNotifier : INotifyUI
{
    void Notify(tagTNotifyUI& msg) override { Double().Note(msg.sNotifyType); }
};

// A derived control that hooks an accelerator translator on creation.
class CHookingActiveXUI : public CActiveXUI, public ITranslateAccelerator
{
public:
    bool DoCreateControl() override
    {
        const bool bCreated = CActiveXUI::DoCreateControl();
        AddAcceleratorHook(this);
        return bCreated;
    }
    LRESULT TranslateAcceleratorW(MSG*) override { return ++nTranslated, 1; }
    int nTranslated = 0;
};

struct ActiveXTest : HostedControlTest
{
    void SetUp() override
    {
        HostedControlTest::SetUp();
        pm.AddNotifier(&notes);
    }
    bool Delivered(UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        Double().ClearLog();
        Send(uMsg, wParam, lParam);
        wchar_t sz[40];
        swprintf(sz, 40, L"OnWindowMessage msg=0x%04X", uMsg);
        return Logged(sz);
    }

    CNoteNotifier notes;
    const POINT ptDisc = {300, 20};   // on the disc, above its caption
    const POINT ptCorner = {203, 3};  // in the item rectangle, off the disc
};

TEST_F(ActiveXTest, CreatesFromModuleClassIdentifierAndProgramIdentifier)
{
    ASSERT_EQ(Double().Register(), S_OK);
    CActiveXUI* pModule = Host(kByModule);
    const std::wstring aIds[] = {ActiveXDouble::kClsidText, ActiveXDouble::kProgId};
    for (const std::wstring& sId : aIds) {
        CActiveXUI* pRegistered = new CActiveXUI;
        pRoot->Add(pRegistered);
        EXPECT_TRUE(pRegistered->CreateControl(sId.c_str()));
        EXPECT_TRUE(pRegistered->DoCreateControl()) << sId;
        EXPECT_TRUE(pRegistered->GetClisd() == ActiveXDouble::kClsid);
    }
    IOleObject* pObject = NULL;
    ASSERT_EQ(pModule->GetControl(IID_IOleObject, reinterpret_cast<void**>(&pObject)), S_OK);
    pObject->Release();
    EXPECT_EQ(Double().GetCounts().nLiveObjects, 3);

    CActiveXUI unknown;
    EXPECT_FALSE(unknown.CreateControl(L"SkinLibTest.NoSuchControl"));
    EXPECT_EQ(unknown.GetControl(IID_IOleObject, reinterpret_cast<void**>(&pObject)), E_PENDING);
    CControlUI* pElement = CreateSkinElement(L"ActiveX");
    EXPECT_EQ(pElement->GetInterface(L"ActiveX"), static_cast<CActiveXUI*>(pElement));
    delete pElement;
}

TEST_F(ActiveXTest, CallsInOrderWithShowActiveXBeforeActivationAndSiteFirstWhenAsked)
{
    Host(kByModule);
    EXPECT_TRUE(InOrder({L"InitNew", L"SetClientSite site=yes", L"SetHostNames app=UIActiveX object=null",
                         L"showactivex", L"DoVerb verb=-5 parent=SkinLibTestHost rect=200,0,400,100",
                         L"site.OnInPlaceActivateEx flags=1 -> 0x00000000", L"SetSite site=yes"}))
        << Log();
    Double().SetSwitches(ActiveXDouble::kSetClientSiteFirst);
    Double().ClearLog();
    Host(kByModule);
    EXPECT_TRUE(InOrder({L"SetClientSite site=yes", L"InitNew", L"DoVerb"})) << Log();

    Double().SetSwitches(ActiveXDouble::kFailInit);
    Double().ClearLog();
    CActiveXUI* pFailing = Host(kByModule);
    EXPECT_FALSE(pFailing->DoCreateControl());
    EXPECT_FALSE(Logged(L"DoVerb")) << Log();
}

// Nothing is made before the first layout; made at once before there is a
// manager, the object goes in place at the first layout in a paint window.
TEST_F(ActiveXTest, DelayCreateWaitsForLayoutAndCreationWithoutManagerShowsInTheFirstPaintWindow)
{
    CActiveXUI* pDelayed = new CActiveXUI;
    pDelayed->ApplyAttributeList(kByModule.c_str());
    EXPECT_TRUE(Log().empty());
    CActiveXUI* pAtOnce = new CActiveXUI;
    pAtOnce->ApplyAttributeList((kByModule + L" delaycreate=\"false\"").c_str());
    EXPECT_TRUE(Logged(L"SetHostNames"));
    EXPECT_FALSE(Logged(L"DoVerb"));
    EXPECT_EQ(pAtOnce->GetHostWindow(), (HWND)NULL);

    Attach({pAtOnce, pDelayed}, 200, 100);
    EXPECT_EQ(Double().GetCounts().nLiveObjects, 2);
    EXPECT_TRUE(InOrder({L"showactivex", L"DoVerb verb=-5 parent=SkinLibTestHost rect=0,0,200,100"})) << Log();
    EXPECT_EQ(pAtOnce->GetHostWindow(), static_cast<HWND>(wnd));
    EXPECT_TRUE(Delivered(WM_LBUTTONDOWN, MK_LBUTTON, At(100, 20)));
}

TEST_F(ActiveXTest, WindowlessObjectIsSizedAndPaintedInTheItemRectangle)
{
    CActiveXUI* pControl = Host(kByModule);
    HDC hScreen = ::GetDC(NULL);
    wchar_t szExtent[64];
    swprintf(szExtent, 64, L"SetExtent aspect=1 size=%d,%d", ::MulDiv(2540, 200, ::GetDeviceCaps(hScreen, LOGPIXELSX)),
             ::MulDiv(2540, 100, ::GetDeviceCaps(hScreen, LOGPIXELSY)));
    ::ReleaseDC(NULL, hScreen);
    EXPECT_TRUE(Logged(szExtent)) << Log();
    // The frame information keeps the caller's size, and there are no accelerators to hand out.
    wchar_t szContext[160];
    swprintf(szContext, 160, L"pos=200,0,400,100 clip=200,0,400,100 cb=%u frame.window=SkinLibTestHost accel=null entries=0",
             static_cast<unsigned>(sizeof(OLEINPLACEFRAMEINFO)));
    EXPECT_TRUE(Logged(szContext)) << Log();
    EXPECT_TRUE(Logged(L"SetObjectRects pos=200,0,400,100 clip=200,0,400,100"));
    EXPECT_TRUE(Logged(L"Draw aspect=1 bounds=200,0,400,100"));
    EXPECT_EQ(pControl->GetHostWindow(), static_cast<HWND>(wnd));
    Snapshot();
    EXPECT_EQ(canvas.Rgb(ptDisc.x, ptDisc.y), 0x1883D7u);
    EXPECT_EQ(canvas.Rgb(ptCorner.x - 1, ptCorner.y - 1), 0xE8F2FBu);
}

TEST_F(ActiveXTest, InvisibleAtRunTimeIsNeverActivatedNorPainted)
{
    Double().SetSwitches(ActiveXDouble::kInvisibleAtRunTime);
    Host(kByModule);
    Snapshot();
    EXPECT_TRUE(Logged(L"showactivex"));
    EXPECT_FALSE(Logged(L"DoVerb"));
    EXPECT_FALSE(Logged(L"Draw"));
}

TEST_F(ActiveXTest, WindowedObjectLivesInAChildWindowThatFollowsTheControl)
{
    Double().SetSwitches(ActiveXDouble::kWindowedOnly);
    CActiveXUI* pControl = Host(kByModule);
    EXPECT_TRUE(InOrder({L"site.OnInPlaceActivate -> 0x00000000",
                         L"site.GetWindowContext -> 0x00000000 frame=yes doc=null pos=0,0,200,100",
                         L"site.GetWindow -> 0x00000000 window=ActiveXWnd"}))
        << Log();
    HWND hChild = pControl->GetHostWindow();
    ASSERT_TRUE(::IsWindow(hChild));
    EXPECT_EQ(::GetParent(hChild), static_cast<HWND>(wnd));
    pControl->SetPos(RECT{210, 10, 310, 60});
    RECT rc = {};
    ::GetWindowRect(hChild, &rc);
    EXPECT_EQ(rc.right - rc.left, 100);
    EXPECT_TRUE(Logged(L"SetObjectRects pos=0,0,100,50"));
    // A windowed object takes its input in its own window, never through the filter.
    EXPECT_FALSE(Delivered(WM_LBUTTONDOWN, MK_LBUTTON, At(260, 30)));
    pControl->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(hChild));
    Destroy(pControl);
    EXPECT_FALSE(::IsWindow(hChild));
    ExpectBalanced();
}

TEST_F(ActiveXTest, MouseReachesTheObjectOnItsDiscOrWhileItHoldsTheCaptureAndKeysWithTheFocus)
{
    CActiveXUI* pControl = Host(kByModule);
    EXPECT_FALSE(Delivered(WM_KEYDOWN, 'A', 0));
    EXPECT_FALSE(Delivered(WM_LBUTTONDOWN, MK_LBUTTON, At(ptCorner.x, ptCorner.y)));
    EXPECT_TRUE(Logged(L"QueryHitPoint point=203,3 bounds=200,0,400,100 -> outside"));
    // The press takes the capture and the focus.
    EXPECT_TRUE(Delivered(WM_LBUTTONDOWN, MK_LBUTTON, At(ptDisc.x, ptDisc.y)));
    EXPECT_TRUE(pControl->IsFocused());
    EXPECT_TRUE(Delivered(WM_MOUSEMOVE, MK_LBUTTON, At(10, 10)));
    EXPECT_TRUE(Delivered(WM_KEYDOWN, 'A', 0));
    EXPECT_TRUE(Delivered(WM_LBUTTONUP, 0, At(10, 10)));
    EXPECT_FALSE(Delivered(WM_MOUSEMOVE, 0, At(10, 10)));
    pm.SetFocus(NULL);
    EXPECT_FALSE(Delivered(WM_KEYDOWN, 'A', 0));
    pControl->SetMouseEnabled(false);
    EXPECT_FALSE(Delivered(WM_LBUTTONDOWN, MK_LBUTTON, At(ptDisc.x, ptDisc.y)));
    pControl->SetMouseEnabled(true);
    pControl->SetVisible(false);
    EXPECT_FALSE(Delivered(WM_LBUTTONDOWN, MK_LBUTTON, At(ptDisc.x, ptDisc.y)));
}

// The wheel carries a screen point, WM_SETCURSOR none: both are hit where the pointer is.
TEST_F(ActiveXTest, WheelAndCursorAreHitTestedWhereThePointerIs)
{
    Host(kByModule);
    ::SetWindowPos(wnd, NULL, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    POINT ptScreen = ptDisc;
    ::ClientToScreen(wnd, &ptScreen);
    EXPECT_TRUE(Delivered(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(ptScreen.x, ptScreen.y)));
    EXPECT_FALSE(Delivered(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(ptDisc.x, ptDisc.y)));
    // Another test program may move the pointer in between: try until it stays long enough.
    bool bDelivered = false;
    for (DWORD dwStart = ::GetTickCount(); !bDelivered && ::GetTickCount() - dwStart < 30000;) {
        ::SetCursorPos(ptScreen.x, ptScreen.y);
        bDelivered = Delivered(WM_SETCURSOR, reinterpret_cast<WPARAM>(static_cast<HWND>(wnd)),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
    EXPECT_TRUE(bDelivered) << Log();
}

TEST_F(ActiveXTest, WithoutAnExtendedViewTheItemRectangleIsTheHitArea)
{
    Double().SetSwitches(ActiveXDouble::kNoViewEx);
    Host(kByModule);
    EXPECT_TRUE(Delivered(WM_LBUTTONDOWN, MK_LBUTTON, At(ptCorner.x, ptCorner.y)));
    EXPECT_FALSE(Logged(L"QueryHitPoint"));
    EXPECT_TRUE(Delivered(WM_LBUTTONUP, 0, At(10, 10)));
    EXPECT_FALSE(Delivered(WM_MOUSEMOVE, 0, At(10, 10)));
}

// Moved to another window, the control takes its filter, its accelerator hook
// and its host window along: the first window may go first.
TEST_F(ActiveXTest, ControlMovedToAnotherWindowTakesItsRegistrationsAlong)
{
    CPaintManagerUI* pFirst = new CPaintManagerUI;
    CHostWindow* pFirstWnd = new CHostWindow(*pFirst, kWidth, kHeight);
    CBoxUI* pFirstRoot = new CBoxUI(200, 100);
    CHookingActiveXUI* pControl = new CHookingActiveXUI;
    pControl->ApplyAttributeList(kByModule.c_str());
    pFirstRoot->Add(pControl);
    pFirst->AttachDialog(pFirstRoot);
    RepaintNow(*pFirstWnd);
    ASSERT_EQ(pControl->GetHostWindow(), static_cast<HWND>(*pFirstWnd));

    pFirstRoot->Detach(pControl);
    Attach({new CProbeUI, pControl}, 200, 100);
    EXPECT_FALSE(pFirst->RemoveMessageFilter(pControl));
    EXPECT_FALSE(pFirst->RemoveTranslateAccelerator(pControl));
    delete pFirstWnd;
    delete pFirst;
    EXPECT_EQ(pControl->GetHostWindow(), static_cast<HWND>(wnd));
    EXPECT_TRUE(Delivered(WM_LBUTTONDOWN, MK_LBUTTON, At(ptDisc.x, ptDisc.y)));
    Send(WM_LBUTTONUP, 0, At(ptDisc.x, ptDisc.y));
    MSG msg = {wnd, WM_KEYDOWN, 'A', 0};
    pm.TranslateAcceleratorW(&msg);
    EXPECT_EQ(pControl->nTranslated, 1);
    Destroy(pControl);
    ExpectBalanced();

    // A windowed object's child window moves along.
    Double().SetSwitches(ActiveXDouble::kWindowedOnly);
    pFirst = new CPaintManagerUI;
    pFirstWnd = new CHostWindow(*pFirst, kWidth, kHeight);
    pFirstRoot = new CBoxUI(200, 100);
    CActiveXUI* pWindowed = new CActiveXUI;
    pWindowed->ApplyAttributeList(kByModule.c_str());
    pFirstRoot->Add(pWindowed);
    pFirst->AttachDialog(pFirstRoot);
    RepaintNow(*pFirstWnd);
    const HWND hChild = pWindowed->GetHostWindow();
    ASSERT_EQ(::GetParent(hChild), static_cast<HWND>(*pFirstWnd));
    pFirstRoot->Detach(pWindowed);
    pRoot->Add(pWindowed);
    delete pFirstWnd;
    delete pFirst;
    EXPECT_TRUE(::IsWindow(hChild));
    EXPECT_EQ(::GetParent(hChild), static_cast<HWND>(wnd));
    Destroy(pWindowed);
    ExpectBalanced();
}

// Deactivation, reactivation, UI activation and re-creation leave one filter and
// no lock behind, and everything goes back when the control goes, whichever
// manager it has by then.
TEST_F(ActiveXTest, ReactivatedAndRecreatedObjectsAreReleasedToABalanceOfZero)
{
    CHookingActiveXUI* pControl = new CHookingActiveXUI;
    Host(kByModule, pControl);
    IOleObject* pObject = NULL;
    ASSERT_EQ(pControl->GetControl(IID_IOleObject, reinterpret_cast<void**>(&pObject)), S_OK);
    IOleClientSite* pSite = NULL;
    ASSERT_EQ(pObject->GetClientSite(&pSite), S_OK);
    const RECT rc = pControl->GetPos();
    for (LONG iVerb : {OLEIVERB_HIDE, OLEIVERB_INPLACEACTIVATE, OLEIVERB_HIDE, OLEIVERB_UIACTIVATE}) {
        EXPECT_EQ(pObject->DoVerb(iVerb, NULL, pSite, 0, wnd, &rc), S_OK);
    }
    EXPECT_TRUE(Logged(L"frame.SetActiveObject object=yes -> 0x00000000"));
    EXPECT_EQ(Double().GetCounts().nRunningLocks, 1);
    EXPECT_TRUE(Delivered(WM_LBUTTONDOWN, MK_LBUTTON, At(ptDisc.x, ptDisc.y)));
    Send(WM_LBUTTONUP, 0, At(ptDisc.x, ptDisc.y));
    pObject->Release();

    // The object still holds the site, and the test holds it and a frame beyond the release.
    IOleInPlaceSiteWindowless* pInPlace = NULL;
    ASSERT_EQ(pSite->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&pInPlace)), S_OK);
    IOleInPlaceFrame* pFrame = NULL;
    IOleInPlaceUIWindow* pDoc = NULL;
    RECT rcPos, rcClip;
    EXPECT_EQ(pInPlace->GetWindowContext(&pFrame, &pDoc, &rcPos, &rcClip, NULL), E_POINTER);
    OLEINPLACEFRAMEINFO info = {sizeof(info)};
    ASSERT_EQ(pInPlace->GetWindowContext(&pFrame, &pDoc, &rcPos, &rcClip, &info), S_OK);
    HDC hDC = NULL;
    ASSERT_EQ(pInPlace->GetDC(NULL, OLEDC_NODRAW, &hDC), S_OK);
    IOleControlSite* pControlSite = NULL;
    ASSERT_EQ(pSite->QueryInterface(IID_IOleControlSite, reinterpret_cast<void**>(&pControlSite)), S_OK);
    IDispatch* pDispatch = NULL;
    ASSERT_EQ(pControlSite->GetExtendedControl(&pDispatch), S_OK);
    pDispatch->Release();
    IEnumUnknown* pEnum = NULL;
    IOleContainer* pContainer = NULL;
    ASSERT_EQ(pSite->GetContainer(&pContainer), S_OK);
    ASSERT_EQ(pContainer->EnumObjects(OLECONTF_EMBEDDINGS, &pEnum), S_OK);
    IUnknown* apUnk[2] = {};
    ULONG nFetched = 0;
    EXPECT_EQ(pEnum->Next(2, apUnk, &nFetched), S_OK);
    EXPECT_EQ(nFetched, 1u);
    apUnk[0]->Release();
    EXPECT_EQ(pEnum->Next(1, apUnk, &nFetched), S_FALSE);
    pEnum->Release();
    pContainer->Release();

    pControl->SetDelayCreate(false);
    EXPECT_TRUE(pControl->CreateControl(ActiveXDouble::kClsidText));
    EXPECT_EQ(Double().GetCounts().nLiveObjects, 1);
    MSG msg = {wnd, WM_KEYDOWN, 'A', 0};
    pm.TranslateAcceleratorW(&msg);
    EXPECT_EQ(pControl->nTranslated, 1);
    pControl->SetManager(NULL, pRoot, false);
    pControl->ReleaseControl();
    EXPECT_FALSE(pm.RemoveMessageFilter(pControl));
    EXPECT_FALSE(pm.RemoveTranslateAccelerator(pControl));
    HWND hWnd = NULL;
    EXPECT_EQ(pInPlace->GetWindow(&hWnd), E_UNEXPECTED);
    EXPECT_EQ(pInPlace->OnInPlaceActivateEx(NULL, ACTIVATE_WINDOWLESS), E_UNEXPECTED);
    EXPECT_EQ(pInPlace->SetFocus(TRUE), E_UNEXPECTED);
    EXPECT_EQ(pFrame->GetWindow(&hWnd), E_UNEXPECTED);
    EXPECT_EQ(pControlSite->GetExtendedControl(&pDispatch), E_UNEXPECTED);
    HDC hOtherDC = NULL;
    EXPECT_EQ(pInPlace->GetDC(NULL, 0, &hOtherDC), E_UNEXPECTED);
    // A DC handed out before goes back to its window all the same.
    EXPECT_EQ(pInPlace->ReleaseDC(hDC), S_OK);
    pControlSite->Release();
    pFrame->Release();
    pInPlace->Release();
    pSite->Release();
    pControl->SetManager(&pm, pRoot, false);
    Destroy(pControl);
    ExpectBalanced();
}

} // namespace
