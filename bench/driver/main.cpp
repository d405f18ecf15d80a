// harbek_bench.exe: the benchmark's measurements under Wine, one per command, each appending its
// finished lines to the table file. bench/run.sh runs them in turn.
//   harbek_bench.exe <command> <table file> <work folder>
//     wait-cost | exit-noticed | startup | binary-size | standin-launch
//   harbek_bench.exe standin-copy <table file> <work folder> <source> <destination>
//   harbek_bench.exe row <table file> {<figure> <goal> <samples> <reference samples>}...
// Samples are comma-separated. The programs it starts lie beside it.
#include <cstdio>

#include "measurement.h"
#include "support/text.h"
#include "bench.h"

int wmain(int argc, wchar_t** argv) {
    using namespace bench;
    const std::wstring command = argc > 3 ? argv[1] : L"";
    if (command == L"row" && (argc - 3) % 4 == 0) {
        for (int i = 3; i < argc; i += 4)
            if (!appendToTable(argv[2], row(support::utf8(argv[i]), numbers(support::utf8(argv[i + 2])),
                                            numbers(support::utf8(argv[i + 3])), support::utf8(argv[i + 1]))))
                return 1;
        return 0;
    }
    wchar_t self[MAX_PATH];
    const std::wstring bin(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    const Context context{argc > 3 ? argv[2] : L"", bin.substr(0, bin.find_last_of(L'\\')),
                          argc > 3 ? argv[3] : L""};
    if (command == L"wait-cost") return measureWaitCost(context);
    if (command == L"exit-noticed") return measureExitNoticed(context);
    if (command == L"startup") return measureStartup(context);
    if (command == L"binary-size") return measureBinarySize(context);
    if (command == L"standin-launch") return measureStandinLaunch(context);
    if (command == L"standin-copy" && argc == 6) return measureStandinCopy(context, argv[4], argv[5]);
    std::fprintf(
        stderr,
        "usage: harbek_bench.exe wait-cost|exit-noticed|startup|binary-size|standin-launch <table> <work>\n"
        "       harbek_bench.exe standin-copy <table> <work> <source> <destination>\n"
        "       harbek_bench.exe row <table> {<figure> <goal> <samples> <reference samples>}...\n");
    return 2;
}
