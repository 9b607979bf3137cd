// The ordering rule of a language's rule list: a rule with the same name as
// an earlier one replaces it, and a rule goes just before the first rule
// whose name occurs in its own name, so longer names are tried first.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "rules/rule_model.h"

namespace vemba {

/// Adds rule to rule_list by the ordering rule, scanning the list.
void add_rule(std::vector<Rule>& rule_list, Rule rule);

/// A rule list being built, with the same result as add_rule but without
/// scanning the whole list per rule: names are kept in a compressed trie, so
/// finding the names that occur in a new name costs about the new name's
/// length times the depth matched, and list positions are compared through
/// order labels.
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
    Entry(const RuleAllocator<VarValue>& slots, const RuleAllocator<RuleItem>& items)
        : rule{std::string(), SlotList(slots), RuleItemList(items)} {}
    Rule rule;
    uint64_t label = 0;  // increasing along the list
    uint32_t prev = kNil;
    uint32_t next = kNil;
  };
  // One node per name end or branch point. The bytes leading to it from its
  // parent are a run of the name of the entry that made it; entries keep
  // their names until the list is taken.
  struct TrieNode {
    uint64_t head = 0;        // the run's first 8 bytes as one word (any past its end)
    uint32_t rule = kNil;     // first entry in list order with this name
    uint32_t duplicates = 0;  // further entries with the same name
    uint32_t owner = 0;       // the entry whose name holds the run
    uint32_t offset = 0;      // where the run starts in that name
    uint32_t length = 0;      // the run's length; 0 only at the root
    // The node's first child is kept here: most nodes of a name trie have
    // one, and a walk along it then needs no table.
    uint32_t first_child = kNil;
    uint32_t table = 0;            // further children: a table in slots_
    uint16_t table_mask = 0;       // the table's size less one; 0 if none
    unsigned char first_byte = 0;  // the first child's first byte
    unsigned char table_count = 0;
  };
  // A child in a node's table, found by its first byte.
  struct ChildSlot {
    uint32_t child = kNil;  // kNil when free
    unsigned char byte = 0;
  };
  // A node on the last walked name's path, all of whose bytes matched.
  struct PathStep {
    uint32_t node = 0;
    uint32_t depth = 0;          // bytes of the name up to its end
    uint32_t best_above = kNil;  // first entry in list order named above it
  };
  // Where a name's walk down the trie stopped.
  struct Walk {
    size_t length = 0;            // bytes of the name the trie holds
    size_t shared = 0;            // first bytes shared with the name walked before
    uint32_t node = 0;            // the deepest node all of whose bytes matched
    uint32_t partial = kNil;      // its child where matching stopped part way
    uint32_t into = 0;            // bytes of partial that matched
    uint32_t prefix_best = kNil;  // first entry in list order named by a proper prefix
  };

  void append(Rule rule);
  void insert(uint32_t id, bool by_order);
  void link_before(uint32_t id, uint32_t before);
  void unlink(uint32_t id);
  void relabel();
  const unsigned char* run_of(const TrieNode& node) const;
  void set_run(TrieNode& node, uint32_t owner, size_t offset, size_t length) const;
  size_t run_matched(const TrieNode& node, const unsigned char* at, size_t room) const;
  uint32_t child(uint32_t node, unsigned char byte) const;
  void set_child(uint32_t node, unsigned char byte, uint32_t next);
  void replace_child(uint32_t node, unsigned char byte, uint32_t old_child, uint32_t next);
  void grow_table(uint32_t node);
  Walk walk(const std::string& name);
  uint32_t split(const Walk& found);
  uint32_t extend(uint32_t id, const Walk& found);
  void index_name(uint32_t id, uint32_t name_node);
  uint32_t first_contained(const std::string& name, const Walk& found);

  std::vector<Entry> entries_;
  // The lists of staged rules come from one arena, which the rules keep
  // alive; the heap (no arena) until a rule is staged.
  RuleAllocator<VarValue> slot_allocator_;
  RuleAllocator<RuleItem> item_allocator_;
  std::vector<TrieNode> trie_;
  std::vector<uint32_t> root_children_;  // the root's children by byte
  uint32_t root_version_ = 0;            // changes when the root gains a child
  std::vector<ChildSlot> slots_;         // the nodes' child tables
  // The name last walked, with room to read a word at any of its bytes (the
  // other buffer holds the one before), and nodes on its path: a name that
  // shares a prefix with it is walked from the deepest of them within the
  // prefix.
  std::string padded_[2];
  int current_ = 0;
  size_t padded_length_ = 0;
  std::vector<PathStep> path_;
  // Where the root's children start in the last name, when first_contained()
  // looked at it with the root as it is now: the same in a shared prefix.
  std::vector<uint32_t> starts_;
  bool starts_known_ = false;
  uint32_t starts_version_ = 0;
  uint32_t head_ = kNil;
  uint32_t tail_ = kNil;
  size_t size_ = 0;
};

}  // namespace vemba
