#include "settings/config_text.h"

#include <cstring>

#include "platform/bounded_format.h"

// Bytes from 128 up count as blanks too: the game's own reader treats them so.
static bool IsBlank(unsigned char c)
{
    return c <= 32 || c >= 128;
}

static bool IsSpace(unsigned char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int32_t ParseConfigNumber(const char *text)
{
    const unsigned char *p = reinterpret_cast<const unsigned char *>(text);
    while (IsSpace(*p))
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    int64_t magnitude = 0;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

static int32_t *FindSetting(PatchSettings &settings, const char *key)
{
    for (const PatchSettingKey &k : patchSettingKeys) {
        if (strcmp(k.name, key) == 0)
            return &(settings.*k.field);
    }
    return nullptr;
}

// The line is a C string: a zero byte inside it ends it, key or value.
static void ApplyConfigLine(char *line, PatchSettings &settings)
{
    unsigned char *p = reinterpret_cast<unsigned char *>(line);
    while (*p && !IsBlank(*p))
        ++p;
    if (*p) {
        *p++ = 0;
        while (*p && IsBlank(*p))
            ++p;
    }
    if (int32_t *field = FindSetting(settings, line))
        *field = ParseConfigNumber(reinterpret_cast<char *>(p));
}

static void EndLine(ConfigReader &reader, PatchSettings &settings)
{
    reader.line[reader.length] = 0;
    ApplyConfigLine(reader.line, settings);
    reader.length = 0;
    reader.inLine = false;
}

void StartPatchConfig(ConfigReader &reader)
{
    reader.length = 0;
    reader.inLine = false;
    reader.ended = false;
}

bool FeedPatchConfig(ConfigReader &reader, const char *bytes, size_t count, PatchSettings &settings)
{
    for (size_t i = 0; i < count && !reader.ended; ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == 26) {
            reader.ended = true;
            break;
        }
        if (!reader.inLine) {
            // Control bytes between lines (blank lines, stray TABs) are skipped.
            if (c < 32)
                continue;
            reader.inLine = true;
        } else if (c == '\n' || c == '\r') {
            EndLine(reader, settings);
            continue;
        }
        if (reader.length < kConfigLineKept)
            reader.line[reader.length++] = static_cast<char>(c);
    }
    return !reader.ended;
}

void FinishPatchConfig(ConfigReader &reader, PatchSettings &settings)
{
    if (reader.inLine)
        EndLine(reader, settings);
}

void ParsePatchConfig(const char *bytes, size_t count, PatchSettings &settings)
{
    ConfigReader reader;
    StartPatchConfig(reader);
    FeedPatchConfig(reader, bytes, count, settings);
    FinishPatchConfig(reader, settings);
}

size_t FormatPatchConfig(const PatchSettings &settings, char (&text)[kPatchConfigTextSize])
{
    const bool withResolution = IsResolutionSet(settings);
    size_t length = 0;
    for (const PatchSettingKey &k : patchSettingKeys) {
        if (!withResolution && (k.field == &PatchSettings::width || k.field == &PatchSettings::height))
            continue;
        length += FormatBounded(text + length, kPatchConfigTextSize - length, "%s %d\n", k.name,
                                static_cast<int>(settings.*k.field));
    }
    text[length] = 0;
    return length;
}
