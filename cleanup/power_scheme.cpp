#include "power_scheme.h"

#include <windows.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "product.h"
#include "registry.h"

namespace {

// Windows keeps each scheme in two halves: the machine's under
// HKEY_LOCAL_MACHINE, with the last scheme number handed out, and each
// user's under the user's own branch, with the number of the user's
// current scheme.
const char kMachinePowerKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\PowerCfg";
const char kUserPowerKey[] = "Control Panel\\PowerCfg";
const char kSchemes[] = "PowerPolicies";

// Neither half of a scheme is longer than this.
const DWORD kRecordLimit = 512;

// The two 32-bit fields of each half that the server scheme sets to zero.
// In the user's half: the action taken when idle and the idle time-out, on
// mains. In the machine's half: the minimum sleep state and the hibernate
// time-out, on mains.
const DWORD kTimerFields[] = {4, 28};
const DWORD kFieldSize = 4;

struct Record {
    BYTE bytes[kRecordLimit];
    DWORD length = 0;
};

// Scheme names and numbers: a value longer than this is none of ours.
const DWORD kTextLimit = 255;

bool ReadRecord(HKEY key, Record& record) {
    record.length = sizeof record.bytes;
    return RegQueryValueExA(key, "Policies", nullptr, nullptr, record.bytes, &record.length) == ERROR_SUCCESS;
}

bool WriteRecord(const RegKey& key, const Record& record) {
    return key.WriteBytes("Policies", record.bytes, record.length);
}

// A record cut short keeps its length: only the fields that lie wholly
// inside it are cleared.
void SwitchOffTimers(Record& record) {
    for (DWORD offset : kTimerFields) {
        if (offset + kFieldSize <= record.length) memset(record.bytes + offset, 0, kFieldSize);
    }
}

// The number of the machine's scheme of this name, exactly as spelt; false
// when it has none.
bool SchemeNamed(HKEY machine, const std::string& wanted, std::string& number) {
    RegKey schemes;
    if (!schemes.Open(machine, kSchemes)) return false;
    bool found = false;
    ForEachSubkey(schemes.Get(), [&](const std::string& subkey) {
        RegKey scheme;
        std::string name;
        found = scheme.Open(schemes.Get(), subkey) && scheme.ReadString("Name", name, kTextLimit) && name == wanted;
        if (found) number = subkey;
        return found;
    });
    return found;
}

// Both halves of the current user's current scheme.
bool ReadCurrentScheme(HKEY machine, Record& user, Record& machinePart) {
    RegKey power;
    std::string current;
    if (!power.Open(HKEY_CURRENT_USER, kUserPowerKey) || !power.ReadString("CurrentPowerPolicy", current, kTextLimit) ||
        current.empty())
        return false;
    const std::string path = std::string(kSchemes) + "\\" + current;
    RegKey userScheme, machineScheme;
    return userScheme.Open(power.Get(), path) && ReadRecord(userScheme.Get(), user) &&
           machineScheme.Open(machine, path) && ReadRecord(machineScheme.Get(), machinePart);
}

// The number after the last one handed out: the number that "LastID"
// begins with, read as the C library's atoi reads it, or 0. False when the
// next number would not fit the range that numbers are written in.
bool NextSchemeNumber(const std::string& lastId, std::string& next) {
    const char* text = lastId.c_str();
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    long long last = 0;
    // Digits past the range only need to keep the number out of it.
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (last <= INT_MAX) last = last * 10 + (*text - '0');
    }
    if (negative) last = -last;
    if (last < INT_MIN || last >= INT_MAX) return false;
    char number[16];
    wsprintfA(number, "%d", static_cast<int>(last + 1));
    next = number;
    return true;
}

// Gives every user who has power settings the scheme and makes it current.
void GiveEveryUser(const std::string& number, const std::string& name, const std::string& description,
                   const Record& record) {
    ForEachSubkey(HKEY_USERS, [&](const std::string& user) {
        RegKey power, scheme;
        if (!power.Open(HKEY_USERS, user + "\\" + kUserPowerKey)) return false;
        if (!scheme.Create(power.Get(), std::string(kSchemes) + "\\" + number)) return false;
        bool written = scheme.WriteString("Description", description);
        written = scheme.WriteString("Name", name) && written;
        written = WriteRecord(scheme, record) && written;
        // Pointed at a scheme that is not all there, the user would be left
        // without working power settings; the old scheme stays current.
        if (written) power.WriteString("CurrentPowerPolicy", number);
        return false;
    });
}

// The scheme's name is written before the numbers handed out are raised, so
// a run cut off between the two leaves a scheme that "LastID" does not
// count yet; raised here, no later scheme takes its number.
// Only a scheme that is numbered counts: a name that is no number is not one
// of those handed out, and written as "LastID" it would not read as one.
void CountScheme(const RegKey& machine, const std::string& number) {
    if (number.empty() || number.size() > 9 || number.find_first_not_of("0123456789") != std::string::npos) return;
    const int own = atoi(number.c_str());
    auto raise = [&](const RegKey& key) {
        std::string lastId;
        if (key.ReadString("LastID", lastId, kTextLimit) && atoi(lastId.c_str()) >= own) return;
        key.WriteString("LastID", std::to_string(own));
    };
    raise(machine);
    if (RegKey schemes; schemes.Open(machine.Get(), kSchemes)) raise(schemes);
}

}  // namespace

void InstallServerPowerScheme() {
    // Asked once: with an unknown product code the question comes up once.
    const bool zelto = IsZeltoBrand();
    const std::string name = zelto ? "Zelto Server" : "Orvanta Server";
    const std::string description =
        zelto ? "This scheme keeps the computer running so Zelto stations continue to operate."
              : "This scheme keeps the computer running so Orvanta stations continue to operate.";

    // Without the machine's half of the schemes there is nothing to copy.
    RegKey machine;
    if (!machine.Open(HKEY_LOCAL_MACHINE, kMachinePowerKey)) return;
    if (std::string existing; SchemeNamed(machine.Get(), name, existing)) {
        CountScheme(machine, existing);
        return;
    }

    std::string lastId;
    machine.ReadString("LastID", lastId, kTextLimit);
    Record user, machinePart;
    if (!ReadCurrentScheme(machine.Get(), user, machinePart)) return;
    std::string number;
    if (!NextSchemeNumber(lastId, number)) return;
    SwitchOffTimers(user);
    SwitchOffTimers(machinePart);

    // The machine's half comes before any user is switched to the scheme:
    // a run cut off once a user's current scheme is the new one finds both
    // halves of it the next time. Its name, which marks the scheme as there,
    // comes after the users.
    RegKey scheme;
    if (scheme.Create(machine.Get(), std::string(kSchemes) + "\\" + number)) WriteRecord(scheme, machinePart);
    GiveEveryUser(number, name, description, user);
    scheme.WriteString("Name", name);
    machine.WriteString("LastID", number);
    RegKey schemes;
    if (schemes.Open(machine.Get(), kSchemes)) schemes.WriteString("LastID", number);
}
