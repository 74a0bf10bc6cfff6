// CDialogBuilder:
//   - loading a document (resource, inline text, skin file)
//   - the document-level elements: Image, Font, Default and the Window attributes
//   - controls from elements, and Include
#include "core/DialogBuilder.h"

#include <wchar.h>

#include "controls/ControlUI.h"
#include "controls/IContainerUI.h"
#include "core/AttributeValue.h"
#include "core/SkinFile.h"
#include "SkinElements.h"

namespace SkinLib {

namespace {

bool Is(const wchar_t* pstrName, const wchar_t* pstrWord)
{
    return ::wcscmp(pstrName, pstrWord) == 0;
}

bool IsResourceElement(const wchar_t* pstrName)
{
    return Is(pstrName, L"Image") || Is(pstrName, L"Font") || Is(pstrName, L"Default");
}

void AddImage(CMarkupNode& node, CPaintManagerUI* pManager)
{
    const wchar_t* pstrName = NULL;
    const wchar_t* pstrType = NULL;
    DWORD dwMask = 0;
    for (int i = 0; i < node.GetAttributeCount(); i++) {
        const wchar_t* pstrAttr = node.GetAttributeName(i);
        const wchar_t* pstrValue = node.GetAttributeValue(i);
        if (Is(pstrAttr, L"name")) pstrName = pstrValue;
        else if (Is(pstrAttr, L"restype")) pstrType = pstrValue;
        else if (Is(pstrAttr, L"mask")) dwMask = ParseColorValue(pstrValue);
    }
    if (pstrName != NULL) pManager->AddImage(pstrName, pstrType, dwMask);
}

void AddFont(CMarkupNode& node, CPaintManagerUI* pManager)
{
    const wchar_t* pstrName = NULL;
    int nSize = 12;
    bool bBold = false, bUnderline = false, bItalic = false, bDefault = false;
    for (int i = 0; i < node.GetAttributeCount(); i++) {
        const wchar_t* pstrAttr = node.GetAttributeName(i);
        const wchar_t* pstrValue = node.GetAttributeValue(i);
        if (Is(pstrAttr, L"name")) pstrName = pstrValue;
        else if (Is(pstrAttr, L"size")) nSize = ParseIntValue(pstrValue);
        else if (Is(pstrAttr, L"bold")) bBold = ParseBoolValue(pstrValue);
        else if (Is(pstrAttr, L"underline")) bUnderline = ParseBoolValue(pstrValue);
        else if (Is(pstrAttr, L"italic")) bItalic = ParseBoolValue(pstrValue);
        else if (Is(pstrAttr, L"default")) bDefault = ParseBoolValue(pstrValue);
    }
    if (pstrName == NULL) return;
    pManager->AddFont(pstrName, nSize, bBold, bUnderline, bItalic);
    if (bDefault) pManager->SetDefaultFont(pstrName, nSize, bBold, bUnderline, bItalic);
}

void AddDefaultAttributes(CMarkupNode& node, CPaintManagerUI* pManager)
{
    const wchar_t* pstrName = NULL;
    const wchar_t* pstrValue = NULL;
    for (int i = 0; i < node.GetAttributeCount(); i++) {
        const wchar_t* pstrAttr = node.GetAttributeName(i);
        if (Is(pstrAttr, L"name")) pstrName = node.GetAttributeValue(i);
        else if (Is(pstrAttr, L"value")) pstrValue = node.GetAttributeValue(i);
    }
    if (pstrName != NULL) pManager->AddDefaultAttributeList(pstrName, pstrValue != NULL ? pstrValue : L"");
}

// Numbers missing from a short list read 0.
void SetWindowAttribute(CPaintManagerUI* pManager, const wchar_t* pstrName, const wchar_t* pstrValue)
{
    auto is = [pstrName](const wchar_t* pstrWord) { return Is(pstrName, pstrWord); };
    if (is(L"size")) {
        const SIZE sz = ParseSizeValue(pstrValue);
        pManager->SetInitSize(sz.cx, sz.cy);
    }
    else if (is(L"sizebox")) pManager->SetSizeBox(ParseRectValue(pstrValue));
    else if (is(L"caption")) pManager->SetCaptionRect(ParseRectValue(pstrValue));
    else if (is(L"roundcorner")) {
        const SIZE sz = ParseSizeValue(pstrValue);
        pManager->SetRoundCorner(sz.cx, sz.cy);
    }
    else if (is(L"mininfo")) {
        const SIZE sz = ParseSizeValue(pstrValue);
        pManager->SetMinInfo(sz.cx, sz.cy);
    }
    else if (is(L"maxinfo")) {
        const SIZE sz = ParseSizeValue(pstrValue);
        pManager->SetMaxInfo(sz.cx, sz.cy);
    }
    else if (is(L"showdirty")) pManager->SetShowUpdateRect(ParseBoolValue(pstrValue));
    else if (is(L"alpha")) pManager->SetTransparent(ParseIntValue(pstrValue));
    else if (is(L"bktrans")) pManager->SetBackgroundTransparent(ParseBoolValue(pstrValue));
    else if (is(L"disabledfontcolor")) pManager->SetDefaultDisabledColor(ParseColorValue(pstrValue));
    else if (is(L"defaultfontcolor")) pManager->SetDefaultFontColor(ParseColorValue(pstrValue));
    else if (is(L"linkfontcolor")) pManager->SetDefaultLinkFontColor(ParseColorValue(pstrValue));
    else if (is(L"linkhoverfontcolor")) pManager->SetDefaultLinkHoverFontColor(ParseColorValue(pstrValue));
    else if (is(L"selectedcolor")) pManager->SetDefaultSelectedBkColor(ParseColorValue(pstrValue));
}

// With a manager attached, the default attribute list of the element's name,
// then the element's own attributes in document order.
void Configure(CMarkupNode& node, CControlUI* pControl, CPaintManagerUI* pManager)
{
    if (pManager != NULL) {
        pControl->SetManager(pManager, NULL, false);
        pControl->ApplyAttributeList(pManager->GetDefaultAttributeList(node.GetName()));
    }
    for (int i = 0; i < node.GetAttributeCount(); i++) {
        pControl->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
    }
}

// Include's attribute values are read into buffers of this many characters;
// a longer value is cut.
const SIZE_T kIncludeValueChars = 499;

void ReadIncludeValue(CMarkupNode& node, const wchar_t* pstrName, wchar_t (&szValue)[kIncludeValueChars + 1])
{
    szValue[0] = L'\0';
    node.GetAttributeValue(pstrName, szValue, kIncludeValueChars);
    szValue[kIncludeValueChars] = L'\0';
}

} // namespace

CDialogBuilder::CDialogBuilder()
    : m_pCallback(NULL), m_pstrtype(NULL), m_uSourceId(0), m_pIncluder(NULL), m_nIncludeBudget(MAX_INCLUDE_BUILDS)
{
}

CControlUI* CDialogBuilder::Create(STRINGorID xml, const wchar_t* type, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager, CControlUI* pParent)
{
    m_pstrtype = NULL;
    m_sSourceFile.Empty();
    m_uSourceId = 0;
    if (xml.IsId()) {
        CSkinFile resource;
        if (resource.ReadResource(xml, type) != SKINFILE_OK) return NULL;
        m_pCallback = pCallback;
        if (!m_xml.LoadFromMem(resource.GetData(), resource.GetSize(), SKIN_XML_UTF8)) return NULL;
        m_pstrtype = type;
        m_uSourceId = LOWORD(reinterpret_cast<ULONG_PTR>(xml.m_lpszNameOrId));
    }
    else if (xml.m_lpszNameOrId != NULL && xml.m_lpszNameOrId[0] == L'<') {
        if (!m_xml.Load(xml.m_lpszNameOrId)) return NULL;
    }
    else {
        if (!m_xml.LoadFromFile(xml.m_lpszNameOrId, SKIN_XML_UTF8)) return NULL;
        m_sSourceFile = xml.m_lpszNameOrId;
    }
    return Create(pCallback, pManager, pParent);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager, CControlUI* pParent)
{
    m_pCallback = pCallback;
    if (m_pIncluder == NULL) m_nIncludeBudget = MAX_INCLUDE_BUILDS;
    CMarkupNode root = m_xml.GetRoot();
    if (!root.IsValid()) return NULL;
    // Controls repaint as their attributes are set, long before they have a
    // place: the areas are joined into one, which stays empty.
    CInvalidateBatch batch(pManager);
    if (pManager != NULL) ApplyResources(root, pManager);
    return _Parse(&root, pParent, pManager);
}

CMarkup* CDialogBuilder::GetMarkup()
{
    return &m_xml;
}

void CDialogBuilder::GetLastErrorMessage(wchar_t* pstrMessage, SIZE_T cchMax) const
{
    m_xml.GetLastErrorMessage(pstrMessage, cchMax);
}

void CDialogBuilder::GetLastErrorLocation(wchar_t* pstrSource, SIZE_T cchMax) const
{
    m_xml.GetLastErrorLocation(pstrSource, cchMax);
}

// Only the root's own Image, Font and Default children count; the Window
// attributes need the window they describe.
void CDialogBuilder::ApplyResources(CMarkupNode& root, CPaintManagerUI* pManager)
{
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        const wchar_t* pstrClass = node.GetName();
        if (Is(pstrClass, L"Image")) AddImage(node, pManager);
        else if (Is(pstrClass, L"Font")) AddFont(node, pManager);
        else if (Is(pstrClass, L"Default")) AddDefaultAttributes(node, pManager);
    }
    if (pManager->GetPaintWindow() == NULL || !Is(root.GetName(), L"Window")) return;
    for (int i = 0; i < root.GetAttributeCount(); i++) {
        SetWindowAttribute(pManager, root.GetAttributeName(i), root.GetAttributeValue(i));
    }
}

CControlUI* CDialogBuilder::CreateNamedControl(const wchar_t* pstrClass) const
{
    if (CControlUI* pControl = CreateSkinElement(pstrClass)) return pControl;
    const CStdPtrArray* pPlugins = CPaintManagerUI::GetPlugins();
    for (int i = 0; i < pPlugins->GetSize(); i++) {
        LPCREATECONTROL pfnCreate = reinterpret_cast<LPCREATECONTROL>(pPlugins->GetAt(i));
        if (CControlUI* pControl = pfnCreate(pstrClass)) return pControl;
    }
    return m_pCallback != NULL ? m_pCallback->CreateControl(pstrClass) : NULL;
}

CControlUI* CDialogBuilder::_Parse(CMarkupNode* pRoot, CControlUI* pParent, CPaintManagerUI* pManager)
{
    IContainerUI* pContainer = NULL;
    bool bContainerLooked = false;
    CControlUI* pReturn = NULL;
    for (CMarkupNode node = pRoot->GetChild(); node.IsValid(); node = node.GetSibling()) {
        const wchar_t* pstrClass = node.GetName();
        if (IsResourceElement(pstrClass)) continue;
        if (Is(pstrClass, L"Include")) {
            _ParseInclude(node, pParent, pManager);
            continue;
        }
        if (Is(pstrClass, L"TreeNode")) {
            _ParseTreeNode(node, pParent, pManager);
            continue;
        }
        CControlUI* pControl = CreateNamedControl(pstrClass);
        if (pControl == NULL) continue;
        // Children are built and added before their parent is attached or configured.
        if (node.HasChildren()) _Parse(&node, pControl, pManager);
        if (pParent != NULL) {
            if (!bContainerLooked) {
                // Inside a tree node, controls go into the node's row.
                pContainer = pParent->GetInterface(L"TreeNode") != NULL
                                 ? GetSkinTreeNodeRow(pParent)
                                 : static_cast<IContainerUI*>(pParent->GetInterface(L"IContainer"));
                bContainerLooked = true;
            }
            if (pContainer == NULL) {
                delete pControl;
                return NULL;
            }
            if (!pContainer->Add(pControl)) {
                delete pControl;
                continue;
            }
        }
        else if (pReturn != NULL) {
            // Only the first control of a level without a parent goes to the
            // caller; nobody would own the others.
            delete pControl;
            continue;
        }
        Configure(node, pControl, pManager);
        // The manager is attached for good when it attaches the whole tree.
        if (pManager != NULL) pControl->SetManager(NULL, NULL, false);
        if (pReturn == NULL) pReturn = pControl;
    }
    return pReturn;
}

// A tree node joins its parent node's children as soon as it is made, before
// its attributes, or, under a tree view, the view's rows together with the
// subtree built under it, after them. Under anything else it is skipped with
// its content; refused, it is destroyed with the subtree built under it.
// Tree nodes are never a level's result.
void CDialogBuilder::_ParseTreeNode(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager)
{
    const bool bUnderNode = pParent != NULL && pParent->GetInterface(L"TreeNode") != NULL;
    if (!bUnderNode && (pParent == NULL || pParent->GetInterface(L"TreeView") == NULL)) return;
    IContainerUI* pContainer = static_cast<IContainerUI*>(pParent->GetInterface(L"IContainer"));
    CControlUI* pNode = pContainer != NULL ? CreateSkinElement(L"TreeNode") : NULL;
    if (pNode == NULL) return;
    if (bUnderNode && !pContainer->Add(pNode)) {
        delete pNode;
        return;
    }
    Configure(node, pNode, pManager);
    if (node.HasChildren()) _Parse(&node, pNode, pManager);
    if (!bUnderNode && !pContainer->Add(pNode)) delete pNode;
}

void CDialogBuilder::_ParseInclude(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager)
{
    if (!node.HasAttributes()) return;
    wchar_t szValue[kIncludeValueChars + 1];
    ReadIncludeValue(node, L"count", szValue);
    const int nCount = node.HasAttribute(L"count") ? ParseIntValue(szValue) : 1;
    wchar_t szSource[kIncludeValueChars + 1];
    ReadIncludeValue(node, L"source", szSource);
    if (!node.HasAttribute(L"source") || nCount <= 0) return;

    // A document that includes itself, a nesting too deep or more builds than
    // the budget leaves fail the whole include, before anything is built.
    const UINT uSourceId = m_pstrtype != NULL ? LOWORD(ParseIntValue(szSource)) : 0;
    int& nBudget = IncludeBudget();
    if (IncludeDepth() >= MAX_INCLUDE_DEPTH || nCount > nBudget || IsBeingBuilt(szSource, uSourceId)) return;
    nBudget -= nCount;

    for (int i = 0; i < nCount; i++) {
        CDialogBuilder builder;
        builder.m_pIncluder = this;
        CControlUI* pControl = m_pstrtype != NULL
                                   ? builder.Create(STRINGorID(uSourceId), m_pstrtype, m_pCallback, pManager, pParent)
                                   : builder.Create(szSource, NULL, m_pCallback, pManager, pParent);
        // With a parent the included controls are its children; without one
        // nobody would own them.
        if (pParent == NULL) delete pControl;
    }
}

bool CDialogBuilder::IsBeingBuilt(const wchar_t* pstrSource, UINT uSourceId) const
{
    for (const CDialogBuilder* pBuilder = this; pBuilder != NULL; pBuilder = pBuilder->m_pIncluder) {
        const bool bSame = m_pstrtype != NULL ? pBuilder->m_pstrtype != NULL && pBuilder->m_uSourceId == uSourceId
                                              : !pBuilder->m_sSourceFile.IsEmpty() &&
                                                    pBuilder->m_sSourceFile.CompareNoCase(pstrSource) == 0;
        if (bSame) return true;
    }
    return false;
}

int CDialogBuilder::IncludeDepth() const
{
    int nDepth = 0;
    for (const CDialogBuilder* pBuilder = this; pBuilder != NULL; pBuilder = pBuilder->m_pIncluder) nDepth++;
    return nDepth;
}

int& CDialogBuilder::IncludeBudget()
{
    CDialogBuilder* pTop = this;
    while (pTop->m_pIncluder != NULL) pTop = pTop->m_pIncluder;
    return pTop->m_nIncludeBudget;
}

} // namespace SkinLib
