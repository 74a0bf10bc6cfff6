// What reading a skin archive costs: open it, find one member by name and unzip it, or find
// and unzip every member, then close; from memory and from a file, against bare minizip (its
// memory reads, and its own stdio file functions). Goals: a file-backed archive within 1.2x of
// the same archive in memory, and finding all members linear in their number (the cost per
// member of a 1,000-member archive close to that of a 100-member one).
#include <windows.h>

#include <stdio.h>

#include <memory>
#include <string>
#include <vector>

#include "../core/ZipWriter.h"
#include "BenchClock.h"
#include "core/ResourceZip.h"
#include "unzip.h"

using namespace SkinLib;
using SkinLibBench::Now;

namespace {

typedef std::vector<uint8_t> Bytes;

struct Archive
{
    Bytes bytes;
    std::vector<std::string> names;
    std::wstring path;
};

// Bytes that deflate poorly, as the PNG images of a skin do.
std::string Noise(size_t n, uint32_t seed)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; i++) {
        seed = seed * 1664525u + 1013904223u;
        s[i] = char(seed >> 24);
    }
    return s;
}

// A skin file of about nBytes of markup.
std::string SkinText(size_t nBytes, int nPage)
{
    std::string s = "<Window size=\"400,300\"><VerticalLayout>";
    for (int i = 0; s.size() < nBytes; i++)
        s += "<Button name=\"btn_" + std::to_string(nPage) + "_" + std::to_string(i) +
             "\" normalimage=\"file='btn.png' source='0,0,80,30'\" text=\"Enroll\" />\r\n";
    return s + "</VerticalLayout></Window>";
}

// One skin file in eight, deflated, the rest images of 0.5 to 8 KiB, stored.
Archive MakeArchive(int nMembers, const std::wstring& folder)
{
    SkinLibTest::ZipWriter writer;
    Archive archive;
    for (int i = 0; i < nMembers; i++) {
        char szName[64];
        if (i % 8 == 3) {
            sprintf(szName, "skins/page_%04d.xml", i);
            writer.Add(szName, SkinText(2000 + (i * 997) % 10000, i), 8);
        } else {
            sprintf(szName, "images/Image_%04d.png", i);
            writer.Add(szName, Noise(512 + (i * 2741) % 7680, uint32_t(i)), 0);
        }
        archive.names.push_back(szName);
    }
    archive.bytes = writer.Build();
    archive.path = folder + L"skins_" + std::to_wstring(nMembers) + L".zip";
    HANDLE h = ::CreateFileW(archive.path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD dwWritten = 0;
    ::WriteFile(h, archive.bytes.data(), DWORD(archive.bytes.size()), &dwWritten, NULL);
    ::CloseHandle(h);
    return archive;
}

// Microseconds of one call, the best of at least three rounds and of as many as fit in half
// a second (a slow call runs once).
template <class Call> double Best(Call call)
{
    double dBest = 1e300, dTotal = 0;
    for (int round = 0; round < 50 && (round < 3 || dTotal < 5e5); round++) {
        const double dStart = Now();
        call();
        const double d = Now() - dStart;
        dTotal += d;
        if (d < dBest) dBest = d;
        if (d > 2e6) break;
    }
    return dBest;
}

// The library's way: the archive handle, and each member found by name (ignoring case) and
// unzipped whole into a buffer of its own.
bool ReadWithLibrary(const Archive& archive, bool bFromFile, size_t nFirst, size_t nCount)
{
    HSKINZIP hZip = bFromFile ? ResourceZipOpen(archive.path.c_str(), 0, SKINZIP_FILENAME)
                              : ResourceZipOpen(archive.bytes.data(), unsigned(archive.bytes.size()), SKINZIP_MEMORY);
    if (hZip == NULL) return false;
    bool bAll = true;
    for (size_t i = nFirst; i < nFirst + nCount; i++) {
        std::wstring name(archive.names[i].begin(), archive.names[i].end());
        std::unique_ptr<BYTE[]> pBytes;
        unsigned int nSize = 0;
        bAll = ResourceZipReadItem(hZip, name.c_str(), 0x400000, pBytes, &nSize) == SKINZIP_OK && bAll;
    }
    ResourceZipClose(hZip);
    return bAll;
}

// Bare minizip over a block of memory.
struct MemoryStream
{
    const Bytes* pBytes;
    ZPOS64_T nPos;
};

voidpf ZCALLBACK MemOpen(voidpf opaque, const void*, int) { return opaque; }
uLong ZCALLBACK MemRead(voidpf, voidpf stream, void* buf, uLong size)
{
    MemoryStream* s = static_cast<MemoryStream*>(stream);
    const ZPOS64_T nLength = s->pBytes->size();
    if (s->nPos >= nLength) return 0;
    if (size > nLength - s->nPos) size = uLong(nLength - s->nPos);
    memcpy(buf, s->pBytes->data() + s->nPos, size);
    s->nPos += size;
    return size;
}
uLong ZCALLBACK MemWrite(voidpf, voidpf, const void*, uLong) { return 0; }
ZPOS64_T ZCALLBACK MemTell(voidpf, voidpf stream) { return static_cast<MemoryStream*>(stream)->nPos; }
long ZCALLBACK MemSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    MemoryStream* s = static_cast<MemoryStream*>(stream);
    if (origin == ZLIB_FILEFUNC_SEEK_SET) s->nPos = offset;
    else if (origin == ZLIB_FILEFUNC_SEEK_CUR) s->nPos += offset;
    else s->nPos = s->pBytes->size() + offset;
    return 0;
}
int ZCALLBACK MemClose(voidpf, voidpf) { return 0; }
int ZCALLBACK MemError(voidpf, voidpf) { return 0; }

bool ReadWithMinizip(const Archive& archive, bool bFromFile, size_t nFirst, size_t nCount)
{
    MemoryStream stream = { &archive.bytes, 0 };
    unzFile hUnzip;
    if (bFromFile) {
        std::string path(archive.path.begin(), archive.path.end());
        hUnzip = unzOpen64(path.c_str());
    } else {
        zlib_filefunc64_def functions = { MemOpen, MemRead, MemWrite, MemTell, MemSeek, MemClose, MemError, &stream };
        hUnzip = unzOpen2_64(&stream, &functions);
    }
    if (hUnzip == NULL) return false;
    bool bAll = true;
    for (size_t i = nFirst; i < nFirst + nCount; i++) {
        unz_file_info64 info;
        bool bRead = unzLocateFile(hUnzip, archive.names[i].c_str(), 2) == UNZ_OK &&
                     unzGetCurrentFileInfo64(hUnzip, &info, NULL, 0, NULL, 0, NULL, 0) == UNZ_OK &&
                     unzOpenCurrentFile(hUnzip) == UNZ_OK;
        if (bRead) {
            std::unique_ptr<BYTE[]> pBytes(new BYTE[size_t(info.uncompressed_size)]);
            bRead = unzReadCurrentFile(hUnzip, pBytes.get(), unsigned(info.uncompressed_size)) == int(info.uncompressed_size);
            bRead = unzCloseCurrentFile(hUnzip) == UNZ_OK && bRead;
        }
        bAll = bRead && bAll;
    }
    unzClose(hUnzip);
    return bAll;
}

struct Figures
{
    double dMemory, dFile, dMinizipMemory, dMinizipFile;
};

Figures Measure(const Archive& archive, size_t nFirst, size_t nCount)
{
    bool bOk = true;
    Figures f;
    f.dMemory = Best([&] { bOk = ReadWithLibrary(archive, false, nFirst, nCount) && bOk; });
    f.dFile = Best([&] { bOk = ReadWithLibrary(archive, true, nFirst, nCount) && bOk; });
    f.dMinizipMemory = Best([&] { bOk = ReadWithMinizip(archive, false, nFirst, nCount) && bOk; });
    f.dMinizipFile = Best([&] { bOk = ReadWithMinizip(archive, true, nFirst, nCount) && bOk; });
    if (!bOk) printf("  A READ FAILED\n");
    return f;
}

void Print(const char* pstrWhat, const Figures& f)
{
    printf("%-22s memory %9.0f us  file %9.0f us (%.2fx memory) | minizip memory %9.0f us (%.2fx), stdio %9.0f us (%.2fx)\n",
           pstrWhat, f.dMemory, f.dFile, f.dFile / f.dMemory, f.dMinizipMemory, f.dMemory / f.dMinizipMemory,
           f.dMinizipFile, f.dFile / f.dMinizipFile);
}

} // namespace

int main()
{
    wchar_t szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    const std::wstring folder = szTemp;
    const Archive small = MakeArchive(100, folder), large = MakeArchive(1000, folder);
    printf("archives: 100 members %u bytes, 1,000 members %u bytes (ratios in brackets: ours against minizip)\n",
           unsigned(small.bytes.size()), unsigned(large.bytes.size()));

    Print("100: one member", Measure(small, 50, 1));
    const Figures all100 = Measure(small, 0, 100);
    Print("100: all members", all100);
    const Figures all1000 = Measure(large, 0, 1000);
    Print("1,000: all members", all1000);
    printf("per member, 1,000 against 100: memory %.2fx, file %.2fx, minizip memory %.2fx\n",
           (all1000.dMemory / 1000) / (all100.dMemory / 100), (all1000.dFile / 1000) / (all100.dFile / 100),
           (all1000.dMinizipMemory / 1000) / (all100.dMinizipMemory / 100));

    ::DeleteFileW(small.path.c_str());
    ::DeleteFileW(large.path.c_str());
    return 0;
}
