#include "profile_section.h"

#include <windows.h>

#include <vector>

namespace {

// Windows 95 and 98 read at most this much of a section; larger buffers are
// tried only where the system can fill them.
const DWORD kFirstRead = 32767;
const DWORD kLargestRead = 64 * 1024 * 1024;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trimmed(const char* begin, const char* end) {
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    return std::string(begin, end);
}

std::string UpperCase(std::string text) {
    if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// The profile functions drop one pair of quotes around an entry.
std::string WithoutEnclosingQuotes(const std::string& text) {
    if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0])
        return text.substr(1, text.size() - 2);
    return text;
}

// Sections are read again and again (the printer sections once per
// station), and a read that does not fit has searched the whole file for
// nothing: the next read starts at the size that held the last one.
DWORD firstRead = kFirstRead;

}  // namespace

ProfileSection::ProfileSection(const char* section) {
    const bool windows9x = (GetVersion() & 0x80000000) != 0;
    std::vector<char> buffer;
    DWORD length = 0;
    for (DWORD size = firstRead;; size *= 2) {
        buffer.assign(size, '\0');
        length = GetProfileSectionA(section, buffer.data(), size);
        // A section that does not fit comes back as the buffer's size less two.
        whole_ = length < size - 2;
        if (whole_) firstRead = size;
        if (whole_ || windows9x || size >= kLargestRead) break;
    }

    std::vector<std::pair<const char*, const char*>> lines;
    const char* const end = buffer.data() + length;
    for (const char* line = buffer.data(); line < end && *line;) {
        const char* lineEnd = line;
        while (lineEnd < end && *lineEnd) ++lineEnd;
        lines.emplace_back(line, lineEnd);
        line = lineEnd + 1;
    }
    // The last entry of a read cut short may itself be cut.
    if (!whole_ && !lines.empty()) lines.pop_back();
    for (const auto& [line, lineEnd] : lines) {
        const char* equals = line;
        while (equals < lineEnd && *equals != '=') ++equals;
        if (equals == lineEnd) continue;
        // The first entry of a name is the one the profile functions find.
        entries_.emplace(UpperCase(Trimmed(line, equals)), WithoutEnclosingQuotes(Trimmed(equals + 1, lineEnd)));
    }
}

const std::string* ProfileSection::Find(const std::string& name) const {
    const auto entry = entries_.find(UpperCase(Trimmed(name.data(), name.data() + name.size())));
    return entry == entries_.end() ? nullptr : &entry->second;
}
