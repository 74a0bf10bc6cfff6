#pragma once
// Flat and nested control trees that fill a client area, for the benchmarks.
#include <math.h>

#include <vector>

#include "../core/TestControls.h"

namespace SkinLibBench {

using SkinLib::CControlUI;
using SkinLibTest::CBoxUI;

const int kTreeWidth = 800;
const int kTreeHeight = 600;

// A grid box just large enough for nItems cells of a cx by cy area.
inline CBoxUI* NewGridBox(int nItems, int cx, int cy)
{
    int nSide = static_cast<int>(ceil(sqrt(static_cast<double>(nItems))));
    if (nSide < 1) nSide = 1;
    return new CBoxUI(cx / nSide > 0 ? cx / nSide : 1, cy / nSide > 0 ? cy / nSide : 1);
}

// The root and nControls - 1 leaves side by side; the leaves are listed in paLeaves when given.
template <class Leaf> CBoxUI* BuildFlat(int nControls, std::vector<CControlUI*>* paLeaves = NULL)
{
    CBoxUI* pRoot = NewGridBox(nControls - 1, kTreeWidth, kTreeHeight);
    for (int i = 1; i < nControls; i++) {
        Leaf* pLeaf = new Leaf;
        pRoot->Add(pLeaf);
        if (paLeaves != NULL) paLeaves->push_back(pLeaf);
    }
    return pRoot;
}

// Levels of boxes with ten children each; the leaves fill the deepest level.
template <class Leaf> CBoxUI* BuildNested(int nControls, std::vector<CControlUI*>* paLeaves = NULL)
{
    const int kFanOut = 10;
    int nLevels = 1;
    int nBoxes = 1;
    int nDeepest = 1;
    // A level is added only while every new deepest box still gets a leaf.
    while (nBoxes + 2 * nDeepest * kFanOut <= nControls) {
        nDeepest *= kFanOut;
        nBoxes += nDeepest;
        nLevels++;
    }
    const int nLeaves = nControls - nBoxes;

    CBoxUI* pRoot = NewGridBox(kFanOut, kTreeWidth, kTreeHeight);
    std::vector<CBoxUI*> aLevel(1, pRoot);
    int cx = kTreeWidth / 4, cy = kTreeHeight / 4;
    for (int nLevel = 1; nLevel < nLevels; nLevel++) {
        std::vector<CBoxUI*> aNext;
        for (CBoxUI* pBox : aLevel) {
            for (int i = 0; i < kFanOut; i++) {
                CBoxUI* pChild = NewGridBox(kFanOut, cx, cy);
                pBox->Add(pChild);
                aNext.push_back(pChild);
            }
        }
        aLevel.swap(aNext);
        cx /= 4;
        cy /= 4;
    }
    for (int i = 0; i < nLeaves; i++) {
        Leaf* pLeaf = new Leaf;
        aLevel[i % aLevel.size()]->Add(pLeaf);
        if (paLeaves != NULL) paLeaves->push_back(pLeaf);
    }
    return pRoot;
}

} // namespace SkinLibBench
