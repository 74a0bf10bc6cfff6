#pragma once

#include "controls/ContainerUI.h"
#include "controls/ControlState.h"
#include "extended/IListUI.h"
#include "extended/ListStyleImpl.h"

namespace SkinLib {

class CComboWnd;

// A drop-down list. Its children are list items it owns and numbers but never
// lays out: the body shows the selected item's text, and a click or F4 opens
// a pop-up window (CComboWnd) that shows the items themselves and gives them
// back when it closes. Keys and the wheel move the selection; "dropdown"
// tells of the pop-up opening, "itemselect" of a new selection.
class CComboUI : public CListStyleImpl<CContainerUI>, public IListOwnerUI
{
public:
    CComboUI();
    // An open pop-up gives the items back first.
    ~CComboUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;
    // Opens the pop-up and sends "dropdown"; true also while it is open.
    // False without a window to open it over.
    bool Activate() override;
    // The selected item's text.
    CSkinString GetText() const override;
    // Moving to another window or parent closes the pop-up first.
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    // The items get no place in the body; the pop-up places them while open.
    void SetPos(RECT rc) override;
    // Disabled or hidden, the combo closes its drop-down.
    void SetEnabled(bool bEnable = true) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    // Also the owner's input handler of IListOwnerUI.
    void DoEvent(tagTEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    // The fixed size; with no fixed height, a line of the default font and 12.
    SIZE EstimateSize(SIZE szAvailable) override;
    // The body only: the items paint in the pop-up.
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    // The child list keeps the items numbered and the selection on its item.
    // A change closes an open pop-up first.
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    // The selection goes, without a notification.
    void RemoveAll() override;

    tagTListInfoUI* GetListInfo() override;
    int GetCurSel() const override;
    // Closes an open pop-up; "itemselect" with the new index in wParam and
    // the previous one in lParam. An index past the end selects the last item.
    bool SelectItem(int iIndex, bool bTakeFocus = false) override;

    // Applied to the pop-up's layout when it opens, after its defaults.
    const wchar_t* GetDropBoxAttributeList() const;
    void SetDropBoxAttributeList(const wchar_t* pstrList);
    // cx > 0: the pop-up's width, else the combo's; cy: its greatest height.
    SIZE GetDropBoxSize() const;
    void SetDropBoxSize(SIZE szDropBox);
    // Between the body's edges and the selected item's text.
    RECT GetTextPadding() const;
    void SetTextPadding(RECT rc);

    // Image descriptions of the body per state.
    const wchar_t* GetNormalImage() const;
    void SetNormalImage(const wchar_t* pStrImage);
    const wchar_t* GetHotImage() const;
    void SetHotImage(const wchar_t* pStrImage);
    const wchar_t* GetPushedImage() const;
    void SetPushedImage(const wchar_t* pStrImage);
    const wchar_t* GetFocusedImage() const;
    void SetFocusedImage(const wchar_t* pStrImage);
    const wchar_t* GetDisabledImage() const;
    void SetDisabledImage(const wchar_t* pStrImage);

protected:
    friend class CComboWnd;

    // The selected item's text in rcText; nothing without a selection.
    void PaintSelectedItem(HDC hDC, const RECT& rcText);
    // The body's state, refreshed, as a frame in the arrow strip's order:
    // 0 normal, 1 hot, 2 pushed, 3 focused, 4 disabled.
    int PaintStateFrame();
    // Takes the items back from an open pop-up at once and lets the window go.
    void CloseDropDown();
    // The pop-up has let the items go: they are in the combo's window again,
    // placed nowhere, and the pop-up is forgotten.
    void TakeItemsBack();
    // A key's or the wheel's move of the selection; one that finds no item
    // keeps the selection, and either way an open pop-up closes.
    void MoveSelection(int iIndex);

    CComboWnd* m_pWindow;  // the open pop-up, which owns itself
    int m_iCurSel;
    RECT m_rcTextPadding;
    CSkinString m_sDropBoxAttributes;
    SIZE m_szDropBox;
    UINT m_uButtonState;
    CSkinString m_sNormalImage;
    CSkinString m_sHotImage;
    CSkinString m_sPushedImage;
    CSkinString m_sFocusedImage;
    CSkinString m_sDisabledImage;
};

} // namespace SkinLib
