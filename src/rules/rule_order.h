// The ordering rule of a language's rule list: a rule with the same name as
// an earlier one replaces it, and a rule goes just before the first rule
// whose name occurs in its own name, so longer names are tried first.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rules/rule_model.h"

namespace vemba {

/// A rule list being built by the ordering rule. The names are kept in a
/// small compressed trie, so finding the names that occur in a new name does
/// not scan the list, and list positions are compared through labels that
/// grow along the list.
class RuleListBuilder {
 public:
  RuleListBuilder();
  /// Starts from a list that take() gave, kept in its order.
  explicit RuleListBuilder(const std::vector<Rule>& rules);

  /// Adds a rule by the ordering rule.
  void add(Rule rule);
  /// The list in its final order; the builder is left empty.
  std::vector<Rule> take();

 private:
  static constexpr uint32_t kNil = UINT32_MAX;

  struct Entry {
    Rule rule;
    uint64_t label = 0;
    uint32_t prev = kNil;
    uint32_t next = kNil;
  };
  // One node per name end or branch point. The bytes leading to it from its
  // parent are a run of names_.
  struct Node {
    uint32_t run_at = 0;
    uint32_t run_length = 0;
    uint32_t rule = kNil;  // the entry whose name ends here
    uint32_t first_child = kNil;
    uint32_t next_sibling = kNil;
  };

  std::string_view run_of(const Node& node) const;
  uint32_t child(uint32_t node, char byte) const;
  uint32_t node_of(std::string_view name);
  uint32_t first_contained(std::string_view name) const;
  uint32_t append(Rule rule, uint32_t before);
  void unlink(uint32_t id);
  void relabel();

  std::vector<Entry> entries_;
  std::vector<Node> nodes_;
  // Every name is looked up from every place in a new name, so the root's
  // children are found by their first byte rather than in a list.
  std::array<uint32_t, 256> root_children_;
  std::string names_;  // the bytes of the runs
  uint32_t head_ = kNil;
  uint32_t tail_ = kNil;
};

}  // namespace vemba
