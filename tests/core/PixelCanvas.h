#pragma once
// A 32-bit top-down DIB section selected into a memory DC, for drawing tests
// that check pixels.
#include <windows.h>

#include <cstdint>

namespace SkinLibTest {

// A 32-bit top-down DIB section, the form skin bitmaps take; the caller owns it.
inline HBITMAP MakeDib32(int width, int height, uint32_t** ppBits)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(ppBits), NULL, 0);
}

class PixelCanvas
{
public:
    // Every pixel starts as the given 0xAARRGGBB value.
    PixelCanvas(int width, int height, uint32_t fill = 0xFFFFFFFF) : m_nWidth(width), m_nHeight(height)
    {
        m_hDC = ::CreateCompatibleDC(NULL);
        m_hBitmap = MakeDib32(width, height, &m_pBits);
        m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
        Fill(fill);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;
    ~PixelCanvas()
    {
        ::SelectObject(m_hDC, m_hOldBitmap);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }

    HDC DC() const { return m_hDC; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    RECT Rect() const { return RECT{0, 0, m_nWidth, m_nHeight}; }

    void Fill(uint32_t argb)
    {
        ::GdiFlush();
        for (int i = 0; i < m_nWidth * m_nHeight; i++) m_pBits[i] = argb;
    }
    // 0xAARRGGBB, as the DIB holds it (blue in the lowest byte).
    uint32_t Pixel(int x, int y) const
    {
        ::GdiFlush();
        return m_pBits[y * m_nWidth + x];
    }
    // The colour without the alpha byte, which GDI's own drawing leaves undefined.
    uint32_t Rgb(int x, int y) const { return Pixel(x, y) & 0x00FFFFFF; }

private:
    int m_nWidth;
    int m_nHeight;
    HDC m_hDC = NULL;
    HBITMAP m_hBitmap = NULL;
    HGDIOBJ m_hOldBitmap = NULL;
    uint32_t* m_pBits = nullptr;
};

} // namespace SkinLibTest
