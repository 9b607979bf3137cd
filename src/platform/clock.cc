#include "platform/clock.h"

#include <time.h>

namespace vemba {

namespace {

LocalTime from_tm(const struct tm& t) {
  LocalTime lt;
  lt.year = t.tm_year + 1900;
  lt.month = t.tm_mon + 1;
  lt.day = t.tm_mday;
  lt.hour = t.tm_hour;
  lt.minute = t.tm_min;
  lt.second = t.tm_sec;
  lt.weekday = t.tm_wday;
  return lt;
}

}  // namespace

int64_t SystemClock::now() const { return static_cast<int64_t>(::time(nullptr)); }

LocalTime SystemClock::local_time(int64_t seconds) const {
  time_t t = static_cast<time_t>(seconds);
  struct tm parts {};
  if (localtime_r(&t, &parts) == nullptr) return LocalTime{};
  return from_tm(parts);
}

void SystemClock::sleep_ms(int64_t ms) {
  if (ms <= 0) return;
  struct timespec ts;
  ts.tv_sec = static_cast<time_t>(ms / 1000);
  ts.tv_nsec = static_cast<long>((ms % 1000) * 1000000);
  // Restart after signals so the booked wait is really served.
  while (nanosleep(&ts, &ts) != 0) {
  }
}

LocalTime FixedClock::local_time(int64_t seconds) const {
  time_t t = static_cast<time_t>(seconds);
  struct tm parts {};
  if (gmtime_r(&t, &parts) == nullptr) return LocalTime{};
  return from_tm(parts);
}

int64_t utc_seconds(int year, int month, int day, int hour, int minute, int second) {
  struct tm parts {};
  parts.tm_year = year - 1900;
  parts.tm_mon = month - 1;
  parts.tm_mday = day;
  parts.tm_hour = hour;
  parts.tm_min = minute;
  parts.tm_sec = second;
  return static_cast<int64_t>(timegm(&parts));
}

}  // namespace vemba
