// The Flash control against the simulated player (tests/doubles/activex),
// registered in this process under the player's class identifier: each of
// the player's events with the arguments it carries and with wrong ones, the
// handler's reference, and the player and its sink let go on re-creation and
// destruction.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostedControlTest.h"
#include "SkinElements.h"
#include "extended/FlashUI.h"

using namespace SkinLibTest;

namespace {

// The application's handler: each call as a line, its references counted.
class CFlashRecorder : public CFlashEventHandler
{
public:
    ULONG Release() override
    {
        if (--nRefs == 0) ++nLetGo;
        return static_cast<ULONG>(nRefs);
    }
    ULONG AddRef() override { return static_cast<ULONG>(++nRefs); }
    HRESULT OnReadyStateChange(long newState) override
    {
        return Answer(L"OnReadyStateChange " + std::to_wstring(newState));
    }
    HRESULT OnProgress(long percentDone) override { return Answer(L"OnProgress " + std::to_wstring(percentDone)); }
    HRESULT FSCommand(const wchar_t* command, const wchar_t* args) override
    {
        return Answer(L"FSCommand " + std::wstring(command) + L"(" + args + L")");
    }
    HRESULT FlashCall(const wchar_t* request) override { return Answer(L"FlashCall " + std::wstring(request)); }

    std::wstring Last() const { return aCalls.empty() ? L"" : aCalls.back(); }

    LONG nRefs = 0;
    int nLetGo = 0;  // times the count went back to zero
    std::vector<std::wstring> aCalls;
    HRESULT hrAnswer = static_cast<HRESULT>(0x2A);

private:
    HRESULT Answer(const std::wstring& sCall)
    {
        aCalls.push_back(sCall);
        return hrAnswer;
    }
};

VARIANT Value(VARTYPE vt, LONG n = 0)
{
    VARIANT v = {};
    V_VT(&v) = vt;
    V_I4(&v) = n;
    return v;
}

VARIANT LongRef(LONG* pn)
{
    VARIANT v = {};
    V_VT(&v) = VT_I4 | VT_BYREF;
    V_I4REF(&v) = pn;
    return v;
}

// A scripted event's arguments, last parameter first, freed when done.
struct CEvent
{
    CEvent(DISPID id, std::initializer_list<VARIANT> aArgs) : dispid(id), a(aArgs.begin(), aArgs.end()) {}
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;
    ~CEvent()
    {
        for (VARIANT& v : a) ::VariantClear(&v);
    }
    HRESULT Fire() { return Double().Fire(dispid, a.data(), static_cast<UINT>(a.size())); }

    DISPID dispid;
    std::vector<VARIANT> a;
};

VARIANT Text(const wchar_t* pstr)
{
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = ::SysAllocString(pstr);
    return v;
}

// The simulated player is made by class identifier, as the real one would be.
struct FlashTest : HostedControlTest
{
    void SetUp() override
    {
        HostedControlTest::SetUp();
        IClassFactory* pFactory = NULL;
        ASSERT_EQ(Double().GetClassObject(IID_IClassFactory, reinterpret_cast<void**>(&pFactory),
                                          ActiveXDouble::kPlayerClsid),
                  S_OK);
        ASSERT_EQ(::CoRegisterClassObject(ActiveXDouble::kPlayerClsid, pFactory, CLSCTX_INPROC_SERVER,
                                          REGCLS_MULTIPLEUSE, &m_dwRegistration),
                  S_OK);
        pFactory->Release();
    }
    void TearDown() override
    {
        ::CoRevokeClassObject(m_dwRegistration);
        HostedControlTest::TearDown();
    }
    CFlashUI* HostPlayer()
    {
        CFlashUI* pControl = Host(L"", new CFlashUI);
        pControl->SetFlashEventHandler(&handler);
        return pControl;
    }

    CFlashRecorder handler;
    DWORD m_dwRegistration = 0;
};

TEST_F(FlashTest, EachEventReachesTheHandlerOnlyWithTheArgumentsItCarries)
{
    HostPlayer();
    ASSERT_TRUE(Logged(L"Advise cookie=1")) << Log();
    struct Case
    {
        CEvent event;
        HRESULT hr;
        const wchar_t* pstrHeard;  // null: the handler hears nothing
    };
    LONG nByReference = 75;  // the percentage may come by reference
    Case aCases[] = {
        {{ActiveXDouble::kDispidFSCommand, {Text(L"b=2"), Text(L"play")}}, handler.hrAnswer, L"FSCommand play(b=2)"},
        {{ActiveXDouble::kDispidFSCommand, {Text(L"play")}}, DISP_E_BADPARAMCOUNT, NULL},
        {{ActiveXDouble::kDispidFSCommand, {Value(VT_I4, 1), Text(L"play")}}, DISP_E_TYPEMISMATCH, NULL},
        {{ActiveXDouble::kDispidFlashCall, {Text(L"<invoke name=\"f\"/>")}}, handler.hrAnswer,
         L"FlashCall <invoke name=\"f\"/>"},
        {{ActiveXDouble::kDispidFlashCall, {Value(VT_I4, 1)}}, E_INVALIDARG, NULL},
        {{ActiveXDouble::kDispidFlashCall, {Text(L"a"), Text(L"b")}}, E_INVALIDARG, NULL},
        {{ActiveXDouble::kDispidProgress, {Value(VT_I4, 40)}}, handler.hrAnswer, L"OnProgress 40"},
        {{ActiveXDouble::kDispidProgress, {LongRef(&nByReference)}}, handler.hrAnswer, L"OnProgress 75"},
        {{ActiveXDouble::kDispidProgress, {LongRef(NULL)}}, DISP_E_TYPEMISMATCH, NULL},
        {{ActiveXDouble::kDispidProgress, {Value(VT_BSTR)}}, DISP_E_TYPEMISMATCH, NULL},
        {{ActiveXDouble::kDispidProgress, {}}, DISP_E_BADPARAMCOUNT, NULL},
        {{ActiveXDouble::kDispidReadyStateChange, {Value(VT_I4, 4)}}, handler.hrAnswer, L"OnReadyStateChange 4"},
        {{ActiveXDouble::kDispidReadyStateChange, {Value(VT_BOOL)}}, DISP_E_TYPEMISMATCH, NULL},
        {{ActiveXDouble::kDispidReadyStateChange, {Value(VT_I4, 3), Value(VT_I4, 4)}}, DISP_E_BADPARAMCOUNT, NULL},
        {{1, {}}, S_OK, NULL},
    };
    for (Case& c : aCases) {
        const size_t nHeard = handler.aCalls.size();
        EXPECT_EQ(c.event.Fire(), c.hr) << "event " << c.event.dispid << ", " << c.event.a.size() << " argument(s)";
        if (c.pstrHeard == NULL) EXPECT_EQ(handler.aCalls.size(), nHeard) << handler.Last();
        else EXPECT_EQ(handler.Last(), c.pstrHeard);
    }
}

// A click on the player's disc comes back to the application as its FSCommand.
TEST_F(FlashTest, ClickOnThePlayerComesBackAsItsCommand)
{
    CFlashUI* pControl = HostPlayer();
    const POINT pt = Centre(pControl);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(pt.x, pt.y));
    Send(WM_LBUTTONUP, 0, At(pt.x, pt.y));
    EXPECT_EQ(handler.Last(), L"FSCommand click(1)");
}

TEST_F(FlashTest, TheHandlerIsHeldOnceAndGivenBackWhenReplacedOrWhenTheControlGoes)
{
    CFlashRecorder other;
    CFlashUI* pControl = HostPlayer();
    EXPECT_EQ(handler.nRefs, 1);
    // Set again, it is never let go of in between.
    pControl->SetFlashEventHandler(&handler);
    EXPECT_EQ(handler.nRefs, 1);
    EXPECT_EQ(handler.nLetGo, 0);
    pControl->SetFlashEventHandler(&other);
    EXPECT_EQ(handler.nRefs, 0);
    EXPECT_EQ(other.nRefs, 1);
    Destroy(pControl);
    EXPECT_EQ(other.nRefs, 0);
    EXPECT_EQ(other.nLetGo, 1);
}

TEST_F(FlashTest, RecreationAndDestructionLetGoOfThePlayerAndItsSink)
{
    CFlashUI* pControl = HostPlayer();
    EXPECT_STREQ(pControl->GetClass(), L"Flash");
    EXPECT_TRUE(pControl->GetClisd() == ActiveXDouble::kPlayerClsid);
    pControl->SetDelayCreate(false);
    ASSERT_TRUE(pControl->CreateControl(ActiveXDouble::kPlayerClsid));
    EXPECT_TRUE(InOrder({L"Advise cookie=1", L"Unadvise cookie=1", L"Close", L"Advise cookie=1"})) << Log();
    EXPECT_EQ(Double().GetCounts().nLiveObjects, 1);
    Destroy(pControl);
    ExpectBalanced();

    CControlUI* pElement = CreateSkinElement(L"Flash");
    ASSERT_NE(pElement, (CControlUI*)NULL);
    EXPECT_EQ(pElement->GetInterface(L"Flash"), static_cast<CFlashUI*>(pElement));
    static_cast<CFlashUI*>(pElement)->ReleaseControl();
    MSG msg = {wnd, WM_KEYDOWN, 'a', 0};
    EXPECT_EQ(static_cast<CFlashUI*>(pElement)->TranslateAcceleratorW(&msg), E_NOTIMPL);
    delete pElement;
}

} // namespace
