#include "core/SkinRect.h"

namespace SkinLib {

CPoint::CPoint()
{
    x = y = 0;
}

CPoint::CPoint(const POINT& src)
{
    x = src.x;
    y = src.y;
}

CPoint::CPoint(int _x, int _y)
{
    x = _x;
    y = _y;
}

CPoint::CPoint(LPARAM lParam)
{
    x = static_cast<short>(LOWORD(lParam));
    y = static_cast<short>(HIWORD(lParam));
}

CSize::CSize()
{
    cx = cy = 0;
}

CSize::CSize(const SIZE& src)
{
    cx = src.cx;
    cy = src.cy;
}

CSize::CSize(const RECT rc)
{
    cx = rc.right - rc.left;
    cy = rc.bottom - rc.top;
}

CSize::CSize(int _cx, int _cy)
{
    cx = _cx;
    cy = _cy;
}

CSkinRect::CSkinRect()
{
    left = top = right = bottom = 0;
}

CSkinRect::CSkinRect(const RECT& src)
{
    left = src.left;
    top = src.top;
    right = src.right;
    bottom = src.bottom;
}

CSkinRect::CSkinRect(int iLeft, int iTop, int iRight, int iBottom)
{
    left = iLeft;
    top = iTop;
    right = iRight;
    bottom = iBottom;
}

int CSkinRect::GetWidth() const
{
    return right - left;
}

int CSkinRect::GetHeight() const
{
    return bottom - top;
}

void CSkinRect::Empty()
{
    left = top = right = bottom = 0;
}

bool CSkinRect::IsNull() const
{
    return left == 0 && top == 0 && right == 0 && bottom == 0;
}

void CSkinRect::Join(const RECT& rc)
{
    if (rc.left < left) left = rc.left;
    if (rc.top < top) top = rc.top;
    if (rc.right > right) right = rc.right;
    if (rc.bottom > bottom) bottom = rc.bottom;
}

void CSkinRect::ResetOffset()
{
    ::OffsetRect(this, -left, -top);
}

void CSkinRect::Normalize()
{
    if (left > right) {
        const LONG t = left;
        left = right;
        right = t;
    }
    if (top > bottom) {
        const LONG t = top;
        top = bottom;
        bottom = t;
    }
}

void CSkinRect::Offset(int cx, int cy)
{
    ::OffsetRect(this, cx, cy);
}

void CSkinRect::Inflate(int cx, int cy)
{
    ::InflateRect(this, cx, cy);
}

void CSkinRect::Deflate(int cx, int cy)
{
    ::InflateRect(this, -cx, -cy);
}

void CSkinRect::Union(const RECT& rc)
{
    ::UnionRect(this, this, &rc);
}

} // namespace SkinLib
