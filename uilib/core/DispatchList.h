#pragma once

#include "core/StdPtrArray.h"

namespace SkinLib {

// The receivers registered for something the owner hands out in list order (delegates,
// notifiers, message filters). A receiver may add or remove receivers while the list is
// walked: an entry removed during a walk only leaves its slot empty until the outermost walk
// ends, so every entry after it keeps its place and still gets its turn, once.
class CDispatchList
{
public:
    CDispatchList();
    CDispatchList(const CDispatchList&) = delete;
    CDispatchList& operator=(const CDispatchList&) = delete;

    bool Add(void* pData);
    // Takes out the entry at iIndex; false when there is none.
    bool RemoveAt(int iIndex);
    // Takes out the first entry equal to pData; false when absent.
    bool Remove(const void* pData);
    // Slots, empty ones of the current walk included; GetAt is null for an empty slot.
    int GetSize() const;
    void* GetAt(int iIndex) const;
    bool IsWalking() const;

    // Hands each entry still registered when its turn comes to f, in list
    // order, until f answers true; whether one did. The count is read on
    // every step: an entry added on the way gets its turn too.
    template <class T, class F> bool FirstThat(F f)
    {
        CWalk walk(*this);
        for (int i = 0; i < GetSize(); i++) {
            T* p = static_cast<T*>(GetAt(i));
            if (p != nullptr && f(p)) return true;
        }
        return false;
    }

    // Walks nest; the outermost one to end closes the gaps.
    class CWalk
    {
    public:
        explicit CWalk(CDispatchList& list);
        CWalk(const CWalk&) = delete;
        CWalk& operator=(const CWalk&) = delete;
        ~CWalk();

    private:
        CDispatchList& m_list;
    };

private:
    CStdPtrArray m_aItems;
    int m_nWalks;
    bool m_bGaps;
};

} // namespace SkinLib
