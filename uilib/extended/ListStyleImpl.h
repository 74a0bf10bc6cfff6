#pragma once

#include "extended/IListUI.h"

namespace SkinLib {

// The item style a list owner keeps for its items, over the control it is:
// CListUI is one over CVerticalLayoutUI, CComboUI one over CContainerUI. The
// items read the record each time they measure or paint, so a font, text
// style, padding or mark-up change lays the owner out again and a colour or
// image change repaints it.
template <class TBase>
class CListStyleImpl : public TBase
{
public:
    // The "item..." attributes the owners share; other names go to the base.
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

    void SetItemFont(int index);
    void SetItemTextStyle(UINT uStyle);
    RECT GetItemTextPadding() const;
    void SetItemTextPadding(RECT rc);
    DWORD GetItemTextColor() const;
    void SetItemTextColor(DWORD dwTextColor);
    DWORD GetItemBkColor() const;
    void SetItemBkColor(DWORD dwBkColor);
    const wchar_t* GetItemBkImage() const;
    void SetItemBkImage(const wchar_t* pStrImage);
    bool IsAlternateBk() const;
    void SetAlternateBk(bool bAlternateBk);
    DWORD GetSelectedItemTextColor() const;
    void SetSelectedItemTextColor(DWORD dwTextColor);
    DWORD GetSelectedItemBkColor() const;
    void SetSelectedItemBkColor(DWORD dwBkColor);
    const wchar_t* GetSelectedItemImage() const;
    void SetSelectedItemImage(const wchar_t* pStrImage);
    DWORD GetHotItemTextColor() const;
    void SetHotItemTextColor(DWORD dwTextColor);
    DWORD GetHotItemBkColor() const;
    void SetHotItemBkColor(DWORD dwBkColor);
    const wchar_t* GetHotItemImage() const;
    void SetHotItemImage(const wchar_t* pStrImage);
    DWORD GetDisabledItemTextColor() const;
    void SetDisabledItemTextColor(DWORD dwTextColor);
    DWORD GetDisabledItemBkColor() const;
    void SetDisabledItemBkColor(DWORD dwBkColor);
    const wchar_t* GetDisabledItemImage() const;
    void SetDisabledItemImage(const wchar_t* pStrImage);
    DWORD GetItemLineColor() const;
    void SetItemLineColor(DWORD dwLineColor);
    bool IsItemShowHtml() const;
    void SetItemShowHtml(bool bShowHtml = true);

protected:
    tagTListInfoUI m_ListInfo;

private:
    void SetItemStyleColor(DWORD& dwField, DWORD dwColor);
    void SetItemStyleImage(CSkinString& sField, const wchar_t* pStrImage);
};

} // namespace SkinLib
