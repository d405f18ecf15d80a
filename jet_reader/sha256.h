// SHA-256 (FIPS 180-4), written here so that the reader needs no library: the digest of a row's
// canonical form (row_digest.h). Bytes go in by parts; the digest comes out once, at the end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace jet {

using Digest = std::array<std::uint8_t, 32>;

class Sha256 {
public:
    Sha256();
    void add(std::span<const std::uint8_t> bytes);
    // The digest of everything added; the hash is spent afterwards.
    Digest finish();

private:
    void compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> block_{};
    std::size_t used_ = 0;      // bytes waiting in block_
    std::uint64_t length_ = 0;  // bytes added in all
};

}  // namespace jet
