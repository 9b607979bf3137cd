#include "platform/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "memory_file_system.h"
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

// The same cases on the real file system and on the fake the unit tests
// use, so the fake cannot drift from what it stands for.
class FileSystemContract : public ::testing::TestWithParam<bool> {
 protected:
  FileSystemContract() {
    if (memory()) mem_.add_dir(root());
  }
  bool memory() const { return GetParam(); }
  FileSystem& fs() { return memory() ? static_cast<FileSystem&>(mem_) : posix_; }
  std::string root() const { return memory() ? "/t" : dir_.path(); }
  std::string file(const std::string& name) const { return root() + "/" + name; }
  void make_dir(const std::string& name) {
    memory() ? mem_.add_dir(file(name)) : test::make_dirs(file(name));
  }
  std::string read(const std::string& name) {
    std::string out;
    EXPECT_EQ(fs().read_file(file(name), &out), ReadStatus::kOk) << name;
    return out;
  }

  test::TempDir dir_;
  PosixFileSystem posix_;
  MemoryFileSystem mem_;
};

INSTANTIATE_TEST_SUITE_P(RealAndFake, FileSystemContract, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Memory" : "Posix"; });

TEST_P(FileSystemContract, BackslashesAreSeparatorsWhenAFileIsTouched) {
  EXPECT_EQ(os_path("C:\\a\\b.wav"), "C:/a/b.wav");
  ASSERT_TRUE(fs().write_file(root() + "\\x.txt", "abc"));
  EXPECT_EQ(read("x.txt"), "abc");
  EXPECT_TRUE(fs().exists(root() + "\\x.txt"));
  EXPECT_TRUE(fs().exists(root() + "\\"));
  EXPECT_TRUE(fs().delete_file(root() + "\\x.txt"));
  EXPECT_FALSE(fs().exists(file("x.txt")));
  EXPECT_FALSE(fs().delete_file(file("x.txt")));
}

TEST_P(FileSystemContract, ReadStatusAndLimit) {
  ASSERT_TRUE(fs().write_file(file("f"), std::string(100000, 'z')));
  std::string out = "old";
  EXPECT_EQ(fs().read_file(file("f"), &out, 70000), ReadStatus::kOk);
  EXPECT_EQ(out.size(), 70000u);
  EXPECT_EQ(fs().read_file(file("none"), &out), ReadStatus::kNotFound);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(fs().read_file(root(), &out), ReadStatus::kUnreadable);
  make_dir("sub");
  EXPECT_EQ(fs().read_file(file("sub/../f"), &out, 3), ReadStatus::kOk);
  EXPECT_EQ(out, "zzz");
}

TEST_P(FileSystemContract, WildcardListing) {
  for (const char* n : {"sound1.wav", "sound2.WAV", "sounds.dat", ".hidden.wav"}) {
    ASSERT_TRUE(fs().write_file(file(n), "x"));
  }
  make_dir("sub.wav");
  ASSERT_TRUE(fs().write_file(file("sub.wav/deep.wav"), "x"));
  EXPECT_EQ(names(fs(), root(), "*.wav"),
            (std::vector<std::string>{".hidden.wav", "sound1.wav", "sub.wav"}));
  EXPECT_EQ(names(fs(), root() + "\\", "sound?.*").size(), 3u);
  EXPECT_EQ(names(fs(), file("sub.wav"), "*"), (std::vector<std::string>{"deep.wav"}));
  std::vector<DirEntry> entries;
  EXPECT_FALSE(fs().list(file("missing"), "*", &entries));
  EXPECT_FALSE(fs().list(file("sounds.dat"), "*", &entries));
  EXPECT_FALSE(fs().list("", "*", &entries));
}

TEST_P(FileSystemContract, WritesNeedTheirDirectory) {
  ASSERT_TRUE(fs().write_file_atomic(file("sound1.wav"), "first"));
  ASSERT_TRUE(fs().write_file_atomic(file("sound1.wav"), "second"));
  EXPECT_EQ(read("sound1.wav"), "second");
  // No temporary is left behind.
  EXPECT_EQ(names(fs(), root(), "*"), (std::vector<std::string>{"sound1.wav"}));
  EXPECT_FALSE(fs().write_file_atomic(file("missing/sound1.wav"), "x"));
  EXPECT_FALSE(fs().write_file(file("missing/page"), "x"));
  EXPECT_FALSE(fs().write_file(file("sound1.wav/page"), "x"));
  make_dir("sub");
  EXPECT_FALSE(fs().write_file(file("sub"), "x"));
  EXPECT_FALSE(fs().delete_file(file("sub")));
}

// A write in place is whole or not done at all: it must lie within the file
// and within one page.
TEST_P(FileSystemContract, InPlace) {
  std::string page = std::string(kFilePageSize - 3, 'a') + "bcdefgh";
  ASSERT_TRUE(fs().write_file(file("f"), page));
  std::unique_ptr<InPlaceFile> f = fs().open_in_place(file("f"));
  ASSERT_TRUE(f);
  EXPECT_EQ(f->read_all(), page);
  struct Case {
    size_t offset;
    std::string data;
    bool written;
  } cases[] = {
      {0, "AB", true},
      {kFilePageSize - 3, "BCD", true},   // the last bytes of the first page
      {kFilePageSize, "EFGH", true},      // the last bytes of the file
      {kFilePageSize - 1, "XY", false},   // across the page boundary
      {kFilePageSize + 2, "XYZ", false},  // past the end
      {5, "", false},
  };
  for (const Case& c : cases) EXPECT_EQ(f->overwrite(c.offset, c.data), c.written) << c.offset;
  EXPECT_EQ(read("f"), "AB" + std::string(kFilePageSize - 5, 'a') + "BCDEFGH");
  EXPECT_EQ(fs().open_in_place(file("missing")), nullptr);
  make_dir("sub");
  EXPECT_EQ(fs().open_in_place(file("sub")), nullptr);
}

// A stamp is made with time 0, keeps the time it is given, and its lock
// is held by one stamp at a time until that one goes.
TEST_P(FileSystemContract, Stamp) {
  EXPECT_EQ(fs().modified_time(file("stamp")), std::nullopt);
  std::unique_ptr<StampFile> first = fs().open_stamp(file("stamp"));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->time(), 0);
  EXPECT_EQ(fs().modified_time(file("stamp")), 0);
  ASSERT_TRUE(first->set_time(1796547903));
  EXPECT_EQ(fs().modified_time(file("stamp")), 1796547903);
  std::unique_ptr<StampFile> second = fs().open_stamp(file("stamp"));
  ASSERT_TRUE(second);
  EXPECT_EQ(second->time(), 1796547903);
  EXPECT_TRUE(first->try_lock());
  EXPECT_FALSE(second->try_lock());
  first.reset();
  EXPECT_TRUE(second->try_lock());
  make_dir("sub");
  EXPECT_EQ(fs().open_stamp(file("sub")), nullptr);
  EXPECT_EQ(fs().open_stamp(file("missing/stamp")), nullptr);
}

TEST_P(FileSystemContract, OpenedFilesCopiedIntoNewOnes) {
  ASSERT_TRUE(fs().write_file(file("a.raw"), "abcdef"));
  ReadStatus status;
  std::unique_ptr<ReadFile> a = fs().open_read(file("a.raw"), &status);
  ASSERT_TRUE(a);
  EXPECT_EQ(status, ReadStatus::kOk);
  EXPECT_EQ(a->size(), 6);
  // Replaced after it was opened: the opened file stays the old one.
  ASSERT_TRUE(fs().write_file_atomic(file("a.raw"), "XY"));
  for (Replace replace : {Replace::kInOneStep, Replace::kOldFirst}) {
    ASSERT_TRUE(fs().write_file(file("out.wav"), "old"));
    std::unique_ptr<AtomicFile> out = fs().create_atomic(file("out.wav"), replace);
    ASSERT_TRUE(out);
    EXPECT_TRUE(out->write("<"));
    EXPECT_TRUE(out->write_from(*a, 4));
    EXPECT_TRUE(out->write_from(*a, 0));
    EXPECT_EQ(read("out.wav"), "old");
    EXPECT_TRUE(out->commit());
    EXPECT_EQ(read("out.wav"), "<abcd");
  }
  // Fewer bytes than asked for: nothing is put in place, nothing left behind.
  std::unique_ptr<AtomicFile> out = fs().create_atomic(file("out.wav"), Replace::kOldFirst);
  EXPECT_FALSE(out->write_from(*a, 7));
  EXPECT_FALSE(out->commit());
  out.reset();
  EXPECT_EQ(read("out.wav"), "<abcd");
  EXPECT_EQ(names(fs(), root(), "*"), (std::vector<std::string>{"a.raw", "out.wav"}));
  EXPECT_EQ(fs().create_atomic(file("missing/out.wav"), Replace::kOldFirst), nullptr);

  EXPECT_EQ(fs().open_read(file("none"), &status), nullptr);
  EXPECT_EQ(status, ReadStatus::kNotFound);
  EXPECT_EQ(fs().open_read(root(), &status), nullptr);
  EXPECT_EQ(status, ReadStatus::kUnreadable);
}

TEST_P(FileSystemContract, AppendAndLock) {
  {
    std::unique_ptr<AppendFile> a = fs().open_append(file("log.txt"));
    ASSERT_TRUE(a);
    a->append("one\n");
  }
  fs().open_append(file("log.txt"))->append("two\n");
  EXPECT_EQ(read("log.txt"), "one\ntwo\n");
  EXPECT_EQ(fs().open_append(file("missing/log.txt")), nullptr);
  EXPECT_NE(fs().lock(file("x.lock")), nullptr);
  EXPECT_TRUE(fs().exists(file("x.lock")));
  EXPECT_EQ(fs().lock(file("missing/x.lock")), nullptr);
  make_dir("dir.lock");
  EXPECT_EQ(fs().lock(file("dir.lock")), nullptr);
}

// The lock, the schedule and the stamp are never reached through a planted
// symlink, and taking the lock leaves its file as it is.
TEST(PosixFileSystem, LockInPlaceAndStampRefuseSymlinks) {
  test::TempDir dir;
  PosixFileSystem fs;
  ASSERT_EQ(::symlink(dir.file("elsewhere").c_str(), dir.file("link.lock").c_str()), 0);
  EXPECT_EQ(fs.lock(dir.file("link.lock")), nullptr);
  EXPECT_FALSE(test::file_exists(dir.file("elsewhere")));
  test::write_file(dir.file("kept.lock"), "data");
  EXPECT_NE(fs.lock(dir.file("kept.lock")), nullptr);
  EXPECT_EQ(test::read_file(dir.file("kept.lock")), "data");
  ASSERT_EQ(::symlink(dir.file("kept.lock").c_str(), dir.file("link.dat").c_str()), 0);
  EXPECT_EQ(fs.open_in_place(dir.file("link.dat")), nullptr);
  EXPECT_EQ(fs.open_stamp(dir.file("link.dat")), nullptr);
  EXPECT_NE(fs.modified_time(dir.file("link.dat")), std::nullopt);
}

TEST(TemporaryName, ShortWithTheTargetsExtension) {
  struct Case {
    std::string target;
    std::string name;
  } cases[] = {
      {"sound42.wav", ".tmp-0123456789abcdef.wav"},
      {"sounds.dat", ".tmp-0123456789abcdef.dat"},
      {"result42", ".tmp-0123456789abcdef"},
      {".hidden", ".tmp-0123456789abcdef"},
      {"result" + std::string(240, 'x') + ".y", ".tmp-0123456789abcdef.y"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(temporary_name(c.target, 0x0123456789abcdefu), c.name) << c.target;
    EXPECT_TRUE(is_temporary_name(c.name));
  }
  EXPECT_FALSE(is_temporary_name("result42.tmp"));
}

// A planted symlink or named pipe: files are never written through the one
// and reading the other does not wait for a writer.
TEST(PosixFileSystem, NoSymlinkFollowedAndNoPipeWaitedFor) {
  test::TempDir dir;
  PosixFileSystem posix;
  FileSystem& fs = posix;
  test::write_file(dir.file("elsewhere"), "kept\n");
  ASSERT_EQ(::symlink(dir.file("elsewhere").c_str(), dir.file("logTTS1.txt").c_str()), 0);
  EXPECT_EQ(fs.open_append(dir.file("logTTS1.txt")), nullptr);
  ASSERT_TRUE(fs.write_file_atomic(dir.file("logTTS1.txt"), "replaced\n"));
  EXPECT_EQ(test::read_file(dir.file("elsewhere")), "kept\n");
  EXPECT_EQ(test::read_file(dir.file("logTTS1.txt")), "replaced\n");

  ASSERT_EQ(::mkfifo(dir.file("pipe.raw").c_str(), 0644), 0);
  std::string out;
  EXPECT_EQ(fs.read_file(dir.file("pipe.raw"), &out), ReadStatus::kUnreadable);
  EXPECT_EQ(fs.read_file("/dev/zero", &out, 10), ReadStatus::kUnreadable);
  // Prompts are opened this way.
  ReadStatus status = ReadStatus::kOk;
  EXPECT_EQ(fs.open_read(dir.file("pipe.raw"), &status), nullptr);
  EXPECT_EQ(status, ReadStatus::kUnreadable);
}

TEST(CopyFileBytes, EveryMethodCopiesExactlyAndNoticesAShortFile) {
  test::TempDir dir;
  std::string data;
  for (int i = 0; i < 200000; ++i) data += static_cast<char>(i * 7);
  test::write_file(dir.file("in"), data);
  for (CopyMethod start :
       {CopyMethod::kCopyFileRange, CopyMethod::kSendfile, CopyMethod::kReadWrite}) {
    int in = ::open(dir.file("in").c_str(), O_RDONLY);
    int out = ::open(dir.file("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_EQ(::write(out, "hdr", 3), 3);
    CopyMethod method = start;
    EXPECT_TRUE(copy_file_bytes(in, out, 150000, &method));
    EXPECT_EQ(method, start);
    EXPECT_TRUE(copy_file_bytes(in, out, 0, &method));
    EXPECT_FALSE(copy_file_bytes(in, out, 200001, &method));
    ::close(in);
    ::close(out);
    EXPECT_EQ(test::read_file(dir.file("out")).substr(0, 150003), "hdr" + data.substr(0, 150000))
        << static_cast<int>(start);
  }
  // Where the kernel cannot copy a range (here into a pipe), the next way
  // takes over and stays in use.
  int in = ::open(dir.file("in").c_str(), O_RDONLY);
  int pipe_ends[2];
  ASSERT_EQ(::pipe(pipe_ends), 0);
  CopyMethod method = CopyMethod::kCopyFileRange;
  EXPECT_TRUE(copy_file_bytes(in, pipe_ends[1], 1000, &method));
  EXPECT_EQ(method, CopyMethod::kSendfile);
  char got[1000];
  EXPECT_EQ(::read(pipe_ends[0], got, sizeof got), 1000);
  EXPECT_EQ(std::string(got, sizeof got), data.substr(0, 1000));
  for (int fd : {in, pipe_ends[0], pipe_ends[1]}) ::close(fd);
}

TEST(MemoryFileSystem, TimesOfWritesAndListings) {
  FixedClock clock(1000);
  MemoryFileSystem fs(clock);
  fs.add_file("/d/old", "x", 5);
  fs.add_dir("/d/sub", 7);
  ASSERT_TRUE(fs.write_file("/d/new", "y"));
  fs.set_mtime("/d/old", 6);
  std::vector<DirEntry> entries;
  ASSERT_TRUE(fs.list("/d", "*", &entries));
  std::vector<std::pair<std::string, int64_t>> seen;
  for (const DirEntry& e : entries) seen.emplace_back(e.name, e.mtime);
  EXPECT_EQ(seen,
            (std::vector<std::pair<std::string, int64_t>>{{"new", 1000}, {"old", 6}, {"sub", 7}}));
}

TEST(MemoryFileSystem, FaultsByPathAndCount) {
  MemoryFileSystem fs;
  fs.add_dir("/d");
  fs.fail(FsOp::kAtomicWrite, "\\sounds.dat", 2);
  fs.fail(FsOp::kRead, ".wav");
  EXPECT_TRUE(fs.write_file_atomic("/d/sounds.dat", "1"));
  EXPECT_FALSE(fs.write_file_atomic("/d/sounds.dat", "2"));  // the second call only
  EXPECT_TRUE(fs.write_file_atomic("/d/other.dat", "2"));
  EXPECT_TRUE(fs.write_file_atomic("/d/sounds.dat", "3"));
  EXPECT_EQ(fs.contents("/d/sounds.dat"), "3");
  EXPECT_TRUE(fs.write_file("/d/a.wav", "x"));
  std::string out;
  FileSystem& any = fs;
  EXPECT_EQ(any.read_file("/d/a.wav", &out), ReadStatus::kUnreadable);
  EXPECT_EQ(any.read_file("/d/other.dat", &out), ReadStatus::kOk);
}

}  // namespace
}  // namespace vemba
