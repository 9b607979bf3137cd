#include "audio/housekeeping.h"

#include <vector>

#include "audio/channel_pacing.h"
#include "platform/text_util.h"

namespace vemba {

std::string asctime_text(const LocalTime& t) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const char* day = t.weekday >= 0 && t.weekday < 7 ? kDays[t.weekday] : "???";
  const char* month = t.month >= 1 && t.month <= 12 ? kMonths[t.month - 1] : "???";
  return string_printf("%.3s %.3s%3d %.2d:%.2d:%.2d %d\n", day, month, t.day, t.hour, t.minute,
                       t.second, t.year);
}

int delete_old_files(FileSystem& fs, Console& console, const Clock& clock, int64_t now,
                     const std::string& dir, int64_t age_minutes, const std::string& mask) {
  std::string when = asctime_text(clock.local_time(now));
  std::vector<DirEntry> entries;
  if (!fs.list(dir, mask, &entries) || entries.empty()) return 0;
  int count = 0;
  for (const DirEntry& entry : entries) {
    if (now - entry.mtime <= age_minutes * 60) continue;
    if (entry.name == "." || entry.name == "..") continue;
    // The booking lock must outlive every sweep, even where the sounds and
    // pages directories coincide: a new lock file would let two processes
    // book at once.
    if (entry.name == kChannelLockName) continue;
    console.write(string_printf("Deleting file = [%s] - %s\n", entry.name.c_str(), when.c_str()));
    fs.delete_file(dir + entry.name);
    ++count;
  }
  return count;
}

}  // namespace vemba
