// Cost of mark-up text against the system's DrawTextW on the same paragraph,
// rectangle and font. Plain text should stay within 2x of the system.
#include <windows.h>

#include <stdio.h>

#include <string>

#include "../core/TestControls.h"
#include "BenchClock.h"
#include "core/RenderEngine.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

const int kCalls = 2000;
const RECT kRect = {0, 0, 320, 400};

const wchar_t kPlain[] =
    L"Touch the sensor on your security key with the finger you want to enroll. Lift it and touch again when the "
    L"light blinks, until every part of the fingertip has been read. Keep the finger flat and still; a partial "
    L"touch is ignored. When the template is complete the key stores it and the buttons become available again.";

// The same words with a bold, colour or link tag every few words.
std::wstring TagDense()
{
    static const wchar_t* const aOpen[] = {L"<b>", L"<c #FFCC0000>", L"<a help>"};
    static const wchar_t* const aClose[] = {L"</b>", L"</c>", L"</a>"};
    std::wstring sText;
    int nWord = 0;
    for (const wchar_t* p = kPlain; *p != L'\0';) {
        const wchar_t* pEnd = p;
        while (*pEnd != L'\0' && *pEnd != L' ') pEnd++;
        const int iTag = nWord++ % 4;
        if (iTag < 3) sText += aOpen[iTag];
        sText.append(p, pEnd);
        if (iTag < 3) sText += aClose[iTag];
        if (*pEnd == L' ') sText += L' ', pEnd++;
        p = pEnd;
    }
    return sText;
}

template <typename Draw> double MicrosecondsPerCall(Draw draw)
{
    draw();  // fonts and caches warm
    return SkinLibBench::BestMicroseconds(kCalls, 1, draw);
}

} // namespace

int main()
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, kRect.right, kRect.bottom);
    HDC hDC = pm.GetPaintDC();
    const std::wstring sTagged = TagDense();
    RECT aLinks[32];
    CSkinString aTexts[32];

    const double dSystem = MicrosecondsPerCall([&] {
        RECT rc = kRect;
        HGDIOBJ hOld = ::SelectObject(hDC, pm.GetDefaultFontInfo()->hGdiFont);
        ::DrawTextW(hDC, kPlain, -1, &rc, DT_WORDBREAK | DT_NOPREFIX);
        ::SelectObject(hDC, hOld);
    });
    const double dPlain = MicrosecondsPerCall([&] {
        RECT rc = kRect;
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, &pm, rc, kPlain, 0xFF000000, NULL, NULL, nLinks, DT_WORDBREAK);
    });
    const double dTagged = MicrosecondsPerCall([&] {
        RECT rc = kRect;
        int nLinks = 32;
        CRenderEngine::DrawHtmlText(hDC, &pm, rc, sTagged.c_str(), 0xFF000000, aLinks, aTexts, nLinks,
                                    DT_WORDBREAK);
    });
    const double dMeasure = MicrosecondsPerCall([&] {
        RECT rc = kRect;
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, &pm, rc, kPlain, 0xFF000000, NULL, NULL, nLinks, DT_WORDBREAK | DT_CALCRECT);
    });

    // Wine realises a font on every selection; mark-up pays this twice per
    // font change and line pass, which dominates tag-dense text.
    const tagTFontInfo* pDefault = pm.GetDefaultFontInfo();
    const HFONT aFonts[2] = {pDefault->hGdiFont, pm.GetFont(pDefault->sFaceName, pDefault->nPixelSize, true, false, false)};
    int nSwitch = 0;
    const double dSwitch = MicrosecondsPerCall([&] { ::SelectObject(hDC, aFonts[++nSwitch & 1]); });
    ::SelectObject(hDC, aFonts[0]);

    printf("Mark-up text, %d characters plain / %d tagged, %ldx%ld rectangle, %d calls each\n",
           int(wcslen(kPlain)), int(sTagged.size()), kRect.right, kRect.bottom, kCalls);
    printf("%-34s %10.1f us\n", "system DrawTextW, DT_WORDBREAK", dSystem);
    printf("%-34s %10.1f us  x%.2f\n", "DrawHtmlText, plain", dPlain, dPlain / dSystem);
    printf("%-34s %10.1f us  x%.2f\n", "DrawHtmlText, tag-dense", dTagged, dTagged / dSystem);
    printf("%-34s %10.1f us  x%.2f\n", "DrawHtmlText, plain, DT_CALCRECT", dMeasure, dMeasure / dSystem);
    printf("%-34s %10.1f us\n", "one font selection (SelectObject)", dSwitch);
    const bool bWithin = dPlain <= 2 * dSystem;
    printf("plain text %s 2x of the system\n", bWithin ? "within" : "NOT within");
    return bWithin ? 0 : 1;
}
