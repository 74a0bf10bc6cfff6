#include "controls/ControlUI.h"

#include <wchar.h>

#include "core/SkinRect.h"

namespace SkinLib {

CControlUI::CControlUI()
    : m_pManager(NULL), m_pParent(NULL), m_bUpdateNeeded(true), m_rcItem(), m_bVisible(true), m_bInternVisible(true),
      m_bEnabled(true), m_bMouseEnabled(true), m_bFocused(false), m_bInSizeEvent(false), m_chShortcut(L'\0'),
      m_nTooltipWidth(300), m_rcPaint()
{
}

CControlUI::~CControlUI()
{
    OnDestroy(this);
    // The manager must forget every pointer it keeps to this control.
    if (m_pManager != NULL) m_pManager->ReapObjects(this);
}

const CSkinString& CControlUI::GetName() const
{
    return m_sName;
}

void CControlUI::SetName(const wchar_t* pstrName)
{
    m_sName = pstrName;
}

const wchar_t* CControlUI::GetClass() const
{
    return L"ControlUI";
}

void* CControlUI::GetInterface(const wchar_t* pstrName)
{
    return wcscmp(pstrName, L"Control") == 0 ? this : NULL;
}

UINT CControlUI::GetControlFlags() const
{
    return 0;
}

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

CPaintManagerUI* CControlUI::GetManager() const
{
    return m_pManager;
}

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    m_pManager = pManager;
    m_pParent = pParent;
    if (bInit && m_pParent != NULL) Init();
}

CControlUI* CControlUI::GetParent() const
{
    return m_pParent;
}

const RECT& CControlUI::GetPos() const
{
    return m_rcItem;
}

void CControlUI::SetPos(RECT rc)
{
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;

    CSkinRect invalidateRc = m_rcItem;
    if (::IsRectEmpty(&invalidateRc)) invalidateRc = rc;
    m_rcItem = rc;
    if (m_pManager == NULL) return;

    if (!m_bInSizeEvent) {
        m_bInSizeEvent = true;
        OnSize(this);
        m_bInSizeEvent = false;
    }
    m_bUpdateNeeded = false;

    // Both the old and the new place need repainting, as far as the ancestors show them.
    invalidateRc.Join(m_rcItem);
    if (ClipToAncestors(invalidateRc)) m_pManager->Invalidate(invalidateRc);
}

CSkinString CControlUI::GetToolTip() const
{
    return m_sToolTip;
}

void CControlUI::SetToolTip(const wchar_t* pstrText)
{
    m_sToolTip = pstrText;
    m_sToolTip.Replace(L"<n>", L"\r\n");
}

void CControlUI::SetToolTipWidth(int nWidth)
{
    m_nTooltipWidth = nWidth;
}

int CControlUI::GetToolTipWidth() const
{
    return m_nTooltipWidth;
}

wchar_t CControlUI::GetShortcut() const
{
    return m_chShortcut;
}

void CControlUI::SetShortcut(wchar_t ch)
{
    m_chShortcut = ch;
}

bool CControlUI::IsVisible() const
{
    return m_bVisible && m_bInternVisible;
}

void CControlUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) return;
    bool bWasVisible = IsVisible();
    m_bVisible = bVisible;
    m_bFocused = false;
    if (!bVisible && m_pManager != NULL && m_pManager->GetFocus() == this) m_pManager->SetFocus(NULL);
    if (IsVisible() != bWasVisible) NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool bVisible)
{
    m_bInternVisible = bVisible;
    if (!bVisible && m_pManager != NULL && m_pManager->GetFocus() == this) m_pManager->SetFocus(NULL);
}

bool CControlUI::IsEnabled() const
{
    return m_bEnabled;
}

void CControlUI::SetEnabled(bool bEnable)
{
    if (m_bEnabled == bEnable) return;
    m_bEnabled = bEnable;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const
{
    return m_bMouseEnabled;
}

void CControlUI::SetMouseEnabled(bool bEnable)
{
    m_bMouseEnabled = bEnable;
}

bool CControlUI::IsFocused() const
{
    return m_bFocused;
}

void CControlUI::SetFocus()
{
    if (m_pManager != NULL) m_pManager->SetFocus(this);
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC Proc, void* pData, UINT uFlags)
{
    if ((uFlags & FINDFLAG_VISIBLE) != 0 && !IsVisible()) return NULL;
    if ((uFlags & FINDFLAG_ENABLED) != 0 && !IsEnabled()) return NULL;
    if ((uFlags & FINDFLAG_HITTEST) != 0 &&
        (!m_bMouseEnabled || !::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData)))) {
        return NULL;
    }
    return Proc(this, pData);
}

void CControlUI::Init()
{
    DoInit();
    OnInit(this);
}

void CControlUI::DoInit()
{
}

void CControlUI::Event(tagTEventUI& event)
{
    if (OnEvent(&event)) DoEvent(event);
}

void CControlUI::DoEvent(tagTEventUI& event)
{
    switch (event.nEventType) {
    case SKIN_EVT_SETCURSOR:
        ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
        return;
    case SKIN_EVT_SETFOCUS:
        m_bFocused = true;
        Invalidate();
        return;
    case SKIN_EVT_KILLFOCUS:
        m_bFocused = false;
        Invalidate();
        return;
    case SKIN_EVT_TIMER:
        if (m_pManager != NULL) m_pManager->SendNotify(this, L"timer", event.wMsgParam, event.lMsgParam);
        return;
    default:
        // Unhandled input bubbles up; the root drops it.
        if (m_pParent != NULL) m_pParent->DoEvent(event);
        return;
    }
}

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    ::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem);
}

void CControlUI::DoPostPaint(HDC hDC, const RECT& rcPaint)
{
}

CSkinString CControlUI::GetVirtualWnd() const
{
    if (!m_sVirtualWnd.IsEmpty()) return m_sVirtualWnd;
    if (m_pParent != NULL) return m_pParent->GetVirtualWnd();
    return CSkinString();
}

void CControlUI::SetVirtualWnd(const wchar_t* pstrValue)
{
    m_sVirtualWnd = pstrValue;
    if (m_pManager != NULL) m_pManager->UsedVirtualWnd(true);
}

void CControlUI::Invalidate()
{
    if (!IsVisible()) return;
    RECT invalidateRc = m_rcItem;
    if (m_pManager != NULL && ClipToAncestors(invalidateRc)) m_pManager->Invalidate(invalidateRc);
}

// Cuts rc to what every ancestor shows of it; false when nothing is left.
bool CControlUI::ClipToAncestors(RECT& rc) const
{
    for (CControlUI* pParent = m_pParent; pParent != NULL; pParent = pParent->GetParent()) {
        RECT rcTemp = rc;
        if (!::IntersectRect(&rc, &rcTemp, &pParent->GetPos())) return false;
    }
    return true;
}

bool CControlUI::IsUpdateNeeded() const
{
    return m_bUpdateNeeded;
}

void CControlUI::NeedUpdate()
{
    if (!IsVisible()) return;
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager != NULL) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate()
{
    if (m_pParent != NULL) {
        m_pParent->NeedUpdate();
        m_pParent->Invalidate();
    }
    else {
        NeedUpdate();
    }
    if (m_pManager != NULL) m_pManager->NeedUpdate();
}

} // namespace SkinLib
