#pragma once

namespace SkinLib {

// A growable array of untyped pointers; it never owns what they point to.
class CStdPtrArray
{
public:
    explicit CStdPtrArray(int iPreallocSize = 0);
    CStdPtrArray(const CStdPtrArray& src);
    CStdPtrArray& operator=(const CStdPtrArray& src);
    ~CStdPtrArray();

    void Empty();
    bool Resize(int iSize);
    bool IsEmpty() const;
    int Find(const void* pData) const;
    bool Add(void* pData);
    bool SetAt(int iIndex, void* pData);
    bool InsertAt(int iIndex, void* pData);
    bool Remove(int iIndex);
    int GetSize() const;
    void** GetData();
    void* const* GetData() const;

    void* GetAt(int iIndex) const;
    void* operator[](int iIndex) const;

protected:
    bool Grow();

    void** m_ppVoid;
    int m_nCount;
    int m_nAllocated;
};

} // namespace SkinLib
