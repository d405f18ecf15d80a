// readLive: a database read through the run's file system on the window thread, which stays live.
//
// Reading a large database takes seconds: the window's events are handled every so many reads,
// as during the wait, so that it repaints, and ｷｬﾝｾﾙ and the close box end the program at once.
#include "main_window/frmMain.h"

namespace frmMain {

namespace {

class LiveFile : public platform::ReadOnlyFile {
public:
    explicit LiveFile(platform::ReadOnlyFile& file) : file_(file) {}
    std::uint64_t size() override { return file_.size(); }
    bool read(std::uint64_t offset, void* buffer, std::size_t length) override {
        if (++reads_ % kReadsBetweenEvents == 0) platform::window().processPendingEvents();
        return file_.read(offset, buffer, length);
    }

private:
    static constexpr unsigned kReadsBetweenEvents = 64;  // a quarter of a MiB of Jet 4 pages
    platform::ReadOnlyFile& file_;
    unsigned reads_ = 0;
};

}  // namespace

// The file is read through its own handle, closed again before the run goes on. A file the system
// will not open or read (another program holds it with no sharing, an I/O error) raises the
// system's error: that is no finding about the database.
jet::Reading readLive(platform::FileSystem& files, const Text& path, const jet::ValueReading& values) {
    const auto file = files.openForReading(path);
    LiveFile live(*file);
    return jet::read(
        live,
        [](std::uint32_t codePage, const std::string& bytes) {
            return platform::environment().fromCodePage(codePage, bytes);
        },
        values);
}

}  // namespace frmMain
