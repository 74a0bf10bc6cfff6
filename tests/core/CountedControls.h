#pragma once
// Controls that count how many of them are alive, and a builder callback that
// makes them, so that builder tests can tell that every control a skin made
// was either handed out or destroyed.
#include <windows.h>

#include <wchar.h>

#include "TestControls.h"
#include "controls/IContainerUI.h"
#include "core/DialogBuilder.h"

namespace SkinLibTest {

using namespace SkinLib;

inline int& LiveCountedControls()
{
    static int nLive = 0;
    return nLive;
}

// A leaf: element "Leaf".
class CCountedLeafUI : public CControlUI
{
public:
    CCountedLeafUI() { ++LiveCountedControls(); }
    ~CCountedLeafUI() override { --LiveCountedControls(); }
    const wchar_t* GetClass() const override { return L"CountedLeafUI"; }
};

// A grid container that takes at most its capacity of children and refuses
// the rest: elements "Box" (no limit) and "OneBox" (one child).
class CCountedBoxUI : public CBoxUI, public IContainerUI
{
public:
    explicit CCountedBoxUI(int nCapacity = INT_MAX) : m_nCapacity(nCapacity) { ++LiveCountedControls(); }
    ~CCountedBoxUI() override { --LiveCountedControls(); }

    const wchar_t* GetClass() const override { return L"CountedBoxUI"; }
    void* GetInterface(const wchar_t* pstrName) override
    {
        if (wcscmp(pstrName, L"IContainer") == 0) return static_cast<IContainerUI*>(this);
        return CBoxUI::GetInterface(pstrName);
    }

    CControlUI* GetItemAt(int iIndex) const override { return CBoxUI::GetItemAt(iIndex); }
    int GetItemIndex(CControlUI* pControl) const override
    {
        for (int i = 0; i < GetCount(); i++) {
            if (GetItemAt(i) == pControl) return i;
        }
        return -1;
    }
    bool SetItemIndex(CControlUI*, int) override { return false; }
    int GetCount() const override { return CBoxUI::GetCount(); }
    bool Add(CControlUI* pControl) override
    {
        if (pControl == NULL || GetCount() >= m_nCapacity) return false;
        CBoxUI::Add(pControl);
        return true;
    }
    bool AddAt(CControlUI* pControl, int) override { return Add(pControl); }
    bool Remove(CControlUI* pControl) override
    {
        if (GetItemIndex(pControl) < 0) return false;
        CBoxUI::Remove(pControl);
        return true;
    }
    bool RemoveAt(int iIndex) override { return Remove(GetItemAt(iIndex)); }
    void RemoveAll() override
    {
        while (GetCount() > 0) Remove(GetItemAt(0));
    }

private:
    int m_nCapacity;
};

// Makes "Leaf", "Box" and "OneBox" for the builder.
class CCountedControlFactory : public IDialogBuilderCallback
{
public:
    CControlUI* CreateControl(const wchar_t* pstrClass) override
    {
        if (wcscmp(pstrClass, L"Leaf") == 0) return new CCountedLeafUI;
        if (wcscmp(pstrClass, L"Box") == 0) return new CCountedBoxUI;
        if (wcscmp(pstrClass, L"OneBox") == 0) return new CCountedBoxUI(1);
        return NULL;
    }
};

} // namespace SkinLibTest
