// CListUI: the item style its items read, and the skin attributes.
#include <wchar.h>

#include "core/AttributeValue.h"
#include "extended/ListHeaderUI.h"
#include "extended/ListUI.h"

namespace SkinLib {

void CListUI::SetItemStyleColor(DWORD& dwField, DWORD dwColor)
{
    if (dwField == dwColor) return;
    dwField = dwColor;
    Invalidate();
}

void CListUI::SetItemStyleImage(CSkinString& sField, const wchar_t* pStrImage)
{
    if (pStrImage == NULL) pStrImage = L"";
    if (sField == pStrImage) return;
    sField = pStrImage;
    Invalidate();
}

void CListUI::SetItemFont(int index)
{
    m_ListInfo.nItemFont = index;
    NeedUpdate();
}

void CListUI::SetItemTextStyle(UINT uStyle)
{
    m_ListInfo.uItemTextStyle = uStyle;
    NeedUpdate();
}

RECT CListUI::GetItemTextPadding() const { return m_ListInfo.rcItemTextPadding; }

void CListUI::SetItemTextPadding(RECT rc)
{
    m_ListInfo.rcItemTextPadding = rc;
    NeedUpdate();
}

DWORD CListUI::GetItemTextColor() const { return m_ListInfo.dwItemTextColor; }
void CListUI::SetItemTextColor(DWORD dwTextColor) { SetItemStyleColor(m_ListInfo.dwItemTextColor, dwTextColor); }
DWORD CListUI::GetItemBkColor() const { return m_ListInfo.dwItemBkColor; }
void CListUI::SetItemBkColor(DWORD dwBkColor) { SetItemStyleColor(m_ListInfo.dwItemBkColor, dwBkColor); }
const wchar_t* CListUI::GetItemBkImage() const { return m_ListInfo.sItemBkImage; }
void CListUI::SetItemBkImage(const wchar_t* pStrImage) { SetItemStyleImage(m_ListInfo.sItemBkImage, pStrImage); }
bool CListUI::IsAlternateBk() const { return m_ListInfo.bAlternateItemBk; }

void CListUI::SetAlternateBk(bool bAlternateBk)
{
    if (m_ListInfo.bAlternateItemBk == bAlternateBk) return;
    m_ListInfo.bAlternateItemBk = bAlternateBk;
    Invalidate();
}

DWORD CListUI::GetSelectedItemTextColor() const { return m_ListInfo.dwSelectedItemTextColor; }
void CListUI::SetSelectedItemTextColor(DWORD dwTextColor)
{
    SetItemStyleColor(m_ListInfo.dwSelectedItemTextColor, dwTextColor);
}
DWORD CListUI::GetSelectedItemBkColor() const { return m_ListInfo.dwSelectedItemBkColor; }
void CListUI::SetSelectedItemBkColor(DWORD dwBkColor) { SetItemStyleColor(m_ListInfo.dwSelectedItemBkColor, dwBkColor); }
const wchar_t* CListUI::GetSelectedItemImage() const { return m_ListInfo.sSelectedItemImage; }
void CListUI::SetSelectedItemImage(const wchar_t* pStrImage)
{
    SetItemStyleImage(m_ListInfo.sSelectedItemImage, pStrImage);
}
DWORD CListUI::GetHotItemTextColor() const { return m_ListInfo.dwHotItemTextColor; }
void CListUI::SetHotItemTextColor(DWORD dwTextColor) { SetItemStyleColor(m_ListInfo.dwHotItemTextColor, dwTextColor); }
DWORD CListUI::GetHotItemBkColor() const { return m_ListInfo.dwHotItemBkColor; }
void CListUI::SetHotItemBkColor(DWORD dwBkColor) { SetItemStyleColor(m_ListInfo.dwHotItemBkColor, dwBkColor); }
const wchar_t* CListUI::GetHotItemImage() const { return m_ListInfo.sHotItemImage; }
void CListUI::SetHotItemImage(const wchar_t* pStrImage) { SetItemStyleImage(m_ListInfo.sHotItemImage, pStrImage); }
DWORD CListUI::GetDisabledItemTextColor() const { return m_ListInfo.dwDisabledItemTextColor; }
void CListUI::SetDisabledItemTextColor(DWORD dwTextColor)
{
    SetItemStyleColor(m_ListInfo.dwDisabledItemTextColor, dwTextColor);
}
DWORD CListUI::GetDisabledItemBkColor() const { return m_ListInfo.dwDisabledItemBkColor; }
void CListUI::SetDisabledItemBkColor(DWORD dwBkColor) { SetItemStyleColor(m_ListInfo.dwDisabledItemBkColor, dwBkColor); }
const wchar_t* CListUI::GetDisabledItemImage() const { return m_ListInfo.sDisabledItemImage; }
void CListUI::SetDisabledItemImage(const wchar_t* pStrImage)
{
    SetItemStyleImage(m_ListInfo.sDisabledItemImage, pStrImage);
}
DWORD CListUI::GetItemLineColor() const { return m_ListInfo.dwItemLineColor; }
void CListUI::SetItemLineColor(DWORD dwLineColor) { SetItemStyleColor(m_ListInfo.dwItemLineColor, dwLineColor); }
bool CListUI::IsItemShowHtml() const { return m_ListInfo.bItemShowHtml; }

void CListUI::SetItemShowHtml(bool bShowHtml)
{
    if (m_ListInfo.bItemShowHtml == bShowHtml) return;
    m_ListInfo.bItemShowHtml = bShowHtml;
    NeedUpdate();
}

void CListUI::SetMultiExpanding(bool bMultiExpanding)
{
    m_ListInfo.bMultiExpanding = bMultiExpanding;
}

// ---------------------------------------------------------------------------
// Skin attributes

void CListUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    tagTListInfoUI& info = m_ListInfo;
    // The header the list holds at this moment.
    if (is(L"header")) {
        if (m_pHeader != NULL) m_pHeader->SetVisible(wcscmp(pstrValue, L"hidden") != 0);
    }
    else if (is(L"headerbkimage")) {
        if (m_pHeader != NULL) m_pHeader->SetBkImage(pstrValue);
    }
    else if (is(L"scrollselect")) SetScrollSelect(ParseBoolValue(pstrValue));
    else if (is(L"multiexpanding")) SetMultiExpanding(ParseBoolValue(pstrValue));
    // Font and alignment take effect at the next layout the list gets anyway.
    else if (is(L"itemfont")) info.nItemFont = ParseIntValue(pstrValue);
    else if (is(L"itemalign")) info.uItemTextStyle = ApplyHorizontalAlignValue(info.uItemTextStyle, pstrValue);
    else if (is(L"itemendellipsis")) info.uItemTextStyle = ApplyEndEllipsisValue(info.uItemTextStyle, pstrValue);
    else if (is(L"itemtextpadding")) SetItemTextPadding(ParseRectValue(pstrValue));
    else if (is(L"itemtextcolor")) SetItemTextColor(ParseColorValue(pstrValue));
    else if (is(L"itembkcolor")) SetItemBkColor(ParseColorValue(pstrValue));
    else if (is(L"itembkimage")) SetItemBkImage(pstrValue);
    else if (is(L"itemaltbk")) SetAlternateBk(ParseBoolValue(pstrValue));
    else if (is(L"itemselectedtextcolor")) SetSelectedItemTextColor(ParseColorValue(pstrValue));
    else if (is(L"itemselectedbkcolor")) SetSelectedItemBkColor(ParseColorValue(pstrValue));
    else if (is(L"itemselectedimage")) SetSelectedItemImage(pstrValue);
    else if (is(L"itemhottextcolor")) SetHotItemTextColor(ParseColorValue(pstrValue));
    else if (is(L"itemhotbkcolor")) SetHotItemBkColor(ParseColorValue(pstrValue));
    else if (is(L"itemhotimage")) SetHotItemImage(pstrValue);
    else if (is(L"itemdisabledtextcolor")) SetDisabledItemTextColor(ParseColorValue(pstrValue));
    else if (is(L"itemdisabledbkcolor")) SetDisabledItemBkColor(ParseColorValue(pstrValue));
    else if (is(L"itemdisabledimage")) SetDisabledItemImage(pstrValue);
    else if (is(L"itemlinecolor")) SetItemLineColor(ParseColorValue(pstrValue));
    else if (is(L"itemshowhtml")) SetItemShowHtml(ParseBoolValue(pstrValue));
    else CVerticalLayoutUI::SetAttribute(pstrName, pstrValue);
}

} // namespace SkinLib
