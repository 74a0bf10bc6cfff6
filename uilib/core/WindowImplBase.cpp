// WindowImplBase:
//   - the message map, notifications and the default keys
//   - message routing to the On... handlers, the paint manager and the default procedure
//   - creation: skin source, building and attaching the tree
//   - the non-client behaviour of a caption-less window: hit test, frame, maximised size, round corners
#include "core/WindowImplBase.h"

#include <wchar.h>
#include <windowsx.h>

#include <new>

#include "controls/ControlUI.h"
#include "core/AttributeValue.h"
#include "core/SkinFile.h"

namespace SkinLib {

LPBYTE WindowImplBase::m_lpResourceZIPBuffer = NULL;

SKIN_BEGIN_MESSAGE_MAP(WindowImplBase, CNotifyPump)
    SKIN_ON_NOTIFY(L"click", L"", WindowImplBase::OnClick)
SKIN_END_MESSAGE_MAP()

namespace {

const wchar_t kMemoryZipName[] = L"membuffer";

// The work area of the window's monitor, relative to the monitor's top-left corner.
RECT MonitorWorkArea(HWND hWnd)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    RECT rcWork = mi.rcWork;
    ::OffsetRect(&rcWork, -mi.rcMonitor.left, -mi.rcMonitor.top);
    return rcWork;
}

// Controls in the caption band that take clicks themselves.
bool IsClickableInCaption(const CControlUI* pControl)
{
    const wchar_t* pstrClass = pControl->GetClass();
    return ::_wcsicmp(pstrClass, L"ButtonUI") == 0 || ::_wcsicmp(pstrClass, L"OptionUI") == 0 ||
           ::_wcsicmp(pstrClass, L"TextUI") == 0;
}

} // namespace

WindowImplBase::~WindowImplBase()
{
    if (!::IsWindow(m_hWnd)) return;
    if (m_bSubclassed) Unsubclass();
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    ::DestroyWindow(m_hWnd);
    m_hWnd = NULL;
}

void WindowImplBase::InitWindow()
{
}

UINT WindowImplBase::GetClassStyle() const
{
    return CS_DBLCLKS;
}

void WindowImplBase::OnFinalMessage(HWND /*hWnd*/)
{
    m_PaintManager.RemovePreMessageFilter(this);
    m_PaintManager.RemoveNotifier(this);
    m_PaintManager.ReapObjects(m_PaintManager.GetRoot());
}

// ---------------------------------------------------------------------------
// Notifications and the default keys

void WindowImplBase::Notify(tagTNotifyUI& msg)
{
    if (msg.pSenderControl == NULL) return;
    NotifyPump(msg);
}

void WindowImplBase::OnClick(tagTNotifyUI& msg)
{
    if (msg.pSenderControl == NULL) return;
    const CSkinString& sName = msg.pSenderControl->GetName();
    if (sName == L"closebtn") Close(1);
    else if (sName == L"minbtn") SendMessageW(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (sName == L"maxbtn") SendMessageW(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (sName == L"restorebtn") SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM /*lParam*/, bool& /*bHandled*/)
{
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) return ResponseDefaultKeyEvent(wParam);
    return 0;
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam)
{
    if (wParam != VK_ESCAPE) return 0;
    Close(1);
    return 1;
}

CControlUI* WindowImplBase::CreateControl(const wchar_t* /*pstrClass*/)
{
    return NULL;
}

UILIB_RESOURCETYPE WindowImplBase::GetResourceType() const
{
    return SKIN_FROM_FILE;
}

CSkinString WindowImplBase::GetZIPFileName() const
{
    return CSkinString();
}

LPCWSTR WindowImplBase::GetResourceID() const
{
    return L"";
}

LONG WindowImplBase::GetStyle()
{
    return static_cast<LONG>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)) & ~WS_CAPTION;
}

// ---------------------------------------------------------------------------
// Message routing

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    BOOL bHandled = TRUE;
    LRESULT lRes = 0;
    switch (uMsg) {
    case WM_CREATE: lRes = OnCreate(uMsg, wParam, lParam, bHandled); break;
    case WM_DESTROY: lRes = OnDestroy(uMsg, wParam, lParam, bHandled); break;
    case WM_SIZE: lRes = OnSize(uMsg, wParam, lParam, bHandled); break;
    case WM_SETFOCUS: lRes = OnSetFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_KILLFOCUS: lRes = OnKillFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_CLOSE: lRes = OnClose(uMsg, wParam, lParam, bHandled); break;
    case WM_GETMINMAXINFO: lRes = OnGetMinMaxInfo(uMsg, wParam, lParam, bHandled); break;
    case WM_NCCALCSIZE: lRes = OnNcCalcSize(uMsg, wParam, lParam, bHandled); break;
    case WM_NCHITTEST: lRes = OnNcHitTest(uMsg, wParam, lParam, bHandled); break;
    case WM_NCPAINT: lRes = OnNcPaint(uMsg, wParam, lParam, bHandled); break;
    case WM_NCACTIVATE: lRes = OnNcActivate(uMsg, wParam, lParam, bHandled); break;
    case WM_KEYDOWN: lRes = OnKeyDown(uMsg, wParam, lParam, bHandled); break;
    case WM_CHAR: lRes = OnChar(uMsg, wParam, lParam, bHandled); break;
    case WM_SYSCOMMAND: lRes = OnSysCommand(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEMOVE: lRes = OnMouseMove(uMsg, wParam, lParam, bHandled); break;
    case WM_LBUTTONDOWN: lRes = OnLButtonDown(uMsg, wParam, lParam, bHandled); break;
    case WM_LBUTTONUP: lRes = OnLButtonUp(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEWHEEL: lRes = OnMouseWheel(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEHOVER: lRes = OnMouseHover(uMsg, wParam, lParam, bHandled); break;
    default: bHandled = FALSE; break;
    }
    if (bHandled) return lRes;

    lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    if (bHandled) return lRes;

    if (m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& /*bHandled*/)
{
    // The low four bits of a system command are the system's own.
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendMessageW(WM_CLOSE, 0, 0);
        return 0;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Creation

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL& /*bHandled*/)
{
    LONG_PTR nStyle = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    nStyle &= ~static_cast<LONG_PTR>(WS_CAPTION);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, nStyle | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    RECT rcClient = {};
    ::GetClientRect(m_hWnd, &rcClient);
    ::SetWindowPos(m_hWnd, NULL, rcClient.left, rcClient.top, rcClient.right - rcClient.left,
                   rcClient.bottom - rcClient.top, SWP_FRAMECHANGED);

    m_PaintManager.Init(m_hWnd);
    m_PaintManager.AddPreMessageFilter(this);

    if (CPaintManagerUI::GetResourcePath().IsEmpty()) {
        CSkinString sPath = CPaintManagerUI::GetInstancePath();
        sPath += GetSkinDirectory();
        CPaintManagerUI::SetResourcePath(sPath);
    }

    const UILIB_RESOURCETYPE type = GetResourceType();
    switch (type) {
    case SKIN_FROM_ZIPFILE:
        CPaintManagerUI::SetResourceZip(GetZIPFileName(), true);
        break;
    case SKIN_FROM_ZIPRESOURCE: {
        CSkinFile archive;
        if (archive.ReadResource(GetResourceID(), L"ZIPRES") != SKINFILE_OK) return 0;
        // The archive opened first stays the process's skin source: a later
        // window of this kind needs no copy of its own.
        if (CPaintManagerUI::GetResourceZip() != kMemoryZipName) {
            LPBYTE pBuffer = new (std::nothrow) BYTE[archive.GetSize()];
            if (pBuffer == NULL) return 0;
            ::CopyMemory(pBuffer, archive.GetData(), archive.GetSize());
            m_lpResourceZIPBuffer = pBuffer;
            CPaintManagerUI::SetResourceZip(m_lpResourceZIPBuffer, archive.GetSize());
        }
        break;
    }
    default:
        break;
    }

    CDialogBuilder builder;
    const CSkinString sSkin = GetSkinXmlName();
    CControlUI* pRoot =
        type == SKIN_FROM_RESOURCE
            ? builder.Create(STRINGorID(LOWORD(ParseIntValue(sSkin))), L"xml", this, &m_PaintManager, NULL)
            : builder.Create(sSkin.GetData(), NULL, this, &m_PaintManager, NULL);
    if (pRoot == NULL) {
        ::MessageBoxW(NULL, L"加载资源文件失败", L"SkinLib", MB_ICONHAND);
        ::ExitProcess(1);
    }
    m_PaintManager.AttachDialog(pRoot);
    m_PaintManager.AddNotifier(this);
    m_PaintManager.SetBackgroundTransparent(true);
    InitWindow();
    return 0;
}

// ---------------------------------------------------------------------------
// Non-client behaviour

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (::IsIconic(m_hWnd)) bHandled = FALSE;
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM wParam, LPARAM lParam, BOOL& /*bHandled*/)
{
    if (!::IsZoomed(m_hWnd)) return 0;
    // Either form of the message starts with the proposed window rectangle.
    RECT* pRect = wParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    const RECT rcWork = MonitorWorkArea(m_hWnd);
    pRect->right = pRect->left + (rcWork.right - rcWork.left);
    pRect->bottom = pRect->top + (rcWork.bottom - rcWork.top);
    return WVR_REDRAW;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, BOOL& /*bHandled*/)
{
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL& /*bHandled*/)
{
    POINT pt = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    ::ScreenToClient(m_hWnd, &pt);
    RECT rcClient = {};
    ::GetClientRect(m_hWnd, &rcClient);

    if (!::IsZoomed(m_hWnd)) {
        const RECT& rcSizeBox = m_PaintManager.GetSizeBox();
        const bool bLeft = pt.x < rcClient.left + rcSizeBox.left;
        const bool bRight = pt.x > rcClient.right - rcSizeBox.right;
        if (pt.y < rcClient.top + rcSizeBox.top) return bLeft ? HTTOPLEFT : bRight ? HTTOPRIGHT : HTTOP;
        if (pt.y > rcClient.bottom - rcSizeBox.bottom) return bLeft ? HTBOTTOMLEFT : bRight ? HTBOTTOMRIGHT : HTBOTTOM;
        if (bLeft) return HTLEFT;
        if (bRight) return HTRIGHT;
    }

    // The caption's left and right are insets from the client edges.
    const RECT& rcCaption = m_PaintManager.GetCaptionRect();
    if (pt.x >= rcClient.left + rcCaption.left && pt.x < rcClient.right - rcCaption.right && pt.y >= rcCaption.top &&
        pt.y < rcCaption.bottom) {
        CControlUI* pControl = m_PaintManager.FindControl(pt);
        if (pControl != NULL && !IsClickableInCaption(pControl)) return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    MINMAXINFO* lpMMI = reinterpret_cast<MINMAXINFO*>(lParam);
    const RECT rcWork = MonitorWorkArea(m_hWnd);
    lpMMI->ptMaxPosition.x = rcWork.left;
    lpMMI->ptMaxPosition.y = rcWork.top;
    lpMMI->ptMaxTrackSize.x = rcWork.right - rcWork.left;
    lpMMI->ptMaxTrackSize.y = rcWork.bottom - rcWork.top;
    const SIZE szMin = m_PaintManager.GetMinInfo();
    lpMMI->ptMinTrackSize.x = szMin.cx;
    lpMMI->ptMinTrackSize.y = szMin.cy;
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    const SIZE szRoundCorner = m_PaintManager.GetRoundCorner();
    if (!::IsIconic(m_hWnd) && (szRoundCorner.cx != 0 || szRoundCorner.cy != 0)) {
        RECT rcWnd = {};
        ::GetWindowRect(m_hWnd, &rcWnd);
        HRGN hRgn = ::CreateRoundRectRgn(0, 0, rcWnd.right - rcWnd.left + 1, rcWnd.bottom - rcWnd.top + 1,
                                         szRoundCorner.cx, szRoundCorner.cy);
        // A region the window took belongs to the window from then on.
        if (hRgn != NULL && !::SetWindowRgn(m_hWnd, hRgn, TRUE)) ::DeleteObject(hRgn);
    }
    bHandled = FALSE;
    return 0;
}

} // namespace SkinLib
