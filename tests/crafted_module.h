// A hook module crafted to cost its probe the most, for the checks, the fuzz
// seed and the start-up benchmark: 65,535 section headers (2.6 MB), all but
// the last two without file data, so every address is looked up through all
// of them; and the export name and ordinal tables laid over the section
// table, so that 655,351 names order before "patch", which is last.
#pragma once

#include <cstdint>
#include <string>

enum class CraftedMarker { Exported, Forwarded, NamedOutOfOrder };

inline std::string CraftedModule(uint16_t machine, CraftedMarker marker, uint32_t sectionCount = 65535)
{
    const bool pe32Plus = machine == 0x8664;
    const uint32_t optional = 0x58, sections = optional + (pe32Plus ? 240 : 224), end = sections + sectionCount * 40;
    const uint32_t functions = end + 4, directory = end + 8, name = directory + 40, size = name + 6;
    std::string image(size, '\0');
    const auto put = [&image](uint32_t at, uint32_t value, int bytes = 4) {
        for (int i = 0; i < bytes; ++i)
            image[at + i] = static_cast<char>(value >> 8 * i);
    };
    image.replace(0, 2, "MZ").replace(0x40, 4, "PE\0\0", 4);
    put(0x3C, 0x40), put(0x44, machine, 2), put(0x46, sectionCount, 2), put(0x54, sections - optional, 2);
    // The headers' size stays 0, so no address is read from the headers.
    put(optional, pe32Plus ? 0x20B : 0x10B, 2), put(optional + (pe32Plus ? 108 : 92), 16);
    put(optional + (pe32Plus ? 112 : 96), directory), put(optional + (pe32Plus ? 116 : 100), 46);
    // One section maps the whole file at address 0, the last one its first 16
    // bytes again at address `size`: each 4 bytes of the section table (0,
    // 16 or size) names "MZ" or "".
    put(end - 80 + 16, size), put(end - 40 + 12, size), put(end - 40 + 16, 16);
    // Out of order the marker is the second name, whose ordinal is 0 as well.
    put(marker == CraftedMarker::NamedOutOfOrder ? sections + 4 : end, name);
    put(functions, marker == CraftedMarker::Forwarded ? name : 0x1000); // forwarded: inside the export directory
    put(directory + 20, 1), put(directory + 24, (end + 4 - sections) / 4), put(directory + 28, functions);
    put(directory + 32, sections), put(directory + 36, sections); // the ordinal for the last name is 0
    image.replace(name, 6, "patch", 6);
    return image;
}
