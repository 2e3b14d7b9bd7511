// setup.exe's refusals of its command line, without a library; what it
// does with good words is tested end to end.
#include <gtest/gtest.h>

#include "arguments.h"

using namespace setup;

TEST(SetupArguments, RefusesWhatMakesNoCommandInOneLine) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"instal"},
             {"install", "extra"},
             {"install", "--type", "256"},
             {"install", "--type", "-1"},
             {"install", "--type", "3x"},
             {"install", "--type"},
             {"install", "--dir="},
             {"install", "--dir", "a", "--dir", "b"},
             {"install", "--force", "1"},
             {"install", "--stop-at", "0"},
             {"install", "--count-calls", "maybe"},
             {"uninstall", "--type", "3"},
             {"uninstall", "now"},
             {"call"},
             {"call", "hello"},
             {"call", "welcome"},
             {"call", "welcome", "3", "caption only"},
             {"call", "welcome", "three"},
             {"call", "welcome", "99999999999"},
             {"call", "datamove", "3", "C:\\snap"},
             {"call", "complete", "3", "a", "b", "c"},
             {"call", "uninit", "0"},
             {"help", "install"},
         }) {
        Invocation invocation;
        std::string error;
        EXPECT_FALSE(ParseArguments(args, invocation, error)) << (args.empty() ? "(none)" : args.back());
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}
