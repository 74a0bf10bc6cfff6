// CLabelUI, the base of every text-bearing control:
//   - construction with this instance's GDI+ start-up, destruction with its shut-down
//   - text accessors for both modes, events, the size estimate
//   - skin attributes
//   - plain and mark-up painting, and the helpers derived controls share: the
//     paint state and the hot bit
//   - effect mode: its settings and its GDI+ painting
#include "controls/LabelUI.h"

#include <wchar.h>

#include "controls/ControlState.h"
#include "core/AttributeValue.h"
#include "core/RenderEngine.h"

namespace SkinLib {

namespace {

// Effect colours take their alpha from a transparency setting, of which only
// the low byte counts.
Gdiplus::Color EffectColor(int nTrans, DWORD dwColor)
{
    return Gdiplus::Color(static_cast<BYTE>(nTrans), Channel(dwColor, 16), Channel(dwColor, 8), Channel(dwColor, 0));
}

} // namespace

CLabelUI::CLabelUI()
    : m_dwTextColor(0), m_dwDisabledTextColor(0), m_iFont(-1), m_uTextStyle(DT_VCENTER), m_rcTextPadding(),
      m_bShowHtml(false), m_nEffectHAlign(Gdiplus::StringAlignmentNear),
      m_nEffectVAlign(Gdiplus::StringAlignmentCenter),
      m_nTransShadow(60), m_nTransShadow1(60), m_nTransText(168), m_nTransText1(168), m_nTransStroke(255),
      m_nGradientLength(0), m_nGradientAngle(0), m_bEnabledEffect(false), m_bEnabledStroke(false),
      m_bEnabledShadow(false), m_dwTextColor1(0xFFFFFFFF), m_dwTextShadowColorA(0xFF000000),
      m_dwTextShadowColorB(0xFFFFFFFF), m_dwStrokeColor(0), m_rfShadowOffset(0, 0, 0, 0), m_ulGdiplusToken(0),
      m_nTextRenderingHint(0), m_bGdiplusStarted(false)
{
    m_bGdiplusStarted = Gdiplus::GdiplusStartup(&m_ulGdiplusToken, &m_GdiplusStartupInput, NULL) == Gdiplus::Ok;
}

CLabelUI::~CLabelUI()
{
    if (m_bGdiplusStarted) Gdiplus::GdiplusShutdown(m_ulGdiplusToken);
}

const wchar_t* CLabelUI::GetClass() const
{
    return L"LabelUI";
}

void* CLabelUI::GetInterface(const wchar_t* pstrName)
{
    if (wcscmp(pstrName, L"Label") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

CSkinString CLabelUI::GetText() const
{
    try {
        return m_bEnabledEffect ? m_sTextValue : CControlUI::GetText();
    }
    catch (...) {
        throw "CLabelUI::GetText";
    }
}

void CLabelUI::SetText(const wchar_t* pstrText)
{
    try {
        if (m_bEnabledEffect) m_sTextValue = pstrText;
        else CControlUI::SetText(pstrText);
    }
    catch (...) {
        throw "CLabelUI::SetText";
    }
}

CSkinString& CLabelUI::ModeText()
{
    return m_bEnabledEffect ? m_sTextValue : m_sText;
}

void CLabelUI::DoEvent(tagTEventUI& event)
{
    // The flag follows the focus without a repaint: a plain label looks the
    // same focused or not.
    if (event.nEventType == SKIN_EVT_SETFOCUS) {
        m_bFocused = true;
        return;
    }
    if (event.nEventType == SKIN_EVT_KILLFOCUS) {
        m_bFocused = false;
        return;
    }
    CControlUI::DoEvent(event);
}

SIZE CLabelUI::EstimateSize(SIZE szAvailable)
{
    return EstimateLineSize(szAvailable, 4);
}

SIZE CLabelUI::EstimateLineSize(SIZE szAvailable, int nExtra)
{
    if (m_nFixedHeight != 0 || m_pManager == NULL) return CControlUI::EstimateSize(szAvailable);
    const tagTFontInfo* pFont = m_pManager->GetFontInfo(m_iFont);
    return SIZE{m_nFixedWidth, pFont->tmMetrics.tmHeight + nExtra};
}

// ---------------------------------------------------------------------------
// Skin attributes

void CLabelUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == NULL) return;
    if (pstrValue == NULL) pstrValue = L"";
    auto is = [pstrName](const wchar_t* pstrWord) { return wcscmp(pstrName, pstrWord) == 0; };
    if (is(L"align")) {
        // Every word found anywhere in the value applies, in this order: so
        // "vcenter" centres horizontally too.
        auto has = [pstrValue](const wchar_t* pstrWord) { return wcsstr(pstrValue, pstrWord) != NULL; };
        if (has(L"left")) m_uTextStyle &= ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        if (has(L"center")) {
            m_uTextStyle &= ~DT_RIGHT;
            m_uTextStyle |= DT_CENTER;
        }
        if (has(L"right")) {
            m_uTextStyle &= ~(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            m_uTextStyle |= DT_RIGHT;
        }
        if (has(L"top")) {
            m_uTextStyle &= ~(DT_VCENTER | DT_BOTTOM);
            m_uTextStyle |= DT_SINGLELINE;
        }
        if (has(L"vcenter")) {
            m_uTextStyle &= ~DT_BOTTOM;
            m_uTextStyle |= DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        }
        if (has(L"bottom")) {
            m_uTextStyle &= ~DT_VCENTER;
            m_uTextStyle |= DT_BOTTOM | DT_SINGLELINE;
        }
    }
    else if (is(L"endellipsis")) {
        if (ParseBoolValue(pstrValue)) m_uTextStyle |= DT_END_ELLIPSIS;
        else m_uTextStyle &= ~DT_END_ELLIPSIS;
    }
    else if (is(L"font")) SetFont(ParseIntValue(pstrValue));
    else if (is(L"textcolor")) SetTextColor(ParseColorValue(pstrValue));
    else if (is(L"disabledtextcolor")) SetDisabledTextColor(ParseColorValue(pstrValue));
    else if (is(L"textpadding")) SetTextPadding(ParseRectValue(pstrValue));
    else if (is(L"showhtml")) SetShowHtml(ParseBoolValue(pstrValue));
    else if (is(L"enabledeffect")) SetEnabledEffect(ParseBoolValue(pstrValue));
    else if (is(L"rhaa")) SetTextRenderingHintAntiAlias(ParseIntValue(pstrValue));
    else if (is(L"transshadow")) SetTransShadow(ParseIntValue(pstrValue));
    else if (is(L"transtext")) SetTransText(ParseIntValue(pstrValue));
    else if (is(L"transshadow1")) SetTransShadow1(ParseIntValue(pstrValue));
    else if (is(L"transtext1")) SetTransText1(ParseIntValue(pstrValue));
    else if (is(L"gradientangle")) SetGradientAngle(ParseIntValue(pstrValue));
    else if (is(L"enabledstroke")) SetEnabledStroke(ParseBoolValue(pstrValue));
    else if (is(L"enabledshadow")) SetEnabledShadow(ParseBoolValue(pstrValue));
    else if (is(L"transstroke")) SetTransStroke(ParseIntValue(pstrValue));
    else if (is(L"gradientlength")) SetGradientLength(ParseIntValue(pstrValue));
    else if (is(L"shadowoffset")) {
        // Offset then angle, read like a size.
        const SIZE sz = ParseSizeValue(pstrValue);
        SetShadowOffset(sz.cx, sz.cy);
    }
    else if (is(L"textcolor1")) SetTextColor1(ParseColorValue(pstrValue));
    else if (is(L"textshadowcolora")) SetTextShadowColorA(ParseColorValue(pstrValue));
    else if (is(L"textshadowcolorb")) SetTextShadowColorB(ParseColorValue(pstrValue));
    else if (is(L"strokecolor")) SetStrokeColor(ParseColorValue(pstrValue));
    else CControlUI::SetAttribute(pstrName, pstrValue);
}

// ---------------------------------------------------------------------------
// Text settings

void CLabelUI::SetTextStyle(UINT uStyle)
{
    m_uTextStyle = uStyle;
    Invalidate();
}

UINT CLabelUI::GetTextStyle() const
{
    return m_uTextStyle;
}

void CLabelUI::SetTextColor(DWORD dwTextColor)
{
    m_dwTextColor = dwTextColor;
    Invalidate();
}

DWORD CLabelUI::GetTextColor() const
{
    return m_dwTextColor;
}

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor)
{
    m_dwDisabledTextColor = dwTextColor;
    Invalidate();
}

DWORD CLabelUI::GetDisabledTextColor() const
{
    return m_dwDisabledTextColor;
}

void CLabelUI::SetFont(int index)
{
    m_iFont = index;
    Invalidate();
}

int CLabelUI::GetFont() const
{
    return m_iFont;
}

void CLabelUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

RECT CLabelUI::GetTextPadding() const
{
    return m_rcTextPadding;
}

void CLabelUI::SetShowHtml(bool bShowHtml)
{
    if (m_bShowHtml == bShowHtml) return;
    m_bShowHtml = bShowHtml;
    Invalidate();
}

bool CLabelUI::IsShowHtml() const
{
    return m_bShowHtml;
}

// ---------------------------------------------------------------------------
// Painting

void CLabelUI::PaintText(HDC hDC)
{
    UseDefaultTextColors();
    RECT rcText = GetTextRect();
    if (m_bEnabledEffect) {
        PaintEffectText(hDC, rcText);
        return;
    }
    if (m_sText.IsEmpty()) return;
    // A label is one line whatever its style says.
    DrawLabelText(hDC, rcText, GetStateTextColor(), m_uTextStyle | DT_SINGLELINE);
}

void CLabelUI::UseDefaultTextColors()
{
    if (m_pManager == NULL) return;
    if (m_dwTextColor == 0) m_dwTextColor = m_pManager->GetDefaultFontColor();
    if (m_dwDisabledTextColor == 0) m_dwDisabledTextColor = m_pManager->GetDefaultDisabledColor();
}

DWORD CLabelUI::GetStateTextColor() const
{
    return IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
}

RECT CLabelUI::GetTextRect() const
{
    return ShrinkRect(m_rcItem, m_rcTextPadding);
}

void CLabelUI::DrawLabelText(HDC hDC, RECT& rc, DWORD dwColor, UINT uStyle)
{
    if (m_bShowHtml) {
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, m_sText, dwColor, NULL, NULL, nLinks, uStyle);
    }
    else {
        CRenderEngine::DrawTextW(hDC, m_pManager, rc, m_sText, dwColor, m_iFont, uStyle);
    }
}

// ---------------------------------------------------------------------------
// Effect mode

void CLabelUI::SetEnabledEffect(bool bEnable) { m_bEnabledEffect = bEnable; }
bool CLabelUI::GetEnabledEffect() const { return m_bEnabledEffect; }
void CLabelUI::SetEnabledStroke(bool bEnable) { m_bEnabledStroke = bEnable; }
bool CLabelUI::GetEnabledStroke() const { return m_bEnabledStroke; }
void CLabelUI::SetEnabledShadow(bool bEnable) { m_bEnabledShadow = bEnable; }
bool CLabelUI::GetEnabledShadow() const { return m_bEnabledShadow; }
void CLabelUI::SetTextColor1(DWORD dwColor) { m_dwTextColor1 = dwColor; }
DWORD CLabelUI::GetTextColor1() const { return m_dwTextColor1; }
void CLabelUI::SetTextShadowColorA(DWORD dwColor) { m_dwTextShadowColorA = dwColor; }
DWORD CLabelUI::GetTextShadowColorA() const { return m_dwTextShadowColorA; }
void CLabelUI::SetTextShadowColorB(DWORD dwColor) { m_dwTextShadowColorB = dwColor; }
DWORD CLabelUI::GetTextShadowColorB() const { return m_dwTextShadowColorB; }
void CLabelUI::SetStrokeColor(DWORD dwColor) { m_dwStrokeColor = dwColor; }
DWORD CLabelUI::GetStrokeColor() const { return m_dwStrokeColor; }
void CLabelUI::SetTransShadow(int nTrans) { m_nTransShadow = nTrans; }
int CLabelUI::GetTransShadow() const { return m_nTransShadow; }
void CLabelUI::SetTransShadow1(int nTrans) { m_nTransShadow1 = nTrans; }
int CLabelUI::GetTransShadow1() const { return m_nTransShadow1; }
void CLabelUI::SetTransText(int nTrans) { m_nTransText = nTrans; }
int CLabelUI::GetTransText() const { return m_nTransText; }
void CLabelUI::SetTransText1(int nTrans) { m_nTransText1 = nTrans; }
int CLabelUI::GetTransText1() const { return m_nTransText1; }
void CLabelUI::SetTransStroke(int nTrans) { m_nTransStroke = nTrans; }
int CLabelUI::GetTransStroke() const { return m_nTransStroke; }
void CLabelUI::SetGradientAngle(int nAngle) { m_nGradientAngle = nAngle; }
int CLabelUI::GetGradientAngle() const { return m_nGradientAngle; }
void CLabelUI::SetGradientLength(int nLength) { m_nGradientLength = nLength; }
int CLabelUI::GetGradientLength() const { return m_nGradientLength; }

void CLabelUI::SetTextRenderingHintAntiAlias(int nHint)
{
    m_nTextRenderingHint = nHint >= Gdiplus::TextRenderingHintSystemDefault &&
                                   nHint <= Gdiplus::TextRenderingHintClearTypeGridFit
                               ? nHint
                               : Gdiplus::TextRenderingHintSystemDefault;
}

int CLabelUI::GetTextRenderingHintAntiAlias() const
{
    return m_nTextRenderingHint;
}

void CLabelUI::SetShadowOffset(int nOffset, int nAngle)
{
    if (nAngle < -180 || nAngle > 180) return;
    const float fOffset = static_cast<float>(nOffset);
    const float dy = nAngle >= 0 ? -fOffset : nAngle > -180 ? fOffset : 0.0f;
    const float dx = nAngle > -90 && nAngle <= 90 ? -fOffset : nAngle == -90 ? 0.0f : fOffset;
    m_rfShadowOffset.X = dx;
    m_rfShadowOffset.Y = dy;
}

Gdiplus::RectF CLabelUI::GetShadowOffset() const
{
    return m_rfShadowOffset;
}

void CLabelUI::PaintEffectText(HDC hDC, const RECT& rcText)
{
    if (!m_bGdiplusStarted) return;
    // Every GDI+ object is checked after its creation: a failed one draws nothing.
    HGDIOBJ hFont = m_pManager != NULL ? m_pManager->GetFont(m_iFont) : NULL;
    if (hFont == NULL) hFont = ::GetCurrentObject(hDC, OBJ_FONT);
    LOGFONTW lf = {};
    if (::GetObjectW(hFont, sizeof(lf), &lf) == 0) return;
    Gdiplus::Font font(hDC, &lf);
    if (font.GetLastStatus() != Gdiplus::Ok) return;
    Gdiplus::Graphics graphics(hDC);
    if (graphics.GetLastStatus() != Gdiplus::Ok) return;
    graphics.SetTextRenderingHint(static_cast<Gdiplus::TextRenderingHint>(m_nTextRenderingHint));
    Gdiplus::StringFormat format(0, LANG_NEUTRAL);
    if (format.GetLastStatus() != Gdiplus::Ok) return;
    format.SetAlignment(static_cast<Gdiplus::StringAlignment>(m_nEffectHAlign));
    format.SetLineAlignment(static_cast<Gdiplus::StringAlignment>(m_nEffectVAlign));

    const int cyText = ClampToInt(static_cast<long long>(rcText.bottom) - rcText.top);
    Gdiplus::RectF rcBox(static_cast<float>(rcText.left), static_cast<float>(rcText.top),
                         static_cast<float>(ClampToInt(static_cast<long long>(rcText.right) - rcText.left)),
                         static_cast<float>(cyText));
    Gdiplus::RectF rcShadow = rcBox;
    rcShadow.Offset(m_rfShadowOffset.X, m_rfShadowOffset.Y);
    const int nLength = m_nGradientLength != 0 ? m_nGradientLength : cyText;
    const Gdiplus::Point ptStart(m_nGradientAngle, 0);

    Gdiplus::LinearGradientBrush shadowBrush(
        ptStart, Gdiplus::Point(0, nLength), EffectColor(m_nTransShadow, m_dwTextShadowColorA),
        EffectColor(m_nTransShadow1, m_dwTextShadowColorB == 0xFFFFFFFF ? m_dwTextShadowColorA : m_dwTextShadowColorB));
    Gdiplus::LinearGradientBrush textBrush(
        ptStart, Gdiplus::Point(0, nLength), EffectColor(m_nTransText, m_dwTextColor),
        EffectColor(m_nTransText1, m_dwTextColor1 == 0xFFFFFFFF ? m_dwTextColor : m_dwTextColor1));
    const wchar_t* pstrText = m_sTextValue;

    if (m_bEnabledStroke && m_dwStrokeColor != 0) {
        const Gdiplus::Color strokeColor = EffectColor(m_nTransStroke, m_dwStrokeColor);
        Gdiplus::LinearGradientBrush strokeBrush(ptStart, Gdiplus::Point(0, ClampToInt(cyText + 2LL)), strokeColor,
                                                 strokeColor);
        if (strokeBrush.GetLastStatus() == Gdiplus::Ok) {
            // A one-pixel outline: the text drawn to the left, right, above and below.
            const POINT aOffsets[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
            for (const POINT& pt : aOffsets) {
                Gdiplus::RectF rc = rcBox;
                rc.Offset(static_cast<float>(pt.x), static_cast<float>(pt.y));
                graphics.DrawString(pstrText, -1, &font, rc, &format, &strokeBrush);
            }
        }
    }
    if (m_bEnabledShadow && (m_dwTextShadowColorA != 0 || m_dwTextShadowColorB != 0) &&
        shadowBrush.GetLastStatus() == Gdiplus::Ok) {
        graphics.DrawString(pstrText, -1, &font, rcShadow, &format, &shadowBrush);
    }
    if (textBrush.GetLastStatus() == Gdiplus::Ok) graphics.DrawString(pstrText, -1, &font, rcBox, &format, &textBrush);
}

} // namespace SkinLib
