#include "core/PaintManagerUI.h"

#include <stdlib.h>
#include <wchar.h>
#include <wctype.h>

#include <new>

#include "controls/ControlUI.h"
#include "core/RenderEngine.h"

namespace SkinLib {

// Defined together, in this order, so that they are built before any code
// that runs at start-up uses them and destroyed in the reverse order at exit.
CSkinString CPaintManagerUI::m_pStrDefaultFontName;
CSkinString CPaintManagerUI::m_pStrResourcePath;
CSkinString CPaintManagerUI::m_pStrResourceZip;
CStdPtrArray CPaintManagerUI::m_aPreMessages;
CStdPtrArray CPaintManagerUI::m_aPlugins;

HINSTANCE CPaintManagerUI::m_hInstance = NULL;
HINSTANCE CPaintManagerUI::m_hResourceInstance = NULL;
bool CPaintManagerUI::m_bCachedResourceZip = false;
HSKINZIP CPaintManagerUI::m_hResourceZip = NULL;
short CPaintManagerUI::m_H = 180;
short CPaintManagerUI::m_S = 100;
short CPaintManagerUI::m_L = 100;

// One control timer, multiplexed onto a Win32 timer of the paint window.
struct TimerEntry
{
    CControlUI* pSender;
    UINT nLocalID;
    HWND hWnd;
    UINT uWinTimer;
    bool bKilled;
};

namespace {

const wchar_t kMemoryZipName[] = L"membuffer";
// Control timers share the window's Win32 ids 0..254.
const UINT kTimerIdCount = 255;
// The MK_* set has no bit for Alt; events carry it here.
const WORD kModifierAlt = 0x20;

// Outlines update rectangles when a manager is asked to show them; made by
// the first manager and kept for the process.
HPEN g_hUpdateRectPen = NULL;

struct FINDTABINFO
{
    CControlUI* pFocus;
    CControlUI* pLast;
    bool bForward;
    bool bNextIsIt;
};

struct FINDSHORTCUT
{
    wchar_t ch;
    bool bPickNext;
};

WORD CurrentKeyState()
{
    WORD wState = 0;
    if (::GetKeyState(VK_CONTROL) < 0) wState |= MK_CONTROL;
    if (::GetKeyState(VK_RBUTTON) < 0) wState |= MK_RBUTTON;
    if (::GetKeyState(VK_LBUTTON) < 0) wState |= MK_LBUTTON;
    if (::GetKeyState(VK_SHIFT) < 0) wState |= MK_SHIFT;
    if (::GetKeyState(VK_MENU) < 0) wState |= kModifierAlt;
    return wState;
}

// Removes every entry equal to p; the lists may hold duplicates.
void RemoveAll(CStdPtrArray& aItems, const void* p)
{
    for (int i = aItems.GetSize() - 1; i >= 0; --i) {
        if (aItems[i] == p) aItems.Remove(i);
    }
}

bool RemoveFirst(CStdPtrArray& aItems, const void* p)
{
    int iIndex = aItems.Find(p);
    return iIndex >= 0 && aItems.Remove(iIndex);
}

bool MatchesClass(CControlUI* pThis, const wchar_t* pstrClass)
{
    return wcscmp(pstrClass, L"*") == 0 || wcscmp(pstrClass, pThis->GetClass()) == 0;
}

} // namespace

// ---------------------------------------------------------------------------
// Process-wide settings

HINSTANCE CPaintManagerUI::GetInstance()
{
    return m_hInstance;
}

void CPaintManagerUI::SetInstance(HINSTANCE hInst)
{
    m_hInstance = hInst;
}

CSkinString CPaintManagerUI::GetInstancePath()
{
    if (m_hInstance == NULL) return CSkinString();
    // A module may live deeper than MAX_PATH; grow the buffer until the name
    // fits rather than cut it (no path exceeds 32767 characters).
    wchar_t* pstrModule = NULL;
    DWORD cchBuffer = MAX_PATH;
    DWORD cchName = 0;
    for (;;) {
        wchar_t* pstrGrown = static_cast<wchar_t*>(realloc(pstrModule, cchBuffer * sizeof(wchar_t)));
        if (pstrGrown == NULL) {
            cchName = 0;
            break;
        }
        pstrModule = pstrGrown;
        cchName = ::GetModuleFileNameW(m_hInstance, pstrModule, cchBuffer);
        if (cchName < cchBuffer) break;
        if (cchBuffer > 32767) {
            cchName = 0;
            break;
        }
        cchBuffer *= 2;
    }
    CSkinString sPath;
    if (cchName > 0) {
        pstrModule[cchName] = L'\0';
        const wchar_t* pstrSlash = wcsrchr(pstrModule, L'\\');
        sPath.Assign(pstrModule, pstrSlash != NULL ? static_cast<int>(pstrSlash - pstrModule) + 1 : -1);
    }
    free(pstrModule);
    return sPath;
}

CSkinString CPaintManagerUI::GetCurrentPath()
{
    // Asked for its size first: a too small buffer would be left unwritten.
    DWORD cchBuffer = ::GetCurrentDirectoryW(0, NULL);
    if (cchBuffer == 0) return CSkinString();
    wchar_t* pstrPath = static_cast<wchar_t*>(malloc(cchBuffer * sizeof(wchar_t)));
    if (pstrPath == NULL) return CSkinString();
    DWORD cchPath = ::GetCurrentDirectoryW(cchBuffer, pstrPath);
    CSkinString sPath(pstrPath, cchPath < cchBuffer ? static_cast<int>(cchPath) : 0);
    free(pstrPath);
    return sPath;
}

bool CPaintManagerUI::SetCurrentPath(const wchar_t* pStrPath)
{
    return ::SetCurrentDirectoryW(pStrPath) != FALSE;
}

HINSTANCE CPaintManagerUI::GetResourceDll()
{
    return m_hResourceInstance != NULL ? m_hResourceInstance : m_hInstance;
}

void CPaintManagerUI::SetResourceDll(HINSTANCE hInst)
{
    m_hResourceInstance = hInst;
}

const CSkinString& CPaintManagerUI::GetResourcePath()
{
    return m_pStrResourcePath;
}

void CPaintManagerUI::SetResourcePath(const wchar_t* pStrPath)
{
    m_pStrResourcePath = pStrPath;
    if (m_pStrResourcePath.IsEmpty()) return;
    wchar_t cEnd = m_pStrResourcePath[m_pStrResourcePath.GetLength() - 1];
    if (cEnd != L'\\' && cEnd != L'/') m_pStrResourcePath += L'\\';
}

const CSkinString& CPaintManagerUI::GetResourceZip()
{
    return m_pStrResourceZip;
}

bool CPaintManagerUI::IsCachedResourceZip()
{
    return m_bCachedResourceZip;
}

HSKINZIP CPaintManagerUI::GetResourceZipHandle()
{
    return m_hResourceZip;
}

void CPaintManagerUI::CloseCachedZip()
{
    if (m_bCachedResourceZip && m_hResourceZip != NULL) {
        ResourceZipClose(m_hResourceZip);
        m_hResourceZip = NULL;
    }
}

void CPaintManagerUI::SetResourceZip(const wchar_t* pstrZip, bool bCachedResourceZip)
{
    if (pstrZip == NULL) pstrZip = L"";
    if (m_pStrResourceZip == pstrZip && m_bCachedResourceZip == bCachedResourceZip) return;
    CloseCachedZip();
    m_pStrResourceZip = pstrZip;
    m_bCachedResourceZip = bCachedResourceZip;
    if (m_bCachedResourceZip) {
        CSkinString sFile = m_pStrResourcePath + m_pStrResourceZip;
        m_hResourceZip = ResourceZipOpen(sFile.GetData(), 0, SKINZIP_FILENAME);
    }
}

void CPaintManagerUI::SetResourceZip(const void* pVoid, unsigned int len)
{
    // The first archive held in memory stays the process's skin source.
    if (m_pStrResourceZip == kMemoryZipName) return;
    CloseCachedZip();
    m_pStrResourceZip = kMemoryZipName;
    m_bCachedResourceZip = true;
    m_hResourceZip = ResourceZipOpen(pVoid, len, SKINZIP_MEMORY);
}

void CPaintManagerUI::Term()
{
    CloseCachedZip();
}

bool CPaintManagerUI::LoadPlugin(const wchar_t* pstrModuleName)
{
    if (pstrModuleName == NULL) return false;
    // Plug-in libraries stay loaded: the controls they make may live until exit.
    HMODULE hModule = ::LoadLibraryW(pstrModuleName);
    if (hModule == NULL) return false;
    void* pfnCreateControl = reinterpret_cast<void*>(::GetProcAddress(hModule, "CreateControl"));
    if (pfnCreateControl == NULL) return false;
    if (m_aPlugins.Find(pfnCreateControl) >= 0) return true;
    return m_aPlugins.Add(pfnCreateControl);
}

CStdPtrArray* CPaintManagerUI::GetPlugins()
{
    return &m_aPlugins;
}

void CPaintManagerUI::GetHSL(short* H, short* S, short* L)
{
    *H = m_H;
    *S = m_S;
    *L = m_L;
}

void CPaintManagerUI::SetHSL(bool /*bUseHSL*/, short H, short S, short L)
{
    if (m_H == H && m_S == S && m_L == L) return;
    m_H = H < 0 ? 0 : (H > 360 ? 360 : H);
    m_S = S < 0 ? 0 : (S > 200 ? 200 : S);
    m_L = L < 0 ? 0 : (L > 200 ? 200 : L);
    for (int i = 0; i < m_aPreMessages.GetSize(); i++) {
        CPaintManagerUI* pManager = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
        if (pManager->GetRoot() != NULL) pManager->GetRoot()->Invalidate();
    }
}

void CPaintManagerUI::ReloadSkin()
{
    for (int i = 0; i < m_aPreMessages.GetSize(); i++) {
        static_cast<CPaintManagerUI*>(m_aPreMessages[i])->ReloadAllImages();
    }
}

// ---------------------------------------------------------------------------
// Message loop

void CPaintManagerUI::MessageLoop()
{
    MSG msg = {};
    // GetMessageW returns -1 on failure; looping on non-zero would spin forever.
    while (::GetMessageW(&msg, NULL, 0, 0) > 0) {
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

bool CPaintManagerUI::TranslateMessage(const MSG* pMsg)
{
    if (pMsg->hwnd == NULL) return false;
    CPaintManagerUI* pManager = NULL;
    if (::GetWindowLongW(pMsg->hwnd, GWL_STYLE) & WS_CHILD) {
        // The first manager in Init order that owns the target or one of its
        // ancestors wins, even when a nearer ancestor has a manager too.
        for (int i = 0; i < m_aPreMessages.GetSize() && pManager == NULL; i++) {
            CPaintManagerUI* pCandidate = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
            for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
                if (hWnd == pCandidate->GetPaintWindow()) {
                    pManager = pCandidate;
                    break;
                }
            }
        }
    }
    else {
        for (int i = 0; i < m_aPreMessages.GetSize() && pManager == NULL; i++) {
            CPaintManagerUI* pCandidate = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
            if (pMsg->hwnd == pCandidate->GetPaintWindow()) pManager = pCandidate;
        }
    }
    if (pManager == NULL) return false;
    // Translators take a writable message; the caller's stays as it was queued.
    MSG msg = *pMsg;
    if (pManager->TranslateAcceleratorW(&msg)) return true;
    LRESULT lRes = 0;
    return pManager->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
}

bool CPaintManagerUI::AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator)
{
    return m_aTranslateAccelerator.Add(pTranslateAccelerator);
}

bool CPaintManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator)
{
    return RemoveFirst(m_aTranslateAccelerator, pTranslateAccelerator);
}

bool CPaintManagerUI::TranslateAcceleratorW(MSG* pMsg)
{
    for (int i = 0; i < m_aTranslateAccelerator.GetSize(); i++) {
        if (static_cast<ITranslateAccelerator*>(m_aTranslateAccelerator[i])->TranslateAcceleratorW(pMsg) == 0) {
            return true;
        }
    }
    return false;
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aPreMessageFilters.Add(pFilter);
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter)
{
    return RemoveFirst(m_aPreMessageFilters, pFilter);
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    for (int i = 0; i < m_aPreMessageFilters.GetSize(); i++) {
        bool bHandled = false;
        LRESULT lResult =
            static_cast<IMessageFilterUI*>(m_aPreMessageFilters[i])->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }
    switch (uMsg) {
    case WM_KEYDOWN:
        // An empty window has nothing to move the focus through; let the key pass.
        if (wParam != VK_TAB || m_pRoot == NULL) return false;
        // The one control to be left the key, once there is one, is a focused,
        // visible, enabled rich edit that wants Tab; no other control keeps it.
        SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
        return true;
    case WM_SYSKEYDOWN:
        if (m_pFocus != NULL) {
            tagTEventUI event = {};
            event.nEventType = SKIN_EVT_SYSKEY;
            event.chKeyCode = static_cast<wchar_t>(LOWORD(wParam));
            event.ptMousePos = m_ptLastMousePos;
            event.wModifierKeys = CurrentKeyState();
            event.dwTickTime = ::GetTickCount();
            m_pFocus->Event(event);
        }
        return false;
    case WM_SYSCHAR: {
        if (m_pRoot == NULL) return false;
        FINDSHORTCUT fs = {static_cast<wchar_t>(towupper(static_cast<wint_t>(wParam))), false};
        CControlUI* pControl = m_pRoot->FindControl(__FindControlFromShortcut, &fs,
                                                    FINDFLAG_ENABLED | FINDFLAG_MEFIRST | FINDFLAG_TOPFIRST);
        if (pControl == NULL) return false;
        pControl->SetFocus();
        pControl->Activate();
        return true;
    }
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
// Life of a window's manager

CPaintManagerUI::CPaintManagerUI()
    : m_hWndPaint(NULL), m_nOpacity(255), m_hDcPaint(NULL), m_hDcOffscreen(NULL), m_hDcBackground(NULL),
      m_hbmpOffscreen(NULL), m_hbmpBackground(NULL), m_hwndTooltip(NULL), m_ToolTip(), m_bShowUpdateRect(false),
      m_pRoot(NULL), m_pFocus(NULL), m_pEventHover(NULL), m_pEventClick(NULL), m_pEventKey(NULL),
      m_ptLastMousePos{-1, -1}, m_szMinWindow(), m_szMaxWindow(), m_szInitWindowSize(), m_rcSizeBox(),
      m_szRoundCorner(), m_rcCaption(), m_uTimerID(0x1000), m_bFirstLayout(true), m_bUpdateNeeded(false),
      m_bFocusNeeded(false), m_bOffscreenPaint(true), m_bAlphaBackground(false), m_bMouseTracking(false),
      m_bMouseCapture(false), m_bUsedVirtualWnd(false), m_pParentResourcePM(NULL),
      m_dwDefaultDisabledColor(0xFFA7A6AA), m_dwDefaultFontColor(0xFF000000), m_dwDefaultLinkFontColor(0xFF0000FF),
      m_dwDefaultLinkHoverFontColor(0xFFD3215F), m_dwDefaultSelectedBkColor(0xFFBAE4FF), m_DefaultFontInfo()
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    if (!m_pStrDefaultFontName.IsEmpty()) {
        wcsncpy(lf.lfFaceName, m_pStrDefaultFontName, LF_FACESIZE - 1);
        lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    }
    m_DefaultFontInfo.hGdiFont = ::CreateFontIndirectW(&lf);
    m_DefaultFontInfo.sFaceName = lf.lfFaceName;
    m_DefaultFontInfo.nPixelSize = -lf.lfHeight;
    m_DefaultFontInfo.bIsBold = lf.lfWeight >= FW_BOLD;
    m_DefaultFontInfo.bIsUnderline = lf.lfUnderline == TRUE;
    m_DefaultFontInfo.bIsItalic = lf.lfItalic == TRUE;

    m_ToolTip.cbSize = sizeof(TOOLINFOW);

    if (g_hUpdateRectPen == NULL) {
        g_hUpdateRectPen = ::CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
        ::InitCommonControls();
        // Kept loaded for the render engine, which finds it by module name.
        ::LoadLibraryW(L"msimg32.dll");
    }
}

CPaintManagerUI::~CPaintManagerUI()
{
    DeleteDelayedCleanup();
    // Emptied, not only freed: deleting the tree below reaps every control
    // from the queue.
    FreeAsyncNotify();
    m_mNameHash.RemoveAll();
    CControlUI* pRoot = m_pRoot;
    m_pRoot = NULL;
    delete pRoot;
    // Destroy handlers of the tree may have handed over more controls or queued more records.
    DeleteDelayedCleanup();
    FreeAsyncNotify();

    ::DeleteObject(m_DefaultFontInfo.hGdiFont);
    RemoveAllFonts();
    RemoveAllImages();
    RemoveAllDefaultAttributeList();
    RemoveAllOptionGroups();
    RemoveAllTimers();

    if (m_hwndTooltip != NULL) ::DestroyWindow(m_hwndTooltip);
    DeleteOffscreenBitmaps();
    if (m_hDcPaint != NULL) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    RemoveFirst(m_aPreMessages, this);
}

void CPaintManagerUI::Init(HWND hWnd)
{
    if (m_hDcPaint != NULL) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    m_hWndPaint = hWnd;
    m_hDcPaint = ::GetDC(hWnd);
    // A second Init must not list the manager twice: the destructor removes one entry.
    if (m_aPreMessages.Find(this) < 0) m_aPreMessages.Add(this);
}

bool CPaintManagerUI::AttachDialog(CControlUI* pControl)
{
    SetFocus(NULL);
    m_pEventKey = NULL;
    m_pEventHover = NULL;
    ForgetClickControl();
    if (m_pRoot != NULL) {
        m_aPostPaintControls.Empty();
        // Deleted once the current message is over: it may be the caller.
        AddDelayedCleanup(m_pRoot);
    }
    m_pRoot = pControl;
    m_bUpdateNeeded = true;
    m_bFirstLayout = true;
    m_bFocusNeeded = true;
    return InitControls(pControl);
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent)
{
    if (pControl == NULL) return false;
    pControl->SetManager(this, pParent != NULL ? pParent : pControl->GetParent(), true);
    pControl->FindControl(__FindControlFromNameHash, this, FINDFLAG_ANY);
    return true;
}

void CPaintManagerUI::ForgetClickControl()
{
    m_pEventClick = NULL;
    if (m_bMouseCapture) ReleaseCapture();
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl)
{
    if (pControl == NULL) return;
    if (pControl == m_pEventKey) m_pEventKey = NULL;
    if (pControl == m_pEventHover) m_pEventHover = NULL;
    if (pControl == m_pEventClick) ForgetClickControl();
    if (pControl == m_pFocus) m_pFocus = NULL;
    KillTimer(pControl);
    const CSkinString& sName = pControl->GetName();
    if (!sName.IsEmpty() && pControl == m_mNameHash.Find(sName)) m_mNameHash.Remove(sName);
    for (int i = 0; i < m_aAsyncNotify.GetSize(); i++) {
        tagTNotifyUI* pMsg = static_cast<tagTNotifyUI*>(m_aAsyncNotify[i]);
        if (pMsg->pSenderControl == pControl) pMsg->pSenderControl = NULL;
    }
    RemoveAll(m_aPostPaintControls, pControl);
    RemoveAll(m_aFoundControls, pControl);
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* pControl)
{
    if (pControl == NULL) return;
    pControl->SetManager(this, NULL, false);
    m_aDelayedCleanup.Add(pControl);
    // Without a window the destructor deletes it; a null target would post to the thread.
    if (m_hWndPaint != NULL) ::PostMessageW(m_hWndPaint, UIMSG_DELAYED_CLEANUP, 0, 0);
}

void CPaintManagerUI::DeleteDelayedCleanup()
{
    // A destroy handler may hand over more controls while the list is
    // deleted; take the list out first and repeat until nothing new came.
    while (!m_aDelayedCleanup.IsEmpty()) {
        CStdPtrArray aControls(m_aDelayedCleanup);
        m_aDelayedCleanup.Empty();
        for (int i = 0; i < aControls.GetSize(); i++) delete static_cast<CControlUI*>(aControls[i]);
    }
}

bool CPaintManagerUI::UseParentResource(CPaintManagerUI* pm)
{
    for (CPaintManagerUI* pParent = pm; pParent != NULL; pParent = pParent->GetParentResource()) {
        if (pParent == this) return false;
    }
    m_pParentResourcePM = pm;
    return true;
}

CPaintManagerUI* CPaintManagerUI::GetParentResource() const
{
    return m_pParentResourcePM;
}

// ---------------------------------------------------------------------------
// Window state

HWND CPaintManagerUI::GetPaintWindow() const
{
    return m_hWndPaint;
}

HDC CPaintManagerUI::GetPaintDC() const
{
    return m_hDcPaint;
}

HWND CPaintManagerUI::GetTooltipWindow() const
{
    return m_hwndTooltip;
}

CControlUI* CPaintManagerUI::GetRoot() const
{
    return m_pRoot;
}

POINT CPaintManagerUI::GetMousePos() const
{
    return m_ptLastMousePos;
}

SIZE CPaintManagerUI::GetClientSize() const
{
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    SIZE sz = {rcClient.right - rcClient.left, rcClient.bottom - rcClient.top};
    return sz;
}

SIZE CPaintManagerUI::GetInitSize() const
{
    return m_szInitWindowSize;
}

void CPaintManagerUI::SetInitSize(int cx, int cy)
{
    m_szInitWindowSize.cx = cx;
    m_szInitWindowSize.cy = cy;
    if (m_pRoot == NULL && m_hWndPaint != NULL) {
        ::SetWindowPos(m_hWndPaint, NULL, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
}

RECT& CPaintManagerUI::GetSizeBox()
{
    return m_rcSizeBox;
}

void CPaintManagerUI::SetSizeBox(const RECT& rcSizeBox)
{
    m_rcSizeBox = rcSizeBox;
}

RECT& CPaintManagerUI::GetCaptionRect()
{
    return m_rcCaption;
}

void CPaintManagerUI::SetCaptionRect(const RECT& rcCaption)
{
    m_rcCaption = rcCaption;
}

SIZE CPaintManagerUI::GetRoundCorner() const
{
    return m_szRoundCorner;
}

void CPaintManagerUI::SetRoundCorner(int cx, int cy)
{
    m_szRoundCorner.cx = cx;
    m_szRoundCorner.cy = cy;
}

SIZE CPaintManagerUI::GetMinInfo() const
{
    return m_szMinWindow;
}

void CPaintManagerUI::SetMinInfo(int cx, int cy)
{
    m_szMinWindow.cx = cx;
    m_szMinWindow.cy = cy;
}

SIZE CPaintManagerUI::GetMaxInfo() const
{
    return m_szMaxWindow;
}

void CPaintManagerUI::SetMaxInfo(int cx, int cy)
{
    m_szMaxWindow.cx = cx;
    m_szMaxWindow.cy = cy;
}

int CPaintManagerUI::GetTransparent() const
{
    return m_nOpacity;
}

void CPaintManagerUI::SetTransparent(int nOpacity)
{
    m_nOpacity = nOpacity < 0 ? 0 : (nOpacity > 255 ? 255 : nOpacity);
    if (m_hWndPaint == NULL) return;
    typedef BOOL(WINAPI * PFNSETLAYEREDWINDOWATTRIBUTES)(HWND, COLORREF, BYTE, DWORD);
    PFNSETLAYEREDWINDOWATTRIBUTES pfnSetLayeredWindowAttributes = reinterpret_cast<PFNSETLAYEREDWINDOWATTRIBUTES>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"User32.dll"), "SetLayeredWindowAttributes")));
    if (pfnSetLayeredWindowAttributes == NULL) return;

    LONG lStyle = ::GetWindowLongW(m_hWndPaint, GWL_EXSTYLE);
    // Only an opacity given within range keeps the window layered.
    bool bLayered = nOpacity >= 0 && nOpacity <= 255;
    LONG lNewStyle = bLayered ? (lStyle | WS_EX_LAYERED) : (lStyle & ~WS_EX_LAYERED);
    if (lNewStyle != lStyle) ::SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, lNewStyle);
    if (bLayered) pfnSetLayeredWindowAttributes(m_hWndPaint, 0, static_cast<BYTE>(nOpacity), LWA_ALPHA);
}

void CPaintManagerUI::SetBackgroundTransparent(bool bTrans)
{
    m_bAlphaBackground = bTrans;
}

bool CPaintManagerUI::IsShowUpdateRect() const
{
    return m_bShowUpdateRect;
}

void CPaintManagerUI::SetShowUpdateRect(bool show)
{
    m_bShowUpdateRect = show;
}

void CPaintManagerUI::NeedUpdate()
{
    m_bUpdateNeeded = true;
}

void CPaintManagerUI::Invalidate(const RECT& rcItem)
{
    // InvalidateRect(NULL, ...) would repaint every window on the desktop.
    if (m_hWndPaint != NULL) ::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
}

// ---------------------------------------------------------------------------
// Searches

CControlUI* CPaintManagerUI::FindControl(POINT pt) const
{
    return FindSubControlByPoint(NULL, pt);
}

CControlUI* CPaintManagerUI::FindControl(const wchar_t* pstrName) const
{
    return static_cast<CControlUI*>(m_mNameHash.Find(pstrName));
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* pParent, POINT pt) const
{
    if (pParent == NULL) pParent = m_pRoot;
    if (pParent == NULL) return NULL;
    return pParent->FindControl(__FindControlFromPoint, &pt, FINDFLAG_VISIBLE | FINDFLAG_HITTEST | FINDFLAG_TOPFIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, const wchar_t* pstrName) const
{
    if (pParent == NULL) pParent = m_pRoot;
    if (pParent == NULL) return NULL;
    return pParent->FindControl(__FindControlFromName, const_cast<wchar_t*>(pstrName), FINDFLAG_ANY);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, const wchar_t* pstrClass, int iIndex)
{
    if (pParent == NULL) pParent = m_pRoot;
    if (pParent == NULL || iIndex < 0) return NULL;
    // The walk fills these slots in order and stops once the last one is taken.
    if (!m_aFoundControls.Resize(iIndex + 1)) return NULL;
    return pParent->FindControl(__FindControlFromClass, const_cast<wchar_t*>(pstrClass), FINDFLAG_ANY);
}

CStdPtrArray* CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent, const wchar_t* pstrClass)
{
    m_aFoundControls.Empty();
    if (pParent == NULL) pParent = m_pRoot;
    if (pParent != NULL) pParent->FindControl(__FindControlsFromClass, const_cast<wchar_t*>(pstrClass), FINDFLAG_ANY);
    return &m_aFoundControls;
}

CStdPtrArray* CPaintManagerUI::GetSubControlsByClass()
{
    return &m_aFoundControls;
}

CControlUI* CALLBACK CPaintManagerUI::__FindControlFromNameHash(CControlUI* pThis, void* pData)
{
    CPaintManagerUI* pManager = static_cast<CPaintManagerUI*>(pData);
    const CSkinString& sName = pThis->GetName();
    if (!sName.IsEmpty()) pManager->m_mNameHash.Set(sName, pThis);
    return NULL;
}

CControlUI* CALLBACK CPaintManagerUI::__FindControlFromCount(CControlUI* /*pThis*/, void* pData)
{
    ++*static_cast<int*>(pData);
    return NULL;
}

CControlUI* CALLBACK CPaintManagerUI::__FindControlFromPoint(CControlUI* pThis, void* pData)
{
    const POINT* pPoint = static_cast<const POINT*>(pData);
    return ::PtInRect(&pThis->GetPos(), *pPoint) ? pThis : NULL;
}

CControlUI* CALLBACK CPaintManagerUI::__FindControlFromTab(CControlUI* pThis, void* pData)
{
    FINDTABINFO* pInfo = static_cast<FINDTABINFO*>(pData);
    if (pInfo->pFocus == pThis) {
        if (pInfo->bForward) pInfo->bNextIsIt = true;
        return pInfo->bForward ? NULL : pInfo->pLast;
    }
    if ((pThis->GetControlFlags() & CTLFLAG_TABSTOP) == 0) return NULL;
    pInfo->pLast = pThis;
    if (pInfo->bNextIsIt || pInfo->pFocus == NULL) return pThis;
    return NULL;
}

CControlUI* CALLBACK CPaintManagerUI::__FindControlFromShortcut(CControlUI* pThis, void* pData)
{
    if (!pThis->IsVisible()) return NULL;
    FINDSHORTCUT* pFS = static_cast<FINDSHORTCUT*>(pData);
    wchar_t chShortcut = pThis->GetShortcut();
    if (chShortcut != 0 && pFS->ch == static_cast<wchar_t>(towupper(chShortcut))) pFS->bPickNext = true;
    // A label's shortcut names the control that follows it.
    if (wcsstr(pThis->GetClass(), L"LabelUI") != NULL) return NULL;
    return pFS->bPickNext ? pThis : NULL;
}

CControlUI* CALLBACK CPaintManagerUI::__FindControlFromUpdate(CControlUI* pThis, void* /*pData*/)
{
    return pThis->IsUpdateNeeded() ? pThis : NULL;
}

CControlUI* CALLBACK CPaintManagerUI::__FindControlFromName(CControlUI* pThis, void* pData)
{
    const wchar_t* pstrName = static_cast<const wchar_t*>(pData);
    const CSkinString& sName = pThis->GetName();
    if (sName.IsEmpty()) return NULL;
    return sName.CompareNoCase(pstrName) == 0 ? pThis : NULL;
}

CControlUI* CALLBACK CPaintManagerUI::__FindControlFromClass(CControlUI* pThis, void* pData)
{
    CPaintManagerUI* pManager = pThis->GetManager();
    if (pManager == NULL) return NULL;
    CStdPtrArray& aFound = pManager->m_aFoundControls;
    if (MatchesClass(pThis, static_cast<const wchar_t*>(pData))) {
        int iSlot = 0;
        while (iSlot < aFound.GetSize() && aFound[iSlot] != NULL) iSlot++;
        if (iSlot < aFound.GetSize()) aFound.SetAt(iSlot, pThis);
    }
    return aFound.GetAt(aFound.GetSize() - 1) != NULL ? pThis : NULL;
}

CControlUI* CALLBACK CPaintManagerUI::__FindControlsFromClass(CControlUI* pThis, void* pData)
{
    CPaintManagerUI* pManager = pThis->GetManager();
    if (pManager != NULL && MatchesClass(pThis, static_cast<const wchar_t*>(pData))) {
        pManager->m_aFoundControls.Add(pThis);
    }
    return NULL;
}

// ---------------------------------------------------------------------------
// Option groups

bool CPaintManagerUI::AddOptionGroup(const wchar_t* pStrGroupName, CControlUI* pControl)
{
    CStdPtrArray* aOptionGroup = GetOptionGroup(pStrGroupName);
    if (aOptionGroup != NULL) {
        if (aOptionGroup->Find(pControl) >= 0) return false;
        return aOptionGroup->Add(pControl);
    }
    aOptionGroup = new (std::nothrow) CStdPtrArray(6);
    if (aOptionGroup == NULL) return false;
    if (!aOptionGroup->Add(pControl) || !m_mOptionGroup.Insert(pStrGroupName, aOptionGroup)) {
        delete aOptionGroup;
        return false;
    }
    return true;
}

CStdPtrArray* CPaintManagerUI::GetOptionGroup(const wchar_t* pStrGroupName)
{
    return static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName));
}

void CPaintManagerUI::RemoveOptionGroup(const wchar_t* pStrGroupName, CControlUI* pControl)
{
    CStdPtrArray* aOptionGroup = GetOptionGroup(pStrGroupName);
    if (aOptionGroup == NULL) return;
    RemoveFirst(*aOptionGroup, pControl);
    if (aOptionGroup->IsEmpty()) {
        delete aOptionGroup;
        m_mOptionGroup.Remove(pStrGroupName);
    }
}

void CPaintManagerUI::RemoveAllOptionGroups()
{
    // Look-ups without reordering, so that GetAt keeps walking the same order.
    for (int i = 0; i < m_mOptionGroup.GetSize(); i++) {
        delete static_cast<CStdPtrArray*>(m_mOptionGroup.Find(m_mOptionGroup.GetAt(i), false));
    }
    m_mOptionGroup.RemoveAll();
}

// ---------------------------------------------------------------------------
// Focus and capture

CControlUI* CPaintManagerUI::GetFocus() const
{
    return m_pFocus;
}

void CPaintManagerUI::SetFocus(CControlUI* pControl)
{
    if (m_hWndPaint != NULL && ::GetFocus() != m_hWndPaint && pControl != m_pFocus) ::SetFocus(m_hWndPaint);
    if (pControl == m_pFocus) return;
    if (m_pFocus != NULL) {
        CControlUI* pOldFocus = m_pFocus;
        tagTEventUI event = {};
        event.nEventType = SKIN_EVT_KILLFOCUS;
        event.pSenderControl = pControl;
        event.dwTickTime = ::GetTickCount();
        pOldFocus->Event(event);
        // The handler may have destroyed the control, which reaps it from m_pFocus.
        if (m_pFocus == pOldFocus) SendNotify(pOldFocus, L"killfocus");
        m_pFocus = NULL;
    }
    if (pControl == NULL) return;
    if (pControl->GetManager() != this || !pControl->IsVisible() || !pControl->IsEnabled()) return;
    m_pFocus = pControl;
    tagTEventUI event = {};
    event.nEventType = SKIN_EVT_SETFOCUS;
    event.pSenderControl = pControl;
    event.dwTickTime = ::GetTickCount();
    pControl->Event(event);
    if (m_pFocus == pControl) SendNotify(pControl, L"setfocus");
}

bool CPaintManagerUI::SetNextTabControl(bool bForward)
{
    // Before the first layout the order is unknown; the next paint moves the focus.
    if (m_bUpdateNeeded && bForward) {
        m_bFocusNeeded = true;
        if (m_hWndPaint != NULL) ::InvalidateRect(m_hWndPaint, NULL, FALSE);
        return true;
    }
    if (m_pRoot != NULL) {
        const UINT uFlags = FINDFLAG_VISIBLE | FINDFLAG_ENABLED | FINDFLAG_MEFIRST;
        FINDTABINFO info = {m_pFocus, NULL, bForward, false};
        CControlUI* pControl = m_pRoot->FindControl(__FindControlFromTab, &info, uFlags);
        if (pControl == NULL) {
            // Past either end of the order: wrap around.
            if (bForward) {
                FINDTABINFO first = {NULL, NULL, true, false};
                pControl = m_pRoot->FindControl(__FindControlFromTab, &first, uFlags);
            }
            else {
                pControl = info.pLast;
            }
        }
        if (pControl != NULL) SetFocus(pControl);
    }
    m_bFocusNeeded = false;
    return true;
}

void CPaintManagerUI::SetCapture()
{
    ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture()
{
    ::ReleaseCapture();
    m_bMouseCapture = false;
}

bool CPaintManagerUI::IsCaptured() const
{
    return m_bMouseCapture;
}

// ---------------------------------------------------------------------------
// Timers

bool CPaintManagerUI::NextTimerId(UINT* pWinTimer)
{
    // Ids of live entries are kept for re-arming, so after a wrap-around the
    // counter must step over them instead of stealing another control's timer.
    for (UINT nTry = 0; nTry < kTimerIdCount; nTry++) {
        m_uTimerID = (m_uTimerID + 1) % kTimerIdCount;
        bool bTaken = false;
        for (int i = 0; i < m_aTimers.GetSize() && !bTaken; i++) {
            const TimerEntry* pTimer = static_cast<const TimerEntry*>(m_aTimers[i]);
            bTaken = pTimer->hWnd == m_hWndPaint && pTimer->uWinTimer == m_uTimerID;
        }
        if (!bTaken) {
            *pWinTimer = m_uTimerID;
            return true;
        }
    }
    return false;
}

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse)
{
    if (pControl == NULL || m_hWndPaint == NULL) return false;
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        TimerEntry* pTimer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (pTimer->pSender == pControl && pTimer->hWnd == m_hWndPaint && pTimer->nLocalID == nTimerID) {
            if (!pTimer->bKilled || !::SetTimer(m_hWndPaint, pTimer->uWinTimer, uElapse, NULL)) return false;
            pTimer->bKilled = false;
            return true;
        }
    }
    UINT uWinTimer = 0;
    if (!NextTimerId(&uWinTimer)) return false;
    if (!::SetTimer(m_hWndPaint, uWinTimer, uElapse, NULL)) return false;
    TimerEntry* pTimer = new (std::nothrow) TimerEntry{pControl, nTimerID, m_hWndPaint, uWinTimer, false};
    if (pTimer == NULL || !m_aTimers.Add(pTimer)) {
        ::KillTimer(m_hWndPaint, uWinTimer);
        delete pTimer;
        return false;
    }
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID)
{
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        TimerEntry* pTimer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (pTimer->pSender == pControl && pTimer->hWnd == m_hWndPaint && pTimer->nLocalID == nTimerID &&
            !pTimer->bKilled) {
            if (::IsWindow(m_hWndPaint)) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
            // Kept, so that SetTimer re-arms it under the same Win32 id.
            pTimer->bKilled = true;
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl)
{
    for (int i = m_aTimers.GetSize() - 1; i >= 0; --i) {
        TimerEntry* pTimer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (pTimer->pSender == pControl && pTimer->hWnd == m_hWndPaint) {
            if (!pTimer->bKilled) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
            delete pTimer;
            m_aTimers.Remove(i);
        }
    }
}

void CPaintManagerUI::RemoveAllTimers()
{
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        TimerEntry* pTimer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (pTimer->hWnd == m_hWndPaint && !pTimer->bKilled && ::IsWindow(m_hWndPaint)) {
            ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
        }
        delete pTimer;
    }
    m_aTimers.Empty();
}

void CPaintManagerUI::OnTimer(WPARAM wParam)
{
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        const TimerEntry* pTimer = static_cast<const TimerEntry*>(m_aTimers[i]);
        if (pTimer->hWnd == m_hWndPaint && pTimer->uWinTimer == LOWORD(wParam) && !pTimer->bKilled) {
            // The handler may kill the timer and free the entry: read it first.
            tagTEventUI event = {};
            event.nEventType = SKIN_EVT_TIMER;
            event.pSenderControl = pTimer->pSender;
            event.dwTickTime = ::GetTickCount();
            event.wMsgParam = pTimer->nLocalID;
            CControlUI* pSender = pTimer->pSender;
            pSender->Event(event);
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Notifications, filters and post-painting

void CPaintManagerUI::SendNotify(CControlUI* pControl, const wchar_t* pstrMessage, WPARAM wParam, LPARAM lParam,
                                 bool bAsync)
{
    tagTNotifyUI Msg;
    Msg.sNotifyType = pstrMessage;
    Msg.pSenderControl = pControl;
    Msg.wNotifyParam = wParam;
    Msg.lNotifyParam = lParam;
    SendNotify(Msg, bAsync);
}

void CPaintManagerUI::SendNotify(tagTNotifyUI& Msg, bool bAsync)
{
    Msg.ptMousePos = m_ptLastMousePos;
    Msg.dwTickTime = ::GetTickCount();
    if (m_bUsedVirtualWnd) {
        if (Msg.pSenderControl != NULL) Msg.sVirtualWndName = Msg.pSenderControl->GetVirtualWnd();
        else Msg.sVirtualWndName.Empty();
    }
    if (!bAsync) {
        DeliverNotify(Msg);
        return;
    }
    tagTNotifyUI* pMsg = new (std::nothrow) tagTNotifyUI(Msg);
    if (pMsg != NULL && !m_aAsyncNotify.Add(pMsg)) delete pMsg;
}

void CPaintManagerUI::DeliverNotify(tagTNotifyUI& Msg)
{
    if (Msg.pSenderControl != NULL && Msg.pSenderControl->OnNotify) Msg.pSenderControl->OnNotify(&Msg);
    // The count is read on every step: a notifier may add or remove notifiers.
    for (int i = 0; i < m_aNotifiers.GetSize(); i++) {
        static_cast<INotifyUI*>(m_aNotifiers[i])->Notify(Msg);
    }
}

void CPaintManagerUI::DeliverAsyncNotify()
{
    // Records queued by a receiver join the end of the queue and go out in this pass.
    while (!m_aAsyncNotify.IsEmpty()) {
        tagTNotifyUI* pMsg = static_cast<tagTNotifyUI*>(m_aAsyncNotify[0]);
        m_aAsyncNotify.Remove(0);
        DeliverNotify(*pMsg);
        delete pMsg;
    }
}

void CPaintManagerUI::FreeAsyncNotify()
{
    for (int i = 0; i < m_aAsyncNotify.GetSize(); i++) delete static_cast<tagTNotifyUI*>(m_aAsyncNotify[i]);
    m_aAsyncNotify.Empty();
}

void CPaintManagerUI::UsedVirtualWnd(bool bUsed)
{
    m_bUsedVirtualWnd = bUsed;
}

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier)
{
    return m_aNotifiers.Add(pNotifier);
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier)
{
    return RemoveFirst(m_aNotifiers, pNotifier);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aMessageFilters.Add(pFilter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter)
{
    return RemoveFirst(m_aMessageFilters, pFilter);
}

int CPaintManagerUI::GetPostPaintCount() const
{
    return m_aPostPaintControls.GetSize();
}

bool CPaintManagerUI::AddPostPaint(CControlUI* pControl)
{
    return m_aPostPaintControls.Add(pControl);
}

bool CPaintManagerUI::RemovePostPaint(CControlUI* pControl)
{
    return RemoveFirst(m_aPostPaintControls, pControl);
}

bool CPaintManagerUI::SetPostPaintIndex(CControlUI* pControl, int iIndex)
{
    RemovePostPaint(pControl);
    return m_aPostPaintControls.InsertAt(iIndex, pControl);
}

// ---------------------------------------------------------------------------
// Layout and painting

void CPaintManagerUI::DeleteOffscreenBitmaps()
{
    if (m_hDcOffscreen != NULL) ::DeleteDC(m_hDcOffscreen);
    if (m_hDcBackground != NULL) ::DeleteDC(m_hDcBackground);
    if (m_hbmpOffscreen != NULL) ::DeleteObject(m_hbmpOffscreen);
    if (m_hbmpBackground != NULL) ::DeleteObject(m_hbmpBackground);
    m_hDcOffscreen = NULL;
    m_hDcBackground = NULL;
    m_hbmpOffscreen = NULL;
    m_hbmpBackground = NULL;
}

void CPaintManagerUI::DoPartialLayout()
{
    // Each SetPos clears its control's flag, so a sound tree needs at most
    // one round per control; the bound keeps a control that never clears it
    // from hanging the paint.
    int nControls = 0;
    m_pRoot->FindControl(__FindControlFromCount, &nControls, FINDFLAG_ANY);
    for (int nRound = 0; nRound < nControls; nRound++) {
        CControlUI* pControl =
            m_pRoot->FindControl(__FindControlFromUpdate, NULL, FINDFLAG_VISIBLE | FINDFLAG_MEFIRST);
        if (pControl == NULL) break;
        pControl->SetPos(pControl->GetPos());
    }
}

void CPaintManagerUI::OnPaint()
{
    RECT rcUpdate = {};
    if (!::GetUpdateRect(m_hWndPaint, &rcUpdate, FALSE)) return;
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    if (m_pRoot != NULL) {
        if (m_bUpdateNeeded) {
            m_bUpdateNeeded = false;
            if (!::IsRectEmpty(&rcClient)) {
                if (m_pRoot->IsUpdateNeeded()) {
                    m_pRoot->SetPos(rcClient);
                    // Made again at the new size below.
                    DeleteOffscreenBitmaps();
                }
                else {
                    DoPartialLayout();
                }
                if (m_bFirstLayout) {
                    m_bFirstLayout = false;
                    SendNotify(m_pRoot, L"windowinit");
                }
            }
        }
        if (m_bFocusNeeded) SetNextTabControl(true);
    }

    PAINTSTRUCT ps = {};
    // Checked again after the layout: a "windowinit" receiver may detach the tree.
    if (m_pRoot == NULL) {
        ::BeginPaint(m_hWndPaint, &ps);
        ::EndPaint(m_hWndPaint, &ps);
        return;
    }

    const int cxClient = rcClient.right - rcClient.left;
    const int cyClient = rcClient.bottom - rcClient.top;
    if (m_bOffscreenPaint && m_hbmpOffscreen == NULL) {
        if (m_hDcOffscreen == NULL) m_hDcOffscreen = ::CreateCompatibleDC(m_hDcPaint);
        m_hbmpOffscreen = ::CreateCompatibleBitmap(m_hDcPaint, cxClient, cyClient);
    }

    ::BeginPaint(m_hWndPaint, &ps);
    const RECT& rcPaint = ps.rcPaint;
    const int cxPaint = rcPaint.right - rcPaint.left;
    const int cyPaint = rcPaint.bottom - rcPaint.top;
    if (m_bOffscreenPaint) {
        HGDIOBJ hOldBitmap = ::SelectObject(m_hDcOffscreen, m_hbmpOffscreen);
        int iSaveDC = ::SaveDC(m_hDcOffscreen);
        if (m_bAlphaBackground) {
            // What lay under the window is captured once, until the next full layout.
            if (m_hbmpBackground == NULL) {
                m_hDcBackground = ::CreateCompatibleDC(m_hDcPaint);
                m_hbmpBackground = ::CreateCompatibleBitmap(m_hDcPaint, cxClient, cyClient);
                ::SelectObject(m_hDcBackground, m_hbmpBackground);
                ::BitBlt(m_hDcBackground, rcPaint.left, rcPaint.top, cxPaint, cyPaint, ps.hdc, rcPaint.left,
                         rcPaint.top, SRCCOPY);
            }
            ::BitBlt(m_hDcOffscreen, rcPaint.left, rcPaint.top, cxPaint, cyPaint, m_hDcBackground, rcPaint.left,
                     rcPaint.top, SRCCOPY);
        }
        m_pRoot->DoPaint(m_hDcOffscreen, rcPaint);
        for (int i = 0; i < m_aPostPaintControls.GetSize(); i++) {
            static_cast<CControlUI*>(m_aPostPaintControls[i])->DoPostPaint(m_hDcOffscreen, rcPaint);
        }
        ::RestoreDC(m_hDcOffscreen, iSaveDC);
        ::BitBlt(ps.hdc, rcPaint.left, rcPaint.top, cxPaint, cyPaint, m_hDcOffscreen, rcPaint.left, rcPaint.top,
                 SRCCOPY);
        ::SelectObject(m_hDcOffscreen, hOldBitmap);
        if (m_bShowUpdateRect) {
            HGDIOBJ hOldPen = ::SelectObject(ps.hdc, g_hUpdateRectPen);
            HGDIOBJ hOldBrush = ::SelectObject(ps.hdc, ::GetStockObject(HOLLOW_BRUSH));
            ::Rectangle(ps.hdc, rcUpdate.left, rcUpdate.top, rcUpdate.right, rcUpdate.bottom);
            ::SelectObject(ps.hdc, hOldBrush);
            ::SelectObject(ps.hdc, hOldPen);
        }
    }
    else {
        int iSaveDC = ::SaveDC(ps.hdc);
        m_pRoot->DoPaint(ps.hdc, rcPaint);
        ::RestoreDC(ps.hdc, iSaveDC);
    }
    ::EndPaint(m_hWndPaint, &ps);
    if (m_bUpdateNeeded) ::InvalidateRect(m_hWndPaint, NULL, FALSE);
}

void CPaintManagerUI::OnPrintClient(HDC hDC, LPARAM lParam)
{
    if (m_pRoot == NULL) return;
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    int iSaveDC = ::SaveDC(hDC);
    m_pRoot->DoPaint(hDC, rcClient);
    ::RestoreDC(hDC, iSaveDC);
    if ((lParam & PRF_CHILDREN) == 0) return;
    for (HWND hWndChild = ::GetWindow(m_hWndPaint, GW_CHILD); hWndChild != NULL;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        RECT rcPos = {};
        ::GetWindowRect(hWndChild, &rcPos);
        ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<LPPOINT>(&rcPos), 2);
        // Each child draws at its own place; the caller gets its origin back.
        POINT ptOldOrg = {};
        ::OffsetWindowOrgEx(hDC, -rcPos.left, -rcPos.top, &ptOldOrg);
        ::SendMessageW(hWndChild, WM_PRINT, reinterpret_cast<WPARAM>(hDC), lParam | PRF_NONCLIENT);
        ::SetWindowOrgEx(hDC, ptOldOrg.x, ptOldOrg.y, NULL);
    }
}

// ---------------------------------------------------------------------------
// Window messages

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (m_hWndPaint == NULL) return false;
    DeliverAsyncNotify();
    for (int i = 0; i < m_aMessageFilters.GetSize(); i++) {
        bool bHandled = false;
        LRESULT lResult =
            static_cast<IMessageFilterUI*>(m_aMessageFilters[i])->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }

    switch (uMsg) {
    case UIMSG_DELAYED_CLEANUP:
        DeleteDelayedCleanup();
        break;
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_PRINTCLIENT:
        OnPrintClient(reinterpret_cast<HDC>(wParam), lParam);
        break;
    case WM_GETMINMAXINFO: {
        MINMAXINFO* lpMMI = reinterpret_cast<MINMAXINFO*>(lParam);
        if (m_szMinWindow.cx > 0) lpMMI->ptMinTrackSize.x = m_szMinWindow.cx;
        if (m_szMinWindow.cy > 0) lpMMI->ptMinTrackSize.y = m_szMinWindow.cy;
        if (m_szMaxWindow.cx > 0) lpMMI->ptMaxTrackSize.x = m_szMaxWindow.cx;
        if (m_szMaxWindow.cy > 0) lpMMI->ptMaxTrackSize.y = m_szMaxWindow.cy;
        break;
    }
    case WM_SIZE:
        if (m_pFocus != NULL) {
            tagTEventUI event = {};
            event.nEventType = SKIN_EVT_WINDOWSIZE;
            event.pSenderControl = m_pFocus;
            event.dwTickTime = ::GetTickCount();
            m_pFocus->Event(event);
        }
        if (m_pRoot != NULL) m_pRoot->NeedUpdate();
        return true;
    case WM_ERASEBKGND:
        // Painting covers the whole client area; erasing would only flicker.
        lRes = 1;
        return true;
    case WM_TIMER:
        OnTimer(wParam);
        break;
    default:
        break;
    }

    DeliverAsyncNotify();
    return false;
}

// ---------------------------------------------------------------------------
// Fonts, images and default attribute lists

namespace {

bool IsDigit(wchar_t ch)
{
    return ch >= L'0' && ch <= L'9';
}

// A name such as "12" or "12abc" names resource 12 of a type. Numbers that a
// resource id can't hold (0 and above 65535) name no resource, rather than a
// different one after truncation.
UINT ResourceIdFromName(const wchar_t* pstrName)
{
    UINT uId = 0;
    for (const wchar_t* p = pstrName; IsDigit(*p); p++) {
        uId = uId * 10 + static_cast<UINT>(*p - L'0');
        if (uId > 0xFFFF) return 0;
    }
    return uId;
}

tagTImageInfo* LoadNamedImage(const wchar_t* pstrName, const wchar_t* pstrType, DWORD dwMask)
{
    if (pstrType == NULL || pstrType[0] == L'\0') return CRenderEngine::LoadImageW(pstrName, NULL, dwMask);
    UINT uId = ResourceIdFromName(pstrName);
    if (uId == 0) return NULL;
    return CRenderEngine::LoadImageW(STRINGorID(uId), pstrType, dwMask);
}

// Unnamed details (quality, pitch) come from the stock GUI font, so custom
// fonts look like the system's own.
HFONT MakeFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &lf);
    wcsncpy(lf.lfFaceName, pStrFontName != NULL ? pStrFontName : L"", LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -nSize;
    if (bBold) lf.lfWeight += FW_BOLD;
    if (bUnderline) lf.lfUnderline = TRUE;
    if (bItalic) lf.lfItalic = TRUE;
    return ::CreateFontIndirectW(&lf);
}

// A manager without a window still has to answer with real metrics, or text
// laid out through it would have no height; the screen measures the same.
void MeasureFont(HDC hDcPaint, tagTFontInfo* pFontInfo)
{
    HDC hDC = hDcPaint != NULL ? hDcPaint : ::CreateCompatibleDC(NULL);
    if (hDC == NULL) return;
    HGDIOBJ hOldFont = ::SelectObject(hDC, pFontInfo->hGdiFont);
    ::GetTextMetricsW(hDC, &pFontInfo->tmMetrics);
    ::SelectObject(hDC, hOldFont);
    if (hDC != hDcPaint) ::DeleteDC(hDC);
}

void MeasureIfNeeded(HDC hDcPaint, tagTFontInfo* pFontInfo)
{
    if (pFontInfo->tmMetrics.tmHeight == 0) MeasureFont(hDcPaint, pFontInfo);
}

bool FontMatches(const tagTFontInfo* pFontInfo, const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline,
                 bool bItalic)
{
    return pFontInfo->sFaceName == (pStrFontName != NULL ? pStrFontName : L"") && pFontInfo->nPixelSize == nSize &&
           pFontInfo->bIsBold == bBold && pFontInfo->bIsUnderline == bUnderline && pFontInfo->bIsItalic == bItalic;
}

void DeleteFontInfo(tagTFontInfo* pFontInfo)
{
    ::DeleteObject(pFontInfo->hGdiFont);
    delete pFontInfo;
}

} // namespace

const CPaintManagerUI* CPaintManagerUI::TopResourceManager() const
{
    const CPaintManagerUI* pManager = this;
    while (pManager->m_pParentResourcePM != NULL) pManager = pManager->m_pParentResourcePM;
    return pManager;
}

DWORD CPaintManagerUI::GetDefaultDisabledColor() const { return TopResourceManager()->m_dwDefaultDisabledColor; }
void CPaintManagerUI::SetDefaultDisabledColor(DWORD dwColor) { m_dwDefaultDisabledColor = dwColor; }
DWORD CPaintManagerUI::GetDefaultFontColor() const { return TopResourceManager()->m_dwDefaultFontColor; }
void CPaintManagerUI::SetDefaultFontColor(DWORD dwColor) { m_dwDefaultFontColor = dwColor; }
DWORD CPaintManagerUI::GetDefaultLinkFontColor() const { return TopResourceManager()->m_dwDefaultLinkFontColor; }
void CPaintManagerUI::SetDefaultLinkFontColor(DWORD dwColor) { m_dwDefaultLinkFontColor = dwColor; }
DWORD CPaintManagerUI::GetDefaultLinkHoverFontColor() const
{
    return TopResourceManager()->m_dwDefaultLinkHoverFontColor;
}
void CPaintManagerUI::SetDefaultLinkHoverFontColor(DWORD dwColor) { m_dwDefaultLinkHoverFontColor = dwColor; }
DWORD CPaintManagerUI::GetDefaultSelectedBkColor() const { return TopResourceManager()->m_dwDefaultSelectedBkColor; }
void CPaintManagerUI::SetDefaultSelectedBkColor(DWORD dwColor) { m_dwDefaultSelectedBkColor = dwColor; }

tagTFontInfo* CPaintManagerUI::GetDefaultFontInfo()
{
    CPaintManagerUI* pTop = const_cast<CPaintManagerUI*>(TopResourceManager());
    MeasureIfNeeded(pTop->m_hDcPaint, &pTop->m_DefaultFontInfo);
    return &pTop->m_DefaultFontInfo;
}

void CPaintManagerUI::SetDefaultFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline,
                                     bool bItalic)
{
    HFONT hFont = MakeFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (hFont == NULL) return;
    ::DeleteObject(m_DefaultFontInfo.hGdiFont);
    m_DefaultFontInfo.hGdiFont = hFont;
    m_DefaultFontInfo.sFaceName = pStrFontName != NULL ? pStrFontName : L"";
    m_DefaultFontInfo.nPixelSize = nSize;
    m_DefaultFontInfo.bIsBold = bBold;
    m_DefaultFontInfo.bIsUnderline = bUnderline;
    m_DefaultFontInfo.bIsItalic = bItalic;
    m_DefaultFontInfo.tmMetrics = TEXTMETRICW();
    if (m_hDcPaint != NULL) MeasureFont(m_hDcPaint, &m_DefaultFontInfo);
}

int CPaintManagerUI::GetCustomFontCount() const
{
    return m_aCustomFonts.GetSize();
}

HFONT CPaintManagerUI::AddFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return AddFontAt(m_aCustomFonts.GetSize(), pStrFontName, nSize, bBold, bUnderline, bItalic);
}

HFONT CPaintManagerUI::AddFontAt(int index, const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline,
                                 bool bItalic)
{
    if (index < 0 || index > m_aCustomFonts.GetSize()) return NULL;
    HFONT hFont = MakeFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (hFont == NULL) return NULL;
    tagTFontInfo* pFontInfo = new (std::nothrow) tagTFontInfo();
    if (pFontInfo == NULL) {
        ::DeleteObject(hFont);
        return NULL;
    }
    pFontInfo->hGdiFont = hFont;
    pFontInfo->sFaceName = pStrFontName != NULL ? pStrFontName : L"";
    pFontInfo->nPixelSize = nSize;
    pFontInfo->bIsBold = bBold;
    pFontInfo->bIsUnderline = bUnderline;
    pFontInfo->bIsItalic = bItalic;
    if (m_hDcPaint != NULL) MeasureFont(m_hDcPaint, pFontInfo);
    if (!m_aCustomFonts.InsertAt(index, pFontInfo)) {
        DeleteFontInfo(pFontInfo);
        return NULL;
    }
    return hFont;
}

HFONT CPaintManagerUI::GetFont(int index)
{
    if (index < 0 || index >= m_aCustomFonts.GetSize()) return GetDefaultFontInfo()->hGdiFont;
    return static_cast<tagTFontInfo*>(m_aCustomFonts[index])->hGdiFont;
}

tagTFontInfo* CPaintManagerUI::FindFontInfo(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline,
                                            bool bItalic, CPaintManagerUI** ppOwner)
{
    for (CPaintManagerUI* pManager = this; pManager != NULL; pManager = pManager->m_pParentResourcePM) {
        for (int i = 0; i < pManager->m_aCustomFonts.GetSize(); i++) {
            tagTFontInfo* pFontInfo = static_cast<tagTFontInfo*>(pManager->m_aCustomFonts[i]);
            if (FontMatches(pFontInfo, pStrFontName, nSize, bBold, bUnderline, bItalic)) {
                if (ppOwner != NULL) *ppOwner = pManager;
                return pFontInfo;
            }
        }
    }
    return NULL;
}

tagTFontInfo* CPaintManagerUI::FindFontInfo(HFONT hFont, CPaintManagerUI** ppOwner)
{
    for (CPaintManagerUI* pManager = this; pManager != NULL; pManager = pManager->m_pParentResourcePM) {
        int index = pManager->GetFontIndex(hFont);
        if (index >= 0) {
            if (ppOwner != NULL) *ppOwner = pManager;
            return static_cast<tagTFontInfo*>(pManager->m_aCustomFonts[index]);
        }
    }
    return NULL;
}

HFONT CPaintManagerUI::GetFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    tagTFontInfo* pFontInfo = FindFontInfo(pStrFontName, nSize, bBold, bUnderline, bItalic, NULL);
    return pFontInfo != NULL ? pFontInfo->hGdiFont : NULL;
}

bool CPaintManagerUI::FindFont(HFONT hFont)
{
    return FindFontInfo(hFont, NULL) != NULL;
}

bool CPaintManagerUI::FindFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return FindFontInfo(pStrFontName, nSize, bBold, bUnderline, bItalic, NULL) != NULL;
}

int CPaintManagerUI::GetFontIndex(HFONT hFont)
{
    if (hFont == NULL) return -1;
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++) {
        if (static_cast<tagTFontInfo*>(m_aCustomFonts[i])->hGdiFont == hFont) return i;
    }
    return -1;
}

int CPaintManagerUI::GetFontIndex(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++) {
        if (FontMatches(static_cast<tagTFontInfo*>(m_aCustomFonts[i]), pStrFontName, nSize, bBold, bUnderline,
                        bItalic)) {
            return i;
        }
    }
    return -1;
}

bool CPaintManagerUI::RemoveFont(HFONT hFont)
{
    return RemoveFontAt(GetFontIndex(hFont));
}

bool CPaintManagerUI::RemoveFontAt(int index)
{
    if (index < 0 || index >= m_aCustomFonts.GetSize()) return false;
    DeleteFontInfo(static_cast<tagTFontInfo*>(m_aCustomFonts[index]));
    return m_aCustomFonts.Remove(index);
}

void CPaintManagerUI::RemoveAllFonts()
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++) DeleteFontInfo(static_cast<tagTFontInfo*>(m_aCustomFonts[i]));
    m_aCustomFonts.Empty();
}

tagTFontInfo* CPaintManagerUI::GetFontInfo(int index)
{
    if (index < 0 || index >= m_aCustomFonts.GetSize()) return GetDefaultFontInfo();
    tagTFontInfo* pFontInfo = static_cast<tagTFontInfo*>(m_aCustomFonts[index]);
    MeasureIfNeeded(m_hDcPaint, pFontInfo);
    return pFontInfo;
}

tagTFontInfo* CPaintManagerUI::GetFontInfo(HFONT hFont)
{
    CPaintManagerUI* pOwner = NULL;
    tagTFontInfo* pFontInfo = FindFontInfo(hFont, &pOwner);
    if (pFontInfo == NULL) return GetDefaultFontInfo();
    MeasureIfNeeded(pOwner->m_hDcPaint, pFontInfo);
    return pFontInfo;
}

const tagTImageInfo* CPaintManagerUI::GetImage(const wchar_t* bitmap)
{
    if (bitmap == NULL) return NULL;
    for (CPaintManagerUI* pManager = this; pManager != NULL; pManager = pManager->m_pParentResourcePM) {
        const tagTImageInfo* pImage = static_cast<const tagTImageInfo*>(pManager->m_mImageHash.Find(bitmap));
        if (pImage != NULL) return pImage;
    }
    return NULL;
}

const tagTImageInfo* CPaintManagerUI::GetImageEx(const wchar_t* bitmap, const wchar_t* type, DWORD mask)
{
    if (bitmap == NULL) return NULL;
    const tagTImageInfo* pImage = static_cast<const tagTImageInfo*>(m_mImageHash.Find(bitmap));
    return pImage != NULL ? pImage : AddImage(bitmap, type, mask);
}

const tagTImageInfo* CPaintManagerUI::AddImage(const wchar_t* bitmap, const wchar_t* type, DWORD mask)
{
    if (bitmap == NULL || bitmap[0] == L'\0') return NULL;
    tagTImageInfo* pImage = LoadNamedImage(bitmap, type, mask);
    if (pImage == NULL) return NULL;
    if (type != NULL) pImage->sResourceType = type;
    pImage->dwMaskColor = mask;
    if (!m_mImageHash.Insert(bitmap, pImage)) {
        CRenderEngine::FreeImage(pImage);
        return NULL;
    }
    return pImage;
}

const tagTImageInfo* CPaintManagerUI::AddImage(const wchar_t* bitmap, HBITMAP hBitmap, int iWidth, int iHeight,
                                               bool bAlpha)
{
    if (hBitmap == NULL) return NULL;
    if (bitmap == NULL || iWidth <= 0 || iHeight <= 0) {
        ::DeleteObject(hBitmap);
        return NULL;
    }
    tagTImageInfo* pImage = new (std::nothrow) tagTImageInfo();
    if (pImage == NULL) {
        ::DeleteObject(hBitmap);
        return NULL;
    }
    pImage->hDibBitmap = hBitmap;
    pImage->nWidth = iWidth;
    pImage->nHeight = iHeight;
    pImage->bHasAlpha = bAlpha;
    if (!m_mImageHash.Insert(bitmap, pImage)) {
        CRenderEngine::FreeImage(pImage);
        return NULL;
    }
    return pImage;
}

bool CPaintManagerUI::RemoveImage(const wchar_t* bitmap)
{
    const tagTImageInfo* pImage = bitmap != NULL ? GetImageOwned(bitmap) : NULL;
    if (pImage == NULL) return false;
    CRenderEngine::FreeImage(pImage);
    return m_mImageHash.Remove(bitmap);
}

void CPaintManagerUI::RemoveAllImages()
{
    for (int i = 0; i < m_mImageHash.GetSize(); i++) CRenderEngine::FreeImage(GetImageOwned(m_mImageHash[i]));
    m_mImageHash.RemoveAll();
}

tagTImageInfo* CPaintManagerUI::GetImageOwned(const wchar_t* bitmap) const
{
    // No reordering of the chains: callers walk the map by index.
    return static_cast<tagTImageInfo*>(m_mImageHash.Find(bitmap, false));
}

void CPaintManagerUI::ReloadAllImages()
{
    bool bRedraw = false;
    for (int i = 0; i < m_mImageHash.GetSize(); i++) {
        const wchar_t* pstrName = m_mImageHash[i];
        tagTImageInfo* pImage = GetImageOwned(pstrName);
        tagTImageInfo* pNew = LoadNamedImage(pstrName, pImage->sResourceType, pImage->dwMaskColor);
        if (pNew == NULL) continue;
        // The record stays where it is: controls and callers hold pointers to it.
        ::DeleteObject(pImage->hDibBitmap);
        pImage->hDibBitmap = pNew->hDibBitmap;
        pImage->nWidth = pNew->nWidth;
        pImage->nHeight = pNew->nHeight;
        pImage->bHasAlpha = pNew->bHasAlpha;
        pNew->hDibBitmap = NULL;
        CRenderEngine::FreeImage(pNew);
        bRedraw = true;
    }
    if (bRedraw && m_pRoot != NULL) m_pRoot->Invalidate();
}

void CPaintManagerUI::AddDefaultAttributeList(const wchar_t* pStrControlName, const wchar_t* pStrControlAttrList)
{
    if (pStrControlName == NULL || m_DefaultAttrHash.Find(pStrControlName) != NULL) return;
    CSkinString* pAttributes = new (std::nothrow) CSkinString(pStrControlAttrList != NULL ? pStrControlAttrList : L"");
    if (pAttributes != NULL && !m_DefaultAttrHash.Insert(pStrControlName, pAttributes)) delete pAttributes;
}

const wchar_t* CPaintManagerUI::GetDefaultAttributeList(const wchar_t* pStrControlName) const
{
    if (pStrControlName == NULL) return NULL;
    for (const CPaintManagerUI* pManager = this; pManager != NULL; pManager = pManager->m_pParentResourcePM) {
        const CSkinString* pAttributes = static_cast<const CSkinString*>(pManager->m_DefaultAttrHash.Find(pStrControlName));
        if (pAttributes != NULL) return *pAttributes;
    }
    return NULL;
}

bool CPaintManagerUI::RemoveDefaultAttributeList(const wchar_t* pStrControlName)
{
    if (pStrControlName == NULL) return false;
    CSkinString* pAttributes = static_cast<CSkinString*>(m_DefaultAttrHash.Find(pStrControlName));
    if (pAttributes == NULL) return false;
    delete pAttributes;
    return m_DefaultAttrHash.Remove(pStrControlName);
}

const CStdStringPtrMap& CPaintManagerUI::GetDefaultAttribultes() const
{
    return m_DefaultAttrHash;
}

void CPaintManagerUI::RemoveAllDefaultAttributeList()
{
    for (int i = 0; i < m_DefaultAttrHash.GetSize(); i++) {
        delete static_cast<CSkinString*>(m_DefaultAttrHash.Find(m_DefaultAttrHash[i], false));
    }
    m_DefaultAttrHash.RemoveAll();
}

} // namespace SkinLib
