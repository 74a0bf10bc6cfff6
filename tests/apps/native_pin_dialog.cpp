// The PIN verification dialog built the plain Win32 way, for the start-up
// benchmark: the same window, controls, fonts and images as "verifyPIN.xml"
// at the same places, made of system controls instead of skinned ones, and
// the same connection to the key service before the window shows. It is the
// yardstick for how fast the skinned dialog appears; it sends no PIN.
#include <windows.h>
// GDI+ needs the COM declarations that the lean Windows header leaves out.
#include <objidl.h>
#include <gdiplus.h>
#include <shlwapi.h>

#include "PinPipeClient.h"

namespace {

const int kWidth = 460;
const int kHeight = 550;
const int kImagePin = 1;  // RCDATA: PIN_Button.png
const int kImageClose = 2;  // RCDATA: Close_Active.png
const COLORREF kStatusColor = RGB(0xFF, 0x00, 0x00);

struct Fonts
{
    HFONT hDefault, hTitle, hHeading;
};

Fonts g_fonts;
HWND g_hStatus;
HBRUSH g_hWhite;
CPinPipeClient* g_pPipe;

HFONT MakeFont(const wchar_t* pstrFace, int nSize, bool bBold)
{
    return ::CreateFontW(-nSize, 0, 0, 0, bBold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, pstrFace);
}

// A PNG from the program's resources, decoded by GDI+ as a native dialog would.
HBITMAP LoadPng(int nId)
{
    HRSRC hInfo = ::FindResourceW(NULL, MAKEINTRESOURCEW(nId), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL hData = hInfo != NULL ? ::LoadResource(NULL, hInfo) : NULL;
    if (hData == NULL) return NULL;
    IStream* pStream =
        ::SHCreateMemStream(static_cast<const BYTE*>(::LockResource(hData)), ::SizeofResource(NULL, hInfo));
    if (pStream == NULL) return NULL;
    HBITMAP hBitmap = NULL;
    Gdiplus::Bitmap* pBitmap = Gdiplus::Bitmap::FromStream(pStream);
    if (pBitmap != NULL) {
        pBitmap->GetHBITMAP(Gdiplus::Color(255, 255, 255, 255), &hBitmap);
        delete pBitmap;
    }
    pStream->Release();
    return hBitmap;
}

HWND Child(HWND hParent, const wchar_t* pstrClass, const wchar_t* pstrText, DWORD dwStyle, int x, int y, int cx, int cy,
           HFONT hFont, int nId = 0)
{
    HWND hWnd = ::CreateWindowExW(0, pstrClass, pstrText, WS_CHILD | WS_VISIBLE | dwStyle, x, y, cx, cy, hParent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), NULL, NULL);
    ::SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    return hWnd;
}

// The places of the skin's layout: a 40-pixel title band, the heading, the
// image beside the entry, the status line and OK, inside a one-pixel border.
void CreateControls(HWND hWnd)
{
    Child(hWnd, L"STATIC", L"Verify PIN", SS_LEFT | SS_CENTERIMAGE, 15, 1, 396, 40, g_fonts.hTitle);
    HWND hClose = Child(hWnd, L"BUTTON", L"", BS_BITMAP | BS_FLAT, 411, 1, 48, 32, g_fonts.hDefault, IDCANCEL);
    ::SendMessageW(hClose, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(LoadPng(kImageClose)));
    Child(hWnd, L"STATIC", L"Verify PIN for Quorvel FIDO2", SS_CENTER | SS_CENTERIMAGE, 1, 157, 458, 40,
          g_fonts.hHeading);
    HWND hImage = Child(hWnd, L"STATIC", L"", SS_BITMAP, 29, 233, 48, 48, g_fonts.hDefault);
    ::SendMessageW(hImage, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(LoadPng(kImagePin)));
    HWND hEntry = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_PASSWORD |
                                    ES_AUTOHSCROLL, 91, 242, 330, 30, hWnd, NULL, NULL, NULL);
    ::SendMessageW(hEntry, WM_SETFONT, reinterpret_cast<WPARAM>(g_fonts.hDefault), FALSE);
    g_hStatus = Child(hWnd, L"STATIC", L"", SS_LEFT | SS_CENTERIMAGE, 91, 281, 368, 30, g_fonts.hDefault);
    Child(hWnd, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 140, 447, 180, 30, g_fonts.hDefault, IDOK);
    ::SetFocus(hEntry);
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        CreateControls(hWnd);
        g_pPipe->Open();
        ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return 0;
    case WM_CTLCOLORSTATIC:
        ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(0xFF, 0xFF, 0xFF));
        if (reinterpret_cast<HWND>(lParam) == g_hStatus) ::SetTextColor(reinterpret_cast<HDC>(wParam), kStatusColor);
        return reinterpret_cast<LRESULT>(g_hWhite);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) ::DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    ULONG_PTR uToken = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&uToken, &input, NULL);
    g_fonts = {MakeFont(L"微软雅黑", 12, false), MakeFont(L"Times New Roman", 13, false), MakeFont(L"微软雅黑", 16, true)};
    g_hWhite = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    CPinPipeClient pipe;
    g_pPipe = &pipe;

    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorW(NULL, IDC_ARROW);
    wc.hbrBackground = g_hWhite;
    wc.lpszClassName = L"NativePinDialog";
    ::RegisterClassW(&wc);
    const HWND hOwner = ::GetForegroundWindow();
    RECT rcWork = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    HWND hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"Pinwarden_QZ native", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN,
                                  (rcWork.left + rcWork.right - kWidth) / 2, (rcWork.top + rcWork.bottom - kHeight) / 2,
                                  kWidth, kHeight, hOwner, NULL, hInstance, NULL);
    ::ShowWindow(hWnd, SW_SHOWNORMAL);
    MSG msg;
    while (::GetMessageW(&msg, NULL, 0, 0) > 0) {
        if (::IsDialogMessageW(hWnd, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    Gdiplus::GdiplusShutdown(uToken);
    return 0;
}
