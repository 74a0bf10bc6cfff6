#include "core/StdPtrArray.h"

#include "core/ArrayGrowth.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace SkinLib {

CStdPtrArray::CStdPtrArray(int iPreallocSize)
    : m_ppVoid(nullptr), m_nCount(0), m_nAllocated(0)
{
    if (iPreallocSize > 0) {
        m_ppVoid = static_cast<void**>(::malloc(iPreallocSize * sizeof(void*)));
        if (m_ppVoid != nullptr) m_nAllocated = iPreallocSize;
    }
}

CStdPtrArray::CStdPtrArray(const CStdPtrArray& src)
    : m_ppVoid(nullptr), m_nCount(0), m_nAllocated(0)
{
    for (int i = 0; i < src.GetSize(); i++) Add(src.GetAt(i));
}

CStdPtrArray& CStdPtrArray::operator=(const CStdPtrArray& src)
{
    if (this == &src) return *this;
    Empty();
    for (int i = 0; i < src.GetSize(); i++) Add(src.GetAt(i));
    return *this;
}

CStdPtrArray::~CStdPtrArray()
{
    ::free(m_ppVoid);
}

void CStdPtrArray::Empty()
{
    ::free(m_ppVoid);
    m_ppVoid = nullptr;
    m_nCount = m_nAllocated = 0;
}

bool CStdPtrArray::Resize(int iSize)
{
    Empty();
    if (iSize <= 0) return true;
    m_ppVoid = static_cast<void**>(::calloc(iSize, sizeof(void*)));
    if (m_ppVoid == nullptr) return false;
    m_nCount = m_nAllocated = iSize;
    return true;
}

bool CStdPtrArray::IsEmpty() const
{
    return m_nCount == 0;
}

// Keeps at least one spare slot after the new item, like every Add before it.
bool CStdPtrArray::Grow()
{
    if (m_nCount == INT_MAX) return false;
    if (++m_nCount >= m_nAllocated) {
        const int nAllocated = GrowArrayCapacity(m_nAllocated);
        void** ppVoid = static_cast<void**>(::realloc(m_ppVoid, nAllocated * sizeof(void*)));
        if (ppVoid == nullptr) {
            --m_nCount;
            return false;
        }
        m_ppVoid = ppVoid;
        m_nAllocated = nAllocated;
    }
    return true;
}

bool CStdPtrArray::Add(void* pData)
{
    if (!Grow()) return false;
    m_ppVoid[m_nCount - 1] = pData;
    return true;
}

bool CStdPtrArray::InsertAt(int iIndex, void* pData)
{
    if (iIndex == m_nCount) return Add(pData);
    if (iIndex < 0 || iIndex > m_nCount) return false;
    if (!Grow()) return false;
    ::memmove(&m_ppVoid[iIndex + 1], &m_ppVoid[iIndex], (m_nCount - iIndex - 1) * sizeof(void*));
    m_ppVoid[iIndex] = pData;
    return true;
}

bool CStdPtrArray::SetAt(int iIndex, void* pData)
{
    if (iIndex < 0 || iIndex >= m_nCount) return false;
    m_ppVoid[iIndex] = pData;
    return true;
}

bool CStdPtrArray::Remove(int iIndex)
{
    if (iIndex < 0 || iIndex >= m_nCount) return false;
    if (iIndex < --m_nCount) {
        ::memmove(&m_ppVoid[iIndex], &m_ppVoid[iIndex + 1], (m_nCount - iIndex) * sizeof(void*));
    }
    return true;
}

int CStdPtrArray::Find(const void* pData) const
{
    for (int i = 0; i < m_nCount; i++) {
        if (m_ppVoid[i] == pData) return i;
    }
    return -1;
}

int CStdPtrArray::GetSize() const
{
    return m_nCount;
}

void** CStdPtrArray::GetData()
{
    return m_ppVoid;
}

void* const* CStdPtrArray::GetData() const
{
    return m_ppVoid;
}

void* CStdPtrArray::GetAt(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_nCount) return nullptr;
    return m_ppVoid[iIndex];
}

void* CStdPtrArray::operator[](int iIndex) const
{
    return m_ppVoid[iIndex];
}

} // namespace SkinLib
