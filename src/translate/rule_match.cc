// Rule selection and the offering of message words to a rule's variables.
#include "lang_en/number.h"
#include "translate/template_codec.h"
#include "translate/translator.h"
#include "translate/word_class.h"

namespace vemba {

namespace {

// The class a word takes for a variable of the given type.
int32_t adjusted_class(int32_t word_class, int32_t slot) {
  if (word_class == VAR_INTEGER && (slot == VAR_DIGITS || slot == VAR_FLOAT || slot == VAR_MONEY)) {
    return slot;
  }
  if (word_class == VAR_FLOAT && slot == VAR_MONEY) return VAR_MONEY;
  if (word_class == VAR_INTEGER && is_en_number_kind(slot)) return slot;
  if (slot == VAR_SPELL) return VAR_SPELL;
  return word_class;
}

}  // namespace

int Translator::select_rule() {
  const std::vector<Rule>& rules = languages_.get_rules(language_id);
  if (rules.empty()) {
    tts_log(log_, TTS_LL_ERR, "ERROR !! No such language initialized.\n");
    return -1;
  }
  for (size_t i = 0; i < rules.size(); ++i) {
    if (message.find(rules[i].name) != std::string::npos) return static_cast<int>(i);
  }
  return -1;
}

int Translator::match_rule() {
  const std::vector<Rule>& rules = languages_.get_rules(language_id);
  rule_index = select_rule();
  if (rule_index == -1) {
    int32_t fallback = languages_.default_rule_index;
    if (fallback < 0 || static_cast<size_t>(fallback) >= rules.size()) {
      tts_log(log_, TTS_LL_ERR, "ERROR !! No rule found for: %s\n", message.c_str());
      return 0;
    }
    rule_index = fallback;
    message += " DEFAULT";
  }
  const Rule rule = rules[static_cast<size_t>(rule_index)];
  const std::string text = message;
  const size_t end = text.size();
  const size_t name_pos = text.find(rule.name);
  size_t next_slot = 0;
  std::string last_word;

  size_t pos = 0;
  while (pos < end) {
    while (pos < end && text[pos] == ' ') ++pos;
    if (pos >= end) {
      last_word.clear();  // no further word
      break;
    }
    size_t word_end = text.find(' ', pos);
    if (word_end == std::string::npos) word_end = end;
    std::string word = text.substr(pos, word_end - pos);
    last_word = word;
    if (pos == name_pos) {
      // The rule name is not a value; what is glued behind it is the next
      // word, without losing any of its characters.
      pos = name_pos + rule.name.size();
      if (rule.name.empty()) pos = word_end;
      continue;
    }
    const std::string& value_text = decode_template(word, quoted_texts);
    int32_t word_class = classify_word(value_text);
    pos = word_end + 1;
    if (next_slot >= rule.slots.size()) {
      tts_log(log_, TTS_LL_WARN,
              "WARNING !! NoMatch word: [%s] for rule [%s] found. Skipping ...\n",
              value_text.c_str(), rule.name.c_str());
      continue;
    }
    const VarValue& slot = rule.slots[next_slot];
    word_class = adjusted_class(word_class, slot.type);
    if (word_class == slot.type) {
      values.push_back(VarValue{value_text.substr(0, kVarValueTextMax), word_class, slot.option});
      ++next_slot;
    } else {
      tts_log(log_, TTS_LL_WARN,
              "WARNING !! NoMatch word: [%s] for rule [%s] found. Skipping ...\n",
              value_text.c_str(), rule.name.c_str());
    }
  }

  if (values.size() != rule.slots.size()) {
    tts_log(log_, TTS_LL_ERR, "ERROR !! String: [%s] doesn't match rule: [%s]\n",
            decode_template(last_word, quoted_texts).c_str(), rule.name.c_str());
    return 0;
  }
  return 1;
}

}  // namespace vemba
