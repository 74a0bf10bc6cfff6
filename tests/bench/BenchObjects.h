#pragma once
// The process's GDI and USER objects, for the benchmarks that check a cycle
// of creating and destroying leaves none behind.
#include <windows.h>

namespace SkinLibBench {

struct GuiObjectCounts
{
    DWORD dwGdi;
    DWORD dwUser;
};

namespace Detail {

// One entry of the GDI handle table the system shares with the process.
struct GdiHandleEntry
{
    UINT64 u64Object;
    USHORT wProcessId;
    USHORT wCount;
    USHORT wUnique;
    UCHAR bType;
    UCHAR bFlags;
    UINT64 u64UserPointer;
};
const size_t kGdiHandleEntries = 0x10000;
const size_t kPebGdiSharedHandleTable = 0xF8;

inline DWORD CountGdiTableEntries()
{
    // The process block from the thread's own segment, as NtCurrentTeb reads it.
    const BYTE* pPeb = NULL;
    __asm__("movq %%gs:0x60, %0" : "=r"(pPeb));
    const GdiHandleEntry* pTable = *reinterpret_cast<const GdiHandleEntry* const*>(pPeb + kPebGdiSharedHandleTable);
    if (pTable == NULL) return 0;
    // Wine leaves the owner at 0 in a table of the process's own.
    const USHORT wProcessId = static_cast<USHORT>(::GetCurrentProcessId());
    DWORD n = 0;
    for (size_t i = 0; i < kGdiHandleEntries; i++) {
        const GdiHandleEntry& entry = pTable[i];
        if (entry.bType != 0 && (entry.wProcessId == 0 || entry.wProcessId == wProcessId)) n++;
    }
    return n;
}

inline BOOL CALLBACK CountChildWindow(HWND /*hWnd*/, LPARAM lParam)
{
    ++*reinterpret_cast<DWORD*>(lParam);
    return TRUE;
}

inline BOOL CALLBACK CountWindow(HWND hWnd, LPARAM lParam)
{
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId != ::GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<DWORD*>(lParam);
    // Every descendant, not only the children.
    ::EnumChildWindows(hWnd, CountChildWindow, lParam);
    return TRUE;
}

} // namespace Detail

// Wine answers GetGuiResources with 0; there the shared handle table and the
// process's windows are counted instead.
inline GuiObjectCounts CountGuiObjects()
{
    GuiObjectCounts counts = {::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
                              ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)};
    if (counts.dwGdi == 0) counts.dwGdi = Detail::CountGdiTableEntries();
    if (counts.dwUser == 0) ::EnumWindows(Detail::CountWindow, reinterpret_cast<LPARAM>(&counts.dwUser));
    return counts;
}

} // namespace SkinLibBench
