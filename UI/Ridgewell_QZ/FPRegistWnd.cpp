// The fingerprint manager's main window.
//   - skin and controls: the window's skin source, InitWindow
//   - clicks: Notify and the three button handlers
//   - the private enrollment messages, the blink timer and the key pre-filter
//   - the workers' updates, applied on the window's thread
#include "FPRegistWnd.h"

#include "DeleteThreadProc.h"
#include "EnrollStepPicture.h"
#include "EnrollSysPool.h"

using namespace SkinLib;

namespace {

// Whether the next blink tick shows red; one for the process, as there is one window.
bool g_bBlinkRed = false;

const int kSkinArchiveId = 109;
const DWORD kErrorTextColor = 0xFFCD0000;

} // namespace

CFPRegistWnd::CFPRegistWnd(LPCWSTR pstrSkinFile)
    : m_pPicture(NULL),
      m_pBlink(NULL),
      m_pStatus(NULL),
      m_pHint(NULL),
      m_pCloseBtn(NULL),
      m_pEnrollBtn(NULL),
      m_pDeleteBtn(NULL),
      m_sSkinFile(pstrSkinFile),
      m_uStep(1)
{
}

CFPRegistWnd::~CFPRegistWnd() = default;

LPCWSTR CFPRegistWnd::GetWndClassName() const
{
    return L"SkinMainFrame";
}

CSkinString CFPRegistWnd::GetSkinDirectory()
{
    return L"Skins";
}

CSkinString CFPRegistWnd::GetSkinXmlName()
{
    return m_sSkinFile;
}

UILIB_RESOURCETYPE CFPRegistWnd::GetResourceType() const
{
    return SKIN_FROM_ZIPRESOURCE;
}

LPCWSTR CFPRegistWnd::GetResourceID() const
{
    return MAKEINTRESOURCEW(kSkinArchiveId);
}

void CFPRegistWnd::InitWindow()
{
    m_pCloseBtn = m_PaintManager.FindControl(L"closebtn");
    m_pEnrollBtn = m_PaintManager.FindControl(L"btn_Enroll");
    m_pDeleteBtn = m_PaintManager.FindControl(L"btn_Delete");
    m_pPicture = m_PaintManager.FindControl(L"image_show");
    m_pBlink = m_PaintManager.FindControl(L"image_blink");
    CControlUI* pStatus = m_PaintManager.FindControl(L"txt_show");
    m_pStatus = pStatus == NULL ? NULL : static_cast<CLabelUI*>(pStatus->GetInterface(L"Label"));
    m_pHint = m_PaintManager.FindControl(L"text_2");
    m_updates.Reset(CUpdateChannel::Create(m_hWnd));
}

void CFPRegistWnd::Notify(tagTNotifyUI& msg)
{
    if (msg.sNotifyType == L"click" && msg.pSenderControl != NULL) {
        const CSkinString& sName = msg.pSenderControl->GetName();
        if (sName == L"btn_Enroll") {
            OnBtnFinger();
        }
        else if (sName == L"btn_Delete") {
            OnBtnDelete();
        }
        else if (sName == L"closebtn") {
            // The base would close the window a second time.
            EnableControl(m_pCloseBtn, false);
            OnBtnClose();
            return;
        }
    }
    WindowImplBase::Notify(msg);
}

void CFPRegistWnd::OnBtnFinger()
{
    ::OutputDebugStringW(L"fun in OnBtnFinger");
    EnableControl(m_pEnrollBtn, false);
    EnableControl(m_pDeleteBtn, false);
    if (!StartWorker(EnrollSysPool)) {
        EnableControl(m_pEnrollBtn, true);
        EnableControl(m_pDeleteBtn, true);
    }
}

void CFPRegistWnd::OnBtnDelete()
{
    // Disabled here, before the worker runs, so that a second fast click finds the
    // button off and starts no second deletion; the worker disables it again itself.
    EnableControl(m_pDeleteBtn, false);
    if (!StartWorker(DeleteThreadProc)) EnableControl(m_pDeleteBtn, true);
}

void CFPRegistWnd::OnBtnClose()
{
    SetStatus(L"Cancel...");
    // Painted now: the close below comes before any paint the queue would bring.
    ::UpdateWindow(m_hWnd);
    Close(1);
}

bool CFPRegistWnd::StartWorker(LPTHREAD_START_ROUTINE pfnWorker)
{
    return m_updates.Get() != NULL && m_updates->StartWorker(pfnWorker);
}

LRESULT CFPRegistWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_ENROLL_DONE: OnEnrollDoneMsg(); break;
    case WM_ENROLL_STEP: OnEnrollStepMsg(lParam); break;
    case WM_ENROLL_RESULT: OnEnrollResultMsg(lParam); break;
    case WM_ENROLL_CLOSE: Close(2); break;
    case WM_WORKER_UPDATES:
        if (m_updates.Get() != NULL) m_updates->Drain(*this);
        return 0;
    case WM_DESTROY:
        // Pending updates are freed and later ones dropped; a worker still blocked
        // in a WinBio call keeps the channel alive through its own reference.
        if (m_updates.Get() != NULL) {
            m_updates->Close();
            m_updates.Reset();
        }
        break;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CFPRegistWnd::OnEnrollDoneMsg()
{
    SetStatus(L"All Set!");
    if (m_pPicture != NULL) m_pPicture->SetBkImage(L"Pass.png");
}

void CFPRegistWnd::OnEnrollStepMsg(LPARAM lParam)
{
    m_uStep = static_cast<UINT32>(lParam);
    ::SetTimer(m_hWnd, BLINK_TIMER_ID, 100, NULL);
    SetStatus(m_uStep <= 6 ? L"[1/4] Touch The Sensor" : L"Keep going to capture the edges of you fingerprint");
}

void CFPRegistWnd::OnEnrollResultMsg(LPARAM lParam)
{
    ::KillTimer(m_hWnd, BLINK_TIMER_ID);
    if (lParam == ENROLL_STATUS_OK) {
        SetBlinkPicture(L"green.png");
        wchar_t szPicture[64];
        FormatEnrollStepPicture(m_uStep, szPicture, sizeof(szPicture) / sizeof(szPicture[0]));
        if (m_pPicture != NULL) m_pPicture->SetBkImage(szPicture);
    }
    else {
        SetBlinkPicture(L"red.png");
        SetStatus(L"An error occur,try again!");
        // Kept for every later text too.
        if (m_pStatus != NULL) m_pStatus->SetTextColor(kErrorTextColor);
    }
}

LRESULT CFPRegistWnd::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        bHandled = true;
        return 1;
    }
    if (uMsg == WM_TIMER && wParam == BLINK_TIMER_ID) {
        SetBlinkPicture(g_bBlinkRed ? L"red.png" : L"green.png");
        g_bBlinkRed = !g_bBlinkRed;
    }
    return 0;
}

void CFPRegistWnd::SetStatus(LPCWSTR pstrText)
{
    if (m_pStatus != NULL) m_pStatus->SetText(pstrText);
}

void CFPRegistWnd::SetBlinkPicture(LPCWSTR pstrImage)
{
    if (m_pBlink != NULL) m_pBlink->SetBkImage(pstrImage);
}

void CFPRegistWnd::EnableControl(CControlUI* pControl, bool bEnabled)
{
    if (pControl != NULL) pControl->SetEnabled(bEnabled);
}

void CFPRegistWnd::ApplyText(LPCWSTR pstrControl, LPCWSTR pstrText)
{
    CControlUI* pControl = m_PaintManager.FindControl(pstrControl);
    if (pControl != NULL) pControl->SetText(pstrText);
}

void CFPRegistWnd::ApplyImage(LPCWSTR pstrControl, LPCWSTR pstrImage)
{
    CControlUI* pControl = m_PaintManager.FindControl(pstrControl);
    if (pControl != NULL) pControl->SetBkImage(pstrImage);
}

void CFPRegistWnd::ApplyEnabled(LPCWSTR pstrControl, bool bEnabled)
{
    EnableControl(m_PaintManager.FindControl(pstrControl), bEnabled);
}
