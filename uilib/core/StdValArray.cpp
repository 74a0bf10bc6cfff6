#include "core/StdValArray.h"

#include "core/ArrayGrowth.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace SkinLib {

CStdValArray::CStdValArray(int iElementSize, int iPreallocSize)
    : m_pVoid(nullptr), m_iElementSize(iElementSize > 0 ? iElementSize : 0), m_nCount(0), m_nAllocated(0)
{
    if (iPreallocSize > 0) {
        m_pVoid = static_cast<unsigned char*>(::malloc(static_cast<size_t>(iPreallocSize) * m_iElementSize));
        if (m_pVoid != nullptr) m_nAllocated = iPreallocSize;
    }
}

CStdValArray::~CStdValArray()
{
    ::free(m_pVoid);
}

void CStdValArray::Empty()
{
    m_nCount = 0;
}

bool CStdValArray::IsEmpty() const
{
    return m_nCount == 0;
}

bool CStdValArray::Add(const void* pData)
{
    if (m_nCount == INT_MAX) return false;
    if (++m_nCount >= m_nAllocated) {
        const int nAllocated = GrowArrayCapacity(m_nAllocated);
        unsigned char* pVoid = static_cast<unsigned char*>(
            ::realloc(m_pVoid, static_cast<size_t>(nAllocated) * m_iElementSize));
        if (pVoid == nullptr) {
            --m_nCount;
            return false;
        }
        m_pVoid = pVoid;
        m_nAllocated = nAllocated;
    }
    ::memcpy(m_pVoid + static_cast<size_t>(m_nCount - 1) * m_iElementSize, pData, m_iElementSize);
    return true;
}

bool CStdValArray::Remove(int iIndex)
{
    if (iIndex < 0 || iIndex >= m_nCount) return false;
    if (iIndex < --m_nCount) {
        unsigned char* pSlot = m_pVoid + static_cast<size_t>(iIndex) * m_iElementSize;
        ::memmove(pSlot, pSlot + m_iElementSize, static_cast<size_t>(m_nCount - iIndex) * m_iElementSize);
    }
    return true;
}

int CStdValArray::GetSize() const
{
    return m_nCount;
}

void* CStdValArray::GetData()
{
    return m_pVoid;
}

const void* CStdValArray::GetData() const
{
    return m_pVoid;
}

void* CStdValArray::GetAt(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_nCount) return nullptr;
    return m_pVoid + static_cast<size_t>(iIndex) * m_iElementSize;
}

void* CStdValArray::operator[](int iIndex) const
{
    return m_pVoid + static_cast<size_t>(iIndex) * m_iElementSize;
}

} // namespace SkinLib
