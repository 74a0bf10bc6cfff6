// CRenderEngine, colours and shapes:
//   colour fills, gradients, colour adjustment and mixing
//   lines, rectangles, rounded rectangles
//   single-style text, text size, a control painted into a bitmap
#include "core/RenderEngine.h"

#include "controls/ControlUI.h"
#include "core/GdiScope.h"
#include "core/RenderEngineInternal.h"

#include <cwchar>

namespace SkinLib {

// ---------------------------------------------------------------------------
// Colours, gradients, shapes and single-style text

namespace {

// The one-pixel bitmap translucent fills blend from, kept for the process as
// the image DC is: making and deleting one per fill cost every paint of a
// translucent background. Drawing happens on the UI thread alone.
HBITMAP PixelBitmap(DWORD** ppPixel)
{
    static DWORD* s_pPixel = NULL;
    static const HBITMAP s_hPixel = CreateDib32(1, 1, &s_pPixel);
    *ppPixel = s_pPixel;
    return s_hPixel;
}

void FillOpaque(HDC hDC, const RECT& rc, DWORD dwColor)
{
    ::SetBkColor(hDC, ToColorRef(dwColor));
    ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
}

// Solid bands for a process without GradientFill: 2^k of them, the second
// colour at the bottom (right) edge.
void FillBands(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    const int nShift = nSteps >= 64 ? 6 : nSteps >= 32 ? 5 : nSteps >= 16 ? 4 : nSteps >= 8 ? 3 : nSteps >= 4 ? 2 : 1;
    const int nBands = 1 << nShift;
    const int nLength = bVertical ? rc.bottom - rc.top : rc.right - rc.left;
    for (int i = 0; i < nBands; i++) {
        const int nNear = (nLength * i) >> nShift;
        const int nFar = (nLength * (i + 1)) >> nShift;
        if (nFar == nNear) continue;
        RECT rcBand = bVertical ? RECT{rc.left, rc.bottom - nFar, rc.right, rc.bottom - nNear}
                                : RECT{rc.right - nFar, rc.top, rc.right - nNear, rc.bottom};
        // Weights i/n and (n-i)/n are exact in binary, so this is the integer
        // (first*i + second*(n-i)) >> k per channel.
        const double x = static_cast<double>(i) / nBands;
        FillOpaque(hDC, rcBand, CRenderEngine::MixColor(dwFirst, x, dwSecond, 1.0 - x));
    }
}

void FillGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    PFNGRADIENTFILL pfnGradientFill = FindGradientFill();
    if (pfnGradientFill == NULL) {
        FillBands(hDC, rc, dwFirst, dwSecond, bVertical, nSteps);
        return;
    }
    TRIVERTEX aVertices[2] = {
        {rc.left, rc.top, static_cast<COLOR16>(Channel(dwFirst, 16) << 8), static_cast<COLOR16>(Channel(dwFirst, 8) << 8),
         static_cast<COLOR16>(Channel(dwFirst, 0) << 8), 0xFF00},
        {rc.right, rc.bottom, static_cast<COLOR16>(Channel(dwSecond, 16) << 8),
         static_cast<COLOR16>(Channel(dwSecond, 8) << 8), static_cast<COLOR16>(Channel(dwSecond, 0) << 8), 0xFF00},
    };
    GRADIENT_RECT gradientRect = {0, 1};
    pfnGradientFill(hDC, aVertices, 2, &gradientRect, 1, bVertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

BYTE ToByte(float f)
{
    if (!(f > 0.0f)) return 0;
    if (f >= 255.0f) return 255;
    return static_cast<BYTE>(f);
}

// The colour bytes as c0 (lowest), c1, c2, each scaled to 0..1.
void RgbToHsl(DWORD dwColor, float* pHue, float* pSat, float* pLight)
{
    const float c0 = Channel(dwColor, 0) / 255.0f;
    const float c1 = Channel(dwColor, 8) / 255.0f;
    const float c2 = Channel(dwColor, 16) / 255.0f;
    const float m = c0 < c1 ? (c0 < c2 ? c0 : c2) : (c1 < c2 ? c1 : c2);
    const float M = c0 > c1 ? (c0 > c2 ? c0 : c2) : (c1 > c2 ? c1 : c2);
    *pLight = (m + M) / 2.0f;
    if (M == m) {
        *pHue = *pSat = 0.0f;
        return;
    }
    float f, i;
    if (c0 == m) f = c1 - c2, i = 3.0f;
    else if (c1 == m) f = c2 - c0, i = 5.0f;
    else f = c0 - c1, i = 1.0f;
    float h = i - f / (M - m);
    if (h >= 6.0f) h -= 6.0f;
    *pHue = h * 60.0f;
    *pSat = 2.0f * *pLight <= 1.0f ? (M - m) / (M + m) : (M - m) / (2.0f - M - m);
}

BYTE HueToChannel(float p, float q, float t)
{
    if (t < 0.0f) t += 1.0f;
    else if (t > 1.0f) t -= 1.0f;
    float v = p;
    if (6.0f * t < 1.0f) v = p + (q - p) * 6.0f * t;
    else if (2.0f * t < 1.0f) v = q;
    else if (3.0f * t < 2.0f) v = p + (q - p) * 6.0f * (2.0f / 3.0f - t);
    return ToByte(v * 255.0f);
}

DWORD HslToRgb(float fHue, float fSat, float fLight)
{
    const float q = 2.0f * fLight < 1.0f ? fLight * (1.0f + fSat) : fLight + fSat - fLight * fSat;
    const float p = 2.0f * fLight - q;
    const float t = fHue / 360.0f;
    return HueToChannel(p, q, t + 1.0f / 3.0f) | (HueToChannel(p, q, t) << 8) |
           (HueToChannel(p, q, t - 1.0f / 3.0f) << 16);
}

BYTE MixChannel(DWORD a, double x, DWORD b, double y, int nShift)
{
    const double v = x * Channel(a, nShift) + y * Channel(b, nShift);
    // Clamped rather than wrapped: weights summing above 1 must saturate, not
    // turn a bright channel dark.
    if (!(v > 0.0)) return 0;
    if (v >= 255.0) return 255;
    return static_cast<BYTE>(v);
}

// Selects a pen and the null brush around one GDI shape call.
template <typename Shape>
void DrawWithPen(HDC hDC, int nStyle, int nSize, DWORD dwColor, Shape shape)
{
    LOGPEN lp = {static_cast<UINT>(nStyle), {nSize, 0}, ToColorRef(dwColor)};
    CGdiObjectScope<HPEN> pen(::CreatePenIndirect(&lp));
    if (pen == NULL) return;
    CSelectScope selectedPen(hDC, pen);
    CSelectScope selectedBrush(hDC, ::GetStockObject(NULL_BRUSH));
    shape();
}

} // namespace

DWORD CRenderEngine::AdjustColor(DWORD dwColor, short H, short S, short L)
{
    if (H == 180 && S == 100 && L == 100) return dwColor;
    float fHue, fSat, fLight;
    RgbToHsl(dwColor, &fHue, &fSat, &fLight);
    fHue += static_cast<float>(H - 180);
    if (fHue <= 0.0f) fHue += 360.0f;
    fSat *= S / 100.0f;
    fLight *= L / 100.0f;
    return (dwColor & 0xFF000000) | HslToRgb(fHue, fSat, fLight);
}

DWORD CRenderEngine::MixColor(DWORD a, double x, DWORD b, double y)
{
    return (static_cast<DWORD>(MixChannel(a, x, b, y, 16)) << 16) | (MixChannel(a, x, b, y, 8) << 8) |
           MixChannel(a, x, b, y, 0);
}

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color)
{
    const DWORD dwAlpha = color >> 24;
    if (dwAlpha == 0) return;
    if (dwAlpha == 0xFF) {
        FillOpaque(hDC, rc, color);
        return;
    }
    DWORD* pPixel = NULL;
    HBITMAP hBitmap = PixelBitmap(&pPixel);
    if (hBitmap == NULL) return;
    // The previous fill may still be queued to read the pixel.
    ::GdiFlush();
    // Premultiplied like every skin bitmap: the blend adds the source colour
    // whole, so a raw colour would come out too bright (or wrap).
    auto premultiplied = [&](int nShift) { return Channel(color, nShift) * dwAlpha / 255 << nShift; };
    *pPixel = (dwAlpha << 24) | premultiplied(16) | premultiplied(8) | premultiplied(0);
    DrawImage(hDC, hBitmap, rc, rc, RECT{0, 0, 1, 1}, RECT{0, 0, 0, 0}, true, 255);
}

void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    const BYTE bAlpha = static_cast<BYTE>(((dwFirst >> 24) + (dwSecond >> 24)) / 2);
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    if (bAlpha == 0 || cx <= 0 || cy <= 0) return;
    if (bAlpha == 255) {
        FillGradient(hDC, rc, dwFirst, dwSecond, bVertical, nSteps);
        return;
    }
    DWORD* pBits = NULL;
    CGdiObjectScope<HBITMAP> bitmap(CreateDib32(cx, cy, &pBits));
    CMemoryDC memDC(hDC);
    if (bitmap == NULL || memDC == NULL) return;
    CSelectScope selected(memDC, bitmap);
    FillGradient(memDC, RECT{0, 0, cx, cy}, dwFirst, dwSecond, bVertical, nSteps);
    ::GdiFlush();
    // GDI's fills leave the alpha byte undefined and the blend reads it:
    // the gradient itself is opaque, its transparency is the constant alpha.
    for (DWORD* p = pBits; p != pBits + static_cast<size_t>(cx) * cy; ++p) *p |= 0xFF000000;
    BlendPart(hDC, rc.left, rc.top, cx, cy, memDC, 0, 0, cx, cy, bAlpha);
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle)
{
    DrawWithPen(hDC, nStyle, nSize, dwPenColor, [&] {
        ::MoveToEx(hDC, rc.left, rc.top, NULL);
        ::LineTo(hDC, rc.right, rc.bottom);
    });
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor)
{
    DrawWithPen(hDC, PS_INSIDEFRAME, nSize, dwPenColor,
                [&] { ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom); });
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height, DWORD dwPenColor)
{
    DrawWithPen(hDC, PS_INSIDEFRAME, nSize, dwPenColor,
                [&] { ::RoundRect(hDC, rc.left, rc.top, rc.right, rc.bottom, width, height); });
}

void CRenderEngine::DrawTextW(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const wchar_t* pstrText,
                              DWORD dwTextColor, int iFont, UINT uStyle)
{
    if (pstrText == NULL || pManager == NULL) return;
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ToColorRef(dwTextColor));
    CSelectScope font(hDC, pManager->GetFont(iFont));
    ::DrawTextW(hDC, pstrText, -1, &rc, uStyle | DT_NOPREFIX);
}

HBITMAP CRenderEngine::GenerateBitmap(CPaintManagerUI* pManager, CControlUI* pControl, RECT rc)
{
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    if (pManager == NULL || pControl == NULL || cx <= 0 || cy <= 0) return NULL;

    // The control paints at its own place in a client-sized bitmap; its rectangle is then cut out.
    CMemoryDC paintDC(pManager->GetPaintDC());
    CGdiObjectScope<HBITMAP> paintBitmap(::CreateCompatibleBitmap(pManager->GetPaintDC(), rc.right, rc.bottom));
    CMemoryDC cloneDC(pManager->GetPaintDC());
    DWORD* pBits = NULL;
    CGdiObjectScope<HBITMAP> bitmap(CreateDib32(cx, cy, &pBits, true));
    if (paintDC == NULL || paintBitmap == NULL || cloneDC == NULL || bitmap == NULL) return NULL;
    {
        CSelectScope selectedPaint(paintDC, paintBitmap);
        pControl->DoPaint(paintDC, rc);
        CSelectScope selectedClone(cloneDC, bitmap);
        ::BitBlt(cloneDC, 0, 0, cx, cy, paintDC, rc.left, rc.top, SRCCOPY);
    }
    return bitmap.Detach();
}

SIZE CRenderEngine::GetTextSize(HDC hDC, CPaintManagerUI* pManager, const wchar_t* pstrText, int iFont, UINT uStyle)
{
    SIZE size = {0, 0};
    if (pstrText == NULL || pManager == NULL) return size;
    CSelectScope font(hDC, pManager->GetFont(iFont));
    ::GetTextExtentPoint32W(hDC, pstrText, static_cast<int>(wcslen(pstrText)), &size);
    return size;
}

} // namespace SkinLib
