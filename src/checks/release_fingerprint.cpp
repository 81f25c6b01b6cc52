#include "checks/release_fingerprint.h"

#include <stdint.h>
#include <string.h>

#include "checks/little_endian.h"

static constexpr uint32_t kExecutableValue32 = 0x37D33DF5;
// The hook module's name as the executable imports it, terminator included:
// releases that spell it differently load a different module.
static const char kExecutableImport[kExecutableImportLength] = "WSOCK32.dll";
static constexpr uint32_t kRendererValue32 = 0x0002B57A;

static bool IsValue32(const char *bytes, size_t length, uint32_t expected)
{
    if (length != kValue32Length)
        return false;
    uint32_t value = 0;
    ReadLittleEndian(reinterpret_cast<const unsigned char *>(bytes), &value);
    return value == expected;
}

bool IsSupportedExecutable(const char *value32, size_t value32Length, const char *import, size_t importLength)
{
    return IsValue32(value32, value32Length, kExecutableValue32) && importLength == kExecutableImportLength &&
           memcmp(import, kExecutableImport, kExecutableImportLength) == 0;
}

bool IsSupportedRenderer(const char *value32, size_t value32Length)
{
    return IsValue32(value32, value32Length, kRendererValue32);
}
