// Shared helpers of the Win32-layer tests: a fresh temporary folder, files, the folder of the test
// program, and a hook that answers a message box after reading it.
#pragma once

#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace win32test {

std::wstring programFolder();

// A new empty folder under the system's temporary folder; removed with its files on destruction.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& name = L"harbek test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

void writeFile(const std::wstring& path, const std::string& content);
std::string readFile(const std::wstring& path);   // "<missing>" when it cannot be opened

inline platform::Text text(const std::wstring& s) { return platform::Text(s.begin(), s.end()); }
inline std::wstring wstr(const platform::Text& s) { return std::wstring(s.begin(), s.end()); }
std::string utf8(const std::wstring& s);

// The next message box this thread shows is read and answered with `button`.
struct SeenBox {
    std::wstring caption, text;
    bool seen = false;
};
void answerNextBox(SeenBox& seen, int button);

}  // namespace win32test
