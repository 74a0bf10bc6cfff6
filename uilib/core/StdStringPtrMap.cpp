#include "core/StdStringPtrMap.h"

#include "core/SkinString.h"

#include <cstdint>
#include <new>

namespace SkinLib {

struct StringPtrMapItem
{
    CSkinString Key;
    void* Data;
    StringPtrMapItem* pPrev;
    StringPtrMapItem* pNext;
};

static uint32_t HashString(const wchar_t* pstrKey)
{
    const wchar_t* p = pstrKey;
    while (*p != L'\0') p++;
    uint32_t h = 0;
    while (p != pstrKey) h = h * 33 + *--p;
    return h;
}

CStdStringPtrMap::CStdStringPtrMap(int nSize)
    : m_aT(nullptr), m_nBuckets(0), m_nCount(0)
{
    Resize(nSize < 16 ? 16 : nSize);
}

CStdStringPtrMap::~CStdStringPtrMap()
{
    FreeItems();
}

void CStdStringPtrMap::FreeItems()
{
    for (int i = 0; i < m_nBuckets; i++) {
        StringPtrMapItem* pItem = m_aT[i];
        while (pItem != nullptr) {
            StringPtrMapItem* pNext = pItem->pNext;
            delete pItem;
            pItem = pNext;
        }
    }
    delete[] m_aT;
    m_aT = nullptr;
    m_nBuckets = 0;
    m_nCount = 0;
}

// Without memory for the buckets the map is left with none: it then stores nothing, and Insert
// and Set say so.
void CStdStringPtrMap::Resize(int nSize)
{
    FreeItems();
    if (nSize <= 0) return;
    m_aT = new (std::nothrow) StringPtrMapItem*[nSize]();
    if (m_aT != nullptr) m_nBuckets = nSize;
}

void CStdStringPtrMap::RemoveAll()
{
    Resize(m_nBuckets);
}

int CStdStringPtrMap::GetSize() const
{
    return m_nCount;
}

StringPtrMapItem** CStdStringPtrMap::BucketOf(const wchar_t* key) const
{
    return &m_aT[HashString(key) % static_cast<uint32_t>(m_nBuckets)];
}

StringPtrMapItem* CStdStringPtrMap::FindItem(const wchar_t* key, bool optimize) const
{
    if (m_nBuckets == 0 || m_nCount == 0 || key == nullptr) return nullptr;
    StringPtrMapItem** ppHead = BucketOf(key);
    for (StringPtrMapItem* pItem = *ppHead; pItem != nullptr; pItem = pItem->pNext) {
        if (pItem->Key != key) continue;
        if (optimize && pItem != *ppHead) {
            pItem->pPrev->pNext = pItem->pNext;
            if (pItem->pNext != nullptr) pItem->pNext->pPrev = pItem->pPrev;
            pItem->pPrev = nullptr;
            pItem->pNext = *ppHead;
            (*ppHead)->pPrev = pItem;
            *ppHead = pItem;
        }
        return pItem;
    }
    return nullptr;
}

void* CStdStringPtrMap::Find(const wchar_t* key, bool optimize) const
{
    StringPtrMapItem* pItem = FindItem(key, optimize);
    return pItem != nullptr ? pItem->Data : nullptr;
}

// A key is present or absent whatever its data, so storing null data never
// leads to a second item of the same key.
bool CStdStringPtrMap::Insert(const wchar_t* key, void* pData)
{
    if (m_nBuckets == 0 || key == nullptr || FindItem(key, true) != nullptr) return false;
    StringPtrMapItem** ppHead = BucketOf(key);
    StringPtrMapItem* pItem = new (std::nothrow) StringPtrMapItem{CSkinString(key), pData, nullptr, *ppHead};
    if (pItem == nullptr) return false;
    // A long key lives on the heap; a copy that could not get its block is left empty.
    if (pItem->Key.IsEmpty() && key[0] != L'\0') {
        delete pItem;
        return false;
    }
    if (*ppHead != nullptr) (*ppHead)->pPrev = pItem;
    *ppHead = pItem;
    m_nCount++;
    return true;
}

void* CStdStringPtrMap::Set(const wchar_t* key, void* pData)
{
    StringPtrMapItem* pItem = FindItem(key, true);
    // Data that could not be stored goes back to the caller.
    if (pItem == nullptr) return Insert(key, pData) ? nullptr : pData;
    void* pOld = pItem->Data;
    pItem->Data = pData;
    return pOld;
}

bool CStdStringPtrMap::Remove(const wchar_t* key)
{
    // The search brings the item to the head of its chain.
    StringPtrMapItem* pItem = FindItem(key, true);
    if (pItem == nullptr) return false;
    *BucketOf(key) = pItem->pNext;
    if (pItem->pNext != nullptr) pItem->pNext->pPrev = nullptr;
    delete pItem;
    m_nCount--;
    return true;
}

const wchar_t* CStdStringPtrMap::GetAt(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_nCount) return nullptr;
    int nPos = 0;
    for (int i = m_nBuckets - 1; i >= 0; i--) {
        for (StringPtrMapItem* pItem = m_aT[i]; pItem != nullptr; pItem = pItem->pNext) {
            if (nPos++ == iIndex) return pItem->Key.GetData();
        }
    }
    return nullptr;
}

const wchar_t* CStdStringPtrMap::operator[](int iIndex) const
{
    return GetAt(iIndex);
}

} // namespace SkinLib
