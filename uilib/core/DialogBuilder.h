#pragma once

#include <windows.h>

#include "core/Markup.h"
#include "core/PaintManagerUI.h"
#include "core/SkinString.h"
#include "core/StringOrId.h"

namespace SkinLib {

class CControlUI;

// Asked for the skin elements the builder does not know itself. Never deleted
// through the interface.
class IDialogBuilderCallback
{
public:
    // A new control for the element name, or null when the name is not the callback's.
    virtual CControlUI* CreateControl(const wchar_t* pstrClass) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

// Turns a skin document into a tree of controls: the document's Window, Font,
// Image and Default elements go to the paint manager, every other element
// becomes a control by its name. The caller owns the control returned.
//
// Each control is built children first: its child elements become controls
// and are added to it, through its IContainerUI's Add, while it has neither
// a parent nor attributes of its own; then it is added to its parent; then
// it gets the default attribute list of its element name and its own
// attributes in document order. Containers that route or wire their children
// on Add (a list sorting header, columns and items apart, a tree view taking
// a node's whole subtree as rows) rely on that order: a child comes to Add
// with its own children already in it, and its own attributes still to come.
// A tree node inside a tree node is the exception: it joins its parent node
// first, and the controls inside a tree node go into the node's row.
class CDialogBuilder
{
public:
    // A skin may nest includes this deep (the document that includes counts
    // as the first level) ...
    enum { MAX_INCLUDE_DEPTH = 8 };
    // ... and build at most this many included documents in one Create, so
    // that "count" multiplied along the nesting stays bounded.
    enum { MAX_INCLUDE_BUILDS = 256 };

    CDialogBuilder();
    CDialogBuilder(const CDialogBuilder&) = delete;
    CDialogBuilder& operator=(const CDialogBuilder&) = delete;

    // xml is a resource identifier of the given type in the resource module,
    // the document itself when it begins with "<", else a skin file name
    // (resource folder or skin archive).
    CControlUI* Create(STRINGorID xml, const wchar_t* type = NULL, IDialogBuilderCallback* pCallback = NULL,
                       CPaintManagerUI* pManager = NULL, CControlUI* pParent = NULL);
    // Builds from the document already loaded.
    CControlUI* Create(IDialogBuilderCallback* pCallback = NULL, CPaintManagerUI* pManager = NULL,
                       CControlUI* pParent = NULL);

    CMarkup* GetMarkup();
    void GetLastErrorMessage(wchar_t* pstrMessage, SIZE_T cchMax) const;
    void GetLastErrorLocation(wchar_t* pstrSource, SIZE_T cchMax) const;

private:
    void ApplyResources(CMarkupNode& root, CPaintManagerUI* pManager);
    CControlUI* _Parse(CMarkupNode* pRoot, CControlUI* pParent, CPaintManagerUI* pManager);
    void _ParseInclude(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager);
    void _ParseTreeNode(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager);
    CControlUI* CreateNamedControl(const wchar_t* pstrClass) const;
    bool IsBeingBuilt(const wchar_t* pstrSource, UINT uSourceId) const;
    int IncludeDepth() const;
    int& IncludeBudget();

    CMarkup m_xml;
    IDialogBuilderCallback* m_pCallback;  // borrowed
    const wchar_t* m_pstrtype;            // borrowed; set when the document came from a resource

    // Where this builder's document came from, so that an include of a
    // document already being built is refused: the file name, or the resource
    // identifier; neither for an inline document.
    CSkinString m_sSourceFile;
    UINT m_uSourceId;
    CDialogBuilder* m_pIncluder;  // the builder whose Include made this one; null at the top
    int m_nIncludeBudget;         // builds left; kept by the top builder only
};

} // namespace SkinLib
