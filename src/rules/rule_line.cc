#include "rules/rule_line.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/text_util.h"
#include "rules/var_type.h"

namespace vemba {

namespace {

constexpr std::string_view kWav = ".wav";

// Calls fn on every non-empty piece of text between separators, until fn
// returns false.
template <typename Fn>
void for_each_token(std::string_view text, char separator, Fn fn) {
  while (!text.empty()) {
    const size_t end = std::min(text.find(separator), text.size());
    if (end > 0 && !fn(text.substr(0, end))) return;
    text.remove_prefix(std::min(end + 1, text.size()));
  }
}

// A prompt file name: its first ".wav" ends it and has a character before
// it. So hour.wav/hours.wav is a group, not one name.
bool is_wav_name(std::string_view token) {
  const size_t at = token.find(kWav);
  return at != std::string_view::npos && at > 0 && at + kWav.size() == token.size();
}

// The slot number a text starts with, as a slot index; -1 when it names no
// slot of the rule.
int32_t slot_index(std::string_view text, size_t slot_count) {
  const int number = leading_int(text);
  return number >= 1 && static_cast<size_t>(number) <= slot_count ? number - 1 : -1;
}

void refuse(LoadReport& report, const char* format, std::string_view line) {
  report.message(TTS_LL_ERR, format, std::string(line).c_str());
}

// The left part: slots and name. False when a token was refused.
bool read_left_part(LoadReport& report, std::string_view line, std::string_view left, Rule* rule) {
  bool ok = true;
  for_each_token(left, ' ', [&](std::string_view token) {
    if (token.size() >= kRuleTokenLimit) {
      refuse(report, "ERROR !! Description too long [%s]", line);
      return ok = false;
    }
    if (token[0] == '<') {
      const VarTypeAndOption tag = var_type_of(token);
      if (token.find('>') == std::string_view::npos || tag.type == VAR_UNDEFINED) {
        refuse(report, "ERROR !! Wrong rule description [%s]", line);
        return ok = false;
      }
      rule->slots.push_back(VarValue{"none", tag.type, tag.option});
    } else if (rule->name.empty()) {
      rule->name = token;
    }
    return true;
  });
  return ok;
}

// One alternatives group such as minute.wav/minutes.wav/2: a number makes
// every alternative before it depend on that slot.
bool read_group(std::string_view token, size_t slot_count, std::vector<RuleItem>* items) {
  const size_t group_start = items->size();
  int32_t plural = 0;
  bool ok = true;
  for_each_token(token, '/', [&](std::string_view piece) {
    if (is_wav_name(piece)) {
      items->push_back(RuleItem{std::string(piece), 0, ++plural});
      return true;
    }
    const int32_t slot = slot_index(piece, slot_count);
    if (slot < 0) return ok = false;
    for (size_t i = group_start; i < items->size(); ++i) (*items)[i].depends_on = slot;
    return true;
  });
  return ok;
}

// The right part: the items. False when a token was refused.
bool read_right_part(LoadReport& report, std::string_view line, std::string_view right,
                     Rule* rule) {
  bool ok = true;
  const size_t slot_count = rule->slots.size();
  for_each_token(right, ' ', [&](std::string_view token) {
    bool dependence_ok = true;
    if (is_wav_name(token)) {
      rule->items.push_back(RuleItem{std::string(token), -1, 0});
    } else if (token.find(kWav) != std::string_view::npos) {
      dependence_ok = read_group(token, slot_count, &rule->items);
    } else if (token[0] == '#') {
      dependence_ok = slot_index(token.substr(1), slot_count) >= 0;
      if (dependence_ok) rule->items.push_back(RuleItem{std::string(token), -1, 0});
    } else {
      refuse(report, "ERROR !! Unrecognized type [%s]", line);
      return ok = false;
    }
    if (!dependence_ok) {
      refuse(report, "ERROR !! Wrong dependence definition [%s]", line);
      ok = false;
    }
    return dependence_ok;
  });
  return ok;
}

}  // namespace

bool read_rule_line(LoadReport& report, std::string_view line, Rule* rule) {
  const std::string_view text = line.substr(0, line.find("<!--"));
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    refuse(report, "Separator symbol : is missing in rule [%s]", line);
    return false;
  }
  const std::string_view left = text.substr(0, colon);
  const std::string_view right = text.substr(colon + 1);
  // Room for as many items as the line can give: one per token or group
  // piece.
  rule->items.reserve(1 + std::count(right.begin(), right.end(), ' ') +
                      std::count(right.begin(), right.end(), '/'));
  const bool left_ok = read_left_part(report, line, left, rule);
  if (rule->name.empty()) {
    refuse(report, "ERROR !! Rule name is missing [%s]", line);
    return false;
  }
  // The right part is read even after a left-part error, for its messages.
  return read_right_part(report, line, right, rule) && left_ok;
}

int parse_rule_line(LoadReport& report, std::string_view line, RuleListBuilder& rule_list) {
  Rule rule;
  if (!read_rule_line(report, line, &rule)) return 0;
  rule_list.add(std::move(rule));
  return 1;
}

int parse_contents_line(LoadReport& report, std::string_view line,
                        std::vector<ContentsItem>& contents_list) {
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos) {
    refuse(report, "Separator symbol : is missing in line [%s]", line);
    return 0;
  }
  const std::string_view description = line.substr(colon + 1);
  if (description.size() > kContentsDescriptionMax) return 0;
  contents_list.push_back(
      ContentsItem{std::string(line.substr(0, colon)), std::string(description)});
  return 1;
}

}  // namespace vemba
