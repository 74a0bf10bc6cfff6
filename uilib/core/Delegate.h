#pragma once

#include <new>

namespace SkinLib {

// A copyable reference to a callback taking one untyped parameter and
// returning false to veto. Event sources store heap clones of these.
class CDelegateBase
{
public:
    CDelegateBase(void* pObject, void* pFn);
    CDelegateBase(const CDelegateBase& rhs);
    CDelegateBase& operator=(const CDelegateBase& rhs);
    virtual ~CDelegateBase();

    // Null when memory runs out.
    virtual CDelegateBase* Clone() const = 0;

    bool Equals(const CDelegateBase& rhs) const;
    bool operator()(void* param);

protected:
    virtual bool Call(void* param) = 0;
    // A pointer to member does not fit in the function pointer field, so a
    // member delegate widens the comparison with its own member pointer.
    virtual bool IsSameFunction(const CDelegateBase& rhs) const;

    void* GetFn() const;
    void* GetObjectW() const;

private:
    void* m_pObject;
    void* m_pFn;
};

class CDelegateStatic : public CDelegateBase
{
public:
    typedef bool (*Fn)(void*);

    explicit CDelegateStatic(Fn pFn);

    CDelegateBase* Clone() const override;

protected:
    bool Call(void* param) override;
};

template <class O, class T>
class CDelegate : public CDelegateBase
{
public:
    typedef bool (T::*Fn)(void*);

    CDelegate(O* pObject, Fn pFn) : CDelegateBase(pObject, &s_cTypeTag), m_pFn(pFn) {}

    CDelegateBase* Clone() const override { return new (std::nothrow) CDelegate(*this); }

protected:
    bool Call(void* param) override
    {
        O* pObject = static_cast<O*>(GetObjectW());
        return (pObject->*m_pFn)(param);
    }

    bool IsSameFunction(const CDelegateBase& rhs) const override
    {
        // Equal tags make rhs a delegate of this same instantiation.
        return CDelegateBase::IsSameFunction(rhs) && static_cast<const CDelegate&>(rhs).m_pFn == m_pFn;
    }

private:
    // Stands in the function field: its address is unique to O and T.
    static inline char s_cTypeTag = 0;

    Fn m_pFn;
};

CDelegateStatic StaticDelegateFromFunction(bool (*pFn)(void*));

} // namespace SkinLib
