// harbek_bench.exe: the benchmark's measurements under Wine, one per command, each appending its
// samples to a file; "table" turns that file into the one table. bench/run.sh runs them in turn.
//   harbek_bench.exe <command> <samples file> <work folder> [arguments]
//     wait-cost | exit-noticed | startup | binary-size | standin-launch
//     standin-copy <size label> <source> <destination>
//   harbek_bench.exe table <samples file> <output file>
// The programs it starts (Harbek.exe, JetComp.exe, the references, the test compactor) lie beside it.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "measurement.h"
#include "support/text.h"
#include "table.h"

namespace {

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
    using namespace bench;
    if (argc < 4) return usage();
    const std::wstring command = argv[1];
    if (command == L"table") {
        std::ostringstream text;
        text << std::ifstream(std::filesystem::path(argv[2]), std::ios::binary).rdbuf();
        const Samples samples = Samples::parse(text.str());
        std::ofstream out(std::filesystem::path(argv[3]), std::ios::binary);
        out << renderTable(samples, buildRows(samples));
        return out ? 0 : 1;
    }
    wchar_t self[MAX_PATH];
    const std::wstring bin(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    const Context context{argv[2], bin.substr(0, bin.find_last_of(L'\\')), argv[3]};
    if (command == L"wait-cost") return measureWaitCost(context);
    if (command == L"exit-noticed") return measureExitNoticed(context);
    if (command == L"startup") return measureStartup(context);
    if (command == L"binary-size") return measureBinarySize(context);
    if (command == L"standin-launch") return measureStandinLaunch(context);
    if (command == L"standin-copy" && argc == 7)
        return measureStandinCopy(context, support::utf8(argv[4]), argv[5], argv[6]);
    return usage();
}
