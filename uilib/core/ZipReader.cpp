// ZipReader, one open skin archive over the unzip layer:
//   - little-endian fields, times and attributes of the central directory
//   - archive names: UTF-16 to the ANSI code page, backslashes to "/"
//   - opening, the entries and finding one by name
//   - an entry's description
//   - reading the current member, unzipping to memory or to files
#include "core/ZipReader.h"
#include <zlib.h>
#include <algorithm>
#include <vector>

namespace SkinLib {

namespace {

const int kCaseSensitive = 1;
const int kFoldAsciiLetters = 2;
const unsigned int kNameUnitsLimit = 256;
const unsigned int kReadChunkLimit = 1u << 30;
const unsigned int kFileChunk = 16384;
const WORD kExtendedTimestampId = 0x5455;  // "UT"
const ULONGLONG kFileTimeAtUnixEpoch = 116444736000000000ULL;
const ULONGLONG kFileTimeTicksPerSecond = 10000000ULL;

WORD ReadLittle16(const BYTE* p)
{
    return WORD(p[0] | (p[1] << 8));
}

DWORD ReadLittle32(const BYTE* p)
{
    return DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | (DWORD(p[3]) << 24);
}

FILETIME UnixTimeToFileTime(LONG nSeconds)
{
    ULONGLONG nTicks = ULONGLONG(LONGLONG(nSeconds) * LONGLONG(kFileTimeTicksPerSecond) + LONGLONG(kFileTimeAtUnixEpoch));
    FILETIME ft;
    ft.dwLowDateTime = DWORD(nTicks);
    ft.dwHighDateTime = DWORD(nTicks >> 32);
    return ft;
}

// Info-ZIP's extended timestamp: a flag byte, then one 32-bit time per flag bit that is set.
// Every read stays inside its block and the block inside the field; a torn block is ignored.
void ApplyExtendedTimestamp(const BYTE* pField, size_t nField, ZipItemInfo& info)
{
    size_t nPos = 0;
    while (nField - nPos >= 4) {
        WORD wId = ReadLittle16(pField + nPos);
        size_t nSize = ReadLittle16(pField + nPos + 2);
        nPos += 4;
        if (nSize > nField - nPos) return;
        if (wId == kExtendedTimestampId && nSize >= 1) {
            const BYTE* pBlock = pField + nPos;
            FILETIME* aTargets[3] = { &info.ftModification, &info.ftAccess, &info.ftCreation };
            size_t nAt = 1;
            for (int i = 0; i < 3; ++i) {
                if (!(pBlock[0] & (1 << i))) continue;
                if (nSize - nAt < 4) return;
                *aTargets[i] = UnixTimeToFileTime(LONG(ReadLittle32(pBlock + nAt)));
                nAt += 4;
            }
            return;
        }
        nPos += nSize;
    }
}

DWORD AttributesFromExternal(DWORD dwExternal)
{
    DWORD dwAttributes = FILE_ATTRIBUTE_NORMAL;
    if ((dwExternal & 0x10) || (dwExternal & 0x40000000)) dwAttributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (dwExternal & 0x20) dwAttributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (dwExternal & 0x02) dwAttributes |= FILE_ATTRIBUTE_HIDDEN;
    if (dwExternal & 0x04) dwAttributes |= FILE_ATTRIBUTE_SYSTEM;
    if ((dwExternal & 0x01) || !(dwExternal & 0x00800000)) dwAttributes |= FILE_ATTRIBUTE_READONLY;
    return dwAttributes;
}

unsigned int ClampSize(ZPOS64_T nSize)
{
    return nSize > 0xFFFFFFFFULL ? 0xFFFFFFFFu : static_cast<unsigned int>(nSize);
}

// Archive names are ANSI with "/" separators. A name the code page cannot hold exactly is not
// looked up at all: a replacement character could otherwise match some other member.
bool ToArchiveName(const wchar_t* pstrName, char* pstrArchiveName, int nArchiveSize)
{
    size_t nLength = ::lstrlenW(pstrName);
    if (nLength >= kNameUnitsLimit) return false;
    wchar_t szName[kNameUnitsLimit];
    for (size_t i = 0; i <= nLength; ++i) szName[i] = pstrName[i] == L'\\' ? L'/' : pstrName[i];
    ::ZeroMemory(pstrArchiveName, nArchiveSize);
    BOOL bDefaultUsed = FALSE;
    int nConverted;
    if (::GetACP() == CP_UTF8) {
        nConverted = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, szName, -1, pstrArchiveName,
                                           nArchiveSize - 1, NULL, NULL);
    } else {
        nConverted = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, szName, -1, pstrArchiveName,
                                           nArchiveSize - 1, NULL, &bDefaultUsed);
    }
    return nConverted > 0 && !bDefaultUsed;
}

bool IsPathSeparator(wchar_t ch)
{
    return ch == L'\\' || ch == L'/';
}

} // namespace

ZipReader::ZipReader()
    : m_hUnzip(NULL), m_nOpenIndex(-1), m_nCachedIndex(-1), m_cachedInfo(), m_szBaseFolder(),
      m_nMemberSize(0), m_dwMemberCrc(0), m_nDelivered(0), m_dwDeliveredCrc(0)
{
}

// Closing the archive closes its source through the file-access table.
ZipReader::~ZipReader()
{
    if (m_hUnzip == NULL) return;
    CloseMember();
    unzClose(m_hUnzip);
}

DWORD ZipReader::Open(const void* pSource, unsigned int nLength, DWORD dwKind)
{
    DWORD nFolder = ::GetCurrentDirectoryW(MAX_PATH, m_szBaseFolder);
    // A folder too deep to hold with its separator leaves the base empty: relative targets then
    // resolve against whatever directory is current when they are written.
    if (nFolder == 0 || nFolder >= MAX_PATH - 1) {
        m_szBaseFolder[0] = L'\0';
    } else {
        m_szBaseFolder[nFolder] = L'\\';
        m_szBaseFolder[nFolder + 1] = L'\0';
    }

    DWORD dwResult = SKINZIP_OK;
    switch (dwKind) {
    case SKINZIP_HANDLE: {
        HANDLE hFile = const_cast<HANDLE>(pSource);
        if (::GetFileType(hFile) != FILE_TYPE_DISK) return SKINZIP_SEEK;
        dwResult = m_source.OpenHandle(hFile);
        break;
    }
    case SKINZIP_FILENAME:
        dwResult = m_source.OpenFile(static_cast<const wchar_t*>(pSource));
        break;
    case SKINZIP_MEMORY:
        if (pSource == NULL && nLength != 0) return SKINZIP_ARGS;
        m_source.OpenMemory(pSource, nLength);
        break;
    default:
        return SKINZIP_ARGS;
    }
    if (dwResult != SKINZIP_OK) return dwResult;

    zlib_filefunc64_def functions;
    m_source.FillFileFunctions(functions);
    m_hUnzip = unzOpen2_64(&m_source, &functions);
    return m_hUnzip != NULL ? SKINZIP_OK : SKINZIP_CORRUPT;
}

int ZipReader::GetEntryCount() const
{
    unz_global_info64 global;
    if (unzGetGlobalInfo64(m_hUnzip, &global) != UNZ_OK) return 0;
    return global.number_entry > 0x7FFFFFFF ? 0x7FFFFFFF : int(global.number_entry);
}

// Entries the index has read are reached in one step; the others by stepping through the
// directory, rewinding first when the entry lies behind the current one.
DWORD ZipReader::GoToEntry(int nIndex)
{
    unz64_file_pos position, known;
    bool bCurrent = unzGetFilePos64(m_hUnzip, &position) == UNZ_OK;
    if (bCurrent && position.num_of_file == ZPOS64_T(nIndex)) return SKINZIP_OK;
    if (m_index.GetPosition(nIndex, known))
        return unzGoToFilePos64(m_hUnzip, &known) == UNZ_OK ? SKINZIP_OK : SKINZIP_CORRUPT;
    if (!bCurrent || position.num_of_file > ZPOS64_T(nIndex)) {
        if (unzGoToFirstFile(m_hUnzip) != UNZ_OK) return SKINZIP_CORRUPT;
        position.num_of_file = 0;
    }
    for (ZPOS64_T i = position.num_of_file; i < ZPOS64_T(nIndex); ++i) {
        if (unzGoToNextFile(m_hUnzip) != UNZ_OK) return SKINZIP_CORRUPT;
    }
    return SKINZIP_OK;
}

// Should memory for the index run out, the unzip layer's own search finds the same entry: it
// too folds a-z only, with no locale.
int ZipReader::FindEntry(const char* pstrName, bool bIgnoreCase)
{
    int nFound;
    if (m_index.Find(m_hUnzip, pstrName, bIgnoreCase, nFound)) return nFound;
    // It refuses to search while no entry is current, as after a failed step into a damaged
    // entry; it starts from the first entry anyway.
    unz64_file_pos position;
    if (unzGetFilePos64(m_hUnzip, &position) != UNZ_OK) unzGoToFirstFile(m_hUnzip);
    if (unzLocateFile(m_hUnzip, pstrName, bIgnoreCase ? kFoldAsciiLetters : kCaseSensitive) != UNZ_OK ||
        unzGetFilePos64(m_hUnzip, &position) != UNZ_OK)
        return -1;
    return int(position.num_of_file);
}

DWORD ZipReader::FindItem(const wchar_t* pstrName, bool bIgnoreCase, int* pIndex, ZipItemInfo* pInfo)
{
    DWORD dwResult = SKINZIP_NOTFOUND;
    int nFound = -1;
    char szName[MAX_PATH];
    if (pstrName == NULL) {
        dwResult = SKINZIP_ARGS;
    } else if (ToArchiveName(pstrName, szName, sizeof(szName))) {
        nFound = FindEntry(szName, bIgnoreCase);
        if (nFound >= 0) {
            CloseMember();
            dwResult = SKINZIP_OK;
        }
    }
    if (pIndex != NULL) *pIndex = nFound;
    if (nFound < 0) {
        if (pInfo != NULL) {
            ::ZeroMemory(pInfo, sizeof(*pInfo));
            pInfo->nIndex = -1;
        }
        return dwResult;
    }
    return pInfo != NULL ? GetItem(nFound, pInfo) : SKINZIP_OK;
}

DWORD ZipReader::GetItem(int nIndex, ZipItemInfo* pInfo)
{
    int nCount = GetEntryCount();
    if (pInfo == NULL || nIndex < -1 || nIndex >= nCount) return SKINZIP_ARGS;
    CloseMember();
    if (nIndex == -1) {
        ::ZeroMemory(pInfo, sizeof(*pInfo));
        pInfo->nIndex = nCount;
        return SKINZIP_OK;
    }
    if (nIndex == m_nCachedIndex) {
        *pInfo = m_cachedInfo;
        return SKINZIP_OK;
    }
    DWORD dwResult = GoToEntry(nIndex);
    if (dwResult != SKINZIP_OK) return dwResult;

    unz_file_info64 file;
    char szName[MAX_PATH] = {};
    if (unzGetCurrentFileInfo64(m_hUnzip, &file, szName, sizeof(szName) - 1, NULL, 0, NULL, 0) != UNZ_OK)
        return SKINZIP_CORRUPT;
    // Opening raw checks the local header and gives access to the local extra field.
    if (unzOpenCurrentFile2(m_hUnzip, NULL, NULL, 1) != UNZ_OK) return SKINZIP_CORRUPT;
    int nExtra = unzGetLocalExtrafield(m_hUnzip, NULL, 0);
    std::vector<BYTE> extra(nExtra > 0 ? nExtra : 0);
    if (nExtra > 0) nExtra = unzGetLocalExtrafield(m_hUnzip, extra.data(), unsigned(extra.size()));
    unzCloseCurrentFile(m_hUnzip);
    if (nExtra < 0 || size_t(nExtra) != extra.size()) return SKINZIP_READ;

    ZipItemInfo info = {};
    info.nIndex = nIndex;
    ::MultiByteToWideChar(CP_ACP, 0, szName, -1, info.szName, MAX_PATH);
    info.dwAttributes = AttributesFromExternal(DWORD(file.external_fa));
    FILETIME ftDos = {};
    ::DosDateTimeToFileTime(HIWORD(file.dosDate), LOWORD(file.dosDate), &ftDos);
    info.ftAccess = info.ftCreation = info.ftModification = ftDos;
    ApplyExtendedTimestamp(extra.data(), extra.size(), info);
    info.nCompressedSize = ClampSize(file.compressed_size);
    info.nUncompressedSize = ClampSize(file.uncompressed_size);

    m_cachedInfo = info;
    m_nCachedIndex = nIndex;
    *pInfo = info;
    return SKINZIP_OK;
}

DWORD ZipReader::OpenMember(int nIndex)
{
    CloseMember();
    if (nIndex < 0 || nIndex >= GetEntryCount()) return SKINZIP_ARGS;
    DWORD dwResult = GoToEntry(nIndex);
    if (dwResult != SKINZIP_OK) return dwResult;
    unz_file_info64 file;
    if (unzGetCurrentFileInfo64(m_hUnzip, &file, NULL, 0, NULL, 0, NULL, 0) != UNZ_OK) return SKINZIP_CORRUPT;
    // Only stored and deflated members can be read; anything else (encrypted, bzip2, ...) would
    // come back as the raw bytes of the archive.
    if ((file.flag & 1) != 0 || (file.compression_method != 0 && file.compression_method != Z_DEFLATED))
        return SKINZIP_FLATE;
    if (unzOpenCurrentFile(m_hUnzip) != UNZ_OK) return SKINZIP_CORRUPT;
    m_nOpenIndex = nIndex;
    m_nMemberSize = file.uncompressed_size;
    m_dwMemberCrc = DWORD(file.crc);
    m_nDelivered = 0;
    m_dwDeliveredCrc = crc32_z(0, NULL, 0);
    return SKINZIP_OK;
}

void ZipReader::CloseMember()
{
    if (m_nOpenIndex < 0) return;
    unzCloseCurrentFile(m_hUnzip);
    m_nOpenIndex = -1;
}

// Delivers up to nLength bytes of the open member. Once the member is exhausted its length and
// CRC must match the central directory; a short or damaged member is an error, never a success
// with a stale tail.
DWORD ZipReader::ReadMember(BYTE* pBuffer, unsigned int nLength, unsigned int& nRead)
{
    nRead = 0;
    bool bEnded = false;
    while (nRead < nLength) {
        int nChunk = unzReadCurrentFile(m_hUnzip, pBuffer + nRead, std::min(nLength - nRead, kReadChunkLimit));
        if (nChunk < 0) return SKINZIP_FLATE;
        if (nChunk == 0) {
            bEnded = true;
            break;
        }
        nRead += unsigned(nChunk);
    }
    m_dwDeliveredCrc = DWORD(crc32_z(m_dwDeliveredCrc, pBuffer, nRead));
    m_nDelivered += nRead;
    if (bEnded || m_nDelivered == m_nMemberSize) {
        if (m_nDelivered != m_nMemberSize || m_dwDeliveredCrc != m_dwMemberCrc) return SKINZIP_CORRUPT;
    }
    return SKINZIP_OK;
}

DWORD ZipReader::UnzipItem(int nIndex, void* pTarget, unsigned int nLength, DWORD dwKind)
{
    switch (dwKind) {
    case SKINZIP_MEMORY:
        if (pTarget == NULL && nLength != 0) return SKINZIP_ARGS;
        return UnzipToMemory(nIndex, static_cast<BYTE*>(pTarget), nLength);
    case SKINZIP_FILENAME:
    case SKINZIP_HANDLE:
        if (pTarget == NULL) return SKINZIP_ARGS;
        return UnzipToFile(nIndex, pTarget, dwKind);
    default:
        return SKINZIP_ARGS;
    }
}

DWORD ZipReader::UnzipToMemory(int nIndex, BYTE* pBuffer, unsigned int nLength)
{
    // Index -1 also stands for "no member open"; it names no entry either way.
    if (nIndex < 0 || nIndex != m_nOpenIndex) {
        DWORD dwResult = OpenMember(nIndex);
        if (dwResult != SKINZIP_OK) return dwResult;
    }
    unsigned int nRead = 0;
    DWORD dwResult = ReadMember(pBuffer, nLength, nRead);
    if (dwResult != SKINZIP_OK) {
        CloseMember();
        return dwResult;
    }
    if (nRead > 0) return SKINZIP_MORE;
    CloseMember();
    return SKINZIP_OK;
}

// Targets are relative to the base folder; an absolute path or a ".." step could reach outside
// it, which an archive's member names must never do.
bool ZipReader::MakeTargetPath(const wchar_t* pstrTarget, wchar_t* pstrPath) const
{
    if (pstrTarget[0] == L'\0' || IsPathSeparator(pstrTarget[0]) || pstrTarget[1] == L':') return false;
    for (const wchar_t* p = pstrTarget; *p != L'\0';) {
        const wchar_t* pEnd = p;
        while (*pEnd != L'\0' && !IsPathSeparator(*pEnd)) ++pEnd;
        if (pEnd - p == 2 && p[0] == L'.' && p[1] == L'.') return false;
        p = *pEnd != L'\0' ? pEnd + 1 : pEnd;
    }
    size_t nBase = ::lstrlenW(m_szBaseFolder);
    size_t nTarget = ::lstrlenW(pstrTarget);
    if (nBase + nTarget >= MAX_PATH) return false;
    ::CopyMemory(pstrPath, m_szBaseFolder, nBase * sizeof(wchar_t));
    for (size_t i = 0; i <= nTarget; ++i) pstrPath[nBase + i] = pstrTarget[i] == L'/' ? L'\\' : pstrTarget[i];
    return true;
}

// Creates every folder of the path below the base folder; the last part too when bWhole.
void ZipReader::CreateFolders(wchar_t* pstrPath, bool bWhole) const
{
    size_t nLength = ::lstrlenW(pstrPath);
    for (size_t i = ::lstrlenW(m_szBaseFolder); i < nLength; ++i) {
        if (pstrPath[i] != L'\\' || i == 0) continue;
        pstrPath[i] = L'\0';
        ::CreateDirectoryW(pstrPath, NULL);
        pstrPath[i] = L'\\';
    }
    if (bWhole) ::CreateDirectoryW(pstrPath, NULL);
}

DWORD ZipReader::UnzipToFile(int nIndex, void* pTarget, DWORD dwKind)
{
    CloseMember();
    if (nIndex < 0 || nIndex >= GetEntryCount()) return SKINZIP_ARGS;
    ZipItemInfo info;
    DWORD dwResult = GetItem(nIndex, &info);
    if (dwResult != SKINZIP_OK) return dwResult;
    bool bDirectory = (info.dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;

    HANDLE hFile = static_cast<HANDLE>(pTarget);
    if (dwKind == SKINZIP_FILENAME) {
        wchar_t szPath[MAX_PATH];
        if (!MakeTargetPath(static_cast<const wchar_t*>(pTarget), szPath)) return SKINZIP_ARGS;
        CreateFolders(szPath, bDirectory);
        if (bDirectory) return SKINZIP_OK;
        hFile = ::CreateFileW(szPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, info.dwAttributes, NULL);
        if (hFile == INVALID_HANDLE_VALUE) return SKINZIP_NOFILE;
    } else if (bDirectory) {
        return SKINZIP_OK;
    }

    dwResult = OpenMember(nIndex);
    BYTE buffer[kFileChunk];
    while (dwResult == SKINZIP_OK) {
        unsigned int nRead = 0;
        dwResult = ReadMember(buffer, sizeof(buffer), nRead);
        if (dwResult != SKINZIP_OK || nRead == 0) break;
        DWORD dwWritten = 0;
        if (!::WriteFile(hFile, buffer, nRead, &dwWritten, NULL) || dwWritten != nRead) dwResult = SKINZIP_WRITE;
    }
    if (dwResult == SKINZIP_OK && ::GetFileType(hFile) == FILE_TYPE_DISK)
        ::SetFileTime(hFile, &info.ftCreation, &info.ftAccess, &info.ftModification);
    if (dwKind == SKINZIP_FILENAME) ::CloseHandle(hFile);
    CloseMember();
    return dwResult;
}

} // namespace SkinLib
