#pragma once
#include <windows.h>
#include "ioapi.h"

namespace SkinLib {

// The bytes of an archive as the unzip layer sees them: a borrowed memory block or a file handle
// of our own. Positions on a handle count from where the file pointer stood when it was handed
// over, so an archive appended to a larger file reads as if it began there.
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

private:
    void TakeHandle(HANDLE hFile);

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
};

} // namespace SkinLib
