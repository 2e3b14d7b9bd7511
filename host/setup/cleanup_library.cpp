#include "cleanup_library.h"

#include "platform.h"

namespace setup {

CleanupLibrary::~CleanupLibrary() {
    if (module_) FreeLibrary(module_);
}

bool CleanupLibrary::Load(const std::string& path, std::string& error) {
    path_ = FullPath(path);
    module_ = LoadLibraryA(path_.c_str());
    if (module_) return true;
    error = "cannot load " + path_ + ": " + ErrorText(GetLastError());
    return false;
}

FARPROC CleanupLibrary::Find(const char* name, std::string& error) const {
    FARPROC function = module_ ? GetProcAddress(module_, name) : nullptr;
    if (!function) error = path_ + " has no export named " + name;
    return function;
}

}  // namespace setup
