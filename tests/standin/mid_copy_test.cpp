// What may happen while a large copy is under way: the stand-in is killed, or a file appears
// under the destination's name. Neither may leave a partial file or overwrite anything.
#include <gtest/gtest.h>

#include "standin_harness.h"

using namespace standin;

namespace {

// A large database, sparse on disk, so that a copy of it takes long enough to be caught.
void make_big_database(const std::wstring& path) {
  write_file(path, database_header("Standard Jet DB"));
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 512LL << 20;
  const bool grown = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  ASSERT_TRUE(grown);
}

// Waits until a file other than the source and the destination holds data: the partial copy,
// caught after it was set up and before it is renamed.
bool caught_copying(const JetCompProcess& copy, const ScratchFolder& dir) {
  while (copy.running()) {
    for (const std::wstring& name : folder_names(dir.path())) {
      WIN32_FILE_ATTRIBUTE_DATA data;
      if (name != L"big.mdb" && name != L"out.mdb" &&
          GetFileAttributesExW((dir / name).c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow != 0)
        return true;
    }
  }
  return false;
}

TEST(StandinMidCopy, KilledMidCopyLeavesNoPartialFile) {
  ScratchFolder dir;
  ASSERT_NO_FATAL_FAILURE(make_big_database(dir / L"big.mdb"));

  JetCompProcess copy(copy_arguments(dir / L"big.mdb", dir / L"out.mdb"));
  ASSERT_TRUE(copy.started());
  if (!caught_copying(copy, dir)) GTEST_SKIP() << "the copy ended before it could be interrupted";
  copy.kill();

  // The system closes a killed process's files just after it ends.
  for (int i = 0; i < 200 && folder_names(dir.path()).size() > 1; ++i) Sleep(10);
  EXPECT_EQ(folder_names(dir.path()), std::vector<std::wstring>{L"big.mdb"});
}

TEST(StandinMidCopy, KeepsADestinationThatAppearedMeanwhile) {
  ScratchFolder dir;
  ASSERT_NO_FATAL_FAILURE(make_big_database(dir / L"big.mdb"));

  JetCompProcess copy(copy_arguments(dir / L"big.mdb", dir / L"out.mdb"));
  ASSERT_TRUE(copy.started());
  if (!caught_copying(copy, dir)) GTEST_SKIP() << "the copy ended before the destination could be made";
  write_file(dir / L"out.mdb", "made while the copy ran");
  ASSERT_TRUE(copy.wait(60000));

  EXPECT_EQ(copy.exit_code(), 4u) << copy.err();
  EXPECT_EQ(read_file(dir / L"out.mdb"), "made while the copy ran");
  EXPECT_EQ(folder_names(dir.path()), sorted({L"big.mdb", L"out.mdb"}));
}

}  // namespace
