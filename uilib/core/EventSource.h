#pragma once

#include "core/Delegate.h"
#include "core/DispatchList.h"
#include "core/StdPtrArray.h"

namespace SkinLib {

// An ordered list of delegates, fired in turn until one vetoes. The source
// owns clones of what was added.
class CEventSource
{
public:
    typedef bool (*FnType)(void*);

    CEventSource();
    ~CEventSource();
    // A copy would delete the same delegates twice.
    CEventSource(const CEventSource&) = delete;
    CEventSource& operator=(const CEventSource&) = delete;

    operator bool() const;
    void operator+=(const CDelegateBase& d);
    void operator+=(FnType pFn);
    void operator-=(const CDelegateBase& d);
    void operator-=(FnType pFn);
    bool operator()(void* param);

private:
    CDispatchList m_aDelegates;
    // Delegates removed while the source fires; deleted once the outermost
    // firing is over, since one of them may be the caller.
    CStdPtrArray m_aRetired;
};

} // namespace SkinLib
