#include <gtest/gtest.h>
#include <windows.h>
#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "core/Markup.h"
#include "core/PaintManagerUI.h"
#include "ZipWriter.h"
#include "SkinSettings.h"

using namespace SkinLib;
namespace fs = std::filesystem;

namespace {

std::wstring ErrorMessage(const CMarkup& xml)
{
    wchar_t szMessage[100] = {};
    xml.GetLastErrorMessage(szMessage, 99);
    return szMessage;
}

std::wstring ErrorLocation(const CMarkup& xml)
{
    wchar_t szLocation[50] = {};
    xml.GetLastErrorLocation(szLocation, 49);
    return szLocation;
}

bool IsWhitespaceUnit(wchar_t ch)
{
    return ch > 0 && ch <= L' ';
}

std::wstring Repeat(const std::wstring& s, size_t n)
{
    std::wstring result;
    result.reserve(s.size() * n);
    while (n-- > 0) result += s;
    return result;
}

// The tree as text, "name{attribute=value ...}[value](children)", checking every link on the way.
std::wstring Dump(CMarkupNode node)
{
    std::wstring s;
    for (; node.IsValid(); node = node.GetSibling()) {
        s += (s.empty() ? L"" : L" ") + std::wstring(node.GetName());
        for (int i = 0, n = node.GetAttributeCount(); i < n; ++i)
            s += (i == 0 ? L"{" : L" ") + std::wstring(node.GetAttributeName(i)) + L"=" + node.GetAttributeValue(i) +
                 (i == n - 1 ? L"}" : L"");
        if (node.GetValue()[0] != L'\0') s += L"[" + std::wstring(node.GetValue()) + L"]";
        EXPECT_EQ(node.HasSiblings(), node.GetSibling().IsValid()) << s;
        EXPECT_EQ(node.HasChildren(), node.GetChild().IsValid()) << s;
        for (CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling())
            EXPECT_EQ(child.GetParent().GetName(), node.GetName()) << s;
        if (node.HasChildren()) s += L"(" + Dump(node.GetChild()) + L")";
    }
    return s;
}

} // namespace

TEST(Markup, ParseTable)
{
    const std::wstring longClose = L"<a></" + std::wstring(80, L'z') + L">", location49(49, L'z');
    const std::wstring nested = Repeat(L"<n>", 200) + Repeat(L"</n>", 200);
    const std::wstring nestedTree = Repeat(L"n(", 199) + L"n" + Repeat(L")", 199);
    // 4 MiB of nested elements must fail cleanly instead of exhausting the stack.
    const std::wstring deep = Repeat(L"<a>", 0x400000 / 3);
    const struct
    {
        const wchar_t* pstrXML;
        const wchar_t* pstrTree;  // as Dump shows the root; "" no root; null: the load fails
        const wchar_t* pstrMessage = L"";
        const wchar_t* pstrLocation = L"";  // null: not checked
    } cases[] = {
        { L"<a/>", L"a" }, { L"<a></a>", L"a" }, { L"  <a >\r\n</a >  ", L"a[\r\n]" },
        { L"<?xml version=\"1.0\"?><!-- c --><a><!-- d --><b/></a><!-- e -->", L"a(b)" },
        { L"<a>", L"a" }, { L"<a><b>text", L"a(b[text])" }, { L"<a/><b/>", L"a b" },
        { nested.c_str(), nestedTree.c_str() },
        { L"", L"" }, { L" \t\r\n ", L"" }, { L"<!-- only a comment -->", L"" },
        // A construct that never ends fails instead of taking the rest of the document with it;
        // a "->" anywhere ends one, as it always has.
        { L"<!-- never closed", NULL, L"Expected end of comment or declaration", L"!-- never closed" },
        { L"<?never closed", NULL, L"Expected end of comment or declaration", L"?never closed" },
        { L"<a><!-- c -><b/></a>", L"a(b)" }, { L"<!DOCTYPE a><!-- c --><a/>", L"a" },
        { L"<a><![CDATA[ x ]]><b/></a>", NULL, L"Expected end of comment or declaration", L"![CDATA[ x ]]><b/></a>" },
        { L"<a><!DOCTYPE a><b/></a>", NULL, L"Expected end of comment or declaration", L"!DOCTYPE a><b/></a>" },
        { L"<a><b/><!-- c ></a>", NULL, L"Expected end of comment or declaration", L"!-- c ></a>" },
        { L"<a/><? trailing", NULL, L"Expected end of comment or declaration", L"? trailing" },
        { L"<a/>< !-", NULL, L"Expected end of comment or declaration", L"!-" },
        { L"<a><b><c>text", NULL, L"Expected end-tag start" },
        { L"<a><b><c></c>", NULL, L"Expected start tag" },
        { L"text", NULL, L"Expected start tag", L"text" },
        { L"<a>x</a>junk", NULL, L"Expected start tag", L"junk" },
        { L"<a><b></a></b>", NULL, L"Unmatched closing tag", L"a></b>" },
        { L"<a></ab>", NULL, L"Unmatched closing tag", L"b>" },
        { longClose.c_str(), NULL, L"Unmatched closing tag", location49.c_str() },
        { L"<a", NULL, L"Error parsing element name" },
        { L"<a x=\"1\"", NULL, L"Expected start-tag closing" },
        { L"<a / >", NULL, L"Expected start-tag closing", L"/ >" },
        { L"<a x/>", NULL, L"Error while parsing attributes", L"/>" },
        { L"<a=\"1\"/>", NULL, L"Error while parsing attributes", L"\"1\"/>" },
        { L"<a x='1'/>", NULL, L"Expected attribute value", L"'1'/>" },
        { L"<a x=\"1/>", NULL, L"Error while parsing attribute string" },
        { deep.c_str(), NULL, L"Elements nested too deeply", NULL },
    };
    for (const auto& c : cases) {
        const std::wstring sWhat = std::wstring(c.pstrXML).substr(0, 80);
        CMarkup xml;
        EXPECT_EQ(xml.Load(c.pstrXML), c.pstrTree != NULL) << sWhat;
        EXPECT_EQ(xml.IsValid(), c.pstrTree != NULL) << sWhat;
        EXPECT_EQ(xml.GetRoot().IsValid(), c.pstrTree != NULL && c.pstrTree[0] != L'\0') << sWhat;
        if (c.pstrTree != NULL) {
            EXPECT_EQ(Dump(xml.GetRoot()), c.pstrTree) << sWhat;
        }
        EXPECT_EQ(ErrorMessage(xml), c.pstrMessage) << sWhat;
        if (c.pstrLocation != NULL) {
            EXPECT_EQ(ErrorLocation(xml), c.pstrLocation) << sWhat;
        }
    }
}

TEST(Markup, WalksTheTree)
{
    CMarkup xml(L"<Window size=\"10,20\">caption<Font id=\"0\"/><VerticalLayout><Button name=\"ok\"/>"
                L"<Button name=\"cancel\">Cancel</Button></VerticalLayout><font/></Window>");
    CMarkupNode root = xml.GetRoot();
    EXPECT_EQ(Dump(root), L"Window{size=10,20}[caption](Font{id=0} VerticalLayout(Button{name=ok} "
                          L"Button{name=cancel}[Cancel]) font)");
    EXPECT_FALSE(root.GetParent().IsValid());
    // A child by name: the first of that exact name.
    EXPECT_STREQ(root.GetChild(L"VerticalLayout").GetChild(L"Button").GetAttributeValue(L"name"), L"ok");
    EXPECT_STREQ(root.GetChild(L"font").GetName(), L"font");
    EXPECT_FALSE(root.GetChild(L"VerticalLayout").GetChild(L"button").IsValid());

    CMarkupNode invalid;
    wchar_t szValue[8];
    EXPECT_FALSE(invalid.IsValid() || invalid.GetChild(L"x").IsValid() || invalid.GetAttributeValue(L"x", szValue, 8));
    EXPECT_EQ(invalid.GetAttributeCount(), 0);
    for (const wchar_t* pstr : { invalid.GetName(), invalid.GetValue(), invalid.GetAttributeName(0),
                                 invalid.GetAttributeValue(0), invalid.GetAttributeValue(L"x") })
        EXPECT_EQ(pstr, nullptr);

    // Names and texts end where they end even when the document stops inside open elements.
    ASSERT_TRUE(xml.Load(L"<a>&amp;x<b x=\"1\">text"));
    EXPECT_EQ(Dump(xml.GetRoot()), L"a[&x](b{x=1}[text])");

    // Many siblings: the table grows several times while parents are being filled in.
    std::wstring wide = L"<root>";
    for (int i = 0; i < 3000; ++i) wide += L"<p><c i=\"" + std::to_wstring(i) + L"\"/></p>";
    ASSERT_TRUE(xml.Load((wide + L"</root>").c_str()));
    int nCount = 0;
    CMarkupNode last;
    for (CMarkupNode p = xml.GetRoot().GetChild(); p.IsValid(); p = p.GetSibling(), ++nCount) last = p;
    EXPECT_EQ(nCount, 3000);
    EXPECT_STREQ(last.GetChild().GetAttributeValue(L"i"), L"2999");
    EXPECT_STREQ(last.GetChild().GetParent().GetParent().GetName(), L"root");
}

TEST(Markup, Attributes)
{
    CMarkup xml(L"<a first=\"1\"  second = \"two words\"\tthird=\"\" ><b x=\"1\"/><c y=\"2\" /></a>");
    EXPECT_EQ(Dump(xml.GetRoot()), L"a{first=1 second=two words third=}(b{x=1} c{y=2})");
    CMarkupNode a = xml.GetRoot();
    EXPECT_TRUE(a.HasAttributes() && a.HasAttribute(L"third"));
    EXPECT_FALSE(a.HasAttribute(L"First"));
    // Missing names and indexes out of range give empty texts.
    for (const wchar_t* pstr : { a.GetAttributeValue(L"third"), a.GetAttributeValue(L"missing"), a.GetAttributeName(3),
                                 a.GetAttributeName(-1), a.GetAttributeValue(-1), a.GetAttributeValue(INT_MIN) })
        EXPECT_STREQ(pstr, L"");

    wchar_t szValue[16];
    ASSERT_TRUE(a.GetAttributeValue(L"second", szValue, 16));
    EXPECT_STREQ(szValue, L"two words");
    ::wmemset(szValue, L'#', 16);
    ASSERT_TRUE(a.GetAttributeValue(1, szValue, 3));
    EXPECT_EQ(std::wstring(szValue, 4), L"two#");
    EXPECT_FALSE(a.GetAttributeValue(L"missing", szValue, 16));
    EXPECT_FALSE(a.GetAttributeValue(-1, szValue, 16));

    // Only the first 64 attributes of an element are kept.
    std::wstring many = L"<a";
    for (int i = 0; i < 70; ++i) many += L" k" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    ASSERT_TRUE(xml.Load((many + L"/>").c_str()));
    CMarkupNode node = xml.GetRoot();
    EXPECT_EQ(node.GetAttributeCount(), 64);
    EXPECT_STREQ(node.GetAttributeValue(L"k63"), L"63");
    EXPECT_FALSE(node.HasAttribute(L"k64"));
}

// Five entities are known, anything else stays as written. Without preserved whitespace a run
// after a space collapses into it.
TEST(Markup, EntitiesAndWhitespace)
{
    CMarkup xml(L"<a v=\"&lt;&amp;&gt;\" w=\"&quot;x&apos;\" after=\"ok\">&amp;&foo; &#65; &AMP;</a>");
    EXPECT_EQ(Dump(xml.GetRoot()), L"a{v=<&> w=\"x' after=ok}[&&foo; &#65; &AMP;]");
    const wchar_t* pstrSpaced = L"<a t=\"p   q\">x   y\t  z\n w</a>";
    ASSERT_TRUE(xml.Load(pstrSpaced));
    EXPECT_EQ(Dump(xml.GetRoot()), L"a{t=p   q}[x   y\t  z\n w]");
    xml.SetPreserveWhitespace(false);
    ASSERT_TRUE(xml.Load(pstrSpaced));
    EXPECT_EQ(Dump(xml.GetRoot()), L"a{t=p q}[x y\t z\n w]");

    // Text beyond ASCII, a combining mark and spaces, moved down after an entity.
    const wchar_t* pstrMixed = L"<a v=\"&quot;\u4E2D \u0301  \u6587&apos;\">&amp;\u4E2D  \u6587</a>";
    ASSERT_TRUE(xml.Load(pstrMixed));
    EXPECT_EQ(Dump(xml.GetRoot()), L"a{v=\"\u4E2D \u0301 \u6587'}[&\u4E2D \u6587]");
    xml.SetPreserveWhitespace(true);
    ASSERT_TRUE(xml.Load(pstrMixed));
    EXPECT_EQ(Dump(xml.GetRoot()), L"a{v=\"\u4E2D \u0301  \u6587'}[&\u4E2D  \u6587]");
}

// Names take "_", ":" and what the system calls letters and digits, of any script: the same
// answer on both sides of the ASCII boundary. A unit that is no name unit ends the name and
// makes way for its terminator, so "b" becomes an attribute without a value.
TEST(Markup, NameUnitsOnBothSidesOfTheAsciiBoundary)
{
    std::vector<wchar_t> units;
    for (wchar_t ch = 1; ch < 0x100; ++ch) units.push_back(ch);
    for (wchar_t ch : { 0x0100, 0x0416 /* Cyrillic Zhe */, 0x0436, 0x05D0 /* Hebrew Alef */, 0x0663 /* Arabic-Indic three */,
                        0x0967 /* Devanagari one */, 0x2028, 0x3000 /* ideographic space */, 0x3007, 0x4E2D, 0xFF10,
                        0xFF21 /* fullwidth A */, 0xFF01, 0xFFFD, 0xFFFF })
        units.push_back(ch);
    for (wchar_t ch : units) {
        if (ch == L'>' || IsWhitespaceUnit(ch)) continue;  // they end the tag or the name in their own way
        const bool bName = ch == L'_' || ch == L':' || ::IsCharAlphaNumericW(ch);
        const std::wstring name = std::wstring(L"a") + ch + L"b";
        CMarkup xml;
        const bool bLoaded = xml.Load((L"<" + name + L"/>").c_str());
        EXPECT_EQ(bLoaded && name == xml.GetRoot().GetName(), bName) << "U+" << std::hex << int(ch);
        if (!bName && ch != L'/') {
            EXPECT_EQ(ErrorMessage(xml), L"Error while parsing attributes") << "U+" << std::hex << int(ch);
        }
    }

    CMarkup xml(L"<\u041A\u043D\u043E\u043F\u043A\u0430 \u0438\u043C\u044F=\"\u0663\"><\u6309\u94AE_2:x "
                L"\uFF41\uFF10=\"1\"/></\u041A\u043D\u043E\u043F\u043A\u0430>");
    EXPECT_EQ(Dump(xml.GetRoot()), L"\u041A\u043D\u043E\u043F\u043A\u0430{\u0438\u043C\u044F=\u0663}"
                                   L"(\u6309\u94AE_2:x{\uFF41\uFF10=1})");
}

// Plain runs that stop exactly at the end of the text, in names, values and content; before
// and after an entity, so that a run has moved; with characters beyond ASCII.
TEST(Markup, PlainRunsEndingAtTheEndOfTheText)
{
    const struct
    {
        const wchar_t* pstrXML;
        const wchar_t* pstrTree;  // null: the load fails with the message
        const wchar_t* pstrMessage = L"";
    } cases[] = {
        { L"<a>plain", L"a[plain]" },
        { L"<a>&lt;moved", L"a[<moved]" },
        { L"<a>x&amp;", L"a[x&]" },
        { L"<a>&amp", L"a[&amp]" },
        { L"<a>\u4E2D", L"a[\u4E2D]" },
        { L"<a>&gt;\u4E2D\u0301", L"a[>\u4E2D\u0301]" },
        { L"<a>x ", L"a[x ]" },
        { L"<a><b>&quot;q", L"a(b[\"q])" },
        { L"<a x=\"value", NULL, L"Error while parsing attribute string" },
        { L"<a x=\"&amp;value", NULL, L"Error while parsing attribute string" },
        { L"<a x=\"\u4E2D", NULL, L"Error while parsing attribute string" },
        { L"<name", NULL, L"Error parsing element name" },
        { L"<\u4E2D\u6587", NULL, L"Error parsing element name" },
        { L"<a x", NULL, L"Error while parsing attributes" },
    };
    for (bool bPreserve : { true, false }) {
        for (const auto& c : cases) {
            CMarkup xml;
            xml.SetPreserveWhitespace(bPreserve);
            EXPECT_EQ(xml.Load(c.pstrXML), c.pstrTree != NULL) << c.pstrXML;
            if (c.pstrTree != NULL) {
                EXPECT_EQ(Dump(xml.GetRoot()), c.pstrTree) << c.pstrXML;
            }
            EXPECT_EQ(ErrorMessage(xml), c.pstrMessage) << c.pstrXML;
        }
    }

    // A long run after an entity moves down whole, and what it saved reads as spaces.
    const std::wstring run = Repeat(L"0123456789", 1000);
    CMarkup xml((L"<a v=\"&amp;&amp;" + run + L"\" w=\"1\">&lt;" + run + L"</a>").c_str());
    EXPECT_EQ(Dump(xml.GetRoot()), L"a{v=&&" + run + L" w=1}[<" + run + L"]");
}

TEST(Markup, LoadsEncodings)
{
    CMarkup xml;
    const std::string utf8 = "<a n=\"\xC3\xA9t\xC3\xA9\">\xE4\xB8\xAD</a>", ansi = "<a n=\"\xE9\"/>";
    for (const std::string& bytes : { utf8, "\xEF\xBB\xBF" + utf8 }) {
        ASSERT_TRUE(xml.LoadFromMem(reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size()), SKIN_XML_UTF8));
        EXPECT_EQ(Dump(xml.GetRoot()), L"a{n=\u00E9t\u00E9}[\u4E2D]");
    }
    ASSERT_TRUE(xml.LoadFromMem(reinterpret_cast<const BYTE*>(ansi.data()), DWORD(ansi.size()), SKIN_XML_ANSI));
    EXPECT_EQ(Dump(xml.GetRoot()), L"a{n=\u00E9}");

    // UTF-16 comes from a read-only page, as a skin held in a module resource does.
    std::vector<BYTE> little = { 0xFF, 0xFE }, big = { 0xFE, 0xFF };
    for (const wchar_t* p = L"<b>\u4E2D</b>"; *p; ++p) {
        little.insert(little.end(), { BYTE(*p), BYTE(*p >> 8) });
        big.insert(big.end(), { BYTE(*p >> 8), BYTE(*p) });
    }
    big.push_back(0x3C);  // an odd trailing byte belongs to no unit
    BYTE* pPage = static_cast<BYTE*>(::VirtualAlloc(NULL, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    for (const std::vector<BYTE>* pBytes : { &little, &big }) {
        DWORD dwOld;
        ::CopyMemory(pPage, pBytes->data(), pBytes->size());
        ::VirtualProtect(pPage, 4096, PAGE_READONLY, &dwOld);
        ASSERT_TRUE(xml.LoadFromMem(pPage, DWORD(pBytes->size()), SKIN_XML_UTF16));
        EXPECT_EQ(Dump(xml.GetRoot()), L"b[\u4E2D]");
        ::VirtualProtect(pPage, 4096, PAGE_READWRITE, &dwOld);
    }
    ::VirtualFree(pPage, 0, MEM_RELEASE);

    // Without a byte-order mark, or shorter than one, UTF-16 does not load.
    EXPECT_FALSE(xml.LoadFromMem(little.data() + 2, DWORD(little.size() - 2), SKIN_XML_UTF16));
    EXPECT_FALSE(xml.IsValid());
    EXPECT_FALSE(xml.LoadFromMem(little.data(), 1, SKIN_XML_UTF16));
}

// UTF-8 reads as the system converts it, well-formed or not: every length of sequence at the
// edges of its range, and what is ill-formed (overlong forms, surrogates, beyond U+10FFFF,
// stray or missing continuation bytes), each after ASCII runs of every length up to 17, so
// that it falls at every place of an eight-byte step.
TEST(Markup, Utf8ReadsAsTheSystemConvertsIt)
{
    const char* const kSequences[] = {
        "\x7F", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xE4\xB8\xAD", "\xED\x9F\xBF", "\xEE\x80\x80",
        "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF",
        "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xED\xBF\xBF",
        "\xF0\x80\x80\x80", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF",
        "\x80", "\xBF\x80", "\xE4\xB8", "\xE4\xB8x", "\xF0\x9F\x98", "\xC3", "\xE4x\xAD",
    };
    for (const char* pstrSequence : kSequences) {
        for (size_t cchRun = 0; cchRun <= 17; ++cchRun) {
            // In a value, in content, and cut short at the very end of the text.
            const std::string text = std::string(cchRun, 'r') + pstrSequence;
            for (const std::string& bytes : { "<a v=\"" + text + "\">" + text + "</a>", "<a>" + text }) {
                std::wstring expected(bytes.size(), L'\0');
                expected.resize(::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), &expected[0],
                                                      int(expected.size())));
                CMarkup xml;
                ASSERT_TRUE(xml.LoadFromMem(reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size())));
                CMarkup converted(expected.c_str());
                EXPECT_EQ(Dump(xml.GetRoot()), Dump(converted.GetRoot())) << bytes;
            }
        }
    }
}

namespace {

// A resource folder of its own, and no skin archive, for the length of one test.
class ResourceFolder : public SkinLibTest::SkinSettingsTest
{
protected:
    void SetUp() override
    {
        fs::create_directories(m_folder);
        CPaintManagerUI::SetResourcePath((m_folder.wstring() + L"\\").c_str());
        CPaintManagerUI::SetResourceZip(L"", false);
    }

    template <class Bytes>
    void Write(const wchar_t* pstrName, const Bytes& bytes)
    {
        std::ofstream(m_folder / pstrName, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }

    // Loads the file into m_xml, which is reused across loads, and checks the outcome and the message.
    void ExpectLoad(const wchar_t* pstrName, bool bLoads, const wchar_t* pstrMessage)
    {
        EXPECT_EQ(m_xml.LoadFromFile(pstrName), bLoads) << pstrName;
        EXPECT_EQ(m_xml.IsValid(), bLoads) << pstrName;
        EXPECT_EQ(ErrorMessage(m_xml), pstrMessage) << pstrName;
        EXPECT_EQ(ErrorLocation(m_xml), L"") << pstrName;
    }

    const fs::path m_folder = fs::temp_directory_path() / L"markup_res";
    CMarkup m_xml;
};

} // namespace

// At most 4 MiB are read from a file.
TEST_F(ResourceFolder, LoadsFromDisk)
{
    const std::string exact = "<a>" + std::string(0x400000 - 7, ' ') + "</a>";
    Write(L"exact.xml", exact);
    Write(L"over.xml", exact + " ");
    Write(L"empty.xml", std::string());
    ExpectLoad(L"exact.xml", true, L"");
    ExpectLoad(L"over.xml", false, L"File too large");
    ExpectLoad(L"empty.xml", false, L"File is empty");
    ExpectLoad(L"missing.xml", false, L"Error opening file");
}

TEST_F(ResourceFolder, LoadsFromTheSkinArchive)
{
    SkinLibTest::ZipWriter writer;
    writer.Add("skin/main.xml", "<Window caption=\"x\"><Button/></Window>");
    writer.Add("empty.xml", "", 0);
    writer.Add("damaged.xml", "<a/>").crc = 0;
    writer.Add("big.xml", std::string(0x400001, ' '));
    Write(L"skins.zip", writer.Build());

    for (bool bCached : { false, true }) {
        SCOPED_TRACE(bCached ? "cached archive" : "archive opened per load");
        CPaintManagerUI::SetResourceZip(L"skins.zip", bCached);
        ASSERT_TRUE(m_xml.LoadFromFile(L"Skin\\MAIN.xml"));
        EXPECT_EQ(Dump(m_xml.GetRoot()), L"Window{caption=x}(Button)");
        ExpectLoad(L"other.xml", false, L"Could not find ziped file");
        ExpectLoad(L"empty.xml", false, L"File is empty");
        ExpectLoad(L"damaged.xml", false, L"Could not unzip file");
        ExpectLoad(L"big.xml", false, L"File too large");
        // A load after the failures still works: nothing was left half-open.
        ExpectLoad(L"skin/main.xml", true, L"");
    }

    CPaintManagerUI::SetResourceZip(L"missing.zip", false);
    ExpectLoad(L"skin/main.xml", false, L"Error opening zip file");
}
