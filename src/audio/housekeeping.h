// Removal of sound files, pages and logs older than their hold times, at most
// once per interval for a deployment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"

namespace vemba {

/// The stamp whose last-write time says when the deployment was last swept.
/// It lies in the sounds directory beside sounds.dat and its lock, where no
/// sweep looks for it ("*.wav"); like them it is never swept where the
/// directories coincide, and no page may take its name.
constexpr const char* kSweepStampName = "sounds.dat.sweep";

/// True for the schedule, its lock and the sweep stamp.
bool is_schedule_file(std::string_view name);

/// A local time in the C library's asctime form, "Www Mmm dd hh:mm:ss yyyy\n"
/// (the day padded with a blank).
std::string asctime_text(const LocalTime& t);

/// Deletes the files of dir matching mask, and the temporary files a killed
/// write left there, whose last write lies more than age_minutes before now
/// (compared strictly), announcing each on the console with now in the
/// clock's local time; returns the number of attempts. The schedule files
/// stay.
int delete_old_files(FileSystem& fs, Console& console, const Clock& clock, int64_t now,
                     const std::string& dir, int64_t age_minutes, const std::string& mask);

/// What a deployment sweeps, and how often.
struct SweepPlan {
  std::string sounds_dir;  // each ending in a separator
  std::string pages_dir;
  std::string log_dir;
  int64_t hold_minutes = 5;
  int64_t hold_log_minutes = 5 * 1440;
  int64_t interval_seconds = 60;  // 0: every request sweeps
};

/// Deletes old sound files, pages and logs (delete_old_files on each
/// directory, ages measured from now) unless the deployment was swept less
/// than the interval ago or another process is sweeping it; true when this
/// one swept.
bool sweep_old_files(FileSystem& fs, Console& console, const Clock& clock, int64_t now,
                     const SweepPlan& plan);

}  // namespace vemba
