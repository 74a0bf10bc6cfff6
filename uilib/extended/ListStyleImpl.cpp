// CListStyleImpl, the item style list owners keep:
//   - the record's setters, each laying out or repainting the owner
//   - the getters
//   - the "item..." skin attributes
#include "extended/ListStyleImpl.h"

#include <wchar.h>

#include "controls/ContainerUI.h"
#include "controls/VerticalLayoutUI.h"
#include "core/AttributeValue.h"

namespace SkinLib {

template <class TBase>
void CListStyleImpl<TBase>::SetItemStyleColor(DWORD& dwField, DWORD dwColor)
{
    if (dwField == dwColor) return;
    dwField = dwColor;
    this->Invalidate();
}

template <class TBase>
void CListStyleImpl<TBase>::SetItemStyleImage(CSkinString& sField, const wchar_t* pStrImage)
{
    if (pStrImage == NULL) pStrImage = L"";
    if (sField == pStrImage) return;
    sField = pStrImage;
    this->Invalidate();
}

// ---------------------------------------------------------------------------
// Setters

template <class TBase>
void CListStyleImpl<TBase>::SetItemFont(int index)
{
    m_ListInfo.nItemFont = index;
    this->NeedUpdate();
}

template <class TBase>
void CListStyleImpl<TBase>::SetItemTextStyle(UINT uStyle)
{
    m_ListInfo.uItemTextStyle = uStyle;
    this->NeedUpdate();
}

template <class TBase>
void CListStyleImpl<TBase>::SetItemTextPadding(RECT rc)
{
    m_ListInfo.rcItemTextPadding = rc;
    this->NeedUpdate();
}

template <class TBase>
void CListStyleImpl<TBase>::SetItemTextColor(DWORD dwTextColor)
{
    SetItemStyleColor(m_ListInfo.dwItemTextColor, dwTextColor);
}

template <class TBase>
void CListStyleImpl<TBase>::SetItemBkColor(DWORD dwBkColor)
{
    SetItemStyleColor(m_ListInfo.dwItemBkColor, dwBkColor);
}

template <class TBase>
void CListStyleImpl<TBase>::SetItemBkImage(const wchar_t* pStrImage)
{
    SetItemStyleImage(m_ListInfo.sItemBkImage, pStrImage);
}

template <class TBase>
void CListStyleImpl<TBase>::SetAlternateBk(bool bAlternateBk)
{
    if (m_ListInfo.bAlternateItemBk == bAlternateBk) return;
    m_ListInfo.bAlternateItemBk = bAlternateBk;
    this->Invalidate();
}

template <class TBase>
void CListStyleImpl<TBase>::SetSelectedItemTextColor(DWORD dwTextColor)
{
    SetItemStyleColor(m_ListInfo.dwSelectedItemTextColor, dwTextColor);
}

template <class TBase>
void CListStyleImpl<TBase>::SetSelectedItemBkColor(DWORD dwBkColor)
{
    SetItemStyleColor(m_ListInfo.dwSelectedItemBkColor, dwBkColor);
}

template <class TBase>
void CListStyleImpl<TBase>::SetSelectedItemImage(const wchar_t* pStrImage)
{
    SetItemStyleImage(m_ListInfo.sSelectedItemImage, pStrImage);
}

template <class TBase>
void CListStyleImpl<TBase>::SetHotItemTextColor(DWORD dwTextColor)
{
    SetItemStyleColor(m_ListInfo.dwHotItemTextColor, dwTextColor);
}

template <class TBase>
void CListStyleImpl<TBase>::SetHotItemBkColor(DWORD dwBkColor)
{
    SetItemStyleColor(m_ListInfo.dwHotItemBkColor, dwBkColor);
}

template <class TBase>
void CListStyleImpl<TBase>::SetHotItemImage(const wchar_t* pStrImage)
{
    SetItemStyleImage(m_ListInfo.sHotItemImage, pStrImage);
}

template <class TBase>
void CListStyleImpl<TBase>::SetDisabledItemTextColor(DWORD dwTextColor)
{
    SetItemStyleColor(m_ListInfo.dwDisabledItemTextColor, dwTextColor);
}

template <class TBase>
void CListStyleImpl<TBase>::SetDisabledItemBkColor(DWORD dwBkColor)
{
    SetItemStyleColor(m_ListInfo.dwDisabledItemBkColor, dwBkColor);
}

template <class TBase>
void CListStyleImpl<TBase>::SetDisabledItemImage(const wchar_t* pStrImage)
{
    SetItemStyleImage(m_ListInfo.sDisabledItemImage, pStrImage);
}

template <class TBase>
void CListStyleImpl<TBase>::SetItemLineColor(DWORD dwLineColor)
{
    SetItemStyleColor(m_ListInfo.dwItemLineColor, dwLineColor);
}

template <class TBase>
void CListStyleImpl<TBase>::SetItemShowHtml(bool bShowHtml)
{
    if (m_ListInfo.bItemShowHtml == bShowHtml) return;
    m_ListInfo.bItemShowHtml = bShowHtml;
    this->NeedUpdate();
}

// ---------------------------------------------------------------------------
// Getters

template <class TBase>
RECT CListStyleImpl<TBase>::GetItemTextPadding() const { return m_ListInfo.rcItemTextPadding; }
template <class TBase>
DWORD CListStyleImpl<TBase>::GetItemTextColor() const { return m_ListInfo.dwItemTextColor; }
template <class TBase>
DWORD CListStyleImpl<TBase>::GetItemBkColor() const { return m_ListInfo.dwItemBkColor; }
template <class TBase>
const wchar_t* CListStyleImpl<TBase>::GetItemBkImage() const { return m_ListInfo.sItemBkImage; }
template <class TBase>
bool CListStyleImpl<TBase>::IsAlternateBk() const { return m_ListInfo.bAlternateItemBk; }
template <class TBase>
DWORD CListStyleImpl<TBase>::GetSelectedItemTextColor() const { return m_ListInfo.dwSelectedItemTextColor; }
template <class TBase>
DWORD CListStyleImpl<TBase>::GetSelectedItemBkColor() const { return m_ListInfo.dwSelectedItemBkColor; }
template <class TBase>
const wchar_t* CListStyleImpl<TBase>::GetSelectedItemImage() const { return m_ListInfo.sSelectedItemImage; }
template <class TBase>
DWORD CListStyleImpl<TBase>::GetHotItemTextColor() const { return m_ListInfo.dwHotItemTextColor; }
template <class TBase>
DWORD CListStyleImpl<TBase>::GetHotItemBkColor() const { return m_ListInfo.dwHotItemBkColor; }
template <class TBase>
const wchar_t* CListStyleImpl<TBase>::GetHotItemImage() const { return m_ListInfo.sHotItemImage; }
template <class TBase>
DWORD CListStyleImpl<TBase>::GetDisabledItemTextColor() const { return m_ListInfo.dwDisabledItemTextColor; }
template <class TBase>
DWORD CListStyleImpl<TBase>::GetDisabledItemBkColor() const { return m_ListInfo.dwDisabledItemBkColor; }
template <class TBase>
const wchar_t* CListStyleImpl<TBase>::GetDisabledItemImage() const { return m_ListInfo.sDisabledItemImage; }
template <class TBase>
DWORD CListStyleImpl<TBase>::GetItemLineColor() const { return m_ListInfo.dwItemLineColor; }
template <class TBase>
bool CListStyleImpl<TBase>::IsItemShowHtml() const { return m_ListInfo.bItemShowHtml; }

// ---------------------------------------------------------------------------
// Skin attributes

template <class TBase>
void CListStyleImpl<TBase>::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    tagTListInfoUI& info = m_ListInfo;
    // Font and alignment take effect at the next layout the owner gets anyway.
    if (is(L"itemfont")) info.nItemFont = ParseIntValue(pstrValue);
    else if (is(L"itemalign")) info.uItemTextStyle = ApplyHorizontalAlignValue(info.uItemTextStyle, pstrValue);
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
    else TBase::SetAttribute(pstrName, pstrValue);
}

template class CListStyleImpl<CVerticalLayoutUI>;
template class CListStyleImpl<CContainerUI>;

} // namespace SkinLib
