#include "tests/unit/test_databases.h"

#include "support/text_printer.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "jet_reader/header.h"
#include "jet_reader/pages.h"
#include "jet_reader/row.h"
#include "jet_reader/table_definition.h"
#include "jet_reader/table_scan.h"
#include "jet_reader/text.h"
#include "support/unicode.h"

namespace fake {

std::string testDatabase(const std::string& name) {
    std::string folder = HARBEK_TESTDATA_DIR;
#ifdef _WIN32
    if (!folder.empty() && folder[0] == '/') folder = "Z:" + folder;  // a Unix path, under Wine
#endif
    std::ifstream in(folder + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    EXPECT_TRUE(in.good() && bytes.str().size() > 0) << "cannot read " << folder << "/" << name;
    return bytes.str();
}

std::string utf16le(const std::u16string& text) {
    std::string bytes;
    for (const char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return bytes;
}

std::string renamed(std::string bytes, const std::string& from, const std::string& to) {
    EXPECT_EQ(from.size(), to.size());
    int found = 0;
    for (std::size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1)) {
        bytes.replace(at, from.size(), to);
        ++found;
    }
    EXPECT_GT(found, 0) << from;
    return bytes;
}

}  // namespace fake

namespace fake {

namespace {

// A file in memory that remembers where each buffer it filled came from, so that a value the
// reader found in a page it read can be traced back to its place in the file.
class TracedFile : public platform::ReadOnlyFile {
public:
    explicit TracedFile(const std::string& bytes) : bytes_(bytes) {}
    std::uint64_t size() override { return bytes_.size(); }
    bool read(std::uint64_t offset, void* buffer, std::size_t length) override {
        if (offset + length > bytes_.size()) return false;
        std::memcpy(buffer, bytes_.data() + offset, length);
        reads_[static_cast<const std::uint8_t*>(buffer)] = {offset, length};
        return true;
    }
    std::size_t offsetOf(const std::uint8_t* at) const {
        for (const auto& [buffer, read] : reads_)
            if (at >= buffer && at < buffer + read.second) return read.first + (at - buffer);
        ADD_FAILURE() << "a value outside every page read";
        return 0;
    }

private:
    const std::string& bytes_;
    std::map<const std::uint8_t*, std::pair<std::size_t, std::size_t>> reads_;
};

// A name as a definition stores it: as it is in Jet 3, UCS-2LE in Jet 4 (the names used here are
// ASCII).
std::string stored(const jet::Layout& layout, const std::string& name) {
    std::string bytes;
    for (const char c : name) {
        bytes += c;
        if (layout.version == 4) bytes += '\0';
    }
    return bytes;
}

// Calls `onRow` with the place in the file and the length of each live row's value of the column
// `columnName` in the table whose definition is at `page` (none for a null): a fixed value of
// `size` bytes, or a variable one when `size` is 0.
void forEachValue(const std::string& bytes, std::uint64_t page, const std::string& columnName,
                  std::size_t size,
                  const std::function<void(std::optional<std::pair<std::size_t, std::size_t>> at)>& onRow) {
    TracedFile file(bytes);
    const jet::Header header = jet::readHeader(file);
    const jet::Pages pages(file, header);
    const jet::TableDefinition table = jet::readTableDefinition(pages, page);
    const auto column = std::find_if(table.columns.begin(), table.columns.end(), [&](const jet::Column& c) {
        if (pages.layout().version != 4) return c.name == columnName;
        const auto* name = reinterpret_cast<const std::uint8_t*>(c.name.data());
        return support::utf8(jet::ucs2Text(jet::Bytes(name, c.name.size()))) == columnName;
    });
    ASSERT_NE(column, table.columns.end()) << columnName;
    jet::ScanMemo memo;
    jet::forEachLiveRow(pages, table, memo, [&](jet::Bytes row) {
        const jet::Row values(row, pages.layout(), table.variableColumns > 0);
        const auto value = size > 0 ? values.fixed(*column, size) : values.variable(*column);
        if (!value) return onRow(std::nullopt);
        onRow(std::pair(file.offsetOf(value->data()), value->size()));
    });
}

// Calls `onRow` with each catalog row's name (UTF-8), and the place in the file of each field.
void forEachCatalogRow(
    const std::string& bytes,
    const std::function<void(const std::string& name, std::map<CatalogField, std::size_t>&)>& onRow) {
    TracedFile file(bytes);
    const jet::Header header = jet::readHeader(file);
    const jet::Pages pages(file, header);
    const jet::TableDefinition catalog = jet::readTableDefinition(pages, 2);
    const auto column = [&](const std::string& name) {
        for (const jet::Column& c : catalog.columns)
            if (c.name == stored(pages.layout(), name)) return c;
        ADD_FAILURE() << "no catalog column " << name;
        return jet::Column{};
    };
    const jet::Column name = column("Name");
    const std::pair<CatalogField, jet::Column> fields[] = {{CatalogField::Id, column("Id")},
                                                           {CatalogField::Type, column("Type")},
                                                           {CatalogField::ParentId, column("ParentId")},
                                                           {CatalogField::Flags, column("Flags")}};
    jet::ScanMemo memo;
    jet::forEachLiveRow(pages, catalog, memo, [&](jet::Bytes bytes) {
        const jet::Row row(bytes, pages.layout(), true);
        const auto nameValue = row.variable(name);
        std::map<CatalogField, std::size_t> at;
        for (const auto& [field, c] : fields)
            if (const auto value = row.fixed(c, field == CatalogField::Type ? 2 : 4))
                at[field] = file.offsetOf(value->data());
        std::string text = nameValue ? std::string(nameValue->begin(), nameValue->end()) : std::string();
        if (nameValue && pages.layout().version == 4) text = support::utf8(jet::ucs2Text(*nameValue));
        onRow(text, at);
    });
}

}  // namespace

std::string withCatalogField(std::string bytes, const std::string& name, CatalogField field,
                             std::int32_t value) {
    int found = 0;
    forEachCatalogRow(bytes, [&](const std::string& rowName, std::map<CatalogField, std::size_t>& at) {
        if (rowName != name || !at.count(field)) return;
        const std::size_t size = field == CatalogField::Type ? 2 : 4;
        for (std::size_t i = 0; i < size; ++i)
            bytes[at[field] + i] = static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
        ++found;
    });
    EXPECT_EQ(found, 1) << name;
    return bytes;
}

std::string withLong(std::string bytes, const std::string& table, const std::string& column, std::size_t row,
                     std::int32_t value) {
    std::uint64_t page = 0;
    forEachCatalogRow(bytes, [&](const std::string& name, std::map<CatalogField, std::size_t>& at) {
        if (name != table) return;
        for (int i = 3; i >= 0; --i)
            page = page << 8 | static_cast<std::uint8_t>(bytes[at[CatalogField::Id] + i]);
    });
    std::size_t n = 0;
    forEachValue(bytes, page, column, 4, [&](std::optional<std::pair<std::size_t, std::size_t>> at) {
        if (n++ != row) return;
        ASSERT_TRUE(at.has_value()) << "a null";
        for (std::size_t i = 0; i < 4; ++i)
            bytes[at->first + i] = static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
    });
    EXPECT_GT(n, row) << table;
    return bytes;
}

std::string withText(std::string bytes, const std::string& table, const std::string& column,
                     const std::u16string& from, const std::u16string& to) {
    EXPECT_EQ(from.size(), to.size());
    std::uint64_t page = 0;
    forEachCatalogRow(bytes, [&](const std::string& name, std::map<CatalogField, std::size_t>& at) {
        if (name != table) return;
        for (int i = 3; i >= 0; --i)
            page = page << 8 | static_cast<std::uint8_t>(bytes[at[CatalogField::Id] + i]);
    });
    const bool jet4 = bytes.size() > 0x14 && bytes[0x14] != 0;
    const auto encoded = [&](const std::u16string& text) {
        return jet4 ? utf16le(text) : support::utf8(text);
    };
    int found = 0;
    forEachValue(bytes, page, column, 0, [&](std::optional<std::pair<std::size_t, std::size_t>> at) {
        if (!at || bytes.compare(at->first, at->second, encoded(from)) != 0) return;
        bytes.replace(at->first, at->second, encoded(to));
        ++found;
    });
    EXPECT_GT(found, 0) << table << "." << column;
    return bytes;
}

std::string withField(std::string bytes, const std::string& table, const std::string& column,
                      const std::function<bool(char* field, std::size_t size)>& edit) {
    std::uint64_t page = 0;
    forEachCatalogRow(bytes, [&](const std::string& name, std::map<CatalogField, std::size_t>& at) {
        if (name != table) return;
        for (int i = 3; i >= 0; --i)
            page = page << 8 | static_cast<std::uint8_t>(bytes[at[CatalogField::Id] + i]);
    });
    bool edited = false;
    forEachValue(bytes, page, column, 0, [&](std::optional<std::pair<std::size_t, std::size_t>> at) {
        if (at && !edited) edited = edit(bytes.data() + at->first, at->second);
    });
    EXPECT_TRUE(edited) << table << "." << column;
    return bytes;
}

std::int32_t containerId(const std::string& bytes, const std::string& name) {
    std::int32_t id = 0;
    forEachCatalogRow(bytes, [&](const std::string& rowName, std::map<CatalogField, std::size_t>& at) {
        if (rowName != name || !at.count(CatalogField::Id)) return;
        for (int i = 3; i >= 0; --i)
            id = static_cast<std::int32_t>(static_cast<std::uint32_t>(id) << 8 |
                                           static_cast<std::uint8_t>(bytes[at[CatalogField::Id] + i]));
    });
    EXPECT_NE(id, 0) << name;
    return id;
}

}  // namespace fake
