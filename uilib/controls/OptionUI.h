#pragma once

#include "controls/ButtonUI.h"

namespace SkinLib {

// A button with a selected state. Without a group it toggles on every click;
// with one it belongs to the paint manager's option group of that name, and
// selecting it deselects the other members, like a radio button. Changes of
// the selection are announced with "selectchanged".
class COptionUI : public CButtonUI
{
public:
    COptionUI();
    ~COptionUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    bool Activate() override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetEnabled(bool bEnable = true) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    virtual void Selected(bool bSelected);
    bool IsSelected() const;

    // Empty: an independent toggle. A null name empties it.
    const wchar_t* GetGroup() const;
    void SetGroup(const wchar_t* pStrGroupName = NULL);

    const wchar_t* GetSelectedImage() const;
    void SetSelectedImage(const wchar_t* pStrImage);
    const wchar_t* GetSelectedHotImage() const;
    void SetSelectedHotImage(const wchar_t* pStrImage);
    // The option's own fore image, drawn over everything; not the button's.
    const wchar_t* GetForeImage() const;
    void SetForeImage(const wchar_t* pStrImage);
    // Filled while selected when there is no selected image; 0: none.
    void SetSelectedBkColor(DWORD dwColor);
    DWORD GetSelectBkColor() const;
    // 0: the normal text colour. Reading a 0 takes the manager's default font colour for good.
    void SetSelectedTextColor(DWORD dwColor);
    DWORD GetSelectedTextColor();

protected:
    bool m_bSelected;
    CSkinString m_sGroupName;
    DWORD m_dwSelectedBkColor;
    DWORD m_dwSelectedTextColor;
    CSkinString m_sSelectedImage;
    CSkinString m_sSelectedHotImage;
    CSkinString m_sOptionForeImage;

private:
    void JoinGroup();
    void LeaveGroup();
    void DeselectOthers();

    // The manager whose group lists this option, or null. An option leaves
    // its group as it leaves that manager, so that no group array outlives a
    // member or holds one of another window.
    CPaintManagerUI* m_pGroupManager;
};

// An option under check-box names.
class CCheckBoxUI : public COptionUI
{
public:
    const wchar_t* GetClass() const override;

    void SetCheck(bool bCheck);
    bool GetCheck() const;
};

} // namespace SkinLib
