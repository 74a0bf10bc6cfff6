#pragma once

#include <windows.h>

namespace SkinLib {

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor
{
public:
    CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    ~CWaitCursor();

protected:
    HCURSOR m_hOrigCursor;
};

} // namespace SkinLib
