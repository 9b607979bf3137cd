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

// Where "<VAR_" next occurs in tag from pos on, or npos.
size_t find_prefix(std::string_view tag, size_t pos) {
  for (size_t at = tag.find('<', pos); at != std::string_view::npos; at = tag.find('<', at + 1)) {
    if (tag.size() - at >= 5 && tag[at + 1] == 'V' && tag[at + 2] == 'A' && tag[at + 3] == 'R' &&
        tag[at + 4] == '_') {
      return at;
    }
  }
  return std::string_view::npos;
}

}  // namespace

VarTypeAndOption var_type_of(std::string_view tag) {
  // Every keyword starts with "<VAR_": visit each place where that occurs and
  // keep the keyword earliest in the search order, at its first place. No
  // keyword begins another, so at most one matches at a place; the byte after
  // "<VAR_" rules out most of them before any comparison.
  constexpr size_t kNone = std::size(kKeywords);
  size_t best = kNone;
  size_t best_at = 0;
  for (size_t at = find_prefix(tag, 0); at != std::string_view::npos;
       at = find_prefix(tag, at + 1)) {
    std::string_view rest = tag.substr(at);
    if (rest.size() < 6) break;
    for (size_t i = 0; i < best; ++i) {
      if (kKeywords[i].text[5] == rest[5] && rest.starts_with(kKeywords[i].text)) {
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
  size_t bar = tag.find('|', best_at);
  if (bar == std::string_view::npos) return result;
  size_t close = tag.find('>', bar);
  if (close == std::string_view::npos) return result;
  std::string_view number = tag.substr(bar + 1, close - bar - 1);
  result.option = leading_int(number.substr(0, kOptionTextMax));
  return result;
}

}  // namespace vemba
