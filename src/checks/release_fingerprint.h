// The supported release of the game (v1.21) as the patch knows it: a few
// bytes at fixed offsets of the executable and the renderer, which no other
// release has in the same places.
#pragma once

#include <stddef.h>

constexpr long kExecutableWordOffset = 224;
constexpr long kExecutableImportOffset = 315030;
constexpr size_t kExecutableImportLength = 12;
constexpr long kRendererWordOffset = 480;
constexpr size_t kWordLength = 4;

// The arguments are the bytes read at those offsets and their counts:
// fewer than asked for when the file ends first, which never matches.
bool IsSupportedExecutable(const char *word, size_t wordLength, const char *import, size_t importLength);
bool IsSupportedRenderer(const char *word, size_t wordLength);
