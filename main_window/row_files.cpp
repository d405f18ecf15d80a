#include "main_window/row_files.h"

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

}  // namespace

std::vector<Text> columnNames(const std::vector<jet::NamedValue>& row) {
    std::vector<Text> names;
    names.reserve(row.size());
    for (const jet::NamedValue& v : row) names.push_back(v.column);
    return names;
}

Text rowsFolder(const Text& kind, const Text& folder, const Text& stamp, const Text& file) {
    const std::size_t dot = file.rfind(u'.');
    return folder + kind + stamp + (dot == Text::npos ? file : file.substr(0, dot));
}

RowFiles::RowFiles(platform::FileSystem& files, const Text& path) : files_(files) {
    // A name is taken when anything bears it, or when another program makes it first.
    folder_ = freeName(path, u"", [&](const Text& name) {
        if (files.fileExists(name)) return true;
        try {
            files.createFolder(name);
            return false;
        } catch (const platform::RuntimeError& e) {
            if (e.number == kAlreadyExists) return true;
            throw;
        }
    });
}

void RowFiles::add(const Text& table) {
    if (holds(table)) return;
    const Text plain = csvFileName(table);
    const Text name = freeName(plain.substr(0, plain.size() - 4), u".csv", [&](const Text& candidate) {
        for (const Text& t : taken_)
            if (mdlFunctionStandard::sameIgnoringAsciiCase(t, candidate)) return true;
        return false;
    });
    taken_.push_back(name);
    outputs_[table].path = folder_ + u"\\" + name;
}

platform::NewFile& RowFiles::fileOf(Output& out, const std::vector<Text>& columns) {
    if (!out.file) {
        out.file = files_.createNewFile(out.path);
        ++filesMade_;
        out.file->append(kUtf8ByteOrderMark + csvHeader(columns));
    }
    return *out.file;
}

void RowFiles::append(const Text& table, const std::vector<jet::NamedValue>& row) {
    Output& out = outputs_.at(table);
    fileOf(out, out.file ? std::vector<Text>() : columnNames(row)).append(csvLine(row));
    ++rowsWritten_;
}

void RowFiles::headerOnly(const Text& table, const std::vector<Text>& columns) {
    Output& out = outputs_.at(table);
    if (!out.file) fileOf(out, columns);
}

void RowFiles::close() {
    for (auto& [name, out] : outputs_)
        if (out.file) out.file->close();
}

}  // namespace frmMain
