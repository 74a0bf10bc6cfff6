#include "core/ZipDirectoryIndex.h"
#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace SkinLib {

namespace {

// What the unzip layer's search reads of each name; a name it is asked for must be shorter.
const unsigned int kNameBytesLimit = 256;
const unsigned int kFirstBuckets = 64;

// The search folds a-z only, with no locale.
char FoldAscii(char ch)
{
    return ch >= 'a' && ch <= 'z' ? char(ch - 0x20) : ch;
}

// FNV-1a over the folded name: names equal with or without case land in one bucket.
unsigned int HashName(const char* pstrName, size_t nLength)
{
    unsigned int nHash = 2166136261u;
    for (size_t i = 0; i < nLength; ++i) nHash = (nHash ^ BYTE(FoldAscii(pstrName[i]))) * 16777619u;
    return nHash;
}

bool NamesEqual(const char* pstrA, const char* pstrB, size_t nLength, bool bIgnoreCase)
{
    if (!bIgnoreCase) return nLength == 0 || std::memcmp(pstrA, pstrB, nLength) == 0;
    for (size_t i = 0; i < nLength; ++i) {
        if (FoldAscii(pstrA[i]) != FoldAscii(pstrB[i])) return false;
    }
    return true;
}

// Grows an array of trivially copyable values to hold at least nNeeded, doubling as it goes.
template <class T> bool Grow(std::unique_ptr<T[]>& pArray, size_t nUsed, size_t& nAllocated, size_t nNeeded)
{
    if (nNeeded <= nAllocated) return true;
    size_t nGrown = std::max(nNeeded, std::max<size_t>(nAllocated * 2, 64));
    T* pGrown = new (std::nothrow) T[nGrown];
    if (pGrown == NULL) return false;
    if (nUsed > 0) std::memcpy(pGrown, pArray.get(), nUsed * sizeof(T));
    pArray.reset(pGrown);
    nAllocated = nGrown;
    return true;
}

} // namespace

ZipDirectoryIndex::ZipDirectoryIndex()
    : m_nEntries(0), m_nEntriesAllocated(0), m_nNames(0), m_nNamesAllocated(0), m_nBuckets(0), m_bEnded(false)
{
}

bool ZipDirectoryIndex::Find(unzFile hUnzip, const char* pstrName, bool bIgnoreCase, int& nFound)
{
    nFound = -1;
    size_t nLength = std::strlen(pstrName);
    if (nLength >= kNameBytesLimit) return true;
    unsigned int nHash = HashName(pstrName, nLength);
    nFound = FindRead(pstrName, unsigned(nLength), nHash, bIgnoreCase);
    if (nFound >= 0 || m_bEnded) return true;

    for (int nResult = GoToNextUnread(hUnzip); nResult == UNZ_OK; nResult = unzGoToNextFile(hUnzip)) {
        char szName[kNameBytesLimit + 1];
        unz64_file_pos position;
        if (unzGetCurrentFileInfo64(hUnzip, NULL, szName, kNameBytesLimit, NULL, 0, NULL, 0) != UNZ_OK ||
            unzGetFilePos64(hUnzip, &position) != UNZ_OK)
            break;
        // A name of the full 256 bytes is not terminated by the unzip layer.
        unsigned int nNameLength = unsigned(strnlen(szName, kNameBytesLimit));
        if (!AddEntry(position, szName, nNameLength)) return false;
        if (nNameLength == nLength && NamesEqual(szName, pstrName, nLength, bIgnoreCase)) {
            nFound = m_nEntries - 1;
            return true;
        }
    }
    m_bEnded = true;
    return true;
}

bool ZipDirectoryIndex::GetPosition(int nIndex, unz64_file_pos& position) const
{
    if (nIndex < 0 || nIndex >= m_nEntries) return false;
    position = m_pEntries[nIndex].position;
    return true;
}

// A chain lists its entries from the last read back, so the first match in directory order is
// the last one met.
int ZipDirectoryIndex::FindRead(const char* pstrName, unsigned int nLength, unsigned int nHash, bool bIgnoreCase) const
{
    int nFound = -1;
    if (m_nBuckets == 0) return nFound;
    for (int i = m_pBuckets[nHash & (m_nBuckets - 1)]; i >= 0; i = m_pEntries[i].nNext) {
        const Entry& entry = m_pEntries[i];
        if (entry.nHash == nHash && entry.nNameLength == nLength &&
            NamesEqual(m_pNames.get() + entry.nNameOffset, pstrName, nLength, bIgnoreCase))
            nFound = i;
    }
    return nFound;
}

// Makes the first entry not read yet the current one. The archive's current entry may have
// moved since the last look-up; it usually still stands on the last entry read.
int ZipDirectoryIndex::GoToNextUnread(unzFile hUnzip) const
{
    if (m_nEntries == 0) return unzGoToFirstFile(hUnzip);
    const unz64_file_pos& last = m_pEntries[m_nEntries - 1].position;
    unz64_file_pos position;
    if (unzGetFilePos64(hUnzip, &position) != UNZ_OK || position.num_of_file != last.num_of_file) {
        int nResult = unzGoToFilePos64(hUnzip, &last);
        if (nResult != UNZ_OK) return nResult;
    }
    return unzGoToNextFile(hUnzip);
}

bool ZipDirectoryIndex::AddEntry(const unz64_file_pos& position, const char* pstrName, unsigned int nLength)
{
    if (m_nEntries == INT_MAX) return false;
    if (!Grow(m_pEntries, size_t(m_nEntries), m_nEntriesAllocated, size_t(m_nEntries) + 1) ||
        !Grow(m_pNames, m_nNames, m_nNamesAllocated, m_nNames + nLength))
        return false;
    if (unsigned(m_nEntries) >= m_nBuckets / 2 && !GrowBuckets()) return false;
    if (nLength > 0) std::memcpy(m_pNames.get() + m_nNames, pstrName, nLength);
    Entry& entry = m_pEntries[m_nEntries];
    entry = Entry{ position, m_nNames, nLength, HashName(pstrName, nLength), -1 };
    int& nHead = m_pBuckets[entry.nHash & (m_nBuckets - 1)];
    entry.nNext = nHead;
    nHead = m_nEntries++;
    m_nNames += nLength;
    return true;
}

// At most half the buckets are used; growing them puts every entry read so far into its new
// chain, in directory order.
bool ZipDirectoryIndex::GrowBuckets()
{
    if (m_nBuckets > 0x40000000u) return true;
    unsigned int nBuckets = m_nBuckets == 0 ? kFirstBuckets : m_nBuckets * 2;
    int* pBuckets = new (std::nothrow) int[nBuckets];
    if (pBuckets == NULL) return false;
    std::fill(pBuckets, pBuckets + nBuckets, -1);
    for (int i = 0; i < m_nEntries; ++i) {
        int& nHead = pBuckets[m_pEntries[i].nHash & (nBuckets - 1)];
        m_pEntries[i].nNext = nHead;
        nHead = i;
    }
    m_pBuckets.reset(pBuckets);
    m_nBuckets = nBuckets;
    return true;
}

} // namespace SkinLib
