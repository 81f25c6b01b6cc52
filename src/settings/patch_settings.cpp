#include "settings/patch_settings.h"

const PatchSettingKey patchSettingKeys[14] = {
    {"enable", &PatchSettings::enable},
    {"width", &PatchSettings::width},
    {"height", &PatchSettings::height},
    {"nativefs", &PatchSettings::nativefs},
    {"consolenoback", &PatchSettings::consolenoback},
    {"consoleoverlay", &PatchSettings::consoleoverlay},
    {"consolewidth", &PatchSettings::consolewidth},
    {"chatlines", &PatchSettings::chatlines},
    {"menudarken", &PatchSettings::menudarken},
    {"showgun", &PatchSettings::showgun},
    {"maxfps", &PatchSettings::maxfps},
    {"autofov", &PatchSettings::autofov},
    {"dlmain", &PatchSettings::dlmain},
    {"dlrate", &PatchSettings::dlrate},
};

PatchSettings patchSettings;

bool IsResolutionSet(const PatchSettings &settings)
{
    return settings.width != 0 && settings.height != 0;
}
