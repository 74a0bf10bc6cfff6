#pragma once

#include "extended/ListItemImpl.h"

namespace SkinLib {

// A list item that is a container of any controls, laid out as the
// container lays out; the base of the tree node.
class CListContainerElementUI : public CListItemImpl<CContainerUI>
{
public:
    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    // Double click and Return activate it, hover and clicks as a label
    // element's; the rest goes to the owner.
    void DoEvent(tagTEventUI& event) override;
    // The background from the owner's style, then the container with its children.
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    // Nothing: the children paint themselves.
    void DrawItemText(HDC hDC, const RECT& rcItem) override;
};

} // namespace SkinLib
