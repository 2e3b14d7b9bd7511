#include <gtest/gtest.h>

#include "run_command.h"

using namespace stationctl;

TEST(Dispatch, WithoutACommandSaysHowToGetHelp) {
    CommandRun run = RunCommand({});
    EXPECT_EQ(run.exitCode, kExitBadArguments);
    EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    EXPECT_NE(run.err.find("--help"), std::string::npos);
}

TEST(Dispatch, AnUnknownCommandIsNamedInOneLine) {
    CommandRun run = RunCommand({"lauch", "1"});
    EXPECT_EQ(run.exitCode, kExitBadArguments);
    EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    EXPECT_NE(run.err.find("'lauch'"), std::string::npos);
    EXPECT_EQ(run.out, "");
}

TEST(Dispatch, TheOverviewNamesEveryCommand) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"help"}, {"-h"}, {"help", "--help"}}) {
        CommandRun run = RunCommand(args);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, "");
        for (const Command& command : CommandTable())
            EXPECT_NE(run.out.find(std::string("  ") + command.name), std::string::npos) << command.name;
    }
}

TEST(Dispatch, EveryCommandHasHelpThatShowsItsUsage) {
    for (const Command& command : CommandTable()) {
        std::string usage = std::string("usage: stationctl ") + command.name;
        CommandRun byHelp = RunCommand({"help", command.name});
        EXPECT_EQ(byHelp.exitCode, 0) << command.name;
        EXPECT_EQ(byHelp.out.rfind(usage, 0), 0u) << command.name;
        CommandRun byOption = RunCommand({command.name, "--help"});
        EXPECT_EQ(byOption.exitCode, 0) << command.name;
        EXPECT_EQ(byOption.out, byHelp.out) << command.name;
    }
}

TEST(Dispatch, HelpAfterOtherArgumentsStillHelpsAndDoesNothing) {
    CommandRun run = RunCommand({"board", "9", "--detected", "1", "--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("usage: stationctl board", 0), 0u);
}

TEST(Dispatch, ListSaysInItsHelpThatItAddsToTheRequestLog) {
    EXPECT_NE(RunCommand({"help", "list"}).out.find("REQUEST LOG"), std::string::npos);
    EXPECT_NE(RunCommand({"help", "status"}).out.find("Adds nothing to the request log"), std::string::npos);
}
