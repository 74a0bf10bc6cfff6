// What the PIN pipe costs a dialog: connecting to a service that already
// listens (the dialog shows only after that), and one PIN exchange with a
// service that answers at once (part of the time from Enter to the dialog
// closing, which should stay under 50 ms).
#include <windows.h>

#include <stdio.h>

#include <string>

#include "../pin/KeyService.h"
#include "BenchClock.h"
#include "PinPipeClient.h"

using namespace SkinLibTest;
using SkinLibBench::BestMicroseconds;
using SkinLibBench::Now;

namespace {

const int kConnections = 5;
const int kCalls = 40;
const int kRounds = 5;

} // namespace

int main()
{
    std::wstring pipeName = UniquePipeName();
    std::wstring script;
    for (int i = 0; i < kConnections; i++) script += L"listen; request; reply 01;";
    script += L"listen;";
    for (int i = 0; i < kCalls * kRounds; i++) script += L"request; reply 00 39;";
    CKeyService service;
    if (!service.Start(pipeName, script, 0, 60000)) {
        printf("keyservice.exe did not start\n");
        return 1;
    }

    double dBestOpen = 1e300;
    for (int i = 1; i <= kConnections; i++) {
        if (!service.WaitFor("listening", i)) return 1;
        CPinPipeClient client(pipeName.c_str(), 5000);
        const double dStart = Now();
        if (!client.Open()) return 1;
        const double dOpen = Now() - dStart;
        if (dOpen < dBestOpen) dBestOpen = dOpen;
        client.Exchange(L"1234", 4);
    }

    if (!service.WaitFor("listening", kConnections + 1)) return 1;
    CPinPipeClient client(pipeName.c_str(), 5000);
    if (!client.Open()) return 1;
    int nRefusals = 0;
    const double dExchange = BestMicroseconds(kCalls, kRounds, [&] {
        nRefusals += client.Exchange(L"1234", 4).bStatus == PIN_REPLY_REFUSED;
    });
    client.Close();

    printf("connect to a listening service: %8.1f us (best of %d)\n", dBestOpen, kConnections);
    printf("one PIN exchange:               %8.1f us (best of %d rounds of %d; %d refusals read)\n", dExchange,
           kRounds, kCalls, nRefusals);
    return nRefusals == kCalls * kRounds ? 0 : 1;
}
