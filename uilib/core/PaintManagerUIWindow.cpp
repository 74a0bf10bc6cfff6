// CPaintManagerUI, one window's state:
//   life: construction, binding to a window, attaching a tree, reaping, delayed clean-up
//   window state and geometry settings, opacity, invalidation and its batches
//   control searches and their callbacks (the Tab search is with the input code)
//   option groups
//   layout and painting
#include "core/PaintManagerUI.h"

#include <wchar.h>
#include <wctype.h>

#include <new>

#include "controls/ControlUI.h"
#include "core/GdiScope.h"
#include "core/PaintManagerUIInternal.h"

namespace SkinLib {

namespace {

// Outlines update rectangles when a manager is asked to show them; made by
// the first manager and kept for the process.
HPEN g_hUpdateRectPen = NULL;

bool MatchesClass(CControlUI* pThis, const wchar_t* pstrClass)
{
    return wcscmp(pstrClass, L"*") == 0 || wcscmp(pstrClass, pThis->GetClass()) == 0;
}

} // namespace

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
      m_dwDefaultLinkHoverFontColor(0xFFD3215F), m_dwDefaultSelectedBkColor(0xFFBAE4FF), m_DefaultFontInfo(),
      m_uFocusRequests(0), m_pControlGuards(NULL), m_nInvalidateBatches(0), m_rcBatchInvalid(), m_bCleanupPosted(false)
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
    // A clean-up message posted to another window may never come.
    if (hWnd != m_hWndPaint) m_bCleanupPosted = false;
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
    if (pControl == m_pEventHover) {
        m_pEventHover = NULL;
        // Its tip would stay up with nothing under it to take it down.
        HideToolTip();
    }
    if (pControl == m_pEventClick) ForgetClickControl();
    if (pControl == m_pFocus) m_pFocus = NULL;
    CControlGuard::Reap(this, pControl);
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
    // One message deletes the whole list, so one waits in the queue at a
    // time: a post per control would fill the thread's queue when thousands
    // of rows go at once (Windows takes 10,000 posted messages), and other
    // posts would fail. Without a window the destructor deletes the list; a
    // null target would post to the thread.
    if (!m_bCleanupPosted && m_hWndPaint != NULL) {
        m_bCleanupPosted = ::PostMessageW(m_hWndPaint, UIMSG_DELAYED_CLEANUP, 0, 0) != FALSE;
    }
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
    if (m_hWndPaint == NULL) return;
    if (m_nInvalidateBatches == 0) {
        ::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
        return;
    }
    // Joined here rather than with UnionRect: a batch takes one area per moved control.
    if (rcItem.left >= rcItem.right || rcItem.top >= rcItem.bottom) return;
    CSkinRect& rc = m_rcBatchInvalid;
    if (rc.left >= rc.right || rc.top >= rc.bottom) rc = rcItem;
    else rc.Join(rcItem);
}

CInvalidateBatch::CInvalidateBatch(CPaintManagerUI* pManager) : m_pManager(pManager)
{
    if (m_pManager != NULL) ++m_pManager->m_nInvalidateBatches;
}

CInvalidateBatch::~CInvalidateBatch()
{
    if (m_pManager == NULL || --m_pManager->m_nInvalidateBatches > 0) return;
    // The union covers whatever the single areas covered; the paint that
    // follows draws the whole of it from the tree, so it shows the same.
    RECT& rc = m_pManager->m_rcBatchInvalid;
    if (!::IsRectEmpty(&rc) && m_pManager->m_hWndPaint != NULL) ::InvalidateRect(m_pManager->m_hWndPaint, &rc, FALSE);
    ::SetRectEmpty(&rc);
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
                {
                    CInvalidateBatch batch(this);
                    if (m_pRoot->IsUpdateNeeded()) {
                        m_pRoot->SetPos(rcClient);
                        // Made again at the new size below.
                        DeleteOffscreenBitmaps();
                    }
                    else {
                        DoPartialLayout();
                    }
                }
                if (m_bFirstLayout) {
                    m_bFirstLayout = false;
                    SendNotify(m_pRoot, L"windowinit");
                }
            }
        }
        if (m_bFocusNeeded) SetNextTabControl(true);
    }

    // Checked again after the layout: a "windowinit" receiver may detach the tree.
    if (m_pRoot == NULL) {
        CPaintScope paint(m_hWndPaint);
        return;
    }

    const int cxClient = rcClient.right - rcClient.left;
    const int cyClient = rcClient.bottom - rcClient.top;
    if (m_bOffscreenPaint && m_hbmpOffscreen == NULL) {
        if (m_hDcOffscreen == NULL) m_hDcOffscreen = ::CreateCompatibleDC(m_hDcPaint);
        m_hbmpOffscreen = ::CreateCompatibleBitmap(m_hDcPaint, cxClient, cyClient);
    }

    {
        CPaintScope paint(m_hWndPaint);
        const HDC hDcWindow = paint.DC();
        const RECT& rcPaint = paint.PaintRect();
        const int cxPaint = rcPaint.right - rcPaint.left;
        const int cyPaint = rcPaint.bottom - rcPaint.top;
        if (m_bOffscreenPaint) {
            {
                CSelectScope bitmap(m_hDcOffscreen, m_hbmpOffscreen);
                {
                    CSaveDCScope saved(m_hDcOffscreen);
                    if (m_bAlphaBackground) {
                        // What lay under the window is captured once, until the next full layout.
                        if (m_hbmpBackground == NULL) {
                            m_hDcBackground = ::CreateCompatibleDC(m_hDcPaint);
                            m_hbmpBackground = ::CreateCompatibleBitmap(m_hDcPaint, cxClient, cyClient);
                            ::SelectObject(m_hDcBackground, m_hbmpBackground);
                            ::BitBlt(m_hDcBackground, rcPaint.left, rcPaint.top, cxPaint, cyPaint, hDcWindow,
                                     rcPaint.left, rcPaint.top, SRCCOPY);
                        }
                        ::BitBlt(m_hDcOffscreen, rcPaint.left, rcPaint.top, cxPaint, cyPaint, m_hDcBackground,
                                 rcPaint.left, rcPaint.top, SRCCOPY);
                    }
                    m_pRoot->DoPaint(m_hDcOffscreen, rcPaint);
                    for (int i = 0; i < m_aPostPaintControls.GetSize(); i++) {
                        static_cast<CControlUI*>(m_aPostPaintControls[i])->DoPostPaint(m_hDcOffscreen, rcPaint);
                    }
                }
                ::BitBlt(hDcWindow, rcPaint.left, rcPaint.top, cxPaint, cyPaint, m_hDcOffscreen, rcPaint.left,
                         rcPaint.top, SRCCOPY);
            }
            if (m_bShowUpdateRect) {
                CSelectScope pen(hDcWindow, g_hUpdateRectPen);
                CSelectScope brush(hDcWindow, ::GetStockObject(HOLLOW_BRUSH));
                ::Rectangle(hDcWindow, rcUpdate.left, rcUpdate.top, rcUpdate.right, rcUpdate.bottom);
            }
        }
        else {
            CSaveDCScope saved(hDcWindow);
            m_pRoot->DoPaint(hDcWindow, rcPaint);
        }
    }
    if (m_bUpdateNeeded) ::InvalidateRect(m_hWndPaint, NULL, FALSE);
}

void CPaintManagerUI::OnPrintClient(HDC hDC, LPARAM lParam)
{
    if (m_pRoot == NULL) return;
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    {
        CSaveDCScope saved(hDC);
        m_pRoot->DoPaint(hDC, rcClient);
    }
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

} // namespace SkinLib
