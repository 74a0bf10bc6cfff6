// A simulated fingerprint sensor: a winbio.dll that tests put beside the program or
// test under test. It exports the functions the fingerprint manager calls, plays the
// scenario the test set and writes every call to a log the test reads.
//
// Environment (read again on every call; a change of any of them starts the
// scenario over):
//   WINBIO_DOUBLE_SCENARIO  path of a scenario file (UTF-8)
//   WINBIO_DOUBLE_SCRIPT    scenario lines in the variable itself, separated by ';'
//                           or line breaks (played after the file's, when both are set)
//   WINBIO_DOUBLE_LOG       path of the call log (appended to, one line per call)
//
// Scenario lines ('#' starts a comment, blank lines are skipped):
//   unit <id> <device instance id>
//       a fingerprint unit that WinBioEnumBiometricUnits lists, in the order given. The
//       id runs to the end of the line; one longer than 255 characters runs on into the
//       record's following string fields unterminated, as a broken record would.
//   <call> <result> [unit=<id>] [delay=<ms>] [hold=<name>]
//       the result of the next call of that kind; calls of a kind take their lines in
//       order, and once they are used up the call succeeds at once.
//       <call>:   enum open close lock unlock identify locate begin capture commit delete
//       <result>: S_OK S_FALSE E_FAIL MORE_DATA UNKNOWN_ID BAD_CAPTURE or a number
//                 (0x... for hexadecimal)
//       unit=     the unit identify and locate report (identify leaves the caller's
//                 unit unless told; locate reports the first unit listed, or 0)
//       delay=    milliseconds the call blocks before it returns, as a touch would
//       hold=     the call sets the named event "<name>.held" and blocks until the named
//                 event "<name>" is set: the test knows the worker has come this far
//                 and chooses when the touch comes (after the delay, if both are given)
// A failed enum returns no array. An identify that succeeds reports a SID identity.
//
// Log lines (written when the call returns; "->" is followed by the result):
//   WinBioEnumBiometricUnits factor=8 -> 0x00000000 count=2
//   WinBioFree address=enumerated outstanding=0      (or address=null, address=unknown)
//   WinBioOpenSession factor=8 pool=1 flags=0 units=null count=0 database=default -> 0x00000000 session=1
//   WinBioCloseSession session=1 -> 0x00000000 open=0
//   WinBioLockUnit session=1 unit=5 -> 0x00000000          (WinBioUnlockUnit alike)
//   WinBioIdentify session=1 unit=5 -> 0x80098003 unit=5
//   WinBioLocateSensor session=1 -> 0x00000000 unit=5
//   WinBioEnrollBegin session=1 subfactor=7 unit=5 -> 0x00000000
//   WinBioEnrollCapture session=1 -> 0x00090001
//   WinBioEnrollCommit session=1 -> 0x00000000
//   WinBioDeleteTemplate session=1 unit=5 identity.type=3 identity.sidsize=28 subfactor=255 -> 0x00000000
// A call on a session that is not open fails with E_HANDLE, a missing out pointer with E_POINTER.
#include <windows.h>

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include <set>
#include <string>
#include <vector>

#include "WinBio.h"

namespace {

enum Call { CALL_ENUM, CALL_OPEN, CALL_CLOSE, CALL_LOCK, CALL_UNLOCK, CALL_IDENTIFY, CALL_LOCATE,
            CALL_BEGIN, CALL_CAPTURE, CALL_COMMIT, CALL_DELETE, CALL_COUNT };
const wchar_t* const kCallNames[CALL_COUNT] = {L"enum", L"open", L"close", L"lock", L"unlock", L"identify",
                                               L"locate", L"begin", L"capture", L"commit", L"delete"};

struct Step
{
    HRESULT hr = S_OK;
    DWORD dwDelay = 0;
    bool bHasUnit = false;
    WINBIO_UNIT_ID unit = 0;
    std::wstring sHold;
};

struct Unit
{
    WINBIO_UNIT_ID id;
    std::wstring sDevice;
};

struct Scenario
{
    std::vector<Unit> aUnits;
    std::vector<Step> aSteps[CALL_COUNT];
    size_t aNext[CALL_COUNT] = {};
};

CRITICAL_SECTION g_lock;  // everything below, and the log file
std::wstring g_sKey;      // the environment the scenario was read from
Scenario g_scenario;
std::set<void*> g_aArrays;  // enumerations not freed yet
std::set<WINBIO_SESSION_HANDLE> g_aSessions;
WINBIO_SESSION_HANDLE g_nextSession = 1;

class CLock
{
public:
    CLock() { ::EnterCriticalSection(&g_lock); }
    ~CLock() { ::LeaveCriticalSection(&g_lock); }
};

std::wstring Env(const wchar_t* pstrName)
{
    wchar_t szSmall[1];
    DWORD cch = ::GetEnvironmentVariableW(pstrName, szSmall, 1);
    if (cch == 0) return std::wstring();
    std::wstring s(cch, L'\0');
    cch = ::GetEnvironmentVariableW(pstrName, &s[0], cch);
    s.resize(cch);
    return s;
}

std::wstring ReadUtf8File(const std::wstring& sPath)
{
    HANDLE h = ::CreateFileW(sPath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE) return std::wstring();
    std::string bytes(::GetFileSize(h, NULL), '\0');
    DWORD cbRead = 0;
    if (!bytes.empty()) ::ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &cbRead, NULL);
    ::CloseHandle(h);
    bytes.resize(cbRead);
    int cch = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), NULL, 0);
    std::wstring s(cch, L'\0');
    if (cch > 0) ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &s[0], cch);
    return s;
}

bool ParseResult(const std::wstring& sWord, HRESULT* phr)
{
    static const struct { const wchar_t* pstrName; HRESULT hr; } kNames[] = {
        {L"S_OK", S_OK}, {L"S_FALSE", S_FALSE}, {L"E_FAIL", E_FAIL}, {L"MORE_DATA", WINBIO_I_MORE_DATA},
        {L"UNKNOWN_ID", WINBIO_E_UNKNOWN_ID}, {L"BAD_CAPTURE", WINBIO_E_BAD_CAPTURE}};
    for (const auto& name : kNames) {
        if (sWord == name.pstrName) {
            *phr = name.hr;
            return true;
        }
    }
    wchar_t* pEnd = NULL;
    unsigned long value = wcstoul(sWord.c_str(), &pEnd, 0);
    if (sWord.empty() || *pEnd != L'\0') return false;
    *phr = static_cast<HRESULT>(value);
    return true;
}

std::wstring Trim(const std::wstring& s)
{
    size_t first = s.find_first_not_of(L" \t\r");
    if (first == std::wstring::npos) return std::wstring();
    return s.substr(first, s.find_last_not_of(L" \t\r") - first + 1);
}

// The next blank-separated word of sLine from *pPos on.
std::wstring NextWord(const std::wstring& sLine, size_t* pPos)
{
    size_t first = sLine.find_first_not_of(L" \t", *pPos);
    if (first == std::wstring::npos) {
        *pPos = sLine.size();
        return std::wstring();
    }
    size_t last = sLine.find_first_of(L" \t", first);
    if (last == std::wstring::npos) last = sLine.size();
    *pPos = last;
    return sLine.substr(first, last - first);
}

void ParseLine(const std::wstring& sRaw, Scenario& scenario)
{
    std::wstring sLine = Trim(sRaw.substr(0, sRaw.find(L'#')));
    if (sLine.empty()) return;
    size_t pos = 0;
    std::wstring sCall = NextWord(sLine, &pos);
    if (sCall == L"unit") {
        Unit unit;
        unit.id = wcstoul(NextWord(sLine, &pos).c_str(), NULL, 0);
        unit.sDevice = Trim(sLine.substr(pos));
        scenario.aUnits.push_back(unit);
        return;
    }
    for (int call = 0; call < CALL_COUNT; ++call) {
        if (sCall != kCallNames[call]) continue;
        Step step;
        ParseResult(NextWord(sLine, &pos), &step.hr);
        for (std::wstring sWord = NextWord(sLine, &pos); !sWord.empty(); sWord = NextWord(sLine, &pos)) {
            if (sWord.compare(0, 5, L"unit=") == 0) {
                step.bHasUnit = true;
                step.unit = wcstoul(sWord.c_str() + 5, NULL, 0);
            } else if (sWord.compare(0, 6, L"delay=") == 0) {
                step.dwDelay = wcstoul(sWord.c_str() + 6, NULL, 0);
            } else if (sWord.compare(0, 5, L"hold=") == 0) {
                step.sHold = sWord.substr(5);
            }
        }
        scenario.aSteps[call].push_back(step);
    }
}

// Reads the scenario again when the environment names another one. Under g_lock.
void Refresh()
{
    std::wstring sFile = Env(L"WINBIO_DOUBLE_SCENARIO"), sScript = Env(L"WINBIO_DOUBLE_SCRIPT");
    std::wstring sKey = sFile + L'\n' + sScript + L'\n' + Env(L"WINBIO_DOUBLE_LOG");
    if (sKey == g_sKey) return;
    g_sKey = sKey;
    g_scenario = Scenario();
    std::wstring sText = (sFile.empty() ? std::wstring() : ReadUtf8File(sFile)) + L'\n' + sScript;
    size_t start = 0;
    while (start <= sText.size()) {
        size_t end = sText.find_first_of(L";\n", start);
        if (end == std::wstring::npos) end = sText.size();
        ParseLine(sText.substr(start, end - start), g_scenario);
        start = end + 1;
    }
}

// The scenario's next step for a call; the caller sleeps its delay outside the lock.
Step TakeStep(Call call)
{
    CLock lock;
    Refresh();
    std::vector<Step>& aSteps = g_scenario.aSteps[call];
    size_t& next = g_scenario.aNext[call];
    return next < aSteps.size() ? aSteps[next++] : Step();
}

void Log(const char* pstrFormat, ...)
{
    char szLine[512];
    va_list args;
    va_start(args, pstrFormat);
    int cch = vsnprintf(szLine, sizeof(szLine) - 2, pstrFormat, args);
    va_end(args);
    if (cch < 0) return;
    if (cch > static_cast<int>(sizeof(szLine)) - 3) cch = sizeof(szLine) - 3;
    szLine[cch++] = '\r';
    szLine[cch++] = '\n';
    CLock lock;
    std::wstring sPath = Env(L"WINBIO_DOUBLE_LOG");
    if (sPath.empty()) return;
    HANDLE h = ::CreateFileW(sPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD cbWritten = 0;
    ::WriteFile(h, szLine, static_cast<DWORD>(cch), &cbWritten, NULL);
    ::CloseHandle(h);
}

void Block(const Step& step)
{
    if (step.dwDelay != 0) ::Sleep(step.dwDelay);
    if (step.sHold.empty()) return;
    HANDLE hHeld = ::CreateEventW(NULL, TRUE, FALSE, (step.sHold + L".held").c_str());
    HANDLE hGo = ::CreateEventW(NULL, TRUE, FALSE, step.sHold.c_str());
    if (hHeld != NULL) ::SetEvent(hHeld);
    if (hGo != NULL) ::WaitForSingleObject(hGo, INFINITE);
    if (hGo != NULL) ::CloseHandle(hGo);
    if (hHeld != NULL) ::CloseHandle(hHeld);
}

bool IsOpen(WINBIO_SESSION_HANDLE hSession)
{
    CLock lock;
    return g_aSessions.count(hSession) != 0;
}

unsigned Hex(HRESULT hr)
{
    return static_cast<unsigned>(hr);
}

// A step's result on a session, E_HANDLE when the session is not open.
HRESULT SessionResult(WINBIO_SESSION_HANDLE hSession, const Step& step)
{
    return IsOpen(hSession) ? step.hr : E_HANDLE;
}

// WinBioLockUnit and WinBioUnlockUnit.
HRESULT UnitLockCall(Call call, const char* pstrFunction, WINBIO_SESSION_HANDLE hSession, WINBIO_UNIT_ID unitId)
{
    Step step = TakeStep(call);
    Block(step);
    HRESULT hr = SessionResult(hSession, step);
    Log("%s session=%lu unit=%lu -> 0x%08X", pstrFunction, hSession, unitId, Hex(hr));
    return hr;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH) ::InitializeCriticalSection(&g_lock);
    return TRUE;
}

extern "C" {

HRESULT WINAPI WinBioEnumBiometricUnits(WINBIO_BIOMETRIC_TYPE Factor, WINBIO_UNIT_SCHEMA** UnitSchemaArray,
                                        SIZE_T* UnitCount)
{
    Step step = TakeStep(CALL_ENUM);
    Block(step);
    HRESULT hr = UnitSchemaArray == NULL || UnitCount == NULL ? E_POINTER : step.hr;
    SIZE_T cUnits = 0;
    if (SUCCEEDED(hr)) {
        CLock lock;
        const std::vector<Unit>& aUnits = g_scenario.aUnits;
        cUnits = aUnits.size();
        WINBIO_UNIT_SCHEMA* pSchemas = NULL;
        if (cUnits != 0) {
            pSchemas = static_cast<WINBIO_UNIT_SCHEMA*>(calloc(cUnits, sizeof(WINBIO_UNIT_SCHEMA)));
            g_aArrays.insert(pSchemas);
        }
        for (SIZE_T i = 0; i < cUnits; ++i) {
            WINBIO_UNIT_SCHEMA& schema = pSchemas[i];
            schema.UnitId = aUnits[i].id;
            schema.PoolType = WINBIO_POOL_SYSTEM;
            schema.BiometricFactor = WINBIO_TYPE_FINGERPRINT;
            // The five string fields lie end to end: a long id runs on through them.
            const size_t cchRoom = 5 * WINBIO_MAX_STRING_LEN;
            size_t cch = aUnits[i].sDevice.size() < cchRoom ? aUnits[i].sDevice.size() : cchRoom - 1;
            wchar_t* pDevice = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(&schema) +
                                                          offsetof(WINBIO_UNIT_SCHEMA, DeviceInstanceId));
            memcpy(pDevice, aUnits[i].sDevice.data(), cch * sizeof(wchar_t));
            pDevice[cch] = L'\0';
            schema.FirmwareVersion.MajorVersion = 1;
        }
        *UnitSchemaArray = pSchemas;
        *UnitCount = cUnits;
    }
    Log("WinBioEnumBiometricUnits factor=%lu -> 0x%08X count=%u", Factor, Hex(hr), static_cast<unsigned>(cUnits));
    return hr;
}

HRESULT WINAPI WinBioFree(PVOID Address)
{
    const char* pstrKind = "null";
    size_t cOutstanding;
    {
        CLock lock;
        if (Address != NULL) {
            pstrKind = g_aArrays.erase(Address) != 0 ? "enumerated" : "unknown";
            if (pstrKind[0] == 'e') free(Address);
        }
        cOutstanding = g_aArrays.size();
    }
    Log("WinBioFree address=%s outstanding=%u", pstrKind, static_cast<unsigned>(cOutstanding));
    return S_OK;
}

HRESULT WINAPI WinBioOpenSession(WINBIO_BIOMETRIC_TYPE Factor, WINBIO_POOL_TYPE PoolType, WINBIO_SESSION_FLAGS Flags,
                                 WINBIO_UNIT_ID* UnitArray, SIZE_T UnitCount, GUID* DatabaseId,
                                 WINBIO_SESSION_HANDLE* SessionHandle)
{
    Step step = TakeStep(CALL_OPEN);
    Block(step);
    HRESULT hr = SessionHandle == NULL ? E_POINTER : step.hr;
    WINBIO_SESSION_HANDLE hSession = 0;
    if (SUCCEEDED(hr)) {
        CLock lock;
        hSession = g_nextSession++;
        g_aSessions.insert(hSession);
    }
    if (SessionHandle != NULL) *SessionHandle = hSession;
    Log("WinBioOpenSession factor=%lu pool=%lu flags=%lu units=%s count=%u database=%s -> 0x%08X session=%lu",
        Factor, PoolType, Flags, UnitArray == NULL ? "null" : "given", static_cast<unsigned>(UnitCount),
        DatabaseId == WINBIO_DB_DEFAULT ? "default" : "other", Hex(hr), hSession);
    return hr;
}

HRESULT WINAPI WinBioCloseSession(WINBIO_SESSION_HANDLE SessionHandle)
{
    Step step = TakeStep(CALL_CLOSE);
    Block(step);
    HRESULT hr;
    size_t cOpen;
    {
        CLock lock;
        hr = g_aSessions.erase(SessionHandle) != 0 ? step.hr : E_HANDLE;
        cOpen = g_aSessions.size();
    }
    Log("WinBioCloseSession session=%lu -> 0x%08X open=%u", SessionHandle, Hex(hr), static_cast<unsigned>(cOpen));
    return hr;
}

HRESULT WINAPI WinBioLockUnit(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_UNIT_ID UnitId)
{
    return UnitLockCall(CALL_LOCK, "WinBioLockUnit", SessionHandle, UnitId);
}

HRESULT WINAPI WinBioUnlockUnit(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_UNIT_ID UnitId)
{
    return UnitLockCall(CALL_UNLOCK, "WinBioUnlockUnit", SessionHandle, UnitId);
}

HRESULT WINAPI WinBioIdentify(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_UNIT_ID* UnitId, WINBIO_IDENTITY* Identity,
                              WINBIO_BIOMETRIC_SUBTYPE* SubFactor, WINBIO_REJECT_DETAIL* RejectDetail)
{
    Step step = TakeStep(CALL_IDENTIFY);
    Block(step);
    if (UnitId == NULL || Identity == NULL || SubFactor == NULL || RejectDetail == NULL) {
        Log("WinBioIdentify session=%lu -> 0x%08X (a null pointer)", SessionHandle, Hex(E_POINTER));
        return E_POINTER;
    }
    WINBIO_UNIT_ID unitIn = *UnitId;
    HRESULT hr = SessionResult(SessionHandle, step);
    if (hr != E_HANDLE && step.bHasUnit) *UnitId = step.unit;
    memset(Identity, 0, sizeof(*Identity));
    *SubFactor = 0;
    *RejectDetail = hr == WINBIO_E_BAD_CAPTURE ? 1 : 0;
    if (SUCCEEDED(hr)) {
        // S-1-5-32-544: any SID does for a match.
        static const BYTE kSid[] = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0};
        Identity->Type = WINBIO_ID_TYPE_SID;
        Identity->Value.AccountSid.Size = sizeof(kSid);
        memcpy(Identity->Value.AccountSid.Data, kSid, sizeof(kSid));
        *SubFactor = WINBIO_ANSI_381_POS_LH_INDEX_FINGER;
    }
    Log("WinBioIdentify session=%lu unit=%lu -> 0x%08X unit=%lu", SessionHandle, unitIn, Hex(hr), *UnitId);
    return hr;
}

HRESULT WINAPI WinBioLocateSensor(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_UNIT_ID* UnitId)
{
    Step step = TakeStep(CALL_LOCATE);
    Block(step);
    HRESULT hr = UnitId == NULL ? E_POINTER : SessionResult(SessionHandle, step);
    WINBIO_UNIT_ID unit = 0;
    if (SUCCEEDED(hr)) {
        CLock lock;
        if (step.bHasUnit) unit = step.unit;
        else if (!g_scenario.aUnits.empty()) unit = g_scenario.aUnits.front().id;
        *UnitId = unit;
    }
    Log("WinBioLocateSensor session=%lu -> 0x%08X unit=%lu", SessionHandle, Hex(hr), unit);
    return hr;
}

HRESULT WINAPI WinBioEnrollBegin(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_BIOMETRIC_SUBTYPE SubFactor,
                                 WINBIO_UNIT_ID UnitId)
{
    Step step = TakeStep(CALL_BEGIN);
    Block(step);
    HRESULT hr = SessionResult(SessionHandle, step);
    Log("WinBioEnrollBegin session=%lu subfactor=%u unit=%lu -> 0x%08X", SessionHandle, SubFactor, UnitId, Hex(hr));
    return hr;
}

HRESULT WINAPI WinBioEnrollCapture(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_REJECT_DETAIL* RejectDetail)
{
    Step step = TakeStep(CALL_CAPTURE);
    Block(step);
    HRESULT hr = RejectDetail == NULL ? E_POINTER : SessionResult(SessionHandle, step);
    if (RejectDetail != NULL) *RejectDetail = hr == WINBIO_E_BAD_CAPTURE ? 1 : 0;
    Log("WinBioEnrollCapture session=%lu -> 0x%08X", SessionHandle, Hex(hr));
    return hr;
}

HRESULT WINAPI WinBioEnrollCommit(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_IDENTITY* Identity,
                                  BOOLEAN* IsNewTemplate)
{
    Step step = TakeStep(CALL_COMMIT);
    Block(step);
    HRESULT hr = Identity == NULL || IsNewTemplate == NULL ? E_POINTER : SessionResult(SessionHandle, step);
    if (SUCCEEDED(hr)) {
        memset(Identity, 0, sizeof(*Identity));
        Identity->Type = WINBIO_ID_TYPE_GUID;
        *IsNewTemplate = TRUE;
    }
    Log("WinBioEnrollCommit session=%lu -> 0x%08X", SessionHandle, Hex(hr));
    return hr;
}

HRESULT WINAPI WinBioDeleteTemplate(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_UNIT_ID UnitId,
                                    WINBIO_IDENTITY* Identity, WINBIO_BIOMETRIC_SUBTYPE SubFactor)
{
    Step step = TakeStep(CALL_DELETE);
    Block(step);
    if (Identity == NULL) {
        Log("WinBioDeleteTemplate session=%lu unit=%lu identity=null -> 0x%08X", SessionHandle, UnitId,
            Hex(E_POINTER));
        return E_POINTER;
    }
    HRESULT hr = SessionResult(SessionHandle, step);
    Log("WinBioDeleteTemplate session=%lu unit=%lu identity.type=%lu identity.sidsize=%lu subfactor=%u -> 0x%08X",
        SessionHandle, UnitId, Identity->Type, Identity->Value.AccountSid.Size, SubFactor, Hex(hr));
    return hr;
}

} // extern "C"
