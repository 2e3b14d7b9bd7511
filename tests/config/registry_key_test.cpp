// RegistryKey against the test host's registry: the product's encodings,
// the 511-character limit both ways, the key's life from open to close, the
// enumeration, and the deletion of whole trees.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config_fixture.h"
#include "registry_key.h"

using namespace config_test;

namespace {

const std::string kScratch = "Software\\OrvantaTest\\RegistryKey";

class RegistryKeyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { kept_ = std::make_unique<KeptKey>(HKEY_LOCAL_MACHINE, kScratch); }
    static void TearDownTestSuite() { kept_.reset(); }
    void SetUp() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kScratch.c_str());
        CreateKey(HKEY_LOCAL_MACHINE, kScratch);
    }
    void Put(const Value& value) { WriteValue(HKEY_LOCAL_MACHINE, kScratch, value); }
    std::optional<Value> Get(const std::string& name) { return ReadValue(HKEY_LOCAL_MACHINE, kScratch, name); }
    void OpenScratch(RegistryKey& key) { ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, kScratch.c_str()), 1); }

    static inline std::unique_ptr<KeptKey> kept_;
};

// --- reading ---------------------------------------------------------------

TEST_F(RegistryKeyTest, QueryByteZeroExtendsAOneByteValueOfAnyType) {
    Put(Binary("Full", {0xFF}));
    Put(Value{"Untyped", REG_NONE, {0x07}});
    RegistryKey key;
    OpenScratch(key);
    uint32_t value = 0xDEADBEEF;
    EXPECT_EQ(key.QueryByte("Full", value), 1);
    EXPECT_EQ(value, 255u);
    EXPECT_EQ(key.QueryByte("Untyped", value), 1);
    EXPECT_EQ(value, 7u);
}

TEST_F(RegistryKeyTest, QueryByteTreatsALongerOrMissingValueAsMissing) {
    Put(Binary("Four", {0x01, 0x00, 0x00, 0x00}));
    Put(Binary("Two", {0x01, 0x00}));
    RegistryKey key;
    OpenScratch(key);
    uint32_t value = 77;
    EXPECT_EQ(key.QueryByte("Four", value), 0);
    EXPECT_EQ(key.QueryByte("Two", value), 0);
    EXPECT_EQ(key.QueryByte("Absent", value), 0);
    EXPECT_EQ(value, 77u);
}

TEST_F(RegistryKeyTest, QueryDwordReadsUpToFourBytesLittleEndian) {
    Put(Binary("Short", {0x34, 0x12}));
    Put(Binary("Full", {0x78, 0x56, 0x34, 0x12}));
    Put(Binary("Five", {1, 2, 3, 4, 5}));
    RegistryKey key;
    OpenScratch(key);
    uint32_t value = 0;
    EXPECT_EQ(key.QueryDword("Short", value), 1);
    EXPECT_EQ(value, 0x1234u);
    EXPECT_EQ(key.QueryDword("Full", value), 1);
    EXPECT_EQ(value, 0x12345678u);
    value = 99;
    EXPECT_EQ(key.QueryDword("Five", value), 0);
    EXPECT_EQ(key.QueryDword("Absent", value), 0);
    EXPECT_EQ(value, 99u);
}

TEST_F(RegistryKeyTest, QueryStringTakesTheTextUpToItsFirstZero) {
    Put(Text("Name", "Front Desk"));
    Put(Value{"Embedded", REG_BINARY, {'a', 'b', 0, 'c', 'd', 0}});
    Put(Text("Empty", ""));
    RegistryKey key;
    OpenScratch(key);
    std::string text = "stale";
    EXPECT_EQ(key.QueryString("Name", text), 1);
    EXPECT_EQ(text, "Front Desk");
    EXPECT_EQ(key.QueryString("Embedded", text), 1);
    EXPECT_EQ(text, "ab");
    EXPECT_EQ(key.QueryString("Empty", text), 1);
    EXPECT_EQ(text, "");
}

TEST_F(RegistryKeyTest, QueryStringReadsAtMost511Characters) {
    Put(Text("Longest", std::string(511, 'a')));
    Put(Text("TooLong", std::string(512, 'b')));
    // 512 bytes without a terminator fit the buffer and still end with it.
    Put(Binary("Unterminated", std::vector<uint8_t>(512, 'c')));
    RegistryKey key;
    OpenScratch(key);
    std::string text;
    EXPECT_EQ(key.QueryString("Longest", text), 1);
    EXPECT_EQ(text, std::string(511, 'a'));
    text = "untouched";
    EXPECT_EQ(key.QueryString("TooLong", text), 0);
    EXPECT_EQ(key.QueryString("Absent", text), 0);
    EXPECT_EQ(text, "untouched");
    EXPECT_EQ(key.QueryString("Unterminated", text), 1);
    EXPECT_EQ(text, std::string(512, 'c'));
}

// --- writing ---------------------------------------------------------------

TEST_F(RegistryKeyTest, SetByteStoresOnlyTheLowByteAsBinary) {
    RegistryKey key;
    OpenScratch(key);
    EXPECT_EQ(key.SetByte("Flags", 0x1FF), 1);
    EXPECT_EQ(Get("Flags"), Binary("Flags", {0xFF}));
}

TEST_F(RegistryKeyTest, SetDwordStoresFourBinaryBytesNeverADoubleWord) {
    RegistryKey key;
    OpenScratch(key);
    EXPECT_EQ(key.SetDword("Base", 0x12345678), 1);
    auto stored = Get("Base");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(stored->bytes, (std::vector<uint8_t>{0x78, 0x56, 0x34, 0x12}));
    uint32_t value = 0;
    EXPECT_EQ(key.QueryDword("Base", value), 1);
    EXPECT_EQ(value, 0x12345678u);
}

TEST_F(RegistryKeyTest, SetStringStoresTheTextWithOneTerminator) {
    RegistryKey key;
    OpenScratch(key);
    EXPECT_EQ(key.SetString("Empty", ""), 1);
    EXPECT_EQ(key.SetString("Name", "Front Desk"), 1);
    EXPECT_EQ(key.SetString("Embedded", std::string("ab\0cd", 5)), 1);
    EXPECT_EQ(Get("Empty"), Text("Empty", ""));
    EXPECT_EQ(Get("Empty")->bytes.size(), 1u);
    EXPECT_EQ(Get("Name"), Text("Name", "Front Desk"));
    EXPECT_EQ(Get("Embedded"), Text("Embedded", "ab"));
}

TEST_F(RegistryKeyTest, SetStringCutsLongerTextsTo511Characters) {
    RegistryKey key;
    OpenScratch(key);
    EXPECT_EQ(key.SetString("Longest", std::string(511, 'a')), 1);
    EXPECT_EQ(key.SetString("OneOver", std::string(512, 'b')), 1);
    EXPECT_EQ(key.SetString("TwoOver", std::string(513, 'c')), 1);
    EXPECT_EQ(key.SetString("FarOver", std::string(4000, 'd')), 1);
    EXPECT_EQ(Get("Longest"), Text("Longest", std::string(511, 'a')));
    EXPECT_EQ(Get("OneOver"), Text("OneOver", std::string(511, 'b')));
    EXPECT_EQ(Get("TwoOver"), Text("TwoOver", std::string(511, 'c')));
    EXPECT_EQ(Get("FarOver"), Text("FarOver", std::string(511, 'd')));
    // What was written can be read back whole.
    std::string text;
    EXPECT_EQ(key.QueryString("TwoOver", text), 1);
    EXPECT_EQ(text, std::string(511, 'c'));
}

TEST_F(RegistryKeyTest, SetBinaryWritesTheGivenLength) {
    RegistryKey key;
    OpenScratch(key);
    const uint8_t bytes[] = {1, 2, 3, 4, 5};
    DWORD length = 3;
    EXPECT_EQ(key.SetBinary("Block", bytes, length), 1);
    EXPECT_EQ(length, 3u);
    DWORD none = 0;
    EXPECT_EQ(key.SetBinary("Nothing", bytes, none), 1);
    EXPECT_EQ(Get("Block"), Binary("Block", {1, 2, 3}));
    EXPECT_EQ(Get("Nothing"), Binary("Nothing", {}));
}

// --- opening and closing ---------------------------------------------------

TEST_F(RegistryKeyTest, OpenNeverCreatesAndCreateMakesMissingParents) {
    const std::string deep = kScratch + "\\One\\Two\\Three";
    RegistryKey key;
    EXPECT_EQ(key.Open(HKEY_LOCAL_MACHINE, deep.c_str()), 0);
    EXPECT_EQ(key.Handle(), nullptr);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kScratch + "\\One"));

    EXPECT_EQ(key.Create(HKEY_LOCAL_MACHINE, deep.c_str()), 1);
    EXPECT_NE(key.Handle(), nullptr);
    EXPECT_EQ(key.SetByte("Here", 1), 1);
    EXPECT_EQ(key.Close(), 1);
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, deep, "Here"), Binary("Here", {1}));

    // An existing key is opened as it is, with write access.
    EXPECT_EQ(key.Create(HKEY_LOCAL_MACHINE, deep.c_str()), 1);
    uint32_t value = 0;
    EXPECT_EQ(key.QueryByte("Here", value), 1);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(key.Close(), 1);
    EXPECT_EQ(key.Open(HKEY_LOCAL_MACHINE, deep.c_str()), 1);
    EXPECT_EQ(key.SetByte("Again", 2), 1);
}

TEST_F(RegistryKeyTest, CloseSucceedsOnceAndLeavesTheObjectClosed) {
    RegistryKey key;
    EXPECT_EQ(key.Close(), 0);
    OpenScratch(key);
    EXPECT_EQ(key.Close(), 1);
    EXPECT_EQ(key.Handle(), nullptr);
    EXPECT_EQ(key.Close(), 0);
}

// Everything a caller might do with a key that is not open: each answer is
// 0, no target changes and no value is written anywhere.
void ExpectInert(RegistryKey& key) {
    uint32_t number = 42;
    std::string text = "untouched";
    EXPECT_EQ(key.QueryByte("Present", number), 0);
    EXPECT_EQ(key.QueryDword("Present", number), 0);
    EXPECT_EQ(key.QueryString("Present", text), 0);
    EXPECT_EQ(number, 42u);
    EXPECT_EQ(text, "untouched");
    const uint8_t bytes[] = {9, 9};
    DWORD length = sizeof bytes;
    EXPECT_EQ(key.SetByte("Written", 1), 0);
    EXPECT_EQ(key.SetDword("Written", 1), 0);
    EXPECT_EQ(key.SetString("Written", "x"), 0);
    EXPECT_EQ(key.SetBinary("Written", bytes, length), 0);
    text = "stale";
    EXPECT_EQ(key.NextSubkey(text), 0);
    EXPECT_EQ(text, "");
    EXPECT_EQ(key.Close(), 0);
}

TEST_F(RegistryKeyTest, AKeyWhoseOpenFailedAnswersNothing) {
    Put(Binary("Present", {5}));
    CreateKey(HKEY_LOCAL_MACHINE, kScratch + "\\Child");
    RegistryKey key;
    EXPECT_EQ(key.Open(HKEY_LOCAL_MACHINE, (kScratch + "\\Missing").c_str()), 0);
    ExpectInert(key);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kScratch + "\\Missing"));
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kScratch, "Written"));
}

TEST_F(RegistryKeyTest, AClosedKeyAnswersNothingAndWritesNowhere) {
    Put(Binary("Present", {5}));
    CreateKey(HKEY_LOCAL_MACHINE, kScratch + "\\Child");
    RegistryKey key;
    OpenScratch(key);
    ASSERT_EQ(key.Close(), 1);
    ExpectInert(key);
    // Neither the key it held nor the hive's root got a value.
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kScratch, "Written"));
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, "", "Written"));
}

TEST_F(RegistryKeyTest, ReopeningWithoutCloseMovesToTheNewKey) {
    CreateKey(HKEY_LOCAL_MACHINE, kScratch + "\\Child");
    RegistryKey key;
    OpenScratch(key);
    // A path below the key the object holds, relative to that very handle.
    ASSERT_EQ(key.Open(key.Handle(), "Child"), 1);
    EXPECT_EQ(key.SetByte("Where", 1), 1);
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kScratch + "\\Child", "Where"), Binary("Where", {1}));
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kScratch, "Where"));
    // A failed reopen leaves the object closed, not on the old key.
    EXPECT_EQ(key.Open(HKEY_LOCAL_MACHINE, (kScratch + "\\Missing").c_str()), 0);
    EXPECT_EQ(key.Handle(), nullptr);
    EXPECT_EQ(key.SetByte("After", 1), 0);
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kScratch + "\\Child", "After"));
}

TEST_F(RegistryKeyTest, CreateWithoutAPathGivesTheObjectItsOwnHandle) {
    RegistryKey parent;
    OpenScratch(parent);
    {
        RegistryKey same;
        ASSERT_EQ(same.Create(parent.Handle(), ""), 1);
        EXPECT_NE(same.Handle(), parent.Handle());
        EXPECT_EQ(same.Close(), 1);
    }
    // The parent's handle survived the other object's close.
    EXPECT_EQ(parent.SetByte("StillOpen", 1), 1);
    EXPECT_EQ(Get("StillOpen"), Binary("StillOpen", {1}));
}

// --- enumeration -----------------------------------------------------------

TEST_F(RegistryKeyTest, NextSubkeyListsEachSubkeyThenEndsAndStartsOver) {
    CreateKey(HKEY_LOCAL_MACHINE, kScratch + "\\Alpha");
    CreateKey(HKEY_LOCAL_MACHINE, kScratch + "\\Beta\\Below");
    RegistryKey key;
    OpenScratch(key);
    std::string name;
    EXPECT_EQ(key.NextSubkey(name), 1);
    EXPECT_EQ(name, "Alpha");
    EXPECT_EQ(key.NextSubkey(name), 1);
    EXPECT_EQ(name, "Beta");
    EXPECT_EQ(key.NextSubkey(name), 0);
    EXPECT_EQ(name, "");
    EXPECT_EQ(key.NextSubkey(name), 1);
    EXPECT_EQ(name, "Alpha");
}

TEST_F(RegistryKeyTest, OpenAndCloseStartTheEnumerationOver) {
    CreateKey(HKEY_LOCAL_MACHINE, kScratch + "\\Alpha");
    CreateKey(HKEY_LOCAL_MACHINE, kScratch + "\\Beta");
    RegistryKey key;
    OpenScratch(key);
    std::string name;
    ASSERT_EQ(key.NextSubkey(name), 1);
    OpenScratch(key);
    EXPECT_EQ(key.NextSubkey(name), 1);
    EXPECT_EQ(name, "Alpha");
    ASSERT_EQ(key.Close(), 1);
    OpenScratch(key);
    EXPECT_EQ(key.NextSubkey(name), 1);
    EXPECT_EQ(name, "Alpha");
}

TEST_F(RegistryKeyTest, NextSubkeyOnAKeyWithoutSubkeysEndsAtOnce) {
    RegistryKey key;
    OpenScratch(key);
    std::string name = "stale";
    EXPECT_EQ(key.NextSubkey(name), 0);
    EXPECT_EQ(name, "");
}

// --- free operations -------------------------------------------------------

TEST_F(RegistryKeyTest, DeleteSubkeyRemovesTheWholeTree) {
    WriteValue(HKEY_LOCAL_MACHINE, kScratch + "\\Tree\\Branch\\Leaf", Text("Deep", "x"));
    WriteValue(HKEY_LOCAL_MACHINE, kScratch + "\\Tree", Text("Top", "x"));
    CreateKey(HKEY_LOCAL_MACHINE, kScratch + "\\Tree\\Other");
    // Several subkeys on every level: the listing shifts as each one goes.
    for (const char* leaf : {"\\Tree\\Branch\\Twig", "\\Tree\\Other\\A", "\\Tree\\Other\\B", "\\Tree\\Third"})
        WriteValue(HKEY_LOCAL_MACHINE, kScratch + leaf, Text("Deep", "x"));
    CreateKey(HKEY_LOCAL_MACHINE, kScratch + "\\Sibling");
    EXPECT_EQ(DeleteSubkey(HKEY_LOCAL_MACHINE, (kScratch + "\\Tree").c_str()), 1);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kScratch + "\\Tree"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kScratch + "\\Sibling"));
}

TEST_F(RegistryKeyTest, DeleteSubkeyWorksBelowAnOpenKeyAndFailsForMissingOnes) {
    CreateKey(HKEY_LOCAL_MACHINE, kScratch + "\\Tree\\Branch");
    RegistryKey key;
    OpenScratch(key);
    EXPECT_EQ(DeleteSubkey(key.Handle(), "Tree"), 1);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kScratch + "\\Tree"));
    EXPECT_EQ(DeleteSubkey(key.Handle(), "Tree"), 0);
    EXPECT_EQ(DeleteSubkey(HKEY_LOCAL_MACHINE, (kScratch + "\\Missing\\Deeper").c_str()), 0);
}

TEST_F(RegistryKeyTest, DeleteSubkeyWithoutAPathLeavesTheParentAlone) {
    CreateKey(HKEY_LOCAL_MACHINE, kScratch + "\\Child");
    Put(Text("Kept", "x"));
    RegistryKey key;
    OpenScratch(key);
    EXPECT_EQ(DeleteSubkey(key.Handle(), ""), 0);
    EXPECT_EQ(DeleteSubkey(key.Handle(), nullptr), 0);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kScratch + "\\Child"));
    EXPECT_TRUE(Get("Kept"));
}

TEST_F(RegistryKeyTest, FlushMachineSucceedsWhateverKeyIsOpen) {
    RegistryKey key;
    OpenScratch(key);
    EXPECT_EQ(FlushMachine(), 1);
    EXPECT_EQ(key.SetByte("AfterFlush", 1), 1);
}

}  // namespace
