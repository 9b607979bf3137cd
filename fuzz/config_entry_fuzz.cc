// Feeds arbitrary configuration files, request arguments and sounds.dat
// contents to the entry's checks and to a booking: whatever the entry
// accepts names files it may write, and no booking waits beyond a day or
// leaves a schedule of other than N whole lines.
#include <fnmatch.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "audio/channel_pacing.h"
#include "audio/housekeeping.h"
#include "front/context.h"
#include "front/entry.h"
#include "memory_file_system.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/text_util.h"

namespace {

constexpr int64_t kNow = 1796547903;  // 6 December 2026, 09:05:03 UTC
constexpr int32_t kLongestSoundMs = 9999998 / 8;

void check(bool condition) {
  if (!condition) __builtin_trap();
}

// The last component of a path with "\" or "/" separators.
std::string_view file_name(std::string_view path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// A page name the entry lets through names a page and nothing else, fits
// the file-name limit with its sound and their temporaries, and can stand in
// a URL and a quoted attribute.
void check_accepted(const vemba::Settings& settings, const vemba::Request& request) {
  const std::string& page = request.page_name;
  check(file_name(request.page_path) == page);
  for (char c : page) {
    check(c > ' ' && c < 0x7F);
    check(std::string_view("/\\\"'<>&#?%").find(c) == std::string_view::npos);
  }
  std::string lower = page;
  for (char& c : lower) c = vemba::to_lower(c);
  check(!vemba::is_schedule_file(lower));
  check(::fnmatch("logtts*.txt", lower.c_str(), 0) != 0);
  check(!vemba::is_temporary_name(page));
  for (std::string_view name : {std::string_view(page), file_name(request.wav_path)}) {
    check(name.size() <= vemba::kFileNameMax);
    check(vemba::temporary_name(name, ~0ull).size() <= vemba::kFileNameMax);
  }
  for (const std::string* dir : {&settings.sounds_dir, &settings.pages_dir, &settings.log_dir}) {
    check(!dir->empty() && dir->size() < vemba::kPathCapacity);
  }
  for (char c : settings.base_url) {
    check(c >= ' ' && c < 0x7F);
    check(std::string_view("\"'<>&").find(c) == std::string_view::npos);
  }
  check(request.wav_path.size() < vemba::kPathCapacity);
  check(request.page_path.size() < vemba::kPathCapacity);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Fields split at NUL bytes: the configuration file, the eight arguments,
  // then sounds.dat (missing fields are empty).
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> fields;
  while (fields.size() < 9) {
    size_t end = input.find('\0');
    fields.emplace_back(input.substr(0, end));
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
  }
  fields.emplace_back(input);

  vemba::MemoryFileSystem fs;
  fs.add_file("/cfg/tts_vemba.cfg", fields[0]);
  for (const char* dir : {"/www/tts", "/pages", "/logs"}) fs.add_dir(dir);
  vemba::FixedClock clock(kNow);
  vemba::StringConsole console;
  vemba::Context ctx(fs, clock, console, "");
  vemba::RequestArgs args{"/cfg/",   fields[1], fields[2], fields[3],
                          fields[4], fields[5], fields[6], fields[7]};
  vemba::Request request;
  if (vemba::tts_entry(ctx, args, &request)) check_accepted(ctx.settings, request);

  // A booking on the schedule, with the channel count the file gives. Whether
  // it changes one line in place or replaces the file, it leaves the bytes a
  // whole rewrite of the booked schedule gives.
  const int n = vemba::channel_count(ctx.log, ctx.config.tts_get_cfg_param("channels"));
  const std::string& text = fields[9];
  vemba::ChannelSchedule expected;
  vemba::parse_channel_schedule(text, &expected);
  check(expected.busy_until.size() <= static_cast<size_t>(vemba::kMaxChannels));
  const int64_t duration_ms = static_cast<int64_t>(size * 7919 % (kLongestSoundMs + 1));
  vemba::reset_far_bookings(ctx.log, &expected, n, kNow);
  vemba::Booking wanted = vemba::book_channel(&expected, n, kNow, duration_ms);
  fs.add_file("/www/tts/sounds.dat", text);
  std::optional<vemba::Booking> booking =
      vemba::book_and_wait(fs, ctx.log, clock, "/www/tts/", n, duration_ms);
  check(booking.has_value());
  check(booking->channel == wanted.channel && booking->busy_until == wanted.busy_until);
  check(clock.slept_ms() >= 0 && clock.slept_ms() <= vemba::kMaxBookingAhead * 1000);
  check(booking->busy_until >= kNow);
  check(fs.contents("/www/tts/sounds.dat") == vemba::format_channel_schedule(expected, n));
  return 0;
}
