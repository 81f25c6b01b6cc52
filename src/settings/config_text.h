// The text of patch.cfg: reading it into the settings and writing it from
// them. Reads the file's bytes as the game's text-mode reading has them:
// CR, LF or CR LF end a line, and a Ctrl-Z ends the text.
#pragma once

#include <cstddef>

#include "settings/patch_settings.h"

// The reader keeps the first 99 bytes of a line; the rest is dropped.
const size_t kConfigLineKept = 99;

// Reading state carried between chunks, so a file of any size is read
// through a small buffer.
struct ConfigReader {
    char line[kConfigLineKept + 1];
    size_t length;
    bool inLine;
    bool ended; // a Ctrl-Z was met: nothing after it counts
};

void StartPatchConfig(ConfigReader &reader);
// False once the text has ended: the rest of the file need not be read.
bool FeedPatchConfig(ConfigReader &reader, const char *bytes, size_t count, PatchSettings &settings);
void FinishPatchConfig(ConfigReader &reader, PatchSettings &settings);

// The whole text at once.
void ParsePatchConfig(const char *bytes, size_t count, PatchSettings &settings);

// Like atoi, but a number beyond 32 bits saturates at the nearest limit.
int32_t ParseConfigNumber(const char *text);

// Room for the fourteen lines at their longest: the longest key (14
// letters), a blank, -2147483648 and "\n" make 27 bytes a line.
const size_t kPatchConfigTextSize = 512;

// Twelve lines, or fourteen when a resolution is set; "\n" ends each.
// Writes the lines and a terminating zero; returns the length without it.
size_t FormatPatchConfig(const PatchSettings &settings, char (&text)[kPatchConfigTextSize]);
