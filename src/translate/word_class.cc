#include "translate/word_class.h"

#include "platform/text_util.h"

namespace vemba {

namespace {

bool is_sign(char c) { return c == '+' || c == '-'; }

bool is_integer_word(std::string_view word) {
  for (size_t i = 0; i < word.size(); ++i) {
    if (!is_digit(word[i]) && !(i == 0 && is_sign(word[i]))) return false;
  }
  return true;
}

bool is_float_word(std::string_view word) {
  int points = 0;
  for (size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    if (c == '.') {
      if (++points > 1) return false;
    } else if (!is_digit(c) && !(i == 0 && is_sign(c))) {
      return false;
    }
  }
  return true;
}

bool is_plain_word(std::string_view word) {
  for (char c : word) {
    if (!is_alpha(c) && !is_digit(c) && c != '-' && c != '_') return false;
  }
  return true;
}

bool is_announce_word(std::string_view word) {
  for (char c : word) {
    if (!is_digit(c) && c != '|') return false;
  }
  return true;
}

bool is_wav_word(std::string_view word) { return word.size() > 4 && word.ends_with(".wav"); }

bool is_ascii_word(std::string_view word) {
  for (char c : word) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool is_leap_year(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

}  // namespace

int days_in_month(int month, int year) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && is_leap_year(year)) return 29;
  return kDays[month - 1];
}

bool is_date_word(std::string_view word) {
  if (word.size() > 10) return false;
  size_t first = word.find('/');
  if (first == std::string_view::npos) return false;
  size_t second = word.find('/', first + 1);
  if (second == std::string_view::npos) return false;
  int month = leading_int(word.substr(0, first));
  int day = leading_int(word.substr(first + 1, second - first - 1));
  int year = leading_int(word.substr(second + 1));
  return month >= 1 && month <= 12 && day >= 1 && day <= days_in_month(month, year);
}

bool is_time_word(std::string_view word) {
  if (word.size() > 5) return false;
  size_t colon = word.find(':');
  if (colon == std::string_view::npos) return false;
  int hours = leading_int(word.substr(0, colon));
  int minutes = leading_int(word.substr(colon + 1));
  return minutes >= 0 && minutes <= 59 && hours >= 0;
}

int32_t classify_word(std::string_view word) {
  if (is_integer_word(word)) return VAR_INTEGER;
  if (is_float_word(word)) return VAR_FLOAT;
  if (is_plain_word(word)) return VAR_WORD;
  if (is_date_word(word)) return VAR_DATE;
  if (is_time_word(word)) return VAR_TIME;
  if (is_announce_word(word)) return VAR_ANNOUNCE;
  if (is_wav_word(word)) return VAR_WAV;
  if (is_ascii_word(word)) return VAR_SPELL;
  return VAR_UNDEFINED;
}

}  // namespace vemba
