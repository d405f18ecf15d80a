#include "standin_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

namespace standin {
namespace {

std::wstring widen(const char* utf8) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring text(size_t(size > 0 ? size - 1 : 0), L'\0');
  if (size > 1) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text.data(), size);
  return text;
}

void remove_tree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        remove_tree(child);
      else
        DeleteFileW(child.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

// Reads a pipe to its end (the child closed it, or died).
void drain(HANDLE pipe, std::string* into) {
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) into->append(buffer, n);
  CloseHandle(pipe);
}

}  // namespace

std::wstring windows_path(const char* unix_path) {
  std::wstring path = L"Z:" + widen(unix_path);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

std::wstring jetcomp_exe() { return windows_path(JETCOMP_EXE); }
std::wstring testdata_file(const wchar_t* name) { return windows_path(TESTDATA_DIR) + L"\\" + name; }

std::string database_header(const char* engine) {
  std::string header("\x00\x01\x00\x00", 4);
  header += engine;
  header += '\0';
  return header;
}

std::string read_file(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot open " << path << " (error " << GetLastError() << ")";
    return {};
  }
  std::string bytes;
  char buffer[65536];
  DWORD n = 0;
  while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
  CloseHandle(file);
  return bytes;
}

void write_file(const std::wstring& path, const std::string& bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create " << path << " (error " << GetLastError() << ")";
  DWORD n = 0;
  const BOOL ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &n, nullptr);
  CloseHandle(file);
  ASSERT_TRUE(ok && n == bytes.size()) << "cannot write " << path;
}

bool path_exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> folder_names(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return sorted(std::move(names));
}

std::vector<std::wstring> sorted(std::vector<std::wstring> names) {
  std::sort(names.begin(), names.end());
  return names;
}

ScratchFolder::ScratchFolder(const std::wstring& leaf) {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  root_ = std::wstring(temp, length) + L"jetcomp-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  path_ = root_ + L"\\" + leaf;
  EXPECT_TRUE(CreateDirectoryW(root_.c_str(), nullptr) && CreateDirectoryW(path_.c_str(), nullptr))
      << "cannot create " << path_ << " (error " << GetLastError() << ")";
}

ScratchFolder::~ScratchFolder() { remove_tree(root_); }

JetCompProcess::JetCompProcess(const std::wstring& arguments) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE out_read, out_write, err_read, err_write;
  if (!CreatePipe(&out_read, &out_write, &inheritable, 0) || !CreatePipe(&err_read, &err_write, &inheritable, 0)) {
    ADD_FAILURE() << "CreatePipe failed (error " << GetLastError() << ")";
    return;
  }
  SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(err_read, HANDLE_FLAG_INHERIT, 0);

  const std::wstring exe = jetcomp_exe();
  std::wstring command_line = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = INVALID_HANDLE_VALUE;
  startup.hStdOutput = out_write;
  startup.hStdError = err_write;
  PROCESS_INFORMATION info{};
  const BOOL created = CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                      nullptr, nullptr, &startup, &info);
  const DWORD error = GetLastError();
  CloseHandle(out_write);  // the child holds its own copies; the readers see the end when it exits
  CloseHandle(err_write);
  out_reader_ = std::thread(drain, out_read, &out_);
  err_reader_ = std::thread(drain, err_read, &err_);
  if (!created) {
    ADD_FAILURE() << "cannot start " << command_line << " (error " << error << ")";
    return;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
}

JetCompProcess::~JetCompProcess() {
  if (running()) kill();
  join_readers();
  if (process_ != nullptr) CloseHandle(process_);
}

bool JetCompProcess::running() const {
  return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool JetCompProcess::wait(DWORD milliseconds) {
  return process_ == nullptr || WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

void JetCompProcess::kill() {
  if (process_ == nullptr) return;
  TerminateProcess(process_, 99);
  WaitForSingleObject(process_, 10000);
}

DWORD JetCompProcess::exit_code() const {
  DWORD code = 0xDEADBEEF;
  if (process_ != nullptr) GetExitCodeProcess(process_, &code);
  return code;
}

void JetCompProcess::join_readers() {
  if (out_reader_.joinable()) out_reader_.join();
  if (err_reader_.joinable()) err_reader_.join();
}

const std::string& JetCompProcess::out() {
  join_readers();
  return out_;
}

const std::string& JetCompProcess::err() {
  join_readers();
  return err_;
}

RunResult run_jetcomp(const std::wstring& arguments) {
  JetCompProcess process(arguments);
  if (!process.wait(60000)) ADD_FAILURE() << "JetComp.exe " << arguments << " still runs after 60 s";
  process.kill();
  const DWORD code = process.exit_code();
  return {code, process.out(), process.err()};
}

std::wstring copy_arguments(const std::wstring& source, const std::wstring& destination) {
  return L"-src:\"" + source + L"\" -dest:\"" + destination + L"\"";
}

}  // namespace standin
