// Every state of the label, the text with links, the button and the edit in
// one skinned window, with images from an in-memory skin archive.
//   controls_demo.exe [delay-ms] [edit]
// With a delay the window closes itself after it; with "edit" the password
// edit holds the focus and its native window is open, else the focused button.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <vector>

#include "../core/PngFixture.h"
#include "../core/ZipWriter.h"
#include "controls/ButtonUI.h"
#include "controls/ContainerUI.h"
#include "controls/EditUI.h"
#include "controls/LabelUI.h"
#include "controls/TextUI.h"
#include "core/PaintManagerUI.h"
#include "core/WindowWnd.h"

using namespace SkinLib;
using namespace SkinLibTest;

namespace {

const UINT_PTR kCloseTimerId = 1;
const UINT_PTR kStatesTimerId = 2;
const int kClientWidth = 660;
const int kClientHeight = 430;

// A square box with a 1-pixel frame, for edits.
std::string BoxPng(uint32_t face, uint32_t frame)
{
    const int n = 12;
    std::vector<uint32_t> px(n * n, face);
    for (int i = 0; i < n; i++) px[i] = px[(n - 1) * n + i] = px[i * n] = px[i * n + n - 1] = frame;
    return MakePng(n, n, px);
}

std::vector<uint8_t> BuildSkinArchive()
{
    ZipWriter zip;
    zip.Add("button_normal.png", MakeRoundedFacePng(0xFFFFFFFF, 0xFFBFC8D2));
    zip.Add("button_hot.png", MakeRoundedFacePng(0xFFE8F2FB, 0xFF1883D7));
    zip.Add("button_pushed.png", MakeRoundedFacePng(0xFFC9DFF3, 0xFF0E5A96));
    zip.Add("button_focused.png", MakeRoundedFacePng(0xFFFFFFFF, 0xFF1883D7));
    zip.Add("button_disabled.png", MakeRoundedFacePng(0xFFF0F0F0, 0xFFD6D6D6));
    zip.Add("edit_normal.png", BoxPng(0xFFFFFFFF, 0xFFBFC8D2));
    zip.Add("edit_hot.png", BoxPng(0xFFFFFFFF, 0xFF6FA8DC));
    zip.Add("edit_focused.png", BoxPng(0xFFFFFFFF, 0xFF1883D7));
    zip.Add("edit_disabled.png", BoxPng(0xFFF4F4F4, 0xFFDDDDDD));
    return zip.Build();
}

// A control placed where its "pos" attribute says, inside the container.
template <class Control> Control* AddPlaced(CContainerUI* pContainer, const wchar_t* pstrAttributes)
{
    Control* pControl = new Control;
    pControl->SetFloat(true);
    pControl->ApplyAttributeList(pstrAttributes);
    pContainer->Add(pControl);
    return pControl;
}

class CControlsDemoWnd : public CWindowWnd, public INotifyUI
{
public:
    CControlsDemoWnd(UINT nDelay, bool bFocusEdit) : m_nDelay(nDelay), m_bFocusEdit(bFocusEdit) {}

    void Notify(tagTNotifyUI& msg) override
    {
        if (msg.sNotifyType == L"link" && m_pStatus != NULL) {
            CTextUI* pText = static_cast<CTextUI*>(msg.pSenderControl->GetInterface(L"Text"));
            const CSkinString* pTarget = pText != NULL ? pText->GetLinkContent(int(msg.wNotifyParam)) : NULL;
            m_pStatus->SetText(CSkinString(L"link: ") + (pTarget != NULL ? pTarget->GetData() : L"?"));
        }
        else if (msg.sNotifyType == L"click" && m_pStatus != NULL) {
            m_pStatus->SetText(CSkinString(L"click: ") + msg.pSenderControl->GetText());
        }
        else if (msg.sNotifyType == L"textchanged" && m_pStatus != NULL) {
            CSkinString sStatus;
            sStatus.Format(L"textchanged: %d characters", msg.pSenderControl->GetText().GetLength());
            m_pStatus->SetText(sStatus);
        }
    }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_CREATE) {
            OnCreate();
            return 0;
        }
        if (uMsg == WM_TIMER && wParam == kStatesTimerId) {
            ::KillTimer(m_hWnd, kStatesTimerId);
            ShowStates();
            return 0;
        }
        if (uMsg == WM_TIMER && wParam == kCloseTimerId) {
            ::KillTimer(m_hWnd, kCloseTimerId);
            Close(0);
            return 0;
        }
        LRESULT lRes = 0;
        if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

protected:
    LPCWSTR GetWndClassName() const override { return L"ControlsDemo"; }
    void OnFinalMessage(HWND) override { m_pm.RemoveNotifier(this); }

private:
    void OnCreate()
    {
        m_pm.Init(m_hWnd);
        m_pm.AddFont(L"Tahoma", 13, false, false, false);  // 0
        m_pm.AddFont(L"Tahoma", 13, true, false, false);   // 1
        m_pm.AddFont(L"Tahoma", 26, true, false, false);   // 2
        m_pm.AddFont(L"Tahoma", 11, false, false, false);  // 3
        m_pm.SetDefaultFontColor(0xFF222B36);

        CContainerUI* pRoot = new CContainerUI;
        pRoot->SetBkColor(0xFFF4F6F9);
        m_pm.AttachDialog(pRoot);
        m_pm.AddNotifier(this);

        // Effect mode keeps a text of its own: it is switched on before the text is given.
        AddPlaced<CLabelUI>(pRoot, L"pos=\"0,0,660,56\" bkcolor=\"#FF1883D7\" bkcolor2=\"#FF0E5A96\" font=\"2\" "
                             L"enabledeffect=\"true\" text=\"Quorvel controls\" textpadding=\"20,0,0,0\" "
                             L"textcolor=\"#FFFFFFFF\" textcolor1=\"#FFBFE0FF\" transtext=\"255\" "
                             L"transtext1=\"255\" enabledshadow=\"true\" textshadowcolora=\"#FF000000\" "
                             L"transshadow=\"120\" transshadow1=\"40\" shadowoffset=\"2,-135\" "
                             L"enabledstroke=\"true\" strokecolor=\"#FF0A3D66\" transstroke=\"200\" rhaa=\"4\"");

        const wchar_t* aRows[] = {L"Label", L"Text", L"Button", L"Edit"};
        const int ayRows[] = {72, 132, 232, 300};
        for (int i = 0; i < 4; i++) {
            wchar_t szAttributes[160];
            std::swprintf(szAttributes, 160, L"pos=\"20,%d,100,%d\" font=\"1\" text=\"%ls\" textcolor=\"#FF0E5A96\"",
                          ayRows[i], ayRows[i] + 30, aRows[i]);
            AddPlaced<CLabelUI>(pRoot, szAttributes);
        }

        // Labels: plain, mark-up, disabled, right-aligned with padding and a border.
        AddPlaced<CLabelUI>(pRoot, L"pos=\"110,72,240,102\" font=\"0\" text=\"Plain label\"");
        AddPlaced<CLabelUI>(pRoot, L"pos=\"240,72,400,102\" font=\"0\" showhtml=\"true\" "
                             L"text=\"<b>Mark-up</b> {c #FFCD0000}label{/c}\"");
        AddPlaced<CLabelUI>(pRoot, L"pos=\"400,72,510,102\" font=\"0\" text=\"Disabled\" enabled=\"false\"");
        AddPlaced<CLabelUI>(pRoot, L"pos=\"510,72,640,102\" font=\"0\" text=\"Right, padded\" align=\"right\" "
                             L"textpadding=\"0,7,8,0\" bordersize=\"1\" bordercolor=\"#FFBFC8D2\" "
                             L"bkcolor=\"#FFFFFFFF\"");

        // A text with two links over two lines; the first shows hovered.
        m_pText = AddPlaced<CTextUI>(
            pRoot,
            L"pos=\"110,132,640,212\" font=\"0\" showhtml=\"true\" bkcolor=\"#FFFFFFFF\" bordersize=\"1\" "
            L"bordercolor=\"#FFBFC8D2\" textpadding=\"8,6,8,6\" "
            L"text=\"A text wraps over its lines and makes its links clickable: <a help>the help page</a> "
            L"shows the hand cursor and lights up under the mouse, and <a retry>try again</a> is one more. "
            L"Links beyond the eighth are drawn but not clickable.\"");

        // Buttons, one per state.
        const wchar_t* aButtons[] = {L"Normal", L"Hot", L"Pushed", L"Focused", L"Disabled"};
        for (int i = 0; i < 5; i++) {
            wchar_t szAttributes[512];
            std::swprintf(szAttributes, 512,
                          L"pos=\"%d,232,%d,262\" font=\"0\" text=\"%ls\" hottextcolor=\"#FF1883D7\" "
                          L"pushedtextcolor=\"#FF0E5A96\" disabledtextcolor=\"#FFA7A6AA\" "
                          L"normalimage=\"file='button_normal.png' corner='5,5,5,5'\" "
                          L"hotimage=\"file='button_hot.png' corner='5,5,5,5'\" "
                          L"pushedimage=\"file='button_pushed.png' corner='5,5,5,5'\" "
                          L"focusedimage=\"file='button_focused.png' corner='5,5,5,5'\" "
                          L"disabledimage=\"file='button_disabled.png' corner='5,5,5,5'\"%ls",
                          110 + i * 106, 206 + i * 106, aButtons[i], i == 4 ? L" enabled=\"false\"" : L"");
            m_apButtons[i] = AddPlaced<CButtonUI>(pRoot, szAttributes);
        }
        m_pHotColour = AddPlaced<CButtonUI>(pRoot, L"pos=\"110,270,300,292\" font=\"3\" "
                                                   L"text=\"Hot colour, no hot image\" hotbkcolor=\"#FFD0E4F5\" "
                                                   L"bordersize=\"1\" bordercolor=\"#FFBFC8D2\"");

        // Edits: with text, password, hot, disabled, read-only on a dark native background.
        const wchar_t* aEdits[] = {L"text=\"Plain text\"", L"text=\"123456\" password=\"true\"",
                                   L"text=\"Hot\"", L"text=\"Disabled\" enabled=\"false\"",
                                   L"text=\"Read-only\" readonly=\"true\" nativebkcolor=\"#FF222B36\" "
                                   L"bkcolor=\"#FF222B36\" textcolor=\"#FFE8F2FB\""};
        for (int i = 0; i < 5; i++) {
            wchar_t szAttributes[512];
            std::swprintf(szAttributes, 512,
                          L"pos=\"%d,300,%d,328\" font=\"0\" textpadding=\"6,4,6,4\" "
                          L"normalimage=\"file='edit_normal.png' corner='2,2,2,2'\" "
                          L"hotimage=\"file='edit_hot.png' corner='2,2,2,2'\" "
                          L"focusedimage=\"file='edit_focused.png' corner='2,2,2,2'\" "
                          L"disabledimage=\"file='edit_disabled.png' corner='2,2,2,2'\" %ls",
                          110 + i * 106, 206 + i * 106, aEdits[i]);
            m_apEdits[i] = AddPlaced<CEditUI>(pRoot, szAttributes);
        }
        // The read-only edit shows its own dark background, closed and open.
        m_apEdits[4]->SetNormalImage(L"");
        m_apEdits[4]->SetHotImage(L"");

        m_pStatus = AddPlaced<CLabelUI>(pRoot, L"pos=\"20,380,640,410\" font=\"3\" textcolor=\"#FF6B7785\" "
                                         L"text=\"Hot, pushed and hovered states are set by the demo itself.\"");

        ::SetTimer(m_hWnd, kStatesTimerId, 200, NULL);
        if (m_nDelay > 0) ::SetTimer(m_hWnd, kCloseTimerId, m_nDelay, NULL);
    }

    // Puts each control into the state its caption names, as the mouse and
    // keyboard would.
    void ShowStates()
    {
        auto send = [](CControlUI* pControl, int nType) {
            tagTEventUI event = {};
            event.nEventType = nType;
            event.pSenderControl = pControl;
            const RECT& rc = pControl->GetPos();
            event.ptMousePos = POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
            pControl->Event(event);
        };
        send(m_apButtons[1], SKIN_EVT_MOUSEENTER);
        send(m_apButtons[2], SKIN_EVT_MOUSEENTER);
        send(m_apButtons[2], SKIN_EVT_BUTTONDOWN);
        send(m_pHotColour, SKIN_EVT_MOUSEENTER);
        send(m_apEdits[2], SKIN_EVT_MOUSEENTER);
        if (m_bFocusEdit) m_apEdits[1]->SetFocus();
        else m_apButtons[3]->SetFocus();
        // The mouse over the first link lights it up.
        const RECT& rc = m_pText->GetPos();
        ::SendMessageW(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(rc.left + 380, rc.top + 14));
    }

    const UINT m_nDelay;
    const bool m_bFocusEdit;
    CPaintManagerUI m_pm;
    CButtonUI* m_apButtons[5] = {};
    CEditUI* m_apEdits[5] = {};
    CButtonUI* m_pHotColour = NULL;
    CTextUI* m_pText = NULL;
    CLabelUI* m_pStatus = NULL;
};

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/, int /*nCmdShow*/)
{
    CPaintManagerUI::SetInstance(hInstance);
    // The archive stays alive for the whole process, as a program's embedded skin does.
    static const std::vector<uint8_t> s_skin = BuildSkinArchive();
    CPaintManagerUI::SetResourceZip(s_skin.data(), static_cast<unsigned int>(s_skin.size()));

    UINT nDelay = 0;
    bool bFocusEdit = false;
    int nArgs = 0;
    LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs);
    if (ppArgs != NULL) {
        if (nArgs >= 2) nDelay = static_cast<UINT>(std::wcstoul(ppArgs[1], NULL, 10));
        if (nArgs >= 3) bFocusEdit = std::wcscmp(ppArgs[2], L"edit") == 0;
        ::LocalFree(ppArgs);
    }

    CControlsDemoWnd wnd(nDelay, bFocusEdit);
    if (wnd.Create(NULL, L"SkinLib controls demo", WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL) == NULL) {
        return 1;
    }
    wnd.ResizeClient(kClientWidth, kClientHeight);
    wnd.CenterWindow();
    wnd.ShowModal();
    return 0;
}
