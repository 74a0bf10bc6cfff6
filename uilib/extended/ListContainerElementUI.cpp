#include "extended/ListContainerElementUI.h"

#include <wchar.h>

namespace SkinLib {

const wchar_t* CListContainerElementUI::GetClass() const
{
    return L"ListContainerElementUI";
}

void* CListContainerElementUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"ListContainerElement") == 0) return this;
    return CListItemImpl<CContainerUI>::GetInterface(pstrName);
}

void CListContainerElementUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseToOwner(event) || ActivateOnInput(event) || FollowPointer(event)) return;
    PassToOwner(event);
}

void CListContainerElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    DrawItemBk(hDC, m_rcItem);
    CContainerUI::DoPaint(hDC, rcPaint);
}

void CListContainerElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
}

} // namespace SkinLib
