#include "core/DispatchList.h"

namespace SkinLib {

CDispatchList::CDispatchList() : m_nWalks(0), m_bGaps(false)
{
}

// A null entry would read as the gap of a removed one.
bool CDispatchList::Add(void* pData)
{
    return pData != nullptr && m_aItems.Add(pData);
}

bool CDispatchList::RemoveAt(int iIndex)
{
    if (GetAt(iIndex) == nullptr) return false;
    if (m_nWalks == 0) return m_aItems.Remove(iIndex);
    m_bGaps = true;
    return m_aItems.SetAt(iIndex, nullptr);
}

bool CDispatchList::Remove(const void* pData)
{
    return pData != nullptr && RemoveAt(m_aItems.Find(pData));
}

int CDispatchList::GetSize() const
{
    return m_aItems.GetSize();
}

void* CDispatchList::GetAt(int iIndex) const
{
    return m_aItems.GetAt(iIndex);
}

bool CDispatchList::IsWalking() const
{
    return m_nWalks > 0;
}

CDispatchList::CWalk::CWalk(CDispatchList& list) : m_list(list)
{
    m_list.m_nWalks++;
}

CDispatchList::CWalk::~CWalk()
{
    if (--m_list.m_nWalks > 0 || !m_list.m_bGaps) return;
    m_list.m_bGaps = false;
    for (int i = m_list.m_aItems.GetSize() - 1; i >= 0; i--) {
        if (m_list.m_aItems[i] == nullptr) m_list.m_aItems.Remove(i);
    }
}

} // namespace SkinLib
