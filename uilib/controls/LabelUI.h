#pragma once

#include <windows.h>
#include <objidl.h>  // GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out
#include <gdiplus.h>

#include "controls/ControlUI.h"

namespace SkinLib {

// One line of text inside the control, less a padding, in a font of the paint
// manager, with plain Win32 text styles or mark-up; or, in effect mode, drawn
// through GDI+ with gradient glyphs, a stroke and a shadow. Every text-bearing
// control derives from it and shares its colours, font, style and padding.
class CLabelUI : public CControlUI
{
public:
    CLabelUI();
    ~CLabelUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    // Both throw a plain C string naming themselves when anything inside throws.
    CSkinString GetText() const override;
    void SetText(const wchar_t* pstrText) override;
    void DoEvent(tagTEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintText(HDC hDC) override;

    void SetTextStyle(UINT uStyle);
    UINT GetTextStyle() const;
    // 0 takes the manager's default colour at the next paint.
    void SetTextColor(DWORD dwTextColor);
    DWORD GetTextColor() const;
    void SetDisabledTextColor(DWORD dwTextColor);
    DWORD GetDisabledTextColor() const;
    void SetFont(int index);
    int GetFont() const;
    void SetTextPadding(RECT rc);
    RECT GetTextPadding() const;
    void SetShowHtml(bool bShowHtml = true);
    bool IsShowHtml() const;

    // Effect mode. These setters store only; the next paint shows them.
    void SetEnabledEffect(bool bEnable);
    bool GetEnabledEffect() const;
    void SetEnabledStroke(bool bEnable);
    bool GetEnabledStroke() const;
    void SetEnabledShadow(bool bEnable);
    bool GetEnabledShadow() const;
    // 0xFFFFFFFF: the same as the text colour.
    void SetTextColor1(DWORD dwColor);
    DWORD GetTextColor1() const;
    void SetTextShadowColorA(DWORD dwColor);
    DWORD GetTextShadowColorA() const;
    // 0xFFFFFFFF: the same as shadow colour A.
    void SetTextShadowColorB(DWORD dwColor);
    DWORD GetTextShadowColorB() const;
    // 0: no stroke.
    void SetStrokeColor(DWORD dwColor);
    DWORD GetStrokeColor() const;
    // Alphas of the gradient colours; only the low byte is used.
    void SetTransShadow(int nTrans);
    int GetTransShadow() const;
    void SetTransShadow1(int nTrans);
    int GetTransShadow1() const;
    void SetTransText(int nTrans);
    int GetTransText() const;
    void SetTransText1(int nTrans);
    int GetTransText1() const;
    void SetTransStroke(int nTrans);
    int GetTransStroke() const;
    // The gradient runs from (angle, 0) to (0, length); length 0 is the text height.
    void SetGradientAngle(int nAngle);
    int GetGradientAngle() const;
    void SetGradientLength(int nLength);
    int GetGradientLength() const;
    // A GDI+ TextRenderingHint, 0 to 5; anything else stores 0.
    void SetTextRenderingHintAntiAlias(int nHint);
    int GetTextRenderingHintAntiAlias() const;
    // The shadow's distance and direction in degrees (-180 to 180; others are ignored).
    void SetShadowOffset(int nOffset, int nAngle);
    Gdiplus::RectF GetShadowOffset() const;

protected:
    // The text the current mode shows and edits: the effect text in effect
    // mode, else the control base's.
    CSkinString& ModeText();
    // A text colour of 0 becomes the manager's default and stays so.
    void UseDefaultTextColors();
    DWORD GetStateTextColor() const;
    RECT GetTextRect() const;
    // Mark-up or plain text, without link records; with DT_CALCRECT in uStyle
    // nothing is drawn and rc comes back as the text's extent.
    void DrawLabelText(HDC hDC, RECT& rc, DWORD dwColor, UINT uStyle);
    // The fixed size, or when no height is fixed, one line of the font plus nExtra.
    SIZE EstimateLineSize(SIZE szAvailable, int nExtra);

    DWORD m_dwTextColor;
    DWORD m_dwDisabledTextColor;
    int m_iFont;
    UINT m_uTextStyle;
    RECT m_rcTextPadding;
    bool m_bShowHtml;

    int m_nEffectHAlign;
    int m_nEffectVAlign;
    int m_nTransShadow;
    int m_nTransShadow1;
    int m_nTransText;
    int m_nTransText1;
    int m_nTransStroke;
    int m_nGradientLength;
    int m_nGradientAngle;
    bool m_bEnabledEffect;
    bool m_bEnabledStroke;
    bool m_bEnabledShadow;
    DWORD m_dwTextColor1;
    DWORD m_dwTextShadowColorA;
    DWORD m_dwTextShadowColorB;
    DWORD m_dwStrokeColor;
    Gdiplus::RectF m_rfShadowOffset;
    CSkinString m_sTextValue;
    ULONG_PTR m_ulGdiplusToken;
    Gdiplus::GdiplusStartupInput m_GdiplusStartupInput;
    int m_nTextRenderingHint;
    // Whether this instance's GDI+ start-up succeeded: only then is it shut down
    // and only then is effect text drawn.
    bool m_bGdiplusStarted;

private:
    void PaintEffectText(HDC hDC, const RECT& rcText);
};

} // namespace SkinLib
