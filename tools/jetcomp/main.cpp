// JetComp.exe as built by this project: a stand-in for Microsoft's Jet Compact Utility on
// machines that lack it (Linux under Wine, CI, demos). It takes the command line Harbek gives
// the compactor and writes a plain copy of the database under the destination's name.
#include <windows.h>

#include <string>

#include "arguments.h"
#include "console_output.h"
#include "copy_database.h"
#include "exit_codes.h"

namespace {

constexpr wchar_t usage[] =
    L"JetComp.exe - stand-in for Microsoft's Jet Compact Utility, built with Harbek.\n"
    L"\n"
    L"Usage: JetComp.exe -src:\"<database>\" -dest:\"<new file>\"\n"
    L"\n"
    L"This stand-in only COPIES the database: it checks that the source is a Jet or ACE\n"
    L"database (\"Standard Jet DB\" or \"Standard ACE DB\" at byte 4), refuses a destination\n"
    L"that already exists, and writes a byte-for-byte copy under the destination's name.\n"
    L"It does NOT compact the file, does NOT reclaim space and does NOT repair anything.\n"
    L"On Windows, put Microsoft's JetComp.exe beside Harbek.exe instead of this program.\n"
    L"\n"
    L"Exit codes: 0 copied, 1 read/write failure, 2 bad arguments,\n"
    L"            3 not a Jet or ACE database, 4 destination exists.\n";

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    SetErrorMode(SEM_FAILCRITICALERRORS);  // no "insert a disk" box for a missing drive

    const jetcomp::Arguments args = jetcomp::parseArguments(argc, argv);
    switch (args.kind) {
        case jetcomp::Arguments::Kind::help:
            jetcomp::writeText(jetcomp::Stream::out, usage);
            return jetcomp::kExitCopied;
        case jetcomp::Arguments::Kind::invalid:
            jetcomp::writeText(jetcomp::Stream::err,
                               L"JetComp: " + args.problem + L" (JetComp.exe -? shows the usage)\n");
            return jetcomp::kExitUsage;
        case jetcomp::Arguments::Kind::copy:
            break;
    }

    const jetcomp::CopyOutcome outcome = jetcomp::copyDatabase(args.source, args.destination);
    if (outcome.exitCode != jetcomp::kExitCopied) {
        jetcomp::writeText(jetcomp::Stream::err, L"JetComp: " + outcome.reason + L"\n");
        return outcome.exitCode;
    }
    jetcomp::writeText(jetcomp::Stream::out, L"JetComp (stand-in): copied " + std::to_wstring(outcome.bytes) +
                                                 L" bytes to \"" + args.destination +
                                                 L"\"; nothing was compacted\n");
    return jetcomp::kExitCopied;
}
