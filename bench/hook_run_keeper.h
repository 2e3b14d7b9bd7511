// What one run of a Cleanup.dll hook changes on the bench's large host,
// besides the device keys and task folders that LargeHost lays out again:
// boot and profile files, the snapshot, the product's keys and files, the
// printer, port and device registrations, the power schemes. Kept while the
// keeper lives and put back as it was when it goes, so every run finds the
// same host.
#pragma once

#include "cleanup_host_keeper.h"

namespace bench {

// The large host's device branches are too large to copy for every run, so
// of them only the keys that the hooks take are kept.
class HookRunKeeper : public test_support::CleanupHostKeeper {
public:
    HookRunKeeper();
};

}  // namespace bench
