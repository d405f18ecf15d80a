// The DLLs a Windows executable (32- or 64-bit) names in its import tables, read from the file's bytes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pe {

struct PeImports {
    bool ok = false;
    std::string problem;               // why the bytes could not be read, when !ok
    std::vector<std::string> dlls;     // the import directory, in table order
    std::vector<std::string> delayed;  // the delay-load directory
};

PeImports readImports(const std::string& bytes);
PeImports readImportsOfFile(const std::filesystem::path& file);

// A DLL that comes with every Windows Harbek runs on, so Harbek.exe may import it: one of a short
// list, or an API set (api-ms-win-...). Case is ignored; a name with a folder is none. A compiler's
// runtime DLL (libstdc++, libgcc, libwinpthread) is none, even where a careless install copied one
// into the system folder.
bool isSystemDll(const std::string& name);

}  // namespace pe
