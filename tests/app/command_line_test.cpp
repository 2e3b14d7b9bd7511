// How arguments reach the program: split as Windows splits them, switch
// characters taken off, and the words that make it a one-shot tool.
#include <gtest/gtest.h>

#include "command_line.h"
#include "control_center_app.h"

namespace {

using Arguments = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheRuntimesQuotingRules) {
    EXPECT_EQ(SplitCommandLine("zelto.exe"), (Arguments{"zelto.exe"}));
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\zelto.exe\"  /a\t-B"),
              (Arguments{"C:\\Program Files\\zelto.exe", "/a", "-B"}));
    EXPECT_EQ(SplitCommandLine("z \"two words\" x\"y z\""), (Arguments{"z", "two words", "xy z"}));
    // Backslashes only escape a quote that follows them.
    EXPECT_EQ(SplitCommandLine("z a\\\\b \\\"q\\\" c:\\dir\\\\\"\" tail"),
              (Arguments{"z", "a\\\\b", "\"q\"", "c:\\dir\\", "tail"}));
    EXPECT_EQ(SplitCommandLine("z \"\""), (Arguments{"z", ""}));
    EXPECT_EQ(SplitCommandLine("z \"a\"\"b\""), (Arguments{"z", "a\"b"}));
}

struct Parsed {
    CControlCenterCommandLineInfo info;
    explicit Parsed(const char* commandLine) { ParseCommandLineArguments(SplitCommandLine(commandLine), info); }
};

TEST(CommandLineWords, AutoLaunchWithSlashHyphenOrBareAndAnyCase) {
    for (const char* line : {"zelto /a", "zelto -A", "zelto AUTOLAUNCH", "zelto autolaunch"}) {
        Parsed parsed(line);
        EXPECT_TRUE(parsed.info.m_bAutoLaunch) << line;
        EXPECT_TRUE(parsed.info.m_strFileName.empty()) << line;
    }
}

TEST(CommandLineWords, ALongerWordGoesToTheBaseClass) {
    Parsed parsed("zelto AutoLaunchX");
    EXPECT_FALSE(parsed.info.m_bAutoLaunch);
    EXPECT_EQ(parsed.info.m_strFileName, "AutoLaunchX");
    EXPECT_EQ(parsed.info.m_nShellCommand, CCommandLineInfo::FileOpen);
}

TEST(CommandLineWords, EveryWordSetsItsOwnFlagAndIsNoFileName) {
    Parsed parsed("zelto /h -? Register u /BLUESCREEN");
    EXPECT_TRUE(parsed.info.m_bHelp);
    EXPECT_TRUE(parsed.info.m_bRegister);
    EXPECT_TRUE(parsed.info.m_bUninstall);
    EXPECT_TRUE(parsed.info.m_bBlueScreen);
    EXPECT_FALSE(parsed.info.m_bAutoLaunch);
    EXPECT_EQ(parsed.info.m_nShellCommand, CCommandLineInfo::FileNew);
}

TEST(CommandLineWords, SwitchesThatAreNoWordsAreIgnored) {
    Parsed parsed("zelto /x first second");
    EXPECT_EQ(parsed.info.m_strFileName, "first");
}

}  // namespace
