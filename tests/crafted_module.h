// A hook module crafted to cost its probe the most, for the checks, the fuzz
// seed and the start-up benchmark: 65,535 section headers (2.6 MB), all but
// the last two without file data, and the export name and ordinal tables
// laid over the section table, so that 655,351 names order before "patch",
// which is last.
#pragma once

#include <cstdint>
#include <string>

enum class CraftedMarker { Exported, Forwarded, NamedOutOfOrder };

// Fields the checks change: of the headers, and of a section's header.
enum CraftedField : uint32_t {
    kOptionalHeaderSize = 0x54, kCharacteristics = 0x56, kSectionAlignment = 0x78, kFileAlignment = 0x7C,
    kImageSize = 0x90, kHeadersSize = 0x94, kFirstSection = 0x148, kSectionAddress = 12, kRawOffset = 20
};

// With one field changed (fieldBytes at field), for the checks' odd files.
inline std::string CraftedModule(CraftedMarker marker, uint32_t sectionCount = 65535,
                                 uint32_t field = 0, uint32_t fieldValue = 0, int fieldBytes = 0)
{
    const uint32_t directories = 0xB8, end = kFirstSection + sectionCount * 40;
    const uint32_t functions = end + 4, directory = end + 8, name = directory + 40, size = (name + 6 + 4095) & ~4095;
    std::string image(size, '\0');
    const auto put = [&image](uint32_t at, uint32_t value, int bytes = 4) {
        for (int i = 0; i < bytes; ++i)
            image[at + i] = static_cast<char>(value >> 8 * i);
    };
    image.replace(0, 2, "MZ").replace(0x40, 4, "PE\0\0", 4);
    put(0x3C, 0x40), put(0x44, 0x14C, 2), put(0x46, sectionCount, 2), put(kOptionalHeaderSize, 240, 2);
    put(kCharacteristics, 0x2102, 2), put(0x58, 0x10B, 2); // an executable i386 DLL
    // The headers' size stays 0, so no address is read from the headers.
    put(kSectionAlignment, 4096), put(kFileAlignment, 512), put(kImageSize, size + 4096);
    put(directories - 4, 16), put(directories, directory), put(directories + 4, 46);
    // One section maps the whole file at address 0, the last one its first 16
    // bytes again at address `size`: each 4 bytes of the section table (0,
    // 16 or size) names "MZ" or "".
    put(end - 80 + 16, size), put(end - 40 + kSectionAddress, size), put(end - 40 + 16, 16);
    // Out of order the marker is the fourth name from the end, which a search
    // whose midpoint rounds up reaches and the loader's never does.
    put(marker == CraftedMarker::NamedOutOfOrder ? end - 12 : end, name);
    put(functions, marker == CraftedMarker::Forwarded ? name : 0x1000); // forwarded: inside the export directory
    put(directory + 20, 1), put(directory + 24, (end + 4 - kFirstSection) / 4), put(directory + 28, functions);
    put(directory + 32, kFirstSection), put(directory + 36, kFirstSection); // every ordinal read is 0
    image.replace(name, 6, "patch", 6);
    return put(field, fieldValue, fieldBytes), image;
}
