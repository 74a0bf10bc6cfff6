#pragma once
#include <windows.h>
#include "unzip.h"
#include "core/ResourceZip.h"
#include "core/ZipDirectoryIndex.h"
#include "core/ZipSource.h"

namespace SkinLib {

// One open archive. Results are SKIN_ZIP_RESULT codes. At most one member is open for reading
// at a time, and it stays open between unzip calls so a member can be read in pieces.
class ZipReader
{
public:
    ZipReader();
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    DWORD Open(const void* pSource, unsigned int nLength, DWORD dwKind);
    DWORD FindItem(const wchar_t* pstrName, bool bIgnoreCase, int* pIndex, ZipItemInfo* pInfo);
    DWORD GetItem(int nIndex, ZipItemInfo* pInfo);
    DWORD UnzipItem(int nIndex, void* pTarget, unsigned int nLength, DWORD dwKind);

private:
    int GetEntryCount() const;
    DWORD GoToEntry(int nIndex);
    int FindEntry(const char* pstrName, bool bIgnoreCase);
    DWORD OpenMember(int nIndex);
    void CloseMember();
    DWORD ReadMember(BYTE* pBuffer, unsigned int nLength, unsigned int& nRead);
    DWORD UnzipToMemory(int nIndex, BYTE* pBuffer, unsigned int nLength);
    DWORD UnzipToFile(int nIndex, void* pTarget, DWORD dwKind);
    bool MakeTargetPath(const wchar_t* pstrTarget, wchar_t* pstrPath) const;
    void CreateFolders(wchar_t* pstrPath, bool bWhole) const;

    unzFile m_hUnzip;
    int m_nOpenIndex;
    int m_nCachedIndex;
    ZipItemInfo m_cachedInfo;
    wchar_t m_szBaseFolder[MAX_PATH];
    ZipSource m_source;
    ZipDirectoryIndex m_index;
    // What the open member promises, checked once its last byte has been delivered.
    ULONGLONG m_nMemberSize;
    DWORD m_dwMemberCrc;
    ULONGLONG m_nDelivered;
    DWORD m_dwDeliveredCrc;
};

} // namespace SkinLib
