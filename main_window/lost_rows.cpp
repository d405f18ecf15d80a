// mWriteLostRows: before the user is asked whether to swap in a copy that lacks rows of the
// original, those rows are written out, one CSV file per table, into a new folder beside the
// database, so that a "Yes" costs no row that can still be read: the backup is the damaged file
// that could not be opened in the first place.
#include <map>
#include <optional>

#include "jet_reader/row_digest.h"
#include "main_window/frmMain.h"
#include "main_window/row_files.h"
#include "standard/text_format.h"

namespace frmMain {

namespace {

// Which of a table's rows are lost.
struct Wanted {
    bool everyRow = false;
    std::map<jet::Digest, std::uint64_t> digests;  // digest: how many rows with it are lost
    std::optional<jet::RowDigester> digester;
};

}  // namespace

Text mWriteLostRows(platform::FileSystem& files, const Text& source, const Text& folderPath,
                    const std::vector<LostRows>& lost) {
    try {
        RowFiles out(files, folderPath);
        std::map<Text, Wanted> wanted;
        for (const LostRows& table : lost) {  // in the catalog's order
            out.add(table.table);
            Wanted& w = wanted[table.table];
            w.everyRow = table.everyRow;
            for (const jet::Digest& d : table.digests) ++w.digests[d];
        }

        jet::ValueReading values;  // as the comparison read the original: past its damage
        values.digests = false;
        values.pastDamage = true;
        values.onRow = [&](const jet::Table& table, const std::vector<jet::NamedValue>& row) {
            if (!table.user) return;
            const auto found = wanted.find(table.name);
            if (found == wanted.end()) return;
            Wanted& w = found->second;
            if (!w.everyRow) {
                if (!w.digester) w.digester.emplace(columnNames(row));
                const auto digest = w.digests.find(w.digester->digest(row));
                if (digest == w.digests.end() || digest->second == 0) return;
                --digest->second;
            }
            out.append(table.name, row);
        };
        readLive(files, source, values);
        out.close();
        return u"修復後のファイルにない行を次のフォルダに書き出しました: " + out.folder();
    } catch (const platform::RuntimeError& e) {
        return u"修復後のファイルにない行を書き出せませんでした（エラー" +
               mdlFunctionStandard::decimal(e.number) + u": " + e.description + u"）。";
    }
}

}  // namespace frmMain
