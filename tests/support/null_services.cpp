#include "support/null_services.h"

#include <cstdlib>

namespace support {

void NullWindow::endProgram() { std::abort(); }

// No file to open: the system's "file not found".
std::unique_ptr<platform::ReadOnlyFile> NullFileSystem::openForReading(const platform::Text&) {
    throw platform::RuntimeError{2, u"指定されたファイルが見つかりません。"};
}

}  // namespace support
