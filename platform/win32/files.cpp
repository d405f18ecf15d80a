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
    HANDLE handle =
        CreateFileW(wide(path), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION;
    }
    const DWORD type = GetFileType(handle);
    CloseHandle(handle);
    return type != FILE_TYPE_DISK;
}

// Read with every kind of sharing, so that reading a database never stands in the way of a
// program that has it open, nor of the run's own renames once the handle is closed.
class ReadOnlyFile : public platform::ReadOnlyFile {
public:
    explicit ReadOnlyFile(HANDLE handle) : handle_(handle) {}
    ~ReadOnlyFile() override { CloseHandle(handle_); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    std::uint64_t size() override {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(handle_, &size)) return 0;
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    bool read(std::uint64_t offset, void* buffer, std::size_t length) override {
        auto* at = static_cast<char*>(buffer);
        while (length > 0) {
            OVERLAPPED where{};
            where.Offset = static_cast<DWORD>(offset);
            where.OffsetHigh = static_cast<DWORD>(offset >> 32);
            const DWORD chunk = length > 0x10000000 ? 0x10000000 : static_cast<DWORD>(length);
            DWORD got = 0;
            if (!ReadFile(handle_, at, chunk, &got, &where) || got == 0) return false;
            at += got;
            offset += got;
            length -= got;
        }
        return true;
    }

private:
    HANDLE handle_;
};

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

    std::unique_ptr<platform::ReadOnlyFile> openForReading(const platform::Text& path) override {
        HANDLE handle =
            CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return nullptr;
        if (GetFileType(handle) != FILE_TYPE_DISK) {
            CloseHandle(handle);
            return nullptr;
        }
        return std::make_unique<ReadOnlyFile>(handle);
    }
};

}  // namespace

std::unique_ptr<platform::FileSystem> createFileSystem() { return std::make_unique<FileSystem>(); }

}  // namespace win32
