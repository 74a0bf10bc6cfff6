#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/SkinRect.h"
#include "core/StdPtrArray.h"
#include "core/StdStringPtrMap.h"
#include "core/StdValArray.h"
#include "core/StringOrId.h"
#include "core/WaitCursor.h"

using namespace SkinLib;

namespace {

// Read the protected capacities that growth and bucket rules are about.
template <class Array>
struct CapacityProbe : Array
{
    using Array::Array;
    int Capacity() const { return this->m_nAllocated; }
};

struct MapProbe : CStdStringPtrMap
{
    using CStdStringPtrMap::CStdStringPtrMap;
    int Buckets() const { return m_nBuckets; }
};

void* P(intptr_t n)
{
    return reinterpret_cast<void*>(n);
}

// The items of an array, or the keys of a map in iteration order.
std::vector<void*> Items(const CStdPtrArray& a)
{
    std::vector<void*> items;
    for (int i = 0; i < a.GetSize(); i++) items.push_back(a.GetAt(i));
    return items;
}

std::vector<std::wstring> Keys(const CStdStringPtrMap& m)
{
    std::vector<std::wstring> keys;
    for (int i = 0; i < m.GetSize(); i++) keys.push_back(m.GetAt(i));
    return keys;
}

void ExpectRect(const RECT& rc, LONG left, LONG top, LONG right, LONG bottom)
{
    EXPECT_EQ(rc.left, left);
    EXPECT_EQ(rc.top, top);
    EXPECT_EQ(rc.right, right);
    EXPECT_EQ(rc.bottom, bottom);
}

} // namespace

TEST(Geometry, PointsFromMouseCoordinatesAndRectRules)
{
    const CPoint pt(static_cast<LPARAM>(MAKELPARAM(-5, 300)));
    EXPECT_EQ(pt.x, -5);
    EXPECT_EQ(pt.y, 300);
    EXPECT_EQ(CPoint(static_cast<LPARAM>(MAKELPARAM(40, -32768))).y, -32768);

    // Join counts an empty rectangle, Union ignores it.
    CSkinRect joined(10, 10, 20, 20);
    joined.Join(CSkinRect());
    ExpectRect(joined, 0, 0, 20, 20);
    CSkinRect united(10, 10, 20, 20);
    united.Union(CSkinRect());
    ExpectRect(united, 10, 10, 20, 20);
    united.Union(CSkinRect(0, 15, 12, 30));
    ExpectRect(united, 0, 10, 20, 30);

    CSkinRect inverted(30, 40, 10, 20);
    inverted.Normalize();
    ExpectRect(inverted, 10, 20, 30, 40);
}

TEST(PtrArray, GrowthEmptyResizeAndCopies)
{
    CapacityProbe<CStdPtrArray> a;
    EXPECT_TRUE(a.Add(P(1)));
    EXPECT_EQ(a.Capacity(), 11);
    for (int i = 2; i <= 10; i++) a.Add(P(i));
    EXPECT_EQ(a.Capacity(), 11);
    a.Add(P(11));
    EXPECT_EQ(a.Capacity(), 22);
    EXPECT_EQ(Items(a), std::vector<void*>({ P(1), P(2), P(3), P(4), P(5), P(6), P(7), P(8), P(9), P(10), P(11) }));

    // Copies have their own block; assigning an array to itself keeps it.
    CStdPtrArray b(a), c;
    EXPECT_NE(b.GetData(), a.GetData());
    EXPECT_EQ(Items(b), Items(a));
    c.Add(P(99));
    c = a;
    EXPECT_NE(c.GetData(), a.GetData());
    c.Remove(0);
    EXPECT_EQ(a[0], P(1));
    c = c;
    EXPECT_EQ(Items(c), std::vector<void*>({ P(2), P(3), P(4), P(5), P(6), P(7), P(8), P(9), P(10), P(11) }));

    // Empty frees the block; Resize gives null items.
    a.Empty();
    EXPECT_EQ(a.Capacity(), 0);
    EXPECT_EQ(a.GetData(), nullptr);
    EXPECT_TRUE(a.Resize(3));
    EXPECT_EQ(Items(a), std::vector<void*>(3, nullptr));
}

TEST(PtrArray, IndexedOperationsCheckTheRange)
{
    CStdPtrArray a;
    EXPECT_EQ(a.GetAt(0), nullptr);
    EXPECT_FALSE(a.Remove(0));
    EXPECT_FALSE(a.SetAt(0, P(1)));
    EXPECT_FALSE(a.InsertAt(1, P(1)));
    EXPECT_FALSE(a.InsertAt(-1, P(1)));

    for (auto step : { std::make_pair(0, 2), std::make_pair(0, 1), std::make_pair(2, 4), std::make_pair(2, 3) })
        EXPECT_TRUE(a.InsertAt(step.first, P(step.second)));
    EXPECT_EQ(Items(a), std::vector<void*>({ P(1), P(2), P(3), P(4) }));
    EXPECT_EQ(a.GetAt(4), nullptr);
    EXPECT_EQ(a.Find(P(3)), 2);

    EXPECT_TRUE(a.Remove(1));
    EXPECT_TRUE(a.Remove(2));
    EXPECT_FALSE(a.Remove(2));
    EXPECT_EQ(Items(a), std::vector<void*>({ P(1), P(3) }));
}

TEST(ValArray, ValuesAreCopiedAndEmptyKeepsTheBlock)
{
    struct Pair { int a; int b; };
    auto at = [](const CStdValArray& v, int i) { return static_cast<Pair*>(v.GetAt(i)); };
    CapacityProbe<CStdValArray> v(sizeof(Pair), 0);
    EXPECT_EQ(v.GetAt(0), nullptr);
    for (int i = 0; i < 12; i++) {
        const Pair p = { i, -i };
        EXPECT_TRUE(v.Add(&p));
    }
    EXPECT_EQ(v.Capacity(), 22);
    EXPECT_EQ(at(v, 11)->b, -11);
    EXPECT_EQ(v.GetAt(12), nullptr);

    EXPECT_TRUE(v.Remove(0));
    EXPECT_FALSE(v.Remove(11));
    EXPECT_EQ(at(v, 0)->a, 1);
    EXPECT_EQ(at(v, 10)->a, 11);

    const void* pBlock = v.GetData();
    v.Empty();
    const Pair p = { 7, 8 };
    v.Add(&p);
    EXPECT_EQ(v.GetData(), pBlock);
    EXPECT_EQ(at(v, 0)->b, 8);
}

TEST(StringPtrMap, InsertFindSetRemove)
{
    MapProbe m(5);
    EXPECT_EQ(m.Buckets(), 16);
    EXPECT_EQ(m.Find(L"a"), nullptr);

    EXPECT_TRUE(m.Insert(L"one", P(1)));
    EXPECT_TRUE(m.Insert(L"two", P(2)));
    EXPECT_FALSE(m.Insert(L"one", P(3)));
    EXPECT_EQ(m.Find(L"one"), P(1));
    EXPECT_EQ(m.Find(L"One"), nullptr);
    EXPECT_EQ(m.Set(L"two", P(22)), P(2));
    EXPECT_EQ(m.Find(L"two"), P(22));
    EXPECT_EQ(m.Set(L"three", P(3)), nullptr);
    EXPECT_EQ(m.GetSize(), 3);

    EXPECT_TRUE(m.Remove(L"one"));
    EXPECT_FALSE(m.Remove(L"one"));
    EXPECT_EQ(m.GetSize(), 2);
    EXPECT_EQ(m.GetAt(2), nullptr);

    m.RemoveAll();
    EXPECT_EQ(m.GetSize(), 0);
    EXPECT_EQ(m.Buckets(), 16);
    EXPECT_EQ(m.Find(L"two"), nullptr);

    // A key with null data is still present: no second item of it.
    EXPECT_TRUE(m.Insert(L"k", nullptr));
    EXPECT_FALSE(m.Insert(L"k", P(1)));
    EXPECT_EQ(m.Set(L"k", P(2)), nullptr);
    EXPECT_EQ(m.GetSize(), 1);

    // Without buckets nothing is stored, and Set hands the data back.
    m.Resize(0);
    EXPECT_EQ(m.GetSize(), 0);
    EXPECT_EQ(m.Find(L"k"), nullptr);
    EXPECT_FALSE(m.Insert(L"a", P(1)));
    EXPECT_EQ(m.Set(L"a", P(5)), P(5));
    EXPECT_FALSE(m.Remove(L"a"));
    EXPECT_EQ(m.GetAt(0), nullptr);
    m.RemoveAll();

    m.Resize(7);
    EXPECT_TRUE(m.Insert(L"a", P(1)));
    EXPECT_EQ(m.Find(nullptr), nullptr);
    EXPECT_FALSE(m.Remove(nullptr));
}

// Iteration walks the buckets from the last to the first, each chain from its
// newest item; the bucket is h mod 16 with h = h * 33 + unit (wrapping), taken
// from the last unit to the first: "kappa" and "iota" share bucket 13,
// "epsilon" (whose hash wraps) shares 10 with "delta" and "eta".
// A Find that optimizes moves its hit to the head of the chain.
TEST(StringPtrMap, IterationFollowsBucketsAndChains)
{
    CStdStringPtrMap m(16);
    for (const wchar_t* key : { L"alpha", L"beta", L"gamma", L"delta", L"epsilon", L"zeta", L"eta", L"theta", L"iota",
                                L"kappa", L"lambda", L"mu" })
        m.Insert(key, P(1));
    EXPECT_EQ(Keys(m), std::vector<std::wstring>({ L"kappa", L"iota", L"beta", L"eta", L"epsilon", L"delta", L"theta",
                                                   L"alpha", L"zeta", L"gamma", L"mu", L"lambda" }));

    m.Resize(1);  // one bucket: the chain order is the iteration order
    m.Insert(L"a", P(1));
    m.Insert(L"b", P(2));
    m.Insert(L"c", P(3));
    EXPECT_EQ(m.Find(L"a", false), P(1));
    EXPECT_EQ(Keys(m), std::vector<std::wstring>({ L"c", L"b", L"a" }));
    EXPECT_EQ(m.Find(L"a"), P(1));
    EXPECT_EQ(Keys(m), std::vector<std::wstring>({ L"a", L"c", L"b" }));

    EXPECT_TRUE(m.Remove(L"c"));
    EXPECT_TRUE(m.Remove(L"b"));
    EXPECT_EQ(m.Find(L"a"), P(1));
    EXPECT_TRUE(m.Remove(L"a"));
    EXPECT_EQ(m.GetAt(0), nullptr);
}

TEST(StringOrId, NameOrIdentifier)
{
    EXPECT_FALSE(STRINGorID(L"skin.xml").IsId());
    EXPECT_TRUE(STRINGorID(0x12345u).IsId());
    // A text above 4 GiB may have bits 16-31 clear; it is still a name.
    EXPECT_FALSE(STRINGorID(reinterpret_cast<const wchar_t*>(static_cast<uintptr_t>(0x100000000ull))).IsId());
}

TEST(WaitCursor, RestoresThePreviousCursor)
{
    const HCURSOR hArrow = ::LoadCursorW(NULL, IDC_ARROW);
    ::SetCursor(hArrow);
    {
        CWaitCursor wait;
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(NULL, IDC_WAIT));
    }
    EXPECT_EQ(::GetCursor(), hArrow);
}
