// ZipSource, the bytes of an archive for the unzip layer:
//   - opening a memory block, a file or a duplicated handle
//   - position, seeking and reading, through two buffered windows on disk files
//   - the unzip layer's file-access callbacks
#include "core/ZipSource.h"
#include "core/ResourceZip.h"
#include <algorithm>
#include <new>

namespace SkinLib {

ZipSource::ZipSource()
    : m_bIsHandle(false), m_bCanSeek(true), m_hFile(INVALID_HANDLE_VALUE), m_bReadError(false),
      m_nInitialOffset(0), m_pBlock(NULL), m_nBlockLength(0), m_nBlockPos(0), m_nFilePos(0), m_aWindows(),
      m_nLastWindow(0)
{
}

ZipSource::~ZipSource()
{
    Close();
}

DWORD ZipSource::OpenHandle(HANDLE hFile)
{
    HANDLE hProcess = ::GetCurrentProcess();
    HANDLE hCopy = NULL;
    if (!::DuplicateHandle(hProcess, hFile, hProcess, &hCopy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return SKINZIP_DUPHANDLE;
    TakeHandle(hCopy);
    return SKINZIP_OK;
}

DWORD ZipSource::OpenFile(const wchar_t* pstrPath)
{
    HANDLE hFile = ::CreateFileW(pstrPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return SKINZIP_NOFILE;
    TakeHandle(hFile);
    return SKINZIP_OK;
}

void ZipSource::TakeHandle(HANDLE hFile)
{
    m_bIsHandle = true;
    m_hFile = hFile;
    m_bCanSeek = ::GetFileType(hFile) == FILE_TYPE_DISK;
    LARGE_INTEGER zero = {}, pos = {};
    if (m_bCanSeek && ::SetFilePointerEx(hFile, zero, &pos, FILE_CURRENT)) m_nInitialOffset = pos.QuadPart;
    m_nFilePos = m_nInitialOffset;
}

void ZipSource::OpenMemory(const void* pBlock, unsigned int nLength)
{
    m_pBlock = static_cast<const BYTE*>(pBlock);
    m_nBlockLength = nLength;
}

ULONGLONG ZipSource::Tell() const
{
    if (!m_bIsHandle) return m_nBlockPos;
    if (!m_bCanSeek) return ULONGLONG(-1);
    return m_nFilePos - m_nInitialOffset;
}

bool ZipSource::Seek(LONGLONG nOffset, int nOrigin)
{
    if (m_bIsHandle) {
        if (!m_bCanSeek) return false;
        // The end counts from the end of the whole file, the beginning from the initial offset.
        LARGE_INTEGER base;
        if (nOrigin == ZLIB_FILEFUNC_SEEK_SET) base.QuadPart = LONGLONG(m_nInitialOffset);
        else if (nOrigin == ZLIB_FILEFUNC_SEEK_CUR) base.QuadPart = LONGLONG(m_nFilePos);
        else if (nOrigin != ZLIB_FILEFUNC_SEEK_END || !::GetFileSizeEx(m_hFile, &base)) return false;
        // As for the file pointer itself, a position before the start of the file is refused.
        if (nOffset < -base.QuadPart) return false;
        m_nFilePos = ULONGLONG(base.QuadPart + nOffset);
        return true;
    }
    LONGLONG nBase = 0;
    if (nOrigin == ZLIB_FILEFUNC_SEEK_CUR) nBase = m_nBlockPos;
    else if (nOrigin == ZLIB_FILEFUNC_SEEK_END) nBase = m_nBlockLength;
    else if (nOrigin != ZLIB_FILEFUNC_SEEK_SET) return false;
    // Positions past the end are allowed (they read nothing), but they must stay representable.
    if (nOffset < -nBase || nOffset > LONGLONG(0xFFFFFFFF) - nBase) return false;
    m_nBlockPos = static_cast<unsigned int>(nBase + nOffset);
    return true;
}

unsigned long ZipSource::Read(void* pBuffer, unsigned long nSize)
{
    if (m_bIsHandle && m_bCanSeek) {
        // Most reads are a few bytes that the window read last holds.
        const Window& last = m_aWindows[m_nLastWindow];
        const ULONGLONG nAt = m_nFilePos - last.nFilePos;
        if (m_nFilePos >= last.nFilePos && nAt < last.dwBytes && last.dwBytes - nAt >= nSize) {
            ::CopyMemory(pBuffer, m_pWindowBytes.get() + m_nLastWindow * kWindowSize + nAt, nSize);
            m_nFilePos += nSize;
            return nSize;
        }
        return ReadBuffered(static_cast<BYTE*>(pBuffer), nSize);
    }
    if (m_bIsHandle) {
        DWORD dwRead = 0;
        if (!::ReadFile(m_hFile, pBuffer, nSize, &dwRead, NULL)) {
            m_bReadError = true;
            return 0;
        }
        return dwRead;
    }
    if (m_nBlockPos >= m_nBlockLength) return 0;
    unsigned long nAvailable = m_nBlockLength - m_nBlockPos;
    if (nSize > nAvailable) nSize = nAvailable;
    ::CopyMemory(pBuffer, m_pBlock + m_nBlockPos, nSize);
    m_nBlockPos += nSize;
    return nSize;
}

// What a window holds is copied; the rest comes from refilling a window, or, for a request that
// would not fit a window (or when there is no memory for windows), straight from the file. A
// failed read delivers nothing and leaves the position where it was.
unsigned long ZipSource::ReadBuffered(BYTE* pBuffer, unsigned long nSize)
{
    const ULONGLONG nStart = m_nFilePos;
    unsigned long nDone = 0;
    while (nDone < nSize) {
        int nWindow = 0;
        while (nWindow < kWindows && !(m_nFilePos >= m_aWindows[nWindow].nFilePos &&
                                       m_nFilePos - m_aWindows[nWindow].nFilePos < m_aWindows[nWindow].dwBytes))
            ++nWindow;
        if (nWindow < kWindows) {
            const Window& window = m_aWindows[nWindow];
            DWORD dwAt = DWORD(m_nFilePos - window.nFilePos);
            DWORD dwCopy = std::min<DWORD>(window.dwBytes - dwAt, nSize - nDone);
            ::CopyMemory(pBuffer + nDone, m_pWindowBytes.get() + nWindow * kWindowSize + dwAt, dwCopy);
            nDone += dwCopy;
            m_nFilePos += dwCopy;
            m_nLastWindow = nWindow;
            continue;
        }
        const bool bLarge = nSize - nDone >= kWindowSize;
        if (m_pWindowBytes == nullptr && !bLarge) m_pWindowBytes.reset(new (std::nothrow) BYTE[kWindows * kWindowSize]);
        DWORD dwRead = 0;
        if (bLarge || m_pWindowBytes == nullptr) {
            if (!ReadAt(m_nFilePos, pBuffer + nDone, nSize - nDone, dwRead)) break;
            m_nFilePos += dwRead;
            return nDone + dwRead;
        }
        // A read that runs on from the window read last, past its end or, as the search for
        // the end of the directory reads, backwards into it, moves that window on: the other
        // keeps its part of the file. Read backwards, the window ends where this read ends.
        const Window& last = m_aWindows[m_nLastWindow];
        const ULONGLONG nEnd = m_nFilePos + (nSize - nDone);
        const bool bBackwards = last.dwBytes > 0 && m_nFilePos < last.nFilePos && nEnd > last.nFilePos;
        const bool bOnwards = last.dwBytes > 0 && m_nFilePos == last.nFilePos + last.dwBytes;
        ULONGLONG nFillPos = m_nFilePos;
        if (bBackwards) nFillPos = nEnd > kWindowSize ? nEnd - kWindowSize : 0;
        nWindow = bBackwards || bOnwards ? m_nLastWindow : (m_nLastWindow + 1) % kWindows;
        Window& window = m_aWindows[nWindow];
        window.dwBytes = 0;
        if (!ReadAt(nFillPos, m_pWindowBytes.get() + nWindow * kWindowSize, kWindowSize, dwRead)) break;
        window.nFilePos = nFillPos;
        window.dwBytes = dwRead;
        m_nLastWindow = nWindow;
        // Short of the position, the file ends before it.
        if (m_nFilePos - nFillPos >= dwRead) return nDone;
    }
    if (nDone == nSize) return nDone;
    m_bReadError = true;
    m_nFilePos = nStart;
    return 0;
}

bool ZipSource::ReadAt(ULONGLONG nPosition, BYTE* pBuffer, DWORD dwSize, DWORD& dwRead)
{
    LARGE_INTEGER distance;
    distance.QuadPart = LONGLONG(nPosition);
    return ::SetFilePointerEx(m_hFile, distance, NULL, FILE_BEGIN) && ::ReadFile(m_hFile, pBuffer, dwSize, &dwRead, NULL);
}

bool ZipSource::IsError() const
{
    return m_bIsHandle && m_bReadError;
}

void ZipSource::Close()
{
    if (m_bIsHandle && m_hFile != INVALID_HANDLE_VALUE) ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

void ZipSource::FillFileFunctions(zlib_filefunc64_def& def)
{
    def.zopen64_file = OnOpen;
    def.zread_file = OnRead;
    def.zwrite_file = OnWrite;
    def.ztell64_file = OnTell;
    def.zseek64_file = OnSeek;
    def.zclose_file = OnClose;
    def.zerror_file = OnError;
    def.opaque = this;
}

// The unzip layer "opens" whatever it is given as a path; the source is already open, so the
// stream it works on is simply the source itself.
voidpf ZCALLBACK ZipSource::OnOpen(voidpf opaque, const void*, int)
{
    return opaque;
}

uLong ZCALLBACK ZipSource::OnRead(voidpf, voidpf stream, void* buf, uLong size)
{
    return static_cast<ZipSource*>(stream)->Read(buf, size);
}

uLong ZCALLBACK ZipSource::OnWrite(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK ZipSource::OnTell(voidpf, voidpf stream)
{
    return static_cast<ZipSource*>(stream)->Tell();
}

long ZCALLBACK ZipSource::OnSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    return static_cast<ZipSource*>(stream)->Seek(static_cast<LONGLONG>(offset), origin) ? 0 : -1;
}

int ZCALLBACK ZipSource::OnClose(voidpf, voidpf stream)
{
    static_cast<ZipSource*>(stream)->Close();
    return 0;
}

int ZCALLBACK ZipSource::OnError(voidpf, voidpf stream)
{
    return static_cast<ZipSource*>(stream)->IsError() ? 1 : 0;
}

} // namespace SkinLib
