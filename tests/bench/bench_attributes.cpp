// What a skin's attributes cost a control while the dialog builder applies them:
// ApplyAttributeList of a typical button list of ten attributes, on a fresh
// control each time, with a manager attached as during building. Half the names
// are the base's own; the others are left to the button and fall through the
// base's whole vocabulary, which is the slow case.
#include <windows.h>

#include <stdio.h>

#include "BenchClock.h"
#include "controls/ControlUI.h"

using namespace SkinLib;
using SkinLibBench::BestMicroseconds;

namespace {

const int kCalls = 20000;
const int kRounds = 5;
const int kAttributes = 10;

const wchar_t kButtonList[] =
    L"name=\"btn_Enroll\" text=\"Enroll\" float=\"true\" pos=\"20,100,120,130\" tooltip=\"Enroll a finger<n>now\" "
    L"normalimage=\"file='btn.png' source='0,0,100,30'\" hotimage=\"file='btn.png' source='0,30,100,60'\" "
    L"pushedimage=\"file='btn.png' source='0,60,100,90'\" textcolor=\"#FFFFFFFF\" font=\"1\"";

} // namespace

int main()
{
    CPaintManagerUI pm;
    volatile int nSink = 0;
    const double dConstruct = BestMicroseconds(kCalls, kRounds, [&] {
        CControlUI control;
        control.SetManager(&pm, NULL, false);
        nSink = nSink + control.GetFixedWidth();
    });
    const double dApply = BestMicroseconds(kCalls, kRounds, [&] {
        CControlUI control;
        control.SetManager(&pm, NULL, false);
        control.ApplyAttributeList(kButtonList);
        nSink = nSink + control.GetFixedWidth();
    });
    const double dList = dApply - dConstruct;
    printf("ApplyAttributeList, %d-attribute button list: %.3f us per list, %.3f us per attribute "
           "(control construction %.3f us taken off)\n",
           kAttributes, dList, dList / kAttributes, dConstruct);
    return 0;
}
