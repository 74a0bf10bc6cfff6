#include <gtest/gtest.h>

#include <cstdint>

#include "core/SkinRect.h"
#include "core/StdPtrArray.h"
#include "core/StdStringPtrMap.h"
#include "core/StdValArray.h"
#include "core/StringOrId.h"
#include "core/WaitCursor.h"

using namespace SkinLib;

namespace {

// Read the protected capacities that growth and bucket rules are about.
struct PtrArrayProbe : CStdPtrArray
{
    int Capacity() const { return m_nAllocated; }
};

struct ValArrayProbe : CStdValArray
{
    using CStdValArray::CStdValArray;
    int Capacity() const { return m_nAllocated; }
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

} // namespace

TEST(Geometry, PointFromMouseCoordinates)
{
    const CPoint pt(static_cast<LPARAM>(MAKELPARAM(-5, 300)));
    EXPECT_EQ(pt.x, -5);
    EXPECT_EQ(pt.y, 300);
    const CPoint pt2(static_cast<LPARAM>(MAKELPARAM(40, -32768)));
    EXPECT_EQ(pt2.y, -32768);
}

TEST(Geometry, JoinCountsEmptyRectsUnionIgnoresThem)
{
    CSkinRect joined(10, 10, 20, 20);
    joined.Join(CSkinRect());
    EXPECT_EQ(joined.left, 0);
    EXPECT_EQ(joined.top, 0);
    EXPECT_EQ(joined.right, 20);

    CSkinRect united(10, 10, 20, 20);
    united.Union(CSkinRect());
    EXPECT_EQ(united.left, 10);
    united.Union(CSkinRect(0, 15, 12, 30));
    EXPECT_EQ(united.left, 0);
    EXPECT_EQ(united.bottom, 30);

    CSkinRect inv(30, 40, 10, 20);
    inv.Normalize();
    EXPECT_EQ(inv.left, 10);
    EXPECT_EQ(inv.bottom, 40);
    inv.ResetOffset();
    EXPECT_EQ(inv.left, 0);
    EXPECT_EQ(inv.right, 20);
}

TEST(PtrArray, GrowthAndEmpty)
{
    PtrArrayProbe a;
    EXPECT_TRUE(a.Add(P(1)));
    EXPECT_EQ(a.Capacity(), 11);
    for (int i = 2; i <= 10; i++) a.Add(P(i));
    EXPECT_EQ(a.Capacity(), 11);
    a.Add(P(11));
    EXPECT_EQ(a.Capacity(), 22);
    for (int i = 0; i < 11; i++) EXPECT_EQ(a[i], P(i + 1));

    a.Empty();
    EXPECT_EQ(a.Capacity(), 0);
    EXPECT_EQ(a.GetData(), nullptr);

    EXPECT_TRUE(a.Resize(3));
    EXPECT_EQ(a.GetSize(), 3);
    for (int i = 0; i < 3; i++) EXPECT_EQ(a[i], nullptr);
}

TEST(PtrArray, IndexedOperationsCheckTheRange)
{
    CStdPtrArray a;
    EXPECT_EQ(a.GetAt(0), nullptr);
    EXPECT_FALSE(a.Remove(0));
    EXPECT_FALSE(a.SetAt(0, P(1)));
    EXPECT_FALSE(a.InsertAt(1, P(1)));
    EXPECT_FALSE(a.InsertAt(-1, P(1)));

    EXPECT_TRUE(a.InsertAt(0, P(2)));
    EXPECT_TRUE(a.InsertAt(0, P(1)));
    EXPECT_TRUE(a.InsertAt(2, P(4)));
    EXPECT_TRUE(a.InsertAt(2, P(3)));
    ASSERT_EQ(a.GetSize(), 4);
    for (int i = 0; i < 4; i++) EXPECT_EQ(a.GetAt(i), P(i + 1));
    EXPECT_EQ(a.GetAt(4), nullptr);
    EXPECT_EQ(a.Find(P(3)), 2);

    EXPECT_TRUE(a.Remove(1));
    EXPECT_EQ(a[1], P(3));
    EXPECT_TRUE(a.Remove(2));
    EXPECT_FALSE(a.Remove(2));
    EXPECT_EQ(a.GetSize(), 2);
}

TEST(PtrArray, CopiesHaveTheirOwnBlock)
{
    CStdPtrArray a;
    for (int i = 1; i <= 20; i++) a.Add(P(i));
    CStdPtrArray b(a);
    EXPECT_NE(a.GetData(), b.GetData());
    ASSERT_EQ(b.GetSize(), 20);

    CStdPtrArray c;
    c.Add(P(99));
    c = a;
    ASSERT_EQ(c.GetSize(), 20);
    EXPECT_NE(c.GetData(), a.GetData());
    c.Remove(0);
    EXPECT_EQ(a[0], P(1));

    c = c;
    EXPECT_EQ(c.GetSize(), 19);
    EXPECT_EQ(c[0], P(2));
}

TEST(ValArray, ValuesAreCopiedAndEmptyKeepsTheBlock)
{
    struct Pair { int a; int b; };
    ValArrayProbe v(sizeof(Pair), 0);
    EXPECT_EQ(v.GetAt(0), nullptr);
    for (int i = 0; i < 12; i++) {
        const Pair p = { i, -i };
        EXPECT_TRUE(v.Add(&p));
    }
    EXPECT_EQ(v.Capacity(), 22);
    EXPECT_EQ(static_cast<Pair*>(v.GetAt(11))->b, -11);
    EXPECT_EQ(v.GetAt(12), nullptr);

    EXPECT_TRUE(v.Remove(0));
    EXPECT_FALSE(v.Remove(11));
    EXPECT_EQ(static_cast<Pair*>(v[0])->a, 1);
    EXPECT_EQ(static_cast<Pair*>(v[10])->a, 11);

    const void* pBlock = v.GetData();
    v.Empty();
    const Pair p = { 7, 8 };
    v.Add(&p);
    EXPECT_EQ(v.GetData(), pBlock);
    EXPECT_EQ(static_cast<Pair*>(v.GetAt(0))->b, 8);
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
    EXPECT_EQ(m.GetAt(m.GetSize()), nullptr);

    m.RemoveAll();
    EXPECT_EQ(m.GetSize(), 0);
    EXPECT_EQ(m.Buckets(), 16);
    EXPECT_EQ(m.Find(L"two"), nullptr);

    // A key with null data is still present: no second item of it.
    EXPECT_TRUE(m.Insert(L"k", nullptr));
    EXPECT_FALSE(m.Insert(L"k", P(1)));
    EXPECT_EQ(m.Set(L"k", P(2)), nullptr);
    EXPECT_EQ(m.GetSize(), 1);
}

TEST(StringPtrMap, WithoutBucketsNothingIsStored)
{
    CStdStringPtrMap m;
    m.Insert(L"a", P(1));
    m.Resize(0);
    EXPECT_EQ(m.GetSize(), 0);
    EXPECT_EQ(m.Find(L"a"), nullptr);
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
TEST(StringPtrMap, BucketsFollowTheHash)
{
    CStdStringPtrMap m(16);
    const wchar_t* keys[] = { L"alpha", L"beta", L"gamma", L"delta", L"epsilon", L"zeta",
                              L"eta", L"theta", L"iota", L"kappa", L"lambda", L"mu" };
    for (const wchar_t* key : keys) m.Insert(key, P(1));
    const wchar_t* order[] = { L"kappa", L"iota", L"beta", L"eta", L"epsilon", L"delta",
                               L"theta", L"alpha", L"zeta", L"gamma", L"mu", L"lambda" };
    ASSERT_EQ(m.GetSize(), 12);
    for (int i = 0; i < 12; i++) EXPECT_STREQ(m.GetAt(i), order[i]) << i;
}

TEST(StringPtrMap, FindMovesAHitToTheChainHead)
{
    // One bucket: the chain order is the iteration order.
    CStdStringPtrMap m;
    m.Resize(1);
    m.Insert(L"a", P(1));
    m.Insert(L"b", P(2));
    m.Insert(L"c", P(3));
    EXPECT_STREQ(m.GetAt(0), L"c");

    EXPECT_EQ(m.Find(L"a", false), P(1));
    EXPECT_STREQ(m.GetAt(0), L"c");
    EXPECT_EQ(m.Find(L"a"), P(1));
    EXPECT_STREQ(m.GetAt(0), L"a");
    EXPECT_STREQ(m.GetAt(1), L"c");
    EXPECT_STREQ(m.GetAt(2), L"b");

    EXPECT_TRUE(m.Remove(L"c"));
    EXPECT_TRUE(m.Remove(L"b"));
    EXPECT_EQ(m.Find(L"a"), P(1));
    EXPECT_TRUE(m.Remove(L"a"));
    EXPECT_EQ(m.GetAt(0), nullptr);
}

TEST(StringOrId, NameOrIdentifier)
{
    EXPECT_FALSE(STRINGorID(L"skin.xml").IsId());
    const STRINGorID id(0x12345u);
    EXPECT_TRUE(id.IsId());
    EXPECT_EQ(reinterpret_cast<uintptr_t>(id.m_lpszNameOrId), 0x2345u);

    // A text above 4 GiB may have bits 16-31 clear; it is still a name.
    const STRINGorID high(reinterpret_cast<const wchar_t*>(static_cast<uintptr_t>(0x100000000ull)));
    EXPECT_FALSE(high.IsId());
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
