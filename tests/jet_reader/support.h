// What the reader's tests and its fuzz target share: files on disk and in memory, a decoder,
// UTF-8 for messages, and a command's output.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "jet_reader/jet_reader.h"
#include "support/encrypted_database.h"
#include "support/memory_file.h"
#include "support/unicode.h"

namespace jettest {

using Bytes = std::vector<std::uint8_t>;

// A file read through std::FILE.
class DiskFile : public platform::ReadOnlyFile {
public:
    explicit DiskFile(const std::string& path);
    ~DiskFile() override;
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;
    bool isOpen() const { return file_ != nullptr; }
    std::uint64_t size() override;
    bool read(std::uint64_t offset, void* buffer, std::size_t length) override;

private:
    std::FILE* file_;
};

// Bytes in memory, counting what is read, and UTF-16 to UTF-8: the tests' shared ones.
using support::MemoryFile;
using support::utf8;

Bytes loadFile(const std::string& path);
// A change made to a file's bytes, and the one most cases need: `value` little-endian at `at`.
using Change = std::function<void(Bytes&)>;
Change put(std::size_t at, std::uint32_t value, int bytes = 4);
using support::encrypted;
std::string testdata(const std::string& name);  // its path in the test-data folder
std::vector<std::string> testDatabases();       // every .mdb there, sorted

// Every table, a line each: its name, user or system, its rows or its problem; or the problem.
std::string summary(const jet::Reading& reading);

// The decoder the tests give the reader: bytes as Latin-1 (the test databases' names are ASCII).
platform::Text latin1(std::uint32_t codePage, const std::string& bytes);

// Windows' code page 1252, byte for character: the undefined bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D
// as the characters of the same number.
platform::Text cp1252(std::uint32_t codePage, const std::string& bytes);

// The command's standard output, whole or a line an element; the shell's exit status in `status`.
std::string commandOutput(const std::string& command, int* status = nullptr);
std::vector<std::string> outputLines(const std::string& command, int* status = nullptr);

}  // namespace jettest
