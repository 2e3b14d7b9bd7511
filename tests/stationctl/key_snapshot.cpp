#include "key_snapshot.h"

#include <utility>

namespace {

const char kCopies[] = "Software\\StationctlTestSnapshots";

bool CopyKey(HKEY fromRoot, const std::string& from, HKEY toRoot, const std::string& to) {
    HKEY source = nullptr, target = nullptr;
    if (RegOpenKeyExA(fromRoot, from.c_str(), 0, KEY_READ, &source) != ERROR_SUCCESS) return false;
    bool copied = RegCreateKeyExA(toRoot, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) ==
                      ERROR_SUCCESS &&
                  RegCopyTreeA(source, nullptr, target) == ERROR_SUCCESS;
    if (target) RegCloseKey(target);
    RegCloseKey(source);
    return copied;
}

int nextSnapshot = 0;

}  // namespace

KeySnapshot::KeySnapshot(HKEY root, std::string path)
    : root_(root), path_(std::move(path)), copy_(std::string(kCopies) + "\\" + std::to_string(nextSnapshot++)) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, copy_.c_str());
    existed_ = CopyKey(root_, path_, HKEY_LOCAL_MACHINE, copy_);
}

KeySnapshot::~KeySnapshot() {
    RegDeleteTreeA(root_, path_.c_str());
    if (existed_) CopyKey(HKEY_LOCAL_MACHINE, copy_, root_, path_);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, copy_.c_str());
    // The parent goes once it is empty; RegDeleteKeyA refuses while other
    // snapshots still hold copies under it.
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kCopies);
}
