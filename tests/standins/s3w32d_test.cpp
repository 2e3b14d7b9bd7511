// The S3 display support stand-in as the setup library meets it: opened with
// the library's flags, both requests answered, and the switches that make a
// request fail or the whole device disappear.
#include <gtest/gtest.h>

#include <cstring>

#include "s3w32d_client.h"

using namespace test_support;

namespace {

struct Answer {
    bool ok;
    DWORD error;
    DWORD returned;
    unsigned char output[S3W32D_ANSWER_BYTES];
};

// A request as the library sends it: 4 bytes in, 8 bytes of room out.
Answer Ask(HANDLE device, DWORD code, DWORD outputSize = S3W32D_ANSWER_BYTES) {
    Answer answer = {};
    uint32_t input = 0x12345678;
    std::memset(answer.output, 0xCC, sizeof answer.output);
    answer.ok = DeviceIoControl(device, code, &input, sizeof input, answer.output, outputSize, &answer.returned,
                                nullptr) != FALSE;
    answer.error = answer.ok ? 0 : GetLastError();
    return answer;
}

class S3Driver : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(control_.IsOpen()) << "the S3W32D service is not running";
        ASSERT_TRUE(control_.Reset());
    }
    void TearDown() override { control_.Reset(); }

    S3Client control_;
};

}  // namespace

TEST_F(S3Driver, OpensWithTheLibrarysFlagsAgainAndAgainAndCountsItsHandles) {
    // CREATE_NEW and delete-on-close mean nothing to a device: the second
    // open must succeed as the first did.
    HANDLE first = OpenS3AsTheLibraryDoes();
    ASSERT_NE(first, INVALID_HANDLE_VALUE) << GetLastError();
    HANDLE second = OpenS3AsTheLibraryDoes();
    ASSERT_NE(second, INVALID_HANDLE_VALUE) << GetLastError();
    EXPECT_EQ(control_.Status().opens, 2u);
    EXPECT_EQ(control_.Status().openHandles, 2u);
    CloseHandle(first);
    CloseHandle(second);
    EXPECT_EQ(control_.Status().openHandles, 0u);
    // The station side's own handle is not the product's.
    EXPECT_EQ(control_.Status().opens, 2u);
}

TEST_F(S3Driver, AnswersBothRequestsWithEightZeroBytesAndLogsThemInOrder) {
    HANDLE device = OpenS3AsTheLibraryDoes();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    for (DWORD code : {S3W32D_FIND_BOARD, S3W32D_MASSAGE_REGISTRY}) {
        Answer answer = Ask(device, code);
        EXPECT_TRUE(answer.ok) << std::hex << code << " error " << std::dec << answer.error;
        EXPECT_EQ(answer.returned, S3W32D_ANSWER_BYTES);
        for (unsigned char byte : answer.output) EXPECT_EQ(byte, 0);
    }
    // Less room is filled, never overrun.
    Answer short_answer = Ask(device, S3W32D_FIND_BOARD, 4);
    EXPECT_TRUE(short_answer.ok);
    EXPECT_EQ(short_answer.returned, 4u);
    EXPECT_EQ(short_answer.output[4], 0xCC);
    CloseHandle(device);

    S3w32dStatus status = control_.Status();
    EXPECT_EQ(status.findCount, 2u);
    EXPECT_EQ(status.massageCount, 1u);
    EXPECT_EQ(status.otherCount, 0u);
    ASSERT_EQ(status.logCount, 3u);
    EXPECT_EQ(status.log[0].code, S3W32D_FIND_BOARD);
    EXPECT_EQ(status.log[1].code, S3W32D_MASSAGE_REGISTRY);
    EXPECT_EQ(status.log[0].inputLength, 4u);
    EXPECT_EQ(status.log[0].outputLength, 8u);
    EXPECT_EQ(status.log[2].outputLength, 4u);
    EXPECT_EQ(status.log[0].status, 0u);
}

TEST_F(S3Driver, AFailSwitchFailsExactlyItsRequestAndStillCountsIt) {
    HANDLE device = OpenS3AsTheLibraryDoes();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    struct Case {
        uint32_t mask;
        bool findOk;
        bool massageOk;
    };
    for (Case c : {Case{S3W32D_FAIL_FIND, false, true}, Case{S3W32D_FAIL_MASSAGE, true, false},
                   Case{S3W32D_FAIL_FIND | S3W32D_FAIL_MASSAGE, false, false}, Case{0, true, true}}) {
        ASSERT_TRUE(control_.SetFail(c.mask));
        Answer find = Ask(device, S3W32D_FIND_BOARD);
        Answer massage = Ask(device, S3W32D_MASSAGE_REGISTRY);
        EXPECT_EQ(find.ok, c.findOk) << "mask " << c.mask;
        EXPECT_EQ(massage.ok, c.massageOk) << "mask " << c.mask;
        // STATUS_UNSUCCESSFUL reaches the caller as ERROR_GEN_FAILURE.
        if (!c.findOk) {
            EXPECT_EQ(find.error, static_cast<DWORD>(ERROR_GEN_FAILURE));
        }
        if (!c.massageOk) {
            EXPECT_EQ(massage.error, static_cast<DWORD>(ERROR_GEN_FAILURE));
        }
    }
    CloseHandle(device);
    S3w32dStatus status = control_.Status();
    EXPECT_EQ(status.findCount, 4u);
    EXPECT_EQ(status.massageCount, 4u);
    EXPECT_NE(status.log[0].status, 0u);  // the first find failed
    EXPECT_EQ(status.log[1].status, 0u);

    ASSERT_TRUE(control_.SetFail(S3W32D_FAIL_FIND));
    ASSERT_TRUE(control_.Reset());
    EXPECT_EQ(control_.Status().failMask, 0u);
}

TEST_F(S3Driver, OtherCodesAreRefusedAndCountedApart) {
    HANDLE device = OpenS3AsTheLibraryDoes();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Ask(device, 0x703).ok);
    EXPECT_FALSE(Ask(device, 0x704).ok);
    // The station side's codes mean nothing on the product's device.
    EXPECT_FALSE(Ask(device, S3W32D_PRIVATE_RESET).ok);
    CloseHandle(device);
    S3w32dStatus status = control_.Status();
    EXPECT_EQ(status.otherCount, 3u);
    EXPECT_EQ(status.findCount + status.massageCount, 0u);
}

TEST_F(S3Driver, AnAbsentDeviceCannotBeOpenedUntilItIsPresentAgain) {
    HANDLE before = OpenS3AsTheLibraryDoes();
    ASSERT_NE(before, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(control_.SetAbsent(true));
    EXPECT_EQ(control_.Status().absent, 1u);

    HANDLE refused = OpenS3AsTheLibraryDoes();
    DWORD error = GetLastError();
    EXPECT_EQ(refused, INVALID_HANDLE_VALUE);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    if (refused != INVALID_HANDLE_VALUE) CloseHandle(refused);
    // A handle opened before keeps working.
    EXPECT_TRUE(Ask(before, S3W32D_FIND_BOARD).ok);
    CloseHandle(before);

    ASSERT_TRUE(control_.SetAbsent(false));
    HANDLE after = OpenS3AsTheLibraryDoes();
    EXPECT_NE(after, INVALID_HANDLE_VALUE) << GetLastError();
    if (after != INVALID_HANDLE_VALUE) CloseHandle(after);

    // A reset brings the device back too.
    ASSERT_TRUE(control_.SetAbsent(true));
    ASSERT_TRUE(control_.Reset());
    HANDLE reset = OpenS3AsTheLibraryDoes();
    EXPECT_NE(reset, INVALID_HANDLE_VALUE) << GetLastError();
    if (reset != INVALID_HANDLE_VALUE) CloseHandle(reset);
}
