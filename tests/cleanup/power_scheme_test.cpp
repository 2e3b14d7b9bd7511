// The power scheme that the end of setup adds so the host never sleeps under
// its stations: a copy of the current scheme with two timers off, given to
// every user and made current, numbered after the last scheme handed out,
// and added once per name.
#include <cstdint>
#include <functional>

#include "cleanup_fixture.h"
#include "registry_values.h"

namespace {

using namespace cleanup_test;

const char kOrvantaDescription[] = "This scheme keeps the computer running so Orvanta stations continue to operate.";
const char kZeltoDescription[] = "This scheme keeps the computer running so Zelto stations continue to operate.";

// A user besides the current and the default one, and a user who has never
// opened the power settings.
const char kOtherUser[] = "PowerSchemeTestUser";
const char kUserWithoutPower[] = "PowerSchemeTestNoPower";
const std::string kOtherUserPower = std::string(kOtherUser) + "\\" + kUserPowerKey;

struct Place {
    HKEY root;
    std::string path;
};

using test_support::KeyExists;

test_support::StoredValue Read(const Place& key, const std::string& subkey, const char* name) {
    return test_support::ReadValue(key.root, subkey.empty() ? key.path : key.path + "\\" + subkey, name);
}

// A string value as it should be stored: with its zero, as REG_SZ.
std::string Text(const Place& key, const std::string& subkey, const char* name) {
    test_support::StoredValue value = Read(key, subkey, name);
    if (!value.present) return "(missing)";
    if (value.type != REG_SZ) return "(not a string)";
    if (value.bytes.empty() || value.bytes.back() != '\0') return "(no zero)";
    return value.bytes.substr(0, value.bytes.size() - 1);
}

std::string Binary(const Place& key, const std::string& subkey) {
    test_support::StoredValue value = Read(key, subkey, "Policies");
    if (!value.present) return "(missing)";
    return value.type == REG_BINARY ? value.bytes : "(not binary)";
}

void Put(const Place& key, const std::string& subkey, const char* name, DWORD type, const std::string& bytes) {
    test_support::PutValue(key.root, subkey.empty() ? key.path : key.path + "\\" + subkey, name, type, bytes);
}

void PutText(const Place& key, const std::string& subkey, const char* name, const std::string& text) {
    Put(key, subkey, name, REG_SZ, text + '\0');
}

void Remove(const Place& key, const std::string& subkey, const char* name) {
    test_support::DeleteValue(key.root, key.path + "\\" + subkey, name);
}

// Records with no zero byte, different for every seed, so that each cleared
// field and each mix-up shows.
std::string Record(size_t length, int seed) {
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((seed * 37 + i * 11) % 255 + 1);
    return bytes;
}
std::string MachineRecord(int scheme, size_t length = 64) {
    return Record(length, scheme);
}
std::string UserRecord(int scheme, size_t length = 80) {
    return Record(length, 100 + scheme);
}

// What the server scheme makes of a record: the 32-bit fields at 4 and 28
// cleared where they fit.
std::string TimersOff(std::string record) {
    for (size_t offset : {4, 28}) {
        if (offset + 4 <= record.size()) record.replace(offset, 4, 4, '\0');
    }
    return record;
}

size_t Differing(const std::string& one, const std::string& other) {
    if (one.size() != other.size()) return SIZE_MAX;
    size_t count = 0;
    for (size_t i = 0; i < one.size(); ++i) count += one[i] != other[i];
    return count;
}

class PowerScheme : public CleanupTest {
protected:
    void SetUp() override {
        CleanupTest::SetUp();
        if (!HasFatalFailure()) Layout();
    }

    // Six schemes, the last number handed out 5, scheme 2 current for this
    // user and 4 for the other one; the default user has the schemes but
    // no current one.
    void Layout() {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMachinePowerKey);
        for (const Place& user : users_) RegDeleteTreeA(user.root, user.path.c_str());
        RegDeleteTreeA(HKEY_USERS, kUserWithoutPower);
        PutText(machine_, "", "LastID", "5");
        PutText(machine_, "PowerPolicies", "LastID", "5");
        for (int scheme = 0; scheme <= 5; ++scheme) {
            const std::string number = "PowerPolicies\\" + std::to_string(scheme);
            PutText(machine_, number, "Name", "Scheme " + std::to_string(scheme));
            Put(machine_, number, "Policies", REG_BINARY, MachineRecord(scheme));
            for (const Place& user : users_) {
                PutText(user, number, "Name", "Scheme " + std::to_string(scheme));
                PutText(user, number, "Description", "Described " + std::to_string(scheme));
                Put(user, number, "Policies", REG_BINARY, UserRecord(scheme));
            }
        }
        PutText(current_, "", "CurrentPowerPolicy", "2");
        PutText(other_, "", "CurrentPowerPolicy", "4");
        PutText({HKEY_USERS, kUserWithoutPower}, "Control Panel", "ScreenSaveActive", "0");
    }

    std::string Snapshot() {
        std::string all = test_support::DumpKeyTree(HKEY_LOCAL_MACHINE, kMachinePowerKey);
        for (const Place& user : users_) all += test_support::DumpKeyTree(user.root, user.path);
        return all + test_support::DumpKeyTree(HKEY_USERS, kUserWithoutPower);
    }

    void ExpectLastId(const std::string& number) {
        EXPECT_EQ(Text(machine_, "", "LastID"), number);
        EXPECT_EQ(Text(machine_, "PowerPolicies", "LastID"), number);
    }

    const Place machine_{HKEY_LOCAL_MACHINE, kMachinePowerKey};
    const Place current_{HKEY_CURRENT_USER, kUserPowerKey};
    const Place other_{HKEY_USERS, kOtherUserPower};
    const std::vector<Place> users_{current_, {HKEY_USERS, kDefaultUserPowerKey}, other_};
    test_support::RegistryBackup otherUser_{HKEY_USERS, kOtherUser};
    test_support::RegistryBackup userWithoutPower_{HKEY_USERS, kUserWithoutPower};
};

TEST_F(PowerScheme, TheCurrentSchemeIsCopiedWithItsTimersOffAndMadeEveryUsersCurrentScheme) {
    EXPECT_TRUE(SetupComplete(1));

    EXPECT_EQ(Text(machine_, "PowerPolicies\\6", "Name"), "Orvanta Server");
    EXPECT_EQ(Binary(machine_, "PowerPolicies\\6"), TimersOff(MachineRecord(2)));
    EXPECT_FALSE(Read(machine_, "PowerPolicies\\6", "Description").present);
    ExpectLastId("6");
    for (const Place& user : users_) {
        SCOPED_TRACE(user.path);
        EXPECT_EQ(Text(user, "PowerPolicies\\6", "Name"), "Orvanta Server");
        EXPECT_EQ(Text(user, "PowerPolicies\\6", "Description"), kOrvantaDescription);
        // The current user's scheme for everyone, whatever theirs was.
        EXPECT_EQ(Binary(user, "PowerPolicies\\6"), TimersOff(UserRecord(2)));
        EXPECT_EQ(Text(user, "", "CurrentPowerPolicy"), "6");
    }
    // Eight bytes differ from the source, and the source stays as it was.
    EXPECT_EQ(Differing(Binary(current_, "PowerPolicies\\6"), UserRecord(2)), 8u);
    EXPECT_EQ(Differing(Binary(machine_, "PowerPolicies\\6"), MachineRecord(2)), 8u);
    EXPECT_EQ(Binary(current_, "PowerPolicies\\2"), UserRecord(2));
    EXPECT_EQ(Binary(machine_, "PowerPolicies\\2"), MachineRecord(2));
    EXPECT_EQ(Text(machine_, "PowerPolicies\\2", "Name"), "Scheme 2");

    EXPECT_FALSE(KeyExists(HKEY_USERS, std::string(kUserWithoutPower) + "\\" + kUserPowerKey));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(PowerScheme, ASchemeOfTheSameNameIsNotAddedAgainEvenWhenNoLongerCurrent) {
    ASSERT_TRUE(SetupComplete(1));
    std::string before = Snapshot();
    EXPECT_TRUE(SetupComplete(2));
    EXPECT_EQ(Snapshot(), before);

    PutText(current_, "", "CurrentPowerPolicy", "3");
    PutText(other_, "", "CurrentPowerPolicy", "0");
    before = Snapshot();
    EXPECT_TRUE(SetupComplete(1));
    EXPECT_EQ(Snapshot(), before);

    // Cut off after the scheme got its name but before the numbers handed
    // out were raised: the next run counts it, so no later scheme takes 6.
    PutText(machine_, "", "LastID", "5");
    PutText(machine_, "PowerPolicies", "LastID", "5");
    EXPECT_TRUE(SetupComplete(1));
    ExpectLastId("6");

    // Found under a name that is no number, it counts as no number handed
    // out: nothing is written.
    Layout();
    PutText(machine_, "PowerPolicies\\Server", "Name", "Orvanta Server");
    Remove(machine_, "", "LastID");
    Remove(machine_, "PowerPolicies", "LastID");
    before = Snapshot();
    EXPECT_TRUE(SetupComplete(1));
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(PowerScheme, OnlyAMachineSchemeOfExactlyTheNameCounts) {
    PutText(machine_, "PowerPolicies\\3", "Name", "orvanta server");
    PutText(current_, "PowerPolicies\\4", "Name", "Orvanta Server");
    EXPECT_TRUE(SetupComplete(2));
    EXPECT_EQ(Text(machine_, "PowerPolicies\\6", "Name"), "Orvanta Server");
    EXPECT_EQ(Text(current_, "", "CurrentPowerPolicy"), "6");
}

TEST_F(PowerScheme, TheNewNumberFollowsTheNumberThatLastIdBeginsWith) {
    const struct {
        const char* lastId;  // nullptr: none
        const char* next;
    } cases[] = {{"12abc", "13"}, {nullptr, "1"}, {"", "1"}, {"abc", "1"}, {" 7", "8"}, {"0", "1"}};
    for (const auto& row : cases) {
        SCOPED_TRACE(row.lastId ? row.lastId : "(none)");
        Layout();
        // Only the machine key's own LastID counts.
        PutText(machine_, "PowerPolicies", "LastID", "40");
        if (row.lastId)
            PutText(machine_, "", "LastID", row.lastId);
        else
            Remove(machine_, "", "LastID");
        EXPECT_TRUE(SetupComplete(1));
        const std::string scheme = std::string("PowerPolicies\\") + row.next;
        EXPECT_EQ(Text(machine_, scheme, "Name"), "Orvanta Server");
        EXPECT_EQ(Binary(machine_, scheme), TimersOff(MachineRecord(2)));
        EXPECT_EQ(Text(current_, scheme, "Name"), "Orvanta Server");
        EXPECT_EQ(Text(current_, scheme, "Description"), kOrvantaDescription);
        EXPECT_EQ(Text(current_, "", "CurrentPowerPolicy"), row.next);
        ExpectLastId(row.next);
    }
    // Scheme 1 was there and is replaced.
    EXPECT_EQ(Binary(current_, "PowerPolicies\\1"), TimersOff(UserRecord(2)));
}

TEST_F(PowerScheme, AZeltoProductAddsItsSchemeBesideOrvantas) {
    ASSERT_TRUE(SetupComplete(1));
    EXPECT_TRUE(SetupComplete(4));
    EXPECT_EQ(Text(machine_, "PowerPolicies\\6", "Name"), "Orvanta Server");
    EXPECT_EQ(Text(machine_, "PowerPolicies\\7", "Name"), "Zelto Server");
    for (const Place& user : users_) {
        SCOPED_TRACE(user.path);
        EXPECT_EQ(Text(user, "PowerPolicies\\7", "Name"), "Zelto Server");
        EXPECT_EQ(Text(user, "PowerPolicies\\7", "Description"), kZeltoDescription);
        EXPECT_EQ(Text(user, "PowerPolicies\\6", "Description"), kOrvantaDescription);
        EXPECT_EQ(Text(user, "", "CurrentPowerPolicy"), "7");
    }
    ExpectLastId("7");
    // Copied from the Orvanta scheme, current by then.
    EXPECT_EQ(Binary(current_, "PowerPolicies\\7"), TimersOff(UserRecord(2)));

    const std::string before = Snapshot();
    EXPECT_TRUE(SetupComplete(3));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(PowerScheme, AnUnknownProductIsAskedAboutOnceAndGetsTheOrvantaScheme) {
    EXPECT_TRUE(SetupComplete(0));
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Text(machine_, "PowerPolicies\\6", "Name"), "Orvanta Server");
    EXPECT_EQ(Text(current_, "PowerPolicies\\6", "Description"), kOrvantaDescription);

    // Asked also when the scheme is already there.
    const std::string before = Snapshot();
    EXPECT_TRUE(SetupComplete(0));
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(PowerScheme, WithoutBothHalvesOfTheCurrentSchemeOrANumberToGiveNothingChanges) {
    const struct {
        const char* what;
        std::function<void()> change;
    } cases[] = {
        {"no current scheme", [&] { Remove(current_, "", "CurrentPowerPolicy"); }},
        {"current scheme unknown", [&] { PutText(current_, "", "CurrentPowerPolicy", "9"); }},
        {"empty current scheme", [&] { PutText(current_, "", "CurrentPowerPolicy", ""); }},
        {"user half missing", [&] { Remove(current_, "PowerPolicies\\2", "Policies"); }},
        {"machine half missing", [&] { Remove(machine_, "PowerPolicies\\2", "Policies"); }},
        {"user half too long", [&] { Put(current_, "PowerPolicies\\2", "Policies", REG_BINARY, UserRecord(2, 513)); }},
        {"machine half too long",
         [&] { Put(machine_, "PowerPolicies\\2", "Policies", REG_BINARY, MachineRecord(2, 513)); }},
        {"no power settings for this user", [&] { RegDeleteTreeA(HKEY_CURRENT_USER, kUserPowerKey); }},
        {"no last number left", [&] { PutText(machine_, "", "LastID", "2147483647"); }},
        {"machine key missing", [&] { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMachinePowerKey); }},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        Layout();
        row.change();
        const std::string before = Snapshot();
        EXPECT_TRUE(SetupComplete(1));
        EXPECT_EQ(Snapshot(), before);
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(PowerScheme, RecordsKeepTheirLengthAndOnlyFieldsWhollyInsideAreCleared) {
    const struct { size_t user, machine; } lengths[] = {{20, 31}, {512, 32}, {0, 4}};
    for (const auto& row : lengths) {
        SCOPED_TRACE(std::to_string(row.user) + " and " + std::to_string(row.machine) + " bytes");
        Layout();
        Put(current_, "PowerPolicies\\2", "Policies", REG_BINARY, UserRecord(2, row.user));
        Put(machine_, "PowerPolicies\\2", "Policies", REG_BINARY, MachineRecord(2, row.machine));
        EXPECT_TRUE(SetupComplete(1));
        EXPECT_EQ(Binary(machine_, "PowerPolicies\\6"), TimersOff(MachineRecord(2, row.machine)));
        for (const Place& user : users_)
            EXPECT_EQ(Binary(user, "PowerPolicies\\6"), TimersOff(UserRecord(2, row.user)));
    }
    // Spelled out for the shortest: one field inside, the other past the end.
    std::string expected = UserRecord(2, 20);
    expected.replace(4, 4, 4, '\0');
    Layout();
    Put(current_, "PowerPolicies\\2", "Policies", REG_BINARY, UserRecord(2, 20));
    EXPECT_TRUE(SetupComplete(1));
    EXPECT_EQ(Binary(current_, "PowerPolicies\\6"), expected);
}

TEST_F(PowerScheme, AUserWhoseSchemeCannotBeWrittenKeepsTheirCurrentScheme) {
    // A volatile key takes no lasting subkeys: the new scheme cannot be made
    // under it.
    const std::string schemes = kOtherUserPower + "\\PowerPolicies";
    RegDeleteTreeA(HKEY_USERS, schemes.c_str());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_USERS, schemes.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);

    EXPECT_TRUE(SetupComplete(1));
    EXPECT_FALSE(KeyExists(HKEY_USERS, schemes + "\\6"));
    EXPECT_EQ(Text(other_, "", "CurrentPowerPolicy"), "4");
    EXPECT_EQ(Text(current_, "", "CurrentPowerPolicy"), "6");
    EXPECT_EQ(Text(machine_, "PowerPolicies\\6", "Name"), "Orvanta Server");
    ExpectLastId("6");
}

}  // namespace
