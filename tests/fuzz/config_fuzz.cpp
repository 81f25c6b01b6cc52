// Whatever bytes a player's editor leaves in patch.cfg, reading them must
// not crash, and what the writer then saves must read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "settings/config_text.h"

static bool SameSettings(const PatchSettings &a, const PatchSettings &b)
{
    for (const PatchSettingKey &k : patchSettingKeys) {
        if (a.*k.field != b.*k.field)
            return false;
    }
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *bytes = reinterpret_cast<const char *>(data);
    PatchSettings read;
    ParsePatchConfig(bytes, size, read);

    // Read through the small buffer in two chunks: the same record.
    PatchSettings chunked;
    ConfigReader reader;
    StartPatchConfig(reader);
    const size_t split = size ? data[0] % (size + 1) : 0;
    FeedPatchConfig(reader, bytes, split, chunked);
    FeedPatchConfig(reader, bytes + split, size - split, chunked);
    FinishPatchConfig(reader, chunked);
    if (!SameSettings(read, chunked))
        abort();

    // Saved and read again: the same record (an unsaved half resolution
    // stays what it was before the read).
    char saved[kPatchConfigTextSize];
    PatchSettings again;
    again.width = read.width;
    again.height = read.height;
    ParsePatchConfig(saved, FormatPatchConfig(read, saved), again);
    if (!SameSettings(read, again))
        abort();
    return 0;
}
