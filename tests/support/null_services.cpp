#include "support/null_services.h"

#include <cstdlib>

namespace support {

namespace {

class NoFiles : public platform::FileSystem {
public:
    bool fileExists(const platform::Text&) override { return false; }
    void moveFile(const platform::Text&, const platform::Text&) override {}
    std::unique_ptr<platform::ReadOnlyFile> openForReading(const platform::Text&) override { return nullptr; }
};

}  // namespace

void NullServices::endProgram() { std::abort(); }

std::unique_ptr<platform::FileSystem> NullServices::createFileSystem() { return std::make_unique<NoFiles>(); }

}  // namespace support
