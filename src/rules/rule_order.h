// The ordering rule of a language's rule list: a rule with the same name as
// an earlier one replaces it, and a rule goes just before the first rule
// whose name occurs in its own name, so longer names are tried first.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "rules/rule_model.h"

namespace vemba {

/// Adds rule to rule_list by the ordering rule, scanning the list.
void add_rule(std::vector<Rule>& rule_list, Rule rule);

/// A rule list being built, with the same result as add_rule but without
/// scanning the whole list per rule: names are kept in a trie, so finding the
/// names that occur in a new name costs about the new name's length times the
/// depth matched, and list positions are compared through order labels.
class RuleListBuilder {
 public:
  RuleListBuilder();
  /// Starts from an existing list, kept in its order.
  explicit RuleListBuilder(const std::vector<Rule>& rules);

  /// Adds a rule by the ordering rule.
  void add(Rule rule);
  /// An empty rule to be read in place; add_staged() then adds it by the
  /// ordering rule, or drop_staged() discards it. Nothing else may be called
  /// in between.
  Rule& stage();
  /// Adds the rule stage() gave.
  void add_staged();
  /// Discards the rule stage() gave.
  void drop_staged();
  /// Makes room for about n rules, so adding them does not move the list.
  void reserve(size_t n);
  /// Number of rules in the list.
  size_t size() const { return size_; }
  /// Empties the list.
  void clear();
  /// The list in its final order; the builder is left empty.
  std::vector<Rule> take();

 private:
  static constexpr uint32_t kNil = UINT32_MAX;

  struct Entry {
    Entry() = default;
    explicit Entry(Rule&& r) : rule(std::move(r)) {}
    explicit Entry(const std::shared_ptr<RuleArena>& arena)
        : rule{std::string(), SlotList(RuleAllocator<VarValue>(arena)),
               RuleItemList(RuleAllocator<RuleItem>(arena))} {}
    Rule rule;
    uint64_t label = 0;  // increasing along the list
    uint32_t prev = kNil;
    uint32_t next = kNil;
  };
  struct TrieNode {
    uint32_t rule = kNil;     // first entry in list order with this name
    uint32_t duplicates = 0;  // further entries with the same name
    // The node's first child is kept here: most nodes of a name trie have
    // one, and a walk along it then needs no hashing.
    uint32_t first_child = kNil;
    unsigned char first_byte = 0;
    bool more_children = false;  // further children are in children_
  };
  struct ChildSlot {
    uint64_t key = 0;  // parent node and byte; 0 when free
    uint32_t child = kNil;
  };

  void append(Rule rule);
  void link_before(uint32_t id, uint32_t before);
  void unlink(uint32_t id);
  void relabel();
  uint32_t child(uint32_t node, unsigned char byte) const;
  uint32_t hashed_child(uint32_t node, unsigned char byte) const;
  void set_child(uint32_t node, unsigned char byte, uint32_t next);
  void insert_child(uint64_t key, uint32_t next);
  void walk(const std::string& name);
  uint32_t extend(const std::string& name);
  void index_name(uint32_t id, uint32_t name_node);
  uint32_t first_contained(const std::string& name) const;

  std::vector<Entry> entries_;
  std::shared_ptr<RuleArena> arena_;  // for the lists of staged rules
  std::vector<TrieNode> trie_;
  std::vector<uint32_t> root_children_;  // the root's children by byte
  std::vector<ChildSlot> children_;      // every other node's children, hashed
  size_t child_count_ = 0;
  // What the last walk() found: how many bytes of the name the trie holds,
  // the node of the longest such prefix, and the first entry in list order
  // named by a proper prefix.
  size_t path_length_ = 0;
  uint32_t path_end_ = kNil;
  uint32_t prefix_best_ = kNil;
  uint32_t head_ = kNil;
  uint32_t tail_ = kNil;
  size_t size_ = 0;
};

}  // namespace vemba
