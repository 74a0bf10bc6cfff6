#include "SkinMessageBox.h"

#include <new>

#include "controls/LabelUI.h"
#include "controls/TextUI.h"
#include "core/GdiScope.h"

using namespace SkinLib;

namespace {

// The box shown last; boxes nest, each call restores the one it covered.
CSkinMessageBox* s_pCurrentBox = NULL;

const int kWrapWidth = 350;
const int kMinTextWidth = 250;
const int kTextLeft = 65;
const int kTextTop = 25;
const int kIconPos = 25;
const int kIconSize = 32;
const int kButtonWidth = 90;
const int kButtonHeight = 28;
const int kButtonStep = 108;  // a button and the gap to its neighbour
const int kButtonMargin = 18;

} // namespace

CSkinMessageBox::CSkinMessageBox(const wchar_t* pstrSkinFile, const wchar_t* pstrTitle, const wchar_t* pstrText,
                                 UINT uType)
    : m_sText(pstrText), m_sTitle(pstrTitle), m_uType(uType), m_sSkinFile(pstrSkinFile), m_nTitleHeight(0),
      m_nResult(0)
{
}

int CSkinMessageBox::GetResult() const
{
    return m_nResult;
}

LPCWSTR CSkinMessageBox::GetWndClassName() const
{
    return L"SkinMainFrame";
}

CSkinString CSkinMessageBox::GetSkinDirectory()
{
    return L"";
}

CSkinString CSkinMessageBox::GetSkinXmlName()
{
    return m_sSkinFile;
}

// Enter answers OK and Escape Cancel; every other key is the controls'.
LRESULT CSkinMessageBox::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        m_nResult = wParam == VK_RETURN ? IDOK : IDCANCEL;
        Close(1);
        return 0;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CSkinMessageBox::InitWindow()
{
    ::SetWindowTextW(m_hWnd, m_sTitle);
    if (CControlUI* pTitle = m_PaintManager.FindControl(L"FSTitle")) pTitle->SetText(m_sTitle);
    CControlUI* pTitleBand = m_PaintManager.FindControl(L"MsgTitle");
    m_nTitleHeight = pTitleBand != NULL ? pTitleBand->GetFixedHeight() : 0;

    CControlUI* pBoxControl = m_PaintManager.FindControl(L"MsgBox");
    CContainerUI* pBox =
        pBoxControl != NULL ? static_cast<CContainerUI*>(pBoxControl->GetInterface(L"Container")) : NULL;
    if (pBox == NULL) return;

    int nTextWidth = 0, nRows = 0, nLineHeight = 0;
    MeasureText(nTextWidth, nRows, nLineHeight);
    if (CTextUI* pText = new (std::nothrow) CTextUI) {
        pText->SetFloat(true);
        pText->SetFixedXY(SIZE{kTextLeft, kTextTop});
        pText->SetFixedWidth(nTextWidth + 10);
        pText->SetFixedHeight(nRows * nLineHeight);
        pText->SetText(m_sText);
        pText->SetFont(0);
        pText->SetTextColor(0xFF000000);
        pText->SetShowHtml(true);
        if (!pBox->Add(pText)) delete pText;
    }
    ::SetWindowPos(m_hWnd, NULL, 0, 0, nTextWidth + 100, m_nTitleHeight + nRows * nLineHeight + 114,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    CreateButtons();
    switch (m_uType & MB_ICONMASK) {
    case 0: m_sIconFile = L"logo_32.png"; break;
    case MB_ICONERROR: m_sIconFile = L"Png_Msg_error.png"; break;
    case MB_ICONWARNING: m_sIconFile = L"Png_Msg_warning.png"; break;
    default: m_sIconFile = L"Png_Msg_info.png"; break;
    }
    if (m_uType & MB_TOPMOST) ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    if (CLabelUI* pIcon = new (std::nothrow) CLabelUI) {
        pIcon->SetFloat(true);
        pIcon->SetFixedXY(SIZE{kIconPos, kIconPos});
        pIcon->SetFixedWidth(kIconSize);
        pIcon->SetFixedHeight(kIconSize);
        pIcon->SetBkImage(m_sIconFile);
        if (!pBox->Add(pIcon)) delete pIcon;
    }
    LayoutButtons(pBox);
}

// Lines are split at "\n"; an empty line between two breaks counts, a trailing
// empty piece does not. Every line takes one row per started 350 pixels.
void CSkinMessageBox::MeasureText(int& nWidth, int& nRows, int& nLineHeight)
{
    HDC hDC = m_PaintManager.GetPaintDC();
    CSelectScope font(hDC, m_PaintManager.GetFont(0));
    SIZE szText = {};
    ::GetTextExtentPoint32W(hDC, m_sText, m_sText.GetLength(), &szText);
    nLineHeight = szText.cy;

    int nWidest = 0;
    nRows = 0;
    const wchar_t* pstrText = m_sText;
    for (const wchar_t* pstrLine = pstrText; *pstrLine != L'\0';) {
        const wchar_t* pstrEnd = wcschr(pstrLine, L'\n');
        const int nLength = pstrEnd != NULL ? static_cast<int>(pstrEnd - pstrLine) : static_cast<int>(wcslen(pstrLine));
        SIZE szLine = {};
        if (nLength > 0) ::GetTextExtentPoint32W(hDC, pstrLine, nLength, &szLine);
        if (szLine.cx > nWidest) nWidest = szLine.cx;
        nRows += (szLine.cx + kWrapWidth - 1) / kWrapWidth;
        if (pstrEnd == NULL) break;
        pstrLine = pstrEnd + 1;
    }
    nWidth = nWidest < kMinTextWidth ? kMinTextWidth : nWidest > kWrapWidth ? kWrapWidth : nWidest;
}

void CSkinMessageBox::CreateButtons()
{
    switch (m_uType & MB_TYPEMASK) {
    case MB_OKCANCEL:
        CreateButton(L"OK");
        CreateButton(L"Cancel");
        break;
    case MB_YESNO:
        CreateButton(L"Yes");
        CreateButton(L"No");
        break;
    default:
        CreateButton(L"OK");
        break;
    }
}

CButtonUI* CSkinMessageBox::CreateButton(const wchar_t* pstrText)
{
    CButtonUI* pButton = CreateButtonEx(pstrText, RECT{}, SIZE{}, 0xFFCCCCCC, 0xFFCCCCCC, 0xFF000000, 0);
    if (pButton != NULL && !m_aButtons.Add(pButton)) {
        delete pButton;
        pButton = NULL;
    }
    return pButton;
}

CButtonUI* CSkinMessageBox::CreateButtonEx(const wchar_t* pstrText, RECT rc, SIZE szRound, DWORD dwBkColor,
                                           DWORD dwBkColor2, DWORD dwTextColor, int iFont)
{
    CButtonUI* pButton = new (std::nothrow) CButtonUI;
    if (pButton == NULL) return NULL;
    pButton->SetFloat(true);
    pButton->SetFixedXY(SIZE{rc.left, rc.top});
    pButton->SetFixedWidth(rc.right - rc.left);
    pButton->SetFixedHeight(rc.bottom - rc.top);
    pButton->SetBkColor(dwBkColor);
    pButton->SetBkColor2(dwBkColor2);
    pButton->SetBorderRound(szRound);
    pButton->SetName(pstrText);
    pButton->SetText(pstrText);
    pButton->SetTextColor(dwTextColor);
    pButton->SetBorderColor(0xFFD7D7D7);
    pButton->SetFocusBorderColor(0xFF0078D7);
    pButton->SetBorderSize(1);
    pButton->SetFont(iFont);
    return pButton;
}

// The last button sits in the bottom-right corner, each earlier one 108 pixels
// to the left of the next.
void CSkinMessageBox::LayoutButtons(CContainerUI* pBox)
{
    RECT rcWindow = {};
    ::GetWindowRect(m_hWnd, &rcWindow);
    const int cx = rcWindow.right - rcWindow.left;
    const int cy = rcWindow.bottom - rcWindow.top;
    RECT rc = {cx - kButtonStep, cy - m_nTitleHeight - kButtonMargin - kButtonHeight, cx - kButtonMargin,
               cy - m_nTitleHeight - kButtonMargin};
    for (int i = m_aButtons.GetSize() - 1; i >= 0; i--) {
        CButtonUI* pButton = static_cast<CButtonUI*>(m_aButtons[i]);
        if (!pBox->Add(pButton)) {
            m_aButtons.Remove(i);
            delete pButton;
            continue;
        }
        pButton->SetFixedXY(SIZE{rc.left, rc.top});
        pButton->SetFixedWidth(kButtonWidth);
        pButton->SetFixedHeight(kButtonHeight);
        ::OffsetRect(&rc, -kButtonStep, 0);
    }
}

void CSkinMessageBox::Notify(tagTNotifyUI& msg)
{
    if (msg.sNotifyType != L"click") return;
    if (msg.pSenderControl != NULL) {
        const CSkinString& sName = msg.pSenderControl->GetName();
        if (sName == L"closebtn" || sName == L"Cancel") m_nResult = IDCANCEL;
        else if (sName == L"OK") m_nResult = IDOK;
        else if (sName == L"Yes") m_nResult = IDYES;
        else if (sName == L"No") m_nResult = IDNO;
    }
    Close(m_nResult);
}

int ShowSkinMessageBox(HWND hOwner, LPCWSTR pstrCaption, LPCWSTR pstrText, UINT uType)
{
    CSkinMessageBox box(L"MsgBox.xml", pstrCaption, pstrText, uType);
    CSkinMessageBox* pCovered = s_pCurrentBox;
    s_pCurrentBox = &box;
    box.Create(hOwner, L"Test", WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU, 0,
               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL);
    box.CenterWindow();
    box.ShowModal();
    s_pCurrentBox = pCovered;
    return box.GetResult();
}

void CloseSkinMessageBox()
{
    if (s_pCurrentBox != NULL) s_pCurrentBox->Close(0);
}
