// mCheckCopy: reads the compactor's copy, and the original beside it, before the run swaps them.
// Neither the compactor's exit code nor the copy's mere existence says that the copy is the user's
// database: the copy must read as one, every value of it, and hold every table, every row with
// every value, and every object, relationship and index that the original held. A compactor may
// keep a row and change what is in it, so rows are compared by their values, not counted. The
// compactor records the damage it met in a table of the copy, MSysCompactError, and says nothing
// else of it, so what that table says is shown too.
#include <algorithm>
#include <variant>

#include "jet_reader/jet_reader.h"
#include "main_window/frmMain.h"
#include "standard/text_format.h"

namespace frmMain {

namespace {

const Text kCompactErrors = u"MSysCompactError";
const Text kRelationships = u"MSysRelationships";
constexpr std::size_t kFindingsShown = 10;

// Jet finds a table whatever the case of the letters in its name.
bool sameName(const Text& a, const Text& b) { return mdlFunctionStandard::sameIgnoringAsciiCase(a, b); }

const jet::Table* tableNamed(const jet::Database& database, const Text& name) {
    for (const jet::Table& table : database.tables)
        if (sameName(table.name, name)) return &table;
    return nullptr;
}

const char16_t* kindWord(jet::ObjectKind kind) {
    switch (kind) {
        case jet::ObjectKind::Query:
            return u"クエリ";
        case jet::ObjectKind::LinkedTable:
            return u"リンクテーブル";
        case jet::ObjectKind::Form:
            return u"フォーム";
        case jet::ObjectKind::Report:
            return u"レポート";
        case jet::ObjectKind::Macro:
            return u"マクロ";
        case jet::ObjectKind::Module:
            return u"モジュール";
    }
    return u"";
}

bool holds(const jet::Database& database, const jet::Object& object) {
    return std::any_of(database.objects.begin(), database.objects.end(), [&](const jet::Object& o) {
        return o.kind == object.kind && sameName(o.name, object.name);
    });
}

bool holds(const jet::Table& table, const jet::Index& index) {
    return std::any_of(table.indexes.begin(), table.indexes.end(),
                       [&](const jet::Index& i) { return sameName(i.name, index.name); });
}

using mdlFunctionStandard::count;

// The rows of a table of the original without an identical row in the copy (what the user would
// lose: their digests), and how many of the copy's have none in the original. Both lists are sorted.
struct RowDifference {
    std::vector<jet::Digest> lost;
    std::uint64_t added = 0;
};

RowDifference difference(const std::vector<jet::Digest>& before, const std::vector<jet::Digest>& after) {
    RowDifference d;
    auto a = before.begin();
    auto b = after.begin();
    while (a != before.end() && b != after.end()) {
        if (*a < *b) {
            d.lost.push_back(*a);
            ++a;
        } else if (*b < *a) {
            ++d.added;
            ++b;
        } else {
            ++a;
            ++b;
        }
    }
    d.lost.insert(d.lost.end(), a, before.end());
    d.added += static_cast<std::uint64_t>(after.end() - b);
    return d;
}

// One line for a table whose rows differ; empty when they do not. The rows lost go to `lost`. A
// table of the original whose values could not all be decoded is compared by its count, and by
// those of its rows that read whole: what the copy lacks of them is lost. Where the original's
// pages were damaged, rows of the copy it does not hold may be the compactor's finds, and are no
// finding.
Text rowsFinding(const jet::Table& before, const jet::Table& after, std::vector<LostRows>& lost) {
    RowDifference d;
    if (before.rowDigests && after.rowDigests) d = difference(*before.rowDigests, *after.rowDigests);
    std::uint64_t lostCount = d.lost.size();
    if (!before.rowDigests || before.skipped > 0) {  // not every row of the original compared
        const std::uint64_t b = *before.rows;
        const std::uint64_t a = *after.rows;
        lostCount = std::max(lostCount, b > a ? b - a : 0);
        d.added = before.skipped == 0 && a > b ? a - b : 0;
    }
    if (!d.lost.empty()) lost.push_back({before.name, std::move(d.lost), false});
    const Text counts = u"（行数: " + count(*before.rows) + u" → " + count(*after.rows) + u"）。";
    const Text table = u"テーブル「" + before.name + u"」: ";
    if (lostCount > 0)
        return table + u"修復前の行のうち" + count(lostCount) + u"行が、同じ内容では修復後にありません" +
               counts;
    if (d.added > 0) return table + u"修復前にない行が" + count(d.added) + u"行、修復後にあります" + counts;
    return Text();
}

// A table the catalog of the original no longer listed, found by the scan for definitions: its
// name is not its own, so its rows are looked for in every user table of the copy (`held`: all of
// their digests, sorted).
Text scannedFinding(const jet::Table& before, const std::vector<jet::Digest>& held,
                    std::vector<LostRows>& lost) {
    if (!before.rowDigests) return Text();
    RowDifference d = difference(*before.rowDigests, held);
    if (d.lost.empty()) return Text();
    const std::uint64_t missing = d.lost.size();
    lost.push_back({before.name, std::move(d.lost), false});
    return u"テーブル「" + before.name + u"」: 修復前の行のうち" + count(missing) +
           u"行が、同じ内容では修復後にありません（行数: " + count(*before.rows) + u" → " +
           count(*before.rows - missing) + u"）。";
}

const jet::NamedValue* column(const std::vector<jet::NamedValue>& row, const Text& name) {
    for (const jet::NamedValue& value : row)
        if (sameName(value.column, name)) return &value;
    return nullptr;
}

// A value of MSysCompactError as its line shows it: text as it is, a number in decimal; empty
// for a null, a missing column or any other type.
Text shown(const jet::NamedValue* value) {
    if (!value) return Text();
    if (const auto* text = std::get_if<std::u16string>(&value->value)) return *text;
    if (const auto* n = std::get_if<std::int32_t>(&value->value)) return mdlFunctionStandard::decimal(*n);
    if (const auto* n = std::get_if<std::int16_t>(&value->value)) return mdlFunctionStandard::decimal(*n);
    if (const auto* n = std::get_if<std::uint8_t>(&value->value)) return mdlFunctionStandard::decimal(*n);
    return Text();
}

// "・テーブル「ErrorTable」: ErrorDescription（ErrorCode）", each part left out when it is empty.
Text compactErrorLine(const std::vector<jet::NamedValue>& row) {
    const Text table = shown(column(row, u"ErrorTable"));
    const Text description = shown(column(row, u"ErrorDescription"));
    const Text code = shown(column(row, u"ErrorCode"));
    const Text said = description + (code.empty() ? Text() : u"（" + code + u"）");
    Text line = u"・";
    if (!table.empty()) line += u"テーブル「" + table + u"」" + (said.empty() ? Text() : Text(u": "));
    return line + said;
}

constexpr std::size_t kCompactErrorsShown = 3;

// A relationship as MSysRelationships holds it, a row for each pair of columns it joins: its name,
// the table of the foreign key (szObject) and the table it refers to (szReferencedObject).
struct Relationship {
    Text name, table, referenced;
};

// Takes a row of MSysRelationships, the first of each relationship; passes over other tables' rows.
void addRelationship(std::vector<Relationship>& relationships, const jet::Table& table,
                     const std::vector<jet::NamedValue>& row) {
    if (!sameName(table.name, kRelationships)) return;
    Relationship r{shown(column(row, u"szRelationship")), shown(column(row, u"szObject")),
                   shown(column(row, u"szReferencedObject"))};
    if (r.name.empty()) return;
    for (const Relationship& known : relationships)
        if (sameName(known.name, r.name)) return;
    relationships.push_back(std::move(r));
}

// A table of the system's: so named (Access names its own "MSys…"), or marked so in the catalog.
bool systemTable(const jet::Database& database, const Text& name) {
    if (sameName(name.substr(0, 4), u"MSys")) return true;
    const jet::Table* table = tableNamed(database, name);
    return table && !table->user;
}

}  // namespace

CopyCheck mCheckCopy(platform::FileSystem& fileSystem, const Text& source, const Text& afterName) {
    CopyCheck check;
    std::vector<Text> compactErrors;
    std::vector<Relationship> copyRelationships;
    jet::ValueReading copyValues;
    copyValues.onRow = [&](const jet::Table& table, const std::vector<jet::NamedValue>& row) {
        if (compactErrors.size() < kCompactErrorsShown && sameName(table.name, kCompactErrors))
            if (Text line = compactErrorLine(row); line != u"・") compactErrors.push_back(line);
        addRelationship(copyRelationships, table, row);
    };
    const jet::Reading copyReading = readLive(fileSystem, afterName, copyValues);
    const std::optional<jet::Database>& copy = copyReading.database;
    // Every table of the copy, the system's too, must read, every value of it: a cut or damaged
    // copy shows first in the pages of whichever table lay where the damage is.
    if (!copy) {
        check.damagePage = copyReading.problemPage;
        return check;
    }
    for (const jet::Table& t : copy->tables)
        if (!t.rows || !t.rowDigests) {
            check.damagePage = t.problemPage;
            return check;
        }
    check.copyReadable = true;

    // A damaged original often cannot be read: that is why it is being repaired. Then there is
    // nothing to compare the copy with.
    std::vector<Relationship> relationships;
    // Its rows are read past damage: a row the copy lacks is news wherever it was read.
    jet::ValueReading originalValues;
    originalValues.pastDamage = true;
    originalValues.onRow = [&](const jet::Table& table, const std::vector<jet::NamedValue>& row) {
        addRelationship(relationships, table, row);
    };
    const std::optional<jet::Database> original = readLive(fileSystem, source, originalValues).database;
    check.everyRowCompared = original.has_value();
    if (original) {
        if (original->unreadablePages + original->unreadableValues > 0) check.everyRowCompared = false;
        // A table the scan found is the system's when the copy has a system table of its columns.
        std::vector<jet::Digest> held;  // every row of the copy's user tables, once a table needs them
        for (const jet::Table& table : original->tables) {
            if (table.scanned && held.empty()) {
                for (const jet::Table& t : copy->tables)
                    if (t.user) held.insert(held.end(), t.rowDigests->begin(), t.rowDigests->end());
                std::sort(held.begin(), held.end());
            }
            if (!table.scanned ||
                std::any_of(copy->tables.begin(), copy->tables.end(),
                            [&](const jet::Table& t) { return !t.user && t.columns == table.columns; }))
                continue;
            if (Text finding = scannedFinding(table, held, check.lost); !finding.empty())
                check.findings.push_back(finding);
        }
        for (const jet::Table& table : original->tables) {
            if (!table.user || table.scanned || sameName(table.name, kCompactErrors)) continue;
            // A table the copy holds only as a system table is as good as gone for the user.
            const jet::Table* kept = tableNamed(*copy, table.name);
            if (!kept || !kept->user) {
                check.findings.push_back(u"テーブル「" + table.name + u"」がありません。");
                check.lost.push_back({table.name, {}, true});
            } else if (!table.rows) {
                check.everyRowCompared = false;
            } else {
                if (!table.rowDigests) check.everyRowCompared = false;
                if (Text finding = rowsFinding(table, *kept, check.lost); !finding.empty())
                    check.findings.push_back(finding);
            }
        }
        // A compaction keeps every object, so one missing is news; their contents are not read.
        for (const jet::Object& object : original->objects)
            if (!holds(*copy, object))
                check.findings.push_back(kindWord(object.kind) + (u"「" + object.name + u"」がありません。"));
        // So is a relationship, but those Access makes between its own tables, which one version
        // keeps and another does not.
        for (const Relationship& r : relationships) {
            if (systemTable(*original, r.table) && systemTable(*original, r.referenced)) continue;
            if (std::none_of(copyRelationships.begin(), copyRelationships.end(),
                             [&](const Relationship& kept) { return sameName(kept.name, r.name); }))
                check.findings.push_back(u"リレーションシップ「" + r.name + u"」がありません。");
        }
        // And an index of a table the copy holds, but those a relationship makes, which go with it.
        for (const jet::Table& table : original->tables) {
            const jet::Table* kept = table.user ? tableNamed(*copy, table.name) : nullptr;
            if (!kept || !kept->user || sameName(table.name, kCompactErrors)) continue;
            for (const jet::Index& index : table.indexes)
                if (!index.foreignKey && !holds(*kept, index))
                    check.findings.push_back(u"テーブル「" + table.name + u"」のインデックス「" + index.name +
                                             u"」がありません。");
        }
        // A copy whose pages lost the database's encoding lies open to any reader of the file.
        if (original->encrypted && !copy->encrypted)
            check.findings.push_back(u"修復後のファイルは暗号化されていません。");
    }
    // One finding, its lines of what the table says with it, so that they do not count among the
    // ten findings shown.
    if (const jet::Table* errors = tableNamed(*copy, kCompactErrors); errors && *errors->rows > 0) {
        Text finding =
            u"最適化中のエラーが" + count(*errors->rows) + u"件記録されました（MSysCompactError）。";
        for (const Text& line : compactErrors) finding += u"\r\n" + line;
        check.findings.push_back(finding);
    }
    return check;
}

Text replaceQuestion() {
    return u"修復後のファイルに置き換えますか？（「いいえ」ではファイル名を変更しません。）";
}

Text differencesQuestion(const std::vector<Text>& findings, const Text& note) {
    Text text = u"修復後のファイルは修復前と次の点が異なります。\r\n\r\n";
    const std::size_t shown = std::min(findings.size(), kFindingsShown);
    for (std::size_t i = 0; i < shown; ++i) text += findings[i] + u"\r\n";
    if (findings.size() > shown) text += u"ほか" + count(findings.size() - shown) + u"件\r\n";
    if (!note.empty()) text += u"\r\n" + note + u"\r\n";
    return text + u"\r\n" + replaceQuestion();
}

}  // namespace frmMain
