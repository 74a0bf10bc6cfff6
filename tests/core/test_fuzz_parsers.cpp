// Deterministic mutation fuzzing of the skin parsers: the archive reader and the XML parser
// take skins as untrusted input, so no mutation of a valid skin may crash or hang them.
// SKINLIB_FUZZ_ITERATIONS sets the number of cases per parser (scripts/fuzz.sh N).
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "core/Markup.h"
#include "core/ResourceZip.h"
#include "ZipWriter.h"

using namespace SkinLib;

namespace {

const int kDefaultIterations = 3000;
const double kCaseTimeLimitSeconds = 5.0;

int Iterations()
{
    wchar_t szValue[32];
    DWORD n = ::GetEnvironmentVariableW(L"SKINLIB_FUZZ_ITERATIONS", szValue, 32);
    int nIterations = (n > 0 && n < 32) ? _wtoi(szValue) : 0;
    return nIterations > 0 ? nIterations : kDefaultIterations;
}

class Random
{
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t Next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    size_t Below(size_t n) { return n == 0 ? 0 : size_t(Next() % n); }

private:
    uint64_t m_state;
};

class Stopwatch
{
public:
    Stopwatch() { ::QueryPerformanceFrequency(&m_frequency); ::QueryPerformanceCounter(&m_start); }
    double Seconds() const
    {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        return double(now.QuadPart - m_start.QuadPart) / double(m_frequency.QuadPart);
    }

private:
    LARGE_INTEGER m_frequency, m_start;
};

typedef std::vector<uint8_t> Bytes;

// Byte-level mutations, a few per case, biased towards what the parsers look at.
void Mutate(Random& random, Bytes& bytes)
{
    static const uint8_t kInteresting[] = { 0x00, 0xFF, 0x7F, 0x80, '<', '>', '/', '"', '\'', '=', '&', ';', '!', '?', '-', ' ', 'P', 'K' };
    size_t nMutations = 1 + random.Below(4);
    for (size_t m = 0; m < nMutations; ++m) {
        size_t at = random.Below(bytes.size() + 1);
        switch (random.Below(8)) {
        case 0:
            if (at < bytes.size()) bytes[at] ^= uint8_t(1u << random.Below(8));
            break;
        case 1:
            if (at < bytes.size()) bytes[at] = kInteresting[random.Below(sizeof(kInteresting))];
            break;
        case 2:
            bytes.insert(bytes.begin() + at, kInteresting[random.Below(sizeof(kInteresting))]);
            break;
        case 3:
            bytes.erase(bytes.begin() + at, bytes.begin() + std::min(bytes.size(), at + 1 + random.Below(16)));
            break;
        case 4: {
            size_t from = random.Below(bytes.size());
            size_t n = std::min(bytes.size() - from, 1 + random.Below(64));
            Bytes copy(bytes.begin() + from, bytes.begin() + from + n);
            bytes.insert(bytes.begin() + at, copy.begin(), copy.end());
            break;
        }
        case 5:
            bytes.resize(at);
            break;
        default: {
            // Little-endian 16- or 32-bit fields: sizes, offsets, counts and lengths.
            static const uint32_t kValues[] = { 0, 1, 0x7F, 0xFF, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF, 0x10000, 0x400001 };
            uint32_t value = kValues[random.Below(sizeof(kValues) / sizeof(kValues[0]))];
            size_t width = random.Below(2) ? 4 : 2;
            for (size_t i = 0; i < width && at + i < bytes.size(); ++i) bytes[at + i] = uint8_t(value >> (8 * i));
            break;
        }
        }
    }
}

const char* const kSkins[] = {
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<Window size=\"400,300\" caption=\"0,0,0,32\" roundcorner=\"4,4\">\r\n"
    "  <Font name=\"Segoe UI\" size=\"12\" bold=\"false\" default=\"true\" />\r\n"
    "  <Image name=\"bk.png\" restype=\"PNG\" mask=\"#FFFF00FF\" />\r\n"
    "  <Default name=\"Button\" value=\"height=&quot;30&quot; textcolor=&quot;#FF000000&quot;\" />\r\n"
    "  <VerticalLayout bkcolor=\"#FFF0F0F0\">\r\n"
    "    <!-- the title bar -->\r\n"
    "    <HorizontalLayout height=\"32\"><Label text=\"Quorvel &amp; co\" /><Control /></HorizontalLayout>\r\n"
    "    <Button name=\"btn_Enroll\" text=\"Enroll\" normalimage=\"file='btn.png' source='0,0,80,30'\" />\r\n"
    "    <Text name=\"tip\">Touch the sensor &lt;here&gt;</Text>\r\n"
    "  </VerticalLayout>\r\n"
    "</Window>\r\n",
    "<Window><TabLayout name=\"tabs\"><Option group=\"g\" selected=\"true\"/><Edit password=\"true\"/>"
    "<Progress min=\"0\" max=\"100\" value=\"50\"/></TabLayout><Include source=\"other.xml\" count=\"2\"/></Window>",
    "<a><b><c><d><e x=\"1\" y=\"2\">deep &apos;text&apos;</e></d></c></b></a>",
};

Bytes SkinBytes(size_t i)
{
    std::string skin = kSkins[i % (sizeof(kSkins) / sizeof(kSkins[0]))];
    return Bytes(skin.begin(), skin.end());
}

Bytes SeedArchive(Random& random)
{
    SkinLibTest::ZipWriter writer;
    for (size_t i = 0; i < sizeof(kSkins) / sizeof(kSkins[0]); ++i) {
        std::string name = "skin/" + std::to_string(i) + ".xml";
        auto& entry = writer.Add(name, kSkins[i], random.Below(2) ? 8 : 0);
        if (random.Below(2)) entry.localExtra = SkinLibTest::TimestampExtra(7, { 1, 2, 3 });
    }
    writer.Add("skin/", "", 0).externalAttributes = 0x10;
    return writer.Build();
}

// Everything a caller can ask of a loaded document, so bad links or positions show up.
size_t WalkTree(CMarkupNode node, int nDepth)
{
    size_t nVisited = 0;
    for (; node.IsValid(); node = node.GetSibling()) {
        ++nVisited;
        nVisited += ::wcslen(node.GetName()) + ::wcslen(node.GetValue());
        int nCount = node.GetAttributeCount();
        for (int i = -1; i <= nCount; ++i) {
            nVisited += ::wcslen(node.GetAttributeName(i)) + ::wcslen(node.GetAttributeValue(i));
            nVisited += ::wcslen(node.GetAttributeValue(node.GetAttributeName(i)));
        }
        EXPECT_TRUE(node.GetParent().IsValid() || nDepth == 0);
        if (nDepth < 300) nVisited += WalkTree(node.GetChild(), nDepth + 1);
    }
    return nVisited;
}

int LoadEveryWay(const Bytes& bytes)
{
    int nLoaded = 0;
    for (int encoding : { SKIN_XML_UTF8, SKIN_XML_UTF16, SKIN_XML_ANSI }) {
        CMarkup xml;
        xml.SetPreserveWhitespace(encoding != SKIN_XML_ANSI);
        if (xml.LoadFromMem(bytes.data(), DWORD(bytes.size()), encoding)) {
            WalkTree(xml.GetRoot(), 0);
            ++nLoaded;
        }
        wchar_t szMessage[100], szLocation[50];
        xml.GetLastErrorMessage(szMessage, 100);
        xml.GetLastErrorLocation(szLocation, 50);
    }
    return nLoaded;
}

void ReportThroughput(const char* pstrWhat, int nCases, int nLoaded, double dSeconds)
{
    std::printf("%s: %d cases (%d documents loaded) in %.2f s, %.0f cases/s\n", pstrWhat, nCases, nLoaded, dSeconds,
                nCases / std::max(dSeconds, 1e-9));
}

} // namespace

TEST(FuzzParsers, MarkupSurvivesMutatedSkins)
{
    Random random(0x5EED0121);
    for (size_t i = 0; i < sizeof(kSkins) / sizeof(kSkins[0]); ++i)
        ASSERT_EQ(LoadEveryWay(SkinBytes(i)), 2) << "seed " << i;  // UTF-8 and ANSI; no mark for UTF-16
    int nIterations = Iterations();
    int nLoaded = 0;
    Stopwatch total;
    for (int i = 0; i < nIterations; ++i) {
        Bytes bytes = SkinBytes(random.Below(64));
        if (random.Below(4) == 0) {
            // Half of the time as UTF-16 with a mark, in either byte order.
            bool bBig = random.Below(2) != 0;
            Bytes wide = { uint8_t(bBig ? 0xFE : 0xFF), uint8_t(bBig ? 0xFF : 0xFE) };
            for (uint8_t b : bytes) {
                wide.push_back(bBig ? 0 : b);
                wide.push_back(bBig ? b : 0);
            }
            bytes.swap(wide);
        }
        Mutate(random, bytes);
        Stopwatch watch;
        nLoaded += LoadEveryWay(bytes);
        ASSERT_LT(watch.Seconds(), kCaseTimeLimitSeconds) << "case " << i;
    }
    ReportThroughput("markup", nIterations, nLoaded, total.Seconds());
}

TEST(FuzzParsers, ZipReaderSurvivesMutatedArchives)
{
    Random random(0x5EED0120);
    std::vector<Bytes> seeds;
    for (int i = 0; i < 16; ++i) seeds.push_back(SeedArchive(random));
    int nIterations = Iterations();
    int nLoaded = 0;
    Stopwatch total;
    for (int i = 0; i < nIterations; ++i) {
        Bytes bytes = seeds[random.Below(seeds.size())];
        Mutate(random, bytes);
        Stopwatch watch;
        HSKINZIP hZip = ResourceZipOpen(bytes.data(), unsigned(bytes.size()), SKINZIP_MEMORY);
        if (hZip != NULL) {
            ZipItemInfo archive;
            if (ResourceZipGetItem(hZip, -1, &archive) == SKINZIP_OK) {
                for (int n = 0; n < archive.nIndex && n < 64; ++n) {
                    ZipItemInfo item;
                    if (ResourceZipGetItem(hZip, n, &item) != SKINZIP_OK) continue;
                    ZipItemInfo found;
                    int index = -1;
                    DWORD dwFind = ResourceZipFindItem(hZip, item.szName, true, &index, &found);
                    EXPECT_TRUE(dwFind != SKINZIP_OK || (index >= 0 && index <= n)) << "case " << i;
                    if (item.nUncompressedSize > 0x100000) continue;
                    Bytes content(item.nUncompressedSize);
                    DWORD dwResult = ResourceZipUnzipItem(hZip, n, content.data(), unsigned(content.size()), SKINZIP_MEMORY);
                    if (dwResult == SKINZIP_MORE) {
                        EXPECT_EQ(ResourceZipUnzipItem(hZip, n, content.data(), unsigned(content.size()), SKINZIP_MEMORY), SKINZIP_OK);
                        nLoaded += LoadEveryWay(content);
                    }
                }
            }
            EXPECT_EQ(ResourceZipClose(hZip), SKINZIP_OK);
        }
        ASSERT_LT(watch.Seconds(), kCaseTimeLimitSeconds) << "case " << i;
    }
    ReportThroughput("zip", nIterations, nLoaded, total.Seconds());
}
