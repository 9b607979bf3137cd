#include "rules/rule_order.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "platform/text_util.h"

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
  trie_.reserve(2 * n + 1);  // a name adds a node, and at most one more where it branches
}

void RuleListBuilder::clear() {
  entries_.clear();
  trie_.assign(1, TrieNode{});
  root_children_.assign(256, kNil);
  slots_.clear();
  padded_length_ = 0;
  path_.assign(1, PathStep{});
  starts_known_ = false;
  head_ = tail_ = kNil;
  size_ = 0;
  // Rules taken keep their arena; later ones get a new one.
  slot_allocator_ = {};
  item_allocator_ = {};
}

namespace {

const unsigned char* bytes_of(const std::string& text) {
  return reinterpret_cast<const unsigned char*>(text.data());
}

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

// The bits of a word read from memory that hold its first count bytes,
// count < 8.
uint64_t first_bytes_mask(size_t count) {
  const uint64_t low = (uint64_t{1} << (8 * count)) - 1;
  return kLittleEndian ? low : ~(~uint64_t{0} >> (8 * count));
}

// The first byte where two words read from memory differ; diff is their
// nonzero xor.
size_t first_difference(uint64_t diff) {
  return static_cast<size_t>(kLittleEndian ? std::countr_zero(diff) : std::countl_zero(diff)) / 8;
}

// How many bytes from k on run and text share, up to limit.
size_t common_from(const unsigned char* run, const unsigned char* text, size_t k, size_t limit) {
  for (; k + 8 <= limit; k += 8) {
    const uint64_t diff = load_word(run + k) ^ load_word(text + k);
    if (diff != 0) return k + first_difference(diff);
  }
  while (k < limit && run[k] == text[k]) ++k;
  return k;
}

// How many first bytes a and b share, up to limit; 8 bytes past limit may be
// read from both.
size_t common_prefix(const unsigned char* a, const unsigned char* b, size_t limit) {
  for (size_t k = 0; k < limit; k += 8) {
    const uint64_t diff = load_word(a + k) ^ load_word(b + k);
    if (diff != 0) return std::min(k + first_difference(diff), limit);
  }
  return limit;
}

// Copies n bytes. Names are short, and a call to memcpy costs more than
// copying them a word at a time.
void copy_name(unsigned char* to, const unsigned char* from, size_t n) {
  if (n > 64) {
    std::memcpy(to, from, n);
  } else if (n >= 8) {
    for (size_t k = 0; k + 8 < n; k += 8) std::memcpy(to + k, from + k, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(to, from, 4);
    std::memcpy(to + n - 4, from + n - 4, 4);
  } else {
    for (size_t k = 0; k < n; ++k) to[k] = from[k];
  }
}

}  // namespace

inline const unsigned char* RuleListBuilder::run_of(const TrieNode& node) const {
  return bytes_of(entries_[node.owner].rule.name) + node.offset;
}

void RuleListBuilder::set_run(TrieNode& node, uint32_t owner, size_t offset, size_t length) const {
  node.owner = owner;
  node.offset = static_cast<uint32_t>(offset);
  node.length = static_cast<uint32_t>(length);
  node.head = 0;
  std::memcpy(&node.head, run_of(node), std::min<size_t>(length, 8));
}

// How many bytes of node's run the text at at repeats, at most room; at
// least 8 bytes from at may be read, and the run's first byte is known to
// match, since it chose the node.
inline size_t RuleListBuilder::run_matched(const TrieNode& node, const unsigned char* at,
                                           size_t room) const {
  const size_t length = node.length;
  uint64_t diff = load_word(at) ^ node.head;
  if (length < 8) diff &= first_bytes_mask(length);
  size_t k;
  if (diff != 0) {
    k = first_difference(diff);
  } else if (length <= 8) {
    k = length;
  } else {
    k = common_from(run_of(node), at, 8, std::min(length, room));
  }
  return std::min(k, room);
}

inline uint32_t RuleListBuilder::child(uint32_t node, unsigned char byte) const {
  const TrieNode& parent = trie_[node];
  // Without children first_child is kNil, whatever the byte.
  if (parent.first_byte == byte) return parent.first_child;
  const size_t mask = parent.table_mask;
  if (mask == 0) return kNil;
  const ChildSlot* table = slots_.data() + parent.table;
  // A free slot ends the search; its byte is 0 and its child kNil.
  for (size_t i = byte & mask;; i = (i + 1) & mask) {
    if (table[i].byte == byte) return table[i].child;
    if (table[i].child == kNil) return kNil;
  }
}

void RuleListBuilder::set_child(uint32_t node, unsigned char byte, uint32_t next) {
  if (node == 0) {
    root_children_[byte] = next;
    ++root_version_;
    return;
  }
  TrieNode& parent = trie_[node];
  if (parent.first_child == kNil) {
    parent.first_child = next;
    parent.first_byte = byte;
    return;
  }
  // Tables stay at most three quarters full, so a search meets a free slot.
  if ((parent.table_count + 1u) * 4u > (parent.table_mask + 1u) * 3u) grow_table(node);
  const size_t mask = parent.table_mask;
  ChildSlot* table = slots_.data() + parent.table;
  size_t i = byte & mask;
  while (table[i].child != kNil) i = (i + 1) & mask;
  table[i] = ChildSlot{next, byte};
  ++parent.table_count;
}

// Gives node a table twice the size (eight slots at first) at the end of
// slots_; an outgrown table is left unused.
void RuleListBuilder::grow_table(uint32_t node) {
  TrieNode& parent = trie_[node];
  const size_t old_size = parent.table_mask == 0 ? 0 : parent.table_mask + size_t{1};
  const size_t size = old_size == 0 ? 8 : 2 * old_size;
  const size_t start = slots_.size();
  slots_.resize(start + size);
  for (size_t k = 0; k < old_size; ++k) {
    const ChildSlot slot = slots_[parent.table + k];
    if (slot.child == kNil) continue;
    size_t i = slot.byte & (size - 1);
    while (slots_[start + i].child != kNil) i = (i + 1) & (size - 1);
    slots_[start + i] = slot;
  }
  parent.table = static_cast<uint32_t>(start);
  parent.table_mask = static_cast<uint16_t>(size - 1);
}

// Puts next where old_child was among node's children.
void RuleListBuilder::replace_child(uint32_t node, unsigned char byte, uint32_t old_child,
                                    uint32_t next) {
  if (node == 0) {
    root_children_[byte] = next;
    return;
  }
  TrieNode& parent = trie_[node];
  if (parent.first_child == old_child) {
    parent.first_child = next;
    return;
  }
  const size_t mask = parent.table_mask;
  ChildSlot* table = slots_.data() + parent.table;
  size_t i = byte & mask;
  while (table[i].child != old_child) i = (i + 1) & mask;
  table[i].child = next;
}

// Walks the trie along name as far as it matches, noting on the way the
// first entry in list order named by a proper prefix.
[[gnu::always_inline]] inline RuleListBuilder::Walk RuleListBuilder::walk(const std::string& name) {
  Walk found;
  const size_t n = name.size();
  std::string& padded = padded_[current_ ^ 1];
  if (padded.size() < n + 8) padded.resize(n + 8);
  const unsigned char* bytes = bytes_of(padded);
  copy_name(reinterpret_cast<unsigned char*>(padded.data()), bytes_of(name), n);
  found.shared = common_prefix(bytes_of(padded_[current_]), bytes, std::min(n, padded_length_));
  current_ ^= 1;
  padded_length_ = n;
  // Nodes and list order above the shared prefix are as the last walk found
  // them: since then only the last name's own node may have changed rules.
  while (path_.back().depth > found.shared) path_.pop_back();
  // Kept in locals while walking: stores to members could alias the nodes.
  const TrieNode* nodes = trie_.data();
  const Entry* entries = entries_.data();
  const PathStep from = path_.back();
  size_t length = from.depth;
  uint32_t node = from.node;
  uint32_t best = from.best_above;
  uint64_t best_label = best == kNil ? UINT64_MAX : entries[best].label;  // above every label
  // The prefixes are candidates for the first contained name; the whole
  // name is looked at later, once a rule it replaces is gone.
  auto consider = [&](uint32_t id) {
    if (id != kNil && entries[id].label < best_label) {
      best = id;
      best_label = entries[id].label;
    }
  };
  uint32_t next = kNil;
  if (length < n) {
    if (node == 0) {
      next = root_children_[bytes[0]];
    } else {
      consider(nodes[node].rule);
      next = child(node, bytes[length]);
    }
  }
  while (next != kNil) {
    const TrieNode& here = nodes[next];
    const size_t k = run_matched(here, bytes + length, n - length);
    if (k < here.length) {
      found.partial = next;
      found.into = static_cast<uint32_t>(k);
      length += k;
      break;
    }
    length += k;
    node = next;
    path_.push_back(PathStep{node, static_cast<uint32_t>(length), best});
    if (length == n) break;
    consider(here.rule);
    next = child(next, bytes[length]);
  }
  found.length = length;
  found.node = node;
  found.prefix_best = best;
  return found;
}

// Splits the node where a walk stopped part way, so that the matched bytes
// end at a node of their own, and returns that node.
uint32_t RuleListBuilder::split(const Walk& found) {
  const uint32_t lower = found.partial;
  const uint32_t upper = static_cast<uint32_t>(trie_.size());
  TrieNode& below = trie_[lower];
  TrieNode top;
  set_run(top, below.owner, below.offset, found.into);
  const unsigned char byte = *run_of(below);
  set_run(below, below.owner, below.offset + found.into, below.length - found.into);
  top.first_child = lower;
  top.first_byte = *run_of(below);
  trie_.push_back(top);
  replace_child(found.node, byte, lower, upper);
  return upper;
}

// The node of entry id's name, creating what the walk did not find.
[[gnu::always_inline]] inline uint32_t RuleListBuilder::extend(uint32_t id, const Walk& found) {
  const size_t n = entries_[id].rule.name.size();
  uint32_t node = found.node;
  if (found.partial != kNil) {
    node = split(found);
    path_.push_back(PathStep{node, static_cast<uint32_t>(found.length), found.prefix_best});
  }
  if (found.length == n) return node;
  // The rest of the name is one new node; the name is still padded from
  // walk().
  const unsigned char* rest = bytes_of(padded_[current_]) + found.length;
  const uint32_t leaf = static_cast<uint32_t>(trie_.size());
  TrieNode added;
  added.owner = id;
  added.offset = static_cast<uint32_t>(found.length);
  added.length = static_cast<uint32_t>(n - found.length);
  added.head = load_word(rest);  // what follows the run in it is never compared
  trie_.push_back(added);
  TrieNode& parent = trie_[node];
  if (node != 0 && parent.first_child == kNil) {
    parent.first_child = leaf;
    parent.first_byte = *rest;
  } else {
    set_child(node, *rest, leaf);
  }
  path_.push_back(PathStep{leaf, static_cast<uint32_t>(n), found.prefix_best});
  return leaf;
}

// Records entry id under the trie node of its name; the entry must already
// be linked.
inline void RuleListBuilder::index_name(uint32_t id, uint32_t name_node) {
  TrieNode& node = trie_[name_node];
  if (node.rule == kNil) {
    node.rule = id;
  } else {
    ++node.duplicates;
    if (entries_[id].label < entries_[node.rule].label) node.rule = id;
  }
}

// The entry, first in list order, whose name occurs in name; kNil if none.
// The prefixes of name are those on the path of its walk.
[[gnu::always_inline]] inline uint32_t RuleListBuilder::first_contained(const std::string& name,
                                                                        const Walk& found) {
  const TrieNode* nodes = trie_.data();
  const Entry* entries = entries_.data();
  uint32_t best = nodes[0].rule;  // an empty name occurs in every name
  auto consider = [&](uint32_t id) {
    if (id != kNil && (best == kNil || entries[id].label < entries[best].label)) best = id;
  };
  consider(found.prefix_best);
  const size_t n = name.size();
  if (n > 0 && found.length == n && found.partial == kNil) consider(nodes[found.node].rule);
  // The name as walk() padded it.
  const unsigned char* bytes = bytes_of(padded_[current_]);
  const unsigned char* const end = bytes + n;
  const uint32_t* roots = root_children_.data();
  // Other names start where the root has a child for the byte. In a prefix
  // shared with the last name those places are known.
  const unsigned char* scan = bytes + 1;
  if (starts_known_ && starts_version_ == root_version_) {
    while (!starts_.empty() && starts_.back() >= found.shared) starts_.pop_back();
    scan = bytes + std::max<size_t>(found.shared, 1);
  } else {
    starts_.clear();
  }
  starts_known_ = true;
  starts_version_ = root_version_;
  for (;;) {
    // Four bytes at a time: a child is below kNil, so the and of four is
    // kNil only if none is a child. The padding may be read, so the last
    // bytes need no loop of their own.
    while (scan < end &&
           (roots[scan[0]] & roots[scan[1]] & roots[scan[2]] & roots[scan[3]]) == kNil) {
      scan += 4;
    }
    const unsigned char* const stop = std::min(scan + 4, end);
    while (scan < stop && roots[*scan] == kNil) ++scan;
    if (scan >= end) break;
    if (scan == stop) continue;
    starts_.push_back(static_cast<uint32_t>(scan - bytes));
    ++scan;
  }
  for (const uint32_t start : starts_) {
    const unsigned char* at = bytes + start;
    for (uint32_t next = roots[*at]; next != kNil;) {
      const TrieNode& here = nodes[next];
      const size_t room = static_cast<size_t>(end - at);
      if (here.length > room || run_matched(here, at, room) < here.length) break;
      at += here.length;
      consider(here.rule);
      if (at == end) break;
      next = child(next, *at);
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

[[gnu::always_inline]] inline void RuleListBuilder::link_before(uint32_t id, uint32_t before) {
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
  // The name stays: trie nodes may hold their bytes in it.
  std::string name = std::move(entry.rule.name);
  entry.rule = Rule{};
  entry.rule.name = std::move(name);
  --size_;
}

void RuleListBuilder::append(Rule rule) {
  entries_.emplace_back(std::move(rule));
  insert(static_cast<uint32_t>(entries_.size() - 1), false);
}

void RuleListBuilder::add(Rule rule) {
  stage() = std::move(rule);
  add_staged();
}

Rule& RuleListBuilder::stage() {
  if (slot_allocator_ == RuleAllocator<VarValue>()) {
    auto arena = std::make_shared<RuleArena>();
    slot_allocator_ = RuleAllocator<VarValue>(arena);
    item_allocator_ = RuleAllocator<RuleItem>(arena);
  }
  return entries_.emplace_back(slot_allocator_, item_allocator_).rule;
}

void RuleListBuilder::drop_staged() { entries_.pop_back(); }

void RuleListBuilder::add_staged() { insert(static_cast<uint32_t>(entries_.size() - 1), true); }

// Links entry id into the list, by the ordering rule or else at the end, and
// indexes its name.
void RuleListBuilder::insert(uint32_t id, bool by_order) {
  const std::string& name = entries_[id].rule.name;
  const Walk found = walk(name);
  uint32_t before = kNil;
  if (by_order) {
    if (found.length == name.size() && found.partial == kNil) {
      TrieNode& same = trie_[found.node];
      if (same.rule != kNil) {
        uint32_t removed = same.rule;
        same.rule = kNil;
        if (same.duplicates > 0) {
          // Only a list given to the constructor can hold a name twice.
          --same.duplicates;
          for (uint32_t other = entries_[removed].next; other != kNil;
               other = entries_[other].next) {
            if (entries_[other].rule.name == name) {
              same.rule = other;
              break;
            }
          }
        }
        unlink(removed);
      }
    }
    before = first_contained(name, found);
  } else {
    starts_known_ = false;  // of a name before this one
  }
  link_before(id, before);
  index_name(id, extend(id, found));
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
