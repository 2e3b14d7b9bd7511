#include "registry_snapshot.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "device_handle.h"
#include "failure_report.h"
#include "file_removal.h"
#include "registry.h"
#include "registry_paths.h"

namespace {

const DWORD kNameLimit = 512;
const DWORD kDataLimit = 512;
const DWORD kSubkeyNameLimit = 80;  // 79 characters and the terminator
const size_t kPathLimit = 511;
// The editor runs hidden; should it never end, its file stays on disk.
const DWORD kImportWait = 5 * 60 * 1000;

// Where the product key records what became of the last snapshot taken, one
// byte. kTaken: the snapshot holds the configuration, and the data move may
// have deleted any part of it from the registry; what is left there is a
// remnant. kMoved: the data move has deleted all of it; whatever of it the
// registry holds now was put there since, by the import or by the
// administrator. No value: no snapshot is owed an import, and a file left in
// the folder is stale.
const char kSnapshotState[] = "Registry Snapshot";
const BYTE kTaken = 1;
const BYTE kMoved = 2;

const char* const kStationExclusions[] = {"DriverDate", "DriverVersion", "Ver", "HWRevision", "Current User"};

// Registry editors read backslash escapes in quoted text: a stored "\" or
// "\"" is written escaped, so that the import gives back what was stored.
std::string Quoted(const char* text, size_t length) {
    std::string quoted = "\"";
    for (size_t i = 0; i < length && text[i] != '\0'; ++i) {
        if (text[i] == '\\' || text[i] == '"') quoted += '\\';
        quoted += text[i];
    }
    return quoted + "\"";
}

class SnapshotWriter {
public:
    explicit SnapshotWriter(HANDLE file) : file_(file) {}

    void Text(const std::string& text) {
        DWORD written = 0;
        if (!WriteFile(file_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written != text.size())
            failed_ = true;
    }
    bool Succeeded() const { return !failed_; }

    // A key's header, its values (but the excluded ones) and, when asked, its
    // subkeys depth first.
    void WriteKey(HKEY key, const std::string& path, std::initializer_list<const char*> exclusions, bool subkeys) {
        Text("\r\n[HKEY_LOCAL_MACHINE\\" + path + "]\r\n");
        WriteValues(key, exclusions);
        if (subkeys) WriteSubkeys(key, path);
    }

private:
    void WriteValues(HKEY key, std::initializer_list<const char*> exclusions) {
        for (DWORD index = 0;; ++index) {
            char name[kNameLimit];
            BYTE data[kDataLimit];
            DWORD nameLength = sizeof name, dataLength = sizeof data, type = 0;
            // A value that does not fit ends the key's listing.
            if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS)
                return;
            bool excluded = false;
            for (const char* exclusion : exclusions) excluded = excluded || lstrcmpiA(name, exclusion) == 0;
            if (!excluded) WriteValue(name, type, data, dataLength);
        }
    }

    void WriteValue(const char* name, DWORD type, const BYTE* data, DWORD length) {
        const std::string quotedName = Quoted(name, strlen(name));
        switch (type) {
        case REG_SZ:
            Text((name[0] ? quotedName : "@") + "=" + Quoted(reinterpret_cast<const char*>(data), length) + "\r\n");
            break;
        case REG_BINARY: {
            std::string line = quotedName + "=hex:";
            char byte[4];
            for (DWORD i = 0; i < length; ++i) {
                snprintf(byte, sizeof byte, "%02X%s", data[i], i + 1 < length ? "," : "");
                line += byte;
            }
            Text(line + "\r\n");
            break;
        }
        case REG_DWORD: {
            DWORD number = 0;
            memcpy(&number, data, std::min<DWORD>(length, sizeof number));
            char digits[16];
            snprintf(digits, sizeof digits, "%08lX", number);
            Text(quotedName + "=dword:" + digits + "\r\n");
            break;
        }
        default:
            break;
        }
    }

    void WriteSubkeys(HKEY key, const std::string& path) {
        ForEachSubkey(
            key,
            [&](const std::string& name) {
                const std::string subpath = path + "\\" + name;
                if (subpath.size() > kPathLimit) return false;
                RegKey subkey(key, name);
                if (subkey.IsOpen()) WriteKey(subkey.Get(), subpath, {}, true);
                return false;
            },
            kSubkeyNameLimit);
    }

    HANDLE file_;
    bool failed_ = false;
};

// The product's branch in the editor's format, in the file of that name;
// false when any of it could not be written.
bool WriteSnapshot(const std::string& fileName) {
    DeviceHandle file(
        CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) return false;
    SnapshotWriter writer(file.Get());
    writer.Text("REGEDIT4\r\n");

    if (RegKey product(HKEY_LOCAL_MACHINE, kProductKey); product.IsOpen()) {
        writer.WriteKey(product.Get(), kProductKey,
                        {kInstallationValues[0], kInstallationValues[1], kInstallationValues[2], kInstallationValues[3],
                         kInstallationValues[4], kInstallationValues[5], kSnapshotState},
                        false);
    }
    char path[MAX_PATH];
    for (int board = 1; board <= 4; ++board) {
        snprintf(path, sizeof path, "%s\\Board%d", kSetupKey, board);
        if (RegKey key(HKEY_LOCAL_MACHINE, path); key.IsOpen()) writer.WriteKey(key.Get(), path, {}, true);
    }
    for (int station = 1; station <= 8; ++station) {
        snprintf(path, sizeof path, "%s\\Station%d", kSetupKey, station);
        if (RegKey key(HKEY_LOCAL_MACHINE, path); key.IsOpen()) {
            writer.WriteKey(key.Get(), path,
                            {kStationExclusions[0], kStationExclusions[1], kStationExclusions[2], kStationExclusions[3],
                             kStationExclusions[4]},
                            true);
        }
    }
    for (int station = 1; station <= 8; ++station) {
        for (int port = 1; port <= 3; ++port) {
            snprintf(path, sizeof path, "%s\\App%dPort%d", "Enum\\Root\\Ternway", station, port);
            if (RegKey key(HKEY_LOCAL_MACHINE, path); key.IsOpen()) writer.WriteKey(key.Get(), path, {}, false);
        }
    }
    return writer.Succeeded() && FlushFileBuffers(file.Get());
}

BYTE SnapshotState() {
    BYTE state = 0;
    RegKey(HKEY_LOCAL_MACHINE, kProductKey).ReadByte(kSnapshotState, state);
    return state;
}

// On disk before the step it allows: Windows 95/98 writes the registry
// lazily, and a power cut must not find the configuration deleted without
// the state that says where it went.
bool SetSnapshotState(BYTE state) {
    RegKey product(HKEY_LOCAL_MACHINE, kProductKey);
    const bool written =
        state ? product.WriteByte(kSnapshotState, state) : !product.IsOpen() || product.DeleteValue(kSnapshotState);
    RegFlushKey(HKEY_LOCAL_MACHINE);
    return written;
}

// Whether the registry holds any of what a data move deletes into its
// snapshot: a board or station key, or a setting of the administrator's.
bool ConfigurationInRegistry() {
    RegKey product(HKEY_LOCAL_MACHINE, kProductKey);
    for (const char* value : kAdministratorValues) {
        if (product.Has(value)) return true;
    }
    char path[MAX_PATH];
    for (int board = 1; board <= 4; ++board) {
        snprintf(path, sizeof path, "%s\\Board%d", kSetupKey, board);
        if (RegKey(HKEY_LOCAL_MACHINE, path).IsOpen()) return true;
    }
    for (int station = 1; station <= 8; ++station) {
        snprintf(path, sizeof path, "%s\\Station%d", kSetupKey, station);
        if (RegKey(HKEY_LOCAL_MACHINE, path).IsOpen()) return true;
    }
    return false;
}

// A snapshot that is the one copy of the configuration: a data move took it
// and nothing has put it back, neither an import nor the administrator
// setting the stations up again (after an import that failed, or while the
// setup stood still before it).
bool SnapshotOwed() {
    const BYTE state = SnapshotState();
    return state == kTaken || (state == kMoved && !ConfigurationInRegistry());
}

// Waits for the process to end, handling the messages of the calling
// thread meanwhile: the setup engine calls from its window thread, whose
// windows would otherwise stop answering for as long as the editor runs.
// True when the process ended within the time.
bool WaitDispatchingMessages(HANDLE process, DWORD limit) {
    const DWORD start = GetTickCount();
    bool quit = false;
    WPARAM quitCode = 0;
    bool ended = false;
    for (;;) {
        // The wait below wakes only for messages that come after it begins.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quitCode = message.wParam;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const DWORD waited = GetTickCount() - start;
        if (waited >= limit) break;
        const DWORD result = MsgWaitForMultipleObjects(1, &process, FALSE, limit - waited, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0) {
            ended = true;
            break;
        }
        if (result != WAIT_OBJECT_0 + 1) break;
    }
    // A quit asked for meanwhile is the engine's own loop's to see.
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
    return ended;
}

}  // namespace

std::string SnapshotPath(const std::string& folder) {
    return folder + "\\~ORVANTA.REG";
}

bool SaveRegistrySnapshot(const std::string& folder) {
    // Without a folder there is nowhere the import would find it again.
    if (folder.empty()) return false;
    // A snapshot left behind that is still owed its import is the only copy
    // of the configuration (a data move or an import that stopped, a failed
    // import): it stays, and writing again would put what is left in its
    // place. Any other one is older than the registry (an import whose
    // deletion failed, a removal since, hooks given different folders) and
    // must never be imported: the configuration as it stands replaces it.
    const std::string snapshot = SnapshotPath(folder);
    if (GetFileAttributesA(snapshot.c_str()) != INVALID_FILE_ATTRIBUTES && SnapshotOwed())
        return SetSnapshotState(kTaken);
    if (!SetSnapshotState(0)) return false;
    // Written whole under another name first: the snapshot is there complete
    // or not at all, whenever the work stops.
    const std::string scratch = folder + "\\~ORVANTA.$$$";
    ClearAttributes(scratch);
    const bool written = WriteSnapshot(scratch);
    ClearAttributes(snapshot);
    DeleteIfPresent(snapshot);
    if (written && MoveFileA(scratch.c_str(), snapshot.c_str())) return SetSnapshotState(kTaken);
    DeleteIfPresent(scratch);
    return false;
}

void RecordConfigurationMoved() {
    if (SnapshotState() == kTaken) SetSnapshotState(kMoved);
}

void ImportRegistrySnapshot(const std::string& folder) {
    if (folder.empty()) return;
    const std::string snapshot = SnapshotPath(folder);
    if (!SnapshotOwed()) {
        // Stale: nothing must import it. One owed an import that was
        // overtaken (the import ended before its file went, or the stations
        // were set up again meanwhile) goes with its state.
        if (SnapshotState() != 0) SetSnapshotState(0);
        DeleteIfPresent(snapshot);
        return;
    }
    char windows[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return;
    std::string command = std::string(windows) + "\\regedit.exe -s \"" + snapshot + "\"";

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ReportFailure("run the command", command, true);
        return;
    }
    // The file goes only once the editor has read it.
    const bool ended = WaitDispatchingMessages(process.hProcess, kImportWait);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!ended) return;
    // The imported configuration is on disk before its one other copy goes.
    RegFlushKey(HKEY_LOCAL_MACHINE);
    if (SetSnapshotState(0)) DeleteIfPresent(snapshot);
}
