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

/// The first n values as "%d\n" lines.
std::string format_channel_schedule(const ChannelSchedule& schedule, int n);

/// The channel to book among the first n: the lowest value, the highest index
/// on ties.
int choose_channel(const ChannelSchedule& schedule, int n);

/// Seconds booked for a sound of duration_ms: rounded to the nearest second,
/// halves up.
int64_t booked_seconds(int64_t duration_ms);

/// Chooses and books a channel in the schedule for a sound of duration_ms.
Booking book_channel(ChannelSchedule* schedule, int n, int64_t now, int64_t duration_ms);

/// Resets to now, with one WARN record, every one of the first n channels
/// booked more than kMaxBookingAhead past now; returns how many there were.
int reset_far_bookings(Log& log, ChannelSchedule* schedule, int n, int64_t now);

/// Creates sounds.dat with n lines of the current time unless it exists.
/// False (logged) when it can be neither read nor created.
bool init_channel_schedule(FileSystem& fs, Log& log, const Clock& clock,
                           const std::string& sounds_dir, int n);

/// Reads sounds.dat into the schedule; false (logged) when it cannot be read.
bool read_channel_schedule(FileSystem& fs, Log& log, const std::string& sounds_dir,
                           ChannelSchedule* schedule);

/// Books a channel for a sound of duration_ms under the lock, re-reading the
/// file first, rewrites sounds.dat and then sleeps until the channel is free.
/// The schedule read earlier stands in when the file cannot be re-read.
/// Nothing (logged) when the lock cannot be had: the request then fails.
std::optional<Booking> book_and_wait(FileSystem& fs, Log& log, Clock& clock,
                                     const std::string& sounds_dir, int n, int64_t duration_ms,
                                     ChannelSchedule* schedule);

}  // namespace vemba
