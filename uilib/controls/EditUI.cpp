// CEditUI, the edit control:
//   - construction and destruction, identity and flags
//   - the native window
//   - text, placement, visibility and enabling, which the native window follows
//   - events
//   - skin attributes and settings
//   - painting: state images and the (masked) text
#include "controls/EditUI.h"

#include <wchar.h>

#include <new>

#include "controls/EditWnd.h"
#include "core/AttributeValue.h"
#include "core/RenderEngine.h"

namespace SkinLib {

namespace {

const wchar_t kBlackCircle = L'\x25CF';

} // namespace

CEditUI::CEditUI()
    : m_Popup(*this, MakeWindow), m_uMaxChar(255), m_bReadOnly(false), m_bPasswordMode(false),
      m_cPasswordChar(kBlackCircle), m_uButtonState(0), m_dwNativeEditBkColor(0xFFFFFFFF), m_iWindowStyls(0)
{
    m_rcTextPadding = RECT{4, 3, 4, 3};
    m_dwBackColor = 0xFFFFFFFF;
}

CEditUI::~CEditUI()
{
    m_sText.SecureEmpty();
    m_sTextValue.SecureEmpty();
}

const wchar_t* CEditUI::GetClass() const
{
    return L"EditUI";
}

void* CEditUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"Edit") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CEditUI::GetControlFlags() const
{
    return IsEnabled() ? CTLFLAG_TABSTOP | CTLFLAG_SETCURSOR : CLabelUI::GetControlFlags();
}

// ---------------------------------------------------------------------------
// The native window

CNativePopupWnd* CEditUI::MakeWindow(CNativePopup& popup)
{
    return new (std::nothrow) CEditWnd(popup);
}

// ---------------------------------------------------------------------------
// Text, placement, visibility and enabling

void CEditUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    m_Popup.OwnerMoves(pManager, pParent);
    CLabelUI::SetManager(pManager, pParent, bInit);
}

void CEditUI::SetText(const wchar_t* pstrText)
{
    if (pstrText == NULL) pstrText = L"";
    CSkinString& sText = ModeText();
    if (sText == pstrText) return;
    // A copy first: the new text may lie in the storage about to be wiped.
    CSkinString sNew(pstrText);
    sText.SecureEmpty();
    sText = sNew;
    if (m_Popup.GetWindow() != NULL) static_cast<CEditWnd*>(m_Popup.GetWindow())->ReplaceText(sNew);
    sNew.SecureEmpty();
    Invalidate();
}

void CEditUI::SetPos(RECT rc)
{
    CLabelUI::SetPos(rc);
    m_Popup.FollowOwner();
}

void CEditUI::SetVisible(bool bVisible)
{
    CLabelUI::SetVisible(bVisible);
    m_Popup.OwnerHiddenOrDisabled();
}

void CEditUI::SetInternVisible(bool bVisible)
{
    CLabelUI::SetInternVisible(bVisible);
    m_Popup.OwnerHiddenOrDisabled();
}

void CEditUI::SetEnabled(bool bEnable)
{
    CLabelUI::SetEnabled(bEnable);
    if (IsEnabled()) return;
    m_uButtonState = 0;
    m_Popup.OwnerHiddenOrDisabled();
}

// ---------------------------------------------------------------------------
// Events

void CEditUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseEvent(event) || m_Popup.DoEvent(event)) return;
    switch (event.nEventType) {
    case SKIN_EVT_SETCURSOR:
        if (!IsEnabled()) break;
        ::SetCursor(::LoadCursorW(NULL, IDC_IBEAM));
        return;
    case SKIN_EVT_MOUSEMOVE:
    case SKIN_EVT_BUTTONUP:
    case SKIN_EVT_CONTEXTMENU:
        return;
    case SKIN_EVT_MOUSELEAVE:
    case SKIN_EVT_MOUSEENTER:
        FollowMouseHot(event, m_uButtonState);
        return;
    case SKIN_EVT_BUTTONDOWN:
    case SKIN_EVT_RBUTTONDOWN:
    case SKIN_EVT_DBLCLICK: {
        if (!IsEnabled() || m_pManager == NULL) return;
        // The press belongs to the native window from here on.
        m_pManager->ReleaseCapture();
        if (IsFocused() && m_Popup.GetHWND() == NULL) {
            m_Popup.Open();
            if (!::PtInRect(&m_rcItem, event.ptMousePos)) return;
        }
        const HWND hWnd = m_Popup.GetHWND();
        if (hWnd == NULL) return;
        const int cch = ::GetWindowTextLengthW(hWnd);
        ::SendMessageW(hWnd, EM_SETSEL, 0, cch > 0 ? cch : 1);
        return;
    }
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

// ---------------------------------------------------------------------------
// Skin attributes and settings

void CEditUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    if (is(L"readonly")) SetReadOnly(ParseBoolValue(pstrValue));
    else if (is(L"numberonly")) SetNumberOnly(ParseBoolValue(pstrValue));
    else if (is(L"password")) SetPasswordMode(ParseBoolValue(pstrValue));
    else if (is(L"maxchar")) SetMaxChar(static_cast<UINT>(ParseIntValue(pstrValue)));
    else if (is(L"normalimage")) SetNormalImage(pstrValue);
    else if (is(L"hotimage")) SetHotImage(pstrValue);
    else if (is(L"focusedimage")) SetFocusedImage(pstrValue);
    else if (is(L"disabledimage")) SetDisabledImage(pstrValue);
    else if (is(L"nativebkcolor")) SetNativeEditBkColor(ParseColorValue(pstrValue));
    else CLabelUI::SetAttribute(pstrName, pstrValue);
}

SIZE CEditUI::EstimateSize(SIZE szAvailable)
{
    return EstimateLineSize(szAvailable, 6);
}

void CEditUI::SetMaxChar(UINT uMax)
{
    m_uMaxChar = uMax;
    if (m_Popup.GetHWND() != NULL) ::SendMessageW(m_Popup.GetHWND(), EM_LIMITTEXT, m_uMaxChar, 0);
}

UINT CEditUI::GetMaxChar() const
{
    return m_uMaxChar;
}

void CEditUI::SetReadOnly(bool bReadOnly)
{
    if (m_bReadOnly == bReadOnly) return;
    m_bReadOnly = bReadOnly;
    if (m_Popup.GetHWND() != NULL) ::SendMessageW(m_Popup.GetHWND(), EM_SETREADONLY, m_bReadOnly, 0);
    Invalidate();
}

bool CEditUI::IsReadOnly() const
{
    return m_bReadOnly;
}

void CEditUI::SetNumberOnly(bool bNumberOnly)
{
    if (bNumberOnly) m_iWindowStyls |= ES_NUMBER;
    else m_iWindowStyls &= ~ES_NUMBER;
}

bool CEditUI::IsNumberOnly() const
{
    return (m_iWindowStyls & ES_NUMBER) != 0;
}

int CEditUI::GetWindowStyls() const
{
    return m_iWindowStyls;
}

void CEditUI::SetPasswordMode(bool bPasswordMode)
{
    if (m_bPasswordMode == bPasswordMode) return;
    m_bPasswordMode = bPasswordMode;
    // An open native window follows at once: a PIN must not stay readable
    // there until the next opening.
    if (m_Popup.GetHWND() != NULL) {
        ::SendMessageW(m_Popup.GetHWND(), EM_SETPASSWORDCHAR, m_bPasswordMode ? m_cPasswordChar : 0, 0);
        ::InvalidateRect(m_Popup.GetHWND(), NULL, TRUE);
    }
    Invalidate();
}

bool CEditUI::IsPasswordMode() const
{
    return m_bPasswordMode;
}

void CEditUI::SetPasswordChar(wchar_t cPasswordChar)
{
    if (cPasswordChar == L'\0' || m_cPasswordChar == cPasswordChar) return;
    m_cPasswordChar = cPasswordChar;
    if (m_Popup.GetHWND() != NULL && m_bPasswordMode) {
        ::SendMessageW(m_Popup.GetHWND(), EM_SETPASSWORDCHAR, m_cPasswordChar, 0);
        ::InvalidateRect(m_Popup.GetHWND(), NULL, TRUE);
    }
    Invalidate();
}

wchar_t CEditUI::GetPasswordChar() const
{
    return m_cPasswordChar;
}

const wchar_t* CEditUI::GetNormalImage() const { return m_sNormalImage; }
void CEditUI::SetNormalImage(const wchar_t* pStrImage) { SetStateImage(m_sNormalImage, pStrImage); }
const wchar_t* CEditUI::GetHotImage() const { return m_sHotImage; }
void CEditUI::SetHotImage(const wchar_t* pStrImage) { SetStateImage(m_sHotImage, pStrImage); }
const wchar_t* CEditUI::GetFocusedImage() const { return m_sFocusedImage; }
void CEditUI::SetFocusedImage(const wchar_t* pStrImage) { SetStateImage(m_sFocusedImage, pStrImage); }
const wchar_t* CEditUI::GetDisabledImage() const { return m_sDisabledImage; }
void CEditUI::SetDisabledImage(const wchar_t* pStrImage) { SetStateImage(m_sDisabledImage, pStrImage); }

void CEditUI::SetNativeEditBkColor(DWORD dwBkColor)
{
    m_dwNativeEditBkColor = dwBkColor;
}

DWORD CEditUI::GetNativeEditBkColor() const
{
    return m_dwNativeEditBkColor;
}

void CEditUI::SetSel(long nStartChar, long nEndChar)
{
    if (m_Popup.GetHWND() != NULL) ::SendMessageW(m_Popup.GetHWND(), EM_SETSEL, nStartChar, nEndChar);
}

void CEditUI::SetSelAll()
{
    SetSel(0, -1);
}

void CEditUI::SetReplaceSel(const wchar_t* lpszReplace)
{
    if (m_Popup.GetHWND() == NULL) return;
    ::SendMessageW(m_Popup.GetHWND(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(lpszReplace));
}

// ---------------------------------------------------------------------------
// Painting

void CEditUI::PaintStatusImage(HDC hDC)
{
    m_uButtonState = RefreshPaintState(m_uButtonState);
    CSkinString* pState = (m_uButtonState & CTLSTATE_DISABLED) != 0 ? &m_sDisabledImage
                          : (m_uButtonState & CTLSTATE_FOCUSED) != 0 ? &m_sFocusedImage
                          : (m_uButtonState & CTLSTATE_HOT) != 0 ? &m_sHotImage
                                                                 : NULL;
    if (pState != NULL && DrawImageOnce(hDC, *pState)) return;
    DrawImageOnce(hDC, m_sNormalImage);
}

void CEditUI::PaintText(HDC hDC)
{
    UseDefaultTextColors();
    const CSkinString& sText = ModeText();
    if (sText.IsEmpty()) return;
    CSkinString sMasked;
    if (m_bPasswordMode) {
        // One mask character per character: a surrogate pair counts once,
        // also where CharNextW steps by code unit.
        for (const wchar_t* p = sText; *p != L'\0';) {
            p = ::CharNextW(p);
            if (IS_LOW_SURROGATE(*p) && IS_HIGH_SURROGATE(p[-1])) p++;
            sMasked += m_cPasswordChar;
        }
    }
    RECT rcText = GetTextRect();
    CRenderEngine::DrawTextW(hDC, m_pManager, rcText, m_bPasswordMode ? sMasked.GetData() : sText.GetData(),
                             GetStateTextColor(), m_iFont, m_uTextStyle | DT_SINGLELINE);
}

} // namespace SkinLib
