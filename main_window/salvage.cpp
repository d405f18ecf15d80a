// mSalvage: when a run ends with nothing swapped in, because the compactor crashed or failed or
// its copy was refused, the database is left as it was: one that neither the compactor nor,
// often, Access can open. What its pages still hold is offered as CSV files, one a table, in a new
// folder beside it; the original itself is only read.
#include <vector>

#include "main_window/frmMain.h"
#include "main_window/row_files.h"
#include "standard/mdlFunctionStandard.h"
#include "standard/text_format.h"
#include "standard/trap.h"

namespace frmMain {

namespace {

// The tables worth writing, in the catalog's order: the user's; when the catalog is lost, every
// table found that holds a row (a page that merely looks like a definition holds none).
std::vector<Text> tablesToWrite(const jet::Reading& reading) {
    std::vector<Text> names;
    if (!reading.database) return names;
    for (const jet::Table& t : reading.database->tables) {
        if (!t.user || !t.rows || t.columns.empty()) continue;
        if (reading.database->catalogLost && *t.rows == 0) continue;
        names.push_back(t.name);
    }
    return names;
}

using mdlFunctionStandard::count;

}  // namespace

void mSalvage(platform::FileSystem& files, const Text& source, const Text& folderPath) {
    mdlFunctionStandard::trapped(u"mSalvage", 0, [&](int& line) {
        line = 10;
        jet::ValueReading values;
        values.digests = false;
        values.pastDamage = true;
        // A file the system will not let us read now (another program holds it, it is gone) holds
        // nothing readable: the stop message has said what happened.
        std::vector<Text> tables;
        try {
            tables = tablesToWrite(readLive(files, source, values));
        } catch (const platform::RuntimeError&) {
            return;
        }
        if (tables.empty()) return;

        line = 20;
        std::int32_t kind = 1;
        Text message = source + u"から読み取れた行をCSVファイルに書き出しますか？";
        Text title;
        if (!mdlFunctionStandard::gMsgbox(kind, message, title)) return;

        line = 30;
        RowFiles out(files, folderPath);
        for (const Text& table : tables) out.add(table);
        values.onRow = [&](const jet::Table& table, const std::vector<jet::NamedValue>& row) {
            if (out.holds(table.name)) out.append(table.name, row);
        };
        const jet::Reading reading = readLive(files, source, values);

        line = 40;
        const jet::Database d = reading.database.value_or(jet::Database{});
        for (const jet::Table& t : d.tables)
            if (out.holds(t.name)) out.headerOnly(t.name, t.columns);
        out.close();

        line = 50;
        kind = 0;
        message = count(out.filesMade()) + u"個のテーブルから" + count(out.rowsWritten()) +
                  u"行を書き出しました: " + out.folder();
        if (d.unreadablePages + d.unreadableValues > 0)
            message += u"\r\n読み取れなかったページ: " + count(d.unreadablePages) + u"、値: " +
                       count(d.unreadableValues);
        Text ownTitle;  // the question's title came back in `title`
        mdlFunctionStandard::gMsgbox(kind, message, ownTitle);
    });
}

}  // namespace frmMain
