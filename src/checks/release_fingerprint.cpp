#include "checks/release_fingerprint.h"

#include <cstdint>

static constexpr uint32_t kExecutableWord = 0x37D33DF5;
// The hook module's name as the executable imports it, terminator included:
// releases that spell it differently load a different module.
static const std::string kExecutableImport("WSOCK32.dll", kExecutableImportLength);
static constexpr uint32_t kRendererWord = 0x0002B57A;

// The files are little-endian whatever this program runs on.
static bool IsWord(const std::string &bytes, uint32_t expected)
{
    if (bytes.size() != kWordLength)
        return false;
    uint32_t word = 0;
    for (size_t i = kWordLength; i-- > 0;)
        word = (word << 8) | static_cast<unsigned char>(bytes[i]);
    return word == expected;
}

bool IsSupportedExecutable(const std::string &word, const std::string &import)
{
    return IsWord(word, kExecutableWord) && import == kExecutableImport;
}

bool IsSupportedRenderer(const std::string &word)
{
    return IsWord(word, kRendererWord);
}
