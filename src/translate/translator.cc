#include "translate/translator.h"

#include "base/marks.h"
#include "lang_en/number.h"
#include "platform/text_util.h"
#include "translate/template_codec.h"
#include "translate/var_handlers.h"

namespace vemba {

namespace {

bool only_white_space(std::string_view text) {
  for (char c : text) {
    if (!is_space(c)) return false;
  }
  return true;
}

}  // namespace

std::string pause_prompt(int pause) {
  return pause == 1 ? std::string(kCommonMark) + "silence300.wav" : std::string();
}

Translator::Translator(Log& log, const LanguageTable& languages, const Clock& clock, int64_t now,
                       std::string_view message_text, int language_id_, int mode_,
                       std::string_view language_system_name_)
    : mode(mode_),
      message(clear_string(log, message_text)),
      language_id(language_id_),
      language_system_name(language_system_name_),
      log_(log),
      languages_(languages),
      clock_(clock),
      now_(now) {}

PromptList Translator::translate() {
  if (message.size() > kTranslateMessageMax) {
    tts_log(log_, TTS_LL_ERR, "ERROR !! <translate> String is too long for TTS limited");
    return prompts;
  }
  if (only_white_space(message)) {
    tts_log(log_, TTS_LL_ERR, "ERROR !! <translate> Empty string supplyed");
    return prompts;
  }
  std::optional<std::string> encoded = encode_template(log_, message, quoted_texts);
  if (!encoded) return prompts;
  message = std::move(*encoded);
  if (languages_.get_rules(language_id).empty()) {
    tts_log(log_, TTS_LL_ERR, "ERROR !! <translate> Rule table is empty");
    return prompts;
  }
  if (!match_rule()) {
    tts_log(log_, TTS_LL_ERR,
            "ERROR !! <translate> Unable to match input string to any of the rules ");
    return prompts;
  }
  composer();
  return prompts;
}

int Translator::composer() {
  const std::vector<Rule>& rules = languages_.get_rules(language_id);
  if (rule_index < 0 || static_cast<size_t>(rule_index) >= rules.size()) return 1;
  const Rule rule = rules[static_cast<size_t>(rule_index)];
  std::string out;  // builder output, reused for every variable
  for (const RuleItem& item : rule.items) {
    if (item.text.starts_with("#")) {
      add_variable(rule, item, out);
    } else if (item.depends_on == -1) {
      add_literal(item.text);
    } else if (item.depends_on >= 0 && static_cast<size_t>(item.depends_on) < values.size()) {
      int64_t n = leading_int64(values[static_cast<size_t>(item.depends_on)].text);
      if (plural_class(n) == item.plural) add_literal(item.text);
    } else {
      tts_log(log_, TTS_LL_ERR, "ERROR !! <composer> No match for variables for rule [%s]",
              rule.name.c_str());
    }
  }
  return 1;
}

void Translator::add_variable(const Rule& rule, const RuleItem& item, std::string& out) {
  int64_t k = static_cast<int64_t>(leading_int(std::string_view(item.text).substr(1))) - 1;
  if (k < 0 || static_cast<size_t>(k) >= values.size()) {
    tts_log(log_, TTS_LL_ERR, "ERROR !! <composer> No match for variables for rule [%s]",
            rule.name.c_str());
    return;
  }
  const VarValue value = values[static_cast<size_t>(k)];
  if (value.type >= kFirstLanguageKind) {
    out.clear();
    en_number(mode, out, value.text, value.type);
    add_prompts(out, 0);
  } else if (value.type == VAR_UNDEFINED) {
    tts_log(log_, TTS_LL_ERR, "ERROR !! <composer> case VAR_UNDEFINED");
  } else if (value.type >= VAR_DIGITS && value.type <= VAR_MONEY) {
    HandlerContext ctx{log_, clock_, now_, mode, language_system_name};
    run_handler(ctx, value.type, value.option, out, value.text);
    add_prompts(out, value.type == VAR_DIGITS ? 1 : 0);
  }
}

void Translator::add_literal(const std::string& literal) {
  if (mode == 0) {
    prompts.push_back(std::string(kCommonMark) + literal);
  } else {
    prompts.push_back(contents_text(literal));
  }
}

void Translator::add_prompts(std::string_view text, int pause) {
  size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == ' ') {
      ++pos;
      continue;
    }
    size_t end = text.find(' ', pos);
    if (end == std::string_view::npos) end = text.size();
    prompts.push_back(prompt_name(text.substr(pos, end - pos)));
    if (mode == 0 && pause > 0) prompts.push_back(pause_prompt(pause));
    pos = end;
  }
}

std::string Translator::prompt_name(std::string_view word) const {
  std::string name;
  if (mode == 1) {
    name = word;
  } else if (word.find(kOwnFileMark) != std::string_view::npos) {
    name = word.substr(kOwnFileMark.size());
  } else {
    name = std::string(kCommonMark) + std::string(word) + ".wav";
  }
  // An over-long name is cut to what its buffer holds.
  if (name.size() > kPromptNameMax) name.resize(kPromptNameMax);
  return name;
}

std::string Translator::contents_text(std::string_view literal) const {
  for (const ContentsItem& item : languages_.get_contents(language_id)) {
    if (item.name == literal) return item.description.substr(0, kVarValueTextMax);
  }
  return std::string();
}

}  // namespace vemba
