#include <gtest/gtest.h>

#include "translate/template_codec.h"
#include "translate/translate_test_util.h"
#include "translate/translator.h"

namespace vemba {
namespace {

using test::item;
using test::slot;

constexpr int kLang = 1;

std::string no_match(const std::string& word, const std::string& rule) {
  return "[WARN] WARNING !! NoMatch word: [" + word + "] for rule [" + rule +
         "] found. Skipping ...";
}

std::string doesnt_match(const std::string& word, const std::string& rule) {
  return "[ERR ] ERROR !! String: [" + word + "] doesn't match rule: [" + rule + "]";
}

// The rule set of the matching cases: TIME (a time), WORDS (a word and
// digits) and DEFAULT (a spelled text).
std::vector<Rule> matching_rules(bool with_default) {
  std::vector<Rule> rules = {
      Rule{"TIME", {slot(VAR_TIME)}, {item("#1")}},
      Rule{"WORDS", {slot(VAR_WORD), slot(VAR_DIGITS, 4)}, {item("#1"), item("#2")}},
  };
  if (with_default) rules.push_back(Rule{"DEFAULT", {slot(VAR_SPELL)}, {item("#1")}});
  return rules;
}

TEST(MatchRule, WordsAreOfferedToTheVariablesInLine) {
  struct Case {
    std::string message;
    bool with_default;
    int result;
    int rule_index;
    std::vector<VarValue> values;
    std::vector<std::string> records;
    std::string message_after;
  } cases[] = {
      {"TIME 12:30", true, 1, 0, {{"12:30", VAR_TIME, 0}}, {}, "TIME 12:30"},
      {"SHOWTIME 12:30",
       true,
       1,
       0,
       {{"12:30", VAR_TIME, 0}},
       {no_match("SHOWTIME", "TIME")},
       "SHOWTIME 12:30"},
      {"TIME 12:60",
       true,
       0,
       0,
       {},
       {no_match("12:60", "TIME"), doesnt_match("12:60", "TIME")},
       "TIME 12:60"},
      {"TIME 99:00", true, 1, 0, {{"99:00", VAR_TIME, 0}}, {}, "TIME 99:00"},
      {"TIME :30", true, 1, 0, {{":30", VAR_TIME, 0}}, {}, "TIME :30"},
      {"12:30   TIME", true, 1, 0, {{"12:30", VAR_TIME, 0}}, {}, "12:30   TIME"},
      {"WORDS 5 abc 7",
       true,
       1,
       1,
       {{"abc", VAR_WORD, 0}, {"7", VAR_DIGITS, 4}},
       {no_match("5", "WORDS")},
       "WORDS 5 abc 7"},
      {"WORDS abc 7 8",
       true,
       1,
       1,
       {{"abc", VAR_WORD, 0}, {"7", VAR_DIGITS, 4}},
       {no_match("8", "WORDS")},
       "WORDS abc 7 8"},
      {"WORDS abc",
       true,
       0,
       1,
       {{"abc", VAR_WORD, 0}},
       {doesnt_match("abc", "WORDS")},
       "WORDS abc"},
      // The last word can be the rule name itself.
      {"abc WORDS",
       true,
       0,
       1,
       {{"abc", VAR_WORD, 0}},
       {doesnt_match("WORDS", "WORDS")},
       "abc WORDS"},
      {"WORDS abc 1.5",
       true,
       0,
       1,
       {{"abc", VAR_WORD, 0}},
       {no_match("1.5", "WORDS"), doesnt_match("1.5", "WORDS")},
       "WORDS abc 1.5"},
      {"hello there",
       true,
       1,
       2,
       {{"hello", VAR_SPELL, 0}},
       {no_match("there", "DEFAULT")},
       "hello there DEFAULT"},
      {"hello there",
       false,
       0,
       -1,
       {},
       {"[ERR ] ERROR !! No rule found for: hello there"},
       "hello there"},
      // A rule name inside quotes selects nothing.
      {"\"TIME\" 12:30",
       true,
       1,
       2,
       {{"TIME", VAR_SPELL, 0}},
       {no_match("12:30", "DEFAULT")},
       "<<0>> 12:30 DEFAULT"},
      {"say \"a b  c\"",
       true,
       1,
       2,
       {{"say", VAR_SPELL, 0}},
       {no_match("a b  c", "DEFAULT")},
       "say <<0>> DEFAULT"},
      {"\"a b  c\"", true, 1, 2, {{"a b  c", VAR_SPELL, 0}}, {}, "<<0>> DEFAULT"},
      // Glued behind the name, the rest of the word is the next word, whole.
      {"TIME12:30", true, 1, 0, {{"12:30", VAR_TIME, 0}}, {}, "TIME12:30"},
      {"WORDSabc 42", true, 1, 1, {{"abc", VAR_WORD, 0}, {"42", VAR_DIGITS, 4}}, {}, "WORDSabc 42"},
  };
  for (const Case& c : cases) {
    test::LogCapture capture;
    LanguageTable table = test::table_of(kLang, matching_rules(c.with_default));
    Translator t(capture.log, table, capture.clock, capture.clock.now(), c.message, kLang, 0,
                 "en-us");
    PromptList prompts = t.translate();
    EXPECT_EQ(t.rule_index, c.rule_index) << c.message;
    ASSERT_EQ(t.values.size(), c.values.size()) << c.message;
    for (size_t i = 0; i < c.values.size(); ++i) {
      EXPECT_EQ(t.values[i].text, c.values[i].text) << c.message;
      EXPECT_EQ(t.values[i].type, c.values[i].type) << c.message;
      EXPECT_EQ(t.values[i].option, c.values[i].option) << c.message;
    }
    std::vector<std::string> records = c.records;
    if (!c.result) {
      records.push_back(
          "[ERR ] ERROR !! <translate> Unable to match input string to any of the rules ");
      EXPECT_TRUE(prompts.empty()) << c.message;
    }
    // Records of the composer's builders are not part of this table.
    std::vector<std::string> got = capture.records();
    got.resize(std::min(got.size(), records.size()));
    EXPECT_EQ(got, records) << c.message;
    EXPECT_EQ(t.message, c.message_after) << c.message;
  }
}

TEST(MatchRule, TypeAdjustment) {
  struct Case {
    std::string word;
    int32_t slot_type;
    bool fills;
  } cases[] = {
      {"12", VAR_DIGITS, true},        {"12", VAR_FLOAT, true},
      {"12", VAR_MONEY, true},         {"12", VAR_NUMBER_EN, true},
      {"-12", VAR_NUMERAL_EN, true},   {"12", VAR_SPELL, true},
      {"12", VAR_WORD, false},         {"12", VAR_ANNOUNCE, false},
      {"1.5", VAR_MONEY, true},        {"1.5", VAR_FLOAT, true},
      {"1.5", VAR_DIGITS, false},      {"1.5", VAR_NUMBER_EN, false},
      {"1.5", VAR_WORD, false},        {"x.wav", VAR_WAV, true},
      {"x.wav", VAR_WORD, false},      {"x.wav", VAR_SPELL, true},
      {"1|2", VAR_ANNOUNCE, true},     {"1|2", VAR_SPELL, true},
      {"2/29/2008", VAR_DATE, true},   {"2/29/2007", VAR_DATE, false},
      {"abc", VAR_WORD, true},         {"abc", VAR_DIGITS, false},
      {"\xe9t\xe9", VAR_SPELL, true},  {"\xe9t\xe9", VAR_WORD, false},
      {"\"q x\"", VAR_SPELL, true},    {"\"12\"", VAR_DIGITS, true},
      {"\"12 3\"", VAR_DIGITS, false},
  };
  for (const Case& c : cases) {
    test::LogCapture capture;
    LanguageTable table = test::table_of(kLang, {Rule{"R", {slot(c.slot_type, 3)}, {}}});
    Translator t(capture.log, table, capture.clock, capture.clock.now(), "R " + c.word, kLang, 0,
                 "en-us");
    t.translate();
    ASSERT_EQ(t.values.size(), c.fills ? 1u : 0u) << c.word << " " << c.slot_type;
    if (c.fills) {
      EXPECT_EQ(t.values[0].type, c.slot_type) << c.word;
      EXPECT_EQ(t.values[0].option, 3) << c.word;
    }
  }
}

TEST(SelectRule, FirstRuleWhoseNameOccurs) {
  LanguageTable table =
      test::table_of(kLang, {Rule{"TIME_AM", {}, {}}, Rule{"TIME", {}, {}}, Rule{"DATE", {}, {}}});
  struct Case {
    std::string message;
    int index;
  } cases[] = {{"TIME_AM", 0}, {"xTIME_AMx", 0}, {"TIME", 1},   {"DATE TIME", 1},
               {"DATE", 2},    {"date", -1},     {"TIM E", -1}, {"\"TIME\"", -1}};
  for (const Case& c : cases) {
    test::LogCapture capture;
    Translator t(capture.log, table, capture.clock, capture.clock.now(), c.message, kLang, 0,
                 "en-us");
    std::vector<std::string> quoted;
    t.message = *encode_template(capture.log, t.message, quoted);
    EXPECT_EQ(t.select_rule(), c.index) << c.message;
    EXPECT_TRUE(capture.records().empty()) << c.message;
  }
}

TEST(SelectRule, UnknownLanguage) {
  test::LogCapture capture;
  LanguageTable table = test::table_of(kLang, {Rule{"TIME", {}, {}}});
  Translator t(capture.log, table, capture.clock, capture.clock.now(), "TIME", kLang + 1, 0,
               "en-us");
  EXPECT_EQ(t.select_rule(), -1);
  EXPECT_EQ(capture.records(),
            std::vector<std::string>{"[ERR ] ERROR !! No such language initialized."});
}

}  // namespace
}  // namespace vemba
