#include "jet_reader/table_values.h"

#include <algorithm>

#include "jet_reader/text.h"

namespace jet {

namespace {

// Damage in a column's values or definition, with the column named in the reason.
[[noreturn]] void failIn(const Column& column, const Damage& damage) {
    fail("column " + std::to_string(column.number) + " (type " + hex(column.type) + "): " + damage.reason);
}

}  // namespace

TableValues::TableValues(const Pages& pages, const TableDefinition& definition, const Table& table,
                         const ValueReading& reading, ValueDecoder& values, std::uint32_t codePage,
                         const CodePageDecoder& decode, Skips* skips)
    : layout_(pages.layout()), definition_(definition), table_(table), reading_(reading), values_(values),
      pages_(pages), skips_(skips) {
    const Layout& layout = layout_;
    for (const Column& c : definition.columns) columns_.push_back(&c);
    std::stable_sort(columns_.begin(), columns_.end(),
                     [](const Column* a, const Column* b) { return a->number < b->number; });
    try {
        std::vector<std::u16string> names;
        for (const Column* c : columns_) {
            try {
                requireDecodable(*c, layout);
            } catch (const Damage& damage) {
                failIn(*c, damage);
            }
            const Bytes stored(reinterpret_cast<const std::uint8_t*>(c->name.data()), c->name.size());
            names.push_back(layout.version == 4 ? ucs2Text(stored) : decode(codePage, c->name));
            row_.push_back({names.back(), c->type, {}});
        }
        digester_.emplace(names);
        // The count the definition keeps is the number of digests in a sound file: room for them at
        // once holds the memory to 32 bytes a row; a count that lies costs at most a megarow's room.
        if (reading.digests) digests_.reserve(std::min<std::size_t>(definition.storedRows, 1 << 20));
    } catch (const Damage& damage) {
        problem_ = damage.reason;
        problemPage_ = pages.lastRead();
    }
}

void TableValues::add(Bytes row) {
    if (!problem_.empty()) return;
    if (skips_ != nullptr) return decode(row);
    try {
        decode(row);
    } catch (const Damage& damage) {
        problem_ = damage.reason;
        problemPage_ = pages_.lastRead();
        digests_ = {};
    }
}

void TableValues::decode(Bytes bytes) {
    // Never in the files, so damage here (docs/jet-format.md section 8.2): a row with more columns
    // or variable values than its table ever numbered.
    const Row row(bytes, layout_, definition_.variableColumns > 0);
    if (row.columnCount() > definition_.maxColumns || row.variableCount() > definition_.variableColumns)
        fail("a row holds " + std::to_string(row.columnCount()) + " columns and " +
             std::to_string(row.variableCount()) + " variable values; its table numbers only " +
             std::to_string(definition_.maxColumns) + " and " + std::to_string(definition_.variableColumns));
    bool whole = true;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        row_[i].unreadable = false;
        try {
            row_[i].value = values_.decode(row, *columns_[i]);
        } catch (const Damage& damage) {
            if (skips_ == nullptr) failIn(*columns_[i], damage);
            row_[i].value = {};
            row_[i].unreadable = true;
            skips_->value();
            whole = false;
        }
    }
    if (reading_.onRow) reading_.onRow(table_, row_);
    if (reading_.digests && whole) digests_.push_back(digester_->digest(row_));
}

void TableValues::finish(Table& table) {
    for (const NamedValue& v : row_) table.columns.push_back(v.column);
    table.valueProblem = problem_;
    if (!problem_.empty()) table.problemPage = problemPage_;
    if (!problem_.empty() || !reading_.digests) return;
    std::sort(digests_.begin(), digests_.end());
    table.rowDigests = std::move(digests_);
}

}  // namespace jet
