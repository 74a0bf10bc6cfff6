#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "core/ResourceZip.h"
#include "ZipWriter.h"

using namespace SkinLib;
using SkinLibTest::ZipWriter;
namespace fs = std::filesystem;

namespace {

std::string LastResultText()
{
    char szText[100];
    ResourceZipResultText(SKINZIP_LASTRESULT, szText, sizeof(szText));
    return szText;
}

std::string Pattern(size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i) s += char('a' + (i * 7 + i / 13) % 26);
    return s;
}

HSKINZIP OpenMemory(const std::vector<uint8_t>& bytes)
{
    return ResourceZipOpen(bytes.data(), unsigned(bytes.size()), SKINZIP_MEMORY);
}

DWORD UnzipToMemory(HSKINZIP h, int nIndex, void* pBuffer, size_t nSize)
{
    return ResourceZipUnzipItem(h, nIndex, pBuffer, unsigned(nSize), SKINZIP_MEMORY);
}

// An archive held in memory for the life of the test.
class MemoryZip
{
public:
    explicit MemoryZip(const ZipWriter& writer) : m_bytes(writer.Build()), m_hZip(OpenMemory(m_bytes)) {}
    ~MemoryZip() { if (m_hZip != NULL) ResourceZipClose(m_hZip); }
    HSKINZIP Get() const { return m_hZip; }

    // The member's whole content, read the way the library reads it: one exact-size buffer.
    DWORD Unzip(const wchar_t* pstrName, std::string& out)
    {
        ZipItemInfo info;
        DWORD r = ResourceZipFindItem(m_hZip, pstrName, true, NULL, &info);
        if (r != SKINZIP_OK) return r;
        out.assign(info.nUncompressedSize, '\0');
        return UnzipToMemory(m_hZip, info.nIndex, &out[0], out.size());
    }

private:
    std::vector<uint8_t> m_bytes;
    HSKINZIP m_hZip;
};

fs::path TempFolder(const wchar_t* pstrLeaf)
{
    const fs::path folder = fs::temp_directory_path() / pstrLeaf;
    fs::create_directories(folder);
    return folder;
}

void WriteWholeFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::string ReadWholeFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

ULONGLONG Ticks(const FILETIME& ft)
{
    return (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

} // namespace

// Into memory a member comes as SKINZIP_MORE with its bytes, then SKINZIP_OK once nothing is
// left; in one exact-size buffer or in pieces, and a find starts the member over.
TEST(ResourceZip, UnzipsMembersWholeOrInPieces)
{
    ZipWriter writer;
    const std::string big = Pattern(100000), data = Pattern(5000);
    writer.Add("skin/main.xml", "<Window />", 0);
    writer.Add("skin/big.bin", big, 8);
    writer.Add("a.txt", data);
    writer.Add("empty.txt", "", 0);
    MemoryZip zip(writer);
    ASSERT_NE(zip.Get(), nullptr);

    for (int pass = 0; pass < 2; ++pass) {
        ZipItemInfo info;  // its index is checked with the name rules below
        ASSERT_EQ(ResourceZipFindItem(zip.Get(), L"skin/big.bin", true, NULL, &info), SKINZIP_OK);
        EXPECT_STREQ(info.szName, L"skin/big.bin");
        EXPECT_EQ(info.nUncompressedSize, big.size());
        EXPECT_LT(info.nCompressedSize, big.size());
        std::string out(big.size(), '\0');
        EXPECT_EQ(UnzipToMemory(zip.Get(), 1, &out[0], out.size()), SKINZIP_MORE);
        EXPECT_EQ(out, big);
        EXPECT_EQ(UnzipToMemory(zip.Get(), 1, &out[0], out.size()), SKINZIP_OK);
    }
    std::string xml;
    EXPECT_EQ(zip.Unzip(L"skin/main.xml", xml), SKINZIP_MORE);
    EXPECT_EQ(xml, "<Window />");
    EXPECT_EQ(UnzipToMemory(zip.Get(), 3, NULL, 0), SKINZIP_OK);

    std::string collected;
    char piece[7];
    DWORD r;
    while ((r = UnzipToMemory(zip.Get(), 2, piece, sizeof(piece))) == SKINZIP_MORE)
        collected.append(piece, std::min(sizeof(piece), data.size() - collected.size()));
    EXPECT_EQ(r, SKINZIP_OK);
    EXPECT_EQ(collected, data);

    ASSERT_EQ(UnzipToMemory(zip.Get(), 2, piece, sizeof(piece)), SKINZIP_MORE);
    ASSERT_EQ(ResourceZipFindItem(zip.Get(), L"empty.txt", true, NULL, NULL), SKINZIP_OK);
    ASSERT_EQ(UnzipToMemory(zip.Get(), 2, piece, sizeof(piece)), SKINZIP_MORE);
    EXPECT_EQ(std::string(piece, sizeof(piece)), data.substr(0, sizeof(piece)));
}

// Either separator; case folding of a-z only; names the code page cannot hold exactly must
// not turn into "?" or a best-fit letter; at most 255 units.
TEST(ResourceZip, FindFollowsTheNameRules)
{
    ZipWriter writer;
    for (const char* name : { "skins/main.xml", "\xE9t\xE9.xml" /* "été" in the ANSI code page */, "?.xml", "c.xml" })
        writer.Add(name, "x");
    writer.Add(std::string(255, 'n'), "5");
    MemoryZip zip(writer);
    const std::wstring n255(255, L'n'), n256(256, L'n');
    const struct { const wchar_t* pstrName; bool bIgnoreCase; DWORD dwResult; int nIndex; } cases[] = {
        { L"skins\\main.xml", true, SKINZIP_OK, 0 },      { L"SKINS/MAIN.XML", true, SKINZIP_OK, 0 },
        { L"SKINS/MAIN.XML", false, SKINZIP_NOTFOUND, -1 }, { L"\u00E9t\u00E9.xml", true, SKINZIP_OK, 1 },
        { L"\u00C9T\u00C9.XML", true, SKINZIP_NOTFOUND, -1 }, { L"\u4E2D.xml", true, SKINZIP_NOTFOUND, -1 },
        { L"\u0109.xml", true, SKINZIP_NOTFOUND, -1 },     { L"?.xml", true, SKINZIP_OK, 2 },
        { n255.c_str(), true, SKINZIP_OK, 4 },            { n256.c_str(), true, SKINZIP_NOTFOUND, -1 },
    };
    for (const auto& c : cases) {
        int index = -2;
        ZipItemInfo info;
        ::FillMemory(&info, sizeof(info), 0xCC);
        EXPECT_EQ(ResourceZipFindItem(zip.Get(), c.pstrName, c.bIgnoreCase, &index, &info), c.dwResult) << c.pstrName;
        EXPECT_EQ(index, c.nIndex) << c.pstrName;
        EXPECT_EQ(info.nIndex, c.nIndex) << c.pstrName;
        if (c.nIndex < 0) {  // not found: the record is zero-filled apart from its index
            EXPECT_EQ(info.szName[0], L'\0');
            EXPECT_EQ(info.nUncompressedSize, 0u);
        }
    }
    EXPECT_EQ(ResourceZipFindItem(zip.Get(), NULL, true, NULL, NULL), SKINZIP_ARGS);
}

// Look-ups are answered from an index of the directory, read as far as they need: whatever the
// order of the look-ups, the first entry in directory order that matches wins, with the case of
// a-z folded or not, exactly as a walk over the directory finds it.
TEST(ResourceZip, FindTakesTheFirstMatchInAnyOrderOfLookups)
{
    ZipWriter writer;
    std::vector<std::string> names;
    for (int i = 0; i < 150; ++i) {  // enough to grow the index's table several times
        const std::string n = std::to_string(i % 50);
        names.push_back(i < 50 ? "Skin/Page" + n + ".xml" : i < 100 ? "skin/page" + n + ".xml" : "SKIN/PAGE" + n + ".XML");
    }
    names.push_back(std::string("cut\0tail", 8));  // a name reads up to its first zero byte
    names.push_back(std::string(256, 'n'));        // and at most 256 bytes of it
    names.push_back("cut");
    for (const std::string& name : names) writer.Add(name, name, 0);
    const std::vector<uint8_t> bytes = writer.Build();

    // What a walk over the directory finds: the first entry equal to the name.
    auto expected = [&names](const std::string& name, bool bIgnoreCase) {
        auto fold = [](std::string s) {
            for (char& ch : s) if (ch >= 'a' && ch <= 'z') ch -= 0x20;
            return s;
        };
        for (size_t i = 0; i < names.size(); ++i) {
            const std::string entry = names[i].substr(0, std::min<size_t>(256, names[i].find('\0')));
            if (entry.size() < 256 && (bIgnoreCase ? fold(entry) == fold(name) : entry == name)) return int(i);
        }
        return -1;
    };
    std::vector<std::string> lookups = { "sKiN/pAgE7.xml", "SKIN/PAGE7.XML", "skin/page7.xml", "Skin/Page49.xml",
                                         "cut", "CUT", "cut\\tail", std::string(255, 'n'), "skin/page50.xml", "" };
    for (const std::string& name : names) lookups.push_back(name.substr(0, name.find('\0')));
    for (int order = 0; order < 3; ++order) {
        MemoryZip zip(writer);
        std::vector<std::string> sequence = lookups;
        if (order == 1) std::reverse(sequence.begin(), sequence.end());
        if (order == 2) std::rotate(sequence.begin(), sequence.begin() + 120, sequence.end());
        for (const std::string& name : sequence) {
            for (bool bIgnoreCase : { true, false }) {
                int index = -2;
                const std::wstring wide(name.begin(), name.end());
                const int nExpected = expected(name, bIgnoreCase);
                EXPECT_EQ(ResourceZipFindItem(zip.Get(), wide.c_str(), bIgnoreCase, &index, NULL),
                          nExpected >= 0 ? SKINZIP_OK : SKINZIP_NOTFOUND) << name;
                EXPECT_EQ(index, nExpected) << name << (bIgnoreCase ? " ignoring case" : "");
            }
        }
        // Every member found is the one unzipped.
        std::string out;
        EXPECT_EQ(zip.Unzip(L"skin/PAGE3.xml", out), SKINZIP_MORE);
        EXPECT_EQ(out, "Skin/Page3.xml");
        EXPECT_EQ(zip.Unzip(L"cut", out), SKINZIP_MORE);
        EXPECT_EQ(out, names[150]);
    }
}

TEST(ResourceZip, ItemInformation)
{
    ZipWriter writer;
    writer.Add("plain.txt", "x");
    writer.Add("folder/", "", 0).externalAttributes = 0x10;
    writer.Add("unixdir/", "", 0).externalAttributes = 0x41ED0000;  // drwxr-xr-x
    writer.Add("stamped.txt", "y").localExtra = SkinLibTest::TimestampExtra(7, { 1000000000u, 1000000001u, 1000000002u });
    // One time short, then a block header running past the field.
    writer.Add("torn.txt", "z").localExtra = SkinLibTest::TimestampExtra(7, { 1000000000u, 1000000001u }) + "\x01\x02\x40";
    MemoryZip zip(writer);
    HSKINZIP h = zip.Get();

    ZipItemInfo info;
    ASSERT_EQ(ResourceZipGetItem(h, -1, &info), SKINZIP_OK);
    EXPECT_EQ(info.nIndex, 5);
    EXPECT_EQ(ResourceZipGetItem(h, 5, &info), SKINZIP_ARGS);
    EXPECT_EQ(ResourceZipGetItem(h, -2, &info), SKINZIP_ARGS);

    FILETIME ftDos, ftUnix;
    ::DosDateTimeToFileTime(0x5021, 0x6000, &ftDos);
    const SYSTEMTIME st = { 2001, 9, 0, 9, 1, 46, 40, 0 };  // 1000000000 s after 1970 began
    ::SystemTimeToFileTime(&st, &ftUnix);
    const ULONGLONG d = Ticks(ftDos), u = Ticks(ftUnix), second = 10000000;
    const DWORD dwFile = FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_ARCHIVE;
    const struct { DWORD dwAttributes; ULONGLONG nModification, nAccess, nCreation; } expected[] = {
        { dwFile, d, d, d }, { 0x90 | FILE_ATTRIBUTE_READONLY, d, d, d }, { 0x90, d, d, d },
        { dwFile, u, u + second, u + 2 * second },
        { dwFile, u, 0 /* not checked */, d },
    };
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(ResourceZipGetItem(h, i, &info), SKINZIP_OK);
        EXPECT_EQ(info.dwAttributes, expected[i].dwAttributes) << i;
        EXPECT_EQ(Ticks(info.ftModification), expected[i].nModification) << i;
        if (expected[i].nAccess != 0) {
            EXPECT_EQ(Ticks(info.ftAccess), expected[i].nAccess) << i;
        }
        EXPECT_EQ(Ticks(info.ftCreation), expected[i].nCreation) << i;
    }
}

// A bad CRC or size shows when the last byte is delivered, even when read in pieces;
// methods other than stored and deflated, and encryption, are refused.
TEST(ResourceZip, DamagedMembersAreErrors)
{
    ZipWriter writer;
    writer.Add("good.txt", Pattern(3000));
    writer.Add("badcrc.txt", Pattern(3000)).crc = 0;
    writer.Add("short.txt", Pattern(3000)).uncompressedSize = 4000;
    writer.Add("shortstored.txt", Pattern(3000), 0).uncompressedSize = 2000;  // longer than declared: fails its CRC
    writer.Add("bzip.txt", "BZh91AY&SY", 12).crc = 0;
    writer.Add("secret.txt", "hidden", 0).flags = 1;
    writer.Add("garbage.txt", Pattern(100)).payload = "\xFF\xFF\xFF\xFF garbage";
    MemoryZip zip(writer);
    const struct { const wchar_t* pstrName; DWORD dwResult; } cases[] = {
        { L"good.txt", SKINZIP_MORE }, { L"badcrc.txt", SKINZIP_CORRUPT }, { L"short.txt", SKINZIP_CORRUPT },
        { L"shortstored.txt", SKINZIP_CORRUPT }, { L"bzip.txt", SKINZIP_FLATE }, { L"secret.txt", SKINZIP_FLATE },
        { L"garbage.txt", SKINZIP_FLATE },
    };
    std::string out;
    for (const auto& c : cases) EXPECT_EQ(zip.Unzip(c.pstrName, out), c.dwResult) << c.pstrName;
    EXPECT_EQ(LastResultText(), "Zip-bug: an internal error during flation");

    char piece[1000];
    const DWORD aPieces[] = { SKINZIP_MORE, SKINZIP_MORE, SKINZIP_CORRUPT };
    for (DWORD dwExpected : aPieces) ASSERT_EQ(UnzipToMemory(zip.Get(), 1, piece, sizeof(piece)), dwExpected);

    // Index -1 names no member, also while none is open.
    EXPECT_EQ(UnzipToMemory(zip.Get(), 99, piece, sizeof(piece)), SKINZIP_ARGS);
    EXPECT_EQ(UnzipToMemory(zip.Get(), -1, piece, sizeof(piece)), SKINZIP_ARGS);
    EXPECT_EQ(UnzipToMemory(zip.Get(), -1, piece, 0), SKINZIP_ARGS);
    EXPECT_EQ(UnzipToMemory(zip.Get(), 0, NULL, 10), SKINZIP_ARGS);
}

TEST(ResourceZip, DamagedArchivesDoNotOpenOrFailCleanly)
{
    const char notZip[] = "this is not a zip archive at all, just some words";
    EXPECT_EQ(ResourceZipOpen(notZip, sizeof(notZip), SKINZIP_MEMORY), nullptr);
    EXPECT_EQ(ResourceZipOpen(notZip, 0, SKINZIP_MEMORY), nullptr);
    EXPECT_EQ(ResourceZipOpen(NULL, 100, SKINZIP_MEMORY), nullptr);
    EXPECT_EQ(LastResultText(), "Caller: faulty arguments");
    EXPECT_EQ(ResourceZipOpen(notZip, sizeof(notZip), 7), nullptr);

    ZipWriter writer;
    const std::string data = Pattern(2000);
    writer.Add("a.txt", data);
    writer.Add("b.txt", data, 0);
    const std::vector<uint8_t> bytes = writer.Build();

    // A failed step into a damaged directory entry must not hide the entries before it.
    std::vector<uint8_t> damaged = bytes;
    const uint8_t kCentralHeader[] = { 'P', 'K', 1, 2 };
    (*std::find_end(damaged.begin(), damaged.end(), kCentralHeader, kCentralHeader + 4))++;
    HSKINZIP h = OpenMemory(damaged);
    ASSERT_NE(h, nullptr);
    ZipItemInfo info;
    EXPECT_EQ(ResourceZipGetItem(h, 1, &info), SKINZIP_CORRUPT);
    int index = -2;
    EXPECT_EQ(ResourceZipFindItem(h, L"a.txt", true, &index, NULL), SKINZIP_OK);
    EXPECT_EQ(index, 0);
    ResourceZipClose(h);

    // Cut anywhere, an archive either fails to open or never hands out wrong bytes as good ones.
    for (size_t cut = 0; cut < bytes.size(); cut += 7) {
        h = OpenMemory(std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut));
        for (int i = 0; h != NULL && i < 2; ++i) {
            std::string out(data.size(), '\0');
            if (UnzipToMemory(h, i, &out[0], out.size()) == SKINZIP_MORE) {
                EXPECT_EQ(out, data) << "cut at " << cut;
            }
        }
        if (h != NULL) ResourceZipClose(h);
    }
}

TEST(ResourceZip, HandlesAndResultTexts)
{
    EXPECT_EQ(ResourceZipClose(NULL), SKINZIP_ARGS);
    EXPECT_EQ(LastResultText(), "Caller: faulty arguments");
    EXPECT_EQ(ResourceZipFindItem(NULL, L"x", true, NULL, NULL), SKINZIP_ARGS);
    DWORD foreign[4] = { 2, 0, 0, 0 };
    EXPECT_EQ(ResourceZipClose(reinterpret_cast<HSKINZIP>(foreign)), SKINZIP_ZMODE);
    EXPECT_EQ(LastResultText(), "Caller: mixing creation and opening of zip");

    // The full length comes back; the copy is cut to the buffer and terminated.
    char szText[100];
    EXPECT_EQ(ResourceZipResultText(0x600, szText, sizeof(szText)), 24u);
    EXPECT_STREQ(szText, "Still more data to unzip");
    ResourceZipResultText(0x12345, szText, sizeof(szText));
    EXPECT_STREQ(szText, "unknown zip result code");
    EXPECT_EQ(ResourceZipResultText(0, szText, 4), 7u);
    EXPECT_STREQ(szText, "Suc");
    EXPECT_EQ(ResourceZipResultText(0, NULL, 10), 7u);
}

TEST(ResourceZip, OpensFilesAndHandles)
{
    ZipWriter writer;
    writer.Add("inside.txt", "from disk");
    const std::vector<uint8_t> bytes = writer.Build();
    std::vector<uint8_t> prefixed(100 + bytes.size(), 'P');
    std::copy(bytes.begin(), bytes.end(), prefixed.begin() + 100);
    const fs::path folder = TempFolder(L"skinzip_open");
    WriteWholeFile(folder / L"skins.zip", bytes);
    WriteWholeFile(folder / L"prefixed.bin", prefixed);

    // By name; and an archive that starts part-way into a file, through a handle positioned there.
    HANDLE hFile = ::CreateFileW((folder / L"prefixed.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                                 OPEN_EXISTING, 0, NULL);
    ::SetFilePointer(hFile, 100, NULL, FILE_BEGIN);
    const HSKINZIP aZips[] = { ResourceZipOpen((folder / L"skins.zip").c_str(), 0, SKINZIP_FILENAME),
                               ResourceZipOpen(hFile, 0, SKINZIP_HANDLE) };
    ::CloseHandle(hFile);  // the archive holds its own duplicate
    for (HSKINZIP h : aZips) {
        ASSERT_NE(h, nullptr);
        int index = -1;
        EXPECT_EQ(ResourceZipFindItem(h, L"INSIDE.TXT", true, &index, NULL), SKINZIP_OK);
        char out[9];
        EXPECT_EQ(UnzipToMemory(h, index, out, sizeof(out)), SKINZIP_MORE);
        EXPECT_EQ(std::string(out, 9), "from disk");
        EXPECT_EQ(ResourceZipClose(h), SKINZIP_OK);
    }

    EXPECT_EQ(ResourceZipOpen((folder / L"missing.zip").c_str(), 0, SKINZIP_FILENAME), nullptr);
    EXPECT_EQ(LastResultText(), "Couldn't create/open file");
    HANDLE hRead, hWrite;
    ASSERT_TRUE(::CreatePipe(&hRead, &hWrite, NULL, 0));
    EXPECT_EQ(ResourceZipOpen(hRead, 0, SKINZIP_HANDLE), nullptr);
    EXPECT_EQ(LastResultText(), "Zip-bug: trying to seek the unseekable");
    ::CloseHandle(hRead);
    ::CloseHandle(hWrite);
}

// A file is read through buffers of a fixed size: members, headers, the directory and a long
// archive comment lie across their edges, behind a prefix that is not part of the archive; what
// the file delivers is what the same archive delivers from memory, also read in odd pieces and
// with look-ups going back and forth between the directory and the members.
TEST(ResourceZip, FileReadsAcrossBufferEdges)
{
    ZipWriter writer;
    std::vector<std::string> contents;
    for (size_t i = 0; i < 40; ++i) {
        contents.push_back(Pattern(i % 5 == 0 ? 40000 + i * 977 : 1000 + i * 1531));
        writer.Add("m" + std::to_string(i) + ".bin", contents.back(), i % 3 == 0 ? 8 : 0);
    }
    std::vector<uint8_t> archive = writer.Build();
    // A comment of 40000 bytes: the search for the end of the directory reads backwards through it.
    const std::string comment = Pattern(40000);
    archive[archive.size() - 2] = uint8_t(comment.size());
    archive[archive.size() - 1] = uint8_t(comment.size() >> 8);
    archive.insert(archive.end(), comment.begin(), comment.end());

    const fs::path folder = TempFolder(L"skinzip_edges");
    for (size_t nPrefix : { size_t(0), size_t(32767), size_t(65539) }) {
        SCOPED_TRACE(nPrefix);
        std::vector<uint8_t> file(nPrefix, 'P');
        file.insert(file.end(), archive.begin(), archive.end());
        WriteWholeFile(folder / L"edges.bin", file);
        HANDLE hFile = ::CreateFileW((folder / L"edges.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        ::SetFilePointer(hFile, LONG(nPrefix), NULL, FILE_BEGIN);
        HSKINZIP hZip = nPrefix == 0 ? ResourceZipOpen((folder / L"edges.bin").c_str(), 0, SKINZIP_FILENAME)
                                     : ResourceZipOpen(hFile, 0, SKINZIP_HANDLE);
        ::CloseHandle(hFile);
        ASSERT_NE(hZip, nullptr);
        for (size_t pass = 0; pass < 2; ++pass) {
            for (size_t n = 0; n < contents.size(); ++n) {
                const size_t i = pass == 0 ? n : (n * 17) % contents.size();
                const std::wstring name = L"M" + std::to_wstring(i) + L".BIN";
                ZipItemInfo info;
                ASSERT_EQ(ResourceZipFindItem(hZip, name.c_str(), true, NULL, &info), SKINZIP_OK) << i;
                std::string out(info.nUncompressedSize, '\0');
                if (pass == 0) {
                    EXPECT_EQ(UnzipToMemory(hZip, info.nIndex, &out[0], out.size()), SKINZIP_MORE);
                } else {
                    // In pieces of 4093 bytes, the last one short.
                    char piece[4093];
                    size_t nAt = 0;
                    while (UnzipToMemory(hZip, info.nIndex, piece, sizeof(piece)) == SKINZIP_MORE && nAt < out.size()) {
                        const size_t nCopy = std::min(sizeof(piece), out.size() - nAt);
                        std::copy(piece, piece + nCopy, out.begin() + nAt);
                        nAt += nCopy;
                    }
                }
                EXPECT_TRUE(out == contents[i]) << i;
            }
        }
        EXPECT_EQ(ResourceZipClose(hZip), SKINZIP_OK);
    }
}

// The edges of the buffers fall at every offset of a member's header, name and data (a first
// member whose size moves the ones after it) and of the directory (a comment whose length moves
// it against the end of the file, where the search for the directory starts reading).
TEST(ResourceZip, FileReadsAtEveryOffsetOfTheBufferEdges)
{
    const fs::path path = TempFolder(L"skinzip_offsets") / L"offsets.zip";
    const std::string small = Pattern(150), packed = Pattern(300);
    auto check = [&](size_t nFirst, size_t nComment) {
        ZipWriter writer;
        const std::string first = Pattern(nFirst);
        writer.Add("first.bin", first, 0);
        writer.Add("second/name.bin", small, 0);
        writer.Add("third.txt", packed, 8);
        std::vector<uint8_t> bytes = writer.Build();
        bytes[bytes.size() - 2] = uint8_t(nComment);
        bytes[bytes.size() - 1] = uint8_t(nComment >> 8);
        bytes.resize(bytes.size() + nComment, 'c');
        WriteWholeFile(path, bytes);
        HSKINZIP hZip = ResourceZipOpen(path.c_str(), 0, SKINZIP_FILENAME);
        ASSERT_NE(hZip, nullptr) << nFirst << " " << nComment;
        const struct { const wchar_t* pstrName; const std::string* pData; } members[] = {
            { L"third.txt", &packed }, { L"second\\name.bin", &small }, { L"first.bin", &first },
        };
        for (const auto& member : members) {
            ZipItemInfo info;
            ASSERT_EQ(ResourceZipFindItem(hZip, member.pstrName, true, NULL, &info), SKINZIP_OK) << nFirst << " " << nComment;
            std::string out(info.nUncompressedSize, '\0');
            EXPECT_EQ(UnzipToMemory(hZip, info.nIndex, &out[0], out.size()), SKINZIP_MORE) << nFirst << " " << nComment;
            EXPECT_TRUE(out == *member.pData) << nFirst << " " << nComment;
        }
        ResourceZipClose(hZip);
    };
    for (size_t nFirst = 32768 - 260; nFirst < 32768 + 40; ++nFirst) check(nFirst, 0);
    for (size_t nComment = 780; nComment < 1300; ++nComment) check(100, nComment);
}

TEST(ResourceZip, UnzipsToFilesInsideTheBaseFolderOnly)
{
    ZipWriter writer;
    writer.Add("sub/dir/file.txt", "content");
    writer.Add("made/", "", 0).externalAttributes = 0x10;
    writer.Add("bad.txt", "x").crc = 0;
    const std::vector<uint8_t> bytes = writer.Build();

    const fs::path saved = fs::current_path(), folder = TempFolder(L"skinzip_out");
    fs::current_path(folder);
    HSKINZIP h = OpenMemory(bytes);
    fs::current_path(saved);  // targets stay relative to the folder current at open
    ASSERT_NE(h, nullptr);
    auto unzipTo = [h](int nIndex, const wchar_t* pstrTarget) {
        return ResourceZipUnzipItem(h, nIndex, (void*)pstrTarget, 0, SKINZIP_FILENAME);
    };

    EXPECT_EQ(unzipTo(0, L"sub/dir/file.txt"), SKINZIP_OK);
    EXPECT_EQ(ReadWholeFile(folder / L"sub\\dir\\file.txt"), "content");
    EXPECT_EQ(unzipTo(1, L"made/"), SKINZIP_OK);
    EXPECT_TRUE(fs::is_directory(folder / L"made"));
    EXPECT_EQ(unzipTo(2, L"bad.txt"), SKINZIP_CORRUPT);
    for (const wchar_t* climbing : { L"../escape.txt", L"sub\\..\\..\\escape.txt", L"..", L"\\escape.txt",
                                     L"/escape.txt", L"C:\\escape.txt", L"" })
        EXPECT_EQ(unzipTo(0, climbing), SKINZIP_ARGS) << climbing;
    EXPECT_FALSE(fs::exists(folder / L"..\\escape.txt"));

    HANDLE hFile = ::CreateFileW((folder / L"via_handle.txt").c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    EXPECT_EQ(ResourceZipUnzipItem(h, 0, hFile, 0, SKINZIP_HANDLE), SKINZIP_OK);
    ::CloseHandle(hFile);
    EXPECT_EQ(ReadWholeFile(folder / L"via_handle.txt"), "content");
    ResourceZipClose(h);
}
