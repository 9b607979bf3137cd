#include "rules/var_type.h"

#include <iterator>

#include "platform/text_util.h"

namespace vemba {

namespace {

struct Keyword {
  std::string_view text;
  int32_t type;
};

// Searched in this order, so <VAR_DATETIME> is a date slot.
constexpr Keyword kKeywords[] = {
    {"<VAR_DATE", VAR_DATE},
    {"<VAR_TIME", VAR_TIME},
    {"<VAR_WORD", VAR_WORD},
    {"<VAR_WAV", VAR_WAV},
    {"<VAR_ANNOUNCE", VAR_ANNOUNCE},
    {"<VAR_NUMBER_EN>", VAR_NUMBER_EN},
    {"<VAR_NUMERAL_EN>", VAR_NUMERAL_EN},
    {"<VAR_FLOAT", VAR_FLOAT},
    {"<VAR_MONEY", VAR_MONEY},
    {"<VAR_DIGITS", VAR_DIGITS},
    {"<VAR_SPELL", VAR_SPELL},
};

constexpr size_t kOptionTextMax = 99;

}  // namespace

VarTypeAndOption var_type_of(std::string_view tag) {
  // Every keyword starts with "<VAR_": visit each place where that occurs and
  // keep the keyword earliest in the search order, at its first place. No
  // keyword begins another, so at most one matches at a place. Tags are a few
  // bytes long and read for every rule of every request: plain loops here
  // cost less than library search calls.
  constexpr size_t kNone = std::size(kKeywords);
  const char* p = tag.data();
  const size_t n = tag.size();
  size_t best = kNone;
  size_t best_at = 0;
  // Every keyword has a byte after "<VAR_".
  for (size_t at = 0; at + 6 <= n && best > 0; ++at) {
    if (p[at] != '<' || p[at + 1] != 'V' || p[at + 2] != 'A' || p[at + 3] != 'R' ||
        p[at + 4] != '_') {
      continue;
    }
    for (size_t i = 0; i < best; ++i) {
      const std::string_view keyword = kKeywords[i].text;
      if (keyword[5] != p[at + 5] || n - at < keyword.size()) continue;
      size_t j = 6;
      while (j < keyword.size() && p[at + j] == keyword[j]) ++j;
      if (j == keyword.size()) {
        best = i;
        best_at = at;
        break;
      }
    }
  }
  VarTypeAndOption result;
  if (best == kNone) return result;
  result.type = kKeywords[best].type;
  if (result.type == VAR_NUMBER_EN || result.type == VAR_NUMERAL_EN) return result;
  size_t bar = best_at;
  while (bar < n && p[bar] != '|') ++bar;
  size_t close = bar;
  while (close < n && p[close] != '>') ++close;
  if (close >= n) return result;
  std::string_view number = tag.substr(bar + 1, close - bar - 1);
  // A short plain number, the usual option, is read directly.
  if (!number.empty() && number.size() <= 4) {
    int32_t value = 0;
    bool plain = true;
    for (char c : number) {
      if (!is_digit(c)) {
        plain = false;
        break;
      }
      value = value * 10 + (c - '0');
    }
    if (plain) {
      result.option = value;
      return result;
    }
  }
  result.option = leading_int(number.substr(0, kOptionTextMax));
  return result;
}

}  // namespace vemba
