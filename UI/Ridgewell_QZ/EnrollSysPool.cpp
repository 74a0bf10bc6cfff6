#include "EnrollSysPool.h"

#include <strsafe.h>

#include "DebugLine.h"
#include "EnumerateSensors.h"
#include "IdentifyEnrollments.h"
#include "UpdateChannel.h"
#include "WinBio.h"

namespace {

// Captures samples until the service reports the template complete, then commits it.
HRESULT CaptureAndCommit(CUpdateChannel& updates, WINBIO_SESSION_HANDLE hSession, UINT32 unitId)
{
    ::OutputDebugStringW(L"fun in EnrollSysPool thread: WinBioEnrollCapture...... ");
    WINBIO_REJECT_DETAIL rejectDetail = 0;
    for (UINT32 uSample = 1;; ++uSample) {
        WCHAR szSample[MAX_PATH];
        ::StringCchPrintfW(szSample, MAX_PATH, L"Sample %u ......captured from unit %u.", uSample, unitId);
        updates.PostText(L"txt_show", szSample);
        ::OutputDebugStringW(L"fun in EnrollSysPool thread: Sample ......captured from unit");
        if (uSample == 1) updates.PostText(L"txt_show", L"Swipe the sensor to capture the first sample");
        ::OutputDebugStringW(L"fun in EnrollSysPool thread: Sample ......WinBioEnrollCapture");

        HRESULT hr = ::WinBioEnrollCapture(hSession, &rejectDetail);
        if (hr == WINBIO_I_MORE_DATA) {
            ::OutputDebugStringW(L"fun in EnrollSysPool thread: Sample ......WinBioEnrollCapture WINBIO_I_MORE_DATA");
            updates.PostText(L"txt_show", L"More data required");
            continue;
        }
        if (hr == WINBIO_E_BAD_CAPTURE) {
            ::OutputDebugStringW(L"fun in EnrollSysPool_thread: Sample ......WinBioEnrollCapture WINBIO_E_BAD_CAPTURE");
            updates.PostText(L"txt_show", L"................Error: Bad capture");
            continue;
        }
        if (FAILED(hr)) {
            updates.PostText(L"txt_show", L"WinBioEnrollCapture failed.");
            ::OutputDebugStringW(L"fun in EnrollSysPool thread: Sample ......WinBioEnrollCapture failed");
            return hr;
        }
        break;
    }

    updates.PostText(L"txt_show", L"Template completed.");
    ::OutputDebugStringW(L"fun in EnrollSysPool thread: Sample ......WinBioEnrollCapture Template completed");
    ::OutputDebugStringW(L"fun in EnrollSysPool thread:Committing enrollment...");
    updates.PostText(L"txt_show", L"Committing enrollment...");
    WINBIO_IDENTITY identity = {};
    BOOLEAN bIsNewTemplate = TRUE;
    HRESULT hr = ::WinBioEnrollCommit(hSession, &identity, &bIsNewTemplate);
    if (FAILED(hr)) {
        ::OutputDebugStringW(L"fun in EnrollSysPool thread:WinBioEnrollCommit");
        updates.PostText(L"txt_show", L"WinBioEnrollCommit failed.");
    } else {
        updates.PostText(L"txt_show", L"OK:  finger enrollment success !!!...");
        ::OutputDebugStringW(L"fun in EnrollSysPool thread:finger enrollment success !!!");
    }
    return hr;
}

// Everything between opening and closing the session.
HRESULT EnrollOnSession(CUpdateChannel& updates, WINBIO_SESSION_HANDLE hSession, UINT32 unitId)
{
    updates.PostImage(L"image_show", L"Rec_Finger_1.png");
    updates.PostText(L"txt_show", L"please press the sensor with your fingerprint");
    HRESULT hr = IdentifyEnrollments(hSession, &unitId);
    if (hr == S_OK) {
        ::OutputDebugStringW(L"\n this fingerprint has been enrolled, please chang one");
        updates.PostText(L"txt_show", L"\n this fingerprint has been enrolled, please chang one");
        updates.PostEnabled(L"btn_Enroll", true);
        return hr;
    }
    if (hr == WINBIO_E_UNKNOWN_ID) {
        ::OutputDebugStringW(L"this fingerprint has not been enrolled, continue");
        updates.PostText(L"txt_show", L"\n this fingerprint has not been enrolled, continue");
    }
    // Any other identification result, a failed unit lock included, goes on to enroll.
    updates.PostText(L"txt_show", L"please press the sensor with your fingerprint");
    ::OutputDebugStringW(L"fun in EnrollSysPool thread: WinBioEnrollBegin ");
    hr = ::WinBioEnrollBegin(hSession, WINBIO_ANSI_381_POS_LH_INDEX_FINGER, unitId);
    if (FAILED(hr)) {
        ::OutputDebugStringW(L"fun in EnrollSysPool thread: WinBioEnrollBegin failed");
        DebugLineA("err: WinBioEnrollBegin 0x%08x", static_cast<unsigned>(hr));
        updates.PostText(L"txt_show", L"WinBioEnrollBegin failed.");
        return hr;
    }
    return CaptureAndCommit(updates, hSession, unitId);
}

} // namespace

DWORD WINAPI EnrollSysPool(LPVOID lpWindow)
{
    CUpdateChannelRef updates(static_cast<CUpdateChannel*>(lpWindow));
    ::OutputDebugStringW(L"fun in EnrollSysPool");
    UINT32 unitId = SENSOR_UNIT_NONE;
    EnumerateSensors(&unitId);
    if (unitId == SENSOR_UNIT_NONE) {
        updates->PostText(L"txt_show", L"\n VORTAN WBF device not find. ");
        updates->PostEnabled(L"btn_Enroll", true);
        updates->PostEnabled(L"btn_Delete", true);
        return 1;
    }

    ::OutputDebugStringW(L"fun in EnrollSysPool thread: WinBioOpenSession ");
    WINBIO_SESSION_HANDLE hSession = 0;
    HRESULT hr = ::WinBioOpenSession(WINBIO_TYPE_FINGERPRINT, WINBIO_POOL_SYSTEM, WINBIO_FLAG_DEFAULT, NULL, 0,
                                     WINBIO_DB_DEFAULT, &hSession);
    if (FAILED(hr)) {
        hSession = 0;
        ::OutputDebugStringW(L"fun in EnrollSysPool thread: WinBioOpenSession failed");
        updates->PostText(L"txt_show", L"WinBioOpenSession failed. ");
    } else {
        hr = EnrollOnSession(*updates.Get(), hSession, unitId);
    }

    if (hSession != 0) {
        ::OutputDebugStringW(L"EnrollSysPool WinBioCloseSession");
        ::WinBioCloseSession(hSession);
    }
    ::OutputDebugStringW(L"EnrollSysPool over");
    updates->PostEnabled(L"btn_Enroll", true);
    updates->PostEnabled(L"btn_Delete", true);
    return static_cast<DWORD>(hr);
}
