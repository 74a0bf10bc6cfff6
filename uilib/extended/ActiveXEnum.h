#pragma once

#include <ole2.h>

namespace SkinLib {

// The container's objects: the one hosted object, handed out once until Reset.
// It deletes itself at its last Release.
class CActiveXEnum final : public IEnumUnknown
{
public:
    explicit CActiveXEnum(IUnknown* pUnk);
    CActiveXEnum(const CActiveXEnum&) = delete;
    CActiveXEnum& operator=(const CActiveXEnum&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IEnumUnknown
    HRESULT STDMETHODCALLTYPE Next(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumUnknown** ppenum) override;

private:
    ~CActiveXEnum();

    LONG m_iPos;
    LONG m_dwRef;
    IUnknown* m_pUnk;  // one reference
};

} // namespace SkinLib
