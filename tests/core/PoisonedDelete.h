#pragma once
// A control whose memory is poisoned and kept when it is deleted: anything
// that still reaches for it afterwards (a native window, a dispatch loop)
// jumps through a wrecked table and brings the test down instead of reading
// memory that happens to look alive. Each control class keeps its own
// graveyard; the fixture buries it in its TearDown.
#include <string.h>

#include <cstddef>
#include <vector>

namespace SkinLibTest {

template <class Base> class CPoisonedOnDelete : public Base
{
public:
    using Base::Base;

    // The class's own pair: kept out of line, so that the compiler pairs the
    // delete below with this new and not with the global one inside it.
    __attribute__((noinline)) static void* operator new(size_t n) { return ::operator new(n); }
    static void operator delete(void* p, size_t n)
    {
        ::memset(p, 0xDD, n);
        Graveyard().push_back(p);
    }
    static std::vector<void*>& Graveyard()
    {
        static std::vector<void*> s_aGraves;
        return s_aGraves;
    }
    static void FreeGraveyard()
    {
        for (void* p : Graveyard()) ::operator delete(p);
        Graveyard().clear();
    }
};

} // namespace SkinLibTest
