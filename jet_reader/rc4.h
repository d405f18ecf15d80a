// RC4, as Jet uses it: to mask the header's fields and to encrypt pages under the database key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace jet {

// XORs `data` with the RC4 keystream of `key` (from the keystream's start).
void rc4(std::span<const std::uint8_t> key, std::span<std::uint8_t> data);

}  // namespace jet
