#include "rules/inline_list.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "rules/rule_model.h"

namespace vemba {
namespace {

// An element that counts the live copies of itself, so a leaked or doubly
// destroyed element shows as a wrong count even without a sanitizer, and
// whose copies can be made to fail.
struct Tracked {
  static inline int live = 0;
  static inline int copies_before_failure = -1;  // -1: copies never fail

  std::string text;

  Tracked(std::string t) : text(std::move(t)) { ++live; }  // NOLINT: implicit on purpose
  Tracked(const Tracked& other) : text(other.text) {
    count_copy();
    ++live;
  }
  Tracked(Tracked&& other) noexcept : text(std::move(other.text)) { ++live; }
  Tracked& operator=(const Tracked& other) {
    count_copy();
    text = other.text;
    return *this;
  }
  Tracked& operator=(Tracked&& other) noexcept = default;
  ~Tracked() { --live; }
  bool operator==(const Tracked& other) const { return text == other.text; }

  static void count_copy() {
    if (copies_before_failure == 0) throw std::runtime_error("copy failed");
    if (copies_before_failure > 0) --copies_before_failure;
  }
};

constexpr size_t kInline = 3;
using List = InlineList<Tracked, kInline>;

// Odd elements are too long for a string's own buffer, so heap strings live
// inside the inline storage too.
std::string value(size_t i) {
  std::string text = "v" + std::to_string(i);
  if (i % 2 == 1) text += std::string(40, static_cast<char>('a' + i % 26));
  return text;
}

List make_list(size_t n, size_t first = 0) {
  List list;
  for (size_t i = 0; i < n; ++i) list.push_back(Tracked(value(first + i)));
  return list;
}

std::vector<std::string> texts(const List& list) {
  std::vector<std::string> out;
  for (const Tracked& t : list) out.push_back(t.text);
  return out;
}

std::vector<std::string> expected_texts(size_t n, size_t first = 0) {
  std::vector<std::string> out;
  for (size_t i = 0; i < n; ++i) out.push_back(value(first + i));
  return out;
}

class InlineListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Tracked::live = 0;
    Tracked::copies_before_failure = -1;
  }
  void TearDown() override {
    Tracked::copies_before_failure = -1;
    EXPECT_EQ(Tracked::live, 0) << "elements leaked or destroyed twice";
  }
};

// Sizes on both sides of the inline room, and well past the first growth.
constexpr size_t kSizes[] = {0, 1, kInline - 1, kInline, kInline + 1, 2 * kInline + 1, 40};

TEST_F(InlineListTest, GrowsAcrossTheInlineRoomByEveryWayOfAdding) {
  enum class Add { kCopy, kMove, kEmplace };
  for (Add add : {Add::kCopy, Add::kMove, Add::kEmplace}) {
    for (size_t n : kSizes) {
      SCOPED_TRACE(testing::Message() << "add " << static_cast<int>(add) << ", size " << n);
      {
        List list;
        for (size_t i = 0; i < n; ++i) {
          Tracked t(value(i));
          switch (add) {
            case Add::kCopy:
              list.push_back(t);
              break;
            case Add::kMove:
              list.push_back(std::move(t));
              break;
            case Add::kEmplace:
              EXPECT_EQ(list.emplace_back(value(i)).text, value(i));
              break;
          }
          EXPECT_EQ(list.back().text, value(i));
        }
        EXPECT_EQ(list.size(), n);
        EXPECT_EQ(list.empty(), n == 0);
        EXPECT_EQ(list.is_inline(), n <= kInline);
        EXPECT_GE(list.capacity(), n);
        EXPECT_EQ(texts(list), expected_texts(n));
        EXPECT_EQ(Tracked::live, static_cast<int>(n));
      }
      EXPECT_EQ(Tracked::live, 0);
    }
  }
}

TEST_F(InlineListTest, AddingOneOfItsOwnElementsWhileGrowingCopiesItFirst) {
  for (size_t n : {size_t{1}, kInline, 2 * kInline}) {
    List list = make_list(n);
    while (list.size() < list.capacity()) list.push_back(Tracked("filler"));
    const size_t full = list.size();
    list.push_back(list[0]);
    list.emplace_back(list[n - 1]);
    ASSERT_EQ(list.size(), full + 2);
    EXPECT_EQ(list[full].text, value(0)) << n;
    EXPECT_EQ(list[full + 1].text, value(n - 1)) << n;
  }
}

TEST_F(InlineListTest, ReserveKeepsElementsAndOnlyGrows) {
  for (size_t n : kSizes) {
    List list = make_list(n);
    const size_t before = list.capacity();
    list.reserve(1);
    EXPECT_EQ(list.capacity(), before) << n;
    list.reserve(n + 5);
    EXPECT_GE(list.capacity(), n + 5) << n;
    EXPECT_FALSE(list.is_inline()) << n;
    EXPECT_EQ(texts(list), expected_texts(n)) << n;
  }
}

// Every pairing of source and destination: empty, inline, full inline, on
// the heap, and on the heap with room to spare after a clear.
struct Shape {
  const char* name;
  size_t size;
  size_t grown_to;  // size reached before shrinking back to size, or 0
};
constexpr Shape kShapes[] = {
    {"empty", 0, 0},          {"inline", 2, 0},       {"full inline", kInline, 0},
    {"heap", kInline + 2, 0}, {"heap, large", 20, 0}, {"heap, mostly free", 1, 12},
};

List make_shape(const Shape& shape, size_t first) {
  List list = make_list(shape.grown_to, 1000);
  list.clear();
  for (size_t i = 0; i < shape.size; ++i) list.push_back(Tracked(value(first + i)));
  return list;
}

TEST_F(InlineListTest, CopiesAndMovesBetweenEveryPairOfShapes) {
  for (const Shape& from : kShapes) {
    for (const Shape& to : kShapes) {
      SCOPED_TRACE(testing::Message() << "from " << from.name << " to " << to.name);
      const std::vector<std::string> source_texts = expected_texts(from.size, 100);
      {
        List source = make_shape(from, 100);
        List copy(source);
        EXPECT_EQ(texts(copy), source_texts);
        EXPECT_EQ(texts(source), source_texts);
        // The copy owns its elements: changing one leaves the other alone.
        if (!copy.empty()) {
          copy[0].text = "changed";
          EXPECT_EQ(source[0].text, source_texts[0]);
        }
      }
      {
        List source = make_shape(from, 100);
        List moved(std::move(source));
        EXPECT_EQ(texts(moved), source_texts);
        EXPECT_TRUE(source.empty());  // NOLINT: a moved-from list stays usable
        source.push_back(Tracked("again"));
        EXPECT_EQ(texts(source), std::vector<std::string>{"again"});
      }
      {
        List source = make_shape(from, 100);
        List target = make_shape(to, 200);
        target = source;
        EXPECT_EQ(texts(target), source_texts);
        EXPECT_EQ(texts(source), source_texts);
        target.push_back(Tracked("more"));
        EXPECT_EQ(texts(source), source_texts);
      }
      {
        List source = make_shape(from, 100);
        List target = make_shape(to, 200);
        target = std::move(source);
        EXPECT_EQ(texts(target), source_texts);
        EXPECT_TRUE(source.empty());  // NOLINT: a moved-from list stays usable
        source.push_back(Tracked("again"));
        target.push_back(Tracked("more"));
        EXPECT_EQ(texts(source), std::vector<std::string>{"again"});
        EXPECT_EQ(target.back().text, "more");
      }
      EXPECT_EQ(Tracked::live, 0);
    }
  }
}

TEST_F(InlineListTest, SelfAssignmentKeepsTheElements) {
  for (const Shape& shape : kShapes) {
    List list = make_shape(shape, 0);
    List& same = list;
    list = same;
    EXPECT_EQ(texts(list), expected_texts(shape.size)) << shape.name;
    list = std::move(same);
    EXPECT_EQ(texts(list), expected_texts(shape.size)) << shape.name;
  }
}

TEST_F(InlineListTest, ClearedListIsReusedWithItsRoom) {
  for (size_t n : kSizes) {
    List list = make_list(n);
    const size_t capacity = list.capacity();
    list.clear();
    EXPECT_TRUE(list.empty()) << n;
    EXPECT_EQ(Tracked::live, 0) << n;
    EXPECT_EQ(list.capacity(), capacity) << n;
    for (size_t i = 0; i < n + 2; ++i) list.push_back(Tracked(value(50 + i)));
    EXPECT_EQ(texts(list), expected_texts(n + 2, 50)) << n;
  }
}

TEST_F(InlineListTest, FailedCopyLeaksNothingAndLeavesTargetUsable) {
  for (const Shape& from : kShapes) {
    if (from.size < 2) continue;
    for (const Shape& to : kShapes) {
      SCOPED_TRACE(testing::Message() << "from " << from.name << " to " << to.name);
      List source = make_shape(from, 100);
      Tracked::copies_before_failure = 1;
      EXPECT_THROW(List copy(source), std::runtime_error);
      EXPECT_EQ(Tracked::live, static_cast<int>(from.size));

      List target = make_shape(to, 200);
      Tracked::copies_before_failure = 1;
      EXPECT_THROW(target = source, std::runtime_error);
      Tracked::copies_before_failure = -1;
      EXPECT_EQ(Tracked::live, static_cast<int>(from.size + target.size()));
      target.push_back(Tracked("after"));
      EXPECT_EQ(target.back().text, "after");
    }
  }
}

TEST_F(InlineListTest, FailedAddWhileGrowingLeavesListUnchanged) {
  for (size_t n : {kInline, 2 * kInline}) {
    List list = make_list(n);
    while (list.size() < list.capacity()) list.push_back(Tracked(value(list.size())));
    const std::vector<std::string> before = texts(list);
    const Tracked extra("extra");
    Tracked::copies_before_failure = 0;
    EXPECT_THROW(list.push_back(extra), std::runtime_error);
    Tracked::copies_before_failure = -1;
    EXPECT_EQ(texts(list), before) << n;
    EXPECT_EQ(Tracked::live, static_cast<int>(before.size()) + 1) << n;
  }
}

TEST_F(InlineListTest, BraceConstructionAndEquality) {
  struct Case {
    List a;
    List b;
    bool equal;
  };
  const Tracked long_a(value(1));
  const Tracked long_b(value(3));
  std::vector<Case> cases;
  cases.push_back({{}, {}, true});
  cases.push_back({{long_a}, {long_a}, true});
  cases.push_back({{long_a}, {long_b}, false});
  cases.push_back({{long_a}, {long_a, long_a}, false});
  cases.push_back({{long_a, long_b, long_a, long_b}, {long_a, long_b, long_a, long_b}, true});
  cases.push_back({{long_a, long_b, long_a, long_b}, {long_a, long_b, long_a, long_a}, false});
  cases.push_back({make_list(kInline + 1), make_list(kInline + 1), true});
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(cases[i].a == cases[i].b, cases[i].equal) << i;
    EXPECT_EQ(cases[i].a != cases[i].b, !cases[i].equal) << i;
    EXPECT_EQ(cases[i].b == cases[i].a, cases[i].equal) << i;
  }
  EXPECT_TRUE((List{long_a, long_b, long_a, long_b}.size() == 4));
}

// A list of rules moves its rules when it grows instead of copying them, as
// the move cannot throw.
static_assert(std::is_nothrow_move_constructible_v<Rule>);
static_assert(std::is_nothrow_move_assignable_v<Rule>);

TEST(InlineListRuleTest, RuleCopiesAndMovesKeepSlotsAndItems) {
  const std::string long_text(30, 'x');
  Rule rule{"R", {VarValue{"none", VAR_SPELL, 1}}, {RuleItem{"#1", -1, 0}}};
  for (int i = 0; i < 6; ++i) rule.items.push_back(RuleItem{long_text + std::to_string(i), 0, i});
  rule.slots.push_back(VarValue{long_text, VAR_TIME, 2});
  rule.slots.push_back(VarValue{"none", VAR_DATE, 0});

  Rule copy = rule;
  std::vector<Rule> rules;
  rules.push_back(std::move(copy));
  for (int i = 0; i < 20; ++i) rules.push_back(Rule{"S" + std::to_string(i), {}, {}});
  const Rule& moved = rules[0];
  ASSERT_EQ(moved.slots.size(), 3u);
  ASSERT_EQ(moved.items.size(), 7u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(moved.slots[i].text, rule.slots[i].text);
    EXPECT_EQ(moved.slots[i].type, rule.slots[i].type);
    EXPECT_EQ(moved.slots[i].option, rule.slots[i].option);
  }
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(moved.items[i].text, rule.items[i].text);
    EXPECT_EQ(moved.items[i].depends_on, rule.items[i].depends_on);
    EXPECT_EQ(moved.items[i].plural, rule.items[i].plural);
  }
}

}  // namespace
}  // namespace vemba
