#include "safe_paths.h"

#include <cctype>

namespace {

bool IsDotPart(const std::string& part) {
    return part == "." || part == "..";
}

}  // namespace

bool IsFullFolderPath(const std::string& folder) {
    size_t start = 0;
    if (folder.size() >= 3 && std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':' &&
        folder[2] == '\\') {
        start = 3;
    } else if (folder.size() > 2 && folder[0] == '\\' && folder[1] == '\\' && folder[2] != '\\') {
        start = 2;
    } else {
        return false;
    }
    // Each part between backslashes; "C:\" alone is a full path too.
    while (start < folder.size()) {
        size_t end = folder.find_first_of("\\/", start);
        if (end == std::string::npos) end = folder.size();
        const std::string part = folder.substr(start, end - start);
        if (IsDotPart(part) || part.find(':') != std::string::npos) return false;
        start = end + 1;
    }
    return true;
}

bool IsPlainName(const std::string& name) {
    // Windows drops white space and dots from the end of a name: of a blank
    // one nothing is left, and the path would name the folder it is in (or,
    // for "..", the folder above).
    return name.find_first_not_of(" \t.") != std::string::npos && name.find_first_of("\\/:") == std::string::npos;
}

bool IsInnerPath(const std::string& path) {
    size_t start = 0;
    for (;;) {
        const size_t end = path.find('\\', start);
        if (!IsPlainName(path.substr(start, end == std::string::npos ? std::string::npos : end - start))) return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    std::string path = folder;
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path + "\\" + name;
}
