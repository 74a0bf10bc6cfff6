#pragma once

#include <windows.h>

#include "core/EventSource.h"
#include "core/PaintManagerUI.h"
#include "core/SkinString.h"

namespace SkinLib {

// Capabilities a control reports through GetControlFlags.
enum SKIN_CONTROL_FLAGS : UINT
{
    CTLFLAG_TABSTOP = 0x00000001,
    CTLFLAG_SETCURSOR = 0x00000002,
    CTLFLAG_LISTITEM = 0x00000004,
};

// How FindControl walks a tree.
enum SKIN_FIND_FLAGS : UINT
{
    FINDFLAG_ANY = 0x00000000,
    FINDFLAG_VISIBLE = 0x00000001,
    FINDFLAG_ENABLED = 0x00000002,
    FINDFLAG_HITTEST = 0x00000004,  // the data is a POINT
    FINDFLAG_TOPFIRST = 0x00000008,
    FINDFLAG_MEFIRST = 0x80000000,
};

// Offered each control a walk lets through; a non-null result ends the walk.
typedef CControlUI* (CALLBACK* FINDCONTROLPROC)(CControlUI*, void*);

// The base of every windowless control: a rectangle of the paint window that
// the window's CPaintManagerUI lays out, paints and feeds with events.
class CControlUI
{
public:
    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;
    virtual ~CControlUI();

    virtual const CSkinString& GetName() const;
    virtual void SetName(const wchar_t* pstrName);
    virtual const wchar_t* GetClass() const;
    virtual void* GetInterface(const wchar_t* pstrName);
    virtual UINT GetControlFlags() const;
    virtual bool Activate();
    virtual CPaintManagerUI* GetManager() const;
    virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
    virtual CControlUI* GetParent() const;
    virtual const RECT& GetPos() const;
    virtual void SetPos(RECT rc);
    virtual CSkinString GetToolTip() const;
    // Every "<n>" in the text becomes a line break.
    virtual void SetToolTip(const wchar_t* pstrText);
    virtual void SetToolTipWidth(int nWidth);
    virtual int GetToolTipWidth() const;
    virtual wchar_t GetShortcut() const;
    virtual void SetShortcut(wchar_t ch);
    virtual bool IsVisible() const;
    virtual void SetVisible(bool bVisible = true);
    virtual void SetInternVisible(bool bVisible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool bEnable = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool bEnable = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual CControlUI* FindControl(FINDCONTROLPROC Proc, void* pData, UINT uFlags);
    virtual void Init();
    virtual void DoInit();
    virtual void Event(tagTEventUI& event);
    virtual void DoEvent(tagTEventUI& event);
    virtual void DoPaint(HDC hDC, const RECT& rcPaint);
    virtual void DoPostPaint(HDC hDC, const RECT& rcPaint);

    // The routing name of this control's notifications: its own, else its parent's.
    CSkinString GetVirtualWnd() const;
    void SetVirtualWnd(const wchar_t* pstrValue);

    void Invalidate();
    bool IsUpdateNeeded() const;
    void NeedUpdate();
    void NeedParentUpdate();

    CEventSource OnInit;
    CEventSource OnDestroy;
    CEventSource OnSize;
    CEventSource OnEvent;
    CEventSource OnNotify;

protected:
    bool ClipToAncestors(RECT& rc) const;

    CPaintManagerUI* m_pManager;
    CControlUI* m_pParent;
    CSkinString m_sVirtualWnd;
    CSkinString m_sName;
    bool m_bUpdateNeeded;
    RECT m_rcItem;
    bool m_bVisible;
    bool m_bInternVisible;
    bool m_bEnabled;
    bool m_bMouseEnabled;
    bool m_bFocused;
    bool m_bInSizeEvent;
    wchar_t m_chShortcut;
    CSkinString m_sToolTip;
    int m_nTooltipWidth;
    RECT m_rcPaint;
};

} // namespace SkinLib
