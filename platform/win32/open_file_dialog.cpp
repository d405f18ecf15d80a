#include "platform/win32/open_file_dialog.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace win32 {

// The short record ends with lpTemplateName: 76 bytes in a 32-bit build, which is the size the
// program asks for. A 64-bit build has wider pointers, and its short record is longer.
constexpr DWORD kShortRecord32 = 76;
static_assert(sizeof(void*) != 4 ||
                  offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == kShortRecord32,
              "the short record is 76 bytes in a 32-bit build");

DWORD recordSizeFor(DWORD asked) { return asked == kShortRecord32 ? OPENFILENAME_SIZE_VERSION_400A : asked; }

// comdlg32 (and shell32 behind it) is loaded when the dialog is first asked for, not when the
// program starts: most runs never browse, and the start-up need not pay for it.
using GetOpenFileNameAFunction = BOOL(WINAPI*)(LPOPENFILENAMEA);

GetOpenFileNameAFunction openFileNameA() {
    static const GetOpenFileNameAFunction function = [] {
        // From the system folder by its full path, never from the program's or current folder.
        wchar_t folder[MAX_PATH];
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) throwLastError();
        const std::wstring path = std::wstring(folder, length) + L"\\comdlg32.dll";
        HMODULE comdlg32 = LoadLibraryW(path.c_str());
        if (!comdlg32) throwLastError();
        FARPROC address = GetProcAddress(comdlg32, "GetOpenFileNameA");
        if (!address) throwLastError();
        return reinterpret_cast<GetOpenFileNameAFunction>(reinterpret_cast<void*>(address));
    }();
    return function;
}

void prepareOpenFileRecord(const platform::OpenFileRequest& request, AnsiOpenFileRecord& out) {
    out.filter = toAnsi(request.filter);  // embedded NULs are kept
    out.initialDir = toAnsi(request.initialDir);
    out.title = toAnsi(request.title);
    std::memset(out.file, 0, sizeof out.file);
    std::memset(out.fileTitle, 0, sizeof out.fileTitle);
    std::memset(&out.record, 0, sizeof out.record);
    OPENFILENAMEA& r = out.record;
    r.lStructSize = recordSizeFor(request.structSize);
    r.hwndOwner = reinterpret_cast<HWND>(request.owner);
    r.hInstance = reinterpret_cast<HINSTANCE>(request.instance);
    r.lpstrFilter = out.filter.c_str();
    r.nFilterIndex = request.filterIndex;
    r.lpstrFile = out.file;
    r.nMaxFile = std::min<DWORD>(request.maxFile, sizeof out.file);
    r.lpstrFileTitle = out.fileTitle;
    r.nMaxFileTitle = std::min<DWORD>(request.maxFileTitle, sizeof out.fileTitle);
    r.lpstrInitialDir = out.initialDir.c_str();
    r.lpstrTitle = out.title.c_str();
    r.Flags = request.flags;
}

platform::OpenFileResult getOpenFileName(const platform::OpenFileRequest& request) {
    AnsiOpenFileRecord dialog;
    prepareOpenFileRecord(request, dialog);
    // A cancel and a failure (a path too long for the buffer among them) both return 0.
    if (!openFileNameA()(&dialog.record)) return {false, platform::Text()};
    // Wine's dialog does not fail on a path too long for the buffer but cuts it short, which could
    // name another file: a path that does not end with the chosen file's name counts as a failure.
    const std::string file(dialog.file, strnlen(dialog.file, sizeof dialog.file));
    const std::string name(dialog.fileTitle, strnlen(dialog.fileTitle, sizeof dialog.fileTitle));
    if (name.empty() || file.size() < name.size() ||
        file.compare(file.size() - name.size(), name.size(), name) != 0)
        return {false, platform::Text()};
    return {true, fromAnsi(file)};
}

}  // namespace win32
