// Figure 4: Harbek.exe's size beside the bare window's, and every DLL it imports, each checked to
// be one that Windows itself provides. Both are the 32-bit builds, as Harbek ships, from the
// folder "shipped" beside harbek_bench.exe, whichever build the other figures run.
#include <cstdio>
#include <filesystem>

#include "measurement.h"
#include "pe_imports.h"

namespace bench {

int measureBinarySize(const Context& context)
{
    std::printf("4. Size and imports of Harbek.exe\n");
    std::error_code error;
    const std::wstring harbekExe = context.program(L"shipped\\Harbek.exe");
    const auto harbek = std::filesystem::file_size(harbekExe, error);
    if (error) return context.fail("Size", "cannot read the size of Harbek.exe");
    const auto bare = std::filesystem::file_size(context.program(L"shipped\\bare_window.exe"), error);
    if (error) return context.fail("Size", "cannot read the size of bare_window.exe");
    context.record("size.harbek.bytes", static_cast<double>(harbek));
    context.record("size.bare.bytes", static_cast<double>(bare));

    const pe::PeImports imports = pe::readImportsOfFile(harbekExe);
    if (!imports.ok) return context.fail("Imports", "Harbek.exe: " + imports.problem);
    for (const auto& dll : imports.dlls) {
        const bool system = pe::isSystemDll(dll);
        context.record("imports.harbek", dll + (system ? " system" : " other"));
        std::printf("  imports %s%s\n", dll.c_str(), system ? "" : " (not a system DLL)");
    }
    for (const auto& dll : imports.delayed) {
        context.record("imports.harbek", dll + (pe::isSystemDll(dll) ? " system" : " other"));
        context.record("imports.harbek.delayed", dll);
    }
    std::printf("  %llu bytes (bare window: %llu)\n", static_cast<unsigned long long>(harbek),
                static_cast<unsigned long long>(bare));
    return 0;
}

}  // namespace bench
