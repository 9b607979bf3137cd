// The class of a message word: which kind of rule variable it can fill.
#pragma once

#include <string_view>

#include "rules/rule_model.h"

namespace vemba {

/// The word's class (a VarType), by the first test it passes: integer,
/// decimal, word, date, time, announcement, wav name, spellable, undefined.
int32_t classify_word(std::string_view word);

/// True for month/day/year with a real calendar day (Gregorian leap years;
/// any year value, 0 and negative ones included).
bool is_date_word(std::string_view word);

/// True for hours:minutes with minutes 0 to 59 and hours 0 or more.
bool is_time_word(std::string_view word);

/// Days of a month (1-12) in a year.
int days_in_month(int month, int year);

}  // namespace vemba
