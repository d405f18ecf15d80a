#include "platform/win32/files.h"

#include <windows.h>

#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace win32 {

namespace {

// The file system answers for CON, NUL, COM1 and the like, in any folder and with any extension,
// with the attributes of an ordinary file, but no device is a database. Opening for attributes
// alone tells them apart: a disk file opens whatever sharing another program holds it with, and
// then reports FILE_TYPE_DISK. A file that refuses even that (its permissions) is still a file.
bool namesADevice(const platform::Text& path) {
    HANDLE handle = CreateFileW(wide(path), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION;
    }
    const DWORD type = GetFileType(handle);
    CloseHandle(handle);
    return type != FILE_TYPE_DISK;
}

class FileSystem : public platform::FileSystem {
public:
    bool fileExists(const platform::Text& path) override {
        const DWORD attributes = GetFileAttributesW(wide(path));
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return false;
        return !namesADevice(path);
    }

    void moveFile(const platform::Text& source, const platform::Text& destination) override {
        // No MOVEFILE_REPLACE_EXISTING: an existing destination makes the move fail, never lost.
        // No MOVEFILE_COPY_ALLOWED: the names are in one folder, so this is a rename.
        if (!MoveFileExW(wide(source), wide(destination), 0)) throwLastError();
    }
};

}  // namespace

std::unique_ptr<platform::FileSystem> createFileSystem() { return std::make_unique<FileSystem>(); }

}  // namespace win32
