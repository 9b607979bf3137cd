// The one logging operation of every subsystem: a time-stamped, level-tagged
// record on standard output and in the day's log file.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"

namespace vemba {

enum LogLevel { TTS_LL_ERR = 0, TTS_LL_WARN = 1, TTS_LL_INFO = 2, TTS_LL_VERB = 3 };

/// Header and message together never exceed this many characters.
constexpr size_t kLogRecordLimit = 5120 - 1;

/// The process log. Records go to the console and, while a file is open,
/// are appended to it in one write each.
class Log {
 public:
  Log(Console& console, const Clock& clock) : console_(console), clock_(clock) {}

  /// Highest level written; 0 (errors only) until the settings say otherwise.
  int level() const { return level_; }
  void set_level(int level) { level_ = level; }

  /// Opens the log file for appending; on failure says so on the console and
  /// goes on without a file.
  void open(FileSystem& fs, const std::string& path);
  void close() { file_.reset(); }

  /// Formats, filters and writes one record.
  void write(int level, std::string_view message);

  Console& console() { return console_; }

 private:
  Console& console_;
  const Clock& clock_;
  int level_ = 0;
  std::unique_ptr<AppendFile> file_;
};

/// The stamp that opens every record: "%4d/%02d/%02d %02d:%02d:%02d ".
std::string log_stamp(const LocalTime& when);

/// The record text for a message at a level and time, without the final line
/// feed: the stamp, "[%s] " with the level's tag, and the message with at
/// most two trailing line-end characters removed and every other control
/// byte escaped ("\n", "\r", "\t", "\x1b"), so the record is one line.
std::string format_log_record(int level, const LocalTime& when, std::string_view message);

/// printf-style logging through a Log.
void tts_log(Log& log, int level, const char* format, ...) __attribute__((format(printf, 3, 4)));

/// The day number that names the log file: year * 10000 + month * 100 + day.
int log_day_number(const LocalTime& date);

}  // namespace vemba
