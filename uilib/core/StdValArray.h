#pragma once

namespace SkinLib {

// A growable array of fixed-size values, copied in and out byte for byte.
class CStdValArray
{
public:
    CStdValArray(int iElementSize, int iPreallocSize);
    CStdValArray(const CStdValArray&) = delete;
    CStdValArray& operator=(const CStdValArray&) = delete;
    ~CStdValArray();

    void Empty();
    bool IsEmpty() const;
    bool Add(const void* pData);
    bool Remove(int iIndex);
    int GetSize() const;
    void* GetData();
    const void* GetData() const;

    void* GetAt(int iIndex) const;
    void* operator[](int iIndex) const;

protected:
    unsigned char* m_pVoid;
    int m_iElementSize;
    int m_nCount;
    int m_nAllocated;
};

} // namespace SkinLib
