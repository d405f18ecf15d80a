#include "measurement.h"

#include "support/files.h"
#include "support/text.h"
#include "bench.h"

namespace bench {

void Context::add(const std::string& line) const { appendToTable(table, line); }

int Context::fail(const std::string& figure, const std::string& why) const {
    add(figure + ": ERROR " + why);
    return 1;
}

std::wstring Context::freshFolder(const std::wstring& name,
                                  const std::vector<std::pair<std::wstring, std::wstring>>& programs) const {
    const std::wstring folder = work + L"\\" + name;
    if (!support::removeTree(folder) || !support::makeFolders(folder)) return {};
    for (const auto& [from, as] : programs)
        if (!support::copyFile(program(from), folder + L"\\" + as)) return {};
    return folder;
}

HANDLE waitForCompactor(DWORD parentId) {
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (GetTickCount64() < deadline) {
        for (DWORD id : support::childProcesses(parentId, L"JetComp.exe"))
            if (HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id)) return h;
        Sleep(1);
    }
    return nullptr;
}

std::string startRepair(support::HarbekSession& harbek, const std::wstring& folder,
                        const support::Environment& environment, const std::wstring& database) {
    if (auto r = harbek.start(folder + L"\\Harbek.exe", folder, environment); !r) return r.message();
    if (auto r = harbek.typePath(database); !r) return r.message();
    harbek.pressRun();
    return {};
}

std::string finishRepair(support::HarbekSession& harbek) {
    support::MessageBoxSeen box;
    if (auto r = harbek.waitForMessageBox(box, 60000); !r) return r.message();
    if (box.text != L"終了しました。")
        return "Harbek showed \"" + support::utf8(box.text) +
               "\" instead of the completion message; log: " + support::utf8(harbek.log());
    if (auto r = harbek.answer(box, IDOK); !r) return r.message();
    if (auto r = harbek.waitForExit(); !r) return r.message();
    return {};
}

}  // namespace bench
