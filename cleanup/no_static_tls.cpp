// Windows 95's LoadLibrary refuses a library that carries a TLS directory
// (ERROR_DLL_INIT_FAILED), and the setup engine loads this one with it. The
// directory comes with the runtime's support for thread-local data, which
// the runtime's start-up pulls in through this one pointer; defining it
// here, empty, keeps that support out. The library has no thread-local data
// of its own, and the start-up calls the pointer only when it is set.
#include <windows.h>

extern "C" {
extern const PIMAGE_TLS_CALLBACK __dyn_tls_init_callback;
const PIMAGE_TLS_CALLBACK __dyn_tls_init_callback = nullptr;
}
