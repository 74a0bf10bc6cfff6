#pragma once
#include <windows.h>
#include <memory>
#include "ioapi.h"

namespace SkinLib {

// The bytes of an archive as the unzip layer sees them: a borrowed memory block or a file handle
// of our own. Positions on a handle count from where the file pointer stood when it was handed
// over, so an archive appended to a larger file reads as if it began there.
// The unzip layer reads its headers a few bytes at a time; on a disk file those reads are served
// from buffers filled at the wanted position, kWindowSize bytes at a time, so that each does not
// cost a call into the system. Seeking there only moves the position. There are two such
// windows, because look-ups go back and forth between the directory at the end of the archive
// and the members before it: each keeps its own part of the file.
class ZipSource
{
public:
    ZipSource();
    ~ZipSource();
    ZipSource(const ZipSource&) = delete;
    ZipSource& operator=(const ZipSource&) = delete;

    // A source is opened once, by one of these. Both handle forms return a SKIN_ZIP_RESULT;
    // the caller keeps its own handle.
    DWORD OpenHandle(HANDLE hFile);
    DWORD OpenFile(const wchar_t* pstrPath);
    void OpenMemory(const void* pBlock, unsigned int nLength);

    ULONGLONG Tell() const;
    bool Seek(LONGLONG nOffset, int nOrigin);
    unsigned long Read(void* pBuffer, unsigned long nSize);
    bool IsError() const;
    void Close();

    // Wires this source into the unzip layer's file-access table.
    void FillFileFunctions(zlib_filefunc64_def& def);

    enum { kWindowSize = 0x8000, kWindows = 2 };

private:
    void TakeHandle(HANDLE hFile);
    unsigned long ReadBuffered(BYTE* pBuffer, unsigned long nSize);
    bool ReadAt(ULONGLONG nPosition, BYTE* pBuffer, DWORD dwSize, DWORD& dwRead);

    static voidpf ZCALLBACK OnOpen(voidpf opaque, const void* filename, int mode);
    static uLong ZCALLBACK OnRead(voidpf opaque, voidpf stream, void* buf, uLong size);
    static uLong ZCALLBACK OnWrite(voidpf opaque, voidpf stream, const void* buf, uLong size);
    static ZPOS64_T ZCALLBACK OnTell(voidpf opaque, voidpf stream);
    static long ZCALLBACK OnSeek(voidpf opaque, voidpf stream, ZPOS64_T offset, int origin);
    static int ZCALLBACK OnClose(voidpf opaque, voidpf stream);
    static int ZCALLBACK OnError(voidpf opaque, voidpf stream);

    bool m_bIsHandle;
    bool m_bCanSeek;
    HANDLE m_hFile;
    bool m_bReadError;
    ULONGLONG m_nInitialOffset;
    const BYTE* m_pBlock;
    unsigned int m_nBlockLength;
    unsigned int m_nBlockPos;
    // A disk file: the position in the file (counted from its start); the windows' bytes, each
    // window's file position and the number of bytes it holds; the window read from last.
    struct Window
    {
        ULONGLONG nFilePos;
        DWORD dwBytes;
    };
    ULONGLONG m_nFilePos;
    std::unique_ptr<BYTE[]> m_pWindowBytes;
    Window m_aWindows[kWindows];
    int m_nLastWindow;
};

} // namespace SkinLib
