// The questions the run asks of a database before the compactor starts: whether another program
// holds it open, its size, and the free space on its volume.
#include <windows.h>

#include <string>

#include "platform/win32/errors.h"
#include "platform/win32/files.h"
#include "platform/win32/owned.h"
#include "platform/win32/text.h"

namespace win32 {

// Asks for the file's data with no sharing at all: any handle another program has on its data,
// whatever sharing that handle allows, makes the system refuse with a sharing violation. (A
// request for attributes alone would not be checked against other handles.) Every other refusal,
// a missing file or one this user may not read, says nothing of use by others.
bool FileSystem::fileHeldOpen(const platform::Text& path) {
    // Closed at once: the compactor must find the database free.
    const OwnedHandle handle(CreateFileW(wide(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (handle) return false;
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// From the directory entry, without opening the file.
std::uint64_t FileSystem::fileSize(const platform::Text& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wide(path), GetFileExInfoStandard, &data)) throwLastError();
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The folder the system puts the file in, however the path names it: a bare name or a drive's
// relative path ("D:sales.mdb") is resolved against the current folder, as the compactor, which
// starts in the same folder, resolves it.
std::uint64_t FileSystem::freeSpaceBeside(const platform::Text& path) {
    const std::wstring name = wideString(path);
    const DWORD length = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (length == 0) throwLastError();
    std::wstring full(length, L'\0');
    wchar_t* filePart = nullptr;
    const DWORD got = GetFullPathNameW(name.c_str(), length, full.data(), &filePart);
    if (got == 0 || got >= length) throwLastError();
    full.resize(filePart ? static_cast<std::size_t>(filePart - full.data()) : got);
    ULARGE_INTEGER freeToCaller{};
    if (!GetDiskFreeSpaceExW(full.c_str(), &freeToCaller, nullptr, nullptr)) throwLastError();
    return freeToCaller.QuadPart;
}

}  // namespace win32
