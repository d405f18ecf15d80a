#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "pe_imports.h"

namespace bench {
namespace {

std::string windowsPath(std::string linuxPath)
{
    for (char& c : linuxPath)
        if (c == '/') c = '\\';
    return "Z:" + linuxPath;
}

std::string bareWindowBytes()
{
    std::ifstream in(windowsPath(BENCH_BARE_WINDOW_EXE), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PeImports, ReadsWhatTheBareWindowImportsAndFindsThemAllInTheSystemFolder)
{
    const pe::PeImports imports = pe::readImports(bareWindowBytes());
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

TEST(PeImports, ACutShortOrForeignFileIsRefusedWithAReason)
{
    const std::string whole = bareWindowBytes();
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

TEST(PeImports, ACompilersRuntimeIsNoSystemDllEvenWhereAFileOfThatNameExists)
{
    EXPECT_TRUE(pe::isSystemDll("kernel32.dll"));
    EXPECT_TRUE(pe::isSystemDll("USER32.dll"));
    EXPECT_FALSE(pe::isSystemDll("libstdc++-6.dll"));
    EXPECT_FALSE(pe::isSystemDll("libwinpthread-1.dll"));
    EXPECT_FALSE(pe::isSystemDll("no-such-library.dll"));
    EXPECT_FALSE(pe::isSystemDll("..\\system32\\kernel32.dll"));
}

}  // namespace
}  // namespace bench
