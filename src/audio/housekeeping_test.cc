#include "audio/housekeeping.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"

namespace vemba {
namespace {

TEST(Asctime, Form) {
  struct Case {
    LocalTime t;
    const char* text;
  } cases[] = {
      {{2026, 12, 6, 9, 5, 3, 0}, "Sun Dec  6 09:05:03 2026\n"},
      {{2026, 1, 31, 23, 59, 59, 6}, "Sat Jan 31 23:59:59 2026\n"},
      {{1999, 7, 14, 0, 0, 0, 3}, "Wed Jul 14 00:00:00 1999\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(asctime_text(c.t), c.text);
}

struct SweepFixture : ::testing::Test {
  SweepFixture() { fs.add_dir("/d"); }
  void put(const std::string& name, int64_t age_seconds) {
    fs.add_file("/d/" + name, "x", kNow - age_seconds);
  }
  bool has(const std::string& name) { return fs.exists("/d/" + name); }
  int sweep(int64_t minutes, const char* mask) {
    return delete_old_files(fs, console, clock, kNow, "\\d\\", minutes, mask);
  }
  static constexpr int64_t kNow = 1796547903;  // Sun 2026-12-06 09:05:03 UTC
  MemoryFileSystem fs;
  FixedClock clock{0};  // only its calendar is read
  StringConsole console;
};

TEST_F(SweepFixture, AgeIsComparedStrictly) {
  struct Case {
    int64_t minutes;
    int64_t age;
    bool deleted;
  } cases[] = {
      {5, 300, false},
      {5, 301, true},
      {1, 60, false},
      {1, 61, true},
      {5, 0, false},
      {5, -50, false},  // written "in the future"
      {7200, 7200 * 60 + 1, true},
  };
  for (const Case& c : cases) {
    console.clear();
    put("sound1.wav", c.age);
    EXPECT_EQ(sweep(c.minutes, "*.wav"), c.deleted ? 1 : 0) << c.minutes << " " << c.age;
    EXPECT_EQ(has("sound1.wav"), !c.deleted) << c.age;
    EXPECT_EQ(console.text(),
              c.deleted ? "Deleting file = [sound1.wav] - Sun Dec  6 09:05:03 2026\n\n" : "");
  }
}

TEST_F(SweepFixture, MasksSelectTheFiles) {
  struct Case {
    const char* mask;
    std::vector<const char*> gone;
    std::vector<const char*> kept;
  } cases[] = {
      {"*.wav", {"a.wav", "b.wav"}, {"sounds.dat", "a.wav.tmp1_0", "sounds.dat.lock", "result1"}},
      {"*", {"a.wav", "b.wav", "sounds.dat", "a.wav.tmp1_0", "result1"}, {"sounds.dat.lock"}},
  };
  for (const Case& c : cases) {
    for (const char* name :
         {"a.wav", "b.wav", "sounds.dat", "a.wav.tmp1_0", "sounds.dat.lock", "result1"}) {
      put(name, 1000);
    }
    EXPECT_EQ(sweep(5, c.mask), static_cast<int>(c.gone.size())) << c.mask;
    for (const char* name : c.gone) EXPECT_FALSE(has(name)) << name;
    for (const char* name : c.kept) EXPECT_TRUE(has(name)) << name;
  }
}

TEST_F(SweepFixture, SubdirectoryIsAnnouncedButStays) {
  fs.add_dir("/d/old", kNow - 1000);
  EXPECT_EQ(sweep(5, "*"), 1);
  EXPECT_TRUE(has("old"));
  EXPECT_EQ(console.text(), "Deleting file = [old] - Sun Dec  6 09:05:03 2026\n\n");
}

TEST_F(SweepFixture, MissingDirectoryIsSkipped) {
  EXPECT_EQ(delete_old_files(fs, console, clock, kNow, "\\d\\none\\", 5, "*"), 0);
  EXPECT_EQ(console.text(), "");
}

}  // namespace
}  // namespace vemba
