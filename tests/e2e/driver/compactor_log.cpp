#include "compactor_log.h"

#include "support/files.h"
#include "support/text.h"

namespace e2e {

std::vector<CompactorStart> readCompactorLog(const std::wstring& path) {
    std::vector<CompactorStart> starts;
    std::optional<std::string> bytes = support::readBytes(path);
    if (!bytes) return starts;
    std::wstring text = support::utf16(*bytes);
    CompactorStart current;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find(L"\r\n", at);
        if (end == std::wstring::npos) break;  // an entry still being written
        std::wstring line = text.substr(at, end - at);
        at = end + 2;
        if (line.rfind(L"argv[", 0) == 0) {
            current.arguments.push_back(line.substr(line.find(L"]=") + 2));
        } else if (line.rfind(L"cmdline=", 0) == 0) {
            current.commandLine = line.substr(8);
            starts.push_back(current);
            current = CompactorStart{};
        }
    }
    return starts;
}

std::vector<std::string> commandLinesOf(const std::vector<CompactorStart>& starts) {
    std::vector<std::string> lines;
    for (const CompactorStart& start : starts) lines.push_back(support::utf8(start.commandLine));
    return lines;
}

}  // namespace e2e
