// The services the program asks of its platform: the window system, files, processes, time.
// The core calls only these; platform/win32 implements them over user32, kernel32 and comdlg32,
// and the unit tests use a recording fake. No platform type appears here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

using Text = std::u16string;

// A platform operation that failed: the system's error number and its description.
struct RuntimeError {
    std::int32_t number;
    Text description;
};

enum class TextField { MdbFile, Msg };

enum class ControlKind { Label, TextField, LogField, PushButton };

// Positions and sizes in twips (1/1440 inch), relative to the client area.
struct ControlDescription {
    std::string name;
    ControlKind kind;
    Text caption;
    int left, top, width, height;
    int tabIndex;
    std::optional<TextField> field;  // which text field this control is
    void (*onClick)() = nullptr;     // push buttons
    bool isDefault = false;          // the push button that answers Enter
};

struct FormDescription {
    Text caption;
    int clientWidth, clientHeight;  // twips
    std::vector<ControlDescription> controls;
    // Called when the user closes the window by its close box; the window unloads only when it
    // returns true.
    bool (*queryClose)() = nullptr;
};

struct LocalTime {
    int year, month, day, hour, minute, second;
};

// A file opened for reading only; other programs may still read, write, rename or delete it.
class ReadOnlyFile {
public:
    virtual ~ReadOnlyFile() = default;
    virtual std::uint64_t size() = 0;
    // Reads exactly `length` bytes at `offset`; false when the file holds fewer there or the read
    // fails.
    virtual bool read(std::uint64_t offset, void* buffer, std::size_t length) = 0;
};

// The file-system service a run creates and releases.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True only for an existing file (not a folder).
    virtual bool fileExists(const Text& path) = 0;
    // Renames; never replaces: fails when the destination exists or the source does not.
    virtual void moveFile(const Text& source, const Text& destination) = 0;
    // Opens a file for reading; none when it cannot be opened.
    virtual std::unique_ptr<ReadOnlyFile> openForReading(const Text& path) = 0;
};

// A launched process. It keeps the launch's own hold on the process (so its id cannot be reused)
// until it is destroyed.
class ChildProcess {
public:
    virtual ~ChildProcess() = default;
    virtual std::uint32_t id() const = 0;
    // The exit code once the process has ended; none while it runs or when it cannot be read.
    virtual std::optional<std::uint32_t> exitCode() const = 0;
};

using ProcessHandle = std::uintptr_t;  // 0: not opened
using WindowHandle = std::uintptr_t;

constexpr std::uint32_t kProcessQueryInformation = 0x400;
constexpr std::uint32_t kSynchronize = 0x100000;

// The ANSI open-file dialog's record, with the values the core chose. Texts are Unicode here;
// the platform converts them to the system's ANSI code page for the call.
struct OpenFileRequest {
    std::uint32_t structSize;
    WindowHandle owner;
    std::uintptr_t instance;
    Text filter;  // pairs of NUL-ended strings, ended by one more NUL
    std::uint32_t filterIndex;
    std::uint32_t maxFile;  // bytes of the file buffer
    std::uint32_t maxFileTitle;
    Text initialDir;
    Text title;
    std::uint32_t flags;
};

// What the dialog gave back: its return value and the file buffer up to its first NUL.
struct OpenFileResult {
    bool ok;
    Text file;
};

class Services {
public:
    virtual ~Services() = default;

    // Window system. Every call is made on the one window thread.
    virtual void showMainWindow(const FormDescription& form) = 0;
    virtual Text readText(TextField field) = 0;
    virtual void setText(TextField field, const Text& text) = 0;
    // Handles every queued window event, then returns; never waits for new ones.
    virtual void processPendingEvents() = 0;
    // Returns the button pressed (6 Yes, 7 No). No title: the application title is shown.
    virtual std::int32_t messageBox(const Text& text, std::int32_t flags, const Text* title) = 0;
    virtual WindowHandle mainWindowHandle() = 0;
    virtual void unloadMainWindow() = 0;
    // Ends the process at once; no code of an interrupted handler runs afterwards.
    [[noreturn]] virtual void endProgram() = 0;

    // Files and processes.
    virtual std::unique_ptr<FileSystem> createFileSystem() = 0;
    // Starts the command line (one text, split by the platform's rules) minimized with the focus,
    // without waiting, in the program's current folder.
    virtual std::unique_ptr<ChildProcess> launchMinimizedFocus(const Text& commandLine) = 0;
    // The system calls' own results: 0 / false on failure, never an error.
    virtual ProcessHandle openProcess(std::uint32_t access, bool inheritHandle, std::uint32_t id) = 0;
    virtual bool getExitCodeProcess(ProcessHandle process, std::uint32_t& exitCode) = 0;
    virtual void closeHandle(ProcessHandle process) = 0;
    // Whether the process has ended, whatever its exit code.
    virtual bool processHasEnded(ProcessHandle process) = 0;
    // Blocks until the process ends or a window event arrives.
    virtual void waitForProcessOrEvent(ProcessHandle process) = 0;

    // Environment.
    virtual LocalTime localTime() = 0;
    virtual Text programFolder() = 0;  // no trailing separator, except at a drive's root
    virtual std::uintptr_t instanceHandle() = 0;
    // Text in a code page (932, 1252, ...) to Unicode, by the system's tables; never fails.
    virtual Text fromCodePage(std::uint32_t codePage, const std::string& bytes) = 0;

    // The open-file dialog (GetOpenFileNameA on Windows).
    virtual OpenFileResult getOpenFileName(const OpenFileRequest& request) = 0;

    // A database in a shared folder: who holds it open, room beside it, and what the file carries.
    // True when another program holds the file open so that it cannot be opened with no sharing
    // at all. Never an error: a missing or forbidden file is not held. Nothing stays open.
    virtual bool fileHeldOpen(const Text& path) = 0;
    virtual std::uint64_t fileSize(const Text& path) = 0;
    // Free bytes this user may take on the volume of the folder that holds the file (as the
    // platform resolves the path: a bare name is in the current folder).
    virtual std::uint64_t freeSpaceBeside(const Text& path) = 0;
    // Carried from one file to another: the access list, keeping whether it is protected from
    // inheritance (inherited entries are inherited again, not copied); the creation time; the
    // read-only, hidden, system, archive and not-content-indexed attributes; owner and group.
    virtual void copyAccessList(const Text& from, const Text& to) = 0;
    virtual void copyCreationTime(const Text& from, const Text& to) = 0;
    virtual void copyAttributes(const Text& from, const Text& to) = 0;
    virtual void copyOwner(const Text& from, const Text& to) = 0;
};

// The services in use; installed once at start (or per test).
Services& services();
void install(Services* services);

}  // namespace platform
