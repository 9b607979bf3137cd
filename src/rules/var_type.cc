#include "rules/var_type.h"

#include <iterator>

#include "platform/text_util.h"

namespace vemba {

namespace {

struct Keyword {
  std::string_view text;
  int32_t type;
};

// Searched in this order, so <VAR_DATETIME> is a date slot. A keyword need
// only begin the tag's text: <VAR_WAVE> is a wav slot.
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

constexpr std::string_view kKeywordStart = "<VAR_";
constexpr size_t kOptionTextMax = 99;

}  // namespace

VarTypeAndOption var_type_of(std::string_view tag) {
  // The keyword earliest in the search order wins, at the first place it
  // occurs; every keyword begins with "<VAR_".
  size_t best = std::size(kKeywords);
  size_t best_at = 0;
  for (size_t at = tag.find(kKeywordStart); at != std::string_view::npos;
       at = tag.find(kKeywordStart, at + 1)) {
    for (size_t i = 0; i < best; ++i) {
      if (tag.substr(at).starts_with(kKeywords[i].text)) {
        best = i;
        best_at = at;
        break;
      }
    }
  }
  VarTypeAndOption result;
  if (best == std::size(kKeywords)) return result;
  result.type = kKeywords[best].type;
  if (result.type == VAR_NUMBER_EN || result.type == VAR_NUMERAL_EN) return result;
  const size_t bar = tag.find('|', best_at);
  const size_t close = bar == std::string_view::npos ? bar : tag.find('>', bar);
  if (close == std::string_view::npos) return result;
  result.option = leading_int(tag.substr(bar + 1, close - bar - 1).substr(0, kOptionTextMax));
  return result;
}

}  // namespace vemba
