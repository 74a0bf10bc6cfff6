#pragma once
// The Windows Biometric Framework as the fingerprint manager uses it: the published
// records, types, constants and functions of winbio.dll. Neither the mingw-w64 headers
// nor Wine carry them, so the program declares its own and binds to the system's
// winbio.dll through the import library made from winbio.def. The layouts are the
// ones the system's DLL expects on x86-64; the assertions at the end keep them so.
#include <windows.h>

#include <stddef.h>

typedef ULONG WINBIO_UNIT_ID;
typedef ULONG WINBIO_POOL_TYPE;
typedef ULONG WINBIO_BIOMETRIC_TYPE;
typedef ULONG WINBIO_BIOMETRIC_SENSOR_SUBTYPE;
typedef ULONG WINBIO_CAPABILITIES;
typedef ULONG WINBIO_SESSION_HANDLE;
typedef ULONG WINBIO_SESSION_FLAGS;
typedef ULONG WINBIO_REJECT_DETAIL;
typedef ULONG WINBIO_IDENTITY_TYPE;
typedef UCHAR WINBIO_BIOMETRIC_SUBTYPE;

#define WINBIO_MAX_STRING_LEN 256
typedef WCHAR WINBIO_STRING[WINBIO_MAX_STRING_LEN];

typedef struct _WINBIO_VERSION
{
    DWORD MajorVersion;
    DWORD MinorVersion;
} WINBIO_VERSION;

typedef struct _WINBIO_UNIT_SCHEMA
{
    WINBIO_UNIT_ID UnitId;
    WINBIO_POOL_TYPE PoolType;
    WINBIO_BIOMETRIC_TYPE BiometricFactor;
    WINBIO_BIOMETRIC_SENSOR_SUBTYPE SensorSubType;
    WINBIO_CAPABILITIES Capabilities;
    WINBIO_STRING DeviceInstanceId;
    WINBIO_STRING Description;
    WINBIO_STRING Manufacturer;
    WINBIO_STRING Model;
    WINBIO_STRING SerialNumber;
    WINBIO_VERSION FirmwareVersion;
} WINBIO_UNIT_SCHEMA;

// The largest SID the framework carries (SECURITY_MAX_SID_SIZE).
#define WINBIO_SID_DATA_SIZE 68

typedef struct _WINBIO_IDENTITY
{
    WINBIO_IDENTITY_TYPE Type;
    union
    {
        ULONG Null;
        ULONG Wildcard;
        GUID TemplateGuid;
        struct
        {
            ULONG Size;
            UCHAR Data[WINBIO_SID_DATA_SIZE];
        } AccountSid;
    } Value;
} WINBIO_IDENTITY;

#define WINBIO_TYPE_FINGERPRINT ((WINBIO_BIOMETRIC_TYPE)0x00000008)
#define WINBIO_POOL_SYSTEM ((WINBIO_POOL_TYPE)1)
#define WINBIO_FLAG_DEFAULT ((WINBIO_SESSION_FLAGS)0)
#define WINBIO_DB_DEFAULT ((GUID*)1)

#define WINBIO_ID_TYPE_NULL ((WINBIO_IDENTITY_TYPE)0)
#define WINBIO_ID_TYPE_WILDCARD ((WINBIO_IDENTITY_TYPE)1)
#define WINBIO_ID_TYPE_GUID ((WINBIO_IDENTITY_TYPE)2)
#define WINBIO_ID_TYPE_SID ((WINBIO_IDENTITY_TYPE)3)

#define WINBIO_ANSI_381_POS_LH_INDEX_FINGER ((WINBIO_BIOMETRIC_SUBTYPE)0x07)
#define WINBIO_SUBTYPE_ANY ((WINBIO_BIOMETRIC_SUBTYPE)0xFF)

#define WINBIO_I_MORE_DATA ((HRESULT)0x00090001L)
#define WINBIO_E_UNKNOWN_ID ((HRESULT)0x80098003L)
#define WINBIO_E_BAD_CAPTURE ((HRESULT)0x80098008L)

#ifdef __cplusplus
extern "C" {
#endif

HRESULT WINAPI WinBioEnumBiometricUnits(WINBIO_BIOMETRIC_TYPE Factor, WINBIO_UNIT_SCHEMA** UnitSchemaArray,
                                        SIZE_T* UnitCount);
HRESULT WINAPI WinBioFree(PVOID Address);
HRESULT WINAPI WinBioOpenSession(WINBIO_BIOMETRIC_TYPE Factor, WINBIO_POOL_TYPE PoolType, WINBIO_SESSION_FLAGS Flags,
                                 WINBIO_UNIT_ID* UnitArray, SIZE_T UnitCount, GUID* DatabaseId,
                                 WINBIO_SESSION_HANDLE* SessionHandle);
HRESULT WINAPI WinBioCloseSession(WINBIO_SESSION_HANDLE SessionHandle);
HRESULT WINAPI WinBioLockUnit(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_UNIT_ID UnitId);
HRESULT WINAPI WinBioUnlockUnit(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_UNIT_ID UnitId);
HRESULT WINAPI WinBioIdentify(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_UNIT_ID* UnitId, WINBIO_IDENTITY* Identity,
                              WINBIO_BIOMETRIC_SUBTYPE* SubFactor, WINBIO_REJECT_DETAIL* RejectDetail);
HRESULT WINAPI WinBioEnrollBegin(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_BIOMETRIC_SUBTYPE SubFactor,
                                 WINBIO_UNIT_ID UnitId);
HRESULT WINAPI WinBioEnrollCapture(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_REJECT_DETAIL* RejectDetail);
HRESULT WINAPI WinBioEnrollCommit(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_IDENTITY* Identity,
                                  BOOLEAN* IsNewTemplate);
HRESULT WINAPI WinBioLocateSensor(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_UNIT_ID* UnitId);
HRESULT WINAPI WinBioDeleteTemplate(WINBIO_SESSION_HANDLE SessionHandle, WINBIO_UNIT_ID UnitId,
                                    WINBIO_IDENTITY* Identity, WINBIO_BIOMETRIC_SUBTYPE SubFactor);

#ifdef __cplusplus
}
#endif

static_assert(sizeof(WINBIO_UNIT_ID) == 4 && sizeof(WINBIO_SESSION_HANDLE) == 4 && sizeof(WINBIO_REJECT_DETAIL) == 4,
              "WinBio's handles and identifiers are 32-bit");
static_assert(sizeof(WINBIO_BIOMETRIC_SUBTYPE) == 1, "a sub-factor is one byte");
static_assert(sizeof(WINBIO_VERSION) == 8, "WINBIO_VERSION");
static_assert(offsetof(WINBIO_UNIT_SCHEMA, UnitId) == 0 && offsetof(WINBIO_UNIT_SCHEMA, PoolType) == 4 &&
                  offsetof(WINBIO_UNIT_SCHEMA, BiometricFactor) == 8 &&
                  offsetof(WINBIO_UNIT_SCHEMA, SensorSubType) == 12 &&
                  offsetof(WINBIO_UNIT_SCHEMA, Capabilities) == 16,
              "WINBIO_UNIT_SCHEMA numbers");
static_assert(offsetof(WINBIO_UNIT_SCHEMA, DeviceInstanceId) == 20 &&
                  offsetof(WINBIO_UNIT_SCHEMA, Description) == 532 &&
                  offsetof(WINBIO_UNIT_SCHEMA, Manufacturer) == 1044 && offsetof(WINBIO_UNIT_SCHEMA, Model) == 1556 &&
                  offsetof(WINBIO_UNIT_SCHEMA, SerialNumber) == 2068 &&
                  offsetof(WINBIO_UNIT_SCHEMA, FirmwareVersion) == 2580,
              "WINBIO_UNIT_SCHEMA strings");
static_assert(sizeof(WINBIO_UNIT_SCHEMA) == 2588, "WINBIO_UNIT_SCHEMA");
static_assert(offsetof(WINBIO_IDENTITY, Value) == 4 && offsetof(WINBIO_IDENTITY, Value.AccountSid.Size) == 4 &&
                  offsetof(WINBIO_IDENTITY, Value.AccountSid.Data) == 8,
              "WINBIO_IDENTITY fields");
static_assert(sizeof(WINBIO_IDENTITY) == 76, "WINBIO_IDENTITY");
static_assert(WINBIO_SID_DATA_SIZE == SECURITY_MAX_SID_SIZE, "the identity holds the largest SID");
