// The patch's fourteen options, as the game reads them from patch.cfg.
#pragma once

#include <cstdint>

struct PatchSettings {
    int32_t enable = 1;
    int32_t width = 0;   // 0 with height 0: the game keeps its own resolution
    int32_t height = 0;
    int32_t nativefs = 1;
    int32_t consolenoback = 0;
    int32_t consoleoverlay = 4;
    int32_t consolewidth = 126;
    int32_t chatlines = 8;
    int32_t menudarken = 1;
    int32_t showgun = 0;
    int32_t maxfps = 90;
    int32_t autofov = 1;
    int32_t dlmain = 1;
    int32_t dlrate = 0;
};

// A key of patch.cfg and the field it sets.
struct PatchSettingKey {
    const char *name;
    int32_t PatchSettings::*field;
};

// Every key, in the order the file is written.
extern const PatchSettingKey patchSettingKeys[14];

// The one record of the process: defaults until patch.cfg is read.
extern PatchSettings patchSettings;

// A resolution counts as set only with both sides nonzero.
bool IsResolutionSet(const PatchSettings &settings);
