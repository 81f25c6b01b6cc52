#include "platform/text_file.h"

BOOL(WINAPI *replaceFileForSave)(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID) = ReplaceFileW;

// Whatever else has the file open keeps its access; the save only needs
// its own.
static const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

static SaveResult FromLastError(DWORD error)
{
    return error == ERROR_ACCESS_DENIED ? SaveResult::AccessDenied : SaveResult::Failed;
}

static bool WriteBytes(HANDLE file, const char *bytes, DWORD count)
{
    DWORD written = 0;
    return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

// As a text-mode stream writes it: each "\n" reaches the disk as CR LF.
static bool WriteText(HANDLE file, const char *text, size_t length)
{
    char chunk[512];
    DWORD used = 0;
    for (size_t i = 0; i < length; ++i) {
        if (used + 2 > sizeof chunk) {
            if (!WriteBytes(file, chunk, used))
                return false;
            used = 0;
        }
        if (text[i] == '\n')
            chunk[used++] = '\r';
        chunk[used++] = text[i];
    }
    return WriteBytes(file, chunk, used);
}

// The whole file, read before it is rewritten, so that a write failing
// part-way can put it back. Null when it cannot be held.
static char *ReadWholeFile(HANDLE file, DWORD *size)
{
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(file, &fileSize) || fileSize.HighPart != 0)
        return nullptr;
    *size = fileSize.LowPart;
    char *bytes = static_cast<char *>(HeapAlloc(GetProcessHeap(), 0, *size + 1));
    DWORD read = 0;
    if (bytes && (!ReadFile(file, bytes, *size, &read, nullptr) || read != *size)) {
        HeapFree(GetProcessHeap(), 0, bytes);
        return nullptr;
    }
    return bytes;
}

static bool Rewrite(HANDLE file, const char *text, size_t length, bool asText)
{
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) != 0 || !SetEndOfFile(file))
        return false;
    const bool written = asText ? WriteText(file, text, length) : WriteBytes(file, text, static_cast<DWORD>(length));
    return written && FlushFileBuffers(file);
}

// Where no temporary file can be made or the file cannot be replaced, it
// may still be writable, as a plain write would find it. A file that cannot
// be read first is not written: its bytes could not be put back.
static SaveResult SaveInPlace(const wchar_t *name, const char *text, size_t length)
{
    HANDLE file = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FromLastError(GetLastError());
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    DWORD oldSize = 0;
    char *old = ReadWholeFile(file, &oldSize);
    if (!old) {
        CloseHandle(file);
        return SaveResult::Failed;
    }
    const bool saved = Rewrite(file, text, length, true);
    if (!saved && existed)
        Rewrite(file, old, oldSize, false);
    HeapFree(GetProcessHeap(), 0, old);
    CloseHandle(file);
    if (saved)
        return SaveResult::Saved;
    if (!existed)
        DeleteFileW(name);
    return SaveResult::Failed;
}

// A new file beside the target, opened for writing. Wine's GetTempFileName
// names a file even where it could not create one (a directory the player
// may not write), so only opening it tells.
static HANDLE CreateTemporaryFile(wchar_t (&name)[MAX_PATH])
{
    if (!GetTempFileNameW(L".", L"pcf", 0, name))
        return INVALID_HANDLE_VALUE;
    HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        DeleteFileW(name);
    return file;
}

// Flushed before it replaces anything: after a power cut the directory
// holds the old file or the whole new one, never an empty one.
static bool WriteAndClose(HANDLE file, const char *text, size_t length)
{
    const bool written = WriteText(file, text, length) && FlushFileBuffers(file);
    return CloseHandle(file) && written;
}

// Replacing needs the right to delete the file, which a program holding it
// open without sharing deletion (an editor, a scanner, a sync client) or
// the file's permissions may refuse. Finding that out before anything is
// written keeps the failure clean: Wine's ReplaceFile would leave a stray
// temporary file of its own behind.
static bool CanReplace(const wchar_t *name)
{
    HANDLE file = CreateFileW(name, GENERIC_WRITE | DELETE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// ReplaceFile stopped half-way, the new file still under its temporary
// name: with 1176 the old one may already be deleted, with 1177 it lies
// under a name of the platform's choosing. The new file then takes the
// empty place, so the game always finds a patch.cfg. Should moving it fail
// too, it is kept: it is the only copy of the settings.
static SaveResult FinishHalfReplace(const wchar_t *temporary, const wchar_t *name, DWORD attributes)
{
    if (GetFileAttributesW(name) != INVALID_FILE_ATTRIBUTES) {
        DeleteFileW(temporary);
        return SaveResult::Failed;
    }
    if (!MoveFileExW(temporary, name, MOVEFILE_WRITE_THROUGH))
        return SaveResult::Failed;
    SetFileAttributesW(name, attributes);
    return SaveResult::Saved;
}

// Puts the finished temporary file in the place of the target. Replacing
// keeps the target's attributes on Windows; Wine's ReplaceFile drops them,
// so they are set again.
static SaveResult MoveIntoPlace(const wchar_t *temporary, const wchar_t *name, DWORD attributes)
{
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (MoveFileExW(temporary, name, MOVEFILE_WRITE_THROUGH))
            return SaveResult::Saved;
    } else if (replaceFileForSave(name, temporary, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        SetFileAttributesW(name, attributes);
        return SaveResult::Saved;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        return FinishHalfReplace(temporary, name, attributes);
    DeleteFileW(temporary);
    return FromLastError(error);
}

SaveResult SaveTextFile(const wchar_t *name, const char *text, size_t length)
{
    const DWORD attributes = GetFileAttributesW(name);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return SaveResult::Failed;
    // Windows refuses writers on a read-only file; Wine run as root would
    // not, so the attribute is honoured here for every player alike.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return SaveResult::AccessDenied;
    if (exists && !CanReplace(name))
        return SaveInPlace(name, text, length);

    wchar_t temporary[MAX_PATH];
    HANDLE file = CreateTemporaryFile(temporary);
    if (file == INVALID_HANDLE_VALUE)
        return SaveInPlace(name, text, length);
    if (!WriteAndClose(file, text, length)) {
        DeleteFileW(temporary);
        return SaveResult::Failed;
    }
    return MoveIntoPlace(temporary, name, attributes);
}
