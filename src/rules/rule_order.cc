#include "rules/rule_order.h"

#include <utility>

namespace vemba {

namespace {

// Room between neighbouring labels after a relabel: inserts at one place
// halve it, so 32 of them fit before the list is labelled again.
constexpr uint64_t kLabelGap = uint64_t{1} << 32;

}  // namespace

RuleListBuilder::RuleListBuilder() : nodes_(1) { root_children_.fill(kNil); }

RuleListBuilder::RuleListBuilder(const std::vector<Rule>& rules) : RuleListBuilder() {
  for (const Rule& rule : rules) {
    const uint32_t node = node_of(rule.name);
    const uint32_t id = append(rule, kNil);
    if (nodes_[node].rule == kNil) nodes_[node].rule = id;
  }
}

void RuleListBuilder::add(Rule rule) {
  const uint32_t node = node_of(rule.name);
  if (nodes_[node].rule != kNil) unlink(nodes_[node].rule);
  nodes_[node].rule = kNil;
  const uint32_t before = first_contained(rule.name);
  nodes_[node].rule = append(std::move(rule), before);
}

std::vector<Rule> RuleListBuilder::take() {
  std::vector<Rule> rules;
  rules.reserve(entries_.size());
  for (uint32_t id = head_; id != kNil; id = entries_[id].next) {
    rules.push_back(std::move(entries_[id].rule));
  }
  *this = RuleListBuilder();
  return rules;
}

std::string_view RuleListBuilder::run_of(const Node& node) const {
  return std::string_view(names_).substr(node.run_at, node.run_length);
}

uint32_t RuleListBuilder::child(uint32_t node, char byte) const {
  if (node == 0) return root_children_[static_cast<unsigned char>(byte)];
  uint32_t next = nodes_[node].first_child;
  while (next != kNil && names_[nodes_[next].run_at] != byte) next = nodes_[next].next_sibling;
  return next;
}

// The node where name ends, made (by a new leaf, or by splitting a run where
// the name leaves it) when the trie does not hold the name yet.
uint32_t RuleListBuilder::node_of(std::string_view name) {
  uint32_t node = 0;
  size_t depth = 0;
  while (depth < name.size()) {
    const std::string_view rest = name.substr(depth);
    const uint32_t next = child(node, rest[0]);
    if (next == kNil) {
      Node leaf;
      leaf.run_at = static_cast<uint32_t>(names_.size());
      leaf.run_length = static_cast<uint32_t>(rest.size());
      names_.append(rest);
      const uint32_t added = static_cast<uint32_t>(nodes_.size());
      if (node == 0) {
        root_children_[static_cast<unsigned char>(rest[0])] = added;
      } else {
        leaf.next_sibling = nodes_[node].first_child;
        nodes_[node].first_child = added;
      }
      nodes_.push_back(leaf);
      return added;
    }
    const std::string_view run = run_of(nodes_[next]);
    size_t same = 1;
    while (same < run.size() && same < rest.size() && run[same] == rest[same]) ++same;
    if (same < run.size()) {
      // The node keeps its place among its siblings and the first part of
      // its run; the rest of the run, with what hung below, moves down.
      Node lower = nodes_[next];
      lower.run_at += static_cast<uint32_t>(same);
      lower.run_length -= static_cast<uint32_t>(same);
      lower.next_sibling = kNil;
      Node& upper = nodes_[next];
      upper.run_length = static_cast<uint32_t>(same);
      upper.rule = kNil;
      upper.first_child = static_cast<uint32_t>(nodes_.size());
      nodes_.push_back(lower);
    }
    node = next;
    depth += same;
  }
  return node;
}

// The entry, first in list order, whose name occurs in name; kNil if none.
uint32_t RuleListBuilder::first_contained(std::string_view name) const {
  uint32_t best = nodes_[0].rule;  // an empty name occurs in every name
  for (size_t start = 0; start < name.size(); ++start) {
    std::string_view rest = name.substr(start);
    for (uint32_t next = child(0, rest[0]); next != kNil; next = child(next, rest[0])) {
      const Node& here = nodes_[next];
      if (!rest.starts_with(run_of(here))) break;
      const uint32_t id = here.rule;
      if (id != kNil && (best == kNil || entries_[id].label < entries_[best].label)) best = id;
      rest.remove_prefix(here.run_length);
      if (rest.empty()) break;
    }
  }
  return best;
}

// Links a new entry for rule in just before the entry before, or at the end
// when before is kNil.
uint32_t RuleListBuilder::append(Rule rule, uint32_t before) {
  const uint32_t id = static_cast<uint32_t>(entries_.size());
  entries_.push_back(Entry{std::move(rule)});
  Entry& entry = entries_[id];
  entry.next = before;
  entry.prev = before == kNil ? tail_ : entries_[before].prev;
  (entry.prev == kNil ? head_ : entries_[entry.prev].next) = id;
  (before == kNil ? tail_ : entries_[before].prev) = id;
  const uint64_t low = entry.prev == kNil ? 0 : entries_[entry.prev].label;
  const uint64_t high = before == kNil ? low + 2 * kLabelGap : entries_[before].label;
  if (high - low < 2) {
    relabel();
  } else {
    entry.label = low + (high - low) / 2;
  }
  return id;
}

void RuleListBuilder::unlink(uint32_t id) {
  Entry& entry = entries_[id];
  (entry.prev == kNil ? head_ : entries_[entry.prev].next) = entry.next;
  (entry.next == kNil ? tail_ : entries_[entry.next].prev) = entry.prev;
  entry.rule = Rule();
}

void RuleListBuilder::relabel() {
  uint64_t label = kLabelGap;
  for (uint32_t id = head_; id != kNil; id = entries_[id].next) {
    entries_[id].label = label;
    label += kLabelGap;
  }
}

}  // namespace vemba
