// CPaintManagerUI, process-wide part:
//   static members (all of them, in their order of construction)
//   process-wide settings: instance, resource folder and archive, plug-ins, HSL
//   message loop: routing to a window's manager, translators, pre-message filters
#include "core/PaintManagerUI.h"

#include <stdlib.h>
#include <wchar.h>
#include <wctype.h>

#include "controls/ControlUI.h"
#include "core/PaintManagerUIInternal.h"

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

namespace {

const wchar_t kMemoryZipName[] = L"membuffer";

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
    return m_aTranslateAccelerator.Remove(pTranslateAccelerator);
}

bool CPaintManagerUI::TranslateAcceleratorW(MSG* pMsg)
{
    return m_aTranslateAccelerator.FirstThat<ITranslateAccelerator>(
        [pMsg](ITranslateAccelerator* pTranslator) { return pTranslator->TranslateAcceleratorW(pMsg) == 0; });
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aPreMessageFilters.Add(pFilter);
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aPreMessageFilters.Remove(pFilter);
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (FilterThrough(m_aPreMessageFilters, uMsg, wParam, lParam, lRes)) return true;
    switch (uMsg) {
    case WM_KEYDOWN:
        // An empty window has nothing to move the focus through; let the key pass.
        if (wParam != VK_TAB || m_pRoot == NULL) return false;
        // The one control left the key is a focused, visible, enabled one
        // that wants Tab as input; no other control keeps it.
        if (m_pFocus != NULL && m_pFocus->IsVisible() && m_pFocus->IsEnabled()) {
            const IWantTabUI* pWantTab = static_cast<IWantTabUI*>(m_pFocus->GetInterface(L"WantTab"));
            if (pWantTab != NULL && pWantTab->IsWantTab()) return false;
        }
        SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
        return true;
    case WM_SYSKEYDOWN:
        if (m_pFocus != NULL) {
            tagTEventUI event = MakeKeyEvent(SKIN_EVT_SYSKEY, m_ptLastMousePos, wParam);
            m_pFocus->Event(event);
        }
        return false;
    case WM_SYSCHAR: {
        if (m_pRoot == NULL) return false;
        FINDSHORTCUT fs = {static_cast<wchar_t>(towupper(static_cast<wint_t>(wParam))), false};
        CControlUI* pControl = m_pRoot->FindControl(__FindControlFromShortcut, &fs,
                                                    FINDFLAG_ENABLED | FINDFLAG_MEFIRST | FINDFLAG_TOPFIRST);
        if (pControl == NULL) return false;
        // A focus handler may delete the control before it is activated.
        CControlGuard shortcut(this, pControl);
        shortcut->SetFocus();
        if (shortcut != NULL) shortcut->Activate();
        return true;
    }
    default:
        return false;
    }
}

} // namespace SkinLib
