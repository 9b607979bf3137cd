#include "audio/channel_pacing.h"

#include <gtest/gtest.h>

#include <thread>

#include "memory_file_system.h"
#include "test_support.h"

namespace vemba {
namespace {

constexpr int64_t kNow = 1796547903;  // 2026-12-06 09:05:03 UTC

ChannelSchedule schedule_of(std::initializer_list<int64_t> values) {
  ChannelSchedule s;
  s.busy_until.assign(values.begin(), values.end());
  return s;
}

struct PacingFixture : ::testing::Test {
  PacingFixture() : clock(kNow), log(console, clock) {
    log.set_level(TTS_LL_VERB);
    fs.add_dir("/www/tts");
  }
  std::string sounds_dir() const { return "\\www\\tts\\"; }
  std::string sounds_dat() const { return fs.contents("/www/tts/sounds.dat").value_or("(none)"); }
  void write_sounds_dat(const std::string& text) { fs.add_file("/www/tts/sounds.dat", text); }

  MemoryFileSystem fs;
  FixedClock clock;
  StringConsole console;
  Log log;
};

TEST(ChannelCount, FromSetting) {
  struct Case {
    std::optional<std::string> setting;
    int n;
    bool warned;
  } cases[] = {
      {std::nullopt, 1, true}, {"0", 1, true},
      {"-2", 1, true},         {"abc", 1, true},
      {"1", 1, false},         {"4", 4, false},
      {" 7x", 7, false},       {"10000", 10000, false},
      {"10001", 10000, false}, {"99999999999", 10000, false},
  };
  FixedClock clock(kNow);
  for (const Case& c : cases) {
    StringConsole console;
    Log log(console, clock);
    log.set_level(TTS_LL_VERB);
    EXPECT_EQ(channel_count(log, c.setting), c.n) << c.setting.value_or("(absent)");
    EXPECT_EQ(console.text() ==
                  "2026/12/06 09:05:03 [WARN] Wrong value of TTS_CHANNELS Setting default = 1\n",
              c.warned)
        << c.setting.value_or("(absent)");
  }
}

TEST(ChannelSchedule, ParseLines) {
  struct Case {
    std::string text;
    std::vector<int64_t> first;
  } cases[] = {
      {"", {0, 0, 0}},
      {"5\n6\n", {5, 6, 0}},
      {"5\nabc\n7", {5, 0, 7}},  // not a number counts as 0; last line without LF
      {"\n-3\n 8\n", {0, -3, 8}},
      {"4102444800\n99999999999999999999\n", {4102444800, INT64_MAX, 0}},  // 64-bit, saturating
      // A line longer than the read buffer is read as two lines.
      {"7" + std::string(510, ' ') + "23\n9\n", {7, 23, 9}},
  };
  for (const Case& c : cases) {
    ChannelSchedule s = schedule_of({42, 42, 42, 42});
    parse_channel_schedule(c.text, &s);
    for (size_t i = 0; i < c.first.size(); ++i) {
      EXPECT_EQ(s.value(static_cast<int>(i)), c.first[i]) << c.text.substr(0, 20) << " line " << i;
    }
    EXPECT_EQ(s.value(3), 0);  // earlier values never leak through
  }
  // Lines past the 10,000th are not stored.
  std::string many;
  for (int i = 1; i <= kMaxChannels + 5; ++i) many += std::to_string(i) + "\n";
  ChannelSchedule s;
  parse_channel_schedule(many, &s);
  EXPECT_EQ(s.busy_until.size(), static_cast<size_t>(kMaxChannels));
  EXPECT_EQ(s.value(kMaxChannels - 1), kMaxChannels);
  EXPECT_EQ(s.value(kMaxChannels), 0);
}

TEST(ChannelSchedule, ChooseLowestThenHighestIndex) {
  struct Case {
    ChannelSchedule s;
    int n;
    int chosen;
  } cases[] = {
      {schedule_of({10, 5}), 2, 1},      {schedule_of({5, 10}), 2, 0},
      {schedule_of({7, 7}), 2, 1},       {schedule_of({7, 7, 7, 7}), 4, 3},
      {schedule_of({3, 1, 1, 2}), 4, 2}, {schedule_of({3, 1, 1, 0}), 3, 2},  // only the first n
      {schedule_of({9}), 1, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(choose_channel(c.s, c.n), c.chosen) << c.n;
}

TEST(ChannelSchedule, BookingArithmetic) {
  struct Case {
    int64_t duration_ms;
    int64_t seconds;
  } rounding[] = {{0, 0}, {400, 0}, {499, 0}, {500, 1}, {1499, 1}, {1500, 2}, {2000, 2}};
  for (const Case& c : rounding) EXPECT_EQ(booked_seconds(c.duration_ms), c.seconds);

  struct BookCase {
    std::initializer_list<int64_t> values;
    int n;
    int64_t duration_ms;
    int channel;
    int64_t wait;
    int64_t busy_until;  // relative to now
  } cases[] = {
      {{kNow + 10, kNow + 5}, 2, 3000, 1, 5, 8},
      {{kNow + 4, kNow + 4}, 2, 1000, 1, 4, 5},
      {{kNow, kNow}, 2, 1000, 1, 0, 1},
      {{kNow - 100, kNow}, 2, 1000, 0, 0, 1},  // a free channel restarts now
      {{kNow - 100}, 1, 400, 0, 0, 0},
      {{0, 0, 0}, 2, 1499, 1, 0, 1},  // missing lines: free since 1970
  };
  for (const BookCase& c : cases) {
    ChannelSchedule s = schedule_of(c.values);
    ChannelSchedule before = s;
    Booking b = book_channel(&s, c.n, kNow, c.duration_ms);
    EXPECT_EQ(b.channel, c.channel) << c.duration_ms;
    EXPECT_EQ(b.wait_seconds, c.wait) << c.duration_ms;
    EXPECT_EQ(b.busy_until, kNow + c.busy_until) << c.duration_ms;
    before.set(c.channel, kNow + c.busy_until);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s.value(i), before.value(i)) << c.duration_ms;
  }
}

// Busy-until times are 64-bit: no booking wraps at 2^31 (January 2038).
TEST(ChannelSchedule, BookingsPast2038) {
  constexpr int64_t kLast32 = INT32_MAX;
  struct Case {
    int64_t now;
    int64_t busy;
    int64_t booked;  // the channel's new value
    int64_t wait;
  } cases[] = {
      {kLast32 - 5, kLast32, kLast32 + 3, 5},
      {kLast32 + 100, kLast32, kLast32 + 103, 0},
      {4102444800, 4102444810, 4102444813, 10},  // 1 January 2100
  };
  for (const Case& c : cases) {
    ChannelSchedule s = schedule_of({c.busy});
    Booking b = book_channel(&s, 1, c.now, 3000);
    EXPECT_EQ(b.busy_until, c.booked) << c.now;
    EXPECT_EQ(b.wait_seconds, c.wait) << c.now;
    EXPECT_EQ(format_channel_schedule(s, 1), std::to_string(c.booked) + "\n");
  }
}

TEST_F(PacingFixture, InitCreatesOnceWithTheCurrentTime) {
  ASSERT_TRUE(init_channel_schedule(fs, log, clock, sounds_dir(), 3));
  std::string now_line = std::to_string(kNow) + "\n";
  EXPECT_EQ(sounds_dat(), now_line + now_line + now_line);
  write_sounds_dat("garbage\n");
  ASSERT_TRUE(init_channel_schedule(fs, log, clock, sounds_dir(), 3));
  EXPECT_EQ(sounds_dat(), "garbage\n");  // an existing file is left as it is
  EXPECT_EQ(console.text(), "");
}

TEST_F(PacingFixture, InitFailsWhenTheFileCannotBeCreated) {
  EXPECT_FALSE(init_channel_schedule(fs, log, clock, "\\www\\missing\\", 2));
  EXPECT_EQ(console.text(), "2026/12/06 09:05:03 [ERR ] Unable to open [sounds.dat] file ...\n");
}

TEST(ChannelSchedule, EvenScan) {
  auto line = [](int64_t ahead) { return std::to_string(kNow + ahead) + "\n"; };
  const int64_t limit = kNow + kMaxBookingAhead;
  struct Case {
    std::string text;
    int n;
    int lowest;  // -1: not an even schedule
    int64_t lowest_value;
    bool beyond;
  } cases[] = {
      {line(5) + line(3) + line(3) + line(9), 4, 2, kNow + 3, false},  // the last of equals
      {line(-90000) + line(0), 2, 0, kNow - 90000, false},
      {line(86400) + line(86400), 2, 1, kNow + 86400, false},
      {line(86401) + line(2), 2, 1, kNow + 2, true},
      {line(0), 1, 0, kNow, false},
      // Not even: a line count other than n, a width other than the limit's, a
      // stray byte anywhere in a line, a leading zero, no final line feed.
      {line(5) + line(3), 3, -1, 0, false},
      {line(5) + line(3) + line(4), 2, -1, 0, false},
      {"179654790\n179654790\n", 2, -1, 0, false},
      {"17965479031\n", 1, -1, 0, false},
      {"01796547903\n", 1, -1, 0, false},
      {line(1) + "179654790x\n", 2, -1, 0, false},
      {line(1) + "x796547903\n", 2, -1, 0, false},
      {line(1) + "1796 47903\n", 2, -1, 0, false},
      {line(1) + "1796547903\x0b", 2, -1, 0, false},
      {line(1) + "1796547903 ", 2, -1, 0, false},
      {"-796547903\n", 1, -1, 0, false},
      {"", 1, -1, 0, false},
  };
  for (const Case& c : cases) {
    std::optional<EvenSchedule> even = scan_even_schedule(c.text, c.n, limit);
    ASSERT_EQ(even.has_value(), c.lowest >= 0) << c.text;
    if (!even) continue;
    EXPECT_EQ(even->lowest, c.lowest) << c.text;
    EXPECT_EQ(even->lowest_value, c.lowest_value) << c.text;
    EXPECT_EQ(even->width, 11u) << c.text;
    EXPECT_EQ(even->beyond_limit, c.beyond) << c.text;
  }
}

TEST_F(PacingFixture, BookingFailsWithoutTheFile) {
  EXPECT_FALSE(book_and_wait(fs, log, clock, sounds_dir(), 2, 1000));
  EXPECT_EQ(console.text(), "2026/12/06 09:05:03 [ERR ] Unable to open [sounds.dat] file ...\n");
  EXPECT_EQ(clock.slept_ms(), 0);
}

// Whether the booked line is changed in place or the whole file replaced,
// its bytes are the n "%lld\n" lines of the schedule.
TEST_F(PacingFixture, BookRewritesThenSleeps) {
  auto line = [](int64_t ahead) { return std::to_string(kNow + ahead) + "\n"; };
  auto lines = [&](int count, int64_t ahead) {
    std::string text;
    for (int i = 0; i < count; ++i) text += line(ahead);
    return text;
  };
  struct Case {
    std::string file;
    int n;
    int64_t duration_ms;
    std::string rewritten;
    int64_t slept_ms;
    bool in_place;
  } cases[] = {
      // First run: every channel equal, channel N booked from now.
      {"", 2, 1000, line(0) + line(1), 0, true},
      {line(10) + line(5), 2, 2000, line(10) + line(7), 5000, true},
      {line(-100) + line(-50), 2, 1000, line(1) + line(-50), 0, true},
      // Fewer lines than channels: the rewrite has N lines.
      {line(3), 3, 1000, line(3) + "0\n" + line(1), 0, false},
      // More lines than channels: the surplus is dropped.
      {"1\n2\n3\n", 2, 600, line(1) + "2\n", 0, false},
      {line(0) + line(0) + line(0), 2, 1000, line(0) + line(1), 0, false},
      // Lines not as a booking writes them are written anew.
      {"01796547903\n" + line(4), 2, 1000, line(1) + line(4), 0, false},
      {line(4) + " 1796547903\n", 2, 1000, line(4) + line(1), 0, false},
      // The booked line would straddle a page (bytes 4092 to 4102): a write
      // there could be torn by a kill, so the whole file is replaced.
      {lines(372, 9) + line(0) + lines(10, 9), 383, 1000, lines(372, 9) + line(1) + lines(10, 9), 0,
       false},
      {lines(371, 9) + line(0) + lines(11, 9), 383, 1000, lines(371, 9) + line(1) + lines(11, 9), 0,
       true},
  };
  for (const Case& c : cases) {
    FixedClock run_clock(kNow);
    if (c.file.empty()) {
      ASSERT_TRUE(init_channel_schedule(fs, log, run_clock, sounds_dir(), c.n));
    } else {
      write_sounds_dat(c.file);
    }
    int replaced = fs.calls(FsOp::kAtomicWrite);
    ASSERT_TRUE(book_and_wait(fs, log, run_clock, sounds_dir(), c.n, c.duration_ms));
    EXPECT_EQ(sounds_dat(), c.rewritten) << c.file.substr(0, 40);
    EXPECT_EQ(run_clock.slept_ms(), c.slept_ms) << c.file.substr(0, 40);
    EXPECT_EQ(fs.calls(FsOp::kAtomicWrite) == replaced, c.in_place) << c.file.substr(0, 40);
  }
  EXPECT_EQ(console.text(), "");
}

TEST_F(PacingFixture, UnwritableScheduleStillWaits) {
  write_sounds_dat(std::to_string(kNow + 2) + "\n");
  fs.fail(FsOp::kOverwrite, "sounds.dat");  // as on a read-only share
  fs.fail(FsOp::kAtomicWrite, "sounds.dat");
  EXPECT_TRUE(book_and_wait(fs, log, clock, sounds_dir(), 1, 1000));
  EXPECT_EQ(clock.slept_ms(), 2000);
  EXPECT_EQ(sounds_dat(), std::to_string(kNow + 2) + "\n");
  EXPECT_EQ(console.text(),
            "2026/12/06 09:05:03 [ERR ] Unable to open [sounds.dat] file for Writing. "
            "Skipping ...\n");
}

// A value further ahead than any booking can be (corrupt, or the clock was set
// back) would make requests sleep for days: the channel is reset instead.
TEST_F(PacingFixture, FarFutureBookingsAreReset) {
  auto line = [](int64_t ahead) { return std::to_string(kNow + ahead) + "\n"; };
  struct Case {
    std::string file;
    int n;
    std::string rewritten;
    int64_t slept_ms;
    std::string warning;  // after "[WARN] "
  } cases[] = {
      // A day ahead is still a booking; a second more is not.
      {line(86400) + line(86401), 2, line(86400) + line(1), 0,
       "1 channel(s) in [sounds.dat] booked more than a day ahead, the first is channel 2 until " +
           std::to_string(kNow + 86401) + ". Resetting ..."},
      {line(86400) + line(5), 2, line(86400) + line(6), 5000, ""},
      // Every channel two days ahead, as after the clock was set back.
      {line(172800) + line(172801) + line(172802), 3, line(0) + line(0) + line(1), 0,
       "3 channel(s) in [sounds.dat] booked more than a day ahead, the first is channel 1 until " +
           std::to_string(kNow + 172800) + ". Resetting ..."},
      {"9223372036854775807\n", 1, line(1), 0,
       "1 channel(s) in [sounds.dat] booked more than a day ahead, the first is channel 1 until "
       "9223372036854775807. Resetting ..."},
  };
  for (const Case& c : cases) {
    FixedClock run_clock(kNow);
    console.clear();
    write_sounds_dat(c.file);
    ASSERT_TRUE(book_and_wait(fs, log, run_clock, sounds_dir(), c.n, 1000)) << c.file;
    EXPECT_EQ(sounds_dat(), c.rewritten) << c.file;
    EXPECT_EQ(run_clock.slept_ms(), c.slept_ms) << c.file;
    EXPECT_EQ(console.text(),
              c.warning.empty() ? "" : "2026/12/06 09:05:03 [WARN] " + c.warning + "\n");
  }
}

// No lock, no booking: an unlocked read-modify-write loses the bookings of
// concurrent requests unseen.
TEST_F(PacingFixture, NoLockNoBooking) {
  write_sounds_dat(std::to_string(kNow + 2) + "\n");
  fs.fail(FsOp::kLock, "sounds.dat.lock");
  EXPECT_FALSE(book_and_wait(fs, log, clock, sounds_dir(), 1, 1000));
  EXPECT_EQ(sounds_dat(), std::to_string(kNow + 2) + "\n");
  EXPECT_EQ(clock.slept_ms(), 0);
  EXPECT_EQ(console.text(),
            "2026/12/06 09:05:03 [ERR ] Unable to lock [sounds.dat.lock] file ...\n");
}

// Bookings are serialised by the real lock, so this one runs on disk.
TEST(ChannelBooking, ConcurrentBookingsAreNeverLost) {
  constexpr int kThreads = 8;
  constexpr int kEach = 25;
  constexpr int kChannels = 4;
  test::TempDir dir;
  const std::string sounds_dir = dir.path() + "\\";
  PosixFileSystem fs;
  FixedClock clock(kNow);
  StringConsole console;
  Log log(console, clock);
  ASSERT_TRUE(init_channel_schedule(fs, log, clock, sounds_dir, kChannels));
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&sounds_dir] {
      PosixFileSystem own_fs;  // each worker stands for a separate process
      FixedClock own_clock(kNow);
      StringConsole own_console;
      Log own_log(own_console, own_clock);
      for (int i = 0; i < kEach; ++i) {
        book_and_wait(own_fs, own_log, own_clock, sounds_dir, kChannels, 1000);
      }
    });
  }
  for (std::thread& t : threads) t.join();
  std::vector<std::string> lines = test::lines_of(test::read_file(dir.file("sounds.dat")));
  ASSERT_EQ(lines.size(), static_cast<size_t>(kChannels));
  int64_t booked = 0;
  for (const std::string& line : lines) booked += std::stoll(line) - kNow;
  EXPECT_EQ(booked, kThreads * kEach);
}

}  // namespace
}  // namespace vemba
