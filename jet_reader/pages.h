// The file's pages, read one at a time into a buffer the caller owns, and decrypted when the
// database key is not 0. Every page number is checked against the page count first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet_reader/header.h"
#include "jet_reader/layout.h"
#include "platform/platform.h"

namespace jet {

using Page = std::vector<std::uint8_t>;

class Pages {
public:
    Pages(platform::ReadOnlyFile& file, const Header& header) : file_(file), header_(header) {}

    const Layout& layout() const { return *header_.layout; }
    std::uint64_t count() const { return header_.pageCount; }

    // Reads page `n` into `page` (sized to a page). `what` names the page in a reason: "data"
    // gives "data page 7 is past the end of the file (6 pages)". Throws Damage.
    void read(std::uint64_t n, Page& page, const char* what) const;
    // The same, and the page must be of `type`.
    void read(std::uint64_t n, Page& page, std::uint8_t type, const char* what) const;

    // Throws Damage unless `n` names a page of the file.
    void requireInFile(std::uint64_t n, const char* what) const;

    // The page read last: where damage found now lies, or the page that points to it.
    std::uint64_t lastRead() const { return lastRead_; }

private:
    platform::ReadOnlyFile& file_;
    Header header_;
    mutable std::uint64_t lastRead_ = 0;
};

}  // namespace jet
