// mCheckCopy: reads the compactor's copy, and the original beside it, before the run swaps them.
// Neither the compactor's exit code nor the copy's mere existence says that the copy is the user's
// database: the copy must read as one, and hold every table and every live row that the original
// held. The compactor records the damage it met in a table of the copy, MSysCompactError, and says
// nothing else of it, so its rows are counted too.
#include <algorithm>

#include "jet_reader/jet_reader.h"
#include "main_window/frmMain.h"
#include "standard/text_format.h"

namespace frmMain {

namespace {

const Text kCompactErrors = u"MSysCompactError";
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

// Reading both files of a large database takes seconds on the window thread: the window's events
// are handled every so many reads, as during the wait, so that it repaints, and ｷｬﾝｾﾙ and the
// close box end the program at once (nothing is renamed before the check has finished).
class LiveFile : public platform::ReadOnlyFile {
public:
    explicit LiveFile(platform::ReadOnlyFile& file) : file_(file) {}
    std::uint64_t size() override { return file_.size(); }
    bool read(std::uint64_t offset, void* buffer, std::size_t length) override {
        if (++reads_ % kReadsBetweenEvents == 0) platform::window().processPendingEvents();
        return file_.read(offset, buffer, length);
    }

private:
    static constexpr unsigned kReadsBetweenEvents = 64;  // a quarter of a MiB of Jet 4 pages
    platform::ReadOnlyFile& file_;
    unsigned reads_ = 0;
};

// The file is read through its own handle, closed again before the run goes on to the renames.
// A file the system will not open or read (another program holds it with no sharing, an I/O
// error) raises the system's error: that is no finding about the database, and the run's report
// shows its number and text.
std::optional<jet::Database> readDatabase(platform::FileSystem& fileSystem, const Text& path) {
    const auto file = fileSystem.openForReading(path);
    LiveFile live(*file);
    jet::Reading reading = jet::read(live, [](std::uint32_t codePage, const std::string& bytes) {
        return platform::environment().fromCodePage(codePage, bytes);
    });
    return std::move(reading.database);
}

Text count(std::uint64_t n) { return mdlFunctionStandard::decimal(static_cast<std::int64_t>(n)); }

}  // namespace

CopyCheck mCheckCopy(platform::FileSystem& fileSystem, const Text& source, const Text& afterName) {
    CopyCheck check;
    const auto copy = readDatabase(fileSystem, afterName);
    // Every table of the copy, the system's too, must read: a cut or damaged copy shows first in
    // the pages of whichever table lay where the damage is.
    check.copyReadable = copy && std::all_of(copy->tables.begin(), copy->tables.end(),
                                             [](const jet::Table& t) { return t.rows.has_value(); });
    if (!check.copyReadable) return check;

    // A damaged original often cannot be read: that is why it is being repaired. Then there is
    // nothing to compare the copy with.
    const auto original = readDatabase(fileSystem, source);
    check.everyRowCompared = original.has_value();
    if (original) {
        for (const jet::Table& table : original->tables) {
            if (!table.user || sameName(table.name, kCompactErrors)) continue;
            // A table the copy holds only as a system table is as good as gone for the user.
            const jet::Table* kept = tableNamed(*copy, table.name);
            if (!kept || !kept->user) {
                check.findings.push_back(u"テーブル「" + table.name + u"」がありません。");
            } else if (!table.rows) {
                check.everyRowCompared = false;
            } else if (*kept->rows != *table.rows) {
                check.findings.push_back(u"テーブル「" + table.name + u"」の行数: " + count(*table.rows) +
                                         u" → " + count(*kept->rows));
            }
        }
        // A compaction keeps every object, so one missing is news; their contents are not read.
        for (const jet::Object& object : original->objects)
            if (!holds(*copy, object))
                check.findings.push_back(kindWord(object.kind) + (u"「" + object.name + u"」がありません。"));
        // A copy whose pages lost the database's encoding lies open to any reader of the file.
        if (original->encrypted && !copy->encrypted)
            check.findings.push_back(u"修復後のファイルは暗号化されていません。");
    }
    if (const jet::Table* errors = tableNamed(*copy, kCompactErrors); errors && *errors->rows > 0)
        check.findings.push_back(u"最適化中のエラーが" + count(*errors->rows) +
                                 u"件記録されました（MSysCompactError）。");
    return check;
}

Text replaceQuestion() {
    return u"修復後のファイルに置き換えますか？（「いいえ」ではファイル名を変更しません。）";
}

Text differencesQuestion(const std::vector<Text>& findings) {
    Text text = u"修復後のファイルは修復前と次の点が異なります。\r\n\r\n";
    const std::size_t shown = std::min(findings.size(), kFindingsShown);
    for (std::size_t i = 0; i < shown; ++i) text += findings[i] + u"\r\n";
    if (findings.size() > shown) text += u"ほか" + count(findings.size() - shown) + u"件\r\n";
    return text + u"\r\n" + replaceQuestion();
}

}  // namespace frmMain
