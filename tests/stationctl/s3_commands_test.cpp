// stationctl s3 against the S3 display support stand-in of the test host:
// the words are checked before the driver is asked, and each action shows in
// what the driver answers the setup library.
#include <gtest/gtest.h>

#include "run_command.h"
#include "s3_device.h"
#include "s3w32d_client.h"

using namespace stationctl;
using test_support::OpenS3AsTheLibraryDoes;

namespace {

bool FindSucceeds() {
    HANDLE device = OpenS3AsTheLibraryDoes();
    if (device == INVALID_HANDLE_VALUE) return false;
    uint32_t input = 0;
    unsigned char output[8];
    DWORD returned = 0;
    bool ok = DeviceIoControl(device, S3W32D_FIND_BOARD, &input, sizeof input, output, sizeof output, &returned,
                              nullptr) != FALSE;
    CloseHandle(device);
    return ok;
}

class S3Commands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(RunCommand({"s3", "reset"}).exitCode, 0); }
    void TearDown() override { RunCommand({"s3", "reset"}); }
};

}  // namespace

TEST(S3CommandArguments, AreRefusedInOneLineBeforeTheDriverIsAsked) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"s3"},
             {"s3", "fail"},
             {"s3", "fail", "sometimes"},
             {"s3", "fail", "find", "massage"},
             {"s3", "absent", "on"},
             {"s3", "status", "now"},
             {"s3", "vanish"},
             {"s3", "reset", "--all"},
         }) {
        CommandRun run = RunCommand(args);
        EXPECT_EQ(run.exitCode, kExitBadArguments) << args.back();
        EXPECT_TRUE(IsOneLine(run.err)) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST(S3Report, RequestLinesShowTheLengthsAndTheOutcome) {
    EXPECT_EQ(FormatS3Request({0x700, 4, 8, 0}), "0x000700 in 4 out 8 ok");
    EXPECT_EQ(FormatS3Request({0x702, 4, 8, 0xC0000001u}), "0x000702 in 4 out 8 failed 0xC0000001");
}

TEST_F(S3Commands, FailSwitchesTheFindRequestAndNoneSwitchesItBack) {
    ASSERT_EQ(RunCommand({"s3", "fail", "find"}).exitCode, 0);
    EXPECT_FALSE(FindSucceeds());
    CommandRun status = RunCommand({"s3", "status"});
    EXPECT_NE(status.out.find("find: fails\nmassage: succeeds\n"), std::string::npos) << status.out;
    ASSERT_EQ(RunCommand({"s3", "fail", "none"}).exitCode, 0);
    EXPECT_TRUE(FindSucceeds());
}

TEST_F(S3Commands, AbsentAndPresentAreSeenByTheLibrarysOpen) {
    ASSERT_EQ(RunCommand({"s3", "absent"}).exitCode, 0);
    HANDLE device = OpenS3AsTheLibraryDoes();
    EXPECT_EQ(device, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    if (device != INVALID_HANDLE_VALUE) CloseHandle(device);
    EXPECT_NE(RunCommand({"s3", "status"}).out.find("device: absent\n"), std::string::npos);
    ASSERT_EQ(RunCommand({"s3", "present"}).exitCode, 0);
    EXPECT_TRUE(FindSucceeds());
}

TEST_F(S3Commands, StatusAndRequestsReportWhatArrived) {
    ASSERT_EQ(RunCommand({"s3", "fail", "massage"}).exitCode, 0);
    ASSERT_TRUE(FindSucceeds());
    HANDLE device = OpenS3AsTheLibraryDoes();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    uint32_t input = 0;
    unsigned char output[8];
    DWORD returned = 0;
    EXPECT_FALSE(DeviceIoControl(device, S3W32D_MASSAGE_REGISTRY, &input, sizeof input, output, sizeof output,
                                 &returned, nullptr));
    CloseHandle(device);

    CommandRun requests = RunCommand({"s3", "requests"});
    EXPECT_EQ(requests.exitCode, 0);
    EXPECT_EQ(requests.out, "0x000700 in 4 out 8 ok\n0x000702 in 4 out 8 failed 0xC0000001\n");
    CommandRun status = RunCommand({"s3", "status"});
    EXPECT_EQ(status.out,
              "find: succeeds\nmassage: fails\ndevice: present\nopens: 2\nopen handles: 0\nfind requests: 1\n"
              "massage requests: 1\nother requests: 0\n");
}
