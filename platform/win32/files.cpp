#include "platform/win32/files.h"

#include <windows.h>

#include "platform/win32/errors.h"
#include "platform/win32/owned.h"
#include "platform/win32/text.h"

namespace win32 {

namespace {

// The file system answers for CON, NUL, COM1 and the like, in any folder and with any extension,
// with the attributes of an ordinary file, but no device is a database. Opening for attributes
// alone tells them apart: a disk file opens whatever sharing another program holds it with, and
// then reports FILE_TYPE_DISK. A file that refuses even that (its permissions) is still a file.
bool namesADevice(const platform::Text& path) {
    const OwnedHandle handle(CreateFileW(wide(path), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    if (!handle) {
        const DWORD error = GetLastError();
        return error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION;
    }
    return GetFileType(handle.get()) != FILE_TYPE_DISK;
}

// Read with every kind of sharing, so that reading a database never stands in the way of a
// program that has it open, nor of the run's own renames once the handle is closed.
class ReadOnlyFile : public platform::ReadOnlyFile {
public:
    explicit ReadOnlyFile(OwnedHandle handle) : handle_(std::move(handle)) {}

    std::uint64_t size() override {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(handle_.get(), &size)) throwLastError();
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
            if (!ReadFile(handle_.get(), at, chunk, &got, &where)) {
                if (GetLastError() == ERROR_HANDLE_EOF) return false;  // the file ends before
                throwLastError();
            }
            if (got == 0) return false;
            at += got;
            offset += got;
            length -= got;
        }
        return true;
    }

private:
    OwnedHandle handle_;
};

// Written in order through one handle that no one else may write meanwhile; readers may look.
class NewFile : public platform::NewFile {
public:
    explicit NewFile(OwnedHandle handle) : handle_(std::move(handle)) {}

    void append(const std::string& bytes) override {
        const char* at = bytes.data();
        for (std::size_t left = bytes.size(); left > 0;) {
            const DWORD chunk = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
            DWORD written = 0;
            if (!WriteFile(handle_.get(), at, chunk, &written, nullptr)) throwLastError();
            at += written;
            left -= written;
        }
    }

    void close() override {
        if (!FlushFileBuffers(handle_.get()) || !handle_.close()) throwLastError();
    }

private:
    OwnedHandle handle_;
};

}  // namespace

bool FileSystem::fileExists(const platform::Text& path) {
    const DWORD attributes = GetFileAttributesW(wide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    return !namesADevice(path);
}

void FileSystem::moveFile(const platform::Text& source, const platform::Text& destination) {
    // No MOVEFILE_REPLACE_EXISTING: an existing destination makes the move fail, never lost.
    // No MOVEFILE_COPY_ALLOWED: the names are in one folder, so this is a rename.
    if (!MoveFileExW(wide(source), wide(destination), 0)) throwLastError();
}

std::unique_ptr<platform::ReadOnlyFile> FileSystem::openForReading(const platform::Text& path) {
    OwnedHandle handle(CreateFileW(wide(path), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr));
    if (!handle) throwLastError();
    // A device (NUL, CON, ...) opens too, but holds no file to read.
    if (GetFileType(handle.get()) != FILE_TYPE_DISK) throw systemError(ERROR_FILE_NOT_FOUND);
    return std::make_unique<ReadOnlyFile>(std::move(handle));
}

void FileSystem::createFolder(const platform::Text& path) {
    if (!CreateDirectoryW(wide(path), nullptr)) throwLastError();
}

std::unique_ptr<platform::NewFile> FileSystem::createNewFile(const platform::Text& path) {
    OwnedHandle handle(CreateFileW(wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) throwLastError();
    return std::make_unique<NewFile>(std::move(handle));
}

std::unique_ptr<platform::FileSystem> createFileSystem() { return std::make_unique<FileSystem>(); }

}  // namespace win32
