#pragma once

#include <windows.h>

namespace SkinLib {

// The application's side of a Flash control: the player's events. The control
// holds one reference, taken and given back through AddRef and Release.
class CFlashEventHandler
{
public:
    virtual ULONG Release() = 0;
    virtual ULONG AddRef() = 0;
    virtual HRESULT OnReadyStateChange(long newState) = 0;
    virtual HRESULT OnProgress(long percentDone) = 0;
    virtual HRESULT FSCommand(const wchar_t* command, const wchar_t* args) = 0;
    virtual HRESULT FlashCall(const wchar_t* request) = 0;

protected:
    // Released, never deleted, through this interface.
    ~CFlashEventHandler() {}
};

} // namespace SkinLib
