// The one reader of numbers in the game's files and modules: they are
// little-endian whatever machine this program is built for, and a field
// read a byte at a time needs no alignment either.
#pragma once

#include <stddef.h>

// The unsigned value of the sizeof(Value) bytes from bytes on.
template <typename Value>
inline Value ReadLittleEndian(const unsigned char *bytes)
{
    Value value = 0;
    for (size_t i = sizeof(Value); i-- > 0;)
        value = static_cast<Value>(value << 8 | bytes[i]);
    return value;
}
