#include "core/NotifyPump.h"

#include "controls/ControlUI.h"

namespace SkinLib {

const SKIN_MSGMAP_ENTRY CNotifyPump::_messageEntries[] = {
    { L"", L"", SKIN_SIG_END, {} },
};

const SKIN_MSGMAP CNotifyPump::messageMap = { &CNotifyPump::_GetBaseMessageMap, &CNotifyPump::_messageEntries[0] };

namespace {

// The entry for the notification in one table: one naming the sender wins at
// once; otherwise the last one for any sender.
const SKIN_MSGMAP_ENTRY* FindEntry(const SKIN_MSGMAP_ENTRY* pEntry, const tagTNotifyUI& msg)
{
    // A sender destroyed while its notification was queued has no name left.
    const wchar_t* pstrSender = msg.pSenderControl != NULL ? msg.pSenderControl->GetName().GetData() : L"";
    const SKIN_MSGMAP_ENTRY* pAnySender = NULL;
    for (; pEntry->nHandlerSig != SKIN_SIG_END; ++pEntry) {
        if (pEntry->sMatchType != msg.sNotifyType) continue;
        if (pEntry->sMatchControlName.IsEmpty()) pAnySender = pEntry;
        else if (pEntry->sMatchControlName == pstrSender) return pEntry;
    }
    return pAnySender;
}

} // namespace

CNotifyPump::CNotifyPump() : m_VirtualWndMap(83)
{
}

CNotifyPump::~CNotifyPump() = default;

const SKIN_MSGMAP* CNotifyPump::GetMessageMap() const
{
    return &messageMap;
}

const SKIN_MSGMAP* CNotifyPump::_GetBaseMessageMap()
{
    return NULL;
}

bool CNotifyPump::AddVirtualWnd(CSkinString strName, CNotifyPump* pObject)
{
    // A name already present is refused, whatever pump it holds.
    return m_VirtualWndMap.Insert(strName, pObject);
}

bool CNotifyPump::RemoveVirtualWnd(CSkinString strName)
{
    return m_VirtualWndMap.Remove(strName);
}

bool CNotifyPump::LoopDispatch(tagTNotifyUI& msg)
{
    for (const SKIN_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnBaseMapGetter != NULL ? pMap->pfnBaseMapGetter() : NULL) {
        const SKIN_MSGMAP_ENTRY* pEntry = FindEntry(pMap->pEntryTable, msg);
        if (pEntry == NULL) continue;
        switch (pEntry->nHandlerSig) {
        case SKIN_SIG_WPARAM_LPARAM:
            (this->*pEntry->pfnHandler.pfnParams)(msg.wNotifyParam, msg.lNotifyParam);
            return true;
        case SKIN_SIG_NOTIFY:
            (this->*pEntry->pfnHandler.pfnNotify)(msg);
            return true;
        default:
            return false;
        }
    }
    return false;
}

void CNotifyPump::NotifyPump(tagTNotifyUI& msg)
{
    if (!msg.sVirtualWndName.IsEmpty()) {
        // Looked up without moving the hit within its chain, which would
        // reorder the very walk this loop is doing.
        for (int i = 0; i < m_VirtualWndMap.GetSize(); i++) {
            const wchar_t* pstrKey = m_VirtualWndMap.GetAt(i);
            if (pstrKey == NULL || msg.sVirtualWndName.CompareNoCase(pstrKey) != 0) continue;
            CNotifyPump* pObject = static_cast<CNotifyPump*>(m_VirtualWndMap.Find(pstrKey, false));
            if (pObject != NULL && pObject->LoopDispatch(msg)) return;
        }
    }
    LoopDispatch(msg);
}

} // namespace SkinLib
