// The import-table reader on a real executable, Harbek.exe: what it imports, and the same bytes
// cut short or spoilt, which must be refused with a reason and never crash the reader.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "resources/harbek_file.h"
#include "pe_imports.h"
#include "support/files.h"

namespace {

std::string harbekBytes() { return support::readBytes(harbekExePath()).value_or(""); }

TEST(PeImports, ReadsWhatHarbekImportsAndFindsThemAllAmongTheSystemDlls) {
    const pe::PeImports imports = pe::readImports(harbekBytes());
    ASSERT_TRUE(imports.ok) << imports.problem;
    bool kernel32 = false, user32 = false;
    for (const auto& dll : imports.dlls) {
        kernel32 = kernel32 || _stricmp(dll.c_str(), "KERNEL32.dll") == 0;
        user32 = user32 || _stricmp(dll.c_str(), "USER32.dll") == 0;
        EXPECT_TRUE(pe::isSystemDll(dll)) << dll;
    }
    EXPECT_TRUE(kernel32 && user32) << "imports: " << ::testing::PrintToString(imports.dlls);
    EXPECT_TRUE(imports.delayed.empty());
}

TEST(PeImports, ACutShortOrForeignFileIsRefusedWithAReason) {
    const std::string whole = harbekBytes();
    ASSERT_GT(whole.size(), 4096u);
    // Cut anywhere in the headers and the first sections: never a crash, never a made-up list.
    for (std::size_t size = 0; size < 8192 && size < whole.size(); size += 61) {
        const pe::PeImports imports = pe::readImports(whole.substr(0, size));
        if (!imports.ok) {
            EXPECT_FALSE(imports.problem.empty()) << "cut at " << size;
        }
    }
    EXPECT_EQ(pe::readImports("").problem, "no MZ header");
    std::string foreign = whole;
    std::uint32_t ntOffset = 0;  // e_lfanew: where "PE\0\0" stands
    std::memcpy(&ntOffset, whole.data() + 0x3c, sizeof ntOffset);
    ASSERT_LT(ntOffset, whole.size());
    foreign[ntOffset] = 'X';
    EXPECT_EQ(pe::readImports(foreign).problem, "no PE header");
    EXPECT_FALSE(pe::readImportsOfFile("Z:\\no\\such\\file.exe").ok);
}

TEST(PeImports, ACompilersRuntimeIsNoSystemDllEvenWhereAFileOfThatNameExists) {
    EXPECT_TRUE(pe::isSystemDll("kernel32.dll"));
    EXPECT_TRUE(pe::isSystemDll("USER32.dll"));
    EXPECT_FALSE(pe::isSystemDll("libstdc++-6.dll"));
    EXPECT_FALSE(pe::isSystemDll("libwinpthread-1.dll"));
    EXPECT_FALSE(pe::isSystemDll("no-such-library.dll"));
    EXPECT_FALSE(pe::isSystemDll("..\\system32\\kernel32.dll"));
}

}  // namespace
