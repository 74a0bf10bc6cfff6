// Deterministic mutation fuzzing of the skin parsers: the archive reader, the XML parser, image
// descriptions, mark-up text, control attribute lists and the dialog builder take skins as
// untrusted input, so no mutation of a valid skin may crash or hang them, nor leak a control.
// SKINLIB_FUZZ_ITERATIONS sets the number of cases per parser and SKINLIB_FUZZ_SEED a seed that
// makes other cases than the fixed ones every other run gets (scripts/fuzz.sh N SEED).
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "ActiveXDouble.h"
#include "controls/ControlUI.h"
#include "core/DialogBuilder.h"
#include "core/Markup.h"
#include "core/RenderEngine.h"
#include "core/ResourceZip.h"
#include "CountedControls.h"
#include "PixelCanvas.h"
#include "PngFixture.h"
#include "SkinSettings.h"
#include "TempFiles.h"
#include "ZipWriter.h"

using namespace SkinLib;

namespace {

typedef std::vector<uint8_t> Bytes;
typedef std::chrono::steady_clock Clock;

const int kDefaultIterations = 3000;
// Of the thread's own processor time, which a loaded machine does not stretch.
const double kCaseTimeLimitSeconds = 5.0;

// A number from the environment; 0 when it is not set or not a number.
uint64_t EnvironmentNumber(const wchar_t* pstrName)
{
    wchar_t szValue[32];
    DWORD n = ::GetEnvironmentVariableW(pstrName, szValue, 32);
    return (n > 0 && n < 32) ? _wcstoui64(szValue, NULL, 10) : 0;
}

int Iterations()
{
    const uint64_t nIterations = EnvironmentNumber(L"SKINLIB_FUZZ_ITERATIONS");
    return nIterations > 0 && nIterations <= INT32_MAX ? int(nIterations) : kDefaultIterations;
}

// The parser's own start, moved by the run's seed when one is given.
uint64_t Seeded(uint64_t base)
{
    const uint64_t seed = EnvironmentNumber(L"SKINLIB_FUZZ_SEED");
    return seed == 0 ? base : base ^ (seed * 0x9E3779B97F4A7C15ULL);
}

double ThreadSeconds()
{
    FILETIME ftCreation, ftExit, ftKernel, ftUser;
    if (!::GetThreadTimes(::GetCurrentThread(), &ftCreation, &ftExit, &ftKernel, &ftUser)) return 0;
    auto ticks = [](const FILETIME& ft) { return (uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; };
    return double(ticks(ftKernel) + ticks(ftUser)) / 1e7;
}

// SplitMix64: the same cases on every run with the same seed.
struct Random
{
    uint64_t state;
    size_t Below(size_t n)
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return n == 0 ? 0 : size_t((z ^ (z >> 31)) % n);
    }
};

// Byte-level mutations, a few per case, biased towards what the parsers look at.
void Mutate(Random& random, Bytes& bytes)
{
    static const uint8_t kInteresting[] = { 0x00, 0xFF, 0x7F, 0x80, '<', '>', '/', '"', '\'', '=', '&', ';', '!', '?', '-', ' ', 'P', 'K' };
    // Little-endian 16- or 32-bit fields: sizes, offsets, counts and lengths.
    static const uint32_t kValues[] = { 0, 1, 0x7F, 0xFF, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF, 0x10000, 0x400001 };
    for (size_t m = 1 + random.Below(4); m > 0; --m) {
        const size_t at = random.Below(bytes.size() + 1);
        switch (random.Below(8)) {
        case 0: if (at < bytes.size()) bytes[at] ^= uint8_t(1u << random.Below(8)); break;
        case 1: if (at < bytes.size()) bytes[at] = kInteresting[random.Below(sizeof(kInteresting))]; break;
        case 2: bytes.insert(bytes.begin() + at, kInteresting[random.Below(sizeof(kInteresting))]); break;
        case 3: bytes.erase(bytes.begin() + at, bytes.begin() + std::min(bytes.size(), at + 1 + random.Below(16))); break;
        case 4: {
            const size_t from = random.Below(bytes.size());
            const size_t n = std::min(bytes.size() - from, 1 + random.Below(64));
            const Bytes copy(bytes.begin() + from, bytes.begin() + from + n);
            bytes.insert(bytes.begin() + at, copy.begin(), copy.end());
            break;
        }
        case 5: bytes.resize(at); break;
        default: {
            const uint32_t value = kValues[random.Below(sizeof(kValues) / sizeof(kValues[0]))];
            const size_t width = random.Below(2) ? 4 : 2;
            for (size_t i = 0; i < width && at + i < bytes.size(); ++i) bytes[at + i] = uint8_t(value >> (8 * i));
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
const size_t kSkinCount = sizeof(kSkins) / sizeof(kSkins[0]);

Bytes SkinBytes(size_t i)
{
    return Bytes(kSkins[i % kSkinCount], kSkins[i % kSkinCount] + ::strlen(kSkins[i % kSkinCount]));
}

Bytes SeedArchive(Random& random)
{
    SkinLibTest::ZipWriter writer;
    for (size_t i = 0; i < kSkinCount; ++i) {
        auto& entry = writer.Add("skin/" + std::to_string(i) + ".xml", kSkins[i], random.Below(2) ? 8 : 0);
        if (random.Below(2)) entry.localExtra = SkinLibTest::TimestampExtra(7, { 1, 2, 3 });
    }
    writer.Add("skin/", "", 0).externalAttributes = 0x10;
    return writer.Build();
}

// Everything a caller can ask of a loaded document, so bad links or positions show up. The
// lengths are summed into a volatile so that the reads are not optimized away.
volatile size_t g_nTouched = 0;

size_t WalkTree(CMarkupNode node, int nDepth)
{
    size_t nVisited = 0;
    for (; node.IsValid(); node = node.GetSibling()) {
        nVisited += 1 + ::wcslen(node.GetName()) + ::wcslen(node.GetValue());
        for (int i = -1; i <= node.GetAttributeCount(); ++i) {
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
            g_nTouched = g_nTouched + WalkTree(xml.GetRoot(), 0);
            ++nLoaded;
        }
        wchar_t szMessage[100], szLocation[50];
        xml.GetLastErrorMessage(szMessage, 100);
        xml.GetLastErrorLocation(szLocation, 50);
    }
    return nLoaded;
}

// Runs the cases, each within the time limit, and reports the seed and the throughput. A case
// returns the number of documents it loaded.
template <class RunCase>
void RunCases(const char* pstrWhat, RunCase runCase)
{
    const int nIterations = Iterations();
    int nLoaded = 0;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < nIterations; ++i) {
        const double dCaseStart = ThreadSeconds();
        nLoaded += runCase(i);
        ASSERT_LT(ThreadSeconds() - dCaseStart, kCaseTimeLimitSeconds) << pstrWhat << " case " << i;
    }
    const double dSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%s: seed %llu, %d cases (%d documents loaded) in %.2f s, %.0f cases/s\n", pstrWhat,
                static_cast<unsigned long long>(EnvironmentNumber(L"SKINLIB_FUZZ_SEED")), nIterations, nLoaded,
                dSeconds, nIterations / std::max(dSeconds, 1e-9));
}

} // namespace

// Image tests point the resource folder at their own files.
struct FuzzParsers : SkinLibTest::SkinSettingsTest {};

TEST_F(FuzzParsers, MarkupSurvivesMutatedSkins)
{
    for (size_t i = 0; i < kSkinCount; ++i)
        ASSERT_EQ(LoadEveryWay(SkinBytes(i)), 2) << "seed " << i;  // UTF-8 and ANSI; no mark for UTF-16
    Random random{ Seeded(0x5EED0121) };
    RunCases("markup", [&random](int) {
        Bytes bytes = SkinBytes(random.Below(64));
        if (random.Below(4) == 0) {
            // A quarter of the cases as UTF-16 with a mark, in either byte order.
            const bool bBig = random.Below(2) != 0;
            Bytes wide = { uint8_t(bBig ? 0xFE : 0xFF), uint8_t(bBig ? 0xFF : 0xFE) };
            for (uint8_t b : bytes) wide.insert(wide.end(), { uint8_t(bBig ? 0 : b), uint8_t(bBig ? b : 0) });
            bytes.swap(wide);
        }
        Mutate(random, bytes);
        return LoadEveryWay(bytes);
    });
}

namespace {

// Every member an opened archive lists is looked up by name and unzipped; each result and what
// was delivered goes into the trace. Returns how many documents the contents load as when they
// are parsed as markup.
int ReadEveryMember(HSKINZIP hZip, int nCase, bool bParse, std::string& trace)
{
    int nLoaded = 0;
    ZipItemInfo archive;
    const int nCount = ResourceZipGetItem(hZip, -1, &archive) == SKINZIP_OK ? std::min(archive.nIndex, 64) : 0;
    trace += std::to_string(nCount);
    for (int n = 0; n < nCount; ++n) {
        ZipItemInfo item, found;
        const DWORD dwGet = ResourceZipGetItem(hZip, n, &item);
        trace += " get " + std::to_string(dwGet);
        if (dwGet != SKINZIP_OK) continue;
        int index = -1;
        DWORD dwFind = ResourceZipFindItem(hZip, item.szName, true, &index, &found);
        trace += " find " + std::to_string(dwFind) + " " + std::to_string(index);
        EXPECT_TRUE(dwFind != SKINZIP_OK || (index >= 0 && index <= n)) << "case " << nCase;
        if (item.nUncompressedSize > 0x100000) continue;
        Bytes content(item.nUncompressedSize);
        const DWORD dwUnzip = ResourceZipUnzipItem(hZip, n, content.data(), unsigned(content.size()), SKINZIP_MEMORY);
        trace += " unzip " + std::to_string(dwUnzip);
        if (dwUnzip == SKINZIP_MORE) {
            EXPECT_EQ(ResourceZipUnzipItem(hZip, n, content.data(), unsigned(content.size()), SKINZIP_MEMORY),
                      SKINZIP_OK) << "case " << nCase;
            trace.append(content.begin(), content.end());
            if (bParse) nLoaded += LoadEveryWay(content);
        }
    }
    EXPECT_EQ(ResourceZipClose(hZip), SKINZIP_OK) << "case " << nCase;
    return nLoaded;
}

} // namespace

// One case in eight is also read from a file, whose reads go through buffers: it must deliver
// exactly what the same bytes deliver from memory.
TEST_F(FuzzParsers, ZipReaderSurvivesMutatedArchives)
{
    Random random{ Seeded(0x5EED0120) };
    std::vector<Bytes> seeds;
    for (int i = 0; i < 16; ++i) seeds.push_back(SeedArchive(random));
    const std::wstring path = SkinLibTest::MakeTempFolder(L"fuzz_zip") + L"case.zip";
    RunCases("zip", [&](int i) {
        Bytes bytes = seeds[random.Below(seeds.size())];
        Mutate(random, bytes);
        std::string fromMemory, fromFile;
        HSKINZIP hZip = ResourceZipOpen(bytes.data(), unsigned(bytes.size()), SKINZIP_MEMORY);
        const int nLoaded = hZip != NULL ? ReadEveryMember(hZip, i, true, fromMemory) : 0;
        if (i % 8 == 0) {
            EXPECT_TRUE(SkinLibTest::WriteBytes(path, std::string(bytes.begin(), bytes.end())));
            HSKINZIP hFileZip = ResourceZipOpen(path.c_str(), 0, SKINZIP_FILENAME);
            EXPECT_EQ(hFileZip != NULL, hZip != NULL) << "case " << i;
            if (hFileZip != NULL) ReadEveryMember(hFileZip, i, false, fromFile);
            EXPECT_TRUE(fromFile == fromMemory) << "case " << i;
        }
        return nLoaded;
    });
    ::DeleteFileW(path.c_str());
}

// Image descriptions and mark-up texts as attribute values of a skin would carry them, drawn and
// measured into rectangles from one pixel wide up.
TEST_F(FuzzParsers, DrawingSurvivesMutatedDescriptionsAndMarkup)
{
    const std::wstring folder = SkinLibTest::MakeTempFolder(L"fuzz_images");
    ASSERT_TRUE(SkinLibTest::WriteBytes(folder + L"btn.png", SkinLibTest::MakeSolidPng(20, 20, 0x80FF0000)));
    ASSERT_TRUE(SkinLibTest::WriteBytes(folder + L"img.png", SkinLibTest::MakeSolidPng(16, 4, 0xFF00FF00)));
    ASSERT_TRUE(SkinLibTest::WriteBytes(folder + L"child_self.xml",
        "<Window><TabLayout selectedid=\"1\"><Leaf/><ChildLayout xmlfile=\"child_self.xml\"/>"
        "<Include source=\"inc_b.xml\"/></TabLayout></Window>"));
    CPaintManagerUI::SetResourcePath(folder.c_str());
    static const char* const kSeeds[] = {
        "file='btn.png' source='0,0,20,20' corner='4,4,4,4' dest='1,2,30,40' fade='128' mask='#FFFF00FF'",
        "file='btn.png' xtiled='true' ytiled='true' hole='true' file='img.png' dest='5,5,50,10'",
        "btn.png",
        "restype='PNG' res='101' file='img.png' source='0,0,0,4' xtiled='true'",
        "<b>Touch</b> the {c #FFFF0000}sensor{/c} <a link>and keep going</a> <i img.png 4 2><p 5>para</p><n>"
        "<x 10><y 20><s>sel</s><r><b>raw</r><{>{>}<f 1>one</f><f Arial 12 bold italic>face</f> <i>it</i>",
        "<a one>1</a> <a two>a link long enough to wrap</a> <i file='img.png' restype='' 2 1><u>u</u>",
    };
    SkinLibTest::PixelCanvas canvas(120, 80);
    Random random{ Seeded(0x5EED0123) };
    RunCases("drawing", [&](int) {
        const char* pstrSeed = kSeeds[random.Below(sizeof(kSeeds) / sizeof(kSeeds[0]))];
        Bytes bytes(pstrSeed, pstrSeed + ::strlen(pstrSeed));
        Mutate(random, bytes);
        std::wstring text;
        for (uint8_t b : bytes) text += wchar_t(b != 0 ? b : '\n');
        CPaintManagerUI pm;
        pm.AddFont(L"Arial", 14, false, false, false);
        const RECT rcItem = { 0, 0, LONG(1 + random.Below(120)), LONG(1 + random.Below(80)) };
        CRenderEngine::DrawImageString(canvas.DC(), &pm, rcItem, canvas.Rect(), text.c_str(),
                                       random.Below(2) ? L"fade='200' dest='0,0,10,10'" : NULL);
        RECT aLinks[4] = {};
        CSkinString aTexts[4];
        static const UINT kStyles[] = { DT_WORDBREAK, DT_SINGLELINE | DT_CENTER | DT_VCENTER,
                                        DT_WORDBREAK | DT_END_ELLIPSIS | DT_RIGHT | DT_BOTTOM, DT_END_ELLIPSIS };
        const UINT uStyle = kStyles[random.Below(4)];
        for (UINT uPass : { UINT(DT_CALCRECT), 0u }) {
            RECT rc = rcItem;
            int nLinks = int(random.Below(5));
            CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, text.c_str(), 0xFF000000, aLinks, aTexts, nLinks,
                                        uStyle | uPass);
            EXPECT_GE(nLinks, 0);
            EXPECT_LE(nLinks, 4);
        }
        return 1;
    });
}

// Attribute lists as skins and default lists carry them, mutated in names, values and syntax,
// applied to a floating and relative control that is then placed and painted, focused and not.
TEST_F(FuzzParsers, ControlSurvivesMutatedAttributeLists)
{
    const std::wstring folder = SkinLibTest::MakeTempFolder(L"fuzz_attributes");
    ASSERT_TRUE(SkinLibTest::WriteBytes(folder + L"btn.png", SkinLibTest::MakeSolidPng(8, 8, 0x80FF0000)));
    ASSERT_TRUE(SkinLibTest::WriteBytes(folder + L"child_self.xml",
        "<Window><TabLayout selectedid=\"1\"><Leaf/><ChildLayout xmlfile=\"child_self.xml\"/>"
        "<Include source=\"inc_b.xml\"/></TabLayout></Window>"));
    CPaintManagerUI::SetResourcePath(folder.c_str());
    static const char* const kSeeds[] = {
        "pos=\"-100,10,-10,40\" float=\"true\" relativepos=\"10,20,30,40\" padding=\"1,2,3,4\"",
        "bkcolor=\" #FF102030\" bkcolor2=\"#80FFFFFF\" bkcolor3=\"#FF000000\" bordercolor=\"#FF000000\" "
        "bordersize=\"1,2,3,4\" borderstyle=\"1\"",
        "bordersize=\"3\" borderround=\"6,6\" focusbordercolor=\"#FFFF0000\" colorhsl=\"true\" "
        "bkimage=\"file='btn.png' corner='2,2,2,2'\" bordercolor=\"#FF00FF00\"",
        "width=\"40\" height=\"30\" minwidth=\"5\" maxwidth=\"0\" name=\"n\" text=\"t\" tooltip=\"a<n>b\" "
        "shortcut=\"\" menu=\"true\" visible=\"true\" virtualwnd=\"v\" enabled=\"false\" mouse=\"true\"",
    };
    // Numbers at the ends of the int range, spliced in where the byte mutations don't reach.
    static const char* const kNumbers[] = { "2147483647", "-2147483648", "99999999999", "-1", "0", "," };
    SkinLibTest::PixelCanvas canvas(120, 80);
    CPaintManagerUI pm;  // no window: invalidation goes nowhere
    Random random{ Seeded(0x5EED0124) };
    RunCases("attributes", [&](int) {
        const char* pstrSeed = kSeeds[random.Below(sizeof(kSeeds) / sizeof(kSeeds[0]))];
        Bytes bytes(pstrSeed, pstrSeed + ::strlen(pstrSeed));
        Mutate(random, bytes);
        for (size_t n = random.Below(3); n > 0; --n) {
            const char* pstrNumber = kNumbers[random.Below(sizeof(kNumbers) / sizeof(kNumbers[0]))];
            const size_t at = random.Below(bytes.size() + 1);
            bytes.insert(bytes.begin() + at, pstrNumber, pstrNumber + ::strlen(pstrNumber));
        }
        std::wstring text;
        for (uint8_t b : bytes) text += wchar_t(b != 0 ? b : '\n');
        CControlUI parent, control;
        parent.SetPos(RECT{ 0, 0, LONG(1 + random.Below(120)), LONG(1 + random.Below(80)) });
        control.SetManager(&pm, &parent, false);
        control.SetRelativeParentSize(SIZE{ 60, 40 });
        control.ApplyAttributeList(text.c_str());
        control.SetPos(RECT{ LONG(random.Below(60)), LONG(random.Below(40)), LONG(random.Below(120)),
                             LONG(random.Below(80)) });
        for (int nEvent : { SKIN_EVT_SETFOCUS, SKIN_EVT_KILLFOCUS }) {
            tagTEventUI event = { nEvent };
            control.Event(event);
            control.DoPaint(canvas.DC(), canvas.Rect());
        }
        EXPECT_LE(control.GetWidth(), 120);
        return 1;
    });
    CPaintManagerUI::SetResourcePath(L"");
}

// Skins with every document-level element, includes of files, of themselves and of inline text,
// unknown elements, containers that refuse children and controls no container takes, built into
// a manager bound to a window, attached, laid out and painted. Every counted control the builder
// made, and every object a hosted control made, must be gone once the manager is.
TEST_F(FuzzParsers, BuilderSurvivesMutatedSkinsWithoutLeakingControls)
{
    const std::wstring folder = SkinLibTest::MakeTempFolder(L"fuzz_builder");
    ASSERT_TRUE(SkinLibTest::WriteBytes(folder + L"img.png", SkinLibTest::MakeSolidPng(8, 8, 0x80FF0000)));
    ASSERT_TRUE(SkinLibTest::WriteBytes(folder + L"inc_a.xml",
        "<Window><Font name=\"Tahoma\"/><Default name=\"Control\" value=\"height=&quot;5&quot;\"/>"
        "<Leaf name=\"in a\"/><Include source=\"inc_a.xml\"/><Include source=\"inc_b.xml\" count=\"2\"/></Window>"));
    ASSERT_TRUE(SkinLibTest::WriteBytes(folder + L"inc_b.xml",
        "<Window><Image name=\"img.png\"/><Box><Leaf/><Include source=\"INC_A.xml\" count=\"2\"/></Box>"
        "<OneBox><Leaf/><Leaf/></OneBox></Window>"));
    ASSERT_TRUE(SkinLibTest::WriteBytes(folder + L"child_self.xml",
        "<Window><TabLayout selectedid=\"1\"><Leaf/><ChildLayout xmlfile=\"child_self.xml\"/>"
        "<Include source=\"inc_b.xml\"/></TabLayout></Window>"));
    CPaintManagerUI::SetResourcePath(folder.c_str());
    static const char* const kSeeds[] = {
        "<Window size=\"300,200\" caption=\"0,0,0,30\" sizebox=\"4,4,4,4\" roundcorner=\"6,6\" mininfo=\"100,100\" "
        "maxinfo=\"800,600\" alpha=\"255\" bktrans=\"false\" showdirty=\"true\" defaultfontcolor=\"#FF000000\">"
        "<Font name=\"Arial\" size=\"12\" bold=\"true\" default=\"true\"/><Font size=\"14\"/>"
        "<Image name=\"img.png\" mask=\"#FFFF00FF\"/><Image restype=\"PNG\" name=\"101\"/>"
        "<Default name=\"Leaf\" value=\"width=&quot;20&quot; bkcolor=&quot;#FF00FF00&quot;\"/>"
        "<Default name=\"Box\" value=\"padding=&quot;1,1,1,1&quot;\"/>"
        "<Box name=\"root\" bkimage=\"img.png\"><Leaf name=\"a\" text=\"x\"/><OneBox><Leaf/><Leaf/><Control/></OneBox>"
        "<Include source=\"inc_a.xml\" count=\"2\"/><Unknown><Leaf/><Box><Leaf/></Box></Unknown>"
        "<Leaf><Leaf/><Font name=\"Nested\"/></Leaf><VerticalLayout inset=\"1,1,1,1\"><Label text=\"a\" font=\"1\"/>"
        "<HorizontalLayout height=\"20\"><Button name=\"closebtn\" text=\"x\" width=\"30\"/><Text text=\"&lt;b&gt;t\"/>"
        "</HorizontalLayout><RichEdit text=\"a&#13;b\" vscrollbar=\"true\" hscrollbar=\"true\" autohscroll=\"true\" "
        "password=\"true\" align=\"center right\" font=\"1\" textcolor=\"#FF102030\" inset=\"2,2,2,2\"><Leaf/>"
        "</RichEdit></VerticalLayout></Box><Leaf name=\"second top\"/></Window>",
        "<Window><Box><Include source=\"&lt;W&gt;&lt;Leaf/&gt;&lt;Include source=&quot;inc_b.xml&quot; "
        "count=&quot;2&quot;/&gt;&lt;/W&gt;\" count=\"2\"/><Include source=\"inc_b.xml\" count=\"300\"/></Box>"
        "<Include source=\"inc_a.xml\"/></Window>",
        "<Dialog size=\"10,10\"><Control pos=\"1,2,3,4\" float=\"true\"><Leaf/></Control>"
        "<Box><Box><OneBox><Leaf/><Include source=\"&lt;W&gt;&lt;Leaf/&gt;&lt;/W&gt;\" count=\"2\"/></OneBox></Box></Box></Dialog>",
        "<Window><TileLayout itemsize=\"30,0\" columns=\"0\" vscrollbar=\"true\"><Option group=\"g\" selected=\"true\"/>"
        "<CheckBox selected=\"true\" height=\"9\"/><DateTime text=\"\" font=\"3\"/>"
        "<Progress min=\"5\" max=\"5\" value=\"9\" hor=\"false\"/>"
        "<Slider thumbsize=\"40,-3\" step=\"7\"/><TabLayout selectedid=\"2\"><Leaf/><Option group=\"g\" "
        "selected=\"true\"/><ChildLayout xmlfile=\"child_self.xml\"><Leaf/></ChildLayout></TabLayout>"
        "<ChildLayout xmlfile=\"inc_a.xml\"/></TileLayout></Window>",
        // Hosted objects come from the simulated control beside this program, made at once or at
        // the first layout; unresolved identifiers and modules leave their controls empty.
        "<Window><HorizontalLayout><ActiveX modulename=\"activex_double.dll\" delaycreate=\"false\" "
        "clsid=\"{5E0C3A8B-6F1D-4B7A-9C42-1D8E7F60A3B5}\" width=\"40\"/><ActiveX clsid=\"SkinLib.NoSuchControl\"/>"
        "<VerticalLayout><ActiveX modulename=\"activex_double.dll\" clsid=\"{5E0C3A8B-6F1D-4B7A-9C42-1D8E7F60A3B5}\" "
        "visible=\"true\"/><ActiveX modulename=\"nosuch.dll\" clsid=\"{00000000-0000-0000-0000-00000000000F}\" "
        "delaycreate=\"false\"/></VerticalLayout></HorizontalLayout></Window>",
        // Lists sort their children by kind: headers, columns and items, in places they belong and not.
        "<Window><List header=\"hidden\" vscrollbar=\"true\" hscrollbar=\"true\" itemaltbk=\"true\" "
        "itemshowhtml=\"true\" scrollselect=\"true\"><ListHeader><ListHeaderItem text=\"a\" width=\"60\" "
        "sepwidth=\"-2\"/><ListHeaderItem text=\"{a x}b{/a}\" showhtml=\"true\"/></ListHeader><ListHeaderItem/>"
        "<ListTextElement selected=\"true\"/><ListLabelElement text=\"x\" visible=\"false\"/><ListContainerElement>"
        "<Leaf/><ListTextElement/></ListContainerElement><Leaf/><ListHeader/><Box><ListLabelElement/></Box></List>"
        "<ListTextElement/><ListHeaderItem><Leaf/></ListHeaderItem></Window>",
        // Combos take items and other controls alike; the drop-down's attributes wait for it to open.
        "<Window><VerticalLayout><Combo dropbox=\"inset=&quot;2,2,2,2&quot; vscrollbar=&quot;false&quot;\" "
        "dropboxsize=\"0,80\" itemaltbk=\"true\" itemshowhtml=\"true\" textpadding=\"2,0,2,0\"><ListLabelElement "
        "text=\"a\"/><ListLabelElement text=\"{b}b{/b}\" selected=\"true\"/><ListTextElement/><ListContainerElement>"
        "<Leaf/></ListContainerElement><Leaf/></Combo><ComboBox arrowimage=\"file='img.png' source='0,0,40,8'\" "
        "normalimage=\"img.png\"><ListLabelElement selected=\"true\"/><Box><ListLabelElement/></Box></ComboBox>"
        "<ComboBox arrowimage=\"file='img.png' source='0,0\"/></VerticalLayout></Window>",
        // Tree nodes join nodes and views with their subtrees and put their content into their
        // rows; anywhere else they are skipped.
        "<Window><TreeView visiblecheckbtn=\"true\" itemminwidth=\"120\" itemtextcolor=\"#FF102030\"><TreeNode "
        "text=\"a\" folderattr=\"selected=&quot;true&quot;\" checkboxattr=\"selected=&quot;true&quot;\"><Leaf/>"
        "<TreeNode text=\"b\" selected=\"true\"><TreeNode><Box><Leaf/></Box></TreeNode></TreeNode><TreeNode "
        "itemattr=\"group=&quot;g&quot;\"/></TreeNode><TreeNode/><Leaf/><Box><TreeNode><Leaf/></TreeNode></Box>"
        "</TreeView><TreeNode><Leaf/></TreeNode><ListContainerElement><TreeNode/></ListContainerElement></Window>",
        // COM is not initialised here, so the browser is never made; the Flash control's player is
        // the simulated one from the module, or none.
        "<Window><VerticalLayout><WebBrowser homepage=\"file:///C:/x.html\" autonavi=\"true\" "
        "delaycreate=\"false\"/><Flash modulename=\"activex_double.dll\" homepage=\"x\" width=\"50\"/>"
        "<HorizontalLayout><Flash delaycreate=\"false\"/><Flash modulename=\"activex_double.dll\" "
        "delaycreate=\"false\"/><WebBrowser/></HorizontalLayout></VerticalLayout></Window>",
    };
    CPaintManagerUI hostManager;
    SkinLibTest::CHostWindow wnd(hostManager, 200, 120, NULL, false);

    SkinLibTest::CCountedControlFactory factory;
    ActiveXDouble::CModule activeXDouble;
    ASSERT_TRUE(activeXDouble.IsLoaded());
    // Nothing is made by class identifier: no browser starts under the fuzzer.
    const CLSID kWebBrowserClsid = {0x8856f961, 0x340a, 0x11d0, {0xa9, 0x6b, 0x00, 0xc0, 0x4f, 0xd7, 0x05, 0xa2}};
    IUnknown* pUnk = NULL;
    ASSERT_EQ(::CoCreateInstance(kWebBrowserClsid, NULL, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&pUnk)),
              CO_E_NOTINITIALIZED);
    Random random{ Seeded(0x5EED0125) };
    // Renaming every element of one name keeps the document well formed, so that most cases
    // reach the builder with a different tree; byte mutations then break it in half the cases.
    static const char* const kElements[] = { "Window", "Box", "OneBox", "Leaf", "Control", "Include", "Font",
                                             "Image", "Default", "Unknown", "VerticalLayout", "Label", "Button",
                                             "Option", "CheckBox", "Progress", "Slider", "TileLayout",
                                             "TabLayout", "ChildLayout", "DateTime", "ActiveX", "RichEdit",
                                             "List", "ListHeader", "ListHeaderItem", "ListTextElement",
                                             "ListLabelElement", "ListContainerElement", "WebBrowser", "Flash",
                                             "Combo", "ComboBox", "TreeView", "TreeNode" };
    const size_t nElements = sizeof(kElements) / sizeof(kElements[0]);
    auto renameElements = [](std::string& xml, const std::string& from, const std::string& to) {
        for (const char* pstrOpen : { "<", "</" }) {
            const std::string tag = pstrOpen + from;
            for (size_t at = xml.find(tag); at != std::string::npos; at = xml.find(tag, at + 1)) {
                const char next = at + tag.size() < xml.size() ? xml[at + tag.size()] : '\0';
                if (::isalnum(static_cast<unsigned char>(next))) continue;
                xml.replace(at, tag.size(), pstrOpen + to);
            }
        }
    };
    RunCases("builder", [&](int i) {
        std::string xml = kSeeds[random.Below(sizeof(kSeeds) / sizeof(kSeeds[0]))];
        for (size_t n = random.Below(3); n > 0; --n)
            renameElements(xml, kElements[random.Below(nElements)], kElements[random.Below(nElements)]);
        Bytes bytes(xml.begin(), xml.end());
        if (random.Below(2) != 0) Mutate(random, bytes);
        std::wstring text;
        for (uint8_t b : bytes) text += wchar_t(b != 0 ? b : '\n');
        const int nLiveBefore = SkinLibTest::LiveCountedControls();
        int nBuilt = 0;
        {
            CPaintManagerUI pm;
            pm.Init(wnd);
            CDialogBuilder builder;
            CControlUI* pRoot = builder.Create(text.c_str(), NULL, &factory, &pm);
            if (pRoot != NULL) {
                nBuilt = 1;
                pm.AttachDialog(pRoot);
                ::InvalidateRect(wnd, NULL, FALSE);
                LRESULT lRes = 0;
                pm.MessageHandler(WM_PAINT, 0, 0, lRes);
            }
        }
        EXPECT_EQ(SkinLibTest::LiveCountedControls(), nLiveBefore) << "case " << i;
        EXPECT_EQ(activeXDouble.GetCounts().nLiveObjects, 0) << "case " << i;
        return nBuilt;
    });
}
