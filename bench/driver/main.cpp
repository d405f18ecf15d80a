// harbek_bench.exe: the benchmark's measurements under Wine, one per command, each appending its
// samples to a file; "table" turns that file into the one table. bench/run.sh runs them in turn.
//   harbek_bench.exe <command> <samples file> <work folder> [arguments]
//     wait-cost | exit-noticed | startup | binary-size | standin-launch
//     standin-copy <size label> <source> <destination>
//   harbek_bench.exe table <samples file> <output file>
// The programs it starts (Harbek.exe, JetComp.exe, the references and compactors) lie beside it.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "figures.h"
#include "samples.h"
#include "table.h"
#include "text.h"

namespace {

std::wstring ownFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

int usage()
{
    std::fprintf(stderr,
                 "usage: harbek_bench.exe wait-cost|exit-noticed|startup|binary-size|standin-launch <samples> <work>\n"
                 "       harbek_bench.exe standin-copy <samples> <work> <label> <source> <destination>\n"
                 "       harbek_bench.exe table <samples> <output>\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) return usage();
    const std::wstring command = argv[1];
    if (command == L"table") {
        const bench::Samples samples = bench::readSamples(argv[2]);
        std::ofstream out(std::filesystem::path(argv[3]), std::ios::binary);
        out << bench::renderTable(samples, bench::buildRows(samples));
        return out ? 0 : 1;
    }

    const bench::Context context{argv[2], ownFolder(), argv[3]};
    if (command == L"wait-cost") return bench::measureWaitCost(context);
    if (command == L"exit-noticed") return bench::measureExitNoticed(context);
    if (command == L"startup") return bench::measureStartup(context);
    if (command == L"binary-size") return bench::measureBinarySize(context);
    if (command == L"standin-launch") return bench::measureStandinLaunch(context);
    if (command == L"standin-copy" && argc == 7)
        return bench::measureStandinCopy(context, e2e::utf8(argv[4]), argv[5], argv[6]);
    return usage();
}
