// CDateTimeWnd, the date-time control's picker:
//   - opening over the owner with its date
//   - the keys that empty or keep the text, and the date taken back on closing
#include "extended/DateTimeWnd.h"

#include <commctrl.h>

namespace SkinLib {

CDateTimeWnd::CDateTimeWnd(CNativePopup& popup) : CNativePopupWnd(popup)
{
}

LPCWSTR CDateTimeWnd::GetWndClassName() const
{
    return L"DateTimeWnd";
}

LPCWSTR CDateTimeWnd::GetSuperClassName() const
{
    return DATETIMEPICK_CLASSW;
}

CDateTimeUI* CDateTimeWnd::Owner() const
{
    return static_cast<CDateTimeUI*>(GetOwner());
}

RECT CDateTimeWnd::ComputeRect() const
{
    return Owner()->GetPos();
}

bool CDateTimeWnd::IsDropDown(HWND hWnd) const
{
    return hWnd != NULL && hWnd == reinterpret_cast<HWND>(::SendMessageW(m_hWnd, DTM_GETMONTHCAL, 0, 0));
}

bool CDateTimeWnd::Open()
{
    // The picker's class is there only once the date classes are initialised.
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!CreateOverOwner(WS_CHILD)) return false;
    CDateTimeUI* pOwner = Owner();
    SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(pOwner->GetManager()->GetFont(pOwner->GetFont())), TRUE);
    LoadDate();
    return true;
}

void CDateTimeWnd::LoadDate()
{
    CDateTimeUI* pOwner = Owner();
    if (pOwner == NULL) return;
    pOwner->m_nDTUpdateFlag = CDateTimeUI::DT_NONE;
    if (pOwner->GetText().IsEmpty()) ::GetLocalTime(&pOwner->m_sysTime);
    SendMessageW(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&pOwner->m_sysTime));
    ShowFocused();
    m_bInit = true;
}

LRESULT CDateTimeWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // Other messages read nothing after the base has handled them: it may have deleted the object.
    const LRESULT lRes = CNativePopupWnd::HandleMessage(uMsg, wParam, lParam);
    if (uMsg != WM_KEYUP || (wParam != VK_BACK && wParam != VK_DELETE && wParam != VK_ESCAPE)) return lRes;
    CDateTimeUI* pOwner = Owner();
    if (pOwner == NULL) return lRes;
    if (wParam == VK_ESCAPE) {
        pOwner->m_nDTUpdateFlag = CDateTimeUI::DT_KEEP;
    }
    else {
        pOwner->m_nDTUpdateFlag = CDateTimeUI::DT_DELETE;
        pOwner->UpdateText();
    }
    Dismiss();
    return lRes;
}

void CDateTimeWnd::OnClosing()
{
    CDateTimeUI* pOwner = Owner();
    if (pOwner == NULL || pOwner->m_nDTUpdateFlag != CDateTimeUI::DT_NONE) return;
    SYSTEMTIME st = {};
    if (SendMessageW(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID) pOwner->m_sysTime = st;
    pOwner->m_nDTUpdateFlag = CDateTimeUI::DT_UPDATE;
    pOwner->UpdateText();
}

} // namespace SkinLib
