// A stand-in for JetComp.exe with scripted behaviours, for the end-to-end scenarios. Harbek passes
// its environment on, so each scenario picks the behaviour through it:
//   HARBEK_TEST_COMPACTOR           copy (default) | new | nothing | hang | crash | exit259 | partial |
//                                   cutpage | deleterow | nocatalog | altervalue | holdcopy
//   HARBEK_TEST_COMPACTOR_DELAY_MS  milliseconds to sleep before acting (default 0)
//   HARBEK_TEST_COMPACTOR_LOG       a file to which each start appends its command line
//   HARBEK_TEST_COMPACTOR_EXIT_RECORD  a file to which it appends, as the very last thing before it
//                                   ends, the performance counter (QueryPerformanceCounter ticks)
//                                   as one line: when it ended, for the benchmark
// Started as "<exe> --hold <path>" it is holdcopy's keeper of the copy (see behaviours.h).
// It takes -src:<path> and -dest:<path> as JetComp.exe does. Exit codes: 0 done; 1 the copy failed;
// 2 an argument is missing; 3 the behaviour or delay is not understood; 4 the log or the exit record
// cannot be written.
#include "behaviours.h"
#include "invocation_log.h"

#include "platform/win32/owned.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <cwctype>
#include <string>

namespace {

std::wstring environment(const wchar_t* name) {
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

bool startsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
    size_t n = std::wcslen(prefix);
    return text.size() >= n && _wcsnicmp(text.c_str(), prefix, n) == 0;
}

// Opened before anything else is done, so that ending takes no more than a write and a close.
class ExitRecord {
public:
    explicit ExitRecord(const std::wstring& path) {
        if (path.empty()) return;
        file_.reset(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        failed_ = !file_;
    }
    bool failed() const { return failed_; }

    // Writes the counter, when a record was asked for, and ends the process with code.
    [[noreturn]] void end(int code) const {
        if (file_) {
            LARGE_INTEGER now;
            QueryPerformanceCounter(&now);
            const std::string line = std::to_string(now.QuadPart) + "\n";
            DWORD written = 0;
            WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        }
        ExitProcess(static_cast<UINT>(code));
    }

private:
    win32::OwnedHandle file_;
    bool failed_ = false;
};

bool parseDelay(const std::wstring& text, DWORD& delay) {
    delay = 0;
    if (text.empty()) return true;
    for (wchar_t c : text) {
        if (!std::iswdigit(c)) return false;
        delay = delay * 10 + static_cast<DWORD>(c - L'0');
    }
    return true;
}

// Does what the environment asks; returns the exit code.
int act(int argc, wchar_t** argv) {
    using namespace test_compactor;

    std::wstring logPath = environment(L"HARBEK_TEST_COMPACTOR_LOG");
    if (!logPath.empty() && !appendInvocation(logPath)) return 4;

    Job job;
    bool haveSource = false, haveDestination = false;
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i];
        if (startsWithNoCase(arg, L"-src:")) {
            job.source = arg.substr(5);
            haveSource = true;
        } else if (startsWithNoCase(arg, L"-dest:")) {
            job.destination = arg.substr(6);
            haveDestination = true;
        }
    }

    DWORD delay = 0;
    if (!parseDelay(environment(L"HARBEK_TEST_COMPACTOR_DELAY_MS"), delay)) return 3;
    std::wstring behaviour = environment(L"HARBEK_TEST_COMPACTOR");
    if (behaviour.empty()) behaviour = L"copy";

    if (delay > 0) Sleep(delay);

    if (behaviour == L"nothing") return 0;
    if (behaviour == L"hang") hang();
    if (behaviour == L"crash") crash();
    const bool damaged = behaviour == L"cutpage" || behaviour == L"deleterow" || behaviour == L"nocatalog" ||
                         behaviour == L"altervalue";
    if (behaviour != L"copy" && behaviour != L"new" && behaviour != L"exit259" && behaviour != L"partial" &&
        behaviour != L"holdcopy" && !damaged)
        return 3;
    if (!haveSource || !haveDestination) return 2;
    if (damaged) return writeDamaged(job, behaviour);
    if (behaviour == L"exit259") copyThenExit259(job);
    if (behaviour == L"partial") return writeHalf(job);
    if (behaviour == L"new") return writeAnew(job);
    if (behaviour == L"holdcopy") return copyThenHold(job);
    return copyDatabase(job);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"--hold") == 0) return test_compactor::holdFile(argv[2]);
    const ExitRecord record(environment(L"HARBEK_TEST_COMPACTOR_EXIT_RECORD"));
    if (record.failed()) return 4;
    record.end(act(argc, argv));
}
