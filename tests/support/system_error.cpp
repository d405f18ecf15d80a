#include "system_error.h"

#include "platform/win32/owned.h"

namespace support {

SystemError systemError(DWORD number) {
    SystemError error{number, {}};
    win32::OwnedLocal<wchar_t*> text;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        number, 0, reinterpret_cast<wchar_t*>(text.put()), 0, nullptr);
    if (length && text) error.description.assign(text.get(), length);
    while (!error.description.empty() &&
           (error.description.back() == L'\r' || error.description.back() == L'\n' ||
            error.description.back() == L' '))
        error.description.pop_back();
    return error;
}

SystemError errorOfMove(const std::wstring& from, const std::wstring& to) {
    SetLastError(0xdeadbeef);
    if (MoveFileW(from.c_str(), to.c_str())) return SystemError{};
    return systemError(GetLastError());
}

}  // namespace support
