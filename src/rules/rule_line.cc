#include "rules/rule_line.h"

#include <cstring>
#include <string>
#include <utility>

#include "platform/text_util.h"
#include "rules/var_type.h"

namespace vemba {

namespace {

constexpr std::string_view kWav = ".wav";

// A text that becomes a std::string where it is needed: an item or slot is
// then built in its list in one go, where one built first and moved in would
// copy its text twice (rule lines are read on every request).
struct TextOf {
  std::string_view text;
  operator std::string() const { return std::string(text); }
};

// Calls fn on every non-empty piece of text between separators.
template <typename Fn>
void for_each_token(std::string_view text, char separator, Fn fn) {
  const char* const begin = text.data();
  const char* const stop = begin + text.size();
  for (const char* pos = begin; pos < stop;) {
    const void* found = std::memchr(pos, separator, static_cast<size_t>(stop - pos));
    const char* end = found == nullptr ? stop : static_cast<const char*>(found);
    if (end > pos && !fn(std::string_view(pos, static_cast<size_t>(end - pos)))) return;
    pos = end + 1;
  }
}

// A prompt file name, given where ".wav" first occurs in it: that ".wav" ends
// it and has at least one character before it. So hour.wav/hours.wav is a
// group, not one name.
bool is_wav_name(std::string_view token, size_t wav_at) {
  return wav_at != std::string_view::npos && wav_at > 0 && wav_at + kWav.size() == token.size();
}

// Where ".wav" first occurs in token. Most tokens hold one '.' or none, so
// the first '.' usually settles it without a substring search.
size_t find_wav(std::string_view token) {
  // Most tokens are short ("#1"): a plain loop costs less than a library call.
  size_t dot = 0;
  if (token.size() <= 8) {
    while (dot < token.size() && token[dot] != '.') ++dot;
    if (dot == token.size()) return std::string_view::npos;
  } else {
    dot = token.find('.');
  }
  if (dot == std::string_view::npos) return dot;
  if (token.substr(dot).starts_with(kWav)) return dot;
  return token.find(kWav, dot + 1);
}

// Where the comment mark "<!--" first occurs in line. Its '!' is rare in rule
// lines while '<' opens every variable tag, so the search goes by the '!'.
size_t find_comment(std::string_view line) {
  for (size_t bang = line.find('!', 1); bang != std::string_view::npos;
       bang = line.find('!', bang + 1)) {
    if (line[bang - 1] == '<' && line.substr(bang + 1).starts_with("--")) return bang - 1;
  }
  return std::string_view::npos;
}

// The leading integer of a slot number; short plain digit strings, the
// usual case, are read directly.
int slot_number(std::string_view text) {
  if (text.empty() || text.size() > 4) return leading_int(text);
  int number = 0;
  for (char c : text) {
    if (!is_digit(c)) return leading_int(text);
    number = number * 10 + (c - '0');
  }
  return number;
}

bool valid_slot_number(int number, size_t slot_count) {
  return number >= 1 && static_cast<size_t>(number) <= slot_count;
}

// The left part: slots and name. False when a token was refused.
bool read_left_part(LoadReport& report, std::string_view quoted, std::string_view left, Rule* rule,
                    bool* has_name, VarTypeMemo* memo) {
  bool ok = true;
  for_each_token(left, ' ', [&](std::string_view token) {
    if (token.size() >= kRuleTokenLimit) {
      report.message(TTS_LL_ERR, "ERROR !! Description too long [%s]", std::string(quoted).c_str());
      ok = false;
      return false;
    }
    if (token.front() == '<') {
      VarTypeAndOption tag = memo != nullptr ? memo->of(token) : var_type_of(token);
      // A tag usually ends with its '>'.
      const bool closed = token.back() == '>' || token.find('>') != std::string_view::npos;
      if (!closed || tag.type == VAR_UNDEFINED) {
        report.message(TTS_LL_ERR, "ERROR !! Wrong rule description [%s]",
                       std::string(quoted).c_str());
        ok = false;
        return false;
      }
      // Room for the usual two slots at the first (rules are read on every
      // request).
      if (rule->slots.empty()) rule->slots.reserve(2);
      rule->slots.emplace_back(TextOf{"none"}, tag.type, tag.option);
    } else if (!*has_name) {
      rule->name.assign(token);
      *has_name = true;
    }
    return true;
  });
  return ok;
}

// One alternatives group such as minute.wav/minutes.wav/2.
bool read_group(std::string_view token, size_t slot_count, RuleItemList* items) {
  size_t group_start = items->size();
  int32_t plural = 0;
  bool ok = true;
  for_each_token(token, '/', [&](std::string_view piece) {
    if (is_wav_name(piece, find_wav(piece))) {
      items->emplace_back(TextOf{piece}, 0, ++plural);
      return true;
    }
    int number = slot_number(piece);
    if (!valid_slot_number(number, slot_count)) {
      ok = false;
      return false;
    }
    for (size_t i = group_start; i < items->size(); ++i) (*items)[i].depends_on = number - 1;
    return true;
  });
  return ok;
}

// The right part: the items. False when a token was refused.
bool read_right_part(LoadReport& report, std::string_view quoted, std::string_view right,
                     Rule* rule) {
  bool ok = true;
  const size_t slot_count = rule->slots.size();
  for_each_token(right, ' ', [&](std::string_view token) {
    bool dependence_ok = true;
    const size_t wav_at = find_wav(token);
    if (is_wav_name(token, wav_at)) {
      rule->items.emplace_back(TextOf{token}, -1, 0);
      return true;
    } else if (wav_at != std::string_view::npos) {
      dependence_ok = read_group(token, slot_count, &rule->items);
    } else if (token.front() == '#') {
      dependence_ok = valid_slot_number(slot_number(token.substr(1)), slot_count);
      if (dependence_ok) rule->items.emplace_back(TextOf{token}, -1, 0);
    } else {
      report.message(TTS_LL_ERR, "ERROR !! Unrecognized type [%s]", std::string(quoted).c_str());
      ok = false;
      return false;
    }
    if (!dependence_ok) {
      report.message(TTS_LL_ERR, "ERROR !! Wrong dependence definition [%s]",
                     std::string(quoted).c_str());
      ok = false;
    }
    return dependence_ok;
  });
  return ok;
}

}  // namespace

bool read_rule_line(LoadReport& report, std::string_view line, Rule* rule, VarTypeMemo* memo) {
  rule->name.clear();
  rule->slots.clear();
  rule->items.clear();
  std::string_view quoted = line;  // messages quote the line as given
  std::string_view text = line.substr(0, find_comment(line));
  size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    report.message(TTS_LL_ERR, "Separator symbol : is missing in rule [%s]",
                   std::string(quoted).c_str());
    return false;
  }
  std::string_view left = text.substr(0, colon);
  std::string_view right = text.substr(colon + 1);
  // Room for the usual items at once: rules are loaded on every request.
  rule->items.reserve(4);
  bool has_name = false;
  bool ok = read_left_part(report, quoted, left, rule, &has_name, memo);
  if (!has_name) {
    report.message(TTS_LL_ERR, "ERROR !! Rule name is missing [%s]", std::string(quoted).c_str());
    return false;
  }
  ok = read_right_part(report, quoted, right, rule) && ok;
  return ok;
}

int parse_rule_line(Log& log, std::string_view line, std::vector<Rule>& rule_list) {
  LoadReport report(log);
  Rule rule;
  if (!read_rule_line(report, line, &rule)) return 0;
  add_rule(rule_list, std::move(rule));
  return 1;
}

int parse_rule_line(LoadReport& report, std::string_view line, RuleListBuilder& rule_list,
                    VarTypeMemo* memo) {
  // Read where the list keeps it: a rule is then never moved until the list
  // is taken.
  if (!read_rule_line(report, line, &rule_list.stage(), memo)) {
    rule_list.drop_staged();
    return 0;
  }
  rule_list.add_staged();
  return 1;
}

int parse_contents_line(LoadReport& report, std::string_view line,
                        std::vector<ContentsItem>& contents_list) {
  size_t colon = line.find(':');
  if (colon == std::string_view::npos) {
    report.message(TTS_LL_ERR, "Separator symbol : is missing in line [%s]",
                   std::string(line).c_str());
    return 0;
  }
  std::string_view description = line.substr(colon + 1);
  if (description.size() > kContentsDescriptionMax) return 0;
  contents_list.push_back(
      ContentsItem{std::string(line.substr(0, colon)), std::string(description)});
  return 1;
}

int parse_contents_line(Log& log, std::string_view line, std::vector<ContentsItem>& contents_list) {
  LoadReport report(log);
  return parse_contents_line(report, line, contents_list);
}

}  // namespace vemba
