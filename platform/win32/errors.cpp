#include "platform/win32/errors.h"

#include "platform/win32/owned.h"
#include "platform/win32/text.h"

namespace win32 {

platform::RuntimeError systemError(DWORD code) {
    OwnedLocal<wchar_t*> buffer;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
    std::wstring description(buffer ? buffer.get() : L"", length);
    // The system's texts end in a line break, which the report adds itself.
    while (!description.empty() &&
           (description.back() == L'\r' || description.back() == L'\n' || description.back() == L' '))
        description.pop_back();
    return platform::RuntimeError{static_cast<std::int32_t>(code), fromWide(description)};
}

void throwLastError() {
    const DWORD code = GetLastError();
    throw systemError(code);
}

}  // namespace win32
