#include "invocation_log.h"

#include <windows.h>
#include <shellapi.h>

#include "support/text.h"

namespace test_compactor {

bool appendInvocation(const std::wstring& logPath) {
    const wchar_t* raw = GetCommandLineW();
    std::string entry;
    int argc = 0;
    if (wchar_t** argv = CommandLineToArgvW(raw, &argc)) {
        for (int i = 0; i < argc; ++i)
            entry += "argv[" + std::to_string(i) + "]=" + support::utf8(argv[i]) + "\r\n";
        LocalFree(argv);
    }
    entry += "cmdline=" + support::utf8(raw) + "\r\n";

    HANDLE file = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, entry.data(), static_cast<DWORD>(entry.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == entry.size();
}

}  // namespace test_compactor
