#pragma once

#include "controls/LabelUI.h"

namespace SkinLib {

// A label that wraps its text over several lines, measures its own height and,
// with mark-up text, makes up to eight links clickable: the hand cursor over
// them and "link" with the link's index when one is clicked.
class CTextUI : public CLabelUI
{
public:
    enum { MAX_LINK = 8 };

    CTextUI();
    ~CTextUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;
    void DoEvent(tagTEventUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintText(HDC hDC) override;

    // The target text of a link as last painted; null for no such link.
    const CSkinString* GetLinkContent(int iIndex) const;

protected:
    // The first link under the point, or -1.
    int LinkAt(POINT pt) const;

    int m_nLinks;
    RECT m_rcLinks[MAX_LINK];
    CSkinString m_sLinks[MAX_LINK];
    int m_nHoverLink;
};

} // namespace SkinLib
