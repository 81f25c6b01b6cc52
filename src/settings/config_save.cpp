#include "settings/config_save.h"

DWORD (*saveStepHook)(SaveStep next);

// Paths, not bare names: Wine's ReplaceFile wants them. The two files of a
// save are named for the tool, so that one found after a stop is known for
// what it is and nobody's own patch.cfg backup is ever taken for one.
static const wchar_t kConfigPath[] = L".\\patch.cfg";
static const wchar_t kNewPath[] = L".\\patch.cfg.saving";
static const wchar_t kOldPath[] = L".\\patch.cfg.replaced";

// Whatever else has a file open keeps its access; the save only needs its own.
static const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Indexers, virus scanners and sync clients open each file that was just
// written for a few hundred milliseconds, often without letting it be
// renamed or deleted. A save waits that long for them, in short sleeps.
static const DWORD kWaitForOthersMs = 1000;
static const DWORD kRetrySleepMs = 25;
static DWORD waitEnds;

static bool IsHeldByAnother(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

static void StartWaiting()
{
    waitEnds = GetTickCount() + kWaitForOthersMs;
}

static bool WaitIsOver()
{
    return static_cast<LONG>(GetTickCount() - waitEnds) >= 0;
}

// Runs one file operation of the save, as a test may refuse it, again
// while another program's handle stands in its way and the wait lasts.
// GetLastError tells why it failed.
template <typename Operation> static bool Run(SaveStep step, Operation operation)
{
    for (;;) {
        const DWORD refusal = saveStepHook ? saveStepHook(step) : 0;
        if (refusal)
            SetLastError(refusal);
        else if (operation())
            return true;
        const DWORD error = GetLastError();
        if (!IsHeldByAnother(error) || WaitIsOver())
            return SetLastError(error), false;
        Sleep(kRetrySleepMs);
    }
}

static bool Exists(const wchar_t *path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

static bool MoveIntoPlace(SaveStep step, const wchar_t *from, const wchar_t *to)
{
    return Run(step, [from, to] { return MoveFileExW(from, to, MOVEFILE_WRITE_THROUGH) != FALSE; });
}

// The save's own files go whatever happened. Should another program still
// hold one past the wait, it gets as long again.
static void Remove(SaveStep step, const wchar_t *path)
{
    if (!Exists(path))
        return;
    if (WaitIsOver())
        StartWaiting();
    Run(step, [path] { return DeleteFileW(path) != FALSE || GetLastError() == ERROR_FILE_NOT_FOUND; });
}

void RecoverInterruptedSave()
{
    // Moved aside and neither replaced nor put back: the last whole copy.
    if (!Exists(kConfigPath) && Exists(kOldPath))
        MoveFileExW(kOldPath, kConfigPath, MOVEFILE_WRITE_THROUGH);
    if (Exists(kConfigPath))
        DeleteFileW(kOldPath);
    // A new file that never took its place may be cut short.
    DeleteFileW(kNewPath);
}

static bool WriteAll(HANDLE file, const char *bytes, DWORD count)
{
    DWORD written = 0;
    return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

static bool WriteAllAt(HANDLE file, LONG offset, const char *bytes, DWORD count)
{
    return SetFilePointer(file, offset, nullptr, FILE_BEGIN) == static_cast<DWORD>(offset) &&
           WriteAll(file, bytes, count) && FlushFileBuffers(file);
}

static bool TrimAt(HANDLE file, DWORD size)
{
    return SetFilePointer(file, static_cast<LONG>(size), nullptr, FILE_BEGIN) == size && SetEndOfFile(file) &&
           FlushFileBuffers(file);
}

static char *Allocate(size_t size)
{
    return static_cast<char *>(HeapAlloc(GetProcessHeap(), 0, size ? size : 1));
}

static void Free(char *bytes)
{
    if (bytes)
        HeapFree(GetProcessHeap(), 0, bytes);
}

// The bytes on disk as a text-mode stream writes them: each "\n" as CR LF.
// At least room bytes long: what is left over is blank lines, which any
// reader of patch.cfg skips. Null when there is no memory for it.
static char *DiskBytes(const char *text, size_t length, DWORD room, DWORD *size)
{
    size_t needed = length;
    for (size_t i = 0; i < length; ++i)
        needed += text[i] == '\n';
    if (needed < room)
        needed = room;
    char *bytes = Allocate(needed);
    if (!bytes)
        return nullptr;
    size_t used = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\n')
            bytes[used++] = '\r';
        bytes[used++] = text[i];
    }
    *size = static_cast<DWORD>(used);
    for (; used < needed; ++used)
        bytes[used] = (needed - used) % 2 == 0 ? '\r' : '\n';
    return bytes;
}

// The whole file, read before it is rewritten so that a write failing
// part-way can put it back. Null when it cannot be held.
static char *ReadWholeFile(HANDLE file, DWORD *size)
{
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(file, &fileSize) || fileSize.HighPart != 0 || fileSize.LowPart > 0x7FFFFFFF)
        return nullptr;
    *size = fileSize.LowPart;
    char *bytes = Allocate(*size);
    DWORD read = 0;
    if (bytes && (!ReadFile(file, bytes, *size, &read, nullptr) || read != *size)) {
        Free(bytes);
        return nullptr;
    }
    return bytes;
}

// Rewriting needs no right to create, rename or delete anything, and
// shares the file with whoever holds it: it succeeds wherever a plain write
// of patch.cfg would. The new bytes go over the old in one write, padded to
// the old length, so that until the file is cut to size it reads as the new
// settings followed by blank lines, never as a mix.
static SaveResult SaveInPlace(const char *text, size_t length)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    if (!Run(SaveStep::OpenInPlace, [&file] {
            file = CreateFileW(kConfigPath, GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
            return file != INVALID_HANDLE_VALUE;
        }))
        return GetLastError() == ERROR_ACCESS_DENIED ? SaveResult::AccessDenied : SaveResult::Failed;
    SaveResult result = SaveResult::Failed;
    DWORD oldSize = 0, newSize = 0;
    char *old = ReadWholeFile(file, &oldSize);
    char *bytes = old ? DiskBytes(text, length, oldSize, &newSize) : nullptr;
    if (bytes) {
        const DWORD written = newSize > oldSize ? newSize : oldSize;
        if (Run(SaveStep::WriteInPlace, [&] { return WriteAllAt(file, 0, bytes, written); })) {
            // Left uncut, the file still reads as the new settings.
            Run(SaveStep::TrimInPlace, [&] { return TrimAt(file, newSize); });
            result = SaveResult::Saved;
        } else if (!Run(SaveStep::RestoreInPlace,
                        [&] { return WriteAllAt(file, 0, old, oldSize) && TrimAt(file, oldSize); })) {
            result = SaveResult::FailedOldBytesLost;
        }
    }
    Free(bytes);
    Free(old);
    CloseHandle(file);
    return result;
}

// Replacing needs the right to delete patch.cfg, which a program holding it
// open without sharing deletion (an editor, a sync client) or its
// permissions may refuse. Asking first spares writing a file for nothing.
static bool CanReplace()
{
    return Run(SaveStep::CheckReplaceable, [] {
        HANDLE file = CreateFileW(kConfigPath, GENERIC_WRITE | DELETE, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        return file != INVALID_HANDLE_VALUE && CloseHandle(file);
    });
}

// The new file, written whole and flushed under its own name: after a power
// cut the directory holds the old patch.cfg or the whole new one.
static bool WriteNewFile(const char *text, size_t length)
{
    DWORD size = 0;
    char *bytes = DiskBytes(text, length, 0, &size);
    HANDLE file = INVALID_HANDLE_VALUE;
    if (!bytes || !Run(SaveStep::CreateNew, [&file] {
            file = CreateFileW(kNewPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            return file != INVALID_HANDLE_VALUE;
        })) {
        Free(bytes);
        return false;
    }
    const bool written = Run(SaveStep::WriteNew, [&] { return WriteAll(file, bytes, size) && FlushFileBuffers(file); });
    CloseHandle(file);
    Free(bytes);
    if (!written)
        Remove(SaveStep::RemoveNew, kNewPath);
    return written;
}

// ReplaceFile moves the old patch.cfg aside under kOldPath and the new file
// into its place. Refused or stopped between the two, the new file takes
// the empty place, or else the old one goes back: the game always finds a
// whole patch.cfg. Replacing keeps the old file's attributes on Windows;
// Wine's drops them, so they are set again.
static bool ReplaceWithNewFile(DWORD attributes)
{
    bool replaced = Run(SaveStep::Replace, [] {
        const DWORD flags = REPLACEFILE_IGNORE_MERGE_ERRORS;
        return ReplaceFileW(kConfigPath, kNewPath, kOldPath, flags, nullptr, nullptr) != FALSE;
    });
    if (!replaced && !Exists(kConfigPath)) {
        replaced = MoveIntoPlace(SaveStep::FinishReplace, kNewPath, kConfigPath);
        if (!replaced)
            MoveIntoPlace(SaveStep::UndoReplace, kOldPath, kConfigPath);
    }
    if (replaced)
        SetFileAttributesW(kConfigPath, attributes);
    Remove(SaveStep::RemoveNew, kNewPath);
    // Kept only while it is the one whole copy of the settings.
    if (Exists(kConfigPath))
        Remove(SaveStep::RemoveOld, kOldPath);
    return replaced;
}

// The first save of a directory: nothing to replace, nothing to fall back on.
static SaveResult SaveFirst(const char *text, size_t length)
{
    if (WriteNewFile(text, length) && MoveIntoPlace(SaveStep::MoveNewIntoPlace, kNewPath, kConfigPath))
        return SaveResult::Saved;
    const SaveResult result = GetLastError() == ERROR_ACCESS_DENIED ? SaveResult::AccessDenied : SaveResult::Failed;
    Remove(SaveStep::RemoveNew, kNewPath);
    return result;
}

static SaveResult Save(const char *text, size_t length)
{
    const DWORD attributes = GetFileAttributesW(kConfigPath);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return SaveFirst(text, length);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return SaveResult::Failed;
    // Windows refuses writers on a read-only file; Wine run as root would
    // not, so the attribute is honoured here for every player alike.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return SaveResult::AccessDenied;
    if (CanReplace() && WriteNewFile(text, length) && ReplaceWithNewFile(attributes))
        return SaveResult::Saved;
    // Whatever refused replacing, a plain write may still be allowed.
    return SaveInPlace(text, length);
}

SaveResult SavePatchConfigText(const char *text, size_t length)
{
    StartWaiting();
    RecoverInterruptedSave();
    const SaveResult result = Save(text, length);
    if (saveStepHook)
        saveStepHook(SaveStep::Done);
    return result;
}
