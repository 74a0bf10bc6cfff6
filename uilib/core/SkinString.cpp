// CSkinString:
//   - storage: the inline buffer, the heap block beyond it, ANSI conversion
//   - construction, access, emptying (plain and secure)
//   - assignment and appending, safe for texts taken from the string itself
//   - operators, comparison and case
//   - substrings, search and replacement
//   - formatting
#include "core/SkinString.h"

#include <windows.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <malloc.h>
#include <memory>

namespace SkinLib {

namespace {

struct FreeDeleter
{
    void operator()(void* p) const { ::free(p); }
};
using HeapText = std::unique_ptr<wchar_t[], FreeDeleter>;

// Room for cch characters and the terminator.
wchar_t* AllocText(size_t cch)
{
    return static_cast<wchar_t*>(::malloc((cch + 1) * sizeof(wchar_t)));
}

wchar_t* ReallocText(wchar_t* pText, size_t cch)
{
    return static_cast<wchar_t*>(::realloc(pText, (cch + 1) * sizeof(wchar_t)));
}

HeapText AnsiToWide(const char* lpStr)
{
    const UINT cp = ::GetACP();
    const int cch = ::MultiByteToWideChar(cp, 0, lpStr, -1, nullptr, 0);
    if (cch <= 0) return nullptr;
    HeapText pText(AllocText(cch - 1));
    if (pText != nullptr) ::MultiByteToWideChar(cp, 0, lpStr, -1, pText.get(), cch);
    return pText;
}

} // namespace

// Assign and Append free or move their block, so a text taken from the string
// itself has to be copied out before either touches the storage. The whole
// block counts, not only the part before the terminator: SetAt may have cut a
// heap text short while the characters behind the cut are still readable.
bool CSkinString::IsInStorage(const wchar_t* p) const
{
    const size_t cchBlock = m_pStr == m_szBuffer ? MAX_LOCAL_STRING_LEN + 1 : ::_msize(m_pStr) / sizeof(wchar_t);
    const std::less<const wchar_t*> less;
    return !less(p, m_pStr) && less(p, m_pStr + cchBlock);
}

CSkinString::CSkinString()
    : m_pStr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
}

CSkinString::CSkinString(wchar_t ch)
    : m_pStr(m_szBuffer)
{
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
}

CSkinString::CSkinString(const wchar_t* lpsz, int nLen)
    : m_pStr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
    Assign(lpsz, nLen);
}

CSkinString::CSkinString(const CSkinString& src)
    : m_pStr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
    Assign(src.m_pStr);
}

CSkinString::~CSkinString()
{
    if (m_pStr != m_szBuffer) ::free(m_pStr);
}

int CSkinString::GetLength() const
{
    return static_cast<int>(::wcslen(m_pStr));
}

bool CSkinString::IsEmpty() const
{
    return m_pStr[0] == L'\0';
}

const wchar_t* CSkinString::GetData() const
{
    return m_pStr;
}

CSkinString::operator const wchar_t*() const
{
    return m_pStr;
}

wchar_t CSkinString::GetAt(int nIndex) const
{
    return m_pStr[nIndex];
}

wchar_t CSkinString::operator[](int nIndex) const
{
    return m_pStr[nIndex];
}

void CSkinString::SetAt(int nIndex, wchar_t ch)
{
    m_pStr[nIndex] = ch;
}

void CSkinString::Empty()
{
    if (m_pStr != m_szBuffer) ::free(m_pStr);
    m_pStr = m_szBuffer;
    m_szBuffer[0] = L'\0';
}

void CSkinString::SecureEmpty()
{
    if (m_pStr != m_szBuffer) {
        ::SecureZeroMemory(m_pStr, ::_msize(m_pStr));
        ::free(m_pStr);
        m_pStr = m_szBuffer;
    }
    ::SecureZeroMemory(m_szBuffer, sizeof(m_szBuffer));
}

// When memory runs out the string keeps its old contents.
void CSkinString::Assign(const wchar_t* pstr, int nLength)
{
    if (pstr == nullptr) pstr = L"";
    // Never more than the text holds, so a generous length cannot ask for a
    // huge block.
    const size_t cch = nLength < 0 ? ::wcslen(pstr) : ::wcsnlen(pstr, nLength);
    if (cch > INT_MAX - 1) return;

    if (IsInStorage(pstr)) {
        if (pstr == m_pStr && cch == ::wcslen(m_pStr)) return;
        const CSkinString sCopy(pstr, static_cast<int>(cch));
        Assign(sCopy.m_pStr);
        return;
    }

    if (cch < MAX_LOCAL_STRING_LEN) {
        if (m_pStr != m_szBuffer) {
            ::free(m_pStr);
            m_pStr = m_szBuffer;
        }
    }
    else if (m_pStr == m_szBuffer) {
        wchar_t* pNew = AllocText(cch);
        if (pNew == nullptr) return;
        m_pStr = pNew;
    }
    else if (::wcslen(m_pStr) < cch) {
        wchar_t* pNew = ReallocText(m_pStr, cch);
        if (pNew == nullptr) return;
        m_pStr = pNew;
    }
    ::wmemcpy(m_pStr, pstr, cch);
    m_pStr[cch] = L'\0';
}

void CSkinString::Append(const wchar_t* pstr)
{
    if (pstr == nullptr) return;
    if (IsInStorage(pstr)) {
        const CSkinString sCopy(pstr);
        Append(sCopy.m_pStr);
        return;
    }

    const size_t cchOld = ::wcslen(m_pStr);
    const size_t cchAdd = ::wcslen(pstr);
    if (cchAdd > INT_MAX - 1 - cchOld) return;
    const size_t cchTotal = cchOld + cchAdd;

    if (cchTotal < MAX_LOCAL_STRING_LEN) {
        if (m_pStr != m_szBuffer) {
            ::wmemcpy(m_szBuffer, m_pStr, cchOld + 1);
            ::free(m_pStr);
            m_pStr = m_szBuffer;
        }
    }
    else if (m_pStr == m_szBuffer) {
        wchar_t* pNew = AllocText(cchTotal);
        if (pNew == nullptr) return;
        ::wmemcpy(pNew, m_szBuffer, cchOld + 1);
        m_pStr = pNew;
    }
    else {
        wchar_t* pNew = ReallocText(m_pStr, cchTotal);
        if (pNew == nullptr) return;
        m_pStr = pNew;
    }
    ::wmemcpy(m_pStr + cchOld, pstr, cchAdd + 1);
}

const CSkinString& CSkinString::operator=(const CSkinString& src)
{
    Assign(src.m_pStr);
    return *this;
}

const CSkinString& CSkinString::operator=(const wchar_t* pstr)
{
    if (pstr == nullptr) Empty();
    else Assign(pstr);
    return *this;
}

const CSkinString& CSkinString::operator=(const char* lpStr)
{
    if (lpStr == nullptr) {
        Empty();
        return *this;
    }
    const HeapText pText = AnsiToWide(lpStr);
    if (pText != nullptr) Assign(pText.get());
    return *this;
}

const CSkinString& CSkinString::operator=(wchar_t ch)
{
    Empty();
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
    return *this;
}

const CSkinString& CSkinString::operator+=(const CSkinString& src)
{
    Append(src.m_pStr);
    return *this;
}

const CSkinString& CSkinString::operator+=(const wchar_t* pstr)
{
    Append(pstr);
    return *this;
}

const CSkinString& CSkinString::operator+=(const char* lpStr)
{
    if (lpStr == nullptr) return *this;
    const HeapText pText = AnsiToWide(lpStr);
    if (pText != nullptr) Append(pText.get());
    return *this;
}

const CSkinString& CSkinString::operator+=(wchar_t ch)
{
    const wchar_t str[] = { ch, L'\0' };
    Append(str);
    return *this;
}

CSkinString CSkinString::operator+(const CSkinString& src) const
{
    CSkinString sResult(*this);
    sResult.Append(src.m_pStr);
    return sResult;
}

CSkinString CSkinString::operator+(const wchar_t* pstr) const
{
    CSkinString sResult(*this);
    sResult.Append(pstr);
    return sResult;
}

bool CSkinString::operator==(const wchar_t* str) const { return Compare(str) == 0; }
bool CSkinString::operator!=(const wchar_t* str) const { return Compare(str) != 0; }
bool CSkinString::operator<=(const wchar_t* str) const { return Compare(str) <= 0; }
bool CSkinString::operator<(const wchar_t* str) const { return Compare(str) < 0; }
bool CSkinString::operator>=(const wchar_t* str) const { return Compare(str) >= 0; }
bool CSkinString::operator>(const wchar_t* str) const { return Compare(str) > 0; }

int CSkinString::Compare(const wchar_t* pstr) const
{
    return ::wcscmp(m_pStr, pstr);
}

int CSkinString::CompareNoCase(const wchar_t* pstr) const
{
    return ::_wcsicmp(m_pStr, pstr);
}

void CSkinString::MakeUpper()
{
    ::_wcsupr(m_pStr);
}

void CSkinString::MakeLower()
{
    ::_wcslwr(m_pStr);
}

CSkinString CSkinString::Left(int nLength) const
{
    const int nLen = GetLength();
    if (nLength < 0) nLength = 0;
    if (nLength > nLen) nLength = nLen;
    return CSkinString(m_pStr, nLength);
}

CSkinString CSkinString::Mid(int iPos, int nLength) const
{
    const int nLen = GetLength();
    if (iPos < 0 || iPos > nLen) return CSkinString();
    if (nLength < 0 || nLength > nLen - iPos) nLength = nLen - iPos;
    if (nLength <= 0) return CSkinString();
    return CSkinString(m_pStr + iPos, nLength);
}

CSkinString CSkinString::Right(int nLength) const
{
    const int nLen = GetLength();
    if (nLength < 0) return CSkinString();
    if (nLength > nLen) nLength = nLen;
    return CSkinString(m_pStr + nLen - nLength, nLength);
}

int CSkinString::Find(wchar_t ch, int iPos) const
{
    if (iPos != 0 && (iPos < 0 || iPos >= GetLength())) return -1;
    const wchar_t* p = ::wcschr(m_pStr + iPos, ch);
    return p != nullptr ? static_cast<int>(p - m_pStr) : -1;
}

int CSkinString::Find(const wchar_t* pstr, int iPos) const
{
    if (iPos < 0 || iPos > GetLength()) return -1;
    // The runtime's wcsstr does not find an empty text in an empty tail.
    if (pstr[0] == L'\0') return iPos;
    const wchar_t* p = ::wcsstr(m_pStr + iPos, pstr);
    return p != nullptr ? static_cast<int>(p - m_pStr) : -1;
}

int CSkinString::ReverseFind(wchar_t ch) const
{
    const wchar_t* p = ::wcsrchr(m_pStr, ch);
    return p != nullptr ? static_cast<int>(p - m_pStr) : -1;
}

// Searching resumes after the inserted text, so a replacement that contains
// the searched text is not replaced again. An empty pattern matches nothing.
int CSkinString::Replace(const wchar_t* pstrFrom, const wchar_t* pstrTo)
{
    // Own copies: either text may point into this string, which changes below.
    const CSkinString sFrom(pstrFrom);
    const CSkinString sTo(pstrTo);
    if (sFrom.IsEmpty()) return 0;
    const int cchFrom = sFrom.GetLength();
    const int cchTo = sTo.GetLength();
    int nCount = 0;
    for (int iPos = Find(sFrom, 0); iPos >= 0; iPos = Find(sFrom, iPos + cchTo)) {
        *this = Left(iPos) + sTo + (m_pStr + iPos + cchFrom);
        nCount++;
    }
    return nCount;
}

int CSkinString::Format(const wchar_t* pstrFormat, ...)
{
    va_list Args;
    va_start(Args, pstrFormat);
    const int nRet = Format(pstrFormat, Args);
    va_end(Args);
    return nRet;
}

// The msvcrt formatters read %s as a wide text, unlike mingw's C++ swprintf.
// The result is built apart from the string, so its own text may be the format.
int CSkinString::Format(const wchar_t* pstrFormat, va_list& Args)
{
    va_list ArgsMeasure;
    va_copy(ArgsMeasure, Args);
    const int cch = ::_vscwprintf(pstrFormat, ArgsMeasure);
    va_end(ArgsMeasure);
    if (cch < 0) return -1;

    wchar_t szLocal[MAX_LOCAL_STRING_LEN + 1];
    HeapText pHeap;
    wchar_t* pBuffer = szLocal;
    if (cch > MAX_LOCAL_STRING_LEN) {
        pHeap.reset(AllocText(cch));
        if (pHeap == nullptr) return -1;
        pBuffer = pHeap.get();
    }
    const int nRet = ::_vsnwprintf(pBuffer, cch + 1, pstrFormat, Args);
    if (nRet < 0) return -1;
    pBuffer[cch] = L'\0';
    Assign(pBuffer, cch);
    return nRet;
}

// Meant for short texts, but a longer result (an image description with both
// a source and a destination rectangle can pass 64 characters) is kept whole
// rather than cut, so it is formatted exactly like Format.
int CSkinString::SmallFormat(const wchar_t* pstrFormat, ...)
{
    va_list Args;
    va_start(Args, pstrFormat);
    const int nRet = Format(pstrFormat, Args);
    va_end(Args);
    return nRet;
}

} // namespace SkinLib
