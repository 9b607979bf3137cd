#include "base/log.h"

#include <cstdarg>

#include "platform/text_util.h"

namespace vemba {

namespace {

const char* level_tag(int level) {
  switch (level) {
    case TTS_LL_ERR:
      return "ERR ";
    case TTS_LL_WARN:
      return "WARN";
    case TTS_LL_INFO:
      return "INFO";
    case TTS_LL_VERB:
      return "VERB";
    default:
      return "";
  }
}

bool is_line_end(char c) { return c == '\r' || c == '\n'; }

}  // namespace

std::string log_stamp(const LocalTime& when) {
  return string_printf("%4d/%02d/%02d %02d:%02d:%02d ", when.year, when.month, when.day, when.hour,
                       when.minute, when.second);
}

std::string format_log_record(int level, const LocalTime& when, std::string_view message) {
  for (int i = 0; i < 2 && !message.empty() && is_line_end(message.back()); ++i) {
    message.remove_suffix(1);
  }
  std::string record = log_stamp(when) + "[" + level_tag(level) + "] ";
  // Control bytes, a caller's line feed above all, are written as escapes:
  // a record stays one line, and no message can pass for another record.
  for (char c : message) {
    if (record.size() >= kLogRecordLimit) break;
    if (c == '\n') {
      record += "\\n";
    } else if (c == '\r') {
      record += "\\r";
    } else if (c == '\t') {
      record += "\\t";
    } else if ((c >= 0 && c < 0x20) || c == 0x7F) {
      record += string_printf("\\x%02x", c);
    } else {
      record += c;
    }
  }
  if (record.size() > kLogRecordLimit) record.resize(kLogRecordLimit);
  return record;
}

void Log::open(FileSystem& fs, const std::string& path) {
  file_ = fs.open_append(path);
  if (!file_) console_.write(string_printf("ERROR!! Unable to open log file [%s]\n", path.c_str()));
}

void Log::write(int level, std::string_view message) {
  if (level > level_) return;
  std::string record = format_log_record(level, clock_.local_time(clock_.now()), message);
  record += '\n';
  console_.write(record);
  if (file_) file_->append(record);
}

void tts_log(Log& log, int level, const char* format, ...) {
  if (level > log.level()) return;
  va_list args;
  va_start(args, format);
  std::string message = string_vprintf(format, args);
  va_end(args);
  log.write(level, message);
}

int log_day_number(const LocalTime& date) {
  return date.year * 10000 + date.month * 100 + date.day;
}

}  // namespace vemba
