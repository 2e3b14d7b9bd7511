// The product's line in CONFIG.SYS: its real-mode driver, put in place when
// the product is installed and taken out when it is removed, with the
// comments that earlier setups wrote.
#pragma once

#include <string>

#include "boot_file.h"

enum class BootMode { kInstall, kUninstall };

// "06-Dec-2026": the local date with the English month, as the comments
// write it.
std::string BootCommentDate();

// The filter, given the device block to place (empty: none) and the option
// comment for the Japanese display driver's line.
class ConfigSysFilter : public LineFilter {
public:
    ConfigSysFilter(BootMode mode, std::string deviceBlock, std::string optionComment);
    void Line(const std::string& line, const std::string& normalized, std::string& out) override;
    void Finish(std::string& out) override;

private:
    BootMode mode_;
    std::string deviceBlock_;
    std::string optionComment_;
    bool blockPending_;
};

void RewriteConfigSys(BootMode mode);
// Takes out the lines of the display chip's DOS utility.
void CleanAutoexecBat();
