// Harbek.exe ships alone: every DLL it imports must come with Windows.
// The import table is read from the file itself, so a runtime DLL of the compiler that slipped in
// (libstdc++, libgcc, libwinpthread) shows up here and not only on a user's machine.
#include <gtest/gtest.h>

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

TEST(Imports, OnlyDllsThatComeWithWindows) {
    const pe::PeImports exe = pe::readImportsOfFile(harbekExePath());
    ASSERT_TRUE(exe.ok) << "Harbek.exe: " << exe.problem;
    std::vector<std::string> imported = exe.dlls;
    imported.insert(imported.end(), exe.delayed.begin(), exe.delayed.end());

    std::set<std::string> all;
    for (const std::string& dll : imported) all.insert(lower(dll));
    EXPECT_EQ(all.count("kernel32.dll"), 1u) << "the import table was not read";
    for (const std::string& dll : imported) EXPECT_TRUE(pe::isSystemDll(dll)) << "imports " << dll;
}

}  // namespace
