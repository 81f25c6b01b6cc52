// Reading and saving small text files in the platform's text mode (CR LF on
// disk, Ctrl-Z ends a file), the way the game itself reads patch.cfg.
#pragma once

#include <stddef.h>
#include <stdio.h>

#include "platform/win32.h"

// Calls consume(bytes, count) for each chunk read, in the fopen mode given
// ("rt" for text); false when the file cannot be opened.
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

enum class SaveResult { Saved, AccessDenied, Failed };

// Replaces the file with the text ("\n" line ends), or leaves it holding
// its old bytes. The text goes to a temporary file beside it first, and
// only a complete copy, flushed to disk, replaces the original (keeping the
// original's attributes). Where the platform refuses that route (a
// directory the player may not write, a file another program holds open
// without letting it be deleted) the file is rewritten in place, its old
// bytes kept to put back. A read-only file is refused as access denied.
// The name is a path (".\\patch.cfg"), not a bare name: Wine's ReplaceFile
// wants one.
SaveResult SaveTextFile(const wchar_t *name, const char *text, size_t length);

// The platform's ReplaceFileW; tests set a stand-in to meet the outcomes
// that Wine never gives.
extern BOOL(WINAPI *replaceFileForSave)(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                                        LPVOID exclude, LPVOID reserved);
