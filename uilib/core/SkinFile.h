#pragma once

#include <windows.h>

#include <memory>

#include "core/StringOrId.h"

namespace SkinLib {

// Why a skin file could not be read.
enum SKIN_FILE_RESULT
{
    SKINFILE_OK = 0,
    SKINFILE_OPEN_FAILED,     // no such file on disk, or it cannot be opened
    SKINFILE_EMPTY,
    SKINFILE_TOO_LARGE,       // above the reader's limit
    SKINFILE_READ_FAILED,     // a short read from disk
    SKINFILE_NO_ARCHIVE,      // the skin archive cannot be opened
    SKINFILE_NOT_IN_ARCHIVE,
    SKINFILE_UNZIP_FAILED,
    SKINFILE_NO_MEMORY,
    SKINFILE_NO_RESOURCE,     // no such module resource, or it cannot be loaded
};

// The bytes of one skin file, from wherever the process's skins come from: the
// resource folder on disk, the skin archive (kept open for the process, or
// opened by name beside the resource folder for this read), or a resource of
// the resource module. Sizes in files, archives and resources are untrusted:
// every read names the largest size its reader accepts.
class CSkinFile
{
public:
    CSkinFile();
    CSkinFile(const CSkinFile&) = delete;
    CSkinFile& operator=(const CSkinFile&) = delete;

    // A skin file by name: a member of the skin archive when the process has
    // one, else a file under the resource folder.
    SKIN_FILE_RESULT Read(const wchar_t* pstrName, DWORD dwMaxSize);
    // A file on disk by its own path.
    SKIN_FILE_RESULT ReadFromDisk(const wchar_t* pstrPath, DWORD dwMaxSize);
    // A typed resource of CPaintManagerUI::GetResourceDll(). Its bytes stay in
    // the module and are not copied.
    SKIN_FILE_RESULT ReadResource(STRINGorID name, const wchar_t* pstrType, DWORD dwMaxSize = MAXDWORD);

    const BYTE* GetData() const;
    DWORD GetSize() const;

private:
    SKIN_FILE_RESULT ReadFromArchive(const wchar_t* pstrName, DWORD dwMaxSize);
    SKIN_FILE_RESULT Own(std::unique_ptr<BYTE[]> pBytes, DWORD dwSize);
    void Clear();

    std::unique_ptr<BYTE[]> m_pOwned;
    const BYTE* m_pData;
    DWORD m_dwSize;
};

} // namespace SkinLib
