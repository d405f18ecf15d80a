// readLive: a database read through the run's file system on the window thread, which stays live.
//
// Reading a large database takes seconds: the window's events are handled every so many reads,
// as during the wait, so that it repaints, and ｷｬﾝｾﾙ and the close box end the program at once.
#include <algorithm>
#include <cstring>
#include <vector>

#include "main_window/frmMain.h"

namespace frmMain {

namespace {

// The reader asks for a page at a time, and a table's pages mostly follow one another: the file is
// read a MiB at a time (pages never straddle one), which costs the system one call where it would
// cost 256.
class LiveFile : public platform::ReadOnlyFile {
public:
    explicit LiveFile(platform::ReadOnlyFile& file) : file_(file), size_(file.size()) {}
    std::uint64_t size() override { return size_; }
    bool read(std::uint64_t offset, void* buffer, std::size_t length) override {
        if (++reads_ % kReadsBetweenEvents == 0) platform::window().processPendingEvents();
        if (length > kChunk || offset >= size_ || length > size_ - offset)
            return file_.read(offset, buffer, length);
        if (offset < chunkAt_ || offset + length > chunkAt_ + chunk_.size()) {
            chunkAt_ = offset - offset % kChunk;
            chunk_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, size_ - chunkAt_)));
            if (!file_.read(chunkAt_, chunk_.data(), chunk_.size())) {
                chunk_.clear();
                return file_.read(offset, buffer, length);
            }
        }
        std::memcpy(buffer, chunk_.data() + (offset - chunkAt_), length);
        return true;
    }

private:
    static constexpr unsigned kReadsBetweenEvents = 64;  // a quarter of a MiB of Jet 4 pages
    static constexpr std::uint64_t kChunk = 1 << 20;
    platform::ReadOnlyFile& file_;
    const std::uint64_t size_;
    std::vector<std::uint8_t> chunk_;  // the file's bytes from chunkAt_ on
    std::uint64_t chunkAt_ = 0;
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
