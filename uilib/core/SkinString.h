#pragma once

#include <cstdarg>

namespace SkinLib {

// A UTF-16 string that keeps short texts (up to 62 characters) inside the
// object, so most names and attribute values never touch the heap. The length
// is not stored; length queries count up to the terminator.
class CSkinString
{
public:
    enum { MAX_LOCAL_STRING_LEN = 63 };

    CSkinString();
    explicit CSkinString(wchar_t ch);
    CSkinString(const CSkinString& src);
    CSkinString(const wchar_t* lpsz, int nLen = -1);
    ~CSkinString();

    void Empty();
    // Empty for secrets (a PIN): every character the storage holds, the inline
    // buffer's leftovers included, is overwritten before the heap block goes.
    void SecureEmpty();
    int GetLength() const;
    bool IsEmpty() const;
    wchar_t GetAt(int nIndex) const;
    void Append(const wchar_t* pstr);
    void Assign(const wchar_t* pstr, int nLength = -1);
    const wchar_t* GetData() const;

    void SetAt(int nIndex, wchar_t ch);
    operator const wchar_t*() const;

    wchar_t operator[](int nIndex) const;
    const CSkinString& operator=(const CSkinString& src);
    const CSkinString& operator=(wchar_t ch);
    const CSkinString& operator=(const wchar_t* pstr);
    const CSkinString& operator=(const char* lpStr);
    const CSkinString& operator+=(const CSkinString& src);
    const CSkinString& operator+=(const wchar_t* pstr);
    const CSkinString& operator+=(const char* lpStr);
    const CSkinString& operator+=(wchar_t ch);
    CSkinString operator+(const CSkinString& src) const;
    CSkinString operator+(const wchar_t* pstr) const;

    bool operator==(const wchar_t* str) const;
    bool operator!=(const wchar_t* str) const;
    bool operator<=(const wchar_t* str) const;
    bool operator<(const wchar_t* str) const;
    bool operator>=(const wchar_t* str) const;
    bool operator>(const wchar_t* str) const;

    int Compare(const wchar_t* pstr) const;
    int CompareNoCase(const wchar_t* pstr) const;

    void MakeUpper();
    void MakeLower();

    CSkinString Left(int nLength) const;
    CSkinString Mid(int iPos, int nLength = -1) const;
    CSkinString Right(int nLength) const;

    int Find(wchar_t ch, int iPos = 0) const;
    int Find(const wchar_t* pstr, int iPos = 0) const;
    int ReverseFind(wchar_t ch) const;
    int Replace(const wchar_t* pstrFrom, const wchar_t* pstrTo);

    int __cdecl Format(const wchar_t* pstrFormat, ...);
    // Takes the list by reference so that a literal 0 among Format's
    // arguments cannot be mistaken for a va_list.
    int Format(const wchar_t* pstrFormat, va_list& Args);
    int __cdecl SmallFormat(const wchar_t* pstrFormat, ...);

protected:
    bool IsInStorage(const wchar_t* p) const;

    wchar_t* m_pStr;
    wchar_t m_szBuffer[MAX_LOCAL_STRING_LEN + 1];
};

} // namespace SkinLib
