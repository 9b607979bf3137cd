#include "audio/housekeeping.h"

#include <gtest/gtest.h>

#include <algorithm>

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

// Temporaries a killed write left go with the files of the mask, whatever
// their extension; the schedule, its lock and the sweep stamp always stay.
TEST_F(SweepFixture, MasksSelectTheFiles) {
  const std::vector<const char*> all = {"a.wav",
                                        "b.wav",
                                        "result1",
                                        "sounds.dat",
                                        "sounds.dat.lock",
                                        "sounds.dat.sweep",
                                        ".tmp-0123456789abcdef.dat",
                                        ".tmp-0123456789abcdef.wav",
                                        ".tmp-0123456789abcdef",
                                        "sounds.dat.tmp4242_0.dat"};
  struct Case {
    const char* mask;
    std::vector<const char*> kept;
  } cases[] = {
      {"*.wav", {"result1", "sounds.dat", "sounds.dat.lock", "sounds.dat.sweep"}},
      {"*", {"sounds.dat", "sounds.dat.lock", "sounds.dat.sweep"}},
  };
  for (const Case& c : cases) {
    for (const char* name : all) put(name, 1000);
    put(".tmp-fedcba9876543210.dat", 10);  // still being written
    EXPECT_EQ(sweep(5, c.mask), static_cast<int>(all.size() - c.kept.size())) << c.mask;
    for (const char* name : all) {
      bool kept = std::find(c.kept.begin(), c.kept.end(), std::string(name)) != c.kept.end();
      EXPECT_EQ(has(name), kept) << c.mask << " " << name;
    }
    EXPECT_TRUE(has(".tmp-fedcba9876543210.dat"));
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

// The sweep of a deployment runs at most once per interval, decided by the
// stamp's time and lock.
TEST(SweepInterval, OncePerIntervalByTheStamp) {
  constexpr int64_t kNow = 1796547903;
  FixedClock clock(kNow);
  MemoryFileSystem fs(clock);
  StringConsole console;
  fs.add_dir("/s");
  const SweepPlan plan{"/s/", "/p/", "/l/", 5, 7200, 60};
  auto sweep = [&] { return sweep_old_files(fs, console, clock, clock.now(), plan); };
  EXPECT_TRUE(sweep());  // never swept before
  EXPECT_EQ(fs.modified_time("/s/sounds.dat.sweep"), kNow);
  EXPECT_FALSE(sweep());
  clock.set_now(kNow + 59);
  EXPECT_FALSE(sweep());
  clock.set_now(kNow + 60);
  EXPECT_TRUE(sweep());
  // A clock set back does not hold the sweeps off.
  clock.set_now(kNow - 60);
  EXPECT_TRUE(sweep());
  EXPECT_FALSE(sweep());
  // Intervals and stamps at the ends of the range overflow nothing.
  const SweepPlan rare{"/s/", "/p/", "/l/", 5, 7200, INT64_MAX};
  EXPECT_FALSE(sweep_old_files(fs, console, clock, clock.now(), rare));
  fs.set_mtime("/s/sounds.dat.sweep", INT64_MIN);
  EXPECT_TRUE(sweep());
  // While another process sweeps, the others skip it, due or not.
  clock.set_now(kNow + 600);
  {
    std::unique_ptr<StampFile> other = fs.open_stamp("/s/sounds.dat.sweep");
    ASSERT_TRUE(other && other->try_lock());
    EXPECT_FALSE(sweep());
  }
  EXPECT_TRUE(sweep());
  // Without an interval, or a stamp that can be kept, every request sweeps.
  const SweepPlan every{"/s/", "/p/", "/l/", 5, 7200, 0};
  EXPECT_TRUE(sweep_old_files(fs, console, clock, clock.now(), every));
  EXPECT_TRUE(sweep_old_files(fs, console, clock, clock.now(), every));
  fs.fail(FsOp::kStamp, "sounds.dat.sweep");
  fs.delete_file("/s/sounds.dat.sweep");
  EXPECT_TRUE(sweep());
  EXPECT_TRUE(sweep());
}

}  // namespace
}  // namespace vemba
