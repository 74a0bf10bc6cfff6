// A plain CWindowWnd shown modally, started the way the programs start.
//   modal_window_demo.exe [result [delay-ms]]
// With a result the window closes itself after the delay (default 0 ms) by a
// posted Close(result), which becomes the exit code; without one it stays
// open until the user closes it, and the exit code is 0.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "core/PaintManagerUI.h"
#include "core/WindowWnd.h"

using namespace SkinLib;

namespace {

const UINT_PTR kCloseTimerId = 1;
const int kClientWidth = 480;
const int kClientHeight = 200;
const int kBandHeight = 64;
const int kRuleHeight = 3;
const int kMargin = 24;
const int kLineHeight = 30;

void FillColor(HDC hDC, const RECT& rc, COLORREF clr)
{
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    ::FillRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
}

void DrawLine(HDC hDC, HFONT hFont, COLORREF clr, RECT rc, LPCWSTR pstrText)
{
    HGDIOBJ hOldFont = ::SelectObject(hDC, hFont);
    ::SetTextColor(hDC, clr);
    ::DrawTextW(hDC, pstrText, -1, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(hDC, hOldFont);
}

class CDemoWnd : public CWindowWnd
{
public:
    CDemoWnd(bool bAutoClose, UINT nResult, UINT nDelay)
        : m_bAutoClose(bAutoClose), m_nResult(nResult), m_nDelay(nDelay), m_hTitleFont(NULL), m_hTextFont(NULL)
    {
    }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        switch (uMsg) {
        case WM_CREATE:
            m_hTitleFont = CreateUiFont(22, FW_SEMIBOLD);
            m_hTextFont = CreateUiFont(16, FW_NORMAL);
            if (m_bAutoClose) ::SetTimer(m_hWnd, kCloseTimerId, m_nDelay, NULL);
            return 0;
        case WM_TIMER:
            if (wParam != kCloseTimerId) break;
            ::KillTimer(m_hWnd, kCloseTimerId);
            Close(m_nResult);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_DESTROY:
            ::DeleteObject(m_hTitleFont);
            ::DeleteObject(m_hTextFont);
            m_hTitleFont = m_hTextFont = NULL;
            break;
        }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

protected:
    LPCWSTR GetWndClassName() const override { return L"ModalWindowDemo"; }
    UINT GetClassStyle() const override { return CS_HREDRAW | CS_VREDRAW; }

private:
    static HFONT CreateUiFont(int nPixelHeight, int nWeight)
    {
        return ::CreateFontW(-nPixelHeight, 0, 0, 0, nWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS,
                             L"Tahoma");
    }

    void Paint()
    {
        PAINTSTRUCT ps;
        HDC hDC = ::BeginPaint(m_hWnd, &ps);
        RECT rcClient;
        ::GetClientRect(m_hWnd, &rcClient);

        RECT rcBand = { 0, 0, rcClient.right, kBandHeight };
        RECT rcRule = { 0, rcBand.bottom, rcClient.right, rcBand.bottom + kRuleHeight };
        RECT rcBody = { 0, rcRule.bottom, rcClient.right, rcClient.bottom };
        FillColor(hDC, rcBand, RGB(0x18, 0x83, 0xD7));
        FillColor(hDC, rcRule, RGB(0x10, 0x5E, 0x9C));
        FillColor(hDC, rcBody, RGB(0xF4, 0xF6, 0xF9));

        ::SetBkMode(hDC, TRANSPARENT);
        RECT rcTitle = { kMargin, 0, rcClient.right - kMargin, kBandHeight };
        DrawLine(hDC, m_hTitleFont, RGB(0xFF, 0xFF, 0xFF), rcTitle, L"SkinLib window wrapper");

        // Two lines of text, centred as a block in the body.
        int nTop = rcBody.top + (rcBody.bottom - rcBody.top - 2 * kLineHeight) / 2;
        RECT rcPurpose = { kMargin, nTop, rcClient.right - kMargin, nTop + kLineHeight };
        DrawLine(hDC, m_hTextFont, RGB(0x22, 0x2B, 0x36), rcPurpose, L"A modal CWindowWnd painted with plain GDI.");

        wchar_t szAutoClose[96] = L"";
        _snwprintf(szAutoClose, 95, L"It closes itself after %u ms with result %u.", m_nDelay, m_nResult);
        RECT rcClosing = { kMargin, rcPurpose.bottom, rcClient.right - kMargin, rcPurpose.bottom + kLineHeight };
        DrawLine(hDC, m_hTextFont, RGB(0x5A, 0x66, 0x73), rcClosing,
                 m_bAutoClose ? szAutoClose : L"Close the window to end the program (result 0).");

        ::EndPaint(m_hWnd, &ps);
    }

    const bool m_bAutoClose;
    const UINT m_nResult;
    const UINT m_nDelay;
    HFONT m_hTitleFont;
    HFONT m_hTextFont;
};

// A whole unsigned decimal number, or false.
bool ParseUnsigned(LPCWSTR pstr, UINT& nValue)
{
    if (*pstr < L'0' || *pstr > L'9') return false;
    wchar_t* pEnd = NULL;
    unsigned long long ullValue = std::wcstoull(pstr, &pEnd, 10);
    if (*pEnd != L'\0' || ullValue > 0xFFFFFFFFull) return false;
    nValue = static_cast<UINT>(ullValue);
    return true;
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/, int /*nCmdShow*/)
{
    CPaintManagerUI::SetInstance(hInstance);
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath());
    CPaintManagerUI::SetResourceZip(L"Skins.zip", false);

    bool bAutoClose = false;
    UINT nResult = 0;
    UINT nDelay = 0;
    int nArgs = 0;
    LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs);
    if (ppArgs != NULL) {
        bAutoClose = nArgs >= 2 && ParseUnsigned(ppArgs[1], nResult)
                     && (nArgs < 3 || ParseUnsigned(ppArgs[2], nDelay));
        ::LocalFree(ppArgs);
    }
    if (!bAutoClose) nResult = nDelay = 0;

    CDemoWnd wnd(bAutoClose, nResult, nDelay);
    if (wnd.Create(NULL, L"SkinLib modal window demo", WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL) == NULL) {
        return 1;
    }
    wnd.ResizeClient(kClientWidth, kClientHeight);
    wnd.CenterWindow();
    return static_cast<int>(wnd.ShowModal());
}
