// A platform::ReadOnlyFile over bytes in memory, for the tests of code that reads files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace support {

// Bytes in memory, followed by `zeroBytes` zeros that take no memory. A read must lie wholly
// inside the file, as ReadOnlyFile's contract has it; the file counts the reads it answered and
// those it refused.
class MemoryFile : public platform::ReadOnlyFile {
public:
    // Reads the bytes where they are: they must outlive the file.
    MemoryFile(const void* data, std::size_t size, std::uint64_t zeroBytes = 0)
        : data_(static_cast<const std::uint8_t*>(data)), size_(size), zeros_(zeroBytes) {}
    // Any contiguous container of single bytes: std::string, std::vector<char> or <uint8_t>; never
    // a temporary one.
    template <typename Bytes>
    requires(sizeof(*std::declval<const Bytes&>().data()) ==
             1) explicit MemoryFile(const Bytes& bytes, std::uint64_t zeroBytes = 0)
        : MemoryFile(bytes.data(), bytes.size(), zeroBytes) {}
    template <typename Bytes>
    requires(sizeof(*std::declval<const Bytes&>().data()) ==
             1) explicit MemoryFile(const Bytes&& bytes, std::uint64_t zeroBytes = 0) = delete;
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // A file of its own copy of the bytes: what a file opened on disk keeps reading, whatever
    // becomes of the bytes afterwards.
    static std::unique_ptr<MemoryFile> copyOf(std::string bytes);

    std::uint64_t size() override { return size_ + zeros_; }
    bool read(std::uint64_t offset, void* buffer, std::size_t length) override;

    std::uint64_t reads = 0;
    std::uint64_t bytesRead = 0;
    std::uint64_t refused = 0;  // reads asked past the end

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::uint64_t zeros_;
    std::string copy_;
};

}  // namespace support
