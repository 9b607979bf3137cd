#include "lang_en/number.h"

#include <limits>

#include "base/var_kind.h"
#include "platform/text_util.h"

namespace vemba {

namespace {

constexpr const char* kPlusWord = " plus ";
constexpr const char* kMinusWord = " minus ";

// One name per digit, for values the group names cannot say.
void say_digits(std::string& out, std::string_view digits) {
  for (char c : digits) {
    out += ' ';
    out += c;
    out += ' ';
  }
}

}  // namespace

int is_en_number_kind(int kind) {
  return kind == VAR_NUMBER_EN || kind == VAR_NUMERAL_EN ? kind : 0;
}

void en_number(int mode, std::string& out, std::string_view value, int kind) {
  if (mode == 1) {
    out = std::string(value);
    return;
  }
  if (kind == VAR_NUMBER_EN) {
    en_signed_number(out, value, 0);
  } else if (kind == VAR_NUMERAL_EN) {
    en_signed_number(out, value, 1);
  }
}

bool IntegerText::equals(int64_t v) const {
  if (overflow) return false;
  if (v < 0) {
    // The magnitude of the most negative int64 is one past its maximum.
    uint64_t m = static_cast<uint64_t>(-(v + 1)) + 1;
    return negative && magnitude == m;
  }
  return magnitude == static_cast<uint64_t>(v) && (!negative || v == 0);
}

IntegerText read_integer(std::string_view text) {
  IntegerText n;
  size_t i = 0;
  while (i < text.size() && is_space(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    n.negative = text[i] == '-';
    ++i;
  }
  size_t start = i;
  while (i < text.size() && is_digit(text[i])) ++i;
  std::string_view digits = text.substr(start, i - start);
  size_t first = digits.find_first_not_of('0');
  if (first == std::string_view::npos) return n;  // no digits, or only zeros
  n.digits = std::string(digits.substr(first));
  constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
  for (char c : n.digits) {
    uint64_t d = static_cast<uint64_t>(c - '0');
    if (n.magnitude > (kMax - d) / 10) {
      n.overflow = true;
      n.magnitude = 0;
      break;
    }
    n.magnitude = n.magnitude * 10 + d;
  }
  return n;
}

void say_magnitude(std::string& out, const IntegerText& n, int numeral) {
  if (n.overflow) {
    say_digits(out, n.digits);
    return;
  }
  std::string names;
  en_cardinal(names, n.magnitude, numeral);
  out += names;
}

int plural_class(const IntegerText& n) { return !n.overflow && n.magnitude == 1 ? 1 : 2; }

void en_signed_number(std::string& out, std::string_view text, int numeral) {
  const char* sign = "";
  if (!text.empty() && text[0] == '+') sign = kPlusWord;
  if (!text.empty() && text[0] == '-') sign = kMinusWord;
  if (only_blanks(text)) {
    out = std::string(text);
    return;
  }
  // Read everything first: text may view out.
  IntegerText n = read_integer(text);
  out = sign;
  say_magnitude(out, n, numeral);
}

void en_cardinal(std::string& out, uint64_t value, int numeral) {
  out.clear();
  if (value == 0) {
    out = " 0";
    return;
  }
  if (value > kLargestSpokenNumber) {
    say_digits(out, std::to_string(value));
    return;
  }
  struct Group {
    uint64_t size;
    const char* name;
  };
  static constexpr Group kGroups[] = {
      {1'000'000'000, "1,000,000,000"}, {1'000'000, "1,000,000"}, {1000, "1000"}};
  uint64_t rest = value;
  for (const Group& g : kGroups) {
    // The billions group takes up to 999 here, reaching kLargestSpokenNumber.
    unsigned count = static_cast<unsigned>(rest / g.size);
    rest %= g.size;
    if (count > 0) {
      en_hundreds(out, count, 0);
      out += ' ';
      out += g.name;
    }
  }
  if (rest > 0) en_hundreds(out, static_cast<unsigned>(rest), numeral);
}

void en_hundreds(std::string& out, unsigned value, int numeral) {
  unsigned h = value / 100;
  unsigned r = value % 100;
  unsigned tens = r > 19 ? r / 10 : 0;
  unsigned units = r > 19 ? r % 10 : r;
  out += ' ';
  if (h > 0) {
    out += std::to_string(h);
    out += " 100";
  }
  out += ' ';
  if (tens > 0) {
    out += std::to_string(tens * 10);
    // Only 20 and 30 have numeral recordings (the days of a month).
    if (numeral == 1 && units == 0 && (tens == 2 || tens == 3)) out += "_numeral";
  }
  out += ' ';
  if (units > 0) {
    out += std::to_string(units);
    if (numeral == 1) out += "_numeral";
    out += ' ';
  }
}

int plural_class(int64_t n) { return n == 1 ? 1 : 2; }

}  // namespace vemba
