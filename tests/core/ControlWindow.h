#pragma once
// A real window whose paint manager holds a grid of controls, for tests of
// single controls: messages are sent and posted to it, its paint is read back
// as pixels, and the images it names are files of a folder of this test.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "PixelCanvas.h"
#include "PngFixture.h"
#include "SkinSettings.h"
#include "TempFiles.h"
#include "TestControls.h"

namespace SkinLibTest {

inline bool IsRed(uint32_t rgb) { return (rgb >> 16) > 0xC0 && ((rgb >> 8) & 0xFF) < 0x50 && (rgb & 0xFF) < 0x50; }
inline bool IsGreen(uint32_t rgb) { return (rgb >> 16) < 0x50 && ((rgb >> 8) & 0xFF) > 0x80 && (rgb & 0xFF) < 0x50; }
inline bool IsBlue(uint32_t rgb) { return (rgb >> 16) < 0x50 && ((rgb >> 8) & 0xFF) < 0x50 && (rgb & 0xFF) > 0xC0; }
inline bool IsDark(uint32_t rgb) { return (rgb >> 16) < 0x60 && ((rgb >> 8) & 0xFF) < 0x60 && (rgb & 0xFF) < 0x60; }

struct ControlWindowTest : SkinSettingsTest
{
    static const int kWidth = 400;
    static const int kHeight = 200;

    void SetUp() override
    {
        // The real pointer stays away from the window, at the screen's corner.
        ::SetCursorPos(1200, 1000);
        CPaintManagerUI::SetResourcePath(m_sImages.c_str());
        pm.AddNotifier(&log);
    }
    void TearDown() override { PumpMessages(); }

    // The controls fill the cells of a grid, row by row, and are painted once.
    void Attach(std::initializer_list<CControlUI*> aControls, int cxCell = 120, int cyCell = 30)
    {
        pRoot = new CBoxUI(cxCell, cyCell);
        for (CControlUI* pControl : aControls) pRoot->Add(pControl);
        pm.AttachDialog(pRoot);
        RepaintNow(wnd);
        PumpMessages();
    }
    // A solid PNG in the image folder, named for skins by its bare file name.
    const wchar_t* Image(const wchar_t* pstrName, uint32_t argb, int cx = 8, int cy = 8)
    {
        WriteBytes(m_sImages + pstrName, MakeSolidPng(cx, cy, argb));
        return pstrName;
    }
    // What the window paints now, native child windows included.
    const PixelCanvas& Snapshot()
    {
        canvas.Fill(0xFFFFFFFF);
        ::SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CLIENT | PRF_CHILDREN);
        return canvas;
    }
    template <typename Pred> int CountPixels(const RECT& rc, Pred pred)
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom && y < kHeight; y++)
            for (int x = rc.left; x < rc.right && x < kWidth; x++)
                if (pred(canvas.Rgb(x, y))) n++;
        return n;
    }

    LRESULT Send(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) { return ::SendMessageW(wnd, uMsg, wParam, lParam); }
    void Post(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) { ::PostMessageW(wnd, uMsg, wParam, lParam); }
    static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
    static POINT Centre(const CControlUI* pControl)
    {
        const RECT& rc = pControl->GetPos();
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }

    std::wstring m_sImages = MakeTempFolder(L"control_images");
    CNotifyLog log;  // declared first: it outlives the manager
    CPaintManagerUI pm;
    CHostWindow wnd{pm, kWidth, kHeight};
    CBoxUI* pRoot = NULL;
    PixelCanvas canvas{kWidth, kHeight};
};

} // namespace SkinLibTest
