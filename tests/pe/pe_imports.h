// The DLLs a Windows executable (32- or 64-bit) names in its import tables, read from the file's bytes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pe {

struct PeImports {
    bool ok = false;
    std::string problem;              // why the bytes could not be read, when !ok
    std::vector<std::string> dlls;    // the import directory, in table order
    std::vector<std::string> delayed; // the delay-load directory
};

PeImports readImports(const std::string& bytes);
PeImports readImportsOfFile(const std::filesystem::path& file);

// A DLL that every Windows has: it lies in the system folder (GetSystemDirectoryW) and is not one
// of a compiler's runtime DLLs, which a careless install may have copied there.
bool isSystemDll(const std::string& name);

}  // namespace pe
