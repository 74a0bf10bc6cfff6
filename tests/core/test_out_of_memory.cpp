// Delegates, event sources and string maps when memory runs out: the library allocates with
// the nothrow operator new, which this program makes fail on demand, and reports the failure
// instead of throwing.
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

void* AllocateNothrow(size_t cb)
{
    return g_bFailNothrow ? NULL : malloc(cb == 0 ? 1 : cb);
}

// Nothrow allocations fail while it is alive.
struct CNoMemory
{
    CNoMemory() { g_bFailNothrow = true; }
    ~CNoMemory() { g_bFailNothrow = false; }
    CNoMemory(const CNoMemory&) = delete;
    CNoMemory& operator=(const CNoMemory&) = delete;
};

int g_nCalls = 0;

bool Count(void*)
{
    g_nCalls++;
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
void* operator new(size_t cb, const std::nothrow_t&) noexcept { return AllocateNothrow(cb); }
void* operator new[](size_t cb, const std::nothrow_t&) noexcept { return AllocateNothrow(cb); }
void operator delete(void* p) noexcept { free(p); }
void operator delete[](void* p) noexcept { free(p); }
void operator delete(void* p, size_t) noexcept { free(p); }
void operator delete[](void* p, size_t) noexcept { free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { free(p); }

TEST(OutOfMemory, DelegatesThatCannotBeClonedAreNotAdded)
{
    CTarget target;
    const CDelegate<CTarget, CTarget> member(&target, &CTarget::OnCall);
    CEventSource source;
    {
        CNoMemory noMemory;
        EXPECT_EQ(nullptr, member.Clone());
        EXPECT_EQ(nullptr, StaticDelegateFromFunction(Count).Clone());
        source += member;
        source += Count;
    }
    EXPECT_FALSE(source);
    g_nCalls = 0;
    EXPECT_TRUE(source(nullptr));

    // With memory again the same delegate is added, once.
    source += Count;
    source += Count;
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(1, g_nCalls);
}

TEST(OutOfMemory, MapsReportWhatTheyCouldNotStore)
{
    int data = 0, other = 0;
    const std::wstring sLongKey(100, L'k');
    CStdStringPtrMap map;
    {
        CNoMemory noMemory;
        EXPECT_FALSE(map.Insert(L"key", &data));
        EXPECT_EQ(&data, map.Set(sLongKey.c_str(), &data)) << "data not stored goes back to the caller";
        EXPECT_EQ(0, map.GetSize());

        // A map without memory for its buckets stores nothing at all.
        CStdStringPtrMap empty;
        EXPECT_FALSE(empty.Insert(L"key", &data));
        EXPECT_EQ(&data, empty.Set(L"key", &data));
        EXPECT_EQ(nullptr, empty.Find(L"key"));
        map.Resize(31);
        EXPECT_FALSE(map.Insert(L"key", &data));
    }
    EXPECT_EQ(nullptr, map.Find(L"key"));
    EXPECT_FALSE(map.Insert(L"key", &data)) << "still without buckets";
    map.Resize(31);
    EXPECT_TRUE(map.Insert(L"key", &data));
    EXPECT_EQ(nullptr, map.Set(sLongKey.c_str(), &other));
    EXPECT_EQ(2, map.GetSize());
    EXPECT_EQ(&other, map.Find(sLongKey.c_str()));
}
