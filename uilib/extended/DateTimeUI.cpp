// CDateTimeUI, the date-time control:
//   - construction, identity and the date's text
//   - the picker, which follows placement, visibility and enabling
//   - events
#include "extended/DateTimeUI.h"

#include <stdio.h>
#include <wchar.h>

#include <new>

#include "extended/DateTimeWnd.h"

namespace SkinLib {

CDateTimeUI::CDateTimeUI()
    : m_sysTime(), m_nDTUpdateFlag(DT_UPDATE), m_bReadOnly(false), m_Popup(*this, MakeWindow)
{
    ::GetLocalTime(&m_sysTime);
    UpdateText();
    m_nDTUpdateFlag = DT_NONE;
}

const wchar_t* CDateTimeUI::GetClass() const
{
    return L"DateTimeUI";
}

void* CDateTimeUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"DateTime") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

SYSTEMTIME& CDateTimeUI::GetTime()
{
    return m_sysTime;
}

void CDateTimeUI::SetTime(const SYSTEMTIME* pst)
{
    if (pst == NULL) return;
    m_sysTime = *pst;
    Invalidate();
}

void CDateTimeUI::SetReadOnly(bool bReadOnly)
{
    m_bReadOnly = bReadOnly;
    Invalidate();
}

bool CDateTimeUI::IsReadOnly() const
{
    return m_bReadOnly;
}

void CDateTimeUI::UpdateText()
{
    if (m_nDTUpdateFlag == DT_DELETE) {
        SetText(L"");
    }
    else if (m_nDTUpdateFlag == DT_UPDATE) {
        wchar_t szDate[32];
        ::swprintf(szDate, sizeof(szDate) / sizeof(szDate[0]), L"%4d-%02d-%02d", m_sysTime.wYear, m_sysTime.wMonth,
                   m_sysTime.wDay);
        SetText(szDate);
    }
}

// ---------------------------------------------------------------------------
// The picker

CNativePopupWnd* CDateTimeUI::MakeWindow(CNativePopup& popup)
{
    return new (std::nothrow) CDateTimeWnd(popup);
}

void CDateTimeUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    m_Popup.OwnerMoves(pManager, pParent);
    CLabelUI::SetManager(pManager, pParent, bInit);
}

void CDateTimeUI::SetPos(RECT rc)
{
    CLabelUI::SetPos(rc);
    m_Popup.FollowOwner();
}

void CDateTimeUI::SetVisible(bool bVisible)
{
    CLabelUI::SetVisible(bVisible);
    m_Popup.OwnerHiddenOrDisabled();
}

void CDateTimeUI::SetInternVisible(bool bVisible)
{
    CLabelUI::SetInternVisible(bVisible);
    m_Popup.OwnerHiddenOrDisabled();
}

void CDateTimeUI::SetEnabled(bool bEnable)
{
    CLabelUI::SetEnabled(bEnable);
    m_Popup.OwnerHiddenOrDisabled();
}

// ---------------------------------------------------------------------------
// Events

void CDateTimeUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseEvent(event) || m_Popup.DoEvent(event)) return;
    switch (event.nEventType) {
    case SKIN_EVT_MOUSEMOVE:
    case SKIN_EVT_MOUSELEAVE:
    case SKIN_EVT_MOUSEENTER:
    case SKIN_EVT_BUTTONUP:
    case SKIN_EVT_CONTEXTMENU:
        return;
    case SKIN_EVT_BUTTONDOWN:
    case SKIN_EVT_RBUTTONDOWN:
    case SKIN_EVT_DBLCLICK:
        if (!IsEnabled() || m_pManager == NULL) return;
        // The press belongs to the picker from here on.
        m_pManager->ReleaseCapture();
        if (m_Popup.GetWindow() != NULL) static_cast<CDateTimeWnd*>(m_Popup.GetWindow())->LoadDate();
        else if (IsFocused()) m_Popup.Open();
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

} // namespace SkinLib
