// A language pack in memory: variable kinds, rules with their slots and
// output items, contents descriptions, and the table of loaded languages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/var_kind.h"

namespace vemba {

/// Longest text a VarValue holds (its 1,000-byte field less the terminator).
constexpr size_t kVarValueTextMax = 999;

/// One variable slot of a rule, or one matched value of a request.
struct VarValue {
  std::string text;  // "none" in a rule slot; the message word in a value
  int32_t type = VAR_UNDEFINED;
  int32_t option = 0;
};

/// One output item of a rule: a fixed prompt, a plural alternative or a
/// variable reference ("#N").
struct RuleItem {
  std::string text;
  int32_t depends_on = -1;  // slot index selecting a plural alternative, or -1
  int32_t plural = 0;       // 1-based position in its alternatives group, or 0
};

/// One rule: the name that selects it, its variable slots and its items, each
/// in line order.
struct Rule {
  std::string name;
  std::vector<VarValue> slots;
  std::vector<RuleItem> items;
};

/// One line of a contents file: what a prompt recording says.
struct ContentsItem {
  std::string name;
  std::string description;
};

/// One language section of a rules file.
struct LanguageRules {
  int32_t language_id = -1;
  std::vector<Rule> rule_list;
  std::vector<ContentsItem> contents_list;
};

/// The loaded languages of a process, in file order.
class LanguageTable {
 public:
  /// The rules of the first record with this id, or an empty list.
  const std::vector<Rule>& get_rules(int32_t language_id) const;
  /// The contents of the first record with this id, or an empty list.
  const std::vector<ContentsItem>& get_contents(int32_t language_id) const;
  /// Empties the table.
  void clear_languages();

  std::vector<LanguageRules>& records() { return records_; }
  const std::vector<LanguageRules>& records() const { return records_; }

  /// Position of the rule named "DEFAULT" in the loaded language, or -1.
  int32_t default_rule_index = -1;

 private:
  std::vector<LanguageRules> records_;
};

}  // namespace vemba
