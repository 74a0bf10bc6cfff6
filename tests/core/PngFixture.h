#pragma once
// Small PNG images made in memory for image tests.
#include <cstdint>
#include <string>
#include <vector>

// A copy of its own in every source that includes it, so that a program of
// several sources (the extended controls demo and its pages) links.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace SkinLibTest {

// Pixels given as 0xAARRGGBB, row by row from the top.
inline std::string MakePng(int width, int height, const std::vector<uint32_t>& argb)
{
    std::vector<unsigned char> rgba(argb.size() * 4);
    for (size_t i = 0; i < argb.size(); i++) {
        rgba[i * 4 + 0] = static_cast<unsigned char>(argb[i] >> 16);
        rgba[i * 4 + 1] = static_cast<unsigned char>(argb[i] >> 8);
        rgba[i * 4 + 2] = static_cast<unsigned char>(argb[i]);
        rgba[i * 4 + 3] = static_cast<unsigned char>(argb[i] >> 24);
    }
    int len = 0;
    unsigned char* png = stbi_write_png_to_mem(rgba.data(), width * 4, width, height, 4, &len);
    std::string bytes(reinterpret_cast<const char*>(png), static_cast<size_t>(len));
    STBIW_FREE(png);
    return bytes;
}

inline std::string MakeSolidPng(int width, int height, uint32_t argb)
{
    return MakePng(width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, argb));
}

// A 24x24 rounded face with a 1-pixel frame, made for nine-grid drawing.
inline std::string MakeRoundedFacePng(uint32_t face, uint32_t frame)
{
    const int n = 24;
    std::vector<uint32_t> px(n * n, 0);
    for (int y = 0; y < n; y++) {
        for (int x = 0; x < n; x++) {
            int dx = x < 4 ? 4 - x : (x > n - 5 ? x - (n - 5) : 0);
            int dy = y < 4 ? 4 - y : (y > n - 5 ? y - (n - 5) : 0);
            int d2 = dx * dx + dy * dy;
            if (d2 > 16) continue;
            bool bEdge = x == 0 || y == 0 || x == n - 1 || y == n - 1 || d2 > 9;
            px[y * n + x] = bEdge ? frame : face;
        }
    }
    return MakePng(n, n, px);
}

} // namespace SkinLibTest
