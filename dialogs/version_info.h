// Reads texts from files' version information (U.S. English, in Unicode or
// Windows Latin 1) into one block that grows when a file needs more and is
// never shrunk.
#pragma once

#include <optional>
#include <string>
#include <vector>

class VersionReader {
public:
    VersionReader() : block_(2048) {}
    // The named text (FileDescription, FileVersion, ...); empty when the file
    // cannot be found, has no version information or not that text.
    std::string StringValue(const std::string& path, const char* name);
    // The same, but nothing when no language block has the text, and an
    // empty text when the file holds one.
    std::optional<std::string> FindString(const std::string& path, const char* name);
    size_t BlockSize() const { return block_.size(); }

private:
    std::vector<char> block_;
};
