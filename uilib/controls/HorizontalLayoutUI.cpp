#include "controls/HorizontalLayoutUI.h"

#include <wchar.h>

#include "core/AttributeValue.h"

namespace SkinLib {

CHorizontalLayoutUI::CHorizontalLayoutUI() : CLineLayoutUI(true)
{
}

const wchar_t* CHorizontalLayoutUI::GetClass() const
{
    return L"HorizontalLayoutUI";
}

void* CHorizontalLayoutUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"HorizontalLayout") == 0) return this;
    return CLineLayoutUI::GetInterface(pstrName);
}

void CHorizontalLayoutUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName != NULL && wcscmp(pstrName, L"sepwidth") == 0) SetSepWidth(ParseIntValue(pstrValue));
    else CLineLayoutUI::SetAttribute(pstrName, pstrValue);
}

void CHorizontalLayoutUI::SetSepWidth(int iWidth)
{
    m_iSepSize = iWidth;
}

int CHorizontalLayoutUI::GetSepWidth() const
{
    return m_iSepSize;
}

} // namespace SkinLib
