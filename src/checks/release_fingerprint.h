// The supported release of the game (v1.21) as the patch knows it: a few
// bytes at fixed offsets of the executable and the renderer, which no other
// release has in the same places.
#pragma once

#include <stddef.h>

constexpr long kExecutableValue32Offset = 224;
constexpr long kExecutableImportOffset = 315030;
constexpr size_t kExecutableImportLength = 12;
constexpr long kRendererValue32Offset = 480;
constexpr size_t kValue32Length = 4;

// The arguments are the bytes read at those offsets and their counts:
// fewer than asked for when the file ends first, which never matches.
bool IsSupportedExecutable(const char *value32, size_t value32Length, const char *import, size_t importLength);
bool IsSupportedRenderer(const char *value32, size_t value32Length);
