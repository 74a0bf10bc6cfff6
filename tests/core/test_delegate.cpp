#include "core/Delegate.h"
#include "core/EventSource.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

using namespace SkinLib;

namespace {

std::string g_trace;

bool TraceA(void*) { g_trace += "a"; return true; }
bool TraceB(void*) { g_trace += "b"; return true; }
bool Veto(void*) { g_trace += "v"; return false; }

// Counts the live copies of itself, so the tests see when a source deletes one.
class CCountingDelegate : public CDelegateBase
{
public:
    static int s_nLive;

    explicit CCountingDelegate(void* pTag) : CDelegateBase(pTag, nullptr) { s_nLive++; }
    CCountingDelegate(const CCountingDelegate& rhs) : CDelegateBase(rhs) { s_nLive++; }
    ~CCountingDelegate() override { s_nLive--; }
    CDelegateBase* Clone() const override { return new CCountingDelegate(*this); }

protected:
    bool Call(void*) override { return true; }
};

int CCountingDelegate::s_nLive = 0;

// Logs its calls; two of its members change the source they are fired from.
struct CListener
{
    typedef CDelegate<CListener, CListener> Delegate;

    std::string m_sLog;
    CEventSource* m_pSource = nullptr;

    bool OnFirst(void*) { m_sLog += "1"; return true; }
    bool OnSecond(void*) { m_sLog += "2"; return true; }
    bool OnRemoveSelf(void*)
    {
        m_sLog += "r";
        *m_pSource -= Delegate(this, &CListener::OnRemoveSelf);
        return true;
    }
    bool OnAddSecond(void*)
    {
        m_sLog += "+";
        *m_pSource += Delegate(this, &CListener::OnSecond);
        return true;
    }
    Delegate On(bool (CListener::*pFn)(void*)) { return Delegate(this, pFn); }
};

} // namespace

static_assert(!std::is_copy_constructible<CEventSource>::value, "event sources must not be copied");
static_assert(!std::is_copy_assignable<CEventSource>::value, "event sources must not be assigned");

TEST(EventSource, StaticFunctionsAreStoredOnceAndFiringStopsAtAVeto)
{
    g_trace.clear();
    CEventSource source;
    EXPECT_FALSE(source);
    EXPECT_TRUE(source(nullptr)) << "an empty source lets everything through";

    source += TraceA;
    source += TraceA;
    source += StaticDelegateFromFunction(TraceB);
    EXPECT_TRUE(source);
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(g_trace, "ab");

    source -= TraceA;
    source -= TraceA;  // not stored any more: nothing happens
    source -= StaticDelegateFromFunction(TraceB);
    EXPECT_FALSE(source);

    source += TraceA;
    source += Veto;
    source += TraceB;
    EXPECT_FALSE(source(nullptr));
    EXPECT_EQ(g_trace, "abav");
}

TEST(Delegate, MemberDelegatesAreIdentifiedByObjectAndMember)
{
    CListener one, two;
    CListener::Delegate first = one.On(&CListener::OnFirst);
    EXPECT_TRUE(first.Equals(one.On(&CListener::OnFirst)));
    EXPECT_FALSE(first.Equals(one.On(&CListener::OnSecond)));
    EXPECT_FALSE(first.Equals(two.On(&CListener::OnFirst)));
    EXPECT_FALSE(first.Equals(StaticDelegateFromFunction(TraceA)));
    EXPECT_FALSE(StaticDelegateFromFunction(TraceA).Equals(first));

    CListener::Delegate copy = two.On(&CListener::OnSecond);
    copy = first;
    EXPECT_TRUE(copy.Equals(first));
    EXPECT_TRUE(copy(nullptr));
    EXPECT_EQ(one.m_sLog, "1");

    // Two members of one object are both kept, and removed one by one.
    CEventSource source;
    source += one.On(&CListener::OnFirst);
    source += one.On(&CListener::OnSecond);
    source += one.On(&CListener::OnFirst);
    source(nullptr);
    EXPECT_EQ(one.m_sLog, "112");
    source -= one.On(&CListener::OnFirst);
    source(nullptr);
    EXPECT_EQ(one.m_sLog, "1122");
}

TEST(EventSource, DelegatesRemovedOrAddedWhileFiring)
{
    CEventSource source;
    CListener listener;
    listener.m_pSource = &source;
    // A delegate that removes itself does not hide the next one.
    source += listener.On(&CListener::OnRemoveSelf);
    source += listener.On(&CListener::OnFirst);
    source(nullptr);
    EXPECT_EQ(listener.m_sLog, "r1");
    source(nullptr);
    EXPECT_EQ(listener.m_sLog, "r11");
    // Removed and added again while firing: the new entry comes last.
    source += listener.On(&CListener::OnRemoveSelf);
    source(nullptr);
    EXPECT_EQ(listener.m_sLog, "r111r");

    // One added while firing is called in the same firing, and stored only once.
    CEventSource adding;
    CListener adder;
    adder.m_pSource = &adding;
    adding += adder.On(&CListener::OnAddSecond);
    adding(nullptr);
    EXPECT_EQ(adder.m_sLog, "+2");
    adding(nullptr);
    EXPECT_EQ(adder.m_sLog, "+2+2");
}

TEST(EventSource, RemovedDelegatesLiveUntilTheFiringEnds)
{
    int tag = 0;
    CCountingDelegate::s_nLive = 0;
    {
        CEventSource source;
        {
            CCountingDelegate counting(&tag);
            source += counting;
            source += counting;
            EXPECT_EQ(CCountingDelegate::s_nLive, 2) << "one clone is stored";
        }
        EXPECT_EQ(CCountingDelegate::s_nLive, 1);

        // Nested firing: the inner one removes the counting delegate while the
        // outer one still has to walk past it.
        struct Remover
        {
            CEventSource* pSource;
            int* pTag;
            int nDepth;
            int nLiveInside;
            bool OnFire(void*)
            {
                if (nDepth++ == 0) {
                    (*pSource)(nullptr);
                    *pSource -= CCountingDelegate(pTag);
                    nLiveInside = CCountingDelegate::s_nLive;
                }
                return true;
            }
        } remover{ &source, &tag, 0, 0 };
        source += CDelegate<Remover, Remover>(&remover, &Remover::OnFire);
        source += CCountingDelegate(&remover);  // a second, distinct counting delegate
        EXPECT_TRUE(source(nullptr));
        EXPECT_EQ(remover.nLiveInside, 2) << "still alive while the source fires";
        EXPECT_EQ(CCountingDelegate::s_nLive, 1) << "the removed clone is deleted after the firing";
    }
    EXPECT_EQ(CCountingDelegate::s_nLive, 0) << "the destructor deletes what is stored";
}
