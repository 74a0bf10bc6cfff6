// A skinned window painted by the render engine through a paint manager:
// images from an in-memory skin archive (nine-grid, tiling, fade, frames),
// gradients, colours, shapes, plain and mark-up text.
//   render_demo.exe [delay-ms]
// With a delay the window closes itself after it; the exit code is 0.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <vector>

#include "../core/PngFixture.h"
#include "../core/ZipWriter.h"
#include "controls/ControlUI.h"
#include "core/PaintManagerUI.h"
#include "core/RenderClip.h"
#include "core/RenderEngine.h"
#include "core/WindowWnd.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

const UINT_PTR kCloseTimerId = 1;
const int kClientWidth = 560;
const int kClientHeight = 400;

// Four 16x16 frames side by side: a dot that fills up frame by frame.
std::string ProgressFramesPng()
{
    const int w = 64, h = 16;
    std::vector<uint32_t> px(w * h, 0);
    for (int f = 0; f < 4; f++) {
        for (int y = 0; y < h; y++) {
            for (int x = 0; x < 16; x++) {
                int dx = x - 8, dy = y - 8;
                int d2 = dx * dx + dy * dy;
                if (d2 < 49) px[y * w + f * 16 + x] = d2 < (f + 1) * 12 ? 0xFF1883D7 : 0xFFD0E4F5;
            }
        }
    }
    return MakePng(w, h, px);
}

std::string StripePng()
{
    std::vector<uint32_t> px(8 * 8);
    for (int y = 0; y < 8; y++) {
        for (int x = 0; x < 8; x++) px[y * 8 + x] = ((x + y) & 4) ? 0xFF1883D7 : 0x401883D7;
    }
    return MakePng(8, 8, px);
}

std::vector<uint8_t> BuildSkinArchive()
{
    ZipWriter zip;
    zip.Add("button.png", MakeRoundedFacePng(0xFFFFFFFF, 0xFFBFC8D2));
    zip.Add("button_hot.png", MakeRoundedFacePng(0xFFE8F2FB, 0xFF1883D7));
    zip.Add("images/progress.png", ProgressFramesPng());
    zip.Add("stripe.png", StripePng());
    return zip.Build();
}

// The whole window is one control that paints every kind of drawing.
class CCanvasUI : public CControlUI
{
public:
    const wchar_t* GetClass() const override { return L"CanvasUI"; }

    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        CControlUI::DoPaint(hDC, rcPaint);
        CPaintManagerUI* pm = GetManager();
        const RECT& rc = m_rcItem;

        CRenderEngine::DrawColor(hDC, rc, 0xFFF4F6F9);
        RECT rcBand = {rc.left, rc.top, rc.right, rc.top + 56};
        CRenderEngine::DrawGradient(hDC, rcBand, 0xFF1883D7, 0xFF0E5A96, true, 64);
        RECT rcTitle = {rc.left + 20, rcBand.top, rc.right - 20, rcBand.bottom};
        CRenderEngine::DrawTextW(hDC, pm, rcTitle, L"SkinLib render engine", 0xFFFFFFFF, 1,
                                 DT_SINGLELINE | DT_VCENTER);
        RECT rcStripe = {rc.left, rcBand.bottom, rc.right, rcBand.bottom + 4};
        CRenderEngine::DrawImageString(hDC, pm, rcStripe, rcPaint, L"file='stripe.png' xtiled='true'");

        // Nine-grid buttons: the 24x24 face stretched with sharp 4-pixel corners.
        RECT rcEnroll = {rc.left + 20, rc.top + 80, rc.left + 180, rc.top + 116};
        CRenderEngine::DrawImageString(hDC, pm, rcEnroll, rcPaint, L"file='button.png' corner='5,5,5,5'");
        CRenderEngine::DrawTextW(hDC, pm, rcEnroll, L"Enroll", 0xFF222B36, 0, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        RECT rcDelete = {rc.left + 200, rc.top + 80, rc.left + 360, rc.top + 116};
        CRenderEngine::DrawImageString(hDC, pm, rcDelete, rcPaint, L"file='button_hot.png' corner='5,5,5,5'");
        CRenderEngine::DrawTextW(hDC, pm, rcDelete, L"Delete & retry", 0xFF1883D7, 0,
                                 DT_SINGLELINE | DT_CENTER | DT_VCENTER);

        // Frames of one strip, a faded copy and a masked square.
        for (int i = 0; i < 4; i++) {
            RECT rcFrame = {rc.left + 380 + i * 40, rc.top + 80, rc.left + 412 + i * 40, rc.top + 112};
            wchar_t szDesc[96];
            _snwprintf(szDesc, 95, L"file='images/progress.png' source='%d,0,%d,16'", i * 16, (i + 1) * 16);
            CRenderEngine::DrawImageString(hDC, pm, rcFrame, rcPaint, szDesc, i == 3 ? L"fade='96'" : NULL);
        }

        // Semi-transparent colour, shapes and a rounded clip.
        RECT rcPanel = {rc.left + 20, rc.top + 136, rc.right - 20, rc.top + 196};
        CRenderEngine::DrawGradient(hDC, rcPanel, 0xFFFFFFFF, 0xFFDCE8F3, false, 64);
        CRenderEngine::DrawRoundRect(hDC, rcPanel, 1, 10, 10, 0xFF9FB3C8);
        RECT rcGlass = {rcPanel.left + 12, rcPanel.top + 12, rcPanel.left + 212, rcPanel.bottom - 12};
        CRenderEngine::DrawColor(hDC, rcGlass, 0x601883D7);
        {
            CRenderClip clip;
            RECT rcCircle = {rcPanel.left + 230, rcPanel.top + 8, rcPanel.left + 274, rcPanel.top + 52};
            CRenderClip::GenerateRoundClip(hDC, rcCircle, rcCircle, 44, 44, clip);
            CRenderEngine::DrawGradient(hDC, rcCircle, 0xFF58B368, 0xFF1E7A34, true, 32);
        }
        RECT rcLine = {rcPanel.left + 292, rcPanel.top + 30, rcPanel.right - 12, rcPanel.top + 30};
        CRenderEngine::DrawLine(hDC, rcLine, 2, 0xFFCD0000, PS_DASH);
        RECT rcFrame = {rcPanel.left + 292, rcPanel.top + 38, rcPanel.right - 12, rcPanel.bottom - 8};
        CRenderEngine::DrawRect(hDC, rcFrame, 1, 0xFF282828);

        // Mark-up text: styles, colours, a link that wraps, an inline frame.
        RECT rcText = {rc.left + 20, rc.top + 212, rc.right - 20, rc.bottom - 16};
        RECT rcLinks[4] = {};
        CSkinString sLinks[4];
        int nLinks = 4;
        CRenderEngine::DrawHtmlText(
            hDC, pm, rcText,
            L"<b>Mark-up text</b> mixes <i>italic</i>, <u>underlined</u> and {c #FFCD0000}coloured{/c} words, "
            L"<f 2>a second font</f>, escapes such as <{> and {>}, raw <r><b></r> runs and "
            L"<s>selected text</s>.<n>An inline frame <i images/progress.png 4 2> sits in the line, and "
            L"<a https://example.com>a link long enough to wrap across the line end</a> keeps one "
            L"rectangle per line.",
            0xFF222B36, rcLinks, sLinks, nLinks, DT_WORDBREAK);
        for (int i = 0; i < nLinks; i++) CRenderEngine::DrawRect(hDC, rcLinks[i], 1, 0xFFBFC8D2);
    }
};

class CRenderDemoWnd : public CWindowWnd
{
public:
    explicit CRenderDemoWnd(UINT nDelay) : m_nDelay(nDelay) {}

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_CREATE) {
            m_pm.Init(m_hWnd);
            m_pm.AddFont(L"Tahoma", 13, false, false, false);
            m_pm.AddFont(L"Tahoma", 22, true, false, false);
            m_pm.AddFont(L"Times New Roman", 15, false, false, true);
            m_pm.AttachDialog(new CCanvasUI);
            if (m_nDelay > 0) ::SetTimer(m_hWnd, kCloseTimerId, m_nDelay, NULL);
            return 0;
        }
        if (uMsg == WM_TIMER && wParam == kCloseTimerId) {
            ::KillTimer(m_hWnd, kCloseTimerId);
            Close(0);
            return 0;
        }
        LRESULT lRes = 0;
        if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

protected:
    LPCWSTR GetWndClassName() const override { return L"RenderDemo"; }

private:
    const UINT m_nDelay;
    CPaintManagerUI m_pm;
};

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/, int /*nCmdShow*/)
{
    CPaintManagerUI::SetInstance(hInstance);
    // The archive stays alive for the whole process, as a program's embedded skin does.
    static const std::vector<uint8_t> s_skin = BuildSkinArchive();
    CPaintManagerUI::SetResourceZip(s_skin.data(), static_cast<unsigned int>(s_skin.size()));

    UINT nDelay = 0;
    int nArgs = 0;
    LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs);
    if (ppArgs != NULL) {
        if (nArgs >= 2) nDelay = static_cast<UINT>(std::wcstoul(ppArgs[1], NULL, 10));
        ::LocalFree(ppArgs);
    }

    CRenderDemoWnd wnd(nDelay);
    if (wnd.Create(NULL, L"SkinLib render demo", WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL) == NULL) {
        return 1;
    }
    wnd.ResizeClient(kClientWidth, kClientHeight);
    wnd.CenterWindow();
    wnd.ShowModal();
    return 0;
}
