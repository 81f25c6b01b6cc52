// Keeps what the screen shows in an area as a .bmp file, for a person to
// look at when a test about what the player sees fails (or passes).
#pragma once

#include <string>

#include "platform/win32.h"

bool SaveScreenArea(const RECT &area, const std::string &path);
