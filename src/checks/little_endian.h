// The one reader of numbers in the game's files and modules: they are
// little-endian whatever machine this program is built for, and a field
// read a byte at a time needs no alignment either. Spelt out byte by byte,
// which the compiler turns into a single load where the machine allows,
// even when it builds for size (a loop over the bytes it would keep).
#pragma once

#include <stdint.h>

inline void ReadLittleEndian(const unsigned char *bytes, uint16_t *value)
{
    *value = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

inline void ReadLittleEndian(const unsigned char *bytes, uint32_t *value)
{
    *value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}
