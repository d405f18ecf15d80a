#include "jet_reader/header.h"

#include <array>
#include <cstring>
#include <string>

#include "jet_reader/damage.h"
#include "jet_reader/rc4.h"

namespace jet {

namespace {

constexpr std::size_t kSignatureAt = 0x04;
constexpr char kJetSignature[] = "Standard Jet DB";  // with its NUL: 16 bytes
constexpr char kAceSignature[] = "Standard ACE DB";
constexpr std::size_t kVersionAt = 0x14;
constexpr std::size_t kMaskedAt = 0x18;
constexpr std::size_t kCodePageAt = 0x3C;
constexpr std::size_t kDatabaseKeyAt = 0x3E;
constexpr std::array<std::uint8_t, 4> kMaskKey = {0xC7, 0xDA, 0x39, 0x6B};
constexpr std::size_t kMinimumPages = 3;  // header, global usage map, catalog

}  // namespace

Header readHeader(platform::ReadOnlyFile& file, bool cutShort) {
    const std::uint64_t size = file.size();
    std::array<std::uint8_t, kMaskedAt + kJet4.maskedLength> head{};
    if (size < kJet3.pageSize)
        fail("the file is too short for a Jet database (" + std::to_string(size) + " bytes)");
    require(file.read(0, head.data(), head.size()), "the header could not be read");

    const auto signatureIs = [&](const char(&signature)[16]) {
        return std::memcmp(head.data() + kSignatureAt, signature, sizeof signature) == 0;
    };
    require(!signatureIs(kAceSignature), "an ACE database (.accdb), not Jet 3 or Jet 4");
    require(signatureIs(kJetSignature), "no \"Standard Jet DB\" signature at offset 4");
    if (head[0] != 0x00) fail("page 0 has type " + hex(head[0]) + ", not 0x00");

    const std::uint8_t version = head[kVersionAt];
    if (version > 1)
        fail("version byte " + hex(version) +
             " at 0x14: an ACE database or an unknown version, not Jet 3 or 4");
    Header header;
    header.layout = version == 0 ? &kJet3 : &kJet4;
    const std::uint32_t pageSize = header.layout->pageSize;
    if (size % pageSize != 0 && !cutShort)
        fail("the file's size (" + std::to_string(size) + " bytes) is not a whole number of " +
             std::to_string(pageSize) + "-byte pages");
    header.pageCount = size / pageSize;
    if (header.pageCount < (cutShort ? 1 : kMinimumPages))
        fail("the file holds fewer than 3 pages (" + std::to_string(header.pageCount) + ")");

    std::span<std::uint8_t> masked(head.data() + kMaskedAt, header.layout->maskedLength);
    rc4(kMaskKey, masked);
    header.codePage = u16(head, kCodePageAt);
    header.databaseKey = u32(head, kDatabaseKeyAt);
    return header;
}

}  // namespace jet
