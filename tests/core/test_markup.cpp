#include <gtest/gtest.h>
#include <windows.h>
#include <climits>
#include <string>
#include <vector>
#include "core/Markup.h"
#include "core/PaintManagerUI.h"
#include "ZipWriter.h"

using namespace SkinLib;

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

std::vector<BYTE> Bytes(const std::string& s)
{
    return std::vector<BYTE>(s.begin(), s.end());
}

struct ParseCase
{
    const wchar_t* pstrXML;
    bool bLoads;
    bool bHasRoot;
    const wchar_t* pstrMessage;
    const wchar_t* pstrLocation;  // null: not checked
};

const ParseCase kParseCases[] = {
    { L"<a/>", true, true, L"", L"" },
    { L"<a></a>", true, true, L"", L"" },
    { L"  <a >\r\n</a >  ", true, true, L"", L"" },
    { L"<?xml version=\"1.0\"?><!-- c --><a><!-- d --><b/></a><!-- e -->", true, true, L"", L"" },
    { L"<a>", true, true, L"", L"" },
    { L"<a><b>text", true, true, L"", L"" },
    { L"<a/><b/>", true, true, L"", L"" },
    { L"", true, false, L"", L"" },
    { L" \t\r\n ", true, false, L"", L"" },
    { L"<!-- only a comment -->", true, false, L"", L"" },
    { L"<!-- never closed", true, false, L"", L"" },
    { L"<?never closed", true, false, L"", L"" },
    { L"<a><b><c>text", false, false, L"Expected end-tag start", L"" },
    { L"<a><b><c></c>", false, false, L"Expected start tag", L"" },
    { L"text", false, false, L"Expected start tag", L"text" },
    { L"<a>x</a>junk", false, false, L"Expected start tag", L"junk" },
    { L"<a><b></a></b>", false, false, L"Unmatched closing tag", L"a></b>" },
    { L"<a></ab>", false, false, L"Unmatched closing tag", L"b>" },
    { L"<a", false, false, L"Error parsing element name", L"" },
    { L"<a x=\"1\"", false, false, L"Expected start-tag closing", L"" },
    { L"<a / >", false, false, L"Expected start-tag closing", L"/ >" },
    { L"<a x/>", false, false, L"Error while parsing attributes", L"/>" },
    { L"<a=\"1\"/>", false, false, L"Error while parsing attributes", L"\"1\"/>" },
    { L"<a x='1'/>", false, false, L"Expected attribute value", L"'1'/>" },
    { L"<a x=\"1/>", false, false, L"Error while parsing attribute string", L"" },
};

} // namespace

TEST(Markup, ParseTable)
{
    for (const ParseCase& c : kParseCases) {
        CMarkup xml;
        EXPECT_EQ(xml.Load(c.pstrXML), c.bLoads) << c.pstrXML;
        EXPECT_EQ(xml.IsValid(), c.bLoads) << c.pstrXML;
        EXPECT_EQ(xml.GetRoot().IsValid(), c.bHasRoot) << c.pstrXML;
        EXPECT_EQ(ErrorMessage(xml), c.pstrMessage) << c.pstrXML;
        if (c.pstrLocation != NULL) {
            EXPECT_EQ(ErrorLocation(xml), c.pstrLocation) << c.pstrXML;
        }
    }
}

TEST(Markup, ErrorLocationIsCutTo49Characters)
{
    CMarkup xml;
    std::wstring text = L"<a></" + std::wstring(80, L'z') + L">";
    EXPECT_FALSE(xml.Load(text.c_str()));
    EXPECT_EQ(ErrorLocation(xml), std::wstring(49, L'z'));
}

TEST(Markup, WalksTheTree)
{
    CMarkup xml(L"<Window size=\"10,20\">caption<Font id=\"0\"/><VerticalLayout><Button name=\"ok\"/>"
                L"<Button name=\"cancel\">Cancel</Button></VerticalLayout><font/></Window>");
    ASSERT_TRUE(xml.IsValid());
    CMarkupNode root = xml.GetRoot();
    EXPECT_STREQ(root.GetName(), L"Window");
    EXPECT_STREQ(root.GetValue(), L"caption");
    EXPECT_FALSE(root.GetParent().IsValid());
    EXPECT_FALSE(root.HasSiblings());
    EXPECT_TRUE(root.HasChildren());

    CMarkupNode font = root.GetChild();
    EXPECT_STREQ(font.GetName(), L"Font");
    EXPECT_STREQ(font.GetValue(), L"");
    EXPECT_FALSE(font.HasChildren());
    CMarkupNode layout = font.GetSibling();
    EXPECT_STREQ(layout.GetName(), L"VerticalLayout");
    EXPECT_STREQ(layout.GetParent().GetName(), L"Window");
    EXPECT_STREQ(layout.GetSibling().GetName(), L"font");
    EXPECT_FALSE(layout.GetSibling().GetSibling().IsValid());

    CMarkupNode button = layout.GetChild(L"Button");
    EXPECT_STREQ(button.GetAttributeValue(L"name"), L"ok");
    EXPECT_STREQ(button.GetSibling().GetAttributeValue(L"name"), L"cancel");
    EXPECT_STREQ(button.GetSibling().GetValue(), L"Cancel");
    EXPECT_STREQ(root.GetChild(L"font").GetName(), L"font");
    EXPECT_FALSE(layout.GetChild(L"button").IsValid());
    EXPECT_FALSE(font.GetChild().IsValid());

    CMarkupNode invalid;
    EXPECT_FALSE(invalid.IsValid());
    EXPECT_EQ(invalid.GetName(), nullptr);
    EXPECT_EQ(invalid.GetValue(), nullptr);
    EXPECT_FALSE(invalid.GetChild(L"x").IsValid());
    EXPECT_EQ(invalid.GetAttributeCount(), 0);
    EXPECT_EQ(invalid.GetAttributeName(0), nullptr);
    EXPECT_EQ(invalid.GetAttributeValue(0), nullptr);
    EXPECT_EQ(invalid.GetAttributeValue(L"x"), nullptr);
    wchar_t szValue[8];
    EXPECT_FALSE(invalid.GetAttributeValue(L"x", szValue, 8));

    xml.Release();
    EXPECT_FALSE(xml.IsValid());
    EXPECT_FALSE(xml.GetRoot().IsValid());

    // Names and texts end where they end even when the document stops inside open elements.
    ASSERT_TRUE(xml.Load(L"<a>&amp;x<b x=\"1\">text"));
    EXPECT_STREQ(xml.GetRoot().GetName(), L"a");
    EXPECT_STREQ(xml.GetRoot().GetValue(), L"&x");
    EXPECT_STREQ(xml.GetRoot().GetChild().GetName(), L"b");
    EXPECT_STREQ(xml.GetRoot().GetChild().GetValue(), L"text");
    EXPECT_STREQ(xml.GetRoot().GetChild().GetAttributeValue(L"x"), L"1");
}

TEST(Markup, Attributes)
{
    CMarkup xml(L"<a first=\"1\"  second = \"two words\"\tthird=\"\" ><b x=\"1\"/><c y=\"2\" /></a>");
    ASSERT_TRUE(xml.IsValid());
    CMarkupNode a = xml.GetRoot();
    ASSERT_EQ(a.GetAttributeCount(), 3);
    EXPECT_TRUE(a.HasAttributes());
    EXPECT_STREQ(a.GetAttributeName(1), L"second");
    EXPECT_STREQ(a.GetAttributeValue(1), L"two words");
    EXPECT_STREQ(a.GetAttributeValue(L"third"), L"");
    EXPECT_TRUE(a.HasAttribute(L"third"));
    EXPECT_FALSE(a.HasAttribute(L"First"));
    EXPECT_STREQ(a.GetAttributeValue(L"missing"), L"");
    EXPECT_STREQ(a.GetAttributeName(3), L"");
    EXPECT_STREQ(a.GetAttributeName(-1), L"");
    EXPECT_STREQ(a.GetAttributeValue(-1), L"");
    EXPECT_STREQ(a.GetAttributeValue(INT_MIN), L"");

    wchar_t szValue[16];
    ASSERT_TRUE(a.GetAttributeValue(L"second", szValue, 16));
    EXPECT_STREQ(szValue, L"two words");
    ::wmemset(szValue, L'#', 16);
    ASSERT_TRUE(a.GetAttributeValue(1, szValue, 3));
    EXPECT_EQ(std::wstring(szValue, 4), L"two#");
    EXPECT_FALSE(a.GetAttributeValue(L"missing", szValue, 16));
    EXPECT_FALSE(a.GetAttributeValue(-1, szValue, 16));

    EXPECT_EQ(a.GetChild().GetAttributeCount(), 1);
    EXPECT_EQ(a.GetChild().GetSibling().GetAttributeCount(), 1);
    EXPECT_STREQ(a.GetChild().GetSibling().GetAttributeValue(L"y"), L"2");

    std::wstring many = L"<a";
    for (int i = 0; i < 70; ++i) many += L" k" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    many += L"/>";
    ASSERT_TRUE(xml.Load(many.c_str()));
    CMarkupNode node = xml.GetRoot();
    EXPECT_EQ(node.GetAttributeCount(), 64);
    EXPECT_STREQ(node.GetAttributeValue(L"k63"), L"63");
    EXPECT_FALSE(node.HasAttribute(L"k64"));
}

TEST(Markup, EntitiesAndWhitespace)
{
    CMarkup xml(L"<a v=\"&lt;&amp;&gt;\" w=\"&quot;x&apos;\" after=\"ok\">&amp;&foo; &#65; &AMP;</a>");
    ASSERT_TRUE(xml.IsValid());
    CMarkupNode a = xml.GetRoot();
    EXPECT_STREQ(a.GetValue(), L"&&foo; &#65; &AMP;");
    EXPECT_STREQ(a.GetAttributeValue(L"v"), L"<&>");
    EXPECT_STREQ(a.GetAttributeValue(L"w"), L"\"x'");
    EXPECT_STREQ(a.GetAttributeValue(L"after"), L"ok");

    const wchar_t* pstrSpaced = L"<a t=\"p   q\">x   y\t  z\n w</a>";
    ASSERT_TRUE(xml.Load(pstrSpaced));
    EXPECT_STREQ(xml.GetRoot().GetValue(), L"x   y\t  z\n w");
    xml.SetPreserveWhitespace(false);
    ASSERT_TRUE(xml.Load(pstrSpaced));
    EXPECT_STREQ(xml.GetRoot().GetValue(), L"x y\t z\n w");
    EXPECT_STREQ(xml.GetRoot().GetAttributeValue(L"t"), L"p q");
}

TEST(Markup, LoadsEncodings)
{
    CMarkup xml;
    std::string utf8 = "<a n=\"\xC3\xA9t\xC3\xA9\">\xE4\xB8\xAD</a>";
    ASSERT_TRUE(xml.LoadFromMem(Bytes(utf8).data(), DWORD(utf8.size()), SKIN_XML_UTF8));
    EXPECT_STREQ(xml.GetRoot().GetAttributeValue(L"n"), L"\u00E9t\u00E9");
    EXPECT_STREQ(xml.GetRoot().GetValue(), L"\u4E2D");
    std::string bom = "\xEF\xBB\xBF" + utf8;
    ASSERT_TRUE(xml.LoadFromMem(Bytes(bom).data(), DWORD(bom.size()), SKIN_XML_UTF8));
    EXPECT_STREQ(xml.GetRoot().GetName(), L"a");
    EXPECT_STREQ(xml.GetRoot().GetValue(), L"\u4E2D");

    std::string ansi = "<a n=\"\xE9\"/>";
    ASSERT_TRUE(xml.LoadFromMem(Bytes(ansi).data(), DWORD(ansi.size()), SKIN_XML_ANSI));
    EXPECT_STREQ(xml.GetRoot().GetAttributeValue(L"n"), L"\u00E9");

    // UTF-16 comes from a read-only page, as a skin held in a module resource does.
    const wchar_t* pstrText = L"<b>\u4E2D</b>";
    std::vector<BYTE> little = { 0xFF, 0xFE }, big = { 0xFE, 0xFF };
    for (const wchar_t* p = pstrText; *p; ++p) {
        little.push_back(BYTE(*p));
        little.push_back(BYTE(*p >> 8));
        big.push_back(BYTE(*p >> 8));
        big.push_back(BYTE(*p));
    }
    big.push_back(0x3C);  // an odd trailing byte belongs to no unit
    BYTE* pPage = static_cast<BYTE*>(::VirtualAlloc(NULL, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    for (const std::vector<BYTE>* pBytes : { &little, &big }) {
        ::CopyMemory(pPage, pBytes->data(), pBytes->size());
        DWORD dwOld;
        ::VirtualProtect(pPage, 4096, PAGE_READONLY, &dwOld);
        ASSERT_TRUE(xml.LoadFromMem(pPage, DWORD(pBytes->size()), SKIN_XML_UTF16));
        EXPECT_STREQ(xml.GetRoot().GetName(), L"b");
        EXPECT_STREQ(xml.GetRoot().GetValue(), L"\u4E2D");
        ::VirtualProtect(pPage, 4096, PAGE_READWRITE, &dwOld);
    }
    ::VirtualFree(pPage, 0, MEM_RELEASE);

    EXPECT_FALSE(xml.LoadFromMem(little.data() + 2, DWORD(little.size() - 2), SKIN_XML_UTF16));
    EXPECT_FALSE(xml.IsValid());
    EXPECT_FALSE(xml.LoadFromMem(little.data(), 1, SKIN_XML_UTF16));
}

TEST(Markup, RefusesDeepNestingButKeepsLargeTables)
{
    // 4 MiB of nested elements must fail cleanly instead of exhausting the stack.
    std::wstring deep;
    deep.reserve(0x400000);
    while (deep.size() + 3 <= 0x400000) deep += L"<a>";
    CMarkup xml;
    EXPECT_FALSE(xml.Load(deep.c_str()));
    EXPECT_FALSE(xml.IsValid());
    EXPECT_EQ(ErrorMessage(xml), L"Elements nested too deeply");

    std::wstring nested;
    for (int i = 0; i < 200; ++i) nested += L"<n>";
    for (int i = 0; i < 200; ++i) nested += L"</n>";
    EXPECT_TRUE(xml.Load(nested.c_str()));

    // Many siblings: the table grows several times while parents are being filled in.
    std::wstring wide = L"<root>";
    for (int i = 0; i < 3000; ++i) wide += L"<p><c i=\"" + std::to_wstring(i) + L"\"/></p>";
    wide += L"</root>";
    ASSERT_TRUE(xml.Load(wide.c_str()));
    int nCount = 0;
    CMarkupNode last;
    for (CMarkupNode p = xml.GetRoot().GetChild(); p.IsValid(); p = p.GetSibling()) {
        ++nCount;
        last = p;
    }
    EXPECT_EQ(nCount, 3000);
    EXPECT_STREQ(last.GetChild().GetAttributeValue(L"i"), L"2999");
    EXPECT_STREQ(last.GetChild().GetParent().GetParent().GetName(), L"root");
}

namespace {

// A resource folder of its own, and no skin archive, for the length of one test.
class ResourceFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wchar_t szTemp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, szTemp);
        m_folder = std::wstring(szTemp) + L"markup_res\\";
        ::CreateDirectoryW(m_folder.c_str(), NULL);
        CPaintManagerUI::SetResourcePath(m_folder.c_str());
        CPaintManagerUI::SetResourceZip(L"", false);
    }
    void TearDown() override { CPaintManagerUI::SetResourceZip(L"", false); }

    void Write(const wchar_t* pstrName, const std::vector<BYTE>& bytes)
    {
        HANDLE h = ::CreateFileW((m_folder + pstrName).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD dwWritten;
        ::WriteFile(h, bytes.data(), DWORD(bytes.size()), &dwWritten, NULL);
        ::CloseHandle(h);
    }

    std::wstring m_folder;
};

} // namespace

TEST_F(ResourceFolder, LoadsFromDisk)
{
    std::string exact = "<a>";
    exact += std::string(0x400000 - 7, ' ');
    exact += "</a>";
    Write(L"exact.xml", Bytes(exact));
    Write(L"over.xml", Bytes(exact + " "));
    Write(L"empty.xml", {});

    CMarkup xml;
    EXPECT_TRUE(xml.LoadFromFile(L"exact.xml"));
    EXPECT_FALSE(xml.LoadFromFile(L"over.xml"));
    EXPECT_EQ(ErrorMessage(xml), L"File too large");
    EXPECT_EQ(ErrorLocation(xml), L"");
    EXPECT_FALSE(xml.LoadFromFile(L"empty.xml"));
    EXPECT_EQ(ErrorMessage(xml), L"File is empty");
    EXPECT_FALSE(xml.LoadFromFile(L"missing.xml"));
    EXPECT_EQ(ErrorMessage(xml), L"Error opening file");
    EXPECT_FALSE(xml.IsValid());
}

TEST_F(ResourceFolder, LoadsFromTheSkinArchive)
{
    SkinLibTest::ZipWriter writer;
    writer.Add("skin/main.xml", "<Window caption=\"x\"><Button/></Window>");
    writer.Add("empty.xml", "", 0);
    writer.Add("damaged.xml", "<a/>").overrideCrc = true;
    writer.Add("big.xml", std::string(0x400001, ' '));
    Write(L"skins.zip", writer.Build());

    for (bool bCached : { false, true }) {
        CPaintManagerUI::SetResourceZip(L"skins.zip", bCached);
        CMarkup xml;
        ASSERT_TRUE(xml.LoadFromFile(L"Skin\\MAIN.xml")) << bCached;
        EXPECT_STREQ(xml.GetRoot().GetChild().GetName(), L"Button");
        EXPECT_FALSE(xml.LoadFromFile(L"other.xml"));
        EXPECT_EQ(ErrorMessage(xml), L"Could not find ziped file");
        EXPECT_FALSE(xml.LoadFromFile(L"empty.xml"));
        EXPECT_EQ(ErrorMessage(xml), L"File is empty");
        EXPECT_FALSE(xml.LoadFromFile(L"damaged.xml"));
        EXPECT_EQ(ErrorMessage(xml), L"Could not unzip file");
        EXPECT_FALSE(xml.LoadFromFile(L"big.xml"));
        EXPECT_EQ(ErrorMessage(xml), L"File too large");
        // A second load after a failure still works: nothing was left half-open.
        EXPECT_TRUE(xml.LoadFromFile(L"skin/main.xml"));
    }

    CPaintManagerUI::SetResourceZip(L"missing.zip", false);
    CMarkup xml;
    EXPECT_FALSE(xml.LoadFromFile(L"skin/main.xml"));
    EXPECT_EQ(ErrorMessage(xml), L"Error opening zip file");
}
