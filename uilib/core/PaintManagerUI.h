#pragma once

#include <windows.h>
#include <commctrl.h>

#include "core/DispatchList.h"
#include "core/ResourceZip.h"
#include "core/SkinRect.h"
#include "core/SkinString.h"
#include "core/StdPtrArray.h"
#include "core/StdStringPtrMap.h"

namespace SkinLib {

class CControlUI;
class CControlGuard;
class CInvalidateBatch;

// Kinds of UI events delivered to a control. Mouse events lie strictly
// between 8 and 19, which controls test as a range.
enum SKIN_EVENT_KIND
{
    SKIN_EVT_KEYDOWN = 3,
    SKIN_EVT_KEYUP = 4,
    SKIN_EVT_CHAR = 5,
    SKIN_EVT_SYSKEY = 6,
    SKIN_EVT_MOUSEMOVE = 9,
    SKIN_EVT_MOUSELEAVE = 10,
    SKIN_EVT_MOUSEENTER = 11,
    SKIN_EVT_MOUSEHOVER = 12,
    SKIN_EVT_BUTTONDOWN = 13,
    SKIN_EVT_BUTTONUP = 14,
    SKIN_EVT_RBUTTONDOWN = 15,
    SKIN_EVT_DBLCLICK = 16,
    SKIN_EVT_CONTEXTMENU = 17,
    SKIN_EVT_SCROLLWHEEL = 18,
    SKIN_EVT_KILLFOCUS = 20,
    SKIN_EVT_SETFOCUS = 21,
    SKIN_EVT_WINDOWSIZE = 22,
    SKIN_EVT_SETCURSOR = 23,
    SKIN_EVT_TIMER = 24,
};

// Posted by a manager to its own window to delete controls removed from the tree.
enum { UIMSG_DELAYED_CLEANUP = WM_APP + 1 };
// Native child windows get their WM_NOTIFY, WM_COMMAND and WM_CTLCOLOR...
// notifications back from the manager as the message plus this.
enum { UIMSG_REFLECT_OFFSET = 0x2000 };

// One UI event for one control. Make it zero-filled, then fill what the kind needs.
struct tagTEventUI
{
    int nEventType;
    CControlUI* pSenderControl;
    DWORD dwTickTime;
    POINT ptMousePos;
    wchar_t chKeyCode;
    WORD wModifierKeys;
    WPARAM wMsgParam;
    LPARAM lMsgParam;
};

// One notification from a control to the window's code.
struct tagTNotifyUI
{
    CSkinString sNotifyType;
    CSkinString sVirtualWndName;
    // Null when the sender was destroyed while the notification was queued.
    CControlUI* pSenderControl;
    DWORD dwTickTime;
    POINT ptMousePos;
    WPARAM wNotifyParam;
    LPARAM lNotifyParam;
};

struct tagTFontInfo
{
    HFONT hGdiFont;
    CSkinString sFaceName;
    int nPixelSize;
    bool bIsBold;
    bool bIsUnderline;
    bool bIsItalic;
    // All zero until measured; a zero tmHeight makes the next look-up measure.
    TEXTMETRICW tmMetrics;
};

// One decoded skin image, cached by name in a paint manager.
struct tagTImageInfo
{
    HBITMAP hDibBitmap;          // 32-bit top-down DIB section, premultiplied alpha; owned
    int nWidth;
    int nHeight;
    bool bHasAlpha;              // some pixel is not fully opaque, so drawing blends
    CSkinString sResourceType;   // empty for images read from files
    DWORD dwMaskColor;           // 0xAARRGGBB made transparent at load; 0 = none
};

// The hooks below are never deleted through the interface: whoever registers
// one keeps owning it and unregisters it before it goes away.
class INotifyUI
{
public:
    virtual void Notify(tagTNotifyUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};

class IMessageFilterUI
{
public:
    // Set bHandled to consume the message; the return value is then its result.
    virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

class ITranslateAccelerator
{
public:
    // 0 means the message was translated and must not be dispatched.
    virtual LRESULT TranslateAcceleratorW(MSG* pMsg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

// A control that takes the Tab key as input, as a rich edit may, answers
// GetInterface(L"WantTab") with this; while it has the focus and wants Tab,
// Tab reaches it instead of moving the focus.
class IWantTabUI
{
public:
    virtual bool IsWantTab() const = 0;

protected:
    ~IWantTabUI() = default;
};

// The "CreateControl" export of a plug-in library.
typedef CControlUI* (*LPCREATECONTROL)(const wchar_t* pstrClass);

// The UI state of one skinned window: its control tree, painting, layout,
// timers and notifications; plus, as statics, the settings the process shares.
class CPaintManagerUI
{
public:
    CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;
    ~CPaintManagerUI();

    // Process-wide settings.
    static HINSTANCE GetInstance();
    static void SetInstance(HINSTANCE hInst);
    static CSkinString GetInstancePath();
    static CSkinString GetCurrentPath();
    static bool SetCurrentPath(const wchar_t* pStrPath);
    static HINSTANCE GetResourceDll();
    static void SetResourceDll(HINSTANCE hInst);
    static const CSkinString& GetResourcePath();
    static void SetResourcePath(const wchar_t* pStrPath);
    static const CSkinString& GetResourceZip();
    static bool IsCachedResourceZip();
    static HSKINZIP GetResourceZipHandle();
    static void SetResourceZip(const wchar_t* pstrZip, bool bCachedResourceZip = false);
    // The block must stay alive for the rest of the process.
    static void SetResourceZip(const void* pVoid, unsigned int len);
    static void Term();
    static bool LoadPlugin(const wchar_t* pstrModuleName);
    static CStdPtrArray* GetPlugins();
    static void GetHSL(short* H, short* S, short* L);
    static void SetHSL(bool bUseHSL, short H, short S, short L);
    static void ReloadSkin();

    static void MessageLoop();
    static bool TranslateMessage(const MSG* pMsg);

    // Window binding and the control tree.
    void Init(HWND hWnd);
    bool AttachDialog(CControlUI* pControl);
    bool InitControls(CControlUI* pControl, CControlUI* pParent = NULL);
    void ReapObjects(CControlUI* pControl);
    void AddDelayedCleanup(CControlUI* pControl);
    bool UseParentResource(CPaintManagerUI* pm);
    CPaintManagerUI* GetParentResource() const;

    HWND GetPaintWindow() const;
    HDC GetPaintDC() const;
    HWND GetTooltipWindow() const;
    CControlUI* GetRoot() const;
    POINT GetMousePos() const;
    SIZE GetClientSize() const;
    SIZE GetInitSize() const;
    void SetInitSize(int cx, int cy);
    RECT& GetSizeBox();
    void SetSizeBox(const RECT& rcSizeBox);
    RECT& GetCaptionRect();
    void SetCaptionRect(const RECT& rcCaption);
    SIZE GetRoundCorner() const;
    void SetRoundCorner(int cx, int cy);
    SIZE GetMinInfo() const;
    void SetMinInfo(int cx, int cy);
    SIZE GetMaxInfo() const;
    void SetMaxInfo(int cx, int cy);
    int GetTransparent() const;
    void SetTransparent(int nOpacity);
    void SetBackgroundTransparent(bool bTrans);
    bool IsShowUpdateRect() const;
    void SetShowUpdateRect(bool show);

    void NeedUpdate();
    void Invalidate(const RECT& rcItem);

    // Searches.
    CControlUI* FindControl(POINT pt) const;
    CControlUI* FindControl(const wchar_t* pstrName) const;
    CControlUI* FindSubControlByPoint(CControlUI* pParent, POINT pt) const;
    CControlUI* FindSubControlByName(CControlUI* pParent, const wchar_t* pstrName) const;
    CControlUI* FindSubControlByClass(CControlUI* pParent, const wchar_t* pstrClass, int iIndex = 0);
    CStdPtrArray* FindSubControlsByClass(CControlUI* pParent, const wchar_t* pstrClass);
    CStdPtrArray* GetSubControlsByClass();

    static CControlUI* CALLBACK __FindControlFromNameHash(CControlUI* pThis, void* pData);
    static CControlUI* CALLBACK __FindControlFromCount(CControlUI* pThis, void* pData);
    static CControlUI* CALLBACK __FindControlFromPoint(CControlUI* pThis, void* pData);
    static CControlUI* CALLBACK __FindControlFromTab(CControlUI* pThis, void* pData);
    static CControlUI* CALLBACK __FindControlFromShortcut(CControlUI* pThis, void* pData);
    static CControlUI* CALLBACK __FindControlFromUpdate(CControlUI* pThis, void* pData);
    static CControlUI* CALLBACK __FindControlFromName(CControlUI* pThis, void* pData);
    static CControlUI* CALLBACK __FindControlFromClass(CControlUI* pThis, void* pData);
    static CControlUI* CALLBACK __FindControlsFromClass(CControlUI* pThis, void* pData);

    // Option groups.
    bool AddOptionGroup(const wchar_t* pStrGroupName, CControlUI* pControl);
    CStdPtrArray* GetOptionGroup(const wchar_t* pStrGroupName);
    void RemoveOptionGroup(const wchar_t* pStrGroupName, CControlUI* pControl);
    void RemoveAllOptionGroups();

    // Focus and capture.
    CControlUI* GetFocus() const;
    // The last request wins: a "killfocus" handler that asks for another
    // control, or for none, decides where the focus ends.
    void SetFocus(CControlUI* pControl);
    // For controls that open a native window: the focus moves onto pControl
    // at the next paint, through the Tab order.
    void SetFocusNeeded(CControlUI* pControl);
    bool SetNextTabControl(bool bForward = true);
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const;

    // Timers.
    bool SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse);
    bool KillTimer(CControlUI* pControl, UINT nTimerID);
    void KillTimer(CControlUI* pControl);
    void RemoveAllTimers();

    // Notifications, filters and post-painting.
    void SendNotify(tagTNotifyUI& Msg, bool bAsync = false);
    void SendNotify(CControlUI* pControl, const wchar_t* pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool bAsync = false);
    void UsedVirtualWnd(bool bUsed);
    bool AddNotifier(INotifyUI* pControl);
    bool RemoveNotifier(INotifyUI* pControl);
    bool AddPreMessageFilter(IMessageFilterUI* pFilter);
    bool RemovePreMessageFilter(IMessageFilterUI* pFilter);
    bool AddMessageFilter(IMessageFilterUI* pFilter);
    bool RemoveMessageFilter(IMessageFilterUI* pFilter);
    int GetPostPaintCount() const;
    bool AddPostPaint(CControlUI* pControl);
    bool RemovePostPaint(CControlUI* pControl);
    bool SetPostPaintIndex(CControlUI* pControl, int iIndex);

    bool AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
    bool RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
    bool TranslateAcceleratorW(MSG* pMsg);

    // Default colours. Getters answer from the topmost manager of the
    // parent-resource chain; setters store into this manager.
    DWORD GetDefaultDisabledColor() const;
    void SetDefaultDisabledColor(DWORD dwColor);
    DWORD GetDefaultFontColor() const;
    void SetDefaultFontColor(DWORD dwColor);
    DWORD GetDefaultLinkFontColor() const;
    void SetDefaultLinkFontColor(DWORD dwColor);
    DWORD GetDefaultLinkHoverFontColor() const;
    void SetDefaultLinkHoverFontColor(DWORD dwColor);
    DWORD GetDefaultSelectedBkColor() const;
    void SetDefaultSelectedBkColor(DWORD dwColor);

    // Fonts. Controls refer to custom fonts by index; an index this manager
    // lacks is looked up along the parent-resource chain, then the default.
    tagTFontInfo* GetDefaultFontInfo();
    void SetDefaultFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    int GetCustomFontCount() const;
    HFONT AddFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT AddFontAt(int index, const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT GetFont(int index);
    HFONT GetFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    bool FindFont(HFONT hFont);
    bool FindFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    int GetFontIndex(HFONT hFont);
    int GetFontIndex(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    bool RemoveFont(HFONT hFont);
    bool RemoveFontAt(int index);
    void RemoveAllFonts();
    tagTFontInfo* GetFontInfo(int index);
    tagTFontInfo* GetFontInfo(HFONT hFont);

    // Images, cached by name.
    const tagTImageInfo* GetImage(const wchar_t* bitmap);
    const tagTImageInfo* GetImageEx(const wchar_t* bitmap, const wchar_t* type = NULL, DWORD mask = 0);
    const tagTImageInfo* AddImage(const wchar_t* bitmap, const wchar_t* type = NULL, DWORD mask = 0);
    // Takes the bitmap over whatever the outcome: on failure it is deleted.
    const tagTImageInfo* AddImage(const wchar_t* bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha);
    bool RemoveImage(const wchar_t* bitmap);
    void RemoveAllImages();
    // Images are reloaded from their sources in place, so records handed out stay valid.
    void ReloadAllImages();

    // Default attribute lists, by control class name.
    void AddDefaultAttributeList(const wchar_t* pStrControlName, const wchar_t* pStrControlAttrList);
    const wchar_t* GetDefaultAttributeList(const wchar_t* pStrControlName) const;
    bool RemoveDefaultAttributeList(const wchar_t* pStrControlName);
    const CStdStringPtrMap& GetDefaultAttribultes() const;
    void RemoveAllDefaultAttributeList();

    bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

    static CSkinString m_pStrDefaultFontName;

private:
    friend class CControlGuard;
    friend class CInvalidateBatch;

    // Input, one handler per message; true when the message counts as handled.
    bool OnMouseMove(POINT pt);
    bool OnMouseHover(POINT pt);
    bool OnMouseLeave();
    bool OnButtonDown(int nEventType, WPARAM wParam, LPARAM lParam);
    bool OnLButtonUp(WPARAM wParam, LPARAM lParam);
    bool OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    bool OnContextMenu(LPARAM lParam);
    bool OnMouseWheel(WPARAM wParam, LPARAM lParam);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);
    bool OnKeyDown(WPARAM wParam);
    bool OnKeyUp(WPARAM wParam);
    bool OnChar(WPARAM wParam);
    bool OnClose();
    bool OnSize();
    static bool ForwardToChild(HWND hWndChild, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    CControlUI* ControlAt(POINT pt) const;
    // The focused control loses the focus to pNewFocus ("killfocus" and its event).
    void DropFocus(CControlUI* pNewFocus);
    void ShowToolTip(CControlUI* pControl);
    void HideToolTip();
    void OnPaint();
    void OnPrintClient(HDC hDC, LPARAM lParam);
    void DoPartialLayout();
    void DeleteOffscreenBitmaps();
    void DeleteDelayedCleanup();
    void FreeAsyncNotify();
    void DeliverAsyncNotify();
    void DeliverNotify(tagTNotifyUI& Msg);
    void OnTimer(WPARAM wParam);
    bool NextTimerId(UINT* pWinTimer);
    void ForgetClickControl();
    const CPaintManagerUI* TopResourceManager() const;
    tagTFontInfo* FindFontInfo(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic,
                               CPaintManagerUI** ppOwner);
    tagTFontInfo* FindFontInfo(HFONT hFont, CPaintManagerUI** ppOwner);
    tagTFontInfo* FindFontInfo(int index, CPaintManagerUI** ppOwner);
    tagTImageInfo* GetImageOwned(const wchar_t* bitmap) const;
    static void CloseCachedZip();

    HWND m_hWndPaint;
    int m_nOpacity;
    HDC m_hDcPaint;
    HDC m_hDcOffscreen;
    HDC m_hDcBackground;
    HBITMAP m_hbmpOffscreen;
    HBITMAP m_hbmpBackground;
    HWND m_hwndTooltip;
    TOOLINFOW m_ToolTip;
    CSkinString m_sToolTipText;  // the text m_ToolTip points at, alive as long as the record
    bool m_bShowUpdateRect;

    CControlUI* m_pRoot;  // owned, with its whole tree
    CControlUI* m_pFocus;
    CControlUI* m_pEventHover;
    CControlUI* m_pEventClick;
    CControlUI* m_pEventKey;

    POINT m_ptLastMousePos;
    SIZE m_szMinWindow;
    SIZE m_szMaxWindow;
    SIZE m_szInitWindowSize;
    RECT m_rcSizeBox;
    SIZE m_szRoundCorner;
    RECT m_rcCaption;
    UINT m_uTimerID;
    bool m_bFirstLayout;
    bool m_bUpdateNeeded;
    bool m_bFocusNeeded;
    bool m_bOffscreenPaint;
    bool m_bAlphaBackground;
    bool m_bMouseTracking;
    bool m_bMouseCapture;
    bool m_bUsedVirtualWnd;

    // Receivers may add or remove receivers while they are walked: each one still registered
    // when its turn comes gets its turn, once.
    CDispatchList m_aNotifiers;           // INotifyUI*
    CStdPtrArray m_aTimers;               // TimerEntry*, owned
    CDispatchList m_aPreMessageFilters;   // IMessageFilterUI*
    CDispatchList m_aMessageFilters;      // IMessageFilterUI*
    CStdPtrArray m_aPostPaintControls;    // CControlUI*
    CStdPtrArray m_aDelayedCleanup;       // CControlUI*, owned
    CStdPtrArray m_aAsyncNotify;          // tagTNotifyUI*, owned
    CStdPtrArray m_aFoundControls;        // CControlUI*
    CStdStringPtrMap m_mNameHash;         // name -> CControlUI*
    CStdStringPtrMap m_mOptionGroup;      // group -> CStdPtrArray* of CControlUI*, arrays owned

    CPaintManagerUI* m_pParentResourcePM;
    DWORD m_dwDefaultDisabledColor;
    DWORD m_dwDefaultFontColor;
    DWORD m_dwDefaultLinkFontColor;
    DWORD m_dwDefaultLinkHoverFontColor;
    DWORD m_dwDefaultSelectedBkColor;
    tagTFontInfo m_DefaultFontInfo;       // hGdiFont owned
    CStdPtrArray m_aCustomFonts;          // tagTFontInfo*, owned with their handles
    CStdStringPtrMap m_mImageHash;        // name -> tagTImageInfo*, owned
    CStdStringPtrMap m_DefaultAttrHash;   // class name -> CSkinString*, owned

    CDispatchList m_aTranslateAccelerator; // ITranslateAccelerator*

    UINT m_uFocusRequests;                // counts SetFocus calls, to see a nested one
    CControlGuard* m_pControlGuards;      // the innermost guard of the dispatch's stack, chained outwards
    int m_nInvalidateBatches;             // open CInvalidateBatch scopes
    CSkinRect m_rcBatchInvalid;           // what they have collected so far
    bool m_bCleanupPosted;                // a delayed clean-up message waits in the queue

    static HINSTANCE m_hInstance;
    static HINSTANCE m_hResourceInstance;
    static CSkinString m_pStrResourcePath;
    static CSkinString m_pStrResourceZip;
    static bool m_bCachedResourceZip;
    static HSKINZIP m_hResourceZip;
    static CStdPtrArray m_aPreMessages;   // CPaintManagerUI*, in Init order
    static CStdPtrArray m_aPlugins;       // LPCREATECONTROL
    static short m_H;
    static short m_S;
    static short m_L;
};

// While one is open, the manager's Invalidate collects the areas instead of
// handing each to the window, and the outermost hands their union over once
// as it ends. A layout or a scroll moves every control of a long list, and
// every InvalidateRect is a trip to the window system.
class CInvalidateBatch
{
public:
    explicit CInvalidateBatch(CPaintManagerUI* pManager);  // null: nothing to collect
    CInvalidateBatch(const CInvalidateBatch&) = delete;
    CInvalidateBatch& operator=(const CInvalidateBatch&) = delete;
    ~CInvalidateBatch();

private:
    CPaintManagerUI* m_pManager;
};

// The name of a window message for diagnostics ("WM_PAINT"), or its number
// as "0x0400" in one buffer that the next unnamed message overwrites.
const wchar_t* SKIN__TraceMsg(UINT uMsg);
// Diagnostics the library could write; it writes none.
void SKIN__Trace(const wchar_t* pstrFormat, ...);

} // namespace SkinLib
