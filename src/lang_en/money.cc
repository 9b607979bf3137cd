#include "lang_en/money.h"

#include "lang_en/number.h"
#include "platform/text_util.h"

namespace vemba {

namespace {

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
    std::string rounded = integer.digits.size() > kMoneyDoubleSafeDigits
                              ? round_decimal_text(work, 2)
                              : format_fixed(leading_double(work), 2);
    size_t cut = rounded.find('.');
    units = read_integer(std::string_view(rounded).substr(0, cut));
    cents = read_integer(cut == std::string::npos ? "" : rounded.substr(cut + 1));
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
