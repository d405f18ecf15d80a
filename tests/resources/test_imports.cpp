// Harbek.exe ships alone: every DLL it imports must come with Windows.
// The import table is read from the file itself, so a runtime DLL of the compiler that slipped in
// (libstdc++, libgcc, libwinpthread) shows up here and not only on a user's machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "harbek_file.h"
#include "pe_imports.h"

namespace {

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool comesWithWindows(const std::string& dll) {
    static const std::set<std::string> system = {
        "kernel32.dll", "user32.dll", "gdi32.dll",    "comdlg32.dll", "comctl32.dll",
        "shell32.dll",  "advapi32.dll", "msvcrt.dll", "ole32.dll",
    };
    std::string name = lower(dll);
    return system.count(name) || name.rfind("api-ms-win-", 0) == 0;
}

TEST(Imports, OnlyDllsThatComeWithWindows) {
    const pe::PeImports exe = pe::readImportsOfFile(harbekExePath());
    ASSERT_TRUE(exe.ok) << "Harbek.exe: " << exe.problem;
    std::vector<std::string> imported = exe.dlls;
    imported.insert(imported.end(), exe.delayed.begin(), exe.delayed.end());

    std::set<std::string> all;
    for (const std::string& dll : imported) all.insert(lower(dll));
    EXPECT_EQ(all.count("kernel32.dll"), 1u) << "the import table was not read";
    for (const std::string& dll : imported) EXPECT_TRUE(comesWithWindows(dll)) << "imports " << dll;
}

}  // namespace
