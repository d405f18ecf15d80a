// A compactor for timing how soon Harbek notices that its compactor has ended. Installed as
// JetComp.exe, it sleeps HARBEK_BENCH_DELAY_MS (default 200), copies -src: to -dest: (never over
// an existing file), and as the very last thing before ending appends the performance counter
// (QueryPerformanceCounter ticks) as one line to the file HARBEK_BENCH_EXIT_RECORD.
// Exit codes: 0 copied, 1 the copy failed, 2 an argument is missing, 4 the record cannot be opened.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

std::wstring environment(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring source, destination;
    for (int i = 1; i < argc; ++i) {
        if (_wcsnicmp(argv[i], L"-src:", 5) == 0) source = argv[i] + 5;
        else if (_wcsnicmp(argv[i], L"-dest:", 6) == 0) destination = argv[i] + 6;
    }
    if (source.empty() || destination.empty()) return 2;

    // Opened first, so that ending takes no more than a write and a close.
    const std::wstring recordPath = environment(L"HARBEK_BENCH_EXIT_RECORD");
    HANDLE record = INVALID_HANDLE_VALUE;
    if (!recordPath.empty()) {
        record = CreateFileW(recordPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (record == INVALID_HANDLE_VALUE) return 4;
    }

    const std::wstring delay = environment(L"HARBEK_BENCH_DELAY_MS");
    Sleep(delay.empty() ? 200 : static_cast<DWORD>(std::wcstoul(delay.c_str(), nullptr, 10)));
    const int code = CopyFileW(source.c_str(), destination.c_str(), TRUE) ? 0 : 1;

    if (record != INVALID_HANDLE_VALUE) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        char line[32];
        const int length = std::snprintf(line, sizeof line, "%lld\n", static_cast<long long>(now.QuadPart));
        DWORD written = 0;
        WriteFile(record, line, static_cast<DWORD>(length), &written, nullptr);
        CloseHandle(record);
    }
    ExitProcess(static_cast<UINT>(code));
}
