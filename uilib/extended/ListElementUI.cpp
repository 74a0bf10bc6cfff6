// The plain list items:
//   - CListElementUI: activation, the rest to the owner
//   - CListLabelElementUI: hover, clicks, the size of its text, painting
//   - CListTextElementUI: a text per column, links
#include "extended/ListElementUI.h"

#include <wchar.h>

#include <new>

#include "core/RenderEngine.h"

namespace SkinLib {

namespace {

// One text in the owner's style: mark-up when the owner says so, else plain
// in the item font. Links are collected into the nLinks slots given; returns
// how many were found.
int DrawItemString(HDC hDC, CPaintManagerUI* pManager, const tagTListInfoUI& info, RECT& rc,
                   const wchar_t* pstrText, DWORD dwColor, UINT uStyle, RECT* prcLinks = NULL,
                   CSkinString* psLinks = NULL, int nLinks = 0)
{
    if (!info.bItemShowHtml) {
        CRenderEngine::DrawTextW(hDC, pManager, rc, pstrText, dwColor, info.nItemFont, uStyle);
        return 0;
    }
    CRenderEngine::DrawHtmlText(hDC, pManager, rc, pstrText, dwColor, prcLinks, psLinks, nLinks, uStyle);
    return nLinks;
}

// The height of a line of the item font with the vertical padding and 8.
int ItemLineHeight(CPaintManagerUI* pManager, const tagTListInfoUI& info)
{
    return ClampToInt(static_cast<long long>(pManager->GetFontInfo(info.nItemFont)->tmMetrics.tmHeight) +
                      info.rcItemTextPadding.top + info.rcItemTextPadding.bottom + 8);
}

} // namespace

// ---------------------------------------------------------------------------
// CListElementUI

const wchar_t* CListElementUI::GetClass() const
{
    return L"ListElementUI";
}

void* CListElementUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"ListElement") == 0) return this;
    return CListItemImpl<CControlUI>::GetInterface(pstrName);
}

void CListElementUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseToOwner(event) || ActivateOnInput(event)) return;
    PassToOwner(event);
}

// ---------------------------------------------------------------------------
// CListLabelElementUI

const wchar_t* CListLabelElementUI::GetClass() const
{
    return L"ListLabelElementUI";
}

void* CListLabelElementUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"ListLabelElement") == 0) return this;
    return CListElementUI::GetInterface(pstrName);
}

void CListLabelElementUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseToOwner(event) || FollowPointer(event)) return;
    CListElementUI::DoEvent(event);
}

SIZE CListLabelElementUI::EstimateSize(SIZE szAvailable)
{
    tagTListInfoUI* pInfo = m_pOwner != NULL ? m_pOwner->GetListInfo() : NULL;
    if (pInfo == NULL) return SIZE{};
    SIZE sz = {m_nFixedWidth, m_nFixedHeight};
    if (m_pManager == NULL) return sz;
    if (sz.cy == 0) sz.cy = ItemLineHeight(m_pManager, *pInfo);
    if (sz.cx == 0 && m_pManager->GetPaintDC() != NULL) {
        const UINT uStyle = (pInfo->uItemTextStyle & ~(DT_CENTER | DT_RIGHT)) | DT_CALCRECT | DT_SINGLELINE;
        const TextWidth key = {-1, m_pManager->GetFont(pInfo->nItemFont), uStyle, sz.cy, pInfo->bItemShowHtml};
        TextWidth& w = m_textWidth;
        if (w.cx < 0 || w.hFont != key.hFont || w.uStyle != key.uStyle || w.cy != key.cy || w.bHtml != key.bHtml) {
            RECT rcText = {0, 0, 9999, sz.cy};
            DrawItemString(m_pManager->GetPaintDC(), m_pManager, *pInfo, rcText, m_sText, 0, uStyle);
            w = key;
            w.cx = ClampToInt(static_cast<long long>(rcText.right) - rcText.left);
        }
        sz.cx = ClampToInt(static_cast<long long>(w.cx) + pInfo->rcItemTextPadding.left + pInfo->rcItemTextPadding.right);
    }
    return sz;
}

void CListLabelElementUI::SetText(const wchar_t* pstrText)
{
    m_textWidth.cx = -1;
    CListElementUI::SetText(pstrText);
}

void CListLabelElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    DrawItemBk(hDC, m_rcItem);
    DrawItemText(hDC, m_rcItem);
}

void CListLabelElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    tagTListInfoUI* pInfo = m_pOwner != NULL ? m_pOwner->GetListInfo() : NULL;
    if (pInfo == NULL || m_sText.IsEmpty()) return;
    RECT rcText = ShrinkRect(rcItem, pInfo->rcItemTextPadding);
    const DWORD dwColor = GetStateColor(pInfo->dwItemTextColor, pInfo->dwHotItemTextColor,
                                        pInfo->dwSelectedItemTextColor, pInfo->dwDisabledItemTextColor);
    DrawItemString(hDC, m_pManager, *pInfo, rcText, m_sText, dwColor, pInfo->uItemTextStyle | DT_SINGLELINE);
}

// ---------------------------------------------------------------------------
// CListTextElementUI

CListTextElementUI::CListTextElementUI() : m_nLinks(0), m_nHoverLink(-1), m_pOwnerList(NULL)
{
}

CListTextElementUI::~CListTextElementUI()
{
    for (int i = 0; i < m_aTexts.GetSize(); i++) delete static_cast<CSkinString*>(m_aTexts[i]);
}

const wchar_t* CListTextElementUI::GetClass() const
{
    return L"ListTextElementUI";
}

void* CListTextElementUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"ListTextElement") == 0) return this;
    return CListLabelElementUI::GetInterface(pstrName);
}

UINT CListTextElementUI::GetControlFlags() const
{
    return IsEnabled() && m_nLinks > 0 ? UINT{CTLFLAG_SETCURSOR | CTLFLAG_LISTITEM} : UINT{CTLFLAG_LISTITEM};
}

void CListTextElementUI::SetOwner(CControlUI* pOwner)
{
    CListLabelElementUI::SetOwner(pOwner);
    m_pOwnerList = pOwner != NULL ? static_cast<IListUI*>(pOwner->GetInterface(L"IList")) : NULL;
}

const wchar_t* CListTextElementUI::GetText(int iIndex) const
{
    const CSkinString* pText = static_cast<const CSkinString*>(m_aTexts.GetAt(iIndex));
    return pText != NULL ? pText->GetData() : NULL;
}

void CListTextElementUI::SetText(int iIndex, const wchar_t* pstrText)
{
    if (m_pOwnerList == NULL || pstrText == NULL) return;
    const int nColumns = m_pOwnerList->GetListInfo()->nColumnCount;
    if (iIndex < 0 || iIndex >= nColumns) return;
    while (m_aTexts.GetSize() < nColumns) {
        if (!m_aTexts.Add(NULL)) return;
    }
    CSkinString* pText = static_cast<CSkinString*>(m_aTexts[iIndex]);
    if (pText != NULL) {
        if (*pText == pstrText) return;
        *pText = pstrText;
    }
    else {
        pText = new (std::nothrow) CSkinString(pstrText);
        if (pText == NULL) return;
        m_aTexts.SetAt(iIndex, pText);
    }
    Invalidate();
}

const CSkinString* CListTextElementUI::GetLinkContent(int iIndex) const
{
    return iIndex >= 0 && iIndex < m_nLinks ? &m_pLinks->s[iIndex] : NULL;
}

int CListTextElementUI::LinkAt(POINT pt) const
{
    for (int i = 0; i < m_nLinks; i++) {
        if (::PtInRect(&m_pLinks->rc[i], pt)) return i;
    }
    return -1;
}

void CListTextElementUI::DoEvent(tagTEventUI& event)
{
    // A mouse-disabled item's mouse events go to its owner.
    if (PassOnMouseToOwner(event)) return;
    switch (event.nEventType) {
    case SKIN_EVT_SETCURSOR:
        if (LinkAt(event.ptMousePos) < 0) break;
        ::SetCursor(::LoadCursorW(NULL, IDC_HAND));
        return;
    case SKIN_EVT_BUTTONUP: {
        const int iLink = IsEnabled() ? LinkAt(event.ptMousePos) : -1;
        if (iLink < 0) break;
        if (m_pManager != NULL) m_pManager->SendNotify(this, L"link", static_cast<WPARAM>(iLink));
        return;
    }
    case SKIN_EVT_MOUSEMOVE: {
        if (m_nLinks == 0) break;
        const int iHover = LinkAt(event.ptMousePos);
        if (iHover == m_nHoverLink) break;
        Invalidate();
        m_nHoverLink = iHover;
        break;
    }
    case SKIN_EVT_MOUSELEAVE:
        if (m_nHoverLink == -1) break;
        Invalidate();
        m_nHoverLink = -1;
        break;
    default:
        break;
    }
    CListLabelElementUI::DoEvent(event);
}

SIZE CListTextElementUI::EstimateSize(SIZE szAvailable)
{
    SIZE sz = {m_nFixedWidth, m_nFixedHeight};
    if (sz.cy == 0 && m_pManager != NULL && m_pOwnerList != NULL) {
        sz.cy = ItemLineHeight(m_pManager, *m_pOwnerList->GetListInfo());
    }
    return sz;
}

void CListTextElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    if (m_pOwnerList == NULL) return;
    const tagTListInfoUI& info = *m_pOwnerList->GetListInfo();
    IListCallbackUI* pCallback = m_pOwnerList->GetTextCallback();
    const DWORD dwColor = GetStateColor(info.dwItemTextColor, info.dwHotItemTextColor, info.dwSelectedItemTextColor,
                                        info.dwDisabledItemTextColor);
    const RECT& rcPadding = info.rcItemTextPadding;
    const int nColumns = LimitSize(info.nColumnCount, 0, tagTListInfoUI::MAX_COLUMNS);
    CSkinString sText;
    m_nLinks = 0;
    if (info.bItemShowHtml && !m_pLinks) m_pLinks.reset(new (std::nothrow) LinkSlots);
    for (int i = 0; i < nColumns; i++) {
        // A hidden or floating column has no width: its cell shows nothing.
        const RECT& rcColumn = info.rcColumns[i];
        if (rcColumn.right <= rcColumn.left) continue;
        RECT rcCell = ShrinkRect(RECT{rcColumn.left, m_rcItem.top, rcColumn.right, m_rcItem.bottom}, rcPadding);
        // The callback's text need live only until it returns.
        sText = pCallback != NULL ? pCallback->GetCellText(this, m_iIndex, i) : GetText(i);
        if (sText.IsEmpty()) continue;
        // Without room for the slots the text is drawn, its links are not kept.
        const int nRoom = m_pLinks ? MAX_LINK - m_nLinks : 0;
        m_nLinks += DrawItemString(hDC, m_pManager, info, rcCell, sText, dwColor,
                                   info.uItemTextStyle | DT_SINGLELINE, nRoom > 0 ? &m_pLinks->rc[m_nLinks] : NULL,
                                   nRoom > 0 ? &m_pLinks->s[m_nLinks] : NULL, nRoom);
    }
    if (!m_pLinks) return;
    for (int i = m_nLinks; i < MAX_LINK; i++) {
        ::SetRectEmpty(&m_pLinks->rc[i]);
        m_pLinks->s[i].Empty();
    }
}

} // namespace SkinLib
