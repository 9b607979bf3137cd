#include "rules/rule_arena.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "rules/rule_model.h"
#include "rules/rule_order.h"

namespace vemba {
namespace {

std::vector<std::string> texts(const RuleItemList& items) {
  std::vector<std::string> out;
  for (const RuleItem& item : items)
    out.push_back(item.text + "@" + std::to_string(item.depends_on));
  return out;
}

TEST(RuleArena, AllocationsAreAlignedAndApart) {
  // Sizes and alignments of lists, small and large, across many blocks:
  // every allocation is filled with its own byte and checked at the end.
  struct Case {
    size_t bytes;
    size_t align;
    int count;
  } cases[] = {
      {1, 1, 3000}, {40, 8, 3000}, {160, 8, 2000}, {24, 4, 100},    {48, 16, 500},
      {8, 64, 50},  {100, 32, 50}, {300000, 8, 3}, {2000000, 8, 2},
  };
  RuleArena arena;
  struct Made {
    unsigned char* at;
    size_t bytes;
    unsigned char fill;
  };
  std::vector<Made> made;
  for (const Case& c : cases) {
    for (int i = 0; i < c.count; ++i) {
      auto* at = static_cast<unsigned char*>(arena.allocate(c.bytes, c.align));
      ASSERT_EQ(reinterpret_cast<uintptr_t>(at) % c.align, 0u) << c.bytes << " " << c.align;
      const auto fill = static_cast<unsigned char>(made.size());
      std::memset(at, fill, c.bytes);
      made.push_back({at, c.bytes, fill});
    }
  }
  for (const Made& m : made) {
    for (size_t i = 0; i < m.bytes; ++i) ASSERT_EQ(m.at[i], m.fill);
  }
}

TEST(RuleArena, ListsFromAnArenaOrTheHeap) {
  auto arena = std::make_shared<RuleArena>();
  const RuleAllocator<RuleItem> from_arena(arena);
  const RuleAllocator<RuleItem> from_heap;
  EXPECT_NE(from_arena, from_heap);
  EXPECT_EQ(from_arena, RuleAllocator<RuleItem>(arena));
  EXPECT_EQ(RuleAllocator<VarValue>(from_arena), RuleAllocator<VarValue>(arena));

  RuleItemList list(from_arena);
  for (int i = 0; i < 100; ++i) list.push_back(RuleItem{"item" + std::to_string(i), i, 0});

  // A copy owns its list on the heap; a move keeps the arena.
  RuleItemList copy = list;
  EXPECT_EQ(copy.get_allocator(), from_heap);
  EXPECT_EQ(texts(copy), texts(list));
  RuleItemList moved = std::move(list);
  EXPECT_EQ(moved.get_allocator(), from_arena);
  EXPECT_EQ(texts(moved), texts(copy));

  // Assigning to an arena list keeps its arena, whatever the source.
  RuleItemList target(from_arena);
  target = copy;
  EXPECT_EQ(target.get_allocator(), from_arena);
  EXPECT_EQ(texts(target), texts(copy));

  // The lists keep the arena alive once its last other owner is gone.
  arena.reset();
  moved.push_back(RuleItem{"late", 0, 0});
  EXPECT_EQ(moved.back().text, "late");
  EXPECT_EQ(moved[99].text, "item99");
}

TEST(RuleArena, RulesOutliveTheBuilderThatReadThem) {
  std::vector<Rule> taken;
  Rule copied;
  {
    RuleListBuilder builder;
    for (int i = 0; i < 300; ++i) {
      Rule& rule = builder.stage();
      rule.name = "R" + std::to_string(i);
      rule.slots.push_back(VarValue{"none", VAR_TIME, i});
      for (int j = 0; j < 6; ++j) rule.items.push_back(RuleItem{"item" + std::to_string(j), -1, 0});
      builder.add_staged();
    }
    // A refused line leaves nothing behind.
    builder.stage().items.push_back(RuleItem{"dropped", -1, 0});
    builder.drop_staged();
    taken = builder.take();
    copied = taken[7];
    // A builder used again after take() reads into a new arena.
    Rule& rule = builder.stage();
    rule.name = "again";
    rule.items.push_back(RuleItem{"again.wav", -1, 0});
    builder.add_staged();
    std::vector<Rule> again = builder.take();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].items[0].text, "again.wav");
  }
  ASSERT_EQ(taken.size(), 300u);
  for (const Rule& rule : taken) {
    ASSERT_EQ(rule.slots.size(), 1u);
    ASSERT_EQ(rule.items.size(), 6u);
    EXPECT_EQ(rule.items[5].text, "item5");
    EXPECT_EQ(rule.name, "R" + std::to_string(rule.slots[0].option));
  }
  taken.clear();
  // A copied rule owns its lists: it stays whole after the others are gone.
  EXPECT_EQ(copied.items.get_allocator(), RuleAllocator<RuleItem>());
  EXPECT_EQ(copied.items.size(), 6u);
  EXPECT_EQ(copied.name, "R" + std::to_string(copied.slots[0].option));
  EXPECT_EQ(copied.items[5].text, "item5");
}

}  // namespace
}  // namespace vemba
