#include "audio/channel_pacing.h"

#include <memory>

#include "platform/text_util.h"

namespace vemba {

int channel_count(Log& log, const std::optional<std::string>& setting) {
  int n = setting ? leading_int(*setting) : 0;
  if (n < 1) {
    tts_log(log, TTS_LL_WARN, "Wrong value of TTS_CHANNELS Setting default = 1\n");
    return 1;
  }
  return n > kMaxChannels ? kMaxChannels : n;
}

void parse_channel_schedule(std::string_view text, ChannelSchedule* schedule) {
  schedule->busy_until.clear();
  while (!text.empty() && schedule->busy_until.size() < kMaxChannels) {
    // A line longer than the read buffer arrives as several pieces.
    size_t end = text.find('\n');
    size_t piece = end == std::string_view::npos ? text.size() : end + 1;
    piece = std::min(piece, kChannelLineBuffer - 1);
    schedule->busy_until.push_back(leading_int64(text.substr(0, piece)));
    text.remove_prefix(piece);
  }
}

std::string format_channel_schedule(const ChannelSchedule& schedule, int n) {
  std::string text;
  for (int i = 0; i < n; ++i) {
    text += string_printf("%lld\n", static_cast<long long>(schedule.value(i)));
  }
  return text;
}

int choose_channel(const ChannelSchedule& schedule, int n) {
  int best = 0;
  for (int i = 1; i < n; ++i) {
    if (schedule.value(i) <= schedule.value(best)) best = i;
  }
  return best;
}

int64_t booked_seconds(int64_t duration_ms) { return (duration_ms + 500) / 1000; }

Booking book_channel(ChannelSchedule* schedule, int n, int64_t now, int64_t duration_ms) {
  Booking booking;
  booking.channel = choose_channel(*schedule, n);
  int64_t busy = schedule->value(booking.channel);
  int64_t seconds = booked_seconds(duration_ms);
  if (now >= busy) {
    booking.busy_until = now + seconds;
  } else {
    booking.wait_seconds = busy - now;
    booking.busy_until = busy + seconds;
  }
  schedule->set(booking.channel, booking.busy_until);
  return booking;
}

int reset_far_bookings(Log& log, ChannelSchedule* schedule, int n, int64_t now) {
  int count = 0;
  int first = 0;
  int64_t first_value = 0;
  for (int i = 0; i < n; ++i) {
    int64_t value = schedule->value(i);
    if (value <= now || value - now <= kMaxBookingAhead) continue;
    if (count++ == 0) {
      first = i;
      first_value = value;
    }
    schedule->set(i, now);
  }
  if (count > 0) {
    tts_log(log, TTS_LL_WARN,
            "%d channel(s) in [%s] booked more than a day ahead, the first is channel %d "
            "until %lld. Resetting ...\n",
            count, kChannelFileName, first + 1, static_cast<long long>(first_value));
  }
  return count;
}

bool init_channel_schedule(FileSystem& fs, Log& log, const Clock& clock,
                           const std::string& sounds_dir, int n) {
  std::string path = sounds_dir + kChannelFileName;
  std::string text;
  if (fs.read_file(path, &text, 0) == ReadStatus::kOk) return true;
  // Another process may create the file at the same moment and book on it at
  // once; creating under the lock keeps its booking from being overwritten.
  std::unique_ptr<FileLock> lock = fs.lock(sounds_dir + kChannelLockName);
  if (lock && fs.read_file(path, &text, 0) == ReadStatus::kOk) return true;
  ChannelSchedule schedule;
  schedule.busy_until.assign(static_cast<size_t>(n), clock.now());
  if (!fs.write_file_atomic(path, format_channel_schedule(schedule, n))) {
    tts_log(log, TTS_LL_ERR, "Unable to open [%s] file ...\n", kChannelFileName);
    return false;
  }
  return true;
}

bool read_channel_schedule(FileSystem& fs, Log& log, const std::string& sounds_dir,
                           ChannelSchedule* schedule) {
  std::string text;
  if (fs.read_file(sounds_dir + kChannelFileName, &text) != ReadStatus::kOk) {
    tts_log(log, TTS_LL_ERR, "Unable to open [%s] file ...\n", kChannelFileName);
    return false;
  }
  parse_channel_schedule(text, schedule);
  return true;
}

std::optional<Booking> book_and_wait(FileSystem& fs, Log& log, Clock& clock,
                                     const std::string& sounds_dir, int n, int64_t duration_ms,
                                     ChannelSchedule* schedule) {
  std::string path = sounds_dir + kChannelFileName;
  Booking booking;
  {
    // Read, choose, book and rewrite as one step among all processes, so no
    // booking is made on stale values and none is lost. The file is replaced
    // by a rename, so a reader (or a process killed mid-write) never leaves a
    // torn file behind.
    std::unique_ptr<FileLock> lock = fs.lock(sounds_dir + kChannelLockName);
    if (!lock) {
      // Unlocked, concurrent bookings would overwrite each other unseen.
      tts_log(log, TTS_LL_ERR, "Unable to lock [%s] file ...\n", kChannelLockName);
      return std::nullopt;
    }
    std::string text;
    if (fs.read_file(path, &text) == ReadStatus::kOk) parse_channel_schedule(text, schedule);
    int64_t now = clock.now();
    reset_far_bookings(log, schedule, n, now);
    booking = book_channel(schedule, n, now, duration_ms);
    if (!fs.write_file_atomic(path, format_channel_schedule(*schedule, n))) {
      tts_log(log, TTS_LL_ERR, "Unable to open [%s] file for Writing. Skipping ...\n",
              kChannelFileName);
    }
  }
  if (booking.wait_seconds > 0) clock.sleep_ms(booking.wait_seconds * 1000);
  return booking;
}

}  // namespace vemba
