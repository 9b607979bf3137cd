// Parsing one line of a rules file or of a contents file.
#pragma once

#include <string_view>
#include <vector>

#include "rules/load_report.h"
#include "rules/rule_model.h"
#include "rules/rule_order.h"

namespace vemba {

/// Tokens of a rule line's left part are shorter than this.
constexpr size_t kRuleTokenLimit = 256;
/// Longest description a contents line may carry.
constexpr size_t kContentsDescriptionMax = 254;

/// Reads a rule line into *rule, an empty rule. False when the line is
/// refused; every reason has then been reported, quoting the line.
bool read_rule_line(LoadReport& report, std::string_view line, Rule* rule);

/// Reads a rule line and adds the rule to rule_list by the ordering rule.
/// 1 when accepted, 0 when refused (the reasons have been reported).
int parse_rule_line(LoadReport& report, std::string_view line, RuleListBuilder& rule_list);

/// Reads a contents line ("name:description") and appends it to
/// contents_list. 1 when accepted, 0 when refused.
int parse_contents_line(LoadReport& report, std::string_view line,
                        std::vector<ContentsItem>& contents_list);

}  // namespace vemba
