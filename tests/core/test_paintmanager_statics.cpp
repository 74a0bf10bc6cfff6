#include "core/PaintManagerUI.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TempFiles.h"
#include "SkinSettings.h"
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

// As a message filter, records the messages it sees and consumes uConsume;
// as a translator, counts its calls. Both return lResult.
struct CHookProbe : IMessageFilterUI, ITranslateAccelerator
{
    explicit CHookProbe(UINT uConsumed = 0, LRESULT lReturned = 0) : uConsume(uConsumed), lResult(lReturned) {}
    LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override
    {
        aMessages.push_back(uMsg);
        bHandledOnEntry |= bHandled;
        bHandled = uMsg == uConsume;
        return lResult;
    }
    LRESULT TranslateAcceleratorW(MSG*) override { ++nCalls; return lResult; }
    bool Saw(UINT uMsg) const { return std::find(aMessages.begin(), aMessages.end(), uMsg) != aMessages.end(); }

    UINT uConsume;
    LRESULT lResult;
    std::vector<UINT> aMessages;
    bool bHandledOnEntry = false;
    int nCalls = 0;
};

bool Translate(HWND hWnd, UINT uMsg, WPARAM wParam = 0)
{
    MSG msg = {hWnd, uMsg, wParam, 0};
    return CPaintManagerUI::TranslateMessage(&msg);
}

void SetShiftDown(bool bDown)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = bDown ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

struct PaintManagerStatics : SkinSettingsTest {};

struct PaintManagerKeys : ::testing::Test, CManagedTree
{
    bool Key(UINT uMsg, WPARAM wParam)
    {
        LRESULT lRes = 0;
        return pm.PreMessageHandler(uMsg, wParam, 0, lRes);
    }
};

} // namespace

TEST_F(PaintManagerStatics, ResourcePathEndsInExactlyOneSeparator)
{
    const wchar_t* aCases[][2] = {{L"C:\\skins", L"C:\\skins\\"}, {L"C:/skins/", L"C:/skins/"},
                                  {L"C:\\skins\\", L"C:\\skins\\"}, {L"", L""}, {NULL, L""}};
    for (auto& c : aCases) {
        CPaintManagerUI::SetResourcePath(c[0]);
        EXPECT_STREQ(c[1], CPaintManagerUI::GetResourcePath());
    }
}

TEST_F(PaintManagerStatics, InstancePathLongerThanMaxPathIsNotCut)
{
    CPaintManagerUI::SetInstance(NULL);
    EXPECT_STREQ(L"", CPaintManagerUI::GetInstancePath());

    // A copy of this program, deep enough that its full name exceeds MAX_PATH.
    std::wstring sDeep = SkinLibTest::MakeTempFolder(L"skinlib_deep");
    std::vector<std::wstring> aFolders;
    while (sDeep.size() < MAX_PATH + 40) {
        sDeep += L"folder_with_a_rather_long_name\\";
        aFolders.push_back(L"\\\\?\\" + sDeep);
        ::CreateDirectoryW(aFolders.back().c_str(), NULL);
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
    for (auto it = aFolders.rbegin(); it != aFolders.rend(); ++it) ::RemoveDirectoryW(it->c_str());
    if (hCopy == NULL) GTEST_SKIP() << "this system cannot load a module from a path beyond MAX_PATH";
}

TEST_F(PaintManagerStatics, CurrentPathRoundTrip)
{
    CSkinString sOriginal = CPaintManagerUI::GetCurrentPath();
    ASSERT_FALSE(sOriginal.IsEmpty());
    std::wstring sTemp = SkinLibTest::MakeTempFolder(L"skinlib_cwd");
    EXPECT_TRUE(CPaintManagerUI::SetCurrentPath(sTemp.c_str()));
    CSkinString sNow = CPaintManagerUI::GetCurrentPath();
    EXPECT_EQ(0, sNow.CompareNoCase(sTemp.substr(0, sTemp.size() - 1).c_str())) << sNow.GetData();
    EXPECT_TRUE(CPaintManagerUI::SetCurrentPath(sOriginal));
    ::RemoveDirectoryW(sTemp.c_str());
}

TEST_F(PaintManagerStatics, ResourceZipSwitchingRules)
{
    std::wstring sFolder = SkinLibTest::MakeTempFolder(L"skinlib_zip");
    std::wstring sZip = sFolder + L"skins.zip";
    SkinLibTest::ZipWriter writer;
    writer.Add("main.xml", "<Window />");
    const std::vector<uint8_t> aArchive = writer.Build();
    ASSERT_TRUE(SkinLibTest::WriteBytes(sZip, std::string(aArchive.begin(), aArchive.end())));

    // Not cached: nothing is opened.
    CPaintManagerUI::SetResourcePath(sFolder.c_str());
    CPaintManagerUI::SetResourceZip(L"skins.zip", false);
    EXPECT_EQ(NULL, CPaintManagerUI::GetResourceZipHandle());
    CPaintManagerUI::SetResourceZip(L"skins.zip", true);
    HSKINZIP hCached = CPaintManagerUI::GetResourceZipHandle();
    ASSERT_NE(nullptr, hCached);
    // The same name and flag again is not reopened (the folder no longer has it).
    CPaintManagerUI::SetResourcePath(L"Z:\\nowhere\\");
    CPaintManagerUI::SetResourceZip(L"skins.zip", true);
    EXPECT_EQ(hCached, CPaintManagerUI::GetResourceZipHandle());
    EXPECT_FALSE(::DeleteFileW(sZip.c_str())) << "the open archive holds the file";

    CPaintManagerUI::SetResourceZip(aArchive.data(), static_cast<unsigned int>(aArchive.size()));
    EXPECT_STREQ(L"membuffer", CPaintManagerUI::GetResourceZip());
    EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
    HSKINZIP hMemory = CPaintManagerUI::GetResourceZipHandle();
    EXPECT_NE(nullptr, hMemory);
    EXPECT_TRUE(::DeleteFileW(sZip.c_str())) << "switching closed the cached file archive";
    // A second block does not replace the first.
    static const char kSecondBlock[] = "not an archive at all";
    CPaintManagerUI::SetResourceZip(kSecondBlock, sizeof(kSecondBlock));
    EXPECT_EQ(hMemory, CPaintManagerUI::GetResourceZipHandle());

    CPaintManagerUI::Term();
    EXPECT_EQ(NULL, CPaintManagerUI::GetResourceZipHandle());
    CPaintManagerUI::SetResourceZip(static_cast<const wchar_t*>(NULL), false);
    EXPECT_STREQ(L"", CPaintManagerUI::GetResourceZip());
    EXPECT_FALSE(CPaintManagerUI::IsCachedResourceZip());
    ::RemoveDirectoryW(sFolder.c_str());
}

TEST_F(PaintManagerStatics, LoadPluginRegistersEachFunctionOnce)
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

TEST_F(PaintManagerStatics, SetHSLClampsAndRepaintsEveryWindow)
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
}

TEST(PaintManagerRouting, ChildWindowGoesToTheFirstManagerInInitOrderOnItsAncestorChain)
{
    // outer > inner > leaf; the leaf's own manager is never initialised.
    for (bool bOuterFirst : {false, true}) {
        CPaintManagerUI pmOuter, pmInner, pmLeaf;
        CHostWindow outer(pmOuter, 200, 100, NULL, bOuterFirst);
        CHostWindow inner(pmInner, 100, 50, outer);
        CHostWindow leaf(pmLeaf, 50, 20, inner, false);
        if (!bOuterFirst) pmOuter.Init(outer);
        CHookProbe outerFilter(WM_USER), innerFilter(WM_USER);
        pmOuter.AddPreMessageFilter(&outerFilter);
        pmInner.AddPreMessageFilter(&innerFilter);

        EXPECT_TRUE(Translate(leaf, WM_USER));
        EXPECT_TRUE(Translate(inner, WM_USER));
        EXPECT_TRUE(Translate(outer, WM_USER));
        // The earlier manager wins over the nearer one.
        EXPECT_EQ(bOuterFirst ? 0u : 2u, innerFilter.aMessages.size()) << bOuterFirst;
        EXPECT_EQ(bOuterFirst ? 3u : 1u, outerFilter.aMessages.size()) << bOuterFirst;
    }
    // A window no manager knows, and a thread message, pass through.
    CPaintManagerUI pmStray;
    CHostWindow stray(pmStray, 50, 20, NULL, false);
    EXPECT_FALSE(Translate(stray, WM_USER));
    EXPECT_FALSE(Translate(NULL, WM_USER));
}

TEST(PaintManagerRouting, TranslatorsThenPreFilters)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 100, 50);
    CHookProbe pass(0, 1), eat(0, 0), first(0), second(WM_USER, 42), third(WM_USER);
    for (CHookProbe* p : {&first, &second, &third}) pm.AddPreMessageFilter(p);
    pm.AddTranslateAccelerator(&pass);
    pm.AddTranslateAccelerator(&pass);
    EXPECT_TRUE(Translate(wnd, WM_USER));
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
    EXPECT_TRUE(Translate(wnd, WM_USER));
    EXPECT_EQ(1, eat.nCalls);
    EXPECT_EQ(2u, first.aMessages.size());

    EXPECT_TRUE(pm.RemoveTranslateAccelerator(&eat));
    EXPECT_TRUE(pm.RemovePreMessageFilter(&second));
    EXPECT_FALSE(Translate(wnd, WM_USER + 1));
}

TEST(PaintManagerKeysWithoutRoot, TabAndShortcutsPassThrough)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 100, 50);
    LRESULT lRes = 0;
    EXPECT_FALSE(pm.PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, lRes));
    EXPECT_FALSE(pm.PreMessageHandler(WM_SYSCHAR, L'a', 0, lRes));
    EXPECT_FALSE(pm.PreMessageHandler(WM_SYSKEYDOWN, L'A', 0, lRes));
    EXPECT_FALSE(Translate(wnd, WM_KEYDOWN, VK_TAB));
}

TEST_F(PaintManagerKeys, TabMovesThroughTabStopsAndWraps)
{
    // Before the first layout the move waits for the paint.
    SetShiftDown(false);
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(nullptr, pm.GetFocus());
    RepaintNow(wnd);
    EXPECT_EQ(a, pm.GetFocus());

    // c is no tab stop.
    for (CProbeUI* pNext : {b, a}) {
        EXPECT_TRUE(Key(WM_KEYDOWN, VK_TAB));
        EXPECT_EQ(pNext, pm.GetFocus());
    }
    SetShiftDown(true);
    for (CProbeUI* pNext : {b, a}) {
        EXPECT_TRUE(Key(WM_KEYDOWN, VK_TAB));
        EXPECT_EQ(pNext, pm.GetFocus());
    }
    SetShiftDown(false);

    // A disabled tab stop is passed over.
    b->SetEnabled(false);
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(a, pm.GetFocus());
}

TEST_F(PaintManagerKeys, AltLetterFocusesAndActivatesTheShortcutControl)
{
    // The walk goes from the last child to the first, so a label names the
    // control that comes before it in the list: here c.
    CProbeLabelUI* label = new CProbeLabelUI(L"label");
    CProbeUI* k = new CProbeUI(L"k");
    CProbeUI* hidden = new CProbeUI(L"hidden");
    label->SetShortcut(L'N');
    k->SetShortcut(L'K');
    hidden->SetShortcut(L'H');
    hidden->SetVisible(false);
    for (CControlUI* p : std::vector<CControlUI*>{label, k, hidden}) pRoot->Add(p);
    RepaintNow(wnd);

    EXPECT_TRUE(Key(WM_SYSCHAR, L'k'));
    EXPECT_EQ(k, pm.GetFocus());
    EXPECT_EQ(1, k->nActivate);
    EXPECT_TRUE(Key(WM_SYSCHAR, L'n'));
    EXPECT_EQ(c, pm.GetFocus());
    EXPECT_EQ(1, c->nActivate);
    EXPECT_EQ(0, label->nActivate);
    EXPECT_FALSE(Key(WM_SYSCHAR, L'h'));
    EXPECT_FALSE(Key(WM_SYSCHAR, L'z'));
    k->SetEnabled(false);
    EXPECT_FALSE(Key(WM_SYSCHAR, L'K'));

    // Alt+key reaches the focused control as a system-key event.
    c->aEvents.clear();
    EXPECT_FALSE(Key(WM_SYSKEYDOWN, L'Q'));
    EXPECT_EQ(std::vector<int>{SKIN_EVT_SYSKEY}, c->aEvents);
}

TEST(PaintManagerLoop, MessageLoopRoutesUntilQuit)
{
    CPaintManagerUI pm;
    CHostWindow wnd(pm, 100, 50);
    CHookProbe preFilter(WM_USER + 2), windowFilter;
    pm.AddPreMessageFilter(&preFilter);
    pm.AddMessageFilter(&windowFilter);
    ::PostMessageW(wnd, WM_USER + 1, 0, 0);
    ::PostMessageW(wnd, WM_USER + 2, 0, 0);
    ::PostQuitMessage(0);
    CPaintManagerUI::MessageLoop();
    EXPECT_TRUE(windowFilter.Saw(WM_USER + 1));
    // Consumed before dispatch.
    EXPECT_TRUE(preFilter.Saw(WM_USER + 2));
    EXPECT_FALSE(windowFilter.Saw(WM_USER + 2));
}
