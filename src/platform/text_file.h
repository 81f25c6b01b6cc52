// Reading a file the way the C library of the platform delivers it; in text
// mode ("rt") that is CR LF folded to "\n" and Ctrl-Z taken as the end, the
// way the game itself reads patch.cfg.
#pragma once

#include <stddef.h>
#include <stdio.h>

// Calls consume(bytes, count) for each chunk read, in the fopen mode given;
// false when the file cannot be opened.
template <typename Consume>
bool ReadFileChunks(const char *name, const char *mode, Consume consume)
{
    FILE *file = fopen(name, mode);
    if (!file)
        return false;
    char chunk[4096];
    size_t count;
    while ((count = fread(chunk, 1, sizeof chunk, file)) > 0)
        consume(chunk, count);
    fclose(file);
    return true;
}
