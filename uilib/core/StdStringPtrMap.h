#pragma once

namespace SkinLib {

struct StringPtrMapItem;

// A hash map from wide texts to untyped pointers. The map owns its items and
// their keys, never the data.
class CStdStringPtrMap
{
public:
    explicit CStdStringPtrMap(int nSize = 83);
    CStdStringPtrMap(const CStdStringPtrMap&) = delete;
    CStdStringPtrMap& operator=(const CStdStringPtrMap&) = delete;
    ~CStdStringPtrMap();

    void Resize(int nSize);
    // A hit may be moved to the head of its chain, which changes the
    // iteration order of GetAt but not the map's contents.
    void* Find(const wchar_t* key, bool optimize = true) const;
    bool Insert(const wchar_t* key, void* pData);
    void* Set(const wchar_t* key, void* pData);
    bool Remove(const wchar_t* key);
    void RemoveAll();
    int GetSize() const;
    const wchar_t* GetAt(int iIndex) const;
    const wchar_t* operator[](int iIndex) const;

protected:
    StringPtrMapItem** BucketOf(const wchar_t* key) const;
    StringPtrMapItem* FindItem(const wchar_t* key, bool optimize) const;
    void FreeItems();

    StringPtrMapItem** m_aT;
    int m_nBuckets;
    int m_nCount;
};

} // namespace SkinLib
