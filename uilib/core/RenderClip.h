#pragma once

#include <windows.h>

namespace SkinLib {

// Narrows a device context's clip region for one paint and puts the old one
// back when it goes out of scope. Lives on the stack of a paint routine.
class CRenderClip
{
public:
    CRenderClip() = default;
    CRenderClip(const CRenderClip&) = delete;
    CRenderClip& operator=(const CRenderClip&) = delete;
    ~CRenderClip();

    static void GenerateClip(HDC hDC, RECT rc, CRenderClip& clip);
    static void GenerateRoundClip(HDC hDC, RECT rc, RECT rcItem, int width, int height, CRenderClip& clip);
    // For children that paint outside the clip, such as scroll bars.
    static void UseOldClipBegin(HDC hDC, CRenderClip& clip);
    static void UseOldClipEnd(HDC hDC, CRenderClip& clip);

    RECT rcItem = {};
    HDC hDC = NULL;      // borrowed
    HRGN hRgn = NULL;    // owned
    HRGN hOldRgn = NULL; // owned
};

} // namespace SkinLib
