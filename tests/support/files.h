// Files for the Windows-side tests: whole-file bytes, folder listings, copies, clean-up, and a
// temporary folder that is gone again when the test ends.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace support {

// The whole file, or nothing when it cannot be read (missing, a folder, locked, over 1 GiB). Read
// sharing only `sharing`: FILE_SHARE_READ alone also fails while someone has it open for writing.
std::optional<std::string> readBytes(const std::wstring& path,
                                     DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE);
// Writes the file, made as `creation` says: CREATE_ALWAYS replaces one that exists, CREATE_NEW
// fails on it. False when it cannot be written whole.
bool writeBytes(const std::wstring& path, const std::string& bytes, DWORD creation = CREATE_ALWAYS);

bool fileExists(const std::wstring& path);  // an existing file, not a folder
bool pathExists(const std::wstring& path);  // a file or a folder

// Names (no folder) of the files and folders directly in folder, sorted; "." and ".." left out.
std::vector<std::wstring> folderEntries(const std::wstring& folder);

// Fails on an existing destination. The copy is left writable even when the original is read-only
// (the test databases are), as a user's database would be.
bool copyFile(const std::wstring& from, const std::wstring& to);

// Creates the folder and any missing parents.
bool makeFolders(const std::wstring& folder);

// Removes the folder and all it holds, read-only files too; true when it is gone.
bool removeTree(const std::wstring& folder);

// A new empty folder under the system's temporary folder, named after prefix, the process and a
// counter, removed with everything in it on destruction. leaf, when given, names one more folder
// inside it, so that a test can put spaces or Japanese in the path it works in.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& prefix = L"harbek test", const std::wstring& leaf = L"");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    bool made() const { return made_; }
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring root_, path_;
    bool made_ = false;
};

}  // namespace support
