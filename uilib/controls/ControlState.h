#pragma once

#include <windows.h>

namespace SkinLib {

// The visual state bits that controls drawing one image per state keep.
enum SKIN_STATE_FLAGS : UINT
{
    CTLSTATE_FOCUSED = 0x01,
    CTLSTATE_SELECTED = 0x02,
    CTLSTATE_DISABLED = 0x04,
    CTLSTATE_HOT = 0x08,
    CTLSTATE_PUSHED = 0x10,
    CTLSTATE_CAPTURED = 0x40,
};

} // namespace SkinLib
