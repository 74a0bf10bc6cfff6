// CMarkup and CMarkupNode, the skin XML parser:
//   - the character classes the parser's loops test; the UTF-8 decoder
//   - nodes: parent, sibling and child links, names, values, attributes
//   - loading: inline text, memory in UTF-8, UTF-16 or the ANSI code page, files
//   - errors and their location
//   - parsing: the element table, elements, attributes, text and entities
#include "core/Markup.h"
#include "core/SkinFile.h"
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <new>

namespace SkinLib {

namespace {

const DWORD kMaxSkinFileSize = 0x400000;
const ULONG kMaxTextUnits = 0xFFFFFFFE;  // positions are 32-bit, the terminator needs one more

bool IsWhitespace(wchar_t ch)
{
    return ch > 0 && ch <= L' ';
}

// Classes of the ASCII units, so that the parser's loops test one table entry per unit; beyond
// ASCII the system's own calls decide, as they always have, so the accepted names stay the same.
enum : BYTE
{
    kNameUnit = 1,     // "_", ":", letters and digits
    kContentStop = 2,  // ends a run of plain element text: the terminator, "&" and "<"
    kValueStop = 4,    // ends a run of plain attribute value: the terminator, "&" and '"'
    kSpaceStop = 8,    // a space, which ends a run when whitespace is not preserved
};

struct AsciiClasses
{
    BYTE aClass[0x80];

    constexpr AsciiClasses() : aClass()
    {
        for (int ch = 0; ch < 0x80; ++ch) {
            bool bName = ch == '_' || ch == ':' || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') ||
                         (ch >= '0' && ch <= '9');
            bool bStop = ch == 0 || ch == '&';
            aClass[ch] = BYTE((bName ? kNameUnit : 0) | (bStop || ch == '<' ? kContentStop : 0) |
                              (bStop || ch == '"' ? kValueStop : 0) | (ch == ' ' ? kSpaceStop : 0));
        }
    }
};

constexpr AsciiClasses kAscii;

bool IsAscii(wchar_t ch)
{
    return ch < 0x80;
}

// Every unit beyond ASCII is plain text: however the system groups a character with its
// combining marks, the in-place copy moves the same units to the same places.
bool IsStop(wchar_t ch, BYTE bStop)
{
    return IsAscii(ch) && (kAscii.aClass[ch] & bStop) != 0;
}

// Stops at the first unit that differs, so it never reads past the text's terminator.
bool StartsWith(const wchar_t* pstrText, const wchar_t* pstrPrefix)
{
    while (*pstrPrefix != L'\0' && *pstrText == *pstrPrefix) {
        ++pstrText;
        ++pstrPrefix;
    }
    return *pstrPrefix == L'\0';
}

bool IsNameUnit(wchar_t ch)
{
    return IsAscii(ch) ? (kAscii.aClass[ch] & kNameUnit) != 0 : ::IsCharAlphaNumericW(ch) != FALSE;
}

// Decodes well-formed UTF-8 into pstrOut, which has room for as many units as there are bytes,
// and returns the number of units; ASCII goes eight bytes at a time. On well-formed text the
// result is the system's conversion, which steps through every byte and would be the larger
// part of a load. Ill-formed text gets -1: which replacement characters it gets is the
// system's to decide.
int DecodeUtf8(const BYTE* pByte, size_t cbSize, wchar_t* pstrOut)
{
    const BYTE* const pEnd = pByte + cbSize;
    wchar_t* pOut = pstrOut;
    while (pByte < pEnd) {
        uint64_t u8Bytes;
        if (pEnd - pByte >= 8 && (::memcpy(&u8Bytes, pByte, 8), u8Bytes & 0x8080808080808080ull) == 0) {
            for (int i = 0; i < 8; ++i) pOut[i] = pByte[i];
            pByte += 8;
            pOut += 8;
            continue;
        }
        const BYTE bLead = *pByte;
        if (bLead < 0x80) {
            *pOut++ = bLead;
            ++pByte;
            continue;
        }
        // The number of bytes that follow the lead, and the range of the first of them that
        // keeps out overlong forms, surrogates and code points beyond U+10FFFF.
        int nFollow;
        BYTE bLow = 0x80, bHigh = 0xBF;
        if (bLead >= 0xC2 && bLead <= 0xDF) nFollow = 1;
        else if (bLead >= 0xE0 && bLead <= 0xEF) nFollow = 2;
        else if (bLead >= 0xF0 && bLead <= 0xF4) nFollow = 3;
        else return -1;
        if (bLead == 0xE0) bLow = 0xA0;
        else if (bLead == 0xED) bHigh = 0x9F;
        else if (bLead == 0xF0) bLow = 0x90;
        else if (bLead == 0xF4) bHigh = 0x8F;
        if (pEnd - pByte <= nFollow || pByte[1] < bLow || pByte[1] > bHigh) return -1;
        UINT uCode = bLead & (0x7F >> (nFollow + 1));
        for (int i = 1; i <= nFollow; ++i) {
            if ((pByte[i] & 0xC0) != 0x80) return -1;
            uCode = (uCode << 6) | (pByte[i] & 0x3F);
        }
        pByte += nFollow + 1;
        if (uCode < 0x10000) {
            *pOut++ = wchar_t(uCode);
        }
        else {
            *pOut++ = wchar_t(0xD800 + ((uCode - 0x10000) >> 10));
            *pOut++ = wchar_t(0xDC00 + ((uCode - 0x10000) & 0x3FF));
        }
    }
    return int(pOut - pstrOut);
}

} // namespace

///////////////////////////////////////////////////////////////////////////////////////////////

CMarkupNode::CMarkupNode() : m_iPos(0), m_nAttributes(0), m_pOwner(NULL)
{
}

CMarkupNode::CMarkupNode(CMarkup* pOwner, int iPos) : m_iPos(iPos), m_nAttributes(0), m_pOwner(pOwner)
{
}

bool CMarkupNode::IsValid() const
{
    return m_pOwner != NULL;
}

CMarkupNode CMarkupNode::GetParent()
{
    return m_pOwner == NULL ? CMarkupNode() : _Linked(m_pOwner->m_pElements[m_iPos].iParent);
}

CMarkupNode CMarkupNode::GetSibling()
{
    return m_pOwner == NULL ? CMarkupNode() : _Linked(m_pOwner->m_pElements[m_iPos].iNext);
}

CMarkupNode CMarkupNode::GetChild()
{
    return m_pOwner == NULL ? CMarkupNode() : _Linked(m_pOwner->m_pElements[m_iPos].iChild);
}

// Link 0 means "none": element 0 is the parser's placeholder, never a real element.
CMarkupNode CMarkupNode::_Linked(ULONG iPos) const
{
    return iPos == 0 ? CMarkupNode() : CMarkupNode(m_pOwner, int(iPos));
}

CMarkupNode CMarkupNode::GetChild(const wchar_t* pstrName)
{
    if (m_pOwner == NULL || pstrName == NULL) return CMarkupNode();
    for (ULONG iPos = m_pOwner->m_pElements[m_iPos].iChild; iPos != 0; iPos = m_pOwner->m_pElements[iPos].iNext) {
        if (::wcscmp(m_pOwner->m_pstrXML.get() + m_pOwner->m_pElements[iPos].iStart, pstrName) == 0)
            return CMarkupNode(m_pOwner, iPos);
    }
    return CMarkupNode();
}

bool CMarkupNode::HasSiblings() const
{
    return m_pOwner != NULL && m_pOwner->m_pElements[m_iPos].iNext != 0;
}

bool CMarkupNode::HasChildren() const
{
    return m_pOwner != NULL && m_pOwner->m_pElements[m_iPos].iChild != 0;
}

const wchar_t* CMarkupNode::GetName() const
{
    if (m_pOwner == NULL) return NULL;
    return m_pOwner->m_pstrXML.get() + m_pOwner->m_pElements[m_iPos].iStart;
}

const wchar_t* CMarkupNode::GetValue() const
{
    if (m_pOwner == NULL) return NULL;
    return m_pOwner->m_pstrXML.get() + m_pOwner->m_pElements[m_iPos].iData;
}

bool CMarkupNode::HasAttributes()
{
    return GetAttributeCount() > 0;
}

bool CMarkupNode::HasAttribute(const wchar_t* pstrName)
{
    return _FindAttribute(pstrName) >= 0;
}

int CMarkupNode::GetAttributeCount()
{
    if (m_pOwner == NULL) return 0;
    if (m_nAttributes == 0) _MapAttributes();
    return m_nAttributes;
}

const wchar_t* CMarkupNode::GetAttributeName(int iIndex)
{
    if (m_pOwner == NULL) return NULL;
    if (iIndex < 0 || iIndex >= GetAttributeCount()) return L"";
    return m_pOwner->m_pstrXML.get() + m_aAttributes[iIndex].iName;
}

const wchar_t* CMarkupNode::GetAttributeValue(int iIndex)
{
    if (m_pOwner == NULL) return NULL;
    if (iIndex < 0 || iIndex >= GetAttributeCount()) return L"";
    return m_pOwner->m_pstrXML.get() + m_aAttributes[iIndex].iValue;
}

const wchar_t* CMarkupNode::GetAttributeValue(const wchar_t* pstrName)
{
    if (m_pOwner == NULL) return NULL;
    int iIndex = _FindAttribute(pstrName);
    return iIndex >= 0 ? m_pOwner->m_pstrXML.get() + m_aAttributes[iIndex].iValue : L"";
}

bool CMarkupNode::GetAttributeValue(int iIndex, wchar_t* pstrValue, SIZE_T cchMax)
{
    if (m_pOwner == NULL || iIndex < 0 || iIndex >= GetAttributeCount()) return false;
    ::wcsncpy(pstrValue, m_pOwner->m_pstrXML.get() + m_aAttributes[iIndex].iValue, cchMax);
    return true;
}

bool CMarkupNode::GetAttributeValue(const wchar_t* pstrName, wchar_t* pstrValue, SIZE_T cchMax)
{
    return GetAttributeValue(_FindAttribute(pstrName), pstrValue, cchMax);
}

int CMarkupNode::_FindAttribute(const wchar_t* pstrName)
{
    int nCount = pstrName != NULL ? GetAttributeCount() : 0;
    for (int i = 0; i < nCount; ++i) {
        if (::wcscmp(m_pOwner->m_pstrXML.get() + m_aAttributes[i].iName, pstrName) == 0) return i;
    }
    return -1;
}

// Walks the parsed tag: each name and value is a terminated string there, and every step is
// bounded by the start of the element's content. The ">" that ends the tag is not taken for a
// name: stepping over it could pass the final terminator of the text.
void CMarkupNode::_MapAttributes()
{
    m_nAttributes = 0;
    const wchar_t* pstrXML = m_pOwner->m_pstrXML.get();
    const CMarkup::tagXMLELEMENT& element = m_pOwner->m_pElements[m_iPos];
    const wchar_t* pstrEnd = pstrXML + element.iData;
    const wchar_t* pstrKey = pstrXML + element.iStart;
    pstrKey += ::wcslen(pstrKey) + 1;
    while (pstrKey < pstrEnd && m_nAttributes < MAX_XML_ATTRIBUTES) {
        while (IsWhitespace(*pstrKey)) ++pstrKey;
        if (pstrKey >= pstrEnd || *pstrKey == L'>') return;
        m_aAttributes[m_nAttributes].iName = ULONG(pstrKey - pstrXML);
        pstrKey += ::wcslen(pstrKey) + 1;
        while (IsWhitespace(*pstrKey)) ++pstrKey;
        if (pstrKey >= pstrEnd || *pstrKey != L'"') return;
        ++pstrKey;
        m_aAttributes[m_nAttributes++].iValue = ULONG(pstrKey - pstrXML);
        pstrKey += ::wcslen(pstrKey) + 1;
    }
}

///////////////////////////////////////////////////////////////////////////////////////////////

CMarkup::CMarkup(const wchar_t* pstrXML)
    : m_nElements(0), m_nReservedElements(0), m_szErrorMsg(), m_szErrorXML(), m_bPreserveWhitespace(true)
{
    if (pstrXML != NULL) Load(pstrXML);
}

CMarkup::~CMarkup()
{
    Release();
}

bool CMarkup::IsValid() const
{
    return m_pElements != nullptr;
}

void CMarkup::SetPreserveWhitespace(bool bPreserve)
{
    m_bPreserveWhitespace = bPreserve;
}

void CMarkup::Release()
{
    m_pstrXML.reset();
    m_pElements.reset();
    m_nElements = 0;
    m_nReservedElements = 0;
}

bool CMarkup::_AllocateText(size_t cchText)
{
    if (cchText > kMaxTextUnits) return _Failed(L"File too large");
    m_pstrXML.reset(new (std::nothrow) wchar_t[cchText + 1]);
    if (m_pstrXML == nullptr) return _Failed(L"Out of memory");
    m_pstrXML[cchText] = L'\0';
    return true;
}

bool CMarkup::Load(const wchar_t* pstrXML)
{
    Release();
    if (pstrXML == NULL) return _Failed(L"Expected start tag");
    size_t cchText = ::wcslen(pstrXML);
    if (!_AllocateText(cchText)) return false;
    ::CopyMemory(m_pstrXML.get(), pstrXML, cchText * sizeof(wchar_t));
    if (_Parse()) return true;
    Release();
    return false;
}

bool CMarkup::_LoadConverted(UINT nCodePage, const BYTE* pByte, DWORD dwSize)
{
    if (dwSize > 0x7FFFFFFF) return _Failed(L"File too large");
    // Neither code page makes more UTF-16 units than it is given bytes, so the text is converted
    // in one pass into room for as many units as there are bytes.
    if (!_AllocateText(dwSize)) return false;
    int cchText = nCodePage == CP_UTF8 ? DecodeUtf8(pByte, dwSize, m_pstrXML.get()) : -1;
    if (cchText < 0) {
        cchText = dwSize == 0 ? 0 : ::MultiByteToWideChar(nCodePage, 0, reinterpret_cast<const char*>(pByte),
                                                          int(dwSize), m_pstrXML.get(), int(dwSize));
        if (dwSize != 0 && cchText == 0) return _Failed(L"Could not read file");
    }
    m_pstrXML[cchText] = L'\0';
    return true;
}

// UTF-16 is copied unit by unit, swapped when big-endian; the caller's bytes (possibly a
// read-only resource) are never written. An odd trailing byte is not part of any unit.
bool CMarkup::LoadFromMem(const BYTE* pByte, DWORD dwSize, int encoding)
{
    Release();
    if (pByte == NULL && dwSize != 0) return false;
    bool bLoaded;
    if (encoding == SKIN_XML_UTF8) {
        if (dwSize > 2 && pByte[0] == 0xEF && pByte[1] == 0xBB && pByte[2] == 0xBF) {
            pByte += 3;
            dwSize -= 3;
        }
        bLoaded = _LoadConverted(CP_UTF8, pByte, dwSize);
    } else if (encoding == SKIN_XML_ANSI) {
        bLoaded = _LoadConverted(CP_ACP, pByte, dwSize);
    } else {
        if (dwSize < 2) return false;
        bool bLittleEndian = pByte[0] == 0xFF && pByte[1] == 0xFE;
        bool bBigEndian = pByte[0] == 0xFE && pByte[1] == 0xFF;
        if (!bLittleEndian && !bBigEndian) return false;
        size_t cchText = dwSize / 2 - 1;
        bLoaded = _AllocateText(cchText);
        for (size_t i = 0; bLoaded && i < cchText; ++i) {
            const BYTE* pUnit = pByte + 2 + 2 * i;
            m_pstrXML[i] = bBigEndian ? wchar_t((pUnit[0] << 8) | pUnit[1]) : wchar_t(pUnit[0] | (pUnit[1] << 8));
        }
    }
    if (bLoaded && _Parse()) return true;
    Release();
    return false;
}

bool CMarkup::LoadFromFile(const wchar_t* pstrFilename, int encoding)
{
    Release();
    CSkinFile file;
    switch (file.Read(pstrFilename, kMaxSkinFileSize)) {
    case SKINFILE_OK: return LoadFromMem(file.GetData(), file.GetSize(), encoding);
    case SKINFILE_EMPTY: return _Failed(L"File is empty");
    case SKINFILE_TOO_LARGE: return _Failed(L"File too large");
    case SKINFILE_READ_FAILED: return _Failed(L"Could not read file");
    case SKINFILE_NO_ARCHIVE: return _Failed(L"Error opening zip file");
    case SKINFILE_NOT_IN_ARCHIVE: return _Failed(L"Could not find ziped file");
    case SKINFILE_UNZIP_FAILED: return _Failed(L"Could not unzip file");
    case SKINFILE_NO_MEMORY: return _Failed(L"Out of memory");
    default: return _Failed(L"Error opening file");
    }
}

void CMarkup::GetLastErrorMessage(wchar_t* pstrMessage, SIZE_T cchMax) const
{
    ::wcsncpy(pstrMessage, m_szErrorMsg, cchMax);
}

void CMarkup::GetLastErrorLocation(wchar_t* pstrSource, SIZE_T cchMax) const
{
    ::wcsncpy(pstrSource, m_szErrorXML, cchMax);
}

CMarkupNode CMarkup::GetRoot()
{
    if (m_nElements < 2) return CMarkupNode();
    return CMarkupNode(this, 1);
}

bool CMarkup::_Failed(const wchar_t* pstrError, const wchar_t* pstrLocation)
{
    ::lstrcpynW(m_szErrorMsg, pstrError, sizeof(m_szErrorMsg) / sizeof(m_szErrorMsg[0]));
    ::lstrcpynW(m_szErrorXML, pstrLocation != NULL ? pstrLocation : L"", sizeof(m_szErrorXML) / sizeof(m_szErrorXML[0]));
    return false;
}

// The table grows in large steps; elements are always addressed by index because a growth
// moves the whole table. A closed element takes at least four characters ("<a/>") of a text of
// at most 0xFFFFFFFE and open ones are few (the depth limit), so the count stays within 32 bits.
bool CMarkup::_ReserveElement(ULONG& iPos)
{
    if (m_nElements == m_nReservedElements) {
        ULONG nReserved = m_nReservedElements + m_nReservedElements / 2 + 500;
        tagXMLELEMENT* pGrown = new (std::nothrow) tagXMLELEMENT[nReserved];
        if (pGrown == NULL) return _Failed(L"Out of memory");
        std::copy(m_pElements.get(), m_pElements.get() + m_nElements, pGrown);
        m_pElements.reset(pGrown);
        m_nReservedElements = nReserved;
    }
    iPos = m_nElements++;
    return true;
}

void CMarkup::_SkipWhitespace(wchar_t*& pstr) const
{
    while (IsWhitespace(*pstr)) ++pstr;
}

void CMarkup::_SkipIdentifier(wchar_t*& pstr) const
{
    while (IsNameUnit(*pstr)) ++pstr;
}

bool CMarkup::_Parse()
{
    ULONG iPlaceholder;
    m_szErrorMsg[0] = L'\0';
    m_szErrorXML[0] = L'\0';
    if (!_ReserveElement(iPlaceholder)) return false;
    m_pElements[iPlaceholder] = tagXMLELEMENT();
    wchar_t* pstrText = m_pstrXML.get();
    return _Parse(pstrText, 0, 0);
}

// Parses a sequence of sibling elements under iParent, up to the parent's closing "</" (left
// for the caller to check) or the end of the text.
bool CMarkup::_Parse(wchar_t*& pstrText, ULONG iParent, int nDepth)
{
    if (nDepth > MAX_XML_DEPTH) return _Failed(L"Elements nested too deeply", pstrText);
    ULONG iPrevious = 0;
    for (;;) {
        _SkipWhitespace(pstrText);
        if (*pstrText == L'\0' && iParent <= 1) return true;
        if (*pstrText != L'<') return _Failed(L"Expected start tag", pstrText);
        if (pstrText[1] == L'/') return true;
        *pstrText++ = L'\0';
        _SkipWhitespace(pstrText);
        // Comments, the declaration and processing instructions leave nothing behind. One that
        // never ends would take the rest of the document with it: that is an error, not an end.
        if (*pstrText == L'!' || *pstrText == L'?') {
            const wchar_t* pstrConstruct = pstrText;
            wchar_t chClose = *pstrText == L'!' ? L'-' : L'?';
            while (*pstrText != L'\0' && !(pstrText[0] == chClose && pstrText[1] == L'>')) ++pstrText;
            if (*pstrText == L'\0') return _Failed(L"Expected end of comment or declaration", pstrConstruct);
            pstrText += 2;
            continue;
        }

        ULONG iPos;
        if (!_ReserveElement(iPos)) return false;
        m_pElements[iPos] = tagXMLELEMENT{ ULONG(pstrText - m_pstrXML.get()), 0, 0, iParent, 0 };
        if (iPrevious != 0) m_pElements[iPrevious].iNext = iPos;
        else if (iParent > 0) m_pElements[iParent].iChild = iPos;
        iPrevious = iPos;

        const wchar_t* pstrName = pstrText;
        _SkipIdentifier(pstrText);
        wchar_t* pstrNameEnd = pstrText;
        if (*pstrText == L'\0') return _Failed(L"Error parsing element name", pstrText);
        if (!_ParseAttributes(pstrText)) return false;
        _SkipWhitespace(pstrText);
        if (pstrText[0] == L'/' && pstrText[1] == L'>') {
            m_pElements[iPos].iData = ULONG(pstrText - m_pstrXML.get());
            *pstrText = L'\0';
            *pstrNameEnd = L'\0';
            pstrText += 2;
            continue;
        }
        if (*pstrText != L'>') return _Failed(L"Expected start-tag closing", pstrText);
        m_pElements[iPos].iData = ULONG(++pstrText - m_pstrXML.get());
        *pstrNameEnd = L'\0';
        wchar_t* pstrDest = pstrText;
        _ParseData(pstrText, pstrDest, L'<');
        // An unclosed root, or an unclosed child of the root, ends the document.
        if (*pstrText == L'\0' && iParent > 1) return _Failed(L"Expected end-tag start", pstrText);
        if (*pstrText == L'<' && pstrText[1] != L'/' && !_Parse(pstrText, iPos, nDepth + 1)) return false;
        // The content ends before the spaces that stand in for what its entities saved, also
        // when the children ran to the end of the text; the terminator may land on the "<".
        bool bClosing = *pstrText != L'\0';
        *pstrDest = L'\0';
        if (!bClosing) continue;
        pstrText += 2;
        _SkipWhitespace(pstrText);
        size_t cchName = pstrNameEnd - pstrName;
        if (::wcsncmp(pstrText, pstrName, cchName) != 0) return _Failed(L"Unmatched closing tag", pstrText);
        pstrText += cchName;
        _SkipWhitespace(pstrText);
        if (*pstrText != L'>') return _Failed(L"Unmatched closing tag", pstrText);
        ++pstrText;
    }
}

bool CMarkup::_ParseAttributes(wchar_t*& pstrText)
{
    if (*pstrText == L'>') return true;
    // Whatever ends the name makes way for its terminator; a "/" stays, as the start of "/>".
    if (*pstrText != L'/') ++pstrText;
    for (;;) {
        _SkipWhitespace(pstrText);
        if (*pstrText == L'\0' || *pstrText == L'/' || *pstrText == L'>') return true;
        _SkipIdentifier(pstrText);
        wchar_t* pstrNameEnd = pstrText;
        _SkipWhitespace(pstrText);
        if (*pstrText != L'=') return _Failed(L"Error while parsing attributes", pstrText);
        *pstrText++ = L' ';
        *pstrNameEnd = L'\0';
        _SkipWhitespace(pstrText);
        if (*pstrText != L'"') return _Failed(L"Expected attribute value", pstrText);
        wchar_t* pstrDest = ++pstrText;
        _ParseData(pstrText, pstrDest, L'"');
        if (*pstrText == L'\0') return _Failed(L"Error while parsing attribute string", pstrText);
        *pstrDest = L'\0';
        if (pstrText != pstrDest) *pstrText = L' ';
        ++pstrText;
    }
}

// Copies text in place up to cEnd ("<" or the double quote), replacing entities. Plain text
// is only scanned until the first entity has been replaced; from then on every unit moves down
// as it is scanned. What the copy saved is filled with spaces, so a later walk over the tag
// steps over it as whitespace.
void CMarkup::_ParseData(wchar_t*& pstrText, wchar_t*& pstrDest, wchar_t cEnd)
{
    const BYTE bStop = BYTE((cEnd == L'"' ? kValueStop : kContentStop) | (m_bPreserveWhitespace ? 0 : kSpaceStop));
    wchar_t* pstrSrc = pstrText;
    wchar_t* pstrOut = pstrDest;
    for (;;) {
        if (pstrOut == pstrSrc) {
            while (!IsStop(*pstrSrc, bStop)) ++pstrSrc;
            pstrOut = pstrSrc;
        }
        else {
            while (!IsStop(*pstrSrc, bStop)) *pstrOut++ = *pstrSrc++;
        }
        if (*pstrSrc == L'\0' || *pstrSrc == cEnd) break;
        if (*pstrSrc == L'&') {
            *pstrOut++ = _DecodeEntity(pstrSrc);
            continue;
        }
        // A space that starts a run of whitespace to drop.
        *pstrOut++ = *pstrSrc++;
        _SkipWhitespace(pstrSrc);
    }
    for (wchar_t* pstrFill = pstrOut; pstrFill < pstrSrc; ++pstrFill) *pstrFill = L' ';
    pstrText = pstrSrc;
    pstrDest = pstrOut;
}

// The character an entity reference at pstrText ("&...") stands for, with pstrText moved past
// the reference; an "&" that starts none of the five stands for itself.
wchar_t CMarkup::_DecodeEntity(wchar_t*& pstrText)
{
    static const struct { const wchar_t* pstrName; size_t cchName; wchar_t ch; } kEntities[] = {
        { L"amp;", 4, L'&' }, { L"lt;", 3, L'<' }, { L"gt;", 3, L'>' }, { L"quot;", 5, L'"' }, { L"apos;", 5, L'\'' },
    };
    ++pstrText;
    for (const auto& entity : kEntities) {
        if (StartsWith(pstrText, entity.pstrName)) {
            pstrText += entity.cchName;
            return entity.ch;
        }
    }
    return L'&';
}

} // namespace SkinLib
