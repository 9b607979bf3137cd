// Money amounts, decimal numbers and digit strings read aloud.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vemba {

/// A double keeps about 15 significant digits: with at most this many before
/// the point an amount's units and cents survive the trip through one; longer
/// amounts are rounded on their text so that no digit changes.
constexpr size_t kMoneyDoubleSafeDigits = 13;

/// An amount in major units and cents with currency prompt names (cur1S,
/// cur1P, cur2S, cur2P, with a "_" + language system name suffix when option
/// is 1 and the name is not "en-us"); out is replaced.
void en_money(int mode, int option, std::string& out, std::string_view value,
              std::string_view language_system_name);

/// A decimal number with "point"; out is replaced.
void en_float(int mode, int option, std::string& out, std::string_view value);

/// One name per character (text mode: the value unchanged); out is replaced.
void en_digits(int mode, int option, std::string& out, std::string_view value);

}  // namespace vemba
