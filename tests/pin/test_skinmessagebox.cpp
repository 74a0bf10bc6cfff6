// The skinned message box in this process: its size from the text, its
// buttons and icon from the type, its answers. The box reads "MsgBox.xml"
// (taken from the program's archive embedded in this test) and two broken
// variants from a folder on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ModalSteps.h"
#include "PinDialogInput.h"
#include "SkinMessageBox.h"
#include "SkinSettings.h"
#include "TempFiles.h"
#include "core/ResourceZip.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

const DWORD kBoxStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
const int kTitleHeight = 40;  // "MsgTitle" in the shipped skin

std::string ArchiveMember(const wchar_t* pstrName)
{
    HRSRC hInfo = ::FindResourceW(NULL, MAKEINTRESOURCEW(109), L"ZIPRES");
    HGLOBAL hData = hInfo != NULL ? ::LoadResource(NULL, hInfo) : NULL;
    if (hData == NULL) return std::string();
    HSKINZIP hZip = ResourceZipOpen(::LockResource(hData), ::SizeofResource(NULL, hInfo), SKINZIP_MEMORY);
    std::unique_ptr<BYTE[]> pBytes;
    unsigned int nSize = 0;
    DWORD dwResult = ResourceZipReadItem(hZip, pstrName, 1 << 20, pBytes, &nSize);
    ResourceZipClose(hZip);
    return dwResult == SKINZIP_OK ? std::string(reinterpret_cast<char*>(pBytes.get()), nSize) : std::string();
}

std::wstring Str(const CSkinString& s)
{
    return s.GetData();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    size_t nPos = text.find(from);
    if (nPos != std::string::npos) text.replace(nPos, from.size(), to);
    return text;
}

// A box whose controls the test reads.
class CProbeBox : public CSkinMessageBox
{
public:
    CProbeBox(const wchar_t* pstrSkin, const wchar_t* pstrText, UINT uType)
        : CSkinMessageBox(pstrSkin, L"probe", pstrText, uType)
    {
    }

    bool Create()
    {
        if (CSkinMessageBox::Create(NULL, L"Test", kBoxStyle, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, NULL) == NULL)
            return false;
        CenterWindow();
        return true;
    }
    CControlUI* Find(const wchar_t* pstrName) { return m_PaintManager.FindControl(pstrName); }
    SIZE WindowSize() const
    {
        RECT rc = {};
        ::GetWindowRect(m_hWnd, &rc);
        return SIZE{rc.right - rc.left, rc.bottom - rc.top};
    }
    // The height of one text line and the width of a text in the box's font 0.
    SIZE Extent(const wchar_t* pstrText)
    {
        HDC hDC = m_PaintManager.GetPaintDC();
        HGDIOBJ hOld = ::SelectObject(hDC, m_PaintManager.GetFont(0));
        SIZE sz = {};
        ::GetTextExtentPoint32W(hDC, pstrText, static_cast<int>(wcslen(pstrText)), &sz);
        ::SelectObject(hDC, hOld);
        return sz;
    }
    // Where a control stands inside "MsgBox".
    POINT InBox(CControlUI* pControl)
    {
        const RECT& rcBox = Find(L"MsgBox")->GetPos();
        return POINT{pControl->GetPos().left - rcBox.left, pControl->GetPos().top - rcBox.top};
    }
};

class SkinMessageBoxTest : public SkinSettingsTest
{
protected:
    static void SetUpTestSuite()
    {
        std::string skin = ArchiveMember(L"MsgBox.xml");
        ASSERT_FALSE(skin.empty());
        s_folder = MakeTempFolder(L"skinmessagebox");
        ASSERT_TRUE(WriteBytes(s_folder + L"MsgBox.xml", skin));
        ASSERT_TRUE(WriteBytes(s_folder + L"NoTitle.xml", Replaced(skin, "name=\"MsgTitle\"", "name=\"Band\"")));
        ASSERT_TRUE(WriteBytes(s_folder + L"NoBox.xml", Replaced(skin, "name=\"MsgBox\"", "name=\"Other\"")));
        for (const wchar_t* pstrImage : {L"logo_32.png", L"Png_Msg_error.png", L"Png_Msg_warning.png",
                                         L"Png_Msg_info.png", L"Close_Active.png", L"Close_MouseOver.png",
                                         L"Close_Click.png"}) {
            std::string image = ArchiveMember(pstrImage);
            ASSERT_FALSE(image.empty()) << pstrImage;
            ASSERT_TRUE(WriteBytes(s_folder + pstrImage, image));
        }
    }

    SkinMessageBoxTest()
    {
        CPaintManagerUI::SetInstance(::GetModuleHandleW(NULL));
        CPaintManagerUI::SetResourcePath(s_folder.c_str());
        CPaintManagerUI::SetResourceZip(L"", false);
    }

    // Shows a real box while the steps run in its loop.
    int Show(const wchar_t* pstrCaption, const wchar_t* pstrText, UINT uType, std::vector<CModalSteps::Step> steps)
    {
        CModalSteps run(std::move(steps));
        int nResult = ShowSkinMessageBox(NULL, pstrCaption, pstrText, uType);
        EXPECT_TRUE(run.Finished());
        return nResult;
    }

    static std::wstring s_folder;
};

std::wstring SkinMessageBoxTest::s_folder;

// A step that waits for the box with a caption and then acts on it.
CModalSteps::Step OnBox(const wchar_t* pstrCaption, std::function<void(HWND)> act)
{
    return [pstrCaption, act] {
        HWND hBox = ::FindWindowW(L"SkinMainFrame", pstrCaption);
        if (hBox == NULL || !::IsWindowVisible(hBox)) return false;
        act(hBox);
        return true;
    };
}

// Text "Set pin failed" with MB_TOPMOST, as the setting dialog shows it.
TEST_F(SkinMessageBoxTest, OneShortLineGetsTheNarrowestBoxOneOkAndTheLogo)
{
    CProbeBox box(L"MsgBox.xml", L"Set pin failed", MB_TOPMOST);
    ASSERT_TRUE(box.Create());
    CModalSteps steps({Once([&] {
        const int nLine = box.Extent(L"Set pin failed").cy;
        EXPECT_EQ(box.WindowSize().cx, 350);
        EXPECT_EQ(box.WindowSize().cy, kTitleHeight + nLine + 114);
        EXPECT_TRUE(::GetWindowLongW(box.GetHWND(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(Str(box.Find(L"FSTitle")->GetText()), L"probe");
        wchar_t szTitle[16] = L"";
        ::GetWindowTextW(box.GetHWND(), szTitle, 16);
        EXPECT_STREQ(szTitle, L"probe");

        CContainerUI* pBox = static_cast<CContainerUI*>(box.Find(L"MsgBox")->GetInterface(L"Container"));
        ASSERT_EQ(pBox->GetCount(), 3);  // text, icon, one button
        CControlUI* pText = pBox->GetItemAt(0);
        EXPECT_EQ(Str(pText->GetText()), L"Set pin failed");
        EXPECT_EQ(pText->GetFixedWidth(), 260);
        EXPECT_EQ(pText->GetFixedHeight(), nLine);
        EXPECT_EQ(box.InBox(pText).x, 65);
        CControlUI* pIcon = pBox->GetItemAt(1);
        EXPECT_EQ(Str(pIcon->GetBkImage()), L"logo_32.png");
        EXPECT_EQ(box.InBox(pIcon).x, 25);
        EXPECT_EQ(box.InBox(pIcon).y, 25);

        CControlUI* pOk = box.Find(L"OK");
        ASSERT_NE(pOk, (CControlUI*)NULL);
        EXPECT_EQ(Str(pOk->GetText()), L"OK");
        EXPECT_EQ(box.InBox(pOk).x, 350 - 108);
        EXPECT_EQ(box.InBox(pOk).y, box.WindowSize().cy - kTitleHeight - 46);
        EXPECT_EQ(pOk->GetWidth(), 90);
        EXPECT_EQ(pOk->GetHeight(), 28);
    }), Once([&] { box.Close(0); })});
    box.ShowModal();
}

TEST_F(SkinMessageBoxTest, YesAndNoStandRightToLeftFromTheCornerWithTheirIcon)
{
    const struct
    {
        UINT uType;
        const wchar_t* pstrFirst;
        const wchar_t* pstrSecond;
        const wchar_t* pstrIcon;
    } cases[] = {
        {MB_YESNO | MB_ICONWARNING, L"Yes", L"No", L"Png_Msg_warning.png"},
        {MB_OKCANCEL | MB_ICONERROR, L"OK", L"Cancel", L"Png_Msg_error.png"},
        {MB_YESNOCANCEL | MB_ICONQUESTION, L"OK", NULL, L"Png_Msg_info.png"},  // unknown buttons: OK
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type 0x" << std::hex << c.uType);
        CProbeBox box(L"MsgBox.xml", L"Question", c.uType);
        ASSERT_TRUE(box.Create());
        CModalSteps steps({Once([&] {
            const SIZE size = box.WindowSize();
            CControlUI* pFirst = box.Find(c.pstrFirst);
            ASSERT_NE(pFirst, (CControlUI*)NULL);
            CControlUI* pLast = pFirst;
            if (c.pstrSecond != NULL) {
                pLast = box.Find(c.pstrSecond);
                ASSERT_NE(pLast, (CControlUI*)NULL);
                EXPECT_EQ(box.InBox(pFirst).x, size.cx - 216);
                EXPECT_EQ(box.InBox(pFirst).y, box.InBox(pLast).y);
            }
            EXPECT_EQ(box.InBox(pLast).x, size.cx - 108);
            EXPECT_EQ(box.InBox(pLast).y, size.cy - kTitleHeight - 46);
            CContainerUI* pBox = static_cast<CContainerUI*>(box.Find(L"MsgBox")->GetInterface(L"Container"));
            EXPECT_EQ(Str(pBox->GetItemAt(1)->GetBkImage()), c.pstrIcon);
        }), Once([&] { box.Close(0); })});
        box.ShowModal();
    }
}

// Every line takes a row per started 350 pixels; a line break between two
// others makes an empty line that takes none, a trailing one makes no line.
TEST_F(SkinMessageBoxTest, RowsAndWidthFollowTheLines)
{
    std::wstring wide;
    {
        CProbeBox probe(L"MsgBox.xml", L"", MB_OK);
        ASSERT_TRUE(probe.Create());
        while (probe.Extent(wide.c_str()).cx <= 360) wide += L"wide words ";
        ::DestroyWindow(probe.GetHWND());
    }
    const struct
    {
        std::wstring text;
        std::vector<std::wstring> lines;
        int nRows;
    } cases[] = {
        {wide, {wide}, 2},
        {L"first\n\nthird", {L"first", L"", L"third"}, 2},
        {L"one\n", {L"one"}, 1},
        {wide + L"\n" + wide + wide, {wide, wide + wide}, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << c.text.c_str() << "\"");
        CProbeBox box(L"MsgBox.xml", c.text.c_str(), MB_OK);
        ASSERT_TRUE(box.Create());
        CModalSteps steps({Once([&] {
            const int nLine = box.Extent(c.text.c_str()).cy;
            int nRows = 0, nWidest = 0;
            for (const std::wstring& line : c.lines) {
                const int cx = box.Extent(line.c_str()).cx;
                nRows += (cx + 349) / 350;
                nWidest = std::max(nWidest, cx);
            }
            EXPECT_EQ(nRows, c.nRows);
            const int nTextWidth = std::min(std::max(nWidest, 250), 350);
            EXPECT_EQ(box.WindowSize().cx, nTextWidth + 100);
            EXPECT_EQ(box.WindowSize().cy, kTitleHeight + nRows * nLine + 114);
            CContainerUI* pBox = static_cast<CContainerUI*>(box.Find(L"MsgBox")->GetInterface(L"Container"));
            EXPECT_EQ(pBox->GetItemAt(0)->GetFixedWidth(), nTextWidth + 10);
            EXPECT_EQ(pBox->GetItemAt(0)->GetFixedHeight(), nRows * nLine);
        }), Once([&] { box.Close(0); })});
        box.ShowModal();
    }
}

TEST_F(SkinMessageBoxTest, EnterEscapeTheCloseButtonAndTheButtonsAnswer)
{
    // The box's buttons from its size: "MsgBox" starts below the 40-pixel
    // title inside the one-pixel border.
    auto clickButton = [](HWND hBox, int nFromRight) {
        RECT rc = {};
        ::GetClientRect(hBox, &rc);
        ClickAt(hBox, 1 + rc.right - 108 * nFromRight + 45, 1 + kTitleHeight + rc.bottom - kTitleHeight - 46 + 14);
    };
    EXPECT_EQ(Show(L"a", L"Enter", MB_OKCANCEL, {OnBox(L"a", [](HWND h) { PressKey(h, VK_RETURN, kEnterDown); })}),
              IDOK);
    EXPECT_EQ(Show(L"b", L"Escape", MB_YESNO, {OnBox(L"b", [](HWND h) { PressKey(h, VK_ESCAPE, kEscapeDown); })}),
              IDCANCEL);
    EXPECT_EQ(Show(L"c", L"Close", MB_OK, {OnBox(L"c", [](HWND h) { ClickCloseButton(h); })}), IDCANCEL);
    EXPECT_EQ(Show(L"d", L"Yes?", MB_YESNO, {OnBox(L"d", [&](HWND h) { clickButton(h, 2); })}), IDYES);
    EXPECT_EQ(Show(L"e", L"No?", MB_YESNO, {OnBox(L"e", [&](HWND h) { clickButton(h, 1); })}), IDNO);
    EXPECT_EQ(Show(L"f", L"Cancel?", MB_OKCANCEL, {OnBox(L"f", [&](HWND h) { clickButton(h, 1); })}), IDCANCEL);
    EXPECT_EQ(Show(L"g", L"OK?", MB_OKCANCEL, {OnBox(L"g", [&](HWND h) { clickButton(h, 2); })}), IDOK);
}

// Only Enter and Escape are the box's keys.
TEST_F(SkinMessageBoxTest, OtherKeysLeaveTheBoxOpen)
{
    HWND hBox = NULL;
    EXPECT_EQ(Show(L"keys", L"Keys", MB_OKCANCEL,
                   {OnBox(L"keys",
                          [&](HWND h) {
                              hBox = h;
                              PressKey(h, 'A', 0x001E0001);
                              PressKey(h, 'X', 0x002D0001);
                              PressKey(h, VK_TAB, kTabDown);
                          }),
                    Once([&] {
                        EXPECT_TRUE(::IsWindowVisible(hBox));
                        PressKey(hBox, VK_ESCAPE, kEscapeDown);
                    })}),
              IDCANCEL);
}

// A box opened over another and closed leaves the outer one the current box.
TEST_F(SkinMessageBoxTest, ClosingANestedBoxLeavesTheOuterOneCurrent)
{
    int nInner = -1;
    const int nOuter = Show(L"outer", L"Outer", MB_OK,
                            {OnBox(L"outer",
                                   [&](HWND h) { nInner = ShowSkinMessageBox(h, L"inner", L"Inner", MB_OK); }),
                             OnBox(L"inner", [](HWND) { CloseSkinMessageBox(); }),
                             Once([&] {
                                 EXPECT_EQ(nInner, 0);
                                 CloseSkinMessageBox();
                             })});
    EXPECT_EQ(nOuter, 0);
    EXPECT_EQ(nInner, 0);
    CloseSkinMessageBox();  // no box: nothing
}

// A skin without "MsgTitle" has no title band; one without "MsgBox" gives a
// box of the skin's size with nothing in it, which Enter still answers.
TEST_F(SkinMessageBoxTest, SkinsWithoutTheTitleBandOrTheBoxStillWork)
{
    {
        CProbeBox box(L"NoTitle.xml", L"No title", MB_OK);
        ASSERT_TRUE(box.Create());
        CModalSteps steps({Once([&] {
            const int nLine = box.Extent(L"No title").cy;
            EXPECT_EQ(box.WindowSize().cy, nLine + 114);
            ASSERT_NE(box.Find(L"OK"), (CControlUI*)NULL);
            EXPECT_EQ(box.InBox(box.Find(L"OK")).y, nLine + 114 - 46);
        }), Once([&] { box.Close(0); })});
        box.ShowModal();
    }
    {
        CProbeBox box(L"NoBox.xml", L"No box", MB_OK);
        ASSERT_TRUE(box.Create());
        CModalSteps steps({Once([&] {
            EXPECT_EQ(box.WindowSize().cx, 500);
            EXPECT_EQ(box.WindowSize().cy, 250);
            EXPECT_EQ(box.Find(L"OK"), (CControlUI*)NULL);
            PressKey(box.GetHWND(), VK_RETURN, kEnterDown);
        })});
        box.ShowModal();
        EXPECT_EQ(box.GetResult(), IDOK);
    }
}

} // namespace
