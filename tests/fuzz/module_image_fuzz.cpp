// Whatever file lies in the game directory as wsock32.dll or winmm.dll,
// reading its headers and export table must stay inside its bytes, for
// either machine. libFuzzer hands over a buffer of exactly the input's size,
// so AddressSanitizer catches a read one byte past the end.
#include <cstddef>
#include <cstdint>

#include "checks/module_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ProbeModuleImage(data, size, kMachineI386);
    ProbeModuleImage(data, size, kMachineAmd64);
    return 0;
}
