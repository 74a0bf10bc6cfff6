#pragma once
// What the tests of hosted OLE controls share: COM on the test's thread, the
// simulated control beside the test program (tests/doubles/activex), its log
// and its counts, and a window whose grid holds the controls under test.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "../core/ControlWindow.h"
#include "ActiveXDouble.h"
#include "extended/ActiveXUI.h"

namespace SkinLibTest {

inline ActiveXDouble::CModule& Double()
{
    static ActiveXDouble::CModule s_module;
    return s_module;
}

// The simulated control's attributes, made from its module.
const std::wstring kByModule =
    std::wstring(L"modulename=\"") + ActiveXDouble::kModule + L"\" clsid=\"" + ActiveXDouble::kClsidText + L"\"";

struct CComScope
{
    CComScope() { ::OleInitialize(NULL); }
    ~CComScope() { ::OleUninitialize(); }
};

// COM outlives the window's controls.
struct HostedControlTest : CComScope, ControlWindowTest
{
    void SetUp() override
    {
        ASSERT_TRUE(Double().IsLoaded());
        Double().SetSwitches(0);
        Double().ClearLog();
        ControlWindowTest::SetUp();
    }
    // The control with its skin attributes, in the grid's second cell, 200,0,400,100.
    template <class T = CActiveXUI> T* Host(const std::wstring& sAttributes, T* pControl = new T)
    {
        pControl->ApplyAttributeList(sAttributes.c_str());
        Attach({new CProbeUI, pControl}, 200, 100);
        return pControl;
    }
    static std::wstring Log() { return Double().Log(); }
    static bool Logged(const wchar_t* pstr) { return Log().find(pstr) != std::wstring::npos; }
    // Each line appears, after the one before it.
    static bool InOrder(std::initializer_list<const wchar_t*> aLines)
    {
        const std::wstring sLog = Log();
        size_t at = 0;
        for (const wchar_t* pstr : aLines) {
            at = sLog.find(pstr, at);
            if (at == std::wstring::npos) return false;
        }
        return true;
    }
    // Gone from the tree and deleted, as a container's removal ends.
    void Destroy(CControlUI* pControl)
    {
        pRoot->Detach(pControl);
        delete pControl;
    }
    static void ExpectBalanced()
    {
        const ActiveXDouble::Counts counts = Double().GetCounts();
        EXPECT_EQ(counts.nLiveObjects, 0);
        EXPECT_EQ(counts.nReferences, 0);
        EXPECT_EQ(counts.nHostInterfaces, 0);
        EXPECT_EQ(counts.nRunningLocks, 0);
    }
};

} // namespace SkinLibTest
