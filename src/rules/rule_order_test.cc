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

// Builds the same list by scanning and with the builder (from start, then
// adding names in turn, rule i tagged i) and expects the same rules in the
// same order.
void expect_builder_matches_scanning(const std::vector<Rule>& start,
                                     const std::vector<std::string>& names,
                                     const std::string& context) {
  std::vector<Rule> scanned = start;
  RuleListBuilder built(start);
  int tag = 100;
  for (const std::string& name : names) {
    add_rule(scanned, named(name, tag));
    built.add(named(name, tag));
    ++tag;
    ASSERT_EQ(built.size(), scanned.size()) << context << " after " << name;
  }
  std::vector<Rule> rules = built.take();
  ASSERT_EQ(names_of(rules), names_of(scanned)) << context;
  for (size_t i = 0; i < rules.size(); ++i) {
    EXPECT_EQ(rules[i].items[0].text, scanned[i].items[0].text) << context << " at " << i;
  }
}

std::vector<Rule> rules_named(const std::vector<std::string>& names) {
  std::vector<Rule> rules;
  for (size_t i = 0; i < names.size(); ++i) rules.push_back(named(names[i], static_cast<int>(i)));
  return rules;
}

// Names that end, branch or are replaced inside a run of bytes held by one
// trie node, including runs longer than a word and differences on both
// sides of a word boundary.
TEST(RuleOrder, NamesSplittingAndEndingInsideRuns) {
  const std::string long_run = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";  // 26 bytes
  struct Case {
    const char* what;
    std::vector<std::string> names;
  } cases[] = {
      {"branch in the middle of a run", {"TIMEOUT", "TIMER", "TIME", "TIMEOUT_2"}},
      {"name ends inside a run", {"DEFAULT", "DEF", "DEFAULT", "DE", "D"}},
      {"prefix of a run, then longer names", {"HOURS_AND_MINUTES", "HOURS", "HOURS_AND"}},
      {"replace a name made by a split", {"NUMBER_EN", "NUMBER", "NUMBER", "NUMBER_EN", "NUM"}},
      {"replace names on both sides of a split", {"AB", "ABCD", "ABC", "ABCD", "AB", "ABC"}},
      {"split where a name was replaced", {"XYZW", "XYZW", "XY", "XYZW", "XYQ"}},
      {"runs over a word, split at each place",
       {long_run, long_run.substr(0, 7), long_run.substr(0, 8), long_run.substr(0, 9),
        long_run.substr(0, 16), long_run.substr(0, 17), long_run.substr(0, 15), long_run}},
      {"differences just past a word",
       {long_run, long_run.substr(0, 8) + "x", long_run.substr(0, 16) + "y",
        long_run.substr(0, 7) + "z", long_run.substr(0, 24) + "__"}},
      {"names inside a long run", {long_run, "CDEFGHIJKL", "KLMNOPQRST", "Z", "JK", "BCD"}},
      {"a shorter name first", {"A", "AA", "AAA", "AAAA", "AAAAAAAAAA", "AAAAA", "AA"}},
      {"the same name after others", {"T1", "T12", "T1_AM", "T1", "T12", "T123", "T1"}},
  };
  for (const Case& c : cases) expect_builder_matches_scanning({}, c.names, c.what);
}

// Names are walked from where the last name's walk left off; names sharing
// a long prefix, names that stop sharing it and names that start with a
// byte no earlier name started with must all see the trie as it is.
TEST(RuleOrder, NamesSharingPrefixesWithTheLastName) {
  const std::string a1000(1000, 'A');
  struct Case {
    const char* what;
    std::vector<std::string> names;
  } cases[] = {
      {"chains that extend the last name",
       {"TIME0", "TIME0_AM", "TIME0_AM_2", "TIME1", "TIME1_AM", "TIME10", "TIME10_AM", "TIME1"}},
      {"back to a shorter shared prefix",
       {"ABCDEFGHIJ", "ABCDEFGHIJK", "ABCD", "ABCDX", "ABCDEFGHIJ"}},
      {"a new first byte inside a shared prefix", {"XAB", "XABC", "AB", "XABCD", "BC", "XABCDE"}},
      {"the last name inside the shared prefix", {"XY", "AAB", "AAAB"}},
      {"long names sharing long prefixes",
       {a1000 + "1", a1000 + "12", a1000, a1000 + "2", std::string(999, 'A') + "B", "AB",
        a1000 + "12"}},
      {"a name that is the whole last name", {"HOURS_12", "HOURS_12", "HOURS", "HOURS"}},
  };
  for (const Case& c : cases) expect_builder_matches_scanning({}, c.names, c.what);
}

// Lists given to the constructor need not follow the ordering rule, and may
// hold a name more than once; later rules replace the first of them.
TEST(RuleOrder, StartingListsWithRepeatedAndUnorderedNames) {
  struct Case {
    const char* what;
    std::vector<std::string> start;
    std::vector<std::string> names;
  } cases[] = {
      {"repeated name replaced twice", {"A", "B", "A", "C", "A"}, {"A", "A", "A", "A"}},
      {"contained names before their containers", {"T", "TI", "TIM", "TIME"}, {"TIMER", "IM", "T"}},
      {"repeated names inside runs", {"ABCDEF", "ABC", "ABCDEF", "ABC"}, {"ABC", "ABCDEF", "ABCD"}},
      {"repeated empty name", {"", "X", ""}, {"", "XY", ""}},
  };
  for (const Case& c : cases) {
    expect_builder_matches_scanning(rules_named(c.start), c.names, c.what);
  }
}

// Many children of one node, children whose bytes share a table slot, and
// bytes at both ends of the range, where an unused table slot or padding
// could pass for a byte of a name.
TEST(RuleOrder, ManyChildrenAndUnusualBytes) {
  std::vector<std::string> spread;
  for (int byte = 0; byte < 256; byte += 3) spread.push_back(std::string("K") + char(byte));
  for (int byte = 255; byte >= 0; byte -= 5) spread.push_back(std::string(1, char(byte)) + "K");
  std::vector<std::string> colliding;  // bytes 4 or 16 apart
  for (const char* name : {"KA", "KE", "KI", "KM", "KQ", "KU", "KMX", "KQX", "KIX", "K", "KY"})
    colliding.push_back(name);
  for (const char* name : {"K0", "K@", "KP", "K`", "Kp", "K@X", "KpX", "K`"})
    colliding.push_back(name);
  std::vector<std::string> zeros = {std::string("K\0\0", 3),
                                    std::string("\0", 1),
                                    std::string("AB\0\0\0\0\0\0\0\0CD", 12),
                                    std::string("AB\0\0\0\0\0\0\0\0", 10),
                                    "AB",
                                    std::string("B\0", 2),
                                    std::string("AB\0", 3)};
  expect_builder_matches_scanning({}, spread, "spread bytes");
  expect_builder_matches_scanning({}, colliding, "colliding bytes");
  expect_builder_matches_scanning({}, zeros, "zero bytes");
}

// Random names over a few bytes (with a zero byte, and long enough to span
// words), random starting lists and mixed lengths.
TEST(RuleOrder, BuilderMatchesScanningOnLongerRandomNames) {
  std::mt19937 random(777);
  const std::string alphabet("AB\0_", 4);
  for (int round = 0; round < 150; ++round) {
    std::vector<std::string> start;
    const size_t start_count = round % 3 == 0 ? random() % 12 : 0;
    std::vector<std::string> names;
    const size_t count = 1 + random() % 80;
    std::string last;
    for (size_t i = 0; i < start_count + count; ++i) {
      std::string name;
      if (!last.empty() && random() % 2 == 0) name = last.substr(0, random() % (last.size() + 1));
      const size_t extra = random() % (round % 5 == 0 ? 30 : 10);
      for (size_t k = 0; k < extra; ++k) name += alphabet[random() % alphabet.size()];
      if (name.empty()) name = "A";
      (i < start_count ? start : names).push_back(name);
      last = name;
    }
    expect_builder_matches_scanning(rules_named(start), names, "round " + std::to_string(round));
  }
}

// A builder used again after take() or clear() starts from nothing.
TEST(RuleOrder, BuilderIsEmptyAfterTakeAndClear) {
  RuleListBuilder built;
  for (const char* name : {"TIME", "TIME_AM", "AM"}) built.add(named(name));
  built.take();
  for (const char* name : {"TIME_AM", "TIME"}) built.add(named(name));
  EXPECT_EQ(names_of(built.take()), (std::vector<std::string>{"TIME_AM", "TIME"}));
  built.add(named("DATE"));
  built.clear();
  EXPECT_EQ(built.size(), 0u);
  for (const char* name : {"AT", "TIME"}) built.add(named(name));
  EXPECT_EQ(names_of(built.take()), (std::vector<std::string>{"AT", "TIME"}));
}

}  // namespace
}  // namespace vemba
