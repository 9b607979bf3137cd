// Clock times, durations, years and dates read aloud in US English.
#pragma once

#include <string>
#include <string_view>

#include "platform/clock.h"

namespace vemba {

/// A clock time (option 0, 12-hour clock with am/pm) or a duration (other
/// options) from "h:mm"; out is replaced.
void en_time(int mode, int option, std::string& out, std::string_view value);

/// A year read aloud; out is replaced. year_text may view out.
void en_year(std::string& out, std::string_view year_text);

/// A date from its month, day and year texts, said as tomorrow, today,
/// yesterday or with its weekday when near now (option 0), in the clock's
/// local calendar. The day and year texts are rewritten in place with their
/// readings; out is replaced.
void en_date(int mode, int option, std::string& out, std::string& month, std::string& day,
             std::string& year, const Clock& clock, int64_t now);

}  // namespace vemba
