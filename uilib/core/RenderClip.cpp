#include "core/RenderClip.h"

namespace SkinLib {

namespace {

// Narrows the device context's clip to hRgn, which the clip takes over.
void SelectClip(HDC hDC, const RECT& rc, HRGN hRgn, CRenderClip& clip)
{
    // The saved region is the context's own clip region, not its bounding box,
    // so a rounded parent clip keeps its corners once a child's clip ends. A
    // context without one gets no region back (null).
    clip.hOldRgn = ::CreateRectRgn(0, 0, 0, 0);
    if (clip.hOldRgn != NULL && ::GetClipRgn(hDC, clip.hOldRgn) != 1) {
        ::DeleteObject(clip.hOldRgn);
        clip.hOldRgn = NULL;
    }
    ::ExtSelectClipRgn(hDC, hRgn, RGN_AND);
    // Kept as it now stands, intersection included: UseOldClipEnd must narrow
    // back to it, not widen to rc beyond the parent's clip.
    if (hRgn != NULL) ::GetClipRgn(hDC, hRgn);
    clip.hRgn = hRgn;
    clip.hDC = hDC;
    clip.rcItem = rc;
}

} // namespace

CRenderClip::~CRenderClip()
{
    if (hDC != NULL) ::SelectClipRgn(hDC, hOldRgn);
    if (hRgn != NULL) ::DeleteObject(hRgn);
    if (hOldRgn != NULL) ::DeleteObject(hOldRgn);
}

void CRenderClip::GenerateClip(HDC hDC, RECT rc, CRenderClip& clip)
{
    SelectClip(hDC, rc, ::CreateRectRgnIndirect(&rc), clip);
}

void CRenderClip::GenerateRoundClip(HDC hDC, RECT rc, RECT rcItem, int width, int height, CRenderClip& clip)
{
    HRGN hRgn = ::CreateRectRgnIndirect(&rc);
    HRGN hRgnItem = ::CreateRoundRectRgn(rcItem.left, rcItem.top, rcItem.right + 1, rcItem.bottom + 1, width, height);
    if (hRgn != NULL && hRgnItem != NULL) ::CombineRgn(hRgn, hRgn, hRgnItem, RGN_AND);
    if (hRgnItem != NULL) ::DeleteObject(hRgnItem);
    SelectClip(hDC, rc, hRgn, clip);
}

void CRenderClip::UseOldClipBegin(HDC hDC, CRenderClip& clip)
{
    ::SelectClipRgn(hDC, clip.hOldRgn);
}

void CRenderClip::UseOldClipEnd(HDC hDC, CRenderClip& clip)
{
    ::SelectClipRgn(hDC, clip.hRgn);
}

} // namespace SkinLib
