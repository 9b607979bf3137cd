// The per-request translation: a message cleaned and encoded, matched against
// the rules of its language, and composed into the list of prompts to play
// (prompt mode) or texts to show (text mode).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/log.h"
#include "platform/clock.h"
#include "rules/rule_model.h"

namespace vemba {

/// Ordered entries of a translation: "*SYSCOM*" recording names and caller
/// file names in prompt mode, descriptions and raw values in text mode.
/// Empty means the translation failed.
using PromptList = std::vector<std::string>;

/// Longest message translate accepts after cleaning.
constexpr size_t kTranslateMessageMax = 256;

/// Longest entry made from one builder word (its buffer holds 256 bytes).
constexpr size_t kPromptNameMax = 255;

/// The pause entry for pause 1, the empty text for any other value.
std::string pause_prompt(int pause);

class Translator {
 public:
  /// A translator for one message; the message is cleaned at once. Dates
  /// are read against now in the clock's local calendar.
  Translator(Log& log, const LanguageTable& languages, const Clock& clock, int64_t now,
             std::string_view message, int language_id, int mode,
             std::string_view language_system_name);

  /// The full prompt list, or an empty one after any failure (logged).
  PromptList translate();

  /// Index of the first rule whose name occurs in message, or -1.
  int select_rule();
  /// Selects a rule (falling back to DEFAULT) and fills values; 1 on success.
  int match_rule();
  /// Appends the prompts of the matched rule; always 1.
  int composer();
  /// Appends one entry per word of text, each followed by a pause in prompt
  /// mode when pause is above 0.
  void add_prompts(std::string_view text, int pause);
  /// The entry for one builder word.
  std::string prompt_name(std::string_view word) const;
  /// The contents description of a rule literal, or the empty text.
  std::string contents_text(std::string_view literal) const;

  int32_t mode;
  std::string message;
  PromptList prompts;
  int32_t language_id;
  std::string language_system_name;
  int32_t rule_index = 0;
  std::vector<VarValue> values;
  std::vector<std::string> quoted_texts;

 private:
  void add_literal(const std::string& literal);
  void add_variable(const Rule& rule, const RuleItem& item, std::string& out);

  Log& log_;
  const LanguageTable& languages_;
  const Clock& clock_;
  int64_t now_;
};

}  // namespace vemba
