#include "rules/rule_model.h"

namespace vemba {

namespace {
// Shared empty answers for languages that were never loaded.
const std::vector<Rule> kNoRules;
const std::vector<ContentsItem> kNoContents;
}  // namespace

const std::vector<Rule>& LanguageTable::get_rules(int32_t language_id) const {
  for (const LanguageRules& record : records_) {
    if (record.language_id == language_id) return record.rule_list;
  }
  return kNoRules;
}

const std::vector<ContentsItem>& LanguageTable::get_contents(int32_t language_id) const {
  for (const LanguageRules& record : records_) {
    if (record.language_id == language_id) return record.contents_list;
  }
  return kNoContents;
}

void LanguageTable::clear_languages() {
  records_.clear();
  default_rule_index = -1;
}

}  // namespace vemba
