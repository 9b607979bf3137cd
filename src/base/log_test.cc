#include "base/log.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"

namespace vemba {
namespace {

TEST(LogRecord, Format) {
  LocalTime when{2026, 12, 6, 9, 5, 3, 0};
  struct Case {
    int level;
    const char* message;
    const char* record;
  } cases[] = {
      {TTS_LL_INFO, "TTS_ID = '1'", "2026/12/06 09:05:03 [INFO] TTS_ID = '1'"},
      {TTS_LL_ERR, "x\n", "2026/12/06 09:05:03 [ERR ] x"},
      {TTS_LL_WARN, "x\r\n", "2026/12/06 09:05:03 [WARN] x"},
      {TTS_LL_VERB, "x\n\n\n", "2026/12/06 09:05:03 [VERB] x\\n"},  // at most two removed
      // Control bytes escaped: a message cannot forge a record or a terminal.
      {TTS_LL_INFO, "a\n2026/12/06 09:05:03 [ERR ] forged",
       "2026/12/06 09:05:03 [INFO] a\\n2026/12/06 09:05:03 [ERR ] forged"},
      {TTS_LL_INFO, "\x1b[2Jx\ty\rz\x7f\x01",
       "2026/12/06 09:05:03 [INFO] \\x1b[2Jx\\ty\\rz\\x7f\\x01"},
      {TTS_LL_INFO, "C:\\tts caf\xc3\xa9", "2026/12/06 09:05:03 [INFO] C:\\tts caf\xc3\xa9"},
      {7, "odd", "2026/12/06 09:05:03 [] odd"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(format_log_record(c.level, when, c.message), c.record) << c.message;
  }
}

TEST(LogRecord, LongMessagesAreCut) {
  LocalTime when{2026, 12, 6, 9, 5, 3, 0};
  EXPECT_EQ(format_log_record(TTS_LL_INFO, when, std::string(9000, 'x')).size(), kLogRecordLimit);
}

TEST(Log, LevelFilterAndFile) {
  MemoryFileSystem fs;
  fs.add_dir("/logs");
  FixedClock clock(utc_seconds(2026, 12, 6, 9, 5, 3));
  StringConsole console;
  Log log(console, clock);
  tts_log(log, TTS_LL_WARN, "before level %d", 1);  // level 0: errors only
  log.set_level(TTS_LL_WARN);
  log.open(fs, "\\logs\\logTTS20261206.txt");
  tts_log(log, TTS_LL_ERR, "e%d\n", 1);
  tts_log(log, TTS_LL_WARN, "w");
  tts_log(log, TTS_LL_INFO, "i");
  tts_log(log, TTS_LL_VERB, "v");
  log.close();
  tts_log(log, TTS_LL_ERR, "after close");
  const char* both =
      "2026/12/06 09:05:03 [ERR ] e1\n"
      "2026/12/06 09:05:03 [WARN] w\n";
  EXPECT_EQ(fs.contents("/logs/logTTS20261206.txt"), both);
  EXPECT_EQ(console.text(), std::string(both) + "2026/12/06 09:05:03 [ERR ] after close\n");
}

TEST(Log, UnopenableFileIsReportedOnTheConsole) {
  MemoryFileSystem fs;
  FixedClock clock(0);
  StringConsole console;
  Log log(console, clock);
  log.open(fs, "/nonexistent-dir/logTTS1.txt");
  EXPECT_EQ(console.text(), "ERROR!! Unable to open log file [/nonexistent-dir/logTTS1.txt]\n");
}

TEST(Log, DayNumber) { EXPECT_EQ(log_day_number({2026, 12, 6, 0, 0, 0, 0}), 20261206); }

}  // namespace
}  // namespace vemba
