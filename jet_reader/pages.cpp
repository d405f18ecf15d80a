#include "jet_reader/pages.h"

#include <array>

#include "jet_reader/damage.h"
#include "jet_reader/rc4.h"

namespace jet {

namespace {

std::string named(const char* what, std::uint64_t n) {
    return std::string(what) + " page " + std::to_string(n);
}

}  // namespace

void Pages::requireInFile(std::uint64_t n, const char* what) const {
    if (n >= count())
        fail(named(what, n) + " is past the end of the file (" + std::to_string(count()) + " pages)");
}

void Pages::read(std::uint64_t n, Page& page, const char* what) const {
    requireInFile(n, what);
    lastRead_ = n;
    const std::uint32_t size = layout().pageSize;
    page.resize(size);
    if (!file_.read(n * size, page.data(), size)) fail(named(what, n) + " could not be read");
    // Every page but the header is RC4-encrypted with the key (database key XOR page number), as
    // four little-endian bytes.
    if (header_.databaseKey != 0 && n != 0) {
        const std::uint32_t key = header_.databaseKey ^ static_cast<std::uint32_t>(n);
        const std::array<std::uint8_t, 4> keyBytes = {
            static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(key >> 8),
            static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 24)};
        rc4(keyBytes, page);
    }
}

void Pages::read(std::uint64_t n, Page& page, std::uint8_t type, const char* what) const {
    read(n, page, what);
    if (page[0] != type) fail(named(what, n) + " has type " + hex(page[0]) + ", not " + hex(type));
}

}  // namespace jet
