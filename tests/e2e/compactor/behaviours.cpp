#include "behaviours.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "jet_reader/jet_reader.h"
#include "platform/win32/owned.h"
#include "support/files.h"
#include "support/memory_file.h"
#include "support/process.h"
#include "support/wait.h"

namespace test_compactor {
namespace {

// The source as a compactor reads it: sharing reading only, so that nobody writes to it meanwhile.
std::optional<std::string> readSource(const Job& job) {
    return support::readBytes(job.source, FILE_SHARE_READ);
}

std::uint16_t u16(const std::string& bytes, size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

std::uint32_t u32(const std::string& bytes, size_t at) {
    return u16(bytes, at) | static_cast<std::uint32_t>(u16(bytes, at + 2)) << 16;
}

// Sets the deleted bits (0xC000) on the first live row slot of a data page of the first user table
// with rows, as the database engine marks a deleted row. Plain (unencrypted) files only.
bool deleteOneRow(std::string& bytes) {
    support::MemoryFile file(bytes);
    const jet::Reading reading = jet::read(
        file, [](std::uint32_t, const std::string& s) { return platform::Text(s.begin(), s.end()); });
    if (!reading.database || reading.database->encrypted) return false;
    const jet::Database& db = *reading.database;
    const auto table = std::find_if(db.tables.begin(), db.tables.end(),
                                    [](const jet::Table& t) { return t.user && t.rows && *t.rows > 0; });
    if (table == db.tables.end()) return false;
    const size_t countAt = db.version == 3 ? 8 : 12;
    for (size_t page = 1; page < db.pageCount; ++page) {
        const size_t start = page * db.pageSize;
        if (bytes[start] != 0x01 || u32(bytes, start + 4) != table->definitionPage) continue;
        const unsigned rows = u16(bytes, start + countAt);
        for (unsigned slot = 0; slot < rows; ++slot) {
            const size_t at = start + countAt + 2 + 2 * slot;
            if (u16(bytes, at) & 0xC000) continue;
            bytes[at + 1] = static_cast<char>(bytes[at + 1] | 0xC0);
            return true;
        }
    }
    return false;
}

// Changes one character of a text value of a user table, in place: the first such value of three
// characters or more, all ASCII, whose bytes (Jet 3 code page, Jet 4 compressed) the file holds
// exactly once. The row count stays; only the value differs.
bool alterOneValue(std::string& bytes) {
    support::MemoryFile file(bytes);
    std::optional<size_t> at;
    jet::ValueReading values;
    values.digests = false;
    values.onRow = [&](const jet::Table& table, const std::vector<jet::NamedValue>& row) {
        for (const jet::NamedValue& value : row) {
            const auto* text = std::get_if<std::u16string>(&value.value);
            if (at || !table.user || !text || text->size() < 3 ||
                std::any_of(text->begin(), text->end(), [](char16_t c) { return c >= 0x80; }))
                continue;
            const std::string ascii(text->begin(), text->end());
            const size_t first = bytes.find(ascii);
            if (first != std::string::npos && bytes.find(ascii, first + 1) == std::string::npos)
                at = first + ascii.size() - 1;
        }
    };
    jet::read(
        file, [](std::uint32_t, const std::string& s) { return platform::Text(s.begin(), s.end()); }, values);
    if (!at) return false;
    bytes[*at] = static_cast<char>(bytes[*at] ^ 1);  // 'g' becomes 'f'
    return true;
}

LONG WINAPI endWithoutDebugger(EXCEPTION_POINTERS*) { return EXCEPTION_EXECUTE_HANDLER; }

}  // namespace

int copyDatabase(const Job& job) {
    return CopyFileW(job.source.c_str(), job.destination.c_str(), TRUE) ? 0 : 1;
}

int writeAnew(const Job& job) {
    const std::optional<std::string> bytes = readSource(job);
    return bytes && support::writeBytes(job.destination, *bytes, CREATE_NEW) ? 0 : 1;
}

int writeHalf(const Job& job) {
    if (const std::optional<std::string> bytes = readSource(job))
        support::writeBytes(job.destination, bytes->substr(0, bytes->size() / 2), CREATE_NEW);
    return 1;
}

int writeDamaged(const Job& job, const std::wstring& damage) {
    std::optional<std::string> bytes = readSource(job);
    if (!bytes || bytes->size() < 3 * 4096) return 1;
    const size_t pageSize = (*bytes)[0x14] == 0 ? 2048 : 4096;
    if (damage == L"cutpage")
        bytes->erase(bytes->size() - pageSize);
    else if (damage == L"nocatalog")
        std::fill(bytes->begin() + 2 * pageSize, bytes->begin() + 3 * pageSize, '\0');
    else if (damage == L"deleterow") {
        if (!deleteOneRow(*bytes)) return 1;
    } else if (damage != L"altervalue" || !alterOneValue(*bytes))
        return 1;
    return support::writeBytes(job.destination, *bytes, CREATE_NEW) ? 0 : 1;
}

void copyThenExit259(const Job& job) {
    copyDatabase(job);
    ExitProcess(STILL_ACTIVE);
}

int copyThenHold(const Job& job) {
    wchar_t self[MAX_PATH] = {};
    if (copyDatabase(job) != 0 || !GetModuleFileNameW(nullptr, self, MAX_PATH)) return 1;
    support::Launch keeper;
    keeper.exe = self;
    keeper.arguments = L"--hold \"" + job.destination + L"\"";
    if (!support::Process().start(keeper)) return 1;  // the keeper runs on alone
    // Harbek reads the copy as soon as this process has ended: the copy must be held by then.
    return support::waitUntil([&] { return !support::readBytes(job.destination); }, 10000) ? 0 : 1;
}

int holdFile(const std::wstring& path) {
    const win32::OwnedHandle letGo(CreateEventW(nullptr, TRUE, FALSE, holdEventName(path).c_str()));
    const win32::OwnedHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!letGo || !file) return 1;
    WaitForSingleObject(letGo.get(), 20000);
    return 0;
}

void crash() {
    // No Wine debugger and no error box: the unhandled exception simply ends the process.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(endWithoutDebugger);
    *static_cast<volatile int*>(nullptr) = 1;
    ExitProcess(1);  // not reached
}

void hang() {
    for (;;) Sleep(INFINITE);
}

}  // namespace test_compactor
