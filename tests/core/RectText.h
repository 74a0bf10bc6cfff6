#pragma once
// Rectangles as "left,top,right,bottom" text, so that tables of expected
// places read plainly and failures print them.
#include <windows.h>

#include <string>

namespace SkinLibTest {

inline std::string RectText(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

} // namespace SkinLibTest
