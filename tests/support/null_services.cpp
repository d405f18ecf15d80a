#include "support/null_services.h"

#include <cstdlib>

namespace support {

void NullWindow::endProgram() { std::abort(); }

// No file to open: the system's "file not found".
std::unique_ptr<platform::ReadOnlyFile> NullFileSystem::openForReading(const platform::Text&) {
    throw platform::RuntimeError{2, u"指定されたファイルが見つかりません。"};
}

// A file that takes every byte and keeps none.
std::unique_ptr<platform::NewFile> NullFileSystem::createNewFile(const platform::Text&) {
    struct Nowhere : platform::NewFile {
        void append(const std::string&) override {}
        void close() override {}
    };
    return std::make_unique<Nowhere>();
}

}  // namespace support
