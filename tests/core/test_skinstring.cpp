#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "core/SkinString.h"

using SkinLib::CSkinString;

namespace SkinLib {

// Failure messages show the text rather than the pointer it converts to.
void PrintTo(const CSkinString& s, std::ostream* os)
{
    *os << ::testing::PrintToString(std::wstring(s.GetData()));
}

} // namespace SkinLib

namespace {

bool IsInline(const CSkinString& s)
{
    const char* p = reinterpret_cast<const char*>(s.GetData());
    const char* pBegin = reinterpret_cast<const char*>(&s);
    return p >= pBegin && p < pBegin + sizeof(s);
}

CSkinString Digits(int n)
{
    CSkinString s;
    for (int i = 0; i < n; i++) s += static_cast<wchar_t>(L'0' + i % 10);
    return s;
}

} // namespace

// Up to 62 characters live inside the object, longer texts on the heap; a text
// that shrinks back (also one cut short by SetAt) moves inline again.
TEST(SkinStringStorage, TextAndPlaceAfterEachChange)
{
    const struct
    {
        int nStart;  // the string starts as Digits(nStart)
        void (*pChange)(CSkinString&);
        CSkinString sExpected;
        bool bInline;
    } cases[] = {
        { 62, [](CSkinString&) {}, Digits(62), true },
        { 63, [](CSkinString&) {}, Digits(63), false },
        { 63, [](CSkinString& s) { s = L"0123456789"; }, L"0123456789", true },
        { 62, [](CSkinString& s) { s += L"y"; }, Digits(62) + L"y", false },
        { 70, [](CSkinString& s) { s += L"b"; }, Digits(70) + L"b", false },
        { 70, [](CSkinString& s) { s.SetAt(5, L'\0'); s += L"xy"; }, L"01234xy", true },
        { 90, [](CSkinString& s) { s = L'z'; }, L"z", true },
        { 90, [](CSkinString& s) { s.Empty(); }, L"", true },
        { 80, [](CSkinString& s) { s = static_cast<const wchar_t*>(nullptr); }, L"", true },
        { 80, [](CSkinString& s) { s = static_cast<const char*>(nullptr); }, L"", true },
        { 0, [](CSkinString& s) { s = std::string(100, 'k').c_str(); }, std::wstring(100, L'k').c_str(), false },
        { 0, [](CSkinString& s) {
              s = "ansi";
              s += " text";
              s += static_cast<const char*>(nullptr);
              s += static_cast<const wchar_t*>(nullptr);
          }, L"ansi text", true },
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++) {
        CSkinString s = Digits(cases[i].nStart);
        cases[i].pChange(s);
        EXPECT_EQ(s, cases[i].sExpected.GetData()) << "case " << i;
        EXPECT_EQ(IsInline(s), cases[i].bInline) << "case " << i;
    }

    EXPECT_EQ(CSkinString(L"abcdefghij", 3), L"abc");
    EXPECT_TRUE(CSkinString(nullptr, 5).IsEmpty());
    // A length beyond the text stops at its terminator instead of asking
    // for a block of that size.
    EXPECT_EQ(CSkinString(L"abc", INT_MAX), L"abc");
    EXPECT_EQ(CSkinString(L"abc") + static_cast<const wchar_t*>(nullptr), L"abc");
}

// Texts taken from the string itself must survive the string freeing or
// moving its storage while they are copied. Freed memory often keeps its
// contents, so each case runs over many lengths to meet a reused block.
TEST(SkinStringAliasing, AppendAndAssignOwnText)
{
    for (int n = 20; n < 200; n++) {
        const CSkinString sExpected = Digits(n);
        CSkinString s = sExpected;
        s += s;
        ASSERT_EQ(s, (sExpected + sExpected).GetData()) << n;
        s = sExpected;
        s.Append(s.GetData() + n / 2);
        ASSERT_EQ(s, (sExpected + sExpected.Mid(n / 2)).GetData()) << n;
        if (n < 63) continue;

        s = sExpected;
        s = s.GetData() + (n - 62);  // heap to inline: the block is freed
        ASSERT_TRUE(IsInline(s));
        ASSERT_EQ(s, sExpected.Right(62).GetData()) << n;
        s = sExpected;
        s.Assign(s.GetData(), 3);
        ASSERT_EQ(s, L"012") << n;
        s = sExpected;
        s.Assign(s.GetData() + 1, n - 1);
        ASSERT_EQ(s, sExpected.Mid(1).GetData()) << n;
        // Text behind a terminator that SetAt wrote still lies in the block.
        s = sExpected;
        const wchar_t* pTail = s.GetData() + n - 10;
        s.SetAt(5, L'\0');
        s = pTail;
        ASSERT_EQ(s, sExpected.Right(10).GetData()) << n;
    }

    CSkinString s(L"abcdef");
    s = s.GetData() + 2;
    EXPECT_EQ(s, L"cdef");
    // Assigning the string its own whole text leaves the block alone.
    s = Digits(80);
    const wchar_t* pBefore = s.GetData();
    s = s;
    s.Assign(s.GetData());
    EXPECT_EQ(s.GetData(), pBefore);
    EXPECT_EQ(s, Digits(80).GetData());
}

TEST(SkinStringSearch, FindAndPiecesStayInBounds)
{
    const CSkinString s(L"abcabc");
    EXPECT_EQ(s.Find(L'c', 3), 5);
    EXPECT_EQ(s.Find(L'a', -1), -1);
    EXPECT_EQ(s.Find(L'a', 6), -1);  // a character search may not start at the length
    EXPECT_EQ(s.Find(L"bc", 2), 4);
    EXPECT_EQ(s.Find(L"bc", 6), -1);  // a text search may: the empty tail
    EXPECT_EQ(s.Find(L"", 6), 6);
    EXPECT_EQ(s.Find(L"a", 7), -1);
    EXPECT_EQ(s.ReverseFind(L'a'), 3);
    EXPECT_EQ(s.ReverseFind(L'q'), -1);

    const CSkinString t(L"abcdef");
    const struct { CSkinString sPiece; const wchar_t* pstrExpected; } pieces[] = {
        { t.Mid(3, -1), L"def" }, { t.Mid(3, 10), L"def" }, { t.Mid(6, -1), L"" },
        { t.Mid(1, INT_MAX), L"bcdef" }, { t.Mid(INT_MAX, INT_MAX), L"" }, { t.Mid(-1, 2), L"" },
        { t.Left(-2), L"" }, { t.Left(99), L"abcdef" }, { CSkinString(L"xyz").Right(10), L"xyz" }, { t.Right(-1), L"" },
    };
    for (const auto& piece : pieces) EXPECT_EQ(piece.sPiece, piece.pstrExpected);
}

TEST(SkinStringReplace, CountsAndDoesNotRescanInsertedText)
{
    CSkinString s(L"aXa");
    EXPECT_EQ(s.Replace(L"a", L"aa"), 2);
    EXPECT_EQ(s, L"aaXaa");

    s = L"abc";
    EXPECT_EQ(s.Replace(L"", L"x"), 0);
    EXPECT_EQ(s, L"abc");

    s = Digits(60);
    EXPECT_EQ(s.Replace(L"1", L"one"), 6);
    EXPECT_EQ(s.GetLength(), 72);
    EXPECT_FALSE(IsInline(s));

    // Both texts may be the string's own.
    s = L"abab";
    EXPECT_EQ(s.Replace(s.GetData() + 2, s.GetData() + 3), 2);
    EXPECT_EQ(s, L"bb");
}

// %s takes a wide text, results of any length are kept whole (SmallFormat
// too), and the string's own text may be the format.
TEST(SkinStringFormat, WideArgumentsAnyLength)
{
    CSkinString s;
    EXPECT_EQ(s.Format(L"%s%d.png", L"png_reg_fingerprint_", 3), 25);
    EXPECT_EQ(s, L"png_reg_fingerprint_3.png");
    EXPECT_EQ(s.Format(L"%d", 0), 1);  // a literal 0 is an argument, not a va_list
    EXPECT_EQ(s, L"0");
    const CSkinString sLong = Digits(300);
    EXPECT_EQ(s.Format(L"[%s]", sLong.GetData()), 302);
    EXPECT_EQ(s.Mid(1, 300), sLong.GetData());
    s = L"n=%d";
    s.Format(s, 42);
    EXPECT_EQ(s, L"n=42");

    const wchar_t* pExpected = L"source='-2000000000,-2000000001,-2000000002,-2000000003' "
                               L"dest='-2100000000,-2100000001,-2100000002,-2100000003'";
    EXPECT_EQ(s.SmallFormat(L"source='%d,%d,%d,%d' dest='%d,%d,%d,%d'", -2000000000, -2000000001, -2000000002,
                            -2000000003, -2100000000, -2100000001, -2100000002, -2100000003),
              static_cast<int>(wcslen(pExpected)));
    EXPECT_EQ(s, pExpected);
    s = L"%s!";
    s.SmallFormat(s, L"hi");
    EXPECT_EQ(s, L"hi!");
    for (int nLen = 62; nLen <= 65; nLen++) {
        EXPECT_EQ(s.SmallFormat(L"%s", Digits(nLen).GetData()), nLen);
        EXPECT_EQ(s, Digits(nLen).GetData());
    }
}

// A secret leaves nothing readable in the object: a text that grew onto the
// heap left its first characters behind in the inline buffer, and those go too.
TEST(SkinStringSecureEmpty, NoCharacterStaysInTheObject)
{
    for (int nLen : {4, 62, 63, 70}) {
        CSkinString s(L"9137");
        while (s.GetLength() < nLen) s += L'5';
        s.SecureEmpty();
        EXPECT_TRUE(s.IsEmpty()) << nLen;
        EXPECT_TRUE(IsInline(s)) << nLen;
        const wchar_t* pBegin = reinterpret_cast<const wchar_t*>(&s);
        const wchar_t* pEnd = pBegin + sizeof(s) / sizeof(wchar_t);
        EXPECT_EQ(std::count_if(pBegin, pEnd, [](wchar_t ch) { return ch == L'9' || ch == L'5'; }), 0) << nLen;
        s = L"reused";
        EXPECT_EQ(s, L"reused");
    }
}
