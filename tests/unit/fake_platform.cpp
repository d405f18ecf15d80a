#include "tests/unit/fake_platform.h"

#include "support/memory_file.h"

namespace fake {

namespace {

class FakeFileSystem : public platform::FileSystem {
public:
    explicit FakeFileSystem(Platform& p) : p_(p) { ++p_.liveFileSystems; }
    ~FakeFileSystem() override { --p_.liveFileSystems; }
    bool fileExists(const Text& path) override { return p_.fileExists(path); }
    void moveFile(const Text& s, const Text& d) override { p_.moveFile(s, d); }
    std::unique_ptr<platform::ReadOnlyFile> openForReading(const Text& path) override {
        return p_.openForReading(path);
    }
    void createFolder(const Text& path) override { p_.createFolder(path); }
    std::unique_ptr<platform::NewFile> createNewFile(const Text& path) override {
        return p_.createNewFile(path);
    }
    bool fileHeldOpen(const Text& path) override { return p_.fileHeldOpen(path); }
    std::uint64_t fileSize(const Text& path) override { return p_.fileSize(path); }
    std::uint64_t freeSpaceBeside(const Text& path) override { return p_.freeSpaceBeside(path); }
    void copyAccessList(const Text& from, const Text& to) override { p_.carry("copyAccessList", from, to); }
    void copyCreationTime(const Text& from, const Text& to) override {
        p_.carry("copyCreationTime", from, to);
    }
    void copyAttributes(const Text& from, const Text& to) override { p_.carry("copyAttributes", from, to); }
    void copyOwner(const Text& from, const Text& to) override { p_.carry("copyOwner", from, to); }

private:
    Platform& p_;
};

// The compactor, as the launch holds it (`launch`) or as the wait opened it by id.
class FakeProcess : public platform::Process {
public:
    FakeProcess(Platform& p, std::uint32_t id, bool launch) : p_(p), id_(id), launch_(launch) {
        if (launch_) ++p_.liveChildren;
    }
    ~FakeProcess() override {
        if (launch_) --p_.liveChildren;
        p_.calls.push_back(launch_ ? "releaseLaunch" : "closeHandle");
    }
    std::uint32_t id() const override { return id_; }
    std::optional<std::uint32_t> exitCode() override { return p_.childExitCode(); }
    bool hasEnded() override { return p_.processHasEnded(); }
    void waitForEndOrEvent() override { p_.waitForProcessOrEvent(); }

private:
    Platform& p_;
    std::uint32_t id_;
    bool launch_;
};

}  // namespace

void PrintTo(const Box& box, std::ostream* os) {
    *os << "{" << ::testing::PrintToString(box.text) << ", flags " << box.flags << ", title "
        << ::testing::PrintToString(box.title) << "}";
}

Platform::Platform() { platform::install({this, this, this}); }
Platform::~Platform() { platform::install({}); }

void Platform::failOn(const std::string& operation, int nth) { failAt_[operation].push_back(nth); }

int Platform::count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls) n += c == call;
    return n;
}

std::vector<Text> Platform::logLines() {
    std::vector<Text> lines;
    const Text text = log();
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(u"\r\n", start)) != Text::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start != text.size()) lines.push_back(text.substr(start) + u"<no CRLF>");
    return lines;
}

void Platform::enter(const std::string& operation) {
    calls.push_back(operation);
    const int n = ++seen_[operation];
    const auto it = failAt_.find(operation);
    if (it == failAt_.end()) return;
    for (int nth : it->second)
        if (nth == n) throw failure;
}

Text Platform::readText(platform::TextField field) {
    enter(field == platform::TextField::MdbFile ? "readText(fldMdbFile)" : "readText(fldMsg)");
    return fields[field];
}

void Platform::setText(platform::TextField field, const Text& text) {
    enter(field == platform::TextField::MdbFile ? "setText(fldMdbFile)" : "setText(fldMsg)");
    fields[field] = text;
}

void Platform::processPendingEvents() {
    enter("processPendingEvents");
    if (onEvents) onEvents();
}

std::int32_t Platform::messageBox(const Text& text, std::int32_t flags, const Text* title) {
    enter("messageBox");
    boxes.push_back({text, flags, title ? std::optional<Text>(*title) : std::nullopt});
    if (answers.empty()) return 1;
    const std::int32_t a = answers.front();
    answers.pop_front();
    return a;
}

platform::WindowHandle Platform::mainWindowHandle() {
    enter("mainWindowHandle");
    return 0x50A2;
}

void Platform::unloadMainWindow() {
    enter("unloadMainWindow");
    unloaded = true;
}

void Platform::endProgram() {
    calls.push_back("endProgram");
    throw ProgramEnded{};
}

std::unique_ptr<platform::FileSystem> Platform::createFileSystem() {
    enter("createFileSystem");
    return std::make_unique<FakeFileSystem>(*this);
}

bool Platform::fileExists(const Text& path) {
    enter("fileExists");
    return files.count(path) != 0;
}

void Platform::moveFile(const Text& source, const Text& destination) {
    enter("moveFile");
    if (files.count(source) == 0) throw platform::RuntimeError{2, u"指定されたファイルが見つかりません。"};
    if (files.count(destination) != 0)
        throw platform::RuntimeError{183, u"既に存在するファイルを作成することはできません。"};
    files[destination] = files[source];
    files.erase(source);
    moves.emplace_back(source, destination);
}

std::unique_ptr<platform::ReadOnlyFile> Platform::openForReading(const Text& path) {
    enter("openForReading");
    const auto file = files.find(path);
    if (file == files.end()) throw platform::RuntimeError{2, u"指定されたファイルが見つかりません。"};
    return support::MemoryFile::copyOf(file->second);  // the content as it was when opened
}

void Platform::createFolder(const Text& path) {
    enter("createFolder");
    if (files.count(path) || folders.count(path))
        throw platform::RuntimeError{183, u"既に存在するファイルを作成することはできません。"};
    folders.insert(path);
}

std::unique_ptr<platform::NewFile> Platform::createNewFile(const Text& path) {
    enter("createNewFile");
    if (files.count(path) || folders.count(path)) throw platform::RuntimeError{80, u"ファイルが存在します。"};
    files[path];
    // Appends to the file in the map as the program writes it.
    class Written : public platform::NewFile {
    public:
        Written(Platform& p, Text path) : p_(p), path_(std::move(path)) {}
        void append(const std::string& bytes) override {
            p_.enter("appendFile");
            p_.files[path_] += bytes;
        }
        void close() override { p_.enter("closeFile"); }

    private:
        Platform& p_;
        Text path_;
    };
    return std::make_unique<Written>(*this, path);
}

std::unique_ptr<platform::Process> Platform::launchMinimizedFocus(const Text& commandLine) {
    enter("launch");
    launches.push_back(commandLine);
    pendingSource_ = argument(commandLine, u"src");
    pendingDest_ = argument(commandLine, u"dest");
    running_ = true;
    roundsLeft_ = compactorRounds;
    if (roundsLeft_ == 0) finishCompactor();
    return std::make_unique<FakeProcess>(*this, nextId_++, true);
}

void Platform::finishCompactor() {
    running_ = false;
    if (compactorWrites && files.count(pendingSource_) && !files.count(pendingDest_))
        files[pendingDest_] = compactorOutput(files[pendingSource_]);
}

std::unique_ptr<platform::Process> Platform::open(std::uint32_t access, bool inherit, std::uint32_t id) {
    enter("openProcess");
    lastAccess = access;
    lastInherit = inherit;
    if (openFails) return nullptr;
    return std::make_unique<FakeProcess>(*this, id, false);
}

bool Platform::processHasEnded() {
    enter("processHasEnded");
    return !running_;
}

void Platform::waitForProcessOrEvent() {
    enter("waitForProcessOrEvent");
    if (running_ && --roundsLeft_ <= 0) finishCompactor();
}

platform::LocalTime Platform::localTime() {
    enter("localTime");
    return now;
}

Text Platform::programFolder() {
    enter("programFolder");
    return folderOfProgram;
}

std::uintptr_t Platform::instanceHandle() {
    enter("instanceHandle");
    return 0x400000;
}

Text Platform::fromCodePage(std::uint32_t, const std::string& bytes) {
    enter("fromCodePage");
    Text text;
    for (const unsigned char c : bytes) text += static_cast<char16_t>(c);
    return text;
}

platform::OpenFileResult Platform::getOpenFileName(const platform::OpenFileRequest& request) {
    enter("getOpenFileName");
    dialogs.push_back(request);
    return dialogAnswer.value_or(platform::OpenFileResult{false, u""});
}

bool Platform::fileHeldOpen(const Text& path) {
    enter("fileHeldOpen");
    return heldOpen.count(path) != 0;
}

std::uint64_t Platform::fileSize(const Text& path) {
    enter("fileSize");
    const auto file = files.find(path);
    if (file == files.end()) throw platform::RuntimeError{2, u"指定されたファイルが見つかりません。"};
    return file->second.size();
}

std::uint64_t Platform::freeSpaceBeside(const Text&) {
    enter("freeSpaceBeside");
    return freeBytes;
}

void Platform::carry(const std::string& operation, const Text& from, const Text& to) {
    enter(operation);
    carried.emplace_back(from, to);
}

Text argument(const Text& commandLine, const Text& name) {
    const Text key = u" -" + name + u":\"";
    const std::size_t at = commandLine.find(key);
    if (at == Text::npos) return Text();
    const std::size_t start = at + key.size();
    const std::size_t end = commandLine.find(u'"', start);
    return commandLine.substr(start, end - start);
}

}  // namespace fake
