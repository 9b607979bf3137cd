// The input checks at the start of a translation, in their order.
#include <gtest/gtest.h>

#include "translate/translate_test_util.h"
#include "translate/translator.h"

namespace vemba {
namespace {

using test::item;

constexpr int kLang = 7;

TEST(TranslateChecks, MessagesAndOrder) {
  const std::string too_long = "[ERR ] ERROR !! <translate> String is too long for TTS limited";
  const std::string empty = "[ERR ] ERROR !! <translate> Empty string supplyed";
  const std::string cleaning = "[ERR ] ERROR !! <clear_string> String is too long for TTS limited";
  const std::string forbidden = "[ERR ] ERROR !! <encode_template> Forbidden symbols. ";
  const std::string quotes = "[ERR ] ERROR !! <encode_template> Wrong number of apostrophes. ";
  const std::string no_rules = "[ERR ] ERROR !! <translate> Rule table is empty";
  struct Case {
    std::string message;
    int language_id;
    std::vector<std::string> records;
    size_t prompts;
  } cases[] = {
      {"R " + std::string(254, 'x'), kLang, {}, 1},
      {"  R " + std::string(254, 'x') + "\t\n", kLang, {}, 1},
      {"R " + std::string(255, 'x'), kLang, {too_long}, 0},
      // Too long is tested before the forbidden symbols.
      {"R <<" + std::string(253, 'x'), kLang, {too_long}, 0},
      {"", kLang, {empty}, 0},
      {" \t \t", kLang, {empty}, 0},
      {std::string(1022, ' '), kLang, {empty}, 0},
      {std::string(1023, ' '), kLang, {cleaning, empty}, 0},
      {"R <<", kLang, {forbidden}, 0},
      {"R \"", kLang, {quotes}, 0},
      // The rules are looked at only after a successful encoding.
      {"R \"", kLang + 1, {quotes}, 0},
      {"R x", kLang + 1, {no_rules}, 0},
  };
  for (const Case& c : cases) {
    test::LogCapture capture;
    LanguageTable table =
        test::table_of(kLang, {Rule{"R", {test::slot(VAR_SPELL)}, {item("r.wav")}}});
    Translator t(capture.log, table, capture.clock, capture.clock.now(), c.message, c.language_id,
                 0, "en-us");
    EXPECT_EQ(t.translate().size(), c.prompts) << c.message;
    EXPECT_EQ(capture.records(), c.records) << c.message;
  }
}

TEST(TranslateChecks, LanguageWithoutRules) {
  test::LogCapture capture;
  LanguageTable table = test::table_of(kLang, {});
  Translator t(capture.log, table, capture.clock, capture.clock.now(), "R x", kLang, 0, "en-us");
  EXPECT_TRUE(t.translate().empty());
  EXPECT_EQ(capture.records(),
            std::vector<std::string>{"[ERR ] ERROR !! <translate> Rule table is empty"});
}

TEST(Translator, ConstructionCleansTheMessageAndStartsEmpty) {
  test::LogCapture capture;
  LanguageTable table;
  Translator t(capture.log, table, capture.clock, capture.clock.now(), " MSGS  3 ", 3, 1, "en-ca");
  EXPECT_EQ(t.mode, 1);
  EXPECT_EQ(t.message, "MSGS  3");
  EXPECT_TRUE(t.prompts.empty());
  EXPECT_EQ(t.language_id, 3);
  EXPECT_EQ(t.language_system_name, "en-ca");
  EXPECT_EQ(t.rule_index, 0);
  EXPECT_TRUE(t.values.empty());
  EXPECT_TRUE(t.quoted_texts.empty());
}

}  // namespace
}  // namespace vemba
