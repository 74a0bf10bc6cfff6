// CChildLayoutUI: the skin file it loads, once, and the bound on layouts
// that load one another.
#include "controls/ChildLayoutUI.h"

#include <wchar.h>

#include "core/DialogBuilder.h"

namespace SkinLib {

CChildLayoutUI::CChildLayoutUI() : m_bLoaded(false)
{
}

const wchar_t* CChildLayoutUI::GetClass() const
{
    return L"ChildLayoutUI";
}

void* CChildLayoutUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"ChildLayout") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

void CChildLayoutUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != NULL && wcscmp(pstrName, L"xmlfile") == 0) SetChildLayoutXML(pstrValue);
    else CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CChildLayoutUI::SetChildLayoutXML(const wchar_t* pstrXML)
{
    m_sXMLFile = pstrXML;
}

const CSkinString& CChildLayoutUI::GetChildLayoutXML() const
{
    return m_sXMLFile;
}

// Child layouts inside the file load theirs as this one attaches what it
// built, so a file that shows itself, directly or through others, would
// never end. A file already shown by an enclosing child layout is refused,
// and layouts nest no deeper than includes do.
bool CChildLayoutUI::MayLoad()
{
    int nDepth = 1;
    for (CControlUI* pOuter = m_pParent; pOuter != NULL; pOuter = pOuter->GetParent()) {
        const CChildLayoutUI* pLayout = static_cast<CChildLayoutUI*>(pOuter->GetInterface(L"ChildLayout"));
        if (pLayout == NULL) continue;
        if (pLayout->m_sXMLFile.CompareNoCase(m_sXMLFile) == 0) return false;
        if (++nDepth > CDialogBuilder::MAX_INCLUDE_DEPTH) return false;
    }
    return true;
}

void CChildLayoutUI::Init()
{
    if (m_bLoaded || m_sXMLFile.IsEmpty() || m_pManager == NULL) return;
    m_bLoaded = true;
    if (!MayLoad()) return;
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(STRINGorID(m_sXMLFile.GetData()), NULL, NULL, m_pManager, NULL);
    if (pRoot == NULL) {
        RemoveAll();
        return;
    }
    // Linked to this layout before it is initialised, so that the child
    // layouts inside see whose file they are part of.
    pRoot->SetManager(NULL, this, false);
    if (!Add(pRoot)) delete pRoot;
}

} // namespace SkinLib
