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

// Values the new installation writes itself: its own win over the old.
const char* const kProductExclusions[] = {"Orvanta Interface", "Install Directory", "Install Language",
                                          "Install Menu",      "Product Name",      "Product Type"};
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
        for (DWORD index = 0;; ++index) {
            char name[kSubkeyNameLimit];
            DWORD nameLength = sizeof name;
            // A longer name ends the listing of this key's subkeys.
            if (RegEnumKeyExA(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                return;
            const std::string subpath = path + "\\" + name;
            if (subpath.size() > kPathLimit) continue;
            RegKey subkey(key, name);
            if (!subkey.IsOpen()) continue;
            WriteKey(subkey.Get(), subpath, {}, true);
        }
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
                        {kProductExclusions[0], kProductExclusions[1], kProductExclusions[2], kProductExclusions[3],
                         kProductExclusions[4], kProductExclusions[5]},
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

// The value name a snapshot line starts with ("name" or @ for the unnamed
// one, escaped as Quoted escapes it); false for a line that is no value.
bool ValueName(const std::string& line, std::string& name) {
    name.clear();
    if (line.compare(0, 2, "@=") == 0) return true;
    if (line.empty() || line[0] != '"') return false;
    for (size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '"') return i + 1 < line.size() && line[i + 1] == '=';
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        name += line[i];
    }
    return false;
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && lstrcmpiA(text.substr(0, prefix.size()).c_str(), prefix.c_str()) == 0;
}

// Whether the configuration a snapshot holds is gone from the registry,
// wholly or in part: a board or station key, or a key below one, that it
// has a header for, or a value of the product key that it lists. The data
// move deletes just those once its snapshot is written (the product's
// values first, then the setup key, subkeys before their keys). The port
// keys do not count: the control center removes a port's key whenever the
// port is switched off.
bool HeldConfigurationGone(const std::string& snapshot) {
    std::string text;
    {
        DeviceHandle file(CreateFileA(snapshot.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsOpen() || !ReadToEnd(file.Get(), text)) return false;
    }
    const std::string root = "[HKEY_LOCAL_MACHINE\\";
    const std::string productHeader = root + kProductKey + "]", setupKeys = root + kSetupKey + "\\";
    RegKey product(HKEY_LOCAL_MACHINE, kProductKey);
    bool inProductKey = false;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line[0] == '[') {
            inProductKey = lstrcmpiA(line.c_str(), productHeader.c_str()) == 0;
            if (line.back() == ']' && StartsWithIgnoringCase(line, setupKeys) &&
                !RegKey(HKEY_LOCAL_MACHINE, line.substr(root.size(), line.size() - root.size() - 1)).IsOpen())
                return true;
            continue;
        }
        std::string name;
        if (inProductKey && ValueName(line, name) && !product.Has(name.c_str())) return true;
    }
    return false;
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
    // A snapshot already there was left behind. While the configuration it
    // holds is gone, an earlier data move wrote it and went on to delete the
    // configuration, and no setup-complete has imported it yet: it is the
    // only copy left, and writing again would put what is left in its place.
    // With the configuration all there it is older than what the registry
    // holds (an installation that stopped before the import, an import that
    // timed out or whose deletion failed, hooks given different folders),
    // and imported it would undo what was changed since: the configuration
    // as it stands replaces it.
    const std::string snapshot = SnapshotPath(folder);
    if (GetFileAttributesA(snapshot.c_str()) != INVALID_FILE_ATTRIBUTES && HeldConfigurationGone(snapshot)) return true;
    // Written whole under another name first: the snapshot is there complete
    // or not at all, whenever the work stops.
    const std::string scratch = folder + "\\~ORVANTA.$$$";
    if (WriteSnapshot(scratch)) {
        DeleteIfPresent(snapshot);
        if (MoveFileA(scratch.c_str(), snapshot.c_str())) return true;
    }
    DeleteIfPresent(scratch);
    return false;
}

void ImportRegistrySnapshot(const std::string& folder) {
    if (folder.empty()) return;
    char windows[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return;
    const std::string snapshot = SnapshotPath(folder);
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
    if (ended) DeleteIfPresent(snapshot);
}
