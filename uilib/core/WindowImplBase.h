#pragma once

#include <windows.h>

#include "core/DialogBuilder.h"
#include "core/NotifyPump.h"
#include "core/PaintManagerUI.h"
#include "core/SkinString.h"
#include "core/WindowWnd.h"

namespace SkinLib {

// Where a window's skin comes from.
enum UILIB_RESOURCETYPE
{
    SKIN_FROM_FILE = 1,         // files under the resource path
    SKIN_FROM_ZIPFILE = 2,      // a zip file on disk, GetZIPFileName
    SKIN_FROM_RESOURCE = 3,     // an "xml" resource whose identifier is the text of GetSkinXmlName
    SKIN_FROM_ZIPRESOURCE = 4,  // a zip held in a "ZIPRES" resource, GetResourceID
};

// The base of every top-level window: a caption-less surface whose whole look
// comes from a skin. Window messages go to the On... handlers, then to the
// paint manager; notifications go through the message map.
class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback
{
public:
    WindowImplBase() = default;
    // A window still alive at this point (its loop ended on WM_QUIT) is
    // destroyed without this object, so no later message reaches it.
    virtual ~WindowImplBase();

    virtual void InitWindow();
    virtual void OnClick(tagTNotifyUI& msg);

protected:
    virtual CSkinString GetSkinDirectory() = 0;
    virtual CSkinString GetSkinXmlName() = 0;
    virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);
    virtual UILIB_RESOURCETYPE GetResourceType() const;
    virtual CSkinString GetZIPFileName() const;
    virtual LPCWSTR GetResourceID() const;

    // Set bHandled to FALSE to pass the message on.
    virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnChar(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LONG GetStyle();

    UINT GetClassStyle() const override;
    void OnFinalMessage(HWND hWnd) override;

public:
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void Notify(tagTNotifyUI& msg) override;
    // Enter and Escape go to ResponseDefaultKeyEvent; the message is never consumed.
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    // The builder knows its own element names only.
    CControlUI* CreateControl(const wchar_t* pstrClass) override;

protected:
    CPaintManagerUI m_PaintManager;
    // The process's copy of the skin archive resource; never freed.
    static LPBYTE m_lpResourceZIPBuffer;

    SKIN_DECLARE_MESSAGE_MAP()
};

} // namespace SkinLib
