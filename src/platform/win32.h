// The one place the program includes the platform's headers, so every file
// sees the same STRICT, lean, ANSI declarations.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>
