#include "platform/text_file.h"

#include <cerrno>

#include "platform/win32.h"

// Every write and the close are checked: a full disk or a quota must not
// pass for a save.
static bool WriteAndClose(FILE *file, const std::string &text)
{
    bool ok = fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = fflush(file) == 0 && ok;
    return fclose(file) == 0 && ok;
}

static SaveResult FromErrno(int error)
{
    return error == EACCES ? SaveResult::AccessDenied : SaveResult::Failed;
}

static SaveResult FromLastError(DWORD error)
{
    return error == ERROR_ACCESS_DENIED ? SaveResult::AccessDenied : SaveResult::Failed;
}

// Without a writable directory there is no temporary file; the file itself
// may still be writable. Its old bytes are kept in memory and put back if
// the write fails part-way.
static SaveResult SaveInPlace(const char *name, const std::string &text)
{
    std::string old;
    const bool hadOld = ReadFileChunks(name, "rb", [&old](const char *bytes, size_t count) {
        old.append(bytes, count);
    });
    FILE *file = fopen(name, "wt");
    if (!file)
        return FromErrno(errno);
    if (WriteAndClose(file, text))
        return SaveResult::Saved;
    if (!hadOld)
        DeleteFileA(name);
    else if ((file = fopen(name, "wb")) != nullptr)
        WriteAndClose(file, old);
    return SaveResult::Failed;
}

// A new file beside the target, opened for writing. Wine's GetTempFileName
// names a file even where it could not create one (a directory the player
// may not write), so only opening it tells.
static FILE *CreateTemporaryFile(char *name)
{
    if (!GetTempFileNameA(".", "pcf", 0, name))
        return nullptr;
    FILE *file = fopen(name, "wt");
    if (!file)
        DeleteFileA(name);
    return file;
}

// A file another program holds open cannot be replaced. Finding that out
// before anything is written keeps the failure clean: Wine's ReplaceFile
// would leave a stray temporary file of its own behind.
static bool CanReplace(const char *name, SaveResult *refusal)
{
    HANDLE file = CreateFileA(name, GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *refusal = FromLastError(GetLastError());
        return false;
    }
    CloseHandle(file);
    return true;
}

// Puts the finished temporary file in the place of the target. Replacing
// keeps the target's attributes on Windows; Wine's ReplaceFile drops them,
// so they are set again.
static bool MoveIntoPlace(const char *temporary, const char *name, DWORD attributes)
{
    // Wine's ReplaceFile wants a path, not a bare name.
    const std::string target = std::string(".\\") + name;
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return MoveFileA(temporary, target.c_str()) != 0;
    if (!ReplaceFileA(target.c_str(), temporary, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return false;
    SetFileAttributesA(target.c_str(), attributes);
    return true;
}

SaveResult SaveTextFile(const char *name, const std::string &text)
{
    const DWORD attributes = GetFileAttributesA(name);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return SaveResult::Failed;
    // Windows refuses writers on a read-only file; Wine run as root would
    // not, so the attribute is honoured here for every player alike.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return SaveResult::AccessDenied;
    SaveResult refusal;
    if (exists && !CanReplace(name, &refusal))
        return refusal;

    char temporary[MAX_PATH];
    FILE *file = CreateTemporaryFile(temporary);
    if (!file)
        return SaveInPlace(name, text);
    if (!WriteAndClose(file, text)) {
        DeleteFileA(temporary);
        return SaveResult::Failed;
    }
    if (MoveIntoPlace(temporary, name, attributes))
        return SaveResult::Saved;
    const DWORD error = GetLastError();
    DeleteFileA(temporary);
    return FromLastError(error);
}
