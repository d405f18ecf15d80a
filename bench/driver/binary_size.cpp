// Figure 4: Harbek.exe's size beside the bare window's, and every DLL it imports, each checked to
// be one that Windows itself provides. Both are the 32-bit builds, as Harbek ships, from the
// folder "shipped" beside harbek_bench.exe, whichever build the other figures run.
#include <filesystem>

#include "measurement.h"
#include "pe_imports.h"
#include "bench.h"

namespace bench {

int measureBinarySize(const Context& context) {
    std::error_code e1, e2;
    const std::wstring harbekExe = context.program(L"shipped\\Harbek.exe");
    const auto harbek = std::filesystem::file_size(harbekExe, e1);
    const auto bare = std::filesystem::file_size(context.program(L"shipped\\bare_window.exe"), e2);
    if (e1 || e2) return context.fail("4 Size", "cannot read the size of Harbek.exe or bare_window.exe");
    context.add(row("4 Harbek.exe size (KiB)", {harbek / 1024.0}, {bare / 1024.0}, "< 600 KiB"));

    pe::PeImports imports = pe::readImportsOfFile(harbekExe);
    if (!imports.ok) return context.fail("4 Imports", "Harbek.exe: " + imports.problem);
    imports.dlls.insert(imports.dlls.end(), imports.delayed.begin(), imports.delayed.end());
    context.add(importsRow(imports.dlls));
    return 0;
}

}  // namespace bench
