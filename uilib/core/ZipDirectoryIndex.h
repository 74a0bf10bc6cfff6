#pragma once
#include <windows.h>
#include <memory>
#include "unzip.h"

namespace SkinLib {

// The member names of one open archive, read from its central directory once, so that finding
// a member by name is a hash look-up instead of a walk over the whole directory. The directory
// is read as far as the look-ups need: a look-up that the entries read so far cannot answer
// reads on, one entry at a time, exactly as the unzip layer's own search walks it (each name as
// that search reads it, at most 256 bytes up to a zero byte; stopping at the first entry it
// cannot read), so a look-up finds what that search found: the first match in directory order.
class ZipDirectoryIndex
{
public:
    ZipDirectoryIndex();
    ZipDirectoryIndex(const ZipDirectoryIndex&) = delete;
    ZipDirectoryIndex& operator=(const ZipDirectoryIndex&) = delete;

    // nFound is the first entry whose name equals pstrName, ignoring the case of a-z only when
    // asked, or -1. Reading on moves the archive's current entry: to the match when there is
    // one. False when memory for the index runs out; the look-up is then left unanswered.
    bool Find(unzFile hUnzip, const char* pstrName, bool bIgnoreCase, int& nFound);
    // Where the directory holds an entry read so far, for going straight to it.
    bool GetPosition(int nIndex, unz64_file_pos& position) const;

private:
    struct Entry
    {
        unz64_file_pos position;
        size_t nNameOffset;
        unsigned int nNameLength;
        unsigned int nHash;
        int nNext;  // the previous entry in the same bucket; -1 ends the chain
    };

    int FindRead(const char* pstrName, unsigned int nLength, unsigned int nHash, bool bIgnoreCase) const;
    int GoToNextUnread(unzFile hUnzip) const;
    bool AddEntry(const unz64_file_pos& position, const char* pstrName, unsigned int nLength);
    bool GrowBuckets();

    std::unique_ptr<Entry[]> m_pEntries;
    int m_nEntries;
    size_t m_nEntriesAllocated;
    std::unique_ptr<char[]> m_pNames;
    size_t m_nNames;
    size_t m_nNamesAllocated;
    std::unique_ptr<int[]> m_pBuckets;
    unsigned int m_nBuckets;
    bool m_bEnded;  // the walk has met the end of the directory or an entry it cannot read
};

} // namespace SkinLib
