// A crash or a power cut in the middle of a hook, made repeatable: the
// calls Cleanup.dll makes to change files, the registry, the profile files
// and processes are counted, and the process can be ended at once just
// before the k-th of them, as if the machine had stopped there.
#pragma once

#include <windows.h>

namespace setup {

// Exit code of a process that the watch ended.
inline constexpr UINT kExitCutOff = 9;

// Points the library's imports of those functions at counting ones; with
// stopAt > 0 the process ends just before call number stopAt. False when
// the library's import table cannot be read.
bool WatchCalls(HMODULE library, int stopAt);
// The calls counted so far.
int WatchedCalls();

}  // namespace setup
