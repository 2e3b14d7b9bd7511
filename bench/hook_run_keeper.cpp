#include "hook_run_keeper.h"

namespace bench {

HookRunKeeper::HookRunKeeper() {
    for (const char* path :
         {"Enum\\Root\\ZeltoKX9", "Enum\\ISAPNP\\KQZ0000", "System\\CurrentControlSet\\Services\\Class\\Display",
          "System\\CurrentControlSet\\Services\\Class\\Media",
          "System\\CurrentControlSet\\Services\\Class\\DevurOvezovuVovezuv"})
        KeepKey(HKEY_LOCAL_MACHINE, path);
    // The product's start-menu group and start-up folder as the bench's
    // installation names them.
    KeepStartMenuFolder("Quillon Orvanta");
    KeepStartMenuFolder("Startup Orvanta");
}

}  // namespace bench
