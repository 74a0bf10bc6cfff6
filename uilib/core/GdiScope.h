#pragma once

#include <windows.h>

namespace SkinLib {

// Paired GDI calls tied to a scope, so that every way out of a paint routine
// gives back what it took. They live on the stack; declare them in the order
// the resources are taken, and they are given back in the reverse order.

// BeginPaint and EndPaint around one WM_PAINT.
class CPaintScope
{
public:
    explicit CPaintScope(HWND hWnd) : m_hWnd(hWnd), m_ps() { ::BeginPaint(hWnd, &m_ps); }
    CPaintScope(const CPaintScope&) = delete;
    CPaintScope& operator=(const CPaintScope&) = delete;
    ~CPaintScope() { ::EndPaint(m_hWnd, &m_ps); }

    HDC DC() const { return m_ps.hdc; }
    const RECT& PaintRect() const { return m_ps.rcPaint; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps;
};

// A memory DC compatible with another (or with the screen), deleted with the scope.
class CMemoryDC
{
public:
    explicit CMemoryDC(HDC hCompatible) : m_hDC(::CreateCompatibleDC(hCompatible)) {}
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    ~CMemoryDC()
    {
        if (m_hDC != NULL) ::DeleteDC(m_hDC);
    }

    operator HDC() const { return m_hDC; }

private:
    HDC m_hDC;
};

// A GDI object (bitmap, pen, font) owned by the scope and deleted at its end.
template <class T> class CGdiObjectScope
{
public:
    explicit CGdiObjectScope(T hObject) : m_hObject(hObject) {}
    CGdiObjectScope(const CGdiObjectScope&) = delete;
    CGdiObjectScope& operator=(const CGdiObjectScope&) = delete;
    ~CGdiObjectScope()
    {
        if (m_hObject != NULL) ::DeleteObject(m_hObject);
    }

    operator T() const { return m_hObject; }
    // Hands the object to the caller; the scope then deletes nothing.
    T Detach()
    {
        T hObject = m_hObject;
        m_hObject = NULL;
        return hObject;
    }

private:
    T m_hObject;
};

// An object selected into a DC for the scope; the one it replaced comes back at the end.
class CSelectScope
{
public:
    CSelectScope(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC), m_hOld(::SelectObject(hDC, hObject)) {}
    CSelectScope(const CSelectScope&) = delete;
    CSelectScope& operator=(const CSelectScope&) = delete;
    ~CSelectScope()
    {
        if (m_hOld != NULL) ::SelectObject(m_hDC, m_hOld);
    }

    // False when the DC refused the object (a bitmap selected elsewhere, a null DC).
    bool IsSelected() const { return m_hOld != NULL; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// SaveDC and RestoreDC around drawing that may leave the DC changed.
class CSaveDCScope
{
public:
    explicit CSaveDCScope(HDC hDC) : m_hDC(hDC), m_iSaved(::SaveDC(hDC)) {}
    CSaveDCScope(const CSaveDCScope&) = delete;
    CSaveDCScope& operator=(const CSaveDCScope&) = delete;
    ~CSaveDCScope()
    {
        if (m_iSaved != 0) ::RestoreDC(m_hDC, m_iSaved);
    }

private:
    HDC m_hDC;
    int m_iSaved;
};

} // namespace SkinLib
