#include "context.h"

#include "files.h"
#include "process.h"
#include "samples.h"
#include "text.h"

namespace bench {

void Context::record(const std::string& key, double value) const { appendSample(samples, key, value); }

void Context::record(const std::string& key, const std::string& value) const { appendSample(samples, key, value); }

int Context::fail(const std::string& figure, const std::string& why) const
{
    appendSample(samples, "error", figure + ": " + why);
    return 1;
}

std::wstring freshFolder(const Context& context, const std::wstring& name)
{
    const std::wstring folder = context.work + L"\\" + name;
    if (!e2e::removeTree(folder) || !e2e::makeFolders(folder)) return {};
    return folder;
}

bool copyProgram(const Context& context, const std::wstring& name, const std::wstring& folder,
                 const std::wstring& as)
{
    return CopyFileW(context.program(name).c_str(), (folder + L"\\" + as).c_str(), FALSE) != 0;
}

HANDLE waitForCompactor(DWORD parentId, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < deadline) {
        for (DWORD id : e2e::childProcesses(parentId, L"JetComp.exe"))
            if (HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id)) return h;
        Sleep(1);
    }
    return nullptr;
}

}  // namespace bench
