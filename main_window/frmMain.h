// frmMain: the one window, its log, and the actions started from its buttons.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "jet_reader/jet_reader.h"
#include "platform/platform.h"

namespace frmMain {

using platform::Text;

// The window as the platform shows it: caption, size, controls, handlers.
const platform::FormDescription& form();

// Button handlers.
void cmdOk_Click();      // the repair run
void cmdRef_Click();     // browse for the database
void cmdCancel_Click();  // unload and end at once

// Close box: while a run is under way it acts as the cancel button; otherwise the window unloads.
bool queryClose();
bool runUnderWay();

// Appends one line to the log, then handles pending window events.
void mLog(const Text& message);

// Splits a path after its last "\" or "＼": the folder part keeps the separator.
void mDevidePathFile(Text path, Text& folder, Text& file);

// The compactor's command line: its quoted path, then -src: and -dest: with quoted paths.
Text compactorCommandLine(const Text& programFolder, const Text& source, const Text& afterName);

// Whether a path survives quoting on the command line unchanged: no double quote, no NUL, and no
// "\" at its end (which would escape the closing quote). No file's name breaks these rules.
bool quotable(const Text& path);

// Rows of the original that the copy lacks: those with these digests (one each), or every row of a
// table the copy lacks.
struct LostRows {
    Text table;
    std::vector<jet::Digest> digests;
    bool everyRow = false;
};

// What reading the compactor's copy, and the original beside it, found.
struct CopyCheck {
    bool copyReadable = false;                // a Jet 3 or Jet 4 database of whole pages, every value read
    bool everyRowCompared = false;            // the original read too, every value of each of its user tables
    std::vector<Text> findings;               // tables, rows and objects the copy lacks; errors it records
    std::optional<std::uint64_t> damagePage;  // of an unreadable copy: where the damage was found
    std::vector<LostRows> lost;               // the original's rows the copy lacks, where known
};
CopyCheck mCheckCopy(platform::FileSystem& fileSystem, const Text& source, const Text& afterName);

// A database read with its values, through the run's file system, the window kept live.
jet::Reading readLive(platform::FileSystem& files, const Text& path, const jet::ValueReading& values);

// "<folder><kind><stamp><file without its extension>", kind "_LostRows" or "_Salvage": where the
// rows of the two routines below go.
Text rowsFolder(const Text& kind, const Text& folder, const Text& stamp, const Text& file);

// Writes the lost rows of the original, one CSV file per table, into a new folder named
// `folderPath` (or " (2)" ... when that is taken); returns the line the question gets: where they
// are, or why they could not be written, with the system's error number and text.
Text mWriteLostRows(platform::FileSystem& files, const Text& source, const Text& folderPath,
                    const std::vector<LostRows>& lost);

// When the original can be read at least in part, asks whether to write what it holds to CSV
// files, one a user table, in a new folder named `folderPath` (or " (2)" ...), and does so. A
// failure is reported in mode 0: the caller goes on.
void mSalvage(platform::FileSystem& files, const Text& source, const Text& folderPath);

// The error number of a name already taken.
inline constexpr std::int32_t kAlreadyExists = 183;

// The question put when the copy differs: the findings, ten at most, then whether to swap.
// `note`, when there is one, stands on a line of its own before the closing question.
Text differencesQuestion(const std::vector<Text>& findings, const Text& note = Text());
Text replaceQuestion();
// The lock file the database engine keeps beside a database while it is open: the file name with
// its extension replaced by ".ldb" (".laccdb" for an ".accdb"), or ".ldb" added when it has none.
Text lockFileName(const Text& file);

// Why the database cannot be compacted now, as the stop message says it: too little free space
// beside it for the copy, or another program has it open. Empty when nothing stands in the way.
// No trap: a failure to find out reaches the caller's.
Text launchRefusal(platform::FileSystem& files, const Text& source, const Text& folder, const Text& file);

// Carries the backup's access list, creation time, attributes, owner and group to the repaired
// file. Its trap reports in mode 0 ("処理を続けます。"): the caller goes on.
void mCopyFileSecurity(platform::FileSystem& files, const Text& from, const Text& to);

// "yyyymmddhhnnss" and "hh:nn:ss".
Text stampOf(const platform::LocalTime& t);
Text clockOf(const platform::LocalTime& t);

}  // namespace frmMain
