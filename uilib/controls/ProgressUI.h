#pragma once

#include "controls/LabelUI.h"

namespace SkinLib {

// A value within a range, shown as the fore image over the filled part of
// the control, from the left or from the bottom; the label's text goes over it.
class CProgressUI : public CLabelUI
{
public:
    CProgressUI();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

    // False: fills from the bottom.
    bool IsHorizontal() const;
    void SetHorizontal(bool bHorizontal = true);
    // Stored as given; a range with max <= min works as max = min + 1, and
    // the next paint stores it so.
    int GetMinValue() const;
    void SetMinValue(int nMin);
    int GetMaxValue() const;
    void SetMaxValue(int nMax);
    int GetValue() const;
    // Only a new value within the range is taken.
    void SetValue(int nValue);
    const wchar_t* GetForeImage() const;
    void SetForeImage(const wchar_t* pStrImage);
    // True: the image is stretched into the filled part; false: the same part of it is cut out.
    bool IsStretchForeImage() const;
    void SetStretchForeImage(bool bStretchForeImage = true);

protected:
    // The range as every computation sees it: max above min, the value within.
    struct Range
    {
        int nMin;
        int nMax;
        int nValue;
        long long Span() const { return static_cast<long long>(nMax) - nMin; }
    };
    Range GetRange() const;
    // n * part / whole, truncated toward zero, without overflow; 0 when whole is not positive.
    static long long Scale(long long n, long long part, long long whole);

    bool m_bHorizontal;
    bool m_bStretchForeImage;
    int m_nMax;
    int m_nMin;
    int m_nValue;
    // The bar image is the control base's fore image, which a label leaves unused.
};

} // namespace SkinLib
