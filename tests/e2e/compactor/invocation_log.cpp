#include "invocation_log.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/owned.h"
#include "support/text.h"

namespace test_compactor {

bool appendInvocation(const std::wstring& logPath) {
    const wchar_t* raw = GetCommandLineW();
    std::string entry;
    int argc = 0;
    if (const win32::OwnedLocal<wchar_t**> argv{CommandLineToArgvW(raw, &argc)})
        for (int i = 0; i < argc; ++i)
            entry += "argv[" + std::to_string(i) + "]=" + support::utf8(argv.get()[i]) + "\r\n";
    entry += "cmdline=" + support::utf8(raw) + "\r\n";

    const win32::OwnedHandle file(CreateFileW(logPath.c_str(), FILE_APPEND_DATA,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), entry.data(), static_cast<DWORD>(entry.size()), &written, nullptr) &&
           written == entry.size();
}

}  // namespace test_compactor
