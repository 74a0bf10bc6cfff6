#pragma once
// The process-wide skin settings a test changes, put back when it ends, pass or fail.
#include <gtest/gtest.h>

#include "core/PaintManagerUI.h"

namespace SkinLibTest {

class CSkinSettingsGuard
{
public:
    CSkinSettingsGuard()
        : m_hInstance(SkinLib::CPaintManagerUI::GetInstance()),
          m_hResourceDll(SkinLib::CPaintManagerUI::GetResourceDll() == m_hInstance
                             ? NULL
                             : SkinLib::CPaintManagerUI::GetResourceDll()),
          m_sPath(SkinLib::CPaintManagerUI::GetResourcePath()), m_sZip(SkinLib::CPaintManagerUI::GetResourceZip()),
          m_bCached(SkinLib::CPaintManagerUI::IsCachedResourceZip()),
          m_sDefaultFontName(SkinLib::CPaintManagerUI::m_pStrDefaultFontName)
    {
        SkinLib::CPaintManagerUI::GetHSL(&m_H, &m_S, &m_L);
    }
    CSkinSettingsGuard(const CSkinSettingsGuard&) = delete;
    CSkinSettingsGuard& operator=(const CSkinSettingsGuard&) = delete;
    ~CSkinSettingsGuard()
    {
        using SkinLib::CPaintManagerUI;
        CPaintManagerUI::SetInstance(m_hInstance);
        CPaintManagerUI::SetResourceDll(m_hResourceDll);
        CPaintManagerUI::SetResourcePath(m_sPath);
        // An archive held in memory cannot be reopened from here; it stays the process's
        // skin source by design, so a test that replaced it has nothing to put back.
        if (m_sZip != L"membuffer") CPaintManagerUI::SetResourceZip(m_sZip, m_bCached);
        CPaintManagerUI::SetHSL(true, m_H, m_S, m_L);
        CPaintManagerUI::m_pStrDefaultFontName = m_sDefaultFontName;
    }

private:
    HINSTANCE m_hInstance;
    HINSTANCE m_hResourceDll;
    SkinLib::CSkinString m_sPath;
    SkinLib::CSkinString m_sZip;
    bool m_bCached;
    SkinLib::CSkinString m_sDefaultFontName;
    short m_H = 180, m_S = 100, m_L = 100;
};

// A fixture for tests that change the skin settings.
struct SkinSettingsTest : ::testing::Test
{
    CSkinSettingsGuard skinSettings;
};

} // namespace SkinLibTest
