#pragma once

#include <windows.h>

namespace SkinLib {

class CPoint : public tagPOINT
{
public:
    CPoint();
    CPoint(const POINT& src);
    CPoint(int x, int y);
    // Mouse messages pack signed 16-bit client coordinates into lParam.
    explicit CPoint(LPARAM lParam);
};

class CSize : public tagSIZE
{
public:
    CSize();
    CSize(const SIZE& src);
    explicit CSize(const RECT rc);
    CSize(int cx, int cy);
};

class CSkinRect : public tagRECT
{
public:
    CSkinRect();
    CSkinRect(const RECT& src);
    CSkinRect(int iLeft, int iTop, int iRight, int iBottom);

    int GetWidth() const;
    int GetHeight() const;
    void Empty();
    bool IsNull() const;
    void Join(const RECT& rc);
    void ResetOffset();
    void Normalize();
    void Offset(int cx, int cy);
    void Inflate(int cx, int cy);
    void Deflate(int cx, int cy);
    void Union(const RECT& rc);
};

} // namespace SkinLib
