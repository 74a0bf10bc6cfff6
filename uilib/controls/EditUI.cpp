// CEditUI, the edit control:
//   - construction and destruction, identity and flags
//   - the native window: opening, focusing, letting go, keeping it focused
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
    : m_pWindow(NULL), m_uMaxChar(255), m_bReadOnly(false), m_bPasswordMode(false), m_cPasswordChar(kBlackCircle),
      m_uButtonState(0), m_dwNativeEditBkColor(0xFFFFFFFF), m_iWindowStyls(0), m_FocusWatch(*this),
      m_bWatchingFocus(false)
{
    m_rcTextPadding = RECT{4, 3, 4, 3};
    m_dwBackColor = 0xFFFFFFFF;
}

CEditUI::~CEditUI()
{
    WatchFocus(false);
    // The native window may outlive this control for a moment, but never
    // knowing it.
    if (m_pWindow != NULL) m_pWindow->Abandon();
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

void CEditUI::OpenWindow()
{
    if (m_pManager == NULL || m_pManager->GetPaintWindow() == NULL) return;
    m_pWindow = new (std::nothrow) CEditWnd;
    if (m_pWindow == NULL) return;
    m_pWindow->Open(this);
    // A window that never came to be leaves its object behind; one that was
    // destroyed during creation has taken its object and our pointer with it.
    if (m_pWindow != NULL && m_pWindow->GetHWND() == NULL) {
        delete m_pWindow;
        m_pWindow = NULL;
    }
}

void CEditUI::FocusWindow()
{
    if (m_pWindow == NULL) OpenWindow();
    else if (::GetFocus() != m_pWindow->GetHWND()) ::SetFocus(m_pWindow->GetHWND());
}

void CEditUI::CloseWindow()
{
    if (m_pWindow == NULL) return;
    CEditWnd* pWindow = m_pWindow;
    m_pWindow = NULL;
    pWindow->Abandon();
    Invalidate();
}

bool CEditUI::WantsWindowFocus() const
{
    if (m_pManager == NULL || m_pManager->GetFocus() != this || !IsVisible() || !IsEnabled()) return false;
    // Only while the keyboard focus stays inside this window: another window's
    // focus is its own.
    const HWND hWndFocus = ::GetFocus();
    return hWndFocus == m_pManager->GetPaintWindow() || (m_pWindow != NULL && hWndFocus == m_pWindow->GetHWND());
}

void CEditUI::WatchFocus(bool bWatch)
{
    if (bWatch == m_bWatchingFocus || m_pManager == NULL) return;
    if (bWatch) m_bWatchingFocus = m_pManager->AddMessageFilter(&m_FocusWatch);
    else m_bWatchingFocus = !m_pManager->RemoveMessageFilter(&m_FocusWatch);
}

LRESULT CEditUI::CFocusWatch::MessageHandler(UINT uMsg, WPARAM /*wParam*/, LPARAM /*lParam*/, bool& /*bHandled*/)
{
    // The paint window takes the keyboard focus when it is activated, which
    // closes the native window; while this edit holds the focus, it opens
    // again, so that typing goes on without a click.
    if (uMsg != WM_SETFOCUS || m_owner.m_pWindow != NULL || !m_owner.WantsWindowFocus()) return 0;
    m_owner.OpenWindow();
    // Typing goes on after what was typed before.
    if (m_owner.m_pWindow == NULL) return 0;
    const int cch = ::GetWindowTextLengthW(m_owner.m_pWindow->GetHWND());
    m_owner.SetSel(cch, cch);
    return 0;
}

// ---------------------------------------------------------------------------
// Text, placement, visibility and enabling

void CEditUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    // Leaving the tree or the window ends the native window at once.
    if (pManager != m_pManager || pParent == NULL) {
        WatchFocus(false);
        CloseWindow();
    }
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
    if (m_pWindow != NULL) ::SetWindowTextW(m_pWindow->GetHWND(), sNew);
    sNew.SecureEmpty();
    Invalidate();
}

void CEditUI::SetPos(RECT rc)
{
    CLabelUI::SetPos(rc);
    if (m_pWindow == NULL) return;
    const RECT rcEdit = m_pWindow->ComputeEditRect();
    ::SetWindowPos(m_pWindow->GetHWND(), NULL, rcEdit.left, rcEdit.top, rcEdit.right - rcEdit.left,
                   rcEdit.bottom - rcEdit.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CEditUI::SetVisible(bool bVisible)
{
    CLabelUI::SetVisible(bVisible);
    CloseWindowWhenHidden();
}

void CEditUI::SetInternVisible(bool bVisible)
{
    CLabelUI::SetInternVisible(bVisible);
    CloseWindowWhenHidden();
}

void CEditUI::CloseWindowWhenHidden()
{
    if (IsVisible() || m_pWindow == NULL) return;
    if (m_pManager != NULL) m_pManager->SetFocus(NULL);
    CloseWindow();
}

void CEditUI::SetEnabled(bool bEnable)
{
    CLabelUI::SetEnabled(bEnable);
    if (IsEnabled()) return;
    m_uButtonState = 0;
    // A disabled edit takes no more typing, not even into a window already
    // open, and gives up the focus it can no longer take.
    if (m_pManager != NULL && m_pManager->GetFocus() == this) m_pManager->SetFocus(NULL);
    CloseWindow();
}

// ---------------------------------------------------------------------------
// Events

void CEditUI::DoEvent(tagTEventUI& event)
{
    if (PassOnMouseEvent(event)) return;
    switch (event.nEventType) {
    case SKIN_EVT_SETCURSOR:
        if (!IsEnabled()) break;
        ::SetCursor(::LoadCursorW(NULL, IDC_IBEAM));
        return;
    case SKIN_EVT_WINDOWSIZE:
        if (m_pWindow != NULL && m_pManager != NULL) m_pManager->SetFocusNeeded(this);
        break;
    case SKIN_EVT_SCROLLWHEEL:
        if (m_pWindow != NULL) return;
        break;
    case SKIN_EVT_SETFOCUS:
        if (!IsEnabled()) break;
        // A native window still closing from a moment's loss of the focus
        // takes it back.
        FocusWindow();
        WatchFocus(true);
        Invalidate();
        break;
    case SKIN_EVT_KILLFOCUS:
        WatchFocus(false);
        if (IsEnabled()) Invalidate();
        break;
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
        if (IsFocused() && m_pWindow == NULL) {
            OpenWindow();
            if (!::PtInRect(&m_rcItem, event.ptMousePos)) return;
        }
        if (m_pWindow == NULL) return;
        const int cch = ::GetWindowTextLengthW(m_pWindow->GetHWND());
        ::SendMessageW(m_pWindow->GetHWND(), EM_SETSEL, 0, cch > 0 ? cch : 1);
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
    if (m_pWindow != NULL) ::SendMessageW(m_pWindow->GetHWND(), EM_LIMITTEXT, m_uMaxChar, 0);
}

UINT CEditUI::GetMaxChar() const
{
    return m_uMaxChar;
}

void CEditUI::SetReadOnly(bool bReadOnly)
{
    if (m_bReadOnly == bReadOnly) return;
    m_bReadOnly = bReadOnly;
    if (m_pWindow != NULL) ::SendMessageW(m_pWindow->GetHWND(), EM_SETREADONLY, m_bReadOnly, 0);
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
    if (m_pWindow != NULL) {
        ::SendMessageW(m_pWindow->GetHWND(), EM_SETPASSWORDCHAR, m_bPasswordMode ? m_cPasswordChar : 0, 0);
        ::InvalidateRect(m_pWindow->GetHWND(), NULL, TRUE);
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
    if (m_pWindow != NULL && m_bPasswordMode) {
        ::SendMessageW(m_pWindow->GetHWND(), EM_SETPASSWORDCHAR, m_cPasswordChar, 0);
        ::InvalidateRect(m_pWindow->GetHWND(), NULL, TRUE);
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
    if (m_pWindow != NULL) ::SendMessageW(m_pWindow->GetHWND(), EM_SETSEL, nStartChar, nEndChar);
}

void CEditUI::SetSelAll()
{
    SetSel(0, -1);
}

void CEditUI::SetReplaceSel(const wchar_t* lpszReplace)
{
    if (m_pWindow == NULL) return;
    ::SendMessageW(m_pWindow->GetHWND(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(lpszReplace));
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
