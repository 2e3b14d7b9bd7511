#include "boot_file_edits.h"

#include <windows.h>

#include <cstdio>

#include "product.h"

namespace {

// The comments earlier setups wrote above their lines, normalized.
const char* const kRemovalMarkers[] = {
    "rem--zeltosetup--added",   "rem--zeltokx4setup--added",  "rem--zeltokx9setup--added",
    "rem--orvantasetup--added", "rem--orvantazqsetup--added", "rem--orvantaensemblesetup--added",
};

const size_t kCommentLimit = 127;

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, strlen(prefix), prefix) == 0;
}

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

std::string Comment(const char* what) {
    std::string comment = "rem -- " + ProductName() + " Setup -- " + what + " on " + BootCommentDate() + "\r\n";
    if (comment.size() > kCommentLimit) comment.resize(kCommentLimit);
    return comment;
}

// The marker comment and the device line; empty when the Windows folder
// is unknown.
std::string DeviceBlock() {
    char windows[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return "";
    CharLowerA(windows);
    return Comment("added the next line") + "device=" + windows + "\\orvanta.sys\r\n";
}

std::string TrimEnd(std::string line) {
    while (!line.empty() && strchr(" \t\r\n\v\f", line.back()) != nullptr) line.pop_back();
    return line;
}

// The lines of the S3 chip's DOS utility in AUTOEXEC.BAT.
class AutoexecFilter : public LineFilter {
public:
    void Line(const std::string& line, const std::string& normalized, std::string& out) override {
        if (!Contains(normalized, "s3dm.exe")) out += line;
    }
};

}  // namespace

std::string BootCommentDate() {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    char date[32];
    snprintf(date, sizeof date, "%02u-%s-%04u", now.wDay, kMonths[(now.wMonth + 11) % 12], now.wYear);
    return date;
}

ConfigSysFilter::ConfigSysFilter(BootMode mode, std::string deviceBlock, std::string optionComment)
    : mode_(mode),
      deviceBlock_(std::move(deviceBlock)),
      optionComment_(std::move(optionComment)),
      blockPending_(mode == BootMode::kInstall && !deviceBlock_.empty()) {}

void ConfigSysFilter::Line(const std::string& line, const std::string& normalized, std::string& out) {
    for (const char* marker : kRemovalMarkers) {
        if (StartsWith(normalized, marker)) return;
    }
    if (!StartsWith(normalized, "device")) {
        out += line;
        return;
    }
    if (Contains(normalized, "\\orvanta.sys")) return;
    if (mode_ == BootMode::kInstall) {
        // The product's driver loads before every other device driver.
        if (blockPending_) {
            out += deviceBlock_;
            blockPending_ = false;
        }
        if (Contains(normalized, "\\jdisp.sys") && !Contains(normalized, "/hs=lc")) {
            out += optionComment_;
            out += TrimEnd(line) + " /hs=lc\r\n";
            return;
        }
    }
    out += line;
}

void ConfigSysFilter::Finish(std::string& out) {
    if (!blockPending_) return;
    // A last line without its line break would run into the block's comment.
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    out += deviceBlock_;
    blockPending_ = false;
}

void RewriteConfigSys(BootMode mode) {
    ConfigSysFilter filter(mode, mode == BootMode::kInstall ? DeviceBlock() : "", Comment("appended /hs=lc option"));
    RewriteBootFile({"C:\\CONFIG.SYS", "C:\\CONFIG.BAK", "C:\\CONFIG.$$$"}, filter);
}

void CleanAutoexecBat() {
    AutoexecFilter filter;
    RewriteBootFile({"C:\\AUTOEXEC.BAT", "C:\\AUTOEXEC.BAK", "C:\\AUTOEXEC.$$$"}, filter);
}
