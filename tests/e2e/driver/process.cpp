#include "process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cwchar>

namespace e2e {
namespace {

std::wstring upper(std::wstring text)
{
    for (wchar_t& c : text) c = static_cast<wchar_t>(towupper(c));
    return text;
}

// The driver's environment with the extra variables replacing any of the same name, sorted by
// name as Windows expects, as a double-NUL-terminated block.
std::wstring environmentBlock(const Environment& extra)
{
    std::vector<std::wstring> entries;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* p = block; *p; p += std::wcslen(p) + 1) {
            std::wstring entry = p;
            size_t eq = entry.find(L'=', 1);  // names like "=C:" start with '='
            std::wstring name = upper(entry.substr(0, eq));
            bool replaced = std::any_of(extra.begin(), extra.end(),
                                        [&](const auto& kv) { return upper(kv.first) == name; });
            if (!replaced) entries.push_back(entry);
        }
        FreeEnvironmentStringsW(block);
    }
    for (const auto& [name, value] : extra) entries.push_back(name + L"=" + value);
    std::sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
        return upper(a.substr(0, a.find(L'=', 1))) < upper(b.substr(0, b.find(L'=', 1)));
    });
    std::wstring out;
    for (const auto& entry : entries) out += entry + L'\0';
    out += L'\0';
    return out;
}

}  // namespace

Process::Process(Process&& other) noexcept : handle_(other.handle_), id_(other.id_)
{
    other.handle_ = nullptr;
    other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept
{
    std::swap(handle_, other.handle_);
    std::swap(id_, other.id_);
    return *this;
}

Process::~Process()
{
    if (handle_) CloseHandle(handle_);
}

bool Process::start(const std::wstring& exe, const std::wstring& currentFolder,
                    const Environment& extra, DWORD& error)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    std::wstring environment = environmentBlock(extra);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, environment.data(), currentFolder.c_str(),
                        &startup, &info)) {
        error = GetLastError();
        return false;
    }
    CloseHandle(info.hThread);
    if (handle_) CloseHandle(handle_);
    handle_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
}

bool Process::running() const
{
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool Process::waitForExit(DWORD timeoutMs) const
{
    return handle_ && WaitForSingleObject(handle_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::exitCode() const
{
    DWORD code = 0;
    if (handle_) GetExitCodeProcess(handle_, &code);
    return code;
}

void Process::kill()
{
    if (!running()) return;
    TerminateProcess(handle_, 1);
    WaitForSingleObject(handle_, 5000);
}

std::vector<DWORD> childProcesses(DWORD parentId, const std::wstring& exeName)
{
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (entry.th32ParentProcessID == parentId && _wcsicmp(entry.szExeFile, exeName.c_str()) == 0)
            ids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

void killProcess(DWORD id)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (!process) return;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

}  // namespace e2e
