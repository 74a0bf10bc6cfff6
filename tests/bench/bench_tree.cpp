// Tree views of about 1,000 and 10,000 nodes under one root: 10 x 10 x 10
// (1,111 nodes with the root and the inner nodes) and 100 x 10 x 10 (11,101),
// with check boxes, in a window 400 by 600. Figures per node of the tree:
//   build     the dialog builder making the tree from a generated skin
//   first     attaching it: the first layout and paint
//   collapse  the root's folder button checked (every other row hidden),
//             with the layout and paint that follow
//   expand    the same button cleared (every row shown again)
//   remove    one branch of 111 nodes (a child of the root with its 10
//             children and their 100 leaves) removed, with the layout and paint
// and the heap bytes per node the built tree holds.
// Goals: each figure within 1.5x per node from 1,000 to 10,000; build at
// most 25 us per node; collapse and expand at most 5 us per node each.
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <string>

#include "../core/TestControls.h"
#include "BenchClock.h"
#include "controls/OptionUI.h"
#include "core/DialogBuilder.h"
#include "extended/TreeNodeUI.h"
#include "extended/TreeViewUI.h"

using namespace SkinLib;
using namespace SkinLibTest;
using SkinLibBench::HeapBytesInUse;
using SkinLibBench::Now;

namespace {

const int kClientWidth = 400;
const int kClientHeight = 600;
const int kRounds = 5;

std::wstring Skin(int nBranches)
{
    std::wstring s = L"<Window><TreeView vscrollbar=\"true\" visiblecheckbtn=\"true\"><TreeNode text=\"root\">";
    for (int i = 0; i < nBranches; i++) {
        const std::wstring sBranch = std::to_wstring(i);
        s += L"<TreeNode text=\"branch " + sBranch + L"\">";
        for (int j = 0; j < 10; j++) {
            s += L"<TreeNode text=\"node " + sBranch + L"." + std::to_wstring(j) + L"\">";
            for (int k = 0; k < 10; k++) s += L"<TreeNode text=\"leaf " + std::to_wstring(k) + L"\"/>";
            s += L"</TreeNode>";
        }
        s += L"</TreeNode>";
    }
    return s + L"</TreeNode></TreeView></Window>";
}

struct Figures
{
    int nNodes;
    double dBuild, dFirst, dCollapse, dExpand, dRemove;  // microseconds per node
    double dBytes;                                        // heap bytes per node
};

// A window with a tree built from its skin.
class CTreeWindow
{
public:
    CTreeWindow() : m_wnd(m_pm, kClientWidth, kClientHeight) {}

    // The time the builder took, in microseconds.
    double Build(const std::wstring& sSkin)
    {
        CDialogBuilder builder;
        const double dStart = Now();
        CControlUI* pRoot = builder.Create(sSkin.c_str(), NULL, NULL, &m_pm);
        const double dTime = Now() - dStart;
        m_pTree = static_cast<CTreeViewUI*>(pRoot->GetInterface(L"TreeView"));
        return dTime;
    }
    double Attach()
    {
        const double dStart = Now();
        m_pm.AttachDialog(m_pTree);
        RepaintNow(m_wnd);
        return Now() - dStart;
    }
    CTreeNodeUI* Root() const { return static_cast<CTreeNodeUI*>(m_pTree->GetItemAt(0)); }
    // The root's folder checked or cleared as a click would, then laid out and painted.
    double Fold(bool bCollapse)
    {
        const double dStart = Now();
        Root()->GetFolderButton()->Selected(bCollapse);
        ::UpdateWindow(m_wnd);
        return Now() - dStart;
    }
    double RemoveBranch()
    {
        const double dStart = Now();
        m_pTree->Remove(Root()->GetChildNode(0));
        ::UpdateWindow(m_wnd);
        return Now() - dStart;
    }

    CPaintManagerUI m_pm;
    CHostWindow m_wnd;
    CTreeViewUI* m_pTree = NULL;
};

Figures Measure(int nBranches)
{
    const std::wstring sSkin = Skin(nBranches);
    Figures f = {};
    f.nNodes = 1 + nBranches * (1 + 10 * (1 + 10));
    const double n = f.nNodes;
    f.dBuild = f.dFirst = f.dCollapse = f.dExpand = f.dRemove = 1e300;
    for (int round = 0; round < kRounds; round++) {
        const double dBytesBefore = HeapBytesInUse();
        CTreeWindow w;
        f.dBuild = std::min(f.dBuild, w.Build(sSkin) / n);
        f.dBytes = (HeapBytesInUse() - dBytesBefore) / n;
        f.dFirst = std::min(f.dFirst, w.Attach() / n);
        if (w.m_pTree->GetCount() != f.nNodes) printf("warning: %d rows for %d nodes\n", w.m_pTree->GetCount(), f.nNodes);
        f.dCollapse = std::min(f.dCollapse, w.Fold(true) / n);
        f.dExpand = std::min(f.dExpand, w.Fold(false) / n);
        f.dRemove = std::min(f.dRemove, w.RemoveBranch() / n);
        if (w.m_pTree->GetCount() != f.nNodes - 111) printf("warning: %d rows left\n", w.m_pTree->GetCount());
    }
    return f;
}

} // namespace

int main()
{
    printf("Tree views under one root, 10 or 100 branches of 10 x 10, %dx%d client; microseconds per node\n\n",
           kClientWidth, kClientHeight);
    printf("%8s %8s %8s %9s %8s %8s %14s\n", "nodes", "build", "first", "collapse", "expand", "remove",
           "bytes per node");
    const Figures aFigures[2] = {Measure(10), Measure(100)};
    for (const Figures& f : aFigures) {
        printf("%8d %8.3f %8.3f %9.3f %8.3f %8.3f %14.0f\n", f.nNodes, f.dBuild, f.dFirst, f.dCollapse, f.dExpand,
               f.dRemove, f.dBytes);
    }
    printf("\n");

    const Figures &a = aFigures[0], &b = aFigures[1];
    bool bAll = true;
    auto goal = [&bAll](const char* pstrWhat, bool bMet, double dValue) {
        printf("%-48s %10.3f  %s\n", pstrWhat, dValue, bMet ? "met" : "MISSED");
        bAll = bAll && bMet;
    };
    const struct { const char* pstrName; double dSmall, dLarge; } growth[] = {
        {"build", a.dBuild, b.dBuild},          {"first", a.dFirst, b.dFirst}, {"collapse", a.dCollapse, b.dCollapse},
        {"expand", a.dExpand, b.dExpand},       {"remove", a.dRemove, b.dRemove},
    };
    for (const auto& g : growth) {
        char szWhat[64];
        snprintf(szWhat, sizeof(szWhat), "%s per node, 10,000 against 1,000 (<= 1.5x)", g.pstrName);
        goal(szWhat, g.dLarge <= 1.5 * g.dSmall, g.dLarge / g.dSmall);
    }
    goal("build per node at 10,000 (<= 25 us)", b.dBuild <= 25.0, b.dBuild);
    goal("collapse per node at 10,000 (<= 5 us)", b.dCollapse <= 5.0, b.dCollapse);
    goal("expand per node at 10,000 (<= 5 us)", b.dExpand <= 5.0, b.dExpand);
    return bAll ? 0 : 1;
}
