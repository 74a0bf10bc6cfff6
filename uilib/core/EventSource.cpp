#include "core/EventSource.h"

namespace SkinLib {

CEventSource::CEventSource()
{
}

CEventSource::~CEventSource()
{
    for (int i = 0; i < m_aDelegates.GetSize(); i++) {
        delete static_cast<CDelegateBase*>(m_aDelegates.GetAt(i));
    }
    for (int i = 0; i < m_aRetired.GetSize(); i++) {
        delete static_cast<CDelegateBase*>(m_aRetired[i]);
    }
}

CEventSource::operator bool() const
{
    for (int i = 0; i < m_aDelegates.GetSize(); i++) {
        if (m_aDelegates.GetAt(i) != nullptr) return true;
    }
    return false;
}

void CEventSource::operator+=(const CDelegateBase& d)
{
    for (int i = 0; i < m_aDelegates.GetSize(); i++) {
        const CDelegateBase* pStored = static_cast<const CDelegateBase*>(m_aDelegates.GetAt(i));
        if (pStored != nullptr && pStored->Equals(d)) return;
    }
    CDelegateBase* pClone = d.Clone();
    if (!m_aDelegates.Add(pClone)) delete pClone;
}

void CEventSource::operator+=(FnType pFn)
{
    (*this) += StaticDelegateFromFunction(pFn);
}

void CEventSource::operator-=(const CDelegateBase& d)
{
    for (int i = 0; i < m_aDelegates.GetSize(); i++) {
        CDelegateBase* pStored = static_cast<CDelegateBase*>(m_aDelegates.GetAt(i));
        if (pStored == nullptr || !pStored->Equals(d)) continue;
        if (!m_aDelegates.IsWalking()) delete pStored;
        else if (!m_aRetired.Add(pStored)) return;
        m_aDelegates.RemoveAt(i);
        return;
    }
}

void CEventSource::operator-=(FnType pFn)
{
    (*this) -= StaticDelegateFromFunction(pFn);
}

bool CEventSource::operator()(void* param)
{
    // The first delegate that answers false ends the event.
    const bool bResult =
        !m_aDelegates.FirstThat<CDelegateBase>([param](CDelegateBase* pDelegate) { return !(*pDelegate)(param); });
    // Every event of every control passes here: nothing to do costs nothing.
    if (!m_aDelegates.IsWalking() && !m_aRetired.IsEmpty()) {
        for (int i = 0; i < m_aRetired.GetSize(); i++) {
            delete static_cast<CDelegateBase*>(m_aRetired[i]);
        }
        m_aRetired.Empty();
    }
    return bResult;
}

} // namespace SkinLib
