#pragma once

#include <windows.h>

namespace SkinLib {

// A resource name: either a pointer to a text or a 16-bit identifier carried
// in the pointer value (the MAKEINTRESOURCE form).
class STRINGorID
{
public:
    STRINGorID(const wchar_t* lpString) : m_lpszNameOrId(lpString) {}
    STRINGorID(unsigned int nID) : m_lpszNameOrId(MAKEINTRESOURCEW(nID)) {}

    // The whole pointer must be below 0x10000; testing bits 16-31 alone
    // would take a 64-bit text address for an identifier.
    bool IsId() const { return IS_INTRESOURCE(m_lpszNameOrId); }

    const wchar_t* m_lpszNameOrId;
};

} // namespace SkinLib
