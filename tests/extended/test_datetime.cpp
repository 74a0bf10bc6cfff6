// The date-time control in a real window: its picker opened by the focus over
// the whole control with the date loaded, the date taken back when the focus
// leaves (also after a day picked in the drop-down calendar), the keys that
// empty or keep the text, and the picker's life around a control that goes,
// hides or is disabled, or a window that cannot be made; the skin element
// that makes it.
#include "extended/DateTimeUI.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "../core/ControlWindow.h"
#include "../core/PoisonedDelete.h"
#include "controls/ButtonUI.h"
#include "core/DialogBuilder.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

class CDateTimeProbeUI : public CPoisonedOnDelete<CDateTimeUI>
{
public:
    bool HasPopup() const { return m_Popup.GetWindow() != NULL; }
};

SYSTEMTIME Date(WORD wYear, WORD wMonth, WORD wDay) { return SYSTEMTIME{wYear, wMonth, 0, wDay, 0, 0, 0, 0}; }

std::wstring DateText(const SYSTEMTIME& st)
{
    wchar_t sz[32];
    ::swprintf(sz, 32, L"%4d-%02d-%02d", st.wYear, st.wMonth, st.wDay);
    return sz;
}

void PostKey(HWND hWnd, UINT vk)
{
    ::PostMessageW(hWnd, WM_KEYDOWN, vk, 1);
    ::PostMessageW(hWnd, WM_KEYUP, vk, 1 | 0xC0000000);
}

struct DateTime : ControlWindowTest
{
    void SetUp() override
    {
        ControlWindowTest::SetUp();
        Attach({pDate, pOther}, 150, 30);
        pm.SetFocus(NULL);
        PumpMessages();
    }
    void TearDown() override
    {
        ControlWindowTest::TearDown();
        CDateTimeProbeUI::FreeGraveyard();
    }
    // The picker shown over the control, if there is one.
    HWND Picker() const
    {
        HWND hWnd = ::FindWindowExW(wnd, NULL, L"DateTimeWnd", NULL);
        return hWnd != NULL && ::IsWindowVisible(hWnd) ? hWnd : NULL;
    }
    HWND Open()
    {
        pDate->SetFocus();
        PumpMessages();
        return Picker();
    }
    void Click(CControlUI* pControl)
    {
        const POINT pt = Centre(pControl);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, At(pt.x, pt.y));
        Send(WM_LBUTTONUP, 0, At(pt.x, pt.y));
    }
    static SYSTEMTIME PickerDate(HWND hPicker)
    {
        SYSTEMTIME st = {};
        ::SendMessageW(hPicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        return st;
    }
    static void Pick(HWND hPicker, SYSTEMTIME st)
    {
        ::SendMessageW(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    }

    CDateTimeProbeUI* pDate = new CDateTimeProbeUI;
    CButtonUI* pOther = new CButtonUI;
};

// A point of the calendar where a click picks the day, or {-1, -1}.
POINT DayInCalendar(HWND hCalendar, WORD wDay)
{
    RECT rc = {};
    ::GetClientRect(hCalendar, &rc);
    for (LONG y = rc.top; y < rc.bottom; y += 3) {
        for (LONG x = rc.left; x < rc.right; x += 3) {
            MCHITTESTINFO hit = {sizeof(hit), POINT{x, y}};
            ::SendMessageW(hCalendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.uHit == MCHT_CALENDARDATE && hit.st.wDay == wDay) return hit.pt;
        }
    }
    return POINT{-1, -1};
}

TEST_F(DateTime, OpensOverItselfWithItsDateAndTakesThePickedDateBack)
{
    SYSTEMTIME stBefore = {}, stAfter = {};
    ::GetLocalTime(&stBefore);
    CDateTimeUI fresh;
    ::GetLocalTime(&stAfter);
    const std::wstring sToday = fresh.GetText().GetData();
    EXPECT_TRUE(sToday == DateText(stBefore) || sToday == DateText(stAfter)) << sToday;

    // The text follows a new date only when a picker closes.
    const SYSTEMTIME st = Date(2021, 3, 4);
    pDate->SetTime(&st);
    EXPECT_NE(pDate->GetText(), L"2021-03-04");
    HWND hPicker = Open();
    ASSERT_NE(hPicker, nullptr);
    EXPECT_EQ(::GetFocus(), hPicker);
    RECT rcPicker = {};
    ::GetWindowRect(hPicker, &rcPicker);
    ::MapWindowPoints(HWND_DESKTOP, wnd, reinterpret_cast<POINT*>(&rcPicker), 2);
    EXPECT_TRUE(::EqualRect(&rcPicker, &pDate->GetPos()));
    EXPECT_EQ(DateText(PickerDate(hPicker)), L"2021-03-04");
    Pick(hPicker, Date(2022, 5, 6));
    pOther->SetFocus();
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hPicker));
    EXPECT_EQ(pDate->GetText(), L"2022-05-06");
    EXPECT_EQ(DateText(pDate->GetTime()), L"2022-05-06");

    // The drop-down calendar takes the keyboard focus for a while; the picker
    // stays, and has the focus again once a day is picked.
    Click(pDate);
    hPicker = Picker();
    ASSERT_NE(hPicker, nullptr);
    RECT rc = {};
    ::GetClientRect(hPicker, &rc);
    ::PostMessageW(hPicker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right - 5, rc.bottom / 2));
    ::PostMessageW(hPicker, WM_LBUTTONUP, 0, MAKELPARAM(rc.right - 5, rc.bottom / 2));
    PumpMessages();
    const HWND hCalendar = reinterpret_cast<HWND>(::SendMessageW(hPicker, DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(hCalendar, nullptr);
    EXPECT_EQ(::GetFocus(), hCalendar);
    ASSERT_EQ(Picker(), hPicker);
    const POINT ptDay = DayInCalendar(hCalendar, 17);
    ASSERT_GE(ptDay.x, 0);
    ::PostMessageW(hCalendar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptDay.x, ptDay.y));
    ::PostMessageW(hCalendar, WM_LBUTTONUP, 0, MAKELPARAM(ptDay.x, ptDay.y));
    PumpMessages();
    ASSERT_EQ(Picker(), hPicker);
    EXPECT_EQ(::GetFocus(), hPicker);
    pm.SetFocus(NULL);
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hPicker));
    EXPECT_EQ(pDate->GetText(), L"2022-05-17");
}

TEST_F(DateTime, EscapeKeepsEverythingAndDeleteEmptiesTheText)
{
    const SYSTEMTIME st = Date(2020, 1, 2);
    pDate->SetTime(&st);
    const CSkinString sOld = pDate->GetText();
    for (UINT vk : {VK_ESCAPE, VK_DELETE, VK_BACK}) {
        pDate->SetText(sOld);
        const HWND hPicker = Open();
        ASSERT_NE(hPicker, nullptr);
        Pick(hPicker, Date(2023, 7, 8));
        PostKey(hPicker, vk);
        PumpMessages();
        EXPECT_FALSE(::IsWindow(hPicker));
        EXPECT_EQ(pDate->GetText(), vk == VK_ESCAPE ? sOld : CSkinString());
        EXPECT_EQ(DateText(pDate->GetTime()), L"2020-01-02");
        // The focus that leaves later reads nothing back.
        pOther->SetFocus();
        PumpMessages();
        EXPECT_EQ(pDate->GetText(), vk == VK_ESCAPE ? sOld : CSkinString());
    }
    // An empty control opens on the local date and takes it back.
    SYSTEMTIME stToday = {};
    ::GetLocalTime(&stToday);
    const HWND hPicker = Open();
    ASSERT_NE(hPicker, nullptr);
    EXPECT_EQ(DateText(PickerDate(hPicker)), DateText(stToday));
    pOther->SetFocus();
    PumpMessages();
    EXPECT_EQ(pDate->GetText().GetData(), DateText(stToday));
}

TEST_F(DateTime, DeletedWithItsPickerOpenThePickerForgetsIt)
{
    const HWND hPicker = Open();
    ASSERT_NE(hPicker, nullptr);
    pRoot->Detach(pDate);
    delete pDate;
    EXPECT_FALSE(::IsWindowVisible(hPicker));
    PostKey(hPicker, VK_DELETE);
    ::PostMessageW(hPicker, WM_KILLFOCUS, 0, 0);
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hPicker));
}

// Refuses the creation of every picker window of this thread while it lives.
class CPickerRefusal
{
public:
    CPickerRefusal() : m_hHook(::SetWindowsHookExW(WH_CBT, Refuse, NULL, ::GetCurrentThreadId())) {}
    ~CPickerRefusal() { ::UnhookWindowsHookEx(m_hHook); }

private:
    static LRESULT CALLBACK Refuse(int nCode, WPARAM wParam, LPARAM lParam)
    {
        wchar_t szClass[32] = L"";
        if (nCode == HCBT_CREATEWND && ::GetClassNameW(reinterpret_cast<HWND>(wParam), szClass, 32) > 0
            && wcscmp(szClass, L"DateTimeWnd") == 0) {
            return 1;
        }
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }

    HHOOK m_hHook;
};

TEST_F(DateTime, APickerThatCannotBeMadeLeavesTheControlAsItWas)
{
    pDate->SetText(L"as it was");
    {
        CPickerRefusal refusal;
        EXPECT_EQ(Open(), nullptr);
        EXPECT_FALSE(pDate->HasPopup());
    }
    EXPECT_EQ(pDate->GetText(), L"as it was");
    // The next press opens it, the focus being there already.
    Click(pDate);
    EXPECT_NE(Picker(), nullptr);
}

TEST_F(DateTime, HidingOrDisablingEndsThePickerAndADisabledControlOpensNone)
{
    const HWND hPicker = Open();
    ASSERT_NE(hPicker, nullptr);
    Pick(hPicker, Date(2024, 2, 29));
    pDate->SetVisible(false);
    EXPECT_EQ(Picker(), nullptr);
    EXPECT_EQ(pDate->GetText(), L"2024-02-29");

    pDate->SetVisible(true);
    ASSERT_NE(Open(), nullptr);
    pDate->SetEnabled(false);
    EXPECT_EQ(Picker(), nullptr);
    Click(pDate);
    PumpMessages();
    EXPECT_EQ(::FindWindowExW(wnd, NULL, L"DateTimeWnd", NULL), nullptr);
}

TEST(DateTimeBuilder, TheElementMakesADateTimeControl)
{
    CDialogBuilder builder;
    CPaintManagerUI pm;
    CControlUI* pRoot = builder.Create(L"<Window><DateTime text=\"2020-01-02\"/></Window>", NULL, NULL, &pm);
    ASSERT_NE(pRoot, nullptr);
    EXPECT_STREQ(pRoot->GetClass(), L"DateTimeUI");
    EXPECT_NE(pRoot->GetInterface(L"DateTime"), nullptr);
    EXPECT_EQ(pRoot->GetText(), L"2020-01-02");
    delete pRoot;
}

} // namespace
