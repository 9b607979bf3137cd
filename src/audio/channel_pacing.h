// Pacing of requests over N playback channels. The busy-until time of each
// channel is shared between request processes in the text file sounds.dat.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/log.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace vemba {

constexpr int kMaxChannels = 10000;
constexpr const char* kChannelFileName = "sounds.dat";
/// Lock file beside sounds.dat that serialises bookings between processes.
constexpr const char* kChannelLockName = "sounds.dat.lock";
/// A sounds.dat line is read through a buffer of this size.
constexpr size_t kChannelLineBuffer = 512;
/// No real booking lies further ahead than this: the longest sound the audio
/// buffer holds plays for about 21 minutes, so a day leaves room for a long
/// queue. A value beyond it is corrupt or the clock was set back.
constexpr int64_t kMaxBookingAhead = 24 * 60 * 60;

/// The busy-until time (seconds since the epoch) of each channel. Only the
/// values read or booked are held; every other channel is free since 1970.
struct ChannelSchedule {
  std::vector<int64_t> busy_until;  // at most kMaxChannels values, channel 1 first

  int64_t value(int channel) const {
    return static_cast<size_t>(channel) < busy_until.size() ? busy_until[channel] : 0;
  }
  void set(int channel, int64_t value) {
    if (static_cast<size_t>(channel) >= busy_until.size()) busy_until.resize(channel + 1, 0);
    busy_until[channel] = value;
  }
};

/// A sounds.dat text of n lines as wide as a present-day value, each written
/// as a booking writes it, read for a booking in one pass: the lowest
/// channel, its value, and whether any value lies beyond the limit.
struct EvenSchedule {
  int lowest = 0;  // 0-based; the last of equal values
  int64_t lowest_value = 0;
  size_t width = 0;  // of every line, with its line feed
  bool beyond_limit = false;
};

/// The outcome of one booking.
struct Booking {
  int channel = 0;           // 0-based index of the chosen channel
  int64_t wait_seconds = 0;  // how long until the channel is free
  int64_t busy_until = 0;    // the channel's new value
};

/// The channel count from the `channels` setting: at least 1 (with a warning
/// when absent or below 1), at most kMaxChannels.
int channel_count(Log& log, const std::optional<std::string>& setting);

/// Fills the schedule from file text, line by line from channel 1; lines
/// beyond kMaxChannels are not stored, channels without a line are free (0).
void parse_channel_schedule(std::string_view text, ChannelSchedule* schedule);

/// Reads text as an EvenSchedule of n lines when every line is the "%lld\n"
/// of a value as long as limit (its first digit not 0); nothing for any other
/// text. A few instructions a line: a booking reads every line.
std::optional<EvenSchedule> scan_even_schedule(std::string_view text, int n, int64_t limit);

/// The first n values as "%lld\n" lines.
std::string format_channel_schedule(const ChannelSchedule& schedule, int n);

/// The channel to book among the first n: the lowest value, the highest index
/// on ties.
int choose_channel(const ChannelSchedule& schedule, int n);

/// Seconds booked for a sound of duration_ms: rounded to the nearest second,
/// halves up.
int64_t booked_seconds(int64_t duration_ms);

/// Books channel, busy until busy_until, for a sound of duration_ms at now.
Booking book(int channel, int64_t busy_until, int64_t now, int64_t duration_ms);

/// Chooses and books a channel in the schedule for a sound of duration_ms.
Booking book_channel(ChannelSchedule* schedule, int n, int64_t now, int64_t duration_ms);

/// Resets to now, with one WARN record, every one of the first n channels
/// booked more than kMaxBookingAhead past now; returns how many there were.
int reset_far_bookings(Log& log, ChannelSchedule* schedule, int n, int64_t now);

/// Creates sounds.dat with n lines of the current time unless it exists.
/// False (logged) when it can be neither read nor created.
bool init_channel_schedule(FileSystem& fs, Log& log, const Clock& clock,
                           const std::string& sounds_dir, int n);

/// Under the lock, reads sounds.dat, books a channel for a sound of
/// duration_ms and writes the booking back; then sleeps until the channel is
/// free. Nothing (logged) when the lock cannot be had or the file cannot be
/// read: the request then fails.
std::optional<Booking> book_and_wait(FileSystem& fs, Log& log, Clock& clock,
                                     const std::string& sounds_dir, int n, int64_t duration_ms);

}  // namespace vemba
