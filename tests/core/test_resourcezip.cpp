#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <string>
#include <vector>
#include "core/ResourceZip.h"
#include "ZipWriter.h"

using namespace SkinLib;
using SkinLibTest::ZipWriter;

namespace {

const uint8_t kCentralHeader[] = { 'P', 'K', 1, 2 };

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

// An archive held in memory for the life of the test.
class MemoryZip
{
public:
    explicit MemoryZip(const ZipWriter& writer) : m_bytes(writer.Build())
    {
        m_hZip = ResourceZipOpen(m_bytes.data(), unsigned(m_bytes.size()), SKINZIP_MEMORY);
    }
    ~MemoryZip() { if (m_hZip != NULL) ResourceZipClose(m_hZip); }
    HSKINZIP Get() const { return m_hZip; }

    // The member's whole content, read the way the library reads it: one exact-size buffer.
    DWORD Unzip(const wchar_t* pstrName, std::string& out)
    {
        ZipItemInfo info;
        DWORD r = ResourceZipFindItem(m_hZip, pstrName, true, NULL, &info);
        if (r != SKINZIP_OK) return r;
        out.assign(info.nUncompressedSize, '\0');
        return ResourceZipUnzipItem(m_hZip, info.nIndex, &out[0], unsigned(out.size()), SKINZIP_MEMORY);
    }

private:
    std::vector<uint8_t> m_bytes;
    HSKINZIP m_hZip;
};

std::wstring TempFolder(const wchar_t* pstrLeaf)
{
    wchar_t szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    std::wstring folder = std::wstring(szTemp) + pstrLeaf;
    ::CreateDirectoryW(folder.c_str(), NULL);
    return folder;
}

void WriteWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written = 0;
    ::WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, NULL);
    ::CloseHandle(h);
}

std::string ReadWholeFile(const std::wstring& path)
{
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string s(::GetFileSize(h, NULL), '\0');
    DWORD read = 0;
    if (!s.empty()) ::ReadFile(h, &s[0], DWORD(s.size()), &read, NULL);
    ::CloseHandle(h);
    return s;
}

} // namespace

TEST(ResourceZip, UnzipsStoredAndDeflatedMembersWhole)
{
    ZipWriter writer;
    std::string big = Pattern(100000);
    writer.Add("skin/main.xml", "<Window />", 0);
    writer.Add("skin/big.bin", big, 8);
    MemoryZip zip(writer);
    ASSERT_NE(zip.Get(), nullptr);

    for (int pass = 0; pass < 2; ++pass) {
        ZipItemInfo info;
        int index = -2;
        ASSERT_EQ(ResourceZipFindItem(zip.Get(), L"skin/big.bin", true, &index, &info), SKINZIP_OK);
        EXPECT_EQ(index, 1);
        EXPECT_EQ(info.nIndex, 1);
        EXPECT_STREQ(info.szName, L"skin/big.bin");
        EXPECT_EQ(info.nUncompressedSize, big.size());
        EXPECT_LT(info.nCompressedSize, big.size());
        std::string out(big.size(), '\0');
        EXPECT_EQ(ResourceZipUnzipItem(zip.Get(), 1, &out[0], unsigned(out.size()), SKINZIP_MEMORY), SKINZIP_MORE);
        EXPECT_EQ(out, big);
        EXPECT_EQ(ResourceZipUnzipItem(zip.Get(), 1, &out[0], unsigned(out.size()), SKINZIP_MEMORY), SKINZIP_OK);
    }
    std::string xml;
    EXPECT_EQ(zip.Unzip(L"skin/main.xml", xml), SKINZIP_MORE);
    EXPECT_EQ(xml, "<Window />");
}

TEST(ResourceZip, ReadsMemberInPiecesAndRestartsAfterFind)
{
    ZipWriter writer;
    std::string data = Pattern(5000);
    writer.Add("a.txt", data);
    writer.Add("b.txt", "bee");
    writer.Add("empty.txt", "", 0);
    MemoryZip zip(writer);
    EXPECT_EQ(ResourceZipUnzipItem(zip.Get(), 2, NULL, 0, SKINZIP_MEMORY), SKINZIP_OK);

    std::string collected;
    char piece[7];
    DWORD r;
    while ((r = ResourceZipUnzipItem(zip.Get(), 0, piece, sizeof(piece), SKINZIP_MEMORY)) == SKINZIP_MORE)
        collected.append(piece, std::min(sizeof(piece), data.size() - collected.size()));
    EXPECT_EQ(r, SKINZIP_OK);
    EXPECT_EQ(collected, data);

    // A find closes the open member, so the next unzip starts from the beginning again.
    ASSERT_EQ(ResourceZipUnzipItem(zip.Get(), 0, piece, sizeof(piece), SKINZIP_MEMORY), SKINZIP_MORE);
    ASSERT_EQ(ResourceZipFindItem(zip.Get(), L"b.txt", true, NULL, NULL), SKINZIP_OK);
    ASSERT_EQ(ResourceZipUnzipItem(zip.Get(), 0, piece, sizeof(piece), SKINZIP_MEMORY), SKINZIP_MORE);
    EXPECT_EQ(std::string(piece, sizeof(piece)), data.substr(0, sizeof(piece)));
}

TEST(ResourceZip, FindFollowsTheNameRules)
{
    ZipWriter writer;
    writer.Add("skins/main.xml", "1");
    writer.Add("\xE9t\xE9.xml", "2");         // "été" in the ANSI code page
    writer.Add("?.xml", "3");
    writer.Add("c.xml", "4");
    writer.Add(std::string(255, 'n'), "5");
    MemoryZip zip(writer);
    HSKINZIP h = zip.Get();
    int index = -2;

    EXPECT_EQ(ResourceZipFindItem(h, L"skins\\main.xml", true, &index, NULL), SKINZIP_OK);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(ResourceZipFindItem(h, L"SKINS/MAIN.XML", true, &index, NULL), SKINZIP_OK);
    EXPECT_EQ(ResourceZipFindItem(h, L"SKINS/MAIN.XML", false, &index, NULL), SKINZIP_NOTFOUND);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(ResourceZipFindItem(h, L"\u00E9t\u00E9.xml", true, &index, NULL), SKINZIP_OK);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(ResourceZipFindItem(h, L"\u00C9T\u00C9.XML", true, &index, NULL), SKINZIP_NOTFOUND);
    // Names the code page cannot hold exactly must not turn into "?" or a best-fit letter.
    EXPECT_EQ(ResourceZipFindItem(h, L"\u4E2D.xml", true, &index, NULL), SKINZIP_NOTFOUND);
    EXPECT_EQ(ResourceZipFindItem(h, L"\u0109.xml", true, &index, NULL), SKINZIP_NOTFOUND);
    EXPECT_EQ(ResourceZipFindItem(h, L"?.xml", true, &index, NULL), SKINZIP_OK);
    EXPECT_EQ(index, 2);

    std::wstring name(255, L'n');
    EXPECT_EQ(ResourceZipFindItem(h, name.c_str(), true, &index, NULL), SKINZIP_OK);
    EXPECT_EQ(index, 4);
    name += L'n';
    ZipItemInfo info;
    ::FillMemory(&info, sizeof(info), 0xCC);
    EXPECT_EQ(ResourceZipFindItem(h, name.c_str(), true, &index, &info), SKINZIP_NOTFOUND);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(info.nIndex, -1);
    EXPECT_EQ(info.szName[0], L'\0');
    EXPECT_EQ(info.nUncompressedSize, 0u);
    EXPECT_EQ(ResourceZipFindItem(h, NULL, true, &index, NULL), SKINZIP_ARGS);
}

TEST(ResourceZip, ItemInformation)
{
    ZipWriter writer;
    writer.Add("plain.txt", "x");
    auto& dir = writer.Add("folder/", "", 0);
    dir.externalAttributes = 0x10;
    auto& unixDir = writer.Add("unixdir/", "", 0);
    unixDir.externalAttributes = 0x41ED0000;  // drwxr-xr-x
    auto& stamped = writer.Add("stamped.txt", "y");
    stamped.localExtra = SkinLibTest::TimestampExtra(7, { 1000000000u, 1000000001u, 1000000002u });
    auto& torn = writer.Add("torn.txt", "z");
    torn.localExtra = SkinLibTest::TimestampExtra(7, { 1000000000u, 1000000001u });  // one time short
    torn.localExtra += "\x01\x02\x40";  // a block header running past the field
    MemoryZip zip(writer);
    HSKINZIP h = zip.Get();

    ZipItemInfo info;
    ASSERT_EQ(ResourceZipGetItem(h, -1, &info), SKINZIP_OK);
    EXPECT_EQ(info.nIndex, 5);
    EXPECT_EQ(ResourceZipGetItem(h, 5, &info), SKINZIP_ARGS);
    EXPECT_EQ(ResourceZipGetItem(h, -2, &info), SKINZIP_ARGS);

    ASSERT_EQ(ResourceZipGetItem(h, 0, &info), SKINZIP_OK);
    EXPECT_EQ(info.dwAttributes, DWORD(FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_ARCHIVE));
    FILETIME dos;
    ::DosDateTimeToFileTime(0x5021, 0x6000, &dos);
    EXPECT_EQ(::CompareFileTime(&info.ftModification, &dos), 0);
    EXPECT_EQ(::CompareFileTime(&info.ftAccess, &dos), 0);
    ASSERT_EQ(ResourceZipGetItem(h, 1, &info), SKINZIP_OK);
    EXPECT_EQ(info.dwAttributes, DWORD(0x90 | FILE_ATTRIBUTE_READONLY));
    ASSERT_EQ(ResourceZipGetItem(h, 2, &info), SKINZIP_OK);
    EXPECT_EQ(info.dwAttributes, DWORD(0x90));

    ASSERT_EQ(ResourceZipGetItem(h, 3, &info), SKINZIP_OK);
    // 2001-09-09 01:46:40 UTC and the two seconds after it.
    SYSTEMTIME st = { 2001, 9, 0, 9, 1, 46, 40, 0 };
    FILETIME expected;
    ::SystemTimeToFileTime(&st, &expected);
    EXPECT_EQ(::CompareFileTime(&info.ftModification, &expected), 0);
    ULARGE_INTEGER access = { { info.ftAccess.dwLowDateTime, info.ftAccess.dwHighDateTime } };
    ULARGE_INTEGER creation = { { info.ftCreation.dwLowDateTime, info.ftCreation.dwHighDateTime } };
    ULARGE_INTEGER base = { { expected.dwLowDateTime, expected.dwHighDateTime } };
    EXPECT_EQ(access.QuadPart - base.QuadPart, 10000000ULL);
    EXPECT_EQ(creation.QuadPart - base.QuadPart, 20000000ULL);

    ASSERT_EQ(ResourceZipGetItem(h, 4, &info), SKINZIP_OK);
    EXPECT_EQ(::CompareFileTime(&info.ftModification, &expected), 0);
    EXPECT_EQ(::CompareFileTime(&info.ftCreation, &dos), 0);
}

TEST(ResourceZip, DamagedMembersAreErrors)
{
    ZipWriter writer;
    writer.Add("good.txt", Pattern(3000));
    writer.Add("badcrc.txt", Pattern(3000)).overrideCrc = true;
    auto& shortDeflated = writer.Add("short.txt", Pattern(3000));
    shortDeflated.overrideSize = true;
    shortDeflated.uncompressedSize = 4000;
    auto& shortStored = writer.Add("shortstored.txt", Pattern(3000), 0);
    shortStored.overrideSize = true;
    shortStored.uncompressedSize = 2000;  // a member longer than declared fails its CRC
    auto& bzip = writer.Add("bzip.txt", "BZh91AY&SY", 12);
    bzip.overrideCrc = true;
    writer.Add("secret.txt", "hidden", 0).flags = 1;
    auto& garbage = writer.Add("garbage.txt", Pattern(100));
    garbage.overridePayload = true;
    garbage.payload = "\xFF\xFF\xFF\xFF garbage";
    MemoryZip zip(writer);
    std::string out;

    EXPECT_EQ(zip.Unzip(L"good.txt", out), SKINZIP_MORE);
    EXPECT_EQ(zip.Unzip(L"badcrc.txt", out), SKINZIP_CORRUPT);
    EXPECT_EQ(zip.Unzip(L"short.txt", out), SKINZIP_CORRUPT);
    EXPECT_EQ(zip.Unzip(L"shortstored.txt", out), SKINZIP_CORRUPT);
    EXPECT_EQ(zip.Unzip(L"bzip.txt", out), SKINZIP_FLATE);
    EXPECT_EQ(zip.Unzip(L"secret.txt", out), SKINZIP_FLATE);
    EXPECT_EQ(zip.Unzip(L"garbage.txt", out), SKINZIP_FLATE);
    EXPECT_EQ(LastResultText(), "Zip-bug: an internal error during flation");

    // The damage shows when the last byte is delivered, even when read in pieces.
    char piece[1000];
    ASSERT_EQ(ResourceZipUnzipItem(zip.Get(), 1, piece, sizeof(piece), SKINZIP_MEMORY), SKINZIP_MORE);
    ASSERT_EQ(ResourceZipUnzipItem(zip.Get(), 1, piece, sizeof(piece), SKINZIP_MEMORY), SKINZIP_MORE);
    EXPECT_EQ(ResourceZipUnzipItem(zip.Get(), 1, piece, sizeof(piece), SKINZIP_MEMORY), SKINZIP_CORRUPT);

    EXPECT_EQ(ResourceZipUnzipItem(zip.Get(), 99, piece, sizeof(piece), SKINZIP_MEMORY), SKINZIP_ARGS);
    EXPECT_EQ(ResourceZipUnzipItem(zip.Get(), -1, piece, sizeof(piece), SKINZIP_MEMORY), SKINZIP_ARGS);
    EXPECT_EQ(ResourceZipUnzipItem(zip.Get(), -1, piece, 0, SKINZIP_MEMORY), SKINZIP_ARGS);
    EXPECT_EQ(ResourceZipUnzipItem(zip.Get(), 0, NULL, 10, SKINZIP_MEMORY), SKINZIP_ARGS);
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
    std::string data = Pattern(2000);
    writer.Add("a.txt", data);
    writer.Add("b.txt", data, 0);
    std::vector<uint8_t> bytes = writer.Build();

    // A failed step into a damaged directory entry must not hide the entries before it.
    std::vector<uint8_t> damaged = bytes;
    auto last = std::find_end(damaged.begin(), damaged.end(), kCentralHeader, kCentralHeader + 4);
    (*last)++;
    HSKINZIP h = ResourceZipOpen(damaged.data(), unsigned(damaged.size()), SKINZIP_MEMORY);
    ASSERT_NE(h, nullptr);
    ZipItemInfo info;
    EXPECT_EQ(ResourceZipGetItem(h, 1, &info), SKINZIP_CORRUPT);
    int index = -2;
    EXPECT_EQ(ResourceZipFindItem(h, L"a.txt", true, &index, NULL), SKINZIP_OK);
    EXPECT_EQ(index, 0);
    ResourceZipClose(h);

    // Cut anywhere, an archive either fails to open or never hands out wrong bytes as good ones.
    for (size_t cut = 0; cut < bytes.size(); cut += 7) {
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + cut);
        h = ResourceZipOpen(part.data(), unsigned(part.size()), SKINZIP_MEMORY);
        if (h == NULL) continue;
        for (int i = 0; i < 2; ++i) {
            std::string out(data.size(), '\0');
            DWORD r = ResourceZipUnzipItem(h, i, &out[0], unsigned(out.size()), SKINZIP_MEMORY);
            if (r == SKINZIP_MORE) {
                EXPECT_EQ(out, data) << "cut at " << cut;
            }
        }
        ResourceZipClose(h);
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
    std::vector<uint8_t> bytes = writer.Build();
    std::wstring folder = TempFolder(L"skinzip_open");
    std::wstring path = folder + L"\\skins.zip";
    WriteWholeFile(path, bytes);

    HSKINZIP h = ResourceZipOpen(path.c_str(), 0, SKINZIP_FILENAME);
    ASSERT_NE(h, nullptr);
    int index = -1;
    EXPECT_EQ(ResourceZipFindItem(h, L"INSIDE.TXT", true, &index, NULL), SKINZIP_OK);
    char out[9];
    EXPECT_EQ(ResourceZipUnzipItem(h, index, out, sizeof(out), SKINZIP_MEMORY), SKINZIP_MORE);
    EXPECT_EQ(std::string(out, 9), "from disk");
    EXPECT_EQ(ResourceZipClose(h), SKINZIP_OK);
    EXPECT_EQ(ResourceZipOpen((folder + L"\\missing.zip").c_str(), 0, SKINZIP_FILENAME), nullptr);
    EXPECT_EQ(LastResultText(), "Couldn't create/open file");

    // An archive that starts part-way into a file, read through a handle positioned there.
    std::vector<uint8_t> prefixed(100, 'P');
    prefixed.insert(prefixed.end(), bytes.begin(), bytes.end());
    std::wstring prefixedPath = folder + L"\\prefixed.bin";
    WriteWholeFile(prefixedPath, prefixed);
    HANDLE hFile = ::CreateFileW(prefixedPath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ::SetFilePointer(hFile, 100, NULL, FILE_BEGIN);
    h = ResourceZipOpen(hFile, 0, SKINZIP_HANDLE);
    ::CloseHandle(hFile);  // the archive holds its own duplicate
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(ResourceZipUnzipItem(h, 0, out, sizeof(out), SKINZIP_MEMORY), SKINZIP_MORE);
    EXPECT_EQ(std::string(out, 9), "from disk");
    ResourceZipClose(h);

    HANDLE hRead, hWrite;
    ASSERT_TRUE(::CreatePipe(&hRead, &hWrite, NULL, 0));
    EXPECT_EQ(ResourceZipOpen(hRead, 0, SKINZIP_HANDLE), nullptr);
    EXPECT_EQ(LastResultText(), "Zip-bug: trying to seek the unseekable");
    ::CloseHandle(hRead);
    ::CloseHandle(hWrite);
}

TEST(ResourceZip, UnzipsToFilesInsideTheBaseFolderOnly)
{
    ZipWriter writer;
    writer.Add("sub/dir/file.txt", "content");
    auto& dir = writer.Add("made/", "", 0);
    dir.externalAttributes = 0x10;
    writer.Add("bad.txt", "x").overrideCrc = true;
    std::vector<uint8_t> bytes = writer.Build();

    wchar_t szSaved[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, szSaved);
    std::wstring folder = TempFolder(L"skinzip_out");
    ::SetCurrentDirectoryW(folder.c_str());
    HSKINZIP h = ResourceZipOpen(bytes.data(), unsigned(bytes.size()), SKINZIP_MEMORY);
    ::SetCurrentDirectoryW(szSaved);  // targets stay relative to the folder current at open
    ASSERT_NE(h, nullptr);

    EXPECT_EQ(ResourceZipUnzipItem(h, 0, (void*)L"sub/dir/file.txt", 0, SKINZIP_FILENAME), SKINZIP_OK);
    EXPECT_EQ(ReadWholeFile(folder + L"\\sub\\dir\\file.txt"), "content");
    EXPECT_EQ(ResourceZipUnzipItem(h, 1, (void*)L"made/", 0, SKINZIP_FILENAME), SKINZIP_OK);
    EXPECT_NE(::GetFileAttributesW((folder + L"\\made").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(ResourceZipUnzipItem(h, 2, (void*)L"bad.txt", 0, SKINZIP_FILENAME), SKINZIP_CORRUPT);

    for (const wchar_t* climbing : { L"../escape.txt", L"sub\\..\\..\\escape.txt", L"..", L"\\escape.txt",
                                     L"/escape.txt", L"C:\\escape.txt", L"" }) {
        EXPECT_EQ(ResourceZipUnzipItem(h, 0, (void*)climbing, 0, SKINZIP_FILENAME), SKINZIP_ARGS) << climbing;
    }
    EXPECT_EQ(::GetFileAttributesW((folder + L"\\..\\escape.txt").c_str()), INVALID_FILE_ATTRIBUTES);

    std::wstring handlePath = folder + L"\\via_handle.txt";
    HANDLE hFile = ::CreateFileW(handlePath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    EXPECT_EQ(ResourceZipUnzipItem(h, 0, hFile, 0, SKINZIP_HANDLE), SKINZIP_OK);
    ::CloseHandle(hFile);
    EXPECT_EQ(ReadWholeFile(handlePath), "content");
    ResourceZipClose(h);
}
