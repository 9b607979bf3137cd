// Test fixtures of the translation engine: a log whose records are kept, and
// a language table built in code.
#pragma once

#include <string>
#include <vector>

#include "base/log.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "rules/rule_model.h"

namespace vemba::test {

/// A verbose log writing into memory, read back without time stamps.
struct LogCapture {
  LogCapture() : clock(utc_seconds(2008, 3, 5, 10, 0, 0)), log(console, clock) {
    log.set_level(TTS_LL_VERB);
  }

  /// Every record so far as "[LEVEL] message", in order.
  std::vector<std::string> records() const {
    std::vector<std::string> result;
    const std::string& text = console.text();
    size_t pos = 0;
    while (pos < text.size()) {
      size_t end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(pos, end - pos);
      // "YYYY/MM/DD HH:MM:SS " comes first.
      result.push_back(line.size() > 20 ? line.substr(20) : line);
      pos = end + 1;
    }
    return result;
  }

  void clear() { console.clear(); }

  StringConsole console;
  FixedClock clock;
  Log log;
};

/// A rule slot of a kind.
inline VarValue slot(int32_t type, int32_t option = 0) { return VarValue{"none", type, option}; }

/// An output item: a literal, a reference ("#N") or a plural alternative.
inline RuleItem item(std::string text, int32_t depends_on = -1, int32_t plural = 0) {
  return RuleItem{std::move(text), depends_on, plural};
}

/// A table of one language holding the given rules (and contents), with the
/// DEFAULT rule's position set.
inline LanguageTable table_of(int32_t language_id, std::vector<Rule> rules,
                              std::vector<ContentsItem> contents = {}) {
  LanguageTable table;
  LanguageRules record;
  record.language_id = language_id;
  record.rule_list = std::move(rules);
  record.contents_list = std::move(contents);
  for (size_t i = 0; i < record.rule_list.size(); ++i) {
    if (record.rule_list[i].name == "DEFAULT") table.default_rule_index = static_cast<int32_t>(i);
  }
  table.records().push_back(std::move(record));
  return table;
}

}  // namespace vemba::test
