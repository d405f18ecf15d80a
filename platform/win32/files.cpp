#include "platform/win32/files.h"

#include <windows.h>

#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace win32 {

namespace {

class FileSystem : public platform::FileSystem {
public:
    bool fileExists(const platform::Text& path) override {
        const DWORD attributes = GetFileAttributesW(wide(path));
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
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
