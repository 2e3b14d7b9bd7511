// What the running-programs tree shows of a program: its file name and
// path taken from the command that started it, and the description its
// version information gives.
#pragma once

#include <string>
#include <vector>

// The program of a command text, lower-cased and without quotes; without
// its folder when stripPath is set. The program ends after the first ".exe"
// or else ".pif"; a "dos box" command is kept whole; anything else ends at
// the first blank.
std::string ProgramOfCommand(const std::string& commandText, bool stripPath);

// Reads files' version information into one block that grows when a file
// needs more and is never shrunk.
class VersionReader {
public:
    VersionReader() : block_(2048) {}
    // The file's description (U.S. English, Unicode or Windows Latin 1);
    // empty when the file has no version information or no description.
    std::string FileDescription(const std::string& path);
    size_t BlockSize() const { return block_.size(); }

private:
    std::vector<char> block_;
};
