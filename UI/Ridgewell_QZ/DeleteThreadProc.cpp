#include "DeleteThreadProc.h"

#include "DeleteUserTemplates.h"
#include "UpdateChannel.h"

DWORD WINAPI DeleteThreadProc(LPVOID lpWindow)
{
    CUpdateChannelRef updates(static_cast<CUpdateChannel*>(lpWindow));
    updates->PostEnabled(L"btn_Delete", false);
    updates->PostText(L"txt_show", L"please touch the sensor");
    HRESULT hr = DeleteUserTemplates(WINBIO_SUBTYPE_ANY);
    // Success codes other than S_OK count as failures too.
    updates->PostText(L"txt_show", hr == S_OK ? L"Delete OK." : L"Delete Failed.");
    updates->PostEnabled(L"btn_Delete", true);
    return 0;
}
