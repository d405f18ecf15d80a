// mWriteLostRows: before the user is asked whether to swap in a copy that lacks rows of the
// original, those rows are written out, one CSV file per table, into a new folder beside the
// database, so that a "Yes" costs no row that can still be read: the backup is the damaged file
// that could not be opened in the first place.
#include <map>
#include <optional>

#include "jet_reader/row_digest.h"
#include "main_window/csv_text.h"
#include "main_window/frmMain.h"
#include "standard/text_format.h"

namespace frmMain {

namespace {

// `base` + `end`, or, when that name is taken, `base` + " (2)" + `end`, " (3)" ...
template <typename Taken>
Text freeName(const Text& base, const Text& end, Taken taken) {
    Text name = base + end;
    for (int n = 2; taken(name); ++n) {
        name = base;
        name += u" (";
        name += mdlFunctionStandard::decimal(n);
        name += u")";
        name += end;
    }
    return name;
}

// Where one table's lost rows go, and which of its rows those are.
struct Output {
    Text path;
    std::unique_ptr<platform::NewFile> file;  // made at its first row
    bool everyRow = false;
    std::map<jet::Digest, std::uint64_t> wanted;  // digest: how many rows with it are lost
    std::optional<jet::RowDigester> digester;
};

std::vector<Text> columnNames(const std::vector<jet::NamedValue>& row) {
    std::vector<Text> names;
    names.reserve(row.size());
    for (const jet::NamedValue& v : row) names.push_back(v.column);
    return names;
}

}  // namespace

Text lostRowsFolder(const Text& folder, const Text& stamp, const Text& file) {
    const std::size_t dot = file.rfind(u'.');
    return folder + u"_LostRows" + stamp + (dot == Text::npos ? file : file.substr(0, dot));
}

Text mWriteLostRows(platform::FileSystem& files, const Text& source, const Text& folderPath,
                    const std::vector<LostRows>& lost) {
    try {
        const Text folder = freeName(folderPath, u"", [&](const Text& name) {
            if (files.fileExists(name)) return true;
            try {
                files.createFolder(name);
                return false;
            } catch (const platform::RuntimeError& e) {
                if (e.number == kAlreadyExists) return true;
                throw;
            }
        });
        // File names in the catalog's order, so that of two tables whose names make the same file
        // name the first keeps it.
        std::map<Text, Output> outputs;
        std::vector<Text> used;
        for (const LostRows& table : lost) {
            const Text plain = csvFileName(table.table);
            const Text path = freeName(plain.substr(0, plain.size() - 4), u".csv", [&](const Text& name) {
                for (const Text& u : used)
                    if (mdlFunctionStandard::sameIgnoringAsciiCase(u, name)) return true;
                return false;
            });
            used.push_back(path);
            Output& out = outputs[table.table];
            out.path = folder;
            out.path += u"\\";
            out.path += path;
            out.everyRow = table.everyRow;
            for (const jet::Digest& d : table.digests) ++out.wanted[d];
        }

        jet::ValueReading values;
        values.digests = false;
        values.onRow = [&](const jet::Table& table, const std::vector<jet::NamedValue>& row) {
            if (!table.user) return;
            const auto found = outputs.find(table.name);
            if (found == outputs.end()) return;
            Output& out = found->second;
            if (!out.everyRow) {
                if (!out.digester) out.digester.emplace(columnNames(row));
                const auto wanted = out.wanted.find(out.digester->digest(row));
                if (wanted == out.wanted.end() || wanted->second == 0) return;
                --wanted->second;
            }
            if (!out.file) {
                out.file = files.createNewFile(out.path);
                out.file->append(kUtf8ByteOrderMark + csvHeader(columnNames(row)));
            }
            out.file->append(csvLine(row));
        };
        readLive(files, source, values);
        for (auto& [name, out] : outputs)
            if (out.file) out.file->close();
        return u"修復後のファイルにない行を次のフォルダに書き出しました: " + folder;
    } catch (const platform::RuntimeError& e) {
        return u"修復後のファイルにない行を書き出せませんでした（エラー" +
               mdlFunctionStandard::decimal(e.number) + u": " + e.description + u"）。";
    }
}

}  // namespace frmMain
