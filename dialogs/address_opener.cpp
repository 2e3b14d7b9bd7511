#include "address_opener.h"

#include <shellapi.h>

#include <string>

#include "config_messages.h"
#include "registry_key.h"
#include "resource_ids.h"
#include "resources.h"

namespace {

void SayCannotOpen(const std::string& address) {
    ShowAppMessage(AfxFormat(AfxLoadString(IDS_CANNOT_OPEN_ADDRESS).c_str(), address.c_str()).c_str(), MB_OK);
}

}  // namespace

bool HasHandler(AddressKind kind, UINT addressId) {
    RegistryKey command;
    const char* path = kind == AddressKind::kWeb ? "Http\\Shell\\Open\\Command" : "Mailto\\Shell\\Open\\Command";
    if (command.Open(HKEY_CLASSES_ROOT, path)) return true;
    if (addressId != 0) SayCannotOpen(AfxLoadString(addressId));
    return false;
}

void OpenAddress(UINT addressId) {
    std::string address = AfxLoadString(addressId);
    // Only the address and the show state: the shell picks the verb and the
    // program itself.
    SHELLEXECUTEINFOA request = {};
    request.cbSize = sizeof request;
    request.lpFile = address.c_str();
    request.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&request)) SayCannotOpen(address);
}
