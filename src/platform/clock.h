// Time as the request sees it: "now", the local calendar and sleeping.
#pragma once

#include <cstdint>

namespace vemba {

/// A broken-down local date and time (month 1-12, weekday 0 = Sunday).
struct LocalTime {
  int year = 1970;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int weekday = 4;
};

/// The clock of a run. Tests fix "now" and record sleeps instead of waiting.
class Clock {
 public:
  virtual ~Clock() = default;
  /// Seconds since 1 January 1970 UTC.
  virtual int64_t now() const = 0;
  /// The local calendar date and time of an instant.
  virtual LocalTime local_time(int64_t seconds) const = 0;
  /// Blocks for the given number of milliseconds.
  virtual void sleep_ms(int64_t ms) = 0;
};

/// The system clock in the machine's local time zone.
class SystemClock : public Clock {
 public:
  int64_t now() const override;
  LocalTime local_time(int64_t seconds) const override;
  void sleep_ms(int64_t ms) override;
};

/// A clock that stands still until moved; local time is UTC. Sleeping only
/// adds up the requested time, so a test of pacing runs instantly.
class FixedClock : public Clock {
 public:
  explicit FixedClock(int64_t now) : now_(now) {}
  int64_t now() const override { return now_; }
  LocalTime local_time(int64_t seconds) const override;
  void sleep_ms(int64_t ms) override { slept_ms_ += ms; }

  void set_now(int64_t now) { now_ = now; }
  int64_t slept_ms() const { return slept_ms_; }

 private:
  int64_t now_;
  int64_t slept_ms_ = 0;
};

/// Seconds since the epoch of a UTC calendar time (for building test instants).
int64_t utc_seconds(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

}  // namespace vemba
