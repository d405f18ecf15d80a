#include "system_error.h"

namespace e2e {

SystemError errorOfMove(const std::wstring& from, const std::wstring& to)
{
    SystemError error;
    SetLastError(0xdeadbeef);
    if (MoveFileW(from.c_str(), to.c_str())) return error;
    error.number = GetLastError();
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error.number, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length && text) {
        error.description.assign(text, length);
        while (!error.description.empty() &&
               (error.description.back() == L'\r' || error.description.back() == L'\n' ||
                error.description.back() == L' '))
            error.description.pop_back();
    }
    LocalFree(text);
    return error;
}

}  // namespace e2e
