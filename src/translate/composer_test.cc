#include <gtest/gtest.h>

#include "translate/translate_test_util.h"
#include "translate/translator.h"
#include "translate/var_handlers.h"

namespace vemba {
namespace {

using test::item;
using test::slot;

constexpr int kLang = 2;

// The rule set of the composer cases, one rule per kind.
std::vector<Rule> composer_rules() {
  return {
      Rule{"MSGS",
           {slot(VAR_NUMBER_EN)},
           {item("you_have.wav"), item("#1"), item("message.wav", 0, 1),
            item("messages.wav", 0, 2)}},
      Rule{"HELLO", {}, {item("hello.wav"), item("world.wav")}},
      Rule{"DIGITS", {slot(VAR_DIGITS)}, {item("#1")}},
      Rule{"PLAY", {slot(VAR_WAV)}, {item("#1")}},
      Rule{"WORD", {slot(VAR_WORD)}, {item("#1")}},
      Rule{"BOX", {slot(VAR_ANNOUNCE)}, {item("#1"), item("end.wav")}},
      Rule{"PAY", {slot(VAR_MONEY)}, {item("#1")}},
      Rule{"ON", {slot(VAR_DATE)}, {item("#1")}},
      Rule{"NTH", {slot(VAR_NUMERAL_EN)}, {item("#1")}},
      Rule{"REFS", {slot(VAR_WORD)}, {item("#0"), item("#2"), item("#-1"), item("#1")}},
  };
}

std::vector<ContentsItem> composer_contents() {
  return {{"you_have.wav", "You have"},
          {"messages.wav", "messages"},
          {"message.wav", "message"},
          {"hello.wav", "Hello"}};
}

TEST(Composer, EntriesPerMode) {
  struct Case {
    std::string message;
    int mode;
    PromptList prompts;
  } cases[] = {
      {" MSGS  3 ", 0, {"*SYSCOM*you_have.wav", "*SYSCOM*3.wav", "*SYSCOM*messages.wav"}},
      {" MSGS  3 ", 1, {"You have", "3", "messages"}},
      {"MSGS 1", 0, {"*SYSCOM*you_have.wav", "*SYSCOM*1.wav", "*SYSCOM*message.wav"}},
      {"MSGS 0", 0, {"*SYSCOM*you_have.wav", "*SYSCOM*0.wav", "*SYSCOM*messages.wav"}},
      {"MSGS 2", 0, {"*SYSCOM*you_have.wav", "*SYSCOM*2.wav", "*SYSCOM*messages.wav"}},
      {"MSGS -1",
       0,
       {"*SYSCOM*you_have.wav", "*SYSCOM*minus.wav", "*SYSCOM*1.wav", "*SYSCOM*messages.wav"}},
      {"MSGS 1", 1, {"You have", "1", "message"}},
      {"MSGS 21",
       0,
       {"*SYSCOM*you_have.wav", "*SYSCOM*20.wav", "*SYSCOM*1.wav", "*SYSCOM*messages.wav"}},
      // A count past the 32-bit range picks the plural, never the singular.
      {"MSGS 4294967297", 1, {"You have", "4294967297", "messages"}},
      {"HELLO", 0, {"*SYSCOM*hello.wav", "*SYSCOM*world.wav"}},
      // No contents entry: an empty entry that still counts.
      {"HELLO", 1, {"Hello", ""}},
      // Mode 2: no contents are loaded for it, builder words are prompt names.
      {"HELLO", 2, {"", ""}},
      {"MSGS 3", 2, {"", "*SYSCOM*3.wav", ""}},
      {"DIGITS 123",
       0,
       {"*SYSCOM*1.wav", "*SYSCOM*silence300.wav", "*SYSCOM*2.wav", "*SYSCOM*silence300.wav",
        "*SYSCOM*3.wav", "*SYSCOM*silence300.wav"}},
      {"DIGITS 123", 1, {"123"}},
      {"DIGITS 12", 2, {"*SYSCOM*1.wav", "*SYSCOM*2.wav"}},
      {"PLAY greeting.wav", 0, {"greeting.wav"}},
      {"PLAY greeting.wav", 1, {"*SYSNONE*greeting.wav"}},
      {"PLAY greeting.wav", 2, {"greeting.wav"}},
      {"WORD abc", 0, {"*SYSCOM*abc.wav"}},
      {"WORD abc", 1, {"abc"}},
      {"NTH 3", 0, {"*SYSCOM*3_numeral.wav"}},
      {"ON 3/5/2008", 0, {"*SYSCOM*today.wav"}},
      {"ON 3/6/2008", 0, {"*SYSCOM*tomorrow.wav"}},
      {"ON 3/5/2008", 1, {"March", "5,", "2008"}},
  };
  for (const Case& c : cases) {
    test::LogCapture capture;
    // As the loader does, contents are there in text mode only.
    LanguageTable table = test::table_of(
        kLang, composer_rules(), c.mode == 1 ? composer_contents() : std::vector<ContentsItem>{});
    Translator t(capture.log, table, capture.clock, capture.clock.now(), c.message, kLang, c.mode,
                 "en-us");
    EXPECT_EQ(t.translate(), c.prompts) << c.message << " mode " << c.mode;
    EXPECT_EQ(t.prompts, c.prompts) << c.message;
    EXPECT_TRUE(capture.records().empty()) << c.message << ": " << capture.console.text();
  }
}

TEST(Composer, AnnouncementFieldCounts) {
  struct Case {
    std::string message;
    PromptList prompts;
    std::vector<std::string> records;
  } cases[] = {
      {"BOX 1|2|3",
       {"*SYSCOM*you_have.wav", "*SYSCOM*1.wav", "*SYSCOM*new.wav", "*SYSCOM*message.wav",
        "*SYSCOM*2.wav", "*SYSCOM*of_which_are_urgent.wav", "*SYSCOM*and.wav", "*SYSCOM*3.wav",
        "*SYSCOM*saved.wav", "*SYSCOM*messages.wav", "*SYSCOM*end.wav"},
       {"[WARN] WARNING !! Old type ANNOUNCE format."}},
      {"BOX 1||2|3",
       {"*SYSCOM*you_have.wav", "*SYSCOM*1.wav", "*SYSCOM*new.wav", "*SYSCOM*message.wav",
        "*SYSCOM*2.wav", "*SYSCOM*of_which_are_urgent.wav", "*SYSCOM*and.wav", "*SYSCOM*3.wav",
        "*SYSCOM*saved.wav", "*SYSCOM*messages.wav", "*SYSCOM*end.wav"},
       {"[WARN] WARNING !! Old type ANNOUNCE format."}},
      {"BOX 1|2|3|4", {"*SYSCOM*end.wav"}, {"[ERR ] ERROR !! Wrong ANNOUNCE format."}},
      {"BOX 0|0|0|0|0|0|0|0", {"*SYSCOM*end.wav"}, {"[ERR ] ERROR !! Wrong ANNOUNCE format."}},
      {"BOX |", {"*SYSCOM*end.wav"}, {"[ERR ] ERROR !! Wrong ANNOUNCE format."}},
      {"BOX 0|0|0|0|0|0|0", {"*SYSCOM*you_have_no_mess_fax_rec.wav", "*SYSCOM*end.wav"}, {}},
  };
  for (const Case& c : cases) {
    test::LogCapture capture;
    LanguageTable table = test::table_of(kLang, composer_rules());
    Translator t(capture.log, table, capture.clock, capture.clock.now(), c.message, kLang, 0,
                 "en-us");
    EXPECT_EQ(t.translate(), c.prompts) << c.message;
    EXPECT_EQ(capture.records(), c.records) << c.message;
  }
}

TEST(Composer, SplitAnnounce) {
  struct Case {
    std::string value;
    int count;
    AnnounceCounts counts;
  } cases[] = {
      {"1|2|3", 3, {1, 2, 3, 0, 0, 0, 0}},
      {"1||2|3", 3, {1, 2, 3, 0, 0, 0, 0}},
      {"|1|2|3|", 3, {1, 2, 3, 0, 0, 0, 0}},
      {"1|2|3|4|5|6|7", 7, {1, 2, 3, 4, 5, 6, 7}},
      {"1|2|3|4|5|6|7|8|9", 9, {1, 2, 3, 4, 5, 6, 7}},
      {"", 0, {}},
      {"||", 0, {}},
      {"7", 1, {7, 0, 0, 0, 0, 0, 0}},
      // Counts beyond the 32-bit range stay exact.
      {"4294967297|0|12345678901", 3, {4294967297, 0, 12345678901, 0, 0, 0, 0}},
      {"99999999999999999999|1|1", 3, {INT64_MAX, 1, 1, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    AnnounceFields fields = split_announce(c.value);
    EXPECT_EQ(fields.count, c.count) << c.value;
    const AnnounceCounts& a = fields.counts;
    const AnnounceCounts& b = c.counts;
    EXPECT_EQ(std::vector<int64_t>({a.new_messages, a.urgent_messages, a.saved_messages,
                                    a.new_faxes, a.saved_faxes, a.new_recorded, a.saved_recorded}),
              std::vector<int64_t>({b.new_messages, b.urgent_messages, b.saved_messages,
                                    b.new_faxes, b.saved_faxes, b.new_recorded, b.saved_recorded}))
        << c.value;
  }
}

TEST(Composer, MoneyValueNormalisation) {
  struct Case {
    std::string value;
    std::string normalised;
  } cases[] = {
      {"7", "7"},
      {"7.5", "7.500000"},
      {"12.5", "12.500000"},
      {"-3.25", "-3.250000"},
      {"+2.5", "2.500000"},
      {"-.5", "-0.500000"},
      {".", "0.000000"},
      {"1.0000005", "1.000001"},  // halves go away from zero
      {"-1.0000005", "-1.000001"},
      {"2.9999999", "3.000000"},
      {"007", "007"},
      // Too long for a double: rounded on the text, no digit changes.
      {"123456789012345678.9999995", "123456789012345679.000000"},
      {"-12345678901234.5", "-12345678901234.500000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(money_value(c.value), c.normalised) << c.value;
  }
}

TEST(Composer, MoneyReachesTheBuilderNormalised) {
  struct Case {
    std::string message;
    PromptList prompts;
  } cases[] = {
      {"PAY 7", {"*SYSCOM*7.wav", "*SYSCOM*cur1P.wav"}},
      {"PAY 7.5", {"*SYSCOM*7.wav", "*SYSCOM*cur1P.wav", "*SYSCOM*50.wav", "*SYSCOM*cur2P.wav"}},
      {"PAY 1.125", {"*SYSCOM*1.wav", "*SYSCOM*cur1S.wav", "*SYSCOM*13.wav", "*SYSCOM*cur2P.wav"}},
      {"PAY 123456789012345678.995",
       {"*SYSCOM*1.wav",    "*SYSCOM*2.wav", "*SYSCOM*3.wav", "*SYSCOM*4.wav",     "*SYSCOM*5.wav",
        "*SYSCOM*6.wav",    "*SYSCOM*7.wav", "*SYSCOM*8.wav", "*SYSCOM*9.wav",     "*SYSCOM*0.wav",
        "*SYSCOM*1.wav",    "*SYSCOM*2.wav", "*SYSCOM*3.wav", "*SYSCOM*4.wav",     "*SYSCOM*5.wav",
        "*SYSCOM*6.wav",    "*SYSCOM*7.wav", "*SYSCOM*9.wav", "*SYSCOM*cur1P.wav", "*SYSCOM*0.wav",
        "*SYSCOM*cur2P.wav"}},
  };
  for (const Case& c : cases) {
    test::LogCapture capture;
    LanguageTable table = test::table_of(kLang, composer_rules());
    Translator t(capture.log, table, capture.clock, capture.clock.now(), c.message, kLang, 0,
                 "en-us");
    EXPECT_EQ(t.translate(), c.prompts) << c.message;
  }
}

TEST(Composer, ErrorsSkipTheItemAndGoOn) {
  test::LogCapture capture;
  LanguageTable table = test::table_of(kLang, composer_rules());
  Translator t(capture.log, table, capture.clock, capture.clock.now(), "REFS abc", kLang, 0,
               "en-us");
  EXPECT_EQ(t.translate(), PromptList{"*SYSCOM*abc.wav"});
  const std::string refs = "[ERR ] ERROR !! <composer> No match for variables for rule [REFS]";
  EXPECT_EQ(capture.records(), std::vector<std::string>({refs, refs, refs}));
}

TEST(Composer, ValuesThatMatchingNeverGives) {
  // Values set by hand: the composer still reports rather than guesses.
  struct Case {
    std::string text;
    int32_t type;
    PromptList prompts;
    std::vector<std::string> records;
  } cases[] = {
      {"x", VAR_UNDEFINED, {}, {"[ERR ] ERROR !! <composer> case VAR_UNDEFINED"}},
      {"12-5", VAR_DATE, {}, {"[ERR ] ERROR !! Wrong DATE format."}},
      {"12/5", VAR_DATE, {}, {"[ERR ] ERROR !! Wrong DATE format."}},
      {"5", VAR_INTEGER, {}, {}},
      {"5", 50, {}, {}},
      {"5", -3, {}, {}},
      {"5", 103, {}, {}},  // a number kind with no reading
  };
  for (const Case& c : cases) {
    test::LogCapture capture;
    LanguageTable table = test::table_of(kLang, {Rule{"R", {slot(VAR_SPELL)}, {item("#1")}}});
    Translator t(capture.log, table, capture.clock, capture.clock.now(), "R", kLang, 0, "en-us");
    t.values = {VarValue{c.text, c.type, 0}};
    EXPECT_EQ(t.composer(), 1);
    EXPECT_EQ(t.prompts, c.prompts) << c.text << " " << c.type;
    EXPECT_EQ(capture.records(), c.records) << c.text << " " << c.type;
  }
}

TEST(Composer, AddPromptsSplitsAtBlanks) {
  struct Case {
    int mode;
    std::string text;
    int pause;
    PromptList prompts;
  } cases[] = {
      {0, "  a  b ", 0, {"*SYSCOM*a.wav", "*SYSCOM*b.wav"}},
      {0, "   ", 1, {}},
      {0, "", 1, {}},
      {0,
       "a b",
       1,
       {"*SYSCOM*a.wav", "*SYSCOM*silence300.wav", "*SYSCOM*b.wav", "*SYSCOM*silence300.wav"}},
      {0, "a", 2, {"*SYSCOM*a.wav", ""}},  // only pause 1 has a recording
      {1, "a b", 1, {"a", "b"}},
      {2, "a b", 1, {"*SYSCOM*a.wav", "*SYSCOM*b.wav"}},
      {0, "*SYSNONE*x.wav y", 0, {"x.wav", "*SYSCOM*y.wav"}},
      {0, "a\tb", 0, {"*SYSCOM*a\tb.wav"}},  // only blanks separate
  };
  for (const Case& c : cases) {
    test::LogCapture capture;
    LanguageTable table;
    Translator t(capture.log, table, capture.clock, capture.clock.now(), "", kLang, c.mode,
                 "en-us");
    t.add_prompts(c.text, c.pause);
    EXPECT_EQ(t.prompts, c.prompts) << "[" << c.text << "] mode " << c.mode;
  }
}

TEST(Composer, PromptNames) {
  const std::string long_word(300, 'w');
  struct Case {
    int mode;
    std::string word;
    std::string name;
  } cases[] = {
      {0, "abc", "*SYSCOM*abc.wav"},
      {2, "abc", "*SYSCOM*abc.wav"},
      {1, "abc", "abc"},
      {0, "*SYSNONE*x.wav", "x.wav"},
      {1, "*SYSNONE*x.wav", "*SYSNONE*x.wav"},
      {0, "*SYSNONE*", ""},
      {0, std::string(243, 'w'), "*SYSCOM*" + std::string(243, 'w') + ".wav"},
      // Over-long names are cut to what their buffer holds.
      {0, std::string(244, 'w'), "*SYSCOM*" + std::string(244, 'w') + ".wa"},
      {0, long_word, "*SYSCOM*" + long_word.substr(0, 247)},
      {1, long_word, long_word.substr(0, 255)},
  };
  for (const Case& c : cases) {
    test::LogCapture capture;
    LanguageTable table;
    Translator t(capture.log, table, capture.clock, capture.clock.now(), "", kLang, c.mode,
                 "en-us");
    EXPECT_EQ(t.prompt_name(c.word), c.name) << c.word << " mode " << c.mode;
  }
}

TEST(Composer, PausePrompt) {
  EXPECT_EQ(pause_prompt(1), "*SYSCOM*silence300.wav");
  for (int pause : {0, 2, -1, 300}) EXPECT_EQ(pause_prompt(pause), "") << pause;
}

TEST(Composer, ContentsText) {
  test::LogCapture capture;
  LanguageTable table = test::table_of(
      kLang, {}, {{"a.wav", "first"}, {"a.wav", "second"}, {"b.wav ", "padded"}, {"", "none"}});
  Translator t(capture.log, table, capture.clock, capture.clock.now(), "", kLang, 1, "en-us");
  struct Case {
    std::string literal;
    std::string text;
  } cases[] = {{"a.wav", "first"},   {"A.wav", ""}, {"b.wav", ""},
               {"b.wav ", "padded"}, {"", "none"},  {"c.wav", ""}};
  for (const Case& c : cases) EXPECT_EQ(t.contents_text(c.literal), c.text) << c.literal;
  Translator other(capture.log, table, capture.clock, capture.clock.now(), "", kLang + 1, 1,
                   "en-us");
  EXPECT_EQ(other.contents_text("a.wav"), "");
}

}  // namespace
}  // namespace vemba
