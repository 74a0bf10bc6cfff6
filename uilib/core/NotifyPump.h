#pragma once
// Notifications routed to member handlers through static tables, one per
// class, searched from the most derived class's table to its bases.
#include "core/PaintManagerUI.h"
#include "core/SkinString.h"
#include "core/StdStringPtrMap.h"

namespace SkinLib {

class CNotifyPump;

// How a table entry calls its handler.
enum SKIN_HANDLER_SIG : UINT
{
    SKIN_SIG_END = 0,            // ends a table; never called
    SKIN_SIG_WPARAM_LPARAM = 1,  // handler(wNotifyParam, lNotifyParam)
    SKIN_SIG_NOTIFY = 2,         // handler(notification)
};

typedef void (CNotifyPump::*SKIN_PMSG_NOTIFY)(tagTNotifyUI&);
typedef void (CNotifyPump::*SKIN_PMSG_PARAMS)(WPARAM, LPARAM);

// A handler in one of its two forms; the entry's signature tells which.
union SKIN_MSG_HANDLER
{
    SKIN_PMSG_NOTIFY pfnNotify;
    SKIN_PMSG_PARAMS pfnParams;
};

struct SKIN_MSGMAP_ENTRY
{
    CSkinString sMatchType;         // notification type, compared exactly
    CSkinString sMatchControlName;  // sender name, compared exactly; empty matches any sender
    UINT nHandlerSig;               // SKIN_HANDLER_SIG
    SKIN_MSG_HANDLER pfnHandler;
};

struct SKIN_MSGMAP
{
    const SKIN_MSGMAP* (*pfnBaseMapGetter)();  // null at the root
    const SKIN_MSGMAP_ENTRY* pEntryTable;
};

// A handler of a class derived from CNotifyPump, in the stored form.
// static_cast adjusts the object pointer when CNotifyPump is not the class's
// first base, which a plain reinterpretation would not.
template <class T>
SKIN_MSG_HANDLER SkinNotifyHandler(void (T::*pfn)(tagTNotifyUI&))
{
    SKIN_MSG_HANDLER handler;
    handler.pfnNotify = static_cast<SKIN_PMSG_NOTIFY>(pfn);
    return handler;
}

template <class T>
SKIN_MSG_HANDLER SkinParamsHandler(void (T::*pfn)(WPARAM, LPARAM))
{
    SKIN_MSG_HANDLER handler;
    handler.pfnParams = static_cast<SKIN_PMSG_PARAMS>(pfn);
    return handler;
}

// In a class body (it leaves the access at protected): the class's table and
// map, and the override that returns the map.
#define SKIN_DECLARE_MESSAGE_MAP()                                  \
protected:                                                          \
    static const SKIN_MSGMAP_ENTRY _messageEntries[];               \
    static const SKIN_MSGMAP messageMap;                            \
    static const SKIN_MSGMAP* _GetBaseMessageMap();                 \
    const SKIN_MSGMAP* GetMessageMap() const override;

// In a source file: the table of theClass, chained to the table of baseClass.
#define SKIN_BEGIN_MESSAGE_MAP(theClass, baseClass)                                              \
    const SKIN_MSGMAP* theClass::_GetBaseMessageMap() { return &baseClass::messageMap; }         \
    const SKIN_MSGMAP* theClass::GetMessageMap() const { return &theClass::messageMap; }         \
    const SKIN_MSGMAP theClass::messageMap = { &theClass::_GetBaseMessageMap,                    \
                                               &theClass::_messageEntries[0] };                  \
    const SKIN_MSGMAP_ENTRY theClass::_messageEntries[] = {

// A notification of a type, from a named control or (name L"") from any control.
#define SKIN_ON_NOTIFY(type, name, handler) { type, name, SKIN_SIG_NOTIFY, SkinNotifyHandler(&handler) },
#define SKIN_ON_NOTIFY_PARAMS(type, name, handler) \
    { type, name, SKIN_SIG_WPARAM_LPARAM, SkinParamsHandler(&handler) },

#define SKIN_END_MESSAGE_MAP() { L"", L"", SKIN_SIG_END, {} } };

// Routes notifications to the handlers of the tables, and to other pumps
// registered as named virtual windows (which it does not own).
class CNotifyPump
{
public:
    CNotifyPump();
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;
    ~CNotifyPump();

    bool AddVirtualWnd(CSkinString strName, CNotifyPump* pObject);
    bool RemoveVirtualWnd(CSkinString strName);
    void NotifyPump(tagTNotifyUI& msg);
    bool LoopDispatch(tagTNotifyUI& msg);

protected:
    virtual const SKIN_MSGMAP* GetMessageMap() const;
    static const SKIN_MSGMAP* _GetBaseMessageMap();

    static const SKIN_MSGMAP_ENTRY _messageEntries[];
    static const SKIN_MSGMAP messageMap;

private:
    CStdStringPtrMap m_VirtualWndMap;  // name -> CNotifyPump*
};

} // namespace SkinLib
