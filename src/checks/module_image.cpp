#include "checks/module_image.h"

#include <cstring>

#include "checks/little_endian.h"

namespace {

// Offsets are 64-bit so that no sum of 32-bit fields from the file wraps.
struct Bytes {
    const unsigned char *data;
    uint64_t size;

    bool Holds(uint64_t offset, uint64_t length) const { return offset <= size && length <= size - offset; }

    // The field at a file offset; false when it lies past the end.
    template <typename Value>
    bool ReadAtOffset(uint64_t offset, Value *value) const
    {
        if (!Holds(offset, sizeof(Value)))
            return false;
        ReadLittleEndian(data + offset, value);
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
    uint32_t exportsSize;
};

constexpr uint64_t kDosNewHeaderField = 0x3C;
constexpr uint64_t kFileHeaderSize = 20;
constexpr uint64_t kSectionHeaderSize = 40;
constexpr uint64_t kExportDirectorySize = 40;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;

// Straight from the section table, which ReadImageHeaders finds whole in
// the file before anything reads it: a probe may walk all of it a few dozen
// times, and a bounds check of each field in 64-bit arithmetic would more
// than double that cost in the 32-bit program.
SectionHeader ReadSectionHeader(const unsigned char *header)
{
    SectionHeader section;
    ReadLittleEndian(header + 8, &section.virtualSize);
    ReadLittleEndian(header + 12, &section.virtualAddress);
    ReadLittleEndian(header + 16, &section.rawSize);
    ReadLittleEndian(header + 20, &section.rawOffset);
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
    const uint64_t end = rva + length;
    const unsigned char *header = image.bytes.data + image.sectionTable;
    for (uint16_t i = 0; i < image.sectionCount; ++i, header += kSectionHeaderSize) {
        const SectionHeader section = ReadSectionHeader(header);
        uint32_t extent = section.rawSize;
        if (section.virtualSize != 0 && section.virtualSize < extent)
            extent = section.virtualSize;
        if (rva >= section.virtualAddress && end <= uint64_t(section.virtualAddress) + extent) {
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
    if (!bytes.Holds(0, 2) || memcmp(bytes.data, "MZ", 2) != 0 || !bytes.ReadAtOffset(kDosNewHeaderField, &ntHeaders))
        return false;
    if (!bytes.Holds(ntHeaders, 4) || memcmp(bytes.data + ntHeaders, "PE\0\0", 4) != 0)
        return false;
    const uint64_t fileHeader = uint64_t(ntHeaders) + 4;
    uint16_t fileMachine = 0, sectionCount = 0, optionalSize = 0, magic = 0;
    if (!bytes.ReadAtOffset(fileHeader, &fileMachine) || !bytes.ReadAtOffset(fileHeader + 2, &sectionCount) ||
        !bytes.ReadAtOffset(fileHeader + 16, &optionalSize))
        return false;
    const uint64_t optional = fileHeader + kFileHeaderSize;
    if (fileMachine != machine || !bytes.ReadAtOffset(optional, &magic))
        return false;

    // The two layouts differ only in where the data directories start.
    const uint16_t expectedMagic = machine == kMachineAmd64 ? kMagicPe32Plus : kMagicPe32;
    const uint64_t directoryCountField = magic == kMagicPe32Plus ? 108 : 92;
    const uint64_t directories = directoryCountField + 4;
    uint32_t directoryCount = 0;
    if (magic != expectedMagic || optionalSize < directories ||
        !bytes.ReadAtOffset(optional + 60, &image->headersSize) ||
        !bytes.ReadAtOffset(optional + directoryCountField, &directoryCount))
        return false;

    image->bytes = bytes;
    image->sectionTable = optional + optionalSize;
    image->sectionCount = sectionCount;
    if (!bytes.Holds(image->sectionTable, sectionCount * kSectionHeaderSize))
        return false;
    const unsigned char *header = bytes.data + image->sectionTable;
    for (uint16_t i = 0; i < sectionCount; ++i, header += kSectionHeaderSize) {
        uint32_t rawSize = 0, rawOffset = 0;
        ReadLittleEndian(header + 16, &rawSize);
        ReadLittleEndian(header + 20, &rawOffset);
        // A section without file data (zeros in memory) may point anywhere.
        if (rawSize != 0 && !bytes.Holds(rawOffset, rawSize))
            return false;
    }

    // The export table is the first data directory.
    image->exportsRva = 0;
    image->exportsSize = 0;
    if (directoryCount >= 1 && optionalSize >= directories + 8) {
        bytes.ReadAtOffset(optional + directories, &image->exportsRva);
        bytes.ReadAtOffset(optional + directories + 4, &image->exportsSize);
    }
    return true;
}

bool ReadAtRva(const Image &image, uint64_t rva, uint32_t *value)
{
    uint64_t offset = 0;
    return FileOffsetOf(image, rva, sizeof *value, &offset) && image.bytes.ReadAtOffset(offset, value);
}

// strcmp's order of a name against the export name at an address of the
// mapped image, as the loader compares them; false when the file does not
// hold the export name as far as the two agree.
bool CompareWithExportName(const Image &image, uint32_t nameRva, const char *name, int *order)
{
    const uint64_t length = strlen(name) + 1;
    uint64_t offset = 0;
    // Mostly the file holds the whole length at once; a shorter name that
    // ends near the end of its section's data is read a byte at a time.
    const bool whole = FileOffsetOf(image, nameRva, length, &offset);
    for (uint64_t i = 0; i < length; ++i) {
        if (!whole && !FileOffsetOf(image, uint64_t(nameRva) + i, 1, &offset))
            return false;
        const unsigned char wanted = name[i], found = image.bytes.data[whole ? offset + i : offset];
        if (wanted != found) {
            *order = wanted < found ? -1 : 1;
            return true;
        }
    }
    *order = 0;
    return true;
}

// The loader's answer for a named export at an entry of the name table: the
// name's ordinal must pick an entry of the address table; an entry of 0 is
// no function, and one inside the export directory forwards the name to
// another module, whose export is not the patch's marker.
bool IsExportedFunction(const Image &image, uint64_t ordinalTable, uint64_t entry, uint32_t functions,
                        uint32_t functionCount)
{
    uint16_t ordinal = 0;
    uint32_t function = 0;
    image.bytes.ReadAtOffset(ordinalTable + entry * 2, &ordinal);
    if (ordinal >= functionCount || !ReadAtRva(image, functions + uint64_t(ordinal) * 4, &function))
        return false;
    const bool forwarded = function >= image.exportsRva && function - image.exportsRva < image.exportsSize;
    return function != 0 && !forwarded;
}

// As the loader looks a name up: a binary search of the name table, with
// the loader's midpoint (rounded down), so that a table out of order hides
// the same names from both. Each step reads one name, however long the
// table: a crafted module of a million names costs a few dozen lookups.
bool HasExport(const Image &image, const char *name)
{
    if (image.exportsRva == 0)
        return false;
    uint64_t directory = 0;
    uint32_t functionCount = 0, nameCount = 0, functions = 0, names = 0, ordinals = 0;
    if (!FileOffsetOf(image, image.exportsRva, kExportDirectorySize, &directory))
        return false;
    image.bytes.ReadAtOffset(directory + 20, &functionCount);
    image.bytes.ReadAtOffset(directory + 24, &nameCount);
    image.bytes.ReadAtOffset(directory + 28, &functions);
    image.bytes.ReadAtOffset(directory + 32, &names);
    image.bytes.ReadAtOffset(directory + 36, &ordinals);

    // Both tables must be in the file whole: an absurd count is refused
    // here instead of being searched.
    uint64_t nameTable = 0, ordinalTable = 0;
    if (!FileOffsetOf(image, names, uint64_t(nameCount) * 4, &nameTable) ||
        !FileOffsetOf(image, ordinals, uint64_t(nameCount) * 2, &ordinalTable))
        return false;
    uint64_t first = 0, end = nameCount;
    while (first < end) {
        const uint64_t middle = first + (end - 1 - first) / 2;
        uint32_t nameRva = 0;
        int order = 0;
        image.bytes.ReadAtOffset(nameTable + middle * 4, &nameRva);
        // A name the file does not hold (outside the image, or in the zeros
        // past a section's data) ends the search: no module of the patch
        // has one.
        if (!CompareWithExportName(image, nameRva, name, &order))
            return false;
        if (order == 0)
            return IsExportedFunction(image, ordinalTable, middle, functions, functionCount);
        if (order < 0)
            end = middle;
        else
            first = middle + 1;
    }
    return false;
}

} // namespace

HookModuleProbe ProbeModuleImage(const unsigned char *image, size_t size, uint16_t machine)
{
    Image read;
    if (!ReadImageHeaders(Bytes{image, size}, machine, &read))
        return HookModuleProbe::NotAModule;
    return HasExport(read, kMarkerExport) ? HookModuleProbe::Marked : HookModuleProbe::Unmarked;
}
