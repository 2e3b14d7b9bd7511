/* A library as the compiler's runtime makes it by default: it carries the
   runtime's TLS directory, which the release check must refuse. */
#include <windows.h>

__declspec(dllexport) int WINAPI ProbeValue(void) {
    return 1;
}
