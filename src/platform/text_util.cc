#include "platform/text_util.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace vemba {

namespace {

// Shared reader: optional white space and sign, then digits. Saturates.
int64_t read_leading(std::string_view text, int64_t lo, int64_t hi) {
  size_t i = 0;
  while (i < text.size() && is_space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int64_t value = 0;
  for (; i < text.size() && is_digit(text[i]); ++i) {
    int digit = text[i] - '0';
    if (!negative) {
      value = value > (hi - digit) / 10 ? hi : value * 10 + digit;
    } else {
      value = value < (lo + digit) / 10 ? lo : value * 10 - digit;
    }
  }
  return value;
}

}  // namespace

int leading_int(std::string_view text) {
  return static_cast<int>(
      read_leading(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int64_t leading_int64(std::string_view text) {
  return read_leading(text, std::numeric_limits<int64_t>::min(),
                      std::numeric_limits<int64_t>::max());
}

std::string string_vprintf(const char* format, va_list args) {
  char small[1024];
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(small, sizeof(small), format, copy);
  va_end(copy);
  if (n < 0) return std::string();
  if (static_cast<size_t>(n) < sizeof(small)) return std::string(small, static_cast<size_t>(n));
  std::vector<char> big(static_cast<size_t>(n) + 1);
  std::vsnprintf(big.data(), big.size(), format, args);
  return std::string(big.data(), static_cast<size_t>(n));
}

std::string string_printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string result = string_vprintf(format, args);
  va_end(args);
  return result;
}

std::string format_fixed(double value, int decimals) {
  if (!std::isfinite(value) || decimals < 0 || decimals > 100) {
    return string_printf("%.*f", decimals < 0 ? 0 : decimals, value);
  }
  // The 17 significant digits d1..d17 and exponent e: value = d1.d2...d17 x 10^e.
  char buf[64];
  std::snprintf(buf, sizeof(buf), "%.16e", value);
  std::string_view text(buf);
  bool negative = text.front() == '-';
  if (negative) text.remove_prefix(1);
  std::string digits;
  size_t pos = 0;
  for (; pos < text.size() && text[pos] != 'e'; ++pos) {
    if (is_digit(text[pos])) digits += text[pos];
  }
  int exponent = std::atoi(std::string(text.substr(pos + 1)).c_str());
  if (digits.find_first_not_of('0') == std::string::npos) exponent = 0;

  // Digits kept: those before the point (exponent + 1) plus the decimals.
  int keep = exponent + 1 + decimals;
  std::string kept;  // the rounded value in units of 10^-decimals
  if (keep < 0) {
    kept = "0";
  } else {
    kept = digits.substr(0, std::min<size_t>(static_cast<size_t>(keep), digits.size()));
    while (kept.size() < static_cast<size_t>(keep)) kept += '0';
    if (static_cast<size_t>(keep) < digits.size() && digits[static_cast<size_t>(keep)] >= '5') {
      int i = static_cast<int>(kept.size()) - 1;
      for (; i >= 0 && kept[static_cast<size_t>(i)] == '9'; --i) kept[static_cast<size_t>(i)] = '0';
      if (i >= 0) {
        ++kept[static_cast<size_t>(i)];
      } else {
        kept.insert(kept.begin(), '1');
      }
    }
    if (kept.empty()) kept = "0";
  }
  // Split into integer part and decimals.
  while (kept.size() < static_cast<size_t>(decimals) + 1) kept.insert(kept.begin(), '0');
  std::string integer = kept.substr(0, kept.size() - static_cast<size_t>(decimals));
  size_t first = integer.find_first_not_of('0');
  integer = first == std::string::npos ? "0" : integer.substr(first);
  std::string result = (negative ? "-" : "") + integer;
  if (decimals > 0) {
    result += '.';
    result += kept.substr(kept.size() - static_cast<size_t>(decimals));
  }
  return result;
}

std::string round_decimal_text(std::string_view text, int decimals) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::string integer;
  while (i < text.size() && is_digit(text[i])) integer += text[i++];
  std::string fraction;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && is_digit(text[i])) fraction += text[i++];
  }
  size_t keep = static_cast<size_t>(std::max(decimals, 0));
  bool round_up = fraction.size() > keep && fraction[keep] >= '5';
  fraction.resize(keep, '0');
  std::string digits = integer + fraction;
  if (round_up) {
    size_t j = digits.size();
    while (j > 0 && digits[j - 1] == '9') digits[--j] = '0';
    if (j == 0) {
      digits.insert(digits.begin(), '1');
    } else {
      ++digits[j - 1];
    }
  }
  std::string whole = digits.substr(0, digits.size() - keep);
  size_t first = whole.find_first_not_of('0');
  whole = first == std::string::npos ? "0" : whole.substr(first);
  std::string result = (negative ? "-" : "") + whole;
  if (keep > 0) result += "." + digits.substr(digits.size() - keep);
  return result;
}

double leading_double(std::string_view text) {
  std::string copy(text);
  return std::strtod(copy.c_str(), nullptr);
}

}  // namespace vemba
