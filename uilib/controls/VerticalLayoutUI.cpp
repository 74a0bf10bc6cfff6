#include "controls/VerticalLayoutUI.h"

#include <wchar.h>

#include "core/AttributeValue.h"

namespace SkinLib {

CVerticalLayoutUI::CVerticalLayoutUI() : CLineLayoutUI(false)
{
}

const wchar_t* CVerticalLayoutUI::GetClass() const
{
    return L"VerticalLayoutUI";
}

void* CVerticalLayoutUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"VerticalLayout") == 0) return this;
    return CLineLayoutUI::GetInterface(pstrName);
}

void CVerticalLayoutUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != NULL && wcscmp(pstrName, L"sepheight") == 0) SetSepHeight(ParseIntValue(pstrValue));
    else CLineLayoutUI::SetAttribute(pstrName, pstrValue);
}

void CVerticalLayoutUI::SetSepHeight(int iHeight)
{
    m_iSepSize = iHeight;
}

int CVerticalLayoutUI::GetSepHeight() const
{
    return m_iSepSize;
}

} // namespace SkinLib
