#include "registry_backup.h"

#include <string>

#include "registry_values.h"

namespace test_support {

namespace {

bool CopyKey(HKEY fromRoot, const std::string& from, HKEY toRoot, const std::string& to) {
    HKEY source = nullptr, target = nullptr;
    if (RegOpenKeyExA(fromRoot, from.c_str(), 0, KEY_READ, &source) != ERROR_SUCCESS) return false;
    bool copied = RegCreateKeyA(toRoot, to.c_str(), &target) == ERROR_SUCCESS &&
                  RegCopyTreeA(source, nullptr, target) == ERROR_SUCCESS;
    if (target) RegCloseKey(target);
    RegCloseKey(source);
    return copied;
}

// True also when the key cannot be read: nothing is deleted then.
bool HasSubkeys(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return true;
    DWORD subkeys = 0;
    const LONG status = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                                         nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return status != ERROR_SUCCESS || subkeys > 0;
}

}  // namespace

namespace {

// Each backup keeps its copy under a name of its own: a backup of a key
// below another backed-up key must not touch the outer one's copy.
std::string CopyName() {
    static unsigned next = 0;
    return "Software\\OrvantaTestBackup\\" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(next++);
}

}  // namespace

RegistryBackup::RegistryBackup(HKEY root, std::string path) : root_(root), path_(std::move(path)), copy_(CopyName()) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, copy_.c_str());
    existed_ = CopyKey(root_, path_, HKEY_LOCAL_MACHINE, copy_);
}

RegistryBackup::~RegistryBackup() {
    RegDeleteTreeA(root_, path_.c_str());
    if (existed_) CopyKey(HKEY_LOCAL_MACHINE, copy_, root_, path_);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, copy_.c_str());
    // Its parents go too once no other backup keeps a copy below them. The
    // count is asked first: on a host that reports Windows 9x, Wine's
    // RegDeleteKeyA deletes a key with its subkeys, as Windows 95 does.
    for (std::string parent = copy_; parent.rfind("Software\\OrvantaTestBackup", 0) == 0;) {
        parent.erase(parent.find_last_of('\\'));
        if (HasSubkeys(HKEY_LOCAL_MACHINE, parent) ||
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, parent.c_str()) != ERROR_SUCCESS)
            break;
    }
}

std::string KeyToKeep(HKEY root, const std::string& path) {
    for (size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1)) {
        if (!KeyExists(root, path.substr(0, end))) return path.substr(0, end);
    }
    return path;
}

}  // namespace test_support
