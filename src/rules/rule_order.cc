#include "rules/rule_order.h"

#include <algorithm>
#include <utility>

namespace vemba {

namespace {

// Room between neighbouring labels after a relabel; halving it on repeated
// inserts at one place allows 32 of them before the next relabel.
constexpr uint64_t kLabelGap = uint64_t{1} << 32;

}  // namespace

void add_rule(std::vector<Rule>& rule_list, Rule rule) {
  auto same = std::find_if(rule_list.begin(), rule_list.end(),
                           [&](const Rule& r) { return r.name == rule.name; });
  if (same != rule_list.end()) rule_list.erase(same);
  auto inner = std::find_if(rule_list.begin(), rule_list.end(), [&](const Rule& r) {
    return rule.name.find(r.name) != std::string::npos;
  });
  rule_list.insert(inner, std::move(rule));
}

RuleListBuilder::RuleListBuilder() { clear(); }

RuleListBuilder::RuleListBuilder(const std::vector<Rule>& rules) {
  clear();
  for (const Rule& rule : rules) append(rule);
}

void RuleListBuilder::reserve(size_t n) {
  entries_.reserve(n);
  trie_.reserve(4 * n);  // a few new nodes per name is usual
}

void RuleListBuilder::clear() {
  entries_.clear();
  trie_.assign(1, TrieNode{});
  root_children_.assign(256, kNil);
  children_.assign(64, ChildSlot{});
  child_count_ = 0;
  head_ = tail_ = kNil;
  size_ = 0;
  arena_.reset();
}

namespace {

uint64_t child_key(uint32_t node, unsigned char byte) {
  return ((static_cast<uint64_t>(node) << 8) | byte) + 1;  // 0 marks a free slot
}

size_t child_hash(uint64_t key) { return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32); }

}  // namespace

inline uint32_t RuleListBuilder::child(uint32_t node, unsigned char byte) const {
  if (node == 0) return root_children_[byte];
  const TrieNode& parent = trie_[node];
  if (parent.first_child != kNil && parent.first_byte == byte) return parent.first_child;
  if (!parent.more_children) return kNil;
  return hashed_child(node, byte);
}

uint32_t RuleListBuilder::hashed_child(uint32_t node, unsigned char byte) const {
  const uint64_t key = child_key(node, byte);
  const size_t mask = children_.size() - 1;
  for (size_t i = child_hash(key) & mask;; i = (i + 1) & mask) {
    if (children_[i].key == key) return children_[i].child;
    if (children_[i].key == 0) return kNil;
  }
}

void RuleListBuilder::set_child(uint32_t node, unsigned char byte, uint32_t next) {
  if (node == 0) {
    root_children_[byte] = next;
    return;
  }
  TrieNode& parent = trie_[node];
  if (parent.first_child == kNil) {
    parent.first_child = next;
    parent.first_byte = byte;
    return;
  }
  parent.more_children = true;
  if ((child_count_ + 1) * 2 > children_.size()) {
    std::vector<ChildSlot> old(children_.size() * 2);
    old.swap(children_);
    child_count_ = 0;
    for (const ChildSlot& slot : old) {
      if (slot.key != 0) insert_child(slot.key, slot.child);
    }
  }
  insert_child(child_key(node, byte), next);
}

void RuleListBuilder::insert_child(uint64_t key, uint32_t next) {
  const size_t mask = children_.size() - 1;
  size_t i = child_hash(key) & mask;
  while (children_[i].key != 0) i = (i + 1) & mask;
  children_[i] = ChildSlot{key, next};
  ++child_count_;
}

// Walks the trie along name as far as it exists, keeping the last node
// reached and the first entry in list order named by a proper prefix.
void RuleListBuilder::walk(const std::string& name) {
  // Kept in locals while walking: stores to members could alias the nodes.
  const TrieNode* nodes = trie_.data();
  const Entry* entries = entries_.data();
  size_t length = 0;
  uint32_t end = 0;
  uint32_t best = kNil;
  uint64_t best_label = UINT64_MAX;  // above every label
  const size_t n = name.size();
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(name.data());
  uint32_t node = n == 0 ? kNil : root_children_[bytes[0]];
  while (node != kNil) {
    end = node;
    if (++length == n) break;
    const TrieNode& here = nodes[node];
    // The prefixes are candidates for the first contained name; the whole
    // name is looked at later, once a rule it replaces is gone.
    if (here.rule != kNil && entries[here.rule].label < best_label) {
      best = here.rule;
      best_label = entries[best].label;
    }
    const unsigned char byte = bytes[length];
    if (here.first_child != kNil && here.first_byte == byte) {
      node = here.first_child;
    } else {
      node = here.more_children ? hashed_child(node, byte) : kNil;
    }
  }
  path_length_ = length;
  path_end_ = end;
  prefix_best_ = best;
}

// The node of name, creating what walk() did not find.
uint32_t RuleListBuilder::extend(const std::string& name) {
  uint32_t node = path_length_ == 0 ? 0 : path_end_;
  const size_t n = name.size();
  if (path_length_ == n) return node;
  // Only the first new node joins a node that may have children; each later
  // one is the first child of a node just made.
  uint32_t next = static_cast<uint32_t>(trie_.size());
  trie_.resize(trie_.size() + (n - path_length_));
  set_child(node, static_cast<unsigned char>(name[path_length_]), next);
  for (size_t i = path_length_ + 1; i < n; ++i, ++next) {
    TrieNode& parent = trie_[next];
    parent.first_child = next + 1;
    parent.first_byte = static_cast<unsigned char>(name[i]);
  }
  return next;
}

// Records entry id under the trie node of its name; the entry must already
// be linked.
void RuleListBuilder::index_name(uint32_t id, uint32_t name_node) {
  TrieNode& node = trie_[name_node];
  if (node.rule == kNil) {
    node.rule = id;
  } else {
    ++node.duplicates;
    if (entries_[id].label < entries_[node.rule].label) node.rule = id;
  }
}

// The entry, first in list order, whose name occurs in name; kNil if none.
// The prefixes of name are those on the path of the last walk().
uint32_t RuleListBuilder::first_contained(const std::string& name) const {
  uint32_t best = trie_[0].rule;  // an empty name occurs in every name
  auto consider = [&](uint32_t id) {
    if (id != kNil && (best == kNil || entries_[id].label < entries_[best].label)) best = id;
  };
  consider(prefix_best_);
  if (path_length_ > 0) consider(trie_[path_end_].rule);
  const size_t n = name.size();
  for (size_t start = 1; start < n; ++start) {
    uint32_t node = root_children_[static_cast<unsigned char>(name[start])];
    for (size_t i = start + 1; node != kNil; ++i) {
      consider(trie_[node].rule);
      if (i == n) break;
      node = child(node, static_cast<unsigned char>(name[i]));
    }
  }
  return best;
}

void RuleListBuilder::relabel() {
  uint64_t label = kLabelGap;
  for (uint32_t id = head_; id != kNil; id = entries_[id].next) {
    entries_[id].label = label;
    label += kLabelGap;
  }
}

void RuleListBuilder::link_before(uint32_t id, uint32_t before) {
  Entry& entry = entries_[id];
  if (before == kNil) {
    entry.prev = tail_;
    entry.next = kNil;
    if (tail_ != kNil) {
      entries_[tail_].next = id;
    } else {
      head_ = id;
    }
    tail_ = id;
  } else {
    entry.next = before;
    entry.prev = entries_[before].prev;
    if (entry.prev != kNil) {
      entries_[entry.prev].next = id;
    } else {
      head_ = id;
    }
    entries_[before].prev = id;
  }
  ++size_;
  uint64_t low = entry.prev == kNil ? 0 : entries_[entry.prev].label;
  // Labels stay below UINT64_MAX, which walk() takes as above them all.
  bool room = before == kNil ? low < UINT64_MAX - kLabelGap : entries_[before].label - low > 1;
  if (!room) {
    relabel();
    return;
  }
  entry.label = before == kNil ? low + kLabelGap : low + (entries_[before].label - low) / 2;
}

void RuleListBuilder::unlink(uint32_t id) {
  Entry& entry = entries_[id];
  if (entry.prev != kNil) {
    entries_[entry.prev].next = entry.next;
  } else {
    head_ = entry.next;
  }
  if (entry.next != kNil) {
    entries_[entry.next].prev = entry.prev;
  } else {
    tail_ = entry.prev;
  }
  entry.prev = entry.next = kNil;
  entry.rule = Rule{};
  --size_;
}

void RuleListBuilder::append(Rule rule) {
  uint32_t id = static_cast<uint32_t>(entries_.size());
  entries_.emplace_back(std::move(rule));
  link_before(id, kNil);
  walk(entries_[id].rule.name);
  index_name(id, extend(entries_[id].rule.name));
}

void RuleListBuilder::add(Rule rule) {
  stage() = std::move(rule);
  add_staged();
}

Rule& RuleListBuilder::stage() {
  // The lists of the rules read come from one arena; the rules keep it alive.
  if (!arena_) arena_ = std::make_shared<RuleArena>();
  return entries_.emplace_back(arena_).rule;
}

void RuleListBuilder::drop_staged() { entries_.pop_back(); }

void RuleListBuilder::add_staged() {
  const uint32_t id = static_cast<uint32_t>(entries_.size() - 1);
  const std::string& name = entries_[id].rule.name;
  walk(name);
  if (path_length_ == name.size()) {
    TrieNode& same = trie_[path_length_ == 0 ? 0 : path_end_];
    if (same.rule != kNil) {
      uint32_t removed = same.rule;
      same.rule = kNil;
      if (same.duplicates > 0) {
        // Only a list given to the constructor can hold a name twice.
        --same.duplicates;
        for (uint32_t other = entries_[removed].next; other != kNil; other = entries_[other].next) {
          if (entries_[other].rule.name == name) {
            same.rule = other;
            break;
          }
        }
      }
      unlink(removed);
    }
  }
  link_before(id, first_contained(name));
  index_name(id, extend(name));
}

std::vector<Rule> RuleListBuilder::take() {
  std::vector<Rule> rules;
  rules.reserve(size_);
  for (uint32_t id = head_; id != kNil; id = entries_[id].next) {
    rules.push_back(std::move(entries_[id].rule));
  }
  clear();
  return rules;
}

}  // namespace vemba
