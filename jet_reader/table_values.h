// One table's values, row by row as the counting scan meets them: each live row decoded, given to
// the caller and reduced to its digest. The first value that cannot be decoded ends this, with
// the table's valueProblem and no digests; the count goes on regardless.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "jet_reader/jet_reader.h"
#include "jet_reader/row_digest.h"
#include "jet_reader/table_definition.h"
#include "jet_reader/table_scan.h"
#include "jet_reader/value_decoder.h"

namespace jet {

class TableValues {
public:
    // `table` (its name, user and page) and the rest must outlive this. Damage in the definition
    // (a column the reader cannot decode, two names alike, a name that is no text) becomes the
    // table's value problem; the decoder may throw. With `skips`, read past damage: a value that
    // cannot be decoded is left empty and counted there.
    TableValues(const Pages& pages, const TableDefinition& definition, const Table& table,
                const ValueReading& reading, ValueDecoder& values, std::uint32_t codePage,
                const CodePageDecoder& decode, Skips* skips = nullptr);

    // Decodes one live row; never throws Damage, but past damage a row whose own structure is
    // broken throws, for the scan to skip it.
    void add(Bytes row);

    // After the last row: the column names, the sorted digests (past damage, of the rows whose
    // values all decoded), or the problem.
    void finish(Table& table);

private:
    void decode(Bytes bytes);

    const Layout& layout_;
    const TableDefinition& definition_;
    const Table& table_;
    const ValueReading& reading_;
    ValueDecoder& values_;
    std::vector<const Column*> columns_;  // by number
    std::vector<NamedValue> row_;         // the row being decoded, one value per column
    std::optional<RowDigester> digester_;
    std::vector<Digest> digests_;
    std::string problem_;
    const Pages& pages_;
    Skips* skips_;
    std::uint64_t problemPage_ = 0;  // the page being read when problem_ was found
};

}  // namespace jet
