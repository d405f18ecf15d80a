#include "process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cwchar>
#include <thread>

#include "platform/win32/owned.h"

namespace support {
namespace {

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towupper(c));
    return text;
}

std::wstring nameOf(const std::wstring& entry) { return upper(entry.substr(0, entry.find(L'=', 1))); }

// The caller's environment with the extra variables replacing any of the same name, sorted by
// name as Windows expects, as a double-NUL-terminated block. Names like "=C:" start with '='.
std::wstring environmentBlock(const Environment& extra) {
    std::vector<std::wstring> entries;
    if (const win32::Owned<wchar_t*, &FreeEnvironmentStringsW> block{GetEnvironmentStringsW()}) {
        for (const wchar_t* p = block.get(); *p; p += std::wcslen(p) + 1) {
            const std::wstring entry = p;
            const bool replaced = std::any_of(
                extra.begin(), extra.end(), [&](const auto& kv) { return upper(kv.first) == nameOf(entry); });
            if (!replaced) entries.push_back(entry);
        }
    }
    for (const auto& [name, value] : extra) entries.push_back(name + L"=" + value);
    std::sort(entries.begin(), entries.end(),
              [](const std::wstring& a, const std::wstring& b) { return nameOf(a) < nameOf(b); });
    std::wstring block;
    for (const auto& entry : entries) block += entry + L'\0';
    return block + L'\0';
}

// Reads a pipe to its end (the child closed it, or died).
void drain(win32::OwnedHandle pipe, std::string* into) {
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(pipe.get(), buffer, sizeof buffer, &n, nullptr) && n > 0) into->append(buffer, n);
}

}  // namespace

struct Process::Output {
    std::thread outReader, errReader;
    std::string out, err;

    void join() {
        if (outReader.joinable()) outReader.join();
        if (errReader.joinable()) errReader.join();
    }
};

std::wstring commandLineOf(const Launch& launch) {
    std::wstring line = L"\"" + launch.exe + L"\"";
    return launch.arguments.empty() ? line : line + L" " + launch.arguments;
}

Process::Process() = default;

Process::Process(Process&& other) noexcept { *this = std::move(other); }

Process& Process::operator=(Process&& other) noexcept {
    std::swap(handle_, other.handle_);
    std::swap(id_, other.id_);
    std::swap(error_, other.error_);
    std::swap(output_, other.output_);
    return *this;
}

Process::~Process() {
    if (output_) {
        kill();  // the readers end only when the child's ends of the pipes close
        output_->join();
    }
}

bool Process::start(const Launch& launch) {
    std::wstring commandLine = commandLineOf(launch);
    std::wstring environment = environmentBlock(launch.environment);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    win32::OwnedHandle outRead, outWrite, errRead, errWrite;
    if (launch.captureOutput) {
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        if (!CreatePipe(outRead.put(), outWrite.put(), &inheritable, 0) ||
            !CreatePipe(errRead.put(), errWrite.put(), &inheritable, 0)) {
            error_ = GetLastError();
            return false;
        }
        SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(errRead.get(), HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = INVALID_HANDLE_VALUE;
        startup.hStdOutput = outWrite.get();
        startup.hStdError = errWrite.get();
    }
    PROCESS_INFORMATION info{};
    SetLastError(0);
    const BOOL created =
        CreateProcessW(launch.exe.c_str(), commandLine.data(), nullptr, nullptr, launch.captureOutput,
                       launch.flags | CREATE_UNICODE_ENVIRONMENT, environment.data(),
                       launch.folder.empty() ? nullptr : launch.folder.c_str(), &startup, &info);
    error_ = created ? 0 : GetLastError();
    if (launch.captureOutput) {
        outWrite.reset();  // the child holds its own copies; the readers see the end when it exits
        errWrite.reset();
        output_ = std::make_unique<Output>();
        output_->outReader = std::thread(drain, std::move(outRead), &output_->out);
        output_->errReader = std::thread(drain, std::move(errRead), &output_->err);
    }
    if (!created) return false;
    const win32::OwnedHandle thread(info.hThread);
    handle_.reset(info.hProcess);
    id_ = info.dwProcessId;
    return true;
}

bool Process::running() const { return handle_ && WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT; }

bool Process::waitForExit(DWORD timeoutMs) const {
    return handle_ && WaitForSingleObject(handle_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (handle_) GetExitCodeProcess(handle_.get(), &code);
    return code;
}

void Process::kill() {
    if (!running()) return;
    TerminateProcess(handle_.get(), 1);
    WaitForSingleObject(handle_.get(), 5000);
}

const std::string& Process::out() {
    static const std::string none;
    if (!output_) return none;
    output_->join();
    return output_->out;
}

const std::string& Process::err() {
    static const std::string none;
    if (!output_) return none;
    output_->join();
    return output_->err;
}

Finished runToEnd(const Launch& launch, DWORD timeoutMs) {
    Process process;
    Finished finished;
    finished.started = process.start(launch);
    finished.error = process.error();
    if (!finished.started) return finished;
    const bool ended = process.waitForExit(timeoutMs);
    process.kill();
    finished.exitCode = ended ? process.exitCode() : STILL_ACTIVE;
    finished.out = process.out();
    finished.err = process.err();
    return finished;
}

std::vector<DWORD> childProcesses(DWORD parentId, const std::wstring& exeName) {
    std::vector<DWORD> ids;
    const win32::OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ParentProcessID == parentId && _wcsicmp(entry.szExeFile, exeName.c_str()) == 0)
            ids.push_back(entry.th32ProcessID);
    return ids;
}

void killProcess(DWORD id) {
    const win32::OwnedHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (!process) return;
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 5000);
}

}  // namespace support
