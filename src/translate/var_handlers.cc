#include "translate/var_handlers.h"

#include "base/marks.h"
#include "lang_en/money.h"
#include "lang_en/spell.h"
#include "lang_en/time_date.h"
#include "platform/text_util.h"
#include "rules/rule_model.h"

namespace vemba {

namespace {

void date_handler(const HandlerContext& ctx, int option, std::string& out,
                  const std::string& value) {
  out = " ";
  size_t first = value.find('/');
  size_t last = value.rfind('/');
  if (first == std::string::npos || first == last) {
    tts_log(ctx.log, TTS_LL_ERR, "ERROR !! Wrong DATE format.");
    return;
  }
  std::string month = value.substr(0, first);
  std::string day = value.substr(first + 1, last - first - 1);
  std::string year = value.substr(last + 1);
  en_date(ctx.mode, option, out, month, day, year, ctx.clock, ctx.now);
}

void announce_handler(const HandlerContext& ctx, int option, std::string& out,
                      const std::string& value) {
  AnnounceFields fields = split_announce(value);
  if (fields.count == 3) {
    tts_log(ctx.log, TTS_LL_WARN, "WARNING !! Old type ANNOUNCE format.");
  } else if (fields.count != 7) {
    tts_log(ctx.log, TTS_LL_ERR, "ERROR !! Wrong ANNOUNCE format.");
    out = " ";
    return;
  }
  en_announce(ctx.mode, option, out, fields.counts);
}

}  // namespace

AnnounceFields split_announce(std::string_view value) {
  AnnounceFields fields;
  int64_t* slots[7] = {&fields.counts.new_messages,   &fields.counts.urgent_messages,
                       &fields.counts.saved_messages, &fields.counts.new_faxes,
                       &fields.counts.saved_faxes,    &fields.counts.new_recorded,
                       &fields.counts.saved_recorded};
  size_t pos = 0;
  while (pos <= value.size()) {
    size_t bar = value.find('|', pos);
    if (bar == std::string_view::npos) bar = value.size();
    std::string_view field = value.substr(pos, bar - pos);
    if (!field.empty()) {
      // Exact 64-bit counts: a count beyond the int range is never said as
      // some other number.
      if (fields.count < 7) *slots[fields.count] = leading_int64(field);
      ++fields.count;
    }
    pos = bar + 1;
  }
  return fields;
}

std::string money_value(std::string_view value) {
  size_t point = value.find('.');
  if (point == std::string_view::npos) return std::string(value);
  // A double keeps about 15 significant digits: a longer amount is rounded on
  // its text, so no digit of it changes on the way to the builder.
  size_t integer_digits = 0;
  for (char c : value.substr(0, point)) integer_digits += is_digit(c) ? 1 : 0;
  if (integer_digits > kMoneyDoubleSafeDigits) return round_decimal_text(value, 6);
  return format_fixed(leading_double(value), 6);
}

void run_handler(const HandlerContext& ctx, int32_t type, int option, std::string& out,
                 const std::string& value) {
  out.clear();
  switch (type) {
    case VAR_DIGITS:
      en_digits(ctx.mode, option, out, value);
      break;
    case VAR_WORD:
      out = value;
      break;
    case VAR_DATE:
      date_handler(ctx, option, out, value);
      break;
    case VAR_TIME:
      en_time(ctx.mode, option, out, value);
      break;
    case VAR_WAV:
      out = std::string(kOwnFileMark) + value;
      break;
    case VAR_ANNOUNCE:
      announce_handler(ctx, option, out, value);
      break;
    case VAR_SPELL:
      en_spell(ctx.mode, option, out, value);
      break;
    case VAR_FLOAT:
      en_float(ctx.mode, option, out, value);
      break;
    case VAR_MONEY:
      en_money(ctx.mode, option, out, money_value(value), ctx.language_system_name);
      break;
    default:
      break;
  }
}

}  // namespace vemba
