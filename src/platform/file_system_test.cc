#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "test_support.h"

namespace vemba {
namespace {

std::vector<std::string> names(FileSystem& fs, const std::string& dir, const std::string& mask) {
  std::vector<DirEntry> entries;
  EXPECT_TRUE(fs.list(dir, mask, &entries));
  std::vector<std::string> result;
  for (const DirEntry& e : entries) result.push_back(e.name);
  std::sort(result.begin(), result.end());
  return result;
}

TEST(FileSystem, BackslashesAreSeparatorsWhenAFileIsTouched) {
  test::TempDir dir;
  PosixFileSystem posix;
  FileSystem& fs = posix;
  EXPECT_EQ(os_path("C:\\a\\b.wav"), "C:/a/b.wav");
  ASSERT_TRUE(fs.write_file(dir.path() + "\\x.txt", "abc"));
  EXPECT_EQ(test::read_file(dir.file("x.txt")), "abc");
  EXPECT_TRUE(fs.exists(dir.path() + "\\x.txt"));
  EXPECT_EQ(fs.file_size(dir.path() + "\\x.txt"), 3);
  EXPECT_TRUE(fs.delete_file(dir.path() + "\\x.txt"));
  EXPECT_FALSE(fs.exists(dir.file("x.txt")));
}

TEST(FileSystem, ReadStatusAndLimit) {
  test::TempDir dir;
  PosixFileSystem posix;
  FileSystem& fs = posix;
  test::write_file(dir.file("f"), std::string(100000, 'z'));
  std::string out = "old";
  EXPECT_EQ(fs.read_file(dir.file("f"), &out, 70000), ReadStatus::kOk);
  EXPECT_EQ(out.size(), 70000u);
  EXPECT_EQ(fs.read_file(dir.file("none"), &out), ReadStatus::kNotFound);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(fs.read_file(dir.path(), &out), ReadStatus::kUnreadable);
}

TEST(FileSystem, WildcardListing) {
  test::TempDir dir;
  PosixFileSystem posix;
  FileSystem& fs = posix;
  for (const char* n : {"sound1.wav", "sound2.WAV", "sounds.dat", ".hidden.wav"}) {
    test::write_file(dir.file(n), "x");
  }
  EXPECT_EQ(names(fs, dir.path(), "*.wav"),
            (std::vector<std::string>{".hidden.wav", "sound1.wav"}));
  EXPECT_EQ(names(fs, dir.path() + "\\", "sound?.*").size(), 3u);
  std::vector<DirEntry> entries;
  EXPECT_FALSE(fs.list(dir.file("missing"), "*", &entries));
}

TEST(FileSystem, AtomicWriteReplacesAndLeavesNoTemporary) {
  test::TempDir dir;
  PosixFileSystem posix;
  FileSystem& fs = posix;
  ASSERT_TRUE(fs.write_file_atomic(dir.file("sound1.wav"), "first"));
  ASSERT_TRUE(fs.write_file_atomic(dir.file("sound1.wav"), "second"));
  EXPECT_EQ(test::read_file(dir.file("sound1.wav")), "second");
  EXPECT_EQ(names(fs, dir.path(), "*"), (std::vector<std::string>{".", "..", "sound1.wav"}));
  EXPECT_FALSE(fs.write_file_atomic(dir.file("missing/sound1.wav"), "x"));
}

TEST(FileSystem, AppendAndLock) {
  test::TempDir dir;
  PosixFileSystem posix;
  FileSystem& fs = posix;
  {
    std::unique_ptr<AppendFile> a = fs.open_append(dir.file("log.txt"));
    ASSERT_TRUE(a);
    a->append("one\n");
  }
  fs.open_append(dir.file("log.txt"))->append("two\n");
  EXPECT_EQ(test::read_file(dir.file("log.txt")), "one\ntwo\n");
  EXPECT_EQ(fs.open_append(dir.file("missing/log.txt")), nullptr);
  EXPECT_NE(fs.lock(dir.file("x.lock")), nullptr);
  EXPECT_EQ(fs.lock(dir.file("missing/x.lock")), nullptr);
}

}  // namespace
}  // namespace vemba
