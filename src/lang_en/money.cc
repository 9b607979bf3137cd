#include "lang_en/money.h"

#include "lang_en/number.h"
#include "platform/text_util.h"

namespace vemba {

namespace {

// A double keeps 15 significant digits; with at most 13 before the point the
// units and cents survive the trip through it. Longer amounts are rounded on
// their text instead, so that no digit changes.
constexpr size_t kDoubleSafeDigits = 13;

bool only_blanks(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

// " cur1S", " cur2P" ... with the language suffix when it applies.
std::string currency_name(const char* stem, int plural, int option,
                          std::string_view language_system_name) {
  std::string name = stem;
  name += plural == 1 ? "S" : "P";
  if (option == 1 && language_system_name != "en-us") {
    name += '_';
    name += language_system_name;
  }
  name += ' ';
  return name;
}

// Adds one to a text of decimal digits.
std::string increment_digits(std::string digits) {
  size_t i = digits.size();
  while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
  if (i == 0) return "1" + digits;
  ++digits[i - 1];
  return digits;
}

// Rounds "units.fraction" to whole cents on the text itself, halves away
// from zero; for amounts too long for a double.
void round_on_text(const IntegerText& integer, std::string_view fraction, IntegerText& units,
                   IntegerText& cents) {
  std::string digits;
  for (char c : fraction) {
    if (!is_digit(c) || digits.size() == 3) break;
    digits += c;
  }
  digits.resize(3, '0');
  unsigned hundredths = static_cast<unsigned>((digits[0] - '0') * 10 + (digits[1] - '0'));
  units = integer;
  if (digits[2] >= '5' && ++hundredths == 100) {
    hundredths = 0;
    units = read_integer(increment_digits(integer.digits));
  }
  cents = read_integer(std::to_string(hundredths));
}

}  // namespace

void en_money(int /*mode*/, int option, std::string& out, std::string_view value,
              std::string_view language_system_name) {
  const char* prefix = !value.empty() && value[0] == '-' ? " negative_balance " : "";
  if (only_blanks(value)) {
    out = std::string(value);
    return;
  }
  std::string work(value);
  std::string suffix_name(language_system_name);  // may view out as well
  size_t point = work.find('.');
  IntegerText units;
  IntegerText cents;
  if (point == std::string::npos) {
    units = read_integer(work);
  } else {
    IntegerText integer = read_integer(std::string_view(work).substr(0, point));
    if (integer.digits.size() > kDoubleSafeDigits) {
      round_on_text(integer, std::string_view(work).substr(point + 1), units, cents);
    } else {
      std::string rounded = format_fixed(leading_double(work), 2);
      size_t cut = rounded.find('.');
      units = read_integer(std::string_view(rounded).substr(0, cut));
      cents = read_integer(cut == std::string::npos ? "" : rounded.substr(cut + 1));
    }
  }
  out = prefix;
  say_magnitude(out, units, 0);
  out += currency_name(" cur1", plural_class(units), option, suffix_name);
  if (point != std::string::npos) {
    say_magnitude(out, cents, 0);
    out += currency_name(" cur2", plural_class(cents), option, suffix_name);
  }
}

void en_float(int /*mode*/, int /*option*/, std::string& out, std::string_view value) {
  const char* sign = "";
  if (!value.empty() && value[0] == '+') sign = " plus ";
  if (!value.empty() && value[0] == '-') sign = " minus ";
  if (only_blanks(value)) {
    out = std::string(value);
    return;
  }
  std::string work(value);
  size_t point = work.find('.');
  IntegerText integer = read_integer(std::string_view(work).substr(0, point));
  out = sign;
  say_magnitude(out, integer, 0);
  if (point == std::string::npos) return;
  std::string_view fraction = std::string_view(work).substr(point + 1);
  size_t zeros = 0;
  while (zeros < fraction.size() && fraction[zeros] == '0') ++zeros;
  IntegerText digits = read_integer(fraction);
  out += " point ";
  for (size_t i = 0; i < zeros; ++i) out += " 0 ";
  // The digits after the leading zeros are one whole number.
  if (digits.nonzero()) say_magnitude(out, digits, 0);
}

void en_digits(int mode, int /*option*/, std::string& out, std::string_view value) {
  std::string input(value);  // value may view out
  if (mode == 1) {
    out = input;
    return;
  }
  out = " ";
  for (char c : input) {
    out += ' ';
    out += c;
  }
}

}  // namespace vemba
