// File checks for the scenarios: whole-file bytes, folder listings, copies and clean-up.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The whole file, or nothing when it cannot be read (missing, a folder, locked).
std::optional<std::string> readBytes(const std::wstring& path);

bool fileExists(const std::wstring& path);  // an existing file, not a folder

// Names (no folder) of the files and folders directly in folder, sorted; "." and ".." left out.
std::vector<std::wstring> folderEntries(const std::wstring& folder);

// Fails on an existing destination. The copy is left writable even when the original is read-only
// (the test databases are), as a user's database would be.
bool copyFile(const std::wstring& from, const std::wstring& to);

// Creates the folder and any missing parents.
bool makeFolders(const std::wstring& folder);

// Removes the folder and all it holds; true when it is gone.
bool removeTree(const std::wstring& folder);

}  // namespace e2e
