#include "audio/housekeeping.h"

#include <memory>
#include <vector>

#include "audio/channel_pacing.h"
#include "platform/text_util.h"

namespace vemba {

bool is_schedule_file(std::string_view name) {
  return name == kChannelFileName || name == kChannelLockName || name == kSweepStampName;
}

std::string asctime_text(const LocalTime& t) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const char* day = t.weekday >= 0 && t.weekday < 7 ? kDays[t.weekday] : "???";
  const char* month = t.month >= 1 && t.month <= 12 ? kMonths[t.month - 1] : "???";
  return string_printf("%.3s %.3s%3d %.2d:%.2d:%.2d %d\n", day, month, t.day, t.hour, t.minute,
                       t.second, t.year);
}

namespace {

// What a killed write leaves: a temporary file, or one of sounds.dat under
// the name earlier versions gave it ("sounds.dat.tmp<pid>_<n>.dat").
bool is_leftover(std::string_view name) {
  std::string_view schedule = kChannelFileName;
  return is_temporary_name(name) ||
         (name.starts_with(schedule) && name.substr(schedule.size()).starts_with(".tmp"));
}

}  // namespace

int delete_old_files(FileSystem& fs, Console& console, const Clock& clock, int64_t now,
                     const std::string& dir, int64_t age_minutes, const std::string& mask) {
  std::string when = asctime_text(clock.local_time(now));
  // Listed whole, so that the temporaries of a killed write are found with
  // the files of the mask, whatever their extension.
  std::vector<DirEntry> entries;
  if (!fs.list(dir, "*", &entries)) return 0;
  int count = 0;
  for (const DirEntry& entry : entries) {
    if (now - entry.mtime <= age_minutes * 60) continue;
    if (!matches_wildcard(entry.name, mask) && !is_leftover(entry.name)) continue;
    // The schedule and its lock must outlive every sweep, even where the
    // sounds and pages directories coincide: a new lock file would let two
    // processes book at once.
    if (is_schedule_file(entry.name)) continue;
    console.write(string_printf("Deleting file = [%s] - %s\n", entry.name.c_str(), when.c_str()));
    fs.delete_file(dir + entry.name);
    ++count;
  }
  return count;
}

namespace {

// Another sweep is due when the last one lies at least an interval away from
// the clock, either way: a clock set back must not stop the sweeps. The
// distance is taken unsigned, which no stamp or setting can overflow.
bool sweep_due(int64_t last, int64_t clock_now, int64_t interval) {
  uint64_t apart = last > clock_now
                       ? static_cast<uint64_t>(last) - static_cast<uint64_t>(clock_now)
                       : static_cast<uint64_t>(clock_now) - static_cast<uint64_t>(last);
  return apart >= static_cast<uint64_t>(interval);
}

}  // namespace

bool sweep_old_files(FileSystem& fs, Console& console, const Clock& clock, int64_t now,
                     const SweepPlan& plan) {
  // The request's now may be old by the time it sweeps (it may have waited
  // for its channel), so the stamp goes by the clock.
  std::unique_ptr<StampFile> stamp;
  if (plan.interval_seconds > 0) {
    std::string path = plan.sounds_dir + kSweepStampName;
    int64_t clock_now = clock.now();
    // Most requests stop here, at one look at the stamp.
    std::optional<int64_t> last = fs.modified_time(path);
    if (last && !sweep_due(*last, clock_now, plan.interval_seconds)) return false;
    stamp = fs.open_stamp(path);
    // The lock, held while this one sweeps, picks one sweeper; the time, read
    // again under it, tells whether another has just swept. A stamp that
    // cannot be kept at all must not stop the sweeps: every request sweeps.
    if (stamp) {
      if (!stamp->try_lock() || !sweep_due(stamp->time(), clock_now, plan.interval_seconds)) {
        return false;
      }
      stamp->set_time(clock_now);
    }
  }
  delete_old_files(fs, console, clock, now, plan.sounds_dir, plan.hold_minutes, "*.wav");
  delete_old_files(fs, console, clock, now, plan.pages_dir, plan.hold_minutes, "*");
  delete_old_files(fs, console, clock, now, plan.log_dir, plan.hold_log_minutes, "*");
  return true;
}

}  // namespace vemba
