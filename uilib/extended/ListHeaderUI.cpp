#include "extended/ListHeaderUI.h"

#include <wchar.h>

#include "extended/ListUI.h"

namespace SkinLib {

const wchar_t* CListHeaderUI::GetClass() const
{
    return L"ListHeaderUI";
}

void* CListHeaderUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"ListHeader") == 0) return this;
    return CHorizontalLayoutUI::GetInterface(pstrName);
}

SIZE CListHeaderUI::EstimateSize(SIZE szAvailable)
{
    long long cx = 0;
    int cy = m_nFixedHeight;
    const bool bMeasureHeight = cy == 0 && m_pManager != NULL;
    if (bMeasureHeight) cy = m_pManager->GetDefaultFontInfo()->tmMetrics.tmHeight + 6;
    for (int i = 0; i < m_items.GetSize(); i++) {
        const SIZE sz = GetItemAt(i)->EstimateSize(szAvailable);
        cx += sz.cx;
        if (bMeasureHeight && sz.cy > cy) cy = sz.cy;
    }
    return SIZE{ClampToInt(cx), cy};
}

void CListHeaderUI::SetPos(RECT rc)
{
    CHorizontalLayoutUI::SetPos(rc);
    CListUI* pList = m_pParent != NULL ? static_cast<CListUI*>(m_pParent->GetInterface(L"List")) : NULL;
    if (pList != NULL && pList->GetHeader() == this && !pList->m_bLayingOut) pList->NeedUpdate();
}

} // namespace SkinLib
