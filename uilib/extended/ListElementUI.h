#pragma once

#include <memory>

#include "core/StdPtrArray.h"
#include "extended/ListItemImpl.h"

namespace SkinLib {

// The base of the plain list items: a control that is a list item. It draws
// no text of its own; its subclasses do.
class CListElementUI : public CListItemImpl<CControlUI>
{
public:
    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    // Double click and Return activate it; the rest goes to the owner.
    void DoEvent(tagTEventUI& event) override;
};

// An item showing the control's text on one line, in the owner's style.
class CListLabelElementUI : public CListElementUI
{
public:
    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    // Hover and clicks, then what CListElementUI does.
    void DoEvent(tagTEventUI& event) override;
    // (0, 0) without an owner; else the fixed size, or a line of the item font
    // with the padding and 8, and the text's width with the padding.
    SIZE EstimateSize(SIZE szAvailable) override;
    // The background from the owner's style, then the text; nothing of the
    // control base's own painting.
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;
    void SetText(const wchar_t* pstrText) override;

private:
    // The text's width as last measured and what it was measured with: a
    // layout asks every item for its size more than once, and measuring is
    // what an estimate costs.
    struct TextWidth
    {
        int cx = -1;  // -1: not measured
        HFONT hFont = NULL;
        UINT uStyle = 0;
        int cy = 0;
        bool bHtml = false;
    };
    TextWidth m_textWidth;
};

// An item showing one text per header column, each in its column's
// rectangle: from the list's text callback when it has one, else the
// item's own texts. Mark-up texts may hold up to MAX_LINK links, which are
// clickable ("link" with the link's index).
class CListTextElementUI : public CListLabelElementUI
{
public:
    enum { MAX_LINK = 8 };

    CListTextElementUI();
    ~CListTextElementUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;
    // Links: the hand cursor, hover, and "link" at a release over one.
    void DoEvent(tagTEventUI& event) override;
    // The fixed size, or with no fixed height a line of the item font with
    // the padding and 8; the width stays the fixed one.
    SIZE EstimateSize(SIZE szAvailable) override;
    // Also keeps the owner as a list, for its columns and text callback.
    void SetOwner(CControlUI* pOwner) override;
    // Every column's text in its cell; the rectangle given is not used.
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    using CListLabelElementUI::GetText;
    using CListLabelElementUI::SetText;
    // The item's own text of a column; null when it has none.
    const wchar_t* GetText(int iIndex) const;
    // Ignored before the item is in a list, for a column the list's header
    // does not have and for a null text.
    void SetText(int iIndex, const wchar_t* pstrText);
    // The target text of a link as last painted; null for no such link.
    const CSkinString* GetLinkContent(int iIndex) const;

protected:
    // The first link under the point, or -1.
    int LinkAt(POINT pt) const;

    // The links' hit rectangles and texts, in window coordinates as last
    // painted. Made at the first paint of mark-up text: most rows never have
    // links, and a list holds thousands of rows.
    struct LinkSlots
    {
        RECT rc[MAX_LINK];
        CSkinString s[MAX_LINK];
    };

    int m_nLinks;
    std::unique_ptr<LinkSlots> m_pLinks;
    int m_nHoverLink;
    IListUI* m_pOwnerList;
    CStdPtrArray m_aTexts;  // CSkinString*, owned; null for a column without text
};

} // namespace SkinLib
