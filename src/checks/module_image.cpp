#include "checks/module_image.h"

#include <cstring>

namespace {

// Offsets are 64-bit so that no sum of 32-bit fields from the file wraps.
struct Bytes {
    const unsigned char *data;
    uint64_t size;

    bool Holds(uint64_t offset, uint64_t length) const { return offset <= size && length <= size - offset; }

    // The little-endian field at offset; false when it lies past the end.
    template <typename Word>
    bool Read(uint64_t offset, Word *word) const
    {
        if (!Holds(offset, sizeof(Word)))
            return false;
        *word = 0;
        for (size_t i = sizeof(Word); i-- > 0;)
            *word = static_cast<Word>((*word << 8) | data[offset + i]);
        return true;
    }
};

struct SectionHeader {
    uint32_t virtualSize;
    uint32_t virtualAddress;
    uint32_t rawSize;
    uint32_t rawOffset;
};

struct Image {
    Bytes bytes;
    uint32_t headersSize;
    uint64_t sectionTable;
    uint16_t sectionCount;
    uint32_t exportsRva; // 0: the image exports nothing
};

constexpr uint64_t kDosNewHeaderField = 0x3C;
constexpr uint64_t kFileHeaderSize = 20;
constexpr uint64_t kSectionHeaderSize = 40;
constexpr uint64_t kExportDirectorySize = 40;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;

SectionHeader ReadSectionHeader(const Image &image, uint16_t index)
{
    const uint64_t at = image.sectionTable + index * kSectionHeaderSize;
    SectionHeader section = {};
    image.bytes.Read(at + 8, &section.virtualSize);
    image.bytes.Read(at + 12, &section.virtualAddress);
    image.bytes.Read(at + 16, &section.rawSize);
    image.bytes.Read(at + 20, &section.rawOffset);
    return section;
}

// The file offset of the length bytes at an address of the mapped image,
// when the file holds all of them. Bytes the loader would fill with zeros
// (past a section's raw data) are not in the file, and count as absent.
bool FileOffsetOf(const Image &image, uint64_t rva, uint64_t length, uint64_t *offset)
{
    if (image.bytes.Holds(rva, length) && rva + length <= image.headersSize) {
        *offset = rva;
        return true;
    }
    for (uint16_t i = 0; i < image.sectionCount; ++i) {
        const SectionHeader section = ReadSectionHeader(image, i);
        uint64_t extent = section.rawSize;
        if (section.virtualSize != 0 && section.virtualSize < extent)
            extent = section.virtualSize;
        if (rva >= section.virtualAddress && rva - section.virtualAddress + length <= extent) {
            *offset = section.rawOffset + (rva - section.virtualAddress);
            return true;
        }
    }
    return false;
}

// What the loader checks before it maps a module: the signatures, the
// machine, and that every section's raw data is in the file, so that a
// download cut short is refused rather than half mapped.
bool ReadImageHeaders(const Bytes &bytes, uint16_t machine, Image *image)
{
    uint32_t ntHeaders = 0;
    if (!bytes.Holds(0, 2) || memcmp(bytes.data, "MZ", 2) != 0 || !bytes.Read(kDosNewHeaderField, &ntHeaders))
        return false;
    if (!bytes.Holds(ntHeaders, 4) || memcmp(bytes.data + ntHeaders, "PE\0\0", 4) != 0)
        return false;
    const uint64_t fileHeader = uint64_t(ntHeaders) + 4;
    uint16_t fileMachine = 0, sectionCount = 0, optionalSize = 0, magic = 0;
    if (!bytes.Read(fileHeader, &fileMachine) || !bytes.Read(fileHeader + 2, &sectionCount) ||
        !bytes.Read(fileHeader + 16, &optionalSize))
        return false;
    const uint64_t optional = fileHeader + kFileHeaderSize;
    if (fileMachine != machine || !bytes.Read(optional, &magic))
        return false;

    // The two layouts differ only in where the data directories start.
    const uint16_t expectedMagic = machine == kMachineAmd64 ? kMagicPe32Plus : kMagicPe32;
    const uint64_t directoryCountField = magic == kMagicPe32Plus ? 108 : 92;
    const uint64_t directories = directoryCountField + 4;
    uint32_t directoryCount = 0;
    if (magic != expectedMagic || optionalSize < directories || !bytes.Read(optional + 60, &image->headersSize) ||
        !bytes.Read(optional + directoryCountField, &directoryCount))
        return false;

    image->bytes = bytes;
    image->sectionTable = optional + optionalSize;
    image->sectionCount = sectionCount;
    if (!bytes.Holds(image->sectionTable, sectionCount * kSectionHeaderSize))
        return false;
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const SectionHeader section = ReadSectionHeader(*image, i);
        // A section without file data (zeros in memory) may point anywhere.
        if (section.rawSize != 0 && !bytes.Holds(section.rawOffset, section.rawSize))
            return false;
    }

    // The export table is the first data directory.
    image->exportsRva = 0;
    if (directoryCount >= 1 && optionalSize >= directories + 8)
        bytes.Read(optional + directories, &image->exportsRva);
    return true;
}

bool ReadAt(const Image &image, uint64_t rva, uint32_t *word)
{
    uint64_t offset = 0;
    return FileOffsetOf(image, rva, sizeof *word, &offset) && image.bytes.Read(offset, word);
}

bool NamesExport(const Image &image, uint32_t nameRva, const char *name)
{
    const uint64_t length = strlen(name) + 1;
    uint64_t offset = 0;
    return FileOffsetOf(image, nameRva, length, &offset) && memcmp(image.bytes.data + offset, name, length) == 0;
}

// As the loader looks a name up: the name's ordinal must pick an entry of
// the address table, and an entry of 0 is no function.
bool HasExport(const Image &image, const char *name)
{
    if (image.exportsRva == 0)
        return false;
    uint64_t directory = 0;
    uint32_t functionCount = 0, nameCount = 0, functions = 0, names = 0, ordinals = 0;
    if (!FileOffsetOf(image, image.exportsRva, kExportDirectorySize, &directory))
        return false;
    image.bytes.Read(directory + 20, &functionCount);
    image.bytes.Read(directory + 24, &nameCount);
    image.bytes.Read(directory + 28, &functions);
    image.bytes.Read(directory + 32, &names);
    image.bytes.Read(directory + 36, &ordinals);

    // Both tables must be in the file whole: an absurd count is refused
    // here instead of being walked.
    uint64_t nameTable = 0, ordinalTable = 0;
    if (!FileOffsetOf(image, names, uint64_t(nameCount) * 4, &nameTable) ||
        !FileOffsetOf(image, ordinals, uint64_t(nameCount) * 2, &ordinalTable))
        return false;
    for (uint32_t i = 0; i < nameCount; ++i) {
        uint32_t nameRva = 0;
        uint16_t ordinal = 0;
        image.bytes.Read(nameTable + uint64_t(i) * 4, &nameRva);
        if (!NamesExport(image, nameRva, name))
            continue;
        image.bytes.Read(ordinalTable + uint64_t(i) * 2, &ordinal);
        uint32_t function = 0;
        return ordinal < functionCount && ReadAt(image, functions + uint64_t(ordinal) * 4, &function) &&
               function != 0;
    }
    return false;
}

} // namespace

HookModuleProbe ProbeModuleImage(const unsigned char *image, size_t size, uint16_t machine)
{
    Image read;
    if (!ReadImageHeaders(Bytes{image, size}, machine, &read))
        return HookModuleProbe::NotLoaded;
    return HasExport(read, kMarkerExport) ? HookModuleProbe::Marked : HookModuleProbe::Unmarked;
}
