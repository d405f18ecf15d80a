#include "support/memory_file.h"

#include <algorithm>
#include <cstring>

namespace support {

std::unique_ptr<MemoryFile> MemoryFile::copyOf(std::string bytes) {
    std::unique_ptr<MemoryFile> file(new MemoryFile(nullptr, 0));
    file->copy_ = std::move(bytes);
    file->data_ = reinterpret_cast<const std::uint8_t*>(file->copy_.data());
    file->size_ = file->copy_.size();
    return file;
}

bool MemoryFile::read(std::uint64_t offset, void* buffer, std::size_t length) {
    if (offset > size() || length > size() - offset) {
        ++refused;
        return false;
    }
    ++reads;
    bytesRead += length;
    auto* out = static_cast<std::uint8_t*>(buffer);
    const std::size_t fromData = offset >= size_ ? 0 : std::min<std::uint64_t>(length, size_ - offset);
    if (fromData > 0) std::memcpy(out, data_ + offset, fromData);
    if (length > fromData) std::memset(out + fromData, 0, length - fromData);
    return true;
}

}  // namespace support
