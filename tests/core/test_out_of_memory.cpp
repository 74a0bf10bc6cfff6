// Delegates, event sources and string maps when memory runs out: the library allocates with
// the nothrow operator new, which this program makes fail on demand.
// The replaced operators pair malloc with free behind operator delete, which
// the compiler cannot see when it inlines an allocation.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include "core/Delegate.h"
#include "core/EventSource.h"
#include "core/StdStringPtrMap.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <new>
#include <string>

using namespace SkinLib;

namespace {

bool g_bFailNothrow = false;

// Nothrow allocations fail while it is alive.
struct CNoMemory
{
    CNoMemory() { g_bFailNothrow = true; }
    ~CNoMemory() { g_bFailNothrow = false; }
};

bool Pass(void*)
{
    return true;
}

struct CTarget
{
    bool OnCall(void*) { return true; }
};

} // namespace

void* operator new(size_t cb)
{
    void* p = malloc(cb == 0 ? 1 : cb);
    if (p == NULL) throw std::bad_alloc();
    return p;
}
void* operator new[](size_t cb) { return operator new(cb); }
void* operator new(size_t cb, const std::nothrow_t&) noexcept { return g_bFailNothrow ? NULL : malloc(cb == 0 ? 1 : cb); }
void* operator new[](size_t cb, const std::nothrow_t& nt) noexcept { return operator new(cb, nt); }
void operator delete(void* p) noexcept { free(p); }
void operator delete[](void* p) noexcept { free(p); }
void operator delete(void* p, size_t) noexcept { free(p); }
void operator delete[](void* p, size_t) noexcept { free(p); }

TEST(OutOfMemory, DelegatesThatCannotBeClonedAreNotAdded)
{
    CTarget target;
    const CDelegate<CTarget, CTarget> member(&target, &CTarget::OnCall);
    CEventSource source;
    {
        CNoMemory noMemory;
        EXPECT_EQ(nullptr, member.Clone());
        source += member;
        source += Pass;
    }
    EXPECT_FALSE(source);
    EXPECT_TRUE(source(nullptr));
}

TEST(OutOfMemory, MapsReportWhatTheyCouldNotStore)
{
    int data = 0;
    const std::wstring sLongKey(100, L'k');
    CStdStringPtrMap map;
    {
        CNoMemory noMemory;
        EXPECT_FALSE(map.Insert(L"key", &data));
        EXPECT_EQ(&data, map.Set(sLongKey.c_str(), &data)) << "data not stored goes back to the caller";
        EXPECT_EQ(0, map.GetSize());
        // Without memory for its buckets a map stores nothing at all.
        map.Resize(31);
    }
    EXPECT_FALSE(map.Insert(L"key", &data));
    EXPECT_EQ(&data, map.Set(L"key", &data));
    EXPECT_EQ(nullptr, map.Find(L"key"));
    map.Resize(31);
    EXPECT_EQ(nullptr, map.Set(sLongKey.c_str(), &data));
    EXPECT_EQ(&data, map.Find(sLongKey.c_str()));
}
