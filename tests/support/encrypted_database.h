// A plain database's bytes with every page n >= 1 RC4-encrypted under key (`key` XOR n), and the
// key written into the header's masked area unless told otherwise: no encrypted file is in the
// test data, so the tests make them, with the reader's own RC4.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <span>

#include "jet_reader/rc4.h"

namespace support {

// `Bytes`: a std::string or a std::vector of single bytes.
template <typename Bytes>
Bytes encrypted(Bytes plain, std::uint32_t key, bool keyInHeader = true) {
    const auto le = [](std::uint32_t v) {
        std::array<std::uint8_t, 4> bytes{};
        for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(v >> (8 * i));
        return bytes;
    };
    auto* data = reinterpret_cast<std::uint8_t*>(plain.data());
    const bool jet3 = plain.at(0x14) == 0;
    const std::size_t pageSize = jet3 ? 2048 : 4096;
    if (keyInHeader) {
        const std::span<std::uint8_t> masked(data + 0x18, jet3 ? 126 : 128);
        const std::array<std::uint8_t, 4> maskKey = {0xC7, 0xDA, 0x39, 0x6B};
        jet::rc4(maskKey, masked);
        std::memcpy(data + 0x3E, le(key).data(), 4);
        jet::rc4(maskKey, masked);
    }
    for (std::size_t n = 1; n < plain.size() / pageSize; ++n)
        jet::rc4(le(key ^ static_cast<std::uint32_t>(n)), {data + n * pageSize, pageSize});
    return plain;
}

}  // namespace support
