// Removal of sound files, pages and logs older than their hold times.
#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"

namespace vemba {

/// A local time in the C library's asctime form, "Www Mmm dd hh:mm:ss yyyy\n"
/// (the day padded with a blank).
std::string asctime_text(const LocalTime& t);

/// Deletes the files of dir matching mask whose last write lies more than
/// age_minutes before now (compared strictly), announcing each on the
/// console with now in the clock's local time; returns the number of attempts.
int delete_old_files(FileSystem& fs, Console& console, const Clock& clock, int64_t now,
                     const std::string& dir, int64_t age_minutes, const std::string& mask);

}  // namespace vemba
