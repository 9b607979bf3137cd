#include "rules/rule_order.h"

#include <gtest/gtest.h>

#include <random>

namespace vemba {
namespace {

Rule named(const std::string& name, int tag = 0) {
  Rule rule;
  rule.name = name;
  rule.items.push_back(RuleItem{"r" + std::to_string(tag) + ".wav", -1, 0});
  return rule;
}

std::vector<std::string> names_of(const std::vector<Rule>& rules) {
  std::vector<std::string> names;
  for (const Rule& rule : rules) names.push_back(rule.name);
  return names;
}

TEST(RuleOrder, InsertionOrder) {
  struct Case {
    std::vector<std::string> read;
    std::vector<std::string> final_order;
  } cases[] = {
      {{"TIME", "DATE", "TIME_AM"}, {"TIME_AM", "TIME", "DATE"}},
      {{"TIME_AM", "TIME"}, {"TIME_AM", "TIME"}},
      {{"TIME", "DEFAULT", "TIME2"}, {"TIME2", "TIME", "DEFAULT"}},
      {{"A", "B", "AB"}, {"AB", "A", "B"}},  // before the first contained name
      {{"B", "A", "AB"}, {"AB", "B", "A"}},
      {{"X", "Y", "X"}, {"Y", "X"}},  // same name: removed, then placed anew
      {{"XY", "X", "XY"}, {"XY", "X"}},
      {{"T", "TIME", "ME", "TIME_AM"}, {"TIME_AM", "TIME", "T", "ME"}},
      {{"AM", "TIME", "TIME_AM"}, {"TIME_AM", "AM", "TIME"}},
      {{"ABC", "BCD", "ABCD"}, {"ABCD", "ABC", "BCD"}},
  };
  for (const Case& c : cases) {
    std::vector<Rule> scanned;
    RuleListBuilder built;
    for (const std::string& name : c.read) {
      add_rule(scanned, named(name));
      built.add(named(name));
    }
    EXPECT_EQ(names_of(scanned), c.final_order) << c.read.front();
    EXPECT_EQ(names_of(built.take()), c.final_order) << c.read.front();
  }
}

TEST(RuleOrder, SameNameKeepsTheLaterRule) {
  RuleListBuilder built;
  built.add(named("HOURS", 1));
  built.add(named("HOURS", 2));
  std::vector<Rule> rules = built.take();
  ASSERT_EQ(rules.size(), 1u);
  EXPECT_EQ(rules[0].items[0].text, "r2.wav");
}

TEST(RuleOrder, StagedRulesAreAddedOrDroppedWithoutTrace) {
  RuleListBuilder built;
  built.add(named("TIME", 1));
  built.stage() = named("TIME", 9);  // dropped: must neither replace nor be listed
  built.drop_staged();
  built.stage() = named("TIME_AM", 2);
  built.add_staged();
  built.stage().name = "AM";  // dropped after the list changed
  built.drop_staged();
  built.add(named("AM", 3));
  std::vector<Rule> rules = built.take();
  EXPECT_EQ(names_of(rules), (std::vector<std::string>{"TIME_AM", "TIME", "AM"}));
  ASSERT_EQ(rules[1].items.size(), 1u);
  EXPECT_EQ(rules[1].items[0].text, "r1.wav");
}

TEST(RuleOrder, StartingListKeepsItsOrderIncludingRepeatedNames) {
  std::vector<Rule> start = {named("A", 1), named("TIME"), named("A", 2)};
  std::vector<Rule> scanned = start;
  RuleListBuilder built(start);
  for (const char* name : {"A", "TIME_A", "B"}) {
    add_rule(scanned, named(name, 3));
    built.add(named(name, 3));
  }
  std::vector<Rule> rules = built.take();
  EXPECT_EQ(names_of(rules), names_of(scanned));
  ASSERT_EQ(rules.size(), scanned.size());
  for (size_t i = 0; i < rules.size(); ++i)
    EXPECT_EQ(rules[i].items[0].text, scanned[i].items[0].text);
}

TEST(RuleOrder, EmptyNameOccursInEveryName) {
  std::vector<Rule> scanned;
  RuleListBuilder built;
  for (const char* name : {"A", "", "B", "C"}) {
    add_rule(scanned, named(name));
    built.add(named(name));
  }
  EXPECT_EQ(names_of(built.take()), names_of(scanned));
}

// The indexed builder must give exactly the scanned list for any sequence,
// including many inserts at one place (label exhaustion) and replacements.
TEST(RuleOrder, BuilderMatchesScanningOnRandomSequences) {
  std::mt19937 random(12345);
  const std::string alphabet = "AB_";
  for (int round = 0; round < 200; ++round) {
    std::vector<Rule> scanned;
    RuleListBuilder built;
    int count = 1 + static_cast<int>(random() % 120);
    for (int i = 0; i < count; ++i) {
      std::string name;
      size_t len = 1 + random() % 6;
      for (size_t k = 0; k < len; ++k) name += alphabet[random() % alphabet.size()];
      add_rule(scanned, named(name, i));
      built.add(named(name, i));
      ASSERT_EQ(built.size(), scanned.size());
    }
    std::vector<Rule> rules = built.take();
    ASSERT_EQ(names_of(rules), names_of(scanned)) << round;
    for (size_t i = 0; i < rules.size(); ++i) {
      EXPECT_EQ(rules[i].items[0].text, scanned[i].items[0].text) << round;
    }
    EXPECT_EQ(built.size(), 0u);
  }
}

TEST(RuleOrder, ManyInsertsAtTheFront) {
  std::vector<Rule> scanned;
  RuleListBuilder built;
  std::string name = "T";
  for (int i = 0; i < 200; ++i) {
    add_rule(scanned, named(name));
    built.add(named(name));
    name += "x";
  }
  EXPECT_EQ(names_of(built.take()), names_of(scanned));
}

}  // namespace
}  // namespace vemba
