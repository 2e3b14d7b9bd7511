// stationctl s3: what the S3 display support driver answers. Arguments are
// checked before the driver is asked, as with the other driver commands.
#include <algorithm>
#include <iterator>

#include "arguments.h"
#include "command_handlers.h"
#include "s3_device.h"

namespace stationctl {

namespace {

Outcome Send(DWORD code, uint32_t value, const std::string& what) {
    S3Device device;
    Outcome outcome = device.Open();
    if (!outcome.ok()) return outcome;
    DWORD returned = 0;
    return device.Require(code, &value, sizeof value, nullptr, 0, returned, what);
}

Outcome ReadStatus(S3w32dStatus& status) {
    S3Device device;
    Outcome outcome = device.Open();
    if (!outcome.ok()) return outcome;
    DWORD returned = 0;
    outcome = device.Require(S3W32D_PRIVATE_READ_STATUS, nullptr, 0, &status, sizeof status, returned,
                             "to report its status");
    if (outcome.ok() && returned < sizeof status) return Outcome::Failed("the S3 driver's status answer is short");
    return outcome;
}

Outcome Fail(const std::string& which) {
    uint32_t mask;
    if (which == "none")
        mask = 0;
    else if (which == "find")
        mask = S3W32D_FAIL_FIND;
    else if (which == "massage")
        mask = S3W32D_FAIL_MASSAGE;
    else if (which == "both")
        mask = S3W32D_FAIL_FIND | S3W32D_FAIL_MASSAGE;
    else
        return Outcome::BadArguments("s3 fail: say find, massage, both or none, not '" + which + "'");
    return Send(S3W32D_PRIVATE_SET_FAIL, mask, "the fail switch");
}

}  // namespace

Outcome RunS3(const Arguments& args, std::ostream& out) {
    CommandLine parsed;
    Outcome outcome = ParseCommandLine(args, {}, parsed);
    if (!outcome.ok()) return outcome;
    if (parsed.positional.empty())
        return Outcome::BadArguments("s3: say fail, absent, present, status, requests or reset");
    const std::string& action = parsed.positional[0];
    static const char* const kActions[] = {"fail", "absent", "present", "status", "requests", "reset"};
    if (std::find(std::begin(kActions), std::end(kActions), action) == std::end(kActions))
        return Outcome::BadArguments("s3: unknown action '" + action +
                                     "' (say fail, absent, present, status, requests or reset)");
    const size_t words = action == "fail" ? 2 : 1;
    outcome = ExpectPositionals(parsed, words, words, "s3");
    if (!outcome.ok()) return outcome;

    if (action == "fail") return Fail(parsed.positional[1]);
    if (action == "absent" || action == "present")
        return Send(S3W32D_PRIVATE_SET_ABSENT, action == "absent" ? 1 : 0, "the absent switch");
    if (action == "reset") {
        S3Device device;
        outcome = device.Open();
        if (!outcome.ok()) return outcome;
        DWORD returned = 0;
        return device.Require(S3W32D_PRIVATE_RESET, nullptr, 0, nullptr, 0, returned, "to reset");
    }

    S3w32dStatus status = {};
    outcome = ReadStatus(status);
    if (!outcome.ok()) return outcome;
    if (action == "status") {
        for (const std::string& line : FormatS3Status(status)) out << line << "\n";
    } else {
        // Never trust the count beyond the entries the answer holds.
        uint32_t count = std::min<uint32_t>(status.logCount, S3W32D_LOG_CAPACITY);
        for (uint32_t i = 0; i < count; ++i) out << FormatS3Request(status.log[i]) << "\n";
    }
    return Outcome::Success();
}

}  // namespace stationctl
