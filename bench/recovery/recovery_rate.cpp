// recovery_rate: how many rows the salvage of a damaged database gives back, against the most any
// salvage could (the rows whose pages the damage left whole) and against mdb-export.
//   recovery_rate <databases folder> <work folder> [--verbose] [--jobs N]
//     damages copies of every .mdb of the folder (a fixed seed; the copies go to the work folder),
//     reads each as the salvage does and exports it with mdb-export, and prints one table.
//   recovery_rate --salvage-time <database> <work folder>
//     grows the database to 200 MiB and times the salvage's reading of it against a file copy.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "jet_reader/data_page.h"
#include "jet_reader/header.h"
#include "jet_reader/row_digest.h"
#include "main_window/csv_text.h"
#include "original_rows.h"
#include "support/big_database.h"
#include "support/memory_file.h"
#include "support/unicode.h"

namespace {

namespace fs = std::filesystem;
using recovery::Original;
using Count = unsigned long long;  // a figure, printed with %llu

constexpr unsigned long long kSeed = 20260401;
constexpr std::uint32_t kCatalogPage = 2;  // MSysObjects' definition, and the owner of its rows
constexpr const char* kTimeout = "timeout -k 2 10 ";
constexpr std::size_t kMostOutput = std::size_t{64} << 20;  // of one command; more is a loop

// The test databases' names are ASCII; any other byte is taken for its Latin-1 character.
platform::Text latin1(std::uint32_t, const std::string& bytes) {
    platform::Text text;
    for (const unsigned char c : bytes) text += char16_t{c};
    return text;
}

std::string load(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void save(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

// ---- Damage ----

enum class Kind { Zero1, Zero5, Zero20, Flip, Cut, Catalog };
struct KindInfo {
    Kind kind;
    const char* name;
    const char* fileName;  // in a copy's name: valuesV2000.zero5.1.mdb
    int seeds;             // the catalog's damage is the same whatever the seed
};
constexpr KindInfo kKinds[] = {
    {Kind::Zero1, "zero 1 %", "zero1", 3},    {Kind::Zero5, "zero 5 %", "zero5", 3},
    {Kind::Zero20, "zero 20 %", "zero20", 3}, {Kind::Flip, "flipped bytes", "flip", 3},
    {Kind::Cut, "cut short", "cut", 3},       {Kind::Catalog, "catalog zeroed", "catalog", 1},
};

void zeroPage(std::string& bytes, std::uint64_t n, std::uint32_t pageSize) {
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(n * pageSize), pageSize, '\0');
}

// Page 2 and the data pages that hold MSysObjects' rows (owner 2), found through the reader's
// pages so that an encrypted file's are found too.
std::vector<std::uint64_t> catalogPages(const std::string& bytes) {
    support::MemoryFile file(bytes);
    const jet::Header header = jet::readHeader(file);
    const jet::Pages pages(file, header);
    std::vector<std::uint64_t> found{kCatalogPage};
    jet::Page page;
    for (std::uint64_t n = 1; n < pages.count(); ++n) {
        pages.read(n, page, "any");
        if (page[0] == jet::kDataPage && jet::ownerOf(page) == kCatalogPage) found.push_back(n);
    }
    return found;
}

// A damaged copy; never page 0, the header.
std::string damaged(const std::string& original, std::uint32_t pageSize, Kind kind, int seed,
                    std::mt19937_64& random) {
    std::string bytes = original;
    const std::uint64_t pages = bytes.size() / pageSize;
    switch (kind) {
        case Kind::Zero1:
        case Kind::Zero5:
        case Kind::Zero20: {
            const double share = kind == Kind::Zero1 ? 0.01 : kind == Kind::Zero5 ? 0.05 : 0.20;
            const auto count =
                std::max<std::uint64_t>(1, std::llround(share * static_cast<double>(pages - 1)));
            std::vector<std::uint64_t> candidates(pages - 1);
            for (std::uint64_t i = 0; i < candidates.size(); ++i) candidates[i] = i + 1;
            for (std::uint64_t i = 0; i < count; ++i) {
                std::swap(candidates[i], candidates[i + random() % (candidates.size() - i)]);
                zeroPage(bytes, candidates[i], pageSize);
            }
            break;
        }
        case Kind::Flip: {
            const std::size_t count = std::max<std::size_t>(8, bytes.size() / 8192);
            for (std::size_t i = 0; i < count; ++i) {
                const std::size_t at = pageSize + random() % (bytes.size() - pageSize);
                bytes[at] = static_cast<char>(bytes[at] ^ static_cast<char>(1 + random() % 255));
            }
            break;
        }
        case Kind::Cut: {
            const std::uint64_t kept = pages * (60 + random() % 31) / 100;
            const std::uint64_t extra = seed == 1 ? 1 + random() % (pageSize - 1) : 0;  // inside a page
            bytes.resize(kept * pageSize + extra);
            break;
        }
        case Kind::Catalog:
            for (const std::uint64_t n : catalogPages(original)) zeroPage(bytes, n, pageSize);
            break;
    }
    return bytes;
}

// ---- The salvage's rows ----

struct Counted {
    Count recovered = 0;
    Count neverHeld = 0;
};

// Rows to match, as a multiset: each row of the original matches one written row at most.
using Pool = std::map<jet::Digest, Count>;
bool take(Pool& pool, const jet::Digest& digest) {
    const auto it = pool.find(digest);
    if (it == pool.end() || it->second == 0) return false;
    --it->second;
    return true;
}

struct Salvage {
    Counted rows;
    Count emptied = 0;     // rows written with a value left empty
    Count systemRows = 0;  // rows of a system table found by its definition, written as a table
    std::string problem;
    bool catalogLost = false;
    Count unreadablePages = 0, unreadableValues = 0;
};

// The tables mSalvage writes (main_window/salvage.cpp): the user's that were read, and with the
// catalog lost only those holding a row.
std::set<jet::Text> tablesWritten(const jet::Database& database) {
    std::set<jet::Text> names;
    for (const jet::Table& t : database.tables)
        if (t.user && t.rows && !t.columns.empty() && (!database.catalogLost || *t.rows > 0))
            names.insert(t.name);
    return names;
}

Salvage salvage(const std::string& bytes, const Original& original) {
    struct Row {
        jet::Text table;
        bool emptied = false;
        std::optional<jet::Digest> digest;  // none when emptied, or its table's names cannot make one
    };
    std::vector<Row> rows;
    std::map<std::pair<std::uint32_t, jet::Text>, std::optional<jet::RowDigester>> digesters;
    const jet::ValueReading reading{
        .digests = false,
        .onRow =
            [&](const jet::Table& table, const std::vector<jet::NamedValue>& row) {
                if (std::any_of(row.begin(), row.end(),
                                [](const jet::NamedValue& v) { return v.unreadable; })) {
                    rows.push_back({table.name, true, {}});
                    return;
                }
                auto [it, added] = digesters.try_emplace({table.definitionPage, table.name});
                if (added) {
                    std::vector<std::u16string> names;
                    names.reserve(row.size());
                    for (const jet::NamedValue& v : row) names.push_back(v.column);
                    try {
                        it->second.emplace(names);
                    } catch (...) {  // two names the same but for case: no row of the original's
                    }
                }
                rows.push_back(
                    {table.name, false, it->second ? std::optional(it->second->digest(row)) : std::nullopt});
            },
        .pastDamage = true};
    support::MemoryFile file(bytes);
    const jet::Reading read = jet::read(file, latin1, reading);
    Salvage s;
    s.problem = read.problem;
    if (!read.database) return s;
    s.catalogLost = read.database->catalogLost;
    s.unreadablePages = read.database->unreadablePages;
    s.unreadableValues = read.database->unreadableValues;
    const std::set<jet::Text> written = tablesWritten(*read.database);
    // A row of a table the original names matches a row of that table; a row of a table found by
    // its definition alone (Table_<page>: the catalog, or the row naming it, was lost) a row of any
    // table, a user's first (a digest holds its columns' names, so only its own table's rows can
    // match). Each row of the original matches once at most.
    std::map<jet::Text, Pool> pools;
    for (const recovery::OriginalTable& t : original.tables)
        for (const jet::Digest& d : t.digests) ++pools[t.name][d];
    const auto takeFromAny = [&](const jet::Digest& digest, bool user) {
        return std::any_of(
            original.tables.begin(), original.tables.end(),
            [&](const recovery::OriginalTable& t) { return t.user == user && take(pools[t.name], digest); });
    };
    for (const Row& row : rows) {
        if (!written.contains(row.table)) continue;
        const auto named =
            std::find_if(original.tables.begin(), original.tables.end(),
                         [&](const recovery::OriginalTable& t) { return t.name == row.table; });
        if (row.emptied) {
            ++s.emptied;
        } else if (!row.digest) {
            ++s.rows.neverHeld;
        } else if (named != original.tables.end() && named->user) {
            ++(take(pools[row.table], *row.digest) ? s.rows.recovered : s.rows.neverHeld);
        } else if (takeFromAny(*row.digest, true)) {
            ++s.rows.recovered;
        } else {
            ++(takeFromAny(*row.digest, false) ? s.systemRows : s.rows.neverHeld);
        }
    }
    return s;
}

// ---- mdb-export's rows ----

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// mdbtools prints a hex dump of what it cannot make sense of on standard output, lines such as
// "0016x  00 00 ..." and lines of spaces: no table and no row.
bool noRow(const std::string& line) {
    if (line.find_first_not_of(' ') == std::string::npos) return true;
    return line.size() >= 5 && line[4] == 'x' &&
           std::all_of(line.begin(), line.begin() + 4, [](char c) { return c >= '0' && c <= '9'; });
}

// The command's whole lines of output but empty ones and hex dumps (a line cut off by its end is
// dropped); whether `timeout` stopped it.
std::vector<std::string> outputLines(const std::string& command, bool& timedOut) {
    std::FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) throw std::runtime_error("cannot run " + command);
    std::string out;
    char buffer[65536];
    for (std::size_t n = 0; out.size() < kMostOutput && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int status = pclose(pipe);
    timedOut = WIFEXITED(status) && (WEXITSTATUS(status) == 124 || WEXITSTATUS(status) == 137);
    std::vector<std::string> lines;
    for (std::size_t at = 0, end = 0; (end = out.find('\n', at)) != std::string::npos; at = end + 1)
        if (std::string line = out.substr(at, end - at); !noRow(line)) lines.push_back(std::move(line));
    return lines;
}

// Every user table mdb-tables lists, and its rows as mdb-export prints them, one a line (line
// breaks in values escaped, binary values in hexadecimal). A row belongs to its table and to the
// column names above it, as the salvage's digest holds them.
struct Export {
    std::map<std::string, std::map<std::string, Count>> rows;  // table and names -> row -> count
    Count timeouts = 0;
};

Export exported(const fs::path& file) {
    Export e;
    bool timedOut = false;
    const std::vector<std::string> tables =
        outputLines(kTimeout + std::string("mdb-tables -1 ") + quoted(file), timedOut);
    e.timeouts += timedOut;
    for (const std::string& table : tables) {
        const std::vector<std::string> lines = outputLines(
            kTimeout + std::string("mdb-export -e -b hex ") + quoted(file) + " " + quoted(table), timedOut);
        e.timeouts += timedOut;
        for (std::size_t i = 1; i < lines.size(); ++i) ++e.rows[table + "\n" + lines[0]][lines[i]];
    }
    return e;
}

Counted matched(Export original, const Export& copy) {
    Counted c;
    for (const auto& [table, rows] : copy.rows) {
        auto& pool = original.rows[table];
        for (const auto& [row, count] : rows) {
            Count& left = pool[row];
            const Count taken = std::min(left, count);
            left -= taken;
            c.recovered += taken;
            c.neverHeld += count - taken;
        }
    }
    return c;
}

// ---- The run ----

struct Database {
    std::string name;
    std::string bytes;
    Original original;
    Export exported;
};

struct Copy {
    const Database* database = nullptr;
    const KindInfo* kind = nullptr;
    int seed = 0;
    fs::path path{};
    // Figures.
    Count limit = 0;
    Salvage harbek{};
    Counted mdb{};
    Count mdbTimeouts = 0;

    bool harbekShort() const {
        return static_cast<double>(harbek.rows.recovered) < 0.99 * static_cast<double>(limit);
    }
    bool harbekBehind() const { return harbek.rows.recovered < mdb.recovered; }
};

void measure(Copy& copy) {
    const std::string bytes = load(copy.path);
    const Original& original = copy.database->original;
    copy.limit =
        recovery::limitRows(original, recovery::touchedPages(copy.database->bytes, bytes, original.pageSize));
    copy.harbek = salvage(bytes, original);
    const Export e = exported(copy.path);
    copy.mdb = matched(copy.database->exported, e);
    copy.mdbTimeouts = e.timeouts;
}

std::string percent(Count share, Count whole) {
    if (whole == 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%",
                  100.0 * static_cast<double>(share) / static_cast<double>(whole));
    return text;
}

void printTable(const std::vector<Copy>& copies) {
    std::printf("%-15s %6s %8s | %8s %8s %6s %7s | %8s %8s %6s %8s | %9s %9s\n", "damage", "copies", "limit",
                "Harbek", "of limit", "never", "emptied", "mdb-exp", "of limit", "never", "timeouts",
                "H <99 %", "H < mdb");
    const auto line = [](const char* name, const std::vector<const Copy*>& of) {
        Count limit = 0, harbek = 0, never = 0, emptied = 0, mdb = 0, mdbNever = 0, timeouts = 0, shortOf = 0,
              behind = 0;
        for (const Copy* c : of) {
            limit += c->limit, harbek += c->harbek.rows.recovered, never += c->harbek.rows.neverHeld;
            emptied += c->harbek.emptied, mdb += c->mdb.recovered, mdbNever += c->mdb.neverHeld;
            timeouts += c->mdbTimeouts, shortOf += c->harbekShort(), behind += c->harbekBehind();
        }
        std::printf("%-15s %6zu %8llu | %8llu %8s %6llu %7llu | %8llu %8s %6llu %8llu | %9llu %9llu\n", name,
                    of.size(), limit, harbek, percent(harbek, limit).c_str(), never, emptied, mdb,
                    percent(mdb, limit).c_str(), mdbNever, timeouts, shortOf, behind);
    };
    std::vector<const Copy*> all;
    for (const KindInfo& kind : kKinds) {
        std::vector<const Copy*> of;
        for (const Copy& c : copies)
            if (c.kind == &kind) of.push_back(&c);
        line(kind.name, of);
        all.insert(all.end(), of.begin(), of.end());
    }
    line("all", all);
}

void printShortfalls(const std::vector<Copy>& copies) {
    for (const Copy& c : copies) {
        if (!c.harbekShort() && !c.harbekBehind()) continue;
        std::printf("  %s: limit %llu, Harbek %llu (never held %llu, emptied %llu), mdb-export %llu",
                    c.path.filename().c_str(), c.limit, c.harbek.rows.recovered, c.harbek.rows.neverHeld,
                    c.harbek.emptied, c.mdb.recovered);
        if (!c.harbek.problem.empty())
            std::printf("; %s", c.harbek.problem.c_str());
        else
            std::printf("; %s%llu pages and %llu values unreadable",
                        c.harbek.catalogLost ? "catalog lost, " : "", c.harbek.unreadablePages,
                        c.harbek.unreadableValues);
        std::printf("\n");
    }
}

int recoveryRate(const fs::path& folder, const fs::path& work, bool verbose, unsigned jobs) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".mdb") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<Database> databases;
    for (const fs::path& file : files) {
        Database d{file.filename().string(), load(file), {}, {}};
        try {
            d.original = recovery::readOriginal(d.bytes, latin1);
        } catch (const std::runtime_error& e) {
            std::printf("skipped %s: the reader cannot read it (%s)\n", d.name.c_str(), e.what());
            continue;
        }
        if (d.original.userRows == 0) {
            std::printf("skipped %s: no user table holds a row\n", d.name.c_str());
            continue;
        }
        d.exported = exported(file);
        databases.push_back(std::move(d));
    }

    fs::create_directories(work);
    std::vector<Copy> copies;
    for (const Database& d : databases) {
        std::uint64_t nameHash = 14695981039346656037ull;  // FNV-1a, so a file's copies keep their seed
        for (const char c : d.name) nameHash = (nameHash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        for (const KindInfo& kind : kKinds) {
            for (int seed = 0; seed < kind.seeds; ++seed) {
                std::mt19937_64 random(kSeed ^ nameHash ^ (static_cast<std::uint64_t>(kind.kind) << 8) ^
                                       static_cast<std::uint64_t>(seed));
                Copy copy{.database = &d, .kind = &kind, .seed = seed};
                copy.path = work / (fs::path(d.name).stem().string() + "." + kind.fileName + "." +
                                    std::to_string(seed) + ".mdb");
                save(copy.path, damaged(d.bytes, d.original.pageSize, kind.kind, seed, random));
                copies.push_back(std::move(copy));
            }
        }
    }

    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < jobs; ++i)
        workers.emplace_back([&] {
            for (std::size_t n = 0; (n = next++) < copies.size();) measure(copies[n]);
        });
    for (std::thread& t : workers) t.join();

    std::printf("%zu databases, %zu damaged copies in %s (seed %llu)\n\n", databases.size(), copies.size(),
                work.string().c_str(), kSeed);
    printTable(copies);
    Count systemRows = 0;
    for (const Copy& c : copies) systemRows += c.harbek.systemRows;
    if (systemRows > 0)
        std::printf(
            "\nHarbek also wrote %llu rows of system tables found by their definitions, as tables of their own\n",
            systemRows);
    if (verbose) {
        std::printf("\ncopies where Harbek got under 99 %% of the limit or fewer rows than mdb-export:\n");
        printShortfalls(copies);
    }
    return 0;
}

// ---- Salvage time ----

class DiskFile : public platform::ReadOnlyFile {
public:
    explicit DiskFile(const fs::path& path) : fd_(open(path.c_str(), O_RDONLY)) {
        if (fd_ < 0) throw std::runtime_error("cannot open " + path.string());
    }
    ~DiskFile() override { close(fd_); }
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    std::uint64_t size() override { return static_cast<std::uint64_t>(lseek(fd_, 0, SEEK_END)); }
    bool read(std::uint64_t offset, void* buffer, std::size_t length) override {
        return pread(fd_, buffer, length, static_cast<off_t>(offset)) == static_cast<ssize_t>(length);
    }

private:
    int fd_;
};

double seconds(const std::function<void()>& work) {
    const auto started = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

int salvageTime(const fs::path& source, const fs::path& work) {
    const support::BigDatabase big = support::bigDatabase(load(source), std::uint64_t{200} << 20);
    if (big.bytes.empty())
        return std::fprintf(stderr, "cannot grow %s: %s\n", source.c_str(), big.problem.c_str()), 1;
    fs::create_directories(work);
    const fs::path file = work / "big.mdb", copy = work / "big-copy.mdb", csv = work / "big.csv";
    save(file, big.bytes);
    std::printf("%s grown to %.1f MiB (%s repeated %llu times)\n", source.filename().c_str(),
                static_cast<double>(big.bytes.size()) / 1048576.0, support::utf8(big.table).c_str(),
                Count{big.copies} + 1);

    std::vector<double> copies, reads, csvReads;
    Count rows = 0;
    for (int round = 0; round < 3; ++round) {
        copies.push_back(seconds([&] { fs::copy_file(file, copy, fs::copy_options::overwrite_existing); }));
        reads.push_back(seconds([&] {
            DiskFile in(file);
            rows = 0;
            jet::read(in, latin1,
                      {.digests = false,
                       .onRow = [&](const jet::Table&, const auto&) { ++rows; },
                       .pastDamage = true});
        }));
        csvReads.push_back(seconds([&] {
            DiskFile in(file);
            std::ofstream out(csv, std::ios::binary | std::ios::trunc);
            jet::read(
                in, latin1,
                {.digests = false,
                 .onRow = [&](const jet::Table&,
                              const std::vector<jet::NamedValue>& row) { out << frmMain::csvLine(row); },
                 .pastDamage = true});
        }));
    }
    fs::remove(copy);
    fs::remove(csv);
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("%llu rows; median of 3 rounds:\n", rows);
    std::printf("  file copy                  %7.3f s\n", median(copies));
    std::printf("  salvage read, rows counted %7.3f s (%.2fx the copy)\n", median(reads),
                median(reads) / median(copies));
    std::printf("  salvage read, rows to CSV  %7.3f s (%.2fx the copy)\n", median(csvReads),
                median(csvReads) / median(copies));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 3 && args[0] == "--salvage-time") return salvageTime(args[1], args[2]);
        if (args.size() < 2) {
            std::fprintf(stderr,
                         "usage: recovery_rate <databases folder> <work folder> [--verbose] [--jobs N]\n"
                         "       recovery_rate --salvage-time <database> <work folder>\n");
            return 2;
        }
        bool verbose = false;
        unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
        for (std::size_t i = 2; i < args.size(); ++i) {
            if (args[i] == "--verbose")
                verbose = true;
            else if (args[i] == "--jobs" && i + 1 < args.size())
                jobs = std::max(1, std::stoi(args[++i]));
        }
        return recoveryRate(args[0], args[1], verbose, jobs);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "recovery_rate: %s\n", e.what());
        return 1;
    }
}
