// libFuzzer target: the path handling and the compactor's command line.
//
// The input is UTF-16LE text (an odd last byte is dropped). Up to its first U+0001 it is the
// program folder, after it the database path; without one, the whole text is the path and the
// folder is a usual install folder. For every input:
//  - mDevidePathFile gives back folder part + file part == path, the folder part empty or ending
//    in "\" or "＼", the file part holding neither, and no error report;
//  - when the path is quotable (and the folder could name a folder at all: no quote, no NUL), the
//    run's command line splits by Windows' rules into exactly the compactor's path, -src: with the
//    path and -dest: with the after-name;
//  - the splitter itself, fed the raw text as a line, gives a program name and never more text
//    than it was given.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "main_window/frmMain.h"
#include "support/null_services.h"
#include "tests/fuzz/windows_argv.h"

namespace {

using platform::Text;
using windowsargv::visible;

// Services that do nothing but count the message boxes asked of them, so that a check can tell
// that no trap reported.
class CountingBoxes : public support::NullWindow {
public:
    int messageBoxes = 0;
    std::int32_t messageBox(const Text&, std::int32_t, const Text*) override {
        ++messageBoxes;
        return platform::box::kAnswerOk;
    }
};

const Text* shownFolder = nullptr;
const Text* shownPath = nullptr;

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "property broken: %s\n  folder: \"%s\"\n  path:   \"%s\"\n", what,
                 visible(*shownFolder).c_str(), visible(*shownPath).c_str());
    std::abort();
}

bool isSeparator(char16_t c) { return c == u'\\' || c == u'\uFF3C'; }

CountingBoxes& nullServices() {
    static CountingBoxes services;
    static support::NullEnvironment environment;
    static support::NullProcesses processes;
    static const bool installed = (platform::install({&services, &environment, &processes}), true);
    (void)installed;
    return services;
}

void checkSplitPath(const Text& path, Text& folderPart, Text& filePart) {
    auto& services = nullServices();
    const int boxesBefore = services.messageBoxes;
    frmMain::mDevidePathFile(path, folderPart, filePart);
    check(services.messageBoxes == boxesBefore, "mDevidePathFile reported an error");
    check(folderPart + filePart == path, "folder part + file part != path");
    check(folderPart.empty() || isSeparator(folderPart.back()),
          "folder part neither empty nor ending in a separator");
    for (char16_t c : filePart) check(!isSeparator(c), "file part holds a separator");
}

void checkCommandLine(const Text& folder, const Text& path, const Text& folderPart, const Text& filePart) {
    if (!frmMain::quotable(path)) return;  // the run refuses it before any launch
    if (folder.find(u'"') != Text::npos || folder.find(u'\0') != Text::npos) return;

    const Text stamp = frmMain::stampOf(platform::environment().localTime());
    check(stamp == u"20261207090503", "stamp of 2026-12-07 09:05:03");
    const Text afterName = folderPart + u"_AfterRepair" + stamp + filePart;

    const auto args = windowsargv::splitCommandLine(frmMain::compactorCommandLine(folder, path, afterName));
    check(args.size() == 3, "command line does not split into three arguments");
    check(args[0] == folder + u"\\JetComp.exe", "argument 0 is not the compactor's path");
    check(args[1] == u"-src:" + path, "argument 1 is not -src: and the path");
    check(args[2] == u"-dest:" + afterName, "argument 2 is not -dest: and the after-name");
}

void checkSplitterItself(const Text& line) {
    const auto args = windowsargv::splitCommandLine(line);
    const std::size_t used = line.find(u'\0') == Text::npos ? line.size() : line.find(u'\0');
    check(args.empty() == (used == 0), "an empty line and only it gives no arguments");
    std::size_t total = 0;
    for (const auto& a : args) total += a.size();
    check(total <= used, "the arguments hold more text than the line");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Text units;
    units.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units += static_cast<char16_t>(data[i] | (data[i + 1] << 8));

    Text folder = u"C:\\Program Files\\Harbek";
    Text path = units;
    if (const auto mark = units.find(u'\u0001'); mark != Text::npos) {
        folder = units.substr(0, mark);
        path = units.substr(mark + 1);
    }
    shownFolder = &folder;
    shownPath = &path;

    Text folderPart;
    Text filePart;
    checkSplitPath(path, folderPart, filePart);
    checkCommandLine(folder, path, folderPart, filePart);
    checkSplitterItself(units);
    return 0;
}
