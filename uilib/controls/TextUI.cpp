// CTextUI, the multi-line label with links:
//   - identity and flags
//   - links: hit testing, the hand cursor, hover and "link"
//   - the size estimate: the wrapped text's height
//   - painting, which records where the links lie
#include "controls/TextUI.h"

#include <wchar.h>

#include "core/RenderEngine.h"

namespace SkinLib {

CTextUI::CTextUI() : m_nLinks(0), m_rcLinks(), m_nHoverLink(-1)
{
    m_uTextStyle = DT_WORDBREAK;
    m_rcTextPadding.left = 2;
    m_rcTextPadding.right = 2;
}

CTextUI::~CTextUI()
{
}

const wchar_t* CTextUI::GetClass() const
{
    return L"TextUI";
}

void* CTextUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"Text") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CTextUI::GetControlFlags() const
{
    return IsEnabled() && m_nLinks > 0 ? UINT(CTLFLAG_SETCURSOR) : 0u;
}

const CSkinString* CTextUI::GetLinkContent(int iIndex) const
{
    return iIndex >= 0 && iIndex < m_nLinks ? &m_sLinks[iIndex] : NULL;
}

int CTextUI::LinkAt(POINT pt) const
{
    for (int i = 0; i < m_nLinks; i++) {
        if (::PtInRect(&m_rcLinks[i], pt)) return i;
    }
    return -1;
}

void CTextUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseEvent(event)) return;
    switch (event.nEventType) {
    case SKIN_EVT_SETCURSOR:
        if (LinkAt(event.ptMousePos) < 0) break;
        ::SetCursor(::LoadCursorW(NULL, IDC_HAND));
        return;
    case SKIN_EVT_BUTTONDOWN:
    case SKIN_EVT_DBLCLICK:
        if ((event.nEventType == SKIN_EVT_DBLCLICK && !IsEnabled()) || LinkAt(event.ptMousePos) < 0) break;
        Invalidate();
        return;
    case SKIN_EVT_BUTTONUP: {
        const int iLink = IsEnabled() ? LinkAt(event.ptMousePos) : -1;
        if (iLink < 0) break;
        // The release alone decides: a press elsewhere that ends on a link clicks it.
        if (m_pManager != NULL) m_pManager->SendNotify(this, L"link", static_cast<WPARAM>(iLink), 0);
        return;
    }
    case SKIN_EVT_CONTEXTMENU:
        return;
    case SKIN_EVT_MOUSEMOVE: {
        if (!IsEnabled() || m_nLinks == 0) break;
        const int iHover = LinkAt(event.ptMousePos);
        if (iHover == m_nHoverLink) break;
        m_nHoverLink = iHover;
        Invalidate();
        return;
    }
    case SKIN_EVT_MOUSELEAVE:
        if (!IsEnabled() || m_nLinks == 0 || m_nHoverLink == -1) break;
        m_nHoverLink = -1;
        Invalidate();
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

SIZE CTextUI::EstimateSize(SIZE szAvailable)
{
    if (m_pManager == NULL || m_pManager->GetPaintDC() == NULL) return CLabelUI::EstimateSize(szAvailable);
    const int cxRoom = m_nFixedWidth > szAvailable.cx ? m_nFixedWidth : szAvailable.cx;
    RECT rcText = {m_rcTextPadding.left, 0, ClampToInt(static_cast<long long>(cxRoom) - m_rcTextPadding.right), 9999};
    DrawLabelText(m_pManager->GetPaintDC(), rcText, m_dwTextColor, m_uTextStyle | DT_CALCRECT);
    SIZE sz = {ClampToInt(static_cast<long long>(rcText.right) - rcText.left + m_rcTextPadding.left +
                          m_rcTextPadding.right),
               ClampToInt(static_cast<long long>(rcText.bottom) - rcText.top + m_rcTextPadding.top +
                          m_rcTextPadding.bottom)};
    if (m_nFixedHeight != 0) sz.cy = m_nFixedHeight;
    return sz;
}

void CTextUI::PaintText(HDC hDC)
{
    if (m_sText.IsEmpty()) {
        m_nLinks = 0;
        return;
    }
    UseDefaultTextColors();
    RECT rcText = GetTextRect();
    const DWORD dwColor = GetStateTextColor();
    if (m_bShowHtml) {
        // The renderer looks for the hovered link among the rectangles of the
        // last paint, then refills them.
        m_nLinks = MAX_LINK;
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rcText, m_sText, dwColor, m_rcLinks, m_sLinks, m_nLinks,
                                    m_uTextStyle);
        for (int i = m_nLinks; i < MAX_LINK; i++) ::SetRectEmpty(&m_rcLinks[i]);
    }
    else {
        // Plain text has no links: none of an earlier mark-up paint stays clickable.
        m_nLinks = 0;
        CRenderEngine::DrawTextW(hDC, m_pManager, rcText, m_sText, dwColor, m_iFont, m_uTextStyle);
    }
}

} // namespace SkinLib
