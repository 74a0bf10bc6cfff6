#pragma once
#include <windows.h>
#include <memory>

namespace SkinLib {

// An open skin archive as callers hold it; what lies behind it is the reader's business.
DECLARE_HANDLE(HSKINZIP);

// Result codes of every archive operation; the most recent one is also kept process-wide.
enum SKIN_ZIP_RESULT : DWORD
{
    SKINZIP_OK = 0x00000000,
    SKINZIP_DUPHANDLE = 0x00000100,
    SKINZIP_NOFILE = 0x00000200,
    SKINZIP_NOALLOC = 0x00000300,
    SKINZIP_WRITE = 0x00000400,
    SKINZIP_NOTFOUND = 0x00000500,
    SKINZIP_MORE = 0x00000600,
    SKINZIP_CORRUPT = 0x00000700,
    SKINZIP_READ = 0x00000800,
    SKINZIP_ARGS = 0x00010000,
    SKINZIP_NOTMMAP = 0x00020000,
    SKINZIP_MEMSIZE = 0x00030000,
    SKINZIP_FAILED = 0x00040000,
    SKINZIP_ENDED = 0x00050000,
    SKINZIP_MISSIZE = 0x00060000,
    SKINZIP_PARTIALUNZ = 0x00070000,
    SKINZIP_ZMODE = 0x00080000,
    SKINZIP_NOTINITED = 0x01000000,
    SKINZIP_SEEK = 0x02000000,
    SKINZIP_NOCHANGE = 0x04000000,
    SKINZIP_FLATE = 0x05000000,
    // Not a result: asks ResourceZipResultText for the text of the last result.
    SKINZIP_LASTRESULT = 0x00000001,
};

// What an archive is opened from, and what a member is unzipped into.
enum SKIN_ZIP_KIND : DWORD
{
    SKINZIP_HANDLE = 1,    // a Win32 file HANDLE
    SKINZIP_FILENAME = 2,  // a UTF-16 path
    SKINZIP_MEMORY = 3,    // a block of memory of the given length
};

struct ZipItemInfo
{
    int nIndex;                   // -1 when not found
    wchar_t szName[MAX_PATH];
    DWORD dwAttributes;           // FILE_ATTRIBUTE_* bits
    FILETIME ftAccess;
    FILETIME ftCreation;
    FILETIME ftModification;
    unsigned int nCompressedSize;
    unsigned int nUncompressedSize;
};

// kind SKINZIP_HANDLE duplicates the handle (the caller keeps its own); SKINZIP_MEMORY borrows the
// block, which must outlive the archive handle. Returns null on failure.
HSKINZIP ResourceZipOpen(const void* pSource, unsigned int nLength, DWORD dwKind);
// pIndex and pInfo may be null.
DWORD ResourceZipFindItem(HSKINZIP hZip, const wchar_t* pstrName, bool bIgnoreCase, int* pIndex, ZipItemInfo* pInfo);
// Index -1 describes the archive itself: nIndex holds its number of members.
DWORD ResourceZipGetItem(HSKINZIP hZip, int nIndex, ZipItemInfo* pInfo);
// Into memory, SKINZIP_MORE says bytes were delivered and the member stays open, so the next call
// with the same index continues; SKINZIP_OK comes once nothing is left.
DWORD ResourceZipUnzipItem(HSKINZIP hZip, int nIndex, void* pTarget, unsigned int nLength, DWORD dwKind);
DWORD ResourceZipClose(HSKINZIP hZip);
// Unzips the member found by name (ignoring case) whole into a new buffer; pSize receives the
// member's size once it is found. Archive sizes are untrusted, so an empty member or one above
// nMaxSize gives SKINZIP_MEMSIZE before anything is allocated; any failure to find the member
// gives SKINZIP_NOTFOUND.
DWORD ResourceZipReadItem(HSKINZIP hZip, const wchar_t* pstrName, unsigned int nMaxSize,
                          std::unique_ptr<BYTE[]>& pBytes, unsigned int* pSize);
// Copies the code's text cut to nSize - 1 characters; returns the full text's length.
unsigned int ResourceZipResultText(DWORD dwResult, char* pBuffer, unsigned int nSize);

} // namespace SkinLib
