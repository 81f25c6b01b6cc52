#include "settings/config_save.h"

#include <string.h>

#include "settings/config_text.h"

DWORD (*saveStepHook)(SaveStep next);

static const wchar_t kConfigPath[] = L"patch.cfg";
// Named for the tool, so that one found after a stop is known for what it
// is and nobody's own copy of patch.cfg is ever taken for one.
static const wchar_t kNewPath[] = L"patch.cfg.saving";

// What a player may have given patch.cfg (hiding it, say), kept on the new file.
static const DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
static const char kEndOfText = 26; // Ctrl-Z: text-mode readers, the game's among them, stop there
// Each "\n" of the text as CR LF, and the Ctrl-Z.
static const size_t kDiskBytesRoom = 2 * kPatchConfigTextSize + 1;

// Indexers, virus scanners and sync clients open each new file of a
// directory for a few hundred milliseconds, often without letting it be
// renamed. One Apply waits that long for them in all, in short sleeps.
static const DWORD kWaitForOthersMs = 1000;
static const DWORD kRetrySleepMs = 10;
static DWORD waitEnds;

// Runs one file operation of the save, as a test may refuse it, again
// while another program may be in its way and the wait lasts. Only another
// program's handle goes away by itself: a scanner holding the target of a
// rename makes it fail with access denied too, but anywhere else that is
// the player's rights, and final. GetLastError tells why it failed.
template <typename Operation> static bool Run(SaveStep step, Operation operation)
{
    for (;;) {
        const DWORD refusal = saveStepHook ? saveStepHook(step) : 0;
        if (refusal)
            SetLastError(refusal);
        else if (operation())
            return true;
        const DWORD error = GetLastError();
        const bool mayBeHeld = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                               (step == SaveStep::Rename && error == ERROR_ACCESS_DENIED);
        if (!mayBeHeld || static_cast<LONG>(GetTickCount() - waitEnds) >= 0)
            return SetLastError(error), false;
        Sleep(kRetrySleepMs);
    }
}

void RemoveUnfinishedSave()
{
    DeleteFileW(kNewPath);
}

// A write cut short leaves GetLastError as some earlier call set it; it is
// the disk that is full, which no waiting mends.
static bool WriteAt(HANDLE file, const char *bytes, DWORD count)
{
    DWORD written = 0;
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) != 0 || !WriteFile(file, bytes, count, &written, nullptr))
        return false;
    if (written != count)
        return SetLastError(ERROR_DISK_FULL), false;
    return FlushFileBuffers(file) != FALSE;
}

static bool CutAt(HANDLE file, LONGLONG size)
{
    LARGE_INTEGER at;
    at.QuadPart = size;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file) && FlushFileBuffers(file);
}

// The file's size, and as many of its first bytes as fit.
static bool ReadStart(HANDLE file, char (&bytes)[kDiskBytesRoom], DWORD *count, LONGLONG *size)
{
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(file, &fileSize))
        return false;
    *size = fileSize.QuadPart;
    return SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 && ReadFile(file, bytes, sizeof bytes, count, nullptr);
}

// In place: needs no right to create, rename or delete anything, and shares
// the file with whoever holds it. The new bytes and the Ctrl-Z after them
// cover the old start in one write; the old bytes they cover are kept to
// put back should that write fail part-way.
static SaveResult SaveInPlace(const char *bytes, DWORD size)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    // A link is opened as itself and refused below: writing through it
    // would change a file elsewhere, not this one.
    if (!Run(SaveStep::OpenInPlace, [&file] {
            // Whatever else has patch.cfg open keeps its access.
            const DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
            file = CreateFileW(kConfigPath, GENERIC_READ | GENERIC_WRITE, shareAll, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
            return file != INVALID_HANDLE_VALUE;
        }))
        return GetLastError() == ERROR_ACCESS_DENIED ? SaveResult::AccessDenied : SaveResult::Failed;
    SaveResult result = SaveResult::Failed;
    BY_HANDLE_FILE_INFORMATION info;
    char old[kDiskBytesRoom], now[kDiskBytesRoom];
    DWORD oldCount = 0, nowCount = 0;
    LONGLONG oldSize = 0, nowSize = 0;
    if (GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
        !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && ReadStart(file, old, &oldCount, &oldSize)) {
        if (Run(SaveStep::WriteInPlace, [&] { return WriteAt(file, bytes, size + 1); })) {
            // Left uncut, the file still reads as the new settings.
            Run(SaveStep::CutInPlace, [&] { return CutAt(file, size); });
            result = SaveResult::Saved;
        } else {
            Run(SaveStep::RestoreInPlace, [&] { return WriteAt(file, old, oldCount) && CutAt(file, oldSize); });
            // Judged by what the file holds now, not by what the restore reported.
            if (!ReadStart(file, now, &nowCount, &nowSize) || nowSize != oldSize || nowCount != oldCount ||
                memcmp(now, old, oldCount) != 0)
                result = SaveResult::FailedOldBytesLost;
        }
    }
    CloseHandle(file);
    return result;
}

// Written whole and flushed under its own name: after a power cut the
// directory holds the old patch.cfg, or the whole new one once renamed.
static bool WriteNewFile(const char *bytes, DWORD size, DWORD attributes)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    if (!Run(SaveStep::CreateNew, [&file] {
            file = CreateFileW(kNewPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            return file != INVALID_HANDLE_VALUE;
        }))
        return false;
    const bool written = Run(SaveStep::WriteNew, [&] { return WriteAt(file, bytes, size); });
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (written && attributes)
        SetFileAttributesW(kNewPath, attributes);
    return SetLastError(error), written;
}

static SaveResult Save(const char *bytes, DWORD size)
{
    const DWORD attributes = GetFileAttributesW(kConfigPath);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return SaveResult::Failed;
    // Windows refuses writers of a read-only file; Wine run as root would
    // not, so the attribute is honoured here for every player alike.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return SaveResult::AccessDenied;
    if (WriteNewFile(bytes, size, exists ? attributes & kKeptAttributes : 0) && Run(SaveStep::Rename, [] {
            return MoveFileExW(kNewPath, kConfigPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        }))
        return SaveResult::Saved;
    const DWORD error = GetLastError();
    RemoveUnfinishedSave();
    if (exists)
        return SaveInPlace(bytes, size);
    return error == ERROR_ACCESS_DENIED ? SaveResult::AccessDenied : SaveResult::Failed;
}

SaveResult SavePatchConfigText(const char *text, size_t length)
{
    // The bytes on disk as a text-mode stream writes them, each "\n" as
    // CR LF, and the Ctrl-Z that the in-place route writes after them.
    char bytes[kDiskBytesRoom];
    DWORD size = 0;
    for (size_t i = 0; i < length && i < kPatchConfigTextSize; ++i) {
        if (text[i] == '\n')
            bytes[size++] = '\r';
        bytes[size++] = text[i];
    }
    bytes[size] = kEndOfText;
    waitEnds = GetTickCount() + kWaitForOthersMs;
    return Save(bytes, size);
}
