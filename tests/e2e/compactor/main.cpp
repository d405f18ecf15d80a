// A stand-in for JetComp.exe with scripted behaviours, for the end-to-end scenarios. Harbek passes
// its environment on, so each scenario picks the behaviour through it:
//   HARBEK_TEST_COMPACTOR           copy (default) | new | nothing | hang | crash | exit259 | partial |
//                                   cutpage | deleterow | nocatalog
//   HARBEK_TEST_COMPACTOR_DELAY_MS  milliseconds to sleep before acting (default 0)
//   HARBEK_TEST_COMPACTOR_LOG       a file to which each start appends its command line
// It takes -src:<path> and -dest:<path> as JetComp.exe does. Exit codes: 0 done; 1 the copy failed;
// 2 an argument is missing; 3 the behaviour or delay is not understood; 4 the log cannot be written.
#include "behaviours.h"
#include "invocation_log.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <cwctype>
#include <string>

namespace {

std::wstring environment(const wchar_t* name)
{
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

bool startsWithNoCase(const std::wstring& text, const wchar_t* prefix)
{
    size_t n = std::wcslen(prefix);
    return text.size() >= n && _wcsnicmp(text.c_str(), prefix, n) == 0;
}

bool parseDelay(const std::wstring& text, DWORD& delay)
{
    delay = 0;
    if (text.empty()) return true;
    for (wchar_t c : text) {
        if (!std::iswdigit(c)) return false;
        delay = delay * 10 + static_cast<DWORD>(c - L'0');
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    using namespace test_compactor;

    std::wstring logPath = environment(L"HARBEK_TEST_COMPACTOR_LOG");
    if (!logPath.empty() && !appendInvocation(logPath)) return 4;

    Job job;
    bool haveSource = false, haveDestination = false;
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i];
        if (startsWithNoCase(arg, L"-src:")) { job.source = arg.substr(5); haveSource = true; }
        else if (startsWithNoCase(arg, L"-dest:")) { job.destination = arg.substr(6); haveDestination = true; }
    }

    DWORD delay = 0;
    if (!parseDelay(environment(L"HARBEK_TEST_COMPACTOR_DELAY_MS"), delay)) return 3;
    std::wstring behaviour = environment(L"HARBEK_TEST_COMPACTOR");
    if (behaviour.empty()) behaviour = L"copy";

    if (delay > 0) Sleep(delay);

    if (behaviour == L"nothing") return 0;
    if (behaviour == L"hang") hang();
    if (behaviour == L"crash") crash();
    const bool damaged = behaviour == L"cutpage" || behaviour == L"deleterow" || behaviour == L"nocatalog";
    if (behaviour != L"copy" && behaviour != L"new" && behaviour != L"exit259" && behaviour != L"partial" &&
        !damaged)
        return 3;
    if (!haveSource || !haveDestination) return 2;
    if (damaged) return writeDamaged(job, behaviour);
    if (behaviour == L"exit259") copyThenExit259(job);
    if (behaviour == L"partial") return writeHalf(job);
    if (behaviour == L"new") return writeAnew(job);
    return copyDatabase(job);
}
