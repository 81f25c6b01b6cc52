#include "dialog_fixture.h"

#include "resources/resource.h"
#include "settings/patch_settings.h"
#include "window/config_dialog.h"

void DialogTest::OpenWindow()
{
    patchSettings = PatchSettings();
    appInstance = GetModuleHandleA(nullptr);
    // Modeless, so the test keeps control; the template and handler are the program's.
    dialog = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_CONFIG), nullptr, ConfigDialogProc, 0);
    ASSERT_NE(dialog, nullptr) << "window not created, error " << GetLastError();
    ShowWindow(dialog, SW_SHOW);
}

void DialogTest::TearDown()
{
    if (dialog)
        DestroyWindow(dialog);
}

std::vector<std::string> DialogTest::StatusLines() const
{
    std::vector<std::string> lines;
    const LRESULT count = SendDlgItemMessageA(dialog, IDC_STATUS_LOG, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = {};
        SendDlgItemMessageA(dialog, IDC_STATUS_LOG, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        lines.push_back(text);
    }
    return lines;
}

std::string DialogTest::FieldText(int id) const
{
    char text[64] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void DialogTest::SetFieldText(int id, const char *text)
{
    SetDlgItemTextA(dialog, id, text);
}

bool DialogTest::IsBoxChecked(int id) const
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void DialogTest::SetBoxChecked(int id, bool checked)
{
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void DialogTest::PressApply()
{
    SendMessageA(GetDlgItem(dialog, IDC_APPLY), BM_CLICK, 0, 0);
}

std::string CrLf(const std::string &lines)
{
    std::string out;
    for (char c : lines) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

std::vector<std::string> LogWithoutGameFiles(const std::vector<std::string> &later)
{
    std::vector<std::string> lines = {"Failed to open GRAVLOK.EXE", "Failed to open REF_GL.DLL",
                                      "Patched WSOCK32.DLL is missing"};
    lines.insert(lines.end(), later.begin(), later.end());
    return lines;
}

void DialogTest::PointerComesOver(int id)
{
    SendMessageA(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void DialogTest::ParkPointerAway()
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}
