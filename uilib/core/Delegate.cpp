#include "core/Delegate.h"

namespace SkinLib {

CDelegateBase::CDelegateBase(void* pObject, void* pFn) : m_pObject(pObject), m_pFn(pFn)
{
}

CDelegateBase::CDelegateBase(const CDelegateBase& rhs) : m_pObject(rhs.m_pObject), m_pFn(rhs.m_pFn)
{
}

CDelegateBase& CDelegateBase::operator=(const CDelegateBase& rhs)
{
    m_pObject = rhs.m_pObject;
    m_pFn = rhs.m_pFn;
    return *this;
}

CDelegateBase::~CDelegateBase()
{
}

bool CDelegateBase::Equals(const CDelegateBase& rhs) const
{
    return m_pObject == rhs.m_pObject && IsSameFunction(rhs);
}

bool CDelegateBase::operator()(void* param)
{
    return Call(param);
}

bool CDelegateBase::IsSameFunction(const CDelegateBase& rhs) const
{
    return m_pFn == rhs.m_pFn;
}

void* CDelegateBase::GetFn() const
{
    return m_pFn;
}

void* CDelegateBase::GetObjectW() const
{
    return m_pObject;
}

CDelegateStatic::CDelegateStatic(Fn pFn) : CDelegateBase(nullptr, reinterpret_cast<void*>(pFn))
{
}

CDelegateBase* CDelegateStatic::Clone() const
{
    return new (std::nothrow) CDelegateStatic(*this);
}

bool CDelegateStatic::Call(void* param)
{
    Fn pFn = reinterpret_cast<Fn>(GetFn());
    return pFn(param);
}

CDelegateStatic StaticDelegateFromFunction(bool (*pFn)(void*))
{
    return CDelegateStatic(pFn);
}

} // namespace SkinLib
