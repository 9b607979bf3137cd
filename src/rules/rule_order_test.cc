#include "rules/rule_order.h"

#include <gtest/gtest.h>

#include <algorithm>
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
      {{"TIMEOUT", "TIMER", "TIME", "TIMEOUT_2"}, {"TIMEOUT_2", "TIMEOUT", "TIMER", "TIME"}},
  };
  for (const Case& c : cases) {
    RuleListBuilder built;
    for (const std::string& name : c.read) built.add(named(name));
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

// The ordering rule as stated, scanning the list.
void add_by_scanning(std::vector<Rule>& list, Rule rule) {
  auto same =
      std::find_if(list.begin(), list.end(), [&](const Rule& r) { return r.name == rule.name; });
  if (same != list.end()) list.erase(same);
  auto inner = std::find_if(list.begin(), list.end(), [&](const Rule& r) {
    return rule.name.find(r.name) != std::string::npos;
  });
  list.insert(inner, std::move(rule));
}

// Builds a list from start (when given) and names, rule i tagged i, with the
// builder and by scanning, and expects the same rules in the same order.
void expect_as_scanning(const std::vector<std::string>& start,
                        const std::vector<std::string>& names, const std::string& context) {
  std::vector<Rule> scanned;
  int tag = 0;
  for (const std::string& name : start) add_by_scanning(scanned, named(name, tag++));
  RuleListBuilder built(scanned);
  for (const std::string& name : names) {
    add_by_scanning(scanned, named(name, tag));
    built.add(named(name, tag++));
  }
  std::vector<Rule> rules = built.take();
  ASSERT_EQ(names_of(rules), names_of(scanned)) << context;
  for (size_t i = 0; i < rules.size(); ++i) {
    EXPECT_EQ(rules[i].items[0].text, scanned[i].items[0].text) << context << " at " << i;
  }
}

// Names that share, extend, split and replace each other's prefixes, from
// an empty list and from a list made before (a copying section header).
TEST(RuleOrder, BuilderFollowsTheRuleOnRandomSequences) {
  std::mt19937 random(12345);
  for (int round = 0; round < 300; ++round) {
    const std::string alphabet = round % 2 == 0 ? "AB_" : "AB";
    const size_t longest = round % 3 == 0 ? 30 : 6;
    std::vector<std::string> lists[2];
    std::string last;
    for (auto& list : lists) {
      for (size_t count = random() % 80; count > 0; --count) {
        std::string name;
        if (!last.empty() && random() % 2 == 0) name = last.substr(0, random() % last.size());
        for (size_t k = random() % longest + 1; k > 0; --k)
          name += alphabet[random() % alphabet.size()];
        list.push_back(name);
        last = name;
      }
    }
    if (round % 4 != 0) lists[0].clear();
    expect_as_scanning(lists[0], lists[1], "round " + std::to_string(round));
  }
}

TEST(RuleOrder, ManyInsertsAtOnePlace) {
  std::vector<std::string> names;
  for (std::string name = "T"; name.size() < 300; name += "x") names.push_back(name);
  expect_as_scanning({}, names, "each before the last");
  std::vector<std::string> between = {"A", "B"};
  for (int i = 0; i < 300; ++i) between.push_back("A" + std::to_string(i) + "B");
  expect_as_scanning({}, between, "each between the same two");
}

}  // namespace
}  // namespace vemba
