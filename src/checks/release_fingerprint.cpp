#include "checks/release_fingerprint.h"

#include <stdint.h>
#include <string.h>

static constexpr uint32_t kExecutableWord = 0x37D33DF5;
// The hook module's name as the executable imports it, terminator included:
// releases that spell it differently load a different module.
static const char kExecutableImport[kExecutableImportLength] = "WSOCK32.dll";
static constexpr uint32_t kRendererWord = 0x0002B57A;

// The files are little-endian whatever this program runs on.
static bool IsWord(const char *bytes, size_t length, uint32_t expected)
{
    if (length != kWordLength)
        return false;
    uint32_t word = 0;
    for (size_t i = kWordLength; i-- > 0;)
        word = (word << 8) | static_cast<unsigned char>(bytes[i]);
    return word == expected;
}

bool IsSupportedExecutable(const char *word, size_t wordLength, const char *import, size_t importLength)
{
    return IsWord(word, wordLength, kExecutableWord) && importLength == kExecutableImportLength &&
           memcmp(import, kExecutableImport, kExecutableImportLength) == 0;
}

bool IsSupportedRenderer(const char *word, size_t wordLength)
{
    return IsWord(word, wordLength, kRendererWord);
}
