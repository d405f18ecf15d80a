#include "tests/jet_reader/support.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <span>

#include "jet_reader/rc4.h"

namespace jettest {

DiskFile::DiskFile(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {}

DiskFile::~DiskFile() {
    if (file_ != nullptr) std::fclose(file_);
}

std::uint64_t DiskFile::size() {
    if (file_ == nullptr || std::fseek(file_, 0, SEEK_END) != 0) return 0;
    const long size = std::ftell(file_);
    return size < 0 ? 0 : static_cast<std::uint64_t>(size);
}

bool DiskFile::read(std::uint64_t offset, void* buffer, std::size_t length) {
    return file_ != nullptr && std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0 &&
           std::fread(buffer, 1, length, file_) == length;
}

Bytes loadFile(const std::string& path) {
    DiskFile file(path);
    Bytes bytes(file.size());
    if (!file.isOpen() || !file.read(0, bytes.data(), bytes.size())) return {};
    return bytes;
}

Change put(std::size_t at, std::uint32_t value, int bytes) {
    return [=](Bytes& b) {
        for (int i = 0; i < bytes; ++i) b.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
    };
}

std::string testdata(const std::string& name) { return std::string(JET_TESTDATA_DIR) + "/" + name; }

std::vector<std::string> testDatabases() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(JET_TESTDATA_DIR))
        if (entry.path().extension() == ".mdb") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string summary(const jet::Reading& reading) {
    if (!reading.database) return reading.problem;
    std::string text;
    for (const jet::Table& t : reading.database->tables)
        text += utf8(t.name) + (t.user ? " user " : " system ") +
                (t.rows ? std::to_string(*t.rows) : t.problem) + "\n";
    return text;
}

platform::Text latin1(std::uint32_t, const std::string& bytes) {
    platform::Text text;
    for (unsigned char c : bytes) text += char16_t{c};
    return text;
}

platform::Text cp1252(std::uint32_t, const std::string& bytes) {
    // 0x80-0x9F as Windows maps them; the five bytes it leaves undefined to U+0081 and so on.
    static const char16_t k80to9F[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                         0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                         0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                         0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    platform::Text text;
    for (unsigned char c : bytes) text += c >= 0x80 && c <= 0x9F ? k80to9F[c - 0x80] : char16_t{c};
    return text;
}

std::string commandOutput(const std::string& command, int* status) {
    std::string text;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return text;
    char buffer[4096];
    for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    const int exit = pclose(pipe);
    if (status != nullptr) *status = exit;
    return text;
}

std::vector<std::string> outputLines(const std::string& command, int* status) {
    std::vector<std::string> lines;
    const std::string text = commandOutput(command, status);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

}  // namespace jettest
