// The file system over kernel32 and advapi32: existence, a rename that never replaces, reading,
// use by others, size and room, and what a file carries beyond its bytes.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "platform/files.h"

namespace win32 {

class FileSystem : public platform::FileSystem {
public:
    bool fileExists(const platform::Text& path) override;
    void moveFile(const platform::Text& source, const platform::Text& destination) override;
    std::unique_ptr<platform::ReadOnlyFile> openForReading(const platform::Text& path) override;
    void createFolder(const platform::Text& path) override;
    std::unique_ptr<platform::NewFile> createNewFile(const platform::Text& path) override;

    // file_checks.cpp
    bool fileHeldOpen(const platform::Text& path) override;
    std::uint64_t fileSize(const platform::Text& path) override;
    std::uint64_t freeSpaceBeside(const platform::Text& path) override;

    // file_security.cpp
    void copyAccessList(const platform::Text& from, const platform::Text& to) override;
    void copyCreationTime(const platform::Text& from, const platform::Text& to) override;
    void copyAttributes(const platform::Text& from, const platform::Text& to) override;
    void copyOwner(const platform::Text& from, const platform::Text& to) override;
};

std::unique_ptr<platform::FileSystem> createFileSystem();

// Sets a file's owner and group through `set` (a SetNamedSecurityInfoW call for what `which`
// names); where the owner is one this account may not give (ERROR_INVALID_OWNER), the group
// alone. Returns the system's result.
DWORD setOwnerAndGroup(const std::function<DWORD(SECURITY_INFORMATION which)>& set);

}  // namespace win32
