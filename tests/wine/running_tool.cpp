#include "running_tool.h"

#include "build_paths.h"
#include "resources/resource.h"

static const char kCaption[] = "Gravlok Patch Config";

RunningTool::~RunningTool()
{
    if (!process_)
        return;
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
}

::testing::AssertionResult RunningTool::Start(const std::string &gameDirectory)
{
    const std::string tool = BuiltProgramPath();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(tool.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, gameDirectory.c_str(), &startup,
                        &started))
        return ::testing::AssertionFailure() << tool << " did not start, error " << GetLastError();
    CloseHandle(started.hThread);
    process_ = started.hProcess;
    processId_ = started.dwProcessId;
    return WaitForWindow();
}

::testing::AssertionResult RunningTool::Attach()
{
    return WaitForWindow();
}

::testing::AssertionResult RunningTool::WaitForWindow()
{
    window_ = nullptr;
    for (int waited = 0; waited < 30000; waited += 50) {
        HWND found = FindWindowA(nullptr, kCaption);
        DWORD owner = 0;
        if (found && GetWindowThreadProcessId(found, &owner) && IsWindowVisible(found) &&
            (owner == processId_ || (!process_ && owner != GetCurrentProcessId()))) {
            window_ = found;
            break;
        }
        Sleep(50);
    }
    if (!window_)
        return ::testing::AssertionFailure() << "the window did not open";
    if (!process_) {
        GetWindowThreadProcessId(window_, &processId_);
        process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, processId_);
    }
    return ::testing::AssertionSuccess();
}

void RunningTool::SetBox(int id, bool checked)
{
    SendMessageA(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void RunningTool::SetField(int id, const char *text)
{
    SendMessageA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

std::string RunningTool::Field(int id) const
{
    char text[64] = {};
    SendMessageA(Control(id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// Read as UTF-16: Wine passes list box text between processes only so.
std::string RunningTool::LastStatusLine() const
{
    HWND log = Control(IDC_STATUS_LOG);
    const LRESULT count = SendMessageW(log, LB_GETCOUNT, 0, 0);
    wchar_t text[256] = {};
    if (count > 0)
        SendMessageW(log, LB_GETTEXT, count - 1, reinterpret_cast<LPARAM>(text));
    return std::string(text, text + wcslen(text));
}

// Returns once the tool has handled the click: Apply runs inside it.
void RunningTool::Apply()
{
    SendMessageA(Control(IDC_APPLY), BM_CLICK, 0, 0);
}

long RunningTool::WaitForExit()
{
    if (WaitForSingleObject(process_, 15000) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 1;
    GetExitCodeProcess(process_, &code);
    CloseHandle(process_);
    process_ = nullptr;
    processId_ = 0;
    window_ = nullptr;
    return static_cast<long>(code);
}

bool RunningTool::Close()
{
    PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return WaitForExit() == 0;
}
