// CONFIG.SYS and AUTOEXEC.BAT as the hooks leave them: the product's
// driver line put in place before the first other driver at installation
// and taken out at removal, the comments of earlier setups dropped, the
// Japanese display driver's option, the backup, and a host that never
// loses its boot file.
#include "boot_file.h"
#include "cleanup_fixture.h"

namespace {

using namespace cleanup_test;
using test_support::FileExists;
using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

class BootFiles : public CleanupTest {
protected:
    // The two lines the installation of Zelto KX4 (code 3) writes today.
    static std::string Block() {
        return "rem -- Zelto KX4 Setup -- added the next line on " + Today() +
               "\r\ndevice=c:\\windows\\orvanta.sys\r\n";
    }
    static std::string OptionComment() {
        return "rem -- Zelto KX4 Setup -- appended /hs=lc option on " + Today() + "\r\n";
    }
    std::string InstallOver(const std::string& configSys) {
        WriteFileBytes(kConfigSys, configSys);
        EXPECT_TRUE(DataMove(3));
        return ReadFileBytes(kConfigSys);
    }
    // The installation's hook while another holds the file open without
    // sharing; false when the file could not be held.
    bool DataMoveWhileHeld(const char* path) {
        HANDLE held = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(held, INVALID_HANDLE_VALUE) << path;
        if (held == INVALID_HANDLE_VALUE) return false;
        bool result = DataMove(3);
        CloseHandle(held);
        return result;
    }
    std::string UninstallOver(const std::string& configSys) {
        WriteFileBytes(kConfigSys, configSys);
        EXPECT_EQ(Uninstall(), 0);
        return ReadFileBytes(kConfigSys);
    }
};

TEST_F(BootFiles, WithoutDeviceLinesTheProductsLineGoesAtTheEnd) {
    EXPECT_EQ(InstallOver("FILES=40\r\nBUFFERS=20\r\n"), "FILES=40\r\nBUFFERS=20\r\n" + Block());
    EXPECT_EQ(ReadFileBytes(kConfigBak), "FILES=40\r\nBUFFERS=20\r\n") << "the previous text is the backup";
    EXPECT_FALSE(FileExists(kConfigScratch));
    // A last line without its line break keeps its own line.
    EXPECT_EQ(InstallOver("FILES=40\r\nBUFFERS=20"), "FILES=40\r\nBUFFERS=20\r\n" + Block());
    // DOS reads no further than an end-of-file mark: the lines go before it.
    EXPECT_EQ(InstallOver("FILES=40\r\nBUFFERS=20\r\n\x1A"), "FILES=40\r\nBUFFERS=20\r\n" + Block() + "\x1A");
    EXPECT_EQ(InstallOver("FILES=40\r\nBUFFERS=20\x1A"), "FILES=40\r\nBUFFERS=20\r\n" + Block() + "\x1A");
    // Nor past the first one: lines another installer appended after it stay
    // there as they are, in both modes.
    const std::string appended = "\x1A\r\nDEVICE=C:\\WINDOWS\\ORVANTA.SYS\r\nDEVICE=C:\\DOS\\JDISP.SYS\r\n\x1A";
    EXPECT_EQ(InstallOver("FILES=40\r\n" + appended), "FILES=40\r\n" + Block() + appended);
    EXPECT_EQ(UninstallOver("FILES=40\r\n" + appended), "FILES=40\r\n" + appended);
}

TEST_F(BootFiles, AnEarlierInstallationsLineIsReplacedByOneBeforeTheFirstOtherDriver) {
    const std::string earlier =
        "rem -- Orvanta Zq Setup -- added the next line on 03-Mar-1999\r\n"
        "DEVICE=C:\\WINDOWS\\ORVANTA.SYS\r\n"
        "FILES=40\r\n"
        "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n"
        "DEVICE=C:\\WINDOWS\\EMM386.EXE NOEMS\r\n";
    EXPECT_EQ(InstallOver(earlier), "FILES=40\r\n" + Block() +
                                        "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n"
                                        "DEVICE=C:\\WINDOWS\\EMM386.EXE NOEMS\r\n");
    // A second installation finds its own line and comment and keeps one.
    std::string again = InstallOver(ReadFileBytes(kConfigSys));
    EXPECT_EQ(again, "FILES=40\r\n" + Block() +
                         "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n"
                         "DEVICE=C:\\WINDOWS\\EMM386.EXE NOEMS\r\n");
    // Alone, it goes to the end.
    EXPECT_EQ(InstallOver("rem -- Zelto KX9 Setup -- added the next line on 01-Jan-2001\r\n"
                          "device=c:\\windows\\orvanta.sys\r\nFILES=40\r\n"),
              "FILES=40\r\n" + Block());
}

TEST_F(BootFiles, TheProductsLineIsFoundWhateverItsCaseAndSpacing) {
    const std::string config = "DEVICEHIGH = C:\\WINDOWS\\ORVANTA.SYS\r\nFILES=40\r\n";
    EXPECT_EQ(UninstallOver(config), "FILES=40\r\n");
    EXPECT_EQ(InstallOver(config), "FILES=40\r\n" + Block());
    EXPECT_EQ(UninstallOver("\tDevice = c:\\windows\\Orvanta.Sys /x\r\nFILES=40\r\n"), "FILES=40\r\n");
}

TEST_F(BootFiles, EveryEarlierSetupsCommentIsDroppedInBothModes) {
    const std::string comments =
        "REM -- Zelto Setup -- added the next line\r\n"
        "rem--zeltokx4setup--added\r\n"
        "Rem -- Zelto KX9 Setup -- Added\r\n"
        "rem -- Orvanta Setup -- added\r\n"
        "rem -- Orvanta Zq Setup -- added the next line on 01-Feb-1998\r\n"
        "rem -- Orvanta Ensemble Setup -- added\r\n"
        "rem -- Orvanta Setup -- appended /hs=lc option on 01-Feb-1998\r\n"
        "rem -- Orvanta Setup -- removed\r\n";
    const std::string kept =
        "rem -- Orvanta Setup -- appended /hs=lc option on 01-Feb-1998\r\n"
        "rem -- Orvanta Setup -- removed\r\n";
    EXPECT_EQ(UninstallOver(comments), kept);
    EXPECT_EQ(InstallOver(comments), kept + Block());
}

TEST_F(BootFiles, TheJapaneseDisplayDriverGetsItsOptionOnceAtInstallation) {
    const std::string config = "device=c:\\dos\\jdisp.sys  \r\nFILES=40\r\n";
    const std::string installed = InstallOver(config);
    EXPECT_EQ(installed, Block() + OptionComment() + "device=c:\\dos\\jdisp.sys /hs=lc\r\nFILES=40\r\n");
    // A second installation leaves the option alone; its own line moves
    // below the option's comment, before the first driver.
    EXPECT_EQ(InstallOver(installed), OptionComment() + Block() + "device=c:\\dos\\jdisp.sys /hs=lc\r\nFILES=40\r\n");
    // Removal takes out the product's line, not the option.
    EXPECT_EQ(UninstallOver(installed), OptionComment() + "device=c:\\dos\\jdisp.sys /hs=lc\r\nFILES=40\r\n");
    EXPECT_EQ(UninstallOver(config), config) << "no option added at removal";
    // Cut short by the end-of-file mark, as "copy con" leaves it: the option
    // goes before the mark, where DOS reads it.
    EXPECT_EQ(InstallOver("DEVICE=C:\\DOS\\JDISP.SYS\x1A"),
              Block() + OptionComment() + "DEVICE=C:\\DOS\\JDISP.SYS /hs=lc\r\n\x1A");
}

TEST_F(BootFiles, AMissingConfigSysIsCreatedWithJustTheProductsLines) {
    DeleteFileA(kConfigSys);
    DeleteFileA(kConfigBak);
    EXPECT_TRUE(DataMove(3));
    EXPECT_EQ(ReadFileBytes(kConfigSys), Block());
    ASSERT_TRUE(FileExists(kConfigBak));
    EXPECT_EQ(ReadFileBytes(kConfigBak), "");

    // An empty one the same; removal then leaves it empty again.
    EXPECT_EQ(InstallOver(""), Block());
    EXPECT_EQ(UninstallOver(Block()), "");
    EXPECT_EQ(UninstallOver(""), "");
}

TEST_F(BootFiles, LinesAreReadInPiecesOf511Bytes) {
    // The second piece of this line begins with a device line of its own.
    const std::string longLine = "REM " + std::string(507, '-') + "device=c:\\windows\\orvanta.sys\r\n";
    ASSERT_EQ(longLine.find("device"), 511u);
    EXPECT_EQ(UninstallOver(longLine + "FILES=40\r\n"), longLine.substr(0, 511) + "FILES=40\r\n");
    // A long line without a line end at the file's end is kept whole.
    const std::string tail = "SET PATH=" + std::string(700, 'A');
    EXPECT_EQ(UninstallOver("FILES=40\r\n" + tail), "FILES=40\r\n" + tail);
}

TEST_F(BootFiles, AWriteProtectedBackupLeavesConfigSysUntouched) {
    WriteFileBytes(kConfigSys, "FILES=40\r\n");
    WriteFileBytes(kConfigBak, "old backup\r\n");
    // Held open without sharing: it cannot be replaced.
    EXPECT_TRUE(DataMoveWhileHeld(kConfigBak));
    EXPECT_EQ(ReadFileBytes(kConfigSys), "FILES=40\r\n");
    EXPECT_EQ(ReadFileBytes(kConfigBak), "old backup\r\n");
}

TEST_F(BootFiles, AProtectedConfigSysOrBackupIsRewrittenAndKeepsItsAttributes) {
    const DWORD hidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    WriteFileBytes(kConfigSys, "FILES=40\r\n");
    SetFileAttributesA(kConfigSys, hidden);
    WriteFileBytes(kConfigBak, "old backup\r\n");
    SetFileAttributesA(kConfigBak, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    WriteFileBytes(kConfigScratch, "left over\r\n");
    SetFileAttributesA(kConfigScratch, FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(DataMove(3));
    EXPECT_EQ(ReadFileBytes(kConfigSys), "FILES=40\r\n" + Block());
    EXPECT_EQ(GetFileAttributesA(kConfigSys) & hidden, hidden);
    // The previous text, once the boot file, must not stop the next rewrite.
    EXPECT_EQ(Uninstall(), 0);
    EXPECT_EQ(ReadFileBytes(kConfigSys), "FILES=40\r\n");
    EXPECT_EQ(GetFileAttributesA(kConfigSys) & hidden, hidden);
    EXPECT_EQ(ReadFileBytes(kConfigBak), "FILES=40\r\n" + Block());
    SetFileAttributesA(kConfigSys, FILE_ATTRIBUTE_NORMAL);
}

TEST_F(BootFiles, ARewriteCutOffBetweenItsRenamesIsPutBackByTheNextRun) {
    // No boot file, its text under the scratch name and the new one under
    // the backup name: where a rewrite cut off after its first rename stops.
    DeleteFileA(kConfigSys);
    WriteFileBytes(kConfigScratch, "FILES=40\r\n");
    WriteFileBytes(kConfigBak, "half done\r\n");
    EXPECT_TRUE(DataMove(3));
    EXPECT_EQ(ReadFileBytes(kConfigSys).rfind("FILES=40\r\n", 0), 0u) << ReadFileBytes(kConfigSys);
    EXPECT_EQ(ReadFileBytes(kConfigBak), "FILES=40\r\n");
    EXPECT_FALSE(FileExists(kConfigScratch));
}

TEST_F(BootFiles, WhenTheNamesCannotBeSwappedTheHostKeepsItsBootFile) {
    WriteFileBytes(kConfigSys, "FILES=40\r\n");
    WriteFileBytes(kConfigScratch, "left over\r\n");
    // A scratch file that cannot be deleted makes the first rename fail.
    EXPECT_TRUE(DataMoveWhileHeld(kConfigScratch));
    EXPECT_EQ(ReadFileBytes(kConfigSys), "FILES=40\r\n");
    EXPECT_EQ(ReadFileBytes(kConfigScratch), "left over\r\n");
}

TEST_F(BootFiles, RemovalTakesTheDisplayUtilityOutOfAutoexecBat) {
    const std::string autoexec =
        "@ECHO OFF\r\n"
        "C:\\S3\\S3DM.EXE /I\r\n"
        "LH c:\\s3\\s3dm .exe\r\n"
        "SET TEMP=C:\\WINDOWS\\TEMP\r\n";
    WriteFileBytes(kAutoexecBat, autoexec);
    EXPECT_EQ(Uninstall(), 0);
    EXPECT_EQ(ReadFileBytes(kAutoexecBat), "@ECHO OFF\r\nSET TEMP=C:\\WINDOWS\\TEMP\r\n");
    EXPECT_EQ(ReadFileBytes(kAutoexecBak), autoexec);

    // Installation leaves AUTOEXEC.BAT alone.
    WriteFileBytes(kAutoexecBat, autoexec);
    EXPECT_TRUE(DataMove(3));
    EXPECT_EQ(ReadFileBytes(kAutoexecBat), autoexec);
}

}  // namespace

namespace {

// The swap of names held directly, with a rename that fails where a test
// says: the host must keep a boot file whatever fails.
class BootFileSwap : public cleanup_test::CleanupTest {
protected:
    void TearDown() override {
        SetBootFileMove(nullptr);
        CleanupTest::TearDown();
    }

    static BOOL WINAPI RefuseToInstallTheNewText(const char* from, const char* to) {
        if (lstrcmpiA(from, cleanup_test::kConfigBak) == 0) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        return MoveFileA(from, to);
    }

    // Passes every line and adds one, so the new text differs.
    class AddLine : public LineFilter {
    public:
        void Line(const std::string& line, const std::string&, std::string& out) override { out += line; }
        void Finish(std::string& out) override { out += "REM added\r\n"; }
    };
};

TEST_F(BootFileSwap, AFailedRenameOfTheNewTextPutsTheOriginalBack) {
    test_support::WriteFileBytes(cleanup_test::kConfigSys, "FILES=40\r\n");
    SetBootFileMove(&RefuseToInstallTheNewText);
    AddLine filter;
    RewriteBootFile({cleanup_test::kConfigSys, cleanup_test::kConfigBak, cleanup_test::kConfigScratch}, filter);
    EXPECT_EQ(test_support::ReadFileBytes(cleanup_test::kConfigSys), "FILES=40\r\n");
    EXPECT_FALSE(test_support::FileExists(cleanup_test::kConfigScratch));

    SetBootFileMove(nullptr);
    RewriteBootFile({cleanup_test::kConfigSys, cleanup_test::kConfigBak, cleanup_test::kConfigScratch}, filter);
    EXPECT_EQ(test_support::ReadFileBytes(cleanup_test::kConfigSys), "FILES=40\r\nREM added\r\n");
    EXPECT_EQ(test_support::ReadFileBytes(cleanup_test::kConfigBak), "FILES=40\r\n");
}

}  // namespace
