// Whatever bytes lie in patch.cfg or a game directory's DLL, reading them
// stays inside them (AddressSanitizer sees one byte past the end); patch.cfg
// reads the same in whichever chunks it arrives, and reads back as saved.
#include <cstdint>
#include <cstdlib>

#include "checks/module_image.h"
#include "settings/config_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ProbeModuleImage(data, size);
    const char *bytes = reinterpret_cast<const char *>(data);
    const size_t split = size ? data[0] % (size + 1) : 0;
    PatchSettings read, chunked, again;
    ParsePatchConfig(bytes, size, read);
    ConfigReader reader;
    StartPatchConfig(reader);
    FeedPatchConfig(reader, bytes, split, chunked);
    FeedPatchConfig(reader, bytes + split, size - split, chunked);
    FinishPatchConfig(reader, chunked);
    char saved[kPatchConfigTextSize];
    again.width = read.width; // half a resolution is not saved, so it stays
    again.height = read.height;
    ParsePatchConfig(saved, FormatPatchConfig(read, saved), again);
    for (const PatchSettingKey &k : patchSettingKeys)
        if (read.*k.field != again.*k.field || read.*k.field != chunked.*k.field)
            abort();
    return 0;
}
