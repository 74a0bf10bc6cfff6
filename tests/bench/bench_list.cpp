// A list of 1,000 and of 10,000 text rows with a header of four columns, in
// a window 400 by 600, the rows' texts from a text callback. Figures per row:
//   build    the dialog builder making the list from a generated skin
//   first    attaching it: the first layout and paint
//   layout   a full layout through the window's layout pass, with its paint
//   select   SelectItem of the middle row from the top: scrolled into view and repainted
//   wheel    one wheel step sent to the window, with its repaint
//   sort     SortItems of shuffled rows, with the new layout and the repaint
//   clear    RemoveAll, the rows deleted by the delayed clean-up, and the repaint
// and the paint of the whole window against the same list with 20 rows.
// Goals: each figure within 1.5x per row from 1,000 to 10,000; layout at most
// 5 us per row; a wheel step at most 2 us per row and no dearer than a layout;
// sort at most 3 us per row; build at most 20 us per row; the paint of 10,000
// rows within 2x of the paint of 20.
#include <windows.h>

#include <stdio.h>

#include <random>
#include <string>
#include <vector>

#include "../core/TestControls.h"
#include "BenchClock.h"
#include "core/DialogBuilder.h"
#include "extended/ListUI.h"

using namespace SkinLib;
using namespace SkinLibTest;
using SkinLibBench::BestMicroseconds;
using SkinLibBench::Now;

namespace {

const int kClientWidth = 400;
const int kClientHeight = 600;
const int kRounds = 5;

// Every row's four texts, made once for the largest list.
class CRowTexts : public IListCallbackUI
{
public:
    explicit CRowTexts(int nRows)
    {
        for (int i = 0; i < nRows; i++) {
            m_aTexts.push_back(std::to_wstring(i + 1));
            m_aTexts.push_back(L"user" + std::to_wstring(i % 97) + L"@example.org");
            m_aTexts.push_back(L"relying party " + std::to_wstring(i % 13));
            m_aTexts.push_back(L"2024-" + std::to_wstring(1 + i % 12) + L"-" + std::to_wstring(1 + i % 28));
        }
    }
    const wchar_t* GetCellText(CControlUI*, int iIndex, int iSubItem) override
    {
        const size_t i = static_cast<size_t>(iIndex) * 4 + iSubItem;
        return i < m_aTexts.size() ? m_aTexts[i].c_str() : NULL;
    }

private:
    std::vector<std::wstring> m_aTexts;
};

std::wstring Skin(int nRows)
{
    std::wstring s = L"<Window><List vscrollbar=\"true\" itemaltbk=\"true\" itembkcolor=\"#FFF4F7FA\" "
                     L"itemlinecolor=\"#FFE6EBF0\"><ListHeader height=\"28\"><ListHeaderItem text=\"#\" width=\"50\"/>"
                     L"<ListHeaderItem text=\"Credential\" width=\"150\"/><ListHeaderItem text=\"Party\" width=\"110\"/>"
                     L"<ListHeaderItem text=\"Used\"/></ListHeader>";
    for (int i = 0; i < nRows; i++) s += L"<ListTextElement/>";
    return s + L"</List></Window>";
}

// The order SortItems is asked for: the tags, shuffled before each sort.
int CALLBACK ByTag(UINT_PTR a, UINT_PTR b, UINT_PTR)
{
    const UINT ua = reinterpret_cast<CControlUI*>(a)->GetTag(), ub = reinterpret_cast<CControlUI*>(b)->GetTag();
    return ua < ub ? -1 : ua > ub ? 1 : 0;
}

struct Figures
{
    int nRows;
    double dBuild, dFirst, dLayout, dSelect, dWheel, dSort, dClear, dPaint;  // microseconds per row; paint whole
};

// A window with a list of nRows built from its skin; the rounds time what they are given.
class CListWindow
{
public:
    explicit CListWindow(CRowTexts& texts) : m_texts(texts), m_wnd(m_pm, kClientWidth, kClientHeight) {}

    // Builds the list; the time the builder took, in microseconds.
    double Build(int nRows)
    {
        const std::wstring sSkin = Skin(nRows);
        CDialogBuilder builder;
        const double dStart = Now();
        CControlUI* pRoot = builder.Create(sSkin.c_str(), NULL, NULL, &m_pm);
        const double dTime = Now() - dStart;
        m_pList = static_cast<CListUI*>(pRoot->GetInterface(L"List"));
        m_pList->SetTextCallback(&m_texts);
        return dTime;
    }
    // Attaches and paints it; the time that took.
    double Attach()
    {
        const double dStart = Now();
        m_pm.AttachDialog(m_pList);
        ::UpdateWindow(m_wnd);
        RepaintNow(m_wnd);
        return Now() - dStart;
    }

    CPaintManagerUI m_pm;
    CRowTexts& m_texts;
    CHostWindow m_wnd;
    CListUI* m_pList = NULL;
};

Figures Measure(CRowTexts& texts, int nRows)
{
    Figures f = {};
    f.nRows = nRows;
    f.dBuild = f.dFirst = f.dClear = 1e300;
    // Build, first layout and clearing take a fresh list each round.
    for (int round = 0; round < kRounds; round++) {
        CListWindow w(texts);
        f.dBuild = std::min(f.dBuild, w.Build(nRows) / nRows);
        f.dFirst = std::min(f.dFirst, w.Attach() / nRows);
        const double dStart = Now();
        w.m_pList->RemoveAll();
        PumpMessages();
        ::UpdateWindow(w.m_wnd);
        f.dClear = std::min(f.dClear, (Now() - dStart) / nRows);
    }

    CListWindow w(texts);
    w.Build(nRows);
    w.Attach();
    CListUI* pList = w.m_pList;
    HWND hWnd = w.m_wnd;
    const int nCalls = nRows >= 10000 ? 5 : 20;
    f.dLayout = BestMicroseconds(nCalls, kRounds, [&] {
        pList->NeedUpdate();
        ::UpdateWindow(hWnd);
    }) / nRows;
    f.dPaint = BestMicroseconds(nCalls, kRounds, [&] { RepaintNow(hWnd); });

    f.dSelect = 1e300;
    for (int round = 0; round < kRounds; round++) {
        pList->SelectItem(0);
        pList->HomeUp();
        ::UpdateWindow(hWnd);
        const double dStart = Now();
        pList->SelectItem(nRows / 2);
        ::UpdateWindow(hWnd);
        f.dSelect = std::min(f.dSelect, (Now() - dStart) / nRows);
    }

    POINT ptWheel = {kClientWidth / 2, kClientHeight / 2};
    ::ClientToScreen(hWnd, &ptWheel);
    ::SetCursorPos(ptWheel.x, ptWheel.y);
    ::SendMessageW(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(kClientWidth / 2, kClientHeight / 2));
    int nTurn = 0;
    f.dWheel = BestMicroseconds(nCalls * 4, kRounds, [&] {
        // Down twice, up twice.
        const short nDelta = (nTurn++ / 2) % 2 == 0 ? -WHEEL_DELTA : WHEEL_DELTA;
        ::SendMessageW(hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, nDelta), MAKELPARAM(ptWheel.x, ptWheel.y));
        ::UpdateWindow(hWnd);
    }) / nRows;

    std::mt19937 random(12345);
    f.dSort = 1e300;
    for (int round = 0; round < kRounds; round++) {
        for (int i = 0; i < nRows; i++) pList->GetItemAt(i)->SetTag(random());
        const double dStart = Now();
        pList->SortItems(ByTag, 0);
        ::UpdateWindow(hWnd);
        f.dSort = std::min(f.dSort, (Now() - dStart) / nRows);
    }
    for (int i = 1; i < nRows; i++) {
        if (pList->GetItemAt(i - 1)->GetTag() > pList->GetItemAt(i)->GetTag()) {
            printf("warning: the rows are not in order after SortItems\n");
            break;
        }
    }
    return f;
}

} // namespace

int main()
{
    CRowTexts texts(10000);
    printf("A list of text rows with a header of four columns, %dx%d client; microseconds per row\n\n",
           kClientWidth, kClientHeight);
    printf("%8s %8s %8s %8s %8s %8s %8s %8s %10s\n", "rows", "build", "first", "layout", "select", "wheel", "sort",
           "clear", "paint (us)");
    Figures small = {}, aFigures[2] = {Measure(texts, 1000), Measure(texts, 10000)};
    for (const Figures& f : aFigures) {
        printf("%8d %8.3f %8.3f %8.3f %8.3f %8.3f %8.3f %8.3f %10.0f\n", f.nRows, f.dBuild, f.dFirst, f.dLayout,
               f.dSelect, f.dWheel, f.dSort, f.dClear, f.dPaint);
    }
    // The paint of a list whose rows all show.
    small = Measure(texts, 20);
    printf("%8d %8s %8s %8s %8s %8s %8s %8s %10.0f\n\n", small.nRows, "-", "-", "-", "-", "-", "-", "-",
           small.dPaint);

    const Figures &a = aFigures[0], &b = aFigures[1];
    bool bAll = true;
    auto goal = [&bAll](const char* pstrWhat, bool bMet, double dValue) {
        printf("%-44s %10.3f  %s\n", pstrWhat, dValue, bMet ? "met" : "MISSED");
        bAll = bAll && bMet;
    };
    const struct { const char* pstrName; double dSmall, dLarge; } growth[] = {
        {"build", a.dBuild, b.dBuild},   {"first", a.dFirst, b.dFirst}, {"layout", a.dLayout, b.dLayout},
        {"select", a.dSelect, b.dSelect}, {"wheel", a.dWheel, b.dWheel}, {"sort", a.dSort, b.dSort},
        {"clear", a.dClear, b.dClear},
    };
    for (const auto& g : growth) {
        char szWhat[64];
        snprintf(szWhat, sizeof(szWhat), "%s per row, 10,000 against 1,000 (<= 1.5x)", g.pstrName);
        goal(szWhat, g.dLarge <= 1.5 * g.dSmall, g.dLarge / g.dSmall);
    }
    goal("layout per row at 10,000 (<= 5 us)", b.dLayout <= 5.0, b.dLayout);
    goal("wheel step per row at 10,000 (<= 2 us)", b.dWheel <= 2.0, b.dWheel);
    goal("wheel step against a layout at 10,000 (<= 1x)", b.dWheel <= b.dLayout, b.dWheel / b.dLayout);
    goal("sort per row at 10,000 (<= 3 us)", b.dSort <= 3.0, b.dSort);
    goal("build per row at 10,000 (<= 20 us)", b.dBuild <= 20.0, b.dBuild);
    goal("paint of 10,000 rows against 20 (<= 2x)", b.dPaint <= 2.0 * small.dPaint, b.dPaint / small.dPaint);
    return bAll ? 0 : 1;
}
