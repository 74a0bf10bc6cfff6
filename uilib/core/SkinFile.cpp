#include "core/SkinFile.h"

#include <new>

#include "core/PaintManagerUI.h"
#include "core/ResourceZip.h"

namespace SkinLib {

CSkinFile::CSkinFile() : m_pData(NULL), m_dwSize(0)
{
}

const BYTE* CSkinFile::GetData() const
{
    return m_pData;
}

DWORD CSkinFile::GetSize() const
{
    return m_dwSize;
}

void CSkinFile::Clear()
{
    m_pOwned.reset();
    m_pData = NULL;
    m_dwSize = 0;
}

SKIN_FILE_RESULT CSkinFile::Own(std::unique_ptr<BYTE[]> pBytes, DWORD dwSize)
{
    m_pOwned = std::move(pBytes);
    m_pData = m_pOwned.get();
    m_dwSize = dwSize;
    return SKINFILE_OK;
}

SKIN_FILE_RESULT CSkinFile::Read(const wchar_t* pstrName, DWORD dwMaxSize)
{
    Clear();
    if (pstrName == NULL) return SKINFILE_OPEN_FAILED;
    if (!CPaintManagerUI::GetResourceZip().IsEmpty()) return ReadFromArchive(pstrName, dwMaxSize);
    return ReadFromDisk(CPaintManagerUI::GetResourcePath() + pstrName, dwMaxSize);
}

SKIN_FILE_RESULT CSkinFile::ReadFromDisk(const wchar_t* pstrPath, DWORD dwMaxSize)
{
    Clear();
    if (pstrPath == NULL) return SKINFILE_OPEN_FAILED;
    HANDLE hFile = ::CreateFileW(pstrPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 NULL);
    if (hFile == INVALID_HANDLE_VALUE) return SKINFILE_OPEN_FAILED;
    LARGE_INTEGER size = {};
    const bool bSized = ::GetFileSizeEx(hFile, &size) != FALSE;
    std::unique_ptr<BYTE[]> pBytes;
    DWORD dwRead = 0;
    SKIN_FILE_RESULT result = SKINFILE_OK;
    if (!bSized) result = SKINFILE_READ_FAILED;
    else if (size.QuadPart == 0) result = SKINFILE_EMPTY;
    else if (size.QuadPart > static_cast<LONGLONG>(dwMaxSize)) result = SKINFILE_TOO_LARGE;
    else {
        pBytes.reset(new (std::nothrow) BYTE[static_cast<size_t>(size.QuadPart)]);
        if (pBytes == nullptr) result = SKINFILE_NO_MEMORY;
        else if (!::ReadFile(hFile, pBytes.get(), static_cast<DWORD>(size.QuadPart), &dwRead, NULL) ||
                 dwRead != static_cast<DWORD>(size.QuadPart)) {
            result = SKINFILE_READ_FAILED;
        }
    }
    ::CloseHandle(hFile);
    return result == SKINFILE_OK ? Own(std::move(pBytes), dwRead) : result;
}

// The archive kept open for the process, or the one named beside the resource
// folder, opened for this read only.
SKIN_FILE_RESULT CSkinFile::ReadFromArchive(const wchar_t* pstrName, DWORD dwMaxSize)
{
    HSKINZIP hZip = NULL;
    const bool bCached = CPaintManagerUI::IsCachedResourceZip();
    if (bCached) {
        hZip = CPaintManagerUI::GetResourceZipHandle();
    }
    else {
        const CSkinString sZipPath = CPaintManagerUI::GetResourcePath() + CPaintManagerUI::GetResourceZip();
        hZip = ResourceZipOpen(sZipPath.GetData(), 0, SKINZIP_FILENAME);
    }
    if (hZip == NULL) return SKINFILE_NO_ARCHIVE;
    std::unique_ptr<BYTE[]> pBytes;
    unsigned int nSize = 0;
    const DWORD dwResult = ResourceZipReadItem(hZip, pstrName, dwMaxSize, pBytes, &nSize);
    if (!bCached) ResourceZipClose(hZip);
    switch (dwResult) {
    case SKINZIP_OK: return Own(std::move(pBytes), nSize);
    case SKINZIP_NOTFOUND: return SKINFILE_NOT_IN_ARCHIVE;
    case SKINZIP_MEMSIZE: return nSize == 0 ? SKINFILE_EMPTY : SKINFILE_TOO_LARGE;
    case SKINZIP_NOALLOC: return SKINFILE_NO_MEMORY;
    default: return SKINFILE_UNZIP_FAILED;
    }
}

SKIN_FILE_RESULT CSkinFile::ReadResource(STRINGorID name, const wchar_t* pstrType, DWORD dwMaxSize)
{
    Clear();
    // Resources are found by type: without one there is nothing to look for.
    if (pstrType == NULL) return SKINFILE_NO_RESOURCE;
    HINSTANCE hModule = CPaintManagerUI::GetResourceDll();
    HRSRC hResource = ::FindResourceW(hModule, name.m_lpszNameOrId, pstrType);
    if (hResource == NULL) return SKINFILE_NO_RESOURCE;
    HGLOBAL hGlobal = ::LoadResource(hModule, hResource);
    const BYTE* pData = hGlobal != NULL ? static_cast<const BYTE*>(::LockResource(hGlobal)) : NULL;
    if (pData == NULL) return SKINFILE_NO_RESOURCE;
    const DWORD dwSize = ::SizeofResource(hModule, hResource);
    if (dwSize == 0) return SKINFILE_EMPTY;
    if (dwSize > dwMaxSize) return SKINFILE_TOO_LARGE;
    m_pData = pData;
    m_dwSize = dwSize;
    return SKINFILE_OK;
}

} // namespace SkinLib
