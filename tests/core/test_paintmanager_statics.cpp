#include "core/PaintManagerUI.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestControls.h"
#include "ZipWriter.h"
#include "controls/ControlUI.h"

using namespace SkinLib;
using namespace SkinLibTest;

// LoadPlugin is pointed at this very executable, which exports the function.
extern "C" __declspec(dllexport) CControlUI* CreateControl(const wchar_t*)
{
    return NULL;
}

namespace {

std::wstring ModuleFileName(HMODULE hModule)
{
    std::wstring sName(32768, L'\0');
    sName.resize(::GetModuleFileNameW(hModule, &sName[0], static_cast<DWORD>(sName.size())));
    return sName;
}

std::wstring TempFolder(const wchar_t* pstrName)
{
    wchar_t szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    std::wstring sFolder = std::wstring(szTemp) + pstrName + L"_" + std::to_wstring(::GetCurrentProcessId()) + L"\\";
    ::CreateDirectoryW(sFolder.c_str(), NULL);
    return sFolder;
}

std::vector<uint8_t> SkinArchive()
{
    SkinLibTest::ZipWriter writer;
    writer.Add("main.xml", "<Window />");
    return writer.Build();
}

void WriteBytes(const std::wstring& sPath, const void* pData, DWORD cbData)
{
    HANDLE hFile = ::CreateFileW(sPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    DWORD cbWritten = 0;
    ::WriteFile(hFile, pData, cbData, &cbWritten, NULL);
    ::CloseHandle(hFile);
}

// Records the messages it sees and consumes the ones it is told to.
class CFilterProbe : public IMessageFilterUI
{
public:
    explicit CFilterProbe(UINT uConsume = 0, LRESULT lResult = 0) : m_uConsume(uConsume), m_lResult(lResult) {}

    LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override
    {
        aMessages.push_back(uMsg);
        if (bHandled) bHandledOnEntry = true;
        bHandled = uMsg == m_uConsume;
        return m_lResult;
    }

    std::vector<UINT> aMessages;
    bool bHandledOnEntry = false;

private:
    UINT m_uConsume;
    LRESULT m_lResult;
};

class CTranslatorProbe : public ITranslateAccelerator
{
public:
    explicit CTranslatorProbe(LRESULT lResult) : m_lResult(lResult) {}
    LRESULT TranslateAcceleratorW(MSG*) override
    {
        ++nCalls;
        return m_lResult;
    }
    int nCalls = 0;

private:
    LRESULT m_lResult;
};

MSG MakeMsg(HWND hWnd, UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = uMsg;
    msg.wParam = wParam;
    msg.lParam = lParam;
    return msg;
}

void SetShiftDown(bool bDown)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = bDown ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

} // namespace

TEST(PaintManagerStatics, ResourcePathEndsInExactlyOneSeparator)
{
    CPaintManagerUI::SetResourcePath(L"C:\\skins");
    EXPECT_STREQ(L"C:\\skins\\", CPaintManagerUI::GetResourcePath());
    CPaintManagerUI::SetResourcePath(L"C:/skins/");
    EXPECT_STREQ(L"C:/skins/", CPaintManagerUI::GetResourcePath());
    CPaintManagerUI::SetResourcePath(L"C:\\skins\\");
    EXPECT_STREQ(L"C:\\skins\\", CPaintManagerUI::GetResourcePath());
    CPaintManagerUI::SetResourcePath(L"");
    EXPECT_STREQ(L"", CPaintManagerUI::GetResourcePath());
    CPaintManagerUI::SetResourcePath(NULL);
    EXPECT_STREQ(L"", CPaintManagerUI::GetResourcePath());
}

TEST(PaintManagerStatics, InstancePathLongerThanMaxPathIsNotCut)
{
    CPaintManagerUI::SetInstance(NULL);
    EXPECT_STREQ(L"", CPaintManagerUI::GetInstancePath());

    // A copy of this program, deep enough that its full name exceeds MAX_PATH.
    std::wstring sDeep = TempFolder(L"skinlib_deep");
    std::vector<std::wstring> aFolders;
    while (sDeep.size() < MAX_PATH + 40) {
        sDeep += L"folder_with_a_rather_long_name\\";
        aFolders.push_back(sDeep);
        ::CreateDirectoryW((L"\\\\?\\" + sDeep).c_str(), NULL);
    }
    std::wstring sCopy = L"\\\\?\\" + sDeep + L"copy.exe";
    ASSERT_TRUE(::CopyFileW((L"\\\\?\\" + ModuleFileName(NULL)).c_str(), sCopy.c_str(), FALSE));
    HMODULE hCopy = ::LoadLibraryExW(sCopy.c_str(), NULL, DONT_RESOLVE_DLL_REFERENCES);
    if (hCopy != NULL) {
        std::wstring sModule = ModuleFileName(hCopy);
        CPaintManagerUI::SetInstance(hCopy);
        CSkinString sPath = CPaintManagerUI::GetInstancePath();
        CPaintManagerUI::SetInstance(::GetModuleHandleW(NULL));
        ::FreeLibrary(hCopy);
        EXPECT_GT(sModule.size(), static_cast<size_t>(MAX_PATH));
        EXPECT_EQ(sModule.substr(0, sModule.rfind(L'\\') + 1), sPath.GetData());
    }
    ::DeleteFileW(sCopy.c_str());
    for (auto it = aFolders.rbegin(); it != aFolders.rend(); ++it) ::RemoveDirectoryW((L"\\\\?\\" + *it).c_str());
    if (hCopy == NULL) GTEST_SKIP() << "this system cannot load a module from a path beyond MAX_PATH";
}

TEST(PaintManagerStatics, CurrentPathRoundTrip)
{
    CSkinString sOriginal = CPaintManagerUI::GetCurrentPath();
    ASSERT_FALSE(sOriginal.IsEmpty());
    std::wstring sTemp = TempFolder(L"skinlib_cwd");
    EXPECT_TRUE(CPaintManagerUI::SetCurrentPath(sTemp.c_str()));
    CSkinString sNow = CPaintManagerUI::GetCurrentPath();
    EXPECT_EQ(0, sNow.CompareNoCase(sTemp.substr(0, sTemp.size() - 1).c_str())) << sNow.GetData();
    EXPECT_FALSE(CPaintManagerUI::SetCurrentPath(L"Z:\\no\\such\\folder\\anywhere"));
    EXPECT_TRUE(CPaintManagerUI::SetCurrentPath(sOriginal));
    ::RemoveDirectoryW(sTemp.c_str());
}

TEST(PaintManagerStatics, ResourceZipSwitchingRules)
{
    std::wstring sFolder = TempFolder(L"skinlib_zip");
    std::wstring sZip = sFolder + L"skins.zip";
    const std::vector<uint8_t> aArchive = SkinArchive();
    WriteBytes(sZip, aArchive.data(), static_cast<DWORD>(aArchive.size()));

    CPaintManagerUI::SetResourcePath(sFolder.c_str());
    CPaintManagerUI::SetResourceZip(L"skins.zip", false);
    EXPECT_STREQ(L"skins.zip", CPaintManagerUI::GetResourceZip());
    EXPECT_FALSE(CPaintManagerUI::IsCachedResourceZip());
    EXPECT_EQ(NULL, CPaintManagerUI::GetResourceZipHandle());

    CPaintManagerUI::SetResourceZip(L"skins.zip", true);
    HSKINZIP hCached = CPaintManagerUI::GetResourceZipHandle();
    ASSERT_NE(nullptr, hCached);
    // The same name and flag again is not reopened (the folder no longer has it).
    CPaintManagerUI::SetResourcePath(L"Z:\\nowhere\\");
    CPaintManagerUI::SetResourceZip(L"skins.zip", true);
    EXPECT_EQ(hCached, CPaintManagerUI::GetResourceZipHandle());
    // The open archive holds the file.
    EXPECT_FALSE(::DeleteFileW(sZip.c_str()));

    static const char kSecondBlock[] = "not an archive at all";
    CPaintManagerUI::SetResourceZip(aArchive.data(), static_cast<unsigned int>(aArchive.size()));
    EXPECT_STREQ(L"membuffer", CPaintManagerUI::GetResourceZip());
    EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
    HSKINZIP hMemory = CPaintManagerUI::GetResourceZipHandle();
    EXPECT_NE(nullptr, hMemory);
    // Switching closed the cached file archive.
    EXPECT_TRUE(::DeleteFileW(sZip.c_str()));

    CPaintManagerUI::SetResourceZip(kSecondBlock, sizeof(kSecondBlock));
    EXPECT_EQ(hMemory, CPaintManagerUI::GetResourceZipHandle());

    CPaintManagerUI::Term();
    EXPECT_EQ(NULL, CPaintManagerUI::GetResourceZipHandle());
    CPaintManagerUI::SetResourceZip(static_cast<const wchar_t*>(NULL), false);
    EXPECT_STREQ(L"", CPaintManagerUI::GetResourceZip());
    EXPECT_FALSE(CPaintManagerUI::IsCachedResourceZip());
    CPaintManagerUI::SetResourcePath(L"");
    ::RemoveDirectoryW(sFolder.c_str());
}

TEST(PaintManagerStatics, LoadPluginRegistersEachFunctionOnce)
{
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(NULL));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"no_such_plugin_library.dll"));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"kernel32.dll"));

    std::wstring sSelf = ModuleFileName(NULL);
    int nBefore = CPaintManagerUI::GetPlugins()->GetSize();
    EXPECT_TRUE(CPaintManagerUI::LoadPlugin(sSelf.c_str()));
    EXPECT_TRUE(CPaintManagerUI::LoadPlugin(sSelf.c_str()));
    ASSERT_EQ(nBefore + 1, CPaintManagerUI::GetPlugins()->GetSize());
    EXPECT_EQ(reinterpret_cast<void*>(&CreateControl), CPaintManagerUI::GetPlugins()->GetAt(nBefore));
}

TEST(PaintManagerStatics, SetHSLClampsAndRepaintsEveryWindow)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 100, 60);
    pm.AttachDialog(new CBoxUI);
    RepaintNow(wnd);
    ASSERT_FALSE(::GetUpdateRect(wnd, NULL, FALSE));

    CPaintManagerUI::SetHSL(false, 400, -5, 100);
    short h = 0, s = 0, l = 0;
    CPaintManagerUI::GetHSL(&h, &s, &l);
    EXPECT_EQ(360, h);
    EXPECT_EQ(0, s);
    EXPECT_EQ(100, l);
    EXPECT_TRUE(::GetUpdateRect(wnd, NULL, FALSE));

    CPaintManagerUI::SetHSL(true, 180, 100, 100);
    CPaintManagerUI::GetHSL(&h, &s, &l);
    EXPECT_EQ(180, h);
    EXPECT_EQ(100, s);
}

TEST(PaintManagerRouting, ChildWindowGoesToTheFirstManagerOnItsAncestorChain)
{
    CPaintManagerUI pmOuter, pmInner, pmLeaf;
    CHostWindow outer(pmOuter, 200, 100, NULL, false);
    CHostWindow inner(pmInner, 100, 50, outer);
    CHostWindow leaf(pmLeaf, 50, 20, inner, false);
    pmOuter.Init(outer);  // listed after the inner manager
    CFilterProbe outerFilter(WM_USER), innerFilter(WM_USER);
    pmOuter.AddPreMessageFilter(&outerFilter);
    pmInner.AddPreMessageFilter(&innerFilter);

    MSG msg = MakeMsg(leaf, WM_USER);
    EXPECT_TRUE(CPaintManagerUI::TranslateMessage(&msg));
    msg = MakeMsg(inner, WM_USER);
    EXPECT_TRUE(CPaintManagerUI::TranslateMessage(&msg));
    EXPECT_EQ(2u, innerFilter.aMessages.size());
    EXPECT_TRUE(outerFilter.aMessages.empty());

    msg = MakeMsg(outer, WM_USER);
    EXPECT_TRUE(CPaintManagerUI::TranslateMessage(&msg));
    EXPECT_EQ(1u, outerFilter.aMessages.size());
}

TEST(PaintManagerRouting, EarlierManagerWinsOverTheNearerOne)
{
    CPaintManagerUI pmOuter, pmInner, pmLeaf;
    CHostWindow outer(pmOuter, 200, 100);
    CHostWindow inner(pmInner, 100, 50, outer);
    CHostWindow leaf(pmLeaf, 50, 20, inner, false);
    CFilterProbe outerFilter(WM_USER), innerFilter(WM_USER);
    pmOuter.AddPreMessageFilter(&outerFilter);
    pmInner.AddPreMessageFilter(&innerFilter);

    MSG msg = MakeMsg(leaf, WM_USER);
    EXPECT_TRUE(CPaintManagerUI::TranslateMessage(&msg));
    EXPECT_EQ(1u, outerFilter.aMessages.size());
    EXPECT_TRUE(innerFilter.aMessages.empty());

    // A window no manager knows, and a thread message, pass through.
    CPaintManagerUI pmStray;
    CHostWindow stray(pmStray, 50, 20, NULL, false);
    msg = MakeMsg(stray, WM_USER);
    EXPECT_FALSE(CPaintManagerUI::TranslateMessage(&msg));
    msg = MakeMsg(NULL, WM_USER);
    EXPECT_FALSE(CPaintManagerUI::TranslateMessage(&msg));
}

TEST(PaintManagerRouting, TranslatorsThenPreFilters)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 100, 50);
    CTranslatorProbe pass(1), eat(0);
    CFilterProbe first(0), second(WM_USER, 42), third(WM_USER);
    pm.AddPreMessageFilter(&first);
    pm.AddPreMessageFilter(&second);
    pm.AddPreMessageFilter(&third);

    pm.AddTranslateAccelerator(&pass);
    pm.AddTranslateAccelerator(&pass);
    MSG msg = MakeMsg(wnd, WM_USER);
    EXPECT_TRUE(CPaintManagerUI::TranslateMessage(&msg));
    EXPECT_EQ(2, pass.nCalls);
    EXPECT_EQ(1u, first.aMessages.size());
    EXPECT_EQ(1u, second.aMessages.size());
    EXPECT_TRUE(third.aMessages.empty());
    EXPECT_FALSE(second.bHandledOnEntry);

    LRESULT lRes = 0;
    EXPECT_TRUE(pm.PreMessageHandler(WM_USER, 0, 0, lRes));
    EXPECT_EQ(42, lRes);

    // A translator that consumes stops everything after it.
    pm.AddTranslateAccelerator(&eat);
    EXPECT_TRUE(CPaintManagerUI::TranslateMessage(&msg));
    EXPECT_EQ(1, eat.nCalls);
    EXPECT_EQ(2u, first.aMessages.size());

    EXPECT_TRUE(pm.RemoveTranslateAccelerator(&eat));
    EXPECT_FALSE(pm.RemoveTranslateAccelerator(&eat));
    EXPECT_TRUE(pm.RemovePreMessageFilter(&second));
    EXPECT_FALSE(pm.RemovePreMessageFilter(&second));
    msg = MakeMsg(wnd, WM_USER + 1);
    EXPECT_FALSE(CPaintManagerUI::TranslateMessage(&msg));
}

TEST(PaintManagerKeys, TabAndShortcutsWithoutRootPassThrough)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 100, 50);
    LRESULT lRes = 0;
    EXPECT_FALSE(pm.PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, lRes));
    EXPECT_FALSE(pm.PreMessageHandler(WM_SYSCHAR, L'a', 0, lRes));
    EXPECT_FALSE(pm.PreMessageHandler(WM_SYSKEYDOWN, L'A', 0, lRes));
    MSG msg = MakeMsg(wnd, WM_KEYDOWN, VK_TAB);
    EXPECT_FALSE(CPaintManagerUI::TranslateMessage(&msg));
}

TEST(PaintManagerKeys, TabMovesThroughTabStopsAndWraps)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 50);
    CBoxUI* pRoot = new CBoxUI;
    CProbeUI* a = new CProbeUI(L"a", CTLFLAG_TABSTOP);
    CProbeUI* skip = new CProbeUI(L"skip");
    CProbeUI* c = new CProbeUI(L"c", CTLFLAG_TABSTOP);
    pRoot->Add(a);
    pRoot->Add(skip);
    pRoot->Add(c);
    pm.AttachDialog(pRoot);

    // Before the first layout the move waits for the paint.
    LRESULT lRes = 0;
    SetShiftDown(false);
    EXPECT_TRUE(pm.PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, lRes));
    EXPECT_EQ(nullptr, pm.GetFocus());
    RepaintNow(wnd);
    EXPECT_EQ(a, pm.GetFocus());

    EXPECT_TRUE(pm.PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, lRes));
    EXPECT_EQ(c, pm.GetFocus());
    EXPECT_TRUE(pm.PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, lRes));
    EXPECT_EQ(a, pm.GetFocus());

    SetShiftDown(true);
    EXPECT_TRUE(pm.PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, lRes));
    EXPECT_EQ(c, pm.GetFocus());
    EXPECT_TRUE(pm.PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, lRes));
    EXPECT_EQ(a, pm.GetFocus());
    SetShiftDown(false);

    // A disabled tab stop is passed over.
    c->SetEnabled(false);
    EXPECT_TRUE(pm.PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, lRes));
    EXPECT_EQ(a, pm.GetFocus());
}

TEST(PaintManagerKeys, AltLetterFocusesAndActivatesTheShortcutControl)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 200, 50);
    CBoxUI* pRoot = new CBoxUI;
    // The walk goes from the last child to the first, so a label names the
    // control that comes before it in the list.
    CProbeUI* target = new CProbeUI(L"target");
    CProbeLabelUI* label = new CProbeLabelUI(L"label");
    CProbeUI* k = new CProbeUI(L"k");
    CProbeUI* hidden = new CProbeUI(L"hidden");
    label->SetShortcut(L'N');
    k->SetShortcut(L'K');
    hidden->SetShortcut(L'H');
    hidden->SetVisible(false);
    pRoot->Add(target);
    pRoot->Add(label);
    pRoot->Add(k);
    pRoot->Add(hidden);
    pm.AttachDialog(pRoot);
    RepaintNow(wnd);

    LRESULT lRes = 0;
    EXPECT_TRUE(pm.PreMessageHandler(WM_SYSCHAR, L'k', 0, lRes));
    EXPECT_EQ(k, pm.GetFocus());
    EXPECT_EQ(1, k->nActivate);

    EXPECT_TRUE(pm.PreMessageHandler(WM_SYSCHAR, L'n', 0, lRes));
    EXPECT_EQ(target, pm.GetFocus());
    EXPECT_EQ(1, target->nActivate);
    EXPECT_EQ(0, label->nActivate);

    EXPECT_FALSE(pm.PreMessageHandler(WM_SYSCHAR, L'h', 0, lRes));
    EXPECT_FALSE(pm.PreMessageHandler(WM_SYSCHAR, L'z', 0, lRes));
    k->SetEnabled(false);
    EXPECT_FALSE(pm.PreMessageHandler(WM_SYSCHAR, L'K', 0, lRes));

    // Alt+key reaches the focused control as a system-key event.
    target->aEvents.clear();
    EXPECT_FALSE(pm.PreMessageHandler(WM_SYSKEYDOWN, L'Q', 0, lRes));
    ASSERT_EQ(1u, target->aEvents.size());
    EXPECT_EQ(SKIN_EVT_SYSKEY, target->aEvents[0]);
}

TEST(PaintManagerLoop, MessageLoopRoutesUntilQuit)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 100, 50);
    CFilterProbe preFilter(WM_USER + 2);
    CFilterProbe windowFilter;
    pm.AddPreMessageFilter(&preFilter);
    pm.AddMessageFilter(&windowFilter);

    ::PostMessageW(wnd, WM_USER + 1, 0, 0);
    ::PostMessageW(wnd, WM_USER + 2, 0, 0);
    ::PostQuitMessage(0);
    CPaintManagerUI::MessageLoop();

    auto seen = [](const std::vector<UINT>& a, UINT u) { return std::find(a.begin(), a.end(), u) != a.end(); };
    EXPECT_TRUE(seen(windowFilter.aMessages, WM_USER + 1));
    // Consumed before dispatch.
    EXPECT_TRUE(seen(preFilter.aMessages, WM_USER + 2));
    EXPECT_FALSE(seen(windowFilter.aMessages, WM_USER + 2));
}
