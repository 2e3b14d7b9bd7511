// Rewriting a DOS boot file (CONFIG.SYS, AUTOEXEC.BAT) line by line through
// a filter, keeping the previous text as the backup.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What a rewrite does with each line. Lines are pieces of at most 511
// bytes, each ending after its line feed when it has one; tests look at
// the normalized form, what is written is the line as read.
class LineFilter {
public:
    virtual ~LineFilter() = default;
    virtual void Line(const std::string& line, const std::string& normalized, std::string& out) = 0;
    // Lines to add at the end of the file.
    virtual void Finish(std::string& out) { (void)out; }
};

// The line without any white space (wherever it stands), letters A to Z
// lower-cased, a double-byte character of the system code page kept as one
// character and lower-cased as a whole.
std::string NormalizeLine(const std::string& line);

// The pieces a boot file is read in: up to and including each line feed,
// at most 511 bytes each.
std::vector<std::string> SplitBootLines(const std::string& text);

struct BootFileNames {
    const char* bootFile;
    const char* backup;
    const char* scratch;
};

// Writes the filtered text under the backup name, then swaps names so
// that the new text is the boot file and the previous one its backup. A
// boot file that does not exist is created empty first. Only the text up to
// the first end-of-file mark (Ctrl-Z) goes through the filter, as DOS reads
// no further; the mark and what follows it stay after it. The boot file keeps
// its attributes, whatever those of the file and of its backup. When anything
// fails on the way the boot file stays as it was: the new text is complete
// and on disk before any rename, and a failed swap puts the original back.
void RewriteBootFile(const BootFileNames& names, LineFilter& filter);

// The rename the swap uses; tests put one in that fails where they want.
using MoveFileFunction = BOOL(WINAPI*)(const char* from, const char* to);
void SetBootFileMove(MoveFileFunction move);
