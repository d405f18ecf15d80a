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

// Calls `onRow` with the place in the file of each live row's fixed value of `columnName` in the
// table whose definition is at `page` (none for a null).
void forEachFixedValue(const std::string& bytes, std::uint64_t page, const std::string& columnName,
                       std::size_t size, const std::function<void(std::optional<std::size_t> at)>& onRow) {
    TracedFile file(bytes);
    const jet::Header header = jet::readHeader(file);
    const jet::Pages pages(file, header);
    const jet::TableDefinition table = jet::readTableDefinition(pages, page);
    const auto column = std::find_if(table.columns.begin(), table.columns.end(),
                                     [&](const jet::Column& c) { return c.name == columnName; });
    ASSERT_NE(column, table.columns.end()) << columnName;
    jet::ScanMemo memo;
    jet::forEachLiveRow(pages, table, memo, [&](jet::Bytes row) {
        const auto value = jet::Row(row, pages.layout(), table.variableColumns > 0).fixed(*column, size);
        onRow(value ? std::optional<std::size_t>(file.offsetOf(value->data())) : std::nullopt);
    });
}

// Calls `onRow` with each catalog row's name, and the place in the file of each field.
void forEachCatalogRow(
    const std::string& bytes,
    const std::function<void(const std::string& name, std::map<CatalogField, std::size_t>&)>& onRow) {
    TracedFile file(bytes);
    const jet::Header header = jet::readHeader(file);
    const jet::Pages pages(file, header);
    const jet::TableDefinition catalog = jet::readTableDefinition(pages, 2);
    const auto column = [&](const std::string& name) {
        for (const jet::Column& c : catalog.columns)
            if (c.name == name) return c;
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
        const auto stored = row.variable(name);
        std::map<CatalogField, std::size_t> at;
        for (const auto& [field, c] : fields)
            if (const auto value = row.fixed(c, field == CatalogField::Type ? 2 : 4))
                at[field] = file.offsetOf(value->data());
        onRow(stored ? std::string(stored->begin(), stored->end()) : std::string(), at);
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
    forEachFixedValue(bytes, page, column, 4, [&](std::optional<std::size_t> at) {
        if (n++ != row) return;
        ASSERT_TRUE(at.has_value()) << "a null";
        for (std::size_t i = 0; i < 4; ++i)
            bytes[*at + i] = static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
    });
    EXPECT_GT(n, row) << table;
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
