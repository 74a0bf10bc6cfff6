#include "core/ResourceZip.h"
#include "core/ZipReader.h"
#include <new>

namespace SkinLib {

namespace {

const DWORD kTagUnzipping = 1;

struct ZipHandleRecord
{
    DWORD dwTag = kTagUnzipping;
    ZipReader reader;
};

struct ResultText
{
    DWORD dwResult;
    const char* pstrText;
};

const ResultText kResultTexts[] = {
    { SKINZIP_OK, "Success" },
    { SKINZIP_DUPHANDLE, "Culdn't duplicate handle" },
    { SKINZIP_NOFILE, "Couldn't create/open file" },
    { SKINZIP_NOALLOC, "Failed to allocate memory" },
    { SKINZIP_WRITE, "Error writing to file" },
    { SKINZIP_NOTFOUND, "File not found in the zipfile" },
    { SKINZIP_MORE, "Still more data to unzip" },
    { SKINZIP_CORRUPT, "Zipfile is corrupt or not a zipfile" },
    { SKINZIP_READ, "Error reading file" },
    { SKINZIP_ARGS, "Caller: faulty arguments" },
    { SKINZIP_NOTMMAP, "Caller: can only get memory of a memory zipfile" },
    { SKINZIP_MEMSIZE, "Caller: not enough space allocated for memory zipfile" },
    { SKINZIP_FAILED, "Caller: there was a previous error" },
    { SKINZIP_ENDED, "Caller: additions to the zip have already been ended" },
    { SKINZIP_MISSIZE, "Zip-bug: the anticipated size turned out wrong" },
    { SKINZIP_PARTIALUNZ, "Caller: the file had already been partially unzipped" },
    { SKINZIP_ZMODE, "Caller: mixing creation and opening of zip" },
    { SKINZIP_NOTINITED, "Zip-bug: internal initialisation not completed" },
    { SKINZIP_SEEK, "Zip-bug: trying to seek the unseekable" },
    { SKINZIP_NOCHANGE, "Zip-bug: tried to change mind, but not allowed" },
    { SKINZIP_FLATE, "Zip-bug: an internal error during flation" },
};

DWORD s_dwLastResult = SKINZIP_OK;

DWORD Remember(DWORD dwResult)
{
    s_dwLastResult = dwResult;
    return dwResult;
}

// Null and foreign handles are answered with a code rather than dereferenced further.
DWORD GetReader(HSKINZIP hZip, ZipReader** ppReader)
{
    if (hZip == NULL) return SKINZIP_ARGS;
    ZipHandleRecord* pRecord = reinterpret_cast<ZipHandleRecord*>(hZip);
    if (pRecord->dwTag != kTagUnzipping) return SKINZIP_ZMODE;
    *ppReader = &pRecord->reader;
    return SKINZIP_OK;
}

} // namespace

HSKINZIP ResourceZipOpen(const void* pSource, unsigned int nLength, DWORD dwKind)
{
    ZipHandleRecord* pRecord = new (std::nothrow) ZipHandleRecord;
    if (pRecord == NULL) {
        Remember(SKINZIP_NOALLOC);
        return NULL;
    }
    if (Remember(pRecord->reader.Open(pSource, nLength, dwKind)) != SKINZIP_OK) {
        delete pRecord;
        return NULL;
    }
    return reinterpret_cast<HSKINZIP>(pRecord);
}

DWORD ResourceZipFindItem(HSKINZIP hZip, const wchar_t* pstrName, bool bIgnoreCase, int* pIndex, ZipItemInfo* pInfo)
{
    ZipReader* pReader = NULL;
    DWORD dwResult = GetReader(hZip, &pReader);
    if (dwResult != SKINZIP_OK) return Remember(dwResult);
    return Remember(pReader->FindItem(pstrName, bIgnoreCase, pIndex, pInfo));
}

DWORD ResourceZipGetItem(HSKINZIP hZip, int nIndex, ZipItemInfo* pInfo)
{
    ZipReader* pReader = NULL;
    DWORD dwResult = GetReader(hZip, &pReader);
    if (dwResult != SKINZIP_OK) return Remember(dwResult);
    return Remember(pReader->GetItem(nIndex, pInfo));
}

DWORD ResourceZipUnzipItem(HSKINZIP hZip, int nIndex, void* pTarget, unsigned int nLength, DWORD dwKind)
{
    ZipReader* pReader = NULL;
    DWORD dwResult = GetReader(hZip, &pReader);
    if (dwResult != SKINZIP_OK) return Remember(dwResult);
    return Remember(pReader->UnzipItem(nIndex, pTarget, nLength, dwKind));
}

DWORD ResourceZipReadItem(HSKINZIP hZip, const wchar_t* pstrName, unsigned int nMaxSize,
                          std::unique_ptr<BYTE[]>& pBytes, unsigned int* pSize)
{
    *pSize = 0;
    ZipItemInfo item;
    if (ResourceZipFindItem(hZip, pstrName, true, NULL, &item) != SKINZIP_OK) return Remember(SKINZIP_NOTFOUND);
    *pSize = item.nUncompressedSize;
    if (item.nUncompressedSize == 0 || item.nUncompressedSize > nMaxSize) return Remember(SKINZIP_MEMSIZE);
    pBytes.reset(new (std::nothrow) BYTE[item.nUncompressedSize]);
    if (pBytes == nullptr) return Remember(SKINZIP_NOALLOC);
    DWORD dwResult = ResourceZipUnzipItem(hZip, item.nIndex, pBytes.get(), item.nUncompressedSize, SKINZIP_MEMORY);
    // Still more data to unzip, after the member's full size: every byte asked for is there.
    if (dwResult == SKINZIP_MORE) dwResult = SKINZIP_OK;
    if (dwResult != SKINZIP_OK) pBytes.reset();
    return Remember(dwResult);
}

DWORD ResourceZipClose(HSKINZIP hZip)
{
    ZipReader* pReader = NULL;
    DWORD dwResult = GetReader(hZip, &pReader);
    if (dwResult != SKINZIP_OK) return Remember(dwResult);
    delete reinterpret_cast<ZipHandleRecord*>(hZip);
    return Remember(SKINZIP_OK);
}

unsigned int ResourceZipResultText(DWORD dwResult, char* pBuffer, unsigned int nSize)
{
    if (dwResult == SKINZIP_LASTRESULT) dwResult = s_dwLastResult;
    const char* pstrText = "unknown zip result code";
    for (const ResultText& entry : kResultTexts) {
        if (entry.dwResult == dwResult) pstrText = entry.pstrText;
    }
    unsigned int nLength = unsigned(::lstrlenA(pstrText));
    if (pBuffer != NULL && nSize > 0) {
        unsigned int nCopy = nLength < nSize - 1 ? nLength : nSize - 1;
        ::CopyMemory(pBuffer, pstrText, nCopy);
        pBuffer[nCopy] = '\0';
    }
    return nLength;
}

} // namespace SkinLib
