#include "original_rows.h"

#include <algorithm>
#include <set>
#include <stdexcept>

#include "jet_reader/data_page.h"
#include "jet_reader/header.h"
#include "jet_reader/row.h"
#include "jet_reader/row_digest.h"
#include "jet_reader/table_definition.h"
#include "jet_reader/text.h"
#include "jet_reader/usage_map.h"
#include "jet_reader/value_decoder.h"
#include "support/memory_file.h"
#include "support/unicode.h"

namespace recovery {

namespace {

constexpr std::size_t kNextDefinitionAt = 4;  // in a definition page: its continuation, 0 ends
constexpr int kMaxOverflowHops = 4;           // as the reader follows them

// A file that notes the pages read through it.
class RecordingFile : public platform::ReadOnlyFile {
public:
    RecordingFile(platform::ReadOnlyFile& file, std::uint32_t pageSize) : file_(file), pageSize_(pageSize) {}

    std::uint64_t size() override { return file_.size(); }
    bool read(std::uint64_t offset, void* buffer, std::size_t length) override {
        pagesRead.insert(offset / pageSize_);
        return file_.read(offset, buffer, length);
    }

    std::set<std::uint64_t> pagesRead;

private:
    platform::ReadOnlyFile& file_;
    std::uint32_t pageSize_;
};

class TableWalk {
public:
    TableWalk(platform::ReadOnlyFile& file, const jet::Header& header, const jet::CodePageDecoder& decode)
        : pages_(file, header), recorder_(file, header.layout->pageSize), recorded_(recorder_, header),
          codePage_(header.codePage), decode_(decode) {}

    void walk(OriginalTable& table, std::uint64_t definitionPage) {
        const jet::TableDefinition definition = jet::readTableDefinition(pages_, definitionPage);
        table.definitionPages = definitionChain(definitionPage);
        columns_.clear();
        for (const jet::Column& c : definition.columns) columns_.push_back(&c);
        std::stable_sort(columns_.begin(), columns_.end(),
                         [](const jet::Column* a, const jet::Column* b) { return a->number < b->number; });
        row_.clear();
        std::vector<std::u16string> names;
        for (const jet::Column* c : columns_) {
            names.push_back(nameOf(c->name));
            row_.push_back({names.back(), c->type, {}});
        }
        const jet::RowDigester digester(names);
        std::vector<std::uint64_t> mapped;
        jet::forEachMappedPage(pages_, definition.ownedPages, [&](std::uint64_t n) { mapped.push_back(n); });
        const jet::Layout& layout = pages_.layout();
        jet::Page page;
        for (const std::uint64_t n : mapped) {
            pages_.read(n, page, "data");
            if (page[0] != jet::kDataPage) continue;  // skipped by the reader too
            for (std::size_t i = 0; i < jet::slotCount(page, layout); ++i) {
                const std::uint16_t entry = jet::slotEntry(page, layout, i);
                if ((entry & jet::kNotLiveRow) != 0) continue;
                OriginalRow row;
                row.pages.push_back(n);
                const jet::Bytes bytes = jet::slotRow(page, layout, i);
                if ((entry & jet::kOverflowRow) != 0)
                    row.digest = digestOf(overflowBody(bytes, row.pages), definition, digester, row.pages);
                else
                    row.digest = digestOf(bytes, definition, digester, row.pages);
                std::sort(row.pages.begin(), row.pages.end());
                row.pages.erase(std::unique(row.pages.begin(), row.pages.end()), row.pages.end());
                table.rows.push_back(std::move(row));
            }
        }
    }

private:
    std::vector<std::uint64_t> definitionChain(std::uint64_t first) {
        std::vector<std::uint64_t> chain;
        jet::Page page;
        for (std::uint64_t n = first; n != 0 && chain.size() < pages_.count();) {
            pages_.read(n, page, jet::kDefinitionPage, "table definition");
            chain.push_back(n);
            n = jet::u32(page, kNextDefinitionAt);
        }
        return chain;
    }

    // The body an overflowed row's pointer leads to, through as many hops as the reader follows;
    // the pages of each hop go to `pages`.
    jet::Bytes overflowBody(jet::Bytes pointerRow, std::vector<std::uint64_t>& pages) {
        for (int hop = 0; hop < kMaxOverflowHops; ++hop) {
            const jet::PointedRow body =
                jet::readPointedRow(pages_, jet::u32(pointerRow, 0), overflow_, "overflow");
            pages.push_back(body.page);
            if ((body.entry & jet::kOverflowRow) == 0) return body.bytes;
            pointerRow = body.bytes;
        }
        throw std::runtime_error("an overflowed row's pointers go on too long");
    }

    // Decodes the row through a decoder of its own over the recording file, so that every LVAL
    // page its values lie on is read again, and noted in `pages`.
    jet::Digest digestOf(jet::Bytes bytes, const jet::TableDefinition& definition,
                         const jet::RowDigester& digester, std::vector<std::uint64_t>& pages) {
        recorder_.pagesRead.clear();
        jet::LongValueMemo memo;
        jet::ValueDecoder decoder(recorded_, codePage_, decode_, memo);
        const jet::Row row(bytes, pages_.layout(), definition.variableColumns > 0);
        for (std::size_t i = 0; i < columns_.size(); ++i) row_[i].value = decoder.decode(row, *columns_[i]);
        pages.insert(pages.end(), recorder_.pagesRead.begin(), recorder_.pagesRead.end());
        return digester.digest(row_);
    }

    jet::Text nameOf(const std::string& stored) const {
        if (pages_.layout().version != 4) return decode_(codePage_, stored);
        return jet::ucs2Text(jet::Bytes(reinterpret_cast<const std::uint8_t*>(stored.data()), stored.size()));
    }

    jet::Pages pages_;
    RecordingFile recorder_;
    jet::Pages recorded_;
    std::uint32_t codePage_;
    const jet::CodePageDecoder& decode_;
    std::vector<const jet::Column*> columns_;
    std::vector<jet::NamedValue> row_;
    jet::Page overflow_;
};

}  // namespace

Original readOriginal(const std::string& bytes, const jet::CodePageDecoder& decode) {
    support::MemoryFile file(bytes);
    const jet::Reading reading = jet::read(file, decode, jet::ValueReading{});
    if (!reading.database) throw std::runtime_error(reading.problem);
    Original original;
    original.pageSize = reading.database->pageSize;
    const jet::Header header = jet::readHeader(file);
    TableWalk walk(file, header, decode);
    for (const jet::Table& table : reading.database->tables) {
        const std::string name = support::utf8(table.name);
        if (!table.rowDigests) {
            if (!table.user) continue;
            throw std::runtime_error("user table " + name + ": " + table.problem + table.valueProblem);
        }
        OriginalTable& t = original.tables.emplace_back();
        t.name = table.name;
        t.user = table.user;
        t.digests = *table.rowDigests;
        if (!table.user) continue;
        try {
            walk.walk(t, table.definitionPage);
        } catch (const jet::Damage& damage) {
            throw std::runtime_error("user table " + name + ": the walk of its pages found " + damage.reason);
        }
        std::vector<jet::Digest> walked;
        for (const OriginalRow& row : t.rows) walked.push_back(row.digest);
        std::sort(walked.begin(), walked.end());
        if (walked != t.digests)
            throw std::runtime_error("user table " + name +
                                     ": the walk of its pages found other rows than the reader");
        original.userRows += t.rows.size();
    }
    return original;
}

std::vector<bool> touchedPages(const std::string& original, const std::string& damaged,
                               std::uint32_t pageSize) {
    std::vector<bool> touched(original.size() / pageSize);
    for (std::size_t n = 0; n < touched.size(); ++n) {
        const std::size_t at = n * pageSize;
        touched[n] =
            damaged.size() < at + pageSize || original.compare(at, pageSize, damaged, at, pageSize) != 0;
    }
    return touched;
}

std::uint64_t limitRows(const Original& original, const std::vector<bool>& touched) {
    const auto whole = [&](const std::vector<std::uint64_t>& pages) {
        return std::none_of(pages.begin(), pages.end(),
                            [&](std::uint64_t n) { return n >= touched.size() || touched[n]; });
    };
    std::uint64_t rows = 0;
    for (const OriginalTable& table : original.tables) {
        if (!table.user || !whole(table.definitionPages)) continue;
        rows += std::count_if(table.rows.begin(), table.rows.end(),
                              [&](const OriginalRow& r) { return whole(r.pages); });
    }
    return rows;
}

}  // namespace recovery
