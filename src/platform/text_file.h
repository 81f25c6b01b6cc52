// Reading and saving small text files in the platform's text mode (CR LF on
// disk, Ctrl-Z ends a file), the way the game itself reads patch.cfg.
#pragma once

#include <cstddef>
#include <string>

// Calls consume(bytes, count) for each chunk read, in the fopen mode given
// ("rt" for text); false when the file cannot be opened.
template <typename Consume>
bool ReadFileChunks(const char *name, const char *mode, Consume consume);

enum class SaveResult { Saved, AccessDenied, Failed };

// Replaces the file with the text, or leaves it exactly as it was. The text
// goes to a temporary file beside it first, and only a complete, closed copy
// replaces the original (keeping the original's attributes). A read-only
// file is refused as access denied.
SaveResult SaveTextFile(const char *name, const std::string &text);

#include <cstdio>

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
