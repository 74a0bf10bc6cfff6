#include "core/EventSource.h"

namespace SkinLib {

CEventSource::CEventSource() : m_nFiring(0)
{
}

CEventSource::~CEventSource()
{
    for (int i = 0; i < m_aDelegates.GetSize(); i++) {
        delete static_cast<CDelegateBase*>(m_aDelegates[i]);
    }
    for (int i = 0; i < m_aRetired.GetSize(); i++) {
        delete static_cast<CDelegateBase*>(m_aRetired[i]);
    }
}

CEventSource::operator bool() const
{
    for (int i = 0; i < m_aDelegates.GetSize(); i++) {
        if (m_aDelegates[i] != nullptr) return true;
    }
    return false;
}

void CEventSource::operator+=(const CDelegateBase& d)
{
    for (int i = 0; i < m_aDelegates.GetSize(); i++) {
        const CDelegateBase* pStored = static_cast<const CDelegateBase*>(m_aDelegates[i]);
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
        CDelegateBase* pStored = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (pStored == nullptr || !pStored->Equals(d)) continue;
        if (m_nFiring == 0) {
            delete pStored;
            m_aDelegates.Remove(i);
        }
        else if (m_aRetired.Add(pStored)) {
            // The slot is emptied rather than removed so that the firing loop
            // does not skip the delegate after it.
            m_aDelegates.SetAt(i, nullptr);
        }
        return;
    }
}

void CEventSource::operator-=(FnType pFn)
{
    (*this) -= StaticDelegateFromFunction(pFn);
}

bool CEventSource::operator()(void* param)
{
    bool bResult = true;
    m_nFiring++;
    // The count is read on every step: a delegate may add or remove others.
    for (int i = 0; i < m_aDelegates.GetSize(); i++) {
        CDelegateBase* pDelegate = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (pDelegate != nullptr && !(*pDelegate)(param)) {
            bResult = false;
            break;
        }
    }
    if (--m_nFiring == 0) Compact();
    return bResult;
}

void CEventSource::Compact()
{
    // Every event of every control passes here: nothing to do costs nothing.
    if (m_aRetired.IsEmpty()) return;
    for (int i = 0; i < m_aRetired.GetSize(); i++) {
        delete static_cast<CDelegateBase*>(m_aRetired[i]);
    }
    m_aRetired.Empty();
    for (int i = m_aDelegates.GetSize() - 1; i >= 0; i--) {
        if (m_aDelegates[i] == nullptr) m_aDelegates.Remove(i);
    }
}

} // namespace SkinLib
