#include "cpu_time.h"

#include <tlhelp32.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace bench {
namespace {

double fileTimeMs(const FILETIME& t)
{
    ULARGE_INTEGER u;
    u.LowPart = t.dwLowDateTime;
    u.HighPart = t.dwHighDateTime;
    return static_cast<double>(u.QuadPart) / 10000.0;
}

}  // namespace

std::optional<double> processCpuMs(DWORD processId)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
    double total = 0;
    bool any = false;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        if (!thread) continue;
        FILETIME created, ended, kernel, user;
        if (GetThreadTimes(thread, &created, &ended, &kernel, &user)) {
            total += fileTimeMs(kernel) + fileTimeMs(user);
            any = true;
        }
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    if (!any) return std::nullopt;
    return total;
}

double ticksToMs(long long ticks)
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(ticks) * 1000.0 / frequency;
}

double nowMs()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return ticksToMs(now.QuadPart);
}

std::optional<double> linuxProcessCpuMs(unsigned long pid)
{
    std::ifstream in("Z:\\proc\\" + std::to_string(pid) + "\\stat", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Field 2 is the command in parentheses, which may hold spaces: count from the last ')'.
    const auto close = text.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(text.substr(close + 1));
    std::string field;
    // Fields 3 to 13, then utime (14) and stime (15), in clock ticks of 10 ms.
    for (int i = 3; i <= 13; ++i)
        if (!(fields >> field)) return std::nullopt;
    unsigned long long utime = 0, stime = 0;
    if (!(fields >> utime >> stime)) return std::nullopt;
    return static_cast<double>(utime + stime) * 10.0;
}

std::optional<unsigned long> wineserverPid()
{
    char text[32];
    const DWORD length = GetEnvironmentVariableA("HARBEK_BENCH_WINESERVER_PID", text, sizeof text);
    if (length == 0 || length >= sizeof text) return std::nullopt;
    char* end = nullptr;
    const unsigned long pid = std::strtoul(text, &end, 10);
    if (*end != '\0' || pid == 0) return std::nullopt;
    return pid;
}

}  // namespace bench
