// Whatever bytes lie in patch.cfg or in a game directory's DLL, reading them
// must stay inside them (AddressSanitizer sees a read one byte past the
// end); patch.cfg must read the same whichever chunks the file arrives in,
// and what the writer saves must read back as the same settings.
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
    const char *bytes = reinterpret_cast<const char *>(data);
    PatchSettings read, chunked, again;
    ParsePatchConfig(bytes, size, read);
    ConfigReader reader;
    StartPatchConfig(reader);
    const size_t split = size ? data[0] % (size + 1) : 0;
    FeedPatchConfig(reader, bytes, split, chunked);
    FeedPatchConfig(reader, bytes + split, size - split, chunked);
    FinishPatchConfig(reader, chunked);
    char saved[kPatchConfigTextSize];
    const size_t length = FormatPatchConfig(read, saved);
    // A half resolution is not saved, so it stays what it was.
    again.width = read.width;
    again.height = read.height;
    ParsePatchConfig(saved, length, again);
    for (const PatchSettingKey &k : patchSettingKeys)
        if (read.*k.field != again.*k.field || read.*k.field != chunked.*k.field)
            abort();
#endif
    return 0;
}
