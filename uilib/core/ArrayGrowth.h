#pragma once

#include <climits>

namespace SkinLib {

// The growth rule both arrays share: 11 slots at first, then twice as many,
// never past INT_MAX.
inline int GrowArrayCapacity(int nAllocated)
{
    if (nAllocated == 0) return 11;
    return nAllocated > INT_MAX / 2 ? INT_MAX : nAllocated * 2;
}

} // namespace SkinLib
