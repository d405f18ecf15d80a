// What the reader's tests and its fuzz target share: files on disk and in memory, a decoder,
// UTF-8 for messages, and a command's output.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "jet_reader/jet_reader.h"

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

// Bytes in memory, followed by `zeroBytes` zeros that take no memory; counts what is read.
// It does not copy the bytes: they must outlive it.
class MemoryFile : public platform::ReadOnlyFile {
public:
    explicit MemoryFile(const std::uint8_t* data, std::size_t size, std::uint64_t zeroBytes = 0)
        : data_(data), size_(size), zeros_(zeroBytes) {}
    explicit MemoryFile(const Bytes& bytes, std::uint64_t zeroBytes = 0)
        : MemoryFile(bytes.data(), bytes.size(), zeroBytes) {}
    std::uint64_t size() override { return size_ + zeros_; }
    bool read(std::uint64_t offset, void* buffer, std::size_t length) override;

    std::uint64_t reads = 0;
    std::uint64_t bytesRead = 0;
    std::uint64_t refused = 0;      // reads asked past the end

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::uint64_t zeros_;
};

Bytes loadFile(const std::string& path);
// A plain database's bytes with every page n >= 1 RC4-encrypted under key (`key` XOR n), and the
// key set at 0x3E under the header's mask unless `keyInHeader` is false.
Bytes encrypted(Bytes plain, std::uint32_t key, bool keyInHeader = true);
std::string testdata(const std::string& name);   // its path in the test-data folder
std::vector<std::string> testDatabases();        // every .mdb there, sorted

// Every table, a line each: its name, user or system, its rows or its problem; or the problem.
std::string summary(const jet::Reading& reading);

// The decoder the tests give the reader: bytes as Latin-1 (the test databases' names are ASCII).
platform::Text latin1(std::uint32_t codePage, const std::string& bytes);
std::string utf8(const platform::Text& text);

// The command's standard output, a line an element; the shell's exit status in `status`.
std::vector<std::string> outputLines(const std::string& command, int* status = nullptr);

}  // namespace jettest
