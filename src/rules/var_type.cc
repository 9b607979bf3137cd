#include "rules/var_type.h"

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
  VarTypeAndOption result;
  for (const Keyword& keyword : kKeywords) {
    size_t at = tag.find(keyword.text);
    if (at == std::string_view::npos) continue;
    result.type = keyword.type;
    if (keyword.type == VAR_NUMBER_EN || keyword.type == VAR_NUMERAL_EN) return result;
    size_t bar = tag.find('|', at);
    if (bar == std::string_view::npos) return result;
    size_t close = tag.find('>', bar);
    if (close == std::string_view::npos) return result;
    std::string_view number = tag.substr(bar + 1, close - bar - 1);
    result.option = leading_int(number.substr(0, kOptionTextMax));
    return result;
  }
  return result;
}

}  // namespace vemba
