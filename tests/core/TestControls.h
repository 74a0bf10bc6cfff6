#pragma once
// Small controls, a tiny grid container, a host window and a ready tree for
// paint manager tests and benchmarks. Real containers and layouts are not needed here.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/ControlUI.h"
#include "core/PaintManagerUI.h"
#include "core/StdPtrArray.h"

namespace SkinLibTest {

using namespace SkinLib;

// A leaf control that records what the manager does to it.
class CProbeUI : public CControlUI
{
public:
    explicit CProbeUI(const wchar_t* pstrName = L"", UINT uFlags = 0) : m_uFlags(uFlags) { SetName(pstrName); }
    ~CProbeUI() override { if (pnDestroyed != NULL) ++*pnDestroyed; }

    const wchar_t* GetClass() const override { return L"ProbeUI"; }
    UINT GetControlFlags() const override { return m_uFlags; }
    bool Activate() override { return CControlUI::Activate() && ++nActivate > 0; }
    void SetPos(RECT rc) override
    {
        ++nSetPos;
        CControlUI::SetPos(rc);
        if (bStuck) m_bUpdateNeeded = true;
    }
    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        ++nPaint;
        CControlUI::DoPaint(hDC, rcPaint);
        ::FillRect(hDC, &m_rcPaint, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    }
    void DoPostPaint(HDC, const RECT&) override { if (paPostPaintLog != NULL) paPostPaintLog->push_back(this); }
    void DoEvent(tagTEventUI& event) override
    {
        aEvents.push_back(event.nEventType);
        aEventRecords.push_back(event);
        CControlUI::DoEvent(event);
    }
    // Marks the control as needing layout without asking its parent.
    void RequestLayout() { NeedUpdate(); }

    int nSetPos = 0, nPaint = 0, nActivate = 0;
    bool bStuck = false;  // SetPos leaves the update flag set
    std::vector<int> aEvents;
    std::vector<tagTEventUI> aEventRecords;  // the same events, whole
    int* pnDestroyed = NULL;
    std::vector<CControlUI*>* paPostPaintLog = NULL;

private:
    UINT m_uFlags;
};

// A label stand-in: the shortcut search treats any "LabelUI" class as a label.
class CProbeLabelUI : public CProbeUI
{
public:
    using CProbeUI::CProbeUI;
    const wchar_t* GetClass() const override { return L"ProbeLabelUI"; }
};

// A container that owns its children and places them in a grid of equal cells.
class CBoxUI : public CControlUI
{
public:
    explicit CBoxUI(int cxCell = 20, int cyCell = 20) : m_cxCell(cxCell), m_cyCell(cyCell) {}
    ~CBoxUI() override
    {
        for (int i = 0; i < GetCount(); i++) delete GetItemAt(i);
        if (pnDestroyed != NULL) ++*pnDestroyed;
    }

    const wchar_t* GetClass() const override { return L"BoxUI"; }
    void Add(CControlUI* pControl)
    {
        m_aItems.Add(pControl);
        if (m_pManager != NULL) m_pManager->InitControls(pControl, this);
        else pControl->SetManager(NULL, this, false);
        NeedUpdate();
    }
    // Hands the child to the manager's delayed clean-up, as containers do.
    void Remove(CControlUI* pControl)
    {
        Detach(pControl);
        if (m_pManager != NULL) m_pManager->AddDelayedCleanup(pControl);
        else delete pControl;
        NeedUpdate();
    }
    // Takes the child out of the tree and leaves its deletion to the caller.
    void Detach(CControlUI* pControl) { m_aItems.Remove(m_aItems.Find(pControl)); }
    int GetCount() const { return m_aItems.GetSize(); }
    CControlUI* GetItemAt(int i) const { return static_cast<CControlUI*>(m_aItems.GetAt(i)); }

    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override
    {
        for (int i = 0; i < GetCount(); i++) GetItemAt(i)->SetManager(pManager, this, bInit);
        CControlUI::SetManager(pManager, pParent, bInit);
    }
    void SetPos(RECT rc) override
    {
        ++nSetPos;
        CControlUI::SetPos(rc);
        int nColumns = (rc.right - rc.left) / m_cxCell;
        if (nColumns < 1) nColumns = 1;
        for (int i = 0; i < GetCount(); i++) {
            LONG x = rc.left + (i % nColumns) * m_cxCell, y = rc.top + (i / nColumns) * m_cyCell;
            GetItemAt(i)->SetPos(RECT{x, y, x + m_cxCell, y + m_cyCell});
        }
    }
    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        RECT rcTemp;
        if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
        CControlUI::DoPaint(hDC, rcPaint);
        for (int i = 0; i < GetCount(); i++) {
            CControlUI* pControl = GetItemAt(i);
            if (pControl->IsVisible() && ::IntersectRect(&rcTemp, &rcPaint, &pControl->GetPos())) {
                pControl->DoPaint(hDC, rcPaint);
            }
        }
    }
    CControlUI* FindControl(FINDCONTROLPROC Proc, void* pData, UINT uFlags) override
    {
        if ((uFlags & FINDFLAG_VISIBLE) != 0 && !IsVisible()) return NULL;
        if ((uFlags & FINDFLAG_ENABLED) != 0 && !IsEnabled()) return NULL;
        if ((uFlags & FINDFLAG_HITTEST) != 0 && !::PtInRect(&m_rcItem, *static_cast<POINT*>(pData))) return NULL;
        const bool bMeFirst = (uFlags & FINDFLAG_MEFIRST) != 0;
        CControlUI* pResult = bMeFirst ? CControlUI::FindControl(Proc, pData, uFlags) : NULL;
        for (int n = 0; n < GetCount() && pResult == NULL; n++) {
            int i = (uFlags & FINDFLAG_TOPFIRST) != 0 ? GetCount() - 1 - n : n;
            pResult = GetItemAt(i)->FindControl(Proc, pData, uFlags);
        }
        return pResult != NULL || bMeFirst ? pResult : CControlUI::FindControl(Proc, pData, uFlags);
    }

    int nSetPos = 0;
    int* pnDestroyed = NULL;

private:
    CStdPtrArray m_aItems;
    int m_cxCell, m_cyCell;
};

// Records every notification it receives.
class CNotifyLog : public INotifyUI
{
public:
    void Notify(tagTNotifyUI& msg) override
    {
        aTypes.push_back(msg.sNotifyType.GetData());
        aSenders.push_back(msg.pSenderControl);
        aVirtualWnds.push_back(msg.sVirtualWndName.GetData());
        aParams.push_back(msg.wNotifyParam);
        aLParams.push_back(msg.lNotifyParam);
    }
    int Count(const wchar_t* pstr) const { return static_cast<int>(std::count(aTypes.begin(), aTypes.end(), pstr)); }
    void Clear() { aTypes.clear(), aSenders.clear(), aVirtualWnds.clear(), aParams.clear(), aLParams.clear(); }

    std::vector<std::wstring> aTypes;
    std::vector<CControlUI*> aSenders;
    std::vector<std::wstring> aVirtualWnds;
    std::vector<WPARAM> aParams;
    std::vector<LPARAM> aLParams;
};

// A visible top-level (or child) window whose messages go to a paint manager first.
class CHostWindow
{
public:
    CHostWindow(CPaintManagerUI& pm, int cx, int cy, HWND hParent = NULL, bool bInit = true)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = WndProc;
        wc.hInstance = ::GetModuleHandleW(NULL);
        wc.lpszClassName = L"SkinLibTestHost";
        wc.hCursor = ::LoadCursorW(NULL, IDC_ARROW);
        ::RegisterClassW(&wc);  // fails harmlessly once registered
        DWORD dwStyle = hParent != NULL ? (WS_CHILD | WS_VISIBLE) : WS_POPUP;
        m_hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"test", dwStyle, 0, 0, cx, cy, hParent, NULL, wc.hInstance,
                                   &pm);
        // Shown after creation: Wine waits two seconds to destroy a window that was created visible.
        if (hParent == NULL) ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        if (bInit) pm.Init(m_hWnd);
    }
    CHostWindow(const CHostWindow&) = delete;
    CHostWindow& operator=(const CHostWindow&) = delete;
    ~CHostWindow() { ::DestroyWindow(m_hWnd); }

    operator HWND() const { return m_hWnd; }

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        if (uMsg == WM_NCCREATE) {
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        CPaintManagerUI* pm = reinterpret_cast<CPaintManagerUI*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        LRESULT lRes = 0;
        if (pm != NULL && pm->MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }

    HWND m_hWnd;
};

// A manager on a host window, listened to by a log, with a root box "root"
// holding the probes a and b (tab stops) and c. Nothing is painted yet.
struct CManagedTree
{
    explicit CManagedTree(int cx = 200, int cy = 100) : wnd(pm, cx, cy)
    {
        pRoot->SetName(L"root");
        for (CProbeUI* p : {a, b, c}) pRoot->Add(p);
        pm.AddNotifier(&log);
        pm.AttachDialog(pRoot);
    }
    // Counts the deletions of the root and the three probes.
    void CountDestroyed(int* pn) { pRoot->pnDestroyed = a->pnDestroyed = b->pnDestroyed = c->pnDestroyed = pn; }
    // Sends a message straight to the manager and returns whether it was handled.
    bool Handle(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        LRESULT lRes = 0;
        return pm.MessageHandler(uMsg, wParam, lParam, lRes);
    }

    CNotifyLog log;  // declared first: it outlives the manager
    CPaintManagerUI pm;
    CHostWindow wnd;
    CBoxUI* pRoot = new CBoxUI;
    CProbeUI* a = new CProbeUI(L"a", CTLFLAG_TABSTOP);
    CProbeUI* b = new CProbeUI(L"b", CTLFLAG_TABSTOP);
    CProbeUI* c = new CProbeUI(L"c");
};

inline void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// The modal loop's road: the managers' pre-translation first, then
// translation (a key's character) and dispatch.
inline void PumpThroughManager()
{
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (CPaintManagerUI::TranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Invalidates the whole client area and paints it now.
inline void RepaintNow(HWND hWnd)
{
    ::InvalidateRect(hWnd, NULL, FALSE);
    ::UpdateWindow(hWnd);
}

} // namespace SkinLibTest
