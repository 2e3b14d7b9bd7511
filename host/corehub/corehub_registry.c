/* The registry as the station manager sees it: the stations' setup values
 * in the product's branch, and the marker key that a launched station's
 * user gets under HKEY_USERS. Registry calls need PASSIVE_LEVEL; callers
 * hold only the state mutex, which leaves the IRQL there. */
#include "corehub_internal.h"

#define STATION_KEY_BASE L"\\Registry\\Machine\\Software\\Quillon\\Orvanta\\Setup\\Station"
#define USER_KEY_BASE L"\\Registry\\User\\"

/* Room for a value's data; longer values are treated as unset. */
#define VALUE_DATA_BYTES 512u

typedef struct ValueBuffer {
    union {
        KEY_VALUE_PARTIAL_INFORMATION info;
        UCHAR bytes[FIELD_OFFSET(KEY_VALUE_PARTIAL_INFORMATION, Data) + VALUE_DATA_BYTES];
    } u;
} ValueBuffer;

static ULONG CopyWide(WCHAR* target, ULONG at, const WCHAR* source) {
    while (*source != L'\0') target[at++] = *source++;
    target[at] = L'\0';
    return at;
}

static NTSTATUS OpenKey(const WCHAR* path, ACCESS_MASK access, HANDLE* key) {
    UNICODE_STRING name;
    OBJECT_ATTRIBUTES attributes;
    RtlInitUnicodeString(&name, path);
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL, NULL);
    return ZwOpenKey(key, access, &attributes);
}

/* number is checked by the callers; a single digit follows the base. */
static NTSTATUS OpenStationKey(ULONG number, ACCESS_MASK access, HANDLE* key) {
    WCHAR path[sizeof STATION_KEY_BASE / sizeof(WCHAR) + 2];
    if (number < 1 || number > COREHUB_STATION_COUNT) return STATUS_INVALID_PARAMETER;
    ULONG at = CopyWide(path, 0, STATION_KEY_BASE);
    path[at++] = (WCHAR)(L'0' + number);
    path[at] = L'\0';
    return OpenKey(path, access, key);
}

static BOOLEAN QueryValue(HANDLE key, const WCHAR* valueName, ValueBuffer* value) {
    UNICODE_STRING name;
    ULONG length = 0;
    RtlInitUnicodeString(&name, valueName);
    NTSTATUS status = ZwQueryValueKey(key, &name, KeyValuePartialInformation, &value->u.info, sizeof value->u, &length);
    return NT_SUCCESS(status) && value->u.info.DataLength <= VALUE_DATA_BYTES;
}

/* The product keeps its flags as one-byte binary values; a double word is
 * read as the number it holds. */
static BOOLEAN ReadFlag(HANDLE key, const WCHAR* valueName) {
    ValueBuffer value;
    if (!QueryValue(key, valueName, &value) || value.u.info.DataLength == 0) return FALSE;
    if (value.u.info.Type == REG_DWORD && value.u.info.DataLength >= sizeof(ULONG)) {
        ULONG number;
        RtlCopyMemory(&number, value.u.info.Data, sizeof number);
        return number != 0;
    }
    if (value.u.info.Type == REG_BINARY) return value.u.info.Data[0] != 0;
    return FALSE;
}

/* A string value as single-byte text of at most 31 characters; FALSE when
 * it is unset, empty or not a string. */
static BOOLEAN ReadText(HANDLE key, const WCHAR* valueName, char* text) {
    ValueBuffer value;
    RtlZeroMemory(text, COREHUB_NAME_CHARS + 1);
    if (!QueryValue(key, valueName, &value)) return FALSE;
    if (value.u.info.Type != REG_SZ && value.u.info.Type != REG_EXPAND_SZ) return FALSE;
    const WCHAR* wide = (const WCHAR*)value.u.info.Data;
    ULONG chars = 0;
    ULONG available = value.u.info.DataLength / sizeof(WCHAR);
    while (chars < available && chars < COREHUB_NAME_CHARS && wide[chars] != L'\0') ++chars;
    if (chars == 0) return FALSE;

    char narrow[2 * (COREHUB_NAME_CHARS + 1)];
    UNICODE_STRING source = {(USHORT)(chars * sizeof(WCHAR)), (USHORT)(chars * sizeof(WCHAR)), (PWSTR)wide};
    ANSI_STRING target = {0, sizeof narrow, narrow};
    if (!NT_SUCCESS(RtlUnicodeStringToAnsiString(&target, &source, FALSE))) return FALSE;
    CorehubCopyText(text, COREHUB_NAME_CHARS, narrow, target.Length);
    return text[0] != '\0';
}

static BOOLEAN ToWide(const char* text, WCHAR* wide, ULONG wideChars, ULONG* length) {
    ANSI_STRING source;
    RtlInitAnsiString(&source, text);
    UNICODE_STRING target = {0, (USHORT)((wideChars - 1) * sizeof(WCHAR)), wide};
    if (!NT_SUCCESS(RtlAnsiStringToUnicodeString(&target, &source, FALSE))) return FALSE;
    *length = target.Length / sizeof(WCHAR);
    wide[*length] = L'\0';
    return TRUE;
}

BOOLEAN CorehubIsStationDetected(ULONG number) {
    HANDLE key;
    if (!NT_SUCCESS(OpenStationKey(number, KEY_QUERY_VALUE, &key))) return FALSE;
    BOOLEAN detected = ReadFlag(key, L"Detected");
    ZwClose(key);
    return detected;
}

void CorehubReadStationSetup(ULONG number, CorehubStationSetup* setup) {
    RtlZeroMemory(setup, sizeof *setup);
    HANDLE key;
    if (NT_SUCCESS(OpenStationKey(number, KEY_QUERY_VALUE, &key))) {
        setup->detected = ReadFlag(key, L"Detected");
        setup->autoLaunch = ReadFlag(key, L"AutoLaunch");
        ReadText(key, L"Default User", setup->userName);
        ReadText(key, L"Station Name", setup->stationName);
        ZwClose(key);
    }
    if (setup->stationName[0] == '\0') {
        static const char fallback[] = "Station";
        RtlCopyMemory(setup->stationName, fallback, sizeof fallback - 1);
        setup->stationName[sizeof fallback - 1] = (char)('0' + number % 10);
    }
}

/* With no control center running to note the launch, the station key gets
 * what the control center would have written. */
NTSTATUS CorehubRecordAutoLaunch(ULONG number, const char* userName) {
    HANDLE key;
    NTSTATUS status = OpenStationKey(number, KEY_SET_VALUE, &key);
    if (!NT_SUCCESS(status)) return status;

    UNICODE_STRING name;
    UCHAR launched = 1;
    RtlInitUnicodeString(&name, L"Launched");
    status = ZwSetValueKey(key, &name, 0, REG_BINARY, &launched, sizeof launched);

    WCHAR user[COREHUB_NAME_CHARS + 2];
    ULONG length = 0;
    if (NT_SUCCESS(status) && !ToWide(userName, user, sizeof user / sizeof user[0], &length)) {
        status = STATUS_UNSUCCESSFUL;
    }
    if (NT_SUCCESS(status)) {
        RtlInitUnicodeString(&name, L"Logged In User");
        status = ZwSetValueKey(key, &name, 0, REG_SZ, user, (length + 1) * sizeof(WCHAR));
    }
    ZwClose(key);
    return status;
}

/* The marker is one key named after the user directly under HKEY_USERS. A
 * name with a backslash would reach into another key, so it gets none. */
static BOOLEAN UserKeyPath(const char* userName, WCHAR* path, ULONG pathChars) {
    if (userName[0] == '\0') return FALSE;
    for (const char* c = userName; *c != '\0'; ++c) {
        if (*c == '\\') return FALSE;
    }
    ULONG at = CopyWide(path, 0, USER_KEY_BASE);
    ULONG length = 0;
    return ToWide(userName, path + at, pathChars - at, &length);
}

#define USER_PATH_CHARS (sizeof USER_KEY_BASE / sizeof(WCHAR) + COREHUB_NAME_CHARS + 1)

void CorehubCreateUserMarker(const char* userName) {
    WCHAR path[USER_PATH_CHARS];
    if (!UserKeyPath(userName, path, USER_PATH_CHARS)) return;
    UNICODE_STRING name;
    OBJECT_ATTRIBUTES attributes;
    RtlInitUnicodeString(&name, path);
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL, NULL);
    HANDLE key;
    ULONG disposition;
    if (NT_SUCCESS(ZwCreateKey(&key, KEY_ALL_ACCESS, &attributes, 0, NULL, REG_OPTION_NON_VOLATILE, &disposition))) {
        ZwClose(key);
    }
}

void CorehubDeleteUserMarker(const char* userName) {
    WCHAR path[USER_PATH_CHARS];
    if (!UserKeyPath(userName, path, USER_PATH_CHARS)) return;
    HANDLE key;
    if (NT_SUCCESS(OpenKey(path, DELETE, &key))) {
        ZwDeleteKey(key);
        ZwClose(key);
    }
}
