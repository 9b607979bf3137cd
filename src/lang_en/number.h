// Integers read aloud in US English: cardinal ("twenty-one") and numeral
// ("twenty-first") readings as prompt names, and the plural test.
//
// Every builder of this folder writes prompt-name text: recording base names
// separated by blanks, leading and trailing blanks allowed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vemba {

/// The kind if it is VAR_NUMBER_EN or VAR_NUMERAL_EN, else 0.
int is_en_number_kind(int kind);

/// The builder of a number slot: in text mode (1) the value unchanged,
/// otherwise the cardinal (VAR_NUMBER_EN) or numeral (VAR_NUMERAL_EN) reading.
void en_number(int mode, std::string& out, std::string_view value, int kind);

/// A signed integer text read aloud; out is replaced. text may view out.
void en_signed_number(std::string& out, std::string_view text, int numeral);

/// An unsigned value read aloud; out is replaced. The numeral reading (1)
/// reaches only the last three-digit group. Values past kLargestSpokenNumber
/// are said one digit name at a time.
void en_cardinal(std::string& out, uint64_t value, int numeral);

/// One group below 1000, appended to out.
void en_hundreds(std::string& out, unsigned value, int numeral);

/// 1 for exactly one, 2 for every other value.
int plural_class(int64_t n);

/// The largest value said as a number; larger ones are said digit by digit.
constexpr uint64_t kLargestSpokenNumber = 999'999'999'999;

/// The leading integer of a text read exactly: white space, one optional
/// sign, digits up to the first non-digit (none give 0). Never saturates or
/// wraps: digits beyond the 64-bit range are kept in `digits`.
struct IntegerText {
  bool negative = false;  // a "-" was read
  bool overflow = false;  // beyond uint64: only `digits` holds the value
  uint64_t magnitude = 0;
  std::string digits = "0";  // the significant digits, "0" for zero

  /// True when the value is exactly v.
  bool equals(int64_t v) const;
  /// True when the magnitude is above 0.
  bool nonzero() const { return overflow || magnitude > 0; }
};

/// Reads the leading integer of text exactly (see IntegerText).
IntegerText read_integer(std::string_view text);

/// The magnitude of n said aloud (en_cardinal, or one name per digit past
/// kLargestSpokenNumber), appended to out.
void say_magnitude(std::string& out, const IntegerText& n, int numeral);

/// plural_class of the magnitude of n.
int plural_class(const IntegerText& n);

}  // namespace vemba
