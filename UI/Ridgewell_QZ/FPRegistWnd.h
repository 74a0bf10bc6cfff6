#pragma once
// The fingerprint manager's main window: a fingerprint picture, a status text and
// the "Enroll" and "Delete" buttons, each of which starts a worker thread. The
// workers' texts, pictures and button states come back through the update channel
// and are applied here, on the window's thread.
#include <windows.h>

#include "UpdateChannel.h"
#include "controls/LabelUI.h"
#include "core/WindowImplBase.h"

// Private messages that let a sender drive an enrollment display (lParam carries the
// step or the status; wParam is unused).
#define WM_ENROLL_DONE (WM_USER + 101)    // "All Set!" and the pass picture
#define WM_ENROLL_STEP (WM_USER + 102)    // lParam: the step; starts the blink timer
#define WM_ENROLL_RESULT (WM_USER + 103)  // lParam: ENROLL_STATUS_OK or an error; stops it
#define WM_ENROLL_CLOSE (WM_USER + 104)   // closes the window with result 2
#define ENROLL_STATUS_OK 0x9000
#define BLINK_TIMER_ID 100

class CFPRegistWnd : public SkinLib::WindowImplBase, public IUpdateTarget
{
public:
    explicit CFPRegistWnd(LPCWSTR pstrSkinFile);
    ~CFPRegistWnd() override;

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void InitWindow() override;
    void Notify(SkinLib::tagTNotifyUI& msg) override;
    // Enter and Escape do nothing here; the blink timer toggles the blink picture.
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // The workers' updates, applied to the named control; an unknown name is skipped.
    void ApplyText(LPCWSTR pstrControl, LPCWSTR pstrText) override;
    void ApplyImage(LPCWSTR pstrControl, LPCWSTR pstrImage) override;
    void ApplyEnabled(LPCWSTR pstrControl, bool bEnabled) override;

protected:
    LPCWSTR GetWndClassName() const override;
    SkinLib::CSkinString GetSkinDirectory() override;
    SkinLib::CSkinString GetSkinXmlName() override;
    SkinLib::UILIB_RESOURCETYPE GetResourceType() const override;
    LPCWSTR GetResourceID() const override;

private:
    void OnBtnFinger();
    void OnBtnDelete();
    void OnBtnClose();
    void OnEnrollDoneMsg();
    void OnEnrollStepMsg(LPARAM lParam);
    void OnEnrollResultMsg(LPARAM lParam);
    void SetStatus(LPCWSTR pstrText);
    void SetBlinkPicture(LPCWSTR pstrImage);
    static void EnableControl(SkinLib::CControlUI* pControl, bool bEnabled);
    // Starts a worker on the update channel; false when none runs.
    bool StartWorker(LPTHREAD_START_ROUTINE pfnWorker);

    SkinLib::CControlUI* m_pPicture;    // "image_show"
    SkinLib::CControlUI* m_pBlink;      // "image_blink": the shipped skin has none
    SkinLib::CLabelUI* m_pStatus;       // "txt_show"
    SkinLib::CControlUI* m_pHint;       // "text_2"
    SkinLib::CControlUI* m_pCloseBtn;   // "closebtn"
    SkinLib::CControlUI* m_pEnrollBtn;  // "btn_Enroll"
    SkinLib::CControlUI* m_pDeleteBtn;  // "btn_Delete"
    SkinLib::CSkinString m_sSkinFile;
    UINT32 m_uStep;
    CUpdateChannelRef m_updates;
};
