// Page 0: the signature, the version (so the page size), and the fields under the RC4 mask (code
// page, database key). Also the file's size, which must be a whole number of pages.
#pragma once

#include <cstdint>

#include "jet_reader/layout.h"
#include "platform/platform.h"

namespace jet {

struct Header {
    const Layout* layout = nullptr;
    std::uint64_t pageCount = 0;
    std::uint32_t codePage = 0;
    std::uint32_t databaseKey = 0;  // 0: pages stored plain
};

// Throws Damage when the file is no Jet 3 or Jet 4 database or not a whole number of pages. With
// `cutShort`, a file whose end was lost is read as far as its whole pages go.
Header readHeader(platform::ReadOnlyFile& file, bool cutShort = false);

}  // namespace jet
