#pragma once
#include <windows.h>
#include <memory>

namespace SkinLib {

enum SKIN_XML_ENCODING
{
    SKIN_XML_UTF8 = 0,
    SKIN_XML_UTF16 = 1,  // with a byte-order mark, either byte order
    SKIN_XML_ANSI = 2,
};

class CMarkup;

// A view of one element of a loaded document. Nodes are plain values, valid only while their
// document stays loaded; attributes are located in the text on first use and kept in the node.
class CMarkupNode
{
    friend class CMarkup;

public:
    CMarkupNode();

    bool IsValid() const;

    CMarkupNode GetParent();
    CMarkupNode GetSibling();
    CMarkupNode GetChild();
    CMarkupNode GetChild(const wchar_t* pstrName);

    bool HasSiblings() const;
    bool HasChildren() const;
    const wchar_t* GetName() const;
    const wchar_t* GetValue() const;

    bool HasAttributes();
    bool HasAttribute(const wchar_t* pstrName);
    int GetAttributeCount();
    const wchar_t* GetAttributeName(int iIndex);
    const wchar_t* GetAttributeValue(int iIndex);
    const wchar_t* GetAttributeValue(const wchar_t* pstrName);
    bool GetAttributeValue(int iIndex, wchar_t* pstrValue, SIZE_T cchMax);
    bool GetAttributeValue(const wchar_t* pstrName, wchar_t* pstrValue, SIZE_T cchMax);

private:
    CMarkupNode(CMarkup* pOwner, int iPos);
    CMarkupNode _Linked(ULONG iPos) const;
    void _MapAttributes();
    int _FindAttribute(const wchar_t* pstrName);

    enum { MAX_XML_ATTRIBUTES = 64 };

    struct XMLATTRIBUTE
    {
        ULONG iName;
        ULONG iValue;
    };

    int m_iPos;
    int m_nAttributes;
    XMLATTRIBUTE m_aAttributes[MAX_XML_ATTRIBUTES];
    CMarkup* m_pOwner;
};

// A skin document: the whole text kept as one UTF-16 buffer that the parser cuts in place, and
// one flat table of elements that refer to each other by index.
class CMarkup
{
    friend class CMarkupNode;

public:
    explicit CMarkup(const wchar_t* pstrXML = NULL);
    ~CMarkup();
    CMarkup(const CMarkup&) = delete;
    CMarkup& operator=(const CMarkup&) = delete;

    bool Load(const wchar_t* pstrXML);
    bool LoadFromMem(const BYTE* pByte, DWORD dwSize, int encoding = SKIN_XML_UTF8);
    bool LoadFromFile(const wchar_t* pstrFilename, int encoding = SKIN_XML_UTF8);
    void Release();
    bool IsValid() const;

    void SetPreserveWhitespace(bool bPreserve = true);
    void GetLastErrorMessage(wchar_t* pstrMessage, SIZE_T cchMax) const;
    void GetLastErrorLocation(wchar_t* pstrSource, SIZE_T cchMax) const;

    CMarkupNode GetRoot();

private:
    struct tagXMLELEMENT
    {
        ULONG iStart;
        ULONG iChild;
        ULONG iNext;
        ULONG iParent;
        ULONG iData;
    };

    // Deeper documents are refused rather than parsed on an ever deeper stack.
    enum { MAX_XML_DEPTH = 256 };

    bool _AllocateText(size_t cchText);
    bool _LoadConverted(UINT nCodePage, const BYTE* pByte, DWORD dwSize);
    bool _Parse();
    bool _Parse(wchar_t*& pstrText, ULONG iParent, int nDepth);
    bool _ReserveElement(ULONG& iPos);
    void _SkipWhitespace(wchar_t*& pstr) const;
    void _SkipIdentifier(wchar_t*& pstr) const;
    void _ParseData(wchar_t*& pstrText, wchar_t*& pstrDest, wchar_t cEnd);
    static wchar_t _DecodeEntity(wchar_t*& pstrText);
    bool _ParseAttributes(wchar_t*& pstrText);
    bool _Failed(const wchar_t* pstrError, const wchar_t* pstrLocation = NULL);

    std::unique_ptr<wchar_t[]> m_pstrXML;
    std::unique_ptr<tagXMLELEMENT[]> m_pElements;
    ULONG m_nElements;
    ULONG m_nReservedElements;
    wchar_t m_szErrorMsg[100];
    wchar_t m_szErrorXML[50];
    bool m_bPreserveWhitespace;
};

} // namespace SkinLib
