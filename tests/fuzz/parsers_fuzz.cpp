// Whatever bytes lie in patch.cfg or in a game directory's DLL, reading them
// must stay inside them (AddressSanitizer sees a read one byte past the
// end), and what the writer saves must read back as the same settings.
#include <cstdint>
#include <cstdlib>

#include "checks/module_image.h"
#include "settings/config_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
#ifdef FUZZ_MODULE_IMAGE
    ProbeModuleImage(data, size, kMachineI386);
    ProbeModuleImage(data, size, kMachineAmd64);
#else
    PatchSettings read, again;
    ParsePatchConfig(reinterpret_cast<const char *>(data), size, read);
    char saved[kPatchConfigTextSize];
    const size_t length = FormatPatchConfig(read, saved);
    // A half resolution is not saved, so it stays what it was.
    again.width = read.width;
    again.height = read.height;
    ParsePatchConfig(saved, length, again);
    for (const PatchSettingKey &k : patchSettingKeys)
        if (read.*k.field != again.*k.field)
            abort();
#endif
    return 0;
}
