#include "call_replay.h"

#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "import_table.h"

namespace bench {

namespace {

// A key or handle as the library passed it: one it opened itself stands as
// the number of its opening (made again, the same opening gives the handle
// to use), anything else (a predefined key, a handle from elsewhere) as it is.
struct Ref {
    uintptr_t value = 0;
    int slot = -1;
};

// A text argument that may be missing.
struct Text {
    bool present = false;
    std::string text;
    Text() = default;
    explicit Text(const char* from) : present(from != nullptr), text(from ? from : "") {}
    const char* Get() const { return present ? text.c_str() : nullptr; }
};

struct Recording {
    std::vector<CallReplay::Call>* calls = nullptr;
    std::unordered_map<uintptr_t, int> open;  // the library's open handles, by slot
    int slots = 0;
};
Recording* recording = nullptr;
std::vector<uintptr_t> replayed;  // what each slot holds while the calls are made again
std::vector<char> scratch;        // where the calls made again read into

template <typename Handle>
Ref RefOf(Handle handle) {
    const auto value = reinterpret_cast<uintptr_t>(handle);
    const auto found = recording->open.find(value);
    return {value, found == recording->open.end() ? -1 : found->second};
}

template <typename Handle>
int NewSlot(Handle handle) {
    const auto value = reinterpret_cast<uintptr_t>(handle);
    recording->open[value] = recording->slots;
    return recording->slots++;
}

template <typename Handle>
void Forget(Handle handle) {
    recording->open.erase(reinterpret_cast<uintptr_t>(handle));
}

template <typename Handle>
Handle Resolve(const Ref& ref) {
    return reinterpret_cast<Handle>(ref.slot < 0 ? ref.value : replayed[ref.slot]);
}

template <typename Handle>
void Keep(int slot, Handle handle) {
    if (slot >= 0) replayed[slot] = reinterpret_cast<uintptr_t>(handle);
}

char* Scratch(DWORD size) {
    if (scratch.size() < size + 1) scratch.resize(size + 1);
    return scratch.data();
}

// How long the library's last call took, for the counts.
double lastMilliseconds = 0;

template <typename Function, typename... Arguments>
auto Timed(Function function, Arguments... arguments) {
    LARGE_INTEGER before, after, frequency;
    QueryPerformanceCounter(&before);
    const auto result = function(arguments...);
    QueryPerformanceCounter(&after);
    QueryPerformanceFrequency(&frequency);
    lastMilliseconds =
        1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) / static_cast<double>(frequency.QuadPart);
    return result;
}

void Add(const char* function, std::function<bool()> again) {
    recording->calls->push_back({function, lastMilliseconds, std::move(again)});
}

// A size given by pointer: whether it was given, and its value on the way in.
struct InSize {
    bool present = false;
    DWORD value = 0;
    explicit InSize(const DWORD* size) : present(size != nullptr), value(size ? *size : 0) {}
};

bool IsValid(HANDLE handle) {
    return handle != INVALID_HANDLE_VALUE && handle != nullptr;
}

// The system's entries, kept while the library's import table points at
// the recorders below.
#define REAL(function) decltype(&function) real##function = nullptr
REAL(RegOpenKeyExA);
REAL(RegCreateKeyExA);
REAL(RegCloseKey);
REAL(RegEnumKeyA);
REAL(RegEnumKeyExA);
REAL(RegEnumValueA);
REAL(RegQueryValueExA);
REAL(RegSetValueExA);
REAL(RegDeleteKeyA);
REAL(RegDeleteValueA);
REAL(RegFlushKey);
REAL(CreateFileA);
REAL(ReadFile);
REAL(WriteFile);
REAL(CloseHandle);
REAL(FlushFileBuffers);
REAL(FindFirstFileA);
REAL(FindNextFileA);
REAL(FindClose);
REAL(GetFileAttributesA);
REAL(SetFileAttributesA);
REAL(DeleteFileA);
REAL(RemoveDirectoryA);
REAL(MoveFileA);
REAL(GetPrivateProfileIntA);
REAL(GetPrivateProfileSectionA);
REAL(GetProfileSectionA);
REAL(GetProfileStringA);
REAL(WritePrivateProfileSectionA);
REAL(WritePrivateProfileStringA);
REAL(WriteProfileStringA);
REAL(CreateProcessA);
REAL(WaitForSingleObject);
REAL(GetExitCodeProcess);
#undef REAL

// ---- Registry ------------------------------------------------------------

LONG WINAPI OpenKey(HKEY parent, LPCSTR path, DWORD options, REGSAM access, PHKEY key) {
    const LONG status = Timed(realRegOpenKeyExA, parent, path, options, access, key);
    const Ref from = RefOf(parent);
    const Text name(path);
    const int slot = status == ERROR_SUCCESS ? NewSlot(*key) : -1;
    Add("RegOpenKeyExA", [=] {
        HKEY opened = nullptr;
        const LONG again = RegOpenKeyExA(Resolve<HKEY>(from), name.Get(), options, access, &opened);
        if (again == ERROR_SUCCESS) Keep(slot, opened);
        return again == status;
    });
    return status;
}

LONG WINAPI CreateKey(HKEY parent, LPCSTR path, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM access,
                      LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition) {
    const LONG status =
        Timed(realRegCreateKeyExA, parent, path, reserved, keyClass, options, access, security, key, disposition);
    const Ref from = RefOf(parent);
    const Text name(path), className(keyClass);
    const bool wantsDisposition = disposition != nullptr;
    const DWORD made = disposition && status == ERROR_SUCCESS ? *disposition : 0;
    const int slot = status == ERROR_SUCCESS ? NewSlot(*key) : -1;
    Add("RegCreateKeyExA", [=] {
        HKEY created = nullptr;
        DWORD againMade = 0;
        Text classCopy = className;
        const LONG again =
            RegCreateKeyExA(Resolve<HKEY>(from), name.Get(), 0, classCopy.present ? &classCopy.text[0] : nullptr,
                            options, access, nullptr, &created, wantsDisposition ? &againMade : nullptr);
        if (again == ERROR_SUCCESS) Keep(slot, created);
        return again == status && againMade == made;
    });
    return status;
}

LONG WINAPI CloseKey(HKEY key) {
    const Ref which = RefOf(key);
    const LONG status = Timed(realRegCloseKey, key);
    Forget(key);
    Add("RegCloseKey", [=] { return RegCloseKey(Resolve<HKEY>(which)) == status; });
    return status;
}

LONG WINAPI EnumKey(HKEY key, DWORD index, LPSTR name, DWORD size) {
    const LONG status = Timed(realRegEnumKeyA, key, index, name, size);
    const Ref which = RefOf(key);
    Add("RegEnumKeyA", [=] { return RegEnumKeyA(Resolve<HKEY>(which), index, Scratch(size), size) == status; });
    return status;
}

LONG WINAPI EnumKeyEx(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPSTR keyClass,
                      LPDWORD classSize, PFILETIME written) {
    const InSize nameIn(nameSize), classIn(classSize);
    const LONG status = Timed(realRegEnumKeyExA, key, index, name, nameSize, reserved, keyClass, classSize, written);
    const Ref which = RefOf(key);
    const DWORD nameOut = nameSize ? *nameSize : 0;
    const bool wantsClass = keyClass != nullptr, wantsTime = written != nullptr;
    Add("RegEnumKeyExA", [=] {
        DWORD againName = nameIn.value, againClass = classIn.value;
        std::string classBuffer(wantsClass ? classIn.value + 1 : 0, '\0');
        FILETIME time = {};
        const LONG again =
            RegEnumKeyExA(Resolve<HKEY>(which), index, Scratch(nameIn.value), nameIn.present ? &againName : nullptr,
                          nullptr, wantsClass ? &classBuffer[0] : nullptr, classIn.present ? &againClass : nullptr,
                          wantsTime ? &time : nullptr);
        return again == status && (!nameIn.present || againName == nameOut);
    });
    return status;
}

// RegEnumValueA and RegQueryValueExA hand back a value into a buffer whose
// size goes in and comes back.
struct ValueRead {
    InSize nameIn{nullptr}, dataIn{nullptr};
    bool wantsType = false, wantsData = false;
    DWORD dataOut = 0;
};

bool SameRead(const ValueRead& read, LONG status, LONG again, DWORD dataOut) {
    return again == status && (!read.dataIn.present || dataOut == read.dataOut);
}

LONG WINAPI EnumValue(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD dataSize) {
    ValueRead read;
    read.nameIn = InSize(nameSize);
    read.dataIn = InSize(dataSize);
    read.wantsType = type != nullptr;
    read.wantsData = data != nullptr;
    const LONG status = Timed(realRegEnumValueA, key, index, name, nameSize, reserved, type, data, dataSize);
    read.dataOut = dataSize ? *dataSize : 0;
    const Ref which = RefOf(key);
    Add("RegEnumValueA", [=] {
        DWORD againName = read.nameIn.value, againData = read.dataIn.value, againType = 0;
        // The name and the data are read into two halves of the scratch.
        char* buffer = Scratch(read.nameIn.value + read.dataIn.value + 1);
        const LONG again = RegEnumValueA(
            Resolve<HKEY>(which), index, buffer, &againName, nullptr, read.wantsType ? &againType : nullptr,
            read.wantsData ? reinterpret_cast<BYTE*>(buffer + read.nameIn.value + 1) : nullptr,
            read.dataIn.present ? &againData : nullptr);
        return SameRead(read, status, again, againData);
    });
    return status;
}

LONG WINAPI QueryValue(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    ValueRead read;
    read.dataIn = InSize(dataSize);
    read.wantsType = type != nullptr;
    read.wantsData = data != nullptr;
    const LONG status = Timed(realRegQueryValueExA, key, name, reserved, type, data, dataSize);
    read.dataOut = dataSize ? *dataSize : 0;
    const Ref which = RefOf(key);
    const Text valueName(name);
    Add("RegQueryValueExA", [=] {
        DWORD againData = read.dataIn.value, againType = 0;
        const LONG again =
            RegQueryValueExA(Resolve<HKEY>(which), valueName.Get(), nullptr, read.wantsType ? &againType : nullptr,
                             read.wantsData ? reinterpret_cast<BYTE*>(Scratch(read.dataIn.value)) : nullptr,
                             read.dataIn.present ? &againData : nullptr);
        return SameRead(read, status, again, againData);
    });
    return status;
}

LONG WINAPI SetValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    const LONG status = Timed(realRegSetValueExA, key, name, reserved, type, data, size);
    const Ref which = RefOf(key);
    const Text valueName(name);
    const std::string bytes = data ? std::string(reinterpret_cast<const char*>(data), size) : std::string();
    const bool hasData = data != nullptr;
    Add("RegSetValueExA", [=] {
        return RegSetValueExA(Resolve<HKEY>(which), valueName.Get(), 0, type,
                              hasData ? reinterpret_cast<const BYTE*>(bytes.data()) : nullptr, size) == status;
    });
    return status;
}

LONG WINAPI DeleteKey(HKEY key, LPCSTR path) {
    const LONG status = Timed(realRegDeleteKeyA, key, path);
    const Ref which = RefOf(key);
    const Text name(path);
    Add("RegDeleteKeyA", [=] { return RegDeleteKeyA(Resolve<HKEY>(which), name.Get()) == status; });
    return status;
}

LONG WINAPI DeleteValue(HKEY key, LPCSTR valueName) {
    const LONG status = Timed(realRegDeleteValueA, key, valueName);
    const Ref which = RefOf(key);
    const Text name(valueName);
    Add("RegDeleteValueA", [=] { return RegDeleteValueA(Resolve<HKEY>(which), name.Get()) == status; });
    return status;
}

LONG WINAPI FlushKey(HKEY key) {
    const LONG status = Timed(realRegFlushKey, key);
    const Ref which = RefOf(key);
    Add("RegFlushKey", [=] { return RegFlushKey(Resolve<HKEY>(which)) == status; });
    return status;
}

// ---- Files ---------------------------------------------------------------

HANDLE WINAPI OpenFile(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                       DWORD flags, HANDLE model) {
    const HANDLE file = Timed(realCreateFileA, path, access, share, security, disposition, flags, model);
    const Text name(path);
    const bool valid = IsValid(file);
    const int slot = valid ? NewSlot(file) : -1;
    Add("CreateFileA", [=] {
        const HANDLE again = CreateFileA(name.Get(), access, share, nullptr, disposition, flags, nullptr);
        if (IsValid(again)) Keep(slot, again);
        return IsValid(again) == valid;
    });
    return file;
}

BOOL WINAPI Read(HANDLE file, LPVOID buffer, DWORD size, LPDWORD done, LPOVERLAPPED overlapped) {
    const BOOL ok = Timed(realReadFile, file, buffer, size, done, overlapped);
    const Ref which = RefOf(file);
    const DWORD read = done ? *done : 0;
    Add("ReadFile", [=] {
        DWORD again = 0;
        return ReadFile(Resolve<HANDLE>(which), Scratch(size), size, &again, nullptr) == ok && again == read;
    });
    return ok;
}

BOOL WINAPI Write(HANDLE file, LPCVOID data, DWORD size, LPDWORD done, LPOVERLAPPED overlapped) {
    const BOOL ok = Timed(realWriteFile, file, data, size, done, overlapped);
    const Ref which = RefOf(file);
    const std::string bytes(static_cast<const char*>(data), size);
    const DWORD written = done ? *done : 0;
    Add("WriteFile", [=] {
        DWORD again = 0;
        return WriteFile(Resolve<HANDLE>(which), bytes.data(), size, &again, nullptr) == ok && again == written;
    });
    return ok;
}

BOOL WINAPI Close(HANDLE handle) {
    const Ref which = RefOf(handle);
    const BOOL ok = Timed(realCloseHandle, handle);
    Forget(handle);
    Add("CloseHandle", [=] { return CloseHandle(Resolve<HANDLE>(which)) == ok; });
    return ok;
}

BOOL WINAPI Flush(HANDLE file) {
    const BOOL ok = Timed(realFlushFileBuffers, file);
    const Ref which = RefOf(file);
    Add("FlushFileBuffers", [=] { return FlushFileBuffers(Resolve<HANDLE>(which)) == ok; });
    return ok;
}

// The names a search finds are not compared: a folder put back after a run
// may list them in another order.
HANDLE WINAPI FindFirst(LPCSTR pattern, LPWIN32_FIND_DATAA found) {
    const HANDLE search = Timed(realFindFirstFileA, pattern, found);
    const Text name(pattern);
    const bool valid = IsValid(search);
    const int slot = valid ? NewSlot(search) : -1;
    Add("FindFirstFileA", [=] {
        WIN32_FIND_DATAA data;
        const HANDLE again = FindFirstFileA(name.Get(), &data);
        if (IsValid(again)) Keep(slot, again);
        return IsValid(again) == valid;
    });
    return search;
}

BOOL WINAPI FindNext(HANDLE search, LPWIN32_FIND_DATAA found) {
    const BOOL ok = Timed(realFindNextFileA, search, found);
    const Ref which = RefOf(search);
    Add("FindNextFileA", [=] {
        WIN32_FIND_DATAA data;
        return FindNextFileA(Resolve<HANDLE>(which), &data) == ok;
    });
    return ok;
}

BOOL WINAPI EndFind(HANDLE search) {
    const Ref which = RefOf(search);
    const BOOL ok = Timed(realFindClose, search);
    Forget(search);
    Add("FindClose", [=] { return FindClose(Resolve<HANDLE>(which)) == ok; });
    return ok;
}

// Whether a path exists and is a folder; other attributes may differ on a
// host put back.
DWORD Kind(DWORD attributes) {
    return attributes == INVALID_FILE_ATTRIBUTES ? attributes : attributes & FILE_ATTRIBUTE_DIRECTORY;
}

DWORD WINAPI Attributes(LPCSTR path) {
    const DWORD attributes = Timed(realGetFileAttributesA, path);
    const Text name(path);
    Add("GetFileAttributesA", [=] { return Kind(GetFileAttributesA(name.Get())) == Kind(attributes); });
    return attributes;
}

BOOL WINAPI SetAttributes(LPCSTR path, DWORD attributes) {
    const BOOL ok = Timed(realSetFileAttributesA, path, attributes);
    const Text name(path);
    Add("SetFileAttributesA", [=] { return SetFileAttributesA(name.Get(), attributes) == ok; });
    return ok;
}

BOOL WINAPI Delete(LPCSTR path) {
    const BOOL ok = Timed(realDeleteFileA, path);
    const Text name(path);
    Add("DeleteFileA", [=] { return DeleteFileA(name.Get()) == ok; });
    return ok;
}

BOOL WINAPI RemoveFolder(LPCSTR path) {
    const BOOL ok = Timed(realRemoveDirectoryA, path);
    const Text name(path);
    Add("RemoveDirectoryA", [=] { return RemoveDirectoryA(name.Get()) == ok; });
    return ok;
}

BOOL WINAPI Move(LPCSTR from, LPCSTR to) {
    const BOOL ok = Timed(realMoveFileA, from, to);
    const Text source(from), target(to);
    Add("MoveFileA", [=] { return MoveFileA(source.Get(), target.Get()) == ok; });
    return ok;
}

// ---- Profile files -------------------------------------------------------

UINT WINAPI ProfileInt(LPCSTR section, LPCSTR key, INT fallback, LPCSTR file) {
    const UINT value = Timed(realGetPrivateProfileIntA, section, key, fallback, file);
    const Text sectionName(section), keyName(key), fileName(file);
    Add("GetPrivateProfileIntA",
        [=] { return GetPrivateProfileIntA(sectionName.Get(), keyName.Get(), fallback, fileName.Get()) == value; });
    return value;
}

DWORD WINAPI PrivateSection(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR file) {
    const DWORD length = Timed(realGetPrivateProfileSectionA, section, buffer, size, file);
    const Text sectionName(section), fileName(file);
    Add("GetPrivateProfileSectionA",
        [=] { return GetPrivateProfileSectionA(sectionName.Get(), Scratch(size), size, fileName.Get()) == length; });
    return length;
}

DWORD WINAPI Section(LPCSTR section, LPSTR buffer, DWORD size) {
    const DWORD length = Timed(realGetProfileSectionA, section, buffer, size);
    const Text sectionName(section);
    Add("GetProfileSectionA", [=] { return GetProfileSectionA(sectionName.Get(), Scratch(size), size) == length; });
    return length;
}

DWORD WINAPI Entry(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR buffer, DWORD size) {
    const DWORD length = Timed(realGetProfileStringA, section, key, fallback, buffer, size);
    const Text sectionName(section), keyName(key), fallbackText(fallback);
    Add("GetProfileStringA", [=] {
        return GetProfileStringA(sectionName.Get(), keyName.Get(), fallbackText.Get(), Scratch(size), size) == length;
    });
    return length;
}

// A section is written as entries each ended by a zero, the last by two.
std::string EntryList(LPCSTR entries) {
    if (!entries) return std::string();
    const char* end = entries;
    while (*end) end += lstrlenA(end) + 1;
    return std::string(entries, end + 1);
}

BOOL WINAPI WriteSection(LPCSTR section, LPCSTR entries, LPCSTR file) {
    const BOOL ok = Timed(realWritePrivateProfileSectionA, section, entries, file);
    const Text sectionName(section), fileName(file);
    const std::string list = EntryList(entries);
    const bool hasEntries = entries != nullptr;
    Add("WritePrivateProfileSectionA", [=] {
        return WritePrivateProfileSectionA(sectionName.Get(), hasEntries ? list.data() : nullptr, fileName.Get()) == ok;
    });
    return ok;
}

BOOL WINAPI WritePrivateEntry(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
    const BOOL ok = Timed(realWritePrivateProfileStringA, section, key, value, file);
    const Text sectionName(section), keyName(key), text(value), fileName(file);
    Add("WritePrivateProfileStringA",
        [=] { return WritePrivateProfileStringA(sectionName.Get(), keyName.Get(), text.Get(), fileName.Get()) == ok; });
    return ok;
}

BOOL WINAPI WriteEntry(LPCSTR section, LPCSTR key, LPCSTR value) {
    const BOOL ok = Timed(realWriteProfileStringA, section, key, value);
    const Text sectionName(section), keyName(key), text(value);
    Add("WriteProfileStringA", [=] { return WriteProfileStringA(sectionName.Get(), keyName.Get(), text.Get()) == ok; });
    return ok;
}

// ---- Processes -----------------------------------------------------------

BOOL WINAPI StartProcess(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES processSecurity,
                         LPSECURITY_ATTRIBUTES threadSecurity, BOOL inherit, DWORD flags, LPVOID environment,
                         LPCSTR folder, LPSTARTUPINFOA startup, LPPROCESS_INFORMATION process) {
    const Text program(application), command(commandLine), where(folder);
    const BOOL ok = Timed(realCreateProcessA, application, commandLine, processSecurity, threadSecurity, inherit, flags,
                          environment, folder, startup, process);
    STARTUPINFOA start = *startup;
    start.lpDesktop = nullptr;
    start.lpTitle = nullptr;
    const int processSlot = ok ? NewSlot(process->hProcess) : -1;
    const int threadSlot = ok ? NewSlot(process->hThread) : -1;
    Add("CreateProcessA", [=] {
        Text line = command;
        STARTUPINFOA again = start;
        PROCESS_INFORMATION started = {};
        const BOOL made = CreateProcessA(program.Get(), line.present ? &line.text[0] : nullptr, nullptr, nullptr,
                                         inherit, flags, nullptr, where.Get(), &again, &started);
        if (made) {
            Keep(processSlot, started.hProcess);
            Keep(threadSlot, started.hThread);
        }
        return made == ok;
    });
    return ok;
}

DWORD WINAPI Wait(HANDLE handle, DWORD milliseconds) {
    const DWORD result = Timed(realWaitForSingleObject, handle, milliseconds);
    const Ref which = RefOf(handle);
    Add("WaitForSingleObject", [=] { return WaitForSingleObject(Resolve<HANDLE>(which), milliseconds) == result; });
    return result;
}

BOOL WINAPI ExitCode(HANDLE process, LPDWORD code) {
    const BOOL ok = Timed(realGetExitCodeProcess, process, code);
    const Ref which = RefOf(process);
    const DWORD exitCode = ok ? *code : 0;
    Add("GetExitCodeProcess", [=] {
        DWORD again = 0;
        return GetExitCodeProcess(Resolve<HANDLE>(which), &again) == ok && (!ok || again == exitCode);
    });
    return ok;
}

#define RECORD(function, recorder) \
    { #function, reinterpret_cast < void**>(&real##function), reinterpret_cast < void*>(&recorder) }

const imports::Redirection kRecorders[] = {
    RECORD(RegOpenKeyExA, OpenKey),
    RECORD(RegCreateKeyExA, CreateKey),
    RECORD(RegCloseKey, CloseKey),
    RECORD(RegEnumKeyA, EnumKey),
    RECORD(RegEnumKeyExA, EnumKeyEx),
    RECORD(RegEnumValueA, EnumValue),
    RECORD(RegQueryValueExA, QueryValue),
    RECORD(RegSetValueExA, SetValue),
    RECORD(RegDeleteKeyA, DeleteKey),
    RECORD(RegDeleteValueA, DeleteValue),
    RECORD(RegFlushKey, FlushKey),
    RECORD(CreateFileA, OpenFile),
    RECORD(ReadFile, Read),
    RECORD(WriteFile, Write),
    RECORD(CloseHandle, Close),
    RECORD(FlushFileBuffers, Flush),
    RECORD(FindFirstFileA, FindFirst),
    RECORD(FindNextFileA, FindNext),
    RECORD(FindClose, EndFind),
    RECORD(GetFileAttributesA, Attributes),
    RECORD(SetFileAttributesA, SetAttributes),
    RECORD(DeleteFileA, Delete),
    RECORD(RemoveDirectoryA, RemoveFolder),
    RECORD(MoveFileA, Move),
    RECORD(GetPrivateProfileIntA, ProfileInt),
    RECORD(GetPrivateProfileSectionA, PrivateSection),
    RECORD(GetProfileSectionA, Section),
    RECORD(GetProfileStringA, Entry),
    RECORD(WritePrivateProfileSectionA, WriteSection),
    RECORD(WritePrivateProfileStringA, WritePrivateEntry),
    RECORD(WriteProfileStringA, WriteEntry),
    RECORD(CreateProcessA, StartProcess),
    RECORD(WaitForSingleObject, Wait),
    RECORD(GetExitCodeProcess, ExitCode),
};
const int kRecorderCount = sizeof kRecorders / sizeof kRecorders[0];

CallKind KindOf(const char* function) {
    if (std::strncmp(function, "Reg", 3) == 0) return CallKind::kRegistry;
    if (std::strstr(function, "Profile")) return CallKind::kProfile;
    if (!std::strcmp(function, "CreateProcessA") || !std::strcmp(function, "WaitForSingleObject") ||
        !std::strcmp(function, "GetExitCodeProcess"))
        return CallKind::kProcess;
    return CallKind::kFile;
}

#undef RECORD

Recording current;

}  // namespace

CallReplay::~CallReplay() {
    StopRecording();
}

bool CallReplay::Record(HMODULE library) {
    if (recording || !library) return false;
    calls_.clear();
    current = Recording();
    current.calls = &calls_;
    recording = &current;
    if (imports::RedirectModuleImports(library, kRecorders, kRecorderCount, true) <= 0) {
        recording = nullptr;
        return false;
    }
    library_ = library;
    return true;
}

void CallReplay::StopRecording() {
    if (!library_) return;
    imports::RedirectModuleImports(library_, kRecorders, kRecorderCount, false);
    library_ = nullptr;
    slots_ = current.slots;
    recording = nullptr;
}

long CallCounts::Calls(CallKind kind) const {
    long calls = 0;
    for (const FunctionCalls& entry : entries) calls += entry.kind == kind ? entry.calls : 0;
    return calls;
}

long CallCounts::Calls() const {
    long calls = 0;
    for (const FunctionCalls& entry : entries) calls += entry.calls;
    return calls;
}

CallCounts CallReplay::Counts() const {
    CallCounts counts;
    for (const imports::Redirection& recorder : kRecorders) {
        FunctionCalls entry{recorder.name, KindOf(recorder.name)};
        for (const Call& call : calls_) {
            if (std::strcmp(call.function, recorder.name) != 0) continue;
            ++entry.calls;
            entry.milliseconds += call.milliseconds;
        }
        if (entry.calls) counts.entries.push_back(entry);
    }
    return counts;
}

long CallReplay::Replay(std::string* firstDifference) {
    replayed.assign(slots_, 0);
    long differences = 0;
    for (size_t i = 0; i < calls_.size(); ++i) {
        if (calls_[i].again()) continue;
        if (differences++ == 0 && firstDifference)
            *firstDifference = "call " + std::to_string(i + 1) + " (" + calls_[i].function + ")";
    }
    return differences;
}

}  // namespace bench
