// What the stand-in's tests share: where JetComp.exe and the test databases are, scratch
// folders, whole-file reads and writes, and running JetComp.exe as a child process.
#pragma once

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

namespace standin {

std::wstring windows_path(const char* unix_path);  // "/a/b" as Wine's drive Z: sees it
std::wstring jetcomp_exe();
std::wstring testdata_file(const wchar_t* name);

// Bytes 0..19 of a database's first page, naming the engine ("Standard Jet DB" or "Standard ACE DB").
std::string database_header(const char* engine);

// A whole file's bytes; a file that cannot be read fails the test and reads as empty.
std::string read_file(const std::wstring& path);
void write_file(const std::wstring& path, const std::string& bytes);
bool path_exists(const std::wstring& path);
std::vector<std::wstring> folder_names(const std::wstring& folder);  // sorted, without "." and ".."
std::vector<std::wstring> sorted(std::vector<std::wstring> names);

// A new folder under the system's temporary folder, removed with everything in it at the end.
// leaf names one more folder inside it, so a test can put spaces or Japanese in the path.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::wstring& leaf = L"work");
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring root_;
  std::wstring path_;
};

// JetComp.exe started as "<exe>" followed by arguments, its stdout and stderr collected (the
// stand-in writes UTF-8 to pipes). The destructor kills it if it is still running.
class JetCompProcess {
 public:
  explicit JetCompProcess(const std::wstring& arguments);
  ~JetCompProcess();
  JetCompProcess(const JetCompProcess&) = delete;
  JetCompProcess& operator=(const JetCompProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  bool running() const;
  bool wait(DWORD milliseconds);  // true when it has ended
  void kill();
  DWORD exit_code() const;
  // Everything written, once the process has ended.
  const std::string& out();
  const std::string& err();

 private:
  void join_readers();

  HANDLE process_ = nullptr;
  std::thread out_reader_, err_reader_;
  std::string out_, err_;
};

struct RunResult {
  DWORD exit_code;
  std::string out;
  std::string err;
};

// Runs JetComp.exe to the end (a run that hangs fails the test after 60 s).
RunResult run_jetcomp(const std::wstring& arguments);
// The arguments as Harbek writes them: -src:"<source>" -dest:"<destination>".
std::wstring copy_arguments(const std::wstring& source, const std::wstring& destination);

}  // namespace standin
