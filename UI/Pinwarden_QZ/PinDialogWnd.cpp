#include "PinDialogWnd.h"

#include "controls/EditUI.h"

using namespace SkinLib;

namespace {

const int kSkinArchiveId = 109;
// Set in a key-down's lParam when the key was already down: an auto-repeat.
const LPARAM kKeyWasDown = 1 << 30;

// Returned and stored without a temporary in between, which would leave a
// copy behind.
CSkinString TextOf(CControlUI* pEntry)
{
    return pEntry != NULL ? pEntry->GetText() : CSkinString();
}

} // namespace

CEntryText::CEntryText(CControlUI* pEntry) : m_sText(TextOf(pEntry))
{
}

CEntryText::~CEntryText()
{
    m_sText.SecureEmpty();
}

CPinDialogWnd::CPinDialogWnd(const wchar_t* pstrSkinFile) : m_sSkinFile(pstrSkinFile)
{
}

CPinDialogWnd::~CPinDialogWnd()
{
    m_sPinText.SecureEmpty();
}

LPCWSTR CPinDialogWnd::GetWndClassName() const
{
    return L"SkinMainFrame";
}

CSkinString CPinDialogWnd::GetSkinDirectory()
{
    return L"Skins";
}

CSkinString CPinDialogWnd::GetSkinXmlName()
{
    return m_sSkinFile;
}

UILIB_RESOURCETYPE CPinDialogWnd::GetResourceType() const
{
    return SKIN_FROM_ZIPRESOURCE;
}

LPCWSTR CPinDialogWnd::GetResourceID() const
{
    return MAKEINTRESOURCEW(kSkinArchiveId);
}

LRESULT CPinDialogWnd::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (uMsg != WM_KEYDOWN || (wParam != VK_RETURN && wParam != VK_ESCAPE)) return 0;
    // A held Enter repeats its key-down; only the press itself confirms.
    if (wParam == VK_RETURN && (lParam & kKeyWasDown) == 0) OnBnClickedOk();
    bHandled = true;
    return 1;
}

void CPinDialogWnd::ConnectToService()
{
    m_pipe.Open();
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

PinExchangeResult CPinDialogWnd::ExchangePin(CControlUI* pEntry)
{
    {
        CEntryText text(pEntry);
        m_sPinText.SecureEmpty();
        m_sPinText = text.Get();
    }
    PinExchangeResult result = m_pipe.Exchange(m_sPinText, m_sPinText.GetLength());
    m_sPinText.SecureEmpty();
    DropQueuedInput();
    return result;
}

void CPinDialogWnd::DropQueuedInput()
{
    MSG msg;
    while (::PeekMessageW(&msg, NULL, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (::PeekMessageW(&msg, NULL, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
}

void CPinDialogWnd::SelectAll(CControlUI* pEntry)
{
    CEditUI* pEdit = pEntry != NULL ? static_cast<CEditUI*>(pEntry->GetInterface(L"Edit")) : NULL;
    if (pEdit != NULL) pEdit->SetSelAll();
}
