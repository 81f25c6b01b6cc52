#include "checks/module_image.h"

#include <cstring>

#include "checks/little_endian.h"

namespace {

// A run of the module file's bytes. Offsets and sizes are 64-bit so that no
// sum of 32-bit fields from the file wraps.
struct Bytes {
    const unsigned char *data;
    uint64_t size;
};

// A section as the loader places it: memorySize bytes at its address, the
// first fileSize of them from the file at fileOffset, zeros after.
struct Section {
    uint64_t address;
    uint64_t memorySize;
    uint64_t fileOffset;
    uint64_t rawSize;
    uint64_t fileSize;
};

// The module as the loader lays it out: the file's first headersSize bytes
// at address 0, each section at its own address above them.
struct Image {
    Bytes file;
    uint64_t headersSize;
    uint64_t sectionTable;
    uint32_t sectionCount;
    uint32_t exportsRva; // 0: the image exports nothing
    uint32_t exportsSize;
};

constexpr uint64_t kDosNewHeaderField = 0x3C;
constexpr uint64_t kOptionalHeader = 24; // from the signature "PE\0\0"
constexpr uint64_t kSectionHeaderSize = 40;
constexpr uint16_t kExecutableImage = 0x0002;
constexpr uint16_t kMachineI386 = 0x014C;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint64_t kDirectoryCountField = 92; // in a PE32 optional header
constexpr uint32_t kPageSize = 0x1000;
// The loader reads a section's data from its file offset rounded down to
// this, whatever the file alignment says.
constexpr uint64_t kRawDataUnit = 0x200;

uint64_t Smaller(uint64_t a, uint64_t b)
{
    return a < b ? a : b;
}

// The file's bytes from an offset to its end; none past the end.
Bytes FileAt(const Bytes &file, uint64_t offset)
{
    return offset < file.size ? Bytes{file.data + offset, file.size - offset} : Bytes{nullptr, 0};
}

// The field at an offset into a run of bytes; false when the run ends first.
// Every number taken from the module is read here, after this check.
template <typename Value>
bool ReadField(const Bytes &bytes, uint64_t offset, Value *value)
{
    if (offset > bytes.size || bytes.size - offset < sizeof(Value))
        return false;
    ReadLittleEndian(bytes.data + offset, value);
    return true;
}

bool ReadSection(const Image &image, uint64_t index, Section *section)
{
    const Bytes header = FileAt(image.file, image.sectionTable + index * kSectionHeaderSize);
    uint32_t virtualSize = 0, address = 0, rawSize = 0, rawOffset = 0;
    if (!ReadField(header, 8, &virtualSize) || !ReadField(header, 12, &address) || !ReadField(header, 16, &rawSize) ||
        !ReadField(header, 20, &rawOffset))
        return false;
    section->address = address;
    section->memorySize = virtualSize != 0 ? virtualSize : rawSize;
    section->fileOffset = rawOffset & ~(kRawDataUnit - 1);
    section->rawSize = rawSize;
    section->fileSize = Smaller(rawSize, section->memorySize);
    return true;
}

// The one way to the bytes of the loaded image: those the file holds at an
// address, as many as follow there without a gap. None past the file's end,
// outside every section, or in the zeros the loader puts past a section's
// data: no module of the patch keeps anything it looks up there.
Bytes At(const Image &image, uint64_t address)
{
    if (address < image.headersSize) {
        const Bytes headers = FileAt(image.file, address);
        return {headers.data, Smaller(headers.size, image.headersSize - address)};
    }
    // The last section starting at or below the address: the sections are
    // in address order, so a binary search finds it in at most 16 steps.
    Section section = {};
    bool below = false;
    uint64_t first = 0, end = image.sectionCount;
    while (first < end) {
        const uint64_t middle = first + (end - first) / 2;
        Section candidate;
        if (!ReadSection(image, middle, &candidate))
            return {nullptr, 0};
        if (candidate.address <= address)
            section = candidate, below = true, first = middle + 1;
        else
            end = middle;
    }
    const uint64_t into = address - section.address;
    if (!below || into >= section.fileSize)
        return {nullptr, 0};
    const Bytes data = FileAt(image.file, section.fileOffset + into);
    return {data.data, Smaller(data.size, section.fileSize - into)};
}

bool IsPowerOfTwo(uint32_t value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

uint64_t RoundUp(uint64_t value, uint32_t powerOfTwo)
{
    return (value + powerOfTwo - 1) & ~uint64_t(powerOfTwo - 1);
}

// The loader's range: files aligned to 512 bytes up to 64 KB, sections at
// least as coarsely, or below a page exactly as the file.
bool IsLoaderAlignment(uint32_t section, uint32_t file)
{
    return IsPowerOfTwo(file) && file >= kRawDataUnit && file <= 0x10000 && IsPowerOfTwo(section) &&
           (section >= kPageSize ? section >= file : section == file);
}

// What the loader checks before it maps a module: the signatures, the
// machine, an executable image, the alignments, the sections above the
// headers, in address order without overlapping, inside the image's size
// and with all their data in the file, so that a download cut short or a
// damaged file is refused rather than half mapped.
bool ReadImageHeaders(const Bytes &file, Image *image)
{
    const Bytes dos = FileAt(file, 0);
    uint32_t ntHeaders = 0;
    if (dos.size < 2 || memcmp(dos.data, "MZ", 2) != 0 || !ReadField(dos, kDosNewHeaderField, &ntHeaders))
        return false;
    const Bytes nt = FileAt(file, ntHeaders);
    uint16_t fileMachine = 0, sectionCount = 0, optionalSize = 0, characteristics = 0, magic = 0;
    if (nt.size < 4 || memcmp(nt.data, "PE\0\0", 4) != 0 || !ReadField(nt, 4, &fileMachine) ||
        !ReadField(nt, 6, &sectionCount) || !ReadField(nt, 20, &optionalSize) || !ReadField(nt, 22, &characteristics) ||
        !ReadField(nt, kOptionalHeader, &magic))
        return false;
    if (fileMachine != kMachineI386 || !(characteristics & kExecutableImage))
        return false;

    const Bytes optional = FileAt(file, ntHeaders + kOptionalHeader);
    const uint64_t directories = kDirectoryCountField + 4;
    uint32_t sectionAlignment = 0, fileAlignment = 0, imageSize = 0, headersSize = 0, directoryCount = 0;
    if (magic != kMagicPe32 || optionalSize < directories || !ReadField(optional, 32, &sectionAlignment) ||
        !ReadField(optional, 36, &fileAlignment) || !ReadField(optional, 56, &imageSize) ||
        !ReadField(optional, 60, &headersSize) || !ReadField(optional, kDirectoryCountField, &directoryCount) ||
        !IsLoaderAlignment(sectionAlignment, fileAlignment))
        return false;

    image->file = file;
    image->headersSize = headersSize;
    image->sectionTable = ntHeaders + kOptionalHeader + optionalSize;
    image->sectionCount = sectionCount;
    uint64_t taken = headersSize; // the addresses below it are the earlier parts'
    for (uint32_t i = 0; i < sectionCount; ++i) {
        Section section;
        if (!ReadSection(*image, i, &section) || section.address < taken)
            return false;
        // A section without file data (zeros in memory) may point anywhere.
        if (section.rawSize != 0 && FileAt(file, section.fileOffset).size < section.rawSize)
            return false;
        taken = section.address + RoundUp(section.memorySize, sectionAlignment);
    }
    if (taken > RoundUp(imageSize, sectionAlignment))
        return false;

    // The export table is the first data directory.
    image->exportsRva = 0;
    image->exportsSize = 0;
    if (directoryCount >= 1 && optionalSize >= directories + 8) {
        ReadField(optional, directories, &image->exportsRva);
        ReadField(optional, directories + 4, &image->exportsSize);
    }
    return true;
}

template <typename Value>
bool ReadAtAddress(const Image &image, uint64_t address, Value *value)
{
    return ReadField(At(image, address), 0, value);
}

// strcmp's order of a name against the export name at an address of the
// image, as the loader compares them; false when the file does not hold the
// export name as far as the two agree. A name may run on into the next
// section.
bool CompareWithExportName(const Image &image, uint32_t nameRva, const char *name, int *order)
{
    Bytes found = {nullptr, 0};
    for (uint64_t i = 0;; ++i) {
        if (found.size == 0)
            found = At(image, uint64_t(nameRva) + i);
        if (found.size == 0)
            return false;
        const unsigned char wanted = name[i], got = found.data[0];
        ++found.data, --found.size;
        if (wanted != got || wanted == 0) {
            *order = wanted == got ? 0 : wanted < got ? -1 : 1;
            return true;
        }
    }
}

// The loader's answer for a named export at an entry of the name table: the
// name's ordinal must pick an entry of the address table; an entry of 0 is
// no function, and one inside the export directory forwards the name to
// another module, whose export is not the patch's marker.
bool IsExportedFunction(const Image &image, uint64_t ordinals, uint64_t entry, uint32_t functions,
                        uint32_t functionCount)
{
    uint16_t ordinal = 0;
    uint32_t function = 0;
    if (!ReadAtAddress(image, ordinals + entry * 2, &ordinal) || ordinal >= functionCount ||
        !ReadAtAddress(image, functions + uint64_t(ordinal) * 4, &function))
        return false;
    const bool forwarded = function >= image.exportsRva && function - image.exportsRva < image.exportsSize;
    return function != 0 && !forwarded;
}

// As the loader looks a name up: a binary search of the name table, with
// the loader's midpoint (the lower of two), so that a table out of order
// hides the same names from both. Each step reads one name, however long
// the table.
bool HasExport(const Image &image, const char *name)
{
    if (image.exportsRva == 0)
        return false;
    const Bytes directory = At(image, image.exportsRva);
    uint32_t functionCount = 0, nameCount = 0, functions = 0, names = 0, ordinals = 0;
    if (!ReadField(directory, 20, &functionCount) || !ReadField(directory, 24, &nameCount) ||
        !ReadField(directory, 28, &functions) || !ReadField(directory, 32, &names) ||
        !ReadField(directory, 36, &ordinals))
        return false;
    uint64_t first = 0, end = nameCount;
    while (first < end) {
        const uint64_t middle = first + (end - 1 - first) / 2;
        uint32_t nameRva = 0;
        int order = 0;
        // A name the file does not hold ends the search: no module of the
        // patch has one.
        if (!ReadAtAddress(image, names + middle * 4, &nameRva) || !CompareWithExportName(image, nameRva, name, &order))
            return false;
        if (order == 0)
            return IsExportedFunction(image, ordinals, middle, functions, functionCount);
        if (order < 0)
            end = middle;
        else
            first = middle + 1;
    }
    return false;
}

} // namespace

HookModuleProbe ProbeModuleImage(const unsigned char *image, size_t size)
{
    Image read;
    if (!ReadImageHeaders(Bytes{image, size}, &read))
        return HookModuleProbe::NotAModule;
    return HasExport(read, kMarkerExport) ? HookModuleProbe::Marked : HookModuleProbe::Unmarked;
}
