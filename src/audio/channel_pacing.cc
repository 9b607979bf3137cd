#include "audio/channel_pacing.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
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

namespace {

// The even schedule is read eight bytes at a time: the first eight of a line
// and the last eight, which end in its line feed, together cover lines of 9
// to 16 bytes. Taken big-endian, the two words of lines of one width order
// like their values.
constexpr size_t kWord = 8;
constexpr bool kLittleEndian = std::endian::native == std::endian::little;
constexpr uint64_t kZeros = 0x3030303030303030;  // "00000000"
// "0000000\n": the line feed ends the last word.
constexpr uint64_t kZerosThenLineFeed = kLittleEndian ? 0x0A30303030303030 : 0x303030303030300A;

uint64_t load_word(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, kWord);
  return word;
}

uint64_t big_endian(uint64_t word) { return kLittleEndian ? __builtin_bswap64(word) : word; }

// Nonzero exactly when some byte of word is not its byte of zeros plus 0 to 9
// (a digit, where zeros holds "0"): the first such byte gets its high bit
// set, and no byte before it carries into it.
uint64_t strays(uint64_t word, uint64_t zeros) {
  uint64_t x = word ^ zeros;
  return ((x + 0x7676767676767676) | x) & 0x8080808080808080;
}

std::string written_value(int64_t value) {
  char text[24];  // room for any int64 and the line feed
  char* end = std::to_chars(text, text + sizeof text - 1, value).ptr;
  *end++ = '\n';
  return std::string(text, end);
}

}  // namespace

std::optional<EvenSchedule> scan_even_schedule(std::string_view text, int n, int64_t limit) {
  std::string limit_line = written_value(limit);
  size_t width = limit_line.size();
  if (n < 1 || width <= kWord || width > 2 * kWord ||
      text.size() != static_cast<size_t>(n) * width) {
    return std::nullopt;
  }
  uint64_t limit_head = big_endian(load_word(limit_line.data()));
  uint64_t limit_tail = big_endian(load_word(limit_line.data() + width - kWord));
  uint64_t lowest_head = ~uint64_t{0};
  uint64_t lowest_tail = ~uint64_t{0};
  const char* lowest = text.data();
  bool beyond = false;
  const char* end = text.data() + text.size();
  for (const char* line = text.data(); line < end; line += width) {
    uint64_t head = load_word(line);
    uint64_t tail = load_word(line + width - kWord);
    // The last byte is looked at on its own: bytes near the line feed would
    // pass for it in the word.
    if ((strays(head, kZeros) | strays(tail, kZerosThenLineFeed)) != 0 || line[0] == '0' ||
        line[width - 1] != '\n') {
      return std::nullopt;
    }
    head = big_endian(head);
    tail = big_endian(tail);
    if (head < lowest_head || (head == lowest_head && tail <= lowest_tail)) {
      lowest_head = head;
      lowest_tail = tail;
      lowest = line;
    }
    if (head >= limit_head && (head > limit_head || tail > limit_tail)) beyond = true;
  }
  EvenSchedule even;
  even.lowest = static_cast<int>((lowest - text.data()) / width);
  even.lowest_value = leading_int64(std::string_view(lowest, width));
  even.width = width;
  even.beyond_limit = beyond;
  return even;
}

std::string format_channel_schedule(const ChannelSchedule& schedule, int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += written_value(schedule.value(i));
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

Booking book(int channel, int64_t busy_until, int64_t now, int64_t duration_ms) {
  Booking booking;
  booking.channel = channel;
  int64_t seconds = booked_seconds(duration_ms);
  if (now >= busy_until) {
    booking.busy_until = now + seconds;
  } else {
    booking.wait_seconds = busy_until - now;
    booking.busy_until = busy_until + seconds;
  }
  return booking;
}

Booking book_channel(ChannelSchedule* schedule, int n, int64_t now, int64_t duration_ms) {
  int channel = choose_channel(*schedule, n);
  Booking booking = book(channel, schedule->value(channel), now, duration_ms);
  schedule->set(channel, booking.busy_until);
  return booking;
}

int reset_far_bookings(Log& log, ChannelSchedule* schedule, int n, int64_t now) {
  int count = 0;
  int first = 0;
  int64_t first_value = 0;
  for (int i = 0; i < n; ++i) {
    int64_t value = schedule->value(i);
    if (value <= now + kMaxBookingAhead) continue;
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

namespace {

// The booking of an even schedule written in place: the booked line alone is
// overwritten when its new value keeps the width. False when it cannot be.
std::optional<Booking> book_in_place(InPlaceFile& file, std::string_view text, int n, int64_t now,
                                     int64_t duration_ms) {
  std::optional<EvenSchedule> even = scan_even_schedule(text, n, now + kMaxBookingAhead);
  if (!even || even->beyond_limit) return std::nullopt;
  Booking booking = book(even->lowest, even->lowest_value, now, duration_ms);
  std::string line = written_value(booking.busy_until);
  if (line.size() != even->width ||
      !file.overwrite(static_cast<size_t>(even->lowest) * even->width, line)) {
    return std::nullopt;
  }
  return booking;
}

}  // namespace

// A process killed at any instant leaves sounds.dat reading as n whole lines:
// every writer holds the lock, and a booking either
// - overwrites one line of an even schedule with a line of the same width,
//   in one write within one page, which the kernel applies whole or not at
//   all; every other byte, every line feed among them, stays where it was; or
// - writes the whole text to a temporary file renamed over the old one, so
//   a reader finds the old file or the new, never a mix.
// Either way the file's bytes are the n "%lld\n" lines of the schedule, as a
// whole rewrite would give them.
std::optional<Booking> book_and_wait(FileSystem& fs, Log& log, Clock& clock,
                                     const std::string& sounds_dir, int n, int64_t duration_ms) {
  std::string path = sounds_dir + kChannelFileName;
  std::optional<Booking> booking;
  {
    // Read, choose, book and write as one step among all processes, so no
    // booking is made on stale values and none is lost.
    std::unique_ptr<FileLock> lock = fs.lock(sounds_dir + kChannelLockName);
    if (!lock) {
      // Unlocked, concurrent bookings would overwrite each other unseen.
      tts_log(log, TTS_LL_ERR, "Unable to lock [%s] file ...\n", kChannelLockName);
      return std::nullopt;
    }
    std::unique_ptr<InPlaceFile> file = fs.open_in_place(path);
    std::optional<std::string_view> text = file ? file->read_all() : std::nullopt;
    if (!text) {
      tts_log(log, TTS_LL_ERR, "Unable to open [%s] file ...\n", kChannelFileName);
      return std::nullopt;
    }
    int64_t now = clock.now();
    booking = book_in_place(*file, *text, n, now, duration_ms);
    if (!booking) {
      ChannelSchedule schedule;
      parse_channel_schedule(*text, &schedule);
      reset_far_bookings(log, &schedule, n, now);
      booking = book_channel(&schedule, n, now, duration_ms);
      if (!fs.write_file_atomic(path, format_channel_schedule(schedule, n))) {
        tts_log(log, TTS_LL_ERR, "Unable to open [%s] file for Writing. Skipping ...\n",
                kChannelFileName);
      }
    }
  }
  if (booking->wait_seconds > 0) clock.sleep_ms(booking->wait_seconds * 1000);
  return booking;
}

}  // namespace vemba
