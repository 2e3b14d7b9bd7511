#include "boot_file.h"

#include <windows.h>

#include <algorithm>

#include "device_handle.h"
#include "file_removal.h"

namespace {

const size_t kPieceLimit = 511;

MoveFileFunction moveFile = &MoveFileA;

bool IsBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool WriteAll(HANDLE file, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 20));
        if (!WriteFile(file, text.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return FlushFileBuffers(file) != FALSE;
}

}  // namespace

std::string NormalizeLine(const std::string& line) {
    std::string normalized;
    normalized.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (IsDBCSLeadByte(c) && i + 1 < line.size()) {
            char pair[2] = {line[i], line[i + 1]};
            CharLowerBuffA(pair, 2);
            normalized.append(pair, 2);
            ++i;
            continue;
        }
        if (IsBlank(c)) continue;
        normalized += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return normalized;
}

std::vector<std::string> SplitBootLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string piece;
    for (char c : text) {
        piece += c;
        if (c == '\n' || piece.size() == kPieceLimit) {
            lines.push_back(std::move(piece));
            piece.clear();
        }
    }
    if (!piece.empty()) lines.push_back(std::move(piece));
    return lines;
}

void SetBootFileMove(MoveFileFunction move) {
    moveFile = move ? move : &MoveFileA;
}

void RewriteBootFile(const BootFileNames& names, LineFilter& filter) {
    // A rewrite cut off between its renames left the boot file's text under
    // the scratch name and no boot file: it goes back first, or it would be
    // deleted below and the boot file begun anew from nothing.
    if (GetFileAttributesA(names.bootFile) == INVALID_FILE_ATTRIBUTES &&
        GetFileAttributesA(names.scratch) != INVALID_FILE_ATTRIBUTES)
        moveFile(names.scratch, names.bootFile);

    // A read-only, hidden or system backup cannot be replaced, and a boot
    // file that is one becomes the backup below: each rewrite would fail
    // from then on. The boot file keeps its own attributes.
    ClearAttributes(names.backup);
    ClearAttributes(names.scratch);
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    std::string newText;
    {
        DeviceHandle boot(CreateFileA(names.bootFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!boot.IsOpen()) return;
        if (const DWORD found = GetFileAttributesA(names.bootFile); found != INVALID_FILE_ATTRIBUTES)
            attributes = found;
        DeviceHandle backup(
            CreateFileA(names.backup, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!backup.IsOpen()) return;

        std::string oldText;
        if (!ReadToEnd(boot.Get(), oldText)) return;
        // DOS reads no further than the first end-of-file mark (Ctrl-Z): what
        // follows it is not part of the file to DOS, and stays as it is.
        const size_t mark = std::min(oldText.find('\x1A'), oldText.size());
        for (const std::string& line : SplitBootLines(oldText.substr(0, mark)))
            filter.Line(line, NormalizeLine(line), newText);
        filter.Finish(newText);
        newText += oldText.substr(mark);
        if (!WriteAll(backup.Get(), newText)) {
            // An incomplete text must never become the boot file.
            backup.Close();
            DeleteFileA(names.backup);
            return;
        }
    }
    // Given before the swap, so that the boot file has them whenever the work
    // stops.
    SetFileAttributesA(names.backup, attributes);

    DeleteIfPresent(names.scratch);
    if (!moveFile(names.bootFile, names.scratch)) return;
    if (!moveFile(names.backup, names.bootFile)) {
        moveFile(names.scratch, names.bootFile);
        return;
    }
    // Should this fail the previous text stays under the scratch name.
    if (moveFile(names.scratch, names.backup)) ClearAttributes(names.backup);
}
