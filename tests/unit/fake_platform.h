// A recording fake of the platform: every call the program makes is recorded (message boxes with
// text, flags and title; moves; launches), answers and failures are scripted per test, and files
// live in a map. It stands for the window, the environment and the processes at once, and hands
// out a file system over its map; what the program never calls is left to the do-nothing bases.
#pragma once

#include "support/text_printer.h"  // before anything else that could include GoogleTest

#include <deque>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/null_services.h"
#include "support/unicode.h"

namespace fake {

using platform::Text;

// What endProgram throws: nothing in the program may catch it.
struct ProgramEnded {};

struct Box {
    Text text;
    std::int32_t flags;
    std::optional<Text> title;
};
void PrintTo(const Box& box, std::ostream* os);  // for failed assertions

class Platform : public support::NullWindow, public support::NullEnvironment, public support::NullProcesses {
public:
    Platform();
    ~Platform() override;

    // --- every call the program makes, by name, in order; any of them can be made to fail
    std::vector<std::string> calls;
    int count(const std::string& call) const;
    // The n-th call (1-based) of an operation fails with `failure`.
    void failOn(const std::string& operation, int nth = 1);
    platform::RuntimeError failure{75, u"パス名が無効です。"};

    // --- the window: its two fields, message boxes and the open-file dialog
    std::map<platform::TextField, Text> fields;
    Text log() { return fields[platform::TextField::Msg]; }
    std::vector<Text> logLines();
    std::function<void()> onEvents;  // runs inside processPendingEvents
    std::vector<Box> boxes;
    std::deque<std::int32_t> answers;  // message box answers; 1 (OK) when empty
    std::vector<platform::OpenFileRequest> dialogs;
    std::optional<platform::OpenFileResult> dialogAnswer;
    bool unloaded = false;

    Text readText(platform::TextField field) override;
    void setText(platform::TextField field, const Text& text) override;
    void processPendingEvents() override;
    std::int32_t messageBox(const Text& text, std::int32_t flags, const Text* title) override;
    platform::OpenFileResult getOpenFileName(const platform::OpenFileRequest& request) override;
    platform::WindowHandle mainWindowHandle() override;  // 0x50A2
    void unloadMainWindow() override;
    // Throws ProgramEnded.
    [[noreturn]] void endProgram() override;

    // --- files: a map of path to content, and the moves made in it
    std::map<Text, std::string> files;
    std::vector<std::pair<Text, Text>> moves;  // (from, to)
    int liveFileSystems = 0;

    std::unique_ptr<platform::FileSystem> createFileSystem() override;
    // The file-system object's calls come back here. A file opened reads its content as it was.
    bool fileExists(const Text& path);
    void moveFile(const Text& source, const Text& destination);
    std::unique_ptr<platform::ReadOnlyFile> openForReading(const Text& path);  // throws for none
    std::set<Text> folders;
    void createFolder(const Text& path);
    std::unique_ptr<platform::NewFile> createNewFile(const Text& path);  // its content grows in `files`

    // --- the compactor: launched, waited for, and the copy it leaves under -dest:
    std::vector<Text> launches;   // command lines
    int compactorRounds = 2;      // waits before the compactor ends
    bool compactorWrites = true;  // it leaves its copy under -dest:
    // What it writes there, from the source's content: by default the source with one more
    // page, which no table names, so the copy reads as the same database and still differs.
    std::function<std::string(const std::string&)> compactorOutput = [](const std::string& source) {
        return source + std::string(4096, '\0');
    };
    std::uint32_t exitCode = 0;    // the compactor's code once it has ended
    bool openFails = false;        // openProcess opens nothing
    std::uint32_t lastAccess = 0;  // what the last openProcess asked for
    bool lastInherit = false;
    int liveChildren = 0;

    // Destroying the launch's process records "releaseLaunch"; the wait's, "closeHandle".
    std::unique_ptr<platform::Process> launchMinimizedFocus(const Text& commandLine) override;
    std::unique_ptr<platform::Process> open(std::uint32_t access, bool inherit, std::uint32_t id) override;
    // The process objects' calls come back here.
    bool processHasEnded();
    // One round of the wait: the compactor ends in the last of its rounds.
    void waitForProcessOrEvent();
    std::optional<std::uint32_t> childExitCode() const {
        if (running_) return std::nullopt;
        return exitCode;
    }

    // --- the environment
    platform::LocalTime now{2026, 12, 7, 9, 5, 3};
    Text folderOfProgram = u"C:\\Program Files\\Harbek";

    platform::LocalTime localTime() override;
    Text programFolder() override;
    std::uintptr_t instanceHandle() override;  // 0x400000
    // Single bytes as the code points of the same value (as code page 1252 does for ASCII).
    Text fromCodePage(std::uint32_t codePage, const std::string& bytes) override;

    // --- a database in a shared folder: who holds it, room beside it, what is carried over
    std::set<Text> heldOpen;                     // files another program has open
    std::uint64_t freeBytes = 1ull << 40;        // on every volume
    std::vector<std::pair<Text, Text>> carried;  // (from, to) of each copy* call

    bool fileHeldOpen(const Text& path);
    std::uint64_t fileSize(const Text& path);  // the content's length
    std::uint64_t freeSpaceBeside(const Text& path);
    void carry(const std::string& operation, const Text& from, const Text& to);

    // Records the call, and fails it when a test asked for that.
    void enter(const std::string& operation);

private:
    void finishCompactor();

    std::map<std::string, std::vector<int>> failAt_;
    std::map<std::string, int> seen_;
    int roundsLeft_ = 0;
    bool running_ = false;
    Text pendingDest_;
    Text pendingSource_;
    std::uint32_t nextId_ = 4000;
};

// Parses the value of `-<name>:"..."` out of a command line the run built.
Text argument(const Text& commandLine, const Text& name);

}  // namespace fake
