// CActiveXEnum, the container's enumerator of its one object.
#include "extended/ActiveXEnum.h"

namespace SkinLib {

CActiveXEnum::CActiveXEnum(IUnknown* pUnk) : m_iPos(0), m_dwRef(1), m_pUnk(pUnk)
{
    m_pUnk->AddRef();
}

CActiveXEnum::~CActiveXEnum()
{
    m_pUnk->Release();
}

HRESULT STDMETHODCALLTYPE CActiveXEnum::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL) return E_POINTER;
    *ppvObject = NULL;
    if (riid != IID_IUnknown && riid != IID_IEnumUnknown) return E_NOINTERFACE;
    *ppvObject = static_cast<IEnumUnknown*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CActiveXEnum::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

ULONG STDMETHODCALLTYPE CActiveXEnum::Release()
{
    LONG lRef = ::InterlockedDecrement(&m_dwRef);
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

// One object, whatever the count asked, once until Reset.
HRESULT STDMETHODCALLTYPE CActiveXEnum::Next(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched)
{
    if (pceltFetched != NULL) *pceltFetched = 0;
    if (rgelt == NULL) return E_POINTER;
    // An empty array has no room for it.
    if (celt == 0 || m_iPos++ != 0) return S_FALSE;
    rgelt[0] = m_pUnk;
    m_pUnk->AddRef();
    if (pceltFetched != NULL) *pceltFetched = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXEnum::Skip(ULONG celt)
{
    m_iPos += static_cast<LONG>(celt);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXEnum::Reset()
{
    m_iPos = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveXEnum::Clone(IEnumUnknown** ppenum)
{
    if (ppenum != NULL) *ppenum = NULL;
    return E_NOTIMPL;
}

} // namespace SkinLib
