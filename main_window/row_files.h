// Rows written out as CSV files, one a table, into a new folder beside the database: the rows a
// repair would lose, and what a database the compactor could not save still holds.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "jet_reader/value.h"
#include "platform/files.h"

namespace frmMain {

using platform::Text;

// A row's column names, in its order.
std::vector<Text> columnNames(const std::vector<jet::NamedValue>& row);

class RowFiles {
public:
    // Makes the folder `path`, or "`path` (2)", " (3)" ... when that name is taken. Throws the
    // system's error as a RuntimeError, as every write below does.
    RowFiles(platform::FileSystem& files, const Text& path);

    const Text& folder() const { return folder_; }

    // Gives the table its file: its name as a file name, or with " (2)" ... when an earlier table
    // took that one, so that of two tables whose names make the same file name the first keeps it.
    void add(const Text& table);
    bool holds(const Text& table) const { return outputs_.contains(table); }

    // Appends a row to its table's file, made with the column names at its first row.
    void append(const Text& table, const std::vector<jet::NamedValue>& row);
    // Makes the file of a table that got no row: the column names alone.
    void headerOnly(const Text& table, const std::vector<Text>& columns);

    // Closes every file; how many were made, and the rows in them.
    void close();
    std::uint64_t filesMade() const { return filesMade_; }
    std::uint64_t rowsWritten() const { return rowsWritten_; }

private:
    struct Output {
        Text path;
        std::unique_ptr<platform::NewFile> file;
    };
    platform::NewFile& fileOf(Output& out, const std::vector<Text>& columns);

    platform::FileSystem& files_;
    Text folder_;
    std::map<Text, Output> outputs_;
    std::vector<Text> taken_;
    std::uint64_t filesMade_ = 0;
    std::uint64_t rowsWritten_ = 0;
};

}  // namespace frmMain
