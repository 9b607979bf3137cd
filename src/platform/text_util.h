// Small text helpers shared by every subsystem.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

namespace vemba {

/// The leading decimal integer of a text, as the C library's atoi reads it:
/// leading white space, one optional sign, digits up to the first non-digit;
/// 0 when no digit follows. Values beyond the int range saturate.
int leading_int(std::string_view text);

/// The same reading, kept as a 64-bit value (saturating beyond int64).
int64_t leading_int64(std::string_view text);

/// True for the six ASCII white-space characters (blank, \t, \n, \v, \f, \r).
inline bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline bool is_alpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline char to_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
inline char to_upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

/// True for the empty text and a text of blanks (0x20) only.
inline bool only_blanks(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

/// printf into a std::string.
std::string string_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string string_vprintf(const char* format, va_list args);

/// Fixed-point formatting with the given number of decimals, rounding halves
/// away from zero as decided on the value's 17-significant-digit decimal form
/// (so 1.125 gives "1.13", where printf's "%.2f" gives "1.12").
std::string format_fixed(double value, int decimals);

/// Fixed-point formatting done on the decimal text itself ("[+-]digits[.digits]"),
/// rounding halves away from zero, for numbers too long for a double to keep
/// every digit. A "+" sign is dropped; leading zeros of the integer part go.
std::string round_decimal_text(std::string_view text, int decimals);

/// Reads a decimal number the way strtod/atof does ("12.5", "-.5", "3.");
/// 0 when the text does not start with one.
double leading_double(std::string_view text);

}  // namespace vemba
