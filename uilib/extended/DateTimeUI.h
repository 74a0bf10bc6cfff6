#pragma once

#include "controls/LabelUI.h"
#include "controls/NativePopup.h"

namespace SkinLib {

// A label that holds a date and shows it as year-month-day. With the focus it
// opens the system's date-time picker over itself; the date chosen there comes
// back when the picker loses the focus. Backspace or Delete in the picker
// empties the text, Escape leaves everything as it was.
class CDateTimeUI : public CLabelUI
{
public:
    // What the open picker will do to the text when it closes.
    enum DTUpdateFlag
    {
        DT_NONE = 0,    // nothing decided yet: the picker's date is taken
        DT_UPDATE = 1,  // the text shows the date
        DT_DELETE = 2,  // the text is emptied
        DT_KEEP = 3,    // the text stays as it was
    };

    CDateTimeUI();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(tagTEventUI& event) override;

    SYSTEMTIME& GetTime();
    // The text follows when the picker next closes.
    void SetTime(const SYSTEMTIME* pst);
    // Stored and reported only.
    void SetReadOnly(bool bReadOnly);
    bool IsReadOnly() const;
    // Shows the date or an empty text, as the update flag says.
    void UpdateText();

private:
    friend class CDateTimeWnd;

    static CNativePopupWnd* MakeWindow(CNativePopup& popup);

protected:
    SYSTEMTIME m_sysTime;
    int m_nDTUpdateFlag;
    bool m_bReadOnly;
    CNativePopup m_Popup;  // the picker, while open
};

} // namespace SkinLib
