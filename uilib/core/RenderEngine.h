#pragma once

#include <windows.h>

#include "core/PaintManagerUI.h"
#include "core/SkinString.h"
#include "core/StringOrId.h"

namespace SkinLib {

class CControlUI;

// One byte of a 0xAARRGGBB colour: 24 alpha, 16 red, 8 green, 0 blue.
inline BYTE Channel(DWORD dwColor, int nShift)
{
    return static_cast<BYTE>(dwColor >> nShift);
}

// GDI takes the red, green and blue bytes of a 0xAARRGGBB colour.
inline COLORREF ToColorRef(DWORD dwColor)
{
    return RGB(Channel(dwColor, 16), Channel(dwColor, 8), Channel(dwColor, 0));
}

// The library's drawing functions. Colours are 0xAARRGGBB; GDI gets their red,
// green and blue bytes, and only DrawColor, DrawGradient and AdjustColor look
// at alpha.
class CRenderEngine
{
public:
    CRenderEngine() = delete;

    static DWORD AdjustColor(DWORD dwColor, short H, short S, short L);
    // Per colour channel trunc(x * a + y * b), kept to 8 bits; alpha is 0.
    static DWORD MixColor(DWORD a, double x, DWORD b, double y);

    // Images. The caller owns the record and frees it with FreeImage.
    static tagTImageInfo* LoadImageW(STRINGorID bitmap, const wchar_t* type = NULL, DWORD mask = 0);
    static void FreeImage(const tagTImageInfo* bitmap);
    static void DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                          const RECT& rcCorners, bool bAlphaChannel, BYTE uFade = 255, bool hole = false,
                          bool xtiled = false, bool ytiled = false);
    // Draws an image description (and the modifier, which may override it).
    static bool DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                                const wchar_t* pStrImage, const wchar_t* pStrModify = NULL);

    // Colours and shapes.
    static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
    static void DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps);
    static void DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle = PS_SOLID);
    static void DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor);
    static void DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height, DWORD dwPenColor);

    // Text.
    static void DrawTextW(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const wchar_t* pstrText, DWORD dwTextColor,
                          int iFont, UINT uStyle);
    // Text with inline tags. pLinks and sLinks hold nLinkRects entries on the
    // way in; nLinkRects tells how many were filled on the way out.
    static void DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const wchar_t* pstrText, DWORD dwTextColor,
                             RECT* pLinks, CSkinString* sLinks, int& nLinkRects, UINT uStyle);
    static HBITMAP GenerateBitmap(CPaintManagerUI* pManager, CControlUI* pControl, RECT rc);
    static SIZE GetTextSize(HDC hDC, CPaintManagerUI* pManager, const wchar_t* pstrText, int iFont, UINT uStyle);

private:
    // Blends a source part with per-pixel alpha and a constant alpha: through
    // msimg32's AlphaBlend when the process has it, else by mixing pixels here.
    static void BlendPart(HDC hDC, int nDestX, int nDestY, int nDestWidth, int nDestHeight, HDC hSrcDC, int nSrcX,
                          int nSrcY, int nSrcWidth, int nSrcHeight, BYTE uFade);
};

} // namespace SkinLib
